#include "app/item_key_commands.h"

#include <cstring>
#include <initializer_list>
#include <memory>

#include "app/core_utilities.h"
#include "app/select_layer_dialog.h"
#include "edit/selection_actions.h"
#include "draw/ghost_seams.h"
#include "edit/engine_seams.h"
#include "edit/key_command_seams.h"
#include "edit/window_data.h"
#include "objects/attribute_services.h"
#include "objects/editor_input.h"
#include "objects/editor_modes.h"
#include "objects/editor_seams.h"
#include "objects/graphic_records.h"
#include "objects/locator_dispatch.h"
#include "objects/selection_seams.h"
#include "objects/type_codes.h"
#include "objects/view_seams.h"
#include "platform/responder.h"
#include "platform/user.h"
#include "store/tower.h"

namespace {

constexpr std::uint32_t kStateToolChosen = 0x40;
constexpr UINT kDeleteVertexCommand = 422;
constexpr std::uint8_t kModeDrawPolygon = 13;
constexpr std::uint8_t kModeDrawTrack = 1;
constexpr std::uint8_t kModeContinueTrack = 104;

const SelectionInfo* FirstPrimary(const SelectionInfo* list) {
  for (const SelectionInfo* s = list; s; s = s->next)
    if (s->flags & kSelectionPrimary) return s;
  return nullptr;
}

// The edit code of the selection: what part of its first primary item is held.
std::uint16_t SelectionEditCode(const SelectionInfo* list) {
  const SelectionInfo* first = FirstPrimary(list);
  return first ? first->grabbedPart : 0;
}

bool IsPolygonLike(std::uint16_t type) {
  switch (type) {
    case 4: case 8: case 9: case 41: case 42: case 43: case 44: case 45: case 49: return true;
    default: return false;
  }
}

bool BackspaceKind(std::uint32_t kind) {
  return kind == kEditorPcb || kind == kEditorShape || kind == kEditorPcbSymbol || kind == kEditorPadStack ||
         kind == kEditorSchematicSymbol || kind == kEditorSchematic;
}

void DeleteVertex() { SendMessage(FrameWindow, WM_COMMAND, kDeleteVertexCommand, 0); }

void UndoWithWaitCursor(HWND view, CurrentWindowData& w) {
  CancelCurrentOperation(view, &w);
  HCURSOR previous = nullptr;
  const bool wait = CountUndoStepEntries(0) > 10;
  if (wait) previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  UndoLastStep();
  if (wait) SetCursor(previous);
  if (w.editorKind == kEditorSchematic) UpdateNetNameLocators(w.design, 0);
  RedrawView(view);
  MoveCrosshair(view, &w.Crosshair, w.CrosshairPos.x, w.CrosshairPos.y);
  SetEditCursor(w.CursorKind);
}

// Erases (or draws) the selection ghost and the ratsnest lines together.
void ToggleSelectionAndRatsnest(HWND view, const CurrentWindowData& w) {
  HDC dc = GetDC(view);
  GhostSelectionArray(dc, w.SelectionList);
  DrawRatsnestLines(dc);
  ReleaseDC(view, dc);
}

bool SelectionHolds(const SelectionInfo* list, std::initializer_list<std::uint16_t> types) {
  for (const SelectionInfo* s = list; s; s = s->next) {
    const std::uint16_t type = ItemTypeCode(SelectionItem(*s));
    for (const std::uint16_t t : types)
      if (type == t) return true;
  }
  return false;
}

bool PlacesGraphicItem(std::uint8_t mode) {
  return (mode >= 1 && mode <= 18) || (mode >= 20 && mode <= 22) || mode == 28 || mode == 29 || mode == 38 ||
         (mode >= 64 && mode <= 67) || mode == 104 || mode == 107 || mode == 108;
}

// A hole or a board outline line or arc: Set Layer leaves it as it is.
bool KeepsItsLayer(const EntityRecord& r) {
  switch (r.header.recordType) {
    case Type_Hole: return true;
    case Type_Track: return (r.header.state & kStateBoardOutline) != 0;
    case Type_Arc: return (r.header.state & kStateOutlineArc) != 0;
    default: return false;
  }
}

// Runs the dialog over the window's table; on OK takes the edited table and
// the chosen layer as the routing layer. The chosen layer, or -1 on Cancel.
int ChooseLayer(HWND view, CurrentWindowData& w, std::uint16_t mode) {
  auto block = std::make_unique<SelectLayerBlock>();
  PrepareSelectLayerBlock(block.get(), w.layerTable, w.RoutingLayer, mode);
  if (!ShowSelectLayerDialog(view, block.get())) return -1;
  if (std::memcmp(&block->table, &w.layerTable, sizeof(LayerTable)) != 0) {
    w.layerTable = block->table;
    RedrawView(view);
  }
  w.RoutingLayer = block->chosenLayer;
  return block->chosenLayer;
}

// The layer byte of the locator being placed.
std::uint8_t* PlacedLocatorLayer(CurrentWindowData& w) {
  if (w.PendingRecord) return &w.PendingRecord->payload[0];
  Entity* e = TowerEntity(w.TemporaryEntity);
  return e && e->payloadSize > 0 ? EntityPayload(e) : nullptr;
}

void StartSpiralInstead(HWND view, CurrentWindowData& w, EntityRecord** slot) {
  CancelCurrentOperation(view, &w);
  SetSpiralTool();
  BeginInsertSpiral(view, slot, &w.Button);
}

}  // namespace

