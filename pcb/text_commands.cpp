// The PCB commands that edit a text of the selection or of the item being
// placed (Edit Text, Change Designator) and the one that places a mechanical
// symbol chosen from a library (Mechanical Symbol).
#include <cstdlib>
#include <cstring>

#include "app/core_utilities.h"
#include "edit/engine_seams.h"
#include "edit/insertion_seams.h"
#include "edit/window_data.h"
#include "objects/designators.h"
#include "objects/editor_input.h"
#include "objects/editor_modes.h"
#include "objects/frame_seams.h"
#include "objects/graphic_records.h"
#include "objects/payload_access.h"
#include "objects/selection_seams.h"
#include "objects/symbol_instances.h"
#include "objects/text_item_services.h"
#include "objects/type_codes.h"
#include "pcb/pcb_command_seams.h"
#include "pcb/pcb_commands.h"
#include "platform/responder.h"
#include "store/document_titles.h"
#include "store/tower.h"

namespace {

bool EditsSelection(const CurrentWindowData& b) {
  return b.EditMode == Mode_EditSelection || b.EditMode == Mode_AddNewPad;
}

SelectionInfo* FirstPrimary(SelectionInfo* list) {
  for (SelectionInfo* r = list; r; r = r->next)
    if (r->flags & kSelectionPrimary) return r;
  return nullptr;
}

// Draws (or, drawn twice, erases) the ghosts of the selection.
void GhostSelection(HWND window, const CurrentWindowData& b) {
  HDC dc = GetViewDC(window);
  GhostSelectionArray(dc, b.SelectionList);
  ReleaseViewDC(window, dc);
}

// The text being placed: its string edited in place, within the record's room.
void EditTextBeingPlaced(HWND window, CurrentWindowData& b) {
  if (!b.PendingRecord) return;
  GhostCurrentMode(window);
  auto& text = b.PendingRecord->as<TextPayload>();
  if (RunStringDialogEx(window, &text) == 1) {
    b.PendingRecord->payload[kTextRoom - 1] = 0;
    SetStringBox(&text);
  }
  b.PendingRecord->payload[kTextRoom - 1] = 0;
  GhostCurrentMode(window);
}

// Replaces the working copy of the one selected text by an edited copy. The
// copy is cut to what a text record holds, whatever the stored record's size.
void EditSelectedText(HWND window, CurrentWindowData& b, SelectionInfo& record) {
  Tower* copy = record.workingCopy;
  const Entity* e = TowerEntity(copy);
  if (!e) return;
  alignas(TextPayload) std::uint8_t buffer[kTextRoom] = {};
  std::memcpy(buffer, EntityPayload(e), e->payloadSize < kTextRoom ? e->payloadSize : kTextRoom);
  buffer[kTextRoom - 1] = 0;
  auto* text = reinterpret_cast<TextPayload*>(buffer);
  if (RunStringDialogEx(window, text) != 1) return;
  buffer[kTextRoom - 1] = 0;
  GhostSelection(window, b);
  Tower* parent = DuplicateTowerToLevel(copy, static_cast<std::uint8_t>(copy->lastLevel - 1));
  DeleteEntity(copy);
  Tower* edited = parent ? InsertEntity(parent, TextStoredSize(static_cast<std::uint32_t>(std::strlen(text->text))),
                                        Type_Text, buffer)
                         : nullptr;
  ReleaseTower(&parent);
  ReleaseTower(&record.workingCopy);
  record.workingCopy = edited;
  GhostSelection(window, b);
}

}  // namespace

void DoEditText(HWND window, CurrentWindowData& b) {
  if (b.EditMode == Mode_AddNewString) {
    EditTextBeingPlaced(window, b);
    return;
  }
  if (!EditsSelection(b) || GetSelectionType(b.SelectionList) != Type_Text) return;
  if (CountSelections(b.SelectionList, 1) > 1) {
    ShowMessage(window, "You cannot edit multiple text objects", "PCB Edit Text");
    return;
  }
  if (SelectionInfo* record = FirstPrimary(b.SelectionList)) EditSelectedText(window, b, *record);
}

void DoChangeDesignator(HWND window, CurrentWindowData& b) {
  if (b.NetEditingEnabled != 1 || !EditsSelection(b)) return;
  if (GetSelectionType(b.SelectionList) != Type_SymbolInstance || CountSelections(b.SelectionList, 1) != 1) return;
  SelectionInfo* record = FirstPrimary(b.SelectionList);
  const Tower* instance = record ? SelectionItem(*record) : nullptr;
  Tower* designator = NewestChildTower(instance, Type_Designator);
  Tower* stored = NewestChildTower(designator, Type_DesignatorString);
  Entity* e = TowerEntity(stored);
  if (e && e->payloadSize > 1) {
    auto* room = reinterpret_cast<char*>(EntityPayload(e));
    const std::uint32_t size = e->payloadSize;
    GhostSelection(window, b);
    char* initial = static_cast<char*>(std::calloc(size + 1, 1));
    if (initial) std::memcpy(initial, room, size);
    char* text = ShowEnterTextDlgEx("Change Designator", "Enter Designator", initial, size - 1);
    if (EnterTextDialogResult && text && *text && IsDesignatorUnused(text, b.design)) {
      // The new designator is cut to what the stored record holds.
      std::memset(room, 0, size);
      std::strncpy(room, text, size - 1);
    }
    std::free(text);
    GhostSelection(window, b);
  }
  ReleaseTower(&stored);
  ReleaseTower(&designator);
}

void DoMechanicalSymbol(HWND window, CurrentWindowData& b) {
  CancelCurrentOperation(window, &b);
  StoreItemChoice* choice = ChooseAndOpenStoreItem(window, "pcbsymbol", 1, b.design);
  if (!choice) return;
  if (GetSymbolOptions(choice->document) & 1)
    BeginPlaceMechanicalSymbol(window, choice->document);
  else
    ShowMessageEx(window, "The symbol you are trying to insert is not a mechanical symbol\n", "Error", MB_OK);
  FreeStoreItemChoice(choice);
}
