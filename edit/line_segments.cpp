#include "edit/line_segments.h"

#include <algorithm>

#include "platform/user.h"

LineSegment* NewLineSegment(std::uint16_t kind, LineSegment* list, std::int32_t x1, std::int32_t y1, std::int32_t x2,
                            std::int32_t y2, std::uint32_t colourClass, std::uint32_t width, std::uint32_t sizeIndex) {
  if (x1 == x2 && y1 == y2) return list;
  return new LineSegment{kind, 0, colourClass, width, sizeIndex, x1, y1, x2, y2, list};
}

LineSegment* RemoveLineSegment(LineSegment* list, LineSegment* segment) {
  for (LineSegment** link = &list; *link; link = &(*link)->next) {
    if (*link != segment) continue;
    *link = segment->next;
    delete segment;
    return list;
  }
  MessageBox(nullptr, "Couldn't find line segment", "Error", MB_OK | MB_ICONEXCLAMATION);
  return list;
}

void FreeLineSegments(LineSegment* list) {
  while (list) {
    LineSegment* next = list->next;
    delete list;
    list = next;
  }
}

PointLink* AddPointLink(PointLink* links, std::int32_t x, std::int32_t y, std::uint16_t code, std::uint32_t value) {
  PointLink* node = links;
  while (node && (node->x != x || node->y != y)) node = node->next;
  if (!node) {
    node = new PointLink{x, y, {}, links};
    links = node;
  }
  node->entries.push_back({code, value});
  return links;
}

namespace {

bool Between(std::int32_t v, std::int32_t a, std::int32_t b) { return v > std::min(a, b) && v < std::max(a, b); }

// The point lies inside an axis-parallel segment, its ends left out.
bool InsideStraight(std::int32_t x, std::int32_t y, const LineSegment& s) {
  if (s.x1 == s.x2) return x == s.x1 && Between(y, s.y1, s.y2);
  if (s.y1 == s.y2) return y == s.y1 && Between(x, s.x1, s.x2);
  return false;
}

bool JoinsWire(const PointLink& node) {
  for (const PointLinkEntry& e : node.entries)
    if (e.code == kLinkWireEnd || (e.code == kLinkLocator && e.value == kLinkIoPortKind)) return true;
  return false;
}

}  // namespace

void AddWireJunctionLinks(PointLink* links, const LineSegment* segment) {
  if (!segment) return;
  for (PointLink* node = links; node; node = node->next) {
    const bool atEnd = (node->x == segment->x1 && node->y == segment->y1) ||
                       (node->x == segment->x2 && node->y == segment->y2);
    if (atEnd || (InsideStraight(node->x, node->y, *segment) && JoinsWire(*node)))
      node->entries.push_back({kLinkBusContact, 0});
  }
}

int PointLinkHasEntry(const PointLink* node, std::uint16_t code) {
  if (!node) return 0;
  for (const PointLinkEntry& e : node->entries)
    if (e.code == code) return 1;
  return 0;
}

void FreePointLinks(PointLink* links) {
  while (links) {
    PointLink* next = links->next;
    delete links;
    links = next;
  }
}
