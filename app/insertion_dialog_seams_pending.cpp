// The program's stand-ins for the text and body height dialogs of the
// begin-insert handlers (edit/insertion_seams.h) until the dialogs land:
// each answers Cancel, so nothing is inserted.
#include "edit/insertion_seams.h"

INT_PTR RunStringDialogEx(HWND, TextPayload*) { return 0; }
int RunBodyHeightDialog(HWND, std::int32_t*) { return 0; }
