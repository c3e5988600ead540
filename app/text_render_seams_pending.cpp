// The program's stand-ins for draw/text_render_seams.h until the display-list
// builders land: texts add nothing to a display list.
#include "draw/text_render_seams.h"

void NewPolygonItem(const void*, std::uint32_t) {}
void AddGlyphToDisplayList(const std::uint8_t*, std::uint32_t, const pl3::Transform*, std::uint8_t) {}
