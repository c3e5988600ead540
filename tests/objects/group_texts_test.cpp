#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "edit/window_data.h"
#include "geometry/transform.h"
#include "objects/entity_copy.h"
#include "objects/graphic_records.h"
#include "objects/group_texts.h"
#include "objects/item_helpers.h"
#include "objects/payload_access.h"
#include "objects/size_table.h"
#include "platform/user.h"
#include "tests/objects/item_helper_seam_fakes.h"
#include "tests/objects/locator_font.h"
#include "tests/support/test_windows.h"
#include "walk_fixture.h"

namespace {

using itemseams::Recorded;
using walktest::Insert;

std::vector<std::uint8_t> TextAt(pl3::Point at, const char* string = "R1") {
  std::vector<std::uint8_t> p(TextStoredSize(static_cast<std::uint32_t>(std::strlen(string))), 0);
  auto* text = reinterpret_cast<TextPayload*>(p.data());
  text->textTransform = pl3::kIdentityTransform;
  text->textTransform.tx = at.x;
  text->textTransform.ty = at.y;
  std::memcpy(p.data() + 104, string, std::strlen(string));
  return p;
}

pl3::Point TranslationOf(const Entity* e) {
  const std::uint8_t* p = EntityPayload(e);
  return {ReadI32(p, 92), ReadI32(p, 96)};
}

pl3::Transform Placed(const pl3::Transform& turn, std::int32_t tx, std::int32_t ty) {
  pl3::Transform t = turn;
  t.tx = tx;
  t.ty = ty;
  return t;
}

bool operator==(const pl3::Transform& a, const pl3::Transform& b) { return std::memcmp(&a, &b, sizeof a) == 0; }
bool operator==(const pl3::Point& a, const pl3::Point& b) { return a.x == b.x && a.y == b.y; }

class GroupTexts : public walktest::WalkTest {
 protected:
  // A text group placed by `transform` with its origin at `origin`, mirrored
  // when asked; `text` receives its one text.
  Tower* MakeGroup(const pl3::Transform& transform, pl3::Point origin, bool mirrored, Entity** text,
                   pl3::Point textAt = {1000, 2000}) {
    Tower* group = InsertEmptyEntity(design, kTypeTextGroup);
    std::vector<std::uint8_t> link(8, 0);
    link[4] = mirrored ? kTextGroupMirrored : 0;
    Insert(group, kTypeTextGroupLink, link);
    std::vector<std::uint8_t> placed(sizeof transform);
    std::memcpy(placed.data(), &transform, sizeof transform);
    Insert(group, Type_Transform, placed);
    std::vector<std::uint8_t> originRecord(10, 0);
    WriteI32(originRecord.data(), 0, origin.x);
    WriteI32(originRecord.data(), 4, origin.y);
    Insert(group, Type_Origin, originRecord);
    *text = Insert(group, Type_Text, TextAt(textAt));
    return group;
  }

