#include "objects/item_picking.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "command_fixture.h"
#include "command_seam_fakes.h"
#include "geometry/raster_state.h"
#include "geometry/view_mapping.h"
#include "objects/frame_seams.h"
#include "objects/type_codes.h"
#include "platform/menus.h"
#include "platform/user.h"

using editorfakes::calls;

namespace {

// What the hit-test walk saw of each visit.
struct Seen {
  std::uint16_t code;
  std::uint32_t tag;
  std::uint32_t filter;
  std::uint8_t target;
};
std::vector<Seen> gSeen;

// Draws each item as one view pixel at its point (payload words 60 and 64),
// which in the nearest-hit mode measures the item's distance.
std::int32_t DrawAsPoint(const pl3::Transform*, Tower* entity, void*, std::uint8_t, std::uint8_t, std::int32_t*) {
  const std::uint8_t* p = TowerPayload(entity);
  std::int32_t x, y;
  std::memcpy(&x, p + 60, 4);
  std::memcpy(&y, p + 64, 4);
  gSeen.push_back({TowerEntity(entity)->typeCode, walktest::TagOf(TowerEntity(entity)), ActiveWindowData->ViewFlags,
                   pl3::g_raster.spanTarget});
  pl3::WorldToView(x, y);
  pl3::EmitHorizontalRun(x, x, y);
  return 1;
}

class ItemPicking : public commandtest::CommandTest {
 protected:
  void SetUp() override {
    commandtest::CommandTest::SetUp();
    gSeen.clear();
    WalkHandlers.drawWalkedEntity = &DrawAsPoint;
    UpdateViewGlobals();  // zoom 1000: one view pixel is 1,000 world units
  }
  // An item of the code at a world point, tagged.
  Tower* At(std::uint16_t code, std::int32_t x, std::int32_t y, std::uint32_t tag) {
    std::vector<std::uint8_t> p = walktest::Item(tag, 96);
    std::memcpy(p.data() + 60, &x, 4);
    std::memcpy(p.data() + 64, &y, 4);
    return Own(InsertEntity(design, static_cast<std::uint32_t>(p.size()), code, p.data()));
  }
  std::uint32_t Pick(std::int32_t x, std::int32_t y, int keepFilter = 1) {
    Tower* t = PickClosestItem(x, y, keepFilter);
    const std::uint32_t tag = t ? walktest::TagOf(TowerEntity(t)) : 0;
    ReleaseTower(&t);
    return tag;
  }
  std::uint32_t PreviousTag() {
    return window->PreviousPick ? walktest::TagOf(TowerEntity(window->PreviousPick)) : 0;
  }
  void TearDown() override {
    ReleaseTower(&window->PreviousPick);
    commandtest::CommandTest::TearDown();
  }
};

TEST_F(ItemPicking, TheNearestPlaneWithinTheApertureIsPicked) {
  At(Type_Plane, 1'000'000, 1'000'000, 1);
  At(Type_Plane, 1'020'000, 1'000'000, 2);
  At(Type_Track, 1'001'000, 1'000'000, 3);  // only planes take part
  EXPECT_EQ(Pick(1'018'000, 1'000'000), 2u);
  EXPECT_EQ(PreviousTag(), 2u);
  EXPECT_EQ(Pick(1'003'000, 1'000'000), 1u);
  EXPECT_EQ(pl3::g_raster.spanTarget, pl3::kTargetPlane);
  EXPECT_EQ(pl3::g_raster.bestEntity, nullptr);
  for (const Seen& s : gSeen) {
    EXPECT_EQ(s.code, Type_Plane);
    EXPECT_EQ(s.target, pl3::kTargetNearestHit);
  }
}

TEST_F(ItemPicking, NothingWithinTheApertureKeepsThePreviousPick) {
  At(Type_Plane, 1'000'000, 1'000'000, 1);
  EXPECT_EQ(Pick(1'000'000, 1'000'000), 1u);
  // 40 pixels of 1,000 units: a hit must be nearer than 40,000 units.
  EXPECT_EQ(Pick(1'040'000, 1'000'000), 0u);
  EXPECT_EQ(PreviousTag(), 1u);
  EXPECT_EQ(Pick(1'039'000, 1'000'000), 1u);
  PickDistance = 2;
  EXPECT_EQ(Pick(1'002'000, 1'000'000), 0u);
}

TEST_F(ItemPicking, RepeatedPicksStepThroughOverlappingItems) {
  At(Type_Plane, 1'000'000, 1'000'000, 1);
  At(Type_Plane, 1'000'000, 1'000'000, 2);
  At(Type_Plane, 1'000'000, 1'000'000, 3);
  std::vector<std::uint32_t> picks;
  for (int i = 0; i < 4; ++i) picks.push_back(Pick(1'000'000, 1'000'000));
  EXPECT_EQ(picks, (std::vector<std::uint32_t>{3, 2, 1, 3}));  // newest first, then onward, then round
}

TEST_F(ItemPicking, AnInvalidPreviousPickIsDroppedAndTheFlagsRestored) {
  Tower* gone = At(Type_Plane, 1'000'000, 1'000'000, 1);
  At(Type_Plane, 1'000'000, 1'000'000, 2);
  window->PreviousPick = DuplicateTower(gone);
  DeleteEntity(gone);
  window->ViewFlags = 0x40 | 0x8;
  window->WalkFlags = 0x40000;  // a drawing flag that filters nothing
  EXPECT_EQ(Pick(1'000'000, 1'000'000, 0), 2u);
  ASSERT_FALSE(gSeen.empty());
  EXPECT_EQ(gSeen[0].filter, 0x8u | 0x100u) << "bit 6 cleared, bit 8 set without keep-filter";
  EXPECT_EQ(window->ViewFlags, 0x48u);
  EXPECT_EQ(window->WalkFlags, 0x40000u);

  gSeen.clear();
  EXPECT_EQ(Pick(1'000'000, 1'000'000, 1), 2u);  // the one plane, from the valid previous pick
  EXPECT_EQ(gSeen[0].filter, 0x8u | 0x20u) << "bit 5 while the previous pick leads the walk";
  EXPECT_EQ(window->ViewFlags, 0x48u);
}

class OverlapMenu : public commandtest::CommandTest {
 protected:
  void SetUp() override {
    commandtest::CommandTest::SetUp();
    for (std::uint16_t code : {Type_Track, Type_Arc, Type_Circle}) commandfakes::candidates.push_back(Own(InsertEntity(design, 68, code, nullptr)));
  }
  // Shows the menu, keeps its entries and picks the entry at `position` (-1 dismisses).
  Tower* Choose(int position) {
    pl3::SetMenuHook([this, position](HMENU menu, HWND owner) {
      shown = menu;
      for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[64] = {};
        GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        entries.push_back(text);
        ids.push_back(GetMenuItemID(menu, i));
      }
      if (position < 0) {
        pl3::InjectKeyStroke(VK_ESCAPE);
        return;
      }
      RECT r{};
      ASSERT_TRUE(GetMenuItemRect(owner, menu, static_cast<UINT>(position), &r));
      const POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
      pl3::InjectMouseMove(p);
      pl3::InjectMouseButton(pl3::MouseButton::Left, true, p);
      pl3::InjectMouseButton(pl3::MouseButton::Left, false, p);
    });
    return Own(ChooseOverlappingItem(hwnd));
  }
  HMENU shown = nullptr;
  std::vector<std::string> entries;
  std::vector<UINT> ids;
};

TEST_F(OverlapMenu, ACandidateWithoutADescriptionKeepsItsId) {
  commandfakes::descriptions = {{Type_Track, "Track [T1] - Top"}, {Type_Circle, "Circle"}};
  Tower* chosen = Choose(1);
  EXPECT_EQ(entries, (std::vector<std::string>{"Track [T1] - Top", "Circle"}));
  EXPECT_EQ(ids, (std::vector<UINT>{2050, 2052}));
  ASSERT_NE(chosen, nullptr);
  EXPECT_NE(chosen, commandfakes::candidates[2]) << "a copy";
  EXPECT_EQ(TowerEntity(chosen), TowerEntity(commandfakes::candidates[2]));
  EXPECT_FALSE(IsMenu(shown)) << "the menu is destroyed";
}

TEST_F(OverlapMenu, DismissingChoosesNothing) {
  commandfakes::descriptions = {{Type_Track, "Track"}, {Type_Arc, "Arc"}};
  EXPECT_EQ(Choose(-1), nullptr);
  EXPECT_EQ(ids, (std::vector<UINT>{2050, 2051}));
  EXPECT_FALSE(IsMenu(shown));
}

}  // namespace
