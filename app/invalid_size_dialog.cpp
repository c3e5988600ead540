#include "app/invalid_size_dialog.h"

#include "app/core_utilities.h"
#include "app/pending_services.h"
#include "app/registry_values.h"
#include "app/size_dialog_seams.h"
#include "edit/window_data.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/responder.h"

namespace {

const DialogControl kInvalidSizeControls[] = {
    {"STATIC", kInvalidSizeText, "", 7, 7, 200, 20, SS_LEFT},
    {"BUTTON", kInvalidSizeNeverAgain, "Do not &prompt in the future.", 7, 32, 200, 10,
     BS_AUTOCHECKBOX | WS_TABSTOP},
    {"BUTTON", IDOK, "OK", 40, 50, 60, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
    {"BUTTON", kInvalidSizeConfigure, "Configure Sizes", 110, 50, 60, 14, BS_PUSHBUTTON | WS_TABSTOP},
};
const DialogTemplate kInvalidSizeDlg{nullptr, kInvalidSizeDialogId, "Invalid Size", 0, 0, 214, 72,
                                     DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, kInvalidSizeControls};
const bool kRegistered = pl3::RegisterDialogTemplate(&kInvalidSizeDlg);

const InvalidSizeBlock* BlockOf(HWND dialog) {
  return reinterpret_cast<const InvalidSizeBlock*>(GetWindowLongPtr(dialog, DWLP_USER));
}

// Sets the bit in "Flags"; nothing when the key cannot be opened.
void StopFurtherNotices(std::uint32_t bit) {
  HKEY key = nullptr;
  if (OpenProgramRegistryKey(HKEY_CURRENT_USER, "Initialisation", 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
  const DWORD flags = ReadRegistryDword(key, "Flags", 0) | bit;
  RegSetValueEx(key, "Flags", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&flags), sizeof flags);
  RegCloseKey(key);
}

bool HasSizeLists(std::uint32_t editorKind) {
  switch (editorKind) {
    case kEditorPcb: case kEditorShape: case kEditorPcbSymbol: case kEditorPadStack:
    case kEditorSchematicSymbol: case kEditorSchematic:
      return true;
    default:
      return false;
  }
}

void ConfigureSizes(HWND dialog) {
  EndDialog(dialog, 1);
  CurrentWindowData* window = ActiveWindowData;
  if (!window) return;
  CancelCurrentOperation(static_cast<HWND>(window->Window), window);
  if (HasSizeLists(window->editorKind)) ShowConfigureSizesDialog(FrameWindow);
}

}  // namespace

INT_PTR CALLBACK InvalidSizeDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      const auto* block = reinterpret_cast<const InvalidSizeBlock*>(lParam);
      SetWindowLongPtr(dialog, DWLP_USER, lParam);
      MessageBeep(MB_ICONEXCLAMATION);
      if (block && block->caption) SetWindowText(dialog, block->caption);
      SetDlgItemText(dialog, kInvalidSizeText, block && block->text ? block->text : "");
      CheckDlgButton(dialog, kInvalidSizeNeverAgain, BST_UNCHECKED);
      return TRUE;
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK: {
          const InvalidSizeBlock* block = BlockOf(dialog);
          if (block && IsDlgButtonChecked(dialog, kInvalidSizeNeverAgain) == BST_CHECKED)
            StopFurtherNotices(block->flagBit);
          EndDialog(dialog, 1);
          return TRUE;
        }
        case kInvalidSizeConfigure:
          ConfigureSizes(dialog);
          return TRUE;
        case IDCANCEL:
          EndDialog(dialog, 0);
          return TRUE;
        default:
          return FALSE;
      }
    default:
      return FALSE;
  }
}

INT_PTR ShowInvalidSizeDialog(HWND owner, const InvalidSizeBlock& block) {
  (void)kRegistered;
  return DialogBoxParam(nullptr, MAKEINTRESOURCE(kInvalidSizeDialogId), owner, &InvalidSizeDlgProc,
                        reinterpret_cast<LPARAM>(&block));
}
