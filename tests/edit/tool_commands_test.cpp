#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "edit/edit_modes.h"
#include "edit/insertion.h"
#include "edit/mouse_road.h"
#include "edit/status_seams.h"
#include "edit/tool_commands.h"
#include "edit/window_data.h"
#include "objects/graphic_records.h"
#include "objects/item_helper_seams.h"
#include "objects/layer_table.h"
#include "objects/size_table.h"
#include "objects/type_codes.h"
#include "objects/window_state.h"
#include "platform/menus.h"
#include "platform/user.h"
#include "store/tower.h"
#include "tests/store/tower_test_support.h"

namespace {

constexpr UINT kMenuIds[] = {251, 254, 256, 257, 258, 265, 457, 458, 2605, 2549, 2552};

// A frame with a tool menu and an active PCB window.
class ToolCommandsTest : public testing::Test {
 protected:
  void SetUp() override {
    towertest::EnsureStoreStarted();
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "ToolCommandsTest";
    RegisterClassA(&wc);
    frame = CreateWindowA("ToolCommandsTest", "", WS_OVERLAPPEDWINDOW, 0, 0, 300, 300, nullptr, nullptr, nullptr,
                          nullptr);
    view = CreateWindowA("ToolCommandsTest", "", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, nullptr, nullptr, nullptr,
                         nullptr);
    HMENU menu = CreateMenu();
    for (UINT id : kMenuIds) AppendMenuA(menu, MF_STRING, id, "tool");
    SetMenu(frame, menu);
    FrameWindow = frame;
    w = std::make_unique<CurrentWindowData>(kEditorPcb);
    InitialiseLayerTable(w->layerTable);
    SetCopperLayers(w->layerTable);
    w->layerTable.layers[1].flags |= kLayerSelectable;
    w->RoutingLayer = 1;
    w->Window = view;
    w->Zoom = 1000;
    w->AngleAssist = 0;
    sizes = NewSizeTable();
    w->sizeTable = sizes.get();
    design = towertest::NewTopLevelEntity(Type_PCB);
    w->design = design;
    ActiveWindowData = w.get();
  }
  void TearDown() override {
    delete w->PendingRecord;
    FreeGridInfo(w->Grids);
    ActiveWindowData = nullptr;
    FrameWindow = nullptr;
    DeleteEntity(design);
    ReleaseTower(&design);
    DestroyWindow(view);
    DestroyWindow(frame);
  }
  bool Ticked(UINT id) { return (GetMenuState(GetMenu(frame), id, MF_BYCOMMAND) & MF_CHECKED) != 0; }
  int TrackCount() {
    int n = 0;
    for (NodeRef g = TowerEntity(design)->firstChild; g; g = NodeAt<TypeGroup>(g)->next)
      if (NodeAt<TypeGroup>(g)->typeCode == Type_Track)
        for (NodeRef e = NodeAt<TypeGroup>(g)->firstChild; e; e = NodeAt<Entity>(e)->next) ++n;
    return n;
  }

  HWND frame = nullptr, view = nullptr;
  std::unique_ptr<CurrentWindowData> w;
  std::unique_ptr<SizeTable> sizes;
  Tower* design = nullptr;
};

TEST_F(ToolCommandsTest, InsertLineArmsTheToolAndTwoClicksStoreATrack) {
  ASSERT_TRUE(ArmInsertCommand("insert.line", 0));
  EXPECT_EQ(w->EditMode, Mode_StartInsert);
  EXPECT_EQ(w->InsertType, 1);
  EXPECT_TRUE(Ticked(251));
  w->Cursor = {360000000, 360000000};
  DoLButtonUp(view, &w->Button, &w->PendingRecord);
  ASSERT_EQ(w->EditMode, Mode_AddNewTrack);
  ASSERT_NE(w->PendingRecord, nullptr);
  w->Cursor = {400000000, 360000000};
  DoMouseMove(view, &w->Button, &w->PendingRecord, 1);
  DoLButtonUp(view, &w->Button, &w->PendingRecord);
  EXPECT_EQ(TrackCount(), 1);
}

TEST_F(ToolCommandsTest, CommandsAndTheirVariants) {
  struct Case {
    const char* name;
    std::uint32_t flag;
    std::uint8_t insertType;
    std::uint8_t mode;
    UINT tick;
  };
  const Case cases[] = {
      {"insert.arc.ends", 0, 170, Mode_StartInsert, 254},
      {"insert.boardoutline.arc.centre", 4, 38, Mode_StartInsert, 254},
      {"insert.boardoutline.line", 32, 39, Mode_StartInsert, 251},
      {"insert.nonplatedslot", 128, 47, Mode_StartInsert, 251},
      {"insert.circle", 0, 3, 0, 256},
      {"insert.via", 0, 17, 0, 457},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    w->EditMode = 0;
    ASSERT_TRUE(ArmInsertCommand(c.name, c.flag));
    EXPECT_EQ(w->InsertType, c.insertType);
    EXPECT_EQ(w->EditMode, c.mode);
    EXPECT_TRUE(Ticked(c.tick));
  }
  EXPECT_FALSE(ArmInsertCommand("insert.bus", 0));
}

TEST_F(ToolCommandsTest, ArcEndsTicksTheArcByCentreEntry) {
  SetArcEndsTool();
  EXPECT_EQ(w->InsertType, 170);
  EXPECT_TRUE(Ticked(254));
  EXPECT_FALSE(Ticked(2552));
}

TEST_F(ToolCommandsTest, DuringAModeOnlyTheHoleToolsStillSwitchPlating) {
  w->EditMode = Mode_AddNewTrack;
  w->InsertType = 1;
  w->StateFlags = kStateRoutedLine;
  SetCircleTool();
  EXPECT_EQ(w->InsertType, 1);
  EXPECT_EQ(w->EditMode, Mode_AddNewTrack);
  EXPECT_EQ(w->StateFlags, kStateRoutedLine);
  SetNonPlatedHoleTool();
  EXPECT_TRUE(ProgramOptionWord & kOptionNonPlatedHoles);
  EXPECT_TRUE(Ticked(458));
  EXPECT_EQ(w->InsertType, 1);
  SetPlatedHoleTool();
  EXPECT_FALSE(ProgramOptionWord & kOptionNonPlatedHoles);
  EXPECT_TRUE(Ticked(2605));
  EXPECT_FALSE(Ticked(458));
}

TEST_F(ToolCommandsTest, DefaultToolAndUnitToggle) {
  w->AngleAssist = 2;
  w->InsertType = 5;
  SetDefaultTool();
  EXPECT_EQ(w->AngleAssist, 1);
  EXPECT_EQ(w->InsertType, 1);
  const std::pair<std::uint32_t, std::uint32_t> units[] = {{0, 5}, {1, 5}, {4, 5}, {2, 4}, {3, 4}, {5, 4}};
  for (auto [from, to] : units) {
    DisplayUnitsCode = from;
    ToggleStatusUnits();
    EXPECT_EQ(DisplayUnitsCode, to) << from;
  }
}

}  // namespace
