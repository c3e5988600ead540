// The view the drawing benchmarks draw into: a PCB window of one world unit
// per pixel over a surface (for the XOR ghosts and GDI text) and a layer
// plane of the same size (for the raster kernel), made active.
#pragma once
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

#include "edit/window_data.h"
#include "geometry/raster_state.h"
#include "platform/gdi.h"
#include "platform/surface.h"

namespace drawbench {

struct View {
  int width, height;
  std::vector<std::uint32_t> pixels;
  std::vector<std::uint32_t> plane;
  std::vector<std::uint32_t> colours = std::vector<std::uint32_t>(65536, 0x336699);
  pl3::PixelSurface surface;
  HDC dc;
  pl3::ViewClip clip;
  std::unique_ptr<CurrentWindowData> w = std::make_unique<CurrentWindowData>(kEditorPcb);

  View(int width, int height, std::uint32_t zoom = 1)
      : width(width),
        height(height),
        pixels(static_cast<std::size_t>(width) * height),
        plane(pixels.size()),
        surface{pixels.data(), width, height, width},
        dc(pl3::CreateSurfaceDC(&surface, POINT{0, 0}, RECT{0, 0, width, height})),
        clip{0, 0, width - 1, height - 1, width, height} {
    w->ColourTable = colours.data();
    w->Zoom = zoom;
    w->AngleAssist = 2;
    for (auto& l : w->layerTable.layers) l.oppositeLayer = kNoOppositeLayer;
    w->layerTable.layers[1].planeBit = 1;
    w->layerTable.layers[2].planeBit = 2;
    ActiveWindowData = w.get();
    UpdateViewGlobals();
    pl3::g_raster.clip = &clip;
    pl3::g_raster.plane = plane.data();
    pl3::g_raster.width = static_cast<std::uint32_t>(width);
    pl3::g_raster.height = static_cast<std::uint32_t>(height);
  }
  ~View() {
    pl3::DeleteSurfaceDC(dc);
    ActiveWindowData = nullptr;
    pl3::g_raster.clip = nullptr;
    pl3::g_raster.plane = nullptr;
  }
  View(const View&) = delete;
  View& operator=(const View&) = delete;
};

// The seconds one call of fn takes, over `reps` calls after a first one.
template <class Fn>
double SecondsPerCall(Fn fn, int reps) {
  fn();
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < reps; ++i) {
    fn();
    benchmark::ClobberMemory();
  }
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / reps;
}

}  // namespace drawbench
