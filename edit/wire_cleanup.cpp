#include "edit/wire_cleanup.h"

#include <algorithm>
#include <cstring>

#include "edit/window_data.h"
#include "edit/schematic_pins.h"
#include "geometry/box_margins.h"
#include "geometry/graphic_layouts.h"
#include "objects/attribute_services.h"
#include "objects/dimensioner_seams.h"
#include "objects/type_codes.h"
#include "objects/undo_seams.h"
#include "store/tower.h"

namespace {

constexpr std::uint16_t kPlacedSchematicSymbol = 30;
constexpr std::uint32_t kStoredLineBytes = 72;

bool IsSelected(const Entity* e) { return (e->flags & kEntitySelected) != 0; }

// A stored wire or bus read as a segment; false for a payload too short to hold one.
bool ReadLine(const Entity* e, LineSegment* line) {
  if (!e || e->payloadSize < sizeof(pl3::TrackLayout)) return false;
  pl3::TrackLayout l;
  std::memcpy(&l, EntityPayload(e), sizeof l);
  *line = {e->typeCode, 0, l.head.layer, static_cast<std::uint32_t>(l.width), l.head.sizeIndex,
           l.x1,        l.y1, l.x2,     l.y2,                                 nullptr};
  return true;
}

// Calls visit(tower, line) for every wire or bus of the kind (0: both) under
// the design, skipping selected items when asked; stops at the first visit
// that answers true and returns true then. The Tower stands on the item.
template <typename Visit>
bool ForEachPageLine(const Tower* design, std::uint16_t kind, bool skipSelected, Visit&& visit) {
  for (std::uint16_t code : {Type_Wire, Type_Bus}) {
    if (kind && kind != code) continue;
    Tower* t = GetChildTower(design, code);
    if (!t) continue;
    bool stopped = false;
    LineSegment line;
    while (Entity* e = FindNextEntity(t)) {
      if (skipSelected && IsSelected(e)) continue;
      if (!ReadLine(e, &line)) continue;
      if (visit(t, line)) {
        stopped = true;
        break;
      }
    }
    ReleaseTower(&t);
    if (stopped) return true;
  }
  return false;
}

bool SameEnd(std::int32_t xa, std::int32_t ya, std::int32_t xb, std::int32_t yb) { return xa == xb && ya == yb; }

// The two segments join the same two points, in either direction.
bool SameEnds(const LineSegment& a, const LineSegment& b) {
  return (SameEnd(a.x1, a.y1, b.x1, b.y1) && SameEnd(a.x2, a.y2, b.x2, b.y2)) ||
         (SameEnd(a.x1, a.y1, b.x2, b.y2) && SameEnd(a.x2, a.y2, b.x1, b.y1));
}

bool Inside(std::int32_t v, std::int32_t a, std::int32_t b) { return v > std::min(a, b) && v < std::max(a, b); }

// The point lies on the line strictly between its ends.
bool StrictlyOnLine(std::int32_t x, std::int32_t y, const LineSegment& s) {
  const std::int64_t dx = std::int64_t{s.x2} - s.x1, dy = std::int64_t{s.y2} - s.y1;
  if (dx * (std::int64_t{y} - s.y1) != dy * (std::int64_t{x} - s.x1)) return false;
  if (SameEnd(x, y, s.x1, s.y1) || SameEnd(x, y, s.x2, s.y2)) return false;
  return dx ? Inside(x, s.x1, s.x2) : Inside(y, s.y1, s.y2);
}

// The splitting rule: the point lies inside an axis-parallel segment.
bool Splits(std::int32_t x, std::int32_t y, const LineSegment& s) {
  switch (SegmentOrientation(s)) {
    case 1: return x == s.x1 && Inside(y, s.y1, s.y2);
    case 2: return y == s.y1 && Inside(x, s.x1, s.x2);
    default: return false;
  }
}

struct Extent {
  std::int32_t xmin, ymin, xmax, ymax;
};
Extent ExtentOf(const LineSegment& s) {
  return {std::min(s.x1, s.x2), std::min(s.y1, s.y2), std::max(s.x1, s.x2), std::max(s.y1, s.y2)};
}
bool InExtent(std::int32_t x, std::int32_t y, const Extent& e) {
  return x >= e.xmin && x <= e.xmax && y >= e.ymin && y <= e.ymax;
}

// The two pieces of s cut at the point, from its low end and to its high end.
LineSegment* AddPieces(LineSegment* list, const LineSegment& s, std::int32_t x, std::int32_t y,
                       std::uint32_t colourClass, std::uint32_t width, std::uint32_t sizeIndex) {
  const bool firstLow = SegmentOrientation(s) == 1 ? s.y1 <= s.y2 : s.x1 <= s.x2;
  const std::int32_t lx = firstLow ? s.x1 : s.x2, ly = firstLow ? s.y1 : s.y2;
  const std::int32_t hx = firstLow ? s.x2 : s.x1, hy = firstLow ? s.y2 : s.y1;
  list = NewLineSegment(s.kind, list, lx, ly, x, y, colourClass, width, sizeIndex);
  return NewLineSegment(s.kind, list, x, y, hx, hy, colourClass, width, sizeIndex);
}

struct Cleanup {
  const Tower* design;
  CurrentWindowData& window;
  pl3::Box* dirty;
  LineSegment* list;

