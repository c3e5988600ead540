// The program's entry point: start-up, the frame window and the message loop,
// then shutdown. The frame grows its menus, panes and editors as they arrive.
#include <cstdio>

#include "app/accelerator_edit.h"
#include "app/application_globals.h"
#include "app/builtin_commands.h"
#include "app/command_table.h"
#include "app/configuration_file.h"
#include "app/core_utilities.h"
#include "app/grid_control.h"
#include "app/settings_block.h"
#include "platform/gdi.h"
#include "platform/kernel_files.h"
#include "platform/leak_suppressions.h"
#include "platform/user.h"
#include "scripting/script_list.h"
#include "ui/column_sets.h"

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
    case WM_CREATE:
      FrameWindow = hwnd;
      InitialiseApplication();
      // The scripts become commands; the table then takes the user's keys
      // from "accelerators.txt" and rewrites it.
      BuildScriptList();
      RegisterCommands();
      return 0;
    case WM_DESTROY:
      SaveConfiguration("PL3.CFG");
      FreeAllColumnLayouts();
      FreeApplicationGlobals();
      FreeCommandTables();
      FreeScriptList();
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

// A user without the program's key, or without its "Directories", gets the
// machine-wide branch as installed.
void EnsureUserSettings() {
  HKEY key = nullptr;
  if (OpenProgramRegistryKey(HKEY_CURRENT_USER, "Directories", 0, KEY_READ, &key) == static_cast<LONG>(ERROR_SUCCESS)) {
    RegCloseKey(key);
    return;
  }
  HKEY user = nullptr;
  if (RegCreateKeyEx(HKEY_CURRENT_USER, "SOFTWARE\\Corvane", 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                     nullptr, &user, nullptr) != static_cast<LONG>(ERROR_SUCCESS))
    return;
  RegCopyTree(HKEY_LOCAL_MACHINE, "SOFTWARE\\Corvane", user);
  RegCloseKey(user);
}

}  // namespace

int main(int argc, char** argv) {
  pl3::SetProgramArguments(argc, argv);
  const char* backend = pl3::StartWindowBackend();
  if (!backend) {
    std::fputs(pl3::WindowBackendError(), stderr);
    return 2;
  }
  EnsureUserSettings();
  Settings = ReadSettings();
  ApplyCompressionSettings(Settings);
  ReadAutoBackupSettings();
  SetFrameDestroyer(&DestroyWindow);
  RegisterGridControl(nullptr);
  RegisterAcceleratorEditClass(nullptr);

  FrameWindow = CreateFrameWindow(nullptr);
  if (!FrameWindow) {
    std::fprintf(stderr, "pl3: the frame window could not be created\n");
    FreeSettings(Settings);
    Settings = nullptr;
    return 1;
  }
  // Ctrl+C and kill take the path of closing the frame.
  pl3::CloseWindowOnSignals(FrameWindow);
  std::printf("Pelmora 3 (%s)\n", backend);
  std::fflush(stdout);

  MSG msg;
  while (GetMessage(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessage(&msg);
  }
  // A loop that ran dry (the headless backend) leaves the frame standing;
  // its destruction still saves the configuration.
  if (FrameWindow) DestroyWindow(FrameWindow);
  SaveSettings(Settings);
  FreeSettings(Settings);
  Settings = nullptr;
  return 0;
}
