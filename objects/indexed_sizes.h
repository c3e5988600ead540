// Converting the custom sizes of imported items to indexed sizes: each item
// takes the size list entry of its own size, found or added.
#pragma once
#include <cstdint>
#include <string>

struct Tower;

// The unit (0 thou, 1 inch, 2 mm, 3 cm) in which a length in internal units
// reads shortest as "%g", the earlier unit winning a tie; `text` gets that text.
std::uint32_t ShortestUnit(double length, std::string& text);

// For every item directly under the design whose type has a size list
// (tracks and other lines 1, 2, 10, 11, 19, 28, 29, 35, 37, the slots 46 and
// 47, circles 3, rectangles 6, holes 7) and whose size is custom (size flag
// bit 1): its real size, in the unit whose text is shortest and rounded to
// that text, is found among the entries of its list of the active window's
// table (the first value, or both for rectangles and vias) or appended as a
// nameless on entry; the item takes the entry's index, indexed and no longer
// custom. Returns the number of items converted.
std::uint32_t ConvertToIndexedSizes(const Tower* design);
