// The program's stand-ins for what the dimensioners ask of the drawing code
// and the editing engine (objects/dimensioner_seams.h) until their owners
// land: no construction ghost is drawn and no item is found under the cursor,
// so placed points snap to the grid alone. The pieces themselves are
// draw/dimensioner_pieces.cpp.
#include "objects/dimensioner_seams.h"

void GhostWorldLine(void*, pl3::Point, pl3::Point) {}
void GhostWorldCircle(void*, pl3::Point, std::int32_t) {}
Tower* FindItemsNearPoint(std::int32_t, std::int32_t, int, int) { return nullptr; }
void GetBox(const Tower*, pl3::Box* box) { *box = pl3::kEmptyBox; }
