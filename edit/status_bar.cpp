#include "edit/status_bar.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "edit/edit_modes.h"
#include "edit/status_seams.h"
#include "edit/window_data.h"
#include "objects/graphic_records.h"
#include "objects/grid_sets.h"
#include "objects/size_table.h"
#include "objects/attribute_services.h"
#include "objects/type_codes.h"
#include "platform/commctrl.h"
#include "platform/reset_hooks.h"
#include "platform/resource_images.h"
#include "platform/resources.h"
#include "platform/user.h"
#include "store/tower.h"

const char* const SizeUnitNames[4] = {"Thou", "Inch", "mm", "cm"};
const std::uint32_t SizeUnitWorld[4] = {36576, 36576000, 1440000, 14400000};
StatusBarSources StatusSources;

namespace {

void ResetStatusSources() { StatusSources = {}; }
const bool gRegistered = pl3::RegisterGlobalReset(&ResetStatusSources);

constexpr int kStatusIcon = 191;
constexpr int kStatusIconSize = 13;
constexpr std::int64_t kWorldPerTenthThou = 36576;
constexpr std::int64_t kWorldPerHundredthMm = 1440000;
constexpr double kDegreesPerRadian = 57.29577951471995;

// Appends printf-style text to a status text buffer.
void Append(char* text, const char* format, ...) __attribute__((format(printf, 2, 3)));
void Append(char* text, const char* format, ...) {
  const std::size_t used = std::strlen(text);
  if (used + 1 >= kStatusTextSize) return;
  va_list args;
  va_start(args, format);
  std::vsnprintf(text + used, kStatusTextSize - used, format, args);
  va_end(args);
}

// A length as a fixed-point number: the magnitude rounded half up in units
// of `per` world units, padded to `digits` digits, the point before the
// last `decimals` of them.
void FormatFixed(char* buffer, std::int32_t length, std::int64_t scale, std::int64_t per, int digits, int decimals) {
  const bool negative = length < 0;
  const std::int64_t magnitude = negative ? -std::int64_t{length} : std::int64_t{length};
  const long units = static_cast<long>((magnitude * scale + per / 2) / per);
  char padded[32];
  std::snprintf(padded, sizeof padded, "%0*ld", digits, units);
  const std::size_t n = std::strlen(padded);
  std::snprintf(buffer, kLengthTextSize, "%s%.*s.%s", negative ? "-" : "", static_cast<int>(n - decimals), padded,
                padded + n - decimals);
}

void SetPartText(int part, const char* text) {
  if (HWND bar = FrameStatusBar()) SendMessage(bar, SB_SETTEXT, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text));
}

bool IsPcbWindow(const CurrentWindowData& block) { return block.editorKind == kEditorPcb; }

// The size list of a type, or kNoSizeKind.
std::uint32_t StatusSizeKind(std::uint16_t type) {
  switch (type) {
    case 1: case 2: case 10: case 19: case 28: case 29: case 35: case 37: return SizeKind_Lines;
    case 3: return SizeKind_Circles;
    case 5: case 20: case 34: return SizeKind_Fonts;
    case 6: return SizeKind_Rectangles;
    case 7: case 46: case 47: return SizeKind_Holes;
    case 17: return SizeKind_Vias;
    default: return kNoSizeKind;
  }
}

// The value text of a size: the number and its unit name.
void SizeValue(char* text, std::int32_t value, std::uint8_t unit) {
  char number[48];
  FormatSizeValue(number, value, unit);
  std::snprintf(text, 64, "%s %s", number, unit < 4 ? SizeUnitNames[unit] : "");
}

// The word of a graphic type with a size ("%s" takes the size text).
const char* SizedFormat(std::uint16_t type) {
  switch (type) {
    case 3: return "Circle %s";
    case 5: return "Text %s";
    case 6: return "Rectangle %s";
    case 7: return "Hole %s";
    case 10: return "Thermal Break %s";
    case 17: return "Via %s";
    case 19: return "Spiral %s";
    case 28: return "Wire %s";
    case 29: return "Bus %s";
    case 34: return "Datum %s";
    case 35: return "Linked Cut %s";
    case 37: return "Star Earth Track %s";
    case 46: return "Plated Slot %s";
    case 47: return "Non Plated Slot %s";
    default: return nullptr;
  }
}

const char* FixedWord(std::uint16_t type) {
  switch (type) {
    case 4: return "Polygon";
    case 8: return "Plane";
    case 9: return "Plane Cutout";
    case 21: return "Angle Dimensioner";
    case 22: return "Dimensioner";
    case 41: return "Polygon Keepout";
    case 42: return "Polygon Via Keepout";
    case 43: return "Polygon Placement Keepout";
    case 44: return "Component Placement Outline";
    case 45: return "Component Body Outline";
    case 49: return "Polygon Wiring Keepout";
    default: return nullptr;
  }
}

