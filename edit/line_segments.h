// The scratch lists of schematic wire editing: line segments (wires and buses
// that are not in the design yet) and point links (what meets at each point
// of a page). Both live for one operation; the schematic editor builds on
// them too.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// One wire (28) or bus (29) segment. New segments go to the head of a list.
struct LineSegment {
  std::uint16_t kind;
  std::uint16_t spare;
  std::uint32_t colourClass;  // the item's colour class byte
  std::uint32_t width;
  std::uint32_t sizeIndex;
  std::int32_t x1, y1, x2, y2;
  LineSegment* next;
};
static_assert(offsetof(LineSegment, colourClass) == 4);
static_assert(offsetof(LineSegment, x1) == 16 && offsetof(LineSegment, y2) == 28);
static_assert(offsetof(LineSegment, next) == 32);

// Entry codes of a point link.
constexpr std::uint16_t kLinkWireEnd = 28;
constexpr std::uint16_t kLinkBusContact = 29;
constexpr std::uint16_t kLinkPin = 26;
constexpr std::uint16_t kLinkLocator = 20;
// The locator kind of an IO port, the value of its link entry.
constexpr std::uint32_t kLinkIoPortKind = 9;

struct PointLinkEntry {
  std::uint16_t code;
  std::uint32_t value;
};

// Everything that meets at one point.
struct PointLink {
  std::int32_t x, y;
  std::vector<PointLinkEntry> entries;
  PointLink* next;
};

// Prepends a segment and returns the new head; a zero-length segment is not
// added (the list comes back unchanged).
LineSegment* NewLineSegment(std::uint16_t kind, LineSegment* list, std::int32_t x1, std::int32_t y1, std::int32_t x2,
                            std::int32_t y2, std::uint32_t colourClass, std::uint32_t width, std::uint32_t sizeIndex);
// Unlinks and frees one segment and returns the new head; a segment that is
// not in the list shows "Couldn't find line segment" and the list stays.
LineSegment* RemoveLineSegment(LineSegment* list, LineSegment* segment);
void FreeLineSegments(LineSegment* list);

// Adds the entry (code, value) to the node of (x, y), creating the node at
// the head when there is none; returns the new head.
PointLink* AddPointLink(PointLink* links, std::int32_t x, std::int32_t y, std::uint16_t code, std::uint32_t value);
// Adds a bus contact (29, 0) at every node on an end of the segment, and at
// every node strictly inside a horizontal or vertical segment that holds a
// wire end (28) or an IO port locator (20 with kind 9).
void AddWireJunctionLinks(PointLink* links, const LineSegment* segment);
// 1 when the node holds an entry with the code.
int PointLinkHasEntry(const PointLink* node, std::uint16_t code);
void FreePointLinks(PointLink* links);
