// PropertySheet: a modal dialog of our own with a tab per page, the pages'
// child dialogs made when first shown, and OK, Cancel and Apply driving the
// pages through PSN_ notifications.
#include <algorithm>
#include <string>
#include <vector>

#include "platform/commctrl.h"
#include "platform/controls/control_common.h"
#include "platform/dialogs.h"
#include "platform/kernel_base.h"

namespace {

struct SheetPage {
  PROPSHEETPAGEA record{};          // handed to the page's WM_INITDIALOG
  const DialogTemplate* source = nullptr;
  DialogTemplate child{};           // the template made a child of the sheet
  std::string title;
  HWND hwnd = nullptr;              // null until first shown
  bool changed = false;
};

struct Sheet {
  const PROPSHEETHEADERA* header = nullptr;
  std::vector<SheetPage> pages;
  std::string caption;
  std::vector<DialogControl> controls;
  DialogTemplate tpl{};
  HWND dialog = nullptr;
  HWND tabs = nullptr;
  RECT pageArea{};
  int current = -1;
};

Sheet* SheetOf(HWND dialog) { return reinterpret_cast<Sheet*>(GetWindowLongPtrA(dialog, DWLP_USER)); }

// Sends a page one notification and returns its DWLP_MSGRESULT answer.
LRESULT NotifyPage(const Sheet& sheet, HWND page, UINT code, LPARAM param) {
  if (!page || !IsWindow(page)) return 0;
  PSHNOTIFY note{};
  note.hdr.hwndFrom = sheet.dialog;
  note.hdr.idFrom = 0;
  note.hdr.code = code;
  note.lParam = param;
  return SendMessageA(page, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&note));
}

const DialogTemplate* FindPageTemplate(const PROPSHEETPAGEA& page) {
  if (page.dwFlags & PSP_DLGINDIRECT) return page.pResource;
  return page.pszTemplate ? pl3::FindDialogTemplate(page.pszTemplate) : nullptr;
}

// Checks the header and pages before anything is shown; false leaves the
// sheet unshown with ERROR_INVALID_PARAMETER or ERROR_RESOURCE_NAME_NOT_FOUND.
bool ReadPages(const PROPSHEETHEADERA* header, Sheet& sheet) {
  if (!header || header->dwSize != sizeof(PROPSHEETHEADERA) || !(header->dwFlags & PSH_PROPSHEETPAGE) ||
      header->nPages == 0 || !header->ppsp) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  for (UINT i = 0; i < header->nPages; ++i) {
    const PROPSHEETPAGEA& record = header->ppsp[i];
    if (record.dwSize != sizeof(PROPSHEETPAGEA)) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return false;
    }
    SheetPage page;
    page.record = record;
    page.source = FindPageTemplate(record);
    if (!page.source) {
      SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
      return false;
    }
    page.child = *page.source;
    page.child.name = nullptr;  // a hook for the page's own template must not take the page for a dialog
    page.child.id = 0;
    page.child.x = page.child.y = 0;
    page.child.style = (page.source->style & ~(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_MODALFRAME |
                                               WS_VISIBLE | DS_CENTER)) |
                       WS_CHILD | DS_CONTROL;
    page.child.exStyle |= WS_EX_CONTROLPARENT;
    const bool ownTitle = (record.dwFlags & PSP_USETITLE) && record.pszTitle && !IS_INTRESOURCE(record.pszTitle);
    page.title = ownTitle ? record.pszTitle : (page.source->caption ? page.source->caption : "");
    sheet.pages.push_back(page);
  }
  return true;
}

bool MakePage(Sheet& sheet, int index) {
  SheetPage& page = sheet.pages[index];
  if (page.hwnd) return true;
  page.hwnd = CreateDialogIndirectParamA(sheet.header->hInstance, &page.child, sheet.dialog, page.record.pfnDlgProc,
                                         reinterpret_cast<LPARAM>(&page.record));
  if (!page.hwnd) return false;
  SetWindowPos(page.hwnd, HWND_TOP, sheet.pageArea.left, sheet.pageArea.top, sheet.pageArea.right - sheet.pageArea.left,
               sheet.pageArea.bottom - sheet.pageArea.top, SWP_NOACTIVATE);
  return true;
}

