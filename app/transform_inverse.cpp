#include "app/transform_inverse.h"

#include <cmath>
#include <cstdlib>

#include "geometry/transform.h"

namespace pl3 {
namespace {

// coefficient / det in 8.24, both raw: c * 2^48 / det, rounded to nearest.
std::int32_t Ratio(long double coefficient, long double det) {
  const long double v = std::nearbyint(coefficient * 281474976710656.0L / det);
  if (!(v >= -2147483648.0L && v <= 2147483647.0L)) return v < 0 ? INT32_MIN : INT32_MAX;
  return static_cast<std::int32_t>(v);
}

}  // namespace

bool InvertTransform(const Transform* t, Transform* out) {
  const long double det =
      static_cast<long double>(t->a) * t->d - static_cast<long double>(t->b) * static_cast<long double>(t->c);
  if (det == 0) {
    *out = kIdentityTransform;
    return false;
  }
  Transform inv = {Ratio(t->d, det), Ratio(-static_cast<long double>(t->b), det),
                   Ratio(-static_cast<long double>(t->c), det), Ratio(t->a, det), 0, 0};
  std::int32_t x = static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(t->tx));
  std::int32_t y = static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(t->ty));
  TransformSignedPoint(&inv, x, y);
  inv.tx = x;
  inv.ty = y;
  *out = inv;
  return true;
}

Transform* InvertTransformCopy(const Transform* t) {
  auto* copy = static_cast<Transform*>(std::malloc(sizeof(Transform)));
  if (copy) InvertTransform(t, copy);
  return copy;
}

}  // namespace pl3
