#include "objects/real_size.h"

#include <cstdio>

#include "objects/active_window.h"
#include "objects/type_codes.h"
#include "platform/responder.h"

namespace {

// The list a type's size is looked up in. Fewer types are served here than
// have a size kind: routed lines, wires, buses, linked cuts, locators, datums
// and labels ask for their sizes under another type (1 or 5).
std::uint32_t ListOfType(std::uint16_t type) {
  switch (type) {
    case Type_RoutedLine: case Type_Wire: case Type_Bus: case Type_LinkedCut:
    case Type_AttributeLocator: case Type_Datum: case Type_Label:
      return kNoSizeKind;
    default:
      return GetTypeSizeKind(type);
  }
}

}  // namespace

std::int32_t ReturnRealSizeIn(const SizeTable* table, std::uint16_t type, std::uint32_t index,
                              std::uint32_t second) {
  if (type == Type_BoardOutlineArc || type == Type_BoardOutlineLine) return 1;
  const std::uint32_t kind = ListOfType(type);
  if (kind == kNoSizeKind) {
    MessageBox(nullptr, "Internal Error - Invalid type for size request", "ReturnRealSize",
               MB_OK | MB_ICONEXCLAMATION | MB_SYSTEMMODAL);
    return 0;
  }
  const std::uint32_t count = table ? (*table)[kind].count() : 0;
  std::uint32_t at = index;
  if (index >= count) {
    char text[96];
    std::snprintf(text, sizeof text, "ReturnRealSize out of range [%d,%d]\n", static_cast<int>(type),
                  static_cast<int>(index));
    MessageBox(nullptr, text, "Error", MB_OK | MB_ICONEXCLAMATION);
    if (count == 0) return 0;  // nothing to fall back on
    at = count - 1;
  }
  const SizeEntry& entry = (*table)[kind].entries[at];
  if ((kind == SizeKind_Rectangles || kind == SizeKind_Vias) && second != 0) return entry.value2;
  return entry.value1;
}

std::int32_t ReturnRealSize(std::uint16_t type, std::uint32_t index, std::uint32_t second) {
  return ReturnRealSizeIn(ActiveSizeTable(), type, index, second);
}