const char* LocatorWord(std::uint8_t kind) {
  switch (kind) {
    case 1: return "Pin Number ";
    case 3: return "Net Name ";
    case 4: return "Pin Name ";
    case 6: return "Designator Locator ";
    case 9: return "IO Port ";
    case 10: return "Value Locator ";
    case 13: return "Graphical Net Name ";
    case 14: return "User Attribute Locator ";
    case 15: return "Named IO Port ";
    case 16: return "Net Name Locator ";
    case 17: return "Display Global Nets Locator ";
    default: return "Attribute Locator ";
  }
}

// The plural forms of several items of one type.
struct Plural {
  std::uint16_t type;
  const char* text;     // "%d" takes the count
  char sizeForm;        // '(' " (%s)", ' ' " %s", 0 no size
};
constexpr Plural kPlurals[] = {
    {5, "%d Strings Selected", '('},        {20, "%d Attribute Locators Selected", '('},
    {3, "%d Circles Selected", '('},        {6, "%d Rectangles Selected", '('},
    {17, "%d Vias Selected", '('},          {7, "%d Holes Selected", '('},
    {47, "%d Non Plated Slots Selected", '('}, {46, "%d Plated Slots Selected", '('},
    {37, "%d Star Earth Tracks Selected", '('}, {10, "%d Thermal Breaks Selected", '('},
    {35, "%d Linked Cuts Selected", '('},   {19, "%d Spirals Selected", '('},
    {2, "%d Arcs Selected", ' '},           {28, "%d Wires Selected", ' '},
    {29, "%d Bus Selected", ' '},           {21, "%d Angle Dimensioner Selected", 0},
    {22, "%d Dimensioner Selected", 0},
};

// The items the selection records describe.
std::vector<StatusItem> SelectionItems(const CurrentWindowData& block) {
  std::vector<StatusItem> items;
  if (!StatusSources.readSelection) return items;
  for (const SelectionInfo* s = block.SelectionList; s; s = s->next) {
    StatusItem item{};
    item.layer = -1;
    if (StatusSources.readSelection(s, &item)) items.push_back(item);
  }
  return items;
}

// The netlist's Imported Symbol of a designator in the active design, or null.
Tower* FindNetlistSymbol(const char* designator) {
  const CurrentWindowData* block = ActiveWindowData;
  if (!block || !block->design || !designator) return nullptr;
  Tower* group = OpenChildTower(block->design, Type_NetHierGroup);
  Tower* found = group ? FindImportedSymbol(group, designator) : nullptr;
  ReleaseTower(&group);
  return found;
}

const char* ModeTextOfTable(std::uint8_t mode) {
  const EditModeInfo* info = FindEditMode(mode);
  return info && info->statusText ? info->statusText : "";
}

void SelectionModeText(const CurrentWindowData& block, char* text) {
  int count = 0;
  for (const SelectionInfo* s = block.SelectionList; s; s = s->next) ++count;
  const SelectionInfo* first = block.SelectionList;
  const char* bySubMode = block.SubMode == 0   ? "Edit Selection"
                          : block.SubMode == 1 ? "Edit Selection (90 Degree Assist)"
                                               : "Edit Selection (45 Degree Assist)";
  if (count > 1) {
    std::snprintf(text, kStatusTextSize, "%s", first->grabbedPart == 0 ? "Edit Selection - Move Mode" : bySubMode);
    return;
  }
  if (count == 0) {
    std::snprintf(text, kStatusTextSize, "%s", bySubMode);
    return;
  }
  static constexpr const char* kGrabbed[] = {
      "Edit Selection - Move Mode", nullptr, nullptr, "Edit Selection - Edit Radius Mode",
      "Edit Selection - Edit Point Mode", "Edit Selection - Add Point Mode", "EditSelection - Set Centroid Angle",
      "EditSelection - Fixed", "EditSelection - Edit Spiral End Point", "EditSelection - Edit Spiral Start Point",
      "EditSelection - Edit Spiral Pitch", nullptr, "EditSelection - Edit Dimensioner Start",
      "EditSelection - Edit Dimensioner End", "EditSelection - Edit Dimensioner Marker",
      "EditSelection - Edit Dimensioner Text"};
  const std::uint16_t part = first->grabbedPart;
  const char* chosen = part < 16 ? kGrabbed[part] : nullptr;
  if (part == 11) {
    const int kind = StatusSources.grabbedLocatorKind ? StatusSources.grabbedLocatorKind(first) : 0;
    chosen = kind == 1   ? "EditSelection - Edit Pin Number Locator"
             : kind == 3 ? "EditSelection - Edit Net Name Locator"
             : kind == 4 ? "EditSelection - Edit Pin Name Locator"
                         : "EditSelection - Edit Attribute Locator";
  }
  std::snprintf(text, kStatusTextSize, "%s", chosen ? chosen : bySubMode);
}

