#include <gtest/gtest.h>

#include "draw/raster_callbacks.h"
#include "geometry/raster_state.h"
#include "objects/area_pick_seams.h"
#include "store/tower.h"

namespace {

Tower* NewEntity(std::uint16_t code) {
  Tower* t = NewTower(0);
  t->levels[0].typeCode = code;
  InsertAtLastLevel(t, 0);
  return t;
}

TEST(AreaPickCandidates, ReadTheAreaPickListInItsOrder) {
  EXPECT_EQ(AreaPickCandidate(0), nullptr);
  Tower* a = NewEntity(1);
  Tower* b = NewEntity(3);
  pl3::BeginAreaPick({10, 10, 20, 20});
  for (Tower* t : {a, b}) {
    pl3::g_raster.currentEntity = t;
    pl3::g_raster.pickPending = 1;
    PickHorizontalRun(0, 30, 15);
  }
  pl3::g_raster.currentEntity = nullptr;
  ASSERT_NE(AreaPickCandidate(0), nullptr);
  EXPECT_EQ(TowerEntity(AreaPickCandidate(0)), TowerEntity(b));  // the list is newest first
  EXPECT_EQ(TowerEntity(AreaPickCandidate(1)), TowerEntity(a));
  EXPECT_EQ(AreaPickCandidate(2), nullptr);
  pl3::FreePickList();
  EXPECT_EQ(AreaPickCandidate(0), nullptr);
  ReleaseTower(&a);
  ReleaseTower(&b);
}

}  // namespace
