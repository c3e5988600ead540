// What text drawing asks of the display-list builders (mode 9), which are
// built elsewhere. Until they land the program links the stand-ins of
// app/text_render_seams_pending.cpp, which add nothing; tests link recording
// fakes.
#pragma once
#include <cstdint>

#include "geometry/types.h"

// The polygon builder: one glyph polygon (a polygon payload of `size` bytes,
// its points already in world units, on the text's layer) as a polygon item
// of the window's display list.
void NewPolygonItem(const void* polygon, std::uint32_t size);
// One glyph outline record (type 40, `size` bytes) as a glyph item, its own
// transform composed with `transform`, on the layer.
void AddGlyphToDisplayList(const std::uint8_t* outline, std::uint32_t size, const pl3::Transform* transform,
                           std::uint8_t layer);
