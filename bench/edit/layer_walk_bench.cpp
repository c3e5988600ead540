// Benchmarks of the engine's walks over a 100,000-item board against a bare
// walk of the same items:
//   IsLayerInUse          the question for a layer nothing lies on (every
//                         item visited), against a loop over every child
//                         of the design that reads its layer byte (counter
//                         walk_over_bare; near 1 is the aim);
//   FindTrackEndAtCursor  the nearest track end for a cursor far from all of
//                         them (every track measured, none kept), against a
//                         loop over the tracks that reads their end points
//                         (counter search_over_bare; near 1 is the aim).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

#include "edit/layer_walks.h"
#include "edit/track_tools.h"
#include "edit/window_data.h"
#include "objects/frame_seams.h"
#include "objects/graphic_records.h"
#include "objects/type_codes.h"
#include "store/tower.h"

namespace {

using Clock = std::chrono::steady_clock;
double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

constexpr std::uint32_t kItems = 100000;
constexpr std::uint8_t kEmptyLayer = 20;

// A PCB window over 90,000 tracks on layers 1 to 8 and 10,000 holes.
struct Board {
  std::unique_ptr<CurrentWindowData> window = std::make_unique<CurrentWindowData>();
  Tower* root = nullptr;
  Board() {
    if (!RootGroup()) InitTowerStore();
    root = NewTower(0);
    LastLevel(root).typeCode = Type_PCB;
    InsertAtLastLevel(root, 0);
    window->editorKind = kEditorPcb;
    window->design = root;
    window->Zoom = 1000;
    for (LayerRecord& r : window->layerTable.layers) r.flags = 0x7;
    ActiveWindowData = window.get();
    PickDistance = 40;
    for (std::uint32_t i = 0; i < kItems; ++i) {
      const std::int32_t x = 500'000'000 + static_cast<std::int32_t>(i % 1000) * 100'000;
      const std::int32_t y = 500'000'000 + static_cast<std::int32_t>(i / 1000) * 100'000;
      Tower* stored = nullptr;
      if (i % 10 == 9) {
        // A whole hole record, as a board holds it, so the walk reads what it would.
        HolePayload h{};
        h.hole.head.layer = 1;
        h.hole.head.transform = pl3::kIdentityTransform;
        h.hole.size1 = h.hole.size2 = 30'000;
        h.hole.centreX = x;
        h.hole.centreY = y;
        h.word68 = 1;
        stored = InsertEntity(root, sizeof h, Type_Hole, &h);
      } else {
        LinePayload t{};
        t.head.layer = static_cast<std::uint8_t>(1 + i % 8);
        t.head.transform = pl3::kIdentityTransform;
        t.width = 5000;
        t.x1 = x;
        t.y1 = y;
        t.x2 = t.x1 + 50'000;
        t.y2 = t.y1;
        stored = InsertEntity(root, sizeof t, Type_Track, &t);
      }
      ReleaseTower(&stored);
    }
  }
  ~Board() {
    ActiveWindowData = nullptr;
    DeleteEntity(root);
    ReleaseTower(&root);
  }
};

void Report(benchmark::State& state, Clock::duration engine, Clock::duration bare, const char* counter,
            const char* what) {
  state.counters["engine_s"] = Seconds(engine) / state.iterations();
  state.counters["bare_s"] = Seconds(bare) / state.iterations();
  state.counters[counter] = Seconds(engine) / Seconds(bare);
  std::printf("%s: engine / bare walk = %.2f\n", what, Seconds(engine) / Seconds(bare));
}

void IsLayerInUseOnBoard(benchmark::State& state) {
  Board b;
  Clock::duration walk{}, bare{};
  std::uint64_t seen = 0;
  for (auto _ : state) {
    auto start = Clock::now();
    const int used = IsLayerInUse(kEmptyLayer);
    walk += Clock::now() - start;
    benchmark::DoNotOptimize(used);
    if (used) state.SkipWithError("an empty layer was reported in use");

    start = Clock::now();
    Tower* all = GetAllChildrenTower(b.root);
    int found = 0;
    while (const Entity* e = FindNextEntity(all)) {
      ++seen;
      if (e->typeCode != Type_Hole && EntityPayload(e)[0] == kEmptyLayer) found = 1;
    }
    ReleaseTower(&all);
    bare += Clock::now() - start;
    benchmark::DoNotOptimize(found);
  }
  if (seen != std::uint64_t{kItems} * state.iterations()) state.SkipWithError("the bare walk missed items");
  Report(state, walk, bare, "walk_over_bare", "IsLayerInUse, 100,000 items");
}
BENCHMARK(IsLayerInUseOnBoard)->Unit(benchmark::kMillisecond)->Iterations(20);

void FindTrackEndOnBoard(benchmark::State& state) {
  Board b;
  b.window->Cursor = {1'800'000'000, 1'800'000'000};
  Clock::duration search{}, bare{};
  for (auto _ : state) {
    auto start = Clock::now();
    const int found = FindTrackEndAtCursor(nullptr);
    search += Clock::now() - start;
    benchmark::DoNotOptimize(found);
    if (found) state.SkipWithError("a track end was found far from every track");

    start = Clock::now();
    Tower* tracks = GetChildTower(b.root, Type_Track);
    std::int64_t sum = 0;
    while (const Entity* e = FindNextEntity(tracks)) {
      LinePayload t;
      std::memcpy(&t, EntityPayload(e), sizeof t);
      sum += std::int64_t{t.x1} + t.y1 + t.x2 + t.y2;
    }
    ReleaseTower(&tracks);
    bare += Clock::now() - start;
    benchmark::DoNotOptimize(sum);
  }
  Report(state, search, bare, "search_over_bare", "FindTrackEndAtCursor, 90,000 tracks");
}
BENCHMARK(FindTrackEndOnBoard)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace
