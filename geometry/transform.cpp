#include "geometry/transform.h"

#include <algorithm>
#include <array>
#include <utility>

#include "geometry/view_mapping.h"

namespace pl3 {
namespace {

std::uint32_t Magnitude(std::int32_t v) {
  // Two's complement negation in unsigned arithmetic: INT32_MIN gives 2^31.
  return v < 0 ? 0u - static_cast<std::uint32_t>(v) : static_cast<std::uint32_t>(v);
}

std::int32_t WithSign(std::uint64_t magnitude, bool negative) {
  const auto m = static_cast<std::uint32_t>(magnitude);
  return static_cast<std::int32_t>(negative ? 0u - m : m);
}

std::int32_t Add3(std::int32_t p, std::int32_t q, std::int32_t r) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(p) + static_cast<std::uint32_t>(q) +
                                   static_cast<std::uint32_t>(r));
}

// A coefficient taken apart for the unsigned multiply: its magnitude and a
// mask that negates the product (x ^ mask) - mask.
struct SplitCoef {
  std::uint64_t magnitude;
  std::uint32_t mask;
};

SplitCoef Split(std::int32_t coef) { return {Magnitude(coef), coef < 0 ? 0xFFFFFFFFu : 0u}; }

std::uint32_t ApplyUnsigned(std::uint32_t value, SplitCoef c) {
  const auto m = static_cast<std::uint32_t>((value * c.magnitude) >> 24);
  return (m ^ c.mask) - c.mask;
}

bool IsIdentityLinear(const Transform& t) {
  return t.a == kFixedOne && t.d == kFixedOne && t.b == 0 && t.c == 0;
}

}  // namespace

std::int32_t MulFixedUnsigned(std::uint32_t value, std::int32_t coef) {
  // A zero value or coefficient gives 0 through the product itself.
  return static_cast<std::int32_t>(ApplyUnsigned(value, Split(coef)));
}

std::int32_t MulFixedSigned(std::int32_t value, std::int32_t coef) {
  if (value == 0 || coef == 0) return 0;
  const std::uint64_t m = (static_cast<std::uint64_t>(Magnitude(value)) * Magnitude(coef)) >> 24;
  return WithSign(m, (value < 0) != (coef < 0));
}

std::int32_t MulFixedRounded(std::int32_t value, std::int32_t coef) {
  if (value == 0 || coef == 0) return 0;
  const std::uint64_t m =
      (static_cast<std::uint64_t>(Magnitude(value)) * Magnitude(coef) + (1u << 23)) >> 24;
  return WithSign(m, (value < 0) != (coef < 0));
}

bool IsIdentityTransform(const Transform& t) {
  return IsIdentityLinear(t) && t.tx == 0 && t.ty == 0;
}

void TransformPoint(const Transform* t, std::int32_t& x, std::int32_t& y) {
  if (IsIdentityTransform(*t)) return;
  const auto ux = static_cast<std::uint32_t>(x);
  const auto uy = static_cast<std::uint32_t>(y);
  x = Add3(MulFixedUnsigned(ux, t->a), MulFixedUnsigned(uy, t->c), t->tx);
  y = Add3(MulFixedUnsigned(ux, t->b), MulFixedUnsigned(uy, t->d), t->ty);
}

namespace {

// One loop per pattern of coefficient signs, so that the loop body holds
// only multiplies, shifts and adds (and the compiler can widen it).
template <bool NegA, bool NegB, bool NegC, bool NegD>
void TransformPointsWithSigns(const Transform* t, const Point* from, Point* to, std::size_t count) {
  const std::uint64_t a = Magnitude(t->a), b = Magnitude(t->b), c = Magnitude(t->c), d = Magnitude(t->d);
  const auto tx = static_cast<std::uint32_t>(t->tx);
  const auto ty = static_cast<std::uint32_t>(t->ty);
  auto term = [](std::uint64_t product, bool negative) {
    const auto m = static_cast<std::uint32_t>(product >> 24);
    return negative ? 0u - m : m;
  };
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint64_t ux = static_cast<std::uint32_t>(from[i].x);
    const std::uint64_t uy = static_cast<std::uint32_t>(from[i].y);
    to[i].x = static_cast<std::int32_t>(term(ux * a, NegA) + term(uy * c, NegC) + tx);
    to[i].y = static_cast<std::int32_t>(term(ux * b, NegB) + term(uy * d, NegD) + ty);
  }
}

