// Lines, shapes and fills: the pixel rules that XOR ghosts depend on, and
// clipping of every primitive.
#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "platform/gdi.h"
#include "tests/platform/gdi_canvas.h"

namespace {

using pl3test::Canvas;
using pl3test::Selected;

struct ShapeCase {
  const char* name;
  std::function<void(HDC)> draw;
  bool oneCall = true;   // a single drawing call (several calls may share pixels)
  bool filled = false;   // has an interior for the brush
};

void Line(HDC dc, int x0, int y0, int x1, int y1) {
  MoveToEx(dc, x0, y0, nullptr);
  LineTo(dc, x1, y1);
}

// Shapes that ghosts, crosshairs and drag rectangles are made of, with
// overlapping parts where a careless raster would touch a pixel twice.
const std::vector<ShapeCase>& Shapes() {
  static const std::vector<ShapeCase> cases = {
      {"octant lines", [](HDC dc) {
         // Sixteen directions out of one centre, each a separate call.
         const int d[16][2] = {{20, 0}, {20, 7},  {20, 20},  {7, 20},  {0, 20},   {-7, 20},  {-20, 20}, {-20, 7},
                               {-20, 0}, {-20, -7}, {-20, -20}, {-7, -20}, {0, -20}, {7, -20}, {20, -20}, {20, -7}};
         for (const auto& v : d) Line(dc, 32, 32, 32 + v[0], 32 + v[1]);
       }, false},
      {"back and forth polyline", [](HDC dc) {
         const POINT pts[] = {{5, 5}, {50, 20}, {5, 5}, {40, 50}, {50, 20}, {10, 40}};
         Polyline(dc, pts, 6);
       }},
      {"joined line segments", [](HDC dc) {
         MoveToEx(dc, 3, 60, nullptr);
         LineTo(dc, 30, 3);
         LineTo(dc, 60, 58);
         LineTo(dc, 3, 60);
       }, false},
      {"far-off line crossing the canvas", [](HDC dc) { Line(dc, -99968, -59968, 100032, 60032); }},
      {"rectangle", [](HDC dc) { Rectangle(dc, 6, 8, 50, 40); }, true, true},
      {"thin rectangle", [](HDC dc) { Rectangle(dc, 6, 8, 7, 40); }, true, true},
      {"ellipse", [](HDC dc) { Ellipse(dc, 4, 6, 57, 43); }, true, true},
      {"small ellipses", [](HDC dc) {
         Ellipse(dc, 2, 2, 3, 3);
         Ellipse(dc, 5, 2, 7, 4);
         Ellipse(dc, 9, 2, 12, 9);
         Ellipse(dc, 14, 2, 30, 4);
       }, true, true},
      {"arc", [](HDC dc) { Arc(dc, 4, 4, 60, 50, 60, 10, 4, 40); }},
      {"full arc", [](HDC dc) { Arc(dc, 4, 4, 60, 50, 50, 20, 50, 20); }},
      {"pie", [](HDC dc) { Pie(dc, 4, 4, 60, 50, 60, 10, 4, 40); }, true, true},
      {"chord", [](HDC dc) { Chord(dc, 4, 4, 60, 50, 60, 10, 10, 45); }, true, true},
      {"star polygon", [](HDC dc) {
         const POINT star[] = {{32, 2}, {50, 60}, {3, 22}, {61, 22}, {14, 60}};
         Polygon(dc, star, 5);
       }, true, true},
      {"concave polygon", [](HDC dc) {
         const POINT pts[] = {{4, 4}, {60, 4}, {60, 60}, {30, 20}, {4, 60}};
         Polygon(dc, pts, 5);
       }, true, true},
  };
  return cases;
}

struct PenCase {
  const char* name;
  int style;
  int width;
};

const PenCase kPens[] = {{"hairline", PS_SOLID, 0}, {"dotted", PS_DOT, 1}, {"dashed", PS_DASH, 1},
                         {"three wide", PS_SOLID, 3}, {"four wide", PS_SOLID, 4}, {"null pen", PS_NULL, 1}};

TEST(GdiShapes, EveryShapeDrawnTwiceInXorRestoresEveryPixel) {
  for (const ShapeCase& shape : Shapes()) {
    for (const PenCase& pen : kPens) {
      for (int brushKind : {0, 1, 2}) {
        const bool filled = brushKind != 0;
        SCOPED_TRACE(std::string(shape.name) + ", " + pen.name + (brushKind == 0 ? ", hollow" : brushKind == 1 ? ", filled" : ", hatched"));
        Canvas c(64, 64);
        c.FillNoise(7);
        const auto before = c.Pixels();
        Selected<HPEN> p(c.dc(), CreatePen(pen.style, pen.width, RGB(0x35, 0xC0, 0x7A)));
        HBRUSH brush = brushKind == 0   ? (HBRUSH)GetStockObject(NULL_BRUSH)
                       : brushKind == 1 ? CreateSolidBrush(RGB(0x81, 0x12, 0xE4))
                                        : CreateHatchBrush(HS_DIAGCROSS, RGB(0x81, 0x12, 0xE4));
        Selected<HBRUSH> b(c.dc(), brush);
        SetROP2(c.dc(), R2_XORPEN);
        shape.draw(c.dc());
        if (pen.style != PS_NULL || (filled && shape.filled)) {
          EXPECT_NE(c.Pixels(), before) << "the first drawing changed nothing";
        }
        shape.draw(c.dc());
        EXPECT_EQ(c.Pixels(), before);
      }
    }
  }
}

// On black, one XOR drawing equals one copy drawing only when no pixel was
// written twice: a pixel hit twice by the pen would be black again, a pixel
// hit by pen and brush would show their mix.
TEST(GdiShapes, OneCallWritesEachPixelOnce) {
  for (const ShapeCase& shape : Shapes()) {
    if (!shape.oneCall) continue;
    for (const PenCase& pen : kPens) {
      SCOPED_TRACE(std::string(shape.name) + ", " + pen.name);
      std::vector<std::uint32_t> results[2];
      for (int rop : {R2_XORPEN, R2_COPYPEN}) {
        Canvas c(64, 64);
        c.FillSolid(0);
        Selected<HPEN> p(c.dc(), CreatePen(pen.style, pen.width, RGB(255, 0, 0)));
        Selected<HBRUSH> b(c.dc(), CreateSolidBrush(RGB(0, 255, 0)));
        SetROP2(c.dc(), rop);
        shape.draw(c.dc());
        results[rop == R2_COPYPEN] = c.Pixels();
      }
      EXPECT_EQ(results[0], results[1]);
    }
  }
}

TEST(GdiShapes, LinesLeaveOutTheirLastPixel) {
  struct Case {
    POINT a, b;
  };
  const Case cases[] = {{{2, 5}, {12, 5}}, {{12, 5}, {2, 5}},   {{5, 2}, {5, 12}}, {{2, 2}, {12, 12}},
                        {{12, 2}, {2, 12}}, {{2, 3}, {14, 8}}, {{3, 2}, {8, 14}}, {{14, 8}, {2, 3}}};
  for (const Case& k : cases) {
    SCOPED_TRACE(testing::Message() << k.a.x << "," << k.a.y << " -> " << k.b.x << "," << k.b.y);
    Canvas c(16, 16);
    c.FillSolid(0);
    Selected<HPEN> p(c.dc(), CreatePen(PS_SOLID, 1, RGB(255, 255, 255)));
    Line(c.dc(), k.a.x, k.a.y, k.b.x, k.b.y);
    EXPECT_EQ(c.At(k.a.x, k.a.y), 0xFFFFFFu) << "first pixel";
    EXPECT_EQ(c.At(k.b.x, k.b.y), 0u) << "last pixel";
    // One pixel per step along the major axis, each step moving at most one
    // pixel on the minor axis: a connected line of max(|dx|, |dy|) pixels.
    const int steps = std::max(std::abs(k.b.x - k.a.x), std::abs(k.b.y - k.a.y));
    int count = 0;
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 16; ++x) count += c.At(x, y) != 0;
    }
    EXPECT_EQ(count, steps);
  }
}

