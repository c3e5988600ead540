// Selection-menu kinds: which Selection and Options menus (kinds 0 to 45, 0
// for none) fit an item of a type, the current edit mode, and the type chosen
// for insertion. The menus themselves are the editing engine's
// (SetSelectionAndOptionsMenus, objects/editor_seams.h).
#pragma once
#include <cstdint>

struct Tower;

// The selection-menu kind of one item of a type; the Tower of the item may be
// null (the kinds that depend on the item then take their default: a text 9,
// a symbol instance 12, an attribute locator 0).
std::uint32_t GetSelectionMenuKind(std::uint16_t type, const Tower* item);
// Sets the menus for the active window's edit mode; in Edit Selection by the
// selection. Modes without a kind of their own leave the menus as they are.
void UpdateSelectionMenuForMode();
// Sets the type code of the item to be inserted, its menus, the normal
// cursor; clears the click state and the other-side text flag and refreshes
// the status bar.
void SetInsertionType(std::uint16_t type);
