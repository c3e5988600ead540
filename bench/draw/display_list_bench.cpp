// RebuildDisplayList over a generated board of 10,000 entities (6,000
// tracks, 2,000 vias, 1,000 polygons, 900 circles and 100 placed symbols of
// a silkscreen line and one pad each), in a PCB window whose 32 copper
// layers are all in use. Counter items_per_second: the display items built
// per second (each via gives two, each symbol three).
//
// The same board in a 3840 x 2160 view: a full RedrawView from the display
// list, the same box drawn by walking the design (cleared, drawn with
// DrawEntityByType through the walker, colourised, as the redraw does),
// RedrawViewRect of one track's box and DoScroll by one line. Counter
// vs_full_redraw: the time of one call over that of a full redraw, measured
// in the same run.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <chrono>
#include <cstring>
#include <memory>
#include <vector>

#include "draw/display_list.h"
#include "draw/display_paint.h"
#include "draw/view_redraw.h"
#include "draw/walk_actions.h"
#include "edit/view_scrolling.h"
#include "geometry/plane_bitmaps.h"
#include "geometry/raster_state.h"
#include "geometry/view_mapping.h"
#include "platform/scroll.h"
#include "platform/user.h"
#include "edit/window_data.h"
#include "objects/graphic_records.h"
#include "objects/pad_stacks.h"
#include "objects/type_codes.h"
#include "objects/walker.h"
#include "draw/display_list_seams.h"
#include "platform/reset_hooks.h"
#include "store/tower.h"

