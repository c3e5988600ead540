// The two questions every command asks of the selection: how many records
// it holds and which type they share. Kept apart so that tests of the
// commands can answer them with fakes while linking the rest of the engine.
#include "edit/selection.h"
#include "edit/window_data.h"
#include "objects/selection_seams.h"

namespace {
bool IsPrimary(const SelectionInfo* s) { return (s->flags & kSelectionPrimary) != 0; }
}  // namespace

int CountSelections(const SelectionInfo* list, int primaryOnly) {
  int n = 0;
  for (const SelectionInfo* s = list; s; s = s->next)
    if (!primaryOnly || IsPrimary(s)) ++n;
  return n;
}

std::uint32_t GetSelectionType(const SelectionInfo* list) {
  std::uint32_t type = 65535;
  for (const SelectionInfo* s = list; s; s = s->next) {
    if (!IsPrimary(s)) continue;
    const std::uint32_t code = SelectionItemType(s);
    if (type != 65535 && type != code) return 0xFFFFFFFF;
    type = code;
  }
  return type;
}
