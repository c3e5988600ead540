#pragma once
#include <cstdint>
#include <vector>

#include "draw/text_render_seams.h"

struct TextRenderRecord {
  std::vector<std::uint8_t> polygonModes;
  std::vector<std::vector<pl3::Point>> edges;
};
TextRenderRecord& TextRenderCalls();
