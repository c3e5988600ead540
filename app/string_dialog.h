// "StringDialogEx": the editor of a text object's string, font and size,
// whose rich edit box previews the chosen TrueType face; and the test of the
// legacy stroke font's glyphs. RunStringDialogEx (edit/insertion_seams.h)
// runs the dialog on a text object.
#pragma once
#include <cstdint>

#include "platform/user.h"

struct TextPayload;

// The text object being edited, set by the caller before the dialog runs,
// and its layer byte, kept while the dialog is open.
extern TextPayload* StringDialogText;
extern std::uint8_t StringDialogLayer;

INT_PTR CALLBACK StringDialogExProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Non-zero when the character is below 30 or the legacy stroke font (font 3)
// has a glyph record for it (code 400 plus the character).
int LegacyFontHasGlyph(unsigned char character);
