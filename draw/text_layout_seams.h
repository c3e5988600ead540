// What the text layout asks of the schematic editor and the manufacturing
// output, which lie above draw/. Until those land the program links the
// stand-ins of app/text_layout_seams_pending.cpp; tests link fakes.
#pragma once
#include <cstdint>

struct Tower;

// A new heap copy of the text (freed with free()) with its field references
// expanded in library and schematic windows, elsewhere a plain copy; null
// when it cannot be made.
char* ExpandTextFields(const Tower* design, const char* text);
// The plane clearance of a layer from the design's clearance table, 365,760
// when the table or the entry is missing.
std::int32_t GetPlaneClearance(const Tower* design, std::uint8_t layer);
