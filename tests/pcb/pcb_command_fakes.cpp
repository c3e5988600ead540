#include "tests/pcb/pcb_command_fakes.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/pcb_window_seams.h"
#include "edit/window_data.h"
#include "objects/console_seams.h"
#include "objects/graphic_records.h"
#include "platform/reset_hooks.h"
#include "store/tower.h"

namespace pcbfakes {

std::vector<std::string>& Calls() {
  static std::vector<std::string> calls;
  return calls;
}
std::vector<std::string>& Log() {
  static std::vector<std::string> log;
  return log;
}
bool Called(const std::string& call) {
  for (const std::string& c : Calls())
    if (c == call) return true;
  return false;
}
Answers& Answer() {
  static Answers answers;
  return answers;
}
SeenSetup& SeenBoardSetup() {
  static SeenSetup seen;
  return seen;
}
std::uint32_t& EnterTextLimit() {
  static std::uint32_t limit = 0;
  return limit;
}
std::string& EnterTextInitial() {
  static std::string initial;
  return initial;
}

void Reset() {
  Calls().clear();
  Log().clear();
  Answer() = Answers{};
  SeenBoardSetup() = SeenSetup{};
  EnterTextLimit() = 0;
  EnterTextInitial().clear();
}
const bool gRegistered = pl3::RegisterGlobalReset(&Reset);

void Record(const std::string& call) { Calls().push_back(call); }

}  // namespace pcbfakes

using pcbfakes::Record;

// ---- The features the handler reaches -------------------------------------------

void ImportNetCommand(std::uint32_t index) { Record("import net " + std::to_string(index)); }
void RunListedScript(std::uint32_t index) { Record("script " + std::to_string(index)); }
int OpenNetFile(HWND, const Tower*) {
  Record("open net file");
  return 1;
}
void GenerateNetlistFromCopper() { Record("generate netlist"); }
int InsertSymbolFromNetlist(HWND) {
  Record("insert symbol");
  return pcbfakes::Answer().insertSymbolChosen;
}
void MapSymbolDefinitions(HWND) { Record("map symbols"); }
int GetSymbolByDesignator(HWND, const Tower*, const char* designator) {
  Record(std::string("get symbol ") + designator);
  return 1;
}
void BeginPlaceMechanicalSymbol(HWND, const Tower*) { Record("place mechanical"); }
void WriteDesignatorList(const Tower*) { Record("designator list"); }
void ShowFindComponentDialog(HWND) { Record("find symbol"); }
void RatsNestConfig(HWND) { Record("rats nest config"); }
void SelectNetEditTool() { Record("net edit tool"); }
void BeginNetEdit(ButtonRecord*, int operation) { Record("net edit " + std::to_string(operation)); }
void DeleteNetlist() { Record("delete netlist"); }
void AutoThermalBreak(HWND, const Tower*) { Record("auto thermal"); }
void DeleteAutoThermalBreaks(const Tower*) { Record("delete thermal"); }
void RunAutocut() { Record("autocut"); }
void RemoveAutoCuts(const Tower*) { Record("remove cuts"); }
std::intptr_t ShowPlaneClearancesDialog(HWND) {
  Record("plane clearances");
  return pcbfakes::Answer().dialogResult;
}
void PerformFullDRC(HWND) { Record("drc"); }
void ConfigureDRC(HWND) { Record("configure drc"); }
std::intptr_t GetPCBInfoDlg(HWND, const Tower*, std::uint32_t kind) {
  Record("info " + std::to_string(kind));
  return 1;
}
std::intptr_t PCBDimensionsDlg(HWND, BoardSetupBlock* block) {
  Record("board setup dialog");
  pcbfakes::SeenSetup& seen = pcbfakes::SeenBoardSetup();
  seen.copperLayers = block->copperLayers;
  seen.board = block->board;
  seen.entries.assign(block->entries, block->entries + block->entryCount);
  const pcbfakes::Answers& a = pcbfakes::Answer();
  if (a.dialogResult != 1) return a.dialogResult;
  block->copperLayers = a.setupCopperLayers;
  block->board.thickness = 1.6;
  std::free(block->entries);
  block->entryCount = static_cast<std::uint32_t>(a.setupEntries.size());
  block->entries = static_cast<std::uint16_t*>(std::malloc(a.setupEntries.size() * 2 + 2));
  if (!a.setupEntries.empty()) std::memcpy(block->entries, a.setupEntries.data(), a.setupEntries.size() * 2);
  return 1;
}
void* GetLayerStackup(const Tower*) {
  Record("get stackup");
  return std::malloc(8);
}
void StoreLayerStackup(const Tower*, const void* stackup) { Record(stackup ? "store stackup" : "store no stackup"); }
void MakePCBWindowCurrent(CurrentWindowData* block) {
  Record("make current");
  ActiveWindowData = block;
}

