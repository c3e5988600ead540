// The program's own definitions of the services in app/pending_services.h.
// Each refuses visibly: a beep and a failure result, never success.
#include "app/pending_services.h"

#include "platform/user.h"

namespace {
void Refuse() { MessageBeep(0); }
}  // namespace

void UpdateRubberBandGhost(HWND) {}
std::uint32_t PerformCommandOperation(const char*, HWND, void*, void*, std::uint32_t) {
  Refuse();
  return 0;
}
int CommandPrecondition(const char*, HWND, void*) {
  Refuse();
  return 0;
}
void AddWindowConsoleMessage(HWND, const char*, std::uint32_t) { Refuse(); }
void ZoomToLevel(HWND, void*, std::uint32_t, std::uint32_t) { Refuse(); }
int RunScriptFile(const char*) {
  Refuse();
  return 0;
}
