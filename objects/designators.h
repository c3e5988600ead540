// The designator of a placed symbol (R12, U3): its group (128) under the
// Symbol Instance, the text stored upper case in the group's newest 232, and
// one displayed copy (234) per place the text shows, each with its own
// Transform (208), DesignatorInfo (233), box (200) and extent (246). The
// displayed attribute copies of a symbol (309 under an attribute group 306,
// with a 310 for the info) share the layout; each copy operation has its
// attribute twin here. Also the numbering of designators and the
// justification step of the text being placed.
#pragma once
#include <cstddef>
#include <cstdint>

#include "geometry/types.h"

struct Tower;
struct OriginDrag;

#pragma pack(push, 1)
// The info of one displayed copy (233, and 310 for attribute copies).
struct DesignatorInfo {
  std::uint16_t flags;         // kDesignatorSizeIndexed
  std::uint16_t display;       // bits 2-3 horizontal, 4-5 vertical justification; kDesignatorHidden
  std::uint32_t sizeIndex;     // into the window's font size list, when indexed
  std::uint8_t layer;
  std::uint8_t padding[3];
  std::int32_t explicitSize;   // when not indexed
  std::uint32_t font;
};
#pragma pack(pop)
static_assert(sizeof(DesignatorInfo) == 20);
static_assert(offsetof(DesignatorInfo, display) == 2);
static_assert(offsetof(DesignatorInfo, sizeIndex) == 4);
static_assert(offsetof(DesignatorInfo, layer) == 8);
static_assert(offsetof(DesignatorInfo, explicitSize) == 12);
static_assert(offsetof(DesignatorInfo, font) == 16);

constexpr std::uint16_t kDesignatorSizeIndexed = 0x1;
constexpr std::uint16_t kDesignatorHidden = 0x40;
constexpr std::uint16_t kDesignatorJustification = 60;

// The name and value texts of an attribute group (306).
constexpr std::uint16_t kTypeAttributeName = 307;
constexpr std::uint16_t kTypeAttributeValue = 308;

// The settings a new copy takes besides the current text justification
// (DefaultJustification) and the window's text layer: the explicit size (a
// signed byte, 16 at start) and the font size index (0 at start).
extern std::int8_t CurrentTextExplicitSize;
extern std::uint32_t CurrentFontSizeIndex;
// The text a copy takes when asked for the default ("DES" at start).
extern char DefaultDesignatorText[32];

// ---- Text and numbering -----------------------------------------------------------

// The newest NUL-terminated text of the code under the parent, or null.
const char* GetNewestChildText(const Tower* parent, std::uint16_t code);
// The text of the group's newest designator string, or null when there is
// none or its record holds no terminator.
const char* GetDesignatorText(const Tower* designatorGroup);
// Stores a new designator string, upper case, as the group's newest. Returns 1.
int SetDesignatorText(const Tower* designatorGroup, const char* text);
// The text of the designator group that the Tower stands on or in (a 234, a
// 232, the 128 itself), or null.
const char* GetDesignatorString(const Tower* t);
// The text's prefix followed by one more than the largest number any symbol
// instance of the design carries with that prefix (compared without regard to
// case): a new heap string the caller frees. Past the limit the user is told
// "Too high a designator number" and 99,999 is given.
char* FindNextDesignatorString(const char* text, const Tower* design);
// 0 when a symbol instance of the design carries the text (without regard to
// case) as its designator, else 1.
int IsDesignatorUnused(const char* text, const Tower* design);
// Gives the instance the next free designator of its prefix in the active
// window's design and clears the net ids of its placed pads.
void RedesignateSymbol(const Tower* instance);

// ---- Copies ---------------------------------------------------------------------

// Adds a displayed copy under the symbol's designator group (created when
// missing) and returns a new Tower on it. The copy takes the source copy's
// text, transform and info when a source is given, else the group's text, the
// cursor position and the current text settings; with useDefaultText the
// text is DefaultDesignatorText. The copy and the group's previous text are
// marked selected. Null when the symbol is missing.
Tower* AddDesignatorData(const Tower* symbol, const Tower* source, int useDefaultText);

// The box of the copy's text under its own transform composed with the
// parent: a new heap Box (free()), the text's width and height written to
// extent. Without a text or a transform "Cannot calculate designator box" is
// shown and null returned.
pl3::Box* GetDesignatorBox(const Tower* copy, const pl3::Transform* parent, std::uint32_t extent[2]);
// The twin for an attribute copy (309): the attribute's value in the PCB
// editor, its name elsewhere. Null, silently, without a text or a transform.
pl3::Box* GetDesignatorTextBox(const Tower* copy, const pl3::Transform* parent, std::uint32_t extent[2]);
// Re-measures every copy of the symbol's designator group (the Tower may
// stand on the symbol or on the group): new 200 and 246 records in symbol
// coordinates.
void UpdateDesignatorBoxes(const Tower* t);
// The same for every copy of the symbol's newest attribute group, or of the
// group the Tower stands on.
void UpdateAttributeLocatorBoxes(const Tower* t);

// The walker's handler of a copy: draws its text in the text mode of the
// action (nothing for a hidden copy or actions 1 and 8). Returns 1 when the
// text was handed to the renderer.
std::int32_t ProcessDesignatorData(const Tower* copy, const pl3::Transform* parent, std::uint8_t action);
std::int32_t ProcessAttributeLocatorData(const Tower* copy, const pl3::Transform* parent, std::uint8_t action);
// The text mode the walker action draws a copy in; -1 for nothing.
std::int32_t DesignatorTextMode(std::uint8_t action);

// XOR-draws the copy's text unless it is hidden; in the PCB editor under its
// symbol's placement, with the symbol's box and a leader when no primary
// record is selected.
void GhostDesignator(void* dc, const Tower* copy);
void GhostAttributeLocator(void* dc, const Tower* copy);
// One drag step of a copy: the snapped mouse step (into the symbol's frame in
// the PCB editor) is added to the copy's transform between two ghosts.
void DragDesignator(void* window, const Tower* copy, OriginDrag* mouse);
void DragAttributeLocator(void* window, const Tower* copy, OriginDrag* mouse);

// ---- Justification ----------------------------------------------------------------

// Steps the justification of the text being placed or edited in the active
// window (vertical != 0 for the vertical bits). Returns 1, or for Edit
// Selection the number of items changed; 0 when no text is in hand.
std::int32_t CycleEditedTextJustification(int vertical);
