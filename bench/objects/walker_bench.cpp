// Benchmarks of the entity walker against a plain FindNextEntity loop over
// the same children, both counting the same entities:
//   WalkOneCodeOfHundred  1,000,000 entities under 100 codes, the walk
//                         wanting code 1 only (whole groups skipped) against
//                         a loop that visits every child and counts code 1
//                         (counter loop_over_walk; far above 1 expected);
//   WalkEveryCode         1,000,000 entities under the 46 codes that the walk
//                         hands on in a PCB window, every code wanted,
//                         against a loop that calls the same counting
//                         handler for every child (counter walk_over_loop:
//                         what the filters cost; below 2 is the aim).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

#include "edit/window_data.h"
#include "objects/walker.h"
#include "store/seams.h"
#include "store/tower.h"

// Store seams owned by the schematic and PCB editors, unused here.
int IsSpecialFunctionSymbol(const Tower*) { return 0; }
int IsNetNameGraphicSymbol(const Tower*) { return 0; }
void ComputeNetRatsnest(const Tower*, void*) {}

namespace {

using Clock = std::chrono::steady_clock;
double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

constexpr std::uint32_t kEntities = 1000000;

std::uint64_t g_counted = 0;
std::int32_t CountEntity(const pl3::Transform*, Tower*, void*, std::uint8_t, std::uint8_t, std::int32_t*) {
  ++g_counted;
  return 1;
}

// A PCB window whose layers are all visible, active while the benchmarks run.
CurrentWindowData& Window() {
  static std::unique_ptr<CurrentWindowData> window = [] {
    auto w = std::make_unique<CurrentWindowData>();
    w->editorKind = kEditorPcb;
    for (LayerRecord& r : w->layerTable.layers) r.flags = 0x7;
    return w;
  }();
  return *window;
}

Tower* BuildDesign(const std::vector<std::uint16_t>& codes) {
  if (!RootGroup()) InitTowerStore();
  Tower* top = NewTower(0);
  LastLevel(top).typeCode = 900;
  InsertAtLastLevel(top, 0);
  for (std::uint32_t i = 0; i < kEntities; ++i) {
    const std::uint32_t payload[4] = {1, i, i, i};  // layer byte 1
    Tower* t = InsertEntity(top, sizeof payload, codes[i % codes.size()], payload);
    ReleaseTower(&t);
  }
  return top;
}

void Prepare() {
  ActiveWindowData = &Window();
  WalkHandlers = WalkHandlerTable{};
  WalkHandlers.drawWalkedEntity = &CountEntity;
}

void WalkOneCodeOfHundred(benchmark::State& state) {
  std::vector<std::uint16_t> codes;
  for (std::uint16_t c = 1; c <= 100; ++c) codes.push_back(c);
  Tower* top = BuildDesign(codes);
  Prepare();
  Clock::duration walk{}, loop{};
  std::uint64_t walked = 0, looped = 0;
  for (auto _ : state) {
    for (std::uint16_t& w : WalkTypeFlags) w = 0;
    WalkTypeFlags[1] = kWalkTypeWanted;
    g_counted = 0;
    auto start = Clock::now();
    PerformTowerAction(&pl3::kIdentityTransform, top, nullptr, 1, 0, 0);
    walk += Clock::now() - start;
    walked = g_counted;

    start = Clock::now();
    Tower* all = GetAllChildrenTower(top);
    std::uint64_t count = 0;
    while (Entity* e = FindNextEntity(all)) count += e->typeCode == 1;
    ReleaseTower(&all);
    loop += Clock::now() - start;
    looped = count;
    benchmark::DoNotOptimize(count);
  }
  if (walked != looped) state.SkipWithError("the walk and the loop counted differently");
  state.counters["walk_s"] = Seconds(walk) / state.iterations();
  state.counters["loop_s"] = Seconds(loop) / state.iterations();
  state.counters["loop_over_walk"] = Seconds(loop) / Seconds(walk);
  std::printf("one code of 100: loop / walk = %.1f\n", Seconds(loop) / Seconds(walk));
  DeleteEntity(top);
  ReleaseTower(&top);
}
BENCHMARK(WalkOneCodeOfHundred)->Unit(benchmark::kMillisecond)->Iterations(5);

void WalkEveryCode(benchmark::State& state) {
  const std::vector<std::uint16_t> codes = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 18,  19,  20,  21,  22,
                                            23, 24, 25, 26, 28, 29, 30, 32, 33, 34, 35, 36,  37,  38,  39,  41,
                                            42, 43, 44, 45, 46, 47, 49, 106, 107, 108, 111, 113, 202, 264};
  Tower* top = BuildDesign(codes);
  Prepare();
  Clock::duration walk{}, loop{};
  std::uint64_t walked = 0, looped = 0;
  for (auto _ : state) {
    for (std::uint16_t& w : WalkTypeFlags) w = kWalkTypeWanted;
    g_counted = 0;
    auto start = Clock::now();
    PerformTowerAction(&pl3::kIdentityTransform, top, nullptr, 1, 0, 0);
    walk += Clock::now() - start;
    walked = g_counted;

    g_counted = 0;
    start = Clock::now();
    Tower* all = GetAllChildrenTower(top);
    std::int32_t result = 0;
    while (FindNextEntity(all)) result = CountEntity(&pl3::kIdentityTransform, all, nullptr, 1, 0, &result);
    ReleaseTower(&all);
    loop += Clock::now() - start;
    looped = g_counted;
    benchmark::DoNotOptimize(result);
  }
  if (walked != looped || walked != kEntities) state.SkipWithError("the walk and the loop counted differently");
  state.counters["walk_s"] = Seconds(walk) / state.iterations();
  state.counters["loop_s"] = Seconds(loop) / state.iterations();
  state.counters["walk_over_loop"] = Seconds(walk) / Seconds(loop);
  std::printf("every code: walk / loop = %.2f\n", Seconds(walk) / Seconds(loop));
  DeleteEntity(top);
  ReleaseTower(&top);
}
BENCHMARK(WalkEveryCode)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
