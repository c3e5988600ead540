// World-to-view scaling of the active window. The kernel scales by the
// unsigned 0.32 view factor F = floor(0xFFFFFFFF / zoom): one multiply per
// coordinate, no division per point. The answers land in g_raster's scale
// result word and are returned.
#pragma once
#include <cstdint>

#include "geometry/types.h"

namespace pl3 {

// floor(0xFFFFFFFF / zoom); a zoom of 0 (never valid) is taken as 1.
std::uint32_t ViewFactorForZoom(std::uint32_t zoom);

// Scales value by F: unsigned, or by magnitude and sign when the signed-scale
// flag is set. Leaves the answer in g_raster.scaleResult and returns it.
std::int32_t ScaleByViewFactor(std::int32_t value);
std::int32_t ScaleToView(std::int32_t value);
void ScaleToViewInPlace(std::int32_t& value);
void ScaleSignedToViewInPlace(std::int32_t& value);
// The unsigned scale, plus 1 when the low word of value * F exceeds
// 0xFF000000 (arc radius and centre only).
std::int32_t ScaleToViewRoundingUp(std::int32_t value);

// Sets F from the active window's zoom, then x' = s(x) - originX, y' = s(y) - originY.
void WorldToView(std::int32_t& x, std::int32_t& y);
void WorldPointToView(Point* p);
// Signed scale with the current F, minus the active window's origin.
void WorldToViewSigned(std::int32_t& x, std::int32_t& y);
// The kernel's own world-to-view step: unsigned scale with the current F.
void WorldToViewCurrent(std::int32_t& x, std::int32_t& y);

void ViewBoxToWorld(Box* box);
void ScaleBoxByFactor(Box* box, std::uint32_t factor);
void ScaleSignedBoxByFactor(Box* box, std::uint32_t factor);
void ScaleValueByFactor(std::int32_t& value, std::uint32_t factor);
void ScaleDoubleByFactor(double* value, std::uint32_t factor);
// Truncates toward zero; NaN and values beyond 32 bits give INT32_MIN.
std::int32_t TruncateToInt(double value);

// The active window's view mapping (or the kernel's default {0, 0, 1} when
// no window is bound).
const ViewMapping& ActiveViewMapping();

}  // namespace pl3
