// The commits of single records: one click of the track tool, and the
// store of a finished single-record item.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "draw/ghost_seams.h"
#include "edit/engine_seams.h"
#include "edit/insertion.h"
#include "edit/window_data.h"
#include "objects/command_workers.h"
#include "objects/design_walks.h"
#include "objects/display_list_seams.h"
#include "objects/editor_seams.h"
#include "objects/graphic_boxes.h"
#include "objects/graphic_records.h"
#include "objects/item_helpers.h"
#include "objects/item_sides.h"
#include "objects/size_table.h"
#include "objects/type_codes.h"
#include "objects/undo_seams.h"
#include "objects/view_seams.h"
#include "platform/user.h"
#include "store/tower.h"

namespace {

constexpr std::uint8_t kStoredKindBits = 0xFC;
// The mode that moves a new item without replacing one.
constexpr std::uint8_t kModeMoveNewItem = 17;

// The stored type the track tool boxes a record as.
std::uint16_t TrackBoxType(std::uint8_t state) {
  switch (state & kStoredKindBits) {
    case kStatePlatedSlot: return Type_PlatedSlot;
    case kStateNonPlatedSlot: return Type_NonPlatedSlot;
    default: return Type_Track;
  }
}

bool IsListedVariant(std::uint8_t kindBits) {
  switch (kindBits) {
    case kStateThermalBreak: case kStateLinkedCut: case kStateStarEarth: case kStateBoardOutline:
    case kStatePlatedSlot: case kStateNonPlatedSlot:
      return true;
    default:
      return false;
  }
}

pl3::Box* NewBox() { return static_cast<pl3::Box*>(std::calloc(1, sizeof(pl3::Box))); }

void Grow(pl3::Box& box, std::int64_t by) {
  box.xmin = static_cast<std::int32_t>(std::max<std::int64_t>(0, box.xmin - by));
  box.ymin = static_cast<std::int32_t>(std::max<std::int64_t>(0, box.ymin - by));
  box.xmax = static_cast<std::int32_t>(box.xmax + by);
  box.ymax = static_cast<std::int32_t>(box.ymax + by);
}

bool IsCopper(const CurrentWindowData& w, std::uint8_t layer) {
  return (w.layerTable.layers[layer].flags & kLayerCopperBit) != 0;
}

// Stores the record with undo and puts it on a PCB window's display list.
Tower* StoreWithUndo(CurrentWindowData& w, const EntityRecord* record) {
  Tower* stored = InsertEntityWithUndo(record, w.design);
  if (stored && w.editorKind == kEditorPcb && w.Display) PutEntityOnDisplayList(w.Display, stored);
  return stored;
}

// The via at a track's layer change, when the window places one there.
void PlaceJointVia(CurrentWindowData& w, const LinePayload& line, pl3::Box& box) {
  const bool wanted = (w.ViewFlags & kViewTrackCommitted) && w.AutoVia && w.LastTrackLayer != w.RoutingLayer &&
                      IsCopper(w, w.LastTrackLayer) && IsCopper(w, w.RoutingLayer) &&
                      !ViaExistsAt(line.x1, line.y1);
  const std::uint32_t count = w.sizeTable ? (*w.sizeTable)[SizeKind_Vias].count() : 0;
  // Without via sizes there is no via to place.
  if (!wanted || count == 0) return;
  const std::uint32_t index = std::min(w.CurrentViaSize, count - 1);
  Tower* via = InsertViaAt(w.design, line.x1, line.y1, index);
  if (!via) return;
  RecordUndoInsert(NodeRefOf(TowerEntity(via)), w.UndoStep);
  if (w.editorKind == kEditorPcb && w.Display) PutEntityOnDisplayList(w.Display, via);
  ReleaseTower(&via);
  Grow(box, (*w.sizeTable)[SizeKind_Vias].entries[index].value2);
}

// Commits the leg from the record's start to `to`; 1 when one was stored.
int InsertLeg(EntityRecord* record, pl3::Point to) {
  auto leg = std::make_unique<EntityRecord>(*record);
  auto& l = leg->as<LinePayload>();
  l.x2 = to.x;
  l.y2 = to.y;
  return InsertLineSegment(leg.get());
}

void MoveStartTo(LinePayload& l, pl3::Point p) {
  l.x1 = p.x;
  l.y1 = p.y;
}

void CommitOrthogonal(EntityRecord* record) {
  auto& l = record->as<LinePayload>();
  const pl3::Point corner = (record->header.headerLayer & 1) ? pl3::Point{l.x1, l.y2} : pl3::Point{l.x2, l.y1};
  InsertLeg(record, corner);
  MoveStartTo(l, corner);
}

std::int32_t WithSign(std::int64_t magnitude, std::int64_t sign) {
  return static_cast<std::int32_t>(sign < 0 ? -magnitude : magnitude);
}

void Commit45(EntityRecord* record) {
  auto& l = record->as<LinePayload>();
  const std::int64_t dx = std::int64_t{l.x2} - l.x1;
  const std::int64_t dy = std::int64_t{l.y2} - l.y1;
  const bool horizontal = std::llabs(dx) >= std::llabs(dy);
  const std::int32_t d = horizontal ? WithSign(std::llabs(dy), dx) : WithSign(std::llabs(dx), dy);
  pl3::Point corner{};
  if (record->header.headerLayer & 2)
    corner = horizontal ? pl3::Point{l.x1 + d, l.y2} : pl3::Point{l.x2, l.y1 + d};
  else
    corner = horizontal ? pl3::Point{l.x2 - d, l.y1} : pl3::Point{l.x1, l.y2 - d};
  if (InsertLeg(record, corner)) {
    MoveStartTo(l, corner);
  } else if (InsertLineSegment(record)) {
    MoveStartTo(l, {l.x2, l.y2});
  } else {
    MessageBeep(MB_ICONEXCLAMATION);
  }
  record->header.headerLayer ^= 2;
}

std::int64_t UnitFactor(std::uint8_t units) {
  switch (units) {
    case 1: return 36576000;
    case 2: return 1440000;
    case 3: return 14400000;
    default: return 36576;
  }
}

}  // namespace

