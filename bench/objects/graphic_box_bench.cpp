// Boxes of 1,000,000 mixed graphic records (tracks, arcs, polygons,
// rectangles, holes) in a design with a plane clearance table:
//   GetGraphicBox  the per-type dispatch with its size resolution, mapping
//                  and the clearance looked up in the design for every item;
//   PlainMinMax    a plain loop over the same payloads taking the same end
//                  points' min and max, widened and grown by a clearance read
//                  from an array filled before the loop.
// Both unite every box into one total and must agree on it; the counter
// box_over_plain is what the dispatch and the look-ups cost.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "edit/window_data.h"
#include "geometry/arcs.h"
#include "objects/graphic_boxes.h"
#include "objects/graphic_records.h"
#include "objects/plane_clearances.h"
#include "objects/type_codes.h"
#include "store/seams.h"
#include "store/tower.h"

// Store seams owned by the schematic and PCB editors, unused here.
int IsSpecialFunctionSymbol(const Tower*) { return 0; }
int IsNetNameGraphicSymbol(const Tower*) { return 0; }
void ComputeNetRatsnest(const Tower*, void*) {}

namespace {

using Clock = std::chrono::steady_clock;
double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

constexpr std::uint32_t kRecords = 1000000;
constexpr std::uint32_t kSlot = 128;  // room for the largest record used below but the hole
constexpr std::uint8_t kLayers = 4;
const std::int32_t kTableClearance[kLayers + 1] = {0, 254000, 300000, 400000, kDefaultPlaneClearance};
constexpr std::int32_t kLargestClearance = 400000;

struct Records {
  std::vector<std::uint8_t> bytes;  // one payload per record, holes at their full size
  std::vector<std::uint32_t> offsets;
  std::vector<std::uint16_t> types;
};

template <typename T>
T& At(Records& r, std::uint32_t i) {
  return *reinterpret_cast<T*>(r.bytes.data() + r.offsets[i]);
}

Records MakeRecords() {
  Records r;
  std::mt19937 random(17);
  std::uniform_int_distribution<std::int32_t> coord(200000000, 1800000000);
  std::uniform_int_distribution<std::int32_t> size(10000, 2000000);
  const std::uint16_t kinds[] = {Type_Track, Type_Arc, Type_Polygon, Type_Rectangle, Type_Hole};
  std::uint32_t at = 0;
  for (std::uint32_t i = 0; i < kRecords; ++i) {
    const std::uint16_t type = kinds[i % 5];
    r.types.push_back(type);
    r.offsets.push_back(at);
    at += type == Type_Hole ? static_cast<std::uint32_t>(sizeof(HolePayload)) : kSlot;
  }
  r.bytes.assign(at, 0);
  for (std::uint32_t i = 0; i < kRecords; ++i) {
    auto& head = At<GraphicHead>(r, i);
    head.layer = static_cast<std::uint8_t>(1 + i % kLayers);
    head.transform = pl3::kIdentityTransform;
    const std::int32_t x = coord(random), y = coord(random), s = size(random);
    switch (r.types[i]) {
      case Type_Track: {
        auto& t = At<LinePayload>(r, i);
        t.width = s / 10;
        t.x1 = x, t.y1 = y, t.x2 = x + s, t.y2 = y - s / 2;
        break;
      }
      case Type_Arc: {
        auto& a = At<ArcPayload>(r, i);
        a.width = s / 10, a.radius = s, a.centreX = x, a.centreY = y;
        a.startX = s, a.startY = 0, a.endX = 0, a.endY = s;
        pl3::PrepareArcEnds(&a);
        break;
      }
      case Type_Polygon: {
        auto& p = At<PolygonHead>(r, i);
        p.extra[0] = {x, y};
        p.extra[1] = {x + s, y + s};
        break;
      }
      case Type_Rectangle: {
        auto& q = At<RectanglePayload>(r, i).rect;
        q.corners[0] = {x, y}, q.corners[1] = {x + s, y}, q.corners[2] = {x + s, y + s}, q.corners[3] = {x, y + s};
        break;
      }
      default: {
        auto& h = At<HolePayload>(r, i).hole;
        h.size1 = s, h.centreX = x, h.centreY = y;
        break;
      }
    }
  }
  return r;
}

Tower* DesignWithTable() {
  if (!RootGroup()) InitTowerStore();
  Tower* top = NewTower(0);
  LastLevel(top).typeCode = Type_PCB;
  InsertAtLastLevel(top, 0);
  // Other records before and beside the table, as a design has them.
  const std::uint16_t others[] = {Type_Track, Type_Hole, Type_Text, Type_Datum, 202, 264};
  for (std::uint16_t code : others) {
    const std::uint32_t filler = 0;
    Tower* t = InsertEntity(top, sizeof filler, code, &filler);
    ReleaseTower(&t);
  }
  std::uint8_t table[sizeof(PlaneClearanceTable) + 3 * sizeof(PlaneClearanceEntry)] = {};
  PlaneClearanceTable head{0, 3};
  std::memcpy(table, &head, sizeof head);
  for (std::uint8_t l = 1; l <= 3; ++l) {
    PlaneClearanceEntry e{l, {}, kTableClearance[l]};
    std::memcpy(table + sizeof head + (l - 1) * sizeof e, &e, sizeof e);
  }
  Tower* t = InsertEntity(top, sizeof table, kTypePlaneClearanceTable, table);
  ReleaseTower(&t);
  return top;
}

void Unite(pl3::Box& total, const pl3::Box& b) {
  total.xmin = std::min(total.xmin, b.xmin);
  total.ymin = std::min(total.ymin, b.ymin);
  total.xmax = std::max(total.xmax, b.xmax);
  total.ymax = std::max(total.ymax, b.ymax);
}

pl3::Box Grown(pl3::Box b, std::int32_t m) {
  return {b.xmin > m ? b.xmin - m : 0, b.ymin > m ? b.ymin - m : 0, b.xmax + m, b.ymax + m};
}

// The same boxes by a plain min and max over each record's end points.
pl3::Box PlainBox(Records& r, std::uint32_t i) {
  const std::int32_t clearance = kTableClearance[At<GraphicHead>(r, i).layer];
  switch (r.types[i]) {
    case Type_Track: {
      const auto& t = At<LinePayload>(r, i);
      return Grown({std::min(t.x1, t.x2) - t.width, std::min(t.y1, t.y2) - t.width, std::max(t.x1, t.x2) + t.width,
                    std::max(t.y1, t.y2) + t.width},
                   clearance);
    }
    case Type_Arc: {
      pl3::Box b;
      pl3::GetArcBox(&At<ArcPayload>(r, i), nullptr, &b);
      return b;
    }
    case Type_Polygon: {
      const auto& p = At<PolygonHead>(r, i);
      return Grown({p.extra[0].x, p.extra[0].y, p.extra[1].x, p.extra[1].y}, clearance);
    }
    case Type_Rectangle: {
      const auto& c = At<RectanglePayload>(r, i).rect.corners;
      pl3::Box b{c[0].x, c[0].y, c[0].x, c[0].y};
      for (const pl3::Point& p : c) Unite(b, {p.x, p.y, p.x, p.y});
      return Grown(b, clearance);
    }
    default: {
      const auto& h = At<HolePayload>(r, i).hole;
      return Grown({h.centreX - h.size1, h.centreY - h.size1, h.centreX + h.size1, h.centreY + h.size1},
                   kLargestClearance);
    }
  }
}

void GraphicBoxesAgainstPlainMinMax(benchmark::State& state) {
  Records records = MakeRecords();
  Tower* design = DesignWithTable();
  CurrentWindowData window(kEditorPcb, design);
  ActiveWindowData = &window;
  Clock::duration boxes{}, plain{};
  pl3::Box byBoxes{}, byPlain{};
  for (auto _ : state) {
    byBoxes = {INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
    auto start = Clock::now();
    for (std::uint32_t i = 0; i < kRecords; ++i) {
      pl3::Box b;
      GetGraphicBox(records.bytes.data() + records.offsets[i], records.types[i], &b);
      Unite(byBoxes, b);
    }
    boxes += Clock::now() - start;
    benchmark::DoNotOptimize(byBoxes);

    byPlain = {INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
    start = Clock::now();
    for (std::uint32_t i = 0; i < kRecords; ++i) Unite(byPlain, PlainBox(records, i));
    plain += Clock::now() - start;
    benchmark::DoNotOptimize(byPlain);
  }
  if (std::memcmp(&byBoxes, &byPlain, sizeof byBoxes) != 0) state.SkipWithError("the two loops boxed differently");
  state.counters["boxes_s"] = Seconds(boxes) / state.iterations();
  state.counters["plain_s"] = Seconds(plain) / state.iterations();
  state.counters["box_over_plain"] = Seconds(boxes) / Seconds(plain);
  std::printf("graphic boxes / plain min-max = %.2f\n", Seconds(boxes) / Seconds(plain));
  ActiveWindowData = nullptr;
  DeleteEntity(design);
  ReleaseTower(&design);
}
BENCHMARK(GraphicBoxesAgainstPlainMinMax)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
