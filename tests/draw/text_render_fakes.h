#pragma once
#include <cstdint>
#include <vector>

#include "draw/text_render_seams.h"

// What text drawing handed to the display-list builders.
struct TextRenderRecord {
  std::vector<std::uint8_t> polygonLayers;
  std::vector<std::uint8_t> outlineLayers;
};
TextRenderRecord& TextRenderCalls();
