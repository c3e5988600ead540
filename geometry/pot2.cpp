#include "geometry/pot2.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "platform/reset_hooks.h"
#include "store/seams.h"

namespace pl3 {
namespace {

double Diff(std::int32_t a, std::int32_t b) {
  return static_cast<double>(static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b)));
}

double Cross(double ux, double uy, double vx, double vy) { return ux * vy - uy * vx; }

// 1 when the turn at the leftmost point is not clockwise.
int Orientation(std::uint32_t n, const Point* p) {
  std::uint32_t m = 0;
  std::uint32_t best = 0x7FFFFFFF;
  for (std::uint32_t i = 0; i < n; ++i) {
    if (static_cast<std::uint32_t>(p[i].x) < best) {
      best = static_cast<std::uint32_t>(p[i].x);
      m = i;
    }
  }
  const Point& prev = p[m == 0 ? n - 1 : m - 1];
  const Point& next = p[m + 1 == n ? 0 : m + 1];
  const Point& pm = p[m];
  const double c = Diff(next.x, pm.x) * Diff(prev.y, pm.y) - Diff(next.y, pm.y) * Diff(prev.x, pm.x);
  return c < 0 ? 0 : 1;
}

// The box of a segment with its coordinates taken as unsigned, as the crossing
// test takes them: segments whose boxes do not meet cannot cross.
struct UBox {
  std::uint32_t x0, y0, x1, y1;
};

UBox BoxOf(const Point& a, const Point& b) {
  const auto ax = static_cast<std::uint32_t>(a.x), ay = static_cast<std::uint32_t>(a.y);
  const auto bx = static_cast<std::uint32_t>(b.x), by = static_cast<std::uint32_t>(b.y);
  return {std::min(ax, bx), std::min(ay, by), std::max(ax, bx), std::max(ay, by)};
}

// The shortest-valid-diagonal split, without its cubic table.
//
// The plain method fills a table of every valid diagonal's squared length,
// then splits each index list at its smallest entry (ties: the first pair in
// index order). Validity depends on the outline alone, and a sub-list's
// smallest entry is never smaller than its parent's, so the diagonal every
// list splits at is the first one, in the order (length, smaller index,
// larger index), that is valid and crosses no diagonal chosen before it.
// Walking the candidates in that order and keeping each valid one that
// lands inside a single unsplit list therefore builds the same split tree;
// a list where none lands is split at (0, 2) over and over, as the plain
// method does when it finds no entry. Candidates are ordered lazily (by
// buckets of length, each sorted when reached, after the candidates whose
// ends no longer share a list have left it), the walk stops when every list
// is a triangle, and the crossing test against the outline tests exactly only
// the edges whose boxes meet the diagonal's.

struct Candidate {
  double key;  // squared length
  std::uint32_t i, j;
};

bool Before(const Candidate& x, const Candidate& y) {
  if (x.key != y.key) return x.key < y.key;
  if (x.i != y.i) return x.i < y.i;
  return x.j < y.j;
}

constexpr std::uint32_t kUnsplit = 0xFFFFFFFFu;

// A list of the split tree: unsplit, or split at indices a < b into the
// first sub-list (child) and the second (child + 1).
struct Node {
  std::uint32_t a = kUnsplit, b = 0, child = 0;
};

// The outline's edge boxes, one array per side, in the unsigned coordinates
// the crossing test uses, shifted by 2^31 so that signed comparisons order
// them: the box test then runs over every edge at once in vector registers.
struct EdgeBoxes {
  std::vector<std::int32_t> x0, y0, x1, y1;  // edge k runs from point k to point k - 1
  std::vector<std::uint8_t> meets;            // per edge, padded to whole words
};

std::int32_t Ordered(std::uint32_t v) { return static_cast<std::int32_t>(v ^ 0x80000000u); }

