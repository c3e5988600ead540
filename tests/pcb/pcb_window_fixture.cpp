#include "tests/pcb/pcb_window_fixture.h"

#include "app/consoles.h"
#include "app/core_utilities.h"
#include "app/frame_menus.h"
#include "app/open_requests.h"
#include "app/settings_block.h"
#include "app/start_values.h"
#include "edit/window_data.h"
#include "geometry/types.h"
#include "objects/designators.h"
#include "objects/new_documents.h"
#include "objects/type_codes.h"
#include "pcb/new_pcb_dialog.h"
#include "pcb/pcb_window.h"
#include "pcb/pcb_window_seams.h"
#include "pcb/symbol_drop.h"
#include "platform/dialog_hooks.h"
#include "platform/mdi.h"
#include "platform/menus.h"
#include "platform/reset_hooks.h"
#include "store/container_store.h"
#include "store/document_filing.h"
#include "store/filing_seams.h"
#include "store/node_pool.h"
#include "store/tower.h"
#include "tests/support/test_paths.h"
#include "tests/support/test_windows.h"

namespace pcbtest {
namespace {
SeamLog gSeams;
void ResetSeams() {
  for (Tower*& t : gSeams.hits) ReleaseTower(&t);
  gSeams = SeamLog{};
}
const bool gRegistered = pl3::RegisterGlobalReset(&ResetSeams);
}  // namespace

SeamLog& Seams() { return gSeams; }

void PcbWindowTest::SetUp() {
  InitTowerStore();
  NetFS_Initialise();
  NetFS_SetRetryInterval(1);
  Settings = ReadSettings();
  const std::uint32_t board[6] = {256032000, 256032000, 1463040000, 1463040000, 4, 1};
  for (int k = 0; k < 6; ++k) NewBoardDefaults[k] = board[k];
  DefaultPCBLayers = 2;
  frame = MakeTestParentWindow("PcbTestFrame");
  ASSERT_NE(frame, nullptr);
  MoveWindow(frame, 0, 0, 800, 600, FALSE);
  ShowWindow(frame, SW_SHOW);
  FrameWindow = frame;
  CLIENTCREATESTRUCT ccs{nullptr, 2455};
  MDIClientWindow = CreateWindowExA(0, "mdiclient", nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 800, 600,
                                    frame, nullptr, nullptr, &ccs);
  ASSERT_NE(MDIClientWindow, nullptr);
  RegisterConsoleClass(nullptr);
  DiagramConsoleWindow =
      CreateWindowExA(0, "CONSOLECLASS", "", WS_CHILD, 0, 0, 300, 100, frame, nullptr, nullptr, nullptr);
  ASSERT_NE(RegisterPCBWindowClass(nullptr), 0);
  SetActiveWindow(frame);
  dir = pl3test::MakeTempDir("pcb");
}

void PcbWindowTest::TearDown() {
  pl3::ClearDialogHooks();
  pl3::ClearMenuHook();
  // Unchanged boards close unasked. (Restored first: the menu bar's records
  // of a maximised child's system menu are not freed by the bar's rebuilds.)
  if (HWND active = ActiveChild()) SendMessageA(MDIClientWindow, WM_MDIRESTORE, reinterpret_cast<WPARAM>(active), 0);
  while (HWND child = GetWindow(MDIClientWindow, GW_CHILD)) {
    if (CurrentWindowData* b = Block(child); b && b->design) DeleteChildEntities(b->design, kRecordModifiedNote);
    SendMessageA(MDIClientWindow, WM_MDIDESTROY, reinterpret_cast<WPARAM>(child), 0);
  }
  DestroyFrameMenus();
  DestroyWindow(DiagramConsoleWindow);
  DiagramConsoleWindow = nullptr;
  DestroyWindow(frame);
  UnregisterClassA("PCB_CHILD", nullptr);
  UnregisterClassA("CONSOLECLASS", nullptr);
  MDIClientWindow = nullptr;
  FrameWindow = nullptr;
  ShutdownFilingSystem();
  FreeSettings(Settings);
  Settings = nullptr;
}

HWND PcbWindowTest::NewBoard(const char* layers, const char* description, bool netEditing, bool cancel) {
  static std::string layerText, descriptionText;
  static bool tick = false, cancelIt = false;
  layerText = layers;
  descriptionText = description ? description : "";
  tick = netEditing;
  cancelIt = cancel;
  pl3::SetDialogHook(kNewPcbDialogId, [](HWND dialog) {
    pl3::TypeDialogText(dialog, kNewPcbLayersId, layerText.c_str());
    pl3::TypeDialogText(dialog, kNewPcbDescriptionId, descriptionText.c_str());
    pl3::SetDialogCheck(dialog, kNewPcbNetEditingId, tick);
    pl3::ClickDialogButton(dialog, cancelIt ? IDCANCEL : IDOK);
  });
  OpenRequestFlags = 0;
  return CreatePCBWindow(nullptr);
}

CurrentWindowData* PcbWindowTest::Block(HWND window) { return PCBWindowData(window); }

HWND PcbWindowTest::ActiveChild() {
  return reinterpret_cast<HWND>(SendMessageA(MDIClientWindow, WM_MDIGETACTIVE, 0, 0));
}

int PcbWindowTest::ChildCount() {
  int n = 0;
  for (HWND c = GetWindow(MDIClientWindow, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) ++n;
  return n;
}

}  // namespace pcbtest

// ---- The PCB window's seams, recorded --------------------------------------------------------

using pcbtest::Seams;

LRESULT DoPCBCommand(HWND window, WPARAM wParam, CurrentWindowData*) {
  Seams().commands.push_back(LOWORD(wParam));
  if (LOWORD(wParam) == 286) SavePCBWindow(window);
  if (LOWORD(wParam) == 334) SavePCBWindowAs(window);
  return 0;
}
void HighlightCopperAtCursor(HWND) { ++Seams().highlightCopper; }
void LoadDroppedSymbolDefinition(Tower* instance, const char*, const char*) {
  ++Seams().droppedOnInstance;
  Tower* group = OpenChildTower(instance, Type_Designator);
  const char* designator = group ? GetDesignatorText(group) : nullptr;
  Seams().droppedDesignator = designator ? designator : "";
  ReleaseTower(&group);
  ReleaseTower(&instance);
}
int BeginPlaceSymbolDefinition(HWND, const Tower*, Tower*) {
  ++Seams().placed;
  return 1;
}
int IsSymbolDefinitionComplete(const Tower*) { return Seams().definitionComplete; }
void DeleteUnusedSymbolDefinition(const Tower*, Tower*) { ++Seams().deletedDefinitions; }
int CollectHitsAtPoint(HWND, pl3::Point, Tower** hits, int capacity) {
  int n = 0;
  for (Tower* t : Seams().hits)
    if (n < capacity) hits[n++] = DuplicateTower(t);
  return static_cast<int>(Seams().hits.size());
}
