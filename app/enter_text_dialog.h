// "EnterTextDlg": the one-line text prompt that many commands use (names of
// nets, datums, symbols, items, pads). The dialog is modal, so its state is
// one program-wide set.
#pragma once
#include <cstdint>

#include "platform/user.h"

// The current text: the text passed in, replaced by a new heap string on OK.
extern char* EnterTextCurrent;
// 1 when the last "EnterTextDlg" ended with OK, else 0.
extern std::uint8_t EnterTextDialogResult;

// Runs the dialog owned by the frame and returns the current text: on OK a
// new heap string (the text passed in was freed), on Cancel the text passed
// in. A maximum length of 0 sets no limit.
char* ShowEnterTextDlg(const char* title, const char* prompt, char* text);
char* ShowEnterTextDlgEx(const char* title, const char* prompt, char* text, std::uint32_t maximumLength);
INT_PTR CALLBACK EnterTextDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