void SetCurrentItemLayer(HWND view, EntityRecord** slot, pl3::Point) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w) return;
  if (w->editorKind == kEditorPadStack) {
    if (w->ViewFlags & 0x4) SendMessage(view, WM_COMMAND, 241, 0);
    return;
  }
  if (w->editorKind != kEditorPcb && w->editorKind != kEditorPcbSymbol) return;
  EntityRecord* pending = slot ? *slot : nullptr;
  const std::uint8_t mode = w->EditMode;
  if (mode == 33 || mode == 110) {
    GhostCurrentMode(view);
    const int layer = ChooseLayer(view, *w, 1);
    std::uint8_t* locatorLayer = PlacedLocatorLayer(*w);
    // The locator moves only between layers of one kind.
    if (layer >= 0 && locatorLayer && w->layerTable.layers[*locatorLayer].kind == w->layerTable.layers[layer].kind)
      *locatorLayer = static_cast<std::uint8_t>(layer);
    GhostCurrentMode(view);
    UpdateStatusBar(view);
    return;
  }
  if (mode == Mode_EditSelection || mode == Mode_AddNewPad) {
    if (SelectionHolds(w->SelectionList, {38, 39, 44, 45, 46, 47, 106, 163})) {
      MessageBeep(MB_ICONEXCLAMATION);
      return;
    }
    const bool planes = SelectionHolds(w->SelectionList, {8, 9, 10, 35, 37, 41, 42, 43, 44, 45, 49});
    const int layer = ChooseLayer(view, *w, planes ? 2 : 0);
    if (layer < 0) return;
    const std::uint32_t action = SelectionHolds(w->SelectionList, {Type_SymbolInstance}) ? 3 : 4;
    if (!ValidateSelectionForAction(action, static_cast<std::uint32_t>(layer))) return;
    ToggleSelectionAndRatsnest(view, *w);
    PerformSelectionArrayAction(action, static_cast<std::uint32_t>(layer));
    ToggleSelectionAndRatsnest(view, *w);
    return;
  }
  if (PlacesGraphicItem(mode) && pending) {
    if (KeepsItsLayer(*pending)) return;  // the drawing goes on unchanged
    GhostCurrentMode(view);
    const int layer = ChooseLayer(view, *w, 0);
    if (layer >= 0) pending->payload[0] = static_cast<std::uint8_t>(layer);
    GhostCurrentMode(view);
    return;
  }
  if ((mode == 24 || mode == 25) && (ItemTypeCode(w->design) == 107 || ItemTypeCode(w->design) == 109)) {
    GhostCurrentMode(view);
    const int layer = ChooseLayer(view, *w, 0);
    if (layer >= 0) w->CurrentLayer = static_cast<std::uint8_t>(layer);
    GhostCurrentMode(view);
    return;
  }
  StartSpiralInstead(view, *w, slot);
}

