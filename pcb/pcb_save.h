// Saving a board: Save (286) writes the design back as its item in its
// container, Save As (334) names a new container or item first, Save All
// (4004) saves every changed board, and the close question keeps unsaved
// changes from being lost. SavePCBWindow, SavePCBWindowAs and
// SaveAllPCBWindows are declared in app/pcb_window_seams.h.
#pragma once
#include <string>

#include "platform/win_types.h"

struct CurrentWindowData;
struct Tower;

// The filter and extension of the Save As dialog.
inline constexpr char kSaveBoardFilter[] = "PL3 Projects (*.P3P)\0*.P3P\0";
inline constexpr char kSaveBoardExtension[] = "p3p";

// WM_CLOSE of a PCB window: a changed board asks "Save changes to %s?";
// 1 when the window may close (unchanged, saved, or No), 0 to keep it.
int ConfirmPCBWindowClose(HWND window);
// The view state and grid set written into the design's group 242, so that
// the design opens again as it was left.
void StoreViewState(CurrentWindowData& block);
// The words shown when a save fails, for the store's last error and, when the
// store could not write the file, the system's reason.
std::string SaveFailureText(std::uint32_t storeError, std::uint32_t systemError = 0);
// Why a file could not be written, for the system's error (read-only folder,
// full disk ...).
std::string WriteFailureText(std::uint32_t systemError);
