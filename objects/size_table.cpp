#include "objects/size_table.h"

#include <cstdio>

#include "objects/graphic_records.h"
#include "objects/type_codes.h"

const char* const SizeKindNames[kSizeKindCount] = {"Lines", "Circles", "Rectangles", "Holes", "Vias", "Fonts", "Dots"};

namespace {

SizeEntry MakeDot(std::uint32_t index, std::int32_t value, const char* name) {
  SizeEntry e{};
  e.index = index;
  e.flags = kSizeEntryOn;
  e.unit = 0;
  e.value1 = value;
  SetSizeEntryName(e, name);
  return e;
}

}  // namespace

void SetSizeEntryName(SizeEntry& entry, const char* name) {
  std::snprintf(entry.name, sizeof entry.name, "%s", name ? name : "");
}

std::unique_ptr<SizeTable> NewSizeTable() {
  auto table = std::make_unique<SizeTable>();
  table->lists[SizeKind_Dots].entries = {MakeDot(0, 365760, "Connection Box"), MakeDot(1, 548640, "Connected Dot")};
  return table;
}

std::unique_ptr<SizeTable> CopySizeTable(const SizeTable& table) { return std::make_unique<SizeTable>(table); }

SizeTable* FreeSizeTable(SizeTable* table) {
  delete table;
  return nullptr;
}

std::uint32_t GetTypeSizeKind(std::uint16_t type) {
  switch (type) {
    case Type_Track: case Type_Arc: case Type_ThermalBreak: case Type_RoutedLine: case Type_Spiral:
    case Type_Wire: case Type_Bus: case Type_LinkedCut: case Type_StarEarthTrack:
      return SizeKind_Lines;
    case Type_Circle:
      return SizeKind_Circles;
    case Type_Rectangle:
      return SizeKind_Rectangles;
    case Type_Hole: case Type_PlatedSlot: case Type_NonPlatedSlot:
      return SizeKind_Holes;
    case Type_Via:
      return SizeKind_Vias;
    case Type_Text: case Type_AttributeLocator: case Type_Datum: case Type_Label:
      return SizeKind_Fonts;
    default:
      return kNoSizeKind;
  }
}

std::uint32_t GetEntitySizeKind(std::uint16_t type, const void* payload) {
  if (type == Type_Hole && payload && (static_cast<const HolePayload*>(payload)->hole.flags & kHoleIsVia))
    return SizeKind_Vias;
  return GetTypeSizeKind(type);
}
