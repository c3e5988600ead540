// The two dimensioner tools: arming, the insertion states and the snapping
// of placed points.
#include <cstdlib>
#include <cstring>

#include "edit/window_data.h"
#include "geometry/view_mapping.h"
#include "objects/dimensioner_seams.h"
#include "objects/dimensioners.h"
#include "objects/editor_seams.h"
#include "objects/entity_record.h"
#include "objects/placing_tools.h"
#include "objects/size_table.h"
#include "objects/type_codes.h"
#include "objects/view_seams.h"
#include "platform/user.h"
#include "store/tower.h"

namespace {

constexpr std::uint8_t kDimensionerLayer = 40;
constexpr std::uint32_t kStrokeFont = 3;

DimensionerPayload& PayloadOf(EntityRecord* record) { return record->as<DimensionerPayload>(); }

bool Same(pl3::Point p, pl3::Point q) { return p.x == q.x && p.y == q.y; }

void Ghost(void* dc, EntityRecord* record) { GhostDimensionerRecord(dc, record); }

// Starts a record of the type with the snapped cursor as its first point.
EntityRecord* NewDimensionerRecord(std::uint16_t type, pl3::Point snapped) {
  EntityRecord* record = NewEntityRecord().release();
  InitialiseEntityRecord(record, type, &pl3::R0, kDimensionerLayer);
  DimensionerPayload& d = PayloadOf(record);
  const SizeTable* sizes = ActiveWindowData ? ActiveWindowData->sizeTable : nullptr;
  d.textSizeIndex = sizes ? (*sizes)[SizeKind_Fonts].defaultIndex : 0;
  d.textSize = 0;
  d.flags = kDimensionerTextByIndex;
  d.labelDisplay = 0;
  d.labelTransform = pl3::R0;
  d.options = 0;
  d.font = kStrokeFont;
  if (type == Type_AngleDimensioner) {
    d.c = snapped;
    d.unit = kDimensionerDegrees;
  } else {
    d.a = snapped;
    d.unit = kDimensionerMillimetre;
  }
  return record;
}

int Begin(void* window, EntityRecord** slot, pl3::Point cursor, std::uint16_t type) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !slot) return 0;
  pl3::Point snapped = cursor;
  SnapDimensionerPoint(&snapped.x, &snapped.y);
  w->CursorOffset = {snapped.x - cursor.x, snapped.y - cursor.y};
  delete *slot;
  *slot = NewDimensionerRecord(type, snapped);
  const bool angle = type == Type_AngleDimensioner;
  w->EditMode = angle ? kModeAngleVertex : kModeDimensionerA;
  w->InsertionTypeCode = type;
  SetSelectionAndOptionsMenus(angle ? kAngleDimensionerPrompt : kDimensionerPrompt);
  HWND view = static_cast<HWND>(window);
  HDC dc = view ? GetDC(view) : nullptr;
  Ghost(dc, *slot);
  if (dc) ReleaseDC(view, dc);
  return 1;
}

// The point a move in the mode places, and whether it is snapped to items.
pl3::Point* MovedPoint(DimensionerPayload& d, std::uint8_t mode, bool* toItems) {
  *toItems = true;
  switch (mode) {
    case kModeDimensionerA: return &d.a;
    case kModeDimensionerB: return &d.b;
    case kModeAngleVertex: return &d.c;
    case kModeAngleArmA: return &d.a;
    case kModeAngleArmB: return &d.b;
    case kModeDimensionerLine: *toItems = false; return &d.c;
    case kModeDimensionerLabel:
    case kModeAngleLabel: *toItems = false; return &d.labelPosition;
    default: return nullptr;
  }
}

}  // namespace

int SetInsertDimensionerMode() { return ArmPlacingTool(Type_Dimensioner); }
int SetInsertAngleDimensionerMode() { return ArmPlacingTool(Type_AngleDimensioner); }

int BeginInsertDimensioner(void* window, EntityRecord** record, pl3::Point cursor) {
  return Begin(window, record, cursor, Type_Dimensioner);
}

int BeginInsertAngleDimensioner(void* window, EntityRecord** record, pl3::Point cursor) {
  return Begin(window, record, cursor, Type_AngleDimensioner);
}

void MoveDimensionerInsertion(void* dc, EntityRecord* record, pl3::Point cursor) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !record) return;
  DimensionerPayload& d = PayloadOf(record);
  bool toItems = true;
  pl3::Point* point = MovedPoint(d, w->EditMode, &toItems);
  if (!point) return;
  pl3::Point placed = cursor;
  if (toItems) {
    SnapDimensionerPoint(&placed.x, &placed.y);
  } else {
    SnapXY(&placed.x, &placed.y, 0);
  }
  if (Same(placed, *point)) return;
  Ghost(dc, record);
  *point = placed;
  if (record->header.recordType == Type_Dimensioner) UpdateDimensionerLength(&d);
  Ghost(dc, record);
}

int ClickDimensionerInsertion(void* window, EntityRecord** slot) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !slot || !*slot) return 0;
  EntityRecord* record = *slot;
  DimensionerPayload& d = PayloadOf(record);
  const std::uint8_t mode = w->EditMode;
  if (mode == kModeDimensionerLabel || mode == kModeAngleLabel) {
    *slot = nullptr;
    return FinishDimensionerInsertion(record);
  }
  // A zero-length first segment is refused.
  if ((mode == kModeDimensionerB && Same(d.a, d.b)) || (mode == kModeAngleArmA && Same(d.a, d.c))) {
    MessageBeep(0);
    return 0;
  }
  HWND view = static_cast<HWND>(window);
  HDC dc = view ? GetDC(view) : nullptr;
  Ghost(dc, record);
  switch (mode) {
    case kModeDimensionerA: d.b = d.a; w->EditMode = kModeDimensionerB; break;
    case kModeDimensionerB: d.c = d.b; w->EditMode = kModeDimensionerLine; break;
    case kModeDimensionerLine: d.labelPosition = d.c; w->EditMode = kModeDimensionerLabel; break;
    case kModeAngleVertex: d.a = d.c; w->EditMode = kModeAngleArmA; break;
    case kModeAngleArmA: d.b = d.a; w->EditMode = kModeAngleArmB; break;
    case kModeAngleArmB: d.labelPosition = d.b; w->EditMode = kModeAngleLabel; break;
    default: break;
  }
  if (record->header.recordType == Type_Dimensioner) UpdateDimensionerLength(&d);
  Ghost(dc, record);
  if (dc) ReleaseDC(view, dc);
  return 0;
}

int FinishDimensionerInsertion(EntityRecord* record) {
  CurrentWindowData* w = ActiveWindowData;
  int stored = 0;
  if (record && w && w->design) {
    if (record->header.recordType == Type_Dimensioner) UpdateDimensionerLength(&PayloadOf(record));
    Tower* t = InsertEntityWithUndo(record, w->design);
    stored = t ? 1 : 0;
    ReleaseTower(&t);
  }
  if (w && w->PendingRecord == record) w->PendingRecord = nullptr;
  delete record;
  EndPlacingTool();
  return stored;
}
