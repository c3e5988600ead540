#include "objects/selection_menus.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor_seam_fakes.h"
#include "objects/graphic_records.h"
#include "objects/io_ports.h"
#include "walk_fixture.h"

using editorfakes::calls;
using Calls = std::vector<std::string>;

namespace {

constexpr std::uint16_t kTypeSymbolOptions = 10318;

class SelectionMenus : public walktest::WalkTest {
 protected:
  void TearDown() override {
    for (Tower*& t : owned_) ReleaseTower(&t);
    walktest::WalkTest::TearDown();
  }
  Tower* Own(Tower* t) {
    owned_.push_back(t);
    return t;
  }
  Tower* Item(std::uint16_t code, const Tower* parent = nullptr) {
    std::vector<std::uint8_t> payload(96, 0);
    return Own(InsertEntity(parent ? parent : design, 96, code, payload.data()));
  }
  Tower* Locator(std::uint16_t kind) {
    LocatorPayload l{};
    l.kind = kind;
    return Own(InsertEntity(design, sizeof l, Type_AttributeLocator, &l));
  }
  // A symbol instance whose definition carries the options word.
  Tower* Instance(std::uint32_t options) {
    Tower* definition = Own(InsertEntity(design, 0, Type_SymbolDefinition, nullptr));
    Tower* o = InsertEntity(definition, sizeof options, kTypeSymbolOptions, &options);
    ReleaseTower(&o);
    Tower* instance = Own(InsertEntity(design, 0, Type_SymbolInstance, nullptr));
    const std::uint32_t info[2] = {0, NodeRefOf(TowerEntity(definition))};
    Tower* i = InsertEntity(instance, sizeof info, Type_SymbolInstanceInfo, info);
    ReleaseTower(&i);
    return instance;
  }
  // Selection records over the items, primary unless said otherwise.
  void Select(std::vector<std::pair<Tower*, bool>> items) {
    records_.assign(items.size(), SelectionInfo{});
    for (std::size_t i = 0; i < items.size(); ++i) {
      records_[i].flags = items[i].second ? kSelectionPrimary : 0;
      records_[i].original = items[i].first;
      if (i + 1 < items.size()) records_[i].next = &records_[i + 1];
    }
    window->SelectionList = records_.empty() ? nullptr : records_.data();
  }
  std::uint32_t ForMode(std::uint8_t mode) {
    calls.clear();
    window->EditMode = mode;
    UpdateSelectionMenuForMode();
    if (calls.empty()) return 9999;
    EXPECT_EQ(calls.size(), 1u);
    return static_cast<std::uint32_t>(std::stoul(calls.back().substr(6)));  // "menus N"
  }

