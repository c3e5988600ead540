// The working options kept in the configuration file "PL3.CFG", at their
// built-in values until the file is read. Each is named by the type code of
// its node in the file; the Parts that use an option give it its meaning,
// this module only carries its value and width.
#pragma once
#include <cstdint>

#include "draw/ghost_pens.h"
#include "geometry/types.h"
#include "objects/attribute_locators.h"

// Mouse group 10100: the six configuration words of the left (10102) and
// right (10103) buttons, nodes 10104 to 10109: the button id, the click
// actions when idle, in the editing modes and in the polygon edit modes, the
// hold time in milliseconds and a further word.
extern std::uint32_t MouseButtonWords[2][6];

// Colour group 10200.
extern std::uint32_t CustomColours[16];     // 20029, the colour chooser's custom colours
// 10201 GhostOutlines and 10202 GhostRoundEnds live with the ghost drawing
// (draw/ghost_pens.h).
extern std::uint32_t ColourOption10207;
extern std::uint32_t ColourOption10208;
extern std::uint32_t ColourOption10209;
extern std::uint32_t ColourOption10210;
extern std::uint32_t CutoutOutlineWidth;  // 10211, world units
extern std::uint8_t DrawingFlag10212;
extern std::uint8_t DrawingFlag10217;
extern std::uint32_t ColourOption10213;
extern std::uint8_t ColourOption10214;
extern std::uint32_t ColourOption10215;
extern std::uint32_t ColourOption10216;

// Editing group 10300.
extern std::uint32_t PickDistance;         // 10301, pixels
extern std::uint32_t PickDistanceSquared;  // kept beside it at start
extern char DesignatorPrefix[32];          // 10302, written, never read back
extern std::uint8_t EditingOption10303;
extern std::uint32_t DesignatorTextOption;  // 10304
extern std::uint32_t EditingOption10305;
extern float DragToleranceFactor;  // 10306, written, never read back
extern std::uint32_t DeleteConfirmCount;  // 10307
extern std::uint8_t LayerOption10308;
extern std::uint32_t DisplayUnitsCode;   // 10309
extern std::uint32_t GridOption10310;
extern std::uint32_t DefaultItemClass;   // 10311
extern std::uint32_t PadStackOption10312;
extern std::int32_t PinNamingLength10313;
extern std::int32_t PinNamingLength10314;
extern std::uint32_t EditingOption10317;
extern std::uint32_t CompletionInfoMask1;  // 10315
extern std::uint32_t CompletionInfoMask2;  // 10316
extern std::uint32_t OriginMarkOption;     // 10319
// The pin-number and pin-name text defaults of the locator placing code
// (offset, justification, rotation), kept here under their option numbers.
using LocatorDefaults = PinTextDefaults;
inline constexpr LocatorDefaults& FirstLocatorDefaults = PinNumberTextDefaults;  // 10320, 10321, 10322, 10326
inline constexpr LocatorDefaults& SecondLocatorDefaults = PinNameTextDefaults;   // 10323, 10324, 10325, 10327
extern std::int32_t EditingLength10328;
extern std::uint32_t EditingOption10329;

// Further options group 10400.
extern std::uint8_t FurtherOption10401;
extern std::uint32_t FurtherOption10404;
extern std::uint32_t FurtherOption10405;

// Lengths group 10450, keyed by codes 132, 153, 154, 134, 155, 136, 161.
extern std::int32_t ConfiguredLengths[7];
extern const std::uint16_t kConfiguredLengthCodes[7];

// Print options 10451: the 44-byte record and its seven one-byte children
// 10452, 10453, 10455 ... 10459, and a further flag cleared on reading.
extern std::uint8_t PrintOptionsRecord[44];
extern std::uint8_t PrintOptions[8];  // index = code - 10452
extern std::uint8_t PrintFlagExtra;

// Application globals set at start-up.
extern std::uint32_t EntropyWords[8];
extern std::int32_t DefaultBoardSize[2];
extern std::int32_t MaximumBoardSize;
extern std::uint8_t NewBoardFlag;
extern std::uint8_t DrawingWorkingFlags[2];  // copies of 10212 and 10217

// Puts every option back to its built-in value.
void SetBuiltInConfigurationOptions();
