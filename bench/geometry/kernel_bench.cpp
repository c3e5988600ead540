// Benchmarks of the geometry and raster kernel. Each prints its comparison
// as counters:
//   RasteriseVsCairo       100,000 round-ended tracks of mixed widths and
//                          10,000 polygons into a 3840 x 2160 layer plane,
//                          against cairo drawing the same shapes without
//                          antialiasing into an image surface of that size;
//   TriangulateVsGlu/N     polygons of N points (8, 64, 255) through the
//                          triangulation, against the GLU tessellator;
//   TransformVsPlainLoop   10 million points through a fixed-point Transform,
//                          against a plain loop writing the same integer
//                          points (checked equal after the run).
#include <benchmark/benchmark.h>

#include <GL/glu.h>
#include <cairo.h>

#include <sys/mman.h>

#include <chrono>
#include <cstdlib>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "geometry/pot2.h"
#include "geometry/rasterise.h"
#include "geometry/raster_state.h"
#include "geometry/transform.h"
#include "geometry/types.h"
#include "geometry/view_mapping.h"

namespace {

using Clock = std::chrono::steady_clock;
double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

constexpr int kWidth = 3840;
constexpr int kHeight = 2160;

struct Track {
  int x1, y1, x2, y2, w;
};

struct Polygon {
  std::vector<pl3::Point> points;
  std::vector<std::uint8_t> triangles;
};

// A simple star-shaped polygon of n points around (cx, cy).
std::vector<pl3::Point> Star(int n, double cx, double cy, double r, std::mt19937& random) {
  std::uniform_real_distribution<double> jitter(0.55, 1.0);
  std::vector<pl3::Point> pts;
  for (int i = 0; i < n; ++i) {
    const double a = 2 * M_PI * i / n;
    const double k = r * jitter(random);
    pts.push_back({static_cast<std::int32_t>(cx + k * std::cos(a)), static_cast<std::int32_t>(cy + k * std::sin(a))});
  }
  return pts;
}

struct Scene {
  std::vector<Track> tracks;
  std::vector<Polygon> polygons;
};

const Scene& TheScene() {
  static const Scene scene = [] {
    Scene s;
    std::mt19937 random(11);
    std::uniform_int_distribution<int> x(0, kWidth - 1), y(0, kHeight - 1), len(-150, 150);
    const int widths[] = {0, 1, 2, 3, 4, 6, 8, 12};
    std::uniform_int_distribution<int> wpick(0, 7);
    for (int i = 0; i < 100000; ++i) {
      const int x1 = x(random), y1 = y(random);
      // Mostly horizontal, vertical and diagonal, as routed boards are.
      int dx = len(random), dy = len(random);
      switch (i % 4) {
        case 0: dy = 0; break;
        case 1: dx = 0; break;
        case 2: dy = dx; break;
        default: break;
      }
      s.tracks.push_back({x1, y1, x1 + dx, y1 + dy, widths[wpick(random)]});
    }
    std::uniform_int_distribution<int> npick(5, 12);
    std::uniform_real_distribution<double> radius(10, 60);
    for (int i = 0; i < 10000; ++i) {
      Polygon p;
      p.points = Star(npick(random), x(random), y(random), radius(random), random);
      p.triangles.resize(3 * p.points.size());
      pl3::TriangulatePolygon(static_cast<int>(p.points.size()), p.points.data(), p.triangles.data());
      s.polygons.push_back(std::move(p));
    }
    return s;
  }();
  return scene;
}

void DrawSceneWithKernel(const Scene& s) {
  for (const Track& t : s.tracks) pl3::DrawTrack(t.x1, t.y1, t.x2, t.y2, t.w);
  for (const Polygon& p : s.polygons) {
    for (std::size_t k = 0; k + 2 < p.points.size(); ++k) {
      const pl3::Point& a = p.points[p.triangles[3 * k]];
      const pl3::Point& b = p.points[p.triangles[3 * k + 1]];
      const pl3::Point& c = p.points[p.triangles[3 * k + 2]];
      pl3::FillTriangle(a.x, a.y, b.x, b.y, c.x, c.y);
    }
  }
}

void DrawSceneWithCairo(cairo_t* cr, const Scene& s) {
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_source_rgb(cr, 1, 1, 1);
  for (const Track& t : s.tracks) {
    cairo_set_line_width(cr, 2.0 * t.w + 1.0);
    cairo_move_to(cr, t.x1 + 0.5, t.y1 + 0.5);
    cairo_line_to(cr, t.x2 + 0.5, t.y2 + 0.5);
    cairo_stroke(cr);
  }
  for (const Polygon& p : s.polygons) {
    cairo_move_to(cr, p.points[0].x + 0.5, p.points[0].y + 0.5);
    for (std::size_t i = 1; i < p.points.size(); ++i) cairo_line_to(cr, p.points[i].x + 0.5, p.points[i].y + 0.5);
    cairo_close_path(cr);
    cairo_fill(cr);
  }
}

// A 32-bit pixel buffer on huge pages where the system grants them, so that
// both rasterisers pay the same for reaching memory.
struct PixelBuffer {
  static constexpr std::size_t kAlign = 2u << 20;
  std::size_t bytes = ((static_cast<std::size_t>(kWidth) * kHeight * 4 + kAlign - 1) / kAlign) * kAlign;
  std::uint32_t* words = static_cast<std::uint32_t*>(std::aligned_alloc(kAlign, bytes));
  PixelBuffer() {
    madvise(words, bytes, MADV_HUGEPAGE);
    std::fill_n(words, bytes / 4, 0u);
  }
  ~PixelBuffer() { std::free(words); }
  PixelBuffer(const PixelBuffer&) = delete;
  PixelBuffer& operator=(const PixelBuffer&) = delete;
};

void RasteriseVsCairo(benchmark::State& state) {
  const Scene& scene = TheScene();
  PixelBuffer planeBuffer, cairoBuffer;
  std::uint32_t* plane = planeBuffer.words;
  pl3::ViewClip clip = {0, 0, kWidth - 1, kHeight - 1, kWidth, kHeight};
  pl3::g_raster.plane = plane;
  pl3::g_raster.width = kWidth;
  pl3::g_raster.height = kHeight;
  pl3::g_raster.clip = &clip;
  pl3::g_raster.fillValue = 0x0001;
  cairo_surface_t* surface = cairo_image_surface_create_for_data(
      reinterpret_cast<unsigned char*>(cairoBuffer.words), CAIRO_FORMAT_ARGB32, kWidth, kHeight, kWidth * 4);
  // OR is how layers are drawn (a read and a write per word); SET, like
  // cairo's opaque OVER, only writes.
  // The context is made once, outside the timed loop, as the plane is.
  cairo_t* cr = cairo_create(surface);
  Clock::duration kernelOr{}, kernelSet{}, cairo{};
  for (auto _ : state) {
    pl3::g_raster.rasterOp = pl3::kRasterOr;
    auto t0 = Clock::now();
    DrawSceneWithKernel(scene);
    auto t1 = Clock::now();
    pl3::g_raster.rasterOp = pl3::kRasterSet;
    DrawSceneWithKernel(scene);
    auto t2 = Clock::now();
    DrawSceneWithCairo(cr, scene);
    cairo_surface_flush(surface);
    auto t3 = Clock::now();
    kernelOr += t1 - t0;
    kernelSet += t2 - t1;
    cairo += t3 - t2;
    benchmark::DoNotOptimize(plane);
  }
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
  pl3::g_raster = pl3::RasterState{};
  const double n = static_cast<double>(state.iterations());
  state.counters["kernel_or_ms"] = Seconds(kernelOr) * 1e3 / n;
  state.counters["kernel_set_ms"] = Seconds(kernelSet) * 1e3 / n;
  state.counters["cairo_ms"] = Seconds(cairo) * 1e3 / n;
  state.counters["cairo_over_kernel_or"] = Seconds(cairo) / Seconds(kernelOr);
  state.counters["cairo_over_kernel_set"] = Seconds(cairo) / Seconds(kernelSet);
}
BENCHMARK(RasteriseVsCairo)->Unit(benchmark::kMillisecond)->Iterations(3);

struct GluCount {
  int vertices = 0;
};
void GLAPIENTRY OnVertex(void*, void* user) { ++static_cast<GluCount*>(user)->vertices; }
void GLAPIENTRY OnBegin(GLenum, void*) {}
void GLAPIENTRY OnEnd(void*) {}
void GLAPIENTRY OnEdgeFlag(GLboolean, void*) {}  // forces plain triangles

void TriangulateVsGlu(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  std::mt19937 random(5);
  std::vector<std::vector<pl3::Point>> polys;
  for (int i = 0; i < 16; ++i) polys.push_back(Star(n, 100000, 100000, 50000, random));
  std::vector<std::uint8_t> out(3 * static_cast<std::size_t>(n));
  GLUtesselator* tess = gluNewTess();
  gluTessProperty(tess, GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_NONZERO);
  gluTessCallback(tess, GLU_TESS_BEGIN_DATA, reinterpret_cast<void(GLAPIENTRY*)()>(OnBegin));
  gluTessCallback(tess, GLU_TESS_VERTEX_DATA, reinterpret_cast<void(GLAPIENTRY*)()>(OnVertex));
  gluTessCallback(tess, GLU_TESS_END_DATA, reinterpret_cast<void(GLAPIENTRY*)()>(OnEnd));
  gluTessCallback(tess, GLU_TESS_EDGE_FLAG_DATA, reinterpret_cast<void(GLAPIENTRY*)()>(OnEdgeFlag));
  std::vector<GLdouble> coords(3 * static_cast<std::size_t>(n));
  Clock::duration pot2{}, glu{};
  GluCount count;
  for (auto _ : state) {
    for (const auto& p : polys) {
      auto t0 = Clock::now();
      benchmark::DoNotOptimize(pl3::TriangulatePolygon(n, p.data(), out.data()));
      auto t1 = Clock::now();
      gluTessBeginPolygon(tess, &count);
      gluTessBeginContour(tess);
      for (int i = 0; i < n; ++i) {
        coords[3 * i] = p[i].x;
        coords[3 * i + 1] = p[i].y;
        coords[3 * i + 2] = 0;
        gluTessVertex(tess, &coords[3 * i], &coords[3 * i]);
      }
      gluTessEndContour(tess);
      gluTessEndPolygon(tess);
      auto t2 = Clock::now();
      pot2 += t1 - t0;
      glu += t2 - t1;
    }
  }
  gluDeleteTess(tess);
  const double polygons = 16.0 * static_cast<double>(state.iterations());
  state.counters["pot2_us"] = Seconds(pot2) * 1e6 / polygons;
  state.counters["glu_us"] = Seconds(glu) * 1e6 / polygons;
  state.counters["glu_over_pot2"] = Seconds(glu) / Seconds(pot2);
  state.counters["glu_triangles"] = count.vertices / 3.0 / polygons;
}
BENCHMARK(TriangulateVsGlu)->Arg(8)->Arg(64)->Arg(255)->Unit(benchmark::kMillisecond);

// The peer: a plain loop that writes the same integer points, each product
// of the unsigned 8.24 multiply formed and truncated one by one.
std::int32_t PlainMulFixedUnsigned(std::uint32_t value, std::int32_t coef) {
  const std::uint64_t magnitude = coef < 0 ? 0u - static_cast<std::uint32_t>(coef) : static_cast<std::uint32_t>(coef);
  const auto m = static_cast<std::uint32_t>((value * magnitude) >> 24);
  return static_cast<std::int32_t>(coef < 0 ? 0u - m : m);
}

void PlainTransformPoints(const pl3::Transform& t, const pl3::Point* from, pl3::Point* to, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    const auto x = static_cast<std::uint32_t>(from[i].x), y = static_cast<std::uint32_t>(from[i].y);
    to[i].x = static_cast<std::int32_t>(static_cast<std::uint32_t>(PlainMulFixedUnsigned(x, t.a)) +
                                        static_cast<std::uint32_t>(PlainMulFixedUnsigned(y, t.c)) +
                                        static_cast<std::uint32_t>(t.tx));
    to[i].y = static_cast<std::int32_t>(static_cast<std::uint32_t>(PlainMulFixedUnsigned(x, t.b)) +
                                        static_cast<std::uint32_t>(PlainMulFixedUnsigned(y, t.d)) +
                                        static_cast<std::uint32_t>(t.ty));
  }
}

