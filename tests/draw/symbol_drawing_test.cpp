#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "../store/tower_test_support.h"
#include "draw/symbol_drawing.h"
#include "edit/window_data.h"
#include "geometry/raster_state.h"
#include "geometry/view_mapping.h"
#include "objects/attribute_services.h"
#include "objects/designators.h"
#include "objects/graphic_records.h"
#include "objects/text_item_services.h"
#include "objects/type_codes.h"
#include "objects/walker.h"
#include "platform/gdi.h"
#include "platform/surface.h"
#include "store/tower.h"
#include "tests/geometry/raster_fixture.h"

// The text items the designator drawing asks for: recorded, not built.
namespace {
struct AskedText {
  std::string text;
  std::uint8_t layer;
  pl3::Transform transform;
  std::uint32_t viewFlags;
};
std::vector<AskedText> g_asked;
void Record(const char* text, std::uint8_t layer, const pl3::Transform* t) {
  g_asked.push_back({text ? text : "", layer, *t, ActiveWindowData ? ActiveWindowData->ViewFlags : 0});
}
}  // namespace

TextPayload* CreateTextItem(const char* text, std::uint32_t, std::uint8_t layer, const pl3::Transform* t,
                            std::uint16_t, std::uint32_t) {
  Record(text, layer, t);
  return nullptr;
}
TextPayload* CreateTextItemEx(const char* text, std::int32_t, std::uint8_t layer, const pl3::Transform* t,
                              std::uint16_t, std::uint32_t) {
  Record(text, layer, t);
  return nullptr;
}

