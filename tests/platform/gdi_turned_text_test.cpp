// Text turned by the font's escapement.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "platform/gdi.h"
#include "tests/platform/gdi_canvas.h"

namespace {

using pl3test::Canvas;

constexpr int kSide = 160;  // square canvases turned about their centre (80, 80)

// Where upright pixel (x, y) lands after a turn of `quarters` x 90 degrees
// counter-clockwise about the corner point (80, 80).
POINT Turned(int quarters, int x, int y) {
  switch (quarters) {
    case 1: return POINT{y, kSide - 1 - x};
    case 2: return POINT{kSide - 1 - x, kSide - 1 - y};
    default: return POINT{kSide - 1 - y, x};
  }
}

void DrawSample(HDC dc, int escapement, int bkMode, UINT align) {
  HFONT font = CreateFont(-22, 0, escapement, escapement, FW_NORMAL, TRUE, TRUE, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
  HFONT old = SelectObject(dc, font);
  SetBkMode(dc, bkMode);
  SetBkColor(dc, RGB(10, 200, 30));
  SetTextColor(dc, RGB(200, 20, 90));
  SetTextAlign(dc, align);
  TextOut(dc, 80, 80, "Wag&j", 5);
  SelectObject(dc, old);
  DeleteObject(font);
}

// Upright text over noise, and turned text over the same noise turned: the
// two canvases must be each other turned, pixel for pixel, blends included.
TEST(TurnedText, QuarterTurnsMoveUprightPixelsExactly) {
  if (!std::filesystem::exists("/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf"))
    GTEST_SKIP() << "Liberation fonts are not installed (package fonts-liberation)";
  struct Case {
    int quarters;
    int bkMode;
    UINT align;
  };
  const Case cases[] = {{1, TRANSPARENT, TA_LEFT | TA_TOP},      {2, OPAQUE, TA_LEFT | TA_TOP},
                        {3, TRANSPARENT, TA_CENTER | TA_BASELINE}, {3, OPAQUE, TA_RIGHT | TA_BOTTOM},
                        {1, OPAQUE, TA_CENTER | TA_BASELINE}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.quarters * 900 << " mode " << c.bkMode << " align " << c.align);
    Canvas upright(kSide, kSide), turned(kSide, kSide);
    upright.FillNoise(7);
    for (int y = 0; y < kSide; ++y)
      for (int x = 0; x < kSide; ++x) {
        const POINT t = Turned(c.quarters, x, y);
        turned.Set(t.x, t.y, upright.At(x, y));
      }
    const std::vector<std::uint32_t> noise = upright.Pixels();
    DrawSample(upright.dc(), 0, c.bkMode, c.align);
    DrawSample(turned.dc(), c.quarters * 900, c.bkMode, c.align);
    ASSERT_NE(upright.Pixels(), noise);  // something was drawn
    int wrong = 0;
    for (int y = 0; y < kSide; ++y)
      for (int x = 0; x < kSide; ++x) {
        const POINT t = Turned(c.quarters, x, y);
        wrong += turned.At(t.x, t.y) != upright.At(x, y);
      }
    EXPECT_EQ(wrong, 0);
  }
}

TEST(TurnedText, OtherAnglesFollowTheirBaseline) {
  if (!std::filesystem::exists("/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf"))
    GTEST_SKIP() << "Liberation fonts are not installed (package fonts-liberation)";
  Canvas canvas(kSide, kSide);
  canvas.FillSolid(0xFFFFFF);
  DrawSample(canvas.dc(), 450, TRANSPARENT, TA_LEFT | TA_BASELINE);
  // Ink runs up and to the right of (80, 80), along the diagonal.
  int inked = 0, offLine = 0;
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x) {
      if (canvas.At(x, y) == 0xFFFFFF) continue;
      ++inked;
      const int along = (x - 80) + (80 - y);   // twice the distance along the baseline / sqrt 2
      const int across = (x - 80) - (80 - y);  // below the baseline is positive
      offLine += along < -4 || across < -2 * 22 || across > 2 * 10;
    }
  EXPECT_GT(inked, 150);
  EXPECT_EQ(offLine, 0);
}

TEST(TurnedText, CurrentPositionMovesAlongTheBaseline) {
  if (!std::filesystem::exists("/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf"))
    GTEST_SKIP() << "Liberation fonts are not installed (package fonts-liberation)";
  Canvas canvas(100, 100);
  HFONT font = CreateFont(-16, 0, 2700, 2700, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
  HFONT old = SelectObject(canvas.dc(), font);
  SIZE size{};
  GetTextExtentPoint32(canvas.dc(), "Pane", 4, &size);
  SetTextAlign(canvas.dc(), TA_UPDATECP);
  MoveToEx(canvas.dc(), 50, 10, nullptr);
  TextOut(canvas.dc(), 0, 0, "Pane", 4);
  POINT p{};
  GetCurrentPositionEx(canvas.dc(), &p);
  EXPECT_EQ(p.x, 50);
  EXPECT_EQ(p.y, 10 + size.cx);  // 270 degrees reads downwards
  SelectObject(canvas.dc(), old);
  DeleteObject(font);
}

}  // namespace