  // Where the group shows a text that stands at `local` in its own frame.
  static pl3::Point Shown(const Tower* group, pl3::Point local) {
    pl3::Transform t;
    EXPECT_TRUE(GetTextGroupTransform(group, &t));
    pl3::TransformSignedPoint(&t, local.x, local.y);
    return local;
  }
};

constexpr pl3::Point kOrigin{50'000'000, 60'000'000};

TEST_F(GroupTexts, GroupTransformIsPlacementPlusOriginAfterTheMirror) {
  Entity* text = nullptr;
  Tower* plain = MakeGroup(Placed(pl3::R90, 400, 500), kOrigin, false, &text);
  pl3::Transform t;
  ASSERT_TRUE(GetTextGroupTransform(plain, &t));
  EXPECT_TRUE(t == Placed(pl3::R90, kOrigin.x + 400, kOrigin.y + 500));
  // R90 maps (1000, 2000) to (-2000, 1000).
  EXPECT_TRUE(Shown(plain, {1000, 2000}) == (pl3::Point{kOrigin.x + 400 - 2000, kOrigin.y + 500 + 1000}));

  Tower* mirrored = MakeGroup(Placed(pl3::R0, 0, 0), kOrigin, true, &text);
  EXPECT_TRUE(Shown(mirrored, {1000, 2000}) == (pl3::Point{kOrigin.x - 1000, kOrigin.y + 2000}));
  // A mirrored R90 group mirrors in its own frame first, then turns.
  Tower* both = MakeGroup(Placed(pl3::R90, 0, 0), kOrigin, true, &text);
  EXPECT_TRUE(Shown(both, {1000, 2000}) == (pl3::Point{kOrigin.x - 2000, kOrigin.y - 1000}));
  for (Tower** g : {&plain, &mirrored, &both}) ReleaseTower(g);
}

TEST_F(GroupTexts, TranslateInGroupMovesTheShownTextByTheDelta) {
  struct Case {
    const char* name;
    pl3::Transform turn;
    bool mirrored;
  };
  const Case cases[] = {
      {"R0", pl3::R0, false},           {"R90", pl3::R90, false},          {"R180", pl3::R180, false},
      {"R270", pl3::R270, false},       {"mirrored R0", pl3::R0, true},    {"mirrored R90", pl3::R90, true},
      {"mirrored R180", pl3::R180, true}, {"mirrored R270", pl3::R270, true},
  };
  const pl3::Point delta{36'576, -73'152};
  for (const Case& c : cases) {
    Entity* text = nullptr;
    Tower* group = MakeGroup(Placed(c.turn, 7000, -3000), kOrigin, c.mirrored, &text);
    SelectionInfo item{};
    item.original = TowerOn(text, group);
    window->WalkFlags = 0x10;
    const pl3::Point before = Shown(group, TranslationOf(text));
    TranslateTextInGroup(&item, delta, kPartWhole);
    const pl3::Point after = Shown(group, TranslationOf(text));
    EXPECT_EQ(after.x - before.x, delta.x) << c.name;
    EXPECT_EQ(after.y - before.y, delta.y) << c.name;
    EXPECT_EQ(window->WalkFlags, 0x10u) << c.name;  // the mirror-mode toggle is undone
    EXPECT_TRUE(Recorded().offsets.empty());
    ReleaseTower(&item.original);
    ReleaseTower(&group);
  }
}

TEST_F(GroupTexts, TranslateInGroupMovesTheWorkingCopyByTheOriginalsGroup) {
  Entity* text = nullptr;
  Tower* group = MakeGroup(Placed(pl3::R270, 0, 0), kOrigin, false, &text);
  Entity* copy = Insert(design, Type_Text, TextAt({1000, 2000}));
  SelectionInfo item{};
  item.original = TowerOn(text, group);
  item.workingCopy = TowerOn(copy);
  TranslateTextInGroup(&item, {100, 0}, kPartWhole);
  // R270 is undone by R90: (100, 0) becomes (0, 100) in the group's frame.
  EXPECT_TRUE(TranslationOf(copy) == (pl3::Point{1000, 2100}));
  EXPECT_TRUE(TranslationOf(text) == (pl3::Point{1000, 2000}));

  // A text outside any group, or a selection of something else, is left alone.
  SelectionInfo loose{};
  loose.original = TowerOn(copy);
  TranslateTextInGroup(&loose, {100, 0}, kPartWhole);
  EXPECT_TRUE(TranslationOf(copy) == (pl3::Point{1000, 2100}));
  for (Tower** t : {&item.original, &item.workingCopy, &loose.original, &group}) ReleaseTower(t);
}

TEST_F(GroupTexts, TranslateTextOffsetsWithTheClampOn) {
  std::vector<std::uint8_t> text = TextAt({0, 0});
  TranslateText(text.data(), {5, -7});
  ASSERT_EQ(Recorded().offsets.size(), 1u);
  EXPECT_EQ(Recorded().offsets[0].type, Type_Text);
  EXPECT_TRUE(Recorded().offsets[0].delta == (pl3::Point{5, -7}));
  EXPECT_EQ(Recorded().offsets[0].clamp, 1);
}

TEST_F(GroupTexts, GhostDrawsUnderTheGroupWithMirrorModeToggledMeanwhile) {
  int view = 0;
  for (bool mirrored : {false, true}) {
    Recorded().ghosts.clear();
    Entity* text = nullptr;
    Tower* group = MakeGroup(Placed(pl3::R180, 10, 20), kOrigin, mirrored, &text);
    SelectionInfo item{};
    item.original = TowerOn(text, group);
    window->WalkFlags = 0x4;
    GhostTextInGroup(&view, &item);
    ASSERT_EQ(Recorded().ghosts.size(), 1u);
    const itemseams::Ghost& g = Recorded().ghosts[0];
    EXPECT_EQ(g.view, &view);
    EXPECT_EQ(g.type, Type_Text);
    pl3::Transform expected;
    ASSERT_TRUE(GetTextGroupTransform(group, &expected));
    EXPECT_TRUE(g.transform == expected);
    EXPECT_EQ(g.walkFlags, mirrored ? (0x4u | kWalkMirrorMode) : 0x4u);
    EXPECT_EQ(window->WalkFlags, 0x4u);
    ReleaseTower(&item.original);
    ReleaseTower(&group);
  }
}

TEST_F(GroupTexts, MirrorErasesNegatesTheXScaleAndRedraws) {
  Entity* text = nullptr;
  Tower* group = MakeGroup(Placed(pl3::R0, 0, 0), kOrigin, false, &text);
  // The text itself is turned a quarter: its x scale is the first row (a, b).
  auto* payload = reinterpret_cast<TextPayload*>(EntityPayload(text));
  payload->textTransform = Placed(pl3::R90, 1000, 2000);
  SelectionInfo item{};
  item.original = TowerOn(text, group);
  MirrorTextInGroup(nullptr, &item);
  const pl3::Transform mirrored = {0, -pl3::kFixedOne, -pl3::kFixedOne, 0, 1000, 2000};
  EXPECT_TRUE(payload->textTransform == mirrored);
  ASSERT_EQ(Recorded().ghosts.size(), 2u);
  EXPECT_TRUE(Recorded().ghosts[0].ownTransform == Placed(pl3::R90, 1000, 2000));  // erased as it was
  EXPECT_TRUE(Recorded().ghosts[1].ownTransform == mirrored);                       // drawn as it is
  // Twice is the text as it was.
  MirrorTextInGroup(nullptr, &item);
  EXPECT_TRUE(payload->textTransform == Placed(pl3::R90, 1000, 2000));
  ReleaseTower(&item.original);
  ReleaseTower(&group);
}

TEST_F(GroupTexts, GrabPointsOfPinsNamesTextsAndGroups) {
  // A pin with its origin and a name 300, 400 from it.
  Tower* pin = InsertEmptyEntity(design, Type_SymbolPin);
  std::vector<std::uint8_t> origin(10, 0);
  WriteI32(origin.data(), 0, 9000);
  WriteI32(origin.data(), 4, 8000);
  Insert(pin, Type_Origin, origin);
  std::vector<std::uint8_t> name(57 + 2, 0);
  WriteI32(name.data(), 36, 300);
  WriteI32(name.data(), 40, 400);
  std::memcpy(name.data() + 56, "A1", 2);
  Entity* nameEntity = Insert(pin, 27, name);
  Entity* grouped = nullptr;
  Tower* group = MakeGroup(Placed(pl3::R90, 400, 500), kOrigin, false, &grouped);
  Entity* free = Insert(design, Type_Text, TextAt({7000, 6000}));
  // The free text is measured by the drawing code in the test font: its
  // half width and half height are the grab's two words.
  locatorfont::Font font;
  pl3::Box measured{};
  GetTextEntityBox(EntityPayload(free), &measured);
  const auto halfWidth = static_cast<std::uint32_t>((std::int64_t{measured.xmax} - measured.xmin) / 2);
  const auto halfHeight = static_cast<std::uint32_t>((std::int64_t{measured.ymax} - measured.ymin) / 2);
  ASSERT_GT(halfHeight, 0u);

  Tower* nameTower = TowerOn(nameEntity, pin);
  Tower* groupedTower = TowerOn(grouped, group);
  Tower* freeTower = TowerOn(free);
  struct Case {
    const char* what;
    const Tower* item;
    pl3::Point at;
    std::uint16_t codeWhenWhole;  // the edit code when the caller asks for the whole item
    std::uint32_t first, second;
  };
  const Case cases[] = {
      {"pin", pin, {9000, 8000}, kEditWhole, 0, 0},
      {"pin name", nameTower, {9300, 8400}, kEditWholeItemRequest, 0, 0},
      {"text in group", groupedTower, {kOrigin.x + 400 - 2000, kOrigin.y + 500 + 1000}, kEditWhole, 0, 0},
      {"free text", freeTower, {7000, 6000}, kEditWholeItemRequest, halfWidth, halfHeight},
      {"text group", group, {kOrigin.x + 400, kOrigin.y + 500}, kEditWholeItemRequest, 0, 0},
  };
  for (const Case& c : cases) {
    for (std::uint8_t whole : {0, 1}) {
      GrabBlock grab{};
      grab.firstWord = 77;
      grab.wholeItem = whole;
      ASSERT_EQ(GrabEntity(c.item, &grab), 1) << c.what;
      EXPECT_EQ(grab.grabX, c.at.x) << c.what;
      EXPECT_EQ(grab.grabY, c.at.y) << c.what;
      EXPECT_EQ(grab.editCode, whole ? c.codeWhenWhole : kEditWhole) << c.what;
      EXPECT_EQ(grab.firstWord, c.first) << c.what;
      EXPECT_EQ(grab.secondWord, c.second) << c.what;
    }
  }
  // A pin without its origin has no grab point.
  Tower* bare = InsertEmptyEntity(design, Type_SymbolPin);
  GrabBlock grab{};
  EXPECT_EQ(GrabEntity(bare, &grab), 0);
  for (Tower** t : {&pin, &nameTower, &groupedTower, &freeTower, &group, &bare}) ReleaseTower(t);
}

TEST(SpiralEnds, NearerEndByDistanceStartOnATieMirroredAboutTheCentre) {
  SpiralPayload spiral{};
  spiral.centre = {1000, 1000};
  spiral.start = {1500, 1000};
  spiral.end = {3000, 1000};
  struct Case {
    pl3::Point cursor;
    std::uint8_t mirrored;
    pl3::Point expected;
  };
  const Case cases[] = {
      {{1400, 1000}, 0, {1500, 1000}},
      {{2900, 1100}, 0, {3000, 1000}},
      {{2250, 1000}, 0, {1500, 1000}},   // halfway: the start
      {{-900, 1000}, 1, {-1000, 1000}},  // mirrored: the end lies at 2 x 1000 - 3000
      {{600, 1000}, 1, {500, 1000}},
      {{-900, 1000}, 2, {1500, 1000}},   // only 1 means mirrored
  };
  for (const Case& c : cases) {
    spiral.mirrored = c.mirrored;
    const pl3::Point got = GetNearerSpiralEnd(c.cursor.x, c.cursor.y, &spiral);
    EXPECT_EQ(got.x, c.expected.x) << c.cursor.x << " mirrored " << int(c.mirrored);
    EXPECT_EQ(got.y, c.expected.y);
  }
}

}  // namespace