namespace {

using geomtest::Plane;

// 18,288 world units per pixel: a pin's box of 10 thou to each side is 20
// pixels to each side.
constexpr std::int32_t kZoom = 18288;

struct Design {
  CurrentWindowData w{kEditorSchematicSymbol};
  Tower* design = towertest::NewTopLevelEntity(Type_SymbolDefinition);
  Design() {
    w.design = design;
    w.Zoom = kZoom;
    for (auto& l : w.layerTable.layers) l.flags = kLayerPresent | kLayerVisible;
    ActiveWindowData = &w;
    g_asked.clear();
  }
  ~Design() {
    ActiveWindowData = nullptr;
    DeleteEntity(design);
    ReleaseTower(&design);
  }
  Tower* Pin(std::int32_t x, std::int32_t y, const char* function, const char* gate) {
    Tower* pin = InsertEntity(design, 0, Type_SymbolPin, nullptr);
    const std::int32_t origin[3] = {x, y, 0};
    Tower* o = InsertEntity(pin, sizeof origin, Type_Origin, origin);
    ReleaseTower(&o);
    for (const auto& [kind, text] : {std::pair{kPinBoxUpperKind, function}, std::pair{kPinBoxLowerKind, gate}}) {
      if (!text) continue;
      Tower* a = InsertAttributeWithId(pin, kind, text, 0, kind);
      ReleaseTower(&a);
    }
    return pin;
  }
};

TEST(PinBox, IsFilledOutlinedAndCarriesItsNamesAsWholePixels) {
  Design d;
  Plane plane(100, 100);
  plane.view.zoom = kZoom;
  pl3::g_raster.viewFactor = pl3::ViewFactorForZoom(kZoom);
  std::fill(plane.words.begin(), plane.words.end(), 7u);
  pl3::g_raster.rasterOp = pl3::kRasterSet;
  Tower* pin = d.Pin(50 * kZoom, 50 * kZoom, "FN", "G1");
  DrawPinBox(pin, &pl3::kIdentityTransform);
  ReleaseTower(&pin);
  pl3::g_raster.rasterOp = pl3::kRasterOr;

  EXPECT_EQ(plane.At(50, 29), kPinBoxOutline) << "the top edge";
  EXPECT_EQ(plane.At(69, 50), kPinBoxOutline) << "the right edge";
  EXPECT_EQ(plane.At(35, 35), kPinBoxFill) << "the inside is cleared";
  EXPECT_EQ(plane.At(50, 10), 7u) << "outside";
  // The texts land in the plane as colour class 6, never blended: every
  // word inside is the fill or the text's class.
  int above = 0, below = 0;
  for (int y = 31; y < 69; ++y) {
    for (int x = 31; x < 69; ++x) {
      const std::uint32_t v = plane.At(x, y);
      EXPECT_TRUE(v == kPinBoxFill || v == 6u) << x << "," << y << " holds " << v;
      if (v == 6u) (y < 50 ? above : below)++;
    }
  }
  EXPECT_GT(above, 10) << "the function name above the middle line";
  EXPECT_GT(below, 10) << "the gate name below it";
}

TEST(PinBox, TextsThatDoNotFitAreLeftOut) {
  Design d;
  Plane plane(100, 100);
  plane.view.zoom = kZoom;
  pl3::g_raster.viewFactor = pl3::ViewFactorForZoom(kZoom);
  pl3::g_raster.rasterOp = pl3::kRasterSet;
  Tower* pin = d.Pin(50 * kZoom, 50 * kZoom, "A FUNCTION NAME FAR WIDER THAN THE BOX", nullptr);
  DrawPinBox(pin, &pl3::kIdentityTransform);
  ReleaseTower(&pin);
  pl3::g_raster.rasterOp = pl3::kRasterOr;
  for (const auto& p : plane.Lit()) EXPECT_EQ(plane.At(p.first, p.second), kPinBoxOutline);
}

// The view of a window drawing into a 100 x 100 surface filled with a pattern.
struct XorView {
  std::vector<std::uint32_t> pixels = std::vector<std::uint32_t>(100 * 100);
  std::vector<std::uint32_t> colours = std::vector<std::uint32_t>(65536, 0x808080);
  pl3::PixelSurface surface{pixels.data(), 100, 100, 100};
  HDC dc = pl3::CreateSurfaceDC(&surface, POINT{0, 0}, RECT{0, 0, 100, 100});
  pl3::ViewClip clip{0, 0, 99, 99, 100, 100};
  explicit XorView(CurrentWindowData& w) {
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = (i * 2654435761u) & 0xFFFFFF;
    colours[0] = 0x102030;  // the background
    colours[0x10] = 0xFFFF00;
    w.layerTable.layers[kOriginSquareLayer].planeBit = 0x10;
    w.ColourTable = colours.data();
    UpdateViewGlobals();
    pl3::g_raster.clip = &clip;
  }
  ~XorView() {
    pl3::DeleteSurfaceDC(dc);
    pl3::g_raster.clip = nullptr;
  }
};

TEST(OriginSquare, IsAnXorSquareRoundTheOriginThatErasesItself) {
  Design d;
  d.w.editorKind = kEditorPcbSymbol;
  XorView v(d.w);
  const std::vector<std::uint32_t> before = v.pixels;
  Tower* pin = d.Pin(50 * kZoom, 50 * kZoom, nullptr, nullptr);
  DrawOriginSquare(v.dc, pin);
  EXPECT_NE(v.pixels[29 * 100 + 50], before[29 * 100 + 50]) << "the top side";
  EXPECT_NE(v.pixels[50 * 100 + 69], before[50 * 100 + 69]) << "the right side";
  EXPECT_EQ(v.pixels[50 * 100 + 50], before[50 * 100 + 50]) << "hollow";
  DrawOriginSquare(v.dc, pin);
  EXPECT_EQ(v.pixels, before);
  EXPECT_EQ(GetROP2(v.dc), R2_COPYPEN);
  // Placing a pin, the number and name are asked for at the origin.
  d.w.EditMode = kModePlacingPin;
  PinPlacementOptions = kPinShowNumber;
  Tower* a = InsertAttributeWithId(pin, 1, "12", 0, 1);
  ReleaseTower(&a);
  DrawOriginSquare(v.dc, pin);
  ASSERT_EQ(g_asked.size(), 1u);
  EXPECT_EQ(g_asked[0].text, "12");
  ReleaseTower(&pin);
}

// A placed symbol with a designator group of two copies, the first hidden.
struct PlacedSymbol {
  Tower* instance;
  PlacedSymbol(Tower* design, std::uint32_t infoFlags) {
    instance = InsertEntity(design, 0, Type_SymbolInstance, nullptr);
    pl3::Transform placement = pl3::kIdentityTransform;
    placement.tx = 1000;
    Tower* t = InsertEntity(instance, sizeof placement, Type_Transform, &placement);
    ReleaseTower(&t);
    const std::uint32_t info[2] = {infoFlags, 0};
    t = InsertEntity(instance, sizeof info, Type_SymbolInstanceInfo, info);
    ReleaseTower(&t);
    Tower* group = InsertEntity(instance, 0, Type_Designator, nullptr);
    t = InsertEntity(group, 3, Type_DesignatorString, "U7");
    ReleaseTower(&t);
    const pl3::Box box{0, 0, 500, 500};
    t = InsertEntity(group, sizeof box, Type_BoundingBox, &box);
    ReleaseTower(&t);
    for (const bool hidden : {false, true}) {  // the newest, hidden, comes first
      Tower* copy = InsertEntity(group, 0, Type_DesignatorData, nullptr);
      DesignatorInfo di{};
      di.display = hidden ? kDesignatorHidden : 0;
      di.layer = hidden ? 2 : 3;
      di.explicitSize = 16;
      t = InsertEntity(copy, sizeof di, Type_DesignatorInfo, &di);
      ReleaseTower(&t);
      pl3::Transform own = pl3::kIdentityTransform;
      own.ty = hidden ? 10 : 20;
      t = InsertEntity(copy, sizeof own, Type_Transform, &own);
      ReleaseTower(&t);
      ReleaseTower(&copy);
    }
    ReleaseTower(&group);
  }
  ~PlacedSymbol() { ReleaseTower(&instance); }
};

TEST(WalkedDesignator, DrawsTheFirstShownCopyUnderTheComposedPlacement) {
  Design d;
  d.w.editorKind = kEditorPcb;
  PlacedSymbol s(d.design, 0);
  pl3::Transform walk = pl3::kIdentityTransform;
  walk.tx = 5;
  DrawWalkedDesignator(s.instance, &walk, nullptr, 0);
  ASSERT_EQ(g_asked.size(), 1u) << "the hidden copy is passed over";
  EXPECT_EQ(g_asked[0].text, "U7");
  EXPECT_EQ(g_asked[0].layer, 3);
  EXPECT_EQ(g_asked[0].transform.tx, 1005);
  EXPECT_EQ(g_asked[0].transform.ty, 20);
  EXPECT_EQ(g_asked[0].viewFlags & kViewOtherSide, 0u);
}

TEST(WalkedDesignator, OtherSideFlipsTheViewForTheDrawingOnly) {
  Design d;
  PlacedSymbol s(d.design, 0x2);
  d.w.ViewFlags = 0x40;
  DrawWalkedDesignator(s.instance, nullptr, nullptr, 0);
  ASSERT_EQ(g_asked.size(), 1u);
  EXPECT_EQ(g_asked[0].viewFlags, 0x40u | kViewOtherSide);
  EXPECT_EQ(d.w.ViewFlags, 0x40u);
}

TEST(WalkedDesignator, NothingWhenHiddenOffLayerOrOutsideTheRegion) {
  Design d;
  PlacedSymbol s(d.design, 0);
  const pl3::Box far{5000, 5000, 6000, 6000}, near{1400, 400, 1600, 600};
  DrawWalkedDesignator(s.instance, nullptr, &far, 0);
  EXPECT_TRUE(g_asked.empty()) << "the designator box misses the region";
  DrawWalkedDesignator(s.instance, nullptr, &near, 0);
  EXPECT_EQ(g_asked.size(), 1u);
  g_asked.clear();
  d.w.layerTable.layers[3].flags = kLayerPresent;
  DrawWalkedDesignator(s.instance, nullptr, nullptr, 0);
  EXPECT_TRUE(g_asked.empty()) << "its layer is not shown";
  d.w.layerTable.layers[3].flags |= kLayerVisible;
  DisplayOptions = kDisplayHideAttributes;
  DrawWalkedDesignator(s.instance, nullptr, nullptr, 0);
  EXPECT_TRUE(g_asked.empty()) << "designators are hidden";
  DisplayOptions = 0;
}

}  // namespace
