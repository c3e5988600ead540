#include "objects/editor_input.h"

#include <cmath>
#include <cstdlib>
#include <memory>

#include "edit/window_data.h"
#include "objects/editor_modes.h"
#include "objects/editor_seams.h"
#include "objects/graphic_records.h"
#include "objects/selection_menus.h"
#include "objects/symbol_instances.h"
#include "objects/type_codes.h"
#include "objects/view_seams.h"
#include "platform/reset_hooks.h"
#include "platform/responder.h"
#include "platform/user.h"
#include "platform/user_constants.h"
#include "store/tower.h"

std::uint8_t CtrlKeyHeld = 0;

namespace {

void ResetEditorInput() { CtrlKeyHeld = 0; }
const bool gRegistered = pl3::RegisterGlobalReset(&ResetEditorInput);

void ReturnToIdle(void* window, CurrentWindowData& state) {
  state.EditMode = Mode_Idle;
  state.SubMode = 0;
  UpdateStatusBar(window);
}

// Grows box by other; the empty box {-1, -1, 0, 0} is neutral because the
// corners compare as unsigned.
void JoinBox(pl3::Box& box, const pl3::Box& other) {
  auto lower = [](std::int32_t a, std::int32_t b) { return static_cast<std::uint32_t>(a) < static_cast<std::uint32_t>(b); };
  if (lower(other.xmin, box.xmin)) box.xmin = other.xmin;
  if (lower(other.ymin, box.ymin)) box.ymin = other.ymin;
  if (lower(box.xmax, other.xmax)) box.xmax = other.xmax;
  if (lower(box.ymax, other.ymax)) box.ymax = other.ymax;
}

void GhostRecord(void* window, const EntityRecord& record) {
  GhostEntityData(window, record.header.recordType, record.payload, 0, &record.header.transform);
}

bool SamePoint(pl3::Point a, pl3::Point b) { return a.x == b.x && a.y == b.y; }

pl3::Point Snapped(pl3::Point p) {
  SnapXY(&p.x, &p.y, 0);
  return p;
}

void ShiftRectangle(pl3::RectangleLayout& r, std::int32_t dx, std::int32_t dy) {
  for (pl3::Point& c : r.corners) {
    c.x += dx;
    c.y += dy;
  }
  r.centreX += dx;
  r.centreY += dy;
}

// Moves the rectangle in hand so that its first corner lies on the point;
// false when it was already there.
bool PlaceFirstCorner(void* window, EntityRecord& record, pl3::Point point) {
  auto& rect = record.as<RectanglePayload>().rect;
  if (SamePoint(rect.corners[0], point)) return false;
  GhostRecord(window, record);
  ShiftRectangle(rect, point.x - rect.corners[0].x, point.y - rect.corners[0].y);
  GhostRecord(window, record);
  return true;
}

std::int32_t DistanceBetween(pl3::Point a, pl3::Point b) {
  const double dx = static_cast<double>(b.x) - a.x;
  const double dy = static_cast<double>(b.y) - a.y;
  return static_cast<std::int32_t>(std::sqrt(dx * dx + dy * dy));
}

// The selection's primaries: how many, their common type (0xFFFF when mixed)
// and the first of them.
struct Primaries {
  int count = 0;
  std::uint16_t type = 0xFFFF;
  const SelectionInfo* first = nullptr;
};

Primaries CollectPrimaries(const SelectionInfo* list) {
  Primaries p;
  bool mixed = false;
  for (const SelectionInfo* s = list; s; s = s->next) {
    if (!(s->flags & kSelectionPrimary)) continue;
    const std::uint16_t type = ItemTypeCode(SelectionItem(*s));
    if (p.count++ == 0) {
      p.first = s;
      p.type = type;
    } else if (type != p.type) {
      mixed = true;
    }
  }
  if (mixed) p.type = 0xFFFF;
  return p;
}

std::uint32_t SelectionMenuKind(const Primaries& p) {
  if (p.count == 0 || p.type == 0xFFFF) return kMixedSelectionMenuKind;
  return GetSelectionMenuKind(p.type, p.count == 1 ? SelectionItem(*p.first) : nullptr);
}

}  // namespace

std::uint32_t GetSelectionListMenuKind(const SelectionInfo* list) { return SelectionMenuKind(CollectPrimaries(list)); }

