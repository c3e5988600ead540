// Info-box records: creation, points, look-ups, removal, selection and the
// next/previous navigation. The label and leader drawing and the boxes are
// in info_box_drawing.cpp.
#include "objects/info_boxes.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "edit/window_data.h"
#include "objects/cursor_zoom.h"
#include "objects/display_list_seams.h"
#include "objects/editor_seams.h"
#include "objects/engine_item_seams.h"
#include "objects/payload_access.h"
#include "objects/type_codes.h"
#include "objects/view_seams.h"
#include "platform/reset_hooks.h"
#include "platform/user.h"
#include "store/tower.h"

std::uint32_t MarkerDisplayFlags = 0;

namespace {

constexpr std::uint8_t kModeEditSelection = 39;
// The insertion type a selection of a single info box shows.
constexpr std::uint8_t kInfoBoxSelectionInsertType = 11;
constexpr std::uint16_t kTypeSymbolPin = 26;

// The info box visited last by next or previous.
const Entity* gLastVisited = nullptr;

void ResetInfoBoxGlobals() {
  MarkerDisplayFlags = 0;
  gLastVisited = nullptr;
}
const bool gRegistered = pl3::RegisterGlobalReset(&ResetInfoBoxGlobals);


OwnedTower TowerOn(const Tower* container, Entity* e) {
  return OwnedTower(EntityToTower(container, e, -1));
}

// The info boxes directly under the container, in search order.
std::vector<Entity*> InfoBoxesOf(const Tower* container) {
  std::vector<Entity*> boxes;
  if (!container) return boxes;
  Tower* all = GetChildTower(container, Type_InfoBoxHier);
  while (all) {
    Entity* e = FindNextEntity(all);
    if (!e) break;
    boxes.push_back(e);
  }
  ReleaseTower(&all);
  return boxes;
}

std::uint32_t ReadKind(const Tower* infoBox) {
  const std::uint8_t* p = ChildPayloadOfAtLeast(infoBox, Type_InfoBoxType, 4);
  return p ? ReadU32(p, 0) : 0;
}

// The label's position: the origin through its text transform.
bool LabelPosition(const Tower* infoBox, pl3::Point* at) {
  const auto* label =
      reinterpret_cast<const TextPayload*>(ChildPayloadOfAtLeast(infoBox, kInfoBoxLabelCode, offsetof(TextPayload, text)));
  if (!label) return false;
  *at = InfoBoxGrabPoint(label);
  return true;
}

bool IsSelectedInfoBox(const SelectionInfo* s, const std::vector<Entity*>& taken) {
  for (const Tower* t : {s->original, s->workingCopy}) {
    Entity* e = TowerEntity(t);
    if (e && std::find(taken.begin(), taken.end(), e) != taken.end()) return true;
  }
  return false;
}

int Step(void* window, int direction) {
  CurrentWindowData* w = ActiveWindowData;
  const Tower* design = w ? w->design : nullptr;
  const std::vector<Entity*> boxes = InfoBoxesOf(design);
  const auto remembered = std::find(boxes.begin(), boxes.end(), gLastVisited);
  Entity* target = nullptr;
  if (remembered == boxes.end()) {
    // Nothing remembered, or it is gone: next starts with the first.
    if (direction > 0 && !boxes.empty()) target = boxes.front();
  } else if (direction > 0) {
    if (remembered + 1 != boxes.end()) target = *(remembered + 1);
  } else if (remembered != boxes.begin()) {
    target = *(remembered - 1);
  }
  pl3::Point at{};
  OwnedTower t = target ? TowerOn(design, target) : nullptr;
  if (!t || !LabelPosition(t.get(), &at)) {
    MessageBeep(0);
    return 0;
  }
  gLastVisited = target;
  MoveCursorToPoint(window, at);
  CentreViewOnPoint(window, at);
  if (w) DoMouseMove(static_cast<HWND>(window), &w->Button, &w->PendingRecord, 1);
  return 1;
}

}  // namespace