TEST(GdiShapes, PolylineCornersAreDrawnOnceAndTheEndIsLeftOut) {
  Canvas c(16, 16);
  c.FillSolid(0);
  Selected<HPEN> p(c.dc(), CreatePen(PS_SOLID, 1, RGB(255, 255, 255)));
  SetROP2(c.dc(), R2_XORPEN);
  MoveToEx(c.dc(), 2, 2, nullptr);
  LineTo(c.dc(), 10, 2);
  LineTo(c.dc(), 10, 9);
  EXPECT_EQ(c.At(10, 2), 0xFFFFFFu);  // the corner: end of one line, start of the next
  EXPECT_EQ(c.At(10, 9), 0u);
  POINT pos;
  GetCurrentPositionEx(c.dc(), &pos);
  EXPECT_EQ(pos.x, 10);
  EXPECT_EQ(pos.y, 9);
}

TEST(GdiShapes, RectanglesAndEllipsesStayInsideLeftTopRightBottomExclusive) {
  struct Case {
    const char* name;
    std::function<void(HDC)> draw;
  };
  const Case cases[] = {
      {"Rectangle", [](HDC dc) { Rectangle(dc, 3, 4, 20, 15); }},
      {"Ellipse", [](HDC dc) { Ellipse(dc, 3, 4, 20, 15); }},
      {"Rectangle given right to left", [](HDC dc) { Rectangle(dc, 20, 15, 3, 4); }},
      {"FillRect", [](HDC dc) {
         RECT rc{3, 4, 20, 15};
         FillRect(dc, &rc, (HBRUSH)GetStockObject(BLACK_BRUSH));
       }},
      {"FrameRect", [](HDC dc) {
         RECT rc{3, 4, 20, 15};
         FrameRect(dc, &rc, (HBRUSH)GetStockObject(BLACK_BRUSH));
       }},
      {"InvertRect", [](HDC dc) {
         RECT rc{3, 4, 20, 15};
         InvertRect(dc, &rc);
       }},
      {"PatBlt", [](HDC dc) { PatBlt(dc, 3, 4, 17, 11, BLACKNESS); }},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    Canvas c(24, 24);
    c.FillSolid(0x808080);
    const auto before = c.Pixels();
    k.draw(c.dc());
    const RECT box = c.ChangedBox(before);
    EXPECT_EQ(box.left, 3);
    EXPECT_EQ(box.top, 4);
    EXPECT_EQ(box.right, 20);
    EXPECT_EQ(box.bottom, 15);
  }
}

