// The frame's context pop-ups at bar position 3: "&Options" for the item in
// hand or the selection, and "&Selection" before it while the selection is
// edited. SetSelectionAndOptionsMenus (objects/editor_seams.h) rebuilds both;
// the menus are the resources of app/resources/options_menus.rc.
#pragma once
#include <cstdint>

#include "platform/win_types.h"

// The Options pop-up in the bar, or null; the frame's SelectionMenu
// (app/frame_menus.h) is the Selection pop-up.
extern HMENU OptionsMenu;
// The selection-menu kind the pop-ups were last built for.
extern std::uint32_t SelectionMenuKind;
