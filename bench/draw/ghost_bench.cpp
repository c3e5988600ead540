// One mouse move of a ghost (erase and redraw) in a 1920 x 1080 window: a
// wide two-legged track drawn as outlines with round ends, and a 255-point
// polygon, each against plain MoveToEx/LineTo of the same segments with an
// XOR pen. The counter "x_plain" is how many times slower the ghost is.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "draw/ghost_pens.h"
#include "draw/ghosts.h"
#include "edit/window_data.h"
#include "geometry/raster_state.h"
#include "objects/graphic_records.h"
#include "objects/type_codes.h"
#include "platform/gdi.h"
#include "platform/surface.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

struct View {
  std::vector<std::uint32_t> pixels = std::vector<std::uint32_t>(static_cast<std::size_t>(kWidth) * kHeight);
  std::vector<std::uint32_t> colours = std::vector<std::uint32_t>(65536, 0x336699);
  pl3::PixelSurface surface{pixels.data(), kWidth, kHeight, kWidth};
  HDC dc = pl3::CreateSurfaceDC(&surface, POINT{0, 0}, RECT{0, 0, kWidth, kHeight});
  pl3::ViewClip clip{0, 0, kWidth - 1, kHeight - 1, kWidth, kHeight};
  std::unique_ptr<CurrentWindowData> w = std::make_unique<CurrentWindowData>(kEditorPcb);
  View() {
    w->ColourTable = colours.data();
    w->Zoom = 1;
    w->AngleAssist = 2;
    for (auto& l : w->layerTable.layers) l.oppositeLayer = kNoOppositeLayer;
    ActiveWindowData = w.get();
    UpdateViewGlobals();
    pl3::g_raster.clip = &clip;
  }
  ~View() {
    pl3::DeleteSurfaceDC(dc);
    ActiveWindowData = nullptr;
    pl3::g_raster.clip = nullptr;
  }
};

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

void PlainSegments(HDC dc, const std::vector<POINT>& ends) {
  for (std::size_t i = 0; i + 1 < ends.size(); i += 2) {
    MoveToEx(dc, ends[i].x, ends[i].y, nullptr);
    LineTo(dc, ends[i + 1].x, ends[i + 1].y);
  }
}

void BM_GhostWideTwoLeggedTrack(benchmark::State& state) {
  View v;
  auto r = NewEntityRecord();
  r->header.recordType = Type_Track;
  r->header.transform = pl3::kIdentityTransform;
  auto& t = r->as<pl3::TrackLayout>();
  t.head.layer = 1;
  t.head.transform = pl3::kIdentityTransform;
  t.width = 40;
  t.x1 = 100;
  t.y1 = 100;
  t.x2 = 1700;
  t.y2 = 900;
  const auto move = [&] {
    GhostEntity(v.dc, r.get(), 0);
    GhostEntity(v.dc, r.get(), 0);
  };
  for (auto _ : state) move();
  // The same four edges as plain lines, twice.
  const std::vector<POINT> edges = {{100, 60},  {900, 60},  {100, 140}, {900, 140},
                                    {928, 72},  {1728, 872}, {872, 128}, {1672, 928}};
  HPEN pen = CreatePen(PS_SOLID, 0, RGB(255, 255, 0));
  SelectObject(v.dc, pen);
  SetROP2(v.dc, R2_XORPEN);
  const double ghost = SecondsPerCall(move, 200);
  const double plain = SecondsPerCall([&] { PlainSegments(v.dc, edges); PlainSegments(v.dc, edges); }, 200);
  state.counters["x_plain"] = ghost / plain;
  SelectObject(v.dc, GetStockObject(BLACK_PEN));
  DeleteObject(pen);
}
BENCHMARK(BM_GhostWideTwoLeggedTrack)->Unit(benchmark::kMicrosecond);

void BM_GhostPolygon255(benchmark::State& state) {
  View v;
  auto r = NewEntityRecord();
  r->header.recordType = Type_Polygon;
  r->header.transform = pl3::kIdentityTransform;
  auto& p = r->as<pl3::PolygonLayout>();
  p.head.layer = 2;
  p.head.transform = pl3::kIdentityTransform;
  p.count = 255;
  p.editIndex = 255;
  std::vector<POINT> edges;
  Point* points = pl3::PolygonPoints(&p);
  for (int i = 0; i < 255; ++i) {
    const double a = 2 * 3.14159265358979 * i / 255;
    points[i] = {static_cast<std::int32_t>(960 + 500 * std::cos(a)), static_cast<std::int32_t>(540 + 500 * std::sin(a))};
  }
  for (int i = 0; i < 255; ++i) {
    edges.push_back({points[i].x, points[i].y});
    edges.push_back({points[(i + 1) % 255].x, points[(i + 1) % 255].y});
  }
  const auto move = [&] {
    GhostEntity(v.dc, r.get(), 0);
    GhostEntity(v.dc, r.get(), 0);
  };
  for (auto _ : state) move();
  HPEN pen = CreatePen(PS_SOLID, 0, RGB(255, 255, 0));
  SelectObject(v.dc, pen);
  SetROP2(v.dc, R2_XORPEN);
  const double ghost = SecondsPerCall(move, 200);
  const double plain = SecondsPerCall([&] { PlainSegments(v.dc, edges); PlainSegments(v.dc, edges); }, 200);
  state.counters["x_plain"] = ghost / plain;
  SelectObject(v.dc, GetStockObject(BLACK_PEN));
  DeleteObject(pen);
}
BENCHMARK(BM_GhostPolygon255)->Unit(benchmark::kMicrosecond);

}  // namespace