  void Dirty(const Tower* item) {
    pl3::Box box{};
    if (GetBox(item, &box)) pl3::UnionBox(dirty, &box);
  }
  // Records the removal of the page item the Tower stands on and deletes it.
  void RemoveItem(Tower* item) {
    Dirty(item);
    Tower* entry = RecordUndoRemove(item, window.UndoStep);
    ReleaseTower(&entry);
    DeleteEntity(item);
  }
  void Drop(LineSegment* s) { list = RemoveLineSegment(list, s); }

  // A non-selected bus ends at the point or passes through it.
  bool BusContactAt(pl3::Point p) const {
    return ForEachPageLine(design, Type_Bus, true, [&](Tower*, const LineSegment& bus) {
      return SameEnd(p.x, p.y, bus.x1, bus.y1) || SameEnd(p.x, p.y, bus.x2, bus.y2) || StrictlyOnLine(p.x, p.y, bus);
    });
  }

  // The joining rule: a and b may become one line through the returned point.
  // Links built without a template segment hold no bus contacts, so wires
  // ask the page for them: two wires that meet on a bus stay two, else the
  // bus would lose the wire end that connects it.
  bool Joinable(const LineSegment& a, const LineSegment& b, const PointLink* links, pl3::Point* at) const {
    if (a.kind != b.kind) return false;
    const int orientation = SegmentOrientation(a);
    if (!orientation || orientation != SegmentOrientation(b)) return false;
    if (orientation == 1 ? a.x1 != b.x1 : a.y1 != b.y1) return false;
    if (!CommonEnd(at, a, b)) return false;
    const std::vector<std::uint16_t> codes = ItemsAtPoint(at->x, at->y, links, list);
    if (a.kind == Type_Wire && std::any_of(codes.begin(), codes.end(), [](std::uint16_t c) {
          return c == kLinkBusContact || c == kLinkPin;
        }))
      return false;
    if (codes.size() > 2) return false;
    return a.kind != Type_Wire || !BusContactAt(*at);
  }
  static void Joined(const LineSegment& a, const LineSegment& b, LineSegment* out) {
    *out = a;
    if (SegmentOrientation(a) == 1) {
      out->y1 = std::min({a.y1, a.y2, b.y1, b.y2});
      out->y2 = std::max({a.y1, a.y2, b.y1, b.y2});
    } else {
      out->x1 = std::min({a.x1, a.x2, b.x1, b.x2});
      out->x2 = std::max({a.x1, a.x2, b.x1, b.x2});
    }
  }
  void Push(const LineSegment& s, const LineSegment& values) {
    list = NewLineSegment(s.kind, list, s.x1, s.y1, s.x2, s.y2, values.colourClass, values.width, values.sizeIndex);
  }