void BuildEdgeBoxes(std::uint32_t n, const Point* p, EdgeBoxes& e) {
  e.x0.resize(n);
  e.y0.resize(n);
  e.x1.resize(n);
  e.y1.resize(n);
  e.meets.assign((n + 7) / 8 * 8, 0);
  for (std::uint32_t k = 0; k < n; ++k) {
    const UBox b = BoxOf(p[k], p[k == 0 ? n - 1 : k - 1]);
    e.x0[k] = Ordered(b.x0);
    e.y0[k] = Ordered(b.y0);
    e.x1[k] = Ordered(b.x1);
    e.y1[k] = Ordered(b.y1);
  }
}

// The outline test of a diagonal from i to j: it may meet no edge that has
// neither i nor j as an end point. The boxes sort out the few edges worth the
// exact test.
bool CrossesNoEdge(std::uint32_t n, const Point* p, EdgeBoxes& e, std::uint32_t i, std::uint32_t j) {
  const UBox d = BoxOf(p[j], p[i]);
  const std::int32_t dx0 = Ordered(d.x0), dy0 = Ordered(d.y0), dx1 = Ordered(d.x1), dy1 = Ordered(d.y1);
  const std::int32_t *x0 = e.x0.data(), *y0 = e.y0.data(), *x1 = e.x1.data(), *y1 = e.y1.data();
  std::uint8_t* const meets = e.meets.data();
  for (std::uint32_t k = 0; k < n; ++k)
    meets[k] = static_cast<std::uint8_t>((x0[k] <= dx1) & (dx0 <= x1[k]) & (y0[k] <= dy1) & (dy0 <= y1[k]));
  // The edges ending at i or j.
  meets[i] = meets[i + 1 == n ? 0 : i + 1] = 0;
  meets[j] = meets[j + 1 == n ? 0 : j + 1] = 0;
  static_assert(std::endian::native == std::endian::little, "a word's lowest byte is its first edge");
  for (std::uint32_t w = 0; w < n; w += 8) {
    std::uint64_t word;
    std::memcpy(&word, meets + w, sizeof word);
    for (; word; word &= word - 1) {
      const std::uint32_t k = w + static_cast<std::uint32_t>(__builtin_ctzll(word)) / 8;
      if (SegmentsIntersect(p[j], p[i], p[k], p[k == 0 ? n - 1 : k - 1])) return false;
    }
  }
  return true;
}

// The unsplit lists as bit sets of their indices, and for each index the
// indices it may share an unsplit list with: a diagonal crosses none chosen
// so far exactly when its two ends share a list.
struct Lists {
  std::size_t words = 1;
  std::vector<std::uint64_t> shared;  // per index
  std::vector<std::uint64_t> members; // per unsplit list
  std::vector<std::uint32_t> node;    // the split tree's node of each unsplit list
  std::vector<std::uint64_t> mask;    // scratch: one set

  std::uint64_t* Shared(std::uint32_t v) { return shared.data() + v * words; }
  std::uint64_t* Members(std::size_t list) { return members.data() + list * words; }
  static bool Has(const std::uint64_t* set, std::uint32_t v) { return (set[v / 64] >> (v % 64)) & 1; }
  // Without branches: in a walk most pairs fail, in no pattern.
  bool ShareList(std::uint32_t i, std::uint32_t j) { return Has(Shared(i), j) & Has(Shared(j), i); }

  void Start(std::uint32_t n) {
    words = (n + 63) / 64;
    members.reserve(static_cast<std::size_t>(n) * words);
    members.assign(words, ~std::uint64_t{0});
    if (n % 64) members.back() = (std::uint64_t{1} << (n % 64)) - 1;
    shared.resize(static_cast<std::size_t>(n) * words);
    for (std::uint32_t v = 0; v < n; ++v) std::copy(members.begin(), members.end(), Shared(v));
    node.reserve(n);
    node.assign(1, 0);
    mask.resize(words);
  }

