#include "geometry/view_mapping.h"

#include <cmath>
#include <initializer_list>
#include <limits>

#include "geometry/raster_state.h"

namespace pl3 {
namespace {

const ViewMapping kNoView = {0, 0, 1};

std::uint32_t ScaleUnsigned(std::uint32_t v, std::uint32_t f) {
  return static_cast<std::uint32_t>((static_cast<std::uint64_t>(v) * f) >> 32);
}

std::int32_t ScaleSigned(std::int32_t v, std::uint32_t f) {
  if (v >= 0) return static_cast<std::int32_t>(ScaleUnsigned(static_cast<std::uint32_t>(v), f));
  const std::uint32_t m = ScaleUnsigned(0u - static_cast<std::uint32_t>(v), f);
  return static_cast<std::int32_t>(0u - m);
}

std::int32_t Sub(std::int32_t a, std::int32_t b) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}

// Truncates a non-negative product toward zero and keeps its low 32 bits.
std::int32_t LowWord(double product) {
  if (!(product < 18446744073709551616.0) || !(product > -9223372036854775808.0)) return 0;
  if (product < 0) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::int64_t>(product)));
  }
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(product)));
}

}  // namespace

const ViewMapping& ActiveViewMapping() { return g_raster.view ? *g_raster.view : kNoView; }

std::uint32_t ViewFactorForZoom(std::uint32_t zoom) { return 0xFFFFFFFFu / (zoom == 0 ? 1u : zoom); }

std::int32_t ScaleByViewFactor(std::int32_t value) {
  g_raster.scaleResult = g_raster.signedScale
                             ? ScaleSigned(value, g_raster.viewFactor)
                             : static_cast<std::int32_t>(ScaleUnsigned(static_cast<std::uint32_t>(value),
                                                                       g_raster.viewFactor));
  return g_raster.scaleResult;
}

std::int32_t ScaleToView(std::int32_t value) {
  g_raster.scaleResult =
      static_cast<std::int32_t>(ScaleUnsigned(static_cast<std::uint32_t>(value), g_raster.viewFactor));
  return g_raster.scaleResult;
}

void ScaleToViewInPlace(std::int32_t& value) { value = ScaleToView(value); }

void ScaleSignedToViewInPlace(std::int32_t& value) {
  g_raster.signedScale = 1;
  value = ScaleByViewFactor(value);
  g_raster.signedScale = 0;
}

std::int32_t ScaleToViewRoundingUp(std::int32_t value) {
  const std::uint64_t p = static_cast<std::uint64_t>(static_cast<std::uint32_t>(value)) * g_raster.viewFactor;
  std::uint32_t s = static_cast<std::uint32_t>(p >> 32);
  if (static_cast<std::uint32_t>(p) > 0xFF000000u) ++s;
  g_raster.scaleResult = static_cast<std::int32_t>(s);
  return g_raster.scaleResult;
}

void WorldToViewCurrent(std::int32_t& x, std::int32_t& y) {
  const ViewMapping& v = ActiveViewMapping();
  x = Sub(ScaleToView(x), v.originX);
  y = Sub(ScaleToView(y), v.originY);
}

void WorldToView(std::int32_t& x, std::int32_t& y) {
  g_raster.viewFactor = ViewFactorForZoom(ActiveViewMapping().zoom);
  g_raster.signedScale = 0;
  WorldToViewCurrent(x, y);
}

void WorldPointToView(Point* p) { WorldToView(p->x, p->y); }

void WorldToViewSigned(std::int32_t& x, std::int32_t& y) {
  const ViewMapping& v = ActiveViewMapping();
  x = Sub(ScaleSigned(x, g_raster.viewFactor), v.originX);
  y = Sub(ScaleSigned(y, g_raster.viewFactor), v.originY);
}

void ViewBoxToWorld(Box* box) {
  const ViewMapping& v = ActiveViewMapping();
  const double zoom = static_cast<double>(v.zoom);
  auto convert = [zoom](std::int32_t c, std::int32_t origin) {
    const std::uint32_t sum = static_cast<std::uint32_t>(c) + static_cast<std::uint32_t>(origin);
    return LowWord(static_cast<double>(sum) * zoom);
  };
  box->xmin = convert(box->xmin, v.originX);
  box->xmax = convert(box->xmax, v.originX);
  box->ymin = convert(box->ymin, v.originY);
  box->ymax = convert(box->ymax, v.originY);
}

void ScaleBoxByFactor(Box* box, std::uint32_t factor) {
  for (std::int32_t* c : {&box->xmin, &box->ymin, &box->xmax, &box->ymax}) {
    ScaleValueByFactor(*c, factor);
  }
}

void ScaleSignedBoxByFactor(Box* box, std::uint32_t factor) {
  const double f = static_cast<double>(factor) / 16777216.0;
  for (std::int32_t* c : {&box->xmin, &box->ymin, &box->xmax, &box->ymax}) {
    *c = LowWord(static_cast<double>(*c) * f);
  }
}

void ScaleValueByFactor(std::int32_t& value, std::uint32_t factor) {
  value = LowWord(static_cast<double>(static_cast<std::uint32_t>(value)) * static_cast<double>(factor) /
                  16777216.0);
}

void ScaleDoubleByFactor(double* value, std::uint32_t factor) {
  *value = *value * static_cast<double>(factor) / 16777216.0;
}

std::int32_t TruncateToInt(double value) {
  if (!(value > -2147483649.0 && value < 2147483648.0)) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(value);
}

}  // namespace pl3
