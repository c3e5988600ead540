#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/open_requests.h"
#include "app/start_values.h"
#include "edit/mouse_road.h"
#include "edit/window_data.h"
#include "objects/layer_table.h"
#include "objects/datums.h"
#include "objects/graphic_records.h"
#include "objects/type_codes.h"
#include "pcb/new_pcb_dialog.h"
#include "pcb/pcb_window.h"
#include "pcb/symbol_drop.h"
#include "platform/dialog_hooks.h"
#include "platform/mdi.h"
#include "platform/menus.h"
#include "platform/responder.h"
#include "platform/user.h"
#include "store/document_filing.h"
#include "store/node_pool.h"
#include "store/filing_seams.h"
#include "store/tower.h"
#include "tests/pcb/pcb_window_fixture.h"

namespace {

using pcbtest::PcbWindowTest;
using pcbtest::Seams;

HWND StoredWindowRecord(const Tower* design) {
  HWND window = nullptr;
  if (const void* p = GetEntityData(design, kRecordDocumentWindow)) std::memcpy(&window, p, sizeof window);
  return window;
}

int CountOfCode(const Tower* design, std::uint16_t code) {
  Tower* t = GetChildTower(design, code);
  int n = 0;
  while (t && FindNextEntity(t)) ++n;
  ReleaseTower(&t);
  return n;
}

bool Maximised(HWND window) {
  WINDOWPLACEMENT p{};
  p.length = sizeof p;
  return GetWindowPlacement(window, &p) && p.showCmd == SW_SHOWMAXIMIZED;
}

// ---- New PCB dialog -----------------------------------------------------------------------

TEST_F(PcbWindowTest, TheNewPcbDialogTakesACountFrom1To32AndBeepsAtAnythingElse) {
  struct Case {
    const char* text;
    bool accepted;
  };
  const Case cases[] = {{"", false},  {"abc", false}, {"0", false},  {"33", false}, {"-2", false},
                        {"4x", false}, {"1", true},    {"32", true},  {"06", true}};
  for (const Case& c : cases) {
    static std::string text;
    static int beepsWhileOpen = 0;
    text = c.text;
    pl3::SetDialogHook(kNewPcbDialogId, [](HWND dialog) {
      pl3::TypeDialogText(dialog, kNewPcbLayersId, text.c_str());
      const int before = pl3::BeepCount();
      pl3::ClickDialogButton(dialog, IDOK);
      beepsWhileOpen = pl3::BeepCount() - before;
      // A refused count leaves the dialog open: Cancel ends it.
      if (beepsWhileOpen) pl3::ClickDialogButton(dialog, IDCANCEL);
    });
    NewPcbSettings* s = AskNewPcbSettings(frame);
    if (c.accepted) {
      ASSERT_NE(s, nullptr) << c.text;
      EXPECT_EQ(s->layerCount, static_cast<std::uint32_t>(std::atoi(c.text))) << c.text;
      EXPECT_EQ(beepsWhileOpen, 0) << c.text;
    } else {
      EXPECT_EQ(s, nullptr) << c.text;
      EXPECT_EQ(beepsWhileOpen, 1) << "the dialog stays open after one beep: " << c.text;
    }
    FreeNewObjectInfo(s);
  }
}

TEST_F(PcbWindowTest, TheNewPcbDialogStartsFromTheDefaultAndKeepsDescriptionAndTick) {
  DefaultPCBLayers = 6;
  static std::string shown;
  pl3::SetDialogHook(kNewPcbDialogId, [](HWND dialog) {
    char text[16] = {};
    GetDlgItemTextA(dialog, kNewPcbLayersId, text, sizeof text);
    shown = text;
    pl3::TypeDialogText(dialog, kNewPcbDescriptionId, "Amplifier");
    pl3::SetDialogCheck(dialog, kNewPcbNetEditingId, true);
    pl3::ClickDialogButton(dialog, IDOK);
  });
  NewPcbSettings* s = AskNewPcbSettings(frame);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(shown, "6");
  EXPECT_EQ(s->layerCount, 6u);
  ASSERT_NE(s->description, nullptr);
  EXPECT_STREQ(s->description, "Amplifier");
  EXPECT_EQ(s->allowNetEditing, 1u);
  FreeNewObjectInfo(s);

  // An empty description gives none.
  pl3::SetDialogHook(kNewPcbDialogId, [](HWND dialog) { pl3::ClickDialogButton(dialog, IDOK); });
  s = AskNewPcbSettings(frame);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->description, nullptr);
  EXPECT_EQ(s->allowNetEditing, 0u);
  FreeNewObjectInfo(s);
}