void SetSpiralTool() {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || w->EditMode != 0) return;
  w->StateFlags &= ~kStateToolChosen;
  w->InsertType = Type_Spiral;
  w->ClickState = 0;
}

void BackspaceCommand(HWND view, EntityRecord** slot, pl3::Point) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !BackspaceKind(w->editorKind)) return;
  EntityRecord* pending = slot ? *slot : nullptr;
  if (w->EditMode == Mode_EditSelection) {
    const SelectionInfo* first = FirstPrimary(w->SelectionList);
    if (first && CountSelections(w->SelectionList, 1) == 1) {
      const std::uint16_t type = ItemTypeCode(SelectionItem(*first));
      const std::uint16_t code = first->grabbedPart;
      if (type == Type_Track && (code == 1 || code == 2)) {
        RipUpSelectedTrack(const_cast<SelectionInfo*>(first));
        return;
      }
      if (IsPolygonLike(type) && (code == 4 || code == 5)) {
        DeleteVertex();
        return;
      }
    }
  } else if (pending && pending->header.recordType == Type_Track &&
             (w->EditMode == kModeDrawTrack || w->EditMode == kModeContinueTrack)) {
    GhostCurrentMode(view);
    RipUpTrack(pending);
    GhostCurrentMode(view);
    return;
  } else if (pending && IsPolygonLike(pending->header.recordType) && w->EditMode == kModeDrawPolygon) {
    // Planes, cutouts, keepouts and outlines are drawn as polygons too.
    DeleteVertex();
    return;
  } else if (!w->SelectionList && !pending) {
    UndoWithWaitCursor(view, *w);
    return;
  }
  MessageBeep(MB_ICONEXCLAMATION);
}

void ReturnSelectionToStart(HWND view) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || (w->EditMode != Mode_EditSelection && w->EditMode != Mode_AddNewPad)) return;
  if (!w->OriginalBlockOrigin) return;
  const pl3::Point start = *w->OriginalBlockOrigin;
  if (start.x == w->BlockOrigin.x && start.y == w->BlockOrigin.y) return;
  const std::uint8_t assist = w->AngleAssist;
  w->AngleAssist = 0;
  ToggleSelectionAndRatsnest(view, *w);
  const std::int32_t dx = static_cast<std::int32_t>(static_cast<std::uint32_t>(start.x) -
                                                    static_cast<std::uint32_t>(w->BlockOrigin.x));
  const std::int32_t dy = static_cast<std::int32_t>(static_cast<std::uint32_t>(start.y) -
                                                    static_cast<std::uint32_t>(w->BlockOrigin.y));
  MoveSelectionArray(w->SelectionList, dx, dy);
  w->BlockOrigin = start;
  UpdateMovingPoints();
  ToggleSelectionAndRatsnest(view, *w);
  w->AngleAssist = assist;
}

int RotateSelection(HWND view, const pl3::Transform& transform) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w) return 0;
  switch (SelectionEditCode(w->SelectionList)) {
    case 4: case 5: case 8: case 9: case 10:
      MessageBeep(0);
      return 0;
    default:
      break;
  }
  const SelectionInfo* first = FirstPrimary(w->SelectionList);
  if (first && CountSelections(w->SelectionList, 0) == 1 &&
      ItemTypeCode(SelectionItem(*first)) == Type_AttributeLocator) {
    const Tower* item = SelectionItem(*first);
    auto* locator = static_cast<LocatorPayload*>(static_cast<void*>(EntityPayload(TowerEntity(item))));
    const bool clockwise = transform.a == pl3::R90.a && transform.b == pl3::R90.b && transform.c == pl3::R90.c &&
                           transform.d == pl3::R90.d;
    GhostSelectionAndMode(view, w->PendingRecord);
    RotateLocatorText(locator, clockwise ? 1 : 0);
    GhostSelectionAndMode(view, w->PendingRecord);
    return 1;
  }
  ToggleSelectionAndRatsnest(view, *w);
  TransformSelectionArray(&transform);
  UpdateMovingPoints();
  ToggleSelectionAndRatsnest(view, *w);
  return 1;
}
