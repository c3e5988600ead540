#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "edit/window_data.h"
#include "geometry/raster_state.h"
#include "objects/cursor_zoom.h"
#include "objects/view_seams.h"
#include "platform/reset_hooks.h"
#include "platform/scroll.h"
#include "platform/user.h"
#include "platform/user_constants.h"

// The view services, recorded; the grid snaps to 1,000,000 units, the fine
// snap to 1,000.
namespace {
std::vector<std::string> gCalls;
int gAttached = 0;
void ResetFakes() {
  gCalls.clear();
  gAttached = 0;
}
const bool gRegistered = pl3::RegisterGlobalReset(&ResetFakes);
std::string At(const char* what, pl3::Point p) { return std::string(what) + " " + std::to_string(p.x) + "," + std::to_string(p.y); }
}  // namespace

void SnapXY(std::int32_t* x, std::int32_t* y, int) {
  *x = *x / 1000000 * 1000000;
  *y = *y / 1000000 * 1000000;
}
void SnapXYFine(std::int32_t* x, std::int32_t* y) {
  *x = *x / 1000 * 1000;
  *y = *y / 1000 * 1000;
}
int IsItemAttachedToCursor() { return gAttached; }
// Like the real one, it takes the point as the mouse's and warps the
// pointer, which queues a mouse move.
void SetCursorToPoint(void*, pl3::Point p) {
  gCalls.push_back(At("pointer", p));
  if (ActiveWindowData) ActiveWindowData->MouseWorld = p;
  SetCursorPos(p.x / 1000000, p.y / 1000000);
}
void CentreViewOnPoint(void*, pl3::Point p) { gCalls.push_back(At("centre", p)); }
int UpdateStatusBar(void*) {
  gCalls.push_back("status");
  return 7;
}
void RedrawView(void*) { gCalls.push_back("redraw"); }
void HandleRawMouseRecord(void*, const MouseRecord&) { gCalls.push_back("raw"); }
void DoScroll(void*, std::uint32_t bar, std::uint32_t code) {
  gCalls.push_back(std::string(bar == WM_HSCROLL ? "h" : "v") + (code == SB_LINEDOWN ? " down" : " up"));
}

