// Snapping runs on every mouse move and the grid is drawn on every redraw:
// SnapXY over 10 million cursor points (cartesian and polar) against a plain
// double rounding of the same points to the same step, and DrawGrid of a
// 3840 x 2160 view (the finest built-in grid with thinning, and a polar grid
// centred in the view) against SetPlaneRect filling the same plane. Each
// prints its ratio as x_plain.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <vector>

#include "draw/grids.h"
#include "edit/window_data.h"
#include "geometry/raster_state.h"
#include "geometry/view_mapping.h"

namespace {

constexpr std::size_t kPoints = 10'000'000;
constexpr std::int32_t kCentre = 400'000'000;

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

std::vector<pl3::Point> CursorPoints() {
  std::mt19937 random(21);
  std::uniform_int_distribution<std::int32_t> spread(-50'000'000, 50'000'000);
  std::vector<pl3::Point> points(kPoints);
  for (pl3::Point& p : points) p = {kCentre + spread(random), kCentre + spread(random)};
  return points;
}

struct Window {
  CurrentWindowData block;
  Window() {
    block.Grids = BuildDefaultGridSet();
    block.CoordinateOrigin = {kCentre, kCentre};
    ActiveWindowData = &block;
  }
  ~Window() {
    ActiveWindowData = nullptr;
    std::free(block.Grids);
  }
  GridSet& Set() { return *static_cast<GridSet*>(block.Grids); }
};

GridEntry PolarGrid() {
  GridEntry e{};
  e.unit = kGridUnitMm;
  e.kind = kGridPolar;
  e.ringSpacing = 2.0;
  e.angleStyle = kAngleEveryFraction;
  e.polarWord = 1;
  e.angleValue = 36.0;  // every 10 degrees
  return e;
}

// The plain peers: the same points rounded to the same step in doubles.
std::int64_t PlainCartesian(const std::vector<pl3::Point>& points, double step, double origin) {
  std::int64_t sum = 0;
  for (const pl3::Point& p : points) {
    sum += static_cast<std::int32_t>(origin + std::round((p.x - origin) / step) * step);
    sum += static_cast<std::int32_t>(origin + std::round((p.y - origin) / step) * step);
  }
  return sum;
}

std::int64_t PlainPolar(const std::vector<pl3::Point>& points, double ring, double angleStep, double c) {
  std::int64_t sum = 0;
  for (const pl3::Point& p : points) {
    const double dx = p.x - c, dy = p.y - c;
    const double r = std::round(std::hypot(dx, dy) / ring) * ring;
    const double a = std::round(std::atan2(-dy, dx) / angleStep) * angleStep;
    sum += static_cast<std::int32_t>(c + r * std::cos(a));
    sum += static_cast<std::int32_t>(c - r * std::sin(a));
  }
  return sum;
}

std::int64_t SnapAll(const std::vector<pl3::Point>& points) {
  std::int64_t sum = 0;
  for (pl3::Point p : points) {
    SnapXY(&p.x, &p.y, 0);
    sum += p.x;
    sum += p.y;
  }
  return sum;
}

void BM_SnapXYCartesian(benchmark::State& state) {
  const std::vector<pl3::Point> points = CursorPoints();
  Window w;
  w.Set().current = *GridSetEntry(&w.Set(), 13);  // 1/20 inch
  std::int64_t sink = 0;
  for (auto _ : state) benchmark::DoNotOptimize(sink += SnapAll(points));
  const double snap = SecondsPerCall([&] { benchmark::DoNotOptimize(SnapAll(points)); }, 3);
  const double plain =
      SecondsPerCall([&] { benchmark::DoNotOptimize(PlainCartesian(points, 1828800.0, kCentre)); }, 3);
  state.counters["x_plain"] = snap / plain;
}
BENCHMARK(BM_SnapXYCartesian)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_SnapXYPolar(benchmark::State& state) {
  const std::vector<pl3::Point> points = CursorPoints();
  Window w;
  w.Set().current = PolarGrid();
  std::int64_t sink = 0;
  for (auto _ : state) benchmark::DoNotOptimize(sink += SnapAll(points));
  const double snap = SecondsPerCall([&] { benchmark::DoNotOptimize(SnapAll(points)); }, 3);
  const double plain = SecondsPerCall(
      [&] { benchmark::DoNotOptimize(PlainPolar(points, 2.0 * 1440000, 10.0 * M_PI / 180, kCentre)); }, 3);
  state.counters["x_plain"] = snap / plain;
}
BENCHMARK(BM_SnapXYPolar)->Unit(benchmark::kMillisecond)->Iterations(2);

// A 3840 x 2160 plane at one thou per pixel, the view centred on the origin.
struct Plane {
  static constexpr int kWidth = 3840, kHeight = 2160;
  std::vector<std::uint32_t> words = std::vector<std::uint32_t>(static_cast<std::size_t>(kWidth) * kHeight);
  pl3::ViewClip clip{0, 0, kWidth - 1, kHeight - 1, kWidth, kHeight};
  Window w;
  pl3::Box box;
  Plane() {
    w.block.View = {kCentre / 36576 - kWidth / 2, kCentre / 36576 - kHeight / 2, 36576};
    pl3::g_raster.plane = words.data();
    pl3::g_raster.width = kWidth;
    pl3::g_raster.height = kHeight;
    pl3::g_raster.clip = &clip;
    pl3::g_raster.view = &w.block.View;
    pl3::g_raster.viewFactor = pl3::ViewFactorForZoom(36576);
    const std::uint32_t area[4] = {0, 0, 0x7FFFFFFF, 0x7FFFFFFF};
    SetWorkingArea(area);
    const std::int32_t x0 = w.block.ViewOriginX * 36576, y0 = w.block.ViewOriginY * 36576;
    box = {x0, y0, x0 + kWidth * 36576, y0 + kHeight * 36576};
  }
  ~Plane() {
    pl3::g_raster.plane = nullptr;
    pl3::g_raster.clip = nullptr;
    pl3::g_raster.view = nullptr;
  }
  std::uint32_t Consume() const { return words[words.size() / 2] + words[12345]; }
};

void DrawGridAgainstFill(benchmark::State& state, const GridEntry& grid) {
  Plane p;
  p.w.Set().current = grid;
  const auto draw = [&] {
    DrawGrid(p.w.block, p.box);
    benchmark::DoNotOptimize(p.Consume());
  };
  for (auto _ : state) draw();
  const double grid_seconds = SecondsPerCall(draw, 20);
  const double fill = SecondsPerCall(
      [&] {
        pl3::SetPlaneRect(0, 0, Plane::kWidth - 1, Plane::kHeight - 1);
        benchmark::DoNotOptimize(p.Consume());
      },
      20);
  state.counters["x_plain"] = grid_seconds / fill;
}

void BM_DrawGridFinest(benchmark::State& state) {
  Window defaults;
  DrawGridAgainstFill(state, *GridSetEntry(&defaults.Set(), 17));  // 1/320 inch, thinned
}
BENCHMARK(BM_DrawGridFinest)->Unit(benchmark::kMicrosecond);

void BM_DrawGridPolar(benchmark::State& state) { DrawGridAgainstFill(state, PolarGrid()); }
BENCHMARK(BM_DrawGridPolar)->Unit(benchmark::kMicrosecond);

}  // namespace
