// The message box drawn with our own dialog and controls: the text, word
// wrapped, over a row of the buttons the box type asks for. It needs nothing
// of the display server but a window, so a question is asked wherever the
// program's own windows show (a display without core fonts cannot show a
// server-drawn box, and its answer would silently be "changes nothing").
#include <algorithm>
#include <vector>

#include "platform/common_dialogs.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/gdi.h"
#include "platform/user.h"

namespace pl3 {

namespace {

constexpr int kMessageTextId = 0xFFFF;
constexpr int kMargin = 12;      // pixels round the text and under the buttons
constexpr int kButtonGap = 6;    // pixels between two buttons
constexpr int kMaxTextWidth = 420;
constexpr int kMinTextWidth = 160;

struct Choice {
  int id;
  const char* label;
};

std::vector<Choice> ChoicesOf(UINT type) {
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: return {{IDOK, "OK"}, {IDCANCEL, "Cancel"}};
    case MB_ABORTRETRYIGNORE: return {{IDABORT, "&Abort"}, {IDRETRY, "&Retry"}, {IDIGNORE, "&Ignore"}};
    case MB_YESNOCANCEL: return {{IDYES, "&Yes"}, {IDNO, "&No"}, {IDCANCEL, "Cancel"}};
    case MB_YESNO: return {{IDYES, "&Yes"}, {IDNO, "&No"}};
    case MB_RETRYCANCEL: return {{IDRETRY, "&Retry"}, {IDCANCEL, "Cancel"}};
    case MB_CANCELTRYCONTINUE: return {{IDCANCEL, "Cancel"}, {IDTRYAGAIN, "&Try Again"}, {IDCONTINUE, "&Continue"}};
    default: return {{IDOK, "OK"}};
  }
}

struct BoxState {
  const char* text;
  std::vector<Choice> choices;
  int defaultIndex;
};

bool HasChoice(const BoxState& box, int id) {
  return std::any_of(box.choices.begin(), box.choices.end(), [id](const Choice& c) { return c.id == id; });
}

// Escape and the close box: Cancel where the box has it, OK on a box with OK
// alone; a Yes/No or Abort/Retry/Ignore question must be answered.
int EscapeAnswer(const BoxState& box) {
  if (HasChoice(box, IDCANCEL)) return IDCANCEL;
  if (box.choices.size() == 1) return box.choices.front().id;
  return 0;
}

SIZE MeasureText(HWND dialog, const char* text) {
  RECT r{0, 0, kMaxTextWidth, 0};
  HDC dc = GetDC(dialog);
  HFONT font = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
  HFONT old = font ? SelectObject(dc, font) : nullptr;
  DrawTextA(dc, text, -1, &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
  if (old) SelectObject(dc, old);
  ReleaseDC(dialog, dc);
  return SIZE{std::max<LONG>(r.right - r.left, kMinTextWidth), std::max<LONG>(r.bottom - r.top, 1)};
}

// Sizes the box to its text, lays the buttons out centred under it and puts
// the box over the middle of its owner (or of the screen).
void LayOut(HWND dialog, const BoxState& box) {
  RECT unit{0, 0, 50, 14};
  MapDialogRect(dialog, &unit);
  const int buttonWidth = unit.right, buttonHeight = unit.bottom;
  const int count = static_cast<int>(box.choices.size());
  const SIZE text = MeasureText(dialog, box.text);
  const int row = count * buttonWidth + (count - 1) * kButtonGap;
  const int width = std::max<int>(text.cx, row) + 2 * kMargin;
  const int height = kMargin + text.cy + kMargin + buttonHeight + kMargin;
  MoveWindow(GetDlgItem(dialog, kMessageTextId), kMargin, kMargin, width - 2 * kMargin, text.cy, FALSE);
  int x = (width - row) / 2;
  for (const Choice& c : box.choices) {
    MoveWindow(GetDlgItem(dialog, c.id), x, height - kMargin - buttonHeight, buttonWidth, buttonHeight, FALSE);
    x += buttonWidth + kButtonGap;
  }
  RECT frame{0, 0, width, height};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrA(dialog, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrA(dialog, GWL_EXSTYLE)));
  RECT around{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (HWND owner = GetWindow(dialog, GW_OWNER)) GetWindowRect(owner, &around);
  const int w = frame.right - frame.left, h = frame.bottom - frame.top;
  SetWindowPos(dialog, nullptr, around.left + (around.right - around.left - w) / 2,
               around.top + (around.bottom - around.top - h) / 2, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK MessageBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* box = reinterpret_cast<BoxState*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG: {
      box = reinterpret_cast<BoxState*>(lParam);
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      LayOut(dialog, *box);
      const int def = box->choices[static_cast<std::size_t>(box->defaultIndex)].id;
      SendMessageA(dialog, DM_SETDEFID, static_cast<WPARAM>(def), 0);
      SetFocus(GetDlgItem(dialog, def));
      return FALSE;  // the focus is set
    }
    case WM_COMMAND: {
      if (!box || HIWORD(wParam) != BN_CLICKED) return FALSE;
      int id = LOWORD(wParam);
      if (id == IDCANCEL && !HasChoice(*box, IDCANCEL)) id = EscapeAnswer(*box);
      if (id && HasChoice(*box, id)) EndDialog(dialog, id);
      return TRUE;
    }
    case WM_CLOSE: {
      const int id = box ? EscapeAnswer(*box) : 0;
      if (id) EndDialog(dialog, id);
      return TRUE;
    }
    default:
      return FALSE;
  }
}

}  // namespace

int ShowMessageBoxDialog(HWND owner, const char* text, const char* caption, UINT type) {
  BoxState box{text ? text : "", ChoicesOf(type), 0};
  const int asked = static_cast<int>((type & MB_DEFMASK) >> 8);
  box.defaultIndex = asked < static_cast<int>(box.choices.size()) ? asked : 0;
  std::vector<DialogControl> controls;
  controls.push_back({"STATIC", kMessageTextId, box.text, 7, 7, 200, 8, SS_LEFT | SS_NOPREFIX});
  for (std::size_t i = 0; i < box.choices.size(); ++i) {
    const DWORD style = static_cast<int>(i) == box.defaultIndex ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    controls.push_back({"BUTTON", box.choices[i].id, box.choices[i].label, 7, 20, 50, 14, style | WS_TABSTOP});
  }
  // A box without a caption is captioned "Error".
  const DialogTemplate tpl{nullptr, 0, caption ? caption : "Error", 0, 0, 214, 40,
                           DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, controls};
  const INT_PTR result = DialogBoxIndirectParamA(nullptr, &tpl, owner && IsWindow(owner) ? owner : nullptr,
                                                 &MessageBoxProc, reinterpret_cast<LPARAM>(&box));
  // A box that could not be shown answers as one closed unanswered would.
  return result > 0 ? static_cast<int>(result) : UnansweredMessageBoxResult(type);
}

}  // namespace pl3
