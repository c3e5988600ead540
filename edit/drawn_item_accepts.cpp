#include "edit/drawn_item_accepts.h"

#include <cstdlib>
#include <cstring>

#include "draw/entity_geometry.h"
#include "edit/window_data.h"
#include "objects/design_walks.h"
#include "objects/editor_seams.h"
#include "objects/graphic_boxes.h"
#include "objects/graphic_records.h"
#include "objects/item_helper_seams.h"
#include "objects/item_sides.h"
#include "objects/text_item_services.h"
#include "objects/type_codes.h"
#include "objects/view_seams.h"
#include "platform/responder.h"
#include "platform/user.h"
#include "store/tower.h"

namespace {

// The text flag of a text turned only by a rotation.
constexpr std::uint32_t kTextPureRotation = 0x10000;

CurrentWindowData* Window() { return ActiveWindowData; }
HWND View(const CurrentWindowData& w) { return static_cast<HWND>(w.Window); }

void StoreWithUndo(CurrentWindowData& w, const EntityRecord* record) {
  Tower* stored = InsertEntityWithUndo(record, w.design);
  ReleaseTower(&stored);
}

// Swaps a reversed arc's ends and gives both vectors the radius.
void NormaliseArc(EntityRecord* record, bool swap) {
  auto& a = record->as<ArcPayload>();
  if (swap) SwapSegmentEnds(&a.startX);
  record->header.headerLayer = 0;
  ScaleVectorToLength(a.radius, &a.startX, &a.startY);
  ScaleVectorToLength(a.radius, &a.endX, &a.endY);
}

pl3::Box* NewBox(const pl3::Box& b) {
  auto* box = static_cast<pl3::Box*>(std::malloc(sizeof(pl3::Box)));
  if (box) *box = b;
  return box;
}

}  // namespace

void FinishAcceptedItem(HWND window, EntityRecord** slot) {
  if (slot && *slot) {
    delete *slot;
    *slot = nullptr;
  } else {
    MessageBox(window, "Error : Attempt to delete non-existent graphic.", "Delete Graphic Error.",
               MB_OK | MB_ICONEXCLAMATION);
  }
  CurrentWindowData* w = Window();
  if (!w) return;
  w->InsertionTypeCode = 0;
  SetSelectionAndOptionsMenus(0);
  SetEditCursor(0);
  w->EditMode = 0;
  w->SubMode = 0;
  UpdateStatusBar(nullptr);
}

void AcceptCentroid(EntityRecord** slot) {
  CurrentWindowData* w = Window();
  EntityRecord* r = slot ? *slot : nullptr;
  if (!w || !r) return;
  auto& c = r->as<CentroidPayload>();
  if (c.direction.x == 0 && c.direction.y == 0) {
    MessageBeep(0);
    return;
  }
  MakeDirectionTransform(&c.head.transform, c.direction, 0.0);
  StoreWithUndo(*w, r);
  FinishAcceptedItem(View(*w), slot);
}

void AcceptArc(EntityRecord** slot) {
  CurrentWindowData* w = Window();
  EntityRecord* r = slot ? *slot : nullptr;
  if (!w || !r) return;
  const std::uint8_t direction = r->header.headerLayer;
  NormaliseArc(r, direction == 1 || (direction & 3) != 0);
  StoreWithUndo(*w, r);
  FinishAcceptedItem(View(*w), slot);
}

void AcceptRectangle(EntityRecord** slot) {
  CurrentWindowData* w = Window();
  EntityRecord* r = slot ? *slot : nullptr;
  if (!w || !r) return;
  StoreWithUndo(*w, r);
  FinishAcceptedItem(View(*w), slot);
}

pl3::Box* AcceptText(EntityRecord** slot) {
  CurrentWindowData* w = Window();
  EntityRecord* r = slot ? *slot : nullptr;
  if (!w || !r) return nullptr;
  auto& text = r->as<TextPayload>();
  SetStringBox(&text);
  pl3::Box box{};
  GetTextEntityBox(&text, &box);
  const pl3::Transform& t = text.textTransform;
  if (t.a == t.d && t.b == -t.c)
    text.justification |= kTextPureRotation;
  else
    text.justification &= ~kTextPureRotation;
  StoreWithUndo(*w, r);
  FinishAcceptedItem(View(*w), slot);
  return NewBox(box);
}

int AcceptCircle(EntityRecord** slot) {
  CurrentWindowData* w = Window();
  EntityRecord* r = slot ? *slot : nullptr;
  if (!w || !r) return 0;
  if (r->as<CirclePayload>().size == 0) {
    MessageBeep(MB_ICONEXCLAMATION);
    return 0;
  }
  StoreWithUndo(*w, r);
  FinishAcceptedItem(View(*w), slot);
  return 1;
}

pl3::Box* AcceptThinLineSegment(EntityRecord** slot) {
  CurrentWindowData* w = Window();
  EntityRecord* r = slot ? *slot : nullptr;
  if (!w || !r) return nullptr;
  auto& l = r->as<ThinLinePayload>().line;
  if (l.x1 == l.x2 && l.y1 == l.y2) {
    MessageBeep(MB_ICONEXCLAMATION);
    return nullptr;
  }
  auto copy = NewEntityRecord();
  *copy = *r;
  pl3::Box box{};
  GetGraphicBox(copy->payload, Type_ThinLine, &box);
  Tower* stored = StoreGraphicRecord(w->design, r, 1);
  ReleaseTower(&stored);
  l.x1 = l.x2;
  l.y1 = l.y2;
  RecordDesignChange();
  return NewBox(box);
}

void AcceptThinArc(EntityRecord** slot) {
  CurrentWindowData* w = Window();
  EntityRecord* r = slot ? *slot : nullptr;
  if (!w || !r) return;
  NormaliseArc(r, r->header.headerLayer == 1);
  Tower* stored = StoreGraphicRecord(w->design, r, 1);
  ReleaseTower(&stored);
  FinishAcceptedItem(View(*w), slot);
}
