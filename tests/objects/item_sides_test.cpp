#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "edit/window_data.h"
#include "objects/graphic_records.h"
#include "objects/item_sides.h"
#include "objects/layer_sets.h"
#include "objects/type_codes.h"
#include "platform/reset_hooks.h"
#include "store/tower.h"

// The drawing code's boxes (the payload's layer in the box, the transform's
// x scale sign in xmax) and the engine's change hook.
namespace {
std::vector<const Tower*> gStored;
int gBoxes = 0;
void ResetFakes() {
  gStored.clear();
  gBoxes = 0;
}
const bool gRegistered = pl3::RegisterGlobalReset(&ResetFakes);
}  // namespace

void GetEntityDataBox(const void* payload, std::uint16_t type, pl3::Box* box, const pl3::Transform* t) {
  ++gBoxes;
  *box = {static_cast<const std::uint8_t*>(payload)[0], type, t->a < 0 ? -1 : 1, 0};
}
void NotifyEntityStored(const Tower* entity) { gStored.push_back(entity); }

namespace {

class ItemSides : public testing::Test {
 protected:
  void SetUp() override {
    BuildDefaultLayerTable(window_.layerTable, kEditorPcb);
    window_.TopLayer = 1;
    window_.BottomLayer = 32;
    ActiveWindowData = &window_;
    design_ = NewTower(0);
    LastLevel(design_).typeCode = Type_PCB;
    InsertAtLastLevel(design_, 0);
  }
  void TearDown() override {
    for (Tower*& t : items_) ReleaseTower(&t);
    ReleaseTower(&design_);
  }
  template <typename Payload>
  Tower* Insert(std::uint16_t code, const Payload& p) {
    items_.push_back(InsertEntity(design_, sizeof p, code, &p));
    return items_.back();
  }
  Tower* Text(std::uint8_t layer) {
    auto record = NewEntityRecord();
    TextPayload& text = record->as<TextPayload>();
    text.head.layer = layer;
    text.textTransform = pl3::kIdentityTransform;
    std::strcpy(text.text, "R1");
    items_.push_back(InsertEntity(design_, TextStoredSize(2), Type_Text, record->payload));
    return items_.back();
  }
  template <typename Payload>
  Payload& PayloadOf(Tower* t) {
    return *reinterpret_cast<Payload*>(TowerPayload(t));
  }
  Tower* Instance(std::uint32_t flags) {
    Tower* instance = InsertEmptyEntity(design_, Type_SymbolInstance);
    items_.push_back(instance);
    const std::uint32_t info[2] = {flags, 0};
    Tower* i = InsertEntity(instance, sizeof info, Type_SymbolInstanceInfo, info);
    ReleaseTower(&i);
    return instance;
  }
  std::uint32_t InstanceFlags(Tower* instance) {
    return *static_cast<std::uint32_t*>(GetEntityData(instance, Type_SymbolInstanceInfo));
  }
  CurrentWindowData window_{};
  Tower* design_ = nullptr;
  std::vector<Tower*> items_;
};

TEST_F(ItemSides, OppositeSidesByLayerPairs) {
  struct Case {
    std::uint8_t a, b;
    int opposite;
  };
  const Case cases[] = {{1, 32, 1}, {32, 1, 1}, {1, 2, 0}, {1, 1, 0}, {2, 31, 1}, {0, 33, 1}, {36, 37, 1}, {34, 36, 0}};
  for (const Case& c : cases) EXPECT_EQ(LayersOnOppositeSides(c.a, c.b), c.opposite) << int(c.a) << " " << int(c.b);
}

TEST_F(ItemSides, TextMirrorsOnlyWhenItCrossesSides) {
  Tower* text = Text(1);
  EXPECT_EQ(SetEntityLayer(text, 2), 1);
  EXPECT_EQ(PayloadOf<TextPayload>(text).head.layer, 2);
  EXPECT_EQ(PayloadOf<TextPayload>(text).textTransform.a, pl3::kFixedOne);
  EXPECT_EQ(SetEntityLayer(text, 32), 1);
  EXPECT_EQ(PayloadOf<TextPayload>(text).textTransform.a, -pl3::kFixedOne);
  EXPECT_EQ(PayloadOf<TextPayload>(text).textTransform.d, pl3::kFixedOne);
}

TEST_F(ItemSides, GraphicsTakeTheLayerAndOtherTypesRefuse) {
  LinePayload line{};
  line.head.layer = 1;
  Tower* track = Insert(Type_Track, line);
  EXPECT_EQ(SetEntityLayer(track, 5), 1);
  EXPECT_EQ(PayloadOf<LinePayload>(track).head.layer, 5);
  Tower* hole = Insert(Type_Hole, HolePayload{});
  EXPECT_EQ(SetEntityLayer(hole, 5), 0);
  EXPECT_EQ(TowerPayload(hole)[0], 0);
}

TEST_F(ItemSides, SymbolInstanceChangesSideOnlyWhenSentAcross) {
  Tower* top = Instance(0);
  EXPECT_EQ(SetEntityLayer(top, 1), 0);
  EXPECT_EQ(InstanceFlags(top), 0u);
  EXPECT_EQ(window_.InsertionTransform.a, pl3::kFixedOne);
  EXPECT_EQ(SetEntityLayer(top, 32), 0);
  EXPECT_EQ(InstanceFlags(top), 2u);
  EXPECT_EQ(window_.InsertionTransform.a, -pl3::kFixedOne);
  Tower* bottom = Instance(2);
  ReplaceEntityLayer(bottom, 32, 1);
  EXPECT_EQ(InstanceFlags(bottom), 2u) << "already on the bottom";
  ReplaceEntityLayer(bottom, 1, 32);
  EXPECT_EQ(InstanceFlags(bottom), 0u);
  EXPECT_EQ(window_.CurrentLayer, 1);
}

TEST_F(ItemSides, ReplaceMovesOnlyItemsOnTheOldLayer) {
  LinePayload line{};
  line.head.layer = 3;
  Tower* track = Insert(Type_Track, line);
  ReplaceEntityLayer(track, 4, 2);
  EXPECT_EQ(PayloadOf<LinePayload>(track).head.layer, 3);
  EXPECT_EQ(window_.CurrentLayer, 4);
  ReplaceEntityLayer(track, 4, 3);
  EXPECT_EQ(PayloadOf<LinePayload>(track).head.layer, 4);
  Tower* cut = Insert(Type_LinkedCut, line);
  ReplaceEntityLayer(cut, 4, 3);
  EXPECT_EQ(PayloadOf<LinePayload>(cut).head.layer, 3) << "linked cuts keep their layer";
}

TEST_F(ItemSides, FlipSendsItemsInHandToTheOppositeLayer) {
  LinePayload line{};
  line.head.layer = 1;
  Tower* track = Insert(Type_Track, line);
  EXPECT_EQ(FlipInsertionToOtherSide(track), 1);
  EXPECT_EQ(PayloadOf<LinePayload>(track).head.layer, 32);
  EXPECT_EQ(window_.CurrentLayer, 32);
  EXPECT_EQ(window_.PlacementBox.xmin, 32) << "the box is recomputed from the flipped record";

  ArcPayload arc{};
  arc.head.layer = 1;
  arc.startX = 10;
  arc.endX = -10;
  arc.startOctant = 1;
  arc.endOctant = 5;
  Tower* a = Insert(Type_Arc, arc);
  EXPECT_EQ(FlipInsertionToOtherSide(a), 1);
  EXPECT_EQ(PayloadOf<ArcPayload>(a).startX, -10);
  EXPECT_EQ(PayloadOf<ArcPayload>(a).endX, 10);
  EXPECT_EQ(PayloadOf<ArcPayload>(a).startOctant, 5);
  EXPECT_EQ(PayloadOf<ArcPayload>(a).head.layer, 32);

  Tower* text = Text(1);
  EXPECT_EQ(FlipInsertionToOtherSide(text), 0);
  EXPECT_EQ(PayloadOf<TextPayload>(text).head.layer, 32);
  EXPECT_EQ(window_.PlacementBox.xmax, -1) << "a text crossing sides is boxed mirrored";

  Tower* hole = Insert(Type_Hole, HolePayload{});
  gBoxes = 0;
  EXPECT_EQ(FlipInsertionToOtherSide(hole), 1);
  EXPECT_EQ(gBoxes, 1);
  EXPECT_EQ(TowerPayload(hole)[0], 0);
}

TEST_F(ItemSides, BareRecordsFollowTheNextLayerRing) {
  auto record = NewEntityRecord();
  record->head().layer = 1;
  EXPECT_EQ(FlipGraphicRecordSide(record.get(), Type_Track), 1);
  EXPECT_EQ(record->head().layer, 2);
  EXPECT_EQ(window_.CurrentLayer, 2);
  record->head().layer = 32;
  EXPECT_EQ(FlipGraphicRecordSide(record.get(), Type_Track), 1);
  EXPECT_EQ(record->head().layer, 1);
  EXPECT_EQ(FlipGraphicRecordSide(record.get(), Type_Hole), 0);
}

TEST_F(ItemSides, StoredCodesAndLengths) {
  struct Case {
    std::uint16_t recordType;
    std::uint8_t state;
    std::uint16_t code;
    std::uint32_t payloadSize;  // rounded up to 16 by the store
  };
  const Case cases[] = {
      {Type_Track, kStatePlatedSlot, Type_PlatedSlot, 80},
      {Type_Track, 0, Type_Track, 80},
      {Type_Arc, kStateOutlineArc, Type_BoardOutlineArc, 128},
      {Type_Circle, 0, Type_Circle, 64},
      {Type_Rectangle, 0, Type_Rectangle, 96},
  };
  for (const Case& c : cases) {
    auto record = NewEntityRecord();
    record->header.recordType = c.recordType;
    record->header.state = c.state;
    Tower* stored = StoreGraphicRecord(design_, record.get(), 0);
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(TowerEntity(stored)->typeCode, c.code);
    EXPECT_EQ(TowerEntity(stored)->payloadSize, c.payloadSize) << c.code;
    ReleaseTower(&stored);
  }
  EXPECT_TRUE(gStored.empty());

  auto text = NewEntityRecord();
  text->header.recordType = Type_Text;
  std::strcpy(text->as<TextPayload>().text, "a text of twenty-six chars");
  Tower* stored = StoreGraphicRecord(design_, text.get(), 1);
  EXPECT_EQ(TowerEntity(stored)->payloadSize, 144u) << "105 + 26 rounded up";
  EXPECT_STREQ(reinterpret_cast<const char*>(TowerPayload(stored)) + 104, "a text of twenty-six chars");
  EXPECT_EQ(gStored, std::vector<const Tower*>{stored});
  ReleaseTower(&stored);
}

}  // namespace
