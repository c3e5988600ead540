#include "tests/support/png_bytes.h"

#include <zlib.h>

namespace pl3test {
namespace {

void PutBE(std::vector<std::uint8_t>& b, std::uint32_t v) {
  for (int s = 24; s >= 0; s -= 8) b.push_back(static_cast<std::uint8_t>(v >> s));
}

void Chunk(std::vector<std::uint8_t>& png, const std::string& type, const std::vector<std::uint8_t>& data) {
  PutBE(png, static_cast<std::uint32_t>(data.size()));
  std::vector<std::uint8_t> body(type.begin(), type.end());
  body.insert(body.end(), data.begin(), data.end());
  png.insert(png.end(), body.begin(), body.end());
  PutBE(png, static_cast<std::uint32_t>(crc32(0, body.data(), static_cast<uInt>(body.size()))));
}

}  // namespace

std::vector<std::uint8_t> MakePngBytes(int width, int height, int bitDepth, int colourType,
                                       const std::vector<std::uint8_t>& rows, const PngChunks& chunks) {
  std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  std::vector<std::uint8_t> header;
  PutBE(header, static_cast<std::uint32_t>(width));
  PutBE(header, static_cast<std::uint32_t>(height));
  header.insert(header.end(), {static_cast<std::uint8_t>(bitDepth), static_cast<std::uint8_t>(colourType), 0, 0, 0});
  Chunk(png, "IHDR", header);
  for (const auto& [type, data] : chunks) Chunk(png, type, data);
  const std::size_t rowBytes = height > 0 ? rows.size() / static_cast<std::size_t>(height) : 0;
  std::vector<std::uint8_t> raw;
  for (int y = 0; y < height; ++y) {
    raw.push_back(0);  // no filter
    raw.insert(raw.end(), rows.begin() + static_cast<std::ptrdiff_t>(y * rowBytes),
               rows.begin() + static_cast<std::ptrdiff_t>((y + 1) * rowBytes));
  }
  uLongf size = compressBound(static_cast<uLong>(raw.size()));
  std::vector<std::uint8_t> packed(size);
  compress(packed.data(), &size, raw.data(), static_cast<uLong>(raw.size()));
  packed.resize(size);
  Chunk(png, "IDAT", packed);
  Chunk(png, "IEND", {});
  return png;
}

}  // namespace pl3test
