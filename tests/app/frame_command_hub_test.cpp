#include "app/frame_command_hub.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/core_utilities.h"
#include "app/frame_menus.h"
#include "app/frame_window.h"
#include "draw/display_list.h"
#include "edit/undo_history.h"
#include "edit/window_data.h"
#include "objects/attribute_locators.h"
#include "objects/attribute_services.h"
#include "objects/entity_record.h"
#include "objects/graphic_records.h"
#include "objects/type_codes.h"
#include "platform/dialog_hooks.h"
#include "platform/mdi.h"
#include "platform/menus.h"
#include "platform/responder.h"
#include "store/filing_seams.h"
#include "store/node_pool.h"
#include "store/tower.h"
#include "tests/app/frame_hub_fakes.h"
#include "tests/app/frame_hub_test_windows.h"

using hubfakes::Recorded;
using hubtest::HubWindows;

namespace {

constexpr LPARAM kParam = 0x1234;

// ---- Forwarding ----------------------------------------------------------------------------

TEST_F(HubWindows, ForwardOnlyAndUnknownIdsReachTheChildUnchanged) {
  HWND child = AddChild();
  // Every id of the frame's menus that the hub only forwards, by menu; Save All
  // and 4014; and one id no menu knows.
  const UINT ids[] = {
      // File
      236, 286, 334, 336, 338, 446, 2265, 2370, 2371, 2372, 2536, 2547, 2601, 2641, 2678,
      // PCB editor
      221, 228, 242, 441, 445, 452, 453, 454, 2010, 2012, 2013, 2018, 2019, 2020, 2022, 2284, 2286, 2293,
      2384, 2385, 2390, 2403, 2413, 2437, 2444, 2511, 2512, 2513, 2514, 2515, 2516, 2569, 2614, 2616, 2683,
      2684, 2687, 2688,
      // PCB symbol editor
      200, 206, 214, 232, 235, 516, 2009, 2011, 2047, 2262, 2340, 2492, 2504,
      // Shape editor
      207, 2008, 2393,
      // Pad stack editor
      216, 222, 239, 243, 244, 245, 246, 2007, 2045, 2046, 2373,
      // Schematic editor
      432, 2274, 2289, 2290, 2325, 2331, 2339, 2341, 2342, 2343, 2344, 2345, 2357, 2358, 2366, 2377, 2389,
      2395, 2448, 2493, 2503, 2537, 2542, 2575, 2576, 4002, 4003,
      // Schematic symbol library editor
      468, 470, 2026, 2310, 2311, 2312, 2315, 2316, 2317, 2318, 2320, 2321, 2328, 2335, 2338, 2347, 2409,
      2449, 2508, 2509,
      // Package editor
      2364, 2367, 2416, 2495, 2496, 2497, 2568,
      // Contour view
      2692, 2694,
      // Options menus of the edit modes
      241, 434, 2309, 2322, 2355, 2361, 4007,
      // Elsewhere, and unknown.
      4004, 4014, 60000};
  for (UINT id : ids) {
    hubtest::Forwarded().clear();
    EXPECT_EQ(DoFrameCommand(frame, MAKEWPARAM(id, 1), kParam, nullptr), 0) << id;
    ASSERT_EQ(hubtest::Forwarded().size(), 1u) << id;
    EXPECT_EQ(hubtest::Forwarded()[0].window, child) << id;
    EXPECT_EQ(hubtest::Forwarded()[0].wParam, MAKEWPARAM(id, 1)) << id;
    EXPECT_EQ(hubtest::Forwarded()[0].lParam, kParam) << id;
  }
  EXPECT_TRUE(Recorded().operations.empty()) << "a forward-only id runs no operation";
  EXPECT_TRUE(Recorded().calls.empty());
  EXPECT_EQ(block->EditMode, 0);
}

TEST_F(HubWindows, TileAndCascadeNeverReachTheChild) {
  AddChild();
  for (UINT id : {287u, 2365u, 288u}) {
    EXPECT_EQ(DoFrameCommand(frame, id, 0, nullptr), 0) << id;
    EXPECT_TRUE(hubtest::Forwarded().empty()) << id;
  }
}

TEST_F(HubWindows, WithoutAChildToolsInsertionsAndLocatorsDoNothing) {
  static int prompts = 0;
  prompts = 0;
  pl3::SetDialogHook("EnterTextDlg", [](HWND dialog) {
    ++prompts;
    pl3::ClickDialogButton(dialog, IDCANCEL);
  });
  const std::uint8_t type = block->InsertType;
  for (UINT id : {251u, 256u, 265u, 457u, 2263u, 2299u, 2349u, 2350u, 2398u, 2275u, 2304u, 2392u}) {
    EXPECT_EQ(DoFrameCommand(frame, id, 0, nullptr), 0) << id;
  }
  EXPECT_EQ(prompts, 0);
  EXPECT_TRUE(Recorded().calls.empty());
  EXPECT_TRUE(Recorded().operations.empty());
  EXPECT_EQ(block->InsertType, type);
  EXPECT_EQ(block->EditMode, 0);
  EXPECT_TRUE(pl3::ResponderRecords().empty());
}

TEST_F(HubWindows, ToolsCancelArmAndForward) {
  HWND child = AddChild();
  block->EditMode = 39;
  EXPECT_EQ(DoFrameCommand(frame, 2578, 0, nullptr), 0);
  EXPECT_EQ(block->InsertType, 41);
  EXPECT_EQ(block->EditMode, 83) << "a line tool starts its entry mode";
  EXPECT_EQ(block->CursorKind, 6u);
  ASSERT_FALSE(Recorded().calls.empty());
  EXPECT_EQ(Recorded().calls[0], "CancelCurrentOperation");
  ASSERT_EQ(hubtest::Forwarded().size(), 1u);
  EXPECT_EQ(hubtest::Forwarded()[0].window, child);
}

// ---- Window commands -----------------------------------------------------------------------

TEST_F(HubWindows, WindowNActivatesTheChildOfThatControlIdOnly) {
  HWND first = AddChild();
  HWND second = AddChild();
  ASSERT_EQ(ActiveChild(), second);
  DoFrameCommand(frame, 2557, 0, nullptr);  // Window 3: there is none
  EXPECT_EQ(ActiveChild(), second);
  DoFrameCommand(frame, 2555, 0, nullptr);  // Window 1: control id 100
  EXPECT_EQ(ActiveChild(), first);
  EXPECT_EQ(GetWindowLongPtrA(first, GWLP_ID), 100);
}

TEST_F(HubWindows, CloseAllStopsAtADeclinedCloseAndKeepsTheMenus) {
  AddChild();
  HWND stubborn = AddChild();
  hubtest::RefuseCloseOf(stubborn);
  HMENU bar = CreateMenu();
  SetMenu(frame, bar);
  EXPECT_EQ(DoFrameCommand(frame, 291, 0, nullptr), 0);
  EXPECT_TRUE(IsWindow(stubborn));
  EXPECT_EQ(GetMenu(frame), bar) << "the menus stay as they were";
  hubtest::RefuseCloseOf(nullptr);
  EXPECT_EQ(DoFrameCommand(frame, 291, 0, nullptr), 1);
  EXPECT_EQ(GetWindow(MDIClientWindow, GW_CHILD), nullptr);
  EXPECT_NE(GetMenu(frame), bar) << "the menus without a document";
}

// ---- Copy selection ------------------------------------------------------------------------

struct CopyRefusal {
  std::vector<std::uint16_t> types;  // the selection, first primary
  std::uint32_t editor;
  const char* message;
};

TEST_F(HubWindows, CopyRefusesWhatCannotBeCopiedAndNeverForwards) {
  const CopyRefusal cases[] = {
      {{Type_Centroid}, kEditorPcbSymbol, "Can't copy centroids."},
      {{Type_Track, Type_Datum}, kEditorPcb, "Can't copy datums."},
      {{Type_Datum, Type_Track, Type_Text}, kEditorPcb, "Can't copy datums."},
      {{Type_Attribute}, kEditorSchematic, "Can't copy symbol attributes in schematic editor."},
      {{163}, kEditorPcb, "Can't copy symbols."},
  };
  AddChild();
  for (const CopyRefusal& c : cases) {
    block->editorKind = c.editor;
    Select(c.types);
    SelectionInfo* before = block->SelectionList;
    pl3::ClearResponderRecords();
    hubtest::Forwarded().clear();
    EXPECT_EQ(DoFrameCommand(frame, 429, 0, nullptr), 0);
    ASSERT_EQ(pl3::ResponderRecords().size(), 1u) << c.message;
    EXPECT_EQ(pl3::ResponderRecords()[0].text, c.message);
    EXPECT_EQ(pl3::ResponderRecords()[0].caption, "Copy Selection");
    EXPECT_EQ(block->SelectionList, before) << c.message;
    EXPECT_TRUE(hubtest::Forwarded().empty()) << c.message;
    EXPECT_TRUE(Recorded().calls.empty()) << c.message;
  }
}

TEST_F(HubWindows, CopyOfACentroidAndATrackAsksAndCopiesTheTrackAlone) {
  AddChild();
  block->editorKind = kEditorPcbSymbol;
  Select({Type_Track, Type_Centroid});
  SelectionInfo* before = block->SelectionList;
  pl3::PushButtonAnswer(IDCANCEL);
  EXPECT_EQ(DoFrameCommand(frame, 429, 0, nullptr), 0);
  ASSERT_EQ(pl3::ResponderRecords().size(), 1u);
  EXPECT_EQ(pl3::ResponderRecords()[0].text, "Can't copy centroids. Drop centroids and continue?");
  EXPECT_EQ(block->SelectionList, before);
  EXPECT_TRUE(Recorded().calls.empty()) << "Cancel changes nothing";

  SelectionInfo copies{};
  Recorded().copyResult = &copies;
  pl3::PushButtonAnswer(IDOK);
  EXPECT_EQ(DoFrameCommand(frame, 429, 0, nullptr), 0);
  EXPECT_EQ(Recorded().calls,
            (std::vector<std::string>{"DropUncopyableItems", "RevertSelectionArray", "CopySelectionInPlace"}));
  EXPECT_EQ(Recorded().copiedTypes, std::vector<std::uint16_t>{Type_Track});
  EXPECT_EQ(block->SelectionList, &copies) << "the copies follow the cursor";
  EXPECT_TRUE(hubtest::Forwarded().empty());
  block->SelectionList = nullptr;
}

TEST_F(HubWindows, CopyOfNothingLeftCancels) {
  AddChild();
  Select({Type_Centroid, Type_Centroid});
  pl3::PushButtonAnswer(IDOK);
  DoFrameCommand(frame, 429, 0, nullptr);
  EXPECT_EQ(Recorded().calls, (std::vector<std::string>{"DropUncopyableItems", "CancelCurrentOperation"}));
}

// ---- Modes ---------------------------------------------------------------------------------

struct ViewModeCase {
  std::uint8_t mode;
  UINT id;
  std::uint8_t expected;
  std::uint32_t cursor;  // 0: unchanged
};

TEST_F(HubWindows, ZoomUnzoomAndPanChangeTheModeOnlyFromIdleOrAnotherViewMode) {
  HWND child = AddChild();
  const ViewModeCase cases[] = {
      {0, 260, 35, 15}, {0, 261, 36, 16}, {0, 262, 37, 12}, {35, 261, 36, 16}, {37, 260, 35, 15},
      {35, 260, 35, 0}, {1, 260, 1, 0},   {39, 262, 39, 0},
  };
  for (const ViewModeCase& c : cases) {
    block->EditMode = c.mode;
    block->CursorKind = 99;
    hubtest::Forwarded().clear();
    EXPECT_EQ(DoFrameCommand(frame, c.id, 0, nullptr), 0);
    EXPECT_EQ(block->EditMode, c.expected) << int(c.mode) << " " << c.id;
    EXPECT_EQ(block->CursorKind, c.cursor ? c.cursor : 99u) << int(c.mode) << " " << c.id;
    ASSERT_EQ(hubtest::Forwarded().size(), 1u);
    EXPECT_EQ(hubtest::Forwarded()[0].window, child);
  }
  EXPECT_TRUE(Recorded().calls.empty()) << "the view modes cancel nothing";
}

TEST_F(HubWindows, InsertCentroidRefusesASecondCentroid) {
  AddChild();
  block->editorKind = kEditorPcbSymbol;
  Tower* centroid = InsertEntity(design, 4, Type_Centroid, "\0\0\0");
  ReleaseTower(&centroid);
  block->InsertType = 1;
  DoFrameCommand(frame, 2263, 0, nullptr);
  ASSERT_EQ(pl3::ResponderRecords().size(), 1u);
  EXPECT_EQ(pl3::ResponderRecords()[0].text, "A centroid has already been placed for this symbol.");
  EXPECT_EQ(pl3::ResponderRecords()[0].caption, "Insert Centroid");
  EXPECT_EQ(block->EditMode, 0);
  EXPECT_EQ(block->InsertType, 1) << "the centroid tool is not selected";
}

TEST_F(HubWindows, AttributeLocatorsAskForTheNameFirst) {
  AddChild();
  static const char* answer = nullptr;
  pl3::SetDialogHook("EnterTextDlg", [](HWND dialog) {
    char caption[64] = {}, prompt[64] = {};
    GetWindowTextA(dialog, caption, sizeof caption);
    GetDlgItemTextA(dialog, 53, prompt, sizeof prompt);
    EXPECT_STREQ(caption, "Insert Attribute Locator");
    EXPECT_STREQ(prompt, "Enter attribute name");
    if (!answer) {
      pl3::ClickDialogButton(dialog, IDCANCEL);
      return;
    }
    pl3::TypeDialogText(dialog, 72, answer);
    pl3::ClickDialogButton(dialog, IDOK);
  });
  Select({Type_SymbolInstance});
  answer = nullptr;
  DoFrameCommand(frame, 2350, 0, nullptr);
  EXPECT_EQ(Recorded().calls, (std::vector<std::string>{"CancelCurrentOperation", "CancelCurrentOperation"}))
      << "Cancel starts nothing and ends the operation";
  EXPECT_EQ(block->PendingRecord, nullptr);

  Recorded().calls.clear();
  answer = "PARTNO";
  DoFrameCommand(frame, 2349, 0, nullptr);
  EXPECT_STREQ(PendingLocatorName, "PARTNO");
  EXPECT_EQ(block->EditMode, 71) << "the locator follows the cursor";
  ASSERT_NE(block->PendingRecord, nullptr);
  EXPECT_EQ(block->PendingRecord->as<LocatorPayload>().kind, 14);
  EXPECT_EQ(hubtest::Forwarded().size(), 2u) << "both commands are forwarded";
  delete block->PendingRecord;
  block->PendingRecord = nullptr;
  pl3::ClearDialogHooks();
}

TEST_F(HubWindows, UndoAndRedoReplayAStepAndGiveTheCursorBack) {
  AddChild();
  HCURSOR arrow = LoadCursor(nullptr, IDC_ARROW);
  SetCursor(arrow);
  DoFrameCommand(frame, 2271, 0, nullptr);
  EXPECT_EQ(CountUndoStepEntries(0), 0u) << "an empty history: nothing to undo";
  EXPECT_EQ(CountUndoStepEntries(1), 0u);

  auto record = NewEntityRecord();
  InitialiseEntityRecord(record.get(), Type_Track, &pl3::kIdentityTransform, 1);
  block->UndoStep = 0;
  Tower* stored = InsertEntityWithUndo(record.get(), design);
  ASSERT_NE(stored, nullptr);
  ReleaseTower(&stored);
  ASSERT_EQ(CountUndoStepEntries(0), 1u);

  DoFrameCommand(frame, 2271, 0, nullptr);
  EXPECT_EQ(CountUndoStepEntries(0), 0u);
  EXPECT_EQ(CountUndoStepEntries(1), 1u);
  EXPECT_EQ(GetCursor(), arrow) << "the hourglass goes again";
  DoFrameCommand(frame, 2273, 0, nullptr);
  EXPECT_EQ(CountUndoStepEntries(0), 1u);
  EXPECT_EQ(CountUndoStepEntries(1), 0u);
  EXPECT_EQ(GetCursor(), arrow);
  EXPECT_EQ(hubtest::Forwarded().size(), 3u);
}

TEST_F(HubWindows, GlobalNetLocatorTakesTheNameFromThePrompt) {
  AddChild();
  DoFrameCommand(frame, 2398, 0, nullptr);
  EXPECT_EQ(block->PendingRecord, nullptr) << "cancelled: no locator";
  ASSERT_FALSE(Recorded().calls.empty());
  EXPECT_EQ(Recorded().calls.back(), "AskGlobalNetName Insert Global Net Locator | Enter net or click 'All'");

  Recorded().globalNetAnswer = "VCC";
  DoFrameCommand(frame, 2398, 0, nullptr);
  EXPECT_STREQ(PendingLocatorName, "VCC");
  ASSERT_NE(block->PendingRecord, nullptr);
  EXPECT_EQ(block->PendingRecord->as<LocatorPayload>().kind, 17);
  EXPECT_EQ(hubtest::Forwarded().size(), 2u) << "forwarded either way";
  delete block->PendingRecord;
  block->PendingRecord = nullptr;
}

TEST_F(HubWindows, GraphicalNetNameStoresItsNameUnderAFreshAttributeId) {
  AddChild();
  LastLevel(design).typeCode = Type_Schematic;
  block->editorKind = kEditorSchematic;
  DoFrameCommand(frame, 2332, 0, nullptr);
  EXPECT_EQ(block->PendingRecord, nullptr) << "a cancelled dialog starts nothing";
  EXPECT_EQ(hubtest::Forwarded().size(), 1u);

  Recorded().graphicNetNameAnswer = "CLK";
  DoFrameCommand(frame, 2332, 0, nullptr);
  ASSERT_NE(block->PendingRecord, nullptr);
  const auto& locator = block->PendingRecord->as<LocatorPayload>();
  EXPECT_EQ(locator.kind, 13);
  ASSERT_NE(locator.attributeId, 0u);
  Tower* attribute = FindAttributeById(design, locator.attributeId);
  ASSERT_NE(attribute, nullptr) << "the attribute holding the name is under the design";
  EXPECT_EQ(GetAttributeValue(design, 13), std::string("CLK"));
  ReleaseTower(&attribute);

  // A second locator gets an id of its own.
  const std::uint32_t first = locator.attributeId;
  delete block->PendingRecord;
  block->PendingRecord = nullptr;
  DoFrameCommand(frame, 2332, 0, nullptr);
  ASSERT_NE(block->PendingRecord, nullptr);
  EXPECT_NE(block->PendingRecord->as<LocatorPayload>().attributeId, first);
  delete block->PendingRecord;
  block->PendingRecord = nullptr;
  LastLevel(design).typeCode = Type_PCB;
}

TEST_F(HubWindows, FreehandRotationWithAGrabbedEndBeepsAndEndsTheRotation) {
  AddChild();
  block->EditMode = 39;
  Select({Type_Arc});
  block->SelectionList->grabbedPart = 1;
  const int beeps = pl3::BeepCount();
  DoFrameCommand(frame, 2041, 0, nullptr);
  EXPECT_EQ(pl3::BeepCount(), beeps + 1);
  std::vector<UINT> reached;
  for (const auto& f : hubtest::Forwarded()) reached.push_back(LOWORD(f.wParam));
  EXPECT_EQ(reached, std::vector<UINT>{2041}) << "455 is not forwarded; 2041 is";
}

TEST_F(HubWindows, FreehandRotationOfAnEarlierGenerationSymbolIsRefused) {
  AddChild();
  block->EditMode = 39;
  Select({163});
  pl3::ClearResponderRecords();
  DoFrameCommand(frame, 2041, 0, nullptr);
  ASSERT_EQ(pl3::ResponderRecords().size(), 1u);
  EXPECT_EQ(pl3::ResponderRecords()[0].text, "PL2 symbols may only be rotated by multiples of 90 degrees");
  EXPECT_EQ(pl3::ResponderRecords()[0].caption, "Freehand Rotate");
}

TEST_F(HubWindows, OriginModesStartOnlyWhenIdle) {
  AddChild();
  block->editorKind = kEditorPcbSymbol;
  block->Cursor = {1000000, -2800000};
  block->CursorKind = 9;
  DoFrameCommand(frame, 2368, 0, nullptr);  // Symbol Origin
  EXPECT_EQ(block->EditMode, 85);
  EXPECT_EQ(block->Cursor.x, 1828800) << "the nearest twentieth of an inch";
  EXPECT_EQ(block->Cursor.y, -3657600);
  block->EditMode = 39;
  DoFrameCommand(frame, 259, 0, nullptr);  // Set Origin while editing: nothing
  EXPECT_EQ(block->EditMode, 39);
  block->EditMode = 0;
  DoFrameCommand(frame, 259, 0, nullptr);
  EXPECT_EQ(block->EditMode, 34);
  EXPECT_EQ(block->CursorKind, 0u);
  EXPECT_TRUE(Recorded().calls.empty()) << "no cancel";
  EXPECT_EQ(hubtest::Forwarded().size(), 3u);
}

TEST_F(HubWindows, SettingsFlipAndTickTheirMenuItems) {
  AddChild();
  HMENU bar = CreateMenu();
  AppendMenuA(bar, MF_STRING, 341, "Auto Name Pads");
  SetMenu(frame, bar);
  DoFrameCommand(frame, 341, 0, nullptr);
  EXPECT_EQ(AutoNamePads, 1);
  EXPECT_EQ(GetMenuState(bar, 341, MF_BYCOMMAND) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
  DoFrameCommand(frame, 341, 0, nullptr);
  EXPECT_EQ(AutoNamePads, 0);
  EXPECT_EQ(GetMenuState(bar, 341, MF_BYCOMMAND) & MF_CHECKED, 0u);
}

struct MenuStateCase {
  UINT id;
  UINT other;  // the other item of the pair, unticked
  std::int64_t (*setting)(const CurrentWindowData&);
  std::int64_t expected;
};

TEST_F(HubWindows, FrameMenuStatesSetTheirSettingAndTheTicks) {
  const MenuStateCase cases[] = {
      {2036, 2034, [](const CurrentWindowData& w) { return std::int64_t(w.ChevronDisplay); }, 0},
      {2034, 2036, [](const CurrentWindowData& w) { return std::int64_t(w.ChevronDisplay); }, 1},
      {2408, 2407, [](const CurrentWindowData&) { return std::int64_t(RubberbandMode); }, 0},
      {2407, 2408, [](const CurrentWindowData&) { return std::int64_t(RubberbandMode); }, 1},
      {2376, 2375, [](const CurrentWindowData&) { return std::int64_t(IOPortUpdateMode); }, 0},
      {2435, 2436, [](const CurrentWindowData&) { return std::int64_t(AnnotationMode); }, 1},
      {2429, 2428, [](const CurrentWindowData& w) { return std::int64_t(w.HoleMarkers); }, 0},
      {2428, 2429, [](const CurrentWindowData& w) { return std::int64_t(w.HoleMarkers); }, 1},
  };
  HWND child = AddChild();
  HMENU bar = CreateMenu();
  for (UINT id : {2034u, 2036u, 2407u, 2408u, 2375u, 2376u, 2435u, 2436u, 2428u, 2429u})
    AppendMenuA(bar, MF_STRING, id, "item");
  SetMenu(frame, bar);
  for (const MenuStateCase& c : cases) {
    hubtest::Forwarded().clear();
    DoFrameCommand(frame, c.id, 0, nullptr);
    EXPECT_EQ(c.setting(*block), c.expected) << c.id;
    EXPECT_EQ(GetMenuState(bar, c.id, MF_BYCOMMAND) & MF_CHECKED, static_cast<UINT>(MF_CHECKED)) << c.id;
    EXPECT_EQ(GetMenuState(bar, c.other, MF_BYCOMMAND) & MF_CHECKED, 0u) << c.id;
    ASSERT_EQ(hubtest::Forwarded().size(), 1u) << c.id;
    EXPECT_EQ(hubtest::Forwarded()[0].window, child);
  }
}

TEST_F(HubWindows, EditorOperationsRunTheirOwnStepsOnlyWhenTheOperationRan) {
  AddChild();
  block->EditMode = 39;
  Recorded().operationResult = 0;
  DoFrameCommand(frame, 302, 0, nullptr);  // Layer...: cancel, dialog, then recolour on OK
  EXPECT_EQ(Recorded().calls, std::vector<std::string>{"CancelCurrentOperation"});
  EXPECT_EQ(Recorded().operations, std::vector<UINT>{302});
  EXPECT_EQ(hubtest::Forwarded().size(), 1u) << "a cancelled dialog still forwards";
}

// The symbol attribute editors run with the editors' dialog flag cleared,
// and it is set again afterwards, whatever the editor answered.
TEST_F(HubWindows, SymbolAttributeEditorsClearTheEditorsFlagWhileOpen) {
  HWND child = AddChild();
  for (int answer : {1, 0}) {
    for (UINT id : {2336u, 2337u, 2356u}) {
      hubfakes::Reset();
      hubtest::Forwarded().clear();
      Recorded().operationResult = answer;
      ASSERT_EQ(EditorDialogOpenFlag, 1);
      EXPECT_EQ(DoFrameCommand(frame, id, 0, nullptr), 0) << id;
      EXPECT_EQ(Recorded().operations, std::vector<UINT>{id});
      EXPECT_EQ(Recorded().dialogFlagSeen, std::vector<std::uint8_t>{0}) << id;
      EXPECT_EQ(EditorDialogOpenFlag, 1) << id;
      ASSERT_EQ(hubtest::Forwarded().size(), 1u) << id;
      EXPECT_EQ(hubtest::Forwarded()[0].window, child);
    }
  }
}

// ---- Fit To Window and off-angle tracks -------------------------------------------------

TEST(FitToWindow, AMinimisedClientLeavesTheZoom) {
  std::uint32_t zoom = 7, scale = 7;
  pl3::Point centre{};
  EXPECT_FALSE(FitZoomToBox({0, 0, 1000, 1000}, 0, 0, &zoom, &scale, &centre));
  EXPECT_FALSE(FitZoomToBox({0, 0, 1000, 1000}, 200, 0, &zoom, &scale, &centre));
  EXPECT_EQ(zoom, 7u);
  EXPECT_EQ(scale, 7u);
}

TEST(FitToWindow, TheLargerRatioTruncatedGivesZoomAndScale) {
  std::uint32_t zoom = 0, scale = 0;
  pl3::Point centre{};
  // 1,000,000 x 300,000 in 640 x 480: 1562.5 and 625 -> 1562.
  ASSERT_TRUE(FitZoomToBox({1000, 2000, 1001000, 302000}, 640, 480, &zoom, &scale, &centre));
  EXPECT_EQ(zoom, 1562u);
  EXPECT_EQ(scale, static_cast<std::uint32_t>(4294967295.0 / 1562));
  EXPECT_EQ(centre.x, 501000);
  EXPECT_EQ(centre.y, 152000);
  // Height decides; corners given the other way round.
  ASSERT_TRUE(FitZoomToBox({0, 900000, 1000, 0}, 640, 480, &zoom, &scale, &centre));
  EXPECT_EQ(zoom, 1875u);
  // A box smaller than the client never gives zoom 0.
  ASSERT_TRUE(FitZoomToBox({5, 5, 10, 10}, 640, 480, &zoom, &scale, &centre));
  EXPECT_EQ(zoom, 1u);
  EXPECT_EQ(scale, 4294967295u);
}

struct TrackCase {
  pl3::Point a, b;
  bool offAngle;
};

TEST(OffAngleTracks, StraightAndDiagonalTracksAreSkippedAndSmallSlopesFlagged) {
  const TrackCase cases[] = {
      {{0, 0}, {10000, 0}, false},      // horizontal
      {{0, 0}, {0, 10000}, false},      // vertical
      {{0, 0}, {10000, 10000}, false},  // 45 degrees
      {{0, 0}, {10000, 2}, false},      // within 2 units of horizontal
      {{0, 0}, {10002, 10000}, false},  // within 2 units of 45 degrees
      {{0, 0}, {10000, 3}, false},      // atan(3e-4) * 2pi is below 0.05
      {{0, 0}, {10000, 79}, false},     // atan(0.0079) * 2pi = 0.0496
      {{0, 0}, {10000, 80}, true},      // atan(0.008) * 2pi = 0.0503
      {{0, 0}, {80, 10000}, true},      // the same off vertical
      {{0, 0}, {10000, 9925}, false},   // 75 off the diagonal: ratio 75 / 9925
      {{0, 0}, {10000, 9900}, true},    // 100 off the diagonal
      {{500, 500}, {-9500, 600}, true}, // negative direction: 100 off in 10000
  };
  for (const TrackCase& c : cases)
    EXPECT_EQ(IsOffAngleTrack(c.a, c.b), c.offAngle) << c.b.x << "," << c.b.y;
}

TEST_F(HubWindows, OffAngleTracksOfCopperLayersAreHighlightedAndMarked) {
  struct Track {
    std::uint8_t layer;
    std::uint32_t flags;
    pl3::Point a, b;
    bool highlighted;
  };
  const Track tracks[] = {
      {1, 0, {0, 0}, {10000, 100}, true},      // off angle on copper
      {32, 0, {0, 0}, {100, 10000}, true},     // the last copper layer
      {1, 0, {0, 0}, {10000, 0}, false},       // horizontal
      {33, 0, {0, 0}, {10000, 100}, false},    // not copper
      {0, 0, {0, 0}, {10000, 100}, false},     // not copper
      {5, 2, {0, 0}, {10000, 100}, false},     // display flag 2 set
  };
  AddChild();
  DisplayList* list = NewDisplayList();
  block->Display = list;
  std::vector<LineItem*> items;
  for (const Track& t : tracks) {
    auto* item = static_cast<LineItem*>(std::calloc(1, sizeof(LineItem)));
    item->head.kind = Type_Track;
    item->head.layer = t.layer;
    item->head.flags = t.flags;
    item->head.entity = InsertEntity(design, 4, Type_Track, "\0\0\0");
    item->record.x1 = t.a.x;
    item->record.y1 = t.a.y;
    item->record.x2 = t.b.x;
    item->record.y2 = t.b.y;
    item->currentColour = 0x123456;
    *NewDisplayNode(list, Type_Track) = &item->head;
    items.push_back(item);
  }
  block->EditMode = 39;
  DoFrameCommand(frame, 2499, 0, nullptr);
  EXPECT_EQ(Recorded().calls, std::vector<std::string>{"CancelCurrentOperation"});
  for (std::size_t i = 0; i < items.size(); ++i) {
    const bool marked = (TowerEntity(items[i]->head.entity)->flags & kEntityHighlighted) != 0;
    EXPECT_EQ(marked, tracks[i].highlighted) << i;
    EXPECT_EQ(items[i]->currentColour == kHighlightColour, tracks[i].highlighted) << i;
  }
  block->Display = nullptr;
  FreeDisplayList(list);
}

}  // namespace
