// The error log routine and the node pool's memory blocks.
//
// ShowAndLogError (declared in store/seams.h) shows its text in a message box
// (exclamation icon, system-modal) when the severity's bit is set in
// Settings->errorMask (0 without a block), and when the mask has bits 31 and 0 set appends the
// text, a tab, the caption, a tab, the severity's name ("Internal Error" for 1,
// "User Error" for 2, "Other Error" otherwise) and CR LF to the error log.
// The program's mask is 0, so by default nothing is shown or written.
//
// The error log is "PL3_Err.log" in the current folder.
#pragma once
#include <string>

#include "store/seams.h"

// The error log's path in program form.
std::string ErrorLogPath();
