#include "app/select_layer_dialog.h"

#include <cstring>

#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/responder.h"

namespace {

// Rows: records in use whose flags also hold bits 0 and 3 (active, enabled).
constexpr std::uint32_t kSelectLayerMask = 0x9;

const DialogControl kSelectLayerControls[] = {
    {"LISTBOX", kSelectLayerList, "", 7, 7, 160, 120, LBS_NOTIFY | WS_BORDER | WS_VSCROLL | WS_TABSTOP},
    {"BUTTON", IDOK, "OK", 30, 132, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
    {"BUTTON", IDCANCEL, "Cancel", 90, 132, 50, 14, BS_PUSHBUTTON | WS_TABSTOP},
};
const DialogTemplate kSelectLayerDlg{"SELECTLAYERDLG", 0, "Select Layer", 0, 0, 174, 152,
                                     DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, kSelectLayerControls};
const bool kRegistered = pl3::RegisterDialogTemplate(&kSelectLayerDlg);

SelectLayerBlock* BlockOf(HWND dialog) {
  return reinterpret_cast<SelectLayerBlock*>(GetWindowLongPtr(dialog, GWLP_USERDATA));
}

void FillLayerList(HWND dialog, const SelectLayerBlock& block) {
  HWND list = GetDlgItem(dialog, kSelectLayerList);
  SendMessage(list, LB_RESETCONTENT, 0, 0);
  for (std::size_t i = 0; i < kLayerCount; ++i) {
    const LayerRecord& r = block.table.layers[i];
    if (!(r.flags & kLayerPresent) || (r.flags & kSelectLayerMask) != kSelectLayerMask) continue;
    if (block.mode && r.kind != block.mode) continue;
    char name[kLayerNameSize + 1] = {};
    std::memcpy(name, r.name, kLayerNameSize);
    const LRESULT row = SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    SendMessage(list, LB_SETITEMDATA, static_cast<WPARAM>(row), static_cast<LPARAM>(i));
    if (i == block.chosenLayer) SendMessage(list, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
  }
}

void AcceptLayer(HWND dialog, SelectLayerBlock& block) {
  if (!(block.options & 0x1)) {
    const LRESULT row = SendDlgItemMessage(dialog, kSelectLayerList, LB_GETCURSEL, 0, 0);
    if (row < 0) {
      MessageBox(dialog, "Nothing selected", "Select Layer", MB_OK);
      return;
    }
    block.chosenLayer =
        static_cast<std::uint8_t>(SendDlgItemMessage(dialog, kSelectLayerList, LB_GETITEMDATA, row, 0));
  }
  EndDialog(dialog, 1);
}

}  // namespace

void PrepareSelectLayerBlock(SelectLayerBlock* block, const LayerTable& table, std::uint8_t current,
                             std::uint16_t mode) {
  std::memset(block, 0, sizeof *block);
  block->chosenLayer = current;
  block->mode = mode;
  block->table = table;
}

INT_PTR CALLBACK SelectLayerDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      if (!lParam) {
        MessageBox(dialog, "SelectLayerDlg called without LParam", "Error", MB_OK);
        EndDialog(dialog, 0);
        return TRUE;
      }
      SetWindowLongPtr(dialog, GWLP_USERDATA, lParam);
      FillLayerList(dialog, *reinterpret_cast<SelectLayerBlock*>(lParam));
      SetFocus(GetDlgItem(dialog, kSelectLayerList));
      return FALSE;
    case WM_COMMAND: {
      SelectLayerBlock* block = BlockOf(dialog);
      if (LOWORD(wParam) == IDOK || (LOWORD(wParam) == kSelectLayerList && HIWORD(wParam) == LBN_DBLCLK)) {
        if (block) AcceptLayer(dialog, *block);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, 0);
        return TRUE;
      }
      return FALSE;
    }
    case WM_CLOSE:
      EndDialog(dialog, 0);
      return TRUE;
    default:
      return FALSE;
  }
}

int ShowSelectLayerDialog(HWND owner, SelectLayerBlock* block) {
  (void)kRegistered;
  return DialogBoxParam(nullptr, "SELECTLAYERDLG", owner, &SelectLayerDlgProc, reinterpret_cast<LPARAM>(block)) == 1
             ? 1
             : 0;
}