  // Pass 1: joins two stored lines of a kind into a new segment.
  bool MergeStoredPair() {
    for (std::uint16_t kind : {Type_Wire, Type_Bus}) {
      PointLink* links = BuildPointLinks(design, kind, nullptr, 0);
      const bool joined = ForEachPageLine(design, kind, true, [&](Tower* a, const LineSegment& la) {
        const NodeRef aRef = NodeRefOf(TowerEntity(a));
        return ForEachPageLine(design, kind, true, [&](Tower* b, const LineSegment& lb) {
          pl3::Point at{};
          if (NodeRefOf(TowerEntity(b)) == aRef || !Joinable(la, lb, links, &at)) return false;
          LineSegment joint;
          Joined(la, lb, &joint);
          RemoveItem(b);
          RemoveItem(a);
          Push(joint, la);
          return true;
        });
      });
      FreePointLinks(links);
      if (joined) return true;
    }
    return false;
  }

  // Pass 2: stored wires cut at the pins that sit inside them.
  bool SplitStoredAtPin() {
    PointLink* links = BuildPointLinks(design, Type_Wire, nullptr, 0);
    const bool cut = ForEachPageLine(design, Type_Wire, true, [&](Tower* t, const LineSegment& w) {
      for (const PointLink* n = links; n; n = n->next) {
        if (!PointLinkHasEntry(n, kLinkPin) || !Splits(n->x, n->y, w)) continue;
        list = AddPieces(list, w, n->x, n->y, w.colourClass, w.width, w.sizeIndex);
        RemoveItem(t);
        return true;
      }
      return false;
    });
    FreePointLinks(links);
    return cut;
  }

  // Pass 3: new wires cut at pins.
  bool SplitNewAtPin() {
    PointLink* links = BuildPointLinks(design, Type_Wire, nullptr, 0);
    bool cut = false;
    for (LineSegment* s = list; s && !cut; s = s->next) {
      if (s->kind != Type_Wire) continue;
      for (const PointLink* n = links; n; n = n->next) {
        if (!PointLinkHasEntry(n, kLinkPin) || !Splits(n->x, n->y, *s)) continue;
        const LineSegment old = *s;
        Drop(s);
        list = AddPieces(list, old, n->x, n->y, old.colourClass, old.width, old.sizeIndex);
        cut = true;
        break;
      }
    }
    FreePointLinks(links);
    return cut;
  }

  // Pass 4: new segments cut at the ends of stored lines of their kind.
  bool SplitNewAtStoredEnd() {
    for (LineSegment* s = list; s; s = s->next) {
      const LineSegment seg = *s;
      pl3::Point at{};
      const bool found = ForEachPageLine(design, seg.kind, true, [&](Tower*, const LineSegment& e) {
        if (Splits(e.x1, e.y1, seg)) at = {e.x1, e.y1};
        else if (Splits(e.x2, e.y2, seg)) at = {e.x2, e.y2};
        else return false;
        return true;
      });
      if (!found) continue;
      Drop(s);
      list = AddPieces(list, seg, at.x, at.y, seg.colourClass, seg.width, seg.sizeIndex);
      return true;
    }
    return false;
  }

  // Pass 5: stored lines cut at the ends of new segments of their kind.
  bool SplitStoredAtNewEnd() {
    return ForEachPageLine(design, 0, true, [&](Tower* t, const LineSegment& e) {
      for (const LineSegment* s = list; s; s = s->next) {
        if (s->kind != e.kind) continue;
        pl3::Point at{};
        if (Splits(s->x1, s->y1, e)) at = {s->x1, s->y1};
        else if (Splits(s->x2, s->y2, e)) at = {s->x2, s->y2};
        else continue;
        const std::uint32_t colour = s->colourClass, width = s->width;
        list = AddPieces(list, e, at.x, at.y, colour, width, e.sizeIndex);
        RemoveItem(t);
        return true;
      }
      return false;
    });
  }

