// Lengths typed by the user with their unit ("12.5 mm", ".5 inch"). A length
// stays in the unit it was typed in, so it is shown again as typed, and is
// converted to world units or millimetres only where it is used.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace pl3 {

// Unit indices shared by every length field and size list.
enum LengthUnit : std::uint32_t {
  Unit_Thou = 0,
  Unit_Inch = 1,
  Unit_Millimetre = 2,
  Unit_Centimetre = 3,
};
constexpr std::uint32_t LengthUnitCount = 4;

// World units per unit (1 inch = 36,576,000 world units) and millimetres per
// unit, indexed by the unit index.
inline constexpr std::int64_t WorldUnitsPerUnit[LengthUnitCount] = {36576, 36576000, 1440000, 14400000};
inline constexpr double MillimetresPerUnit[LengthUnitCount] = {0.0254, 25.4, 1.0, 10.0};

// The unit words that the parser accepts (without regard to case) and the
// formatter writes, indexed by the unit index.
extern const char* const LengthUnitWords[LengthUnitCount];

struct LengthValue {
  double value;       // the number as typed, never negative
  std::uint32_t unit;  // LengthUnit
};

// Parses "<number> <unit>": optional leading white space, a run of digits with
// at most one full stop that a digit follows, optional white space, then one
// of the unit words; whatever follows the unit word is ignored. Returns true
// and fills both outputs for a well-formed text; otherwise returns false and
// leaves the outputs unchanged.
bool ParseLengthWithUnits(std::string_view text, double& value, std::uint32_t& unit);

// "%g %s": the value in six significant digits and the unit word, for
// example "0.1 thou" or "1.23457e+06 mm". A unit index outside the table
// formats the number alone.
std::string FormatLengthWithUnits(const LengthValue& length);

// Value times the unit's factor; 0 for a unit index outside the table.
double LengthToWorldUnits(const LengthValue& length);
double LengthToMillimetres(const LengthValue& length);

}  // namespace pl3
