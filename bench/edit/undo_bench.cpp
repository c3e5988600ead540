// Benchmarks of Undo and Redo against the same deletes and re-inserts made
// directly through the store:
//   OneTrackInLongHistory  a history of 10,000 one-track steps; Undo then
//                          Redo of the newest step, against copying the
//                          track aside, deleting it, inserting it again and
//                          dropping the copy (counter undo_over_direct);
//   BlockDelete            one step that removed 1,000 tracks; Undo then
//                          Redo, against inserting the 1,000 tracks from
//                          their saved copies and deleting them again
//                          (counter undo_over_direct).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "edit/undo_history.h"
#include "edit/window_data.h"
#include "objects/type_codes.h"
#include "store/tower.h"

namespace {

using Clock = std::chrono::steady_clock;
double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

constexpr std::uint32_t kTrackBytes = 68;

struct Design {
  std::unique_ptr<CurrentWindowData> window = std::make_unique<CurrentWindowData>();
  Tower* root = nullptr;
  Design() {
    if (!RootGroup()) InitTowerStore();
    root = NewTower(0);
    LastLevel(root).typeCode = Type_PCB;
    InsertAtLastLevel(root, 0);
    window->editorKind = kEditorPcb;
    window->design = root;
    ActiveWindowData = window.get();
  }
  ~Design() {
    ActiveWindowData = nullptr;
    DeleteEntity(root);
    ReleaseTower(&root);
  }
  Tower* Track(std::uint32_t i) {
    std::uint8_t payload[kTrackBytes] = {};
    std::memcpy(payload + 20, &i, sizeof i);
    return InsertEntity(root, kTrackBytes, Type_Track, payload);
  }
  void Close() {
    SetUndoStepCaption(window->UndoStep, "Insert Track");
    window->UndoStep = NewUndoStepNumber();
  }
  std::uint32_t Tracks() {
    Tower* all = GetChildTower(root, Type_Track);
    std::uint32_t n = 0;
    while (all && FindNextEntity(all)) ++n;
    ReleaseTower(&all);
    return n;
  }
};

// The direct road: each item copied aside (as undo keeps it), deleted, then
// inserted again from the copy and the copy dropped.
Clock::duration DeleteAndReinsert(Design& d, std::vector<Tower*>& items, Tower* aside) {
  const auto start = Clock::now();
  std::vector<Tower*> copies;
  copies.reserve(items.size());
  for (Tower*& item : items) {
    const Entity* e = TowerEntity(item);
    copies.push_back(InsertEntity(aside, e->payloadSize, e->typeCode, EntityPayload(e)));
    DeleteEntity(item);
    ReleaseTower(&item);
  }
  for (std::size_t i = 0; i < copies.size(); ++i) {
    const Entity* e = TowerEntity(copies[i]);
    items[i] = InsertEntity(d.root, e->payloadSize, e->typeCode, EntityPayload(e));
    DeleteEntity(copies[i]);
    ReleaseTower(&copies[i]);
  }
  return Clock::now() - start;
}

// Undo then Redo of the newest step, timed. With `afterUndo` set (the first
// pass), the design is counted between the two and after them, outside the
// timing, so that a step that did nothing cannot pass for a fast one.
Clock::duration TimedUndoRedo(Design& d, std::uint32_t afterUndo, std::uint32_t afterRedo, benchmark::State& state) {
  auto start = Clock::now();
  UndoLastStep();
  Clock::duration spent = Clock::now() - start;
  if (afterUndo && d.Tracks() != afterUndo) state.SkipWithError("Undo did not act on the newest step");
  start = Clock::now();
  RedoNextStep();
  spent += Clock::now() - start;
  if (afterUndo && d.Tracks() != afterRedo) state.SkipWithError("Redo did not restore the step");
  return spent;
}

void Report(benchmark::State& state, Clock::duration undo, Clock::duration direct, const char* what) {
  state.counters["undo_redo_s"] = Seconds(undo) / state.iterations();
  state.counters["direct_s"] = Seconds(direct) / state.iterations();
  state.counters["undo_over_direct"] = Seconds(undo) / Seconds(direct);
  std::printf("%s: undo and redo / direct = %.1f\n", what, Seconds(undo) / Seconds(direct));
}

void OneTrackInLongHistory(benchmark::State& state) {
  Design d;
  for (std::uint32_t i = 0; i < 10000; ++i) {
    Tower* t = d.Track(i);
    RecordUndoInsert(NodeRefOf(TowerEntity(t)), d.window->UndoStep);
    ReleaseTower(&t);
    d.Close();
  }
  std::vector<Tower*> items{d.Track(10000)};
  Tower* aside = InsertEmptyEntity(d.root, 900);
  Clock::duration undo{}, direct{};
  bool checked = false;
  for (auto _ : state) {
    undo += TimedUndoRedo(d, checked ? 0u : 10000u, 10001u, state);
    checked = true;
    direct += DeleteAndReinsert(d, items, aside);
  }
  Report(state, undo, direct, "one track, 10,000 steps");
  for (Tower*& t : items) ReleaseTower(&t);
  ReleaseTower(&aside);
}
BENCHMARK(OneTrackInLongHistory)->Unit(benchmark::kMicrosecond)->Iterations(200);

void BlockDelete(benchmark::State& state) {
  Design d;
  std::vector<Tower*> removed;
  for (std::uint32_t i = 0; i < 1000; ++i) removed.push_back(d.Track(i));
  d.Close();
  for (Tower*& t : removed) {
    Tower* entry = RecordUndoRemove(t, d.window->UndoStep);
    ReleaseTower(&entry);
    DeleteEntity(t);
    ReleaseTower(&t);
  }
  d.Close();
  std::vector<Tower*> items;
  for (std::uint32_t i = 0; i < 1000; ++i) items.push_back(d.Track(i));
  Tower* aside = InsertEmptyEntity(d.root, 900);
  Clock::duration undo{}, direct{};
  bool checked = false;
  for (auto _ : state) {
    undo += TimedUndoRedo(d, checked ? 0u : 2000u, 1000u, state);
    checked = true;
    direct += DeleteAndReinsert(d, items, aside);
  }
  Report(state, undo, direct, "a 1,000-entry step");
  for (Tower*& t : items) ReleaseTower(&t);
  ReleaseTower(&aside);
}
BENCHMARK(BlockDelete)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace
