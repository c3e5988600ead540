// Ctrl+C and kill end the program as closing its window does. The handler may
// only touch an atomic flag; the message loop looks at the flag each time it
// looks for messages and posts WM_CLOSE to the window named here.
#include <signal.h>

#include <atomic>

#include "platform/reset_hooks.h"
#include "platform/user_internal.h"

namespace pl3 {

namespace {

volatile sig_atomic_t gCloseRequested = 0;
std::atomic<HWND> gCloseTarget{nullptr};

constexpr int kCloseSignals[] = {SIGINT, SIGTERM};

extern "C" void OnCloseSignal(int) { gCloseRequested = 1; }

void SetHandlers(void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;  // file calls in progress carry on
  for (int signal : kCloseSignals) sigaction(signal, &action, nullptr);
}

void ResetCloseSignals() { CloseWindowOnSignals(nullptr); }

const bool gResetRegistered = RegisterGlobalReset(&ResetCloseSignals);

}  // namespace

void CloseWindowOnSignals(HWND window) {
  gCloseRequested = 0;
  gCloseTarget = window;
  SetHandlers(window ? &OnCloseSignal : SIG_DFL);
}

namespace user {

void DeliverCloseSignal() {
  if (!gCloseRequested) return;
  gCloseRequested = 0;
  HWND target = gCloseTarget;
  if (target && IsWindow(target)) PostMessage(target, WM_CLOSE, 0, 0);
}

}  // namespace user

}  // namespace pl3
