// What the begin-insert handlers ask of the frame's dialogs, which lie above
// the editing engine. Declared here, defined by the dialogs; until they land
// the program links the stand-ins of app/insertion_dialog_seams_pending.cpp
// (each answers Cancel) and tests link fakes.
#pragma once
#include <cstdint>

#include "platform/user.h"

struct TextPayload;

// Dialog "StringDialogEx" on a text record: the user edits its string (at
// most the record's room). Returns 1 for OK, any other value for Cancel.
INT_PTR RunStringDialogEx(HWND owner, TextPayload* text);
// Dialog 1330 "Edit Body Height": 1 with the entered height (world units) on
// OK, 0 on Cancel.
int RunBodyHeightDialog(HWND owner, std::int32_t* height);
