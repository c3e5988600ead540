#include <gtest/gtest.h>

#include <cstdlib>

#include <string>
#include <vector>

#include "draw/item_search_seams.h"
#include "edit/box_walk_seams.h"
#include "edit/item_search_options.h"
#include "objects/design_helpers.h"
#include "objects/design_walks.h"
#include "tests/objects/walk_fixture.h"

namespace {

// Each visit and each seam call, in order: "<code>:<table value>" for a
// walked item, "holes <value>" for the hole passes, and so on.
std::vector<std::string> gLog;
std::uint32_t gSchematicState = 0;

std::int32_t RecordPass(const pl3::Transform*, Tower* entity, void*, std::uint8_t, std::uint8_t action, std::int32_t*) {
  const std::uint16_t code = TowerEntity(entity)->typeCode;
  gLog.push_back(std::to_string(code) + ":" + std::to_string(WalkTypeFlags[code]) +
                 (action ? "/" + std::to_string(action) : ""));
  return 1;
}

}  // namespace

void DrawBoxWalkHolePasses(const pl3::Box*, const Tower*, const pl3::Transform*, std::uint8_t) {
  gLog.push_back("holes " + std::to_string(WalkTypeFlags[Type_Hole]));
}
void PrepareBoxWalkPlaneFills(const Tower*) { gLog.push_back("plane fills"); }
void SetSchematicDrawMode(std::uint32_t mode) { gLog.push_back("draw mode " + std::to_string(mode)); }
std::uint32_t SchematicDrawState() { return gSchematicState; }
void DrawSchematicExtraItems(const pl3::Box*, const Tower*, const pl3::Transform*, std::uint8_t) {
  gLog.push_back("extras");
}

