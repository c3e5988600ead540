// Cutting segments, runs and rectangles to the current ViewClip, in integers
// on view pixels, and the box tests that let whole shapes be skipped.
#pragma once
#include <cstdint>

#include "geometry/types.h"

namespace pl3 {

// The two ends of a line record in view pixels (record bytes 52-67).
struct ViewSegment {
  std::int32_t x1;
  std::int32_t y1;
  std::int32_t x2;
  std::int32_t y2;
};
static_assert(sizeof(ViewSegment) == 16);

// Clips the segment to `clip` in place: 1 when it lies wholly outside (the
// segment is untouched), 0 when it now holds the visible part, the end with
// the smaller y first.
int ClipSegment(const ViewClip& clip, ViewSegment* seg);
// ClipSegment against the kernel's current clip.
int ClipSegmentToView(ViewSegment* seg);

// Run cuts: false when the run is dropped, else the run is cut to the clip.
bool ClipHorizontalRun(const ViewClip& clip, std::int32_t& x0, std::int32_t& x1, std::int32_t y);
bool ClipVerticalRun(const ViewClip& clip, std::int32_t x, std::int32_t& y0, std::int32_t& y1);

// Orders, tests and cuts a rectangle to the current clip and fills it, one
// horizontal run per row or one vertical run when it is one column wide.
void FillClippedRect(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1);

// The thick segment test for a segment of half-width w (ends ordered by y
// inside): true when it may be visible and must be drawn.
bool ThickSegmentVisible(const ViewClip& clip, std::int32_t x1, std::int32_t y1, std::int32_t x2,
                         std::int32_t y2, std::int32_t w);
// The disc test: false when the disc's box misses the clip.
bool DiscVisible(const ViewClip& clip, std::int32_t cx, std::int32_t cy, std::int32_t r);

}  // namespace pl3