  // Splits the list holding i < j into the indices outside (i, j), which
  // keep its place, and those inside [i, j], a new list; returns the old
  // list's tree node.
  std::uint32_t Split(std::uint32_t i, std::uint32_t j, std::uint32_t firstNode) {
    std::size_t at = 0;
    while (!(Has(Members(at), i) && Has(Members(at), j))) ++at;
    const std::uint32_t treeNode = node[at];
    node[at] = firstNode;
    node.push_back(firstNode + 1);
    const std::size_t added = members.size() / words;
    members.resize(members.size() + words);
    std::uint64_t* const outside = Members(at);
    std::uint64_t* const inside = Members(added);
    for (std::size_t k = 0; k < words; ++k) {
      // Bits i to j of this word.
      const std::size_t lo = k * 64;
      std::uint64_t range = 0;
      if (j >= lo && i < lo + 64) {
        const std::uint32_t from = i > lo ? static_cast<std::uint32_t>(i - lo) : 0;
        const std::uint32_t to = j < lo + 63 ? static_cast<std::uint32_t>(j - lo) : 63;
        range = (to == 63 ? ~std::uint64_t{0} : (std::uint64_t{2} << to) - 1) & ~((std::uint64_t{1} << from) - 1);
      }
      inside[k] = outside[k] & range;
      outside[k] &= ~range;
    }
    outside[i / 64] |= std::uint64_t{1} << (i % 64);
    outside[j / 64] |= std::uint64_t{1} << (j % 64);
    // The indices of the smaller side stop sharing with the other side (the
    // two ends stay on both). Two indices now apart were on different sides
    // of some split, so one of them forgot the other: a pair shares a list
    // exactly when each still has the other.
    std::size_t outsideCount = 0, insideCount = 0;
    for (std::size_t k = 0; k < words; ++k) {
      outsideCount += static_cast<std::size_t>(__builtin_popcountll(outside[k]));
      insideCount += static_cast<std::size_t>(__builtin_popcountll(inside[k]));
    }
    if (insideCount <= outsideCount) {
      Forget(inside, outside, i, j);
    } else {
      Forget(outside, inside, i, j);
    }
    return treeNode;
  }

  void Forget(const std::uint64_t* side, const std::uint64_t* other, std::uint32_t i, std::uint32_t j) {
    std::copy(other, other + words, mask.begin());
    mask[i / 64] &= ~(std::uint64_t{1} << (i % 64));
    mask[j / 64] &= ~(std::uint64_t{1} << (j % 64));
    for (std::size_t k = 0; k < words; ++k) {
      for (std::uint64_t bits = side[k]; bits != 0; bits &= bits - 1) {
        const auto v = static_cast<std::uint32_t>(k * 64 + static_cast<std::size_t>(__builtin_ctzll(bits)));
        if (v == i || v == j) continue;
        std::uint64_t* const s = Shared(v);
        for (std::size_t m = 0; m < words; ++m) s[m] &= ~mask[m];
      }
    }
  }
};

struct Pending {
  std::uint32_t node, offset, size;
};

struct Workspace {
  std::vector<Pending> pending;  // at most one per list of the subdivision
  // Written before read: left uninitialised, and kept for the next outline.
  std::unique_ptr<Candidate[]> candidates;
  std::unique_ptr<Candidate[]> ordered;
  std::size_t candidatesRoom = 0, orderedRoom = 0;
  std::vector<std::uint32_t> bucketOf;
  std::vector<std::uint32_t> bucketStart;
  EdgeBoxes edges;
  std::vector<Node> nodes;
  Lists open;
  std::vector<std::uint32_t> lists;  // the pending index lists, a stack
  std::vector<std::uint32_t> scratch;
};

void Reserve(std::unique_ptr<Candidate[]>& array, std::size_t& room, std::size_t need) {
  if (need <= room) return;
  array = std::make_unique_for_overwrite<Candidate[]>(need);
  room = need;
}