namespace {

pl3::Box SelectionBox(const SelectionInfo* list) {
  pl3::Box box{-1, -1, 0, 0};
  for (const SelectionInfo* s = list; s; s = s->next) {
    pl3::Box item{-1, -1, 0, 0};
    if (const Tower* t = SelectionItem(*s); t && GetItemBox(t, &item)) JoinBox(box, item);
  }
  return box;
}

std::uint16_t* FirstDesignatorDisplayWord(const Tower* instance) {
  Tower* group = OpenChildTower(instance, Type_Designator);
  Tower* copy = group ? OpenChildTower(group, Type_DesignatorData) : nullptr;
  auto* info = copy ? static_cast<std::uint8_t*>(GetEntityData(copy, Type_DesignatorInfo)) : nullptr;
  ReleaseTower(&copy);
  ReleaseTower(&group);
  return info ? reinterpret_cast<std::uint16_t*>(info + 2) : nullptr;  // the display word at bytes 2-3
}

ModeGhost GhostOfMode(std::uint8_t mode, bool* none) {
  *none = false;
  switch (mode) {
    case Mode_NewSymbol: case Mode_EditSymbol: case Mode_AddNewShape: case Mode_PlaceShape:
      return ModeGhost::Insertion;
    case Mode_PlaceDesignator: case Mode_PlaceAttributeLocator:
      return ModeGhost::Designator;
    case Mode_MoveOrigin: case Mode_SetBlockOrigin:
      return ModeGhost::OriginMarker;
    case Mode_NewPin:
      return ModeGhost::Locator;
    case Mode_EditSelection: case Mode_AddNewPad: case Mode_AddNewSymbol:
      return ModeGhost::Selection;
    case Mode_Idle: case Mode_PlacePadName: case Mode_MovePadName:
      *none = true;
      return ModeGhost::Item;
    default:
      return ModeGhost::Item;
  }
}

}  // namespace

const Tower* SelectionItem(const SelectionInfo& record) {
  return record.workingCopy ? record.workingCopy : record.original;
}

std::uint16_t ItemTypeCode(const Tower* item) {
  const Entity* e = item ? TowerEntity(item) : nullptr;
  return e ? e->typeCode : 0xFFFF;
}

void WarningBeep() { MessageBeep(MB_ICONEXCLAMATION); }

void EditorKeyUp(void* window, std::uint32_t key) {
  if (key == static_cast<std::uint32_t>(VK_SHIFT))
    EndSelectionDragFeedback(window);
  else if (key == static_cast<std::uint32_t>(VK_CONTROL))
    CtrlKeyHeld = 0;
}

void EndSelectionDragFeedback(void* window) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w) return;
  if (w->StateFlags & kStateDragFeedback) {
    w->StateFlags &= ~kStateDragFeedback;
    return;
  }
  if (w->EditMode != Mode_EditSelection && w->EditMode != Mode_AddNewPad) return;
  if (!w->SelectionList) {
    ReturnToIdle(window, *w);
    return;
  }
  // The ghost shown while Shift was held was drawn without the angle assist.
  const std::uint8_t assist = w->AngleAssist;
  w->AngleAssist = 0;
  GhostSelectionAndMode(window, w->PendingRecord);
  w->AngleAssist = assist;
  GhostSelectionAndMode(window, w->PendingRecord);
}

void SetRectangleFirstCorner(void* window, CurrentWindowData& state, pl3::Point point) {
  if (!state.PendingRecord) return;
  PlaceFirstCorner(window, *state.PendingRecord, Snapped(point));
  state.EditMode = Mode_RectangleFirstCorner;
}

void MoveRectangleFirstCorner(void* window, CurrentWindowData& state, pl3::Point point) {
  if (state.PendingRecord) PlaceFirstCorner(window, *state.PendingRecord, Snapped(point));
}

void MoveRectangleOppositeCorner(void* window, CurrentWindowData& state, pl3::Point point) {
  EntityRecord* record = state.PendingRecord;
  if (!record) return;
  point = Snapped(point);
  auto& rect = record->as<RectanglePayload>().rect;
  if (SamePoint(rect.corners[2], point)) return;
  GhostRecord(window, *record);
  const pl3::Point first = rect.corners[0];
  rect.corners[1] = {point.x, first.y};
  rect.corners[2] = point;
  rect.corners[3] = {first.x, point.y};
  rect.centreX = static_cast<std::int32_t>((std::int64_t{first.x} + point.x) / 2);
  rect.centreY = static_cast<std::int32_t>((std::int64_t{first.y} + point.y) / 2);
  GhostRecord(window, *record);
}