// ---- Creation ------------------------------------------------------------------------------

TEST_F(PcbWindowTest, CancellingNewPcbMakesNoWindow) {
  EXPECT_EQ(NewBoard("4", nullptr, false, true), nullptr);
  EXPECT_EQ(ChildCount(), 0);
}

TEST_F(PcbWindowTest, ANewBoardHasItsWindowRecordMasterDatumAndTheEnteredOptions) {
  HWND window = NewBoard("6", "Amp", true);
  ASSERT_NE(window, nullptr);
  CurrentWindowData* b = Block(window);
  ASSERT_NE(b, nullptr);
  ASSERT_NE(b->design, nullptr);
  EXPECT_EQ(ActiveWindowData, b);
  EXPECT_EQ(StoredWindowRecord(b->design), window);
  EXPECT_EQ(CountOfCode(b->design, kRecordDocumentWindow), 1);
  const DatumPayload* master = FindDatumByName(b->design, "MASTER");
  ASSERT_NE(master, nullptr);
  EXPECT_EQ(master->x, 256032000);
  EXPECT_EQ(master->y, 402336000);
  EXPECT_EQ(b->NetEditingEnabled, 1u);
  EXPECT_EQ(b->CopperLayerCount, 6u);
  EXPECT_EQ(DefaultPCBLayers, 6u) << "creation keeps the count as the next default";
  EXPECT_EQ(DocumentText(b->design, Type_Description), "Amp");
  EXPECT_NE(b->Display, nullptr);
  EXPECT_TRUE(Maximised(window)) << "the first document window is maximised";
  EXPECT_EQ(b->RoutingLayer, Layer_Top) << "a new board draws its tracks on its top copper layer";
}

TEST_F(PcbWindowTest, ABoardOpenedOverAMaximisedOneIsMaximisedAndARestoredOneIsNot) {
  HWND first = NewBoard();
  ASSERT_TRUE(Maximised(first));
  HWND second = NewBoard();
  ASSERT_NE(second, nullptr);
  EXPECT_TRUE(Maximised(second));
  EXPECT_EQ(ActiveChild(), second);
  SendMessageA(MDIClientWindow, WM_MDIRESTORE, reinterpret_cast<WPARAM>(second), 0);
  ASSERT_FALSE(Maximised(second));
  HWND third = NewBoard();
  ASSERT_NE(third, nullptr);
  EXPECT_FALSE(Maximised(third));
}

TEST_F(PcbWindowTest, WithoutABlockCreationFailsAndThePreviousBoardStaysActive) {
  HWND first = NewBoard();
  ASSERT_NE(first, nullptr);
  CurrentWindowData* before = ActiveWindowData;
  OpenRequestFlags = kOpenTakePendingItem;  // but no pending item
  PendingItemTower = nullptr;
  EXPECT_EQ(CreatePCBWindow(nullptr), nullptr);
  OpenRequestFlags = 0;
  EXPECT_EQ(ChildCount(), 1);
  EXPECT_EQ(ActiveChild(), first);
  EXPECT_EQ(ActiveWindowData, before);
}

