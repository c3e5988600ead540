#include "objects/select_attribute_dialog.h"

#include <cstdlib>
#include <cstring>

#include "objects/designators.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/ok_cancel_dialog.h"
#include "platform/responder.h"
#include "store/seams.h"
#include "store/tower.h"

namespace {

// The imported attribute records of an item: lists, their entries and names.
constexpr std::uint16_t kTypeImportedAttributeList = 289;
constexpr std::uint16_t kTypeImportedAttribute = 290;
constexpr std::uint16_t kTypeImportedAttributeName = 291;

const DialogControl kSelectAttributeControls[] = {
    {"COMBOBOX", kSelectAttributeList, "", 7, 7, 150, 120, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP},
    {"BUTTON", IDOK, "OK", 25, 28, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
    {"BUTTON", IDCANCEL, "Cancel", 85, 28, 50, 14, BS_PUSHBUTTON | WS_TABSTOP},
};
const DialogTemplate kSelectAttributeDlg{kSelectAttributeDialog, 0, "Select Attribute", 0, 0, 164, 48,
                                         DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
                                         kSelectAttributeControls};
const bool kRegistered = pl3::RegisterDialogTemplate(&kSelectAttributeDlg);

SelectAttributeBlock* BlockOf(HWND dialog) {
  return reinterpret_cast<SelectAttributeBlock*>(GetWindowLongPtr(dialog, DWLP_USER));
}

void AddEntry(HWND list, const char* text) { SendMessage(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)); }

void FillList(HWND list, const Tower* item) {
  Tower* lists = item ? GetChildTower(item, kTypeImportedAttributeList) : nullptr;
  while (lists && FindNextEntity(lists)) {
    Tower* attributes = GetChildTower(lists, kTypeImportedAttribute);
    while (attributes && FindNextEntity(attributes)) {
      if (const char* name = GetNewestChildText(attributes, kTypeImportedAttributeName)) AddEntry(list, name);
    }
    ReleaseTower(&attributes);
  }
  ReleaseTower(&lists);
  AddEntry(list, "DESIGNATOR");
}

void Initialise(HWND dialog, SelectAttributeBlock* block) {
  HWND list = GetDlgItem(dialog, kSelectAttributeList);
  FillList(list, block->item);
  LRESULT chosen = block->text ? SendMessage(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                             reinterpret_cast<LPARAM>(block->text))
                               : CB_ERR;
  if (chosen == CB_ERR) chosen = 0;
  SendMessage(list, CB_SETCURSEL, static_cast<WPARAM>(chosen), 0);
  SetFocus(list);
}

void Accept(HWND dialog) {
  HWND list = GetDlgItem(dialog, kSelectAttributeList);
  const LRESULT chosen = SendMessage(list, CB_GETCURSEL, 0, 0);
  if (chosen == CB_ERR) return;
  const LRESULT length = SendMessage(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(chosen), 0);
  if (length == CB_ERR) return;
  char* text = static_cast<char*>(std::calloc(static_cast<std::size_t>(length) + 1, 1));
  if (!text) return;
  SendMessage(list, CB_GETLBTEXT, static_cast<WPARAM>(chosen), reinterpret_cast<LPARAM>(text));
  BlockOf(dialog)->text = text;
  EndDialog(dialog, 1);
}

INT_PTR InitialiseDialog(HWND dialog, LPARAM parameter) {
  auto* block = reinterpret_cast<SelectAttributeBlock*>(parameter);
  if (!block) {
    ShowMessage(dialog, "SelectAttributeDlgProc called without LParam", "Error");
    EndDialog(dialog, 0);
    return TRUE;
  }
  SetWindowLongPtr(dialog, DWLP_USER, parameter);
  Initialise(dialog, block);
  return FALSE;
}

constexpr pl3::OkCancelSteps kSteps{&InitialiseDialog, &Accept};

}  // namespace

INT_PTR CALLBACK SelectAttributeDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  (void)kRegistered;
  return pl3::OkCancelDialogProc(kSteps, dialog, message, wParam, lParam);
}
