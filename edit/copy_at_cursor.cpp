// The Copy tool's click: the object under the cursor is picked for copying
// when the window is idle; while a selection is being edited the frame's
// Copy command copies that selection instead. In a file of its own, as the
// mouse road's tests fake it.
#include "edit/edit_modes.h"
#include "edit/engine_seams.h"
#include "edit/selection_engine_seams.h"
#include "edit/window_data.h"
#include "objects/item_helper_seams.h"
#include "platform/user.h"

namespace {

constexpr int kPickForCopy = 3;
constexpr WPARAM kFrameCopyCommand = 429;
constexpr std::uint32_t kCopyClickState = 3;

bool HasCopyTool(std::uint32_t kind) {
  return kind == kEditorPcb || kind == kEditorShape || kind == kEditorPcbSymbol || kind == kEditorSchematicSymbol ||
         kind == kEditorSchematic;
}

}  // namespace

void CopyAtCursor(HWND window, ButtonRecord* button) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !HasCopyTool(w->editorKind)) return;
  w->ClickState = kCopyClickState;
  const std::uint8_t angleAssist = w->AngleAssist;
  w->AngleAssist = 0;  // the pick takes the item as it lies
  if (w->EditMode == Mode_Idle) {
    PickObjectAtCursor(window, button, kPickForCopy);
  } else if (w->EditMode == Mode_EditSelection || w->EditMode == Mode_AddNewPad) {
    SendMessage(FrameWindow, WM_COMMAND, kFrameCopyCommand, 0);
  }
  w->AngleAssist = angleAssist;
}