const char* AddLocatorText(std::uint8_t kind) {
  switch (kind) {
    case 1: return "Add New Pin Number Locator";
    case 3: return "Add New Net Name Locator";
    case 4: return "Add New Pin Name Locator";
    case 6: return "Add New Designator Locator";
    case 9: return "Add New IO Port";
    case 10: return "Add New Value Locator";
    case 13: return "Add New Graphic Net Name";
    case 14: return "Add New User Attribute Locator";
    case 15: return "Add New Named IO Port";
    case 17: return "Add New Display Global Net Locator";
    default: return "Add New Attribute Locator";
  }
}

const char* PositionLocatorText(std::uint8_t kind) {
  switch (kind) {
    case 1: return "Position Pin Number Locator";
    case 3: return "Position Net Name Locator";
    case 4: return "Position Pin Name Locator";
    default: return "Position Attribute Locator";
  }
}

// The polygon tool's text by the pending record's state and kind.
const char* PolygonModeText(const EntityRecord* pending) {
  const std::uint8_t state = pending ? pending->header.state : 0;
  if (state & kStatePlaneCutout) return "Add New Poly Cut";
  if (state & kStatePlane) return "Add New Poly Plane";
  if (state & kStateKeepout) {
    switch (pending->header.recordType) {
      case 41: return "Add New Keepout Polygon";
      case 42: return "Add New Via Keepout Polygon";
      case 43: return "Add New Placement Keepout Polygon";
      case 44: return "Add New Component Placement Outline";
      case 45: return "Add New Component Body Outline";
      case 49: return "Add New Wiring Keepout Polygon";
      default: return "";
    }
  }
  return "Add New Polygon";
}

// "%.4f" with trailing zeros and a bare point removed.
void TrimmedNumber(char* text, double value) {
  std::snprintf(text, 48, "%.4f", value);
  char* end = text + std::strlen(text);
  while (end > text && end[-1] == '0') *--end = 0;
  if (end > text && end[-1] == '.') *--end = 0;
}

// The pending record as a StatusItem for the default rule of DescribeSelection.
bool PendingItem(const CurrentWindowData& block, StatusItem* item) {
  const EntityRecord* pending = block.PendingRecord;
  if (!pending) return false;
  *item = {};
  item->layer = -1;
  const std::uint16_t recordType = pending->header.recordType;
  const GraphicHead& head = *reinterpret_cast<const GraphicHead*>(pending->payload);
  item->sized = (head.sizeFlags & kSizeByIndex) ? 1 : 0;
  item->sizeIndex = head.sizeIndex;
  item->importedSize = StatusSources.pendingImportedSize ? static_cast<std::uint8_t>(StatusSources.pendingImportedSize(block) != 0) : 0;
  switch (recordType) {
    case 1: case 2: case 3: case 5: case 6: case 19: case 20: case 28: case 29:
      item->type = StoredCodeOfRecord(*pending);
      if (recordType == 20) {
        const auto& locator = *reinterpret_cast<const LocatorPayload*>(pending->payload);
        item->locatorKind = static_cast<std::uint8_t>(locator.kind);
        item->fontSize = locator.textSize;
      }
      return true;
    case 7: {
      const auto& hole = *reinterpret_cast<const HolePayload*>(pending->payload);
      item->type = (hole.hole.flags & kHoleIsVia) ? 17 : 7;
      return true;
    }
    default:
      return false;
  }
}

void SymbolSelectionText(char* text, const std::vector<StatusItem>& items) {
  const std::uint16_t type = items[0].type;
  const int n = static_cast<int>(items.size());
  if (type == kStatusSymbolInstance) {
    if (n == 1) {
      DescribeSymbolText(text, items[0].tower, type);
    } else {
      DescribeSymbolsText(text, items.data(), n);
    }
  } else if (n == 1) {
    DescribePl2SymbolText(text, items[0].tower);
  } else {
    DescribePl2SymbolsText(text, items.data(), n);
  }
}

