// Placed locators measured and drawn by the program's own services: the
// application's text builders, the drawing code's string box, extent and
// glyph renderer, and its drawing by type into the layer plane.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "edit/window_data.h"
#include "geometry/raster_state.h"
#include "geometry/view_mapping.h"
#include "objects/attribute_services.h"
#include "objects/drawing_seams.h"
#include "objects/locator_dispatch.h"
#include "objects/locator_kinds.h"
#include "objects/type_codes.h"
#include "tests/geometry/raster_fixture.h"
#include "tests/objects/locator_font.h"

namespace {

using locatorfont::CharacterWidth;
using locatorfont::GlyphHeight;

// At this text size a character is as high on screen as its glyph square
// is in font units, so the measured box and the drawn glyphs coincide; at
// this zoom a character is 10 pixels square.
constexpr std::int32_t kSize = 4096;
constexpr std::uint32_t kZoom = 409600;
constexpr std::int32_t Px(std::int32_t pixels) { return pixels * static_cast<std::int32_t>(kZoom); }
// The texts' colour class: plane bit 0, which the library dots (class 22) lack.
constexpr std::uint8_t kTextClass = 1;

class LocatorDrawing : public testing::Test {
 protected:
  void SetUp() override {
    towertest::EnsureStoreStarted();
    plane = std::make_unique<geomtest::Plane>(260, 200);
    plane->view.zoom = kZoom;
    pl3::g_raster.viewFactor = pl3::ViewFactorForZoom(kZoom);
    pl3::g_raster.fillValue = 0;
    window.design = design = towertest::NewTopLevelEntity(Type_Schematic);
    ActiveWindowData = &window;
    font = std::make_unique<locatorfont::Font>();
  }
  void TearDown() override {
    font.reset();
    pl3::g_raster.currentEntity = nullptr;
    ActiveWindowData = nullptr;
    DeleteEntity(design);
    ReleaseTower(&design);
    plane.reset();
  }

  Tower* Place(std::uint16_t kind, pl3::Point at, pl3::Point text = {0, 0}) {
    LocatorPayload p{};
    p.head.layer = kTextClass;
    p.head.transform = pl3::R0;
    p.kind = kind;
    p.x = at.x;
    p.y = at.y;
    p.textX = text.x;
    p.textY = text.y;
    p.textSize = kSize;
    return InsertEntity(design, sizeof p, Type_AttributeLocator, &p);
  }
  // Draws the locator as the walk draws it: published as the current entity,
  // then drawn by its type.
  void Draw(Tower* locator) {
    pl3::g_raster.currentEntity = locator;
    const LocatorPayload p = ReadLocatorPayload(locator);
    DrawEntityByType(&p, Type_AttributeLocator, &pl3::kIdentityTransform, 0);
    pl3::g_raster.currentEntity = nullptr;
  }
  // The view rectangle [xmin, xmax) x [ymin, ymax) of the pixels whose word
  // has the text class's bit, or nothing.
  bool LitText(pl3::Box* lit) {
    bool any = false;
    for (int y = 0; y < plane->height; ++y) {
      for (int x = 0; x < plane->width; ++x) {
        if (!(plane->At(x, y) & kTextClass)) continue;
        if (!any) *lit = {x, y, x + 1, y + 1};
        any = true;
        *lit = {std::min(lit->xmin, x), std::min(lit->ymin, y), std::max(lit->xmax, x + 1), std::max(lit->ymax, y + 1)};
      }
    }
    return any;
  }
  static pl3::Box ToView(pl3::Box b) {
    pl3::WorldToViewSigned(b.xmin, b.ymin);
    pl3::WorldToViewSigned(b.xmax, b.ymax);
    return b;
  }
  // The box of a centred, middle-justified text of n characters at a point,
  // grown by the text size and united with the square around the locator point.
  static pl3::Box ExpectedBox(pl3::Point text, int n, pl3::Point anchor, std::int32_t half) {
    const std::int32_t grow = kSize * kTextBoxGrowthPerSize, w = n * CharacterWidth(kSize) / 2;
    pl3::Box b{text.x - w - grow, text.y - GlyphHeight(kSize) / 2 - grow, text.x + w + grow, text.y + GlyphHeight(kSize) / 2 + grow};
    b.xmin = std::min(b.xmin, anchor.x - half);
    b.ymin = std::min(b.ymin, anchor.y - half);
    b.xmax = std::max(b.xmax, anchor.x + half);
    b.ymax = std::max(b.ymax, anchor.y + half);
    return b;
  }
  void ExpectBox(const pl3::Box& got, const pl3::Box& want) {
    EXPECT_EQ(got.xmin, want.xmin);
    EXPECT_EQ(got.ymin, want.ymin);
    EXPECT_EQ(got.xmax, want.xmax);
    EXPECT_EQ(got.ymax, want.ymax);
  }
  // The text drawn covers the measured text box (n characters centred on the
  // point), to the pixel.
  void ExpectTextDrawnAt(pl3::Point text, int n) {
    pl3::Box lit{};
    ASSERT_TRUE(LitText(&lit)) << "the text changed no pixel of the plane";
    const std::int32_t w = n * CharacterWidth(kSize) / 2;
    const pl3::Box measured = ToView({text.x - w, text.y - GlyphHeight(kSize) / 2, text.x + w, text.y + GlyphHeight(kSize) / 2});
    EXPECT_NEAR(lit.xmin, measured.xmin, 1);
    EXPECT_NEAR(lit.ymin, measured.ymin, 1);
    EXPECT_NEAR(lit.xmax, measured.xmax, 1);
    EXPECT_NEAR(lit.ymax, measured.ymax, 1);
  }

