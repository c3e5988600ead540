// The program's stand-ins for draw/text_render_seams.h until the ghosts and
// the immediate drawing land: glyph polygons and outline ghosts are not drawn.
#include "draw/text_render_seams.h"

void DrawGlyphPolygon(void*, std::uint8_t, const void*, std::uint32_t) {}
void GhostGlyphEdges(void*, const pl3::Point*, std::uint32_t) {}
