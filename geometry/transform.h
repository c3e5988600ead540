// Fixed-point transforms: 8.24 multiplication with its three rounding rules,
// applying a Transform to points and vectors, and composing transforms.
// Products are formed in 64 bits; sums and translations wrap modulo 2^32.
#pragma once
#include <cstddef>
#include <cstdint>

#include "geometry/types.h"

namespace pl3 {

// value (as an unsigned magnitude) times coef, truncated, negated for coef < 0.
std::int32_t MulFixedUnsigned(std::uint32_t value, std::int32_t coef);
// Signed value times coef, truncated toward zero.
std::int32_t MulFixedSigned(std::int32_t value, std::int32_t coef);
// Signed value times coef, magnitude rounded half up.
std::int32_t MulFixedRounded(std::int32_t value, std::int32_t coef);

bool IsIdentityTransform(const Transform& t);

// Points with unsigned (absolute design coordinates) or signed multiplies;
// both return at once for the identity.
void TransformPoint(const Transform* t, std::int32_t& x, std::int32_t& y);
void TransformSignedPoint(const Transform* t, std::int32_t& x, std::int32_t& y);
// TransformPoint over an array of points (`to` may be `from`), with the
// coefficients taken apart once: the same results, point for point.
void TransformPoints(const Transform* t, const Point* from, Point* to, std::size_t count);
// The linear part only, signed multiplies.
void TransformVector(const Transform* t, std::int32_t& x, std::int32_t& y);
// TransformVector, then each component by the signed view scale.
void TransformVectorToView(const Transform* t, std::int32_t& x, std::int32_t& y);

// A becomes A followed by B.
void ComposeTransform(Transform* a, const Transform* b);
// Only A's linear part becomes A times B; A's translation is kept.
void ComposeLinearTransform(Transform* a, const Transform* b);

}  // namespace pl3
