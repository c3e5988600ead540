// Native outline buffers are read record by record from sizes they state
// themselves: any bytes must parse without reading past the end, every
// contour must index its own points, and what parses must tessellate with
// every triangle corner a point of the outline.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "geometry/glyph_fonts.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  GlyphOutline g;
  ParseNativeOutline(data, size, g);
  for (const GlyphContour& c : g.contours)
    if (c.first > c.last || c.last >= g.points.size()) std::abort();
  // Coordinates as large as a 16.16 value can be are fine for the tessellator;
  // keep the work per input small.
  if (g.points.size() > 2000) return 0;
  TriangulateGlyphOutline(g);
  for (const GlyphTriangle& t : g.triangles)
    for (std::uint32_t k : t.corner)
      if (k >= g.points.size()) std::abort();
  return 0;
}
