#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>

#include "geometry/length_text_field.h"
#include "geometry/length_units.h"
#include "geometry/library_seams.h"

// The dialog text reader, scripted per control id: a control missing from
// the map cannot be read.
namespace {
std::map<int, std::string> g_controlTexts;
}
std::optional<std::string> pl3::GetDlgItemTextAlloc(HWND, int controlId) {
  auto it = g_controlTexts.find(controlId);
  if (it == g_controlTexts.end()) return std::nullopt;
  return it->second;
}

namespace {

using namespace pl3;

struct Accepted {
  const char* text;
  double value;
  std::uint32_t unit;
};

TEST(ParseLengthWithUnits, AcceptsWellFormedLengths) {
  const Accepted cases[] = {
      {"  12.5 MM", 12.5, Unit_Millimetre},
      {"12.5mm", 12.5, Unit_Millimetre},
      {".5 inch", 0.5, Unit_Inch},
      {"10 cm trailing words", 10.0, Unit_Centimetre},
      {"\t\r\n7 Thou", 7.0, Unit_Thou},
      {"0 mm", 0.0, Unit_Millimetre},
      {"1.25\tINCH  ", 1.25, Unit_Inch},
      {"0.1 thou", 0.1, Unit_Thou},
      {"003.0700 cm", 3.07, Unit_Centimetre},
  };
  for (const Accepted& c : cases) {
    double value = -1;
    std::uint32_t unit = 99;
    EXPECT_TRUE(ParseLengthWithUnits(c.text, value, unit)) << c.text;
    EXPECT_EQ(value, c.value) << c.text;
    EXPECT_EQ(unit, c.unit) << c.text;
  }
}

TEST(ParseLengthWithUnits, RejectsMalformedTextAndLeavesOutputs) {
  const char* rejected[] = {
      "12",          // no unit
      "12   ",       // blanks, still no unit
      "12 furlong",  // unknown unit
      "1.2.3 mm",    // second full stop
      "5. mm",       // full stop without a digit after it
      ".mm",         // a full stop alone is no number
      "-3 mm",       // no sign
      "+3 mm",
      "",
      "     ",
      "mm",
      "12 mm2",      // the unit word runs to the next blank
      "12 millimetre",
      "1e3 mm",      // the number run stops at 'e', and "e3" is no unit
  };
  for (const char* text : rejected) {
    double value = 42.0;
    std::uint32_t unit = 7;
    EXPECT_FALSE(ParseLengthWithUnits(text, value, unit)) << '"' << text << '"';
    EXPECT_EQ(value, 42.0) << text;
    EXPECT_EQ(unit, 7u) << text;
  }
}

TEST(ParseLengthWithUnits, RejectsANumberBeyondTheDoubleRange) {
  const std::string huge = std::string(400, '9') + " mm";
  double value = 1;
  std::uint32_t unit = 0;
  EXPECT_FALSE(ParseLengthWithUnits(huge, value, unit));
}

TEST(FormatLengthWithUnits, UsesGeneralFormAndTheUnitWord) {
  EXPECT_EQ(FormatLengthWithUnits({0.1, Unit_Thou}), "0.1 thou");
  EXPECT_EQ(FormatLengthWithUnits({0.0254, Unit_Inch}), "0.0254 inch");
  EXPECT_EQ(FormatLengthWithUnits({1234567, Unit_Millimetre}), "1.23457e+06 mm");
  EXPECT_EQ(FormatLengthWithUnits({2.5, Unit_Millimetre}), "2.5 mm");
  EXPECT_EQ(FormatLengthWithUnits({10, Unit_Centimetre}), "10 cm");
  EXPECT_EQ(FormatLengthWithUnits({3, 9}), "3");
}

TEST(FormatLengthWithUnits, ReadsBackAsTheSameLength) {
  for (const LengthValue v : {LengthValue{12.5, 2}, LengthValue{0.5, 1}, LengthValue{8, 0}, LengthValue{1.75, 3}}) {
    double value = 0;
    std::uint32_t unit = 0;
    ASSERT_TRUE(ParseLengthWithUnits(FormatLengthWithUnits(v), value, unit));
    EXPECT_EQ(value, v.value);
    EXPECT_EQ(unit, v.unit);
  }
}

TEST(LengthConversion, WorldUnitsAndMillimetres) {
  EXPECT_EQ(LengthToWorldUnits({1, Unit_Inch}), 36576000.0);
  EXPECT_EQ(LengthToMillimetres({1, Unit_Inch}), 25.4);
  EXPECT_EQ(LengthToWorldUnits({1, Unit_Thou}), 36576.0);
  EXPECT_EQ(LengthToWorldUnits({2.5, Unit_Millimetre}), 3600000.0);
  EXPECT_EQ(LengthToWorldUnits({1, Unit_Centimetre}), 14400000.0);
  EXPECT_EQ(LengthToMillimetres({3, Unit_Centimetre}), 30.0);
  EXPECT_EQ(LengthToWorldUnits({1, 4}), 0.0);
}

TEST(IsValidLengthText, ChecksTheControlText) {
  g_controlTexts = {{1, "2.5 mm"}, {2, ""}, {3, "2.5"}, {4, "  .5inch "}};
  EXPECT_TRUE(IsValidLengthText(nullptr, 1));
  EXPECT_FALSE(IsValidLengthText(nullptr, 2));
  EXPECT_FALSE(IsValidLengthText(nullptr, 3));
  EXPECT_TRUE(IsValidLengthText(nullptr, 4));
  EXPECT_FALSE(IsValidLengthText(nullptr, 5));  // cannot be read
}

}  // namespace