TEST(GdiShapes, RectangleOutlinesWithThePenAndFillsInsideWithTheBrush) {
  Canvas c(12, 12);
  c.FillSolid(0x808080);
  Selected<HPEN> p(c.dc(), CreatePen(PS_SOLID, 1, RGB(255, 0, 0)));
  Selected<HBRUSH> b(c.dc(), CreateSolidBrush(RGB(0, 0, 255)));
  Rectangle(c.dc(), 2, 2, 8, 7);
  EXPECT_EQ(c.At(2, 2), 0xFF0000u);
  EXPECT_EQ(c.At(7, 6), 0xFF0000u);
  EXPECT_EQ(c.At(7, 3), 0xFF0000u);
  EXPECT_EQ(c.At(3, 3), 0x0000FFu);
  EXPECT_EQ(c.At(6, 5), 0x0000FFu);
  EXPECT_EQ(c.At(8, 4), 0x808080u);
  EXPECT_EQ(c.At(4, 7), 0x808080u);
}

TEST(GdiShapes, EllipseIsSymmetricAndItsOutlineClosed) {
  Canvas c(40, 40);
  c.FillSolid(0);
  Selected<HPEN> p(c.dc(), CreatePen(PS_SOLID, 1, RGB(255, 255, 255)));
  Selected<HBRUSH> b(c.dc(), CreateSolidBrush(RGB(0, 0, 255)));
  Ellipse(c.dc(), 5, 7, 35, 29);
  for (int y = 7; y < 29; ++y) {
    for (int x = 5; x < 35; ++x) {
      EXPECT_EQ(c.At(x, y), c.At(39 - x, y)) << x << "," << y;      // mirrored left to right
      EXPECT_EQ(c.At(x, y), c.At(x, 35 - y)) << x << "," << y;      // and top to bottom
      if (c.At(x, y) == 0x0000FF) {                                 // no fill pixel touches the outside
        EXPECT_NE(c.At(x - 1, y), 0u);
        EXPECT_NE(c.At(x + 1, y), 0u);
        EXPECT_NE(c.At(x, y - 1), 0u);
        EXPECT_NE(c.At(x, y + 1), 0u);
      }
    }
  }
  EXPECT_EQ(c.At(20, 18), 0x0000FFu);
}

