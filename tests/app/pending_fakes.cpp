#include "tests/app/pending_fakes.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "app/pending_services.h"
#include "edit/layer_toggle.h"
#include "platform/menus.h"
#include "platform/reset_hooks.h"
#include "store/tower.h"

namespace pendingfakes {

Calls& Recorded() {
  static Calls calls;
  return calls;
}

int Calls::Count(const std::string& name) const {
  return static_cast<int>(std::count(names.begin(), names.end(), name));
}

namespace {

void ResetFakes() {
  Recorded() = Calls{};
}
const bool registered = pl3::RegisterGlobalReset(&ResetFakes);

}  // namespace

}  // namespace pendingfakes

using pendingfakes::Recorded;

void UpdateRubberBandGhost(HWND) { ++Recorded().ghostUpdates; }
int ToggleLayerByKey(HWND, void*, std::uint32_t virtualKey, void*) {
  Recorded().layerToggleKeys.push_back(virtualKey);
  return Recorded().layerToggleResult;
}
std::uint32_t PerformCommandOperation(const char* operation, HWND, void*, void*, std::uint32_t parameter) {
  Recorded().operations.push_back(operation);
  Recorded().operationParameters.push_back(parameter);
  return Recorded().operationResult;
}
void CancelCurrentOperation(HWND, void*) { Recorded().operations.push_back("CancelCurrentOperation"); }
void BeginInsertTool(const char* command, std::uint32_t flag, HWND, void*, void*) {
  Recorded().operations.push_back(std::string("tool ") + command + " " + std::to_string(flag));
}
int CommandPrecondition(const char* check, HWND, void*) {
  Recorded().checks.push_back(check);
  const auto& passing = Recorded().passingChecks;
  return std::find(passing.begin(), passing.end(), check) != passing.end() ? 1 : 0;
}
void AddWindowConsoleMessage(HWND, const char* text, std::uint32_t kind) {
  Recorded().consoleLines.push_back(std::to_string(kind) + ":" + text);
}
void ZoomToLevel(HWND, void*, std::uint32_t parameter, std::uint32_t) {
  Recorded().zoomParameters.push_back(parameter);
}
int RunScriptFile(const char* path) {
  Recorded().scriptsRun.push_back(path ? path : "<null>");
  return 1;
}

int ShowHoldMenu(HWND, int, int) {
  pendingfakes::Recorded().names.push_back("ShowHoldMenu");
  if (pendingfakes::Recorded().duringHoldMenu) pendingfakes::Recorded().duringHoldMenu();
  return pendingfakes::Recorded().holdMenuResult;
}
