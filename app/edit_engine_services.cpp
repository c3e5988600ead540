// The frame's services that the editing engine calls (edit/engine_seams.h).
#include "edit/engine_seams.h"

#include "app/pending_services.h"
#include "app/start_values.h"
#include "edit/window_data.h"

void WriteEngineConsoleLine(const char* text) {
  HWND window = ActiveWindowData ? static_cast<HWND>(ActiveWindowData->Window) : nullptr;
  AddWindowConsoleMessage(window, text, 0);
}

std::uint32_t CurrentCrosshairSetting() { return static_cast<std::uint32_t>(DefaultCursorStyle); }