TEST(GdiShapes, FillModesDifferOnlyInTheStarCentre) {
  const POINT star[] = {{32, 2}, {50, 60}, {3, 22}, {61, 22}, {14, 60}};
  std::uint32_t centre[2];
  for (int mode : {ALTERNATE, WINDING}) {
    Canvas c(64, 64);
    c.FillSolid(0);
    SelectObject(c.dc(), GetStockObject(NULL_PEN));
    SelectObject(c.dc(), GetStockObject(WHITE_BRUSH));
    EXPECT_NE(SetPolyFillMode(c.dc(), mode), 0);
    Polygon(c.dc(), star, 5);
    EXPECT_EQ(c.At(32, 10), 0xFFFFFFu) << "a point of the star";
    centre[mode == WINDING] = c.At(32, 34);
  }
  EXPECT_EQ(centre[0], 0u);
  EXPECT_EQ(centre[1], 0xFFFFFFu);
}

TEST(GdiShapes, ArcsRunCounterClockwiseFromStartToEnd) {
  // From the ray at 0 degrees (right) to the ray at 90 degrees (up): the
  // top-right quarter of a 40 x 40 circle.
  struct Case {
    const char* name;
    std::function<void(HDC)> draw;
    POINT in[2];
    POINT out[2];
  };
  const Case cases[] = {
      {"Arc", [](HDC dc) { Arc(dc, 0, 0, 40, 40, 40, 20, 20, 0); }, {{39, 19}, {34, 6}}, {{6, 34}, {20, 39}}},
      {"Pie", [](HDC dc) { Pie(dc, 0, 0, 40, 40, 40, 20, 20, 0); }, {{28, 12}, {21, 18}}, {{12, 28}, {12, 12}}},
      {"Chord", [](HDC dc) { Chord(dc, 0, 0, 40, 40, 40, 20, 20, 0); }, {{32, 8}, {34, 6}}, {{20, 20}, {10, 30}}},
      {"Chord past half", [](HDC dc) { Chord(dc, 0, 0, 40, 40, 40, 20, 40, 21); }, {{20, 20}, {5, 30}},
       {{-1, -1}, {-1, -1}}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    Canvas c(40, 40);
    c.FillSolid(0);
    SelectObject(c.dc(), GetStockObject(WHITE_PEN));
    SelectObject(c.dc(), GetStockObject(WHITE_BRUSH));
    k.draw(c.dc());
    for (POINT p : k.in) EXPECT_EQ(c.At(p.x, p.y), 0xFFFFFFu) << p.x << "," << p.y;
    for (POINT p : k.out) {
      if (p.x >= 0) {
        EXPECT_EQ(c.At(p.x, p.y), 0u) << p.x << "," << p.y;
      }
    }
  }
}

TEST(GdiShapes, DashedPensFillTheirGapsOnlyWithAnOpaqueBackground) {
  for (int mode : {TRANSPARENT, OPAQUE}) {
    SCOPED_TRACE(mode);
    Canvas c(40, 40);
    c.FillSolid(0);
    Selected<HPEN> p(c.dc(), CreatePen(PS_DOT, 1, RGB(255, 0, 0)));
    SelectObject(c.dc(), GetStockObject(NULL_BRUSH));
    SetBkMode(c.dc(), mode);
    SetBkColor(c.dc(), RGB(0, 0, 255));
    Line(c.dc(), 0, 2, 40, 2);
    Ellipse(c.dc(), 4, 6, 36, 38);
    int pen = 0, gap = 0;
    for (int y = 0; y < 40; ++y) {
      for (int x = 0; x < 40; ++x) {
        pen += c.At(x, y) == 0xFF0000;
        gap += c.At(x, y) == 0x0000FF;
      }
    }
    EXPECT_GT(pen, 30);
    EXPECT_EQ(gap > 0, mode == OPAQUE);
    if (mode == OPAQUE) {
      EXPECT_GT(gap, pen / 2);
      EXPECT_LT(gap, pen * 2);
    }
  }
}

TEST(GdiShapes, HatchBrushesDrawLinesEveryEightPixelsFromTheBrushOrigin) {
  for (int mode : {TRANSPARENT, OPAQUE}) {
    SCOPED_TRACE(mode);
    Canvas c(24, 24);
    c.FillSolid(0x808080);
    SetBkMode(c.dc(), mode);
    SetBkColor(c.dc(), RGB(0, 0, 255));
    SetBrushOrgEx(c.dc(), 2, 3, nullptr);
    HBRUSH hatch = CreateHatchBrush(HS_CROSS, RGB(255, 0, 0));
    RECT rc{0, 0, 24, 24};
    EXPECT_EQ(FillRect(c.dc(), &rc, hatch), 1);
    const std::uint32_t gap = mode == OPAQUE ? 0x0000FFu : 0x808080u;
    for (int y = 0; y < 24; ++y) {
      for (int x = 0; x < 24; ++x) {
        const bool line = (x - 2) % 8 == 0 || (y - 3) % 8 == 0;
        ASSERT_EQ(c.At(x, y), line ? 0xFF0000u : gap) << x << "," << y;
      }
    }
    LOGBRUSH lb{};
    EXPECT_EQ(GetObject(hatch, sizeof lb, &lb), static_cast<int>(sizeof lb));
    EXPECT_EQ(lb.lbStyle, BS_HATCHED);
    EXPECT_EQ(lb.lbHatch, static_cast<std::uintptr_t>(HS_CROSS));
    DeleteObject(hatch);
  }
  EXPECT_EQ(CreateHatchBrush(6, 0), nullptr);
}

TEST(GdiShapes, AllSixteenBinaryRasterOperations) {
  // Each code minus one is the truth table over (pen bit, destination bit).
  const std::uint32_t pen = 0x00F0F0F0 & 0x00FF00FF, dst = 0x00CCAA33;
  for (int rop = R2_BLACK; rop <= R2_WHITE; ++rop) {
    SCOPED_TRACE(rop);
    Canvas c(4, 4);
    c.FillSolid(dst);
    Selected<HPEN> p(c.dc(), CreatePen(PS_SOLID, 1, RGB(pen >> 16, (pen >> 8) & 0xFF, pen & 0xFF)));
    EXPECT_EQ(SetROP2(c.dc(), rop), R2_COPYPEN);
    EXPECT_EQ(GetROP2(c.dc()), rop);
    Line(c.dc(), 0, 1, 4, 1);
    std::uint32_t expected = 0;
    for (int bit = 0; bit < 24; ++bit) {
      const int index = (((pen >> bit) & 1) << 1) | ((dst >> bit) & 1);
      expected |= static_cast<std::uint32_t>(((rop - 1) >> index) & 1) << bit;
    }
    EXPECT_EQ(c.At(2, 1), expected);
    EXPECT_EQ(c.At(2, 2), dst);
  }
  Canvas c(2, 2);
  EXPECT_EQ(SetROP2(c.dc(), 17), 0);
  EXPECT_EQ(SetROP2(c.dc(), 0), 0);
}

TEST(GdiShapes, FocusRectangleIsADottedFrameThatASecondCallRemoves) {
  Canvas c(20, 20);
  c.FillNoise(3);
  const auto before = c.Pixels();
  RECT rc{2, 3, 15, 12};
  DrawFocusRect(c.dc(), &rc);
  EXPECT_EQ(c.ChangedBox(before).left, 2);
  EXPECT_EQ(c.ChangedBox(before).bottom, 12);
  int changed = 0;
  for (int x = 2; x < 15; ++x) changed += c.At(x, 3) != before[3 * 20 + x];
  EXPECT_GT(changed, 4);
  EXPECT_LT(changed, 13);
  DrawFocusRect(c.dc(), &rc);
  EXPECT_EQ(c.Pixels(), before);
}

TEST(GdiShapes, SystemColourBrushIndexesFillWithTheSystemColour) {
  Canvas c(8, 8);
  RECT rc{0, 0, 8, 8};
  EXPECT_EQ(FillRect(c.dc(), &rc, (HBRUSH)(COLOR_WINDOW + 1)), 1);
  EXPECT_EQ(c.At(4, 4), 0xFFFFFFu);
  const INT index = COLOR_BTNFACE;
  const COLORREF colour = RGB(10, 20, 30);
  SetSysColors(1, &index, &colour);
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), colour);
  FillRect(c.dc(), &rc, GetSysColorBrush(COLOR_BTNFACE));
  EXPECT_EQ(c.At(4, 4), 0x0A141Eu);
  EXPECT_TRUE(DeleteObject(GetSysColorBrush(COLOR_BTNFACE)));  // stock: ignored
  FillRect(c.dc(), &rc, GetSysColorBrush(COLOR_BTNFACE));
  EXPECT_EQ(c.At(4, 4), 0x0A141Eu);
}

