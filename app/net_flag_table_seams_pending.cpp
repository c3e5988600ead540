// The walker-table fill (objects/frame_seams.h) until the frame's own lands
// with the drawing code's hit tests: every word of WalkTypeFlags takes the value.
#include <algorithm>
#include <iterator>

#include "objects/frame_seams.h"
#include "objects/walker.h"

void FillNetFlagTable(std::uint16_t value) { std::fill(std::begin(WalkTypeFlags), std::end(WalkTypeFlags), value); }
