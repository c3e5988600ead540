// An edge of a filled shape followed row by row as an integer line: on each
// row it reports the first and last column of the edge's pixels there.
// y-major edges have one pixel per row (rounded half up); x-major edges a
// slice of columns. `At` answers any row with one division; `Start` and
// `Next` step row after row with none.
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
    den_ = 2 * dy_;
    if (den_ > 0) {
      whole_ = (2 * adx_) / den_;
      part_ = (2 * adx_) % den_;
    }
  }

  std::int32_t top() const { return y0_; }
  std::int32_t bottom() const { return y1_; }

  // The edge's pixels on row y (y0 <= y <= y1).
  RowSpan At(std::int32_t y) const {
    if (dy_ == 0) return {std::min(x0_, x1_), std::max(x0_, x1_)};
    const std::int64_t k = static_cast<std::int64_t>(y) - y0_;
    if (!xMajor_) return Single(FloorDiv(Wide(2 * adx_) * k + dy_, den_));
    return Slice(CeilDiv(Wide(adx_) * (2 * k - 1), den_), CeilDiv(Wide(adx_) * (2 * k + 1), den_));
  }

  // Places the walker on row y for Next().
  void Start(std::int32_t y) {
    if (dy_ == 0) return;
    const std::int64_t k = static_cast<std::int64_t>(y) - y0_;
    if (!xMajor_) {
      const Wide m = Wide(2 * adx_) * k + dy_;
      q_ = FloorDiv(m, den_);
      r_ = static_cast<std::int64_t>(m - Wide(q_) * den_);  // 0 <= r < den
    } else {
      const Wide n = Wide(adx_) * (2 * k - 1);
      q_ = CeilDiv(n, den_);
      r_ = static_cast<std::int64_t>(Wide(q_) * den_ - n);  // 0 <= r < den
      q2_ = CeilDiv(n + 2 * adx_, den_);
      r2_ = static_cast<std::int64_t>(Wide(q2_) * den_ - (n + 2 * adx_));
    }
  }

  // The span on the current row; then moves to the next row.
  RowSpan Next() {
    if (dy_ == 0) return {std::min(x0_, x1_), std::max(x0_, x1_)};
    if (!xMajor_) {
      const RowSpan s = Single(q_);
      q_ += whole_;
      r_ += part_;
      if (r_ >= den_) {
        ++q_;
        r_ -= den_;
      }
      return s;
    }
    const RowSpan s = Slice(q_, q2_);
    q_ = q2_;
    r_ = r2_;
    q2_ += whole_;
    r2_ -= part_;
    if (r2_ < 0) {
      ++q2_;
      r2_ += den_;
    }
    return s;
  }

 private:
  // Products of a far edge's extent and row overflow 64 bits (coordinates
  // span 2^32, so 2 x dx x rows reaches 2^65); they are taken in 128 and the
  // quotients, at most the edge's extent, come back to 64.
  using Wide = __int128;
  static std::int64_t CeilDiv(Wide n, Wide d) {
    return static_cast<std::int64_t>(n >= 0 ? (n + d - 1) / d : -((-n) / d));
  }
  static std::int64_t FloorDiv(Wide n, Wide d) {
    return static_cast<std::int64_t>(n >= 0 ? n / d : -((-n + d - 1) / d));
  }
  std::int32_t Offset(std::int64_t off) const { return static_cast<std::int32_t>(x0_ + sign_ * off); }
  RowSpan Single(std::int64_t off) const {
    const std::int32_t x = Offset(off);
    return {x, x};
  }
  // Columns from where the line enters this row to just before it enters the next.
  RowSpan Slice(std::int64_t enter, std::int64_t enterNext) const {
    const std::int32_t a = Offset(std::max<std::int64_t>(0, enter));
    const std::int32_t b = Offset(std::min<std::int64_t>(adx_, enterNext - 1));
    return {std::min(a, b), std::max(a, b)};
  }

  std::int32_t x0_, x1_, y0_, y1_;
  std::int64_t dy_, adx_, den_ = 0;
  std::int64_t sign_;
  bool xMajor_;
  std::int64_t whole_ = 0, part_ = 0;  // 2 * adx = whole * den + part
  std::int64_t q_ = 0, r_ = 0, q2_ = 0, r2_ = 0;
};

}  // namespace pl3
