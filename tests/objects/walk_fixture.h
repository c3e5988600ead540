// A PCB window over a small design in the tower store, and recording
// handlers for the walker's slots.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "../store/tower_test_support.h"
#include "edit/window_data.h"
#include "geometry/raster_state.h"
#include "objects/type_codes.h"
#include "objects/walker.h"
#include "store/tower.h"

namespace walktest {

// Payload of a test item: layer byte 1 and a tag word at 20 (the head's
// reserved word, which nothing here reads).
inline std::vector<std::uint8_t> Item(std::uint32_t tag, std::uint32_t size = 68, std::uint8_t layer = 1) {
  std::vector<std::uint8_t> p(size < 24 ? 24 : size, 0);
  p[0] = layer;
  std::memcpy(p.data() + 20, &tag, 4);
  return p;
}

inline Entity* Insert(const Tower* parent, std::uint16_t code, const std::vector<std::uint8_t>& payload) {
  Tower* t = InsertEntity(parent, static_cast<std::uint32_t>(payload.size()), code, payload.data());
  Entity* e = TowerEntity(t);
  ReleaseTower(&t);
  return e;
}
inline Entity* Insert(const Tower* parent, std::uint16_t code, std::uint32_t tag) {
  return Insert(parent, code, Item(tag));
}

inline std::uint32_t TagOf(const Entity* e) {
  std::uint32_t tag = 0;
  if (e->payloadSize >= 24) std::memcpy(&tag, EntityPayload(e) + 20, 4);
  return tag;
}

struct Visit {
  std::uint16_t code;
  std::uint32_t tag;
  std::uint8_t action;
  std::uint8_t state;         // WalkStateFlags seen by the handler
  std::uint32_t walkFlags;    // the window's walk flags seen by the handler
  bool publishedOnEntity;     // the raster kernel's current entity stands on the entity
  friend bool operator==(const Visit&, const Visit&) = default;
};

inline std::vector<Visit>& Visits() {
  static std::vector<Visit> visits;
  return visits;
}
// What the recording handler returns for each visit, in turn (1 once they run out).
inline std::vector<std::int32_t>& Returns() {
  static std::vector<std::int32_t> returns;
  return returns;
}

inline std::int32_t RecordVisit(const pl3::Transform*, Tower* entity, void*, std::uint8_t, std::uint8_t action,
                                std::int32_t*) {
  const Entity* e = TowerEntity(entity);
  const bool published = pl3::g_raster.currentEntity && TowerEntity(pl3::g_raster.currentEntity) == e;
  Visits().push_back({e->typeCode, TagOf(e), action, WalkStateFlags,
                      ActiveWindowData ? ActiveWindowData->WalkFlags : 0, published});
  if (Returns().empty()) return 1;
  const std::int32_t value = Returns().front();
  Returns().erase(Returns().begin());
  return value;
}

inline std::vector<std::uint32_t> VisitedTags() {
  std::vector<std::uint32_t> tags;
  for (const Visit& v : Visits()) tags.push_back(v.tag);
  return tags;
}

inline void SetAllTypes(std::uint16_t value) {
  for (std::uint16_t& w : WalkTypeFlags) w = value;
}

class WalkTest : public testing::Test {
 protected:
  void SetUp() override {
    towertest::EnsureStoreStarted();
    Visits().clear();
    Returns().clear();
    window = std::make_unique<CurrentWindowData>();
    window->editorKind = kEditorPcb;
    for (int layer = 0; layer < 40; ++layer) {
      window->layerTable.layers[layer].flags = 0x1 | 0x2 | 0x4;
      window->layerTable.layers[layer].kind = layer >= 1 && layer <= 32 ? 2 : 1;
      window->layerTable.layers[layer].oppositeLayer = static_cast<std::uint8_t>(layer);
    }
    design = towertest::NewTopLevelEntity(Type_PCB);
    window->design = design;
    ActiveWindowData = window.get();
    SetAllTypes(kWalkTypeWanted);
    for (WalkHandler* slot : {&WalkHandlers.drawWalkedEntity, &WalkHandlers.measureClosestEntity,
                              &WalkHandlers.collectRubberbandEntity, &WalkHandlers.addAttachedWiresToSelection,
                              &WalkHandlers.changeWalkedLayer, &WalkHandlers.deleteWalkedEntity}) {
      *slot = &RecordVisit;
    }
  }
  void TearDown() override {
    ActiveWindowData = nullptr;
    DeleteEntity(design);
    ReleaseTower(&design);
  }

  std::int32_t Walk(std::uint8_t action, std::uint8_t mode = 0, std::int32_t result = 0, const Tower* t = nullptr) {
    return PerformTowerAction(&pl3::kIdentityTransform, t ? t : design, nullptr, mode, action, result);
  }

  // A Tower standing on a child entity of the design (or of `parent`).
  Tower* TowerOn(Entity* e, const Tower* parent = nullptr) { return EntityToTower(parent ? parent : design, e, -1); }

  std::unique_ptr<CurrentWindowData> window;
  Tower* design = nullptr;
};

}  // namespace walktest