bool InfoBoxKindMatches(int filter, std::uint32_t kind) {
  const int k = static_cast<std::int8_t>(kind & 0xFF);
  if (filter == 0 || k == 0) return true;
  return filter > 0 ? k == filter : k != -filter;
}

Tower* CreateInfoBox(const Tower* container, const char* text, std::uint32_t kind) {
  if (!container) return nullptr;
  Tower* box = InsertEmptyEntity(container, Type_InfoBoxHier);
  if (!box) return nullptr;
  const char* s = text ? text : "";
  Tower* t = InsertEntity(box, static_cast<std::uint32_t>(std::strlen(s) + 1), Type_InfoBox, s);
  ReleaseTower(&t);
  t = InsertEntity(box, sizeof kind, Type_InfoBoxType, &kind);
  ReleaseTower(&t);
  return box;
}

void AddInfoBoxPoint(const Tower* infoBox, std::int32_t x, std::int32_t y) {
  if (!infoBox) return;
  Entity* list = InfoBoxPointList(infoBox);
  if (!list) {
    InfoBoxPoints fresh{};
    fresh.count = 1;
    fresh.points[0] = {x, y};
    Tower* t = InsertEntity(infoBox, sizeof fresh, Type_InfoBoxPoints, &fresh);
    ReleaseTower(&t);
    return;
  }
  std::uint8_t* p = EntityPayload(list);
  const std::uint32_t room = InfoBoxPointRoom(list);
  const std::uint32_t count = std::min(ReadU32(p, offsetof(InfoBoxPoints, count)), room);
  if (count >= room) return;  // the record is full: the point is dropped
  const std::uint32_t at = static_cast<std::uint32_t>(offsetof(InfoBoxPoints, points)) + count * sizeof(Point);
  WriteI32(p, at, x);
  WriteI32(p, at + 4, y);
  WriteU32(p, offsetof(InfoBoxPoints, count), count + 1);
}

void AddInfoBoxPosition(const Tower* infoBox, const pl3::Point* point) {
  if (point) AddInfoBoxPoint(infoBox, point->x, point->y);
}

void AddInfoBoxBoxCentre(const Tower* infoBox, const pl3::Box* box) {
  if (!box) return;
  const auto half = [](std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>((static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b)) >> 1);
  };
  AddInfoBoxPoint(infoBox, half(box->xmin, box->xmax), half(box->ymin, box->ymax));
}

std::string InfoBoxText(const Tower* infoBox) {
  Tower* t = NewestChildTower(infoBox, Type_InfoBox);
  const Entity* e = TowerEntity(t);
  std::string text;
  if (e) {
    const char* s = reinterpret_cast<const char*>(EntityPayload(e));
    text.assign(s, strnlen(s, e->payloadSize));
  }
  ReleaseTower(&t);
  return text;
}

std::uint32_t InfoBoxKind(const Tower* infoBox) { return ReadKind(infoBox); }

Tower* FindInfoBoxByText(const Tower* container, int filter, const char* text) {
  const std::string wanted = text ? text : "";
  for (Entity* e : InfoBoxesOf(container)) {
    OwnedTower t = TowerOn(container, e);
    if (t && InfoBoxKindMatches(filter, ReadKind(t.get())) && InfoBoxText(t.get()) == wanted) return t.release();
  }
  return nullptr;
}

int HasInfoBoxOfKind(const Tower* container, std::uint32_t kind) {
  const std::vector<Entity*> boxes = InfoBoxesOf(container);
  if (boxes.empty()) return 0;
  if (kind == 0) return 1;
  for (Entity* e : boxes) {
    OwnedTower t = TowerOn(container, e);
    if (t && ReadKind(t.get()) == kind) return 1;
  }
  return 0;
}

