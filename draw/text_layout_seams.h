// What the text layout asks of the schematic editor, which lies above draw/.
// Until it lands the program links the stand-in of
// app/text_layout_seams_pending.cpp; tests link fakes.
#pragma once
#include <cstdint>

struct Tower;

// A new heap copy of the text (freed with free()) with its field references
// expanded in library and schematic windows, elsewhere a plain copy; null
// when it cannot be made.
char* ExpandTextFields(const Tower* design, const char* text);