// ---- Via sizes, via look-up, display-list boxes and Edit Selection ---------------------

namespace {

SizeEntry Via(const char* name, std::int32_t holeHalf, std::int32_t landHalf, std::uint8_t unit, bool offered) {
  SizeEntry e{};
  e.flags = offered ? kSizeEntryOn : 0;
  e.unit = unit;
  e.value1 = holeHalf;
  e.value2 = landHalf;
  std::snprintf(e.name, sizeof e.name, "%s", name);
  return e;
}

std::string MenuText(HMENU menu, int position) {
  char buffer[128] = "";
  GetMenuStringA(menu, static_cast<UINT>(position), buffer, sizeof buffer, MF_BYPOSITION);
  return buffer;
}

class ViaSizes : public walktest::WalkTest {
 protected:
  void SetUp() override {
    WalkTest::SetUp();
    table = NewSizeTable();
    // Sizes are kept as halves: 18,288 is half of 1 thou.
    table->lists[SizeKind_Vias].entries = {
        Via("Small", 18'288 * 10, 18'288 * 20, 0, true),
        Via("Hidden", 18'288 * 12, 18'288 * 24, 0, false),
        Via("", 360'000, 720'000, 2, true),          // 0.5 mm hole, 1 mm land
        Via("Big", 18'288'000 / 10, 36'576'000 / 10, 1, true),  // 0.1 inch, 0.2 inch
    };
    window->sizeTable = table.get();
    FrameWindow = MakeTestParentWindow("ViaSizeFrame");
    ASSERT_NE(FrameWindow, nullptr);
  }
  void TearDown() override {
    pl3::ClearMenuHook();
    DestroyWindow(FrameWindow);
    FrameWindow = nullptr;
    window->sizeTable = nullptr;
    WalkTest::TearDown();
  }
  std::unique_ptr<SizeTable> table;
};

TEST_F(ViaSizes, MenuTextsNameTheDoubledSizesInTheEntrysUnit) {
  const SizeList& vias = table->lists[SizeKind_Vias];
  EXPECT_EQ(ViaSizeMenuText(vias.entries[0]), "Small (10 Thou hole 20 Thou land)");
  EXPECT_EQ(ViaSizeMenuText(vias.entries[2]), "0.5 mm hole 1 mm land");
  EXPECT_EQ(ViaSizeMenuText(vias.entries[3]), "Big (0.1 Inch hole 0.2 Inch land)");
  SizeEntry cm = Via("C", 7'200'000, 14'400'000, 3, true);
  EXPECT_EQ(ViaSizeMenuText(cm), "C (1 cm hole 2 cm land)");
  // A name that fills its field without a terminator is read within it.
  SizeEntry full = Via("", 18'288, 18'288, 0, true);
  std::memset(full.name, 'N', sizeof full.name);
  EXPECT_EQ(ViaSizeMenuText(full), std::string(sizeof full.name, 'N') + " (1 Thou hole 1 Thou land)");
}

TEST_F(ViaSizes, MenuListsOfferedSizesOnlyAndReturnsTheFullListPosition) {
  for (int pick = 0; pick < 3; ++pick) {
    std::vector<std::string> texts;
    std::vector<UINT> ids;
    pl3::SetMenuHook([&](HMENU menu, HWND owner) {
      for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        texts.push_back(MenuText(menu, i));
        ids.push_back(GetMenuItemID(menu, i));
      }
      RECT r{};
      ASSERT_TRUE(GetMenuItemRect(owner, menu, static_cast<UINT>(pick), &r));
      const POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
      pl3::InjectMouseMove(p);
      pl3::InjectMouseButton(pl3::MouseButton::Left, true, p);
      pl3::InjectMouseButton(pl3::MouseButton::Left, false, p);
    });
    std::uint32_t index = 99;
    ASSERT_EQ(PickViaSizeMenu(&index), 1) << pick;
    const std::uint32_t fullPosition[] = {0, 2, 3};  // "Hidden" is not offered
    EXPECT_EQ(index, fullPosition[pick]);
    EXPECT_EQ(texts, (std::vector<std::string>{"Small (10 Thou hole 20 Thou land)", "0.5 mm hole 1 mm land",
                                               "Big (0.1 Inch hole 0.2 Inch land)"}));
    EXPECT_EQ(ids, (std::vector<UINT>{2051, 2053, 2054}));
  }
}

