// Recording fakes of the drawing the glyph walker hands on.
#include "tests/draw/text_render_fakes.h"

#include <cstring>

TextRenderRecord& TextRenderCalls() {
  static TextRenderRecord r;
  return r;
}

void DrawGlyphPolygon(void*, std::uint8_t mode, const void* polygon, std::uint32_t) {
  TextRenderCalls().polygonModes.push_back(mode);
  (void)polygon;
}
void GhostGlyphEdges(void*, const pl3::Point* points, std::uint32_t count) {
  TextRenderCalls().edges.emplace_back(points, points + count);
}