namespace {

constexpr std::int32_t kInch = 36576000;

std::uint32_t RefOf(const Tower* t) { return NodeRefOf(TowerEntity(t)); }

template <typename T>
void Put(const Tower* parent, std::uint16_t code, const T& payload) {
  Tower* t = InsertEntity(parent, sizeof payload, code, &payload);
  ReleaseTower(&t);
}

pl3::TrackLayout Track(std::uint8_t layer, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
  pl3::TrackLayout t{};
  t.head.layer = layer;
  t.head.transform = pl3::kIdentityTransform;
  t.width = 200000;
  t.x1 = x1;
  t.y1 = y1;
  t.x2 = x2;
  t.y2 = y2;
  return t;
}

struct Board {
  CurrentWindowData window{kEditorPcb};
  Tower* design = nullptr;
};

// A definition with a silkscreen line and one through-hole pad of Xref 1.
Tower* Definition(const Tower* design) {
  Tower* definition = InsertEntity(design, 0, Type_SymbolDefinition, nullptr);
  Put(definition, Type_Track, Track(Layer_TopSilkscreen, 0, 0, kInch / 10, 0));
  Tower* stack = InsertEntity(definition, 0, Type_PadStackDefinition, nullptr);
  std::uint8_t stackInfo[28] = {};
  std::memcpy(stackInfo + 4, &pl3::kIdentityTransform, sizeof(pl3::Transform));
  Put(stack, Type_PadStackDefinitionInfo, stackInfo);
  Put(stack, Type_BoundingBox, pl3::Box{-1000000, -1000000, 1000000, 1000000});
  Tower* shape = InsertEntity(stack, 0, Type_ShapeDefinition, nullptr);
  Put(shape, Type_Track, Track(Layer_Top, -500000, 0, 500000, 0));
  std::uint8_t entry[44] = {};
  entry[4] = Layer_Top;
  const std::uint32_t shapeRef = RefOf(shape);
  std::memcpy(entry + 8, &shapeRef, 4);
  std::memcpy(entry + 20, &pl3::kIdentityTransform, sizeof(pl3::Transform));
  Put(stack, Type_PadStackLayerInfo, entry);
  Tower* pad = InsertEntity(definition, 0, Type_PadStackInstanceHier, nullptr);
  std::uint8_t padInfo[36] = {};
  const std::uint32_t xref = 1, stackRef = RefOf(stack);
  std::memcpy(padInfo + 4, &xref, 4);
  std::memcpy(padInfo + 8, &stackRef, 4);
  std::memcpy(padInfo + 12, &pl3::kIdentityTransform, sizeof(pl3::Transform));
  Put(pad, Type_PadStackInfo, padInfo);
  for (Tower* t : {stack, shape, pad}) ReleaseTower(&t);
  return definition;
}

Board& TheBoard() {
  static std::unique_ptr<Board> board = [] {
    pl3::ResetGlobalStateForTests();
    auto b = std::make_unique<Board>();
    for (int layer = 0; layer < 40; ++layer) {
      LayerRecord& r = b->window.layerTable.layers[layer];
      r.flags = kLayerPresent | kLayerVisible;
      r.planeBit = 1u << (layer % 16);
      r.oppositeLayer = kNoOppositeLayer;
    }
    b->window.Zoom = 10000;
    Tower* top = NewTower(0);
    LastLevel(top).typeCode = Type_PCB;
    InsertAtLastLevel(top, 0);
    b->design = top;
    b->window.design = top;
    ActiveWindowData = &b->window;
    RegisterSymbolWalkHandlers();
    RegisterDrawWalkHandlers();
    const std::int32_t origin = 10 * kInch;
    for (int i = 0; i < 6000; ++i) {
      const std::int32_t x = origin + (i % 100) * kInch / 10, y = origin + (i / 100) * kInch / 20;
      Put(top, Type_Track, Track(static_cast<std::uint8_t>(1 + i % 32), x, y, x + kInch / 20, y + kInch / 40));
    }
    for (int i = 0; i < 2000; ++i) {
      HolePayload via{};
      via.hole.head.layer = 1;
      via.hole.head.spare = 32;
      via.hole.head.transform = pl3::kIdentityTransform;
      via.hole.flags = 0x4 | 0x8;
      via.hole.size1 = 300000;
      via.hole.size2 = 600000;
      via.hole.centreX = origin + (i % 50) * kInch / 5;
      via.hole.centreY = origin + (i / 50) * kInch / 10;
      Put(top, Type_Hole, via);
    }
    std::vector<std::uint8_t> polygon(PolygonStoredSize(4), 0);
    auto* p = reinterpret_cast<pl3::PolygonLayout*>(polygon.data());
    p->head.layer = 1;
    p->head.transform = pl3::kIdentityTransform;
    p->count = 4;
    const std::uint8_t triangles[6] = {0, 1, 2, 0, 2, 3};
    for (int i = 0; i < 1000; ++i) {
      const std::int32_t x = origin + (i % 40) * kInch / 4, y = origin + (i / 40) * kInch / 4;
      const pl3::Point corners[4] = {{x, y}, {x + kInch / 8, y}, {x + kInch / 8, y + kInch / 8}, {x, y + kInch / 8}};
      std::memcpy(pl3::PolygonPoints(p), corners, sizeof corners);
      std::memcpy(pl3::PolygonTriangles(p), triangles, sizeof triangles);
      Tower* t = InsertEntity(top, static_cast<std::uint32_t>(polygon.size()), Type_Polygon, polygon.data());
      ReleaseTower(&t);
    }
    for (int i = 0; i < 900; ++i) {
      pl3::CircleLayout c{};
      c.head.layer = static_cast<std::uint8_t>(1 + i % 32);
      c.head.transform = pl3::kIdentityTransform;
      c.size = 400000;
      c.centreX = origin + (i % 30) * kInch / 3;
      c.centreY = origin + (i / 30) * kInch / 3;
      Put(top, Type_Circle, c);
    }
    Tower* definition = Definition(top);
    for (int i = 0; i < 100; ++i) {
      Tower* instance = InsertEntity(top, 0, Type_SymbolInstance, nullptr);
      const std::uint32_t info[2] = {0, RefOf(definition)};
      Put(instance, Type_SymbolInstanceInfo, info);
      pl3::Transform at = pl3::kIdentityTransform;
      at.tx = origin + (i % 10) * kInch;
      at.ty = origin + (i / 10) * kInch;
      Put(instance, Type_Transform, at);
      PadStackInstanceInfo pin{};
      pin.xref = 1;
      Put(instance, Type_PadStackInstanceInfo, pin);
      ReleaseTower(&instance);
    }
    ReleaseTower(&definition);
    return b;
  }();
  ActiveWindowData = &board->window;
  return *board;
}

std::size_t CountItems(const DisplayList* list) {
  std::size_t n = 0;
  for (const DisplayNode* head : list->lists)
    for (const DisplayNode* node = head; node; node = node->next) ++n;
  return n;
}

void RebuildDisplayListOfBoard(benchmark::State& state) {
  Board& board = TheBoard();
  DisplayList* list = RebuildDisplayList(board.design, nullptr);
  const std::size_t items = CountItems(list);
  if (items != 6000 + 2 * 2000 + 1000 + 900 + 3 * 100) state.SkipWithError("the board gave an unexpected item count");
  for (auto _ : state) {
    list = RebuildDisplayList(board.design, list);
    benchmark::DoNotOptimize(list);
  }
  FreeDisplayList(list);
  state.counters["items_per_second"] =
      benchmark::Counter(static_cast<double>(items) * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(RebuildDisplayListOfBoard)->Unit(benchmark::kMillisecond);

// ---- The view ---------------------------------------------------------------------------

constexpr int kViewWidth = 3840, kViewHeight = 2160;

struct View {
  HWND window = nullptr;
  std::vector<std::uint32_t> colours = std::vector<std::uint32_t>(65536);
};

// The board's window with its list, a surface and the board filling the view.
View& TheView() {
  static std::unique_ptr<View> view = [] {
    Board& board = TheBoard();
    auto v = std::make_unique<View>();
    WNDCLASSA wc{};
    wc.lpfnWndProc = &DefWindowProcA;
    wc.lpszClassName = "BenchView";
    RegisterClassA(&wc);
    v->window = CreateWindowExA(0, "BenchView", "Board", WS_POPUP | WS_VISIBLE, 0, 0, kViewWidth, kViewHeight, nullptr,
                                nullptr, nullptr, nullptr);
    for (std::uint32_t i = 0; i < v->colours.size(); ++i) v->colours[i] = i * 0x010101u;
    CurrentWindowData& w = board.window;
    w.Window = v->window;
    w.ColourTable = v->colours.data();
    w.Zoom = 100000;
    w.ViewOriginX = 10 * kInch / 100000 - 100;
    w.ViewOriginY = 10 * kInch / 100000 - 100;
    w.Surface.width = kViewWidth;
    w.Surface.height = kViewHeight;
    HDC dc = GetDC(v->window);
    pl3::CreatePlaneDIBSection(dc, &w.Surface, 0, 32, 0);
    ReleaseDC(v->window, dc);
    w.Display = RebuildDisplayList(board.design, nullptr);
    UpdateViewGlobals();
    pl3::AttachRasterToBitmap(&w.Surface, &w.SurfaceClip);
    return v;
  }();
  return *view;
}

double g_fullRedrawSeconds = 0;

// Runs the call in the timed loop and reports its time against the full redraw.
template <typename Call>
void TimeAgainstFullRedraw(benchmark::State& state, Call call, bool isFullRedraw) {
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    call();
    benchmark::DoNotOptimize(pl3::g_raster.colourBuffer[0]);
    benchmark::ClobberMemory();
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() /
                         static_cast<double>(state.iterations());
  if (isFullRedraw) g_fullRedrawSeconds = seconds;
  if (g_fullRedrawSeconds > 0) state.counters["vs_full_redraw"] = seconds / g_fullRedrawSeconds;
}

void FullRedrawFromTheList(benchmark::State& state) {
  View& view = TheView();
  TimeAgainstFullRedraw(state, [&] { RedrawView(view.window); }, true);
}
BENCHMARK(FullRedrawFromTheList)->Unit(benchmark::kMillisecond);

void FullRedrawByWalking(benchmark::State& state) {
  View& view = TheView();
  Board& board = TheBoard();
  pl3::Box box{0, 0, kViewWidth + 1, kViewHeight + 1};
  pl3::ViewBoxToWorld(&box);
  TimeAgainstFullRedraw(
      state,
      [&] {
        pl3::g_raster.fillValue = static_cast<std::uint32_t>(board.window.BackgroundIndex);
        pl3::SetPlaneRect(0, 0, kViewWidth - 1, kViewHeight - 1);
        FillNetFlagTable(1);
        PerformTowerAction(&pl3::kIdentityTransform, board.design, &box, 0, 0, 0);
        pl3::ColourisePlaneRect(0, 0, kViewWidth - 1, kViewHeight - 1);
        InvalidateRect(view.window, nullptr, FALSE);
      },
      false);
}
BENCHMARK(FullRedrawByWalking)->Unit(benchmark::kMillisecond);

void RedrawOneTracksBox(benchmark::State& state) {
  View& view = TheView();
  const std::int32_t origin = 10 * kInch;
  const pl3::Box box{origin - 200000, origin - 200000, origin + kInch / 20 + 200000, origin + kInch / 40 + 200000};
  TimeAgainstFullRedraw(state, [&] { RedrawViewRect(view.window, &box, 1); }, false);
}
BENCHMARK(RedrawOneTracksBox)->Unit(benchmark::kMicrosecond);

void ScrollOneLine(benchmark::State& state) {
  View& view = TheView();
  bool right = true;
  TimeAgainstFullRedraw(
      state,
      [&] {
        DoScroll(view.window, WM_HSCROLL, right ? SB_LINERIGHT : SB_LINELEFT);
        right = !right;
      },
      false);
}
BENCHMARK(ScrollOneLine)->Unit(benchmark::kMillisecond);

}  // namespace
