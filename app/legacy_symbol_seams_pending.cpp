// The program's stand-in for drawing a placed earlier-generation symbol
// (draw/display_list_seams.h) until the import of earlier-generation designs
// lands: such a symbol draws nothing and adds nothing to the display list.
#include "draw/display_list_seams.h"

std::int32_t DrawPl2Symbol(const Tower*, void*, const pl3::Transform*, std::uint8_t) { return 0; }
