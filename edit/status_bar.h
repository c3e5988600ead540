// The frame's status bar for the current editor window: the cursor position,
// the current layer, what is selected or being placed, and the text of the
// edit mode; and the length formatting these texts use.
//
// The selection records and the tools' own state (measurements, radii, net
// editing) belong to code built elsewhere: the describers read them through
// StatusBarSources, whose empty slots describe nothing.
#pragma once
#include <cstddef>
#include <cstdint>

struct CurrentWindowData;
struct SelectionInfo;
struct Tower;

// Buffers that hold any part text.
constexpr std::size_t kStatusTextSize = 512;

// The size-unit table of the size lists: "Thou", "Inch", "mm", "cm".
extern const char* const SizeUnitNames[4];
extern const std::uint32_t SizeUnitWorld[4];

// Buffers that hold any length text of the formatters below.
constexpr std::size_t kLengthTextSize = 24;

// A length in world units as inches with four decimals ("-0.0005") and as
// millimetres with two ("0.05"): rounded half up in tenths of a thou and in
// hundredths of a millimetre (negatives by their magnitude).
void FormatInches(char* buffer, std::int32_t length);
void FormatMillimetres(char* buffer, std::int32_t length);
// A length in the current display family: inches or millimetres.
void FormatDisplayLength(char* buffer, std::int32_t length);
// " mm" or " Inch" for the current display family.
const char* DisplayUnitSuffix();
// 1 when the display unit code is metric (2, 3, 5).
int DisplayUnitsMetric();
// value / the unit's world units with "%.3f", trailing zeros and a bare
// point removed (10.000 gives "10", 2.500 "2.5"); returns the last character.
char* FormatSizeValue(char* buffer, std::int32_t value, std::uint32_t unitIndex);

// ---- What the describers read --------------------------------------------------

// One item of the selection as the status bar describes it.
struct StatusItem {
  std::uint16_t type;           // graphic type code; 106 symbol instance, 113 pin, 30 schematic
                                // symbol, kStatusPl2Symbol for an earlier-generation symbol
  std::uint8_t sized;           // the item uses a size of the window's table
  std::uint8_t importedSize;    // the item carries an imported size
  std::uint32_t sizeIndex;
  std::int32_t layer;           // -1 when the item has none
  std::uint8_t locatorKind;     // attribute locators
  std::uint8_t primary;         // the primary selection
  std::int32_t fontSize;        // attribute locators: the text size in points
  const Tower* tower;           // the item (for the symbol describers)
};
constexpr std::uint16_t kStatusPl2Symbol = 0xFFFF;
constexpr std::uint16_t kStatusPin = 113;
constexpr std::uint16_t kStatusSchematicSymbol = 30;
constexpr std::uint16_t kStatusSymbolInstance = 106;
constexpr std::uint16_t kStatusSymbolDefinition = 105;

// A symbol as DescribeSymbol shows it.
struct StatusSymbol {
  const char* designator;       // placed: its designator; being placed: the one it will receive;
                                // an earlier-generation symbol: its name
  std::uint8_t mechanical;
  std::uint8_t mirrored;
};

// The size of the text being placed in modes 32, 33, 42 and 110.
enum class StatusTextSizeKind : std::uint8_t { Table, Custom, ImportedDesignator, ImportedText, UserDefined };
struct StatusTextSize {
  StatusTextSizeKind kind;
  std::int32_t points;          // imported sizes
  std::uint32_t sizeIndex;      // table sizes (font list)
};

struct StatusMeasurement {
  std::int32_t dx, dy;          // world units
  std::int32_t distance;
  double angle;                 // radians
};

struct StatusBarSources {
  // Fills `item` from a selection record; 0 when the record names nothing.
  int (*readSelection)(const SelectionInfo* record, StatusItem* item) = nullptr;
  // A placed symbol (106) or a definition being placed (105).
  int (*readSymbol)(const Tower* symbol, StatusSymbol* out) = nullptr;
  // An earlier-generation symbol: its name from its text record.
  int (*readPl2Symbol)(const Tower* symbol, StatusSymbol* out) = nullptr;
  // The name record (214) of the shape being placed, or null.
  const char* (*shapeName)(const Tower* selection) = nullptr;
  int (*readPendingTextSize)(const CurrentWindowData& block, StatusTextSize* out) = nullptr;
  // 1 when the pending record carries an imported size.
  int (*pendingImportedSize)(const CurrentWindowData& block) = nullptr;
  // The locator kind of a selection record that grabs a locator (part 11).
  int (*grabbedLocatorKind)(const SelectionInfo* record) = nullptr;
  int (*readMeasurement)(StatusMeasurement* out) = nullptr;
  // Mode 108: the current arc radius in world units.
  int (*readArcRadius)(std::int32_t* radius) = nullptr;
  // Mode 111: the text of the net-editing step ("Select node to add", a picked node ...).
  const char* (*netEditText)() = nullptr;
  // Mode 112: the corner radius and whether it is in millimetres.
  int (*readCornerRadius)(double* radius, int* metric) = nullptr;
};
// The one table; emptied before each test.
extern StatusBarSources StatusSources;

// ---- The status bar ------------------------------------------------------------

// Parts and icon (resource 191, 13 x 13) for a document kind: {300, 450,
// 750, -1} for 1, 2, 4, 8; {300, 700, -1} for 16, 32; one empty part and no
// icon for any other kind.
void SetStatusBarLayout(std::uint32_t kind);
// Rebuilds the parts of the active window's kind, then sends message 1030
// with the block to the Info pane. The window argument is not read (the
// callers pass theirs); returns 0.
int UpdateStatusBar(void* window);

// The four part writers.
void ShowCursorPosition(int part);
void ShowLayerName(int part);
void DescribeSelection(int part);
void ShowModeText(int part);

// The text of each (the part writers set these in their part).
void CursorPositionText(const CurrentWindowData& block, char* text);
void LayerNameText(const CurrentWindowData& block, char* text);
void SelectionText(const CurrentWindowData& block, char* text);
void ModeText(const CurrentWindowData& block, char* text);

// DescribeSizeName's text holds kSizeNameTextSize bytes.
constexpr std::size_t kSizeNameTextSize = 256;
// The describers; the part forms write their text into the part.
void DescribeSizeName(char* text, std::uint32_t sizeIndex, std::uint16_t type);
void DescribeSizedItemText(char* text, const StatusItem& item);
void DescribeSizedItemsText(char* text, const StatusItem& item, int count, int shareSize);
void DescribeSymbolText(char* text, const Tower* symbol, std::uint16_t type);
void DescribeSymbolsText(char* text, const StatusItem* items, int count);
void DescribePl2SymbolText(char* text, const Tower* symbol);
void DescribePl2SymbolsText(char* text, const StatusItem* items, int count);
void DescribeSizedItem(std::uint32_t sizeIndex, std::uint16_t type, int part);
void DescribeSizedItems(std::uint32_t sizeIndex, std::uint16_t type, int count, int part);
void DescribeSymbol(const Tower* symbol, int part);
void DescribeSymbols(const StatusItem* items, int count, int part);
void DescribePl2Symbol(const Tower* symbol, int part);
void DescribePl2Symbols(const StatusItem* items, int count, int part);
