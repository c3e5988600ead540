// IO port locators (kinds 9 and 15): their port type, their turn to follow the
// wire they end, and the symbol tests and point turn the shaped locators use.
#pragma once
#include <cstdint>

#include "geometry/types.h"
#include "objects/graphic_records.h"

struct Tower;

// Markers a schematic symbol definition (25) carries.
constexpr std::uint16_t kTypeSpecialFunctionMarker = 11022;
constexpr std::uint16_t kTypeNetNameGraphicMarker = 11032;

// IsSpecialFunctionSymbol and IsNetNameGraphicSymbol are declared in
// store/seams.h: for a definition, whether it carries the marker; for a
// schematic symbol (30) or its record (32), the same of the definition the
// record refers to in the active window's design; 0 for anything else.

// The schematic symbol definition (25) that a schematic symbol (30) or its
// record (32) refers to, found among the active window's design's
// definitions (never by trusting the stored address); null when none. The
// caller releases it. Defined with the marker tests (symbol_markers.cpp).
Tower* ReferencedSymbolDefinition(const Tower* symbolOrRecord);

// The child of `code` under t whose node is `reference` (a stored reference,
// never trusted as an address), or null.
Tower* FindChildByReference(const Tower* t, std::uint16_t code, std::uint32_t reference);

// Turns (x, y) by the linear part of the transform about its translation point.
void RotateXYAboutOrigin(std::int32_t* x, std::int32_t* y, const pl3::Transform& t);

// Steps an IO port's type (the pointed ends) through 0, 1, 2.
void CycleIOPortType(LocatorPayload* locator);

// The rotation of an IO port whose wire arrives at `degrees` (0 to 359).
const pl3::Transform& IOPortRotationForAngle(int degrees);
// Turns an IO port to follow the one wire or bus of the page that ends at its
// point; with no such end, or more than one, the rotation stays. Returns 1
// when the rotation was set.
int FitIOPortToWires(LocatorPayload* locator, const Tower* page);
