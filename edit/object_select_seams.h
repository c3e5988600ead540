// What SelectObject asks of the schematic editor and the design objects,
// which are built elsewhere. Until their owners land the program links the
// stand-ins of app/schematic_select_seams_pending.cpp and
// app/pad_label_check_seams_pending.cpp; tests link fakes.
#pragma once

struct Tower;

// The schematic's select operation of a placed schematic symbol (30): its
// drag status, then AddSymbolToSelection. 1 when it was selected.
int SelectSchematicSymbol(const Tower* symbol, int flags);
// The pad-label check of a picked pad stack (141): non-zero when the active
// view must be redrawn.
int CheckPadLabelOnSelect(const Tower* padStack);
// The program's automatic pad naming option (the frame's "Auto Name &Pads"):
// non-zero when a newly placed pad takes the next free pin name.
int AutomaticPadNamingOn();
