// "RichEdit20A": the EDIT control's own procedure under another class, with
// one character format for the whole text kept as the control's font.
#include <cstring>

#include "platform/controls/control_common.h"
#include "platform/gdi.h"
#include "platform/richedit.h"

namespace pl3::controls {

namespace {

constexpr const char* kFormatProp = "pl3.richedit.format";

// The format and the font made from it, owned by the control.
struct RichFormat {
  CHARFORMATA format{};
  HFONT font = nullptr;
};

WNDPROC EditClassProc() {
  WNDCLASSA wc{};
  return GetClassInfoA(nullptr, WC_EDIT, &wc) ? wc.lpfnWndProc : nullptr;
}

RichFormat* FormatOf(HWND hwnd) { return static_cast<RichFormat*>(GetPropA(hwnd, kFormatProp)); }

void DefaultFormat(CHARFORMATA& f) {
  f = CHARFORMATA{};
  f.cbSize = sizeof f;
  f.dwMask = CFM_FACE | CFM_SIZE | CFM_CHARSET | CFM_BOLD | CFM_ITALIC | CFM_COLOR;
  f.yHeight = 8 * 20;
  f.bCharSet = ANSI_CHARSET;
  std::strcpy(f.szFaceName, "MS Sans Serif");
}

bool SetFormat(HWND hwnd, WNDPROC edit, const CHARFORMATA* in) {
  RichFormat* rf = FormatOf(hwnd);
  if (!rf || !in || in->cbSize != sizeof(CHARFORMATA)) return false;
  CHARFORMATA& f = rf->format;
  if (in->dwMask & CFM_FACE) {
    std::memcpy(f.szFaceName, in->szFaceName, sizeof f.szFaceName);
    f.szFaceName[sizeof f.szFaceName - 1] = '\0';
  }
  if ((in->dwMask & CFM_SIZE) && in->yHeight > 0) f.yHeight = in->yHeight;
  if (in->dwMask & CFM_CHARSET) f.bCharSet = in->bCharSet;
  if (in->dwMask & CFM_BOLD) f.dwEffects = (f.dwEffects & ~CFE_BOLD) | (in->dwEffects & CFE_BOLD);
  if (in->dwMask & CFM_ITALIC) f.dwEffects = (f.dwEffects & ~CFE_ITALIC) | (in->dwEffects & CFE_ITALIC);
  if (in->dwMask & CFM_COLOR) f.crTextColor = in->crTextColor;
  // Twips to pixels at 96 per inch: 20 twips a point, 72 points an inch.
  const int pixels = -static_cast<int>((static_cast<long long>(f.yHeight) * 96 + 720) / 1440);
  HFONT font = CreateFontA(pixels, 0, 0, 0, (f.dwEffects & CFE_BOLD) ? FW_BOLD : FW_NORMAL,
                           (f.dwEffects & CFE_ITALIC) ? TRUE : FALSE, FALSE, FALSE, f.bCharSet, 0, 0, 0, 0,
                           f.szFaceName);
  if (!font) return false;
  CallWindowProcA(edit, hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  if (rf->font) DeleteObject(rf->font);
  rf->font = font;
  return true;
}

LRESULT CALLBACK RichEditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  static const WNDPROC edit = EditClassProc();
  switch (message) {
    case WM_NCCREATE: {
      auto* rf = new RichFormat;
      DefaultFormat(rf->format);
      SetPropA(hwnd, kFormatProp, rf);
      return CallWindowProcA(edit, hwnd, message, wParam, lParam);
    }
    case WM_NCDESTROY: {
      auto* rf = static_cast<RichFormat*>(RemovePropA(hwnd, kFormatProp));
      const LRESULT r = CallWindowProcA(edit, hwnd, message, wParam, lParam);
      if (rf && rf->font) DeleteObject(rf->font);
      delete rf;
      return r;
    }
    case EM_SETCHARFORMAT: return SetFormat(hwnd, edit, reinterpret_cast<const CHARFORMATA*>(lParam));
    case EM_GETCHARFORMAT: {
      auto* out = reinterpret_cast<CHARFORMATA*>(lParam);
      RichFormat* rf = FormatOf(hwnd);
      if (!rf || !out || out->cbSize != sizeof(CHARFORMATA)) return 0;
      *out = rf->format;
      return static_cast<LRESULT>(out->dwMask);
    }
    case EM_SETTEXTMODE: return (wParam & TM_RICHTEXT) ? 1 : 0;
    case EM_GETTEXTMODE: return TM_PLAINTEXT | TM_SINGLELEVELUNDO | TM_SINGLECODEPAGE;
    case EM_EXLIMITTEXT: return CallWindowProcA(edit, hwnd, EM_LIMITTEXT, static_cast<WPARAM>(lParam), 0);
    case EM_SETBKGNDCOLOR: return 0;
    default: return CallWindowProcA(edit, hwnd, message, wParam, lParam);
  }
}

}  // namespace

void RegisterRichEditClass() {
  WNDCLASSA existing{};
  if (GetClassInfoA(nullptr, RICHEDIT_CLASS, &existing)) return;
  user::AddSystemClass(RICHEDIT_CLASS, CS_DBLCLKS, &RichEditProc, 0, LoadCursorA(nullptr, IDC_IBEAM), nullptr);
}

}  // namespace pl3::controls
