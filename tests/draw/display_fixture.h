// A PCB window over a small design, with its display list and the walker's
// drawing actions registered, and builders for the records the tests put on
// the list.
#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "draw/display_builders.h"
#include "draw/display_list.h"
#include "draw/walk_actions.h"
#include "edit/window_data.h"
#include "geometry/graphic_layouts.h"
#include "geometry/raster_state.h"
#include "objects/graphic_records.h"
#include "objects/pad_stacks.h"
#include "objects/type_codes.h"
#include "objects/walker.h"
#include "platform/responder.h"
#include "store/tower.h"
#include "tests/store/tower_test_support.h"

namespace displaytest {

// Plane bits: top copper 0x1, bottom 0x2, inner layers 0x4, silkscreens 0x8
// and 0x80, solder resists 0x10 and 0x20.
constexpr std::uint32_t kTopBit = 0x1, kBottomBit = 0x2, kInnerBit = 0x4;
constexpr std::uint32_t kTopSilkBit = 0x8, kBottomSilkBit = 0x80, kTopResistBit = 0x10, kBottomResistBit = 0x20;
constexpr std::int32_t kDefaultClearance = 365760;

inline pl3::TrackLayout Track(std::uint8_t layer, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
                              std::int32_t width) {
  return MakeTrackRecord(layer, {x1, y1}, {x2, y2}, width);
}

inline HolePayload Hole(std::int32_t x, std::int32_t y, std::int32_t size1, std::int32_t size2, std::uint8_t flags,
                        std::uint8_t first = 1, std::uint8_t last = 32) {
  HolePayload h{};
  h.hole.head.layer = first;
  h.hole.head.spare = last;
  h.hole.head.transform = pl3::kIdentityTransform;
  h.hole.flags = flags;
  h.hole.size1 = size1;
  h.hole.size2 = size2;
  h.hole.centreX = x;
  h.hole.centreY = y;
  return h;
}

// A polygon record of the points, triangulated as a fan from the first point.
inline std::vector<std::uint8_t> Polygon(std::uint8_t layer, std::vector<pl3::Point> points) {
  const auto n = static_cast<std::uint32_t>(points.size());
  std::vector<std::uint8_t> bytes(PolygonStoredSize(n), 0);
  auto* p = reinterpret_cast<pl3::PolygonLayout*>(bytes.data());
  p->head.layer = layer;
  p->head.transform = pl3::kIdentityTransform;
  p->count = static_cast<std::uint8_t>(n);
  std::memcpy(pl3::PolygonPoints(p), points.data(), n * sizeof(pl3::Point));
  std::uint8_t* tri = pl3::PolygonTriangles(p);
  for (std::uint32_t k = 0; k + 2 < n; ++k) {
    tri[3 * k] = 0;
    tri[3 * k + 1] = static_cast<std::uint8_t>(k + 1);
    tri[3 * k + 2] = static_cast<std::uint8_t>(k + 2);
  }
  return bytes;
}

class DisplayTest : public testing::Test {
 protected:
  void SetUp() override {
    towertest::EnsureStoreStarted();
    window = std::make_unique<CurrentWindowData>(kEditorPcb);
    for (auto& r : window->layerTable.layers) r.oppositeLayer = kNoOppositeLayer;
    auto set = [&](std::uint8_t layer, std::uint16_t kind, std::uint32_t bit, std::uint8_t opposite) {
      LayerRecord& r = window->layerTable.layers[layer];
      r.flags = kLayerPresent | kLayerVisible;
      r.kind = kind;
      r.planeBit = bit;
      r.oppositeLayer = opposite;
    };
    set(Layer_TopSilkscreen, LayerKind_Silkscreen, kTopSilkBit, Layer_BottomSilkscreen);
    set(Layer_BottomSilkscreen, LayerKind_Silkscreen, kBottomSilkBit, Layer_TopSilkscreen);
    set(Layer_Top, LayerKind_Copper, kTopBit, Layer_Bottom);
    set(Layer_Bottom, LayerKind_Copper, kBottomBit, Layer_Top);
    set(2, LayerKind_Copper, kInnerBit, 2);
    set(Layer_TopSolderResist, LayerKind_SolderResist, kTopResistBit, Layer_BottomSolderResist);
    set(Layer_BottomSolderResist, LayerKind_SolderResist, kBottomResistBit, Layer_TopSolderResist);
    window->Zoom = 1;
    design = towertest::NewTopLevelEntity(Type_PCB);
    window->design = design;
    ActiveWindowData = window.get();
    list = NewDisplayList();
    window->Display = list;
    RegisterSymbolWalkHandlers();
    RegisterDrawWalkHandlers();
  }
  void TearDown() override {
    FreeDisplayList(static_cast<DisplayList*>(window->Display));
    window->Display = nullptr;
    for (Tower*& t : owned) ReleaseTower(&t);
    ActiveWindowData = nullptr;
    DeleteEntity(design);
    ReleaseTower(&design);
  }

  DisplayList* List() { return static_cast<DisplayList*>(window->Display); }

  template <typename T>
  Tower* Add(const Tower* parent, std::uint16_t code, const T& payload) {
    return Own(InsertEntity(parent, sizeof payload, code, &payload));
  }
  Tower* AddBytes(const Tower* parent, std::uint16_t code, const std::vector<std::uint8_t>& bytes) {
    return Own(InsertEntity(parent, static_cast<std::uint32_t>(bytes.size()), code, bytes.data()));
  }
  Tower* Own(Tower* t) {
    owned.push_back(t);
    return t;
  }
  void Put(const Tower* entity) { PutEntityOnDisplayList(List(), entity); }

  std::vector<DisplayItem*> Items(DisplayListIndex index) {
    std::vector<DisplayItem*> out;
    for (DisplayNode* n = List()->lists[index]; n; n = n->next) out.push_back(n->item);
    return out;
  }
  std::size_t TotalItems() {
    std::size_t n = 0;
    for (int k = 0; k < kDisplayListCount; ++k) n += Items(static_cast<DisplayListIndex>(k)).size();
    return n;
  }

  std::unique_ptr<CurrentWindowData> window;
  Tower* design = nullptr;
  DisplayList* list = nullptr;
  std::vector<Tower*> owned;
};

}  // namespace displaytest