TEST_F(PcbWindowTest, UnreferencedEarlierGenerationDefinitionsGoAtCreation) {
  HWND window = NewBoard();
  CurrentWindowData* b = Block(window);
  Tower* kept = InsertEmptyEntity(b->design, 162);
  Tower* dropped = InsertEmptyEntity(b->design, 162);
  Tower* symbol = InsertEmptyEntity(b->design, 163);
  const NodeRef keptRef = NodeRefOf(TowerEntity(kept));
  Tower* link = InsertEntity(symbol, sizeof keptRef, 164, &keptRef);
  // A 163 whose link names nothing that exists keeps nothing alive.
  Tower* dangling = InsertEmptyEntity(b->design, 163);
  EXPECT_EQ(DeleteUnusedPl2Definitions(b->design), 1);
  EXPECT_EQ(CountOfCode(b->design, 162), 1);
  Tower* left = GetChildTower(b->design, 162);
  ASSERT_NE(FindNextEntity(left), nullptr);
  EXPECT_EQ(NodeRefOf(TowerEntity(left)), keptRef);
  EXPECT_EQ(DeleteUnusedPl2Definitions(b->design), 0);
  for (Tower** t : {&kept, &dropped, &symbol, &link, &dangling, &left}) ReleaseTower(t);
}

// ---- The window procedure ---------------------------------------------------------------

TEST_F(PcbWindowTest, AClickIntoAnUnfocusedBoardIsEatenAndAPressBehindTheMarkerIgnored) {
  HWND window = NewBoard();
  SetFocus(frame);
  EXPECT_EQ(SendMessageA(window, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(frame), MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)),
            MA_ACTIVATEANDEAT);
  EXPECT_EQ(GetFocus(), window) << "WM_USER+8 took the focus";
  // Focused: no eating.
  EXPECT_NE(SendMessageA(window, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(frame), MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)),
            MA_ACTIVATEANDEAT);

  pl3::PumpMessages();
  ButtonDownFlag = 0;
  PostMessageA(window, kPcbActivationMarker, 0, 0);
  SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  EXPECT_EQ(ButtonDownFlag, 0) << "a press while the marker waits is ignored";
  pl3::PumpMessages();
  SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  EXPECT_EQ(ButtonDownFlag, 1);
  SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  EXPECT_EQ(ButtonDownFlag, 0);
}

TEST_F(PcbWindowTest, F10IsTheWindowsOwnAndCtrlTabHighlightsCopper) {
  HWND window = NewBoard();
  EXPECT_EQ(SendMessageA(window, WM_SYSKEYDOWN, VK_F10, 0), 0);
  EXPECT_EQ(SendMessageA(window, WM_SYSKEYUP, VK_F10, 0), 0);
  EXPECT_EQ(SendMessageA(window, WM_SYSCOMMAND, SC_NEXTWINDOW, VK_TAB), 0);
  EXPECT_EQ(Seams().highlightCopper, 1);
  HWND second = NewBoard();
  ASSERT_EQ(ActiveChild(), second);
  SendMessageA(MDIClientWindow, WM_MDIRESTORE, reinterpret_cast<WPARAM>(second), 0);
  // A switch without a key is a real window switch.
  SendMessageA(second, WM_SYSCOMMAND, SC_NEXTWINDOW, 0);
  EXPECT_EQ(Seams().highlightCopper, 1);
  EXPECT_EQ(ActiveChild(), window);
}

TEST_F(PcbWindowTest, MenuCommandsReachTheCommandHandler) {
  HWND window = NewBoard();
  SendMessageA(window, WM_COMMAND, 2515, 0);
  ASSERT_FALSE(Seams().commands.empty());
  EXPECT_EQ(Seams().commands.back(), 2515u);
}

