#include "app/edit_mode_options.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "app/core_utilities.h"
#include "app/frame_hub_seams.h"
#include "edit/window_data.h"
#include "objects/entity_record.h"
#include "objects/colours.h"
#include "objects/graphic_records.h"
#include "objects/payload_access.h"
#include "objects/type_codes.h"
#include "platform/dialog_hooks.h"
#include "platform/menus.h"
#include "platform/responder.h"
#include "platform/user.h"
#include "store/tower.h"
#include "tests/app/frame_operation_fakes.h"
#include "tests/store/tower_test_support.h"

namespace {

constexpr std::int32_t C = 1'000'000'000;

// An active window in Edit Selection over an empty board; items are added
// with a working copy each and selected as primaries.
class EditModeOptions : public testing::Test {
 protected:
  void SetUp() override {
    towertest::EnsureStoreStarted();
    design = towertest::NewTopLevelEntity(Type_PCB);
    window = std::make_unique<CurrentWindowData>();
    window->editorKind = kEditorPcb;
    window->design = design;
    window->EditMode = 39;
    ActiveWindowData = window.get();
    view = opfakes::NewTestView();
    window->Window = view;
    HMENU menu = CreateMenu();
    for (UINT id : {2391u, 2649u, 2652u, 2653u, 2654u}) AppendMenuA(menu, MF_STRING, id, "item");
    SetMenu(view, menu);
    FrameWindow = view;
  }
  void TearDown() override {
    for (auto& s : records) {
      ReleaseTower(&s->original);
      ReleaseTower(&s->workingCopy);
    }
    window->SelectionList = nullptr;
    delete window->PendingRecord;
    window->PendingRecord = nullptr;
    FrameWindow = nullptr;
    std::free(window->Grids);  // the grid set a snap gave the window
    window->Grids = nullptr;
    ActiveWindowData = nullptr;
    DestroyWindow(view);
    DeleteEntity(design);
    ReleaseTower(&design);
  }

  // Selects an item stored with the payload; its working copy is a second
  // entity of the same payload. With `original` false only the copy exists.
  SelectionInfo* Select(std::uint16_t type, const void* payload, std::uint32_t size, bool original = true) {
    auto s = std::make_unique<SelectionInfo>();
    s->flags = 1;
    if (original) s->original = InsertEntity(design, size, type, payload);
    s->workingCopy = InsertEntity(design, size, type, payload);
    s->next = window->SelectionList;
    window->SelectionList = s.get();
    records.push_back(std::move(s));
    return records.back().get();
  }
  std::size_t Count(std::uint16_t code) { return opfakes::CountChildren(design, code); }
  bool Ticked(UINT id) { return (GetMenuState(GetMenu(view), id, MF_BYCOMMAND) & MF_CHECKED) != 0; }
  template <typename T>
  T& Working(SelectionInfo* s) {
    return *reinterpret_cast<T*>(TowerPayload(s->workingCopy));
  }

