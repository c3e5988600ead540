// Inverting a fixed-point Transform.
#pragma once

#include "geometry/types.h"

namespace pl3 {

// The inverse of the 2 by 2 part in 8.24 fixed point (the adjugate divided by
// the determinant, rounded to nearest), with the translation carried back
// through it so that composing a Transform with its inverse gives the
// identity. A singular Transform has no inverse: `out` becomes the identity
// and the result is false.
bool InvertTransform(const Transform* t, Transform* out);

// A new heap Transform (released with std::free) holding InvertTransform of
// the given one; null when memory is refused.
Transform* InvertTransformCopy(const Transform* t);

}  // namespace pl3
