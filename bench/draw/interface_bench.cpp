// The image cache and auto-pan against what they replace.
//
//   DrawCachedImage32, DrawCachedImage256: one cached image (a disc with a
//   soft edge: opaque inside, transparent outside, partial alpha between)
//   blended onto a 1024 x 1024 memory context, against cairo compositing the
//   same premultiplied image with CAIRO_OPERATOR_OVER into an image surface
//   of the same size. Both outputs are compared first (cairo rounds where
//   the cache truncates, so channels may differ by 1). Counter x_cairo: the
//   cache's time over cairo's.
//
//   AutoPanStep: one 12-pixel pan step of a 3840 x 2160 PCB view holding
//   100,000 tracks (shift of surface and screen, render of the strip that
//   came into view, overlays), against redrawing the whole view the way the
//   program draws views without a display list: clear the plane, draw every
//   item by its type, colourise, copy to the window. Its picture is checked
//   against the whole redraw's first. Counter x_redraw: the step's time over
//   the redraw's (far below 1 expected).
#include <benchmark/benchmark.h>
#include <cairo.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "draw/auto_pan.h"
#include "draw/auto_pan_seams.h"
#include "draw/entity_drawing.h"
#include "draw/image_cache.h"
#include "edit/window_data.h"
#include "geometry/graphic_layouts.h"
#include "geometry/plane_bitmaps.h"
#include "geometry/raster_state.h"
#include "geometry/view_mapping.h"
#include "objects/layer_table.h"
#include "platform/gdi.h"
#include "platform/user.h"

namespace {

// The views are measured off screen, whatever display the shell has.
const bool kHeadless = setenv("PL3_BACKEND", "headless", 1) == 0;

template <class Fn>
double SecondsPerCall(Fn fn, int reps) {
  fn();
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < reps; ++i) {
    fn();
    benchmark::ClobberMemory();
  }
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / reps;
}

// ---- DrawCachedImage against cairo -----------------------------------------------------------

constexpr int kCanvas = 1024;
constexpr std::uint32_t kBackdrop = 0x00406080;

// Straight alpha of the disc image at (x, y), top-down.
std::uint8_t DiscAlpha(int x, int y, int side) {
  const double r = side / 2.0 - 0.5;
  const double d = std::hypot(x - r, y - r);
  const double edge = side / 2.0 - 3;
  if (d <= edge) return 255;
  if (d >= edge + 3) return 0;
  return static_cast<std::uint8_t>(255 * (edge + 3 - d) / 3);
}

void BM_DrawCachedImage(benchmark::State& state) {
  const int side = static_cast<int>(state.range(0));
  // The image: colours from the position, alpha a soft-edged disc.
  ImageCache* cache = NewImageCache();
  ImageCacheEntry e{1, static_cast<std::uint32_t>(side), static_cast<std::uint32_t>(side), 32, {}, {}, {}, {}};
  const std::size_t n = static_cast<std::size_t>(side) * side;
  e.alpha.resize(n);
  e.normal.resize(n * 3);
  e.disabled.resize(n * 3);
  e.highlighted.resize(n * 3);
  std::vector<std::uint32_t> premultiplied(n);  // cairo's ARGB32, top-down
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < side; ++x) {
      const std::size_t i = static_cast<std::size_t>(side - 1 - y) * side + x;  // planes run bottom-up
      const std::uint8_t a = DiscAlpha(x, y, side);
      const std::uint8_t bgr[3] = {static_cast<std::uint8_t>(x * 255 / side), static_cast<std::uint8_t>(y * 255 / side),
                                   static_cast<std::uint8_t>((x + y) * 127 / side)};
      e.alpha[i] = a;
      std::uint32_t p = static_cast<std::uint32_t>(a) << 24;
      for (int c = 0; c < 3; ++c) {
        e.normal[3 * i + c] = bgr[c];
        p |= static_cast<std::uint32_t>((bgr[c] * a + 127) / 255) << (8 * c);
      }
      premultiplied[static_cast<std::size_t>(y) * side + x] = p;
    }
  cache->entries.push_back(std::move(e));
  PrepareImageCache(cache);

  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP target = nullptr;
  void* bits = nullptr;
  CreateDIB32(dc, kCanvas, kCanvas, &target, &bits);
  HBITMAP old = SelectObject(dc, target);
  auto* pixels = static_cast<std::uint32_t*>(bits);

  cairo_surface_t* canvas = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kCanvas, kCanvas);
  cairo_surface_t* image = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(premultiplied.data()),
                                                                CAIRO_FORMAT_ARGB32, side, side, side * 4);
  cairo_t* cr = cairo_create(canvas);
  cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
  auto* canvasPixels = reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(canvas));
  const int canvasStride = cairo_image_surface_get_stride(canvas) / 4;

  const int x = 100, y = 200;
  const auto fillBoth = [&] {
    std::fill(pixels, pixels + static_cast<std::size_t>(kCanvas) * kCanvas, kBackdrop);
    cairo_surface_flush(canvas);
    for (int row = 0; row < kCanvas; ++row)
      std::fill(canvasPixels + static_cast<std::size_t>(row) * canvasStride,
                canvasPixels + static_cast<std::size_t>(row) * canvasStride + kCanvas, kBackdrop);
    cairo_surface_mark_dirty(canvas);
  };
  const auto drawCache = [&] { DrawCachedImage(cache, dc, x, y, 0, kImageNormal); };
  const auto drawCairo = [&] {
    cairo_set_source_surface(cr, image, x, y);
    cairo_rectangle(cr, x, y, side, side);
    cairo_fill(cr);
    cairo_surface_flush(canvas);
  };

  // The same picture from both, within cairo's rounding.
  fillBoth();
  drawCache();
  drawCairo();
  int worst = 0;
  for (int row = 0; row < kCanvas; ++row)
    for (int col = 0; col < kCanvas; ++col) {
      const std::uint32_t a = pixels[static_cast<std::size_t>(kCanvas - 1 - row) * kCanvas + col];  // bottom-up DIB
      const std::uint32_t b = canvasPixels[static_cast<std::size_t>(row) * canvasStride + col];
      for (int s = 0; s < 24; s += 8)
        worst = std::max(worst, std::abs(static_cast<int>((a >> s) & 0xFF) - static_cast<int>((b >> s) & 0xFF)));
    }
  if (worst > 2) state.SkipWithError("the cache and cairo drew different pictures");

  for (auto _ : state) {
    drawCache();
    benchmark::ClobberMemory();
  }
  const int reps = side <= 32 ? 20000 : 500;
  const double ours = SecondsPerCall(drawCache, reps);
  const double theirs = SecondsPerCall(drawCairo, reps);
  state.counters["x_cairo"] = ours / theirs;
  state.counters["max_channel_difference"] = worst;
  std::printf("DrawCachedImage %d x %d: cache / cairo = %.2f\n", side, side, ours / theirs);

  cairo_destroy(cr);
  cairo_surface_destroy(image);
  cairo_surface_destroy(canvas);
  SelectObject(dc, old);
  DeleteObject(target);
  DeleteDC(dc);
  DestroyImageCache(cache);
}
BENCHMARK(BM_DrawCachedImage)->Arg(32)->Arg(256)->Unit(benchmark::kMicrosecond);

