// Clean-up of a schematic page's wires (28) and buses (29) after an edit: lines
// are cut where another line ends on them or where a pin sits on a wire,
// collinear pieces that meet where nothing else meets are joined, repeats are
// dropped, and the result is stored with undo records under the active
// window's step. Only axis-parallel lines are cut and joined.
#pragma once
#include <cstdint>
#include <vector>

#include "edit/line_segments.h"
#include "geometry/types.h"

struct Tower;

// Runs the passes over the new segments (not yet in the active window's
// design), stores what remains, grows `dirty` by every changed box, updates
// the page's net-name locators and frees the list.
void CleanUpOrthogonalLines(LineSegment* list, pl3::Box* dirty);

// The point links of the page: for kind 28 every non-selected wire end (28)
// and pin of a non-selected placed schematic symbol (26), and with a template
// segment the bus contacts (29) at its ends; for kind 29 every non-selected
// bus end (29). With `restrict` only points inside the template's extent
// (edges included) are linked.
PointLink* BuildPointLinks(const Tower* design, std::uint16_t kind, const LineSegment* segment, int restrict);
// The codes of the link entries at the point, then the kind of every list
// segment with an end there.
std::vector<std::uint16_t> ItemsAtPoint(std::int32_t x, std::int32_t y, const PointLink* links,
                                        const LineSegment* list);
// The first shared end of a and b (a1 = b1, a2 = b1, a1 = b2, a2 = b2);
// when they share none the point is left unchanged and 0 is returned.
int CommonEnd(pl3::Point* point, const LineSegment& a, const LineSegment& b);
// 1 when the line's two x coordinates are equal, 2 when its y coordinates
// are, else 0.
int SegmentOrientation(const LineSegment& line);
// 1 when c equals a, else 2 when d equals b, else 0.
int MatchEitherValue(std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d);
