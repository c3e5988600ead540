// A PCB design with one symbol definition holding pad stacks and pads, and
// builders for the records of symbols and pad stacks.
#pragma once
#include <cstring>
#include <vector>

#include "objects/pad_stacks.h"
#include "objects/payload_access.h"
#include "objects/symbol_instances.h"
#include "tests/objects/symbol_seam_fakes.h"
#include "walk_fixture.h"

namespace symboltest {

using namespace walktest;

inline pl3::Transform Shift(std::int32_t tx, std::int32_t ty) {
  pl3::Transform t = pl3::kIdentityTransform;
  t.tx = tx;
  t.ty = ty;
  return t;
}

inline std::uint32_t RefOf(const Tower* t) { return NodeRefOf(TowerEntity(t)); }

// Inserts a record under the parent and returns its entity.
template <typename T>
Entity* Put(const Tower* parent, std::uint16_t code, const T& payload) {
  Tower* t = InsertEntity(parent, sizeof payload, code, &payload);
  Entity* e = TowerEntity(t);
  ReleaseTower(&t);
  return e;
}

struct OriginPayload {
  std::int32_t x, y;
  std::uint16_t flags, pad;
};

class SymbolFixture : public WalkTest {
 protected:
  void TearDown() override {
    for (Tower** t : {&instance, &definition}) ReleaseTower(t);
    for (Tower*& t : owned) ReleaseTower(&t);
    WalkTest::TearDown();
  }
  Tower* Own(Tower* t) {
    owned.push_back(t);
    return t;
  }

  void MakeDefinition() { definition = InsertEntity(design, 0, Type_SymbolDefinition, nullptr); }

  // An instance of the definition placed at (tx, ty).
  void Place(std::int32_t tx, std::int32_t ty) {
    if (!definition) MakeDefinition();
    instance = InsertEntity(design, 0, Type_SymbolInstance, nullptr);
    const std::uint32_t info[2] = {0, RefOf(definition)};
    Put(instance, Type_SymbolInstanceInfo, info);
    Put(instance, Type_Transform, Shift(tx, ty));
  }

  // A pad-stack definition in the symbol definition (or under `parent`):
  // its 118 flags, its origin, box and one shape with a track tagged `tag`.
  Tower* MakeStack(std::uint8_t flags, pl3::Box box = {0, 0, 10, 20}, std::uint32_t tag = 7,
                   const Tower* parent = nullptr) {
    Tower* stack = Own(InsertEntity(parent ? parent : definition, 0, Type_PadStackDefinition, nullptr));
    std::uint8_t info[28] = {};
    info[0] = flags;
    std::memcpy(info + 4, &pl3::kIdentityTransform, sizeof(pl3::Transform));
    Put(stack, Type_PadStackDefinitionInfo, info);
    Put(stack, Type_Origin, OriginPayload{5, 5, 0, 0});
    Put(stack, Type_BoundingBox, box);
    Tower* shape = Own(InsertEntity(stack, 0, Type_ShapeDefinition, nullptr));
    Insert(shape, Type_Track, tag);
    lastShape = shape;
    return stack;
  }

  // A layer entry of the stack naming a shape.
  Tower* AddLayer(const Tower* stack, std::uint8_t layer, std::uint8_t flags, const Tower* shape) {
    std::uint8_t entry[44] = {};
    entry[4] = layer;
    entry[6] = flags;
    const std::uint32_t ref = RefOf(shape);
    std::memcpy(entry + 8, &ref, 4);
    std::memcpy(entry + 20, &pl3::kIdentityTransform, sizeof(pl3::Transform));
    return Own(InsertEntity(stack, sizeof entry, Type_PadStackLayerInfo, entry));
  }

  // A pad (141 with its 116) placing the stack at (tx, ty).
  Tower* AddPad(const Tower* stack, std::uint32_t xref, std::uint32_t flags = 0, std::int32_t tx = 0,
                std::int32_t ty = 0, const Tower* parent = nullptr) {
    Tower* pad = Own(InsertEntity(parent ? parent : definition, 0, Type_PadStackInstanceHier, nullptr));
    std::uint8_t info[36] = {};
    std::memcpy(info, &flags, 4);
    std::memcpy(info + 4, &xref, 4);
    const std::uint32_t ref = stack ? RefOf(stack) : 0;
    std::memcpy(info + 8, &ref, 4);
    const pl3::Transform t = Shift(tx, ty);
    std::memcpy(info + 12, &t, sizeof t);
    Put(pad, Type_PadStackInfo, info);
    return pad;
  }

  // A placed pad's record under the instance.
  Tower* AddPadInstance(std::uint32_t xref, std::uint32_t net0 = 0, std::uint32_t net1 = 0) {
    PadStackInstanceInfo info{};
    info.xref = xref;
    info.netIds[0] = net0;
    info.netIds[1] = net1;
    return Own(InsertEntity(instance, sizeof info, Type_PadStackInstanceInfo, &info));
  }

  // A Tower standing on the newest child of the code.
  Tower* ChildOn(const Tower* parent, std::uint16_t code) { return Own(NewestChildTower(parent, code)); }

  std::vector<PadStackInstanceInfo> PadInstances() {
    std::vector<PadStackInstanceInfo> out;
    Tower* t = GetChildTower(instance, Type_PadStackInstanceInfo);
    while (Entity* e = FindNextEntity(t)) {
      PadStackInstanceInfo p{};
      std::memcpy(&p, EntityPayload(e), sizeof p);
      out.push_back(p);
    }
    ReleaseTower(&t);
    return out;
  }

  Tower* definition = nullptr;
  Tower* instance = nullptr;
  Tower* lastShape = nullptr;
  std::vector<Tower*> owned;
};

}  // namespace symboltest
