// "EnterTextDlg": the one-line text prompt that many commands use (names of
// nets, datums, symbols, items, pads). The dialog is modal, so its state is
// one program-wide set.
#pragma once
#include <cstdint>

#include "objects/frame_seams.h"
#include "platform/user.h"

// The current text: the text passed in, replaced by a new heap string on OK.
extern char* EnterTextCurrent;

// Runs the dialog owned by the frame and returns the current text: on OK a
// new heap string (the text passed in was freed), on Cancel the text passed
// in. A maximum length of 0 sets no limit. ShowEnterTextDlgEx and the OK
// state EnterTextDialogResult are declared in objects/frame_seams.h, where
// the design objects reach them.
char* ShowEnterTextDlg(const char* title, const char* prompt, char* text);
INT_PTR CALLBACK EnterTextDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