using PointsLoop = void (*)(const Transform*, const Point*, Point*, std::size_t);

template <int Signs>
constexpr PointsLoop LoopFor() {
  return &TransformPointsWithSigns<(Signs & 1) != 0, (Signs & 2) != 0, (Signs & 4) != 0, (Signs & 8) != 0>;
}

template <int... Signs>
constexpr auto LoopTable(std::integer_sequence<int, Signs...>) {
  return std::array<PointsLoop, sizeof...(Signs)>{LoopFor<Signs>()...};
}

constexpr auto kPointsLoops = LoopTable(std::make_integer_sequence<int, 16>{});

}  // namespace

void TransformPoints(const Transform* t, const Point* from, Point* to, std::size_t count) {
  if (IsIdentityTransform(*t)) {
    if (to != from) std::copy_n(from, count, to);
    return;
  }
  const int signs = (t->a < 0 ? 1 : 0) | (t->b < 0 ? 2 : 0) | (t->c < 0 ? 4 : 0) | (t->d < 0 ? 8 : 0);
  kPointsLoops[static_cast<std::size_t>(signs)](t, from, to, count);
}

void TransformSignedPoint(const Transform* t, std::int32_t& x, std::int32_t& y) {
  if (IsIdentityTransform(*t)) return;
  const std::int32_t sx = x;
  const std::int32_t sy = y;
  x = Add3(MulFixedSigned(sx, t->a), MulFixedSigned(sy, t->c), t->tx);
  y = Add3(MulFixedSigned(sx, t->b), MulFixedSigned(sy, t->d), t->ty);
}

void TransformVector(const Transform* t, std::int32_t& x, std::int32_t& y) {
  if (IsIdentityLinear(*t)) return;
  const std::int32_t sx = x;
  const std::int32_t sy = y;
  x = Add3(MulFixedSigned(sx, t->a), MulFixedSigned(sy, t->c), 0);
  y = Add3(MulFixedSigned(sx, t->b), MulFixedSigned(sy, t->d), 0);
}

void TransformVectorToView(const Transform* t, std::int32_t& x, std::int32_t& y) {
  TransformVector(t, x, y);
  ScaleSignedToViewInPlace(x);
  ScaleSignedToViewInPlace(y);
}

void ComposeLinearTransform(Transform* a, const Transform* b) {
  const Transform old = *a;
  a->a = static_cast<std::int32_t>(static_cast<std::uint32_t>(MulFixedRounded(old.a, b->a)) +
                                   static_cast<std::uint32_t>(MulFixedRounded(old.b, b->c)));
  a->b = static_cast<std::int32_t>(static_cast<std::uint32_t>(MulFixedRounded(old.a, b->b)) +
                                   static_cast<std::uint32_t>(MulFixedRounded(old.b, b->d)));
  a->c = static_cast<std::int32_t>(static_cast<std::uint32_t>(MulFixedRounded(old.c, b->a)) +
                                   static_cast<std::uint32_t>(MulFixedRounded(old.d, b->c)));
  a->d = static_cast<std::int32_t>(static_cast<std::uint32_t>(MulFixedRounded(old.c, b->b)) +
                                   static_cast<std::uint32_t>(MulFixedRounded(old.d, b->d)));
}

void ComposeTransform(Transform* a, const Transform* b) {
  TransformSignedPoint(b, a->tx, a->ty);
  ComposeLinearTransform(a, b);
}

}  // namespace pl3