TEST(GdiShapes, ExtremeCoordinatesDrawWhatIsOnTheCanvas) {
  const int lo = std::numeric_limits<int>::min(), hi = std::numeric_limits<int>::max();
  Canvas c(16, 16);
  c.FillSolid(0);
  SelectObject(c.dc(), GetStockObject(WHITE_PEN));
  SelectObject(c.dc(), GetStockObject(WHITE_BRUSH));
  SetViewportOrgEx(c.dc(), 5, 5, nullptr);
  Line(c.dc(), lo, 0, hi, 0);
  for (int x = 0; x < 16; ++x) EXPECT_EQ(c.At(x, 5), 0xFFFFFFu) << x;
  EXPECT_EQ(c.At(3, 4), 0u);
  c.FillSolid(0);
  Rectangle(c.dc(), lo, lo, hi, hi);
  EXPECT_EQ(c.At(0, 0), 0xFFFFFFu);
  EXPECT_EQ(c.At(15, 15), 0xFFFFFFu);
  c.FillSolid(0);
  RECT huge{lo, lo, hi, hi};
  FillRect(c.dc(), &huge, (HBRUSH)GetStockObject(WHITE_BRUSH));
  InvertRect(c.dc(), &huge);
  EXPECT_EQ(c.At(7, 7), 0u);
  Ellipse(c.dc(), lo, lo, hi, hi);
  EXPECT_EQ(c.At(7, 7), 0xFFFFFFu) << "the middle of a vast ellipse";
  PatBlt(c.dc(), hi - 1, hi - 1, hi, hi, WHITENESS);
  ExcludeClipRect(c.dc(), lo, lo, hi, hi);
  RECT box;
  EXPECT_EQ(GetClipBox(c.dc(), &box), NULLREGION);
}

