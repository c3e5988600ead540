// "Invalid Size" (dialog 1004): the notice that a size step found no further
// size, with a check box that stops further notices and a way into the size
// configuration.
#pragma once
#include <cstdint>

#include "platform/user.h"

constexpr int kInvalidSizeDialogId = 1004;
constexpr int kInvalidSizeNeverAgain = 3040;  // "Do not &prompt in the future."
constexpr int kInvalidSizeConfigure = 3041;   // "Configure Sizes"
constexpr int kInvalidSizeText = 3042;

// The bit of the "Flags" DWORD under "Initialisation" that stops the notice.
constexpr std::uint32_t kInvalidSizeNoticeOff = 0x1;

// The dialog's parameter block.
struct InvalidSizeBlock {
  const char* caption;
  const char* text;
  std::uint32_t flagBit;  // set in "Flags" when the check box is ticked at OK
};

// On opening: a beep, the caption and text from the block, the box cleared.
// OK sets the block's bit in "Flags" when the box is ticked (a key that
// cannot be opened is skipped) and ends with 1. "Configure Sizes" ends with
// 1, cancels the active window's current operation and opens the size
// configuration for the editor kinds that have size lists.
INT_PTR CALLBACK InvalidSizeDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Runs the dialog over the owner.
INT_PTR ShowInvalidSizeDialog(HWND owner, const InvalidSizeBlock& block);
