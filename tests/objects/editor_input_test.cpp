#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "edit/window_data.h"
#include "editor_seam_fakes.h"
#include "objects/editor_input.h"
#include "objects/editor_modes.h"
#include "objects/graphic_records.h"
#include "objects/item_helpers.h"
#include "objects/item_sides.h"
#include "objects/layer_sets.h"
#include "objects/dimensioner_seams.h"
#include "objects/selection_menus.h"
#include "objects/type_codes.h"
#include "platform/responder.h"
#include "platform/user.h"
#include "platform/user_constants.h"
#include "store/tower.h"

using editorfakes::calls;
using Calls = std::vector<std::string>;

// The menu kind tells the type and whether the item was handed over.
std::uint32_t GetSelectionMenuKind(std::uint16_t type, const Tower* item) {
  return 1000u * (item != nullptr) + type;
}

namespace {

std::vector<WPARAM> gCommands;
LRESULT CALLBACK RecordingProc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_COMMAND) gCommands.push_back(w);
  return DefWindowProcA(hwnd, message, w, l);
}

// While an EditorInput test runs, the editing engine's boxes of items are
// {x, x, x + 10, x + 10} with x the entity's first payload word.
bool gFakeBoxes = false;

}  // namespace

int GetBox(const Tower* t, pl3::Box* box) {
  *box = pl3::kEmptyBox;
  if (!gFakeBoxes) return 0;
  const auto x = *reinterpret_cast<const std::int32_t*>(TowerPayload(t));
  *box = {x, x, x + 10, x + 10};
  return 1;
}

namespace {

class EditorInput : public testing::Test {
 protected:
  void SetUp() override {
    gCommands.clear();
    hwnd_ = editorfakes::MakeEditorWindow("EditorInputTest", RecordingProc);
    BuildDefaultLayerTable(w_.layerTable, kEditorPcb);
    w_.Window = hwnd_;
    w_.Zoom = 1000;
    ActiveWindowData = &w_;
    design_ = NewTower(0);
    LastLevel(design_).typeCode = Type_PCB;
    InsertAtLastLevel(design_, 0);
    w_.design = design_;
    gFakeBoxes = true;
  }
  void TearDown() override {
    for (SelectionInfo& s : records_) ReleaseTower(&s.workingCopy);
    for (Tower*& t : items_) ReleaseTower(&t);
    ReleaseTower(&w_.Selection);
    delete w_.PendingRecord;
    std::free(w_.OriginalBlockOrigin);
    ReleaseTower(&design_);
    DestroyWindow(hwnd_);
    gFakeBoxes = false;
  }
  Tower* Item(std::uint16_t code, std::int32_t firstWord) {
    std::uint8_t payload[68] = {};
    std::memcpy(payload, &firstWord, 4);
    items_.push_back(InsertEntity(design_, sizeof payload, code, payload));
    return items_.back();
  }
  // A symbol instance with one designator copy whose display word is given.
  Tower* InstanceWithDesignator(std::uint16_t display) {
    Tower* instance = InsertEmptyEntity(design_, Type_SymbolInstance);
    Tower* group = InsertEmptyEntity(instance, Type_Designator);
    Tower* copy = InsertEmptyEntity(group, Type_DesignatorData);
    std::uint8_t info[20] = {};
    std::memcpy(info + 2, &display, 2);
    Tower* i = InsertEntity(copy, sizeof info, Type_DesignatorInfo, info);
    ReleaseTower(&i);
    ReleaseTower(&copy);
    ReleaseTower(&group);
    return instance;
  }
  std::uint16_t DisplayWord(const Tower* instance) {
    Tower* group = OpenChildTower(instance, Type_Designator);
    Tower* copy = OpenChildTower(group, Type_DesignatorData);
    auto* info = static_cast<std::uint8_t*>(GetEntityData(copy, Type_DesignatorInfo));
    ReleaseTower(&copy);
    ReleaseTower(&group);
    std::uint16_t word;
    std::memcpy(&word, info + 2, 2);
    return word;
  }
  // Selection records over working copies, primary unless said otherwise;
  // the list is linked in the order given.
  void Select(std::vector<std::pair<Tower*, bool>> items) {
    records_.clear();
    records_.reserve(items.size());
    for (auto& [item, primary] : items) {
      SelectionInfo s{};
      s.flags = primary ? 1 : 0;
      s.workingCopy = item;
      s.currentPoint = {static_cast<std::int32_t>(records_.size()) * 100 + 7, 9};
      records_.push_back(s);
    }
    for (std::size_t i = 0; i + 1 < records_.size(); ++i) records_[i].next = &records_[i + 1];
    w_.SelectionList = records_.empty() ? nullptr : &records_[0];
    // The records hold their own Towers on the items.
    for (SelectionInfo& s : records_) s.workingCopy = DuplicateTower(s.workingCopy);
  }
  EntityRecord& Pending(std::uint16_t type) {
    w_.PendingRecord = NewEntityRecord().release();
    w_.PendingRecord->header.recordType = type;
    return *w_.PendingRecord;
  }