// Every diagonal that passes the angle test at its smaller end, with its
// squared length, spread into buckets of squared length (a counting sort);
// each bucket is sorted only when the walk reaches it.
void CollectCandidates(std::uint32_t n, const Point* p, int flag, Workspace& w) {
  const std::size_t most = static_cast<std::size_t>(n) * (n - 3) / 2;
  Reserve(w.candidates, w.candidatesRoom, most + 1);  // every pair is written, kept or not
  Candidate* const out = w.candidates.get();
  std::size_t kept = 0;
  double longest = 0;
  const bool f = flag != 0;
  for (std::uint32_t i = 0; i + 2 < n; ++i) {
    const Point& pi = p[i];
    const Point& prev = p[i == 0 ? n - 1 : i - 1];
    const Point& next = p[i + 1];
    const double epx = Diff(prev.x, pi.x), epy = Diff(prev.y, pi.y);
    const double enx = Diff(next.x, pi.x), eny = Diff(next.y, pi.y);
    const bool convex = (Cross(enx, eny, epx, epy) >= 0) == f;
    const std::uint32_t last = i == 0 ? n - 2 : n - 1;
    for (std::uint32_t j = i + 2; j <= last; ++j) {
      const double dx = Diff(p[j].x, pi.x), dy = Diff(p[j].y, pi.y);
      const bool aOk = (Cross(epx, epy, dx, dy) >= 0) != f;
      const bool bOk = (Cross(enx, eny, dx, dy) >= 0) == f;
      const double key = dx * dx + dy * dy;
      out[kept] = {key, i, j};
      // Without branches: the outcome of the angle test follows no pattern.
      const unsigned keep = (static_cast<unsigned>(aOk) & static_cast<unsigned>(bOk)) |
                            (static_cast<unsigned>(!convex) & (static_cast<unsigned>(aOk) | static_cast<unsigned>(bOk)));
      longest = std::max(longest, key * keep);
      kept += keep;
    }
  }
  const std::size_t buckets = kept / 8 + 1;
  const double scale = longest > 0 ? static_cast<double>(buckets) / longest : 0;
  w.bucketOf.resize(kept);
  w.bucketStart.assign(buckets + 1, 0);
  std::uint32_t* const count = w.bucketStart.data() + 1;
  for (std::size_t k = 0; k < kept; ++k) {
    const auto bucket = static_cast<std::uint32_t>(std::min<double>(out[k].key * scale, static_cast<double>(buckets - 1)));
    w.bucketOf[k] = bucket;
    ++count[bucket];
  }
  for (std::size_t b = 1; b <= buckets; ++b) w.bucketStart[b] += w.bucketStart[b - 1];
  Reserve(w.ordered, w.orderedRoom, kept + 1);
  std::vector<std::uint32_t>& fill = w.scratch;
  fill.assign(w.bucketStart.begin(), w.bucketStart.end() - 1);
  for (std::size_t k = 0; k < kept; ++k) w.ordered[fill[w.bucketOf[k]]++] = out[k];
}

// Sorts one bucket; most hold a handful of candidates.
void SortBucket(Candidate* first, Candidate* last) {
  if (last - first > 16) {
    std::sort(first, last, Before);
    return;
  }
  for (Candidate* c = first + 1; c < last; ++c) {
    const Candidate held = *c;
    Candidate* to = c;
    for (; to > first && Before(held, to[-1]); --to) *to = to[-1];
    *to = held;
  }
}

