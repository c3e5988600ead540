// A PCB view with a window, a surface and a display list: the fixture of the
// redraw and scrolling tests. Plane words are checked by view pixel.
#pragma once
#include <gtest/gtest.h>

#include <vector>

#include "draw/view_redraw.h"
#include "geometry/plane_bitmaps.h"
#include "geometry/raster_state.h"
#include "objects/type_codes.h"
#include "platform/gdi.h"
#include "platform/scroll.h"
#include "platform/user.h"
#include "tests/draw/display_fixture.h"

namespace viewtest {

constexpr std::uint32_t kZoom = 1000;            // world units per pixel
constexpr std::uint32_t kBackground = 0x40;      // the window's background plane word
constexpr std::uint32_t kStale = 0x7777;         // what the plane held before a redraw
constexpr int kClientWidth = 120, kClientHeight = 90;
constexpr std::uint32_t kPlaneSide = 256;

// The world coordinate in the middle of view pixel p at origin 0.
constexpr std::int32_t W(std::int32_t p) { return p * static_cast<std::int32_t>(kZoom) + 500; }

class ViewTest : public displaytest::DisplayTest {
 protected:
  void SetUp() override {
    DisplayTest::SetUp();
    WNDCLASSA wc{};
    wc.lpfnWndProc = &DefWindowProcA;
    wc.lpszClassName = "ViewTestView";
    ASSERT_TRUE(RegisterClassA(&wc));
    view = CreateWindowExA(0, "ViewTestView", "Board", WS_POPUP | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL, 0, 0,
                           kClientWidth, kClientHeight, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(view, nullptr);
    GetClientRect(view, &client);
    // The scroll bars take their room from the client area: grow the window by it.
    MoveWindow(view, 0, 0, 2 * kClientWidth - client.right, 2 * kClientHeight - client.bottom, TRUE);
    GetClientRect(view, &client);
    ASSERT_EQ(client.right, kClientWidth);
    ASSERT_EQ(client.bottom, kClientHeight);
    colours.resize(65536);
    for (std::uint32_t i = 0; i < colours.size(); ++i) colours[i] = 0x010101 * (i & 0xFF) + (i >> 8);
    window->Window = view;
    window->Zoom = kZoom;
    window->BackgroundIndex = kBackground;
    window->ColourTable = colours.data();
    window->Surface.width = kPlaneSide;
    window->Surface.height = kPlaneSide;
    HDC dc = GetDC(view);
    ASSERT_TRUE(pl3::CreatePlaneDIBSection(dc, &window->Surface, 0, 32, 0));
    ReleaseDC(view, dc);
    UpdateViewGlobals();
    pl3::AttachRasterToBitmap(&window->Surface, &window->SurfaceClip);
    pl3::g_raster.colourTable1 = colours.data();
    Fill(kStale);
  }
  void TearDown() override {
    pl3::FreePlaneBitmap(&window->Surface);
    pl3::g_raster.colourBuffer = nullptr;
    pl3::g_raster.plane = nullptr;
    pl3::g_raster.clip = nullptr;
    pl3::g_raster.view = nullptr;
    DestroyWindow(view);
    DisplayTest::TearDown();
  }

  // Every plane word and colour word set to the value.
  void Fill(std::uint32_t v) {
    for (std::uint32_t y = 0; y < pl3::g_raster.height; ++y)
      for (std::uint32_t x = 0; x < pl3::g_raster.width; ++x) {
        pl3::g_raster.plane[pl3::PlaneWordIndex(x, y)] = v;
        pl3::g_raster.colourBuffer[pl3::PlaneWordIndex(x, y)] = v;
      }
  }
  static std::uint32_t PlaneAt(int x, int y) { return pl3::g_raster.plane[pl3::PlaneWordIndex(x, y)]; }
  static std::uint32_t ColourAt(int x, int y) { return pl3::g_raster.colourBuffer[pl3::PlaneWordIndex(x, y)]; }
  // The pixels (inclusive rectangle) whose plane word is no longer kStale.
  static RECT Touched() {
    RECT r{INT32_MAX, INT32_MAX, -1, -1};
    for (std::uint32_t y = 0; y < pl3::g_raster.height; ++y)
      for (std::uint32_t x = 0; x < pl3::g_raster.width; ++x)
        if (PlaneAt(x, y) != kStale) {
          r.left = std::min<LONG>(r.left, x);
          r.top = std::min<LONG>(r.top, y);
          r.right = std::max<LONG>(r.right, x);
          r.bottom = std::max<LONG>(r.bottom, y);
        }
    return r;
  }
  // A track on the top copper between two view pixels (at origin 0), put on the list.
  void TrackBetween(int x1, int y1, int x2, int y2) {
    Put(Add(design, Type_Track, displaytest::Track(Layer_Top, W(x1), W(y1), W(x2), W(y2), 2000)));
  }
  std::vector<std::uint32_t> PlaneCopy(int width, int height) {
    std::vector<std::uint32_t> out;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) out.push_back(PlaneAt(x, y));
    return out;
  }
  std::vector<std::uint32_t> ColourCopy(int width, int height) {
    std::vector<std::uint32_t> out;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) out.push_back(ColourAt(x, y));
    return out;
  }

  HWND view = nullptr;
  RECT client{};
  std::vector<std::uint32_t> colours;
};

}  // namespace viewtest