  // Pass 6: new segments cut at each other's ends.
  bool SplitNewAtNewEnd() {
    for (LineSegment* a = list; a; a = a->next) {
      for (LineSegment* b = list; b; b = b->next) {
        if (a == b || a->kind != b->kind) continue;
        pl3::Point at{};
        if (Splits(a->x1, a->y1, *b)) at = {a->x1, a->y1};
        else if (Splits(a->x2, a->y2, *b)) at = {a->x2, a->y2};
        else continue;
        const LineSegment old = *b;
        const std::uint32_t colour = a->colourClass, width = a->width;
        Drop(b);
        list = AddPieces(list, old, at.x, at.y, colour, width, old.sizeIndex);
        return true;
      }
    }
    return false;
  }

  // Pass 7: repeated segments, and segments that repeat a stored line. A
  // repeat joins the same two points: for a horizontal or vertical segment
  // that is the same as spanning the same extent, but two diagonals that
  // cross as an X share their extent and are both kept.
  void RemoveRepeats() {
    for (bool again = true; again;) {
      again = false;
      for (LineSegment* a = list; a && !again; a = a->next) {
        for (LineSegment* b = a->next; b; b = b->next) {
          if (b->kind != a->kind || !SameEnds(*a, *b)) continue;
          Drop(b);
          again = true;
          break;
        }
      }
    }
    for (bool again = true; again;) {
      again = false;
      for (LineSegment* s = list; s; s = s->next) {
        const LineSegment seg = *s;
        const bool stored = ForEachPageLine(design, seg.kind, true,
                                            [&](Tower*, const LineSegment& e) { return SameEnds(e, seg); });
        if (!stored) continue;
        Drop(s);
        again = true;
        break;
      }
    }
  }

  // Pass 8: new segments joined pairwise.
  bool MergeNewPair() {
    for (LineSegment* a = list; a; a = a->next) {
      PointLink* links = BuildPointLinks(design, a->kind, a, 1);
      for (LineSegment* b = list; b; b = b->next) {
        pl3::Point at{};
        if (a == b || !Joinable(*a, *b, links, &at)) continue;
        LineSegment joint;
        Joined(*a, *b, &joint);
        const LineSegment values = *a;
        Drop(a);
        Drop(b);
        Push(joint, values);
        FreePointLinks(links);
        return true;
      }
      FreePointLinks(links);
    }
    return false;
  }

  // Pass 9: new segments joined with stored lines.
  bool MergeNewWithStored() {
    for (std::uint16_t kind : {Type_Wire, Type_Bus}) {
      PointLink* links = BuildPointLinks(design, kind, nullptr, 0);
      const bool joined = ForEachPageLine(design, kind, true, [&](Tower* t, const LineSegment& e) {
        for (LineSegment* s = list; s; s = s->next) {
          pl3::Point at{};
          if (!Joinable(e, *s, links, &at)) continue;
          LineSegment joint;
          Joined(e, *s, &joint);
          Drop(s);
          RemoveItem(t);
          Push(joint, e);
          return true;
        }
        return false;
      });
      FreePointLinks(links);
      if (joined) return true;
    }
    return false;
  }

  // Pass 12: every remaining segment becomes a stored line.
  void Store() {
    while (list) {
      const LineSegment& s = *list;
      pl3::TrackLayout l{};
      l.head.layer = static_cast<std::uint8_t>(s.colourClass);
      l.head.sizeFlags = pl3::kSizeIndexed;
      l.head.sizeIndex = s.sizeIndex;
      l.head.transform = pl3::kIdentityTransform;
      l.width = static_cast<std::int32_t>(s.width);
      l.x1 = s.x1;
      l.y1 = s.y1;
      l.x2 = s.x2;
      l.y2 = s.y2;
      std::uint8_t bytes[kStoredLineBytes]{};
      std::memcpy(bytes, &l, sizeof l);
      if (Tower* t = InsertEntity(design, kStoredLineBytes, s.kind, bytes)) {
        Dirty(t);
        RecordUndoInsert(NodeRefOf(TowerEntity(t)), window.UndoStep);
        ReleaseTower(&t);
      }
      Drop(list);
    }
  }
};

}  // namespace

int SegmentOrientation(const LineSegment& line) {
  if (line.x1 == line.x2) return 1;
  if (line.y1 == line.y2) return 2;
  return 0;
}

int MatchEitherValue(std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d) {
  if (c == a) return 1;
  if (d == b) return 2;
  return 0;
}

