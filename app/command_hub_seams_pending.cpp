// The program's stand-in for the frame command hub until it lands: the frame
// commands that need nothing beyond the frame (exit, close, the window
// arrangement and list, about and help) act; every other command is sent on
// to the active document window, as the hub forwards what it does not know.
#include "app/about_box.h"
#include "app/core_utilities.h"
#include "app/frame_window.h"
#include "app/pcb_window_seams.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/responder.h"
#include "platform/mdi.h"
#include "platform/user.h"
#include "store/filing_seams.h"

namespace {

HWND ActiveChild() {
  return MDIClientWindow ? reinterpret_cast<HWND>(SendMessageA(MDIClientWindow, WM_MDIGETACTIVE, 0, 0)) : nullptr;
}

// Closes the document windows in turn, stopping at the first that refuses.
LRESULT CloseAll() {
  if (!MDIClientWindow) return 1;
  for (;;) {
    HWND child = GetWindow(MDIClientWindow, GW_CHILD);
    if (!child) return 1;
    if (!CloseOrRecolourChildProc(child, 1)) return 0;
    if (IsWindow(child) && GetWindow(MDIClientWindow, GW_CHILD) == child) return 0;
  }
}

void Forward(WPARAM wParam, LPARAM lParam) {
  if (HWND child = ActiveChild()) SendMessageA(child, WM_COMMAND, wParam, lParam);
}

}  // namespace

LRESULT FrameCommandHub(HWND frame, WPARAM wParam, LPARAM lParam, HINSTANCE instance) {
  const UINT id = LOWORD(wParam);
  switch (id) {
    case 283:
      PostMessageA(frame, WM_CLOSE, 0, 0);
      return 1;
    case 284:
      CreatePCBWindow(instance);
      return 0;
    case 4004:
      SaveAllPCBWindows();
      return 1;
    case 327:
      if (HWND child = ActiveChild()) SendMessageA(child, WM_CLOSE, 0, 0);
      return 1;
    case 291:
      return CloseAll();
    case 287:
      SendMessageA(MDIClientWindow, WM_MDITILE, MDITILE_HORIZONTAL, 0);
      return 0;
    case 2365:
      SendMessageA(MDIClientWindow, WM_MDITILE, MDITILE_VERTICAL, 0);
      return 0;
    case 288:
      SendMessageA(MDIClientWindow, WM_MDICASCADE, 0, 0);
      return 0;
    case 417:
      DialogBoxParamA(instance, "ABOUTDLG", frame, &AboutDlgProc, 0);
      return 1;
    case 2043:
      ShowHelp();
      return 1;
    case kWindowListMoreId: {
      const INT_PTR chosen = DialogBoxParamA(instance, MAKEINTRESOURCE(1217), frame, &WindowListDlgProc, 0);
      if (chosen) SendMessageA(MDIClientWindow, WM_MDIACTIVATE, static_cast<WPARAM>(chosen), 0);
      return 1;
    }
    default:
      if (id >= kFirstWindowListId && id < kWindowListMoreId) {
        if (HWND w = GetDlgItem(MDIClientWindow, static_cast<int>(id) - 2455))
          SendMessageA(MDIClientWindow, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(w), 0);
        return 1;
      }
      Forward(wParam, lParam);
      return 0;
  }
}