std::uint64_t Checksum(const std::vector<pl3::Point>& pts) {
  std::uint64_t sum = 0;
  for (const pl3::Point& p : pts) sum = sum * 31 + static_cast<std::uint32_t>(p.x) * 7u + static_cast<std::uint32_t>(p.y);
  return sum;
}

void TransformVsPlainLoop(benchmark::State& state) {
  constexpr std::size_t kPoints = 10000000;
  std::vector<pl3::Point> pts(kPoints);
  std::mt19937 random(3);
  std::uniform_int_distribution<std::int32_t> coord(182880000, 1828800000);
  for (auto& p : pts) p = {coord(random), coord(random)};
  std::vector<pl3::Point> kernelOut(kPoints), plainOut(kPoints);
  // 30 degrees and a translation: no early exit.
  const pl3::Transform t = {0xDDB3D7, 0x800000, static_cast<std::int32_t>(0xFF800000u), 0xDDB3D7, 1000, -2000};
  Clock::duration kernel{}, plain{};
  for (auto _ : state) {
    auto t0 = Clock::now();
    pl3::TransformPoints(&t, pts.data(), kernelOut.data(), kPoints);
    benchmark::ClobberMemory();
    auto t1 = Clock::now();
    PlainTransformPoints(t, pts.data(), plainOut.data(), kPoints);
    benchmark::ClobberMemory();
    auto t2 = Clock::now();
    kernel += t1 - t0;
    plain += t2 - t1;
  }
  const std::uint64_t kernelSum = Checksum(kernelOut), plainSum = Checksum(plainOut);
  if (kernelSum != plainSum) state.SkipWithError("the kernel and the plain loop wrote different points");
  benchmark::DoNotOptimize(kernelSum);
  const double n = static_cast<double>(kPoints) * static_cast<double>(state.iterations());
  state.counters["kernel_points_per_s"] = n / Seconds(kernel);
  state.counters["plain_points_per_s"] = n / Seconds(plain);
  state.counters["plain_over_kernel"] = Seconds(plain) / Seconds(kernel);
}
BENCHMARK(TransformVsPlainLoop)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
