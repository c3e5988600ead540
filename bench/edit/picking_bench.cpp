// Benchmarks of picking with the mouse in a PCB window whose display list
// holds a grid of 100,000 tracks:
//   PickAtPoint       a click on one track (PickObjectAtCursor with the
//                     select purpose: the found marks cleared, the area pick
//                     over the display list, the one hit handed to a counting
//                     SelectObject), against a bare walk over the design's
//                     tracks testing every track's box against the click's
//                     square (counter walk_over_pick).
//   SelectRectangle   a drag rectangle holding 10,000 of the tracks
//                     (SelectItemsInRectangle, each hit handed to a counting
//                     SelectObject), against a bare walk testing every
//                     track's box against the same rectangle (counter
//                     walk_over_rectangle).
// Both sides of each pair must find the same number of tracks.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "draw/display_builders.h"
#include "draw/display_list.h"
#include "draw/walk_actions.h"
#include "edit/pick_action_seams.h"
#include "edit/pick_hits.h"
#include "edit/selection_engine_seams.h"
#include "edit/picking.h"
#include "edit/window_data.h"
#include "geometry/graphic_layouts.h"
#include "geometry/raster_state.h"
#include "geometry/view_mapping.h"
#include "objects/display_list_seams.h"
#include "objects/graphic_records.h"
#include "objects/layer_table.h"
#include "objects/pad_stacks.h"
#include "objects/type_codes.h"
#include "store/tower.h"

namespace {

std::uint32_t gSelected = 0;

}  // namespace

// The selection takes nothing here; the rectangle's hits are only counted.
int SelectObject(const Tower*, std::uint8_t) {
  ++gSelected;
  return 1;
}
void CopyPickedItem(HWND, const Tower*) {}
void CopyPickedItemStep(HWND, const Tower*, int) {}
int PickDesignatorsOfFixedSymbols() { return 0; }

namespace {

constexpr std::int32_t kZoom = 10000;       // world units per pixel
constexpr std::int32_t kPitch = 200000;     // 20 pixels between tracks
constexpr std::int32_t kLength = 100000;    // 10 pixels long
constexpr std::int32_t kWidth = 20000;      // 2 pixels wide
constexpr std::int32_t kColumns = 100;
constexpr int kPlaneSide = 2048;

// A PCB window over a board of `count` horizontal tracks in rows of 100,
// every track on the display list, drawn into a plane of its own.
struct Board {
  std::unique_ptr<CurrentWindowData> window = std::make_unique<CurrentWindowData>(kEditorPcb);
  Tower* root = nullptr;
  std::vector<std::uint32_t> words, colours;
  pl3::ViewClip clip{};