  HWND hwnd_ = nullptr;
  CurrentWindowData w_{};
  Tower* design_ = nullptr;
  std::vector<Tower*> items_;
  std::vector<SelectionInfo> records_;
};

TEST_F(EditorInput, KeyReleases) {
  CtrlKeyHeld = 1;
  EditorKeyUp(hwnd_, 'A');
  EXPECT_EQ(CtrlKeyHeld, 1);
  EditorKeyUp(hwnd_, VK_CONTROL);
  EXPECT_EQ(CtrlKeyHeld, 0);

  // Shift with the feedback shown only takes the mark down.
  w_.EditMode = Mode_EditSelection;
  w_.StateFlags = kStateDragFeedback | 1;
  EditorKeyUp(hwnd_, VK_SHIFT);
  EXPECT_EQ(w_.StateFlags, 1u);
  EXPECT_TRUE(calls.empty());
  EXPECT_EQ(w_.EditMode, Mode_EditSelection);

  // Without a selection Edit Selection ends.
  EditorKeyUp(hwnd_, VK_SHIFT);
  EXPECT_EQ(w_.EditMode, Mode_Idle);
  EXPECT_EQ(calls, Calls{"status"});

  // With one the ghost drawn without assist is replaced by one with it.
  calls.clear();
  Select({{Item(Type_Track, 5), true}});
  w_.EditMode = Mode_AddNewPad;
  w_.AngleAssist = 2;
  EditorKeyUp(hwnd_, VK_SHIFT);
  EXPECT_EQ(editorfakes::ghostAssist, (std::vector<int>{0, 2}));
  EXPECT_EQ(w_.AngleAssist, 2);
  EXPECT_EQ(w_.EditMode, Mode_AddNewPad);

  // Other modes ignore Shift.
  calls.clear();
  w_.EditMode = Mode_AddNewString;
  EditorKeyUp(hwnd_, VK_SHIFT);
  EXPECT_TRUE(calls.empty());
}

TEST_F(EditorInput, RectangleStepsSnapMoveAndSize) {
  auto& rect = Pending(Type_Rectangle).as<RectanglePayload>().rect;
  rect.corners[0] = {0, 0};
  rect.corners[1] = {4000000, 0};
  rect.corners[2] = {4000000, 2000000};
  rect.corners[3] = {0, 2000000};
  rect.centreX = 2000000;
  rect.centreY = 1000000;

  SetRectangleFirstCorner(hwnd_, w_, {10400000, 20900000});
  EXPECT_EQ(w_.EditMode, Mode_RectangleFirstCorner);
  EXPECT_EQ(calls, (Calls{"ghost 6", "ghost 6"}));
  EXPECT_EQ(rect.corners[0].x, 10000000);
  EXPECT_EQ(rect.corners[0].y, 20000000);
  EXPECT_EQ(rect.corners[2].x, 14000000) << "size kept";
  EXPECT_EQ(rect.corners[2].y, 22000000);
  EXPECT_EQ(rect.centreX, 12000000);

  calls.clear();
  MoveRectangleFirstCorner(hwnd_, w_, {10999999, 20000001});
  EXPECT_TRUE(calls.empty()) << "the snapped point did not move";

  MoveRectangleOppositeCorner(hwnd_, w_, {16500000, 25100000});
  EXPECT_EQ(calls, (Calls{"ghost 6", "ghost 6"}));
  EXPECT_EQ(rect.corners[0].x, 10000000);
  EXPECT_EQ(rect.corners[1].x, 16000000);
  EXPECT_EQ(rect.corners[1].y, 20000000);
  EXPECT_EQ(rect.corners[2].x, 16000000);
  EXPECT_EQ(rect.corners[2].y, 25000000);
  EXPECT_EQ(rect.corners[3].x, 10000000);
  EXPECT_EQ(rect.corners[3].y, 25000000);
  EXPECT_EQ(rect.centreX, 13000000);
  EXPECT_EQ(rect.centreY, 22500000);

  calls.clear();
  MoveRectangleOppositeCorner(hwnd_, w_, {16000001, 25000001});
  EXPECT_TRUE(calls.empty());
}

TEST_F(EditorInput, SpiralStepsAdvanceTheModes) {
  auto& spiral = Pending(Type_Spiral).as<SpiralPayload>();
  w_.EditMode = Mode_AddNewSpiral;
  SpiralPlacementStep(hwnd_, w_, {5300000, 7800000});
  EXPECT_EQ(w_.EditMode, Mode_SetSpiralStartPoint);
  EXPECT_EQ(spiral.centre.x, 5000000);
  EXPECT_EQ(spiral.centre.y, 7000000);
  EXPECT_EQ(calls, (Calls{"spiral", "spiral"}));

  SpiralPlacementStep(hwnd_, w_, {8100000, 3000000});
  EXPECT_EQ(w_.EditMode, Mode_SetSpiralPitch);
  EXPECT_EQ(spiral.start.x, 8000000);

  // The pitch step is refused while the pitch is 0.
  calls.clear();
  const int beeps = pl3::BeepCount();
  SpiralPlacementStep(hwnd_, w_, {11000000, 7000000});
  EXPECT_EQ(pl3::BeepCount(), beeps + 1);
  EXPECT_EQ(w_.EditMode, Mode_SetSpiralPitch);
  EXPECT_TRUE(calls.empty());

  spiral.pitch = 5;
  SpiralPlacementStep(hwnd_, w_, {11000000, 7000000});
  EXPECT_EQ(w_.EditMode, Mode_SetSpiralEndPoint);
  EXPECT_EQ(spiral.pitch, 5000000) << "3-4-5 from the start point";
  EXPECT_EQ(calls, (Calls{"spiral", "spiral"}));

  // Past the last step, or without a record, only a beep.
  calls.clear();
  SpiralPlacementStep(hwnd_, w_, {0, 0});
  EXPECT_EQ(pl3::BeepCount(), beeps + 2);
  EXPECT_TRUE(calls.empty());
}

TEST_F(EditorInput, FinishingASpiral) {
  Pending(Type_Spiral).as<SpiralPayload>().pitch = 77;
  w_.EditMode = Mode_SetSpiralEndPoint;

  // Not yet past the start quadrant.
  editorfakes::arcQuadrant = 2;
  editorfakes::sweepQuadrants = 2;
  const int beeps = pl3::BeepCount();
  FinishSpiral(hwnd_, w_);
  EXPECT_EQ(pl3::BeepCount(), beeps + 1);
  ASSERT_NE(w_.PendingRecord, nullptr);
  EXPECT_TRUE(calls.empty());

  // A refused insertion keeps the spiral in hand.
  editorfakes::sweepQuadrants = 3;
  editorfakes::insertFails = true;
  FinishSpiral(hwnd_, w_);
  ASSERT_NE(w_.PendingRecord, nullptr);
  EXPECT_EQ(w_.EditMode, Mode_SetSpiralEndPoint);
  EXPECT_EQ(calls, (Calls{"spiral", "insert", "spiral"}));

  calls.clear();
  editorfakes::insertFails = false;
  FinishSpiral(hwnd_, w_);
  EXPECT_EQ(w_.PendingRecord, nullptr);
  EXPECT_EQ(w_.EditMode, Mode_Idle);
  EXPECT_EQ(calls, (Calls{"spiral", "insert", "menus 0", "cursor 0", "status"}));
  Tower* stored = OpenChildTower(design_, Type_Spiral);
  ASSERT_NE(stored, nullptr);
  EXPECT_EQ(reinterpret_cast<SpiralPayload*>(TowerPayload(stored))->pitch, 77);
  ReleaseTower(&stored);

  // No record: the message, and idle all the same.
  calls.clear();
  w_.EditMode = Mode_SetSpiralEndPoint;
  FinishSpiral(hwnd_, w_);
  ASSERT_FALSE(pl3::ResponderRecords().empty());
  EXPECT_EQ(pl3::ResponderRecords().back().text, "Error : Attempt to delete non-existent graphic.");
  EXPECT_EQ(pl3::ResponderRecords().back().caption, "Delete Graphic Error.");
  EXPECT_EQ(pl3::ResponderRecords().back().flags & MB_ICONEXCLAMATION, UINT{MB_ICONEXCLAMATION});
  EXPECT_EQ(w_.EditMode, Mode_Idle);
  EXPECT_EQ(calls, (Calls{"menus 0", "cursor 0", "status"}));
}

TEST_F(EditorInput, EndItemPickClearsTheMarkAndReleases) {
  Tower* picked = Item(Type_Track, 300);
  TowerEntity(picked)->flags |= kEntitySelected | 0x40;
  w_.Selection = DuplicateTower(picked);
  w_.EditMode = 17;
  EndItemPick(hwnd_);
  EXPECT_EQ(TowerEntity(picked)->flags & (kEntitySelected | 0x40), 0x40);
  EXPECT_EQ(w_.Selection, nullptr);
  EXPECT_EQ(w_.EditMode, Mode_Idle);
  EXPECT_EQ(calls, (Calls{"rect 300,300,310,310", "status"}));
}

TEST_F(EditorInput, DesignatorToggleNeedsOnlySymbolInstances) {
  Tower* a = InstanceWithDesignator(0x44);
  Tower* b = InstanceWithDesignator(0x08);
  items_.push_back(a);
  items_.push_back(b);
  Select({{a, true}, {b, true}});
  ToggleDesignatorVisibility(hwnd_);
  EXPECT_EQ(DisplayWord(a), 0x04);
  EXPECT_EQ(DisplayWord(b), 0x48);
  EXPECT_EQ(calls, Calls{"redraw"});

  // A track among the primaries: nothing changes.
  calls.clear();
  Tower* track = Item(Type_Track, 0);
  Select({{a, true}, {track, true}});
  ToggleDesignatorVisibility(hwnd_);
  EXPECT_EQ(DisplayWord(a), 0x04);
  EXPECT_TRUE(calls.empty());

  // A secondary track does not count.
  Select({{track, false}, {b, true}});
  ToggleDesignatorVisibility(hwnd_);
  EXPECT_EQ(DisplayWord(b), 0x08);
}

TEST_F(EditorInput, SelectionChangeSetsModeMenusAndBox) {
  Tower* t1 = Item(Type_Track, 100);
  Tower* t2 = Item(Type_Track, 500);
  Tower* arc = Item(Type_Arc, 50);
  struct Case {
    std::vector<std::pair<Tower*, bool>> items;
    std::string menus;
  };
  const Case cases[] = {
      {{{t1, true}}, "menus 1001"},                       // one primary: its type with the item
      {{{t1, true}, {t2, true}}, "menus 1"},              // several of one type
      {{{t1, true}, {arc, true}}, "menus 21"},            // mixed types
      {{{arc, false}, {t2, true}}, "menus 1001"},         // secondaries do not count
  };
  for (const Case& c : cases) {
    calls.clear();
    gCommands.clear();
    std::free(w_.OriginalBlockOrigin);
    w_.OriginalBlockOrigin = nullptr;
    w_.EditMode = Mode_Idle;
    Select(c.items);
    UpdateAfterSelectionChange(hwnd_, nullptr, 0);
    EXPECT_EQ(w_.EditMode, Mode_EditSelection);
    EXPECT_EQ(calls, (Calls{c.menus, "status"})) << c.menus;
    EXPECT_EQ(gCommands, std::vector<WPARAM>{484});
  }

  // The block origin is the first primary's point, recorded once.
  ASSERT_NE(w_.OriginalBlockOrigin, nullptr);
  EXPECT_EQ(w_.OriginalBlockOrigin->x, 107);
  EXPECT_EQ(w_.BlockOrigin.x, 107);
  Select({{t1, true}});
  UpdateAfterSelectionChange(hwnd_, nullptr, 0);
  EXPECT_EQ(w_.OriginalBlockOrigin->x, 107);

  // With redraw: the selection's box joined with the given one.
  calls.clear();
  Select({{t1, true}, {t2, false}});
  const pl3::Box extra{90, 95, 200, 210};
  UpdateAfterSelectionChange(hwnd_, &extra, 1);
  EXPECT_EQ(calls.back(), "rect 90,95,510,510");

  // No selection: idle.
  calls.clear();
  gCommands.clear();
  w_.SelectionList = nullptr;
  UpdateAfterSelectionChange(hwnd_, nullptr, 1);
  EXPECT_EQ(w_.EditMode, Mode_Idle);
  EXPECT_TRUE(calls.empty());
  EXPECT_EQ(gCommands, std::vector<WPARAM>{484});
}

TEST_F(EditorInput, GhostOfEachMode) {
  struct Case {
    std::uint8_t mode;
    int ghost;  // ModeGhost, -1 none
  };
  const Case cases[] = {
      {Mode_Idle, -1}, {Mode_PlacePadName, -1}, {Mode_MovePadName, -1},
      {Mode_NewSymbol, 2}, {Mode_PlaceShape, 2}, {Mode_PlaceDesignator, 3}, {Mode_PlaceAttributeLocator, 3},
      {Mode_MoveOrigin, 4}, {Mode_SetBlockOrigin, 4}, {Mode_NewPin, 5},
      {Mode_EditSelection, 6}, {Mode_AddNewPad, 6}, {Mode_AddNewSymbol, 6},
      {Mode_Measure, 7}, {Mode_EditNet, 7}, {Mode_PlaceMacroBlock, 7}, {Mode_AddNewString, 7}, {1, 7},
  };
  for (const Case& c : cases) {
    calls.clear();
    w_.EditMode = c.mode;
    GhostSelectionAndMode(hwnd_, nullptr);
    const Calls expected = c.ghost < 0 ? Calls{} : Calls{"mode ghost " + std::to_string(c.ghost)};
    EXPECT_EQ(calls, expected) << int{c.mode};
  }

  // The drag rectangles come first; another window draws nothing.
  calls.clear();
  w_.EditMode = Mode_EditSelection;
  w_.DragFlags = kDragActive | kDragPrintZone;
  GhostSelectionAndMode(hwnd_, nullptr);
  EXPECT_EQ(calls, (Calls{"mode ghost 0", "mode ghost 1", "mode ghost 6"}));
  calls.clear();
  GhostSelectionAndMode(reinterpret_cast<void*>(0x1234), nullptr);
  ActiveWindowData = nullptr;
  GhostSelectionAndMode(hwnd_, nullptr);
  EXPECT_TRUE(calls.empty());
}

TEST_F(EditorInput, ItemGhostDropsTheAssistWhileAnItemIsPicked) {
  w_.AngleAssist = 1;
  w_.EditMode = 1;
  GhostSelectionAndMode(hwnd_, nullptr);
  w_.Selection = DuplicateTower(Item(Type_Track, 0));
  GhostSelectionAndMode(hwnd_, nullptr);
  w_.EditMode = Mode_Measure;
  GhostSelectionAndMode(hwnd_, nullptr);
  EXPECT_EQ(editorfakes::ghostAssist, (std::vector<int>{1, 0, 1}));
  EXPECT_EQ(w_.AngleAssist, 1);
}

TEST_F(EditorInput, DesignatorAndAttributeCopiesFlipThroughTheRing) {
  for (std::uint16_t code : {std::uint16_t{Type_DesignatorData}, kTypeAttributeLocatorGroup}) {
    const std::uint16_t infoCode = code == Type_DesignatorData ? std::uint16_t{Type_DesignatorInfo}
                                                               : kTypeAttributeLocatorInfo;
    Tower* copy = InsertEmptyEntity(design_, code);
    items_.push_back(copy);
    std::uint8_t info[20] = {};
    info[8] = 1;
    Tower* t = InsertEntity(copy, sizeof info, infoCode, info);
    ReleaseTower(&t);
    pl3::Transform placed = pl3::kIdentityTransform;
    placed.tx = 99;
    t = InsertEntity(copy, sizeof placed, Type_Transform, &placed);
    ReleaseTower(&t);
    auto* layer = static_cast<std::uint8_t*>(GetEntityData(copy, infoCode)) + 8;
    auto* transform = static_cast<pl3::Transform*>(GetEntityData(copy, Type_Transform));

    EXPECT_EQ(FlipInsertionToOtherSide(copy), 1);
    EXPECT_EQ(*layer, 2);
    EXPECT_EQ(transform->a, pl3::kFixedOne) << "layers 1 and 2 lie on one side";
    EXPECT_EQ(FlipInsertionToOtherSide(copy), 1);
    EXPECT_EQ(*layer, 32);
    EXPECT_EQ(transform->a, -pl3::kFixedOne) << "crossing to the bottom mirrors";
    EXPECT_EQ(transform->d, pl3::kFixedOne);
    EXPECT_EQ(transform->tx, 99);
  }
  // A copy without its info record is left alone.
  Tower* bare = InsertEmptyEntity(design_, Type_DesignatorData);
  items_.push_back(bare);
  EXPECT_EQ(FlipInsertionToOtherSide(bare), 0);
}

}  // namespace