// Builds the split tree. All the memory the triangulation needs is taken
// here, so a shortage is met before any triangle is written.
void Plan(std::uint32_t n, const Point* p, Workspace& w) {
  w.nodes.reserve(2 * static_cast<std::size_t>(n));
  w.pending.reserve(n);
  // Pending lists are parts of one subdivision of the outline: their sizes
  // add up to at most 3N.
  w.lists.resize(3 * static_cast<std::size_t>(n) + 3);
  CollectCandidates(n, p, Orientation(n, p), w);
  BuildEdgeBoxes(n, p, w.edges);
  w.scratch.resize(std::max<std::size_t>(w.scratch.size(), n));
  w.nodes.clear();
  w.nodes.emplace_back();
  w.open.Start(n);
  std::uint32_t splits = 0;
  for (std::size_t b = 0; b + 1 < w.bucketStart.size() && splits + 3 < n; ++b) {
    Candidate* first = w.ordered.get() + w.bucketStart[b];
    Candidate* last = w.ordered.get() + w.bucketStart[b + 1];
    // Lists only ever split: a candidate whose ends share no list now never
    // will again, so it leaves the bucket before the sort. Most do.
    Candidate* kept = first;
    for (const Candidate* c = first; c != last; ++c) {
      *kept = *c;
      kept += w.open.ShareList(c->i, c->j);
    }
    last = kept;
    SortBucket(first, last);
    for (Candidate* c = first; c != last && splits + 3 < n; ++c) {
      if (!w.open.ShareList(c->i, c->j) || !CrossesNoEdge(n, p, w.edges, c->i, c->j)) continue;
      const auto child = static_cast<std::uint32_t>(w.nodes.size());
      w.nodes[w.open.Split(c->i, c->j, child)] = {c->i, c->j, child};
      w.nodes.emplace_back();
      w.nodes.emplace_back();
      ++splits;
    }
  }
}

// Walks the split tree depth first, the first sub-list before the second,
// and hands each triangle to `emit` in list order.
template <typename Emit>
void EmitTriangles(std::uint32_t n, Workspace& w, Emit emit) {
  std::vector<Pending>& pending = w.pending;
  std::uint32_t* const pool = w.lists.data();
  for (std::uint32_t i = 0; i < n; ++i) pool[i] = i;
  pending.push_back({0, 0, n});
  while (!pending.empty()) {
    const Pending top = pending.back();
    pending.pop_back();
    const std::uint32_t* list = pool + top.offset;
    const std::uint32_t m = top.size;
    const Node& node = w.nodes[top.node];
    if (node.a == kUnsplit) {
      // No valid diagonal: split at positions (0, 2) until three remain.
      for (std::uint32_t k = m - 2; k >= 1; --k) emit(list[0], list[k], list[k + 1]);
      continue;
    }
    const auto pa = static_cast<std::uint32_t>(std::lower_bound(list, list + m, node.a) - list);
    const auto pb = static_cast<std::uint32_t>(std::lower_bound(list, list + m, node.b) - list);
    std::uint32_t* const saved = w.scratch.data();
    std::copy(list, list + m, saved);
    std::uint32_t* out = pool + top.offset;
    out = std::copy(saved + pa, saved + pb + 1, out);
    const auto firstOffset = static_cast<std::uint32_t>(out - pool);
    out = std::copy(saved, saved + pa + 1, out);
    std::copy(saved + pb, saved + m, out);
    pending.push_back({node.child + 1, top.offset, pb - pa + 1});
    pending.push_back({node.child, firstOffset, pa + 1 + m - pb});
  }
}

// The working memory, kept from one outline to the next: outlines are
// triangulated one at a time, on the user-interface thread.
Workspace g_workspace;
void ResetPot2Globals() { g_workspace = Workspace{}; }
[[maybe_unused]] const bool g_registered = RegisterGlobalReset(&ResetPot2Globals);

// Gives back the memory of an unusually large outline.
void TrimWorkspace() {
  if (g_workspace.candidatesRoom > (1u << 20)) g_workspace = Workspace{};
}

// Plans the triangulation; false (after telling the user) when the memory
// for it cannot be had. Ending the program would lose the user's work for
// one outline.
bool PlanOrReport(std::uint32_t n, const Point* p, Workspace& w) {
  try {
    Plan(n, p, w);
    return true;
  } catch (const std::bad_alloc&) {
    w = Workspace{};
    ShowMessage(nullptr, "Failed to allocate memory in pot2", "Pot Memory Error");
    return false;
  }
}

}  // namespace