TEST_F(ViaSizes, CancelledOrEmptyMenuReturnsZero) {
  std::uint32_t index = 99;
  pl3::SetMenuHook([](HMENU, HWND) { pl3::InjectKeyStroke(VK_ESCAPE); });
  EXPECT_EQ(PickViaSizeMenu(&index), 0);
  EXPECT_EQ(index, 99u);
  for (SizeEntry& e : table->lists[SizeKind_Vias].entries) e.flags = 0;
  int opened = 0;
  pl3::SetMenuHook([&](HMENU menu, HWND) { opened += GetMenuItemCount(menu); });
  EXPECT_EQ(PickViaSizeMenu(&index), 0);
  EXPECT_EQ(opened, 0);
  window->sizeTable = nullptr;
  EXPECT_EQ(PickViaSizeMenu(&index), 0);
}

std::vector<std::uint8_t> HoleAt(pl3::Point at, bool via) {
  std::vector<std::uint8_t> p(sizeof(HolePayload), 0);
  auto* hole = reinterpret_cast<HolePayload*>(p.data());
  hole->hole.flags = via ? kHoleIsVia : 0;
  WriteI32(p.data(), 60, at.x);
  WriteI32(p.data(), 64, at.y);
  return p;
}

TEST_F(GroupTexts, ViaExistsAtDesignViasAndPcbDisplayVias) {
  Insert(design, Type_Hole, HoleAt({100, 200}, true));
  Insert(design, Type_Hole, HoleAt({300, 400}, false));
  Recorded().displayItems.push_back({Type_Via, nullptr, {}, {500, 600}, false});
  Recorded().displayItems.push_back({Type_Hole, nullptr, {}, {700, 800}, false});
  EXPECT_EQ(ViaExistsAt(100, 200), 1);
  EXPECT_EQ(ViaExistsAt(100, 201), 0);
  EXPECT_EQ(ViaExistsAt(300, 400), 0);  // a plain hole
  EXPECT_EQ(ViaExistsAt(500, 600), 1);
  EXPECT_EQ(ViaExistsAt(700, 800), 0);
  window->editorKind = kEditorPcbSymbol;  // the display list counts in PCB windows only
  EXPECT_EQ(ViaExistsAt(500, 600), 0);
  EXPECT_EQ(ViaExistsAt(100, 200), 1);
  ActiveWindowData = nullptr;
  EXPECT_EQ(ViaExistsAt(100, 200), 0);
}

