// Grid files are user files: any bytes loaded through LoadGridList must not
// crash or draw a sanitizer report, a refused file must leave the default set
// and the loading variable as they were, and a loaded set must snap and draw
// its grids (whatever their steps) without trouble.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "draw/grid_files.h"
#include "draw/grids.h"
#include "edit/window_data.h"
#include "geometry/raster_state.h"
#include "geometry/view_mapping.h"
#include "platform/user_constants.h"
#include "store/tower.h"

namespace {

constexpr int kSide = 32;
constexpr std::int32_t kZoom = 9144;
constexpr std::uint32_t kMostGridsDrawn = 6;

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "grid file fuzz: %s\n", what);
  std::abort();
}

std::vector<std::uint8_t> Bytes(const GridSet* set) {
  if (!set) return {};
  const auto* p = reinterpret_cast<const std::uint8_t*>(set);
  return {p, p + GetGridSetSize(set)};
}

// Snaps a few points to the grid and draws it into a small plane.
void Exercise(CurrentWindowData& block, const GridEntry& grid) {
  auto* set = static_cast<GridSet*>(block.Grids);
  set->current = grid;
  char text[kGridTextSize];
  FormatGridStep(text, 0, &grid);
  FormatGridStep(text, 1, &grid);
  GetGridUnitName(text, &grid);
  for (const pl3::Point p : {pl3::Point{0, 0}, pl3::Point{123456789, -987654}, pl3::Point{-1, 2147483647}}) {
    std::int32_t x = p.x, y = p.y;
    SnapXYIn(block, &x, &y, 1);
    SnapXToGrid(&x);
    block.Cursor = {x, y};
    PolarCursorStep(VK_UP);
    PolarCursorStep(VK_LEFT);
  }
  const pl3::Box box{0, 0, (kSide - 1) * kZoom, (kSide - 1) * kZoom};
  if (grid.kind == kGridPolar)
    DrawPolarGrid(block, grid, box);
  else
    DrawCartesianGrid(block, grid);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (!RootGroup()) InitTowerStore();
  static GridSet* variable = BuildDefaultGridSet();
  EnsureDefaultGridSet();
  const GridSet* defaultBefore = DefaultGridSet;
  const GridSet* variableBefore = variable;
  const std::vector<std::uint8_t> defaultBytes = Bytes(DefaultGridSet), variableBytes = Bytes(variable);

  if (!LoadGridListFromMemory(data, size, &variable)) {
    if (DefaultGridSet != defaultBefore || variable != variableBefore || Bytes(DefaultGridSet) != defaultBytes ||
        Bytes(variable) != variableBytes)
      Fail("a refused file changed a set");
    return 0;
  }
  if (!DefaultGridSet || !variable || Bytes(DefaultGridSet) != Bytes(variable)) Fail("the two sets differ");

  CurrentWindowData block(kEditorPcb);
  block.Grids = DuplicateGridSet(variable);
  block.View = {0, 0, kZoom};
  block.CoordinateOrigin = {16 * kZoom, 16 * kZoom};
  ActiveWindowData = &block;
  std::vector<std::uint32_t> plane(kSide * kSide), colours(kSide * kSide);
  pl3::ViewClip clip{0, 0, kSide - 1, kSide - 1, kSide, kSide};
  pl3::g_raster.plane = plane.data();
  pl3::g_raster.colourBuffer = colours.data();
  pl3::g_raster.width = kSide;
  pl3::g_raster.height = kSide;
  pl3::g_raster.clip = &clip;
  pl3::g_raster.view = &block.View;
  pl3::g_raster.viewFactor = pl3::ViewFactorForZoom(kZoom);
  const std::uint32_t area[4] = {0, 0, 0x7FFFFFFF, 0x7FFFFFFF};
  SetWorkingArea(area);

  Exercise(block, variable->current);
  for (std::uint32_t i = 0; i < variable->count && i < kMostGridsDrawn; ++i) Exercise(block, *GridSetEntry(variable, i));

  pl3::g_raster.plane = nullptr;
  pl3::g_raster.colourBuffer = nullptr;
  pl3::g_raster.clip = nullptr;
  pl3::g_raster.view = nullptr;
  ActiveWindowData = nullptr;
  std::free(block.Grids);
  block.Grids = nullptr;
  return 0;
}