TEST(GdiShapes, SetPixelAndGetPixelConvertColourOrder) {
  Canvas c(4, 4);
  EXPECT_EQ(SetPixel(c.dc(), 1, 2, RGB(0x11, 0x22, 0x33)), RGB(0x11, 0x22, 0x33));
  EXPECT_EQ(c.At(1, 2), 0x112233u);
  EXPECT_EQ(GetPixel(c.dc(), 1, 2), RGB(0x11, 0x22, 0x33));
  EXPECT_EQ(GetPixel(c.dc(), 4, 0), CLR_INVALID);
  EXPECT_EQ(SetPixel(c.dc(), -1, 0, 0), CLR_INVALID);
}

// ---------------------------------------------------------------------------
// Clipping: a clipped drawing equals the unclipped one inside the clip and
// leaves every pixel outside it alone.

struct ClipCase {
  const char* name;
  std::function<void(HDC)> apply;
  std::function<bool(int, int)> inside;
};

bool InRect(int x, int y, int l, int t, int r, int b) { return x >= l && x < r && y >= t && y < b; }

const std::vector<ClipCase>& Clips() {
  static const std::vector<ClipCase> cases = {
      {"IntersectClipRect", [](HDC dc) { IntersectClipRect(dc, 10, 12, 41, 37); },
       [](int x, int y) { return InRect(x, y, 10, 12, 41, 37); }},
      {"ExcludeClipRect", [](HDC dc) { ExcludeClipRect(dc, 15, 0, 30, 64); },
       [](int x, int y) { return !InRect(x, y, 15, 0, 30, 64); }},
      {"region of two rectangles", [](HDC dc) {
         HRGN a = CreateRectRgn(5, 5, 25, 50);
         HRGN b = CreateRectRgn(20, 30, 60, 40);
         CombineRgn(a, a, b, RGN_OR);
         SelectClipRgn(dc, a);  // copied: both can go now
         DeleteObject(a);
         DeleteObject(b);
       },
       [](int x, int y) { return InRect(x, y, 5, 5, 25, 50) || InRect(x, y, 20, 30, 60, 40); }},
      {"region then exclude then intersect", [](HDC dc) {
         HRGN r = CreateEllipticRgn(0, 0, 64, 64);
         SelectClipRgn(dc, r);
         DeleteObject(r);
         ExcludeClipRect(dc, 0, 0, 32, 32);
         IntersectClipRect(dc, 0, 0, 64, 50);
       },
       [](int x, int y) {
         const double dx = x + 0.5 - 32, dy = y + 0.5 - 32;
         return dx * dx + dy * dy < 32.0 * 32.0 && !InRect(x, y, 0, 0, 32, 32) && y < 50;
       }},
      {"window origin moved", [](HDC dc) {
         SetWindowOrgEx(dc, 5, 3, nullptr);
         IntersectClipRect(dc, 10, 12, 41, 37);  // logical: device 5..36, 9..34
         SetWindowOrgEx(dc, 0, 0, nullptr);
       },
       [](int x, int y) { return InRect(x, y, 5, 9, 36, 34); }},
  };
  return cases;
}

