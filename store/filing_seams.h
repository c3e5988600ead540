// What document filing calls in the subsystems above the store. Each function
// is declared here and defined by its owner; the store never includes their
// headers. Tests define fakes.
#pragma once
#include "platform/win_types.h"

struct Tower;

// Import of earlier-generation designs: converts the earlier-generation
// records of a freshly loaded tree in place.
void ConvertPl2ProjectTree(Tower* document);

// Glyph outlines: re-maps every stored font number of a loaded document to
// the numbers of the current run.
void RemapDocumentFonts(Tower* document);

// Application frame: the frame window owns the messages of filing.
extern HWND FrameWindow;

// Application frame: opens a subkey (such as "Initialisation") under the
// program's registry key; ERROR_SUCCESS when opened.
LONG OpenProgramRegistryKey(HKEY root, const char* subkey, DWORD options, DWORD access, HKEY* key);
