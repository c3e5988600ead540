#include <gtest/gtest.h>

#include "edit/window_data.h"
#include "editor_seam_fakes.h"
#include "objects/cursor_zoom.h"
#include "platform/gdi.h"
#include "platform/user.h"

namespace {

class MarkerDragTest : public testing::Test {
 protected:
  void SetUp() override {
    hwnd_ = editorfakes::MakeEditorWindow("MarkerDragTest", DefWindowProcA);
    w_.Zoom = 1000;
    ActiveWindowData = &w_;
  }
  void TearDown() override { DestroyWindow(hwnd_); }
  HWND hwnd_ = nullptr;
  CurrentWindowData w_{};
};

TEST_F(MarkerDragTest, MovesOnlyToAnotherPixelInGreenXor) {
  MarkerDrag drag{{5000000, 5000000}, {5400000, 5300000}};
  DragOriginMarker(hwnd_, drag);
  EXPECT_TRUE(editorfakes::markers.empty()) << "snaps back onto the same grid point";
  EXPECT_EQ(drag.marker.x, 5000000);

  drag.mouse = {6200000, 5900000};
  DragOriginMarker(hwnd_, drag);
  ASSERT_EQ(editorfakes::markers.size(), 2u);
  const auto& erased = editorfakes::markers[0];
  const auto& drawn = editorfakes::markers[1];
  EXPECT_EQ(erased.kind, "origin");
  EXPECT_EQ(erased.at.x, 5000000);
  EXPECT_EQ(drawn.at.x, 6000000);
  EXPECT_EQ(drawn.at.y, 5000000);
  for (const auto& m : editorfakes::markers) {
    EXPECT_EQ(m.colour, RGB(0, 255, 0));
    EXPECT_EQ(m.rop, R2_XORPEN);
  }
  EXPECT_EQ(drag.marker.x, 6000000);
  EXPECT_EQ(drag.marker.y, 5000000);
}

TEST_F(MarkerDragTest, DatumFollowsTheFineSnapWhileItemsMove) {
  editorfakes::itemAttached = 1;
  MarkerDrag drag{{5000000, 5000000}, {5000400, 5000000}};
  DragDatumMarker(hwnd_, drag);
  EXPECT_TRUE(editorfakes::markers.empty());
  drag.mouse = {5001400, 5000000};
  DragDatumMarker(hwnd_, drag);
  ASSERT_EQ(editorfakes::markers.size(), 2u);
  EXPECT_EQ(editorfakes::markers[0].kind, "datum");
  EXPECT_EQ(editorfakes::markers[1].at.x, 5001000);
  EXPECT_EQ(drag.marker.x, 5001000);
}

TEST_F(MarkerDragTest, PointsOnOnePixelDoNotMove) {
  w_.Zoom = 10000000;  // ten million units per pixel: neighbouring grid points share a pixel
  MarkerDrag drag{{4000000, 4000000}, {5000000, 4000000}};
  DragOriginMarker(hwnd_, drag);
  EXPECT_TRUE(editorfakes::markers.empty());
  EXPECT_EQ(drag.marker.x, 4000000);
}

}  // namespace
