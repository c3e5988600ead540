// A small window program for the end-to-end check under a real display: it
// opens a window, paints a blue square on white, and paints a red square
// where the user clicks; a press captures the mouse and its release is
// reported wherever it happens. An edit control reports its text, byte by
// byte in hex, whenever it changes, and every key press is reported with its
// virtual key in hex. The release of a right click warps the pointer to
// client (30, 30) and half a second later reports how many mouse moves
// arrived there. File > Open shows the open dialog and reports the path
// chosen. "--quit-after MS" ends it on its own.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/controls.h"
#include "platform/gdi.h"
#include "platform/leak_suppressions.h"
#include "platform/menus.h"
#include "platform/responder.h"
#include "platform/user.h"

namespace {

POINT g_click{-1, -1};
bool g_countingWarp = false;
int g_warpMoves = 0;
constexpr UINT_PTR kQuitTimer = 1;
constexpr UINT_PTR kWarpTimer = 2;

void Paint(HWND hwnd) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  RECT rc;
  GetClientRect(hwnd, &rc);
  HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
  HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  FillRect(dc, &rc, white);
  RECT square{40, 40, 100, 100};
  FillRect(dc, &square, blue);
  if (g_click.x >= 0) {
    RECT mark{g_click.x - 10, g_click.y - 10, g_click.x + 10, g_click.y + 10};
    FillRect(dc, &mark, red);
  }
  DeleteObject(white);
  DeleteObject(blue);
  DeleteObject(red);
  EndPaint(hwnd, &ps);
}

// File > Open shows the open dialog (the real one on a display) and reports
// the chosen path, or "open cancelled".
void OpenFile(HWND owner) {
  char path[MAX_PATH] = {};
  OPENFILENAME ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = "Designs\0*.P3P;*.P3L\0All files\0*.*\0";
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = path;
  ofn.nMaxFile = sizeof path;
  ofn.lpstrDefExt = "p3p";
  if (GetOpenFileName(&ofn))
    std::printf("open %s\n", path);
  else
    std::printf("open cancelled\n");
  std::fflush(stdout);
}

LRESULT CALLBACK DemoProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: Paint(hwnd); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_LBUTTONDOWN:
      g_click = POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      std::printf("click %ld %ld\n", static_cast<long>(g_click.x), static_cast<long>(g_click.y));
      std::fflush(stdout);
      InvalidateRect(hwnd, nullptr, FALSE);
      SetCapture(hwnd);
      return 0;
    case WM_LBUTTONUP:
      if (GetCapture() == hwnd) {
        ReleaseCapture();
        std::printf("release %d %d\n", GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        std::fflush(stdout);
      }
      return 0;
    case WM_COMMAND:
      if (HIWORD(wParam) == EN_CHANGE) {
        char text[64];
        int n = GetWindowTextA(reinterpret_cast<HWND>(lParam), text, sizeof text);
        std::printf("edit");
        for (int i = 0; i < n; ++i) std::printf(" %02x", static_cast<unsigned char>(text[i]));
        std::printf("\n");
        std::fflush(stdout);
      } else if (HIWORD(wParam) == EN_SETFOCUS) {
        std::printf("edit focus\n");
        std::fflush(stdout);
      } else if (lParam == 0) {  // a menu command
        std::printf("command %u\n", static_cast<unsigned>(LOWORD(wParam)));
        std::fflush(stdout);
        if (LOWORD(wParam) == 101) OpenFile(hwnd);
      }
      return 0;
    case WM_RBUTTONUP: {
      POINT p{30, 30};
      ClientToScreen(hwnd, &p);
      g_countingWarp = true;
      g_warpMoves = 0;
      SetCursorPos(p.x, p.y);
      // Taken at once, as a warp that must not count as the user's move is;
      // nothing more may come for it later.
      MSG move;
      while (PeekMessageA(&move, hwnd, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE))
        if (GET_X_LPARAM(move.lParam) == 30 && GET_Y_LPARAM(move.lParam) == 30) g_warpMoves++;
      SetTimer(hwnd, kWarpTimer, 500, nullptr);
      return 0;
    }
    case WM_MOUSEMOVE:
      if (g_countingWarp && GET_X_LPARAM(lParam) == 30 && GET_Y_LPARAM(lParam) == 30) g_warpMoves++;
      return 0;
    case WM_TIMER:
      if (wParam == kWarpTimer) {
        KillTimer(hwnd, kWarpTimer);
        g_countingWarp = false;
        std::printf("warp moves %d\n", g_warpMoves);
        std::fflush(stdout);
        return 0;
      }
      DestroyWindow(hwnd);
      return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

}  // namespace

int main(int argc, char** argv) {
  unsigned quitAfter = 0;
  for (int i = 1; i + 1 < argc; ++i)
    if (std::strcmp(argv[i], "--quit-after") == 0) quitAfter = static_cast<unsigned>(std::atoi(argv[i + 1]));
  WNDCLASSA wc{};
  wc.lpfnWndProc = &DemoProc;
  wc.lpszClassName = "PL3_DEMO";
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  if (!RegisterClassA(&wc)) return 1;
  HMENU bar = CreateMenu();
  HMENU file = CreatePopupMenu();
  AppendMenuA(file, MF_STRING, 101, "&Open...\tCtrl+O");
  AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(file, MF_STRING, 102, "E&xit");
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
  HWND hwnd = CreateWindowExA(0, "PL3_DEMO", "Pelmora Demo", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 320, 240,
                              nullptr, bar, nullptr, nullptr);
  if (!hwnd) return 1;
  CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_BORDER, 120, 8, 180, 24, hwnd, reinterpret_cast<HMENU>(1),
                  nullptr, nullptr);
  std::printf("backend %s\n", pl3::ActiveBackendName());
  std::fflush(stdout);
  if (quitAfter) SetTimer(hwnd, kQuitTimer, quitAfter, nullptr);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == WM_KEYDOWN) {
      std::printf("key %02x\n", static_cast<unsigned>(msg.wParam));
      std::fflush(stdout);
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}