int CommonEnd(pl3::Point* point, const LineSegment& a, const LineSegment& b) {
  const pl3::Point a1{a.x1, a.y1}, a2{a.x2, a.y2}, b1{b.x1, b.y1}, b2{b.x2, b.y2};
  const pl3::Point pairs[4][2] = {{a1, b1}, {a2, b1}, {a1, b2}, {a2, b2}};
  for (const auto& pair : pairs) {
    if (!SameEnd(pair[0].x, pair[0].y, pair[1].x, pair[1].y)) continue;
    *point = pair[0];
    return 1;
  }
  return 0;
}

PointLink* BuildPointLinks(const Tower* design, std::uint16_t kind, const LineSegment* segment, int restrict) {
  PointLink* links = nullptr;
  const Extent extent = segment ? ExtentOf(*segment) : Extent{};
  const bool limited = restrict && segment;
  auto add = [&](std::int32_t x, std::int32_t y, std::uint16_t code) {
    if (!limited || InExtent(x, y, extent)) links = AddPointLink(links, x, y, code, 0);
  };
  if (!design) return nullptr;
  const std::uint16_t ends = kind == Type_Bus ? Type_Bus : Type_Wire;
  ForEachPageLine(design, ends, true, [&](Tower*, const LineSegment& l) {
    add(l.x1, l.y1, ends == Type_Bus ? kLinkBusContact : kLinkWireEnd);
    add(l.x2, l.y2, ends == Type_Bus ? kLinkBusContact : kLinkWireEnd);
    return false;
  });
  if (kind == Type_Bus) return links;

  if (Tower* symbols = GetChildTower(design, kPlacedSchematicSymbol)) {
    while (Entity* e = FindNextEntity(symbols)) {
      if (IsSelected(e)) continue;
      pl3::Point pin{};
      for (int i = 0; GetSchematicSymbolPinPoint(symbols, i, &pin); ++i) add(pin.x, pin.y, kLinkPin);
    }
    ReleaseTower(&symbols);
  }
  if (segment) {
    ForEachPageLine(design, Type_Bus, true, [&](Tower*, const LineSegment& bus) {
      for (const pl3::Point end : {pl3::Point{segment->x1, segment->y1}, pl3::Point{segment->x2, segment->y2}}) {
        if (SameEnd(end.x, end.y, bus.x1, bus.y1) || SameEnd(end.x, end.y, bus.x2, bus.y2) ||
            StrictlyOnLine(end.x, end.y, bus))
          add(end.x, end.y, kLinkBusContact);
      }
      return false;
    });
  }
  return links;
}

std::vector<std::uint16_t> ItemsAtPoint(std::int32_t x, std::int32_t y, const PointLink* links,
                                        const LineSegment* list) {
  std::vector<std::uint16_t> codes;
  for (const PointLink* n = links; n; n = n->next) {
    if (n->x != x || n->y != y) continue;
    for (const PointLinkEntry& e : n->entries) codes.push_back(e.code);
  }
  for (const LineSegment* s = list; s; s = s->next) {
    if (SameEnd(s->x1, s->y1, x, y) || SameEnd(s->x2, s->y2, x, y)) codes.push_back(s->kind);
  }
  return codes;
}

void CleanUpOrthogonalLines(LineSegment* list, pl3::Box* dirty) {
  CurrentWindowData* window = ActiveWindowData;
  if (!window || !window->design) {
    FreeLineSegments(list);
    return;
  }
  Cleanup c{window->design, *window, dirty, list};
  while (c.MergeStoredPair()) {}
  while (c.SplitStoredAtPin()) {}
  while (c.SplitNewAtPin()) {}
  while (c.SplitNewAtStoredEnd()) {}
  while (c.SplitStoredAtNewEnd()) {}
  while (c.SplitNewAtNewEnd()) {}
  c.RemoveRepeats();
  while (c.MergeNewPair()) {}
  while (c.MergeNewWithStored()) {}
  while (c.MergeStoredPair()) {}
  c.RemoveRepeats();
  c.Store();
  UpdateNetNameLocators(window->design, 0);
}
