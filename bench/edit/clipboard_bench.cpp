// Copy of 10,000 selected tracks and one paste into another board, against
// two CopyAndInsertEntity passes over the same tracks (into a scratch
// entity, then from there into the board): the clipboard's own work is one
// deep copy out and one back, so the ratio shows what the records, the size
// table and the selection list around them cost (counter clip_over_copies).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "edit/clipboard.h"
#include "edit/window_data.h"
#include "objects/entity_copy.h"
#include "objects/graphic_records.h"
#include "objects/layer_table.h"
#include "objects/size_table.h"
#include "objects/type_codes.h"
#include "store/tower.h"

extern Tower* ProgramTower;

namespace {

using Clock = std::chrono::steady_clock;
double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

constexpr std::int32_t kTracks = 10000;

Tower* TopLevel(std::uint16_t code) {
  Tower* t = NewTower(0);
  LastLevel(t).typeCode = code;
  InsertAtLastLevel(t, 0);
  return t;
}

struct Boards {
  Tower* source = nullptr;
  Tower* destination = nullptr;
  std::unique_ptr<CurrentWindowData> from, to;
  std::vector<Tower*> tracks;

  Boards() {
    if (!RootGroup()) InitTowerStore();
    ProgramTower = TopLevel(211);
    source = TopLevel(Type_PCB);
    destination = TopLevel(Type_PCB);
    from = std::make_unique<CurrentWindowData>(kEditorPcb, source);
    to = std::make_unique<CurrentWindowData>(kEditorPcb, destination);
    for (CurrentWindowData* w : {from.get(), to.get()}) {
      w->sizeTable = NewSizeTable().release();
      w->layerTable.layers[Layer_Top].flags |= kLayerPresent;
    }
    for (std::int32_t i = 0; i < kTracks; ++i) {
      LinePayload t{};
      t.head.layer = Layer_Top;
      t.head.transform = pl3::kIdentityTransform;
      t.width = 1000;
      t.x1 = i * 100;
      t.x2 = i * 100 + 50;
      tracks.push_back(InsertEntity(source, sizeof t, Type_Track, &t));
      auto* r = static_cast<SelectionInfo*>(std::calloc(1, sizeof(SelectionInfo)));
      r->next = from->SelectionList;
      r->flags = kSelectionPrimary;
      r->workingCopy = tracks.back();
      from->SelectionList = r;
    }
  }
  ~Boards() {
    ActiveWindowData = nullptr;
    for (SelectionInfo* r = from->SelectionList; r;) {
      SelectionInfo* next = r->next;
      std::free(r);
      r = next;
    }
    for (Tower*& t : tracks) ReleaseTower(&t);
    for (CurrentWindowData* w : {from.get(), to.get()}) FreeSizeTable(w->sizeTable);
    for (Tower** t : {&source, &destination, &ProgramTower}) {
      DeleteEntity(*t);
      ReleaseTower(t);
    }
  }

  // Drops what a paste made: the working copies and their records.
  std::size_t ClearPaste() {
    std::size_t n = 0;
    for (SelectionInfo* r = to->SelectionList; r; ++n) {
      SelectionInfo* next = r->next;
      DeleteEntity(r->workingCopy);
      ReleaseTower(&r->workingCopy);
      std::free(r);
      r = next;
    }
    to->SelectionList = nullptr;
    std::free(to->OriginalBlockOrigin);
    to->OriginalBlockOrigin = nullptr;
    return n;
  }
};

void CopyAndPasteTenThousandTracks(benchmark::State& state) {
  Boards b;
  Tower* scratch = InsertEmptyEntity(b.destination, 900);
  Clock::duration clip{}, copies{};
  std::size_t pasted = 0, copied = 0;
  for (auto _ : state) {
    auto start = Clock::now();
    ActiveWindowData = b.from.get();
    CopySelectionToClipboard(nullptr);
    ActiveWindowData = b.to.get();
    PasteFromClipboard(nullptr);
    clip += Clock::now() - start;
    pasted += b.ClearPaste();
    DeleteChildEntities(ProgramTower, Type_ClipboardCopy);  // the next copy finds none to delete, as the peer

    start = Clock::now();
    std::vector<Tower*> aside;
    aside.reserve(b.tracks.size());
    for (const Tower* t : b.tracks) aside.push_back(CopyAndInsertEntity(scratch, t, &pl3::kIdentityTransform));
    std::vector<Tower*> placed;
    placed.reserve(aside.size());
    for (const Tower* t : aside) placed.push_back(CopyAndInsertEntity(b.destination, t, &pl3::kIdentityTransform));
    copies += Clock::now() - start;
    for (std::vector<Tower*>* list : {&aside, &placed}) {
      for (Tower*& t : *list) {
        copied += list == &placed;
        DeleteEntity(t);
        ReleaseTower(&t);
      }
    }
  }
  if (pasted != copied) state.SkipWithError("the paste did not give one record per track");
  ReleaseTower(&scratch);
  state.counters["clip_s"] = Seconds(clip) / state.iterations();
  state.counters["copies_s"] = Seconds(copies) / state.iterations();
  state.counters["clip_over_copies"] = Seconds(clip) / Seconds(copies);
  std::printf("copy and paste of 10,000 tracks / two copy passes = %.2f\n", Seconds(clip) / Seconds(copies));
}
BENCHMARK(CopyAndPasteTenThousandTracks)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