void SelectedItemsText(const CurrentWindowData& block, char* text) {
  const std::vector<StatusItem> items = SelectionItems(block);
  if (items.empty()) return;
  const int n = static_cast<int>(items.size());
  bool sameType = true, sameSize = true;
  for (const StatusItem& i : items) {
    sameType = sameType && i.type == items[0].type;
    sameSize = sameSize && i.sized && !i.importedSize && i.sizeIndex == items[0].sizeIndex;
  }
  if (!sameType) {
    std::snprintf(text, kStatusTextSize, "%d Items Selected", n);
    return;
  }
  switch (items[0].type) {
    case kStatusPin:
      std::snprintf(text, kStatusTextSize, n == 1 ? "1 Pin Selected" : "%d Pins Selected", n);
      return;
    case kStatusSchematicSymbol:
      std::snprintf(text, kStatusTextSize, n == 1 ? "1 Schematic Symbol Selected" : "%d Schematic Symbols Selected", n);
      return;
    case kStatusSymbolInstance:
    case kStatusPl2Symbol:
      SymbolSelectionText(text, items);
      return;
    default:
      break;
  }
  if (n == 1)
    DescribeSizedItemText(text, items[0]);
  else
    DescribeSizedItemsText(text, items[0], n, sameSize);
}

}  // namespace

// ---- Lengths --------------------------------------------------------------------

void FormatInches(char* buffer, std::int32_t length) { FormatFixed(buffer, length, 10, kWorldPerTenthThou, 5, 4); }

void FormatMillimetres(char* buffer, std::int32_t length) { FormatFixed(buffer, length, 100, kWorldPerHundredthMm, 3, 2); }

int DisplayUnitsMetric() { return DisplayUnitsCode == 2 || DisplayUnitsCode == 3 || DisplayUnitsCode == 5; }

void FormatDisplayLength(char* buffer, std::int32_t length) {
  if (DisplayUnitsMetric())
    FormatMillimetres(buffer, length);
  else
    FormatInches(buffer, length);
}

const char* DisplayUnitSuffix() { return DisplayUnitsMetric() ? " mm" : " Inch"; }

char* FormatSizeValue(char* buffer, std::int32_t value, std::uint32_t unitIndex) {
  const double per = unitIndex < 4 ? SizeUnitWorld[unitIndex] : 1.0;
  std::snprintf(buffer, 48, "%.3f", value / per);
  char* last = buffer + std::strlen(buffer) - 1;
  if (std::strchr(buffer, '.')) {
    while (last > buffer && *last == '0') *last-- = 0;
    if (last > buffer && *last == '.') *last-- = 0;
  }
  return last;
}

// ---- Describers -----------------------------------------------------------------

void DescribeSizeName(char* text, std::uint32_t sizeIndex, std::uint16_t type) {
  text[0] = 0;
  const CurrentWindowData* block = ActiveWindowData;
  const std::uint32_t kind = StatusSizeKind(type);
  if (!block || !block->sizeTable || kind == kNoSizeKind) return;
  const SizeList& list = (*block->sizeTable)[kind];
  if (sizeIndex >= list.count()) return;
  const SizeEntry& e = list.entries[sizeIndex];
  const bool named = e.name[0] != 0;
  if (kind == SizeKind_Fonts) {
    if (named)
      std::snprintf(text, kSizeNameTextSize, "%s (%d)", e.name, static_cast<int>(e.value1));
    else
      std::snprintf(text, kSizeNameTextSize, "%d", static_cast<int>(e.value1));
    return;
  }
  const bool halved = kind == SizeKind_Lines || kind == SizeKind_Circles || kind == SizeKind_Holes;
  char first[64], second[64];
  SizeValue(first, halved ? static_cast<std::int32_t>(2 * std::int64_t{e.value1}) : e.value1, e.unit);
  SizeValue(second, e.value2, e.unit);
  if (kind == SizeKind_Rectangles) {
    // "%s %s * %s %s": the unit follows each number.
    if (named)
      std::snprintf(text, kSizeNameTextSize, "%s (%s * %s)", e.name, first, second);
    else
      std::snprintf(text, kSizeNameTextSize, "%s * %s", first, second);
  } else if (kind == SizeKind_Vias) {
    if (named)
      std::snprintf(text, kSizeNameTextSize, "%s (%s hole %s copper)", e.name, first, second);
    else
      std::snprintf(text, kSizeNameTextSize, "%s hole %s copper", first, second);
  } else if (named) {
    std::snprintf(text, kSizeNameTextSize, "%s (%s)", e.name, first);
  } else {
    std::snprintf(text, kSizeNameTextSize, "%s", first);
  }
}

