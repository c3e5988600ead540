#include "geometry/length_text_field.h"

#include "geometry/length_units.h"
#include "geometry/library_seams.h"

namespace pl3 {

bool IsValidLengthText(HWND dialog, int controlId) {
  const std::optional<std::string> text = GetDlgItemTextAlloc(dialog, controlId);
  if (!text || text->empty()) return false;
  double value = 0;
  std::uint32_t unit = 0;
  return ParseLengthWithUnits(*text, value, unit);
}

}  // namespace pl3
