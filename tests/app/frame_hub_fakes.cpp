#include "tests/app/frame_hub_fakes.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "app/document_open.h"
#include "app/frame_command_hub.h"
#include "app/frame_hub_seams.h"
#include "app/frame_operation_seams.h"
#include "edit/selection.h"
#include "edit/window_data.h"
#include "platform/mdi.h"
#include "platform/reset_hooks.h"
#include "store/document_filing.h"
#include "store/document_titles.h"
#include "store/filing_seams.h"
#include "store/netfs_format.h"
#include "store/tower.h"

namespace hubfakes {

State& Recorded() {
  static State state;
  return state;
}
void Reset() { Recorded() = State{}; }
const bool g_reset = pl3::RegisterGlobalReset(&Reset);

}  // namespace hubfakes

using hubfakes::Recorded;

namespace {

void Call(const std::string& name) { Recorded().calls.push_back(name); }

// A document window as the editors make one: an MDI child that the design's
// window record names.
HWND MakeWindow(const char* name) {
  Call(name);
  Recorded().createFlags.push_back(OpenRequestFlags);
  if (Recorded().onCreate) Recorded().onCreate();
  Recorded().createTypes.push_back(PendingItemTower ? LastLevel(PendingItemTower).typeCode : 0);
  if (!Recorded().childClass || !MDIClientWindow) return nullptr;
  MDICREATESTRUCTA mcs{Recorded().childClass, "Document", nullptr, 0, 0, 200, 100, 0, 0};
  auto window = reinterpret_cast<HWND>(SendMessageA(MDIClientWindow, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
  if (window && PendingItemTower && (OpenRequestFlags & kOpenTakePendingItem)) {
    Tower* record = InsertEntity(PendingItemTower, sizeof window, kRecordDocumentWindow, &window);
    ReleaseTower(&record);
    Recorded().taken = PendingItemTower;
  }
  return window;
}

}  // namespace

HWND CreatePCBWindow(HINSTANCE) { return MakeWindow("CreatePCBWindow"); }
void PcbWindowAfterLoad(HWND, Tower*) { Call("PcbWindowAfterLoad"); }
void PrepareDesignConnectivity(Tower*) { Call("PrepareDesignConnectivity"); }
Tower* AskSchematicSetup(void*) {
  Call("AskSchematicSetup");
  return nullptr;
}
HWND CreatePcbSymbolWindow(HINSTANCE) { return MakeWindow("CreatePcbSymbolWindow"); }
HWND CreatePadStackWindow(HINSTANCE) { return MakeWindow("CreatePadStackWindow"); }
HWND CreateShapeWindow(HINSTANCE) { return MakeWindow("CreateShapeWindow"); }
HWND CreateSchematicSymbolWindow(HINSTANCE) { return MakeWindow("CreateSchematicSymbolWindow"); }
HWND CreatePackageWindow(HINSTANCE) { return MakeWindow("CreatePackageWindow"); }
void AddFileToWorkspace(const char*, const char*, const char*) { Call("AddFileToWorkspace"); }

StoreItemChoice* ChooseContainerItem(HWND, const char* containerPath, const char* types, std::uint32_t* again) {
  Call("ChooseContainerItem");
  Recorded().chooserContainers.push_back(containerPath ? containerPath : "");
  Recorded().chooserTypes.push_back(types ? types : "");
  if (again) *again = Recorded().chooserAgain;
  if (Recorded().chooserItem.empty()) return nullptr;
  auto* choice = new StoreItemChoice;
  choice->containerPath = containerPath;
  SplitNameAndType(Recorded().chooserItem, &choice->name, &choice->type);
  return choice;
}

UINT ShowImportPl2PcbDialog(HWND) {
  Call("ShowImportPl2PcbDialog");
  return Recorded().importCommand;
}
char* AskPl2PcbFile(HWND) {
  Call("AskPl2PcbFile");
  return nullptr;
}
void ImportPl2Pcb(const char* path, UINT command) {
  Recorded().imports.push_back(std::string(path) + "|" + std::to_string(command));
}

char* AskGlobalNetName(const char* caption, const char* prompt, std::uint32_t) {
  Call(std::string("AskGlobalNetName ") + caption + " | " + prompt);
  const std::string& answer = Recorded().globalNetAnswer;
  return answer.empty() ? nullptr : strdup(answer.c_str());
}
int AskGraphicNetName(HWND, const Tower*, char* name, std::uint32_t room, Tower** symbol) {
  Call("AskGraphicNetName");
  const std::string& answer = Recorded().graphicNetNameAnswer;
  if (answer.empty() || room == 0) return 0;
  std::snprintf(name, room, "%s", answer.c_str());
  *symbol = Recorded().graphicNetNameSymbol ? DuplicateTower(Recorded().graphicNetNameSymbol) : nullptr;
  return 1;
}

int PerformFrameCommandOperation(UINT id, HWND) {
  Recorded().operations.push_back(id);
  Recorded().dialogFlagSeen.push_back(EditorDialogOpenFlag);
  return Recorded().operationResult;
}

namespace {

std::uint16_t TypeOf(const SelectionInfo* s) {
  const Tower* item = s->workingCopy ? s->workingCopy : s->original;
  return item ? LastLevel(item).typeCode : 0;
}

}  // namespace

// Drops the centroids, datums, symbols, info boxes and pins of the list.
void DropUncopyableItems(HWND, SelectionInfo** list) {
  Call("DropUncopyableItems");
  for (SelectionInfo** link = list; *link;) {
    const std::uint16_t type = TypeOf(*link);
    if (type == 18 || type == 34 || type == 106 || type == 163 || type == 264 || type == 26)
      *link = (*link)->next;
    else
      link = &(*link)->next;
  }
}
int RevertSelectionArray(SelectionInfo*) {
  Call("RevertSelectionArray");
  return Recorded().revertResult;
}
SelectionInfo* CopySelectionInPlace(HWND) {
  Call("CopySelectionInPlace");
  if (ActiveWindowData)
    for (const SelectionInfo* s = ActiveWindowData->SelectionList; s; s = s->next)
      Recorded().copiedTypes.push_back(TypeOf(s));
  return Recorded().copyResult;
}
int GetDesignExtent(const Tower*, void*, int, pl3::Box*) { return 0; }
void HighlightNetAtCursor(HWND, int net) { Call(net ? "HighlightNetAtCursor" : "HighlightDestinationAtCursor"); }
void SetHighlightNetTool(HWND) { Call("SetHighlightNetTool"); }
void SetHighlightDestinationTool(HWND) { Call("SetHighlightDestinationTool"); }
void RotateCurrentItemSelection(HWND) { Call("RotateCurrentItemSelection"); }

// The selection engine's counts (its owner is not built yet).
std::uint32_t GetSelectionType(const SelectionInfo* list) { return list ? TypeOf(list) : 65535; }
int CountSelections(const SelectionInfo* list, int primaryOnly) {
  int n = 0;
  for (const SelectionInfo* s = list; s; s = s->next)
    if (!primaryOnly || (s->flags & kSelectionPrimary)) ++n;
  return n;
}
void GhostSelectionArray(HDC, const SelectionInfo*) {}
char* DescribeObject(const Tower*) { return nullptr; }

// The program's cancel, observed.
void CancelCurrentOperation(HWND, void* block) {
  Call("CancelCurrentOperation");
  if (auto* w = static_cast<CurrentWindowData*>(block)) w->EditMode = 0;
}
