// PNG files made in memory for tests: any colour type and bit depth, rows
// given as stored (without their filter bytes), extra chunks before the data.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace pl3test {

using PngChunks = std::vector<std::pair<std::string, std::vector<std::uint8_t>>>;

// Colour types: 0 grey, 2 RGB, 3 palette (give "PLTE", and "tRNS" for
// transparency, in `chunks`), 6 RGBA.
std::vector<std::uint8_t> MakePngBytes(int width, int height, int bitDepth, int colourType,
                                       const std::vector<std::uint8_t>& rows, const PngChunks& chunks = {});

}  // namespace pl3test
