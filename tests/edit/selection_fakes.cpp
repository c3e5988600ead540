#include "tests/edit/selection_fakes.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "edit/selection.h"
#include "edit/selection_services.h"
#include "edit/window_data.h"
#include "objects/console_seams.h"
#include "platform/reset_hooks.h"
#include "store/tower.h"

namespace selectionfakes {
std::vector<std::string> log;
std::vector<std::string> console;
int holeOnPad = 0;
int sizeChoice = -1;
int colourChoice = -1;
namespace {
void Reset() {
  log.clear();
  console.clear();
  holeOnPad = 0;
  sizeChoice = -1;
  colourChoice = -1;
}
const bool gRegistered = pl3::RegisterGlobalReset(&Reset);
std::string TypeText(const Tower* t) {
  const Entity* e = TowerEntity(t);
  return e ? std::to_string(e->typeCode) : "none";
}
}  // namespace
}  // namespace selectionfakes

using selectionfakes::log;


Tower* BuildInstanceGhost(const Tower* instance, const SelectionInfo*) {
  log.push_back("ghost copy " + selectionfakes::TypeText(instance));
  return nullptr;
}
void FreeInstanceGhost(Tower** ghost) { ReleaseTower(ghost); }
void GhostInstanceSelection(HDC, const SelectionInfo* record, pl3::Point at) {
  log.push_back("instance ghost " + selectionfakes::TypeText(record->workingCopy) + " at " + std::to_string(at.x) +
                "," + std::to_string(at.y));
}
int IsHoleOnPad(const Tower*) { return selectionfakes::holeOnPad; }
int IsManualPlacementState() { return 0; }
void AutoPackageSymbols() { log.push_back("packaged"); }

ConsoleLine* AddConsoleMessage(ConsolePane*, std::uint32_t, std::int32_t, std::int32_t, std::int32_t, std::uint32_t,
                               const char* format, ...) {
  char text[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  selectionfakes::console.push_back(text);
  return nullptr;
}

int ChooseSelectionSize(HWND, std::uint32_t kind, std::uint32_t* index) {
  log.push_back("choose size " + std::to_string(kind) + " from " + std::to_string(*index));
  if (selectionfakes::sizeChoice < 0) return 0;
  *index = static_cast<std::uint32_t>(selectionfakes::sizeChoice);
  return 1;
}
int ChooseSelectionColour(HWND, std::uint32_t* index) {
  log.push_back("choose colour from " + std::to_string(*index));
  if (selectionfakes::colourChoice < 0) return 0;
  *index = static_cast<std::uint32_t>(selectionfakes::colourChoice);
  return 1;
}
