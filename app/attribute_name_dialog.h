// "Attribute Name": the small modal dialog (1185) in which the user names an
// attribute, with one edit field, OK and Cancel.
#pragma once

#include "platform/user.h"

// Runs the dialog over the active document window. Returns the name entered
// (a new heap string the caller frees) when it ends with OK, else null.
char* ShowAttributeNameDialog();
// lParam: a pointer to a heap string pointer, shown first and replaced on OK.
INT_PTR CALLBACK AttributeNameDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