int SegmentsIntersect(Point a, Point b, Point c, Point d) {
  // Coordinates are taken as unsigned. The products need 66 bits: in double
  // precision they would round, and segments whose boxes lie apart could be
  // reported as meeting.
  using Wide = __int128;
  auto u = [](std::int32_t v) { return static_cast<std::int64_t>(static_cast<std::uint32_t>(v)); };
  const std::int64_t abx = u(b.x) - u(a.x), aby = u(b.y) - u(a.y);
  const std::int64_t cdx = u(d.x) - u(c.x), cdy = u(d.y) - u(c.y);
  const std::int64_t acx = u(c.x) - u(a.x), acy = u(c.y) - u(a.y);
  const Wide D = Wide{cdx} * aby - Wide{cdy} * abx;
  if (D == 0) return 0;
  const Wide s = Wide{acy} * abx - Wide{acx} * aby;
  const Wide t = Wide{acy} * cdx - Wide{acx} * cdy;
  if (D > 0) return (s >= 0 && s <= D && t >= 0 && t <= D) ? 1 : 0;
  return (s <= 0 && s >= D && t <= 0 && t >= D) ? 1 : 0;
}

int TriangulatePolygon(int count, const Point* points, std::uint8_t* triangles) {
  if (count < 3 || count > 255) return 0;
  const auto n = static_cast<std::uint32_t>(count);
  Workspace& w = g_workspace;
  if (!PlanOrReport(n, points, w)) return 0;
  int written = 0;
  EmitTriangles(n, w, [&](std::uint32_t a, std::uint32_t b, std::uint32_t c) {
    triangles[0] = static_cast<std::uint8_t>(a);
    triangles[1] = static_cast<std::uint8_t>(b);
    triangles[2] = static_cast<std::uint8_t>(c);
    triangles += 3;
    ++written;
  });
  TrimWorkspace();
  return written;
}

std::uint32_t TriangulatePolygonWide(std::uint32_t count, const Point* points, std::uint32_t* triangles) {
  if (count < 3) return 0;
  Workspace& w = g_workspace;
  if (!PlanOrReport(count, points, w)) return 0;
  std::uint32_t written = 0;
  EmitTriangles(count, w, [&](std::uint32_t a, std::uint32_t b, std::uint32_t c) {
    triangles[0] = a;
    triangles[1] = b;
    triangles[2] = c;
    triangles += 3;
    ++written;
  });
  TrimWorkspace();
  return written;
}

int TriangulatePolygonRecord(PolygonLayout* polygon) {
  return TriangulatePolygon(polygon->count, PolygonPoints(polygon), PolygonTriangles(polygon));
}

int TriangulateEntityRecord(std::uint8_t* record) {
  return TriangulatePolygon(record[76], reinterpret_cast<const Point*>(record + 96), record + 2136);
}

std::uint32_t TriangulateWidePolygonRecord(std::uint8_t* record) {
  std::uint32_t n;
  std::memcpy(&n, record + 48, sizeof n);
  const Point* points = reinterpret_cast<const Point*>(record + 76);
  return TriangulatePolygonWide(n, points, reinterpret_cast<std::uint32_t*>(record + 76 + 8 * static_cast<std::size_t>(n)));
}

}  // namespace pl3

namespace pl3 {
int IsCollinearPolygonPoint(const PolygonLayout* polygon, std::uint32_t index, std::uint32_t count) {
  if (count < 3 || index >= count) return 0;
  const Point* p = PolygonPoints(polygon);
  const Point& prev = p[(index + count - 1) % count];
  const Point& here = p[index];
  const Point& next = p[(index + 1) % count];
  // Differences reach 2^32 and their products 2^64: work in 128 bits.
  __int128 ax = std::int64_t{here.x} - prev.x, ay = std::int64_t{here.y} - prev.y;
  __int128 bx = std::int64_t{next.x} - here.x, by = std::int64_t{next.y} - here.y;
  return ax * by - ay * bx == 0;
}
}  // namespace pl3
