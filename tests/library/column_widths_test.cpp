#include "library/column_widths.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

TEST(ScaleColumnWidths, EachColumnTakesItsFractionRounded) {
  const float fractions[] = {0.5f, 0.5f};
  ColumnWidthEntry* widths = ScaleColumnWidths(2, fractions, 301);
  ASSERT_NE(widths, nullptr);
  EXPECT_EQ(widths[0].columnWord, 0u);
  EXPECT_EQ(widths[0].width, 151);  // 150.5 rounds up
  EXPECT_EQ(widths[1].columnWord, 1u);
  EXPECT_EQ(widths[1].width, 151);
  std::free(widths);
  const float thirds[] = {0.3f, 0.2f, 0.49f};
  widths = ScaleColumnWidths(3, thirds, 100);
  ASSERT_NE(widths, nullptr);
  EXPECT_EQ(widths[0].width, 30);
  EXPECT_EQ(widths[1].width, 20);
  EXPECT_EQ(widths[2].width, 49);
  std::free(widths);
}

TEST(ScaleColumnWidths, NoColumnsGiveNothing) {
  const float fractions[] = {1.0f};
  EXPECT_EQ(ScaleColumnWidths(0, fractions, 100), nullptr);
  EXPECT_EQ(ScaleColumnWidths(-1, fractions, 100), nullptr);
  EXPECT_EQ(ScaleColumnWidths(1, nullptr, 100), nullptr);
}

}  // namespace