namespace {

class CursorZoom : public testing::Test {
 protected:
  void SetUp() override { ActiveWindowData = &w_; }
  CurrentWindowData w_{};
  MouseRecord Record(pl3::Point world) {
    MouseRecord r{};
    r.hasWorldPoint = 1;
    r.world = world;
    return r;
  }
};

TEST_F(CursorZoom, ZoomStepsHoldTheLimitsAndAlwaysCentre) {
  struct Case {
    std::uint32_t from;
    bool out;
    std::uint32_t to;
  };
  const Case cases[] = {
      {600, false, 500}, {500, false, 500}, {64000, false, 32000}, {1024000, true, 1024000},
      {600000, true, 1024000}, {1000, true, 2000},
  };
  const pl3::Point p{300000000, 400000000};
  for (const Case& c : cases) {
    gCalls.clear();
    w_.Zoom = c.from;
    pl3::g_raster.viewFactor = 1;
    c.out ? ZoomOutAtPoint(nullptr, Record(p)) : ZoomInAtPoint(nullptr, Record(p));
    EXPECT_EQ(w_.Zoom, c.to) << c.from;
    ASSERT_FALSE(gCalls.empty());
    EXPECT_EQ(gCalls.back(), "centre 300000000,400000000");
    if (c.from == c.to) {
      EXPECT_EQ(gCalls.size(), 1u) << "at the limit only the centring";
      EXPECT_EQ(pl3::g_raster.viewFactor, 1u);
    } else {
      EXPECT_EQ(gCalls.front(), "pointer 300000000,400000000");
      EXPECT_EQ(pl3::g_raster.viewFactor, 0xFFFFFFFFu / c.to);
    }
  }
}

TEST_F(CursorZoom, ZoomLevels) {
  const std::pair<char, std::uint32_t> cases[] = {{'0', 2000}, {'1', 4000}, {'4', 32000}, {'9', 1024000}};
  for (auto [level, zoom] : cases) {
    ZoomToLevel(nullptr, Record({0, 0}), level);
    EXPECT_EQ(w_.Zoom, zoom) << level;
    EXPECT_EQ(pl3::g_raster.viewFactor, 0xFFFFFFFFu / zoom);
  }
}

TEST_F(CursorZoom, MouseMovesTheCursorByViewSteps) {
  w_.Zoom = 1000;
  MouseRecord r = Record({500000000, 600000000});
  r.view = {10, 20};
  r.mouseView = {13, 18};
  TrackMouseCursor(nullptr, r);
  EXPECT_EQ(r.world.x, 500003000);
  EXPECT_EQ(r.world.y, 599998000);
  EXPECT_EQ(r.previousWorld.x, 500000000);
  EXPECT_EQ(r.view.x, 13);
  EXPECT_EQ(w_.DisplayedCursor.x, 500003000);
  EXPECT_EQ(gCalls, std::vector<std::string>{"status"});

  gCalls.clear();
  TrackMouseCursor(nullptr, r);
  EXPECT_TRUE(gCalls.empty()) << "no move, no refresh";
}

TEST_F(CursorZoom, LockedAxisStaysAndEditModesSnapTheShownPoint) {
  w_.Zoom = 1000;
  w_.AxisLock = 1;
  w_.EditMode = 3;
  MouseRecord r = Record({500000000, 600000000});
  r.mouseView = {50, 1};
  TrackMouseCursor(nullptr, r);
  EXPECT_EQ(r.world.x, 500000000);
  EXPECT_EQ(r.view.x, 0);
  EXPECT_EQ(r.world.y, 600001000);
  EXPECT_EQ(w_.DisplayedCursor.y, 600000000) << "snapped to the grid";
  gAttached = 1;
  r.mouseView = {50, 3};
  TrackMouseCursor(nullptr, r);
  EXPECT_EQ(w_.DisplayedCursor.y, 600003000) << "fine snap while items follow the cursor";
}

TEST_F(CursorZoom, CursorStaysAtTheEdgeAndRejoinsTheMouse) {
  w_.Zoom = 1000000;
  w_.ViewOriginX = 0;
  MouseRecord r = Record({183880000, 600000000});
  r.view = {183, 600};
  r.mouseView = {150, 600};
  TrackMouseCursor(nullptr, r);
  EXPECT_EQ(r.world.x, kAreaLow);
  for (int x : {140, 100, 0, -50}) {
    r.mouseView.x = x;
    TrackMouseCursor(nullptr, r);
    EXPECT_EQ(r.world.x, kAreaLow) << x;
  }
  r.mouseView.x = 300;
  TrackMouseCursor(nullptr, r);
  EXPECT_EQ(r.world.x, 300000000) << "back inside: the absolute position";
  r.mouseView.x = 5000;
  TrackMouseCursor(nullptr, r);
  EXPECT_EQ(r.world.x, kAreaHigh);
}

TEST_F(CursorZoom, RecordWithoutWorldPointGoesToTheRawHandler) {
  MouseRecord r{};
  TrackMouseCursor(nullptr, r);
  EXPECT_EQ(gCalls, std::vector<std::string>{"raw"});
}

TEST_F(CursorZoom, ResetOriginTakesTheSnapOriginOnlyInsideTheArea) {
  w_.SnapOrigin = {100, 100};
  w_.ViewFlags = 0x7;
  ResetCoordinateOrigin(nullptr);
  EXPECT_EQ(w_.CoordinateOrigin.x, 1005000000);
  EXPECT_EQ(w_.CoordinateOrigin.y, 1005000000);
  EXPECT_EQ(w_.ViewFlags, 0x5u);
  EXPECT_EQ(gCalls, std::vector<std::string>{"redraw"});
  w_.SnapOrigin = {kAreaLow, kAreaHigh};
  ResetCoordinateOrigin(nullptr);
  EXPECT_EQ(w_.CoordinateOrigin.x, kAreaLow);
  EXPECT_EQ(w_.CoordinateOrigin.y, kAreaHigh);
}

TEST_F(CursorZoom, SetOriginSnapsThePoint) {
  SetCoordinateOrigin(nullptr, Record({201234567, 302999999}));
  EXPECT_EQ(w_.CoordinateOrigin.x, 201000000);
  EXPECT_EQ(w_.CoordinateOrigin.y, 302000000);
}

TEST_F(CursorZoom, MovingTheCursorOutOfViewCentresOnIt) {
  w_.Zoom = 1000;
  EXPECT_EQ(MoveCursorToPoint(nullptr, {500000000, 500000000}), 7);
  EXPECT_EQ(w_.Cursor.x, 500000000);
  EXPECT_EQ(w_.DisplayedCursor.y, 500000000);
  EXPECT_EQ(gCalls, (std::vector<std::string>{"pointer 500000000,500000000", "centre 500000000,500000000", "status"}));
}

TEST_F(CursorZoom, MovingTheCursorDropsTheWarpsMouseMoveAndKeepsTheMouseWorldPoint) {
  // A window under the pointer, for the warp's mouse move to go to.
  WNDCLASSA viewClass{};
  viewClass.lpfnWndProc = DefWindowProcA;
  viewClass.lpszClassName = "CursorZoomView";
  RegisterClassA(&viewClass);
  HWND under = CreateWindowExA(0, "CursorZoomView", "view", WS_POPUP | WS_VISIBLE, 0, 0, 200, 200, nullptr, nullptr,
                               nullptr, nullptr);
  ASSERT_NE(under, nullptr);
  w_.Zoom = 1000;
  w_.MouseWorld = {123, 456};
  MoveCursorToPoint(nullptr, {40000000, 30000000});
  EXPECT_EQ(w_.MouseWorld.x, 123);
  EXPECT_EQ(w_.MouseWorld.y, 456);
  MSG queued{};
  EXPECT_FALSE(PeekMessage(&queued, nullptr, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_NOREMOVE));
  // A warp outside the move still queues one: the check above sees the queue.
  SetCursorToPoint(nullptr, {50000000, 30000000});
  EXPECT_TRUE(PeekMessage(&queued, nullptr, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE));
  DestroyWindow(under);
}

TEST_F(CursorZoom, WheelScrollsWithCtrlOrShiftAndOtherwiseZoomsAtTheCursor) {
  const auto wheel = [](int delta, std::uint32_t keys) {
    return (static_cast<std::uint32_t>(static_cast<std::uint16_t>(delta)) << 16) | keys;
  };
  const struct {
    std::uint32_t parameter;
    const char* call;
  } cases[] = {
      {wheel(-120, MK_CONTROL), "h down"}, {wheel(120, MK_CONTROL), "h up"}, {wheel(0, MK_SHIFT), "v down"},
      {wheel(120, MK_SHIFT), "v up"},      {wheel(120, MK_CONTROL | MK_SHIFT), "h up"},
  };
  for (const auto& c : cases) {
    gCalls.clear();
    EditorMouseWheel(nullptr, c.parameter);
    EXPECT_EQ(gCalls, std::vector<std::string>{c.call}) << std::hex << c.parameter;
  }
  w_.Cursor = {400000000, 500000000};
  w_.Zoom = 4000;
  EditorMouseWheel(nullptr, wheel(-120, 0));
  EXPECT_EQ(w_.Zoom, 8000u) << "towards the user: out";
  EXPECT_EQ(gCalls.back(), "centre 400000000,500000000");
  EditorMouseWheel(nullptr, wheel(120, 0));
  EditorMouseWheel(nullptr, wheel(120, 0));
  EXPECT_EQ(w_.Zoom, 2000u);
}

}  // namespace