// ---- Engine, view, menus and log ----------------------------------------------------

void CancelCurrentOperation(HWND, void* block) {
  Record("end op");
  if (!pcbfakes::Answer().keepEditMode) static_cast<CurrentWindowData*>(block)->EditMode = 0;
}
void RecordDesignChange() { Record("changed"); }
void SetEditCursor(std::uint32_t kind) { Record("cursor " + std::to_string(kind)); }
void SetSelectionAndOptionsMenus(std::uint32_t kind) { Record("menus " + std::to_string(kind)); }
void PutEntityOnDisplayList(void*, const Tower*) { Record("display put"); }
void* RemoveFromDisplayList(void* list, const Tower*) {
  Record("display remove");
  return list;
}
void GhostSelectionArray(HDC, const SelectionInfo*) { Record("ghost selection"); }

// The selection's common type and size, read from the records' items.
std::uint32_t GetSelectionType(const SelectionInfo* list) {
  std::uint32_t type = 65535;
  for (const SelectionInfo* r = list; r; r = r->next) {
    if (!(r->flags & kSelectionPrimary)) continue;
    const Tower* item = r->workingCopy ? r->workingCopy : r->original;
    const std::uint32_t code = TowerEntity(item)->typeCode;
    if (type == 65535)
      type = code;
    else if (type != code)
      return 0xFFFFFFFF;
  }
  return type;
}
int CountSelections(const SelectionInfo* list, int primaryOnly) {
  int n = 0;
  for (const SelectionInfo* r = list; r; r = r->next)
    if (!primaryOnly || (r->flags & kSelectionPrimary)) ++n;
  return n;
}

ConsoleLine* AddConsoleMessage(ConsolePane*, std::uint32_t kind, std::int32_t, std::int32_t, std::int32_t,
                               std::uint32_t flags, const char* format, ...) {
  char text[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  pcbfakes::Log().push_back(std::to_string(kind) + " " + std::to_string(flags) + ": " + text);
  return nullptr;
}

// ---- The two text dialogs ---------------------------------------------------------------

std::uint8_t EnterTextDialogResult = 0;
char* ShowEnterTextDlgEx(const char* title, const char* prompt, char* text, std::uint32_t maximumLength) {
  Record(std::string("enter text ") + title + " / " + prompt);
  pcbfakes::EnterTextLimit() = maximumLength;
  pcbfakes::EnterTextInitial() = text ? text : "";
  const std::string& answer = pcbfakes::Answer().enteredText;
  EnterTextDialogResult = answer.empty() ? 0 : 1;
  if (answer.empty()) return text;
  std::free(text);
  return strdup(answer.c_str());
}
int RunBodyHeightDialog(HWND, std::int32_t*) { return 0; }
std::intptr_t RunStringDialogEx(HWND, TextPayload* text) {
  Record("string dialog " + std::string(text->text));
  const std::string& answer = pcbfakes::Answer().editedString;
  if (answer.empty()) return 2;
  // The dialog writes at most the record's room.
  std::strncpy(text->text, answer.c_str(), kTextMaxBytes);
  return 1;
}

// The board saving commands, observed: the handler only routes them here.
int SavePCBWindow(HWND) {
  Record("save");
  return 1;
}
int SavePCBWindowAs(HWND) {
  Record("save as");
  return 1;
}
int SaveAllPCBWindows() {
  Record("save all");
  return 1;
}
