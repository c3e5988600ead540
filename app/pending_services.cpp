// The program's own definitions of the services in app/pending_services.h.
// Each refuses visibly: a beep and a failure result, never success.
#include "app/pending_services.h"

#include "platform/user.h"

namespace {
void Refuse() { MessageBeep(0); }
}  // namespace

std::uint32_t* LayerColourMix = nullptr;
std::uint32_t* BuildDefaultLayerColourMix() {
  Refuse();
  return nullptr;
}
std::uint32_t* BuildLayerColourMix(const std::uint32_t*) {
  Refuse();
  return nullptr;
}
void GetLayerColours(const std::uint32_t*, std::uint32_t* colours16) {
  Refuse();
  for (int i = 0; i < 16; ++i) colours16[i] = 0;
}
void FreeLayerColourMixTable() {}
void SetDefaultNamedColours() { Refuse(); }
int LoadNamedColours(const Tower*) {
  Refuse();
  return 0;
}
void SaveNamedColours(const Tower*) { Refuse(); }
void ReorderOldColourGroups() { Refuse(); }
void CreateHighlightColours() { Refuse(); }
void FreeHighlightColours() {}

void InitialiseWindowData(CurrentWindowData*) { Refuse(); }
void NewBoardDefaults() { Refuse(); }

void CreateGridList() { Refuse(); }
void FreeGridList() {}
int LoadGridList(const char*) {
  Refuse();
  return 0;
}
int SaveGridList(const char*) {
  Refuse();
  return 0;
}

void UpdateRubberBandGhost(HWND) {}
int ToggleLayerByKey(HWND, void*, std::uint32_t, void*) { return 0; }
std::uint32_t PerformCommandOperation(const char*, HWND, void*, void*, std::uint32_t) {
  Refuse();
  return 0;
}
void CancelCurrentOperation(HWND, void*) { Refuse(); }
void BeginInsertTool(const char*, std::uint32_t, HWND, void*, void*) { Refuse(); }
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
