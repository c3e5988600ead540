#include "objects/size_steps.h"

#include "edit/window_data.h"
#include "objects/active_window.h"
#include "objects/entity_record.h"
#include "objects/size_remap.h"
#include "objects/walker.h"

namespace {

const SizeList* ListOf(const SizeTable* table, std::uint32_t kind) {
  return table && kind < kSizeKindCount ? &(*table)[kind] : nullptr;
}

bool IsOn(const SizeList& list, std::uint32_t i) { return (list.entries[i].flags & kSizeEntryOn) != 0; }

}  // namespace

std::uint32_t NextOnSizeIndexIn(const SizeTable* table, std::uint32_t kind, std::uint32_t index) {
  const SizeList* list = ListOf(table, kind);
  if (!list) return index;
  for (std::uint32_t i = index + 1; index < list->count() && i < list->count(); ++i)
    if (IsOn(*list, i)) return i;
  return index;
}

std::uint32_t PreviousOnSizeIndexIn(const SizeTable* table, std::uint32_t kind, std::uint32_t index) {
  const SizeList* list = ListOf(table, kind);
  if (!list) return index;
  for (std::uint32_t i = index < list->count() ? index : list->count(); i-- > 0;)
    if (IsOn(*list, i)) return i;
  return index;
}

std::uint32_t FirstOnSizeIndexIn(const SizeTable* table, std::uint32_t kind) {
  const SizeList* list = ListOf(table, kind);
  for (std::uint32_t i = 0; list && i < list->count(); ++i)
    if (IsOn(*list, i)) return i;
  return 0;
}

std::uint32_t LastOnSizeIndexIn(const SizeTable* table, std::uint32_t kind) {
  const SizeList* list = ListOf(table, kind);
  for (std::uint32_t i = list ? list->count() : 0; i-- > 0;)
    if (IsOn(*list, i)) return i;
  return 0;
}

std::uint32_t NextOnSizeIndex(std::uint32_t index, std::uint16_t type) {
  return NextOnSizeIndexIn(ActiveSizeTable(), GetTypeSizeKind(type), index);
}
std::uint32_t PreviousOnSizeIndex(std::uint32_t index, std::uint16_t type) {
  return PreviousOnSizeIndexIn(ActiveSizeTable(), GetTypeSizeKind(type), index);
}
std::uint32_t FirstOnSizeIndex(std::uint16_t type) { return FirstOnSizeIndexIn(ActiveSizeTable(), GetTypeSizeKind(type)); }
std::uint32_t LastOnSizeIndex(std::uint16_t type) { return LastOnSizeIndexIn(ActiveSizeTable(), GetTypeSizeKind(type)); }

// Beside its one caller: the store's tests stand in for MarkActiveSizeEntry,
// and the size steps must link without it.
void ClearSizeEntryMarks() {
  SizeTable* table = ActiveSizeTable();
  if (!table) return;
  for (SizeList& list : table->lists)
    for (SizeEntry& e : list.entries) e.flags &= ~kSizeEntryInUse;
}

void MarkSizesInUse(const Tower* design) {
  ClearSizeEntryMarks();
  if (!design) return;
  // Every stored index that an edit of the lists re-indexes, the routing
  // rules' Lines and Vias lists included, whether the view shows its item or
  // not: an entry marked here cannot be removed from under an item.
  MarkIndexedSizesInUse(design);
  for (std::uint16_t& word : WalkTypeFlags) word = kWalkTypeWanted;
  const pl3::Transform base = ActiveWindowData ? ActiveWindowData->BaseTransform : pl3::kIdentityTransform;
  PerformTowerAction(&base, design, nullptr, 0, WalkAction_MarkUsedSizes, 0);
}