int InsertLineSegment(EntityRecord* record) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !record) return 0;
  const auto& l = record->as<LinePayload>();
  if (l.x1 == l.x2 && l.y1 == l.y2) return 0;
  Tower* stored = StoreWithUndo(*w, record);
  ReleaseTower(&stored);
  return 1;
}

pl3::Box* AcceptTrackSegment(EntityRecord** slot) {
  CurrentWindowData* w = ActiveWindowData;
  EntityRecord* record = slot ? *slot : nullptr;
  if (!w || !record) return nullptr;
  auto copy = std::make_unique<EntityRecord>(*record);
  auto& line = record->as<LinePayload>();
  const std::uint8_t kindBits = record->header.state & kStoredKindBits;
  const bool diagonal = line.x1 != line.x2 && line.y1 != line.y2;
  if (!IsListedVariant(kindBits) && line.x1 == line.x2 && line.y1 == line.y2) {
    MessageBeep(MB_ICONEXCLAMATION);
    return nullptr;
  }
  pl3::Box* box = NewBox();
  if (!box) return nullptr;
  GetGraphicBox(copy->payload, TrackBoxType(record->header.state), box);
  if (line.x1 == line.x2)
    record->header.headerLayer = 0;
  else if (line.y1 == line.y2)
    record->header.headerLayer = 1;
  if (w->editorKind == kEditorPcb && kindBits == 0) {
    PlaceJointVia(*w, line, *box);
    w->ViewFlags |= kViewTrackCommitted;
    w->LastTrackLayer = w->RoutingLayer;
  }
  if (diagonal && w->AngleAssist == 1) {
    CommitOrthogonal(record);
  } else if (diagonal && w->AngleAssist >= 2) {
    Commit45(record);
  } else {
    InsertLineSegment(record);
    MoveStartTo(line, {line.x2, line.y2});
  }
  record->header.headerLayer ^= 1;
  const QuasiTrackSettings quasi = GetQuasiTrackSettings();
  if (quasi.enabled) Grow(*box, static_cast<std::int64_t>(quasi.gap * static_cast<double>(UnitFactor(quasi.units))));
  return box;
}

int AcceptGraphicRecord(HWND window, EntityRecord** slot) {
  CurrentWindowData* w = ActiveWindowData;
  EntityRecord* record = slot ? *slot : nullptr;
  if (!w || !record) return 0;
  const std::uint16_t type = StoredCodeOfRecord(*record);
  switch (type) {
    case Type_Track: case Type_ThermalBreak: case Type_RoutedLine: case Type_StarEarthTrack:
    case Type_BoardOutlineLine: case Type_PlatedSlot: case Type_NonPlatedSlot: {
      const auto& l = record->as<LinePayload>();
      if (l.x1 == l.x2 && l.y1 == l.y2) {
        MessageBeep(0);
        return 0;
      }
      break;
    }
    case Type_Circle:
      if (record->as<CirclePayload>().size == 0) {
        MessageBeep(0);
        return 0;
      }
      break;
    case Type_Hole:
      if (record->as<HolePayload>().hole.size1 == 0) {
        MessageBeep(0);
        return 0;
      }
      break;
    default:
      break;
  }
  if (w->EditMode != kModeMoveNewItem && w->Selection) {
    std::memcpy(record->payload + 8, TowerPayload(w->Selection) + 8, 4);
    if (w->Display) RemoveFromDisplayList(w->Display, w->Selection);
    DeleteEntity(w->Selection);
    ReleaseTower(&w->Selection);
  }
  Tower* stored = StoreGraphicRecord(w->design, record, 1);
  pl3::Box box{};
  if (stored) GetGraphicBox(TowerPayload(stored), type, &box);
  ReleaseTower(&stored);
  RecordDesignChange();
  RedrawViewRect(window, &box, 1);
  delete record;
  *slot = nullptr;
  SetEditCursor(0);
  w->EditMode = 0;
  w->SubMode = 0;
  UpdateStatusBar(window);
  SetSelectionAndOptionsMenus(0);
  return 1;
}
