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
#include "objects/dimensioners.h"
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

// Toggle Add/Move Vertex switches only a polygon-like item held by a vertex.
TEST_F(EditModeOptions, VertexGrabSwitchesBetweenMovingAndAddingAPoint) {
  struct Case {
    const char* name;
    std::uint16_t type;
    std::uint8_t mode;
    std::uint16_t grab;
    int result;
    std::uint16_t after;
  };
  const Case cases[] = {
      {"polygon moving a vertex", Type_Polygon, 39, 4, 1, 5},
      {"keepout adding a vertex", Type_PolygonKeepout, 39, 5, 1, 4},
      {"plane adding a vertex", Type_Plane, 39, 5, 1, 4},
      {"polygon held whole", Type_Polygon, 39, 0, 0, 0},
      {"a track is no polygon", Type_Track, 39, 4, 0, 4},
      {"not Edit Selection", Type_Polygon, 45, 4, 0, 4},
  };
  for (const Case& c : cases) {
    window->SelectionList = nullptr;
    window->EditMode = c.mode;
    SelectionInfo* s = Select(c.type, nullptr, 0);
    s->grabbedPart = c.grab;
    EXPECT_EQ(PerformFrameCommandOperation(2004, view), c.result) << c.name;
    EXPECT_EQ(s->grabbedPart, c.after) << c.name;
  }
  // Two polygons selected: neither changes.
  window->EditMode = 39;
  SelectionInfo* second = Select(Type_Polygon, nullptr, 0);
  second->grabbedPart = 4;
  EXPECT_EQ(PerformFrameCommandOperation(2004, view), 0);
  EXPECT_EQ(second->grabbedPart, 4);
}

// Move: the primary records take the whole item, an attached track keeps
// the end that follows; outside the selection modes nothing changes.
TEST_F(EditModeOptions, MoveTakesThePrimariesWholeAndKeepsAttachedEnds) {
  SelectionInfo* polygon = Select(Type_Polygon, nullptr, 0);
  polygon->grabbedPart = 4;
  SelectionInfo* track = Select(Type_Track, nullptr, 0);
  track->grabbedPart = 1;
  SelectionInfo* attached = Select(Type_Track, nullptr, 0);
  attached->flags = 0;
  attached->grabbedPart = 2;
  window->EditMode = 0;
  EXPECT_EQ(PerformFrameCommandOperation(426, view), 0);
  EXPECT_EQ(polygon->grabbedPart, 4);
  for (std::uint8_t mode : {std::uint8_t{39}, std::uint8_t{45}}) {
    window->EditMode = mode;
    polygon->grabbedPart = 4;
    track->grabbedPart = 1;
    EXPECT_EQ(PerformFrameCommandOperation(426, view), 1) << int(mode);
    EXPECT_EQ(polygon->grabbedPart, 0) << int(mode);
    EXPECT_EQ(track->grabbedPart, 0) << int(mode);
    EXPECT_EQ(attached->grabbedPart, 2) << int(mode);
  }
}

// Horizontal and Vertical Alignment step each selected text's justification.
TEST_F(EditModeOptions, AlignmentStepsTheSelectedTextsJustification) {
  std::vector<std::uint8_t> bytes(offsetof(TextPayload, text) + 2);
  SelectionInfo* s = Select(Type_Text, bytes.data(), static_cast<std::uint32_t>(bytes.size()));
  auto justification = [&] { return Working<TextPayload>(s).justification & 60; };
  EXPECT_EQ(PerformFrameCommandOperation(443, view), 1);
  EXPECT_EQ(justification(), 8u) << "centre steps to right";
  EXPECT_EQ(PerformFrameCommandOperation(444, view), 1);
  EXPECT_EQ(justification(), 8u | 32u) << "the vertical bits step on their own";
  EXPECT_EQ(PerformFrameCommandOperation(443, view), 1);
  EXPECT_EQ(justification(), 4u | 32u);
  EXPECT_EQ(reinterpret_cast<TextPayload*>(TowerPayload(s->original))->justification, 0u) << "the design's text waits";
  window->EditMode = 0;
  EXPECT_EQ(PerformFrameCommandOperation(443, view), 0);
  EXPECT_EQ(justification(), 4u | 32u);
}

