// The error log routine and the node pool's memory blocks.
//
// ShowAndLogError (declared in store/seams.h) shows its text in a message box
// (exclamation icon) when the severity's bit is set in Settings.errorMask, and
// when the mask has bits 31 and 0 set appends the text, the caption and the
// severity's name ("Internal Error" for 1, "User Error" for 2, "Other Error"
// otherwise), each on a line of its own, to the error log.
//
// The error log is "PL3_Err.log" in the configuration folder
// ($XDG_CONFIG_HOME/pelmora3, default ~/.config/pelmora3).
#pragma once
#include <string>

#include "store/seams.h"

// The error log's path in program form.
std::string ErrorLogPath();
