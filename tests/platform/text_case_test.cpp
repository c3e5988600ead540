#include "platform/text_case.h"

#include <gtest/gtest.h>

#include <string_view>

namespace {

using namespace std::string_view_literals;

struct CaseRow {
  std::string_view a, b;
  bool equal;   // EqualsNoCase(a, b)
  bool prefix;  // StartsWithNoCase(a, b)
  int order;    // CompareNoCase(a, b)
};

// Only 'A'..'Z' fold: the neighbours of the letter ranges ('@' '[' '`' '{')
// and bytes above 127 (Windows-1252 letters, UTF-8) compare as they are.
const CaseRow kRows[] = {
    {"", "", true, true, 0},
    {"Board.P3P", "board.p3p", true, true, 0},
    {"BOARD", "bo", false, true, 1},
    {"bo", "BOARD", false, false, -1},
    {"abc", "ABD", false, false, -1},
    {"@", "`", false, false, -1},
    {"[", "{", false, false, -1},
    {"Z", "z", true, true, 0},
    {"\xC4", "\xE4", false, false, -1},
    {"z", "\xE9", false, false, -1},  // high bytes sort after ASCII
    {"a\0b"sv, "A\0B"sv, true, true, 0},
};

TEST(TextCase, ComparesWithAsciiFolding) {
  for (const CaseRow& row : kRows) {
    SCOPED_TRACE(testing::Message() << '"' << row.a << "\" vs \"" << row.b << '"');
    EXPECT_EQ(pl3::EqualsNoCase(row.a, row.b), row.equal);
    EXPECT_EQ(pl3::StartsWithNoCase(row.a, row.b), row.prefix);
    EXPECT_EQ(pl3::CompareNoCase(row.a, row.b), row.order);
    EXPECT_EQ(pl3::CompareNoCase(row.b, row.a), -row.order);
  }
}

TEST(TextCase, CopiesFoldOnlyAsciiLetters) {
  EXPECT_EQ(pl3::LowerCopy("MS Sans Serif 8"sv), "ms sans serif 8");
  EXPECT_EQ(pl3::UpperCopy("r1-c2 @[`{"sv), "R1-C2 @[`{");
  EXPECT_EQ(pl3::LowerCopy("\xC4\xD6\xC3\x84"sv), "\xC4\xD6\xC3\x84");
  EXPECT_EQ(pl3::UpperCopy("\xE4\xF6"sv), "\xE4\xF6");
  const char* none = nullptr;
  EXPECT_EQ(pl3::LowerCopy(none), "");
  EXPECT_EQ(pl3::LowerCopy("BUTTON"), "button");
}

}  // namespace
