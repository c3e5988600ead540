// The grid records of an editor window: one grid (GridEntry, cartesian with a
// step per axis or polar with rings and a step angle), and a window's set of
// them (GridSet: a header holding the current grid, then the entries). A set
// is one malloc'd block copied byte for byte (grid files store the same
// bytes), so every layout is packed and checked at compile time.
//
// Also the set helpers (size, duplicate, append, remove, move), the built-in
// set and the program's default set, and the step and unit texts of a grid.
#pragma once
#include <cstddef>
#include <cstdint>

struct CurrentWindowData;

// The units of a grid, by the unit index of its records.
constexpr std::uint32_t kGridUnitThou = 0;
constexpr std::uint32_t kGridUnitInch = 1;
constexpr std::uint32_t kGridUnitMm = 2;
constexpr std::uint32_t kGridUnitCm = 3;
constexpr std::uint32_t kGridUnitCount = 4;
// World units of one unit: thou 36,576, inch 36,576,000, mm 1,440,000, cm 14,400,000.
extern const std::uint32_t UnitSize[kGridUnitCount];
// The unit's world size; 0 for an index outside the table (such a grid has no positions).
std::uint32_t GridUnitSize(std::uint32_t unit);

// GridEntry kinds, polar angle styles, GridSet flags.
constexpr std::uint32_t kGridCartesian = 1;
constexpr std::uint32_t kGridPolar = 2;
constexpr std::uint32_t kAngleEveryFraction = 1;  // every 360/n degrees
constexpr std::uint32_t kAngleEveryDegrees = 2;   // every n degrees
constexpr std::uint16_t kGridDisplayed = 0x1;
constexpr std::uint16_t kGridSnap = 0x2;

#pragma pack(push, 1)
// One cartesian axis.
struct GridAxis {
  std::uint32_t numerator;       // the step is numerator / denominator of the grid's unit
  std::uint32_t denominator;
  std::uint32_t displayMultiple; // a dot at every n-th grid point
  std::uint32_t minimumSpacing;  // pixels
  std::uint32_t thinningFactor;  // the spacing is multiplied by this while below the minimum
};

// One grid.
struct GridEntry {
  std::uint32_t flags;
  std::uint32_t unit;            // kGridUnit...
  std::uint8_t keyStroke;        // the key that selects the grid, 0 for none
  std::uint32_t kind;            // kGridCartesian or kGridPolar
  GridAxis x;                    // cartesian
  GridAxis y;
  double ringSpacing;            // polar: in the grid's unit
  std::uint32_t angleStyle;      // kAngleEvery...
  std::uint32_t polarWord;       // stored with polar grids, not read by the grid code
  double angleValue;             // n of the angle style
};

// The header of a set; `count` entries follow it in the same block.
struct GridSet {
  std::uint16_t flags;           // kGridDisplayed, kGridSnap
  std::uint16_t secondWord;      // 6 in the built-in set
  GridEntry current;             // a copy of the chosen entry, edited in place
  std::uint32_t count;
};
#pragma pack(pop)
static_assert(sizeof(GridAxis) == 20);
static_assert(offsetof(GridEntry, unit) == 4 && offsetof(GridEntry, keyStroke) == 8);
static_assert(offsetof(GridEntry, kind) == 9 && offsetof(GridEntry, x) == 13 && offsetof(GridEntry, y) == 33);
static_assert(offsetof(GridEntry, ringSpacing) == 53 && offsetof(GridEntry, angleStyle) == 61);
static_assert(offsetof(GridEntry, polarWord) == 65 && offsetof(GridEntry, angleValue) == 69);
static_assert(sizeof(GridEntry) == 77);
static_assert(offsetof(GridSet, secondWord) == 2 && offsetof(GridSet, current) == 4);
static_assert(offsetof(GridSet, count) == 81 && sizeof(GridSet) == 85);

// Entry i of a set (no bound test).
inline GridEntry* GridSetEntry(GridSet* set, std::uint32_t i) {
  return reinterpret_cast<GridEntry*>(reinterpret_cast<std::uint8_t*>(set) + sizeof(GridSet)) + i;
}
inline const GridEntry* GridSetEntry(const GridSet* set, std::uint32_t i) {
  return reinterpret_cast<const GridEntry*>(reinterpret_cast<const std::uint8_t*>(set) + sizeof(GridSet)) + i;
}

// The byte size of a set block: of the set's own count, or of a count.
std::size_t GetGridSetSize(const GridSet* set);
std::size_t GetGridSetSizeForCount(std::uint32_t count);
// A new block (std::malloc) holding a byte copy of the set; null for null.
GridSet* DuplicateGridSet(const GridSet* set);
// A new block with the entry added at the end; the caller frees the old one.
GridSet* AppendGridEntry(const GridSet* set, const GridEntry& entry);
// Removes entry index in place, moving the later ones down; an index past
// the end changes nothing.
void RemoveGridEntry(GridSet* set, std::uint32_t index);
// Exchange entry index with the one before or after it; the first entry
// does not move up, nor the last down.
void MoveGridEntryUp(GridSet* set, std::uint32_t index);
void MoveGridEntryDown(GridSet* set, std::uint32_t index);

// A new block with the built-in grids: flags 3, second word 6, 18 cartesian
// entries (mm, cm, thou, inch), the current grid a copy of entry 0.
GridSet* BuildDefaultGridSet();

// The program's default set (malloc'd, owned here); grid files replace it.
// Null until it is first needed or set.
extern GridSet* DefaultGridSet;
// DefaultGridSet, built from the built-in grids when there is none yet.
const GridSet* EnsureDefaultGridSet();

// The window's grid set. A window whose Grids is null, or whose set header
// is all zero (a design without grid records), first gets a copy of the
// default set, so that every snap and grid drawing has a grid to work with.
GridSet* WindowGridSet(CurrentWindowData& block);

// The step angle of a polar grid in degrees (360 / n for style 1, n for
// style 2); 0 when the style is unknown or the value gives no step.
double PolarStepAngle(const GridEntry& entry);
// The ring step of a polar grid in world units (truncated); 0 for none.
std::uint32_t PolarRingStep(const GridEntry& entry);

// Text sizes that hold any step or unit text.
constexpr std::size_t kGridTextSize = 32;
// The step of axis 0 (x) or 1 (y) of an entry: "1/20" or "5" (thou, inch),
// "0.25" (mm, cm); a polar grid's step angle followed by the degree sign
// (byte 0xB0) for axis 0, its ring spacing for axis 1. `text` holds
// kGridTextSize bytes.
void FormatGridStep(char* text, int axis, const GridEntry* entry);
// The entry's unit name ("thou", "inch", "mm", "cm"; empty for an unknown unit).
void GetGridUnitName(char* text, const GridEntry* entry);