// Mirror Text reflects a selected text, a selected dimensioner's label or the
// label of the dimensioner being placed in x; nothing else changes.
TEST_F(EditModeOptions, MirrorTextReflectsTheTextOrTheLabelInX) {
  const pl3::Transform turned = {3, 5, 7, 11, 13, 17};
  const pl3::Transform mirrored = {-3, -5, 7, 11, 13, 17};
  auto same = [](const pl3::Transform& x, const pl3::Transform& y) { return std::memcmp(&x, &y, sizeof x) == 0; };
  std::vector<std::uint8_t> text(offsetof(TextPayload, text) + 2);
  reinterpret_cast<TextPayload*>(text.data())->textTransform = turned;
  SelectionInfo* s = Select(Type_Text, text.data(), static_cast<std::uint32_t>(text.size()));
  EXPECT_EQ(PerformFrameCommandOperation(2040, view), 1);
  EXPECT_TRUE(same(Working<TextPayload>(s).textTransform, mirrored));
  EXPECT_TRUE(same(reinterpret_cast<TextPayload*>(TowerPayload(s->original))->textTransform, turned));

  for (std::uint16_t type : {Type_Dimensioner, Type_AngleDimensioner}) {
    window->SelectionList = nullptr;
    DimensionerPayload d{};
    d.labelTransform = turned;
    d.head.transform = turned;
    SelectionInfo* dim = Select(type, &d, sizeof d);
    EXPECT_EQ(PerformFrameCommandOperation(2040, view), 1) << type;
    EXPECT_TRUE(same(Working<DimensionerPayload>(dim).labelTransform, mirrored)) << type;
    EXPECT_TRUE(same(Working<DimensionerPayload>(dim).head.transform, turned)) << type << ": only the label turns";
  }
  // Two selected: nothing.
  DimensionerPayload d{};
  d.labelTransform = turned;
  SelectionInfo* other = Select(Type_Dimensioner, &d, sizeof d);
  EXPECT_EQ(PerformFrameCommandOperation(2040, view), 0);
  EXPECT_TRUE(same(Working<DimensionerPayload>(other).labelTransform, turned));

  // The dimensioner being placed, in mode 78 only.
  window->SelectionList = nullptr;
  EntityRecord* r = NewEntityRecord().release();
  InitialiseEntityRecord(r, Type_Dimensioner, &pl3::kIdentityTransform, 1);
  r->as<DimensionerPayload>().labelTransform = turned;
  window->PendingRecord = r;
  window->EditMode = 77;
  EXPECT_EQ(PerformFrameCommandOperation(2040, view), 0);
  EXPECT_TRUE(same(r->as<DimensionerPayload>().labelTransform, turned));
  window->EditMode = 78;
  EXPECT_EQ(PerformFrameCommandOperation(2040, view), 1);
  EXPECT_TRUE(same(r->as<DimensionerPayload>().labelTransform, mirrored));
}

// Snap In / Snap Out moves the arrows of a linear dimensioner between inside
// and outside; an angle dimensioner has no such arrows.
TEST_F(EditModeOptions, SnapInOutFlipsTheArrowsOfALinearDimensioner) {
  DimensionerPayload d{};
  d.options = 0x10;
  SelectionInfo* s = Select(Type_Dimensioner, &d, sizeof d);
  EXPECT_EQ(PerformFrameCommandOperation(2302, view), 1);
  EXPECT_EQ(Working<DimensionerPayload>(s).options, 0x11u);
  EXPECT_EQ(PerformFrameCommandOperation(2302, view), 1);
  EXPECT_EQ(Working<DimensionerPayload>(s).options, 0x10u);
  window->SelectionList = nullptr;
  SelectionInfo* angle = Select(Type_AngleDimensioner, &d, sizeof d);
  EXPECT_EQ(PerformFrameCommandOperation(2302, view), 0);
  EXPECT_EQ(Working<DimensionerPayload>(angle).options, 0x10u);
  // The dimensioner being placed.
  window->SelectionList = nullptr;
  EntityRecord* r = NewEntityRecord().release();
  InitialiseEntityRecord(r, Type_Dimensioner, &pl3::kIdentityTransform, 1);
  window->PendingRecord = r;
  window->EditMode = 77;
  EXPECT_EQ(PerformFrameCommandOperation(2302, view), 1);
  EXPECT_EQ(r->as<DimensionerPayload>().options, kDimensionerArrowsOutside);
}

// Edit Text opens the label dialog of the selected dimensioner's kind on its
// working copy.
TEST_F(EditModeOptions, EditTextRunsTheLabelDialogOnTheWorkingCopy) {
  DimensionerPayload d{};
  d.unit = 2;
  SelectionInfo* s = Select(Type_Dimensioner, &d, sizeof d);
  pl3::SetDialogHook(kDimensionerLabelDialog, [](HWND dialog) {
    pl3::TypeDialogText(dialog, kDimensionerLabelEdit, "W = @dim");
    pl3::ClickDialogButton(dialog, kDimensionerThouButton);
    pl3::ClickDialogButton(dialog, IDOK);
  });
  EXPECT_EQ(PerformFrameCommandOperation(2303, view), 1);
  EXPECT_EQ(GetDimensionerTemplate(s->workingCopy, nullptr), "W = @dim");
  EXPECT_EQ(Working<DimensionerPayload>(s).unit, 0u);
  bool present = true;
  GetDimensionerTemplate(s->original, &present);
  EXPECT_FALSE(present) << "the design's item waits for the accept";

  static bool angleDialog = false;
  pl3::SetDialogHook(kAngleDimensionerLabelDialog, [](HWND dialog) {
    angleDialog = true;
    pl3::ClickDialogButton(dialog, IDCANCEL);
  });
  window->SelectionList = nullptr;
  Select(Type_AngleDimensioner, &d, sizeof d);
  EXPECT_EQ(PerformFrameCommandOperation(2303, view), 1);
  EXPECT_TRUE(angleDialog);
  pl3::ClearDialogHooks();
  // A text is no dimensioner: no dialog.
  window->SelectionList = nullptr;
  std::vector<std::uint8_t> text(offsetof(TextPayload, text) + 2);
  Select(Type_Text, text.data(), static_cast<std::uint32_t>(text.size()));
  EXPECT_EQ(PerformFrameCommandOperation(2303, view), 0);
}

}  // namespace