void DescribeSizedItemText(char* text, const StatusItem& item) {
  text[0] = 0;
  char size[kSizeNameTextSize] = "";
  if (item.sized) DescribeSizeName(size, item.sizeIndex, item.type);
  const CurrentWindowData* block = ActiveWindowData;
  const char* lineWord = block && IsPcbWindow(*block) ? "Track" : "Line";
  if (const char* word = FixedWord(item.type)) {
    std::snprintf(text, kStatusTextSize, "%s", word);
  } else if (item.type == 20) {
    if (item.sized)
      std::snprintf(text, kStatusTextSize, "%s%s", LocatorWord(item.locatorKind), size);
    else
      std::snprintf(text, kStatusTextSize, "%s%d", LocatorWord(item.locatorKind), static_cast<int>(item.fontSize));
  } else if (item.type == 1 || item.type == 2) {
    const char* arced = item.type == 2 ? "Arced " : "";
    if (item.importedSize)
      std::snprintf(text, kStatusTextSize, "%s%s (Imported Size)", arced, lineWord);
    else
      std::snprintf(text, kStatusTextSize, "%s%s %s", arced, lineWord, size);
  } else if (const char* format = SizedFormat(item.type)) {
    if (item.importedSize) {
      char word[64];
      std::snprintf(word, sizeof word, "%s", format);
      if (char* mark = std::strstr(word, " %s")) *mark = 0;
      std::snprintf(text, kStatusTextSize, "%s (Imported Size)", word);
    } else {
      std::snprintf(text, kStatusTextSize, format, size);
    }
  }
}

void DescribeSizedItemsText(char* text, const StatusItem& item, int count, int shareSize) {
  text[0] = 0;
  char size[kSizeNameTextSize] = "";
  if (shareSize) DescribeSizeName(size, item.sizeIndex, item.type);
  for (const Plural& p : kPlurals) {
    if (p.type != item.type) continue;
    std::snprintf(text, kStatusTextSize, p.text, count);
    if (p.sizeForm == '(' && size[0]) Append(text, " (%s)", size);
    if (p.sizeForm == ' ' && size[0]) Append(text, " %s", size);
    return;
  }
  const CurrentWindowData* block = ActiveWindowData;
  const char* word = item.type == 1 ? (block && IsPcbWindow(*block) ? "Track" : "Line") : FixedWord(item.type);
  if (!word) {
    std::snprintf(text, kStatusTextSize, "%d Items Selected", count);
    return;
  }
  std::snprintf(text, kStatusTextSize, "%d %ss Selected", count, word);
  if (size[0]) Append(text, " (%s)", size);
}

void DescribeSymbolText(char* text, const Tower* symbol, std::uint16_t type) {
  std::snprintf(text, kStatusTextSize, "Unknown Symbol");
  StatusSymbol s{};
  if ((type != kStatusSymbolInstance && type != kStatusSymbolDefinition) || !StatusSources.readSymbol ||
      !StatusSources.readSymbol(symbol, &s))
    return;
  if (s.mechanical) {
    std::snprintf(text, kStatusTextSize, "Mechanical Symbol");
    return;
  }
  Tower* imported = FindNetlistSymbol(s.designator);
  if (!imported) return;
  const char* name = GetImportedSymbolValue(imported, "NAME");
  const char* value = GetImportedSymbolValue(imported, "VALUE");
  std::snprintf(text, kStatusTextSize, "%s (%s, %s%s", s.designator, name ? name : "", value ? value : "??VALUE??",
                s.mirrored ? ", Mirrored)" : ")");
  ReleaseTower(&imported);
}

void DescribeSymbolsText(char* text, const StatusItem* items, int count) {
  std::snprintf(text, kStatusTextSize, "%d Symbols Selected (", count);
  for (int i = 0; i < count && i < 3; ++i) {
    StatusSymbol s{};
    const bool read = StatusSources.readSymbol && StatusSources.readSymbol(items[i].tower, &s) && s.designator;
    Append(text, "%s%s", i ? ", " : "", read ? s.designator : "");
  }
  Append(text, "%s", count > 3 ? ",...)" : ")");
}

void DescribePl2SymbolText(char* text, const Tower* symbol) {
  StatusSymbol s{};
  if (!StatusSources.readPl2Symbol || !StatusSources.readPl2Symbol(symbol, &s)) {
    std::snprintf(text, kStatusTextSize, "Unknown Symbol");
    return;
  }
  std::snprintf(text, kStatusTextSize, "PL2 Symbol (%s, ", s.designator ? s.designator : "");
  Append(text, "%s", s.mirrored ? "Mirrored)" : ")");
}

void DescribePl2SymbolsText(char* text, const StatusItem* items, int count) {
  std::snprintf(text, kStatusTextSize, "%d PL2 Symbols Selected (", count);
  for (int i = 0; i < count && i < 3; ++i) {
    StatusSymbol s{};
    const bool read = StatusSources.readPl2Symbol && StatusSources.readPl2Symbol(items[i].tower, &s) && s.designator;
    Append(text, "%s%s", i ? ", " : "", read ? s.designator : "");
  }
  Append(text, "%s", count > 3 ? ",...)" : ")");
}

