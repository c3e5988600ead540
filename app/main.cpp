// The program's entry point: start-up, the frame window and the message loop,
// then shutdown. The frame grows its menus, panes and editors as they arrive.
#include <cstdio>

#include "app/application_globals.h"
#include "app/core_utilities.h"
#include "platform/gdi.h"
#include "platform/user.h"

namespace {

constexpr char kFrameClass[] = "PCB_EDITOR";
constexpr char kFrameTitle[] = "Pelmora 3";

LRESULT CALLBACK FrameWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      RECT client;
      GetClientRect(hwnd, &client);
      FillRect(dc, &client, GetSysColorBrush(COLOR_APPWORKSPACE));
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_DESTROY:
      FrameWindow = nullptr;
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProc(hwnd, message, wParam, lParam);
  }
}

HWND CreateFrameWindow(HINSTANCE instance) {
  WNDCLASS wc{};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = &FrameWndProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = kFrameClass;
  if (!RegisterClass(&wc)) return nullptr;
  return CreateWindowEx(0, kFrameClass, kFrameTitle, WS_OVERLAPPEDWINDOW | WS_VISIBLE, CW_USEDEFAULT, 0,
                        CW_USEDEFAULT, 0, nullptr, nullptr, instance, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
  const char* backend = pl3::StartWindowBackend();
  InitApplicationGlobals();
  SetFrameDestroyer(&DestroyWindow);

  FrameWindow = CreateFrameWindow(nullptr);
  if (!FrameWindow) {
    std::fprintf(stderr, "pl3: the frame window could not be created\n");
    FreeApplicationGlobals();
    return 1;
  }
  std::printf("Pelmora 3 (%s)\n", backend);

  MSG msg;
  while (GetMessage(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessage(&msg);
  }
  FreeApplicationGlobals();
  return 0;
}
