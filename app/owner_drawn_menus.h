// Owner-drawn menu items: the record each item keeps in its data word, and
// the routines that make, measure, draw, refresh and free them. Kind 1 is a
// text item with its image and shortcut text, kind 2 a colour swatch item.
// MakeMenuOwnerDrawn and FreeOwnerDrawnMenu are declared in
// app/pending_services.h, the pop-up routines in objects/item_helper_seams.h.
#pragma once
#include <cstdint>

#include "platform/menus.h"
#include "platform/user.h"

struct ImageCache;

struct OwnerDrawnMenuRecord {
  std::uint32_t kind;        // 1 text item, 2 colour item
  MENUITEMINFOA info;        // the item as it was when the record was made
  std::int32_t width;        // shared by the items of a pop-up (kind 1)
  std::int32_t height;
  char* shortcut;            // owned, may be null (kind 1)
  char* text;                // owned: the item text up to its first tab
  std::uint32_t entry;       // kind 1: the recently-used entry (1 to 4), else 0; kind 2: the colour
  std::uint32_t image;       // kind 1: an icon group id, or 0
  HFONT font;                // owned: the menu font (kind 1), the item font (kind 2)
};

// The program icon cache, filled at start with every icon group at 16 x 16.
extern ImageCache* ProgramIconCache;

// A kind-1 record: text cut at its first tab, the menu font made afresh.
OwnerDrawnMenuRecord* NewOwnerDrawnRecord(const char* text, std::uint32_t image, std::uint32_t entry);
void FreeOwnerDrawnItem(OwnerDrawnMenuRecord* record);
// The menu font of the system's non-client metrics.
HFONT CreateMenuFont();
// A memory DC to measure menu texts on (DeleteDC when done): text extents
// are the font's, and the screen's DC would copy the whole desktop.
HDC CreateMeasuringDC();

// Measures a pop-up's items (from their menu texts, or from their records)
// with the menu font: the widest text plus its key text and 10, the tallest.
void MeasureMenuItems(HMENU popup, std::int32_t* width, std::int32_t* height);
void MeasureOwnerDrawnItems(HMENU popup, std::int32_t* width, std::int32_t* height);
// Re-measures a pop-up and writes the new size into every record under it.
void RefreshOwnerDrawnMenu(HMENU menu, int topLevel);
// WM_MEASUREITEM and WM_DRAWITEM of menu items; 0 for an item without record.
int MeasureOwnerDrawnMenuItem(HWND window, MEASUREITEMSTRUCT* measure);
int DrawOwnerDrawnMenuItem(HWND window, const DRAWITEMSTRUCT* draw);
// The frame's system menu and the active document window's are never made
// owner-drawn.
bool IsSystemMenuOfFrame(HMENU menu);