  std::unique_ptr<geomtest::Plane> plane;
  CurrentWindowData window{kEditorSchematicSymbol};
  Tower* design = nullptr;
  std::unique_ptr<locatorfont::Font> font;
};

TEST_F(LocatorDrawing, PinNumberShowsPinAtItsTextPoint) {
  const pl3::Point anchor{Px(20), Px(100)}, text{Px(60), Px(100)};
  Tower* pin = Place(kLocatorPinNumber, anchor, text);
  pl3::Box box{};
  ASSERT_EQ(GetLocatorBox(pin, &box), 1);
  ExpectBox(box, ExpectedBox(text, 3, anchor, kLocatorLargeDot));
  Draw(pin);
  ExpectTextDrawnAt(text, 3);
  // The library editor's dot of class 22 marks the locator point.
  int dot = 0;
  for (int y = 0; y < plane->height; ++y)
    for (int x = 0; x < plane->width; ++x)
      if ((plane->At(x, y) & 22u) == 22u) {
        ++dot;
        EXPECT_LE(std::abs(x - 20) + std::abs(y - 100), 2) << x << "," << y;
      }
  EXPECT_GT(dot, 0);
  ReleaseTower(&pin);
}

TEST_F(LocatorDrawing, DesignatorShowsItsNameAtItsPoint) {
  const pl3::Point at{Px(150), Px(40)};
  Tower* designator = Place(kLocatorDesignator, at);
  pl3::Box box{};
  ASSERT_EQ(GetLocatorBox(designator, &box), 1);
  ExpectBox(box, ExpectedBox(at, 10, at, kLocatorSmallDot));
  Draw(designator);
  ExpectTextDrawnAt(at, 10);
  ReleaseTower(&designator);
}

TEST_F(LocatorDrawing, UserLocatorShowsTheValueOfItsAttribute) {
  Tower* attribute = SetUserAttribute(design, "MPN", "BC547");
  ReleaseTower(&attribute);
  const pl3::Point at{Px(150), Px(160)};
  Tower* user = Place(kLocatorUserAttribute, at);
  Tower* name = InsertEntity(user, 4, Type_UserAttributeName, "MPN");
  ReleaseTower(&name);
  pl3::Box box{};
  ASSERT_EQ(GetLocatorBox(user, &box), 1);
  ExpectBox(box, ExpectedBox(at, 5, at, kLocatorSmallDot));
  Draw(user);
  ExpectTextDrawnAt(at, 5);
  ReleaseTower(&user);
}

TEST_F(LocatorDrawing, SuppressedTextsOfASchematicDrawNothing) {
  window.editorKind = kEditorSchematic;
  Tower* symbol = InsertEmptyEntity(design, 30);
  Tower* attribute = InsertAttributeWithId(symbol, kAttributeDesignator, "U7", 0, 0);
  ReleaseTower(&attribute);
  LocatorPayload p{};
  p.head.layer = kTextClass;
  p.head.transform = pl3::R0;
  p.kind = kLocatorDesignator;
  p.x = Px(100);
  p.y = Px(100);
  p.textSize = kSize;
  Tower* designator = InsertEntity(symbol, sizeof p, Type_AttributeLocator, &p);
  pl3::SuppressSymbolTextsFlag = 1;
  Draw(designator);
  pl3::Box lit{};
  EXPECT_FALSE(LitText(&lit));
  pl3::SuppressSymbolTextsFlag = 0;
  Draw(designator);
  ExpectTextDrawnAt({Px(100), Px(100)}, 2);  // the symbol's "U7"
  ReleaseTower(&designator);
  ReleaseTower(&symbol);
}

}  // namespace