// Shows page `index`. The page shown so far is asked first unless the tab
// control already asked it; false when it refuses or the page cannot be made.
bool ShowPage(Sheet& sheet, int index, bool askCurrent) {
  if (index < 0 || index >= static_cast<int>(sheet.pages.size())) return false;
  if (index == sheet.current) return true;
  if (askCurrent && sheet.current >= 0 && NotifyPage(sheet, sheet.pages[sheet.current].hwnd, PSN_KILLACTIVE, 0)) {
    SendMessageA(sheet.tabs, TCM_SETCURSEL, sheet.current, 0);
    return false;
  }
  if (!MakePage(sheet, index)) {
    if (sheet.current >= 0) SendMessageA(sheet.tabs, TCM_SETCURSEL, sheet.current, 0);
    return false;
  }
  const int old = sheet.current;
  sheet.current = index;
  SendMessageA(sheet.tabs, TCM_SETCURSEL, index, 0);
  NotifyPage(sheet, sheet.pages[index].hwnd, PSN_SETACTIVE, 0);
  if (old >= 0 && sheet.pages[old].hwnd) ShowWindow(sheet.pages[old].hwnd, SW_HIDE);
  ShowWindow(sheet.pages[index].hwnd, SW_SHOW);
  return true;
}

void SetApplyEnabled(Sheet& sheet) {
  bool any = false;
  for (const SheetPage& p : sheet.pages) any = any || p.changed;
  if (HWND apply = GetDlgItem(sheet.dialog, ID_APPLY_NOW)) EnableWindow(apply, any);
}

// Asks the shown page to let go, then every page made to apply, in order,
// stopping at the first that finds its input invalid.
bool ApplyPages(Sheet& sheet, bool ok) {
  if (sheet.current >= 0 && NotifyPage(sheet, sheet.pages[sheet.current].hwnd, PSN_KILLACTIVE, 0)) return false;
  for (size_t i = 0; i < sheet.pages.size(); ++i) {
    if (!sheet.pages[i].hwnd) continue;
    const LRESULT answer = NotifyPage(sheet, sheet.pages[i].hwnd, PSN_APPLY, ok ? TRUE : FALSE);
    if (answer == PSNRET_INVALID) {
      ShowPage(sheet, static_cast<int>(i), false);
      return false;
    }
    if (answer == PSNRET_INVALID_NOCHANGEPAGE) return false;
  }
  for (SheetPage& p : sheet.pages) p.changed = false;
  SetApplyEnabled(sheet);
  return true;
}

void Cancel(Sheet& sheet) {
  if (sheet.current >= 0 && NotifyPage(sheet, sheet.pages[sheet.current].hwnd, PSN_QUERYCANCEL, 0)) return;
  for (const SheetPage& p : sheet.pages) {
    if (p.hwnd) NotifyPage(sheet, p.hwnd, PSN_RESET, 0);
  }
  EndDialog(sheet.dialog, 0);
}

int PageIndexOf(const Sheet& sheet, HWND page) {
  for (size_t i = 0; i < sheet.pages.size(); ++i) {
    if (sheet.pages[i].hwnd && sheet.pages[i].hwnd == page) return static_cast<int>(i);
  }
  return -1;
}

LRESULT QuerySiblings(const Sheet& sheet, WPARAM wParam, LPARAM lParam) {
  for (const SheetPage& p : sheet.pages) {
    if (!p.hwnd) continue;
    if (LRESULT answer = SendMessageA(p.hwnd, PSM_QUERYSIBLINGS, wParam, lParam)) return answer;
  }
  return 0;
}

