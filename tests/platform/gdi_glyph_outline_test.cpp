// Native glyph outlines and exact widths of outline fonts.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <vector>

#include "platform/gdi.h"
#include "tests/platform/gdi_canvas.h"

namespace {

const MAT2 kIdentity = {{0, 1}, {0, 0}, {0, 0}, {0, 1}};

struct Polygon {
  DWORD type;
  std::vector<WORD> curveTypes;
  std::vector<POINTFX> points;  // the start, then every record's points
};

// Splits a buffer into its polygons, failing the test on any record that
// does not fit exactly.
std::vector<Polygon> Split(const std::vector<std::uint8_t>& buffer) {
  std::vector<Polygon> out;
  std::size_t pos = 0;
  while (pos < buffer.size()) {
    TTPOLYGONHEADER h;
    std::memcpy(&h, buffer.data() + pos, sizeof h);
    EXPECT_LE(pos + h.cb, buffer.size());
    Polygon p{h.dwType, {}, {h.pfxStart}};
    for (std::size_t at = pos + sizeof h; at < pos + h.cb;) {
      WORD head[2];
      std::memcpy(head, buffer.data() + at, sizeof head);
      p.curveTypes.push_back(head[0]);
      for (WORD k = 0; k < head[1]; ++k) {
        POINTFX q;
        std::memcpy(&q, buffer.data() + at + 4 + 8 * k, sizeof q);
        p.points.push_back(q);
      }
      at += 4 + 8u * head[1];
      EXPECT_LE(at, pos + h.cb);
    }
    out.push_back(p);
    pos += h.cb;
  }
  return out;
}

class GlyphOutlines : public testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists("/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf"))
      GTEST_SKIP() << "Liberation fonts are not installed (package fonts-liberation)";
    font_ = CreateFont(-2048, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, NONANTIALIASED_QUALITY, 0, "Arial");
    old_ = SelectObject(canvas_.dc(), font_);
  }
  void TearDown() override {
    if (!font_) return;
    SelectObject(canvas_.dc(), old_);
    DeleteObject(font_);
  }
  std::vector<std::uint8_t> Outline(UINT ch) {
    const DWORD size = GetGlyphOutlineW(canvas_.dc(), ch, GGO_NATIVE, nullptr, 0, nullptr, &kIdentity);
    EXPECT_NE(size, GDI_ERROR);
    std::vector<std::uint8_t> buffer(size);
    if (size) {
      EXPECT_EQ(GetGlyphOutlineW(canvas_.dc(), ch, GGO_NATIVE, nullptr, size, buffer.data(), &kIdentity), size);
    }
    return buffer;
  }
  pl3test::Canvas canvas_{8, 8};
  HFONT font_ = nullptr;
  HFONT old_ = nullptr;
};

TEST_F(GlyphOutlines, AStraightGlyphIsOneLinePolygonInDesignUnits) {
  const std::vector<Polygon> polygons = Split(Outline('I'));
  ASSERT_EQ(polygons.size(), 1u);
  EXPECT_EQ(polygons[0].type, TT_POLYGON_TYPE);
  EXPECT_EQ(polygons[0].curveTypes, std::vector<WORD>{TT_PRIM_LINE});
  int minX = 1 << 30, maxX = -(1 << 30), minY = 1 << 30;
  for (const POINTFX& p : polygons[0].points) {
    EXPECT_EQ(p.x.fract, 0) << "a 2048-unit face at 2048 gives whole units";
    minX = std::min<int>(minX, p.x.value);
    maxX = std::max<int>(maxX, p.x.value);
    minY = std::min<int>(minY, p.y.value);
  }
  EXPECT_EQ(minY, 0) << "y grows upwards from the baseline";
  ABCFLOAT abc{};
  ASSERT_TRUE(GetCharABCWidthsFloatA(canvas_.dc(), 'I', 'I', &abc));
  EXPECT_FLOAT_EQ(abc.abcfA, static_cast<float>(minX));
  EXPECT_FLOAT_EQ(abc.abcfB, static_cast<float>(maxX - minX));
}

TEST_F(GlyphOutlines, CurvedGlyphsUseQuadraticRecordsEndingOnTheCurve) {
  const std::vector<Polygon> polygons = Split(Outline('O'));
  ASSERT_EQ(polygons.size(), 2u) << "outer and inner contour";
  for (const Polygon& p : polygons) {
    EXPECT_NE(std::find(p.curveTypes.begin(), p.curveTypes.end(), TT_PRIM_QSPLINE), p.curveTypes.end());
    // A contour that ends in a curve returns to its start.
    EXPECT_EQ(std::memcmp(&p.points.front(), &p.points.back(), sizeof(POINTFX)), 0);
  }
  EXPECT_TRUE(Outline(' ').empty()) << "a space has no contours";
}

TEST_F(GlyphOutlines, RefusesWhatItCannotAnswer) {
  const DWORD size = GetGlyphOutlineW(canvas_.dc(), 'A', GGO_NATIVE, nullptr, 0, nullptr, &kIdentity);
  ASSERT_GT(size, 0u);
  std::vector<std::uint8_t> buffer(size);
  EXPECT_EQ(GetGlyphOutlineW(canvas_.dc(), 'A', GGO_NATIVE, nullptr, size - 1, buffer.data(), &kIdentity), GDI_ERROR)
      << "a buffer too small is never written past";
  EXPECT_EQ(GetGlyphOutlineW(canvas_.dc(), 'A', GGO_METRICS, nullptr, size, buffer.data(), &kIdentity), GDI_ERROR);
  EXPECT_EQ(GetGlyphOutlineW(canvas_.dc(), 'A', GGO_NATIVE, nullptr, size, buffer.data(), nullptr), GDI_ERROR);
  EXPECT_EQ(GetGlyphOutlineW(nullptr, 'A', GGO_NATIVE, nullptr, size, buffer.data(), &kIdentity), GDI_ERROR);
  ABCFLOAT abc[2];
  EXPECT_FALSE(GetCharABCWidthsFloatA(canvas_.dc(), 'B', 'A', abc));
  EXPECT_FALSE(GetCharABCWidthsFloatA(canvas_.dc(), 'A', 0x100, abc));
}

TEST_F(GlyphOutlines, WidthsAndMetricsAreAtTheFullHeight) {
  ABCFLOAT abc[2]{};
  ASSERT_TRUE(GetCharABCWidthsFloatA(canvas_.dc(), 'A', 'B', abc));
  EXPECT_FLOAT_EQ(abc[0].abcfA + abc[0].abcfB + abc[0].abcfC, 1366.0f) << "the face's advance of A";
  EXPECT_FLOAT_EQ(abc[1].abcfA + abc[1].abcfB + abc[1].abcfC, 1366.0f);
  TEXTMETRICA tm{};
  ASSERT_TRUE(GetTextMetrics(canvas_.dc(), &tm));
  EXPECT_EQ(tm.tmAscent, 1854) << "a 2048 font is not cut to a smaller size";
  EXPECT_EQ(tm.tmDescent, 434);
}

}  // namespace
