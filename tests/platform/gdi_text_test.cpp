// Fonts and text: stable measurements, layout of DrawText, and drawing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>
#include <filesystem>
#include <limits>
#include <string>

#include "platform/gdi.h"
#include "tests/platform/gdi_canvas.h"

namespace {

using pl3test::Canvas;

bool FontsInstalled() {
  return std::filesystem::exists("/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf");
}


class GdiText : public testing::Test {
 protected:
  void SetUp() override {
    if (!FontsInstalled()) {
      GTEST_SKIP() << "Liberation fonts are not installed (package fonts-liberation)";
    }
    font_ = CreateFont(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
    old_ = SelectObject(canvas_.dc(), font_);
  }
  void TearDown() override {
    if (!font_) return;
    SelectObject(canvas_.dc(), old_);
    DeleteObject(font_);
  }
  SIZE Extent(const char* text) {
    SIZE s{};
    EXPECT_TRUE(GetTextExtentPoint32(canvas_.dc(), text, static_cast<int>(std::strlen(text)), &s));
    return s;
  }

  Canvas canvas_{200, 60};
  HFONT font_ = nullptr;
  HFONT old_ = nullptr;
};

TEST_F(GdiText, ArialSixteenPixelMetricsArePlausible) {
  TEXTMETRIC tm{};
  ASSERT_TRUE(GetTextMetrics(canvas_.dc(), &tm));
  EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
  EXPECT_GE(tm.tmHeight, 16);
  EXPECT_LE(tm.tmHeight, 20);
  EXPECT_GT(tm.tmAscent, tm.tmDescent);
  EXPECT_GT(tm.tmDescent, 0);
  EXPECT_EQ(tm.tmInternalLeading, tm.tmHeight - 16);
  EXPECT_GE(tm.tmAveCharWidth, 5);
  EXPECT_LE(tm.tmAveCharWidth, 10);
  EXPECT_GT(tm.tmMaxCharWidth, tm.tmAveCharWidth);
  EXPECT_EQ(tm.tmWeight, FW_NORMAL);
  char face[LF_FACESIZE];
  EXPECT_EQ(GetTextFaceA(canvas_.dc(), sizeof face, face), 5);
  EXPECT_STREQ(face, "Arial");
}

// Liberation Sans keeps Arial's advance widths, so these numbers are the
// widths the program was laid out with; they must not move between runs.
TEST_F(GdiText, ExtentsAreFixedNumbers) {
  struct Case {
    const char* text;
    LONG width;
  };
  const Case cases[] = {{"Hello, World", 88}, {"iiii", 16}, {"WWWW", 60}, {"0123456789", 90}, {"", 0}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.text);
    EXPECT_EQ(Extent(k.text).cx, k.width);
  }
}

TEST_F(GdiText, ExtentsAddUpAndDoNotDependOnTheFontObject) {
  const SIZE hello = Extent("Hello"), world = Extent(", World"), both = Extent("Hello, World");
  EXPECT_EQ(both.cx, hello.cx + world.cx) << "advances are whole pixels without kerning";
  EXPECT_GT(Extent("WWWW").cx, Extent("iiii").cx);
  TEXTMETRIC tm{};
  GetTextMetrics(canvas_.dc(), &tm);
  EXPECT_EQ(both.cy, tm.tmHeight);
  // A second font object with the same description measures the same.
  LOGFONT lf{};
  GetObject(font_, sizeof lf, &lf);
  HFONT again = CreateFontIndirect(&lf);
  Canvas other(10, 10);
  HFONT old = SelectObject(other.dc(), again);
  SIZE s{};
  GetTextExtentPoint32(other.dc(), "Hello, World", 12, &s);
  EXPECT_EQ(s.cx, both.cx);
  EXPECT_EQ(s.cy, both.cy);
  SelectObject(other.dc(), old);
  DeleteObject(again);
}

TEST_F(GdiText, FaceNamesMapToInstalledFaces) {
  LONG widths[3];
  const char* faces[3] = {"MS Sans Serif", "Courier New", "No Such Face"};
  for (int i = 0; i < 3; ++i) {
    HFONT f = CreateFont(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, faces[i]);
    HFONT old = SelectObject(canvas_.dc(), f);
    SIZE s{};
    GetTextExtentPoint32(canvas_.dc(), "iiiiWWWW", 8, &s);
    widths[i] = s.cx;
    SelectObject(canvas_.dc(), old);
    DeleteObject(f);
  }
  EXPECT_EQ(widths[0], Extent("iiiiWWWW").cx) << "MS Sans Serif reads as Arial";
  EXPECT_EQ(widths[2], widths[0]) << "unknown faces fall back to the sans face";
  EXPECT_NE(widths[1], widths[0]) << "Courier New is fixed pitch";
  HFONT bold = CreateFont(-16, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
  HFONT old = SelectObject(canvas_.dc(), bold);
  SIZE s{};
  GetTextExtentPoint32(canvas_.dc(), "rrrr", 4, &s);
  SelectObject(canvas_.dc(), old);
  EXPECT_GT(s.cx, Extent("rrrr").cx) << "the bold face has wider letters";
  DeleteObject(bold);
}

TEST_F(GdiText, CalcRectMeasuresWithoutDrawing) {
  canvas_.FillSolid(0x123456);
  const auto before = canvas_.Pixels();
  TEXTMETRIC tm{};
  GetTextMetrics(canvas_.dc(), &tm);
  RECT rc{10, 5, 10, 5};
  EXPECT_EQ(DrawText(canvas_.dc(), "Hello, World", -1, &rc, DT_CALCRECT | DT_SINGLELINE), tm.tmHeight);
  EXPECT_EQ(rc.left, 10);
  EXPECT_EQ(rc.right - rc.left, Extent("Hello, World").cx);
  EXPECT_EQ(rc.bottom - rc.top, tm.tmHeight);
  RECT two{0, 0, 0, 0};
  EXPECT_EQ(DrawText(canvas_.dc(), "Hello\nWorld, again", -1, &two, DT_CALCRECT), 2 * tm.tmHeight);
  EXPECT_EQ(two.right, Extent("World, again").cx);
  RECT wrapped{0, 0, Extent("Hello, World").cx - 1, 0};
  EXPECT_EQ(DrawText(canvas_.dc(), "Hello, World", -1, &wrapped, DT_CALCRECT | DT_WORDBREAK), 2 * tm.tmHeight);
  EXPECT_EQ(wrapped.right, Extent("World").cx);
  RECT prefixed{0, 0, 0, 0};
  DrawText(canvas_.dc(), "&File", -1, &prefixed, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_EQ(prefixed.right, Extent("File").cx);
  RECT raw{0, 0, 0, 0};
  DrawText(canvas_.dc(), "&File", -1, &raw, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  EXPECT_EQ(raw.right, Extent("&File").cx);
  EXPECT_EQ(canvas_.Pixels(), before);
}

TEST_F(GdiText, MnemonicPrefixUnderlinesItsLetter) {
  auto drawn = [&](UINT format) {
    canvas_.FillSolid(0xFFFFFF);
    SetBkMode(canvas_.dc(), TRANSPARENT);
    RECT rc{0, 0, 200, 60};
    DrawText(canvas_.dc(), "&File", -1, &rc, DT_SINGLELINE | format);
    return canvas_.Pixels();
  };
  const auto underlined = drawn(0), hidden = drawn(DT_HIDEPREFIX);
  TEXTMETRIC tm{};
  GetTextMetrics(canvas_.dc(), &tm);
  const int fWidth = Extent("F").cx;
  int extra = 0;
  for (int y = tm.tmAscent; y < tm.tmHeight; ++y) {
    for (int x = 0; x < 200; ++x) {
      const bool differs = underlined[y * 200 + x] != hidden[y * 200 + x];
      extra += differs;
      if (differs) {
        EXPECT_LT(x, fWidth) << "only the F is underlined";
      }
    }
  }
  EXPECT_GE(extra, fWidth - 1);
}

TEST_F(GdiText, EllipsisShortensTextToTheBox) {
  const char* text = "The quick brown fox jumps";
  const LONG box = Extent("The quick brow").cx;
  struct Case {
    UINT format;
    const char* expected;
  };
  const Case cases[] = {{DT_END_ELLIPSIS, nullptr}, {DT_WORD_ELLIPSIS, "The quick..."}};
  for (const Case& k : cases) {
    RECT rc{0, 0, box, 0};
    DrawText(canvas_.dc(), text, -1, &rc, DT_CALCRECT | DT_SINGLELINE | k.format);
    EXPECT_LE(rc.right, box);
    EXPECT_GT(rc.right, box / 2);
    if (k.expected) {
      EXPECT_EQ(rc.right, Extent(k.expected).cx);
    }
  }
  // Drawn, nothing passes the box's right edge.
  canvas_.FillSolid(0xFFFFFF);
  const auto before = canvas_.Pixels();
  SetBkMode(canvas_.dc(), TRANSPARENT);
  RECT rc{4, 4, 4 + box, 40};
  DrawText(canvas_.dc(), text, -1, &rc, DT_SINGLELINE | DT_END_ELLIPSIS);
  const RECT changed = canvas_.ChangedBox(before);
  EXPECT_GT(changed.right, 4);
  EXPECT_LE(changed.right, 4 + box);
}

TEST_F(GdiText, TextDrawsInsideItsCellInTheTextColour) {
  canvas_.FillSolid(0xFFFFFF);
  const auto before = canvas_.Pixels();
  SetTextColor(canvas_.dc(), RGB(255, 0, 0));
  SetBkMode(canvas_.dc(), TRANSPARENT);
  const SIZE s = Extent("Hello");
  EXPECT_TRUE(TextOut(canvas_.dc(), 20, 10, "Hello", 5));
  const RECT box = canvas_.ChangedBox(before);
  EXPECT_GE(box.left, 20);
  EXPECT_GE(box.top, 10);
  EXPECT_LE(box.right, 20 + s.cx + 1);
  EXPECT_LE(box.bottom, 10 + s.cy);
  int red = 0;
  for (int y = 10; y < 10 + s.cy; ++y) {
    for (int x = 20; x < 20 + s.cx; ++x) red += canvas_.At(x, y) == 0xFF0000;
  }
  EXPECT_GT(red, 10) << "solid glyph pixels take the text colour";
  // Opaque: the whole cell takes the background colour.
  SetBkMode(canvas_.dc(), OPAQUE);
  SetBkColor(canvas_.dc(), RGB(0, 0, 255));
  TextOut(canvas_.dc(), 20, 30, "Hello", 5);
  EXPECT_EQ(canvas_.At(20, 30), 0x0000FFu);
  EXPECT_EQ(canvas_.At(20 + s.cx - 1, 30 + s.cy - 1), 0x0000FFu);
  EXPECT_EQ(canvas_.At(20 + s.cx, 30), 0xFFFFFFu);
}

TEST_F(GdiText, AlignmentAndCentring) {
  SetBkMode(canvas_.dc(), OPAQUE);
  SetBkColor(canvas_.dc(), RGB(0, 0, 0));
  const SIZE s = Extent("Hi");
  canvas_.FillSolid(0xFFFFFF);
  auto before = canvas_.Pixels();
  SetTextAlign(canvas_.dc(), TA_RIGHT | TA_BOTTOM);
  TextOut(canvas_.dc(), 100, 50, "Hi", 2);
  RECT box = canvas_.ChangedBox(before);
  EXPECT_EQ(box.right, 100);
  EXPECT_EQ(box.bottom, 50);
  EXPECT_EQ(box.left, 100 - s.cx);
  SetTextAlign(canvas_.dc(), TA_LEFT | TA_TOP);
  canvas_.FillSolid(0xFFFFFF);
  RECT rc{0, 0, 200, 60};
  DrawText(canvas_.dc(), "Hi", -1, &rc, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
  box = canvas_.ChangedBox(before);
  EXPECT_EQ(box.left, (200 - s.cx) / 2);
  EXPECT_EQ(box.top, (60 - s.cy) / 2);
}

TEST_F(GdiText, EtoOpaqueFillsTheRectangleAndEtoClippedKeepsTextInside) {
  canvas_.FillSolid(0xFFFFFF);
  const auto before = canvas_.Pixels();
  SetBkMode(canvas_.dc(), TRANSPARENT);
  SetBkColor(canvas_.dc(), RGB(0, 255, 0));
  RECT rc{10, 10, 30, 40};
  ExtTextOut(canvas_.dc(), 5, 12, ETO_OPAQUE | ETO_CLIPPED, &rc, "WWWWWW", 6, nullptr);
  const RECT box = canvas_.ChangedBox(before);
  EXPECT_EQ(box.left, 10);
  EXPECT_EQ(box.top, 10);
  EXPECT_EQ(box.right, 30);
  EXPECT_EQ(box.bottom, 40);
  EXPECT_EQ(canvas_.At(29, 39), 0x00FF00u);
}

TEST_F(GdiText, ExtremePositionsDrawNothingAndDoNotOverflow) {
  const int lo = std::numeric_limits<int>::min(), hi = std::numeric_limits<int>::max();
  canvas_.FillSolid(0x123456);
  const auto before = canvas_.Pixels();
  SetBkMode(canvas_.dc(), OPAQUE);
  EXPECT_TRUE(TextOut(canvas_.dc(), hi, hi, "Far", 3));
  EXPECT_TRUE(TextOut(canvas_.dc(), lo, lo, "Far", 3));
  SetTextAlign(canvas_.dc(), TA_RIGHT | TA_BASELINE | TA_UPDATECP);
  MoveToEx(canvas_.dc(), lo, 0, nullptr);
  EXPECT_TRUE(TextOut(canvas_.dc(), 0, 0, "Far", 3));
  const INT dx[3] = {hi, hi, hi};
  EXPECT_TRUE(ExtTextOut(canvas_.dc(), 300, 300, 0, nullptr, "Far", 3, dx));
  EXPECT_EQ(canvas_.Pixels(), before);
  RECT rc{lo, lo, hi, hi};
  EXPECT_GT(DrawText(canvas_.dc(), "Far", -1, &rc, DT_SINGLELINE | DT_CENTER | DT_VCENTER), 0);
  EXPECT_EQ(canvas_.Pixels(), before) << "centred in a vast box, the text lies far off the canvas";
}

}  // namespace

namespace {

struct Seen {
  std::vector<std::string> faces;
  std::vector<std::string> fullNames;
  std::vector<DWORD> flags;
  int stopAfter = 1000;
};

int CollectFont(const LOGFONTA* font, const TEXTMETRICA* metrics, DWORD type, LPARAM param) {
  auto* seen = reinterpret_cast<Seen*>(param);
  const auto* elf = reinterpret_cast<const ENUMLOGFONTEXA*>(font);
  const auto* ntm = reinterpret_cast<const NEWTEXTMETRICEXA*>(metrics);
  EXPECT_EQ(type, TRUETYPE_FONTTYPE);
  EXPECT_EQ(font->lfCharSet, ANSI_CHARSET);
  EXPECT_GT(metrics->tmHeight, 0);
  seen->faces.push_back(font->lfFaceName);
  seen->fullNames.push_back(reinterpret_cast<const char*>(elf->elfFullName));
  seen->flags.push_back(ntm->ntmTm.ntmFlags);
  return static_cast<int>(seen->faces.size()) < seen->stopAfter;
}

TEST(FontEnumeration, FamiliesThenStylesOfOneFace) {
  LOGFONTA lf{};
  lf.lfCharSet = DEFAULT_CHARSET;
  Seen all;
  EXPECT_EQ(EnumFontFamiliesEx(nullptr, &lf, CollectFont, reinterpret_cast<LPARAM>(&all), 0), 1);
  ASSERT_GE(all.faces.size(), 4u);
  EXPECT_TRUE(std::is_sorted(all.faces.begin(), all.faces.end()));
  EXPECT_EQ(std::count(all.faces.begin(), all.faces.end(), "Arial"), 1);
  EXPECT_EQ(std::count(all.faces.begin(), all.faces.end(), "Times New Roman"), 1);
  EXPECT_EQ(std::count(all.faces.begin(), all.faces.end(), "Courier New"), 1);

  std::strcpy(lf.lfFaceName, "courier new");
  Seen one;
  EnumFontFamiliesEx(nullptr, &lf, CollectFont, reinterpret_cast<LPARAM>(&one), 0);
  EXPECT_EQ(one.fullNames, (std::vector<std::string>{"Courier New", "Courier New Bold", "Courier New Italic",
                                                     "Courier New Bold Italic"}));
  EXPECT_EQ(one.flags, (std::vector<DWORD>{NTM_REGULAR, NTM_BOLD, NTM_ITALIC, NTM_BOLD | NTM_ITALIC}));

  Seen stopped;
  stopped.stopAfter = 2;
  lf.lfFaceName[0] = '\0';
  EXPECT_EQ(EnumFontFamiliesEx(nullptr, &lf, CollectFont, reinterpret_cast<LPARAM>(&stopped), 0), 0);
  EXPECT_EQ(stopped.faces.size(), 2u);

  Seen none;
  lf.lfCharSet = 2;  // a symbol set: not in the catalogue
  EXPECT_EQ(EnumFontFamiliesEx(nullptr, &lf, CollectFont, reinterpret_cast<LPARAM>(&none), 0), 1);
  std::strcpy(lf.lfFaceName, "Wingdings");
  lf.lfCharSet = DEFAULT_CHARSET;
  EnumFontFamiliesEx(nullptr, &lf, CollectFont, reinterpret_cast<LPARAM>(&none), 0);
  EXPECT_TRUE(none.faces.empty());
}

}  // namespace
