// The headless backend (no display: windows live in their framebuffers only,
// time moves when a test moves it) and the choice of backend at start.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/backend.h"
#include "platform/user.h"

namespace pl3::backend {

namespace {

void Nothing(HWND) {}
bool NoEvents(int) { return false; }
void NoCursor(int) {}
void NoWarp(POINT) {}
void NoBeep() {}
std::uint64_t NoClock() { return 0; }

const Ops kHeadless{"headless", false, &Nothing, &Nothing, &Nothing, &Nothing, &NoEvents, &NoCursor, &NoWarp, &NoBeep, &NoClock};

const Ops& Choose() {
  const char* env = std::getenv("PL3_BACKEND");
  bool wantSdl = false;
  if (env && std::strcmp(env, "sdl") == 0) {
    wantSdl = true;
  } else if (env && std::strcmp(env, "headless") == 0) {
    wantSdl = false;
  } else {
    const char* x = std::getenv("DISPLAY");
    const char* wl = std::getenv("WAYLAND_DISPLAY");
    wantSdl = (x && *x) || (wl && *wl);
  }
  if (wantSdl) {
    if (const Ops* sdl = StartSdlBackend()) return *sdl;
    std::fprintf(stderr, "pl3: no display could be opened; running headless\n");
  }
  return kHeadless;
}

const HostServices* g_host = nullptr;

}  // namespace

const Ops& HeadlessOps() { return kHeadless; }

const Ops& Active() {
  static const Ops& ops = Choose();
  return ops;
}

const HostServices* Host() {
  Active();  // the SDL backend installs its services as it starts
  return g_host;
}

void SetHostServices(const HostServices* host) { g_host = host; }

}  // namespace pl3::backend

const char* pl3::ActiveBackendName() { return backend::Active().name; }
bool pl3::HasRealDisplay() { return backend::Active().realDisplay; }
const char* pl3::StartWindowBackend() { return backend::Active().name; }
