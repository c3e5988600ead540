// The "&Options" and "&Selection" pop-ups the frame carries at bar position 3:
// which resource the selection-menu kind and the editor choose, and the
// states of their items.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/core_utilities.h"
#include "app/frame_menus.h"
#include "app/options_menus.h"
#include "edit/edit_modes.h"
#include "edit/window_data.h"
#include "geometry/graphic_layouts.h"
#include "objects/editor_seams.h"
#include "objects/graphic_records.h"
#include "objects/type_codes.h"
#include "platform/menus.h"
#include "platform/responder.h"
#include "platform/user.h"
#include "store/filing_seams.h"
#include "store/tower.h"
#include "tests/support/test_windows.h"

namespace {

// The ids and texts of a pop-up's items.
std::vector<std::string> Ids(HMENU menu) {
  std::vector<std::string> ids;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    char text[64] = "";
    GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
    ids.push_back(std::to_string(GetMenuItemID(menu, i)) + " " + text);
  }
  return ids;
}

std::string Caption(HMENU bar, int i) {
  char text[64] = "";
  GetMenuStringA(bar, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
  return text;
}

bool Greyed(HMENU menu, UINT id) { return GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED; }
bool Checked(HMENU menu, UINT id) { return GetMenuState(menu, id, MF_BYCOMMAND) & MF_CHECKED; }

class OptionsMenusTest : public testing::Test {
 protected:
  void SetUp() override {
    InitTowerStore();
    FrameWindow = MakeTestParentWindow("OptionsMenuFrame");
    ASSERT_NE(FrameWindow, nullptr);
    design = NewTower(0);
    LastLevel(design).typeCode = Type_PCB;
    InsertAtLastLevel(design, 0);
    Open(kEditorPcb);
  }
  void TearDown() override {
    block->SelectionList = nullptr;
    for (Tower*& t : items) ReleaseTower(&t);
    DestroyFrameMenus();
    ActiveWindowData = nullptr;
    DestroyWindow(FrameWindow);
    FrameWindow = nullptr;
    FreeTower(design);
  }
  void Open(std::uint32_t kind) {
    block = std::make_unique<CurrentWindowData>(kind, design);
    ActiveWindowData = block.get();
    ChangeMenu(1);
    bar = GetMenu(FrameWindow);
    baseCount = GetMenuItemCount(bar);
  }
  Tower* Hole(bool via) {
    HolePayload h{};
    h.hole.flags = via ? kHoleIsVia : 0;
    items.push_back(InsertEntity(design, sizeof h, Type_Hole, &h));
    return items.back();
  }
  Tower* Item(std::uint16_t code, std::uint32_t size = 68) {
    std::vector<std::uint8_t> bytes(size);
    items.push_back(InsertEntity(design, size, code, bytes.data()));
    return items.back();
  }
  // Puts records on the selection list, primary, in Edit Selection.
  void Select(std::vector<Tower*> copies, std::uint16_t grabbed = 0) {
    records.assign(copies.size(), SelectionInfo{});
    for (std::size_t i = 0; i < copies.size(); ++i) {
      records[i].flags = kSelectionPrimary;
      records[i].grabbedPart = grabbed;
      records[i].workingCopy = copies[i];
      records[i].next = i + 1 < copies.size() ? &records[i + 1] : nullptr;
    }
    block->SelectionList = records.empty() ? nullptr : &records[0];
    block->EditMode = Mode_EditSelection;
  }
  HMENU Options() {
    for (int i = 0; i < GetMenuItemCount(bar); ++i)
      if (Caption(bar, i) == "&Options") return GetSubMenu(bar, i);
    return nullptr;
  }
  bool OptionsAre(const char* resource) {
    HMENU expected = LoadMenuA(nullptr, resource);
    const bool same = expected && Options() && Ids(Options()) == Ids(expected);
    DestroyMenu(expected);
    return same;
  }

  Tower* design = nullptr;
  std::unique_ptr<CurrentWindowData> block;
  HMENU bar = nullptr;
  int baseCount = 0;
  std::vector<Tower*> items;
  std::vector<SelectionInfo> records;
};

TEST_F(OptionsMenusTest, EveryNamedMenuIsAResource) {
  for (const char* name :
       {"OPTIONS_MENU_LINE", "SHAPE_OPTIONS_MENU_LINE", "SCHEMATIC_OPTIONS_MENU_LINE", "OPTIONS_MENU_VIA",
        "OPTIONS_MENU_HOLE", "OPTIONS_MENU_DEFAULT", "OPTIONS_MENU_DEFAULT_VIA", "OPTIONS_MENU_DATUM",
        "OPTIONS_MENU_POLY_KEEPOUT", "LIBRARY_OPTIONS_MENU_ATTRIBUTE_GLOBAL_NET", "SELECTION_MENU",
        "SCHEMATIC_SELECTION_MENU", "OPTIONS_MENU_BODY_OUTLINE", "SYMBOL_OPTIONS_MENU_PCB_ATTRIBUTE"}) {
    HMENU menu = LoadMenuA(nullptr, name);
    EXPECT_NE(menu, nullptr) << name;
    if (menu) DestroyMenu(menu);
  }
}

TEST_F(OptionsMenusTest, AViaAloneShowsTheViaMenuAndAViaWithAHoleTheDefault) {
  Select({Hole(true)});
  SetSelectionAndOptionsMenus(6);
  EXPECT_TRUE(OptionsAre("OPTIONS_MENU_VIA"));
  Select({Hole(true), Hole(false)});
  SetSelectionAndOptionsMenus(21);
  EXPECT_TRUE(OptionsAre("OPTIONS_MENU_DEFAULT"));
  Select({Hole(true), Hole(true)});
  SetSelectionAndOptionsMenus(21);
  EXPECT_TRUE(OptionsAre("OPTIONS_MENU_DEFAULT_VIA"));
  Select({Hole(false)});
  SetSelectionAndOptionsMenus(6);
  EXPECT_TRUE(OptionsAre("OPTIONS_MENU_HOLE"));
}

TEST_F(OptionsMenusTest, MenusFollowTheEditor) {
  struct Case {
    std::uint32_t editor;
    std::uint32_t kind;
    const char* resource;
  };
  const Case cases[] = {
      {kEditorPcb, 1, "OPTIONS_MENU_LINE"},          {kEditorShape, 1, "SHAPE_OPTIONS_MENU_LINE"},
      {kEditorSchematic, 1, "SCHEMATIC_OPTIONS_MENU_LINE"}, {kEditorSchematicSymbol, 9, "SCHEMATIC_OPTIONS_MENU_STRING"},
      {kEditorPcbSymbol, 13, "SYMBOL_OPTIONS_MENU_DESIGNATOR"}, {kEditorPcb, 13, "OPTIONS_MENU_DESIGNATOR"},
      {kEditorSchematicSymbol, 38, "LIBRARY_OPTIONS_MENU_ATTRIBUTE_GLOBAL_NET"},
      {kEditorSchematic, 38, "OPTIONS_MENU_ATTRIBUTE_GLOBAL_NET"}, {kEditorPcb, 45, "OPTIONS_MENU_POLYGON"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.resource);
    Open(c.editor);
    SetSelectionAndOptionsMenus(c.kind);
    EXPECT_TRUE(OptionsAre(c.resource));
    EXPECT_EQ(GetMenuItemCount(bar), baseCount + 1);
    EXPECT_EQ(Caption(bar, 3), "&Options");
    EXPECT_EQ(Greyed(Options(), 2032), c.editor != kEditorPcb) << "Set Layer only in a PCB";
  }
}

TEST_F(OptionsMenusTest, KindsWithoutAMenuLeaveNone) {
  for (std::uint32_t kind : {0u, 10u, 46u, 1000u}) {
    SetSelectionAndOptionsMenus(1);
    ASSERT_NE(Options(), nullptr);
    SetSelectionAndOptionsMenus(kind);
    EXPECT_EQ(Options(), nullptr) << kind;
    EXPECT_EQ(GetMenuItemCount(bar), baseCount);
  }
}

TEST_F(OptionsMenusTest, EditSelectionInASchematicPutsSelectionBeforeOptions) {
  Open(kEditorSchematic);
  Select({Item(Type_Wire, 72)});
  SetSelectionAndOptionsMenus(35);
  EXPECT_EQ(GetMenuItemCount(bar), baseCount + 2);
  EXPECT_EQ(Caption(bar, 3), "&Selection");
  EXPECT_EQ(Caption(bar, 4), "&Options");
  HMENU expected = LoadMenuA(nullptr, "SCHEMATIC_SELECTION_MENU");
  EXPECT_EQ(Ids(GetSubMenu(bar, 3)), Ids(expected));
  DestroyMenu(expected);
  // Leaving Edit Selection takes both out again; repeated rebuilds never pile up.
  SetSelectionAndOptionsMenus(35);
  block->SelectionList = nullptr;
  block->EditMode = Mode_Idle;
  SetSelectionAndOptionsMenus(0);
  EXPECT_EQ(GetMenuItemCount(bar), baseCount);
  EXPECT_TRUE(pl3::ResponderRecords().empty());
}

TEST_F(OptionsMenusTest, MovingAVertexGreysTheRotationItems) {
  Tower* polygon = Item(Type_Polygon, 80);
  for (std::uint16_t grabbed : {4, 0}) {
    Select({polygon}, grabbed);
    SetSelectionAndOptionsMenus(4);
    for (UINT id : {2005u, 2006u, 2041u}) EXPECT_EQ(Greyed(Options(), id), grabbed == 4) << id;
    EXPECT_FALSE(Greyed(Options(), 427));
  }
}

TEST_F(OptionsMenusTest, SizesAreGreyedForALoneDimensionerAndExportNeedsAnOriginal) {
  Tower* dimensioner = Item(Type_Dimensioner, 140);
  Select({dimensioner});
  SetSelectionAndOptionsMenus(19);
  EXPECT_TRUE(Greyed(Options(), 430));
  Select({dimensioner}, 15);
  SetSelectionAndOptionsMenus(19);
  EXPECT_FALSE(Greyed(Options(), 430));

  Tower* track = Item(Type_Track);
  Select({track});
  SetSelectionAndOptionsMenus(21);
  EXPECT_TRUE(Greyed(Options(), 2382));
  records[0].original = track;
  SetSelectionAndOptionsMenus(21);
  EXPECT_FALSE(Greyed(Options(), 2382));
}

TEST_F(OptionsMenusTest, ADatumShowsItsFixedStateAndAKeepoutItsKind) {
  Tower* datum = Item(Type_Datum, 72);
  Select({datum});
  SetSelectionAndOptionsMenus(37);
  EXPECT_TRUE(Greyed(Options(), 2391));
  TowerEntity(datum)->flags |= 0x1000;
  SetSelectionAndOptionsMenus(37);
  EXPECT_TRUE(Checked(Options(), 2391));

  Select({Item(Type_PolygonViaKeepout, 80)});
  SetSelectionAndOptionsMenus(43);
  EXPECT_TRUE(Checked(Options(), 2654));
  EXPECT_FALSE(Checked(Options(), 2649));
}

TEST_F(OptionsMenusTest, WithoutASelectionTheModeDecides) {
  block->EditMode = 75;  // a dimensioner being started
  SetSelectionAndOptionsMenus(19);
  EXPECT_TRUE(Greyed(Options(), 2029));
  block->EditMode = Mode_PlaceShape;
  SetSelectionAndOptionsMenus(14);
  EXPECT_FALSE(Greyed(Options(), 2382));
  block->EditMode = Mode_Idle;
  SetSelectionAndOptionsMenus(14);
  EXPECT_TRUE(Greyed(Options(), 2382));
}

TEST_F(OptionsMenusTest, GreyedItemsFollowTheEditorAndTheMode) {
  struct Case {
    std::uint32_t editor, mode, kind;
    UINT id;
    bool greyed;
  };
  const Case cases[] = {
      {kEditorPcb, Mode_Idle, 1, 2447, false},       {kEditorPcbSymbol, Mode_Idle, 1, 2447, true},
      {kEditorSchematicSymbol, 71, 38, 2355, true},  {kEditorSchematicSymbol, 74, 38, 2355, true},
      {kEditorSchematicSymbol, 72, 38, 2355, false}, {kEditorSchematicSymbol, 76, 38, 430, true},
      {kEditorSchematicSymbol, 71, 38, 430, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "editor " << c.editor << " mode " << c.mode << " id " << c.id);
    Open(c.editor);
    block->EditMode = c.mode;
    SetSelectionAndOptionsMenus(c.kind);
    ASSERT_NE(Options(), nullptr);
    EXPECT_EQ(Greyed(Options(), c.id), c.greyed);
  }
}

}  // namespace
