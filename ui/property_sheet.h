// The program's tabbed option dialogs: one modal property sheet built from a
// list of pages.
#pragma once
#include "platform/user.h"

// One page: its tab title, its dialog template (a name, or MAKEINTRESOURCE of
// a number) and procedure, and a value the page reads from the PROPSHEETPAGE
// record that its WM_INITDIALOG receives (record->lParam). A list ends with
// an entry whose title is null.
struct PropertySheetPage {
  const char* title;
  const char* dialogTemplate;
  DLGPROC procedure;
  LPARAM param = 0;
};

// Shows the sheet modally over the owner with the caption as its title and the
// first page open; the pages hear PSN_APPLY on OK and on Apply. Returns 1
// after OK, 0 after Cancel, -1 when it cannot be shown (no pages, or a page
// whose template does not exist).
INT_PTR ShowPropertySheet(HWND owner, const char* caption, const PropertySheetPage* pages);