  Tower* design = nullptr;
  std::unique_ptr<CurrentWindowData> window;
  std::vector<std::unique_ptr<SelectionInfo>> records;
  HWND view = nullptr;
};

TEST(DimensionerUnits, LinearStepsThroughFourCodesAndAngleSwapsItsTwo) {
  struct Case {
    std::uint16_t type;
    std::uint32_t unit, next;
  };
  const Case cases[] = {{Type_Dimensioner, 0, 1}, {Type_Dimensioner, 2, 3}, {Type_Dimensioner, 3, 0},
                        {Type_Dimensioner, 4, 4}, {Type_Dimensioner, 9, 9}, {Type_AngleDimensioner, 4, 5},
                        {Type_AngleDimensioner, 5, 4}, {Type_AngleDimensioner, 0, 0}};
  for (const Case& c : cases) EXPECT_EQ(NextDimensionerUnit(c.type, c.unit), c.next) << c.type << " " << c.unit;
}

TEST_F(EditModeOptions, CycleUnitsStepsTheSelectedOrPlacedDimensioner) {
  DimensionerPayload d{};
  d.unit = 3;
  SelectionInfo* s = Select(Type_Dimensioner, &d, sizeof d);
  EXPECT_EQ(PerformFrameCommandOperation(2305, view), 1);
  EXPECT_EQ(Working<DimensionerPayload>(s).unit, 0u);
  EXPECT_EQ(reinterpret_cast<DimensionerPayload*>(TowerPayload(s->original))->unit, 3u) << "the design's item waits";
  // Two selected: nothing.
  Select(Type_Dimensioner, &d, sizeof d);
  EXPECT_EQ(PerformFrameCommandOperation(2305, view), 0);
  EXPECT_EQ(Working<DimensionerPayload>(s).unit, 0u);
  // The angle dimensioner being placed.
  window->SelectionList = nullptr;
  EntityRecord* r = NewEntityRecord().release();
  InitialiseEntityRecord(r, Type_AngleDimensioner, &pl3::kIdentityTransform, 1);
  r->as<DimensionerPayload>().unit = 4;
  window->PendingRecord = r;
  window->EditMode = 80;
  EXPECT_EQ(PerformFrameCommandOperation(2305, view), 1);
  EXPECT_EQ(r->as<DimensionerPayload>().unit, 5u);
  window->EditMode = 77;  // a linear dimensioner's mode: not this record
  EXPECT_EQ(PerformFrameCommandOperation(2305, view), 0);
  EXPECT_EQ(r->as<DimensionerPayload>().unit, 5u);
}

TEST_F(EditModeOptions, KeepoutKindStoresTheWorkingCopyWithTheNewCode) {
  std::vector<std::uint8_t> polygon(PolygonStoredSize(3));
  for (std::size_t i = 0; i < polygon.size(); ++i) polygon[i] = static_cast<std::uint8_t>(i * 7);
  SelectionInfo* s = Select(Type_PolygonKeepout, polygon.data(), static_cast<std::uint32_t>(polygon.size()));
  ASSERT_EQ(PerformFrameCommandOperation(2653, view), 1);
  EXPECT_EQ(LastLevel(s->workingCopy).typeCode, Type_PolygonWiringKeepout);
  ASSERT_GE(TowerEntity(s->workingCopy)->payloadSize, polygon.size());
  EXPECT_EQ(std::memcmp(TowerPayload(s->workingCopy), polygon.data(), polygon.size()), 0);
  EXPECT_EQ(Count(Type_PolygonKeepout), 1u) << "only the design's item stays";
  EXPECT_EQ(Count(Type_PolygonWiringKeepout), 1u);
  EXPECT_TRUE(Ticked(2653));
  EXPECT_FALSE(Ticked(2649));
  ASSERT_EQ(PerformFrameCommandOperation(2654, view), 1);
  EXPECT_EQ(LastLevel(s->workingCopy).typeCode, Type_PolygonViaKeepout);
  EXPECT_EQ(Count(Type_PolygonWiringKeepout), 0u);
  EXPECT_TRUE(Ticked(2654));
  EXPECT_FALSE(Ticked(2653));
}

TEST_F(EditModeOptions, KeepoutKindWithoutAKeepoutOnlyTicks) {
  DimensionerPayload d{};
  Select(Type_Dimensioner, &d, sizeof d);
  EXPECT_EQ(PerformFrameCommandOperation(2652, view), 0);
  EXPECT_TRUE(Ticked(2652));
  EXPECT_EQ(Count(Type_Dimensioner), 2u);
}

TEST_F(EditModeOptions, MirrorSymbolAndPinNumbersFlipTheirBitInTheWorkingCopy) {
  window->editorKind = kEditorSchematic;
  SelectionInfo* s = Select(30, nullptr, 0);
  const std::uint32_t record[2] = {0, 77};
  for (Tower* t : {s->original, s->workingCopy}) {
    Tower* r = InsertEntity(t, sizeof record, Type_SchematicSymbol, record);
    ReleaseTower(&r);
  }
  auto word = [](const Tower* t) { return ReadU32(ChildPayloadOfAtLeast(t, Type_SchematicSymbol, 4), 0); };
  EXPECT_EQ(PerformFrameCommandOperation(2354, view), 1);
  EXPECT_EQ(word(s->workingCopy), 1u);
  EXPECT_EQ(PerformFrameCommandOperation(2507, view), 1);
  EXPECT_EQ(word(s->workingCopy), 3u);
  EXPECT_EQ(PerformFrameCommandOperation(2354, view), 1);
  EXPECT_EQ(word(s->workingCopy), 2u);
  EXPECT_EQ(word(s->original), 0u);
  EXPECT_EQ(ReadU32(ChildPayloadOfAtLeast(s->workingCopy, Type_SchematicSymbol, 8), 4), 77u);
}

TEST_F(EditModeOptions, DatumFixedFlipsTheFlagAndFreeingTakesTheDesignsPointBack) {
  std::vector<std::uint8_t> bytes(DatumStoredSize(1));
  auto* datum = reinterpret_cast<DatumPayload*>(bytes.data());
  datum->x = C + 500;
  datum->y = C + 900;
  std::memcpy(datum->name, "A", 2);
  SelectionInfo* s = Select(Type_Datum, bytes.data(), static_cast<std::uint32_t>(bytes.size()));
  ASSERT_EQ(PerformFrameCommandOperation(2391, view), 1);
  EXPECT_TRUE(TowerEntity(s->original)->flags & 0x1000);
  EXPECT_TRUE(Ticked(2391));
  Working<DatumPayload>(s).x = C + 12'345;
  ASSERT_EQ(PerformFrameCommandOperation(2391, view), 1);
  EXPECT_FALSE(TowerEntity(s->original)->flags & 0x1000);
  EXPECT_FALSE(Ticked(2391));
  EXPECT_EQ(Working<DatumPayload>(s).x, C + 500);
  EXPECT_EQ(Working<DatumPayload>(s).y, C + 900);
  // Another type, or no selection: nothing.
  window->SelectionList = nullptr;
  EXPECT_EQ(PerformFrameCommandOperation(2391, view), 0);
  EXPECT_EQ(PerformFrameCommandOperation(2391, nullptr), 0);
}

// Set Colour outside Edit Selection: the item being placed takes the colour
// chosen in "Select Colour"; a cancel leaves it.
TEST_F(EditModeOptions, SetColourGivesTheItemBeingPlacedTheChosenColour) {
  constexpr int kColourList = 3154;
  SetDefaultNamedColours();
  window->editorKind = kEditorSchematic;
  window->EditMode = 1;
  EntityRecord* r = NewEntityRecord().release();
  InitialiseEntityRecord(r, Type_Track, &pl3::kIdentityTransform, 11);
  window->PendingRecord = r;
  pl3::SetDialogHook(1048, [](HWND dialog) {
    pl3::PickDialogListItem(dialog, kColourList, 2);
    pl3::ClickDialogButton(dialog, IDCANCEL);
  });
  EXPECT_EQ(PerformFrameCommandOperation(2362, view), 0);
  EXPECT_EQ(r->head().layer, 11);
  pl3::SetDialogHook(1048, [](HWND dialog) {
    ASSERT_TRUE(pl3::PickDialogListItem(dialog, kColourList, 4));
    pl3::ClickDialogButton(dialog, IDOK);
  });
  EXPECT_EQ(PerformFrameCommandOperation(2362, view), 1);
  EXPECT_EQ(r->head().layer, 15) << "the fifth colour of the class of entry 11";
  pl3::ClearDialogHooks();
  // Nothing being placed: no dialog.
  window->PendingRecord = nullptr;
  delete r;
  EXPECT_EQ(PerformFrameCommandOperation(2362, view), 0);
}

}  // namespace
