#include <gtest/gtest.h>

#include "platform/kernel_base.h"

namespace {

TEST(MulDiv, RoundsToNearestWithHalvesAwayFromZero) {
  struct Case {
    int number, numerator, denominator, expected;
  };
  const Case cases[] = {
      {10, 3, 4, 8},           // 7.5 rounds up
      {-10, 3, 4, -8},         // -7.5 rounds away from zero
      {10, -3, 4, -8},
      {10, 3, -4, -8},
      {-10, -3, -4, -8},
      {10, 1, 3, 3},           // 3.33 rounds down
      {11, 1, 3, 4},           // 3.67 rounds up
      {-11, 1, 3, -4},
      {7, 5, 5, 7},
      {0x40000000, 4, 8, 0x20000000},  // the product needs 64 bits
      {0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF},
      {-0x7FFFFFFF - 1, 1, 1, -0x7FFFFFFF - 1},  // the smallest int still fits
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MulDiv(c.number, c.numerator, c.denominator), c.expected)
        << c.number << " * " << c.numerator << " / " << c.denominator;
  }
}

TEST(MulDiv, ZeroDivisorAndOverflowGiveMinusOne) {
  EXPECT_EQ(MulDiv(5, 6, 0), -1);
  EXPECT_EQ(MulDiv(0x7FFFFFFF, 2, 1), -1);
  EXPECT_EQ(MulDiv(-0x7FFFFFFF - 1, -1, 1), -1);  // +2^31 does not fit
  EXPECT_EQ(MulDiv(0x7FFFFFFF, 0x7FFFFFFF, 1), -1);
}

}  // namespace
