// Auto-pan: while the mouse rests in a narrow zone along the edge of a PCB
// view, the view scrolls that way in small steps. The settings with their
// dialog and registry value, the edge zones, the delay and repeat timers,
// and the scroll of the view by one pan step with the repaint of the strips
// that come into view.
#pragma once
#include <cstdint>

#include "platform/user.h"

// The five settings, program-wide, in the order the registry value holds them.
struct AutoPanSettings {
  std::int32_t enabled;        // non-zero: auto-pan on
  std::int32_t initialDelay;   // ms the mouse must rest in the zone before panning starts
  std::int32_t repeatPeriod;   // ms between two pan steps
  std::int32_t edgeZoneWidth;  // pixels from the client edge
  std::int32_t panSize;        // pixels one step moves the view
};
static_assert(sizeof(AutoPanSettings) == 20);

constexpr AutoPanSettings kDefaultAutoPanSettings{1, 215, 53, 23, 12};
extern AutoPanSettings AutoPanOptions;

// The dialog's ranges; values read from the registry are held to them.
constexpr std::int32_t kAutoPanDelayRange[2] = {100, 2000};
constexpr std::int32_t kAutoPanPeriodRange[2] = {10, 100};
constexpr std::int32_t kAutoPanEdgeRange[2] = {20, 100};
constexpr std::int32_t kAutoPanSizeRange[2] = {10, 100};

// Edge flags: a corner zone combines two.
constexpr std::uint32_t kPanRight = 1;
constexpr std::uint32_t kPanLeft = 2;
constexpr std::uint32_t kPanDown = 4;
constexpr std::uint32_t kPanUp = 8;

// Sent to the active editor window with the edge flags in wParam and 10 in
// lParam; the PCB window answers it with AutoPanScroll.
constexpr UINT kAutoPanMessage = 2690;

// The edge flags of the last check, and the two thread timers (0 when not running).
extern std::uint32_t AutoPanEdges;
extern UINT_PTR AutoPanDelayTimer;
extern UINT_PTR AutoPanRepeatTimer;

// "AutoPanOptions" under "Initialisation": "%d %d %d %d %d" with the five
// settings in order. Loading keeps the settings whose numbers are missing
// and holds the read ones to the dialog's ranges (enabled to 0 or 1); it
// never creates the key. Saving creates it when missing.
void LoadAutoPanOptions();
void SaveAutoPanOptions();

// The edge flags of a client point against a client rectangle (0, 0, right,
// bottom) with a zone `width` wide; 0 outside the rectangle.
std::uint32_t AutoPanEdgeFlags(POINT point, const RECT& client, std::int32_t width);
// What the PCB and frame window procedures call on every mouse move.
void UpdateAutoPan(HWND view);
// Kills both timers and zeroes their identifiers.
void StopAutoPan();

// True when a view whose client area is right x bottom pixels may take the
// origin (x, y) at the zoom: neither coordinate negative, and the far edges
// within the design area (5 to 50 inches) as the bound test has it.
bool AutoPanInBounds(std::int64_t x, std::int64_t y, std::int32_t right, std::int32_t bottom, std::uint32_t zoom);
// One pan step of a PCB view (other kinds ignore it) in the flags' direction.
void AutoPanScroll(HWND window, std::uint32_t flags);

// Dialog 1139 "Autopan Options": OK stores the settings and ends it with 0;
// Cancel or closing ends it with -1 and changes nothing.
constexpr int kAutoPanDialogId = 1139;
INT_PTR CALLBACK AutoPanDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// The "Auto Pan..." command: runs the dialog over the owner.
INT_PTR ShowAutoPanDialog(HWND owner);
