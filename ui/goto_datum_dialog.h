// " Goto Datum" (dialog 1058): the datums of the active design in an
// owner-drawn list under a "Name" / "Key Stroke" header, chosen by a click or
// by a datum's key stroke, renamed through "Edit Datum", and the editing
// cursor sent to the one chosen.
#pragma once
#include <cstdint>

#include "platform/win_types.h"

struct Tower;

constexpr int kGotoDatumDialogId = 1058;
constexpr int kGotoDatumListId = 281;
constexpr int kGotoDatumHeaderId = 282;
constexpr int kGotoDatumEditButtonId = 3177;
// Bit 0 of the dialog's parameter: a typed key stroke that finds its datum
// chooses it at once, as OK would.
constexpr std::uint32_t kGotoDatumKeyChooses = 0x1;

// Runs the dialog over the active window's design. On OK returns 1 and a
// Tower on the chosen datum in *chosen (the caller releases it); Cancel
// returns 0.
int RunGotoDatumDialog(HWND owner, std::uint32_t flags, Tower** chosen);
// The Goto Datum command: on OK the view is redrawn and the editing cursor
// goes to the datum's point; the mouse-move state and status bar follow.
void ShowGotoDatumDialog(HWND window);