void DescribeSizedItem(std::uint32_t sizeIndex, std::uint16_t type, int part) {
  StatusItem item{};
  item.type = type;
  item.sized = 1;
  item.sizeIndex = sizeIndex;
  char text[kStatusTextSize];
  DescribeSizedItemText(text, item);
  SetPartText(part, text);
}

void DescribeSizedItems(std::uint32_t sizeIndex, std::uint16_t type, int count, int part) {
  StatusItem item{};
  item.type = type;
  item.sized = 1;
  item.sizeIndex = sizeIndex;
  char text[kStatusTextSize];
  DescribeSizedItemsText(text, item, count, 1);
  SetPartText(part, text);
}

void DescribeSymbol(const Tower* symbol, int part) {
  char text[kStatusTextSize];
  const std::uint16_t type = symbol ? TowerEntity(symbol)->typeCode : 0;
  DescribeSymbolText(text, symbol, type);
  SetPartText(part, text);
}

void DescribeSymbols(const StatusItem* items, int count, int part) {
  char text[kStatusTextSize];
  DescribeSymbolsText(text, items, count);
  SetPartText(part, text);
}

void DescribePl2Symbol(const Tower* symbol, int part) {
  char text[kStatusTextSize];
  DescribePl2SymbolText(text, symbol);
  SetPartText(part, text);
}

void DescribePl2Symbols(const StatusItem* items, int count, int part) {
  char text[kStatusTextSize];
  DescribePl2SymbolsText(text, items, count);
  SetPartText(part, text);
}

// ---- The four parts -------------------------------------------------------------

void CursorPositionText(const CurrentWindowData& block, char* text) {
  const auto dx = static_cast<std::int32_t>(static_cast<std::uint32_t>(block.DisplayedCursor.x) -
                                            static_cast<std::uint32_t>(block.CoordinateOrigin.x));
  const auto dy = static_cast<std::int32_t>(static_cast<std::uint32_t>(block.CoordinateOrigin.y) -
                                            static_cast<std::uint32_t>(block.DisplayedCursor.y));
  char x[64], y[64];
  FormatDisplayLength(x, dx);
  FormatDisplayLength(y, dy);
  if (block.AxisLock & 1) std::strcat(x, "L");
  if (block.AxisLock & 2) std::strcat(y, "L");
  std::strcat(y, DisplayUnitSuffix());
  // The current grid: its x step and unit name (a polar grid: step angle, ring spacing, unit).
  char grid[3 * kGridTextSize + 4] = "";
  if (const auto* set = static_cast<const GridSet*>(block.Grids)) {
    const GridEntry current = set->current;
    char step[kGridTextSize], unit[kGridTextSize];
    FormatGridStep(step, 0, &current);
    GetGridUnitName(unit, &current);
    if (current.kind == kGridPolar) {
      char ring[kGridTextSize];
      FormatGridStep(ring, 1, &current);
      std::snprintf(grid, sizeof grid, "%s, %s %s", step, ring, unit);
    } else {
      std::snprintf(grid, sizeof grid, "%s %s", step, unit);
    }
  }
  std::snprintf(text, kStatusTextSize, "%s,%s (%s)", x, y, grid);
}

void LayerNameText(const CurrentWindowData& block, char* text) {
  text[0] = 0;
  int layer = block.RoutingLayer;
  if (block.EditMode == Mode_EditSelection || block.EditMode == Mode_AddNewPad) {
    const std::vector<StatusItem> items = SelectionItems(block);
    layer = items.empty() ? -1 : items[0].layer;
    for (const StatusItem& i : items)
      if (i.layer != layer) layer = -1;
  }
  if (layer < 0 || layer >= static_cast<int>(kLayerCount)) return;
  const LayerRecord& record = block.layerTable.layers[layer];
  if (record.flags & kLayerPresent) std::snprintf(text, kStatusTextSize, "%.*s", static_cast<int>(kLayerNameSize), record.name);
}

