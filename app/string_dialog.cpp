#include "app/string_dialog.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "app/core_utilities.h"
#include "edit/insertion_seams.h"
#include "edit/window_data.h"
#include "geometry/glyph_fonts.h"
#include "objects/graphic_records.h"
#include "objects/size_table.h"
#include "objects/text_item_services.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/gdi.h"
#include "platform/ok_cancel_dialog.h"
#include "platform/reset_hooks.h"
#include "platform/responder.h"
#include "platform/richedit.h"
#include "store/tower.h"

TextPayload* StringDialogText = nullptr;
std::uint8_t StringDialogLayer = 0;

namespace {

constexpr int kTextId = 13;
constexpr int kFontId = 3494;
constexpr int kSizeId = 17;
constexpr std::uint32_t kLegacyFont = kLegacyFontNumber;
constexpr LONG kPreviewTwips = 320;

const DialogControl kStringControls[] = {
    {RICHEDIT_CLASS, kTextId, "", 7, 7, 260, 60, ES_MULTILINE | ES_AUTOVSCROLL | WS_BORDER | WS_TABSTOP},
    {"STATIC", -1, "Font:", 7, 74, 30, 10, SS_LEFT},
    {"COMBOBOX", kFontId, "", 40, 72, 150, 120, CBS_DROPDOWNLIST | CBS_HASSTRINGS | WS_VSCROLL | WS_TABSTOP},
    {"STATIC", -1, "Size:", 7, 92, 30, 10, SS_LEFT},
    {"COMBOBOX", kSizeId, "", 40, 90, 150, 120, CBS_DROPDOWNLIST | CBS_HASSTRINGS | WS_VSCROLL | WS_TABSTOP},
    {"BUTTON", IDOK, "OK", 200, 72, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP},
    {"BUTTON", IDCANCEL, "Cancel", 200, 90, 50, 14, BS_PUSHBUTTON | WS_TABSTOP},
};
const DialogTemplate kStringDlg{"StringDialogEx", 0, "Edit Text", 0, 0, 274, 112,
                                DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, kStringControls};
const bool kRegistered = pl3::RegisterDialogTemplate(&kStringDlg);

void ResetStringDialog() {
  StringDialogText = nullptr;
  StringDialogLayer = 0;
}
const bool g_resetRegistered = pl3::RegisterGlobalReset(&ResetStringDialog);

// The TrueType faces offered, one per full name, kept with the dialog.
struct FontList {
  HWND dialog;
  int comboId;
  std::vector<ENUMLOGFONTEXA> fonts;
};

FontList* ListOf(HWND dialog) { return reinterpret_cast<FontList*>(GetWindowLongPtrA(dialog, GWLP_USERDATA)); }

const char* FullName(const ENUMLOGFONTEXA& font) { return reinterpret_cast<const char*>(font.elfFullName); }

int CollectFont(const LOGFONTA* font, const TEXTMETRICA*, DWORD fontType, LPARAM param) {
  if (fontType != TRUETYPE_FONTTYPE) return 1;
  auto* list = reinterpret_cast<FontList*>(param);
  const auto* record = reinterpret_cast<const ENUMLOGFONTEXA*>(font);
  for (const ENUMLOGFONTEXA& kept : list->fonts)
    if (std::strcmp(FullName(kept), FullName(*record)) == 0) return 1;
  list->fonts.push_back(*record);
  return 1;
}

void EnumerateFonts(FontList& list) {
  HDC dc = GetDC(list.dialog);
  LOGFONTA wanted{};
  wanted.lfCharSet = DEFAULT_CHARSET;
  EnumFontFamiliesExA(dc, &wanted, &CollectFont, reinterpret_cast<LPARAM>(&list), 0);
  ReleaseDC(list.dialog, dc);
  std::stable_sort(list.fonts.begin(), list.fonts.end(), [](const ENUMLOGFONTEXA& a, const ENUMLOGFONTEXA& b) {
    return std::strcmp(FullName(a), FullName(b)) < 0;
  });
}

std::uint32_t TextFont(const TextPayload& text) {
  std::uint32_t font = 0;
  std::memcpy(&font, text.bytes52, sizeof font);
  return font;
}

void SetTextFont(TextPayload& text, std::uint32_t font) { std::memcpy(text.bytes52, &font, sizeof font); }

// Formats the whole text box with the selected face.
void PreviewFace(HWND dialog) {
  const FontList* list = ListOf(dialog);
  const LRESULT selected = SendDlgItemMessageA(dialog, kFontId, CB_GETCURSEL, 0, 0);
  CHARFORMATA format{};
  format.cbSize = sizeof format;
  format.dwMask = CFM_FACE | CFM_CHARSET | CFM_SIZE;
  format.yHeight = kPreviewTwips;
  if (selected > 0 && list && static_cast<std::size_t>(selected) <= list->fonts.size()) {
    const ENUMLOGFONTEXA& font = list->fonts[static_cast<std::size_t>(selected) - 1];
    std::snprintf(format.szFaceName, sizeof format.szFaceName, "%.31s", FullName(font));
    format.bCharSet = font.elfLogFont.lfCharSet;
  } else {
    std::snprintf(format.szFaceName, sizeof format.szFaceName, "%s", "Arial");
    format.bCharSet = 0;
  }
  SendDlgItemMessageA(dialog, kTextId, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
}

void FillFonts(HWND dialog, const TextPayload& text) {
  auto* list = new FontList{dialog, kFontId, {}};
  SetWindowLongPtrA(dialog, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(list));
  EnumerateFonts(*list);
  SendDlgItemMessageA(dialog, kFontId, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kLegacyFontName));
  for (const ENUMLOGFONTEXA& font : list->fonts)
    SendDlgItemMessageA(dialog, kFontId, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(FullName(font)));
  char name[LF_FULLFACESIZE] = {};
  GetFontName(TextFont(text), name, sizeof name);
  const LRESULT found = SendDlgItemMessageA(dialog, kFontId, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                            reinterpret_cast<LPARAM>(name));
  SendDlgItemMessageA(dialog, kFontId, CB_SETCURSEL, found == CB_ERR ? 0 : static_cast<WPARAM>(found), 0);
}

void FillSizes(HWND dialog, const TextPayload& text) {
  const CurrentWindowData* w = ActiveWindowData;
  if (!w || !w->sizeTable) return;
  const SizeList& sizes = (*w->sizeTable)[SizeKind_Fonts];
  for (std::uint32_t i = 0; i < sizes.count(); ++i) {
    const LRESULT item =
        SendDlgItemMessageA(dialog, kSizeId, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(sizes.entries[i].name));
    SendDlgItemMessageA(dialog, kSizeId, CB_SETITEMDATA, static_cast<WPARAM>(item), i);
    if (i == text.head.sizeIndex) SendDlgItemMessageA(dialog, kSizeId, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
  }
}

INT_PTR Initialise(HWND dialog, LPARAM) {
  TextPayload* text = StringDialogText;
  if (!text) {
    ShowMessageEx(dialog, "StringDialogEx called without LParam", "Error", MB_OK | MB_ICONEXCLAMATION);
    EndDialog(dialog, 0);
    return FALSE;
  }
  StringDialogLayer = text->head.layer;
  SendDlgItemMessageA(dialog, kTextId, EM_SETTEXTMODE, TM_PLAINTEXT, 0);
  SetDlgItemTextA(dialog, kTextId, text->text);
  FillFonts(dialog, *text);
  PreviewFace(dialog);
  SetFocus(GetDlgItem(dialog, kTextId));
  SendDlgItemMessageA(dialog, kTextId, EM_SETSEL, 0, -1);
  FillSizes(dialog, *text);
  return FALSE;
}

void Accept(HWND dialog) {
  TextPayload* text = StringDialogText;
  const LRESULT size = SendDlgItemMessageA(dialog, kSizeId, CB_GETCURSEL, 0, 0);
  if (size == CB_ERR) {
    ShowMessageEx(dialog, "You must specify a font size", "StringDialog", MB_OK | MB_ICONINFORMATION);
    SetFocus(GetDlgItem(dialog, kSizeId));
    return;
  }
  text->head.sizeIndex =
      static_cast<std::uint32_t>(SendDlgItemMessageA(dialog, kSizeId, CB_GETITEMDATA, static_cast<WPARAM>(size), 0));
  // At most 2,047 characters and the terminator: the record's room.
  GetDlgItemTextA(dialog, kTextId, text->text, static_cast<int>(kTextMaxBytes));
  text->text[kTextMaxBytes - 1] = '\0';
  const LRESULT font = SendDlgItemMessageA(dialog, kFontId, CB_GETCURSEL, 0, 0);
  const FontList* list = ListOf(dialog);
  CurrentWindowData* w = ActiveWindowData;
  std::uint32_t number = kLegacyFont;
  if (font > 0 && list && static_cast<std::size_t>(font) <= list->fonts.size()) {
    const ENUMLOGFONTEXA& face = list->fonts[static_cast<std::size_t>(font) - 1];
    number = GetFontNumber(w ? w->design : nullptr, FullName(face), face.elfLogFont.lfCharSet);
  }
  SetTextFont(*text, number);
  if (w) w->CurrentFont = number;
  SetStringBox(text);
  EndDialog(dialog, 1);
}

INT_PTR Other(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) == kFontId && HIWORD(wParam) == CBN_SELCHANGE) {
        PreviewFace(dialog);
        return TRUE;
      }
      return FALSE;
    case WM_DESTROY:
      delete ListOf(dialog);
      SetWindowLongPtrA(dialog, GWLP_USERDATA, 0);
      return FALSE;
    default:
      return FALSE;
  }
}

INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  // The font combo's notifications are WM_COMMAND too: they go to Other.
  if (message == WM_COMMAND && LOWORD(wParam) != IDOK && LOWORD(wParam) != IDCANCEL)
    return Other(dialog, message, wParam, lParam);
  static constexpr pl3::OkCancelSteps kSteps{&Initialise, &Accept, &Other};
  return pl3::OkCancelDialogProc(kSteps, dialog, message, wParam, lParam);
}

}  // namespace

INT_PTR CALLBACK StringDialogExProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return Procedure(dialog, message, wParam, lParam);
}

INT_PTR RunStringDialogEx(HWND owner, TextPayload* text) {
  (void)kRegistered;
  StringDialogText = text;
  const INT_PTR result = DialogBoxParamA(nullptr, "StringDialogEx", owner, &StringDialogExProc, 0);
  StringDialogText = nullptr;
  return result;
}

int LegacyFontHasGlyph(unsigned char character) {
  if (character < 30) return 1;
  Tower* font = GetFontTower(kLegacyFont);
  if (!font) return 0;
  Tower* glyph = GetChildTower(font, static_cast<std::uint16_t>(Type_Glyph + character));
  const int found = glyph != nullptr;
  ReleaseTower(&glyph);
  ReleaseTower(&font);
  return found;
}