void RemoveInfoBoxes(const Tower* container, int filter, int undisplay) {
  std::vector<Entity*> taken;
  for (Entity* e : InfoBoxesOf(container)) {
    OwnedTower t = TowerOn(container, e);
    if (t && InfoBoxKindMatches(filter, ReadKind(t.get()))) taken.push_back(e);
  }
  if (taken.empty()) return;
  CurrentWindowData* w = ActiveWindowData;
  void* window = w ? w->Window : nullptr;
  if (w && w->EditMode == kModeEditSelection) {
    for (const SelectionInfo* s = w->SelectionList; s; s = s->next) {
      if (!IsSelectedInfoBox(s, taken)) continue;
      CancelCurrentOperation(static_cast<HWND>(window), w);
      break;
    }
  }
  for (Entity* e : taken) {
    OwnedTower t = TowerOn(container, e);
    if (!t) continue;
    pl3::Box box = pl3::kEmptyBox;
    const int hasBox = GetInfoBoxBox(t.get(), &box);
    if (undisplay && w) RemoveFromDisplayList(w->Display, t.get());
    if (e == gLastVisited) gLastVisited = nullptr;
    Tower* doomed = t.release();
    DeleteEntity(doomed);
    ReleaseTower(&doomed);
    if (undisplay && hasBox && window) RedrawViewRect(window, &box, 1);
  }
}

void RemoveCheckInfoBoxes(const Tower* container) {
  for (int filter : {2, 5, 3, 1}) RemoveInfoBoxes(container, filter, 1);
}

pl3::Point InfoBoxGrabPoint(const TextPayload* label) {
  return {label->textTransform.tx, label->textTransform.ty};
}

void TranslateInfoBox(const Tower* label, std::int32_t dx, std::int32_t dy) {
  Entity* e = TowerEntity(label);
  if (!e) return;
  Tower* own = e->typeCode == Type_InfoBoxHier ? NewestChildTower(label, kInfoBoxLabelCode) : nullptr;
  Entity* text = own ? TowerEntity(own) : e;
  auto* payload = reinterpret_cast<TextPayload*>(PayloadOfAtLeast(text, offsetof(TextPayload, text)));
  if (payload && text->typeCode == kInfoBoxLabelCode) {
    payload->textTransform.tx += dx;
    payload->textTransform.ty += dy;
  }
  ReleaseTower(&own);
}

int SelectInfoBox(const Tower* infoBox) {
  CurrentWindowData* w = ActiveWindowData;
  Entity* e = TowerEntity(infoBox);
  if (!w || !e) return 0;
  const bool nothingSelected = w->SelectionList == nullptr;
  const std::uint16_t before = e->flags;
  e->flags |= kEntitySelected;
  SelectionInfo* added =
      AddGraphicToSelection(&w->SelectionList, infoBox, 0, &pl3::kIdentityTransform, w->Cursor.x, w->Cursor.y);
  if (!added) {
    e->flags = before;
    return 0;
  }
  added->flags |= 1;  // the primary item
  if (nothingSelected) w->InsertType = kInfoBoxSelectionInsertType;
  RemoveFromDisplayList(w->Display, infoBox);
  RedrawView(w->Window);
  return 1;
}

namespace {
int SelectionHasType(const SelectionInfo* list, std::uint16_t type) {
  for (const SelectionInfo* s = list; s; s = s->next) {
    const Entity* e = TowerEntity(s->workingCopy);
    if (e && e->typeCode == type) return 1;
  }
  return 0;
}
}  // namespace

int SelectionHasInfoBox(const SelectionInfo* list) { return SelectionHasType(list, Type_InfoBoxHier); }
int SelectionHasSymbolPin(const SelectionInfo* list) { return SelectionHasType(list, kTypeSymbolPin); }

int GotoNextInfoBox(void* window) { return Step(window, 1); }
int GotoPreviousInfoBox(void* window) { return Step(window, -1); }
const Entity* LastVisitedInfoBox() { return gLastVisited; }