TEST_F(PcbWindowTest, OverAnInactiveBoardTheCursorSaysNoWhileAToolRuns) {
  HWND inactive = NewBoard();
  HWND active = NewBoard();
  SendMessageA(MDIClientWindow, WM_MDIRESTORE, reinterpret_cast<WPARAM>(active), 0);
  ASSERT_EQ(ActiveChild(), active);
  SetActiveWindow(frame);
  SetFocus(active);
  Block(active)->EditMode = 5;
  SendMessageA(inactive, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(pl3::CurrentCursorShape(), static_cast<int>(reinterpret_cast<std::uintptr_t>(IDC_NO)));
  Block(active)->EditMode = 0;
  SendMessageA(inactive, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(pl3::CurrentCursorShape(), static_cast<int>(reinterpret_cast<std::uintptr_t>(IDC_ARROW)));
}

TEST_F(PcbWindowTest, ClosingAnInactiveBoardLeavesTheActiveBlockAndItsTemporaryEntityAlone) {
  HWND inactive = NewBoard();
  HWND active = NewBoard();
  CurrentWindowData* b = Block(active);
  Tower* temporary = InsertEmptyEntity(b->design, 1);
  b->TemporaryEntity = temporary;
  ASSERT_EQ(ActiveWindowData, b);
  SendMessageA(inactive, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(inactive));
  EXPECT_EQ(ActiveWindowData, b);
  EXPECT_EQ(b->TemporaryEntity, temporary);
  ASSERT_NE(TowerEntity(temporary), nullptr);
  EXPECT_EQ(TowerEntity(temporary)->typeCode, 1);
  // Closing the active one points the current block at the empty block.
  SendMessageA(active, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(active));
  ASSERT_NE(ActiveWindowData, nullptr);
  EXPECT_EQ(ActiveWindowData->design, nullptr);
}

// ---- Symbol drop ---------------------------------------------------------------------------

TEST_F(PcbWindowTest, TheDropPointIsPixelPlusOriginTimesZoomRounded) {
  CurrentWindowData b;
  b.ViewOriginX = 100;
  b.ViewOriginY = -20;
  b.Zoom = 3;
  const pl3::Point p = DropPointToWorld(b, 7, 5);
  EXPECT_EQ(p.x, 321);
  EXPECT_EQ(p.y, -45);
}

TEST_F(PcbWindowTest, ADropOfAnythingButAPcbSymbolOnlyBeeps) {
  HWND window = NewBoard();
  const PcbSymbolDrop drop{"R1?schematicsymbol", "x.p3p", 10, 10};
  const int beeps = pl3::BeepCount();
  EXPECT_EQ(SendMessageA(window, kPcbSymbolDropMessage, reinterpret_cast<WPARAM>(&drop), 0), 0);
  EXPECT_EQ(pl3::BeepCount(), beeps + 1);
  EXPECT_EQ(Seams().placed, 0);
  EXPECT_EQ(Seams().droppedOnInstance, 0);
}

TEST_F(PcbWindowTest, ADropOnOverlappingSymbolsAsksByDesignator) {
  HWND window = NewBoard();
  CurrentWindowData* b = Block(window);
  // Hits: a track, R1, R2 (menu ids 11 and 12).
  Tower* track = InsertEmptyEntity(b->design, 1);
  Seams().hits.push_back(track);
  for (const char* name : {"R1", "R2"}) {
    Tower* instance = InsertEmptyEntity(b->design, Type_SymbolInstance);
    Tower* designator = InsertEmptyEntity(instance, Type_Designator);
    Tower* text = InsertEntity(designator, static_cast<std::uint32_t>(std::strlen(name) + 1), Type_DesignatorString, name);
    ReleaseTower(&text);
    ReleaseTower(&designator);
    Seams().hits.push_back(instance);
  }
  static std::vector<std::string> offered;
  offered.clear();
  pl3::SetMenuHook([](HMENU menu, HWND owner) {
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
      char text[32] = {};
      GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
      offered.push_back(std::to_string(GetMenuItemID(menu, i)) + " " + text);
    }
    RECT r{};
    ASSERT_TRUE(GetMenuItemRect(owner, menu, 1, &r));
    const POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    pl3::InjectMouseMove(p);
    pl3::InjectMouseButton(pl3::MouseButton::Left, true, p);
    pl3::InjectMouseButton(pl3::MouseButton::Left, false, p);
  });
  const PcbSymbolDrop drop{"Lib\\R0805?pcbsymbol", "lib.p3l", 10, 10};
  SendMessageA(window, kPcbSymbolDropMessage, reinterpret_cast<WPARAM>(&drop), 0);
  EXPECT_EQ(offered, (std::vector<std::string>{"11 R1", "12 R2"}));
  EXPECT_EQ(Seams().droppedOnInstance, 1);
  EXPECT_EQ(Seams().droppedDesignator, "R2");
  EXPECT_EQ(Seams().placed, 0);
}

}  // namespace
