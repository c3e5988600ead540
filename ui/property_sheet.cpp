#include "ui/property_sheet.h"

#include <vector>

#include "platform/commctrl.h"

INT_PTR ShowPropertySheet(HWND owner, const char* caption, const PropertySheetPage* pages) {
  std::vector<PROPSHEETPAGEA> records;
  for (const PropertySheetPage* page = pages; page && page->title; ++page) {
    PROPSHEETPAGEA record{};
    record.dwSize = sizeof record;
    record.dwFlags = PSP_USETITLE;
    record.pszTemplate = page->dialogTemplate;
    record.pszTitle = page->title;
    record.pfnDlgProc = page->procedure;
    record.lParam = page->param;
    records.push_back(record);
  }
  if (records.empty()) return -1;
  PROPSHEETHEADERA header{};
  header.dwSize = sizeof header;
  header.dwFlags = PSH_PROPSHEETPAGE;
  header.hwndParent = owner;
  header.pszCaption = caption;
  header.nPages = static_cast<UINT>(records.size());
  header.nStartPage = 0;
  header.ppsp = records.data();
  return PropertySheetA(&header);
}
