#include "app/transform_inverse.h"

#include <cstdint>
#include <cstdlib>

#include "geometry/transform.h"
#include "platform/kernel_base.h"

namespace pl3 {
namespace {

std::int32_t Negated(std::int32_t v) { return static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(v)); }

}  // namespace

bool InvertTransform(const Transform* t, Transform* out) {
  const double det = (static_cast<double>(t->a) * t->d - static_cast<double>(t->b) * t->c) / 16777216.0;
  // Beyond 32 bits the conversion has no defined result.
  if (!(det > -2147483649.0 && det < 2147483648.0) || static_cast<std::int32_t>(det) == 0) {
    *out = kIdentityTransform;
    return false;
  }
  const int scale = static_cast<std::int32_t>(det);
  *out = {MulDiv(t->d, kFixedOne, scale),         MulDiv(Negated(t->b), kFixedOne, scale),
          MulDiv(Negated(t->c), kFixedOne, scale), MulDiv(t->a, kFixedOne, scale),
          Negated(t->tx),                          Negated(t->ty)};
  return true;
}

Transform* InvertTransformCopy(const Transform* t) {
  auto* copy = static_cast<Transform*>(std::malloc(sizeof(Transform)));
  if (copy) InvertTransform(t, copy);
  return copy;
}

}  // namespace pl3

namespace pl3 {

Transform* NewReverseTransform(const Transform* source) {
  auto* out = static_cast<Transform*>(std::malloc(sizeof(Transform)));
  if (!out) return nullptr;
  // Negated as unsigned words: -(-128.0) wraps as the stored words do.
  *out = {source->d, Negated(source->b), Negated(source->c), source->a, Negated(source->tx), Negated(source->ty)};
  return out;
}

}  // namespace pl3
