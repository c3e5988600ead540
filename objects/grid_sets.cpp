#include "objects/grid_sets.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "edit/window_data.h"
#include "platform/reset_hooks.h"

const std::uint32_t UnitSize[kGridUnitCount] = {36576, 36576000, 1440000, 14400000};

GridSet* DefaultGridSet = nullptr;

namespace {

constexpr const char* kUnitNames[kGridUnitCount] = {"thou", "inch", "mm", "cm"};

void ResetDefaultGridSet() {
  std::free(DefaultGridSet);
  DefaultGridSet = nullptr;
}
const bool gRegistered = pl3::RegisterGlobalReset(&ResetDefaultGridSet);

GridSet* AllocateGridSet(std::uint32_t count) {
  return static_cast<GridSet*>(std::calloc(1, GetGridSetSizeForCount(count)));
}

GridEntry CartesianEntry(std::uint32_t unit, std::uint32_t numerator, std::uint32_t denominator) {
  GridEntry e{};
  e.unit = unit;
  e.kind = kGridCartesian;
  e.x = {numerator, denominator, 1, 10, 10};
  e.y = e.x;
  return e;
}

bool AllZero(const void* bytes, std::size_t size) {
  const auto* p = static_cast<const std::uint8_t*>(bytes);
  for (std::size_t i = 0; i < size; ++i)
    if (p[i]) return false;
  return true;
}

void SwapEntries(GridSet* set, std::uint32_t a, std::uint32_t b) {
  GridEntry t;
  std::memcpy(&t, GridSetEntry(set, a), sizeof t);
  std::memcpy(GridSetEntry(set, a), GridSetEntry(set, b), sizeof t);
  std::memcpy(GridSetEntry(set, b), &t, sizeof t);
}

}  // namespace

std::uint32_t GridUnitSize(std::uint32_t unit) { return unit < kGridUnitCount ? UnitSize[unit] : 0; }

std::size_t GetGridSetSizeForCount(std::uint32_t count) { return sizeof(GridSet) + std::size_t{count} * sizeof(GridEntry); }

std::size_t GetGridSetSize(const GridSet* set) { return GetGridSetSizeForCount(set->count); }

GridSet* DuplicateGridSet(const GridSet* set) {
  if (!set) return nullptr;
  const std::size_t size = GetGridSetSize(set);
  auto* copy = static_cast<GridSet*>(std::malloc(size));
  if (copy) std::memcpy(copy, set, size);
  return copy;
}

GridSet* AppendGridEntry(const GridSet* set, const GridEntry& entry) {
  const std::uint32_t count = set ? set->count : 0;
  GridSet* grown = AllocateGridSet(count + 1);
  if (!grown) return nullptr;
  if (set) std::memcpy(grown, set, GetGridSetSize(set));
  std::memcpy(GridSetEntry(grown, count), &entry, sizeof entry);
  grown->count = count + 1;
  return grown;
}

void RemoveGridEntry(GridSet* set, std::uint32_t index) {
  if (!set || index >= set->count) return;
  std::memmove(GridSetEntry(set, index), GridSetEntry(set, index + 1),
               std::size_t{set->count - index - 1} * sizeof(GridEntry));
  --set->count;
}

void MoveGridEntryUp(GridSet* set, std::uint32_t index) {
  if (set && index > 0 && index < set->count) SwapEntries(set, index, index - 1);
}

void MoveGridEntryDown(GridSet* set, std::uint32_t index) {
  if (set && set->count > 0 && index < set->count - 1) SwapEntries(set, index, index + 1);
}

GridSet* BuildDefaultGridSet() {
  struct Step {
    std::uint32_t unit, numerator, denominator;
  };
  static constexpr Step kSteps[] = {
      {kGridUnitMm, 1, 1},     {kGridUnitMm, 1, 2},     {kGridUnitMm, 1, 4},      {kGridUnitMm, 1, 10},
      {kGridUnitMm, 1, 100},   {kGridUnitCm, 1, 2},     {kGridUnitCm, 1, 1},      {kGridUnitThou, 1, 1},
      {kGridUnitThou, 5, 1},   {kGridUnitThou, 10, 1},  {kGridUnitThou, 50, 1},   {kGridUnitThou, 100, 1},
      {kGridUnitInch, 1, 10},  {kGridUnitInch, 1, 20},  {kGridUnitInch, 1, 40},   {kGridUnitInch, 1, 80},
      {kGridUnitInch, 1, 160}, {kGridUnitInch, 1, 320},
  };
  constexpr std::uint32_t count = sizeof kSteps / sizeof kSteps[0];
  GridSet* set = AllocateGridSet(count);
  if (!set) return nullptr;
  set->flags = kGridDisplayed | kGridSnap;
  set->secondWord = 6;
  set->count = count;
  for (std::uint32_t i = 0; i < count; ++i) {
    const GridEntry e = CartesianEntry(kSteps[i].unit, kSteps[i].numerator, kSteps[i].denominator);
    std::memcpy(GridSetEntry(set, i), &e, sizeof e);
  }
  std::memcpy(&set->current, GridSetEntry(set, 0), sizeof(GridEntry));
  return set;
}

const GridSet* EnsureDefaultGridSet() {
  if (!DefaultGridSet) DefaultGridSet = BuildDefaultGridSet();
  return DefaultGridSet;
}

GridSet* WindowGridSet(CurrentWindowData& block) {
  auto* set = static_cast<GridSet*>(block.Grids);
  if (set && (set->count != 0 || !AllZero(set, sizeof(GridSet)))) return set;
  GridSet* copy = DuplicateGridSet(EnsureDefaultGridSet());
  if (!copy) return set;
  std::free(set);
  block.Grids = copy;
  return copy;
}

double PolarStepAngle(const GridEntry& entry) {
  double step = 0;
  if (entry.angleStyle == kAngleEveryFraction && entry.angleValue != 0)
    step = 360.0 / entry.angleValue;
  else if (entry.angleStyle == kAngleEveryDegrees)
    step = entry.angleValue;
  // A step that is not a positive finite angle gives no positions.
  return std::isfinite(step) && step > 0 ? step : 0;
}

std::uint32_t PolarRingStep(const GridEntry& entry) {
  const double step = static_cast<double>(GridUnitSize(entry.unit)) * entry.ringSpacing;
  if (!(step >= 1) || step > 4294967295.0) return 0;
  return static_cast<std::uint32_t>(step);
}

void FormatGridStep(char* text, int axis, const GridEntry* entry) {
  if (entry->kind == kGridPolar) {
    if (axis == 0)
      std::snprintf(text, kGridTextSize, "%g\xB0", PolarStepAngle(*entry));
    else
      std::snprintf(text, kGridTextSize, "%g", entry->ringSpacing);
    return;
  }
  const GridAxis& a = axis == 0 ? entry->x : entry->y;
  if (entry->unit == kGridUnitThou || entry->unit == kGridUnitInch) {
    if (a.denominator == 1)
      std::snprintf(text, kGridTextSize, "%d", static_cast<int>(a.numerator));
    else
      std::snprintf(text, kGridTextSize, "%d/%d", static_cast<int>(a.numerator), static_cast<int>(a.denominator));
  } else {
    const double step = a.denominator ? static_cast<double>(a.numerator) / a.denominator : 0.0;
    std::snprintf(text, kGridTextSize, "%g", step);
  }
}

void GetGridUnitName(char* text, const GridEntry* entry) {
  std::snprintf(text, kGridTextSize, "%s", entry->unit < kGridUnitCount ? kUnitNames[entry->unit] : "");
}