// Sizes the tab control so that its display area holds the largest page,
// then the sheet around it with the buttons in a row below, right-aligned.
void Layout(Sheet& sheet) {
  RECT unit{0, 0, 4, 8};  // 4 by 8 dialog units: a margin, and the base for the buttons
  MapDialogRect(sheet.dialog, &unit);
  const int margin = unit.right * 7 / 4, gap = unit.right;
  RECT page{0, 0, 0, 0};
  for (const SheetPage& p : sheet.pages) {
    RECT r{0, 0, p.child.cx, p.child.cy};
    MapDialogRect(sheet.dialog, &r);
    page.right = std::max(page.right, r.right);
    page.bottom = std::max(page.bottom, r.bottom);
  }
  RECT button{0, 0, 50, 14};
  MapDialogRect(sheet.dialog, &button);
  HWND buttons[3] = {GetDlgItem(sheet.dialog, IDOK), GetDlgItem(sheet.dialog, IDCANCEL),
                     GetDlgItem(sheet.dialog, ID_APPLY_NOW)};
  const int shown = buttons[2] ? 3 : 2;
  const int rowWidth = shown * button.right + (shown - 1) * gap;
  RECT tabs = page;
  SendMessageA(sheet.tabs, TCM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&tabs));
  OffsetRect(&tabs, margin - tabs.left, margin - tabs.top);
  if (tabs.right - tabs.left < rowWidth) tabs.right = tabs.left + rowWidth;
  SetWindowPos(sheet.tabs, nullptr, tabs.left, tabs.top, tabs.right - tabs.left, tabs.bottom - tabs.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  sheet.pageArea = tabs;
  SendMessageA(sheet.tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&sheet.pageArea));
  const int width = tabs.right + margin;
  const int buttonTop = tabs.bottom + gap;
  int x = tabs.right - rowWidth;
  for (int i = 0; i < shown; ++i) {
    SetWindowPos(buttons[i], nullptr, x, buttonTop, button.right, button.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
    x += button.right + gap;
  }
  RECT frame;
  GetWindowRect(sheet.dialog, &frame);
  SetWindowPos(sheet.dialog, nullptr, frame.left, frame.top, width, buttonTop + button.bottom + margin,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void InitSheet(HWND dialog, Sheet& sheet) {
  SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&sheet));
  sheet.dialog = dialog;
  sheet.tabs = GetDlgItem(dialog, IDC_TABCONTROL);
  for (size_t i = 0; i < sheet.pages.size(); ++i) {
    TCITEMA item{};
    item.mask = TCIF_TEXT | TCIF_PARAM;
    item.pszText = sheet.pages[i].title.data();
    item.lParam = static_cast<LPARAM>(i);
    SendMessageA(sheet.tabs, TCM_INSERTITEM, i, reinterpret_cast<LPARAM>(&item));
  }
  Layout(sheet);
  const UINT start = sheet.header->nStartPage < sheet.pages.size() ? sheet.header->nStartPage : 0;
  if (!ShowPage(sheet, static_cast<int>(start), false)) EndDialog(dialog, -1);
}

// The sheet answers through DWLP_MSGRESULT like any dialog.
INT_PTR Answer(HWND dialog, LRESULT value) {
  SetWindowLongPtrA(dialog, DWLP_MSGRESULT, value);
  return TRUE;
}

INT_PTR OnCommand(Sheet& sheet, int id) {
  switch (id) {
    case IDOK:
      if (ApplyPages(sheet, true)) EndDialog(sheet.dialog, 1);
      return TRUE;
    case IDCANCEL: Cancel(sheet); return TRUE;
    case ID_APPLY_NOW: ApplyPages(sheet, false); return TRUE;
    default: return FALSE;
  }
}

INT_PTR OnTabNotify(HWND dialog, Sheet& sheet, const NMHDR& hdr) {
  if (hdr.hwndFrom != sheet.tabs) return FALSE;
  if (hdr.code == TCN_SELCHANGING) {
    const bool refused =
        sheet.current >= 0 && NotifyPage(sheet, sheet.pages[sheet.current].hwnd, PSN_KILLACTIVE, 0) != 0;
    return Answer(dialog, refused ? TRUE : FALSE);
  }
  if (hdr.code == TCN_SELCHANGE) {
    const int chosen = static_cast<int>(SendMessageA(sheet.tabs, TCM_GETCURSEL, 0, 0));
    ShowPage(sheet, chosen, false);
    return TRUE;
  }
  return FALSE;
}