TEST_F(GroupTexts, SymbolDisplayListBoxUnitesItsOwnItemsFirstReplacing) {
  Tower* symbol = InsertEmptyEntity(design, Type_SymbolInstance);
  Tower* other = InsertEmptyEntity(design, Type_SymbolInstance);
  Tower* sameSymbol = DuplicateTower(symbol);
  Recorded().displayItems = {
      {1, other, {0, 0, 10, 10}, {}, false},
      {1, symbol, {500, 600, 700, 800}, {}, false},
      {7, sameSymbol, {400, 650, 650, 900}, {}, false},
      {1, symbol, {0, 0, 5000, 5000}, {}, true},  // excluded
      {1, nullptr, {0, 0, 9000, 9000}, {}, false},
  };
  pl3::Box box{1, 1, 2, 2};
  EXPECT_EQ(GetSymbolDisplayListBox(symbol, &box), 1);
  EXPECT_EQ(box.xmin, 400);
  EXPECT_EQ(box.ymin, 600);
  EXPECT_EQ(box.xmax, 700);
  EXPECT_EQ(box.ymax, 900);
  // Nothing of the symbol on the list: the box stays.
  Recorded().displayItems.resize(1);
  pl3::Box kept{1, 1, 2, 2};
  EXPECT_EQ(GetSymbolDisplayListBox(symbol, &kept), 0);
  EXPECT_EQ(kept.xmax, 2);
  for (Tower** t : {&symbol, &other, &sameSymbol}) ReleaseTower(t);
}

TEST_F(GroupTexts, EnterEditSelectionModeSetsModeMenusAndInvalidates) {
  HWND view = MakeTestParentWindow("EditSelectionView");
  ASSERT_NE(view, nullptr);
  ShowWindow(view, SW_SHOW);
  pl3::PumpMessages();
  RECT update{};
  EXPECT_FALSE(GetUpdateRect(view, &update, FALSE));
  window->EditMode = 71;
  EnterEditSelectionMode(view);
  EXPECT_EQ(window->EditMode, 39);
  EXPECT_EQ(Recorded().menuKinds, std::vector<std::uint32_t>{0});
  EXPECT_TRUE(GetUpdateRect(view, &update, FALSE));
  DestroyWindow(view);
}

}  // namespace
