// The headless backend (no display: windows live in their framebuffers only,
// time moves when a test moves it) and the choice of backend at start.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

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

constexpr char kHowToGetAWindow[] =
    "To get a window, start the program from a desktop session, set DISPLAY to a running X server\n"
    "(for example DISPLAY=:0), or run it on a virtual one: xvfb-run build/release/app/pl3\n";

struct Choice {
  const Ops* ops = nullptr;  // null when the backend asked for cannot start
  std::string error;         // then what the user is told
};

Choice Choose() {
  const char* env = std::getenv("PL3_BACKEND");
  if (env && *env && std::strcmp(env, "sdl") != 0 && std::strcmp(env, "headless") != 0)
    return {nullptr, std::string("pl3: PL3_BACKEND=\"") + env +
                         "\" is not a window backend. Set it to \"sdl\" for a window on the display or to "
                         "\"headless\" for none, or leave it unset to use the display when there is one.\n"};
  if (env && std::strcmp(env, "sdl") == 0) {
    if (const Ops* sdl = StartSdlBackend()) return {sdl, {}};
    return {nullptr, std::string("pl3: no display could be opened for the program's window (PL3_BACKEND=sdl).\n") +
                         kHowToGetAWindow + "To run without a window, set PL3_BACKEND=headless.\n"};
  }
  if (env && std::strcmp(env, "headless") == 0) return {&kHeadless, {}};
  const char* x = std::getenv("DISPLAY");
  const char* wl = std::getenv("WAYLAND_DISPLAY");
  if ((x && *x) || (wl && *wl)) {
    if (const Ops* sdl = StartSdlBackend()) return {sdl, {}};
    std::fprintf(stderr, "pl3: the display could not be opened, so the program runs without a window.\n%s",
                 kHowToGetAWindow);
  }
  return {&kHeadless, {}};
}

const Choice& Chosen() {
  static const Choice choice = Choose();
  return choice;
}

const HostServices* g_host = nullptr;

}  // namespace

const Ops& HeadlessOps() { return kHeadless; }

const Ops& Active() {
  const Choice& c = Chosen();
  if (!c.ops) {
    // A program that did not ask StartWindowBackend first cannot be told.
    std::fputs(c.error.c_str(), stderr);
    std::exit(2);
  }
  return *c.ops;
}

const HostServices* Host() {
  Active();  // the SDL backend installs its services as it starts
  return g_host;
}

void SetHostServices(const HostServices* host) { g_host = host; }

}  // namespace pl3::backend

const char* pl3::ActiveBackendName() { return backend::Active().name; }
bool pl3::HasRealDisplay() { return backend::Active().realDisplay; }
const char* pl3::StartWindowBackend() {
  const backend::Choice& c = backend::Chosen();
  return c.ops ? c.ops->name : nullptr;
}
const char* pl3::WindowBackendError() { return backend::Chosen().error.c_str(); }
