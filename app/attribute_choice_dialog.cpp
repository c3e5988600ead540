#include "app/attribute_choice_dialog.h"

#include <cstdlib>
#include <cstring>

#include "app/core_utilities.h"
#include "edit/attribute_choice.h"
#include "edit/window_data.h"
#include "objects/attribute_services.h"
#include "objects/designators.h"
#include "objects/payload_access.h"
#include "objects/type_codes.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/ok_cancel_dialog.h"
#include "store/tower.h"

namespace {

constexpr std::uint16_t kTypeImportedAttributeList = 289;
constexpr std::uint16_t kTypeImportedAttribute = 290;
constexpr std::uint16_t kTypeImportedAttributeName = 291;

const DialogControl kSelectAttributeControls[] = {
    {"LISTBOX", kAttributeListId, "", 7, 7, 140, 90, LBS_NOTIFY | WS_VSCROLL | WS_BORDER | WS_TABSTOP},
    {"BUTTON", IDOK, "OK", 154, 7, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
    {"BUTTON", IDCANCEL, "Cancel", 154, 25, 50, 14, BS_PUSHBUTTON | WS_TABSTOP},
};
const DialogTemplate kSelectAttributeDlg{nullptr, kSelectAttributeDialogId, "Select Attribute", 0, 0, 211, 104,
                                         DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
                                         kSelectAttributeControls};
const bool kRegistered = pl3::RegisterDialogTemplate(&kSelectAttributeDlg);

AttributeChoice* ChoiceOf(HWND dialog) {
  return reinterpret_cast<AttributeChoice*>(GetWindowLongPtr(dialog, DWLP_USER));
}

// OK takes the selected line; with none the dialog stays open.
void AcceptChoice(HWND dialog) {
  const LRESULT index = SendDlgItemMessage(dialog, kAttributeListId, LB_GETCURSEL, 0, 0);
  AttributeChoice* choice = ChoiceOf(dialog);
  if (index == LB_ERR || !choice || static_cast<std::size_t>(index) >= choice->names.size()) return;
  choice->chosen = choice->names[static_cast<std::size_t>(index)];
  EndDialog(dialog, 1);
}

INT_PTR Initialise(HWND dialog, LPARAM parameter) {
  SetWindowLongPtr(dialog, DWLP_USER, parameter);
  if (auto* choice = reinterpret_cast<AttributeChoice*>(parameter)) {
    for (const std::string& name : choice->names)
      SendDlgItemMessage(dialog, kAttributeListId, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
  }
  return TRUE;
}

INT_PTR OnListCommand(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_COMMAND && LOWORD(wParam) == kAttributeListId && HIWORD(wParam) == LBN_DBLCLK) {
    AcceptChoice(dialog);
    return TRUE;
  }
  return FALSE;
}

constexpr pl3::OkCancelSteps kSteps{&Initialise, &AcceptChoice, &OnListCommand};

}  // namespace

std::vector<std::string> ImportedAttributeNames(const Tower* importedSymbol) {
  std::vector<std::string> names;
  Tower* lists = GetChildTower(importedSymbol, kTypeImportedAttributeList);
  while (lists && FindNextEntity(lists)) {
    Tower* attributes = GetChildTower(lists, kTypeImportedAttribute);
    while (attributes && FindNextEntity(attributes)) {
      if (const char* name = GetNewestChildText(attributes, kTypeImportedAttributeName)) names.emplace_back(name);
    }
    ReleaseTower(&attributes);
  }
  ReleaseTower(&lists);
  return names;
}

INT_PTR CALLBACK SelectAttributeDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && LOWORD(wParam) == kAttributeListId) return OnListCommand(dialog, message, wParam, lParam);
  return pl3::OkCancelDialogProc(kSteps, dialog, message, wParam, lParam);
}

char* ChooseItemAttribute(const Tower* item) {
  (void)kRegistered;
  CurrentWindowData* w = ActiveWindowData;
  AttributeChoice choice;
  Tower* group = NewestChildTower(item, Type_Designator);
  const char* designator = group ? GetDesignatorText(group) : nullptr;
  ReleaseTower(&group);
  Tower* netHier = w && w->design && designator ? NewestChildTower(w->design, Type_NetHierGroup) : nullptr;
  Tower* imported = netHier ? FindImportedSymbol(netHier, designator) : nullptr;
  if (imported) choice.names = ImportedAttributeNames(imported);
  ReleaseTower(&imported);
  ReleaseTower(&netHier);
  HWND owner = w && w->Window ? static_cast<HWND>(w->Window) : FrameWindow;
  const INT_PTR result = DialogBoxParam(nullptr, MAKEINTRESOURCE(kSelectAttributeDialogId), owner,
                                        &SelectAttributeDialogProc, reinterpret_cast<LPARAM>(&choice));
  if (result != 1 || choice.chosen.empty()) return nullptr;
  return DuplicateString(choice.chosen.c_str());
}