  explicit Board(std::uint32_t count) : words(kPlaneSide * kPlaneSide), colours(words.size()) {
    if (!RootGroup()) InitTowerStore();
    root = NewTower(0);
    LastLevel(root).typeCode = Type_PCB;
    InsertAtLastLevel(root, 0);
    LayerRecord& top = window->layerTable.layers[Layer_Top];
    top.flags = kLayerPresent | kLayerVisible;
    top.kind = LayerKind_Copper;
    top.planeBit = 1;
    window->design = root;
    window->Zoom = kZoom;
    ActiveWindowData = window.get();
    RegisterSymbolWalkHandlers();
    RegisterDrawWalkHandlers();
    window->Display = NewDisplayList();
    for (std::uint32_t i = 0; i < count; ++i) {
      const std::int32_t x = static_cast<std::int32_t>(i % kColumns) * kPitch + kPitch;
      const std::int32_t y = static_cast<std::int32_t>(i / kColumns) * kPitch + kPitch;
      const pl3::TrackLayout line = MakeTrackRecord(Layer_Top, {x, y}, {x + kLength, y}, kWidth);
      Tower* t = InsertEntity(root, sizeof line, Type_Track, &line);
      PutEntityOnDisplayList(window->Display, t);
      ReleaseTower(&t);
    }
    clip = {0, 0, kPlaneSide - 1, kPlaneSide - 1, kPlaneSide, kPlaneSide};
    pl3::g_raster.plane = words.data();
    pl3::g_raster.colourBuffer = colours.data();
    pl3::g_raster.width = kPlaneSide;
    pl3::g_raster.height = kPlaneSide;
    pl3::g_raster.clip = &clip;
    UpdateViewGlobals();
  }
  ~Board() {
    FreeDisplayList(static_cast<DisplayList*>(window->Display));
    window->Display = nullptr;
    pl3::g_raster.plane = nullptr;
    pl3::g_raster.colourBuffer = nullptr;
    pl3::g_raster.clip = nullptr;
    pl3::g_raster.view = nullptr;
    ActiveWindowData = nullptr;
    DeleteEntity(root);
    ReleaseTower(&root);
  }
};

// The tracks of the design whose body meets the world box: the box widened
// by half the width, against the track's extent.
std::uint32_t WalkTracksMeeting(const Tower* root, const pl3::Box& box) {
  std::uint32_t found = 0;
  Tower* all = GetChildTower(root, Type_Track);
  while (all && FindNextEntity(all)) {
    pl3::TrackLayout t;
    std::memcpy(&t, TowerPayload(all), sizeof t);
    const std::int32_t half = t.width / 2;
    if (std::max(t.x1, t.x2) + half >= box.xmin && std::min(t.x1, t.x2) - half <= box.xmax &&
        std::max(t.y1, t.y2) + half >= box.ymin && std::min(t.y1, t.y2) - half <= box.ymax)
      ++found;
  }
  ReleaseTower(&all);
  return found;
}

// The world box of a pixel box of the window.
pl3::Box WorldOf(pl3::Box pixels) {
  pl3::ViewBoxToWorld(&pixels);
  return pixels;
}

void PickAtPoint(benchmark::State& state) {
  Board board(100000);
  // A pixel on the track of row 40, column 50.
  const std::int32_t px = (50 * kPitch + kPitch + kLength / 2) / kZoom;
  const std::int32_t py = (40 * kPitch + kPitch) / kZoom;
  const pl3::Box square = WorldOf({px - kPickHalfSide, py - kPickHalfSide, px + kPickHalfSide, py + kPickHalfSide});
  ButtonRecord click{};
  click.MousePixel = {px, py};
  double pickSeconds = 0, walkSeconds = 0;
  std::uint32_t walked = 0;
  for (auto _ : state) {
    gSelected = 0;
    auto start = std::chrono::steady_clock::now();
    const int result = PickObjectAtCursor(nullptr, &click, kPickSelect);
    auto middle = std::chrono::steady_clock::now();
    walked = WalkTracksMeeting(board.root, square);
    auto end = std::chrono::steady_clock::now();
    pickSeconds += std::chrono::duration<double>(middle - start).count();
    walkSeconds += std::chrono::duration<double>(end - middle).count();
    benchmark::DoNotOptimize(result);
    benchmark::DoNotOptimize(walked);
  }
  if (gSelected != walked || walked != 1) {
    state.SkipWithError("the pick and the walk found different tracks");
    return;
  }
  state.counters["walk_over_pick"] = walkSeconds / pickSeconds;
  std::printf("PickAtPoint: %u track(s); pick %.2f us, bare walk %.2f us, walk/pick %.2f\n", walked,
              1e6 * pickSeconds / static_cast<double>(state.iterations()),
              1e6 * walkSeconds / static_cast<double>(state.iterations()), walkSeconds / pickSeconds);
}
BENCHMARK(PickAtPoint)->Unit(benchmark::kMicrosecond);

void SelectRectangle(benchmark::State& state) {
  Board board(100000);
  // Rows 0 to 99, every column: 10,000 tracks wholly inside, within the plane.
  const RECT r{kPitch / kZoom - 2, kPitch / kZoom - 5, (kColumns * kPitch + kPitch) / kZoom,
               (99 * kPitch + kPitch) / kZoom + 5};
  const pl3::Box area = WorldOf({r.left, r.top, r.right, r.bottom});
  double pickSeconds = 0, walkSeconds = 0;
  std::uint32_t walked = 0;
  for (auto _ : state) {
    gSelected = 0;
    auto start = std::chrono::steady_clock::now();
    SelectItemsInRectangle(&r);
    auto middle = std::chrono::steady_clock::now();
    walked = WalkTracksMeeting(board.root, area);
    auto end = std::chrono::steady_clock::now();
    pickSeconds += std::chrono::duration<double>(middle - start).count();
    walkSeconds += std::chrono::duration<double>(end - middle).count();
    benchmark::DoNotOptimize(walked);
  }
  if (gSelected != walked || walked != 10000) {
    state.SkipWithError("the rectangle and the walk found different tracks");
    return;
  }
  state.counters["walk_over_rectangle"] = walkSeconds / pickSeconds;
  std::printf("SelectRectangle: %u tracks; rectangle %.2f ms, bare walk %.2f ms, walk/rectangle %.2f\n", walked,
              1e3 * pickSeconds / static_cast<double>(state.iterations()),
              1e3 * walkSeconds / static_cast<double>(state.iterations()), walkSeconds / pickSeconds);
}
BENCHMARK(SelectRectangle)->Unit(benchmark::kMillisecond);

}  // namespace
