#include "app/frame_operations.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/frame_editing_commands.h"
#include "app/frame_hub_seams.h"
#include "draw/display_list.h"
#include "edit/engine_seams.h"
#include "edit/key_command_seams.h"
#include "edit/selection.h"
#include "edit/window_data.h"
#include "objects/engine_item_seams.h"
#include "objects/entity_record.h"
#include "objects/graphic_records.h"
#include "objects/info_boxes.h"
#include "objects/selection_seams.h"
#include "objects/size_table.h"
#include "objects/type_codes.h"
#include "platform/user.h"
#include "store/tower.h"
#include "tests/app/frame_operation_fakes.h"
#include "tests/store/tower_test_support.h"

namespace {

constexpr std::int32_t C = 1'000'000'000;

// An active PCB window over an empty board with two via sizes.
class FrameOperations : public testing::Test {
 protected:
  void SetUp() override {
    towertest::EnsureStoreStarted();
    opfakes::Calls().clear();
    opfakes::Result() = 1;
    design = towertest::NewTopLevelEntity(Type_PCB);
    window = std::make_unique<CurrentWindowData>();
    window->editorKind = kEditorPcb;
    window->design = design;
    window->Zoom = 1000;
    for (int layer = 0; layer < 40; ++layer) window->layerTable.layers[layer].flags = 0x7;
    window->TopLayer = 1;
    window->BottomLayer = 32;
    sizes = NewSizeTable();
    SizeEntry via{};
    via.flags = 1;
    via.value1 = 300'000;
    via.value2 = 150'000;
    std::strcpy(via.name, "V1");
    (*sizes)[SizeKind_Vias].entries.push_back(via);
    window->sizeTable = sizes.get();
    display = NewDisplayList();
    window->Display = display;
    ActiveWindowData = window.get();
    view = opfakes::NewTestView();
    window->Window = view;
  }
  void TearDown() override {
    delete window->PendingRecord;
    window->PendingRecord = nullptr;
    window->sizeTable = nullptr;
    window->Display = nullptr;
    FreeDisplayList(display);
    DestroyWindow(view);
    ActiveWindowData = nullptr;
    DeleteEntity(design);
    ReleaseTower(&design);
  }

  std::size_t Count(std::uint16_t code) { return opfakes::CountChildren(design, code); }
  void InfoBoxWithText(const char* text) {
    Tower* box = CreateInfoBox(design, text, 1);
    ReleaseTower(&box);
  }
  // A track being placed from (C, C) to the end.
  void PlaceTrack(pl3::Point end) {
    EntityRecord* r = NewEntityRecord().release();
    InitialiseEntityRecord(r, Type_Track, &pl3::kIdentityTransform, 1);
    auto& t = r->as<LinePayload>();
    t.x1 = t.y1 = C;
    t.x2 = end.x;
    t.y2 = end.y;
    window->PendingRecord = r;
    window->EditMode = 1;
  }

