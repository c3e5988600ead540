#include "objects/net_ids.h"

#include <gtest/gtest.h>

#include "app/settings_block.h"
#include "platform/responder.h"
#include "walk_fixture.h"

using namespace walktest;

namespace {

std::vector<std::uint8_t> WithNets(std::uint32_t size, std::uint32_t offset, std::uint32_t first, std::uint32_t second) {
  std::vector<std::uint8_t> p = Item(0, size);
  std::memcpy(p.data() + offset, &first, 4);
  std::memcpy(p.data() + offset + 4, &second, 4);
  return p;
}

class NetIdTest : public WalkTest {
 protected:
  Tower* On(std::uint16_t code, const std::vector<std::uint8_t>& payload, const Tower* parent = nullptr) {
    Entity* e = Insert(parent ? parent : design, code, payload);
    return TowerOn(e, parent);
  }
  // A net of the design's netlist group holding `id` in its Net Info.
  Tower* Net(std::uint32_t id) {
    if (!netGroup) netGroup = InsertEntity(design, 0, Type_NetHierGroup, nullptr);
    Tower* net = InsertEntity(netGroup, 0, Type_Net, nullptr);
    const std::uint32_t info[2] = {id, 0};
    Tower* infoTower = InsertEntity(net, sizeof info, Type_NetInfo, info);
    ReleaseTower(&infoTower);
    return net;
  }
  void TearDown() override {
    ReleaseTower(&netGroup);
    WalkTest::TearDown();
  }
  Tower* netGroup = nullptr;
};

TEST_F(NetIdTest, ReadsAndWritesByType) {
  struct Case {
    std::uint16_t code;
    std::uint32_t size, offset;
    bool hasNets;
  };
  const Case cases[] = {
      {Type_Track, 68, 8, true},          {Type_Hole, 604, 8, true},
      {Type_PadStackLayerInfo, 44, 12, true}, {Type_PolygonKeepout, 80, 8, false},
      {Type_Wire, 72, 8, false},
  };
  for (const Case& c : cases) {
    Tower* t = On(c.code, WithNets(c.size, c.offset, 11, 22));
    EXPECT_EQ(GetEntityNetId(t, kNetIdFirst), c.hasNets ? 11u : 0u) << c.code;
    EXPECT_EQ(GetEntityNetId(t, kNetIdSecond), c.hasNets ? 22u : 0u) << c.code;
    EXPECT_EQ(SetEntityNetIds(t, kNetIdSecond, 5, 6), c.hasNets ? 1u : 0u) << c.code;
    if (c.hasNets) {
      EXPECT_EQ(GetEntityNetId(t, kNetIdFirst), 11u) << "only the second id is written";
      EXPECT_EQ(GetEntityNetId(t, kNetIdSecond), 6u);
    }
    ReleaseTower(&t);
  }
}

TEST_F(NetIdTest, PadStackInstanceInfoNeedsWritePermission) {
  Tower* t = On(Type_PadStackInstanceInfo, WithNets(276, 8, 1, 2));
  EXPECT_EQ(SetEntityNetIds(t, kNetIdFirst | kNetIdSecond, 7, 8), 0u);
  EXPECT_EQ(GetEntityNetId(t, kNetIdFirst), 1u);
  EXPECT_EQ(SetEntityNetIds(t, kNetIdFirst | kNetIdSecond | kNetIdPadWrite, 7, 8), 1u);
  EXPECT_EQ(GetEntityNetId(t, kNetIdSecond), 8u);
  ReleaseTower(&t);
}

TEST_F(NetIdTest, NetsAnswerTheirOwnIdAndNeverWrite) {
  Tower* net = Net(40);
  EXPECT_EQ(GetEntityNetId(net, kNetIdFirst), 40u);
  EXPECT_EQ(GetEntityNetId(net, kNetIdSecond), 0u);
  EXPECT_EQ(SetEntityNetIds(net, kNetIdFirst, 3, 0), 40u);
  EXPECT_EQ(GetEntityNetId(net, kNetIdFirst), 40u);
  // A net without Net Info gets one with the window's next id.
  window->NextNetId = 17;
  Tower* bare = InsertEntity(netGroup, 0, Type_Net, nullptr);
  EXPECT_EQ(GetEntityNetId(bare, kNetIdFirst), 17u);
  EXPECT_EQ(GetEntityNetId(bare, kNetIdFirst), 17u);
  EXPECT_EQ(NextNetId(), 18u);
  ReleaseTower(&bare);
  ReleaseTower(&net);
}

TEST_F(NetIdTest, GetNetTowerFindsTheNetInTheEditorsContainer) {
  Tower* n5 = Net(5);
  Tower* n6 = Net(6);
  Tower* track = On(Type_Track, WithNets(68, 8, 6, 0));
  Tower* found = GetEntityNetTower(track);
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(TowerEntity(found), TowerEntity(n6));
  ReleaseTower(&found);
  EXPECT_EQ(GetNetTower(track, 9), nullptr);

  // In a PCB symbol editor the nets are looked for under the symbol definition.
  window->editorKind = kEditorPcbSymbol;
  EXPECT_EQ(GetNetTower(track, 5), nullptr);
  ReleaseTower(&track);
  ReleaseTower(&n6);
  ReleaseTower(&n5);
}

TEST_F(NetIdTest, UnknownModeIsReportedButIdZeroIsNotSearched) {
  SettingsBlock settings{};
  settings.errorMask = 1;
  Settings = &settings;
  window->editorKind = kEditorSchematic;
  Tower* track = On(Type_Track, WithNets(68, 8, 0, 0));
  EXPECT_EQ(GetNetTower(track, 0), nullptr);
  EXPECT_TRUE(pl3::ResponderRecords().empty());
  EXPECT_EQ(GetNetTower(track, 3), nullptr);
  ASSERT_EQ(pl3::ResponderRecords().size(), 1u);
  EXPECT_EQ(pl3::ResponderRecords()[0].text, "Unknown mode");
  EXPECT_EQ(pl3::ResponderRecords()[0].caption, "GetNetTower");
  ReleaseTower(&track);
}

TEST_F(NetIdTest, SubNetsAreNumberedFromOne) {
  for (std::uint32_t expected = 1; expected <= 2; ++expected) {
    Tower* hier = CreateSubNetHier(design);
    ASSERT_NE(hier, nullptr);
    Tower* xref = GetChildTower(hier, Type_Xref);
    ASSERT_NE(FindNextEntity(xref), nullptr);
    EXPECT_EQ(towertest::WordAt(TowerEntity(xref), 0), expected);
    ReleaseTower(&xref);
    ReleaseTower(&hier);
  }
  EXPECT_EQ(towertest::WordAt(towertest::FirstOfCode(TowerEntity(design), Type_SubNetXrefHWM), 0), 2u);
}

}  // namespace
