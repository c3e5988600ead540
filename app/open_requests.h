// What a front end that opens a document tells the editor window it creates:
// the request bits and the item the window takes. Set by the frame's open
// commands and document filing, read by the editor windows' WM_CREATE.
#pragma once
#include <cstdint>

struct Tower;

// Request bits of OpenRequestFlags.
constexpr std::uint8_t kOpenTakePendingItem = 0x1;  // the window takes PendingItemTower
constexpr std::uint8_t kOpenAlreadyOpen = 0x2;      // filing found the item open in a window
constexpr std::uint8_t kOpenNamedOrImport = 0x4;    // a pending path is named, or a PCB window for an import
constexpr std::uint8_t kOpenNewSchematic = 0x8;     // a schematic window built from the New Schematic answer

extern std::uint8_t OpenRequestFlags;
// The Tower of the item the next editor window takes (bit 0), or null.
extern Tower* PendingItemTower;
