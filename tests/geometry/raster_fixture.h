// A small layer plane bound to the raster kernel for one test, with helpers
// to read pixels by view coordinates and to render the plane as text.
#pragma once
#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "geometry/raster_state.h"
#include "geometry/types.h"
#include "geometry/view_mapping.h"

namespace geomtest {

using PixelSet = std::set<std::pair<int, int>>;

struct Plane {
  int width;
  int height;
  std::vector<std::uint32_t> words;
  std::vector<std::uint32_t> colours;
  pl3::ViewClip clip;
  pl3::ViewMapping view{0, 0, 1};

  Plane(int w, int h) : width(w), height(h), words(static_cast<std::size_t>(w) * h), colours(words.size()) {
    clip = {0, 0, w - 1, h - 1, w, h};
    pl3::g_raster.plane = words.data();
    pl3::g_raster.colourBuffer = colours.data();
    pl3::g_raster.width = static_cast<std::uint32_t>(w);
    pl3::g_raster.height = static_cast<std::uint32_t>(h);
    pl3::g_raster.clip = &clip;
    pl3::g_raster.view = &view;
    pl3::g_raster.viewFactor = pl3::ViewFactorForZoom(view.zoom);
    pl3::g_raster.fillValue = 1;
  }
  Plane(const Plane&) = delete;
  Plane& operator=(const Plane&) = delete;

  std::uint32_t& At(int x, int y) { return words[static_cast<std::size_t>(height - 1 - y) * width + x]; }

  PixelSet Lit() {
    PixelSet s;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        if (At(x, y) != 0) s.insert({x, y});
    return s;
  }

  void Clear() { std::fill(words.begin(), words.end(), 0u); }

  // Rows top (y = 0) first: '#' for a set word, '.' for zero.
  std::string Picture() {
    std::string out;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) out += At(x, y) ? '#' : '.';
      out += '\n';
    }
    return out;
  }
};

}  // namespace geomtest