std::vector<ShapeCase> ClippedPrimitives() {
  std::vector<ShapeCase> all = Shapes();
  all.push_back({"FillRect", [](HDC dc) {
                   RECT rc{0, 0, 64, 64};
                   FillRect(dc, &rc, (HBRUSH)GetStockObject(GRAY_BRUSH));
                 }});
  all.push_back({"FrameRect", [](HDC dc) {
                   RECT rc{1, 2, 62, 60};
                   FrameRect(dc, &rc, (HBRUSH)GetStockObject(BLACK_BRUSH));
                 }});
  all.push_back({"InvertRect", [](HDC dc) {
                   RECT rc{1, 2, 62, 60};
                   InvertRect(dc, &rc);
                 }});
  all.push_back({"DrawFocusRect", [](HDC dc) {
                   RECT rc{1, 2, 62, 60};
                   DrawFocusRect(dc, &rc);
                 }});
  all.push_back({"PatBlt", [](HDC dc) { PatBlt(dc, 0, 0, 64, 64, PATINVERT); }});
  all.push_back({"hatched FillRect", [](HDC dc) {
                   HBRUSH hatch = CreateHatchBrush(HS_DIAGCROSS, RGB(9, 99, 199));
                   RECT rc{0, 0, 64, 64};
                   FillRect(dc, &rc, hatch);
                   DeleteObject(hatch);
                 }});
  all.push_back({"SetPixel", [](HDC dc) {
                   for (int i = 0; i < 64; ++i) SetPixel(dc, i, (i * 7) % 64, RGB(1, 2, 3));
                 }});
  all.push_back({"FillRgn", [](HDC dc) {
                   HRGN r = CreateEllipticRgn(0, 0, 64, 64);
                   FillRgn(dc, r, (HBRUSH)GetStockObject(WHITE_BRUSH));
                   DeleteObject(r);
                 }});
  all.push_back({"TextOut", [](HDC dc) {
                   HFONT f = CreateFont(-30, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
                   HFONT old = SelectObject(dc, f);
                   SetBkColor(dc, RGB(0, 0, 255));
                   TextOut(dc, 0, 10, "WWWWW", 5);
                   SelectObject(dc, old);
                   DeleteObject(f);
                 }});
  return all;
}

TEST(GdiShapes, EveryPrimitiveIsClipped) {
  for (const ShapeCase& shape : ClippedPrimitives()) {
    for (const ClipCase& clip : Clips()) {
      SCOPED_TRACE(std::string(shape.name) + " clipped by " + clip.name);
      Canvas free(64, 64), clipped(64, 64);
      free.FillNoise(11);
      clipped.FillNoise(11);
      const auto before = free.Pixels();
      for (Canvas* c : {&free, &clipped}) {
        SelectObject(c->dc(), GetStockObject(WHITE_PEN));
        SelectObject(c->dc(), GetStockObject(BLACK_BRUSH));
        SetROP2(c->dc(), R2_XORPEN);
      }
      clip.apply(clipped.dc());
      shape.draw(free.dc());
      shape.draw(clipped.dc());
      int differences = 0;
      for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
          const bool in = clip.inside(x, y);
          const std::uint32_t want = in ? free.At(x, y) : before[y * 64 + x];
          differences += clipped.At(x, y) != want;
        }
      }
      EXPECT_EQ(differences, 0);
    }
  }
}

