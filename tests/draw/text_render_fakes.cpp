// Recording fakes of the display-list builders that mode 9 hands glyphs to.
#include "tests/draw/text_render_fakes.h"

#include "objects/graphic_records.h"

TextRenderRecord& TextRenderCalls() {
  static TextRenderRecord r;
  return r;
}

void NewPolygonItem(const void* polygon, std::uint32_t) {
  TextRenderCalls().polygonLayers.push_back(static_cast<const PolygonHead*>(polygon)->head.layer);
}
void AddGlyphToDisplayList(const std::uint8_t*, std::uint32_t, const pl3::Transform*, std::uint8_t layer) {
  TextRenderCalls().outlineLayers.push_back(layer);
}
