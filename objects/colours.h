// The colours of the views: the layer colour mix (colour-bit masks to screen
// colours), the highlight colours, the user's named colour table with its
// classes, key strokes and configuration records, and the colour indices of
// schematic entities.
#pragma once
#include <cstddef>
#include <cstdint>

struct Tower;

// ---- Layer colour mix -------------------------------------------------------------

// The one mix table: 65,536 colours by 16-bit mask; null until built.
extern std::uint32_t* LayerColourMix;
extern const std::uint32_t kDefaultLayerColours[16];
// New tables (freed with std::free, or FreeLayerColourMixTable for the one
// in LayerColourMix) from the defaults or from 16 colours; null when the
// memory cannot be had.
std::uint32_t* BuildDefaultLayerColourMix();
std::uint32_t* BuildLayerColourMix(const std::uint32_t* colours16);
// Rebuilds a table in place: 0 black, one bit its colour, several bits the
// average with each share truncated before the sum, 65,535 white.
void FillLayerColourMix(std::uint32_t* table, const std::uint32_t* colours16);
// The colour of each bit: entry 2^k for k = 0 to 15.
void GetLayerColours(const std::uint32_t* table, std::uint32_t* colours16);
void FreeLayerColourMixTable();
// The number of set bits among bits 0 to 15.
int CountMaskLayers(std::uint32_t mask);

// ---- Highlight colours ------------------------------------------------------------

// 16 entries read by a 4-bit index; the last is always 0. Null until created.
constexpr std::size_t kHighlightColourCount = 16;
extern std::uint32_t* HighlightColours;
void CreateHighlightColours();
void FreeHighlightColours();

// ---- Named colours ----------------------------------------------------------------

constexpr std::uint32_t kNamedColourCount = 30;
constexpr std::size_t kNamedColourNameSize = 51;

// Colour classes.
constexpr std::uint32_t ColourClass_All = 0;
constexpr std::uint32_t ColourClass_Wire = 1;
constexpr std::uint32_t ColourClass_Bus = 2;
constexpr std::uint32_t ColourClass_Attribute = 3;
constexpr std::uint32_t ColourClass_Graphic = 4;
constexpr std::uint32_t ColourClass_System = 5;
constexpr std::uint32_t ColourClass_Unused = 6;
// "ALL_COLOURS" .. "NULL" by class 0 to 7.
extern const char* const ColourClassNames[8];

#pragma pack(push, 1)
struct NamedColour {
  std::uint32_t colour;  // 0x00RRGGBB
  std::uint32_t zero;
  std::uint32_t colourClass;
  std::uint8_t key;      // upper-case key stroke, 0 for none
  char name[kNamedColourNameSize];
};
struct NamedColourTable {
  NamedColour entries[kNamedColourCount];
  std::uint32_t end;  // 0
};
#pragma pack(pop)
static_assert(sizeof(NamedColour) == 64);
static_assert(offsetof(NamedColour, key) == 12 && offsetof(NamedColour, name) == 13);
static_assert(sizeof(NamedColourTable) == 1924);

// The program's table (the raster kernel's colour table 3).
extern NamedColourTable NamedColours;
// The entry of a plane word's low byte; entry 0 for a byte past the table.
const NamedColour& NamedColourAt(std::uint32_t planeWord);

void SetDefaultNamedColours();
// Copies a whole record 20036 of the colour group; 0 (table unchanged) when
// there is none or it is short.
int LoadNamedColours(const Tower* colourGroup);
// Adds the table as record 20036 under the group.
void SaveNamedColours(const Tower* colourGroup);
// Exchanges the groups 1-5 and 16-20, 6-10 and 11-15 of the older order.
void ReorderOldColourGroups();
// The next index of the same class, wrapping to the class's first; 0 when
// the index names no entry.
std::uint32_t NextColourInClass(std::uint32_t index);

// ---- Colour indices of schematic entities -------------------------------------------

// Document colour record (11027): default indices for wires, buses,
// attribute locators and graphics, then 40 bytes of zeros.
struct DocumentColours {
  std::uint32_t wire;
  std::uint32_t bus;
  std::uint32_t locator;
  std::uint32_t graphic;
  std::uint8_t zeros[40];
};
static_assert(sizeof(DocumentColours) == 56);
constexpr std::uint16_t kDocumentColoursType = 11027;

// The active schematic or schematic-symbol document's default colour index
// for an entity type (wires, buses, attribute locators, graphics 1 to 6; 0
// for any other type). The record lives in the library's design, or in the
// schematic enclosing a page; a missing one is made with 16, 11, 6 and 1.
std::uint32_t GetTypeColour(std::uint16_t type);

// Gives the entity a Tower stands on the next colour of its class (types 1
// to 6, 20, 28, 29); 1 when it had one.
int CycleColourAt(const Tower* item);
// The command "edit.cyclecolour" on a selected item: its ghost is erased,
// the item (the working copy when one is in hand) takes the next colour of
// its class and its ghost is drawn again. 1 when an item changed.
struct SelectionInfo;
int CycleEntityColour(void* window, const SelectionInfo* selection);
// Converts a design of the older colour layout, recursively.
void NormaliseColourIndices(const Tower* design);
