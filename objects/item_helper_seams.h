// What the item helpers ask of the editing engine, the drawing code and the
// frame, which lie above objects/. The owners define these: the item moves
// are edit/offset_entity.cpp, the display list's look-ups
// draw/display_list_visits.cpp, and the frame's pop-up menu routines
// app/owner_drawn_popup.cpp. Tests link recording fakes.
#pragma once
#include <cstdint>

#include "geometry/types.h"
#include "objects/editor_seams.h"
#include "platform/menus.h"

struct Tower;
struct EntityRecord;

// ---- Editing engine -----------------------------------------------------------------

// Moves any entity payload by (dx, dy); with `clamp` the item is kept inside
// the editable area.
void OffsetEntity(void* payload, std::uint16_t type, std::int32_t dx, std::int32_t dy, int clamp);

// ---- Drawing ------------------------------------------------------------------------

// The box of a design text payload (its string box).
void GetTextEntityBox(const void* textPayload, pl3::Box* box);

// One item of the active window's display list, as the look-ups here see it.
struct DisplayItemView {
  std::uint16_t kind;     // the item kind (17 a via, 7 a hole, ...)
  const Tower* owner;     // the symbol instance the item belongs to, or null
  pl3::Box box;           // the item's world box
  pl3::Point centre;      // holes and vias: the centre
  bool excluded;          // marked to be left out of look-ups
};
// Calls `visit` for each item of the active window's display list until it
// returns non-zero; returns that value, or 0 when the list ran out or there is
// no list.
int VisitDisplayItems(int (*visit)(const DisplayItemView& item, void* context), void* context);

// ---- Application frame --------------------------------------------------------------

// The frame window, owner of the program's pop-up menus.
extern HWND FrameWindow;
// Makes the menu owner-drawn and tracks it as a pop-up; with TPM_RETURNCMD
// the result is the chosen command id, 0 when none.
BOOL TrackOwnerDrawnPopupMenu(HMENU menu, UINT flags, int x, int y, HWND owner);
// The same, keeping clear of the exclusion area when one is given.
BOOL TrackOwnerDrawnPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, const TPMPARAMS* params);
// Frees the menu's owner-draw data and destroys it; 1 for a handle that is
// not a menu.
BOOL DestroyOwnerDrawnMenu(HMENU menu);
