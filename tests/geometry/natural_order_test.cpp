#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "geometry/natural_order.h"

namespace {

using namespace pl3;

int Sign(int v) { return (v > 0) - (v < 0); }

struct Case {
  const char* a;
  const char* b;
  int sign;
};

TEST(CompareNamesNatural, TableOfNames) {
  const Case cases[] = {
      {"R2", "R10", -1},  {"R10", "R2", 1},   {"C1", "C1", 0},    {"U1A", "U1B", -1}, {"u1", "U1", 1},
      {"1A", "A1", -1},   {"A1", "1A", 1},    {"R01", "R1", 0},   {"R1", "R1A", 0},   {"R1A", "R1", 0},
      {"", "R1", -1},     {"R1", "", 1},      {"", "", -1},       {"123", "45", 1},   {"R", "R1", 0},
      {"AB", "A", 1},     {"A", "AB", -1},    {"GND", "VCC", -1}, {"Net 2", "Net 12", -1},
      {"a\xe9", "az", 1},  // bytes above 127 order after ASCII
      {"R99999999999", "R2147483647", 0},  // numbers past 32 bits saturate
  };
  for (const Case& c : cases) EXPECT_EQ(Sign(CompareNamesNatural(c.a, c.b)), c.sign) << c.a << " vs " << c.b;
}

TEST(SplitNameTokens, RunsAlternateBetweenTextAndNumber) {
  const std::vector<NameToken> t = SplitNameTokens("U12b-07");
  ASSERT_EQ(t.size(), 4u);
  EXPECT_EQ(t[0].kind, NameToken::Text);
  EXPECT_EQ(t[0].text, "U");
  EXPECT_EQ(t[1].kind, NameToken::Number);
  EXPECT_EQ(t[1].number, 12);
  EXPECT_EQ(t[1].length, 2u);
  EXPECT_EQ(t[2].text, "b-");
  EXPECT_EQ(t[2].length, 2u);
  EXPECT_EQ(t[3].number, 7);
  EXPECT_EQ(t[3].length, 2u);

  const std::vector<NameToken> digits = SplitNameTokens("123");
  ASSERT_EQ(digits.size(), 1u);
  EXPECT_EQ(digits[0].kind, NameToken::Number);
  EXPECT_EQ(digits[0].number, 123);
  EXPECT_TRUE(SplitNameTokens("").empty());
}

const std::vector<std::string> kNames = {"R10", "R2",  "R1A", "R1",  "R01", "R1B", "",    "U1B", "U1A",
                                         "1A",  "A1",  "u1",  "U1",  "R01B", "R",  "C3",  "C20", "",
                                         "R2",  "Net12", "Net2", "R002"};

// The sort order agrees with every non-zero answer of the comparison.
TEST(NaturalOrderLess, AgreesWithTheComparisonWhereItDecides) {
  for (const std::string& a : kNames)
    for (const std::string& b : kNames) {
      const int c = CompareNamesNatural(a, b);
      if (a.empty() || b.empty() || c == 0) continue;
      EXPECT_EQ(NaturalOrderLess(a, b), c < 0) << a << " vs " << b;
    }
}

// A strict weak ordering (in fact total): irreflexive, asymmetric, transitive,
// and only equal names are equivalent. The triple R01B, R1, R1A is the one
// that a plain byte tie-break would turn into a cycle.
TEST(NaturalOrderLess, IsATotalOrder) {
  for (const std::string& a : kNames) {
    EXPECT_FALSE(NaturalOrderLess(a, a)) << a;
    for (const std::string& b : kNames) {
      if (a != b) {
        EXPECT_NE(NaturalOrderLess(a, b), NaturalOrderLess(b, a)) << a << " vs " << b;
      }
      for (const std::string& c : kNames)
        if (NaturalOrderLess(a, b) && NaturalOrderLess(b, c)) {
          EXPECT_TRUE(NaturalOrderLess(a, c)) << a << " " << b << " " << c;
        }
    }
  }
}

TEST(SortNamesNatural, GivesTheSameOrderWhateverTheInputOrder) {
  std::vector<std::string> expected = kNames;
  SortNamesNatural(expected);
  const std::vector<std::string> head(expected.begin(), expected.begin() + 8);
  EXPECT_EQ(head, (std::vector<std::string>{"", "", "1A", "A1", "C3", "C20", "Net2", "Net12"}));
  // R and its numbered names: shorter token lists first, then R1 forms by bytes.
  auto r = std::find(expected.begin(), expected.end(), "R");
  const std::vector<std::string> rs(r, r + 10);
  EXPECT_EQ(rs, (std::vector<std::string>{"R", "R01", "R1", "R1A", "R01B", "R1B", "R002", "R2", "R2", "R10"}));

  std::mt19937 rng(7);
  for (int round = 0; round < 20; ++round) {
    std::vector<std::string> shuffled = kNames;
    std::shuffle(shuffled.begin(), shuffled.end(), rng);
    SortNamesNatural(shuffled);
    EXPECT_EQ(shuffled, expected);
  }
}

TEST(SortNamesNatural, WorksWithOrderedContainers) {
  auto less = [](const std::string& a, const std::string& b) { return NaturalOrderLess(a, b); };
  std::set<std::string, decltype(less)> set(less);
  for (const std::string& n : kNames) set.insert(n);
  EXPECT_EQ(set.size(), std::set<std::string>(kNames.begin(), kNames.end()).size());
  EXPECT_EQ(*set.begin(), "");
}

}  // namespace
