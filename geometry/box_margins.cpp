#include "geometry/box_margins.h"

#include <algorithm>

#include "geometry/transform.h"

namespace pl3 {
namespace {

// The high sides wrap as the rest of the kernel's coordinates do instead of
// overflowing a signed sum.
std::int32_t WrapAdd(std::int32_t v, std::int32_t d) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(v) + static_cast<std::uint32_t>(d));
}

std::int32_t LowSide(std::int32_t v, std::int32_t margin) {
  return v <= margin ? 0 : static_cast<std::int32_t>(static_cast<std::int64_t>(v) - margin);
}

std::uint32_t U(std::int32_t v) { return static_cast<std::uint32_t>(v); }
std::int32_t S(std::uint32_t v) { return static_cast<std::int32_t>(v); }

}  // namespace

void UnionBox(Box* box, const Box* other) {
  if (other->xmin == 0 && other->ymin == 0 && other->xmax == 0 && other->ymax == 0) return;
  box->xmin = S(std::min(U(box->xmin), U(other->xmin)));
  box->ymin = S(std::min(U(box->ymin), U(other->ymin)));
  box->xmax = S(std::max(U(box->xmax), U(other->xmax)));
  box->ymax = S(std::max(U(box->ymax), U(other->ymax)));
}

void ExtendBoxByPoint(Box* box, std::int32_t x, std::int32_t y) {
  box->xmin = S(std::min(U(box->xmin), U(x)));
  box->ymin = S(std::min(U(box->ymin), U(y)));
  box->xmax = S(std::max(U(box->xmax), U(x)));
  box->ymax = S(std::max(U(box->ymax), U(y)));
}

void InflateBox(Box* box, std::int32_t margin) {
  box->xmin = LowSide(box->xmin, margin);
  box->ymin = LowSide(box->ymin, margin);
  box->xmax = WrapAdd(box->xmax, margin);
  box->ymax = WrapAdd(box->ymax, margin);
}

void TransformBox(const Transform* t, Box* box) {
  if (IsIdentityTransform(*t)) return;  // most items are stored unturned
  Point corners[4] = {{box->xmin, box->ymin}, {box->xmax, box->ymin}, {box->xmin, box->ymax}, {box->xmax, box->ymax}};
  for (Point& p : corners) TransformPoint(t, p.x, p.y);
  Box out = {corners[0].x, corners[0].y, corners[0].x, corners[0].y};
  for (const Point& p : corners) {
    out.xmin = std::min(out.xmin, p.x);
    out.ymin = std::min(out.ymin, p.y);
    out.xmax = std::max(out.xmax, p.x);
    out.ymax = std::max(out.ymax, p.y);
  }
  *box = out;
}

}  // namespace pl3
