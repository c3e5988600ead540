// Dialog helpers shared by the option and editing dialogs: the combo box of
// length units, and the one-character key fields that show a shortcut as
// "'K'" or "none".
#pragma once
#include <cstdint>

#include "platform/user.h"

// Adds "Thou", "Inch", "Millimetre" and "Centimetre" with item data 0 to 3;
// with filters also "Imperial" (4), "Metric" (5) and "All Types" (6). The
// entry whose data equals `selected` is selected.
void FillUnitsCombo(HWND dialog, int comboId, std::uint32_t selected, int withFilters);
// The unit index (item data) of the combo's selection, or `fallback` when
// nothing is selected.
std::uint32_t GetUnitsComboSelection(HWND dialog, int comboId, std::uint32_t fallback);

// Shows a key character as "'%c'", or "none" for 0.
void SetDlgItemKeyChar(HWND dialog, int id, std::uint8_t character);
// The key character a key field shows: 0 for "none" and for anything that is
// not a letter or digit.
std::uint8_t GetDlgItemKeyChar(HWND dialog, int id);
// Makes the edit control a key field: a letter, digit or space typed into it
// replaces its content, upper-cased; Delete shows "none"; other characters
// are ignored.
void MakeKeyCharField(HWND dialog, int id);