INT_PTR CALLBACK SheetProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    InitSheet(dialog, *reinterpret_cast<Sheet*>(lParam));
    return FALSE;
  }
  Sheet* sheet = SheetOf(dialog);
  if (!sheet) return FALSE;
  switch (message) {
    case WM_COMMAND: return OnCommand(*sheet, LOWORD(wParam));
    case WM_NOTIFY: return OnTabNotify(dialog, *sheet, *reinterpret_cast<const NMHDR*>(lParam));
    case PSM_CHANGED:
    case PSM_UNCHANGED: {
      const int index = PageIndexOf(*sheet, reinterpret_cast<HWND>(wParam));
      if (index >= 0) sheet->pages[index].changed = message == PSM_CHANGED;
      SetApplyEnabled(*sheet);
      return Answer(dialog, 0);
    }
    case PSM_QUERYSIBLINGS: return Answer(dialog, QuerySiblings(*sheet, wParam, lParam));
    case PSM_SETCURSEL: return Answer(dialog, ShowPage(*sheet, static_cast<int>(wParam), true));
    case PSM_APPLY: return Answer(dialog, ApplyPages(*sheet, false));
    case PSM_GETTABCONTROL: return Answer(dialog, reinterpret_cast<LRESULT>(sheet->tabs));
    case PSM_GETCURRENTPAGEHWND:
      return Answer(dialog, sheet->current >= 0 ? reinterpret_cast<LRESULT>(sheet->pages[sheet->current].hwnd) : 0);
    case PSM_CANCELTOCLOSE:
      EnableWindow(GetDlgItem(dialog, IDCANCEL), FALSE);
      SetDlgItemTextA(dialog, IDOK, "Close");
      return Answer(dialog, 0);
    case PSM_PRESSBUTTON: {
      const int id = wParam == PSBTN_OK ? IDOK : wParam == PSBTN_CANCEL ? IDCANCEL
                     : wParam == PSBTN_APPLYNOW ? ID_APPLY_NOW : 0;
      if (id) PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED), 0);
      return Answer(dialog, 0);
    }
    default: return FALSE;
  }
}

void BuildSheetTemplate(Sheet& sheet) {
  sheet.caption = sheet.header->pszCaption && !IS_INTRESOURCE(sheet.header->pszCaption) ? sheet.header->pszCaption : "";
  sheet.controls = {
      {WC_TABCONTROL, IDC_TABCONTROL, "", 7, 7, 200, 150, WS_TABSTOP},
      {"BUTTON", IDOK, "OK", 50, 160, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
      {"BUTTON", IDCANCEL, "Cancel", 104, 160, 50, 14, BS_PUSHBUTTON | WS_TABSTOP},
  };
  if (!(sheet.header->dwFlags & PSH_NOAPPLYNOW))
    sheet.controls.push_back({"BUTTON", ID_APPLY_NOW, "&Apply", 158, 160, 50, 14, BS_PUSHBUTTON | WS_TABSTOP | WS_DISABLED});
  sheet.tpl = DialogTemplate{nullptr, 0, sheet.caption.c_str(), 0, 0, 214, 180,
                             DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU, sheet.controls};
}

}  // namespace

INT_PTR PropertySheetA(const PROPSHEETHEADERA* header) {
  Sheet sheet;
  if (!ReadPages(header, sheet)) return -1;
  sheet.header = header;
  BuildSheetTemplate(sheet);
  return DialogBoxIndirectParamA(header->hInstance, &sheet.tpl, header->hwndParent, &SheetProc,
                                 reinterpret_cast<LPARAM>(&sheet));
}