void SpiralPlacementStep(void* window, CurrentWindowData& state, pl3::Point point) {
  EntityRecord* record = state.PendingRecord;
  const std::uint8_t mode = state.EditMode;
  const bool known = mode == Mode_AddNewSpiral || mode == Mode_SetSpiralStartPoint || mode == Mode_SetSpiralPitch;
  if (!record || !known) {
    WarningBeep();
    return;
  }
  auto& spiral = record->as<SpiralPayload>();
  if (mode == Mode_SetSpiralPitch && spiral.pitch == 0) {
    WarningBeep();
    return;
  }
  point = Snapped(point);
  DrawSpiral(window, record);
  if (mode == Mode_AddNewSpiral) {
    spiral.centre = point;
    state.EditMode = Mode_SetSpiralStartPoint;
  } else if (mode == Mode_SetSpiralStartPoint) {
    spiral.start = point;
    state.EditMode = Mode_SetSpiralPitch;
  } else {
    spiral.pitch = DistanceBetween(spiral.start, point);
    state.EditMode = Mode_SetSpiralEndPoint;
  }
  DrawSpiral(window, record);
}

void FinishSpiral(void* window, CurrentWindowData& state) {
  EntityRecord* record = state.PendingRecord;
  if (record) {
    if (GetArcSweepQuadrants(record) <= GetArcQuadrant(record)) {
      WarningBeep();
      return;
    }
    DrawSpiral(window, record);
    Tower* stored = InsertEntityWithUndo(record, state.design);
    if (!stored) {
      // Nothing was stored: the spiral stays in hand, its ghost back on screen.
      DrawSpiral(window, record);
      return;
    }
    ReleaseTower(&stored);
    std::unique_ptr<EntityRecord> freed(record);
    state.PendingRecord = nullptr;
  } else {
    MessageBox(nullptr, "Error : Attempt to delete non-existent graphic.", "Delete Graphic Error.",
               MB_OK | MB_ICONEXCLAMATION);
  }
  state.InsertionTypeCode = 0;  // the spiral is no longer being inserted
  SetSelectionAndOptionsMenus(0);
  SetEditCursor(0);
  ReturnToIdle(window, state);
}

void EndItemPick(void* window) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w) return;
  if (Entity* picked = w->Selection ? TowerEntity(w->Selection) : nullptr) {
    picked->flags &= static_cast<std::uint16_t>(~kEntitySelected);
    pl3::Box box{-1, -1, 0, 0};
    if (GetItemBox(w->Selection, &box)) RedrawViewRect(window, &box, 1);
  }
  ReleaseTower(&w->Selection);
  ReturnToIdle(window, *w);
}

void ToggleDesignatorVisibility(void* window) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w) return;
  const Primaries primaries = CollectPrimaries(w->SelectionList);
  if (primaries.count == 0 || primaries.type != Type_SymbolInstance) return;
  for (const SelectionInfo* s = w->SelectionList; s; s = s->next) {
    if (!(s->flags & kSelectionPrimary) || !s->workingCopy) continue;
    if (std::uint16_t* display = FirstDesignatorDisplayWord(s->workingCopy)) *display ^= kDesignatorHidden;
  }
  RedrawView(window);
}

void UpdateAfterSelectionChange(void* window, const pl3::Box* box, int redraw) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w) return;
  if (w->SelectionList) {
    w->EditMode = Mode_EditSelection;
    const Primaries primaries = CollectPrimaries(w->SelectionList);
    if (!w->OriginalBlockOrigin && primaries.first) {
      auto* origin = static_cast<pl3::Point*>(std::malloc(sizeof(pl3::Point)));
      if (origin) {
        *origin = primaries.first->currentPoint;
        w->OriginalBlockOrigin = origin;
        w->BlockOrigin = *origin;
      }
    }
    SetSelectionAndOptionsMenus(SelectionMenuKind(primaries));
    UpdateStatusBar(window);
    if (redraw) {
      pl3::Box area = SelectionBox(w->SelectionList);
      if (box) JoinBox(area, *box);
      RedrawViewRect(window, &area, 1);
    }
  } else {
    w->EditMode = Mode_Idle;
    w->SubMode = 0;
  }
  SendMessage(static_cast<HWND>(window), WM_COMMAND, kRefreshSelectionToolsCommand, 0);
}

void GhostSelectionAndMode(void* window, const EntityRecord* item) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !window || w->Window != window) return;
  if (w->DragFlags & kDragActive) DrawModeGhost(window, ModeGhost::DragRectangle, item);
  if (w->DragFlags & kDragPrintZone) DrawModeGhost(window, ModeGhost::SecondDragRectangle, item);
  bool none = false;
  const ModeGhost ghost = GhostOfMode(w->EditMode, &none);
  if (none) return;
  const bool plainItem = ghost == ModeGhost::Item && w->EditMode != Mode_Measure && w->EditMode != Mode_EditNet &&
                         w->EditMode != Mode_PlaceMacroBlock;
  if (!plainItem || !w->Selection) {
    DrawModeGhost(window, ghost, item);
    return;
  }
  const std::uint8_t assist = w->AngleAssist;
  w->AngleAssist = 0;
  DrawModeGhost(window, ghost, item);
  w->AngleAssist = assist;
}
