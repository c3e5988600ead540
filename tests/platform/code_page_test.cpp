#include "platform/code_page.h"

#include <gtest/gtest.h>

namespace {

using pl3::AnsiToUtf8;
using pl3::Utf8ToAnsi;

TEST(CodePage, EveryByteSurvivesTheRoundTrip) {
  std::string all;
  for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
  bool exact = false;
  EXPECT_EQ(Utf8ToAnsi(AnsiToUtf8(all), '?', &exact), all);
  EXPECT_TRUE(exact);
}

struct Case {
  const char* utf8;
  const char* ansi;
  bool exact;
};

TEST(CodePage, Utf8ToAnsiTable) {
  const Case cases[] = {
      {"abc", "abc", true},
      {"\xC3\xA9", "\xE9", true},                 // é
      {"\xE2\x82\xAC", "\x80", true},             // €
      {"\xE2\x80\x9C" "x\xE2\x80\x9D", "\x93x\x94", true},  // curly quotes
      {"\xC5\xB8", "\x9F", true},                 // Ÿ
      {"\xCE\xA9", "?", false},                   // Ω has no byte
      {"\xF0\x9F\x98\x80", "?", false},           // outside the plane
      {"\xC3", "?", false},                       // cut sequence
      {"\xC0\xAF", "??", false},                  // overlong slash
      {"\xED\xA0\x80", "???", false},             // a surrogate
      {"a\x80" "b", "a?b", false},                // stray continuation
  };
  for (const Case& c : cases) {
    bool exact = !c.exact;
    EXPECT_EQ(Utf8ToAnsi(c.utf8, '?', &exact), c.ansi) << c.utf8;
    EXPECT_EQ(exact, c.exact) << c.utf8;
  }
}

TEST(CodePage, AnsiToUtf8Table) {
  EXPECT_EQ(AnsiToUtf8("\xE9\x80"), "\xC3\xA9\xE2\x82\xAC");
  EXPECT_EQ(AnsiToUtf8("\x81"), "\xC2\x81");
  EXPECT_EQ(AnsiToUtf8(""), "");
}

TEST(CodePage, CodePointLookups) {
  EXPECT_EQ(pl3::CodePointToAnsi(0x20AC), 0x80);
  EXPECT_EQ(pl3::CodePointToAnsi(0xE9), 0xE9);
  EXPECT_FALSE(pl3::CodePointToAnsi(0x3A9).has_value());
  EXPECT_FALSE(pl3::CodePointToAnsi(0x100).has_value());
  EXPECT_EQ(pl3::AnsiToCodePoint(0x92), 0x2019u);
}

}  // namespace
