// The datum dialogs: "Goto Point" (1060), which sends the editing cursor to
// a typed position, and "Edit Datum" (1059), which renames a datum and sets
// its key stroke.
#pragma once
#include <cstdint>

#include "geometry/types.h"
#include "objects/graphic_records.h"
#include "platform/user.h"

constexpr int kGotoPointDialogId = 1060;
constexpr int kEditDatumDialogId = 1059;

// World units per unit of the length units 0 thou, 1 inch, 2 mm, 3 cm.
constexpr std::int32_t kGotoPointUnitFactors[4] = {36576, 36576000, 1440000, 14400000};

// Runs Goto Point over `shown`, measured from `origin` in `unit`. On OK the
// typed point (inside the editable area) is written to `result` and 1
// returned; Cancel returns 0.
int RunGotoPointDialog(HWND owner, pl3::Point origin, pl3::Point shown, std::uint32_t unit, pl3::Point* result);
// Goto Point for the active window (in inches when the program's units are
// imperial, else millimetres); on OK the editing cursor goes to the point.
void ShowGotoPointDialog(HWND window);

// Runs Edit Datum on a datum payload with room for a full name (kDatumRoom
// bytes). On OK the name (cut to the room) and the key stroke are stored
// and 1 returned; Cancel returns 0 and leaves the payload alone.
int RunEditDatumDialog(HWND owner, DatumPayload* datum);
