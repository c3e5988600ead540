// One mouse move of a ghost (erase and redraw) in a 1920 x 1080 window: a
// wide two-legged track drawn as outlines with round ends, and a 255-point
// polygon, each against plain MoveToEx/LineTo of the same segments with an
// XOR pen. The counter "x_plain" is how many times slower the ghost is.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "bench/draw/bench_view.h"
#include "draw/ghosts.h"
#include "objects/entity_record.h"
#include "objects/graphic_records.h"
#include "objects/type_codes.h"

namespace {

void PlainSegments(HDC dc, const std::vector<POINT>& ends) {
  for (std::size_t i = 0; i + 1 < ends.size(); i += 2) {
    MoveToEx(dc, ends[i].x, ends[i].y, nullptr);
    LineTo(dc, ends[i + 1].x, ends[i + 1].y);
  }
}

// Times the ghost's mouse move in the benchmark loop, then both sides alike
// for the ratio: the plain segments drawn twice with an XOR pen.
void MoveAgainstPlain(benchmark::State& state, drawbench::View& v, const EntityRecord* r,
                      const std::vector<POINT>& segments) {
  const auto move = [&] {
    GhostEntity(v.dc, r, 0);
    GhostEntity(v.dc, r, 0);
  };
  for (auto _ : state) move();
  const double ghost = drawbench::SecondsPerCall(move, 200);
  HPEN pen = CreatePen(PS_SOLID, 0, RGB(255, 255, 0));
  HPEN old = SelectObject(v.dc, pen);
  const int oldRop = SetROP2(v.dc, R2_XORPEN);
  const double plain = drawbench::SecondsPerCall([&] {
    PlainSegments(v.dc, segments);
    PlainSegments(v.dc, segments);
  }, 200);
  SetROP2(v.dc, oldRop);
  SelectObject(v.dc, old);
  DeleteObject(pen);
  state.counters["x_plain"] = ghost / plain;
}

void BM_GhostWideTwoLeggedTrack(benchmark::State& state) {
  drawbench::View v(1920, 1080);
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
  // The four edges of the two legs: straight to (900, 100), then the diagonal.
  MoveAgainstPlain(state, v, r.get(),
                   {{100, 60}, {900, 60}, {100, 140}, {900, 140}, {928, 72}, {1728, 872}, {872, 128}, {1672, 928}});
}
BENCHMARK(BM_GhostWideTwoLeggedTrack)->Unit(benchmark::kMicrosecond);

void BM_GhostPolygon255(benchmark::State& state) {
  drawbench::View v(1920, 1080);
  auto r = NewEntityRecord();
  r->header.recordType = Type_Polygon;
  r->header.transform = pl3::kIdentityTransform;
  auto& p = r->as<pl3::PolygonLayout>();
  p.head.layer = 2;
  p.head.transform = pl3::kIdentityTransform;
  p.count = 255;
  p.editIndex = 255;
  Point* points = pl3::PolygonPoints(&p);
  for (int i = 0; i < 255; ++i) {
    const double a = 2 * 3.14159265358979 * i / 255;
    points[i] = {static_cast<std::int32_t>(960 + 500 * std::cos(a)), static_cast<std::int32_t>(540 + 500 * std::sin(a))};
  }
  std::vector<POINT> edges;
  for (int i = 0; i < 255; ++i) {
    edges.push_back({points[i].x, points[i].y});
    edges.push_back({points[(i + 1) % 255].x, points[(i + 1) % 255].y});
  }
  MoveAgainstPlain(state, v, r.get(), edges);
}
BENCHMARK(BM_GhostPolygon255)->Unit(benchmark::kMicrosecond);

}  // namespace
