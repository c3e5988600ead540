#include "app/accelerator_edit.h"

#include <cstdlib>
#include <cstring>

#include "app/command_table.h"
#include "platform/commctrl.h"
#include "platform/frame_drawing.h"
#include "platform/gdi.h"
#include "platform/reset_hooks.h"
#include "platform/user.h"

ATOM AcceleratorEditClass = 0;

namespace {

struct AcceleratorEditState {
  RECT client;           // inside the sunken edge
  std::uint32_t shiftHeld;
  std::uint32_t ctrlHeld;
  std::uint32_t latched; // a combination was captured and a modifier is still held
  char* keyText;
  KeySequence* sequence;
};

AcceleratorEditState* StateOf(HWND hwnd) {
  return reinterpret_cast<AcceleratorEditState*>(GetWindowLongPtr(hwnd, GWLP_USERDATA));
}

void DropCapture(AcceleratorEditState* state) {
  std::free(state->keyText);
  state->keyText = nullptr;
  if (state->sequence) std::free(state->sequence->codes);
  std::free(state->sequence);
  state->sequence = nullptr;
}

void Capture(HWND hwnd, AcceleratorEditState* state, WPARAM key) {
  DropCapture(state);
  auto* sequence = static_cast<KeySequence*>(std::calloc(1, sizeof(KeySequence)));
  sequence->codes = static_cast<std::uint16_t*>(std::calloc(3, sizeof(std::uint16_t)));
  if (state->ctrlHeld) sequence->codes[sequence->count++] = 17;
  if (state->shiftHeld) sequence->codes[sequence->count++] = 16;
  sequence->codes[sequence->count++] = static_cast<std::uint16_t>(key);
  state->sequence = sequence;
  state->keyText = FormatKeySequence(*sequence);
  state->latched = 1;
  NMHDR header{hwnd, static_cast<UINT_PTR>(GetDlgCtrlID(hwnd)), kAccelEditCaptured};
  SendMessage(GetParent(hwnd), WM_NOTIFY, static_cast<WPARAM>(header.idFrom), reinterpret_cast<LPARAM>(&header));
}

void Paint(HWND hwnd, AcceleratorEditState* state) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  int x = state->client.left + 1;
  const int y = state->client.top + 1;
  auto draw = [&](const char* text) {
    const int n = static_cast<int>(std::strlen(text));
    TextOut(dc, x, y, text, n);
    SIZE extent{};
    GetTextExtentPoint32(dc, text, n, &extent);
    x += extent.cx;
  };
  if (state->keyText) {
    draw(state->keyText);
  } else {
    if (state->ctrlHeld) draw("Ctrl+");
    if (state->shiftHeld) draw("Shift+");
  }
  SetCaretPos(x + 1, y);
  SelectObject(dc, oldFont);
  EndPaint(hwnd, &ps);
}

void ResetClass() { AcceleratorEditClass = 0; }
const bool registered = pl3::RegisterGlobalReset(&ResetClass);

}  // namespace

LRESULT AcceleratorEditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  AcceleratorEditState* state = StateOf(hwnd);
  if (!state && message != WM_CREATE) return DefWindowProc(hwnd, message, wParam, lParam);
  switch (message) {
    case WM_CREATE: {
      state = static_cast<AcceleratorEditState*>(std::calloc(1, sizeof(AcceleratorEditState)));
      GetClientRect(hwnd, &state->client);
      SetWindowLongPtr(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
      return 0;
    }
    case WM_DESTROY:
      DropCapture(state);
      std::free(state);
      SetWindowLongPtr(hwnd, GWLP_USERDATA, 0);
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTALLKEYS;
    case WM_LBUTTONDOWN:
      SetFocus(hwnd);
      return 0;
    case WM_SETFOCUS:
      CreateCaret(hwnd, nullptr, 1, state->client.bottom - state->client.top - 2);
      SetCaretPos(state->client.left + 1, state->client.top + 1);
      ShowCaret(hwnd);
      return 0;
    case WM_KILLFOCUS:
      DestroyCaret();
      return 0;
    case WM_KEYDOWN:
      if (wParam == 16) state->shiftHeld = 1;
      if (wParam == 17) state->ctrlHeld = 1;
      if (!state->latched) DropCapture(state);
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_KEYUP:
      if (wParam == 16) state->shiftHeld = 0;
      else if (wParam == 17) state->ctrlHeld = 0;
      else Capture(hwnd, state, wParam);
      if (!state->shiftHeld && !state->ctrlHeld) state->latched = 0;
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_CHAR:
      return 0;
    case WM_ERASEBKGND: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      RECT rc;
      GetClientRect(hwnd, &rc);
      // The classic sunken field; `rc` becomes the area inside it.
      DrawEdge(dc, &rc, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
      FillRect(dc, &rc, GetSysColorBrush(COLOR_WINDOW));
      state->client = rc;
      return 1;
    }
    case WM_PAINT:
      Paint(hwnd, state);
      return 0;
    case kAccelEditClear:
      DropCapture(state);
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case kAccelEditGetKeys: {
      auto* out = reinterpret_cast<KeySequence*>(lParam);
      if (!state->sequence || !out) return 0;
      out->count = state->sequence->count;
      out->codes = static_cast<std::uint16_t*>(std::malloc(sizeof(std::uint16_t) * out->count));
      std::memcpy(out->codes, state->sequence->codes, sizeof(std::uint16_t) * out->count);
      return 1;
    }
    default:
      return DefWindowProc(hwnd, message, wParam, lParam);
  }
}

ATOM RegisterAcceleratorEditClass(HINSTANCE instance) {
  WNDCLASS wc{};
  wc.style = CS_BYTEALIGNCLIENT;
  wc.lpfnWndProc = &AcceleratorEditProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_IBEAM);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(9));
  wc.lpszClassName = "ACCELERATOREDIT";
  AcceleratorEditClass = RegisterClass(&wc);
  return AcceleratorEditClass;
}