void SelectionText(const CurrentWindowData& block, char* text) {
  text[0] = 0;
  const std::uint8_t mode = block.EditMode;
  switch (mode) {
    case Mode_Idle:
    case Mode_EditNet:
      return;
    case Mode_NewSymbol:
      DescribeSymbolText(text, block.Selection, block.Selection ? TowerEntity(block.Selection)->typeCode : 0);
      return;
    case Mode_AddNewShape:
    case Mode_PlaceShape:
      if (const char* name = StatusSources.shapeName && block.Selection ? StatusSources.shapeName(block.Selection) : nullptr) {
        std::snprintf(text, kStatusTextSize, "%s", name);
        return;
      }
      break;
    case 32: case Mode_MovePadName: case Mode_PlaceDesignator: case Mode_PlaceAttributeLocator: {
      StatusTextSize size{};
      if (!StatusSources.readPendingTextSize || !StatusSources.readPendingTextSize(block, &size)) return;
      switch (size.kind) {
        case StatusTextSizeKind::Custom: std::snprintf(text, kStatusTextSize, "Custom Size"); return;
        case StatusTextSizeKind::ImportedDesignator:
          std::snprintf(text, kStatusTextSize, "Imported designator size - %d points.", static_cast<int>(size.points));
          return;
        case StatusTextSizeKind::ImportedText:
          std::snprintf(text, kStatusTextSize, "Imported text size - %d points.", static_cast<int>(size.points));
          return;
        case StatusTextSizeKind::UserDefined: std::snprintf(text, kStatusTextSize, "User Defined Size"); return;
        case StatusTextSizeKind::Table: {
          StatusItem item{};
          item.type = 5;
          item.sized = 1;
          item.sizeIndex = size.sizeIndex;
          DescribeSizedItemText(text, item);
          return;
        }
      }
      return;
    }
    case Mode_EditSelection:
    case Mode_AddNewPad:
      SelectedItemsText(block, text);
      return;
    case Mode_NewPin:
      std::snprintf(text, kStatusTextSize, "1 Pin Selected");
      return;
    case Mode_Measure: {
      StatusMeasurement m{};
      if (!StatusSources.readMeasurement || !StatusSources.readMeasurement(&m)) return;
      char dx[64], dy[64];
      FormatDisplayLength(dx, m.dx);
      FormatDisplayLength(dy, m.dy);
      std::snprintf(text, kStatusTextSize, "Difference : x - %s%s, y - %s%s", dx, DisplayUnitSuffix(), dy, DisplayUnitSuffix());
      return;
    }
    default:
      break;
  }
  StatusItem item{};
  if (PendingItem(block, &item)) DescribeSizedItemText(text, item);
}

void ModeText(const CurrentWindowData& block, char* text) {
  text[0] = 0;
  const std::uint8_t mode = block.EditMode;
  const EntityRecord* pending = block.PendingRecord;
  const bool pcb = IsPcbWindow(block);
  switch (mode) {
    case Mode_AddNewTrack:
    case Mode_ContinueTrack: {
      const std::uint8_t state = pending ? pending->header.state : 0;
      std::snprintf(text, kStatusTextSize, "%s",
                    (state & kStateThermalBreak) ? "Add New Thermal Break"
                    : (state & kStateLinkedCut)  ? "Add New Linked Cut"
                    : pcb                        ? "Add New Track"
                                                 : "Add New Line");
      break;
    }
    case Mode_AddNewPolygon:
      std::snprintf(text, kStatusTextSize, "%s", PolygonModeText(pending));
      break;
    case Mode_AddNewViaB:
    case Mode_AddNewVia: {
      const std::uint8_t flags = pending ? reinterpret_cast<const HolePayload*>(pending->payload)->hole.flags : 0;
      std::snprintf(text, kStatusTextSize, "%s",
                    !pending       ? "Add New Hole"
                    : (flags & 8)  ? "Add New Via"
                    : (flags & 4)  ? "Add New Plated Through Hole"
                                   : "Add New Unplated Hole");
      break;
    }
    case Mode_EditSelection:
      SelectionModeText(block, text);
      break;
    case Mode_JoinTrack:
      std::snprintf(text, kStatusTextSize, "%s", pcb ? "Join Track" : "Join Line");
      break;
    case Mode_BreakTrack:
      std::snprintf(text, kStatusTextSize, "%s", pcb ? "Break Track" : "Break Line");
      break;
    case Mode_AddNewLocator:
      std::snprintf(text, kStatusTextSize, "%s", AddLocatorText(block.InsertLocatorKind));
      break;
    case Mode_PositionLocator: {
      std::uint8_t kind = block.InsertLocatorKind;
      if (pending && pending->header.recordType == Type_AttributeLocator)
        kind = static_cast<std::uint8_t>(reinterpret_cast<const LocatorPayload*>(pending->payload)->kind);
      std::snprintf(text, kStatusTextSize, "%s", PositionLocatorText(kind));
      break;
    }
    case Mode_Measure: {
      StatusMeasurement m{};
      if (!StatusSources.readMeasurement || !StatusSources.readMeasurement(&m)) break;
      char distance[64];
      FormatDisplayLength(distance, m.distance);
      std::snprintf(text, kStatusTextSize, "Distance - %s%s, Angle - %.2f degrees", distance, DisplayUnitSuffix(),
                    m.angle * kDegreesPerRadian);
      break;
    }
    case Mode_SetPrintZone:
      if (block.DragFlags & kDragPrintZone) {
        const pl3::Box& z = block.PrintZone;
        char w[64], h[64];
        FormatDisplayLength(w, static_cast<std::int32_t>(std::llabs(std::int64_t{z.xmax} - z.xmin)));
        FormatDisplayLength(h, static_cast<std::int32_t>(std::llabs(std::int64_t{z.ymax} - z.ymin)));
        std::snprintf(text, kStatusTextSize, "Set print zone (%s%s, %s%s)", w, DisplayUnitSuffix(), h, DisplayUnitSuffix());
      } else {
        std::snprintf(text, kStatusTextSize, "Set starting position for print zone");
      }
      break;
    case Mode_SetArcCentre: {
      std::int32_t radius = 0;
      if (StatusSources.readArcRadius) StatusSources.readArcRadius(&radius);
      char r[64];
      FormatDisplayLength(r, radius);
      std::snprintf(text, kStatusTextSize, "Set Arc Centre (Radius %s%s)", r, DisplayUnitSuffix());
      break;
    }
    case Mode_EditNet:
      std::snprintf(text, kStatusTextSize, "%s", StatusSources.netEditText ? StatusSources.netEditText() : "");
      break;
    case Mode_RadiusCorner: {
      double radius = 0;
      int metric = 1;
      if (StatusSources.readCornerRadius) StatusSources.readCornerRadius(&radius, &metric);
      char r[48];
      TrimmedNumber(r, radius);
      std::snprintf(text, kStatusTextSize, metric ? "Radius Corner (%s mm)" : "Radius Corner (%s Thou)", r);
      break;
    }
    default:
      std::snprintf(text, kStatusTextSize, "%s", ModeTextOfTable(mode));
      break;
  }
  if (block.ViewOnlyHighlighted) {
    char plain[kStatusTextSize - 32];
    std::snprintf(plain, sizeof plain, "%s", text);
    std::snprintf(text, kStatusTextSize, "%s (Viewing only highlighted)", plain);
  }
}

