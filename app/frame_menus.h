// The frame's menu bar, rebuilt from the menu resources of the active
// document's kind at every activation, and the updaters of its check marks
// and greyed items.
#pragma once
#include <cstdint>

#include "platform/menus.h"

// The current bar and "&Window" pop-up, the selection menu, and the two
// further pop-ups each rebuild destroys.
extern HMENU FrameMenuBar;
extern HMENU WindowMenu;
extern HMENU SelectionMenu;
extern HMENU StoredPopups[2];

// Program-wide settings the check marks show.
extern std::int32_t RubberbandMode;     // 1 on, 0 off
extern std::int32_t AnnotationMode;     // 1 auto, 0 manual
extern std::int32_t IOPortUpdateMode;   // non-zero automatic
extern std::uint8_t PickupDesignator;
extern std::int32_t PadNamingCounter;   // above 0: pads are named as they are placed
extern std::uint8_t MenuRedrawLock;     // the frame's update is locked around a redraw

// Rebuilds the bar; 0 builds the bar without a document.
void ChangeMenu(int hasDocument);
void DestroyFrameMenus();

void UpdateCursorMenu(HWND frame);
void UpdateHatchKeepoutsMenu(HWND frame);
void UpdateChevronsMenu(HWND frame);
void UpdateRubberbandMenu(HWND frame);
void UpdateWidowsMenu(HWND frame);
void UpdateAnnotationMenu(HWND frame);
void UpdateAutoInheritMenu(HWND frame);
void UpdateAutoAnnotateMenu(HWND frame);
void UpdatePickupDesignatorMenu(HWND frame);
void UpdateHoleMarkersMenu(HWND frame);
void UpdateOutlinesMenu(HWND frame);
void UpdateIOPortMenu(HWND frame);
void UpdatePadStackTypeMenu(HWND frame);
void UpdateSymbolTypeMenu(HWND frame);
void UpdateLibrarySymbolTypeMenu(HWND frame);
void UpdatePinNumbersMenu(HWND frame);
void GreyUnlinkPCBMenu(HWND frame);
void GreyLinkSchematicMenu(HWND frame);
void UpdateUnitsMenu(HWND frame);
