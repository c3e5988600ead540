// Benchmark of the selection's move and accept of many tracks:
//   MoveAndAcceptTracks  10,000 tracks selected, moved one grid step and
//                        accepted (working copies, undo entries, commit),
//                        against copying each track with CopyAndInsertEntity,
//                        moving the copy by the same step, recording the same
//                        undo entry (the original kept, the copy named) and
//                        deleting the original (counter direct_over_selection,
//                        aim above 0.5).
// The design is laid anew outside the timed part of each iteration, and both
// sides must leave the same 10,000 moved tracks; both record one undo entry per track.
#include <benchmark/benchmark.h>

#include <ctime>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

#include "edit/key_command_seams.h"
#include "edit/selection.h"
#include "edit/window_data.h"
#include "objects/engine_item_seams.h"
#include "objects/entity_copy.h"
#include "objects/graphic_records.h"
#include "objects/type_codes.h"
#include "objects/undo_seams.h"
#include "store/tower.h"

namespace {

// Processor time, so that other work on a shared machine does not weigh on
// one side more than the other.
struct Clock {
  using duration = std::clock_t;
  static std::clock_t now() { return std::clock(); }
};
double Seconds(std::clock_t d) { return static_cast<double>(d) / CLOCKS_PER_SEC; }

constexpr std::uint32_t kTracks = 10000;
constexpr std::int32_t kBase = 200000000;
constexpr std::int32_t kStep = 36576 * 25;  // one 25-thou grid step

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
    window->SelectionAngleAssist = 0;
    ActiveWindowData = window.get();
  }
  ~Design() {
    ActiveWindowData = nullptr;
    DeleteEntity(root);
    ReleaseTower(&root);
  }
  std::vector<Tower*> Lay() {
    std::vector<Tower*> tracks;
    tracks.reserve(kTracks);
    for (std::uint32_t i = 0; i < kTracks; ++i) {
      LinePayload line{};
      line.head.layer = 1;
      line.head.transform = pl3::kIdentityTransform;
      line.x1 = kBase + static_cast<std::int32_t>(i % 100) * 100000;
      line.y1 = kBase + static_cast<std::int32_t>(i / 100) * 100000;
      line.x2 = line.x1 + 50000;
      line.y2 = line.y1;
      tracks.push_back(InsertEntity(root, sizeof line, Type_Track, &line));
    }
    return tracks;
  }
  void Clear(std::vector<Tower*>& tracks) {
    for (Tower*& t : tracks) ReleaseTower(&t);
    tracks.clear();
    DeleteChildEntities(root, Type_Track);
  }
  // The number of tracks whose first end lies one step right of where it was laid.
  std::uint32_t MovedTracks() {
    Tower* all = GetChildTower(root, Type_Track);
    std::uint32_t n = 0;
    while (all && FindNextEntity(all)) {
      const auto* l = reinterpret_cast<const LinePayload*>(TowerPayload(all));
      if ((l->x1 - kBase - kStep) % 100000 == 0) ++n;
    }
    ReleaseTower(&all);
    return n;
  }
};

void MoveAndAcceptTracks(benchmark::State& state) {
  Design d;
  std::clock_t selection = 0, direct = 0;
  std::uint32_t selectionMoved = 0, directMoved = 0;
  for (auto _ : state) {
    std::vector<Tower*> tracks = d.Lay();
    auto start = Clock::now();
    for (Tower* t : tracks) {
      SelectionInfo* s =
          AddGraphicToSelection(&d.window->SelectionList, t, kGrabWhole, &pl3::kIdentityTransform, kBase, kBase);
      s->flags |= kSelectionPrimary;
    }
    StartBlockMove(d.window->SelectionList);
    MoveSelectionArray(d.window->SelectionList, kStep, 0);
    AcceptSelectionArray(nullptr);
    selection += Clock::now() - start;
    selectionMoved = d.MovedTracks();
    d.Clear(tracks);

    tracks = d.Lay();
    start = Clock::now();
    for (Tower*& t : tracks) {
      Tower* copy = CopyAndInsertEntity(d.root, t, &pl3::kIdentityTransform);
      Entity* e = TowerEntity(copy);
      TranslateEntity(EntityPayload(e), e->payloadSize, e->typeCode, {kStep, 0}, kPartWhole);
      Tower* entry = RecordUndoModify(t, NodeRefOf(e), d.window->UndoStep);
      ReleaseTower(&entry);
      ReleaseTower(&copy);
      DeleteEntity(t);
    }
    direct += Clock::now() - start;
    directMoved = d.MovedTracks();
    benchmark::DoNotOptimize(directMoved);
    d.Clear(tracks);
  }
  if (selectionMoved != kTracks || directMoved != kTracks)
    state.SkipWithError("the two roads did not leave the same moved tracks");
  state.counters["selection_s"] = Seconds(selection) / state.iterations();
  state.counters["direct_s"] = Seconds(direct) / state.iterations();
  state.counters["direct_over_selection"] = Seconds(direct) / Seconds(selection);
  std::printf("10,000 tracks moved and accepted: direct / selection = %.2f\n", Seconds(direct) / Seconds(selection));
}
BENCHMARK(MoveAndAcceptTracks)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