TEST(GdiShapes, SurfaceContextDrawsAtItsOriginWithinItsClip) {
  Canvas c(40, 40);
  c.FillSolid(0);
  pl3::PixelSurface surface = c.surface();
  HDC child = pl3::CreateSurfaceDC(&surface, POINT{10, 5}, RECT{10, 5, 30, 25});
  RECT all{-50, -50, 100, 100};
  FillRect(child, &all, (HBRUSH)GetStockObject(WHITE_BRUSH));
  EXPECT_EQ(c.ChangedBox(std::vector<std::uint32_t>(1600, 0)).left, 10);
  const RECT box = c.ChangedBox(std::vector<std::uint32_t>(1600, 0));
  EXPECT_EQ(box.top, 5);
  EXPECT_EQ(box.right, 30);
  EXPECT_EQ(box.bottom, 25);
  RECT clip;
  EXPECT_EQ(GetClipBox(child, &clip), SIMPLEREGION);
  EXPECT_EQ(clip.left, 0);
  EXPECT_EQ(clip.top, 0);
  EXPECT_EQ(clip.right, 20);
  EXPECT_EQ(clip.bottom, 20);
  SetPixel(child, 0, 0, RGB(255, 0, 0));
  EXPECT_EQ(c.At(10, 5), 0xFF0000u);

  // A visible region narrows it further (the painting of an invalid part).
  HRGN part = CreateRectRgn(12, 6, 14, 8);
  pl3::SetSurfaceDCVisibleRegion(child, part);
  DeleteObject(part);
  c.FillSolid(0);
  FillRect(child, &all, (HBRUSH)GetStockObject(WHITE_BRUSH));
  const RECT painted = c.ChangedBox(std::vector<std::uint32_t>(1600, 0));
  EXPECT_EQ(painted.left, 12);
  EXPECT_EQ(painted.bottom, 8);
  pl3::DeleteSurfaceDC(child);
}

}  // namespace
