#include "tests/app/pending_fakes.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "app/pending_services.h"
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

void FillDefaultNamedColours(std::uint8_t* table) {
  for (int i = 0; i < 1924; ++i) table[i] = static_cast<std::uint8_t>(i * 7);
}

namespace {
void Note(const char* name) { Recorded().names.push_back(name); }

void ResetFakes() {
  Recorded() = Calls{};
  std::free(LayerColourMix);
  LayerColourMix = nullptr;
}
const bool registered = pl3::RegisterGlobalReset(&ResetFakes);

// The fake mix table: single-bit entries hold the colours, the rest 0.
std::uint32_t* NewMix(const std::uint32_t* colours) {
  auto* table = static_cast<std::uint32_t*>(std::calloc(65536, sizeof(std::uint32_t)));
  for (int k = 0; k < 16; ++k) table[1u << k] = colours[k];
  table[65535] = 0xFFFFFF;
  ++Recorded().liveMixTables;
  return table;
}
const std::uint32_t kDefaultLayerColours[16] = {0xFF0000, 0x0000FF, 0x00FF00, 0xFFFF00, 0xFF00FF, 0x00FFFF,
                                                0x7A5891, 0x58917A, 0xFF1393, 0x1413BC, 0x780016, 0xFFD4AA,
                                                0x09A364, 0xF101E1, 0xF1DDE1, 0xF8E2AA};
}  // namespace

}  // namespace pendingfakes

using pendingfakes::Note;
using pendingfakes::Recorded;

std::uint32_t* LayerColourMix = nullptr;
std::uint32_t* BuildDefaultLayerColourMix() {
  Note("BuildDefaultLayerColourMix");
  return pendingfakes::NewMix(pendingfakes::kDefaultLayerColours);
}
std::uint32_t* BuildLayerColourMix(const std::uint32_t* colours16) {
  Note("BuildLayerColourMix");
  return pendingfakes::NewMix(colours16);
}
void GetLayerColours(const std::uint32_t* table, std::uint32_t* colours16) {
  for (int k = 0; k < 16; ++k) colours16[k] = table[1u << k];
}
void FreeLayerColourMixTable() {
  if (LayerColourMix) --Recorded().liveMixTables;
  std::free(LayerColourMix);
  LayerColourMix = nullptr;
}
void SetDefaultNamedColours() {
  Note("SetDefaultNamedColours");
  pendingfakes::FillDefaultNamedColours(Recorded().namedColours);
}
int LoadNamedColours(const Tower* colourGroup) {
  Note("LoadNamedColours");
  ++Recorded().namedColourLoads;
  Tower* child = OpenChildTower(colourGroup, 20036);
  const Entity* e = TowerEntity(child);
  ReleaseTower(&child);
  Recorded().namedColoursFound = e && e->payloadSize >= 1924;
  if (!Recorded().namedColoursFound) return 0;
  std::memcpy(Recorded().namedColours, EntityPayload(e), 1924);
  return 1;
}
void SaveNamedColours(const Tower* colourGroup) {
  Tower* t = InsertEntity(colourGroup, 1924, 20036, Recorded().namedColours);
  ReleaseTower(&t);
}
void ReorderOldColourGroups() { Note("ReorderOldColourGroups"); }
void CreateHighlightColours() { Note("CreateHighlightColours"); }
void FreeHighlightColours() { Note("FreeHighlightColours"); }

void InitialiseWindowData(CurrentWindowData*) { Note("InitialiseWindowData"); }
void NewBoardDefaults() { Note("NewBoardDefaults"); }

void CreateGridList() { Note("CreateGridList"); }
void FreeGridList() { Note("FreeGridList"); }
int LoadGridList(const char* path) {
  Note("LoadGridList");
  Recorded().gridFiles.push_back(std::string("load ") + (path ? path : "<null>"));
  return Recorded().gridLoadResult;
}
int SaveGridList(const char* path) {
  Note("SaveGridList");
  Recorded().gridFiles.push_back(std::string("save ") + (path ? path : "<null>"));
  return 1;
}

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
