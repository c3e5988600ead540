#include "edit/line_segments.h"

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
