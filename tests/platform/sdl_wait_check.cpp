// The message waits on a real display (the SDL backend on its "dummy"
// driver): WaitMessage and an open modal dialog sleep until a timer is due
// instead of spinning. Exit 0 passed, 1 failed, 77 skipped (no SDL backend).
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "platform/dialogs.h"
#include "platform/leak_suppressions.h"
#include "platform/user.h"

namespace {

double WallMs() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

double CpuMs() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  auto ms = [](const timeval& v) { return static_cast<double>(v.tv_sec) * 1e3 + static_cast<double>(v.tv_usec) / 1e3; };
  return ms(u.ru_utime) + ms(u.ru_stime);
}

int g_failures = 0;
void Check(bool ok, const char* what, double value) {
  std::printf("%s %s (%.1f)\n", ok ? "ok  " : "FAIL", what, value);
  if (!ok) ++g_failures;
}

INT_PTR CALLBACK TimedDialogProc(HWND dlg, UINT m, WPARAM w, LPARAM) {
  if (m == WM_INITDIALOG) {
    SetTimer(dlg, 1, 600, nullptr);
    return TRUE;
  }
  if (m == WM_TIMER && w == 1) {
    KillTimer(dlg, 1);
    EndDialog(dlg, 7);
    return TRUE;
  }
  return FALSE;
}

const DialogTemplate kTimedDialog{nullptr, 0, "Timed", 0, 0, 100, 40, WS_POPUP | WS_CAPTION | WS_VISIBLE, {}};

}  // namespace

int main() {
  setenv("PL3_BACKEND", "sdl", 1);
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  if (!pl3::StartWindowBackend()) {
    std::puts("skipped: the SDL backend does not start here");
    return 77;
  }
  HWND top = CreateWindowExA(0, "STATIC", "wait", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr,
                             nullptr, nullptr);
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);

  // WaitMessage returns once the timer is due, not at once.
  SetTimer(top, 5, 200, nullptr);
  double wall = WallMs();
  WaitMessage();
  wall = WallMs() - wall;
  Check(wall >= 150, "WaitMessage slept until the timer was due, ms", wall);
  Check(PeekMessageA(&m, top, WM_TIMER, WM_TIMER, PM_REMOVE) && m.wParam == 5, "the timer's message waits", 0);
  KillTimer(top, 5);

  // A modal dialog open for 600 ms with nothing to do hardly uses the CPU.
  double cpu = CpuMs();
  wall = WallMs();
  INT_PTR result = DialogBoxIndirectParamA(nullptr, &kTimedDialog, top, &TimedDialogProc, 0);
  wall = WallMs() - wall;
  cpu = CpuMs() - cpu;
  Check(result == 7, "the dialog ended by its timer", static_cast<double>(result));
  Check(wall >= 550, "the dialog stayed open, ms", wall);
  Check(cpu < wall / 3, "the open dialog's loop slept, CPU ms", cpu);
  DestroyWindow(top);
  return g_failures ? 1 : 0;
}
