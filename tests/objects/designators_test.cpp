#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "objects/designators.h"
#include "platform/responder.h"
#include "walk_fixture.h"

namespace {

class Designators : public walktest::WalkTest {
 protected:
  // A symbol instance whose designator group holds the texts, oldest first.
  void Symbol(std::initializer_list<const char*> texts) {
    Tower* symbol = InsertEntity(design, 8, Type_SymbolInstance, std::vector<std::uint8_t>(8).data());
    Tower* group = InsertEmptyEntity(symbol, Type_Designator);
    for (const char* t : texts) SetDesignatorText(group, t);
    ReleaseTower(&group);
    ReleaseTower(&symbol);
  }
  std::string Next(const char* text) {
    char* s = FindNextDesignatorString(text, design);
    std::string out = s ? s : "(null)";
    std::free(s);
    return out;
  }
};

TEST_F(Designators, StoredUpperCaseNewestCounts) {
  Tower* symbol = InsertEntity(design, 8, Type_SymbolInstance, std::vector<std::uint8_t>(8).data());
  Tower* group = InsertEmptyEntity(symbol, Type_Designator);
  EXPECT_EQ(GetDesignatorText(group), nullptr);
  SetDesignatorText(group, "r5");
  EXPECT_STREQ(GetDesignatorText(group), "R5");
  SetDesignatorText(group, "u12a");
  EXPECT_STREQ(GetDesignatorText(group), "U12A");
  // A string record without its terminator is no text.
  std::vector<std::uint8_t> raw(16, 'Q');
  Tower* bad = InsertEntity(group, 16, Type_DesignatorString, raw.data());
  EXPECT_EQ(GetDesignatorText(group), nullptr);
  ReleaseTower(&bad);
  ReleaseTower(&group);
  ReleaseTower(&symbol);
}

TEST_F(Designators, NextNumberByPrefix) {
  EXPECT_EQ(Next("R"), "R1");
  Symbol({"c3"});
  Symbol({"C10"});
  Symbol({"CX1"});
  Symbol({"C40", "C2"});  // only the newest text of a group counts
  Symbol({"R12"});
  EXPECT_EQ(Next("C"), "C11");
  EXPECT_EQ(Next("C7"), "C11");
  EXPECT_EQ(Next("cx"), "cx2");
  EXPECT_EQ(Next("R"), "R13");
  EXPECT_EQ(Next(""), "1");
}

TEST_F(Designators, TooHighANumberIsClamped) {
  Symbol({"R99999999999999999999999"});  // more digits than any integer holds
  std::size_t before = pl3::ResponderRecords().size();
  EXPECT_EQ(Next("R"), "R99999");
  ASSERT_EQ(pl3::ResponderRecords().size(), before + 1);
  EXPECT_EQ(pl3::ResponderRecords().back().text, "Too high a designator number");
  EXPECT_EQ(pl3::ResponderRecords().back().caption, "FindNextDesignatorString");
  Symbol({"Q99999"});
  before = pl3::ResponderRecords().size();
  EXPECT_EQ(Next("Q"), "Q100000");
  EXPECT_EQ(pl3::ResponderRecords().size(), before);
}

}  // namespace
