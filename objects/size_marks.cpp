// Marking a size entry of the active window in use. Kept apart from the
// record routines: the store calls MarkActiveSizeEntry through its seam, and
// its own tests put a recording stand-in in its place.
#include "objects/active_window.h"
#include "objects/entity_record.h"
#include "objects/size_table.h"
#include "store/seams.h"

bool MarkActiveSizeEntry(std::uint32_t list, std::uint32_t index, bool makeDefault) {
  SizeTable* table = ActiveSizeTable();
  if (!table || list >= kSizeKindCount || index >= (*table)[list].count()) return false;
  (*table)[list].entries[index].flags |= kSizeEntryInUse;
  if (makeDefault) (*table)[list].defaultIndex = index;
  return true;
}
