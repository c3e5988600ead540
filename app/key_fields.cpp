#include "app/key_fields.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/user_constants.h"

namespace {

const char* const kUnitNames[] = {"Thou", "Inch", "Millimetre", "Centimetre", "Imperial", "Metric", "All Types"};
constexpr int kPlainUnits = 4;
constexpr int kAllEntries = 7;
constexpr char kPreviousProcProperty[] = "KeyCharPreviousProc";

bool IsKeyCharacter(int c) { return c >= 0 && c <= 127 && (std::isalnum(c) || c == ' '); }

LRESULT CALLBACK KeyCharEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
  auto previous = reinterpret_cast<WNDPROC>(GetProp(edit, kPreviousProcProperty));
  if (message == WM_CHAR) {
    const int c = static_cast<int>(wParam);
    if (IsKeyCharacter(c)) SetDlgItemKeyChar(GetParent(edit), GetDlgCtrlID(edit), static_cast<std::uint8_t>(std::toupper(c)));
    return 0;
  }
  if (message == WM_KEYDOWN && wParam == VK_DELETE) {
    SetDlgItemKeyChar(GetParent(edit), GetDlgCtrlID(edit), 0);
    return 0;
  }
  return previous ? CallWindowProc(previous, edit, message, wParam, lParam) : DefWindowProc(edit, message, wParam, lParam);
}

}  // namespace

void FillUnitsCombo(HWND dialog, int comboId, std::uint32_t selected, int withFilters) {
  const int count = withFilters ? kAllEntries : kPlainUnits;
  SendDlgItemMessage(dialog, comboId, CB_RESETCONTENT, 0, 0);
  for (int unit = 0; unit < count; ++unit) {
    const LRESULT at = SendDlgItemMessage(dialog, comboId, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kUnitNames[unit]));
    SendDlgItemMessage(dialog, comboId, CB_SETITEMDATA, static_cast<WPARAM>(at), unit);
    if (static_cast<std::uint32_t>(unit) == selected) SendDlgItemMessage(dialog, comboId, CB_SETCURSEL, static_cast<WPARAM>(at), 0);
  }
}

std::uint32_t GetUnitsComboSelection(HWND dialog, int comboId, std::uint32_t fallback) {
  const LRESULT at = SendDlgItemMessage(dialog, comboId, CB_GETCURSEL, 0, 0);
  if (at == CB_ERR) return fallback;
  return static_cast<std::uint32_t>(SendDlgItemMessage(dialog, comboId, CB_GETITEMDATA, static_cast<WPARAM>(at), 0));
}

void SetDlgItemKeyChar(HWND dialog, int id, std::uint8_t character) {
  char text[8] = "none";
  if (character) std::snprintf(text, sizeof text, "'%c'", character);
  SetDlgItemText(dialog, id, text);
}

std::uint8_t GetDlgItemKeyChar(HWND dialog, int id) {
  char text[16] = {};
  GetDlgItemText(dialog, id, text, sizeof text);
  if (std::strlen(text) != 3 || text[0] != '\'' || text[2] != '\'') return 0;
  const int c = static_cast<unsigned char>(text[1]);
  return c <= 127 && std::isalnum(c) ? static_cast<std::uint8_t>(std::toupper(c)) : 0;
}

void MakeKeyCharField(HWND dialog, int id) {
  HWND edit = GetDlgItem(dialog, id);
  if (!edit || GetProp(edit, kPreviousProcProperty)) return;
  const LONG_PTR previous = SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&KeyCharEditProc));
  SetProp(edit, kPreviousProcProperty, reinterpret_cast<HANDLE>(previous));
}
