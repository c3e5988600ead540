// Items entering the selection: the working copy inserted beside the
// original, the record linked at the head, and a second grab of a track
// already selected.
#include <algorithm>
#include <cstring>

#include "edit/selection.h"
#include "edit/selection_services.h"
#include "edit/window_data.h"
#include "objects/display_list_seams.h"
#include "objects/engine_item_seams.h"
#include "objects/entity_copy.h"
#include "objects/graphic_records.h"
#include "objects/type_codes.h"
#include "store/tower.h"

namespace {

constexpr std::uint16_t kDatumFixed = 0x1000;  // bit 4 of a datum's second flags byte

// The working copy of an item: an exact copy inserted beside it in the
// window's design (the copy routine may choose another layer or transform
// a graphic; the payload is then put back as it was).
Tower* InsertWorkingCopy(const Tower* item, const pl3::Transform* transform) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !w->design) return nullptr;
  Tower* copy = CopyAndInsertEntity(w->design, item, transform);
  Entity* from = TowerEntity(item);
  Entity* to = TowerEntity(copy);
  if (!to) return copy;
  const bool identity = !transform || std::memcmp(transform, &pl3::kIdentityTransform, sizeof *transform) == 0;
  if (identity && from && from->typeCode == to->typeCode && to->payloadSize && from->payloadSize)
    std::memcpy(EntityPayload(to), EntityPayload(from), std::min(to->payloadSize, from->payloadSize));
  to->flags |= kEntityCopyFlags;
  return copy;
}

// The two halves of each coordinate added, as unsigned values.
std::int32_t Midpoint(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) / 2 + static_cast<std::uint32_t>(b) / 2);
}

void Regrab(SelectionInfo* s, std::uint16_t part, pl3::Point at) {
  const auto* line = reinterpret_cast<const LinePayload*>(TowerPayload(s->workingCopy));
  if (!line || TowerEntity(s->workingCopy)->payloadSize < sizeof(LinePayload)) return;
  const pl3::Point mid{Midpoint(line->x1, line->x2), Midpoint(line->y1, line->y2)};
  s->grabPoint = s->currentPoint = mid;
  if (part == kGrabWhole) {
    s->grabbedPart = kGrabWhole;
    return;
  }
  if (s->grabbedPart == kGrabBothEnds) return;
  const bool otherEnd = (s->grabbedPart == kGrabFirstEnd && line->x2 == at.x && line->y2 == at.y) ||
                        (s->grabbedPart == kGrabSecondEnd && line->x1 == at.x && line->y1 == at.y);
  if (otherEnd) s->grabbedPart = kGrabWhole;
}

}  // namespace

SelectionInfo* AddSymbolToSelection(SelectionInfo** list, const Tower* item, std::uint16_t part,
                                    const pl3::Transform* transform, std::int32_t x, std::int32_t y) {
  Tower* copy = InsertWorkingCopy(item, transform);
  if (!copy) return nullptr;
  SelectionInfo* s = NewSelectionInfo(list);
  if (!s) {
    DeleteEntity(copy);
    ReleaseTower(&copy);
    return nullptr;
  }
  s->original = DuplicateTower(item);
  TowerEntity(s->original)->flags |= kEntitySelected;
  s->workingCopy = copy;
  s->grabbedPart = part;
  s->grabPoint = s->currentPoint = {x, y};
  s->flags |= kSelectionHasInstanceInfo;
  s->copyInstanceInfo = BuildInstanceGhost(s->workingCopy, s);
  s->originalInstanceInfo = BuildInstanceGhost(s->original, s);
  return s;
}

SelectionInfo* AddGraphicToSelection(SelectionInfo** list, const Tower* item, std::uint16_t part,
                                     const pl3::Transform* transform, std::int32_t x, std::int32_t y) {
  Entity* e = TowerEntity(item);
  if (!e) return nullptr;
  if (e->flags & kEntitySelected) {
    // Grabbed again through its working copy or its original.
    SelectionInfo* s = FindSelectionInfoByNode(*list, e);
    if (!s) s = FindSelectionInfoOfTower(*list, item);
    if (s) {
      if (IsTrackLikeType(e->typeCode)) Regrab(s, part, {x, y});
      return s;
    }
  }
  Tower* copy = InsertWorkingCopy(item, transform);
  if (!copy) return nullptr;
  SelectionInfo* s = NewSelectionInfo(list);
  if (!s) {
    DeleteEntity(copy);
    ReleaseTower(&copy);
    return nullptr;
  }
  s->original = DuplicateTower(item);
  e->flags = static_cast<std::uint16_t>((e->flags | kEntitySelected) & ~kEntityHighlighted);
  s->workingCopy = copy;
  if (e->typeCode == Type_Datum && (e->flags & kDatumFixed)) TowerEntity(copy)->flags |= kDatumFixed;
  s->grabbedPart = part;
  s->grabPoint = s->currentPoint = {x, y};
  if (ActiveWindowData && ActiveWindowData->Display) RemoveFromDisplayList(ActiveWindowData->Display, item);
  return s;
}

