#include "app/type_ahead.h"

#include <string>

using namespace std::string_literals;

#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/text_case.h"
#include "platform/user.h"

namespace {

// A completion longer than this is not believed.
constexpr LRESULT kLongestCompletion = 65535;

LRESULT StandardProc(const char* className, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  WNDCLASSA standard{};
  if (!GetClassInfoA(nullptr, className, &standard) || !standard.lpfnWndProc)
    return DefWindowProcA(window, message, wParam, lParam);
  return CallWindowProcA(standard.lpfnWndProc, window, message, wParam, lParam);
}

// The text of the box's first line.
std::string FirstLine(HWND edit) {
  const int length = GetWindowTextLengthA(edit);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  GetWindowTextA(edit, text.data(), length + 1);
  text.resize(text.find_first_of("\r\n"s + '\0'));
  return text;
}

// After a typed character: asks the parent for a completion of the text and
// shows it selected after what was typed.
void Complete(HWND edit) {
  HWND parent = GetParent(edit);
  if (!parent) return;
  const std::string typed = FirstLine(edit);
  const auto text = reinterpret_cast<WPARAM>(typed.c_str());
  if (!SendMessageA(parent, kTypeAheadHasCompletion, text, 0)) return;
  const LRESULT length = SendMessageA(parent, kTypeAheadCompletionLength, text, 0);
  if (length <= 0 || length > kLongestCompletion) return;
  std::string rest(static_cast<std::size_t>(length) + 1, '\0');
  SendMessageA(parent, kTypeAheadCopyCompletion, static_cast<WPARAM>(length + 1), reinterpret_cast<LPARAM>(rest.data()));
  rest.resize(rest.find('\0'));
  if (rest.empty()) return;
  SetWindowTextA(edit, (typed + rest).c_str());
  SendMessageA(edit, EM_SETSEL, static_cast<WPARAM>(typed.size()), -1);
}

bool IsTypedCharacter(WPARAM c) { return c >= 32 && c != 127; }

}  // namespace

int MatchesTypedPrefix(const char* typed, const char* name) {
  if (!typed) typed = "";
  if (!name) name = "";
  return pl3::StartsWithNoCase(name, typed) ? 1 : 0;
}

LRESULT CALLBACK TypeAheadEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = StandardProc(WC_EDIT, edit, message, wParam, lParam);
  if (message == WM_CHAR && IsTypedCharacter(wParam) && IsWindow(edit)) Complete(edit);
  return result;
}

LRESULT CALLBACK TypeAheadComboProc(HWND combo, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kTypeAheadCopyCompletion || message == kTypeAheadCompletionLength ||
      message == kTypeAheadHasCompletion) {
    HWND parent = GetParent(combo);
    return parent ? SendMessageA(parent, message, wParam, lParam) : 0;
  }
  return StandardProc(WC_COMBOBOX, combo, message, wParam, lParam);
}

int EnableTypeAhead(HWND control) {
  char name[32] = {};
  if (!control || !GetClassNameA(control, name, sizeof name)) return 0;
  if (pl3::EqualsNoCase(name, WC_EDIT)) {
    SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TypeAheadEditProc));
    return 1;
  }
  if (!pl3::EqualsNoCase(name, WC_COMBOBOX)) return 0;
  SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TypeAheadComboProc));
  HWND edit = ChildWindowFromPoint(control, POINT{20, 5});
  if (edit && edit != control) EnableTypeAhead(edit);
  return 1;
}

int SubclassTypeAheadBox(HWND dialog, int id) { return EnableTypeAhead(GetDlgItem(dialog, id)); }