// ---- One auto-pan step against the whole redraw ----------------------------------------------

constexpr int kViewWidth = 3840;
constexpr int kViewHeight = 2160;
constexpr int kItems = 100000;
constexpr std::int32_t kZoom = 16000;
constexpr std::int32_t kOrigin = 20000;

struct Item {
  pl3::TrackLayout track;
  pl3::Box box;  // world box, widened by half the width
};
std::vector<Item> g_items;

// Draws the items that meet a world box into the plane, clipped to its pixels.
void RenderItems(const pl3::Box& world, const RECT& pixels) {
  pl3::ViewClip clip{pixels.left, pixels.top, pixels.right - 1, pixels.bottom - 1,
                     static_cast<std::int32_t>(pl3::g_raster.width), static_cast<std::int32_t>(pl3::g_raster.height)};
  pl3::ViewClip* saved = pl3::g_raster.clip;
  pl3::g_raster.clip = &clip;
  pl3::g_raster.fillValue = 0;
  pl3::SetPlaneRect(pixels.left, pixels.top, pixels.right - 1, pixels.bottom - 1);
  for (const Item& item : g_items)
    if (item.box.xmax >= world.xmin && item.box.xmin <= world.xmax && item.box.ymax >= world.ymin &&
        item.box.ymin <= world.ymax)
      DrawEntityByType(&item.track, 1, &pl3::kIdentityTransform, kDrawPassNormal);
  pl3::g_raster.clip = saved;
}

struct PanView {
  HWND window = nullptr;
  std::unique_ptr<CurrentWindowData> block = std::make_unique<CurrentWindowData>(kEditorPcb);
  std::vector<std::uint32_t> colours = std::vector<std::uint32_t>(65536);

