// The box of a selection: the union of its items' boxes, working copies or
// originals, all records or the primary ones.
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "edit/item_boxes.h"
#include "edit/selection.h"
#include "edit/selection_boxes.h"
#include "edit/window_data.h"
#include "geometry/box_margins.h"
#include "objects/entity_record.h"
#include "objects/graphic_records.h"
#include "objects/group_texts.h"
#include "objects/locator_kinds.h"
#include "objects/text_frames.h"
#include "objects/type_codes.h"
#include "store/tower.h"

namespace {

// The box of an arc's whole circle (centre +- radius + half width) under its
// own transform, once its sizes are resolved.
bool ArcCircleBox(const Tower* item, pl3::Box* box) {
  const Entity* e = TowerEntity(item);
  if (!e || e->payloadSize < sizeof(ArcPayload)) return false;
  ArcPayload arc = *reinterpret_cast<const ArcPayload*>(EntityPayload(e));
  ResolveEntitySizes(&arc, e->typeCode);
  const std::int64_t reach = std::int64_t{arc.radius} + arc.width / 2;
  box->xmin = static_cast<std::int32_t>(arc.centreX - reach);
  box->ymin = static_cast<std::int32_t>(arc.centreY - reach);
  box->xmax = static_cast<std::int32_t>(arc.centreX + reach);
  box->ymax = static_cast<std::int32_t>(arc.centreY + reach);
  pl3::TransformBox(&arc.head.transform, box);
  return true;
}

}  // namespace

void UnionSelectionBox(pl3::Box* into, const pl3::Box& other) {
  if (other.xmin > other.xmax || other.ymin > other.ymax) return;
  into->xmin = std::min(into->xmin, other.xmin);
  into->ymin = std::min(into->ymin, other.ymin);
  into->xmax = std::max(into->xmax, other.xmax);
  into->ymax = std::max(into->ymax, other.ymax);
}

pl3::Box* NewSelectionBox() {
  auto* box = static_cast<pl3::Box*>(std::malloc(sizeof(pl3::Box)));
  *box = kSelectionEmptyBox;
  return box;
}

int SelectionItemBox(const Tower* item, pl3::Box* box) {
  const Entity* e = TowerEntity(item);
  if (!e) return 0;
  if (e->typeCode == Type_Arc || e->typeCode == Type_BoardOutlineArc || e->typeCode == Type_ThinArc)
    return ArcCircleBox(item, box) ? 1 : 0;
  return GetBox(item, box);
}

namespace {

// A text drawn inside an earlier-generation symbol has its box under the
// symbol's placement; the symbol is found from the item in the design.
bool TextInGroupBox(const SelectionInfo* s, const Tower* item, pl3::Box* box) {
  Tower* group = GroupOfSelection(s);
  const bool found = group && GetTextBoxInGroup(item, group, box);
  ReleaseTower(&group);
  return found;
}

}  // namespace

pl3::Box* GetSelectionBox(const SelectionInfo* list, int useWorkingCopy, int primaryOnly) {
  pl3::Box* result = NewSelectionBox();
  for (const SelectionInfo* s = list; s; s = s->next) {
    if (primaryOnly && !(s->flags & kSelectionPrimary)) continue;
    const Tower* item = useWorkingCopy ? s->workingCopy : s->original;
    if (!TowerEntity(item)) continue;
    const std::uint16_t type = TowerEntity(item)->typeCode;
    // Empty until filled: a box call that succeeds without filling adds nothing.
    pl3::Box box = kSelectionEmptyBox;
    if (type == Type_Text && TextInGroupBox(s, item, &box)) {
      UnionSelectionBox(result, box);
      continue;
    }
    // Locators of the text kinds are measured as their ghost is drawn.
    if (type == Type_AttributeLocator && IsTextKindWithSmallDot(ReadLocatorPayload(item).kind)) {
      if (GetLocatorKindSelectionBox(item, &box)) UnionSelectionBox(result, box);
      continue;
    }
    if (!SelectionItemBox(item, &box)) {
      // A locator of another kind whose box cannot be had ends the walk with what was found.
      if (type == Type_AttributeLocator) break;
      continue;
    }
    UnionSelectionBox(result, box);
  }
  return result;
}
