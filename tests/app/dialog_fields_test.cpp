#include "app/dialog_fields.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/controls.h"
#include "platform/user.h"
#include "tests/support/test_windows.h"

namespace {

std::string Formatted(std::int64_t value, std::int64_t scale, int decimals, int mode) {
  char* text = FormatScaledLength(value, scale, decimals, mode);
  std::string copy = text ? text : "(null)";
  std::free(text);
  return copy;
}

TEST(FormatScaledLength, TrailingZerosAndABarePointGo) {
  struct Case {
    std::int64_t value, scale;
    int decimals, mode;
    const char* text;
  } cases[] = {
      {2500, 1000, 3, kLengthAsIs, "2.5"},
      {3000, 1000, 3, kLengthAsIs, "3"},
      {144000, 1440000, 3, kLengthDoubled, "0.2"},  // a stored half-width of 0.2 mm
      {288000, 1440000, 3, kLengthHalved, "0.1"},
      {36576, 36576, 3, kLengthAsIs, "1"},
      {1, 36576, 3, kLengthAsIs, "0"},  // below the last decimal
      {-1440000, 1440000, 3, kLengthAsIs, "-1"},
      {100, 1, 0, kLengthAsIs, "100"},  // no fraction: the integer's zeros stay
      {1234567, 1000, 2, kLengthAsIs, "1234.57"},
      {5, 0, 3, kLengthAsIs, "5"},  // a scale of 0 counts as 1
      {INT64_MAX, 1, 3, kLengthAsIs, "9223372036854775808"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Formatted(c.value, c.scale, c.decimals, c.mode), c.text) << c.value << " / " << c.scale;
  EXPECT_EQ(Formatted(2500, 1000, 3, kLengthAsIs), Formatted(2500, 1000, 3, kLengthAsIs));
}

class LengthField : public testing::Test {
 protected:
  void SetUp() override {
    parent = MakeTestParentWindow("LengthFieldParent");
    ASSERT_NE(parent, nullptr);
    edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 5, 5, 200, 20, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(kId)), nullptr, nullptr);
    ASSERT_NE(edit, nullptr);
  }
  std::string Text() {
    char buffer[512] = {};
    GetWindowTextA(edit, buffer, sizeof buffer);
    return buffer;
  }
  static constexpr int kId = 48;
  HWND parent = nullptr;
  HWND edit = nullptr;
};

TEST_F(LengthField, ShowsTheTrimmedLengthAndReadsItBack) {
  SetDlgItemLength(parent, kId, 720000, 1440000, 3);
  EXPECT_EQ(Text(), "0.5");
  EXPECT_EQ(GetDlgItemScaledValue(parent, kId, 1440000), 720000);
  EXPECT_EQ(GetDlgItemScaled(parent, kId, 36576), 18288);
}

TEST_F(LengthField, ReadingTruncatesAndHoldsBadTextWithinRange) {
  struct Case {
    const char* text;
    double factor;
    std::int64_t value;
  } cases[] = {
      {"0.7", 1440000, 1007999},  // the double product is 1007999.99..., truncated
      {"  16", 36576000, 585216000},
      {"-2.9", 1, -2},
      {"abc", 1440000, 0},
      {"", 1440000, 0},
      {"1e300", 36576000, INT64_MAX},
      {"-1e300", 36576000, INT64_MIN},
      {"nan", 10, 0},
  };
  for (const Case& c : cases) {
    SetWindowTextA(edit, c.text);
    EXPECT_EQ(GetDlgItemScaledValue(parent, kId, c.factor), c.value) << c.text;
  }
}

TEST_F(LengthField, ReadsOnly255Characters) {
  std::string text(300, '1');
  SetWindowTextA(edit, text.c_str());
  // 255 ones read as a number near 1.1e254; the product is held at the top.
  EXPECT_EQ(GetDlgItemScaledValue(parent, kId, 1), INT64_MAX);
  text = std::string(250, '0') + "123456789";
  SetWindowTextA(edit, text.c_str());
  EXPECT_EQ(GetDlgItemScaledValue(parent, kId, 1), 12345);  // cut after 255 characters
}

}  // namespace
