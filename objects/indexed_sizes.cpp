#include "objects/indexed_sizes.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "objects/active_window.h"
#include "objects/graphic_records.h"
#include "objects/size_table.h"
#include "objects/size_text.h"
#include "objects/type_codes.h"
#include "store/tower.h"

namespace {

constexpr double kUnitFactors[4] = {36576.0, 36576000.0, 1440000.0, 14400000.0};
const char* const kUnitWords[4] = {"thou", "inch", "mm", "cm"};

bool ConvertsItsSize(std::uint16_t type) {
  switch (type) {
    case Type_Track: case Type_Arc: case Type_ThermalBreak: case Type_RoutedLine: case Type_Spiral:
    case Type_Wire: case Type_Bus: case Type_LinkedCut: case Type_StarEarthTrack: case Type_PlatedSlot:
    case Type_NonPlatedSlot: case Type_Circle: case Type_Rectangle: case Type_Hole:
      return true;
    default:
      return false;
  }
}

// An item's real size in full (not halved) internal units, and its list.
struct RealSize {
  std::uint32_t kind = kNoSizeKind;
  double first = 0;
  double second = 0;
};

double Distance(pl3::Point a, pl3::Point b) {
  return std::hypot(static_cast<double>(b.x) - a.x, static_cast<double>(b.y) - a.y);
}

RealSize RealSizeOf(std::uint16_t type, const std::uint8_t* payload, std::uint32_t size) {
  RealSize real;
  switch (type) {
    case Type_Rectangle: {
      if (size < sizeof(pl3::RectangleLayout)) return real;
      const auto& r = *reinterpret_cast<const pl3::RectangleLayout*>(payload);
      real = {SizeKind_Rectangles, std::round(Distance(r.corners[0], r.corners[1])),
              std::round(Distance(r.corners[1], r.corners[2]))};
      return real;
    }
    case Type_Hole: {
      if (size < sizeof(pl3::HoleLayout)) return real;
      const auto& h = *reinterpret_cast<const pl3::HoleLayout*>(payload);
      if (h.flags & kHoleIsVia) return {SizeKind_Vias, 2.0 * h.size1, 2.0 * h.size2};
      return {SizeKind_Holes, 2.0 * h.size1, 0};
    }
    default: {
      // Lines, slots and circles keep their half-width or radius at 48.
      if (size < sizeof(GraphicHead) + 4) return real;
      std::int32_t half = 0;
      std::memcpy(&half, payload + sizeof(GraphicHead), sizeof half);
      return {GetTypeSizeKind(type), 2.0 * half, 0};
    }
  }
}

// The size-text line of a nameless on entry of the real size.
std::string EntryLine(const RealSize& real) {
  std::string text;
  std::uint32_t unit = ShortestUnit(real.first, text);
  // Rounded to its text, the size may read shorter in another unit.
  unit = ShortestUnit(std::strtod(text.c_str(), nullptr) * kUnitFactors[unit], text);
  std::string line = "\"" + text + "\"\t";
  if (real.kind == SizeKind_Rectangles || real.kind == SizeKind_Vias) {
    char second[48];
    std::snprintf(second, sizeof second, "%g", real.second / kUnitFactors[unit]);
    line += std::string("\"") + second + "\"\t";
  }
  return line + "\"" + kUnitWords[unit] + "\"\t\"\"\t\"Y\"\t\"\"";
}

bool SameValues(const SizeEntry& a, const SizeEntry& b, std::uint32_t kind) {
  if (a.value1 != b.value1) return false;
  return !(kind == SizeKind_Rectangles || kind == SizeKind_Vias) || a.value2 == b.value2;
}

// The index of the entry with the size, appended when the list has none;
// kNoSizeKind when the size cannot be written as an entry.
std::uint32_t EntryIndexFor(SizeTable& table, const RealSize& real) {
  SizeTable scratch;
  if (!AppendSizeEntryLine(scratch, real.kind, EntryLine(real))) return kNoSizeKind;
  const SizeEntry& wanted = scratch[real.kind].entries.front();
  SizeList& list = table[real.kind];
  for (std::uint32_t i = 0; i < list.count(); ++i)
    if (SameValues(list.entries[i], wanted, real.kind)) return i;
  SizeEntry added = wanted;
  added.index = list.count();
  list.entries.push_back(added);
  return added.index;
}

}  // namespace

std::uint32_t ShortestUnit(double length, std::string& text) {
  std::uint32_t best = 0;
  for (std::uint32_t unit = 0; unit < 4; ++unit) {
    char candidate[48];
    std::snprintf(candidate, sizeof candidate, "%g", length / kUnitFactors[unit]);
    if (unit == 0 || std::strlen(candidate) < text.size()) {
      best = unit;
      text = candidate;
    }
  }
  return best;
}

std::uint32_t ConvertToIndexedSizes(const Tower* design) {
  SizeTable* table = ActiveSizeTable();
  if (!design || !table) return 0;
  std::uint32_t converted = 0;
  Tower* child = GetAllChildrenTower(design);
  while (child) {
    Entity* e = FindNextEntity(child);
    if (!e) break;
    if (!ConvertsItsSize(e->typeCode)) {
      SkipToNextType(child);
      continue;
    }
    std::uint8_t* payload = EntityPayload(e);
    if (e->payloadSize < sizeof(GraphicHead)) continue;
    auto& head = *reinterpret_cast<GraphicHead*>(payload);
    if (!(head.sizeFlags & kSizeCustom)) continue;
    const RealSize real = RealSizeOf(e->typeCode, payload, e->payloadSize);
    if (real.kind == kNoSizeKind) continue;
    const std::uint32_t index = EntryIndexFor(*table, real);
    if (index == kNoSizeKind) continue;
    head.sizeIndex = index;
    head.sizeFlags = static_cast<std::uint16_t>((head.sizeFlags | kSizeByIndex) & ~kSizeCustom);
    ++converted;
  }
  ReleaseTower(&child);
  return converted;
}
