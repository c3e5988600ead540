// The mouse road's calls into the placing tools (edit/engine_seams.h): the
// ghost updater of a mode, the commit of its click and the start of an
// insertion, each sent to the tool that owns the mode or the pending
// insertion type. Tools not built yet get the stand-ins of
// app/engine_seams_pending.cpp.
#include "app/engine_seams_pending.h"
#include "app/insert_pin_seams.h"
#include "app/locator_insertion.h"
#include "app/start_values.h"
#include "app/measure_tool.h"
#include "edit/drawn_items.h"
#include "edit/engine_seams.h"
#include "edit/insertion.h"
#include "edit/insertion_array.h"
#include "edit/key_command_seams.h"
#include "edit/selection.h"
#include "edit/selection_actions.h"
#include "edit/nearest_pad.h"
#include "edit/symbol_insertion.h"
#include "edit/window_data.h"
#include "objects/datums.h"
#include "objects/dimensioners.h"
#include "objects/editor_modes.h"
#include "objects/editor_seams.h"
#include "objects/type_codes.h"
#include "platform/user.h"

namespace {

bool IsDimensionerMode(std::uint8_t mode) { return mode >= kModeDimensionerA && mode <= kModeAngleLabel; }

// The modes that carry the selection array on the cursor.
bool IsSelectionArrayMode(std::uint8_t mode) {
  return mode == Mode_EditSelection || mode == Mode_AddNewPad || mode == Mode_AddNewSymbol;
}

constexpr std::uint8_t kInsertTypePin = 33;
constexpr int kPinListColumns = 30009;

// The pin tool's click: the Insert Pin dialog over the unplaced pins, or a
// message when every pin is placed.
void BeginPinInsertion(HWND window, CurrentWindowData& w) {
  if (!HasUnplacedPins(w.design)) {
    MessageBox(window, "Cannot insert pin - no unplaced pins exist.", "Error Inserting Pin", MB_OK);
    return;
  }
  RunInsertPinDialog(window, w.design);
  w.InsertType = kInsertTypePin;
  w.ClickState = 0;
  SaveColumnWidths(kPinListColumns);
}

bool IsSchematicKind(const CurrentWindowData& w) {
  return (w.editorKind & (kEditorSchematicSymbol | kEditorSchematic)) != 0;
}

// Dimensioners and spirals are drawn on boards and PCB symbols only.
bool IsPcbKind(const CurrentWindowData& w) { return (w.editorKind & (kEditorPcb | kEditorPcbSymbol)) != 0; }

}  // namespace

void UpdateModeGhost(GhostKind kind, HDC dc, ButtonRecord* button, EntityRecord** pendingSlot) {
  EntityRecord* pending = pendingSlot ? *pendingSlot : nullptr;
  switch (kind) {
    case GhostKind::Dimensioner:
      if (button) MoveDimensionerInsertion(dc, pending, button->Cursor);
      return;
    case GhostKind::MeasuringLine:
      if (button && ActiveWindowData)
        MeasureDragStep(static_cast<HWND>(ActiveWindowData->Window), dc, pending, button->Cursor);
      return;
    case GhostKind::Datum:
      if (button) MoveDatumGhost(dc, pending, button->Cursor);
      return;
    case GhostKind::InsertionArray:
      if (button) MoveInsertionGhost(dc, button->Cursor);
      return;
    case GhostKind::SelectionMove:
      if (button && ActiveWindowData)
        MoveSelectionToPoint(static_cast<HWND>(ActiveWindowData->Window), ActiveWindowData->SelectionList,
                             button->Cursor, 1);
      return;
    case GhostKind::PadNamePicking:
      if (ActiveWindowData) DoNamePins(static_cast<HWND>(ActiveWindowData->Window), button);
      return;
    default:
      if (!UpdateDrawnItemGhost(kind, dc, button, pendingSlot)) PendingUpdateModeGhost(kind, dc, button, pendingSlot);
      return;
  }
}

void CommitModeItem(std::uint8_t mode, HWND window, ButtonRecord* button, EntityRecord** pendingSlot) {
  if (IsDimensionerMode(mode)) {
    ClickDimensionerInsertion(window, pendingSlot);
  } else if (mode == Mode_Measure) {
    MeasureAcceptStep(window, pendingSlot ? *pendingSlot : nullptr);
  } else if (mode == kModePlacingDatum) {
    InsertDatum(pendingSlot);
  } else if (IsSelectionArrayMode(mode)) {
    // The click puts the selection down where it is; a selection the action
    // refuses stays in hand.
    if (ValidateSelectionForAction(kSelectionAccept, 0)) {
      AcceptSelectionArray(window);
      SetSelectionAndOptionsMenus(0);
    }
  } else if (!CommitInsertionMode(window, mode, button ? button->Cursor : pl3::Point{}) &&
             !CommitDrawnItem(mode, window, button, pendingSlot)) {
    PendingCommitModeItem(mode, window, button, pendingSlot);
  }
}

void BeginInsertion(HWND window, ButtonRecord* button, EntityRecord** pendingSlot) {
  CurrentWindowData* w = ActiveWindowData;
  const pl3::Point cursor = button ? button->Cursor : pl3::Point{};
  switch (w ? w->InsertType : 0) {
    case Type_Dimensioner:
      if (IsPcbKind(*w)) BeginInsertDimensioner(window, pendingSlot, cursor);
      return;
    case Type_AngleDimensioner:
      if (IsPcbKind(*w)) BeginInsertAngleDimensioner(window, pendingSlot, cursor);
      return;
    case Type_Spiral:
      // The armed Spiral tool, and Insert Spiral, begin here.
      if (IsPcbKind(*w) && button) BeginInsertSpiral(window, pendingSlot, button);
      return;
    case Type_Datum: StartNewDatum(window, pendingSlot, cursor); return;
    case Type_AttributeLocator:
      if (IsSchematicKind(*w)) BeginLocatorInsertion(window, cursor);
      return;
    case kInsertTypePin:
      if (IsSchematicKind(*w)) BeginPinInsertion(window, *w);
      return;
    default:
      if (!BeginGraphicInsertion(window, button, pendingSlot)) PendingBeginInsertion(window, button, pendingSlot);
      return;
  }
}
