#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "objects/io_ports.h"
#include "objects/locator_dispatch.h"
#include "objects/payload_access.h"
#include "store/seams.h"
#include "walk_fixture.h"

namespace {

using walktest::Insert;

int TurnIndex(const pl3::Transform& t) {
  const pl3::Transform* turns[] = {&pl3::R0, &pl3::R90, &pl3::R180, &pl3::R270};
  for (int i = 0; i < 4; ++i)
    if (SameRotation(t, *turns[i])) return i;
  return -1;
}

TEST(IOPorts, RotationByWireAngle) {
  struct Case { int degrees, turn; };
  for (auto c : {Case{44, 3}, Case{45, 0}, Case{90, 0}, Case{135, 0}, Case{136, 1}, Case{224, 1}, Case{225, 2},
                 Case{315, 2}, Case{316, 3}, Case{0, 3}}) {
    EXPECT_EQ(TurnIndex(IOPortRotationForAngle(c.degrees)), c.turn) << c.degrees;
  }
}

TEST(IOPorts, PortTypeCyclesAndPointTurn) {
  LocatorPayload p{};
  std::vector<std::uint32_t> seen;
  for (int i = 0; i < 4; ++i) {
    CycleIOPortType(&p);
    seen.push_back(p.portType);
  }
  EXPECT_EQ(seen, (std::vector<std::uint32_t>{1, 2, 0, 1}));
  p.portType = 7;  // a damaged value comes back into the cycle
  CycleIOPortType(&p);
  EXPECT_LT(p.portType, 3u);

  pl3::Transform t = pl3::R90;
  t.tx = 1000;
  t.ty = 2000;
  std::int32_t x = 1100, y = 2000;
  RotateXYAboutOrigin(&x, &y, t);
  EXPECT_EQ(x, 1000);
  EXPECT_EQ(y, 2100);
  pl3::Transform moved = pl3::kIdentityTransform;
  moved.tx = 5;
  x = 7, y = 9;
  RotateXYAboutOrigin(&x, &y, moved);
  EXPECT_EQ(x, 7);
  EXPECT_EQ(y, 9);
}

class IOPortFit : public walktest::WalkTest {
 protected:
  void Wire(std::uint16_t code, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
    std::vector<std::uint8_t> w(72, 0);
    WriteI32(w.data(), 52, x1);
    WriteI32(w.data(), 56, y1);
    WriteI32(w.data(), 60, x2);
    WriteI32(w.data(), 64, y2);
    Insert(design, code, w);
  }
};

TEST_F(IOPortFit, FollowsTheOneWireEndingAtThePoint) {
  LocatorPayload port{};
  port.kind = kLocatorIOPort;
  port.x = 1000;
  port.y = 1000;
  port.head.transform = pl3::R180;
  Wire(Type_Wire, 0, 0, 1000, 1000);  // arrives at 45 degrees
  Wire(Type_Wire, 5000, 5000, 6000, 6000);
  ASSERT_EQ(FitIOPortToWires(&port, design), 1);
  EXPECT_EQ(TurnIndex(port.head.transform), 0);

  LocatorPayload other = port;
  other.x = 2000, other.y = 0;
  Wire(Type_Bus, 2000 + 1000, -966, 2000, 0);  // towards the point at 136 degrees (rounded)
  ASSERT_EQ(FitIOPortToWires(&other, design), 1);
  EXPECT_EQ(TurnIndex(other.head.transform), 1);

  // A second end at the first point: the rotation stays.
  Wire(Type_Bus, 1000, 1000, 1000, 0);
  port.head.transform = pl3::R180;
  EXPECT_EQ(FitIOPortToWires(&port, design), 0);
  EXPECT_EQ(TurnIndex(port.head.transform), 2);
  // No end at all.
  LocatorPayload lonely = port;
  lonely.x = 99;
  EXPECT_EQ(FitIOPortToWires(&lonely, design), 0);
}

TEST_F(IOPortFit, SymbolMarkersThroughDefinitionsAndRecords) {
  Tower* special = InsertEntity(design, 8, 25, std::vector<std::uint8_t>(8).data());
  Insert(special, kTypeSpecialFunctionMarker, 1);
  Tower* graphic = InsertEntity(design, 8, 25, std::vector<std::uint8_t>(8).data());
  Insert(graphic, kTypeNetNameGraphicMarker, 1);
  Tower* plain = InsertEntity(design, 8, 25, std::vector<std::uint8_t>(8).data());

  auto placed = [&](const Tower* definition, std::uint32_t ref) {
    Tower* symbol = InsertEntity(design, 8, 30, std::vector<std::uint8_t>(8).data());
    std::vector<std::uint8_t> record(12, 0);
    WriteU32(record.data(), 4, definition ? NodeRefOf(TowerEntity(definition)) : ref);
    Insert(symbol, Type_SchematicSymbol, record);
    return symbol;
  };
  Tower* usesSpecial = placed(special, 0);
  Tower* usesGraphic = placed(graphic, 0);
  Tower* dangling = placed(nullptr, 0x12345670);

  EXPECT_EQ(IsSpecialFunctionSymbol(special), 1);
  EXPECT_EQ(IsNetNameGraphicSymbol(special), 0);
  EXPECT_EQ(IsNetNameGraphicSymbol(graphic), 1);
  EXPECT_EQ(IsSpecialFunctionSymbol(plain), 0);
  EXPECT_EQ(IsSpecialFunctionSymbol(usesSpecial), 1);
  EXPECT_EQ(IsNetNameGraphicSymbol(usesSpecial), 0);
  EXPECT_EQ(IsNetNameGraphicSymbol(usesGraphic), 1);
  Tower* record = GetChildTower(usesGraphic, Type_SchematicSymbol);
  ASSERT_TRUE(FindNextEntity(record));
  EXPECT_EQ(IsNetNameGraphicSymbol(record), 1);
  // A reference to nothing in the design, and an entity of another type.
  EXPECT_EQ(IsSpecialFunctionSymbol(dangling), 0);
  Entity* track = Insert(design, Type_Track, 3);
  Tower* t = TowerOn(track);
  Insert(t, kTypeSpecialFunctionMarker, 1);
  EXPECT_EQ(IsSpecialFunctionSymbol(t), 0);
  for (Tower** x : {&record, &t, &usesSpecial, &usesGraphic, &dangling, &special, &graphic, &plain}) ReleaseTower(x);
}

}  // namespace
