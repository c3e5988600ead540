#include "geometry/rect_clip.h"

#include <optional>

namespace pl3 {
namespace {

struct Stage {
  std::optional<ClipPoint2D> first;
  ClipPoint2D latest{};
};

struct RectClipper {
  double bounds[4];  // xmin, ymin, xmax, ymax
  Stage stages[4];
  ClipPoint2D* output;
  int count = 0;

  bool Inside(const ClipPoint2D& p, int e) const {
    switch (e) {
      case 0: return p.x >= bounds[0];
      case 1: return p.x <= bounds[2];
      case 2: return p.y >= bounds[1];
      case 3: return p.y <= bounds[3];
      default: return true;
    }
  }

  bool Crosses(const ClipPoint2D& p, const ClipPoint2D& q, int e) const { return Inside(p, e) != Inside(q, e); }

  ClipPoint2D Intersect(const ClipPoint2D& p, const ClipPoint2D& q, int e) const {
    const double m = p.x != q.x ? (p.y - q.y) / (p.x - q.x) : 0.0;
    switch (e) {
      case 0: return {bounds[0], (bounds[0] - q.x) * m + q.y};
      case 1: return {bounds[2], (bounds[2] - q.x) * m + q.y};
      case 2: return {p.x != q.x ? q.x + (bounds[1] - q.y) / m : q.x, bounds[1]};
      default: return {p.x != q.x ? q.x + (bounds[3] - q.y) / m : q.x, bounds[3]};
    }
  }

  void Pass(const ClipPoint2D& p, int e) {
    if (e >= 3) {
      output[count++] = p;
    } else {
      Push(p, e + 1);
    }
  }

  void Push(const ClipPoint2D& p, int e) {
    Stage& s = stages[e & 3];  // e is 0..3; the mask keeps that visible to the compiler
    if (!s.first) {
      s.first = p;
    } else if (Crosses(p, s.latest, e)) {
      Pass(Intersect(p, s.latest, e), e);
    }
    s.latest = p;
    if (!Inside(p, e)) return;
    Pass(p, e);
  }

  void Close() {
    for (int e = 0; e < 4; ++e) {
      Stage& s = stages[e & 3];
      if (s.first && Crosses(s.latest, *s.first, e)) Pass(Intersect(s.latest, *s.first, e), e);
    }
  }
};

}  // namespace

int ClipPolygonToRect(double xmin, double ymin, double xmax, double ymax, int count, const ClipPoint2D* input,
                      ClipPoint2D* output) {
  RectClipper clipper{{xmin, ymin, xmax, ymax}, {}, output};
  for (int i = 0; i < count; ++i) clipper.Push(input[i], 0);
  clipper.Close();
  return clipper.count;
}

}  // namespace pl3
