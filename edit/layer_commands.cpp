#include "edit/layer_commands.h"

#include <cstdint>

#include "draw/ghost_seams.h"
#include "edit/edit_modes.h"
#include "edit/engine_seams.h"
#include "edit/insertion_array.h"
#include "edit/selection_actions.h"
#include "edit/window_data.h"
#include "objects/colours.h"
#include "objects/graphic_records.h"
#include "objects/selection_seams.h"
#include "objects/type_codes.h"
#include "platform/user.h"
#include "store/tower.h"

namespace {

// An earlier-generation symbol.
constexpr std::uint16_t kTypePl2Symbol = 163;

bool IsSchematicEditor(std::uint32_t kind) { return kind == kEditorSchematic || kind == kEditorSchematicSymbol; }

// Placed symbols and pad stacks change board side as a whole, so Next Layer
// on a selection that holds one flips it instead.
bool HoldsSidedItems(const SelectionInfo* list) {
  for (const SelectionInfo* s = list; s; s = s->next) {
    const Tower* item = s->workingCopy ? s->workingCopy : s->original;
    const Entity* e = item ? TowerEntity(item) : nullptr;
    if (!e) continue;
    if (e->typeCode == Type_SymbolInstance || e->typeCode == Type_PadStackInstanceHier ||
        e->typeCode == kTypePl2Symbol)
      return true;
  }
  return false;
}

// The selection ghost and the ratsnest lines, drawn (or erased) together.
void ToggleSelectionGhost(HWND window, const CurrentWindowData& w) {
  HDC dc = GetDC(window);
  GhostSelectionArray(dc, w.SelectionList);
  DrawRatsnestLines(dc);
  ReleaseDC(window, dc);
}

void ApplyToSelection(HWND window, CurrentWindowData& w, std::uint32_t action) {
  if (!ValidateSelectionForAction(action, 0)) return;
  ToggleSelectionGhost(window, w);
  PerformSelectionArrayAction(action, 0);
  ToggleSelectionGhost(window, w);
}

// The item being placed in a schematic editor takes the next colour of its
// class (its layer byte holds the colour index there).
void CycleInsertionColour(HWND window, EntityRecord* pending) {
  if (!pending) return;
  GhostCurrentMode(window);
  pending->payload[0] = static_cast<std::uint8_t>(NextColourInClass(pending->payload[0]));
  GhostCurrentMode(window);
}

void LayerCommand(HWND window, ButtonRecord* point, EntityRecord** pendingSlot, bool flip) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w) return;
  const bool schematic = IsSchematicEditor(w->editorKind);
  const std::uint8_t mode = w->EditMode;
  if (mode == Mode_Idle) {
    DoSelect(window, point, pendingSlot);
    if (!schematic) InvalidateRect(window, nullptr, FALSE);
    return;
  }
  const bool editingSelection = mode == Mode_EditSelection || mode == Mode_AddNewPad;
  if (schematic) {
    if (editingSelection)
      ApplyToSelection(window, *w, kSelectionNextColour);
    else
      CycleInsertionColour(window, pendingSlot ? *pendingSlot : nullptr);
    return;
  }
  if (!editingSelection) {
    FlipInsertion(window, pendingSlot);
    return;
  }
  const bool wholeSide = flip || HoldsSidedItems(w->SelectionList);
  ApplyToSelection(window, *w, wholeSide ? kSelectionFlipSide : kSelectionNextLayer);
}

}  // namespace

void NextLayerCommand(HWND window, ButtonRecord* point, EntityRecord** pendingSlot) {
  LayerCommand(window, point, pendingSlot, false);
}

void FlipLayerCommand(HWND window, ButtonRecord* point, EntityRecord** pendingSlot) {
  LayerCommand(window, point, pendingSlot, true);
}
