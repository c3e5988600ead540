// What the clipboard asks of the pick code, the symbol
// insertion and the schematic's packaging, which are built elsewhere.
// RecordPackageReference is defined in schematic/package_reference.cpp;
// until the unpackaging lands the program links the stand-in of
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
// Keeps a packaged schematic symbol's package reference as its package-name
// attribute (kind 18, replacing any older one): the package's library path
// below the library folder and its item path, BEL, the package instance's
// designator, then (when the symbol does not carry every gate) a TAB and each
// gate name followed by a TAB. The text also goes into the buffer, cut to
// its size. An unpackaged symbol, or one whose instance or package cannot be
// found, leaves the buffer empty and the symbol unchanged.
void RecordPackageReference(const Tower* symbol, char* buffer, std::size_t bufferSize);
// Removes a schematic symbol from its package (package link, gate records,
// package-derived attributes), without undo.
void UnpackageSymbol(const Tower* symbol);
