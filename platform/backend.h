// What the window layer asks of a backend: the headless one (framebuffers
// only, a test-driven clock) or the SDL2 one (a real window per top-level
// window). Internal to platform/.
#pragma once
#include <cstdint>
#include <string>

#include "platform/win_types.h"

namespace pl3::backend {

struct Ops {
  const char* name;
  bool realDisplay;
  // A top-level window was made, destroyed, or changed its visibility,
  // rectangle or title (the backend reads the window's record).
  void (*windowCreated)(HWND);
  void (*windowDestroyed)(HWND);
  void (*windowChanged)(HWND);
  // The window's framebuffer was drawn into.
  void (*present)(HWND);
  // Delivers pending input as pl3::Inject... calls; waits up to timeoutMs
  // (0: do not wait) when nothing is pending. True when anything came.
  bool (*pollEvents)(int timeoutMs);
  void (*cursorChanged)(int shape);  // an IDC_ value, 0 when hidden
  void (*warpCursor)(POINT screen);  // SetCursorPos moves the pointer
  void (*beep)();
  std::uint64_t (*now)();  // milliseconds, monotonic
};

// What only a desktop offers; the headless backend has none of it (its
// clipboard lives in the process, its pointer is wherever the tests put it).
struct HostServices {
  void (*grabPointer)(bool on);  // SetCapture: the pointer reports outside the window too
  bool (*hasClipboardText)();
  std::string (*clipboardText)();          // UTF-8
  void (*setClipboardText)(const char* utf8);
};

const Ops& Active();
// Null on the headless backend.
const HostServices* Host();
void SetHostServices(const HostServices* host);
const Ops& HeadlessOps();
// The SDL2 backend; null when it cannot start (no display).
const Ops* StartSdlBackend();

}  // namespace pl3::backend
