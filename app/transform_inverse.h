// Inverting a fixed-point Transform.
#pragma once

#include "geometry/types.h"

namespace pl3 {

// The inverse of the 2 by 2 part in 8.24 fixed point: the adjugate
// (d, -b, -c, a), each entry scaled by 0x1000000 / det with MulDiv, where det
// is (a*d - b*c) / 2^24 worked out in floating point and truncated to an
// integer. The offsets are only negated, not carried through the inverse:
// every caller wants the inverse of the orientation alone. A Transform whose
// integer det is 0 (or beyond 32 bits) has no inverse: `out` becomes the
// identity and the result is false.
bool InvertTransform(const Transform* t, Transform* out);

// A new heap Transform (released with std::free) holding InvertTransform of
// the given one; null when memory is refused.
Transform* InvertTransformCopy(const Transform* t);

}  // namespace pl3

namespace pl3 {

// A new heap Transform (released with std::free) of (d, -b, -c, a, -tx, -ty),
// unscaled: the reverse of a pure rotation. Null when memory is refused.
Transform* NewReverseTransform(const Transform* source);

}  // namespace pl3