namespace {

using Log = std::vector<std::string>;

class BoxSearch : public walktest::WalkTest {
 protected:
  void SetUp() override {
    walktest::WalkTest::SetUp();
    gLog.clear();
    gSchematicState = 0;
    WalkHandlers.drawWalkedEntity = &RecordPass;
    WalkHandlers.extendBoxByEntity = &RecordPass;
    window->HitMode = 0;
    window->HighlightWord = 0;
  }
  void Store(std::initializer_list<std::uint16_t> codes) {
    for (std::uint16_t code : codes) walktest::Insert(design, code, walktest::Item(code, 96));
  }
  Log Search(std::uint32_t mode) {
    const pl3::Box box{0, 0, 0x7FFFFFFF, 0x7FFFFFFF};
    FindItemsInBox(&box, design, &pl3::kIdentityTransform, mode);
    return gLog;
  }
};

TEST_F(BoxSearch, OneWalkForTheSimpleModesWithHolesAndSlotsMarked) {
  Store({Type_Track, Type_Hole, Type_PlatedSlot});
  EXPECT_EQ(Search(0), (Log{"1:1", "7:7", "46:7"}));
  gLog.clear();
  EXPECT_EQ(Search(3), (Log{"1:1/6", "7:7/6", "46:7/6"}));
  gLog.clear();
  EXPECT_EQ(Search(9), Log{}) << "an unknown mode walks nothing";
}

TEST_F(BoxSearch, APcbDrawWalkRunsItsPassesInTheDrawingOrder) {
  Store({Type_Track, Type_Hole, Type_Plane, Type_PlaneCutout, Type_ThermalBreak, Type_Datum, Type_LinkedCut,
         Type_PlatedSlot});
  window->HighlightWord = 1;
  window->HitMode = 1;
  const Log expected{
      // 1: what is not a graphic, holes marked 129
      "7:129",
      // 2: planes with their fills, then everything but planes, then the plane holes
      "plane fills", "8:1", "1:9", "7:9", "9:9", "10:9", "34:9", "35:9", "46:9", "holes 13",
      // 3: cutouts and linked cuts while highlighting
      "9:65", "35:65",
      // 4: the graphics; thermal breaks 5, datums 1
      "1:257", "10:5", "34:1", "46:257",
      // 5: tracks of the hit mode
      "1:65",
      // 6: slots twice, 7: the three hole passes
      "46:3", "46:5", "holes 5", "holes 3", "holes 65"};
  EXPECT_EQ(Search(1), expected);
}

TEST_F(BoxSearch, TheOptionalPassesFollowTheirFlagsAndOptions) {
  Store({Type_Track, Type_Plane, Type_PlaneCutout, Type_Datum});
  struct Case {
    std::uint32_t mode;
    std::uint32_t ghostFlags, highlight, planeHit, cut, datum;
    bool planes, cuts, datums;
  } cases[] = {
      {1, 0, 0, 0, 0, 0, true, false, true},           // mode 1 reads the window, not the options
      {1, 0x100000, 1, 1, 1, 1, false, true, true},    // ghost flag bit 20 leaves the planes out
      {2, 0x100000, 0, 1, 1, 1, true, true, true},     // mode 2 reads the options instead
      {2, 0, 1, 0, 0, 0, false, false, false},
  };
  for (const Case& c : cases) {
    gLog.clear();
    window->WalkFlags = c.ghostFlags;
    window->HighlightWord = c.highlight;
    BoxWalkPlaneHitOption = c.planeHit;
    BoxWalkCutOption = c.cut;
    BoxWalkDatumOption = c.datum;
    const Log log = Search(c.mode);
    auto has = [&](const std::string& s) { return std::find(log.begin(), log.end(), s) != log.end(); };
    const std::string suffix = c.mode == 2 ? "/24" : "";
    EXPECT_EQ(has("plane fills"), c.planes) << c.mode << " " << c.ghostFlags;
    EXPECT_EQ(has("9:65" + suffix), c.cuts) << c.mode << " " << c.highlight;
    EXPECT_EQ(has("34:1" + suffix), c.datums) << c.mode << " " << c.datum;
  }
}

TEST_F(BoxSearch, AWindowWithoutAPlaneOrNotAPcbSkipsThePlanePass) {
  Store({Type_Track});
  Search(1);
  EXPECT_EQ(std::count(gLog.begin(), gLog.end(), "plane fills"), 0);
  gLog.clear();
  Store({Type_Plane});
  window->editorKind = kEditorPcbSymbol;
  window->ShowLabels = 0;
  Search(1);
  EXPECT_EQ(std::count(gLog.begin(), gLog.end(), "plane fills"), 0);
}

TEST_F(BoxSearch, APcbSymbolEditorShowingLabelsEndsWithTheLabelsAndInfoBoxes) {
  Store({Type_Label});
  window->editorKind = kEditorPcbSymbol;
  BoxWalkInfoBoxPass = [](const pl3::Box*, const Tower*, int mode) { gLog.push_back("info boxes " + std::to_string(mode)); };
  for (std::uint8_t labels : {1, 0}) {
    gLog.clear();
    window->ShowLabels = labels;
    const Log log = Search(1);
    const Log tail = labels ? Log{"holes 65", "202:1", "info boxes 0"} : Log{"holes 5", "holes 3", "holes 65"};
    ASSERT_GE(log.size(), tail.size());
    EXPECT_EQ(Log(log.end() - static_cast<std::ptrdiff_t>(tail.size()), log.end()), tail) << int(labels);
  }
  BoxWalkInfoBoxPass = nullptr;
}

TEST_F(BoxSearch, ASchematicIsWalkedOnceInDrawModeFourWithItsExtras) {
  Store({Type_Wire, Type_Track});
  window->editorKind = kEditorSchematic;
  window->HitMode = 1;
  EXPECT_EQ(Search(1), (Log{"draw mode 4", "1:1", "28:1", "extras", "1:65", "draw mode 0"}));
  for (std::uint32_t state : {1u, 4u}) {
    gLog.clear();
    gSchematicState = state;
    window->HitMode = 0;
    EXPECT_EQ(Search(0), (Log{"draw mode 4", "1:1", "28:1", "draw mode 0"})) << state;
  }
}

// A drawing walk (mode 1 or 2) ends by freeing the temporary Towers its
// passes left; the single walk of the other modes leaves them.
TEST_F(BoxSearch, ADrawingWalkFreesTheTemporaryTowersAtTheEnd) {
  Store({Type_Track});
  for (std::uint32_t mode : {0u, 1u, 2u, 3u}) {
    auto* node = static_cast<TowerListNode*>(std::malloc(sizeof(TowerListNode)));
    node->tower = DuplicateTower(design);
    node->next = nullptr;
    TemporaryTowers = node;
    Search(mode);
    EXPECT_EQ(TemporaryTowers == nullptr, mode == 1 || mode == 2) << mode;
    FreeTemporaryTowers();
  }
}

}  // namespace
