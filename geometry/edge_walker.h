// An edge of a filled shape followed row by row as an integer line: on each
// row it reports the first and last column of the edge's pixels there.
// y-major edges have one pixel per row (rounded half up); x-major edges a
// slice of columns, computed by one division per row.
#pragma once
#include <algorithm>
#include <cstdint>

namespace pl3 {

struct RowSpan {
  std::int32_t lo;
  std::int32_t hi;
};

class EdgeWalker {
 public:
  // The edge from (xa, ya) to (xb, yb), in either order.
  EdgeWalker(std::int32_t xa, std::int32_t ya, std::int32_t xb, std::int32_t yb) {
    if (ya > yb) {
      std::swap(xa, xb);
      std::swap(ya, yb);
    }
    x0_ = xa;
    x1_ = xb;
    y0_ = ya;
    y1_ = yb;
    dy_ = static_cast<std::int64_t>(yb) - ya;
    const std::int64_t dx = static_cast<std::int64_t>(xb) - xa;
    sign_ = dx < 0 ? -1 : 1;
    adx_ = dx < 0 ? -dx : dx;
    xMajor_ = adx_ > dy_;
  }

  std::int32_t top() const { return y0_; }
  std::int32_t bottom() const { return y1_; }

  // The edge's pixels on row y (y0 <= y <= y1).
  RowSpan At(std::int32_t y) const {
    if (dy_ == 0) return {std::min(x0_, x1_), std::max(x0_, x1_)};
    const std::int64_t k = static_cast<std::int64_t>(y) - y0_;
    if (!xMajor_) {
      const std::int32_t x = Offset((2 * adx_ * k + dy_) / (2 * dy_));
      return {x, x};
    }
    // Columns whose rounded row is y: from where the line enters row y to
    // just before it enters row y + 1.
    const std::int64_t first = std::max<std::int64_t>(0, CeilDiv(adx_ * (2 * k - 1), 2 * dy_));
    const std::int64_t last = std::min<std::int64_t>(adx_, CeilDiv(adx_ * (2 * k + 1), 2 * dy_) - 1);
    const std::int32_t a = Offset(first);
    const std::int32_t b = Offset(last);
    return {std::min(a, b), std::max(a, b)};
  }

 private:
  static std::int64_t CeilDiv(std::int64_t n, std::int64_t d) { return n >= 0 ? (n + d - 1) / d : -((-n) / d); }
  std::int32_t Offset(std::int64_t off) const { return static_cast<std::int32_t>(x0_ + sign_ * off); }

  std::int32_t x0_, x1_, y0_, y1_;
  std::int64_t dy_, adx_;
  std::int64_t sign_;
  bool xMajor_;
};

}  // namespace pl3
