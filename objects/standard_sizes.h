// "Set To Corvane Standard": the house style for the attribute locators of a
// symbol. Pin names and pin numbers go to fixed offsets from their pin by the
// side of the outline the pin lies on; every other text locator takes the
// standard attribute size. The standard sizes are named entries of the
// window's Fonts list, added when missing.
#pragma once
#include <cstdint>

struct Tower;

inline constexpr const char* kStandardAttributeSizeName = "Standard Corvane Attribute Size";
inline constexpr const char* kStandardPinNameSizeName = "Standard Corvane Pin Name Size";
inline constexpr const char* kStandardPinNumberSizeName = "Standard Corvane Pin Number Size";
constexpr std::int32_t kStandardAttributeSize = 32;
constexpr std::int32_t kStandardPinNameSize = 16;
constexpr std::int32_t kStandardPinNumberSize = 16;

// The index of the first Fonts entry of the active window's table whose value
// is `value`; when none has it, a new on entry with the name is appended and
// its index returned. 0 without a table.
std::uint32_t FindOrAddFontSize(const char* name, std::int32_t value);
// The index of the Fonts entry named exactly as the standard, else
// FindOrAddFontSize with the standard's name and value.
std::uint32_t GetStandardAttributeSizeIndex();
std::uint32_t GetStandardPinNameSizeIndex();
std::uint32_t GetStandardPinNumberSizeIndex();

// Pin sides of the symbol outline.
constexpr int kPinSideNone = 1;
constexpr int kPinSideTop = 2;
constexpr int kPinSideLeft = 3;
constexpr int kPinSideRight = 4;
constexpr int kPinSideBottom = 6;

// The side of the box of the end points of the symbol's tracks (type 1) that
// the point lies on, tested left, right, bottom (least y), top (greatest y);
// kPinSideNone when on none, or when the symbol has no track.
int GetPinSide(std::int32_t x, std::int32_t y, const Tower* symbol);

// Place a Pin Name (4) or Pin Number (1) locator by its pin's side, with the
// standard size of its kind.
void PlacePinNameLocator(const Tower* locator, const Tower* symbol);
void PlacePinNumberLocator(const Tower* locator, const Tower* symbol);

// The command: every locator of the symbol by its kind (pin numbers and pin
// names placed; kinds 2, 6, 10, 14, 16 and 17 given the standard attribute
// size; others left alone), each recorded for undo first; then the step is
// captioned "Default to Corvane standard", a new step begun, the undo menu
// updated and the view redrawn.
void SetToStandardSizes(const Tower* symbol);