  Tower* design = nullptr;
  std::unique_ptr<CurrentWindowData> window;
  std::unique_ptr<SizeTable> sizes;
  DisplayList* display = nullptr;
  HWND view = nullptr;
};

// Every id the hub hands to its operations reaches one: the rows of the hub
// and the commands it calls them for itself.
TEST(FrameOperationTable, EveryIdTheHubPerformsHasAnOperation) {
  std::vector<UINT> ids = {2256, 2257, 2258, 2336, 2337, 2356, 2582, 2583, 2584, 2661, 2663, 2664};
  for (UINT id = 1; id < 0x10000; ++id)
    if (FindFrameOperationRow(id)) ids.push_back(id);
  ASSERT_GT(ids.size(), 100u);
  for (UINT id : ids) EXPECT_NE(FrameOperationName(id), nullptr) << id;
  EXPECT_EQ(FrameOperationName(286), nullptr) << "Save is only forwarded";
  EXPECT_EQ(PerformFrameCommandOperation(286, nullptr), 0);
}

// The ids whose dialog or operation is a later owner's reach that owner's
// entry point with the id, and its answer is the operation's.
TEST_F(FrameOperations, IdsOfOtherOwnersReachTheirEntryPoint) {
  struct Row {
    UINT id;
    const char* owner;
  };
  const Row rows[] = {
      {459, "RunConfigurationSheet"},  {307, "RunSettingsDialogCommand"}, {340, "RunSettingsDialogCommand"},
      {304, "RunSettingsDialogCommand"}, {2017, "RunOptionDialogCommand"}, {2359, "RunOptionDialogCommand"},
      {2394, "RunOptionDialogCommand"}, {2348, "RunOptionDialogCommand"}, {2548, "RunSelectNetCommand"},    {2427, "RunSelectNetCommand"},    {302, "RunLayerDialogCommand"},
      {2260, "RunLayerDialogCommand"},  {2255, "RunLayerDialogCommand"},  {2426, "RunFrameDialogCommand"},
      {2603, "RunFrameDialogCommand"},  {2430, "RunFrameDialogCommand"},  {2539, "RunSmallDialogCommand"},
      {2594, "RunSmallDialogCommand"},  {2425, "RunPl2GhostCommand"},     {2658, "RunOutputCommand"},
      {2571, "RunOutputCommand"},       {2690, "RunOutputCommand"},       {2599, "RunOutputCommand"},
      {2617, "RunOutputCommand"},       {2619, "RunOutputCommand"},       {2621, "RunOutputCommand"},
      {2545, "RunMacroBlockCommand"},   {2546, "RunMacroBlockCommand"},   {2285, "RunPlaneNetCommand"},
      {2382, "RunLibraryEditorCommand"}, {2383, "RunLibraryEditorCommand"},
      {2674, "RunLibraryEditorCommand"}, {2482, "RunBoardSymbolCommand"},
      {2535, "RunBoardSymbolCommand"},  {448, "RunObjectInformationCommand"}, {2553, "RunRatsnestCommand"},     {2554, "RunRatsnestCommand"},
      {2404, "RunSchematicEditorCommand"},
      {2582, "RunAutorouterCommand"}, {2583, "RunAutorouterCommand"},
      {2584, "RunAutorouterCommand"},   {2661, "RunAutorouterCommand"},   {2663, "RunAutorouterCommand"},
      {2664, "RunAutorouterCommand"},
  };
  for (const Row& row : rows) {
    opfakes::Calls().clear();
    opfakes::Result() = 1;
    EXPECT_EQ(PerformFrameCommandOperation(row.id, view), 1) << row.id;
    ASSERT_EQ(opfakes::Calls().size(), 1u) << row.id;
    EXPECT_EQ(opfakes::Calls()[0].name, row.owner) << row.id;
    EXPECT_EQ(opfakes::Calls()[0].id, row.id);
    opfakes::Calls().clear();
    opfakes::Result() = 0;
    EXPECT_EQ(PerformFrameCommandOperation(row.id, view), 0) << row.id << ": a cancelled dialog ran nothing";
  }
}

TEST_F(FrameOperations, DrcErrorStepsOfASchematicAreTheSchematicEditors) {
  window->editorKind = kEditorSchematic;
  for (UINT id : {2405u, 2406u}) {
    opfakes::Calls().clear();
    PerformFrameCommandOperation(id, view);
    ASSERT_EQ(opfakes::Calls().size(), 1u) << id;
    EXPECT_EQ(opfakes::Calls()[0].name, "RunSchematicEditorCommand");
  }
  window->editorKind = kEditorPcb;
  opfakes::Calls().clear();
  const int beeps = pl3::BeepCount();
  EXPECT_EQ(PerformFrameCommandOperation(2405, view), 0) << "a board without markers";
  EXPECT_TRUE(opfakes::Calls().empty());
  EXPECT_EQ(pl3::BeepCount(), beeps + 1);
}

// Without an editor window the operations of the editing engine do nothing.
TEST_F(FrameOperations, EngineOperationsNeedAWindow) {
  InfoBoxWithText("kept");
  for (UINT id : {2270u, 2268u, 2269u, 438u, 2256u, 435u, 436u, 422u, 427u, 421u, 2040u, 2360u, 2432u, 2447u,
                  2253u, 2254u, 2538u, 449u, 451u, 2264u, 2379u, 266u, 2405u, 2415u, 2505u}) {
    EXPECT_EQ(PerformFrameCommandOperation(id, nullptr), 0) << id;
  }
  EXPECT_TRUE(HasInfoBoxOfKind(design, 0));
  EXPECT_TRUE(opfakes::Calls().empty());
}

TEST_F(FrameOperations, RemoveInfoBoxesEmptiesTheDesign) {
  InfoBoxWithText("one");
  InfoBoxWithText("two");
  ASSERT_TRUE(HasInfoBoxOfKind(design, 0));
  EXPECT_EQ(PerformFrameCommandOperation(2264, view), 1);
  EXPECT_FALSE(HasInfoBoxOfKind(design, 0));
}

TEST_F(FrameOperations, InsertViaGoesToTheFreeEndOfTheTrackBeingPlaced) {
  PlaceTrack({C + 2'000'000, C + 1'000'000});
  EXPECT_EQ(PerformFrameCommandOperation(2432, view), 1);
  ASSERT_EQ(Count(Type_Hole), 1u);
  Tower* via = GetChildTower(design, Type_Hole);
  ASSERT_TRUE(via && FindNextEntity(via));
  const auto* hole = reinterpret_cast<const HolePayload*>(TowerPayload(via));
  EXPECT_EQ(hole->hole.centreX, C + 2'000'000);
  EXPECT_EQ(hole->hole.centreY, C + 1'000'000);
  ReleaseTower(&via);
}

TEST_F(FrameOperations, InsertViaWithoutATrackEndBeepsAndPlacesNothing) {
  const int beeps = pl3::BeepCount();
  EXPECT_EQ(PerformFrameCommandOperation(2432, view), 0);
  EXPECT_EQ(Count(Type_Hole), 0u);
  EXPECT_EQ(pl3::BeepCount(), beeps + 1);
  // No via size: the track end is there but no via is placed.
  (*sizes)[SizeKind_Vias].entries.clear();
  PlaceTrack({C + 2'000'000, C});
  EXPECT_EQ(PerformFrameCommandOperation(2432, view), 0);
  EXPECT_EQ(Count(Type_Hole), 0u);
  EXPECT_EQ(pl3::BeepCount(), beeps + 2);
}

// The picking tools of the Tools menu arm their mode from idle; the click
// in the view does the work, so nothing in the design changes yet.
TEST_F(FrameOperations, PickingToolIdsArmTheirMode) {
  struct Row {
    UINT id;
    std::uint8_t mode;
  };
  const Row rows[] = {{2253, 54}, {2254, 53}, {2538, 112}, {2287, 73}, {2288, 72},  {451, 55},   {2351, 84},
                      {2442, 102}, {2410, 90}, {2415, 91},  {2431, 96}, {2420, 92},  {2421, 93},  {2422, 94},
                      {2423, 95},  {449, 44},  {2252, 52},  {2396, 88}, {2625, 114}};
  InfoBoxWithText("kept");
  for (const Row& row : rows) {
    window->EditMode = 0;
    EXPECT_EQ(PerformFrameCommandOperation(row.id, view), 1) << row.id;
    EXPECT_EQ(window->EditMode, row.mode) << row.id;
  }
  EXPECT_TRUE(opfakes::Calls().empty());
  EXPECT_TRUE(HasInfoBoxOfKind(design, 0));
  // Break and Join, Fix and Unfix switch into each other directly; another
  // tool's mode is kept.
  window->EditMode = 54;
  PerformFrameCommandOperation(2254, view);
  EXPECT_EQ(window->EditMode, 53);
  window->EditMode = 44;
  PerformFrameCommandOperation(2252, view);
  EXPECT_EQ(window->EditMode, 52);
  window->EditMode = 72;
  PerformFrameCommandOperation(2253, view);
  EXPECT_EQ(window->EditMode, 72);
}

// Next Layer and Flip Layer move the track being placed on to the layer
// that follows its own in the window's layer table.
TEST_F(FrameOperations, LayerCommandsMoveTheTrackBeingPlaced) {
  window->layerTable.layers[1].nextLayer = 32;
  for (UINT id : {428u, 2414u}) {
    PlaceTrack({C + 2'000'000, C});
    window->PendingRecord->as<LinePayload>().head.layer = 1;
    EXPECT_EQ(PerformFrameCommandOperation(id, view), 1) << id;
    EXPECT_EQ(window->PendingRecord->as<LinePayload>().head.layer, 32) << id;
    EXPECT_EQ(window->CurrentLayer, 32) << id;
    delete window->PendingRecord;
    window->PendingRecord = nullptr;
  }
  EXPECT_TRUE(opfakes::Calls().empty());
}

// Update Pad Stack with nothing selected beeps and asks for no pad stack.
TEST_F(FrameOperations, ToggleSecondariesTakesOnTheAttachedTracksThenLetsThemGo) {
  // Two tracks meeting at (C + 4,000,000, C); the first is selected and moved.
  auto store = [&](std::int32_t x1, std::int32_t x2, std::int32_t y2) {
    LinePayload t{};
    t.head.layer = 1;
    t.head.transform = pl3::kIdentityTransform;
    t.width = 5000;
    t.x1 = x1;
    t.y1 = C;
    t.x2 = x2;
    t.y2 = y2;
    return InsertEntity(design, sizeof t, Type_Track, &t);
  };
  Tower* moved = store(C, C + 4'000'000, C);
  Tower* attached = store(C + 4'000'000, C + 4'000'000, C + 3'000'000);
  SelectionInfo* primary = AddGraphicToSelection(&window->SelectionList, moved, 0, &pl3::kIdentityTransform, C, C);
  ASSERT_NE(primary, nullptr);
  primary->flags |= kSelectionPrimary;
  window->OriginalBlockOrigin = static_cast<pl3::Point*>(std::malloc(sizeof(pl3::Point)));
  *window->OriginalBlockOrigin = {C, C};
  window->BlockOrigin = {C, C};
  MoveSelectionArray(window->SelectionList, 1'000'000, 0);
  window->BlockOrigin = {C + 1'000'000, C};

  window->EditMode = 0;
  EXPECT_EQ(PerformFrameCommandOperation(438, view), 0) << "only while the selection is edited";
  EXPECT_EQ(CountSelections(window->SelectionList, 0), 1);

  // No secondaries yet: the selection goes back and takes on the attached track.
  window->EditMode = 39;
  EXPECT_EQ(PerformFrameCommandOperation(438, view), 1);
  ASSERT_EQ(CountSelections(window->SelectionList, 0), 2);
  EXPECT_EQ(CountSelections(window->SelectionList, 1), 1);
  const auto* copy = reinterpret_cast<const LinePayload*>(TowerPayload(primary->workingCopy));
  EXPECT_EQ(copy->x1, C) << "the move was reverted first";
  EXPECT_EQ(window->BlockOrigin.x, C);
  const SelectionInfo* secondary = primary->next;
  ASSERT_NE(secondary, nullptr);
  EXPECT_EQ(TowerEntity(secondary->original), TowerEntity(attached));
  EXPECT_EQ(secondary->grabbedPart, 1) << "held by the end on the moved track";
  EXPECT_EQ(Count(Type_Track), 4u) << "two originals, two working copies";

  // With secondaries: the other id lets them go, the attached track as it was.
  EXPECT_EQ(PerformFrameCommandOperation(2049, view), 1);
  EXPECT_EQ(CountSelections(window->SelectionList, 0), 1);
  EXPECT_EQ(window->SelectionList, primary);
  EXPECT_FALSE(TowerEntity(attached)->flags & 0x4) << "no longer selected";
  EXPECT_EQ(Count(Type_Track), 3u);
  const auto* kept = reinterpret_cast<const LinePayload*>(TowerPayload(attached));
  EXPECT_EQ(kept->x1, C + 4'000'000);
  EXPECT_EQ(kept->y2, C + 3'000'000);

  ClearSelectionArray(view);
  ReleaseTower(&moved);
  ReleaseTower(&attached);
}

TEST_F(FrameOperations, UpdatePadStackNeedsASelectedPadStack) {
  const int beeps = pl3::BeepCount();
  EXPECT_EQ(PerformFrameCommandOperation(2443, view), 1);
  EXPECT_EQ(pl3::BeepCount(), beeps + 1);
  EXPECT_TRUE(opfakes::Calls().empty());
}

TEST_F(FrameOperations, MirrorTextMirrorsTheStringBeingPlaced) {
  EntityRecord* r = NewEntityRecord().release();
  InitialiseEntityRecord(r, Type_Text, &pl3::kIdentityTransform, 1);
  window->PendingRecord = r;
  window->EditMode = 28;
  const pl3::Transform before = r->header.transform;
  EXPECT_EQ(PerformFrameCommandOperation(2040, view), 1);
  EXPECT_EQ(r->header.transform.a, -before.a);
  EXPECT_TRUE(opfakes::Calls().empty());
}

}  // namespace
