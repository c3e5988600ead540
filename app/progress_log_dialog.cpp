#include "app/progress_log_dialog.h"

#include <cstdlib>

#include "app/core_utilities.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/gdi.h"

namespace {

const DialogControl kProgressLogControls[] = {
    {"LISTBOX", kProgressLogList, "", 7, 7, 300, 140,
     LBS_OWNERDRAWFIXED | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER | WS_TABSTOP},
    {"BUTTON", kProgressLogClose, "Close", 130, 154, 60, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
};
const DialogTemplate kProgressLogDlg{nullptr, kProgressLogDialogId, "Net Import Progress", 0, 0, 314, 175,
                                     WS_POPUP | WS_CAPTION | WS_SYSMENU, kProgressLogControls};
const bool kRegistered = pl3::RegisterDialogTemplate(&kProgressLogDlg);

void CloseLog(HWND dialog) {
  SendDlgItemMessage(dialog, kProgressLogList, LB_RESETCONTENT, 0, 0);
  if (FrameWindow) SetFocus(FrameWindow);
  EndDialog(dialog, 0);
}

}  // namespace

void DrawProgressLogLine(HWND, const DRAWITEMSTRUCT* draw, bool selected, bool focused) {
  if (!draw) return;
  RECT rect = draw->rcItem;
  FillRect(draw->hDC, &rect,
           reinterpret_cast<HBRUSH>(static_cast<INT_PTR>((selected ? COLOR_HIGHLIGHT : COLOR_WINDOW) + 1)));
  const auto* line = reinterpret_cast<const ProgressLogLine*>(draw->itemData);
  if (line && line->text) {
    const COLORREF oldColour = SetTextColor(draw->hDC, selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : line->colour);
    const int oldMode = SetBkMode(draw->hDC, TRANSPARENT);
    DrawTextA(draw->hDC, line->text, -1, &rect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_PATH_ELLIPSIS);
    SetBkMode(draw->hDC, oldMode);
    SetTextColor(draw->hDC, oldColour);
  }
  if (focused) DrawFocusRect(draw->hDC, &rect);
}

INT_PTR CALLBACK ProgressLogDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  (void)kRegistered;
  switch (message) {
    case WM_INITDIALOG: {
      auto* block = reinterpret_cast<ProgressLogBlock*>(lParam);
      if (block) {
        block->dialog = dialog;
        block->list = GetDlgItem(dialog, kProgressLogList);
        block->opened = 1;
      }
      SetWindowLongPtr(dialog, DWLP_USER, lParam);
      return TRUE;
    }
    case WM_DRAWITEM: {
      const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (!draw || draw->CtlID != kProgressLogList || draw->itemID == static_cast<UINT>(-1)) return FALSE;
      if (!(draw->itemAction & (ODA_DRAWENTIRE | ODA_SELECT | ODA_FOCUS))) return FALSE;
      DrawProgressLogLine(dialog, draw, (draw->itemState & ODS_SELECTED) != 0, (draw->itemState & ODS_FOCUS) != 0);
      return TRUE;
    }
    case WM_DELETEITEM: {
      const auto* deleted = reinterpret_cast<const DELETEITEMSTRUCT*>(lParam);
      if (!deleted || deleted->CtlID != kProgressLogList) return FALSE;
      auto* line = reinterpret_cast<ProgressLogLine*>(deleted->itemData);
      if (line) std::free(line->text);
      std::free(line);
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) != kProgressLogClose) return FALSE;
      CloseLog(dialog);
      return TRUE;
    default:
      return FALSE;
  }
}
