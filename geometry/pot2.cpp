#include "geometry/pot2.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <vector>

#include "store/seams.h"

namespace pl3 {
namespace {

constexpr double kNoDiagonal = std::numeric_limits<double>::max();    // 1.7976931348623157e308
constexpr double kSearchStart = 3.4028234663852886e38;                // the largest float

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

bool BoxesMeet(const UBox& a, const UBox& b) { return a.x0 <= b.x1 && b.x0 <= a.x1 && a.y0 <= b.y1 && b.y0 <= a.y1; }

bool DiagonalValid(std::uint32_t n, const Point* p, const std::vector<UBox>& edgeBoxes, std::uint32_t i,
                   std::uint32_t j, int flag) {
  const Point& pi = p[i];
  const Point& prev = p[i == 0 ? n - 1 : i - 1];
  const Point& next = p[i + 1];
  const double epx = Diff(prev.x, pi.x), epy = Diff(prev.y, pi.y);
  const double enx = Diff(next.x, pi.x), eny = Diff(next.y, pi.y);
  const double dx = Diff(p[j].x, pi.x), dy = Diff(p[j].y, pi.y);
  const double c = Cross(enx, eny, epx, epy);
  const double a = Cross(epx, epy, dx, dy);
  const double b = Cross(enx, eny, dx, dy);
  const bool aOk = (a >= 0) != (flag != 0);
  const bool bOk = (b >= 0) == (flag != 0);
  const bool convex = (c >= 0) == (flag != 0);
  if (convex ? !(aOk && bOk) : !(aOk || bOk)) return false;
  const UBox diagonal = BoxOf(p[j], pi);
  for (std::uint32_t k = 0; k < n; ++k) {
    const std::uint32_t km = k == 0 ? n - 1 : k - 1;
    if (k == i || k == j || km == i || km == j) continue;
    if (!BoxesMeet(diagonal, edgeBoxes[k])) continue;
    if (SegmentsIntersect(p[j], pi, p[k], p[km])) return false;
  }
  return true;
}

// Splits the index lists depth first, the first sub-list before the second,
// and hands each triangle to `emit` in list order.
template <typename Emit>
void Split(std::uint32_t n, std::vector<double>& table, Emit emit) {
  std::vector<std::vector<std::uint32_t>> pending;
  pending.emplace_back(n);
  for (std::uint32_t i = 0; i < n; ++i) pending.back()[i] = i;
  while (!pending.empty()) {
    std::vector<std::uint32_t> list = std::move(pending.back());
    pending.pop_back();
    const std::size_t m = list.size();
    if (m < 3) continue;
    if (m == 3) {
      emit(list[0], list[1], list[2]);
      continue;
    }
    double best = kSearchStart;
    std::size_t bi = 0, bj = 2;
    for (std::size_t i = 0; i < m; ++i) {
      for (std::size_t j = i + 2; j < m; ++j) {
        const double e = table[static_cast<std::size_t>(list[j]) * n + list[i]];
        if (e < best) {
          best = e;
          bi = i;
          bj = j;
        }
      }
    }
    table[static_cast<std::size_t>(list[bj]) * n + list[bi]] = kNoDiagonal;
    std::vector<std::uint32_t> first(list.begin(), list.begin() + static_cast<std::ptrdiff_t>(bi) + 1);
    first.insert(first.end(), list.begin() + static_cast<std::ptrdiff_t>(bj), list.end());
    std::vector<std::uint32_t> second(list.begin() + static_cast<std::ptrdiff_t>(bi),
                                      list.begin() + static_cast<std::ptrdiff_t>(bj) + 1);
    pending.push_back(std::move(second));
    pending.push_back(std::move(first));
  }
}

// Builds the diagonal table; false when it cannot be allocated.
bool BuildTable(std::uint32_t n, const Point* p, std::vector<double>& table) {
  try {
    table.assign(static_cast<std::size_t>(n) * n, kNoDiagonal);
  } catch (const std::bad_alloc&) {
    // Ending the program here would lose the user's work for one outline.
    ShowMessage(nullptr, "Failed to allocate memory in pot2", "Pot Memory Error");
    return false;
  }
  const int flag = Orientation(n, p);
  std::vector<UBox> edgeBoxes(n);  // edge k runs from point k to point k - 1
  for (std::uint32_t k = 0; k < n; ++k) edgeBoxes[k] = BoxOf(p[k], p[k == 0 ? n - 1 : k - 1]);
  for (std::uint32_t i = 0; i + 2 < n; ++i) {
    const std::uint32_t last = i == 0 ? n - 2 : n - 1;
    for (std::uint32_t j = i + 2; j <= last; ++j) {
      if (!DiagonalValid(n, p, edgeBoxes, i, j, flag)) continue;
      const double dx = Diff(p[j].x, p[i].x), dy = Diff(p[j].y, p[i].y);
      table[static_cast<std::size_t>(j) * n + i] = dx * dx + dy * dy;
    }
  }
  return true;
}

}  // namespace

int SegmentsIntersect(Point a, Point b, Point c, Point d) {
  auto u = [](std::int32_t v) { return static_cast<double>(static_cast<std::uint32_t>(v)); };
  const double D = (u(d.x) - u(c.x)) * (u(b.y) - u(a.y)) - (u(d.y) - u(c.y)) * (u(b.x) - u(a.x));
  if (D == 0) return 0;
  const double s = (u(c.y) - u(a.y)) * (u(b.x) - u(a.x)) - (u(c.x) - u(a.x)) * (u(b.y) - u(a.y));
  const double t = (u(c.y) - u(a.y)) * (u(d.x) - u(c.x)) - (u(c.x) - u(a.x)) * (u(d.y) - u(c.y));
  if (D > 0) return (s >= 0 && s <= D && t >= 0 && t <= D) ? 1 : 0;
  return (s <= 0 && s >= D && t <= 0 && t >= D) ? 1 : 0;
}

int TriangulatePolygon(int count, const Point* points, std::uint8_t* triangles) {
  if (count < 3 || count > 255) return 0;
  const auto n = static_cast<std::uint32_t>(count);
  std::vector<double> table;
  if (!BuildTable(n, points, table)) return 0;
  int written = 0;
  Split(n, table, [&](std::uint32_t a, std::uint32_t b, std::uint32_t c) {
    triangles[0] = static_cast<std::uint8_t>(a);
    triangles[1] = static_cast<std::uint8_t>(b);
    triangles[2] = static_cast<std::uint8_t>(c);
    triangles += 3;
    ++written;
  });
  return written;
}

std::uint32_t TriangulatePolygonWide(std::uint32_t count, const Point* points, std::uint32_t* triangles) {
  if (count < 3) return 0;
  std::vector<double> table;
  if (!BuildTable(count, points, table)) return 0;
  std::uint32_t written = 0;
  Split(count, table, [&](std::uint32_t a, std::uint32_t b, std::uint32_t c) {
    triangles[0] = a;
    triangles[1] = b;
    triangles[2] = c;
    triangles += 3;
    ++written;
  });
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
