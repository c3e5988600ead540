// What the clipboard asks of the pick code, the symbol
// insertion and the schematic's packaging, which are built elsewhere. Until
// their owners land the program links the stand-ins of
// app/clipboard_seams_pending.cpp; tests link fakes.
#pragma once
#include <cstddef>
#include <cstdint>

#include "geometry/types.h"
#include "platform/win_types.h"

struct Tower;

// The drag handle point of an item (the point GetDrawStatus takes as the
// item's reference), world units.
pl3::Point GetItemHandlePoint(HWND window, const Tower* item);
// Keeps a packaged schematic symbol's package reference as an attribute of
// the symbol (the text also goes into the buffer); an unpackaged symbol
// leaves the buffer empty.
void RecordPackageReference(const Tower* symbol, char* buffer, std::size_t bufferSize);
// Removes a schematic symbol from its package (package link, gate records,
// package-derived attributes), without undo.
void UnpackageSymbol(const Tower* symbol);
