#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "edit/window_data.h"
#include "objects/grid_sets.h"

namespace {

struct FreeSet {
  void operator()(GridSet* s) const { std::free(s); }
};
using SetPtr = std::unique_ptr<GridSet, FreeSet>;

GridEntry Cartesian(std::uint32_t unit, std::uint32_t num, std::uint32_t den) {
  GridEntry e{};
  e.unit = unit;
  e.kind = kGridCartesian;
  e.x = {num, den, 1, 10, 10};
  e.y = e.x;
  return e;
}

std::string Step(const GridEntry& e, int axis) {
  char text[kGridTextSize];
  FormatGridStep(text, axis, &e);
  return text;
}

TEST(GridSets, BuiltInSetHoldsTheEighteenGrids) {
  SetPtr set(BuildDefaultGridSet());
  ASSERT_TRUE(set);
  EXPECT_EQ(+set->flags, 3);
  EXPECT_EQ(+set->secondWord, 6);
  ASSERT_EQ(+set->count, 18u);
  EXPECT_EQ(GetGridSetSize(set.get()), 85u + 18 * 77);
  struct Row {
    std::uint32_t unit, num, den;
  };
  const Row rows[18] = {{2, 1, 1},  {2, 1, 2},  {2, 1, 4},   {2, 1, 10},  {2, 1, 100}, {3, 1, 2},
                        {3, 1, 1},  {0, 1, 1},  {0, 5, 1},   {0, 10, 1},  {0, 50, 1},  {0, 100, 1},
                        {1, 1, 10}, {1, 1, 20}, {1, 1, 40},  {1, 1, 80},  {1, 1, 160}, {1, 1, 320}};
  for (std::uint32_t i = 0; i < 18; ++i) {
    const GridEntry& e = *GridSetEntry(set.get(), i);
    SCOPED_TRACE(i);
    EXPECT_EQ(+e.flags, 0u);
    EXPECT_EQ(+e.keyStroke, 0);
    EXPECT_EQ(+e.kind, kGridCartesian);
    EXPECT_EQ(+e.unit, rows[i].unit);
    for (const GridAxis& a : {e.x, e.y}) {
      EXPECT_EQ(+a.numerator, rows[i].num);
      EXPECT_EQ(+a.denominator, rows[i].den);
      EXPECT_EQ(+a.displayMultiple, 1u);
      EXPECT_EQ(+a.minimumSpacing, 10u);
      EXPECT_EQ(+a.thinningFactor, 10u);
    }
  }
  EXPECT_EQ(std::memcmp(&set->current, GridSetEntry(set.get(), 0), sizeof(GridEntry)), 0);
}

TEST(GridSets, StepAndUnitTexts) {
  EXPECT_EQ(Step(Cartesian(kGridUnitInch, 1, 20), 0), "1/20");
  EXPECT_EQ(Step(Cartesian(kGridUnitThou, 5, 1), 1), "5");
  EXPECT_EQ(Step(Cartesian(kGridUnitMm, 1, 4), 0), "0.25");
  EXPECT_EQ(Step(Cartesian(kGridUnitCm, 1, 2), 0), "0.5");
  GridEntry polar{};
  polar.kind = kGridPolar;
  polar.unit = kGridUnitMm;
  polar.ringSpacing = 2.0;
  polar.angleStyle = kAngleEveryFraction;
  polar.angleValue = 10.0;
  EXPECT_EQ(Step(polar, 0), "36\xB0");
  EXPECT_EQ(Step(polar, 1), "2");
  polar.angleStyle = kAngleEveryDegrees;
  polar.angleValue = 7.5;
  EXPECT_EQ(Step(polar, 0), "7.5\xB0");
  // A zero denominator writes a text; it never divides by zero.
  EXPECT_EQ(Step(Cartesian(kGridUnitMm, 1, 0), 0), "0");
  char unit[kGridTextSize];
  const char* const names[5] = {"thou", "inch", "mm", "cm", ""};
  for (std::uint32_t u = 0; u < 5; ++u) {
    GridEntry e = Cartesian(u, 1, 1);
    GetGridUnitName(unit, &e);
    EXPECT_STREQ(unit, names[u]);
  }
}

TEST(GridSets, AppendRemoveAndMoveKeepTheOtherEntries) {
  SetPtr set(BuildDefaultGridSet());
  GridEntry extra = Cartesian(kGridUnitThou, 25, 1);
  extra.keyStroke = 'Q';
  SetPtr grown(AppendGridEntry(set.get(), extra));
  ASSERT_EQ(+grown->count, 19u);
  EXPECT_EQ(+GridSetEntry(grown.get(), 18)->keyStroke, 'Q');
  EXPECT_EQ(std::memcmp(GridSetEntry(grown.get(), 0), GridSetEntry(set.get(), 0), 18 * sizeof(GridEntry)), 0);

  // Move down on the last row and up on the first do nothing.
  SetPtr before(DuplicateGridSet(grown.get()));
  MoveGridEntryDown(grown.get(), 18);
  MoveGridEntryUp(grown.get(), 0);
  MoveGridEntryUp(grown.get(), 40);
  EXPECT_EQ(std::memcmp(before.get(), grown.get(), GetGridSetSize(grown.get())), 0);
  MoveGridEntryUp(grown.get(), 18);
  EXPECT_EQ(+GridSetEntry(grown.get(), 17)->keyStroke, 'Q');
  EXPECT_EQ(+GridSetEntry(grown.get(), 18)->x.denominator, 320u);
  MoveGridEntryDown(grown.get(), 17);
  EXPECT_EQ(+GridSetEntry(grown.get(), 18)->keyStroke, 'Q');

  RemoveGridEntry(grown.get(), 0);
  ASSERT_EQ(+grown->count, 18u);
  EXPECT_EQ(+GridSetEntry(grown.get(), 0)->x.denominator, 2u);
  EXPECT_EQ(+GridSetEntry(grown.get(), 17)->keyStroke, 'Q');
  RemoveGridEntry(grown.get(), 18);  // past the end
  EXPECT_EQ(+grown->count, 18u);
}

TEST(GridSets, WindowWithoutGridsGetsACopyOfTheDefaultSet) {
  CurrentWindowData block;
  GridSet* set = WindowGridSet(block);
  ASSERT_NE(set, nullptr);
  EXPECT_EQ(block.Grids, set);
  EXPECT_NE(set, DefaultGridSet);
  EXPECT_EQ(std::memcmp(set, DefaultGridSet, GetGridSetSize(DefaultGridSet)), 0);

  // A set read from a design without grid records: all zero.
  std::free(block.Grids);
  block.Grids = std::calloc(1, GetGridSetSizeForCount(0));
  set = WindowGridSet(block);
  EXPECT_EQ(+set->count, 18u);
  EXPECT_EQ(+set->flags, 3);

  // A real set, even with snap and display off, is the window's own.
  set->flags = 0;
  EXPECT_EQ(WindowGridSet(block), set);
  EXPECT_EQ(+set->flags, 0);
  std::free(block.Grids);
}

}  // namespace