void ShowCursorPosition(int part) {
  if (!ActiveWindowData) return;
  char text[kStatusTextSize];
  CursorPositionText(*ActiveWindowData, text);
  SetPartText(part, text);
}

void ShowLayerName(int part) {
  if (!ActiveWindowData) return;
  char text[kStatusTextSize];
  LayerNameText(*ActiveWindowData, text);
  SetPartText(part, text);
}

void DescribeSelection(int part) {
  if (!ActiveWindowData) return;
  char text[kStatusTextSize];
  SelectionText(*ActiveWindowData, text);
  SetPartText(part, text);
}

void ShowModeText(int part) {
  if (!ActiveWindowData) return;
  char text[kStatusTextSize];
  ModeText(*ActiveWindowData, text);
  SetPartText(part, text);
}

// ---- Layout and refresh ----------------------------------------------------------

void SetStatusBarLayout(std::uint32_t kind) {
  HWND bar = FrameStatusBar();
  if (!bar) return;
  static constexpr int kFourParts[] = {300, 450, 750, -1};
  static constexpr int kThreeParts[] = {300, 700, -1};
  static constexpr int kOnePart[] = {-1};
  const int* parts = kOnePart;
  int count = 1;
  if (kind == kEditorPcb || kind == kEditorShape || kind == kEditorPcbSymbol || kind == kEditorPadStack) {
    parts = kFourParts;
    count = 4;
  } else if (kind == kEditorSchematicSymbol || kind == kEditorSchematic) {
    parts = kThreeParts;
    count = 3;
  }
  SendMessage(bar, SB_SETPARTS, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(parts));
  HICON icon = nullptr;
  if (count > 1)
    icon = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCE(kStatusIcon), IMAGE_ICON,
                                         kStatusIconSize, kStatusIconSize, kind == kEditorPcb ? LR_SHARED : 0));
  HICON old = reinterpret_cast<HICON>(SendMessage(bar, SB_GETICON, 0, 0));
  SendMessage(bar, SB_SETICON, 0, reinterpret_cast<LPARAM>(icon));
  if (old && old != icon) DestroyIcon(old);
  if (count == 1) SendMessage(bar, SB_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
}

int UpdateStatusBar(void*) {
  CurrentWindowData* block = ActiveWindowData;
  if (!block) return 0;
  switch (block->editorKind) {
    case kEditorPcb: case kEditorShape: case kEditorPcbSymbol: case kEditorPadStack:
      ShowCursorPosition(0);
      ShowLayerName(1);
      DescribeSelection(2);
      ShowModeText(3);
      break;
    case kEditorSchematicSymbol: case kEditorSchematic:
      ShowCursorPosition(0);
      DescribeSelection(1);
      ShowModeText(2);
      break;
    default:
      break;
  }
  Docking_SendToPaneClient(Pane_Info, kPaneRefreshMessage, reinterpret_cast<WPARAM>(block), 0);
  return 0;
}
