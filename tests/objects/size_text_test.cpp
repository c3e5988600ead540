#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "edit/window_data.h"
#include "objects/layer_table.h"
#include "objects/size_text.h"
#include "platform/responder.h"

namespace {

std::unique_ptr<SizeTable> Parse(const std::string& text, std::vector<SizeTextProblem>* problems = nullptr) {
  return ParseSizeText(text.data(), text.size(), problems);
}

std::unique_ptr<SizeTable> ParseBuiltIn(std::uint32_t editorKind) {
  const char* text = DefaultSizeText(editorKind);
  return ParseSizeText(text, std::strlen(text));
}

std::size_t BoxCount() { return pl3::ResponderRecords().size(); }

struct StoredCase {
  const char* section;
  const char* line;
  std::int32_t value1;
  std::int32_t value2;
};

// Values pass through a double and are truncated toward zero, so 0.7 mm
// (1,007,999.99... before halving) stores 503,999 and not 504,000.
TEST(ParseSizeText, StoredValuesFollowTheDoubleArithmetic) {
  const StoredCase cases[] = {
      {"Lines", "\"0.2\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"", 144000, 0},
      {"Lines", "\"0.7\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"", 503999, 0},
      {"Lines", "\"0.35\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"", 251999, 0},
      {"Lines", "\"1.1\"\t\t\"MM\"\t\"\"\t\"Y\"\t\"\"", 792000, 0},
      {"Lines", "\"8\"\t\t\"Thou\"\t\"\"\t\"Y\"\t\"\"", 146304, 0},
      {"Lines", "\"7.5\"\t\t\"furlong\"\t\"\"\t\"Y\"\t\"\"", 137160, 0},  // unknown unit: thou
      {"Circles", "\"2.3\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"", 1655999, 0},
      {"Holes", "\"0.003\"\t\t\"inch\"\t\"\"\t\"Y\"\t\"\"", 54864, 0},
      {"Holes", "\"0.05\"\t\t\"cm\"\t\"\"\t\"Y\"\t\"\"", 360000, 0},
      {"Rectangles", "\"0.3\"\t\"0.7\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"", 432000, 1007999},
      {"Vias", "\"0.3\"\t\"0.7\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"", 216000, 503999},
      {"Fonts", "\"16\"\t\t\t\"\"\t\"Y\"\t\"\"", 16, 0},
  };
  for (const StoredCase& c : cases) {
    auto table = Parse(std::string("[") + c.section + "]\r\n" + c.line + "\r\n");
    std::uint32_t kind = 0;
    while (std::string(SizeKindNames[kind]) != c.section) ++kind;
    ASSERT_EQ((*table)[kind].count(), 1u) << c.line;
    EXPECT_EQ((*table)[kind].entries[0].value1, c.value1) << c.line;
    EXPECT_EQ((*table)[kind].entries[0].value2, c.value2) << c.line;
  }
}

TEST(ParseSizeText, EntryFieldsAndDefaults) {
  auto table = Parse(
      "\"4\"\t\t\"thou\"\t\"k\"\t\"N\"\t\"Before any section\"\r\n"
      "[Lines]\r\n"
      "\"0.2\"\t\t\"mm\"\t\"\"\t\"D\"\t\"Thin Line\"\r\n"
      "   \t \r\n"
      "\"0.4\"  \"mm\" \"xyz\" \"D\" \"Thick\"\r\n"
      "\r\n"
      "\"0.6\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n");
  const SizeList& lines = (*table)[SizeKind_Lines];
  ASSERT_EQ(lines.count(), 4u);
  EXPECT_EQ(lines.entries[0].key, 'k');
  EXPECT_EQ(lines.entries[0].flags, 0u);
  EXPECT_STREQ(lines.entries[0].name, "Before any section");
  EXPECT_EQ(lines.entries[1].flags, kSizeEntryOn);
  EXPECT_EQ(lines.entries[1].key, 0);
  EXPECT_EQ(lines.entries[1].unit, 2);
  EXPECT_EQ(lines.entries[2].key, 'x');
  EXPECT_EQ(lines.defaultIndex, 2u);  // the later "D" wins
  for (std::uint32_t i = 0; i < 4; ++i) EXPECT_EQ(lines.entries[i].index, i);
}

// A point size is a decimal integer, read up to its first other character.
TEST(ParseSizeText, PointSizesAreDecimalIntegers) {
  const std::pair<const char*, std::int32_t> cases[] = {
      {"16", 16}, {" 24", 24}, {"16.5", 16}, {"1e2", 1}, {"0x10", 0}, {"12pt", 12},
  };
  for (auto [field, size] : cases) {
    auto table = Parse(std::string("[Fonts]\r\n\"") + field + "\"\t\t\t\"\"\t\"Y\"\t\"\"\r\n");
    ASSERT_EQ((*table)[SizeKind_Fonts].count(), 1u) << field;
    EXPECT_EQ((*table)[SizeKind_Fonts].entries[0].value1, size) << field;
  }
}

// The flag field is "D", "Y" or anything else as a whole, case and all.
TEST(ParseSizeText, FlagsAreWholeFields) {
  auto table = Parse(
      "[Lines]\r\n"
      "\"1\" \"mm\" \"\" \"Y\" \"\"\r\n"
      "\"2\" \"mm\" \"\" \"Yes\" \"\"\r\n"
      "\"3\" \"mm\" \"\" \"y\" \"\"\r\n"
      "\"4\" \"mm\" \"\" \"Default\" \"\"\r\n"
      "\"5\" \"mm\" \"\" \"D\" \"\"\r\n"
      "\"6\" \"mm\" \"\" \"d\" \"\"\r\n");
  const SizeList& lines = (*table)[SizeKind_Lines];
  ASSERT_EQ(lines.count(), 6u);
  const std::uint32_t flags[] = {kSizeEntryOn, 0, 0, 0, kSizeEntryOn, 0};
  for (std::uint32_t i = 0; i < 6; ++i) EXPECT_EQ(lines.entries[i].flags, flags[i]) << i;
  EXPECT_EQ(lines.defaultIndex, 4u);
}

TEST(ParseSizeText, SectionNamesArePrefixesWithoutRegardToCase) {
  const std::pair<const char*, std::uint32_t> cases[] = {
      {"VIAS", SizeKind_Vias}, {"vi", SizeKind_Vias},      {"", SizeKind_Lines},        {"L", SizeKind_Lines},
      {"Line", SizeKind_Lines}, {"c", SizeKind_Circles},   {"r", SizeKind_Rectangles},  {"h", SizeKind_Holes},
      {"f", SizeKind_Fonts},    {"Dots", SizeKind_Dots},
  };
  for (auto [name, kind] : cases) {
    const std::size_t before = BoxCount();
    const std::string fields = kind == SizeKind_Fonts        ? "\"8\" \"\" \"Y\" \"\""
                               : kind == SizeKind_Dots       ? "\"40\" \"thou\" \"Connected Dot\""
                               : (kind == SizeKind_Vias || kind == SizeKind_Rectangles)
                                   ? "\"1\" \"2\" \"mm\" \"\" \"Y\" \"\""
                                   : "\"1\" \"mm\" \"\" \"Y\" \"\"";
    auto table = Parse(std::string("  [") + name + "]  \r\n" + fields + "\r\n");
    EXPECT_EQ(BoxCount(), before) << name;
    if (kind == SizeKind_Dots)
      EXPECT_EQ((*table)[kind].entries[1].value1, 731520) << name;
    else
      EXPECT_EQ((*table)[kind].count(), 1u) << name;
  }
}

TEST(ParseSizeText, UnknownSectionIsReportedAndSelectsLines) {
  for (const char* header : {"[linesx]", "[Pads]", "[Circles"}) {
    pl3::ClearResponderRecords();
    auto table = Parse(std::string("[Holes]\r\n") + header + "\r\n\"1\" \"mm\" \"\" \"Y\" \"\"\r\n");
    ASSERT_EQ(pl3::ResponderRecords().size(), 1u) << header;
    EXPECT_EQ(pl3::ResponderRecords()[0].text, "Unknown Section!");
    EXPECT_EQ(pl3::ResponderRecords()[0].caption, "Pelmora3");
    EXPECT_EQ((*table)[SizeKind_Lines].count(), 1u) << header;
    EXPECT_EQ((*table)[SizeKind_Holes].count(), 0u) << header;
  }
}

TEST(ParseSizeText, IllFormedLinesAreSkippedAndReported) {
  std::vector<SizeTextProblem> problems;
  auto table = Parse(
      "[Lines]\r\n"
      "\"0.2\"\t\t\"mm\"\t\"\"\t\"Y\t\"Odd quotes\"\r\n"           // 2
      "\"0.2\"\t\t\"mm\"\t\"\"\t\"Y\"\r\n"                         // 3: four fields
      "\"wide\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"No number\"\r\n"         // 4
      "\"\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"Empty value\"\r\n"           // 5
      "\"9e9\"\t\t\"inch\"\t\"\"\t\"Y\"\t\"Too wide\"\r\n"         // 6
      "\"nan\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"Not a number\"\r\n"       // 7
      "\"0.5\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"Good\"\r\n"               // 8
      "[Dots]\r\n"
      "\"30\"\t\t\"thou\"\t\"Big Dot\"\r\n"                        // 10
      "[Fonts]\r\n"
      "\"99999999999\"\t\t\t\"\"\t\"Y\"\t\"Huge\"\r\n",            // 12
      &problems);
  const SizeList& lines = (*table)[SizeKind_Lines];
  ASSERT_EQ(lines.count(), 1u);
  EXPECT_STREQ(lines.entries[0].name, "Good");
  EXPECT_EQ(lines.entries[0].index, 0u);
  EXPECT_EQ((*table)[SizeKind_Fonts].count(), 0u);
  EXPECT_EQ((*table)[SizeKind_Dots].entries[0].value1, 365760);
  std::vector<std::uint32_t> numbers;
  for (const SizeTextProblem& p : problems) numbers.push_back(p.lineNumber);
  EXPECT_EQ(numbers, (std::vector<std::uint32_t>{2, 3, 4, 5, 6, 7, 10, 12}));
  EXPECT_TRUE(pl3::ResponderRecords().empty());  // skipped without a message
}

TEST(ParseSizeText, DotsKeepTheirTwoEntries) {
  auto table = Parse("[dots]\r\n\"12\"\t\t\"thou\"\t\"connection box\"\r\n\"1\" \"MM\" \"CONNECTED DOT\"\r\n");
  const SizeList& dots = (*table)[SizeKind_Dots];
  ASSERT_EQ(dots.count(), 2u);
  EXPECT_EQ(dots.entries[0].value1, 219456);
  EXPECT_STREQ(dots.entries[0].name, "Connection Box");
  EXPECT_EQ(dots.entries[1].value1, 720000);
  EXPECT_EQ(dots.entries[1].unit, 2);
  EXPECT_EQ(dots.entries[1].flags, kSizeEntryOn);
}

TEST(ParseSizeText, LongNamesAreCutAndLongLinesReadWhole) {
  const std::string longName(3000, 'n');
  auto table = Parse("[Lines]\r\n\"0.2\" \"mm\" \"\" \"Y\" \"" + longName + "\"\r\n\"0.3\" \"mm\" \"\" \"Y\" \"x\"");
  const SizeList& lines = (*table)[SizeKind_Lines];
  ASSERT_EQ(lines.count(), 2u);  // the over-long line neither splits nor swallows the next one
  EXPECT_EQ(std::string(lines.entries[0].name), std::string(63, 'n'));
  EXPECT_EQ(lines.entries[1].value1, 216000);
}

// The example line of the format, byte for byte: quotes, tabs and CR LF.
TEST(WriteSizeText, ExactLayout) {
  auto table = NewSizeTable();
  SizeEntry thin{};
  thin.flags = kSizeEntryOn;
  thin.unit = 2;
  thin.value1 = 144000;
  SetSizeEntryName(thin, "Thin Line");
  (*table)[SizeKind_Lines].entries.push_back(thin);
  SizeEntry rect{};
  rect.flags = 0;
  rect.key = 'r';
  rect.unit = 0;
  rect.value1 = 365760;
  rect.value2 = 731520;
  (*table)[SizeKind_Rectangles].entries.push_back(rect);
  SizeEntry via{};
  via.flags = kSizeEntryOn;
  via.unit = 2;
  via.value1 = 216000;
  via.value2 = 503999;
  (*table)[SizeKind_Vias].entries = {via, via};
  (*table)[SizeKind_Vias].defaultIndex = 1;
  SizeEntry font{};
  font.flags = kSizeEntryOn;
  font.unit = kSizeUnitNone;
  font.value1 = 16;
  font.key = 'D';
  SetSizeEntryName(font, "Designator");
  (*table)[SizeKind_Fonts].entries.push_back(font);
  (*table)[SizeKind_Fonts].defaultIndex = 0;

  EXPECT_EQ(WriteSizeText(*table),
            "[Lines]\r\n"
            "\"0.200\"\t\t\"mm\"\t\"\"\t\"D\"\t\"Thin Line\"\r\n"
            "\r\n"
            "[Rectangles]\r\n"
            "\"10.000\"\t\"20.000\"\t\"Thou\"\t\"r\"\t\"D\"\t\"\"\r\n"
            "\r\n"
            "[Vias]\r\n"
            "\"0.300\"\t\"0.700\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
            "\"0.300\"\t\"0.700\"\t\"mm\"\t\"\"\t\"D\"\t\"\"\r\n"
            "\r\n"
            "[Fonts]\r\n"
            "\"16\"\t\t\t\"D\"\t\"D\"\t\"Designator\"\r\n"
            "\r\n"
            "[Dots]\r\n"
            "\"20.000\"\t\t\"Thou\"\t\"Connection Box\"\r\n"
            "\"30.000\"\t\t\"Thou\"\t\"Connected Dot\"\r\n"
            "\r\n");
}

TEST(WriteSizeText, OffEntriesAndUnsafeCharacters) {
  auto table = NewSizeTable();
  SizeEntry e{};
  e.unit = 1;
  e.value1 = 18288000;  // half an inch stored: one inch typed
  e.key = '"';
  SetSizeEntryName(e, "Say \"hi\"\r\n");
  (*table)[SizeKind_Holes].entries = {e, e};
  (*table)[SizeKind_Holes].defaultIndex = 0;
  const std::string text = WriteSizeText(*table);
  EXPECT_NE(text.find("[Holes]\r\n\"1.000\"\t\t\"Inch\"\t\"\"\t\"D\"\t\"Say 'hi'  \"\r\n"
                      "\"1.000\"\t\t\"Inch\"\t\"\"\t\"N\"\t\"Say 'hi'  \"\r\n"),
            std::string::npos)
      << text;
  auto back = Parse(text);
  ASSERT_EQ((*back)[SizeKind_Holes].count(), 2u);
  EXPECT_EQ((*back)[SizeKind_Holes].entries[1].flags, 0u);
}

void ExpectSameTables(const SizeTable& a, const SizeTable& b) {
  for (std::uint32_t k = 0; k < kSizeKindCount; ++k) {
    ASSERT_EQ(a[k].count(), b[k].count()) << SizeKindNames[k];
    EXPECT_EQ(a[k].defaultIndex, b[k].defaultIndex) << SizeKindNames[k];
    for (std::uint32_t i = 0; i < a[k].count(); ++i) {
      const SizeEntry& x = a[k].entries[i];
      const SizeEntry& y = b[k].entries[i];
      EXPECT_EQ(x.index, y.index);
      EXPECT_EQ(x.flags, y.flags) << SizeKindNames[k] << i;
      EXPECT_EQ(x.key, y.key);
      EXPECT_EQ(x.unit, y.unit);
      EXPECT_EQ(x.value1, y.value1) << SizeKindNames[k] << i;
      EXPECT_EQ(x.value2, y.value2) << SizeKindNames[k] << i;
      EXPECT_STREQ(x.name, y.name);
    }
  }
}

TEST(WriteSizeText, ReadsBackUnchanged) {
  for (std::uint32_t kind : {kEditorPcb, kEditorShape, kEditorPcbSymbol, kEditorPadStack,
                             kEditorSchematicSymbol, kEditorSchematic}) {
    auto table = ParseBuiltIn(kind);
    // Keys, an entry switched off and a default read back as they were.
    SizeList& holes = (*table)[SizeKind_Holes];
    if (holes.count() > 3) {
      holes.entries[1].key = 'h';
      holes.entries[2].flags = 0;
    }
    const std::string text = WriteSizeText(*table);
    auto back = Parse(text);
    ExpectSameTables(*table, *back);
    EXPECT_EQ(WriteSizeText(*back), text);
  }
}

TEST(DefaultSizeText, PcbTables) {
  auto t = ParseBuiltIn(kEditorPcb);
  const SizeTable& pcb = *t;
  EXPECT_EQ(pcb[SizeKind_Lines].count(), 36u);
  EXPECT_EQ(pcb[SizeKind_Lines].defaultIndex, 2u);
  EXPECT_EQ(pcb[SizeKind_Lines].entries[2].value1, 146304);  // 8 thou, halved
  EXPECT_EQ(pcb[SizeKind_Lines].entries[11].value1, 144000);  // 0.2 mm
  EXPECT_EQ(pcb[SizeKind_Lines].entries[35].value1, 3600000);  // 5.0 mm
  EXPECT_EQ(pcb[SizeKind_Circles].count(), 32u);
  EXPECT_EQ(pcb[SizeKind_Circles].defaultIndex, 0u);
  EXPECT_EQ(pcb[SizeKind_Circles].entries[0].value1, 216000);
  EXPECT_EQ(pcb[SizeKind_Rectangles].count(), 32u);
  EXPECT_EQ(pcb[SizeKind_Rectangles].entries[0].value1, 432000);
  EXPECT_EQ(pcb[SizeKind_Rectangles].entries[0].value2, 432000);
  EXPECT_EQ(pcb[SizeKind_Holes].count(), 43u);
  EXPECT_EQ(pcb[SizeKind_Holes].defaultIndex, 23u);
  EXPECT_EQ(pcb[SizeKind_Holes].entries[23].value1, 1800000);  // 2.5 mm
  EXPECT_EQ(pcb[SizeKind_Holes].entries[42].value1, 7200000);  // 10.0 mm
  EXPECT_EQ(pcb[SizeKind_Vias].count(), 8u);
  EXPECT_EQ(pcb[SizeKind_Vias].defaultIndex, 1u);
  EXPECT_EQ(pcb[SizeKind_Vias].entries[1].value1, 288000);
  EXPECT_EQ(pcb[SizeKind_Vias].entries[1].value2, 503999);
  EXPECT_EQ(pcb[SizeKind_Fonts].count(), 10u);
  EXPECT_EQ(pcb[SizeKind_Fonts].defaultIndex, 3u);
  EXPECT_EQ(pcb[SizeKind_Fonts].entries[3].value1, 16);
  EXPECT_EQ(pcb[SizeKind_Fonts].entries[3].unit, kSizeUnitNone);
  EXPECT_STREQ(pcb[SizeKind_Fonts].entries[0].name, "Designator");
  EXPECT_STREQ(pcb[SizeKind_Fonts].entries[9].name, "Board Label");
  EXPECT_EQ(pcb[SizeKind_Dots].count(), 2u);
  for (std::uint32_t k = 0; k < kSizeKindCount; ++k)
    for (const SizeEntry& e : pcb[k].entries) EXPECT_EQ(e.flags, kSizeEntryOn);
  EXPECT_TRUE(MissingSizeSections(pcb, kEditorPcb).empty());
}

TEST(DefaultSizeText, OtherEditorKinds) {
  auto shape = ParseBuiltIn(kEditorShape);
  EXPECT_EQ((*shape)[SizeKind_Lines].count(), 12u);
  EXPECT_EQ((*shape)[SizeKind_Circles].count(), 32u);
  EXPECT_TRUE(MissingSizeSections(*shape, kEditorShape).empty());
  auto symbol = ParseBuiltIn(kEditorPcbSymbol);
  EXPECT_STREQ((*symbol)[SizeKind_Lines].entries[0].name, "Symbol Outline");
  EXPECT_EQ((*symbol)[SizeKind_Circles].count(), 30u);
  EXPECT_EQ((*symbol)[SizeKind_Holes].count(), 22u);
  auto padStack = ParseBuiltIn(kEditorPadStack);
  EXPECT_EQ((*padStack)[SizeKind_Holes].count(), 33u);
  EXPECT_EQ((*padStack)[SizeKind_Lines].count(), 0u);
  auto schematic = ParseBuiltIn(kEditorSchematic);
  EXPECT_EQ((*schematic)[SizeKind_Lines].count(), 9u);
  EXPECT_STREQ((*schematic)[SizeKind_Lines].entries[8].name, "Thick Bus");
  EXPECT_EQ((*schematic)[SizeKind_Fonts].count(), 6u);
  EXPECT_EQ((*schematic)[SizeKind_Fonts].entries[5].value1, 128);
  EXPECT_TRUE(MissingSizeSections(*schematic, kEditorSchematic).empty());
  EXPECT_EQ(DefaultSizeText(kEditorPackage), nullptr);
}

TEST(MissingSizeSections, MessageNamesTheMissingLists) {
  auto table = Parse("[Lines]\r\n\"1\" \"mm\" \"\" \"Y\" \"\"\r\n[Holes]\r\n\"1\" \"mm\" \"\" \"Y\" \"\"\r\n");
  const std::vector<std::uint32_t> missing = MissingSizeSections(*table, kEditorPcb);
  EXPECT_EQ(missing, (std::vector<std::uint32_t>{SizeKind_Circles, SizeKind_Rectangles, SizeKind_Vias,
                                                 SizeKind_Fonts}));
  EXPECT_EQ(MissingSizeSectionsMessage(missing),
            "Size file is not valid for this editor, file is missing the following: Circles, Rectangles, Vias, "
            "Fonts, using internal default sizes instead.");
  EXPECT_TRUE(MissingSizeSections(*table, kEditorPadStack).empty());
}

}  // namespace
