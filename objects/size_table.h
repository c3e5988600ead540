// The named size lists of an editor window: line widths, circle and hole
// diameters, rectangle and via dimensions, font sizes and the two connection
// dot sizes. An item whose size is indexed (kSizeByIndex) stores an index into
// the list of its type's size kind, and ReturnRealSize looks the value up.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

// Size kinds: the seven lists, in this order. The names are also the section
// names of the size text.
enum SizeKind : std::uint32_t {
  SizeKind_Lines = 0,
  SizeKind_Circles = 1,
  SizeKind_Rectangles = 2,
  SizeKind_Holes = 3,
  SizeKind_Vias = 4,
  SizeKind_Fonts = 5,
  SizeKind_Dots = 6,
};
constexpr std::uint32_t kSizeKindCount = 7;
constexpr std::uint32_t kNoSizeKind = 0xFFFFFFFF;
extern const char* const SizeKindNames[kSizeKindCount];  // "Lines" .. "Dots"

// Flags of a SizeEntry.
constexpr std::uint32_t kSizeEntryOn = 0x1;     // "Y" or "D": offered by the chooser and the size steps
constexpr std::uint32_t kSizeEntryInUse = 0x2;  // an item of the design refers to it (marking walk)

// Units of a SizeEntry (the length unit indices), and fonts' "no unit".
constexpr std::uint8_t kSizeUnitNone = 255;
// An entry read from a file remembers its position; new entries in an edited
// table carry this instead.
constexpr std::uint32_t kNewSizeEntry = 0xFFFFFFFF;
constexpr std::size_t kSizeNameSize = 64;  // at most 63 characters and the terminator

struct SizeEntry {
  std::uint32_t index;  // position when read; the position before an edit while editing
  std::uint32_t flags;  // kSizeEntryOn, kSizeEntryInUse
  std::uint8_t key;     // one-character shortcut, 0 for none
  std::uint8_t unit;    // 0 thou, 1 inch, 2 mm, 3 cm; kSizeUnitNone for fonts
  std::int32_t value1;  // internal units (halved where the list keeps halves); fonts: points
  std::int32_t value2;  // rectangle height, via second dimension; 0 otherwise
  char name[kSizeNameSize];
};
static_assert(offsetof(SizeEntry, flags) == 4);
static_assert(offsetof(SizeEntry, key) == 8);
static_assert(offsetof(SizeEntry, unit) == 9);
static_assert(offsetof(SizeEntry, value1) == 12);
static_assert(offsetof(SizeEntry, value2) == 16);
static_assert(offsetof(SizeEntry, name) == 20);
static_assert(sizeof(SizeEntry) == 84);

struct SizeList {
  std::uint32_t defaultIndex = 0;
  std::vector<SizeEntry> entries;

  std::uint32_t count() const { return static_cast<std::uint32_t>(entries.size()); }
};

struct SizeTable {
  SizeList lists[kSizeKindCount];

  SizeList& operator[](std::uint32_t kind) { return lists[kind]; }
  const SizeList& operator[](std::uint32_t kind) const { return lists[kind]; }
};

// A table holding only the two dots: "Connection Box" 365,760 (10 thou) and
// "Connected Dot" 548,640 (15 thou), both on, unit thou, no key.
std::unique_ptr<SizeTable> NewSizeTable();
std::unique_ptr<SizeTable> CopySizeTable(const SizeTable& table);
// Frees the table (null is ignored) and returns none, for callers that keep a
// raw pointer: table = FreeSizeTable(table).
SizeTable* FreeSizeTable(SizeTable* table);

// The size kind of an entity type, kNoSizeKind for a type without one.
std::uint32_t GetTypeSizeKind(std::uint16_t type);
// The same for a stored payload: a hole whose via flag is set is a via.
std::uint32_t GetEntitySizeKind(std::uint16_t type, const void* payload);

// Copies a name into an entry, cut to 63 characters.
void SetSizeEntryName(SizeEntry& entry, const char* name);
