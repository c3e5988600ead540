// What the editing engine calls in the application frame and the editors,
// which lie above it. Declared here; the program defines them in app/ (some
// as refusing stand-ins until their owners land) and tests link recording
// fakes where they must observe a call.
#pragma once
#include <cstdint>

// One line in the active document's console.
void WriteEngineConsoleLine(const char* text);
// The program's crosshair style setting (1 target cursors, 0 crosshair lines).
std::uint32_t CurrentCrosshairSetting();
