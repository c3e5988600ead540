// What a double click on a log line asks of the schematic editor, which lies
// above app/: defined there; the program links the stand-in of
// app/schematic_page_seams_pending.cpp until it lands.
#pragma once
#include <cstdint>

struct CurrentWindowData;

// Switches a schematic window to a page.
void ShowSchematicPage(CurrentWindowData* window, std::int32_t page);
