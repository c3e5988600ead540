#include <gtest/gtest.h>

#include <string>

#include "objects/graphic_records.h"
#include "objects/type_codes.h"

namespace {

struct NameCase {
  std::uint16_t code;
  const char* name;
};

TEST(GetTypeName, TableOfCodes) {
  const NameCase cases[] = {
      {0, "Null Entry"},
      {1, "Track"},
      {9, "Plane Cutout"},
      {16, "16"},
      {17, "Via"},
      {21, "21"},
      {25, "25"},
      {26, "Symbol Pin"},
      {27, "27"},
      {30, "Schematic Symbol"},
      {32, "Schematic Symbol"},
      {33, "Symbol Pin"},
      {39, "Board Outline Line"},
      {100, "Not Used"},
      {106, "Symbol Instance"},
      {111, "Pad-Stack Layer Info"},
      {125, "Net list"},
      {143, "Repoint Table - Was"},
      {152, "Rats Nest Selection Info"},
      {200, "Bounding Box"},
      {229, "not used"},
      {242, "Don't Reload Group"},
      {248, "Duplcate Pad Name"},
      {278, "Vector Tower"},
      {300, "Font"},
      {302, "TextMetric"},
      {305, "FontGroup"},
      {306, "Net Conflicts"},
  };
  for (const NameCase& c : cases) EXPECT_STREQ(GetTypeName(c.code), c.name) << c.code;
}

TEST(GetTypeName, CodesOutsideTheTablesGiveTheirNumber) {
  for (std::uint16_t code : {40, 41, 49, 99, 153, 199, 279, 288, 299, 307, 399})
    EXPECT_EQ(std::string(GetTypeName(code)), std::to_string(code));
}

TEST(GetTypeName, CodesFrom400AreOneCharacterOfTheLowByte) {
  EXPECT_STREQ(GetTypeName(400 + 'A'), "A");
  EXPECT_STREQ(GetTypeName(400 + 256 + 'z'), "z");  // only the low byte counts
  EXPECT_STREQ(GetTypeName(400), "");
  EXPECT_STREQ(GetTypeName(20000), std::string(1, static_cast<char>((20000 - 400) & 0xFF)).c_str());
}

TEST(GetTypeName, EnumeratorsMatchTheirCodes) {
  EXPECT_EQ(Type_SymbolInstance, 106);
  EXPECT_EQ(Type_PadStackLayerInfo, 111);
  EXPECT_EQ(Type_NetList, 125);
  EXPECT_EQ(Type_InfoBoxType, 150);
  EXPECT_EQ(Type_XrefHWM, 225);
  EXPECT_EQ(Type_DuplcatePadName, 248);
  EXPECT_EQ(Type_PolygonWiringKeepout, 49);
  EXPECT_STREQ(GetTypeName(Type_DesignatorInfo), "Designator Info");
}

TEST(StoredCodeOfRecord, StateBitsChooseTheStoredKind) {
  auto record = NewEntityRecord();
  record->header.recordType = Type_Track;
  const std::pair<std::uint8_t, std::uint16_t> track[] = {
      {0, Type_Track},
      {kStateThermalBreak, Type_ThermalBreak},
      {kStateLinkedCut, Type_LinkedCut},
      {kStateStarEarth, Type_StarEarthTrack},
      {kStateBoardOutline, Type_BoardOutlineLine},
      {kStatePlatedSlot, Type_PlatedSlot},
      {kStateNonPlatedSlot, Type_NonPlatedSlot},
      // several bits: the first of 32, 8, 16, 64, 128, 4 decides
      {kStateThermalBreak | kStateBoardOutline, Type_BoardOutlineLine},
      {kStateStarEarth | kStateLinkedCut, Type_LinkedCut},
      {kStateNonPlatedSlot | kStatePlatedSlot | kStateThermalBreak, Type_PlatedSlot},
  };
  for (auto [state, code] : track) {
    record->header.state = state;
    EXPECT_EQ(StoredCodeOfRecord(*record), code) << int(state);
    EXPECT_EQ(EntityTypeFromFlags(*record), code) << int(state);
  }
  record->header.recordType = Type_Arc;
  record->header.state = kStateOutlineArc;
  EXPECT_EQ(StoredCodeOfRecord(*record), Type_BoardOutlineArc);
  record->header.recordType = Type_Polygon;
  record->header.state = kStatePlaneCutout;
  EXPECT_EQ(StoredCodeOfRecord(*record), Type_PlaneCutout);
  record->header.recordType = Type_PolygonViaKeepout;
  record->header.state = kStateKeepout;
  EXPECT_EQ(StoredCodeOfRecord(*record), Type_PolygonViaKeepout);
}

}  // namespace
