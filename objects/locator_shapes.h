// The locator kinds that draw more than one text: IO ports (kinds 9 and 15)
// draw an outline around their net name; a Display Global Nets locator (17)
// lists the global nets of its symbol's package with their pins; a Graphic
// Net Name locator (13) draws a chosen net-name graphic symbol around the net
// name.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "geometry/types.h"
#include "objects/graphic_records.h"
#include "objects/locator_kinds.h"

struct Tower;

// ---- IO ports ----------------------------------------------------------------------

// Margin of the text per unit of text size, the depth of a pointed end, and
// the width of the outline's lines.
constexpr std::int32_t kIOPortMarginPerSize = 18288;
constexpr std::int32_t kIOPortPointPerSize = 109728;
constexpr std::int32_t kIOPortLinePerSize = 4572;

struct IOPortOutline {
  pl3::Point lines[6][2] = {};
  int lineCount = 0;
  std::int32_t width = 0;
  LocatorText text;       // the text as drawn: its point turned with the outline
  pl3::Box bounds{};      // every point of the outline
};

// Builds the outline of an IO port showing the text. The text is measured
// left-justified at (x + margin, y) and the outline's points are turned by the
// locator's rotation about the locator point. False when the text cannot be
// measured.
bool BuildIOPortOutline(const LocatorPayload& locator, const std::string& text, IOPortOutline* outline);
// Draws the outline of the payload copy p and its text (taken from the
// stored locator's owner) into the layer plane; the box of the outline
// united with the 10-thou square. A Named IO Port without its attribute
// shows "NULL".
void DrawIOPortLocator(void* dc, const Tower* locator, const LocatorPayload& p, const pl3::Transform& parent);
int GetIOPortBox(const Tower* locator, pl3::Box* box);
// XOR-draws the outline and text of an IO port being placed: the value of its
// design attribute ("NULL" for a Named IO Port without one).
void GhostIOPortLocator(void* dc, const LocatorPayload& locator);

// ---- Display Global Nets -------------------------------------------------------------

// Package instances (11008) of a Schematic, a symbol's package reference
// (11011) and the package pins (11007) that carry global nets.
constexpr std::uint16_t kTypePackageInstance = 11008;
constexpr std::uint16_t kTypePackageReference = 11011;
constexpr std::uint16_t kTypePackagePin = 11007;

// One line per global net of the symbol's package: the net name, a blank and
// the pin numbers on that net joined by ", " (names compared without regard
// to case). With a non-empty list name only that net's line, or "?name?" when
// no pin of the package is on it.
std::vector<std::string> BuildGlobalNetLines(const Tower* symbol, const char* listName);
// The lines joined by newlines.
std::string JoinLines(const std::vector<std::string>& lines);
// The offset along the text's vertical of the first line of a block of
// `count` lines of height `lineHeight`, by the locator's vertical
// justification and rotation.
std::int32_t GlobalNetBlockOffset(const LocatorPayload& locator, std::int32_t lineHeight, std::size_t count);
// Draws the list of a placed Display Global Nets locator (the payload copy p
// of the stored locator) in a schematic.
void DrawGlobalNetList(void* dc, const Tower* locator, const LocatorPayload& p, const pl3::Transform& parent);

// ---- Graphic net names ---------------------------------------------------------------

constexpr std::uint16_t kTypeSymbolOrigin = 11028;  // a net-name graphic symbol's origin {x, y}
// The origin a symbol without one is given: 27.5 inches on both axes.
constexpr std::int32_t kDefaultSymbolOrigin = 1005840000;
// The grid an existing origin is snapped to: 1/20 inch about the default origin.
constexpr std::int32_t kSymbolOriginGrid = 1828800;

// The net-name graphic symbol (25) a Graphic Net Name locator refers to
// (payload 88), looked for among the Schematic's symbol definitions; null
// when gone.
Tower* FindGraphicNetNameSymbol(const Tower* schematic, std::uint32_t reference);
// The symbol's origin record; false when it has none.
bool GetSymbolOrigin(const Tower* symbol, pl3::Point* origin);
// The placement of the symbol's items: (q - origin) under the locator's
// rotation, plus the locator point.
pl3::Transform GraphicNetNamePlacement(const LocatorPayload& locator, pl3::Point origin);
// Gives a symbol without an origin one at the default point; snaps an
// existing one to the 1/20-inch grid about that point.
void PrepareSymbolOrigin(const Tower* symbol);
// Where a Display Net Name copy under a Graphic Net Name lands: false when
// the referenced symbol or its origin is gone.
int PlaceGraphicNetNameChild(const Tower* graphicNetName, const LocatorPayload& child, pl3::Point* at);

// Copies the symbol's Display Net Name locators (kind 16) under the Graphic
// Net Name locator, replacing any copies it had. Returns the number copied.
int CopyNetNameLocators(const Tower* graphicNetName, const Tower* symbol);
// Inserts a Graphic Net Name locator with undo and copies the symbol's Display
// Net Name locators under it; the design is marked changed. The stored
// locator's Tower (the caller releases it), or null.
Tower* InsertGraphicNetName(const LocatorPayload& record);
// Copies again the Display Net Name locators of every Graphic Net Name
// locator of every Page of the Schematic. Returns the number of locators done.
int RefreshGraphicNetNames(const Tower* schematic);

// Draws the symbol's graphic items and the net name at each copy (the
// payload copy p of the stored locator); its ghost (after preparing the
// symbol's origin); its box.
void DrawGraphicNetName(void* dc, const Tower* locator, const LocatorPayload& p, std::uint32_t pass);
void GhostGraphicNetName(void* dc, const LocatorPayload& locator, const Tower* symbol);
int GetGraphicNetNameBox(const Tower* locator, pl3::Box* box);