  std::vector<Tower*> owned_;
  std::vector<SelectionInfo> records_;
};

TEST_F(SelectionMenus, KindByTypeWithoutAnItem) {
  const std::pair<std::uint16_t, std::uint32_t> table[] = {
      {1, 1},   {10, 1},  {11, 1},  {35, 1},  {37, 1},  {39, 1},  {46, 1},  {47, 1},  {2, 2},   {38, 2},
      {3, 3},   {4, 4},   {5, 9},   {6, 5},   {7, 6},   {8, 7},   {9, 8},   {18, 17}, {19, 18}, {20, 0},
      {21, 20}, {22, 19}, {23, 31}, {24, 32}, {28, 35}, {29, 36}, {30, 12}, {34, 37}, {41, 43}, {42, 43},
      {43, 43}, {49, 43}, {44, 45}, {45, 44}, {106, 12}, {109, 14}, {128, 9}, {141, 11}, {163, 40},
      {0, 0},   {12, 0},  {40, 0},  {105, 0}, {164, 0}, {5000, 0}};
  for (const auto& [type, kind] : table) EXPECT_EQ(GetSelectionMenuKind(type, nullptr), kind) << type;
}

TEST_F(SelectionMenus, UnlistedTypesFollowTheSelectionAndEditor) {
  Tower* track = Item(Type_Track);
  Select({{track, true}});
  EXPECT_EQ(GetSelectionMenuKind(12, nullptr), 21u);
  EXPECT_EQ(GetSelectionMenuKind(200, nullptr), 21u);
  window->editorKind = kEditorSchematic;
  EXPECT_EQ(GetSelectionMenuKind(12, nullptr), 10u);
  EXPECT_EQ(GetSelectionMenuKind(1, nullptr), 1u);  // listed types keep theirs
  ActiveWindowData = nullptr;
  EXPECT_EQ(GetSelectionMenuKind(12, nullptr), 0u);
}

TEST_F(SelectionMenus, LocatorsByTheirKindTextsBySymbolAndInstancesByOption) {
  const std::pair<std::uint16_t, std::uint32_t> locators[] = {
      {1, 23}, {2, 30}, {3, 27}, {4, 22}, {6, 24}, {9, 25}, {10, 26}, {13, 29}, {14, 28}, {15, 33}, {16, 39}, {17, 38}, {0, 30}};
  for (const auto& [kind, menu] : locators) EXPECT_EQ(GetSelectionMenuKind(20, Locator(kind)), menu) << kind;

  Tower* pl2 = Item(163);
  EXPECT_EQ(GetSelectionMenuKind(5, Item(Type_Text, pl2)), 41u);
  EXPECT_EQ(GetSelectionMenuKind(5, Item(Type_Text)), 9u);

  EXPECT_EQ(GetSelectionMenuKind(106, Instance(1)), 15u);
  EXPECT_EQ(GetSelectionMenuKind(106, Instance(2)), 12u);
}

TEST_F(SelectionMenus, EditModesChooseTheirKind) {
  const std::pair<std::uint8_t, std::uint32_t> table[] = {
      {1, 1},   {104, 1}, {2, 2},   {3, 2},   {8, 2},   {107, 2}, {108, 2}, {11, 3},  {22, 3},  {13, 4},
      {14, 4},  {15, 5},  {38, 5},  {18, 6},  {20, 6},  {24, 16}, {25, 16}, {26, 14}, {27, 14}, {28, 9},
      {29, 9},  {33, 13}, {45, 11}, {59, 17}, {60, 17}, {61, 17}, {64, 18}, {67, 18}, {68, 35}, {69, 36},
      {75, 19}, {78, 19}, {79, 20}, {82, 20}, {86, 37}, {110, 42}};
  for (const auto& [mode, kind] : table) EXPECT_EQ(ForMode(mode), kind) << int(mode);
  for (std::uint8_t mode : {0, 4, 30, 71, 87, 255}) EXPECT_EQ(ForMode(mode), 9999u) << int(mode);
}

TEST_F(SelectionMenus, EditSelectionFollowsTheSelection) {
  Tower* t1 = Item(Type_Track);
  Tower* t2 = Item(Type_Track);
  Tower* arc = Item(Type_Arc);
  Select({{t1, true}, {t2, true}});
  EXPECT_EQ(ForMode(39), 21u);  // two tracks
  Select({{t1, true}});
  EXPECT_EQ(ForMode(39), 1u);
  EXPECT_EQ(ForMode(40), 1u);
  Select({{arc, false}, {t2, true}});  // secondaries do not count
  EXPECT_EQ(ForMode(39), 1u);
  Select({{Item(Type_Plane), true}});
  EXPECT_EQ(ForMode(39), 4u);
  Select({{Instance(1), true}});
  EXPECT_EQ(ForMode(39), 12u);  // 15 by type, 12 in Edit Selection
  Select({{Item(Type_Circle), true}});
  EXPECT_EQ(ForMode(39), 3u);
  Select({{Item(11), true}});  // a routed line: no kind of its own here
  EXPECT_EQ(ForMode(39), 9999u);
  Select({});
  EXPECT_EQ(ForMode(39), 9999u);
}

TEST_F(SelectionMenus, EditSelectionOfSchematicSymbolsAndPadStacks) {
  // A schematic symbol whose definition carries the special-function marker.
  Tower* definition = Own(InsertEntity(design, 0, 25, nullptr));
  Tower* marker = InsertEntity(definition, 0, kTypeSpecialFunctionMarker, nullptr);
  ReleaseTower(&marker);
  Tower* special = Item(30);
  const std::uint32_t record[2] = {0, NodeRefOf(TowerEntity(definition))};
  Tower* r = InsertEntity(special, sizeof record, Type_SchematicSymbol, record);
  ReleaseTower(&r);
  Select({{special, true}});
  EXPECT_EQ(ForMode(39), 34u);
  Select({{Item(30), true}});
  EXPECT_EQ(ForMode(39), 12u);

  // Several pad-stack instances: the kind of the first.
  Tower* pad1 = Item(Type_PadStackInstanceHier);
  Tower* pad2 = Item(Type_PadStackInstanceHier);
  Select({{pad1, true}, {pad2, true}});
  EXPECT_EQ(ForMode(39), 11u);
  Select({{pad1, true}, {Item(Type_Track), true}});
  EXPECT_EQ(ForMode(39), 21u);
}

TEST_F(SelectionMenus, SetInsertionTypeSetsTypeMenusCursorAndClears) {
  window->Window = reinterpret_cast<void*>(0x1);
  window->ClickState = 3;
  window->ViewFlags = 0x80 | 0x8;
  calls.clear();
  SetInsertionType(22);
  EXPECT_EQ(window->InsertionTypeCode, 22);
  EXPECT_EQ(window->ClickState, 0u);
  EXPECT_EQ(window->ViewFlags, 0x8u);
  EXPECT_EQ(calls, (Calls{"menus 19", "cursor 0", "status"}));
  calls.clear();
  SetInsertionType(160);  // measuring: no kind of its own, nothing selected
  EXPECT_EQ(window->InsertionTypeCode, 160);
  EXPECT_EQ(calls, (Calls{"menus 0", "cursor 0", "status"}));
}

}  // namespace
