// The dialog that edits one cartesian grid ("NEWGRIDDLG"): its unit, key
// stroke, and per axis the step (size / divisor), the display multiple, the
// least pixel gap and the thinning factor, with the y axis linked to the x
// axis on request.
#pragma once
#include <cstdint>

#include "objects/grid_sets.h"
#include "platform/user.h"

constexpr char kNewGridDialogName[] = "NEWGRIDDLG";

// Block options: a new grid, which starts from the active window's current
// grid when that is cartesian, else from the defaults (1/10 mm).
constexpr std::uint32_t kNewGridFillDefaults = 0x1;

// The dialog's parameter block.
struct NewGridBlock {
  std::uint32_t options;
  const char* caption;
  GridEntry grid;  // edited; written only on OK
};

// The smallest grid step accepted, in world units: one micron.
constexpr std::int64_t kSmallestGridStep = 1440;
// The least pixel gap accepted.
constexpr std::uint32_t kSmallestPixelGap = 8;

// The dialog procedure; without its block it says "NewGridDlg called without
// LParam" (caption "Error") and ends with 0.
INT_PTR CALLBACK NewGridDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Runs the dialog on the block; 1 on OK, else 0.
int NewGridDlg(HWND owner, NewGridBlock* block);