  PanView() {
    pl3::SetScreenSize(kViewWidth, kViewHeight);
    WNDCLASSA wc{};
    wc.lpfnWndProc = &DefWindowProcA;
    wc.lpszClassName = "PanBenchView";
    RegisterClassA(&wc);
    window = CreateWindowExA(0, "PanBenchView", "", WS_POPUP | WS_VISIBLE, 0, 0, kViewWidth, kViewHeight, nullptr,
                             nullptr, nullptr, nullptr);
    for (std::uint32_t i = 0; i < colours.size(); ++i) colours[i] = i ? 0x00E0C040 ^ (i * 0x010203) : 0;
    CurrentWindowData& w = *block;
    for (auto& r : w.layerTable.layers) r.oppositeLayer = kNoOppositeLayer;
    LayerRecord& top = w.layerTable.layers[Layer_Top];
    top.flags = kLayerPresent | kLayerVisible;
    top.planeBit = 1;
    w.Window = window;
    w.Zoom = kZoom;
    w.ViewOriginX = kOrigin;
    w.ViewOriginY = kOrigin;
    w.ColourTable = colours.data();
    w.Surface.width = kViewWidth;
    w.Surface.height = kViewHeight;
    HDC dc = GetDC(window);
    pl3::CreatePlaneDIBSection(dc, &w.Surface, 0, 32, 0);
    ReleaseDC(window, dc);
    pl3::AttachRasterToBitmap(&w.Surface, &w.SurfaceClip);
    ActiveWindowData = &w;
    UpdateViewGlobals();

    std::mt19937 random(27);
    std::uniform_int_distribution<int> px(-40, kViewWidth + 40), py(-40, kViewHeight + 40), step(-30, 30);
    g_items.resize(kItems);
    for (Item& item : g_items) {
      const std::int32_t x1 = (kOrigin + px(random)) * kZoom, y1 = (kOrigin + py(random)) * kZoom;
      const std::int32_t x2 = x1 + step(random) * kZoom, y2 = y1 + step(random) * kZoom;
      const std::int32_t width = 3 * kZoom;
      item.track = pl3::TrackLayout{};
      item.track.head.layer = Layer_Top;
      item.track.head.transform = pl3::kIdentityTransform;
      item.track.width = width;
      item.track.x1 = x1;
      item.track.y1 = y1;
      item.track.x2 = x2;
      item.track.y2 = y2;
      item.box = {std::min(x1, x2) - width, std::min(y1, y2) - width, std::max(x1, x2) + width,
                  std::max(y1, y2) + width};
    }
  }
  ~PanView() {
    pl3::FreePlaneBitmap(&block->Surface);
    pl3::g_raster.colourBuffer = nullptr;
    pl3::g_raster.plane = nullptr;
    pl3::g_raster.clip = nullptr;
    pl3::g_raster.view = nullptr;
    ActiveWindowData = nullptr;
    DestroyWindow(window);
  }

  // The whole view: every item drawn, the plane colourised, copied to the window.
  void Redraw() {
    pl3::Box world{0, 0, kViewWidth, kViewHeight};
    pl3::ViewBoxToWorld(&world);
    RenderItems(world, RECT{0, 0, kViewWidth, kViewHeight});
    pl3::ColourisePlane();
    HDC dc = GetDC(window);
    BitBlt(dc, 0, 0, kViewWidth, kViewHeight, block->Surface.memoryDC, 0, 0, SRCCOPY);
    ReleaseDC(window, dc);
  }
  std::vector<std::uint32_t> Picture() const {
    return {pl3::g_raster.colourBuffer, pl3::g_raster.colourBuffer + static_cast<std::size_t>(kViewWidth) * kViewHeight};
  }
};

}  // namespace

// The strip render that auto-pan calls, drawn as the whole redraw draws.
void RenderViewRect(void*, const pl3::Box* box, int) {
  const pl3::ViewMapping& v = pl3::ActiveViewMapping();
  const RECT pixels{box->xmin / kZoom - v.originX, box->ymin / kZoom - v.originY,
                    std::min<LONG>(box->xmax / kZoom - v.originX, kViewWidth),
                    std::min<LONG>(box->ymax / kZoom - v.originY, kViewHeight)};
  RenderItems(*box, pixels);
}
void DrawCrosshair(HWND, pl3::Point*) {}
void UpdateViewScrollBars(HWND) {}

namespace {

void BM_AutoPanStep(benchmark::State& state) {
  PanView view;
  view.Redraw();
  // A step right must give the picture a whole redraw at the new origin gives.
  AutoPanScroll(view.window, kPanRight);
  const std::vector<std::uint32_t> stepped = view.Picture();
  view.Redraw();
  if (view.Picture() != stepped) state.SkipWithError("the pan step and the whole redraw drew different pictures");
  if (view.block->ViewOriginX != kOrigin + 12) state.SkipWithError("the view did not pan");

  const auto twoSteps = [&] {
    AutoPanScroll(view.window, kPanRight);
    AutoPanScroll(view.window, kPanLeft);
  };
  for (auto _ : state) {
    twoSteps();
    benchmark::ClobberMemory();
  }
  const double step = SecondsPerCall(twoSteps, 20) / 2;
  const double redraw = SecondsPerCall([&] { view.Redraw(); }, 10);
  state.counters["step_ms"] = step * 1e3;
  state.counters["redraw_ms"] = redraw * 1e3;
  state.counters["x_redraw"] = step / redraw;
  std::printf("auto-pan step of 12 pixels / whole redraw of %d items on %d x %d = %.3f\n", kItems, kViewWidth,
              kViewHeight, step / redraw);
}
BENCHMARK(BM_AutoPanStep)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace
