// Starting an attribute locator: from the frame's Insert commands and from a
// click while the locator tool is armed (insert type 20).
#pragma once
#include <cstdint>

#include "geometry/types.h"
#include "platform/win_types.h"

struct CurrentWindowData;
struct Tower;

// Room of the name the Graphical Net Name dialog fills.
constexpr std::uint32_t kGraphicNetNameRoom = 1024;

// Arms the locator tool for the kind and starts a locator at the point in
// the window's pending record.
void StartLocatorAt(HWND view, CurrentWindowData& w, std::uint16_t kind, pl3::Point at);
// Asks for the name of a user attribute locator; false when cancelled.
bool AskAttributeLocatorName();
// The Graphical Net Name locator just started shows a new attribute of the
// design holding the chosen name, and draws the chosen symbol round it.
void NameGraphicNetNameLocator(HWND view, CurrentWindowData& w, const char* name, const Tower* symbol);
// A click with the locator tool armed: starts a locator of the pending kind
// at the point, asking first for what the kind needs (13 the net name and
// its symbol, 14 the attribute name). Nothing starts when the question is
// cancelled.
void BeginLocatorInsertion(HWND view, pl3::Point at);
