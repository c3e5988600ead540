// Keys and typed text: the US key table behind scan codes, key names and the
// characters of control keys; typed text (the host's text input, in UTF-8)
// becoming WM_CHAR in the program's code page; and Alt with keypad digits
// typing the character of that number.
#include <algorithm>
#include <cstring>
#include <optional>
#include <string_view>

#include "platform/code_page.h"
#include "platform/user_internal.h"

namespace pl3::user {

namespace {

struct KeyRow {
  int vk;
  BYTE scan;
  bool extended;  // the key has the extended-key bit (bit 24 of a key message's lParam)
  const char* name;
};

// The keys of a US keyboard, in scan-code order. A scan code that two keys
// share (keypad and the separate navigation block) appears once for each,
// told apart by the extended bit.
constexpr KeyRow kKeys[] = {
    {VK_ESCAPE, 0x01, false, "Esc"},      {'1', 0x02, false, "1"},
    {'2', 0x03, false, "2"},              {'3', 0x04, false, "3"},
    {'4', 0x05, false, "4"},              {'5', 0x06, false, "5"},
    {'6', 0x07, false, "6"},              {'7', 0x08, false, "7"},
    {'8', 0x09, false, "8"},              {'9', 0x0A, false, "9"},
    {'0', 0x0B, false, "0"},              {VK_OEM_MINUS, 0x0C, false, "-"},
    {VK_OEM_PLUS, 0x0D, false, "="},      {VK_BACK, 0x0E, false, "Backspace"},
    {VK_TAB, 0x0F, false, "Tab"},         {'Q', 0x10, false, "Q"},
    {'W', 0x11, false, "W"},              {'E', 0x12, false, "E"},
    {'R', 0x13, false, "R"},              {'T', 0x14, false, "T"},
    {'Y', 0x15, false, "Y"},              {'U', 0x16, false, "U"},
    {'I', 0x17, false, "I"},              {'O', 0x18, false, "O"},
    {'P', 0x19, false, "P"},              {VK_OEM_4, 0x1A, false, "["},
    {VK_OEM_6, 0x1B, false, "]"},         {VK_RETURN, 0x1C, false, "Enter"},
    {VK_CONTROL, 0x1D, false, "Ctrl"},    {'A', 0x1E, false, "A"},
    {'S', 0x1F, false, "S"},              {'D', 0x20, false, "D"},
    {'F', 0x21, false, "F"},              {'G', 0x22, false, "G"},
    {'H', 0x23, false, "H"},              {'J', 0x24, false, "J"},
    {'K', 0x25, false, "K"},              {'L', 0x26, false, "L"},
    {VK_OEM_1, 0x27, false, ";"},         {VK_OEM_7, 0x28, false, "'"},
    {VK_OEM_3, 0x29, false, "`"},         {VK_SHIFT, 0x2A, false, "Shift"},
    {VK_OEM_5, 0x2B, false, "\\"},        {'Z', 0x2C, false, "Z"},
    {'X', 0x2D, false, "X"},              {'C', 0x2E, false, "C"},
    {'V', 0x2F, false, "V"},              {'B', 0x30, false, "B"},
    {'N', 0x31, false, "N"},              {'M', 0x32, false, "M"},
    {VK_OEM_COMMA, 0x33, false, ","},     {VK_OEM_PERIOD, 0x34, false, "."},
    {VK_OEM_2, 0x35, false, "/"},         {VK_RSHIFT, 0x36, false, "Right Shift"},
    {VK_MULTIPLY, 0x37, false, "Num *"},  {VK_MENU, 0x38, false, "Alt"},
    {VK_SPACE, 0x39, false, "Space"},     {VK_CAPITAL, 0x3A, false, "Caps Lock"},
    {VK_F1, 0x3B, false, "F1"},           {VK_F2, 0x3C, false, "F2"},
    {VK_F3, 0x3D, false, "F3"},           {VK_F4, 0x3E, false, "F4"},
    {VK_F5, 0x3F, false, "F5"},           {VK_F6, 0x40, false, "F6"},
    {VK_F7, 0x41, false, "F7"},           {VK_F8, 0x42, false, "F8"},
    {VK_F9, 0x43, false, "F9"},           {VK_F10, 0x44, false, "F10"},
    {VK_NUMLOCK, 0x45, false, "Num Lock"}, {VK_SCROLL, 0x46, false, "Scroll Lock"},
    {VK_NUMPAD7, 0x47, false, "Num 7"},   {VK_NUMPAD8, 0x48, false, "Num 8"},
    {VK_NUMPAD9, 0x49, false, "Num 9"},   {VK_SUBTRACT, 0x4A, false, "Num -"},
    {VK_NUMPAD4, 0x4B, false, "Num 4"},   {VK_NUMPAD5, 0x4C, false, "Num 5"},
    {VK_NUMPAD6, 0x4D, false, "Num 6"},   {VK_ADD, 0x4E, false, "Num +"},
    {VK_NUMPAD1, 0x4F, false, "Num 1"},   {VK_NUMPAD2, 0x50, false, "Num 2"},
    {VK_NUMPAD3, 0x51, false, "Num 3"},   {VK_NUMPAD0, 0x52, false, "Num 0"},
    {VK_DECIMAL, 0x53, false, "Num Del"}, {VK_F11, 0x57, false, "F11"},
    {VK_F12, 0x58, false, "F12"},
    // The extended keys.
    {VK_RETURN, 0x1C, true, "Num Enter"}, {VK_RCONTROL, 0x1D, true, "Right Ctrl"},
    {VK_DIVIDE, 0x35, true, "Num /"},     {VK_RMENU, 0x38, true, "Right Alt"},
    {VK_HOME, 0x47, true, "Home"},        {VK_UP, 0x48, true, "Up"},
    {VK_PRIOR, 0x49, true, "Page Up"},    {VK_LEFT, 0x4B, true, "Left"},
    {VK_RIGHT, 0x4D, true, "Right"},      {VK_END, 0x4F, true, "End"},
    {VK_DOWN, 0x50, true, "Down"},        {VK_NEXT, 0x51, true, "Page Down"},
    {VK_INSERT, 0x52, true, "Insert"},    {VK_DELETE, 0x53, true, "Delete"},
};

// The generic key of a left or right one.
int GenericKey(int vk) {
  switch (vk) {
    case VK_LSHIFT: case VK_RSHIFT: return VK_SHIFT;
    case VK_LCONTROL: case VK_RCONTROL: return VK_CONTROL;
    case VK_LMENU: case VK_RMENU: return VK_MENU;
    default: return vk;
  }
}

const KeyRow* RowOfKey(int vk) {
  for (const KeyRow& row : kKeys)
    if (row.vk == vk) return &row;
  if (vk == VK_LSHIFT) return RowOfKey(VK_SHIFT);
  if (vk == VK_LCONTROL) return RowOfKey(VK_CONTROL);
  if (vk == VK_LMENU) return RowOfKey(VK_MENU);
  return nullptr;
}

const KeyRow* RowOfScan(unsigned scan, bool extended) {
  for (const KeyRow& row : kKeys)
    if (row.scan == scan && row.extended == extended) return &row;
  return nullptr;
}

// The keypad digit a key gives while Alt is held (-1 for none): the digit
// keys, and with Num Lock off the keypad's own navigation keys.
int KeypadDigit(int vk, bool keypad) {
  if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) return vk - VK_NUMPAD0;
  if (!keypad) return -1;
  switch (vk) {
    case VK_INSERT: return 0;
    case VK_END: return 1;
    case VK_DOWN: return 2;
    case VK_NEXT: return 3;
    case VK_LEFT: return 4;
    case VK_CLEAR: return 5;
    case VK_RIGHT: return 6;
    case VK_HOME: return 7;
    case VK_UP: return 8;
    case VK_PRIOR: return 9;
    default: return -1;
  }
}

// The upper half of the DOS code page, which Alt codes without a leading zero
// type from (Alt+130 is é, as in a DOS box).
constexpr std::string_view kDosUpperHalf =
    "ÇüéâäàåçêëèïîìÄÅÉæÆôöòûùÿÖÜ¢£¥₧ƒáíóúñÑªº¿⌐¬½¼¡«»░▒▓│┤╡╢╖╕╣║╗╝╜╛┐└┴┬├─┼╞╟╚╔╩╦╠═╬╧╨╤╥╙╘╒╓╫╪┘┌█▄▌▐▀"
    "αßΓπΣσµτΦΘΩδ∞φε∩≡±≥≤⌠⌡÷≈°∙·√ⁿ²■\u00A0";

char32_t DosCodePoint(unsigned code) {
  if (code < 0x80) return code;
  std::size_t pos = 0;
  char32_t cp = 0;
  for (unsigned i = 0x80; i <= code && pos < kDosUpperHalf.size(); ++i) cp = DecodeUtf8(kDosUpperHalf, pos);
  return cp;
}

}  // namespace

void PostTypedChar(char32_t cp) {
  std::optional<unsigned char> byte = CodePointToAnsi(cp);
  if (!byte || *byte == 0) {
    MessageBeep(0);
    return;
  }
  State& s = S();
  PostInput(MSG{nullptr, WM_CHAR, *byte, 1, static_cast<DWORD>(Now()), s.cursorPos});
}

char UsKeyChar(int vk, bool shift, bool caps, bool ctrl) {
  if (vk >= 'A' && vk <= 'Z') {
    if (ctrl) return static_cast<char>(vk - 'A' + 1);
    bool upper = shift != caps;
    return static_cast<char>(upper ? vk : vk - 'A' + 'a');
  }
  if (ctrl) return 0;
  if (vk >= '0' && vk <= '9') return shift ? ")!@#$%^&*("[vk - '0'] : static_cast<char>(vk);
  if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) return static_cast<char>('0' + vk - VK_NUMPAD0);
  switch (vk) {
    case VK_SPACE: return ' ';
    case VK_RETURN: return '\r';
    case VK_BACK: return '\b';
    case VK_TAB: return '\t';
    case VK_ESCAPE: return 27;
    case VK_MULTIPLY: return '*';
    case VK_ADD: return '+';
    case VK_SUBTRACT: return '-';
    case VK_DECIMAL: return '.';
    case VK_DIVIDE: return '/';
    case VK_OEM_1: return shift ? ':' : ';';
    case VK_OEM_PLUS: return shift ? '+' : '=';
    case VK_OEM_COMMA: return shift ? '<' : ',';
    case VK_OEM_MINUS: return shift ? '_' : '-';
    case VK_OEM_PERIOD: return shift ? '>' : '.';
    case VK_OEM_2: return shift ? '?' : '/';
    case VK_OEM_3: return shift ? '~' : '`';
    case VK_OEM_4: return shift ? '{' : '[';
    case VK_OEM_5: return shift ? '|' : '\\';
    case VK_OEM_6: return shift ? '}' : ']';
    case VK_OEM_7: return shift ? '"' : '\'';
    default: return 0;
  }
}

LPARAM KeyMessageBits(int vk, bool keypad) {
  const KeyRow* row = RowOfKey(vk);
  LPARAM bits = 1;
  if (!row) return bits;
  bits |= static_cast<LPARAM>(row->scan) << 16;
  // Of the keypad's keys only Enter and "/" are extended; the navigation keys
  // it shares with the separate block are not.
  bool extended = keypad ? (vk == VK_RETURN || vk == VK_DIVIDE) : row->extended;
  if (extended) bits |= LPARAM{1} << 24;
  return bits;
}

std::optional<char32_t> AltCodeKey(int vk, bool down, bool keypad) {
  AltCode& a = S().input.altCode;
  if (vk == VK_MENU) {
    if (down) {
      if (!a.altDown) a = AltCode{true, 0, 0, false};
      return std::nullopt;
    }
    AltCode ended = a;
    a = AltCode{};
    if (!ended.altDown || ended.digits == 0) return std::nullopt;
    unsigned code = ended.value;
    if (code == 0) return char32_t{0};
    return ended.leadingZero ? AnsiToCodePoint(static_cast<unsigned char>(code)) : DosCodePoint(code);
  }
  if (!a.altDown || !down) return std::nullopt;
  int digit = KeypadDigit(vk, keypad);
  if (digit < 0) {
    a = AltCode{};  // another key: no Alt code this time
    return std::nullopt;
  }
  if (a.digits == 0 && digit == 0) a.leadingZero = true;
  a.value = (a.value * 10 + static_cast<unsigned>(digit)) % 256;  // the code is taken modulo 256
  a.digits++;
  return std::nullopt;
}

}  // namespace pl3::user

using namespace pl3::user;

UINT MapVirtualKeyA(UINT code, UINT mapType) {
  switch (mapType) {
    case MAPVK_VK_TO_VSC: {
      const KeyRow* row = RowOfKey(static_cast<int>(code));
      return row ? row->scan : 0;
    }
    case MAPVK_VSC_TO_VK:
    case MAPVK_VSC_TO_VK_EX: {
      // A scan code the keypad shares with the navigation block maps to the
      // navigation key, as with Num Lock off.
      const KeyRow* row = RowOfScan(code & 0xFF, false);
      if (row && ((row->vk >= VK_NUMPAD0 && row->vk <= VK_NUMPAD9) || row->vk == VK_DECIMAL))
        if (const KeyRow* nav = RowOfScan(code & 0xFF, true)) row = nav;
      if (!row) return 0;
      int vk = row->vk;
      if (mapType == MAPVK_VSC_TO_VK) return static_cast<UINT>(GenericKey(vk));
      if (vk == VK_SHIFT) return VK_LSHIFT;
      if (vk == VK_CONTROL) return VK_LCONTROL;
      if (vk == VK_MENU) return VK_LMENU;
      return static_cast<UINT>(vk);
    }
    case MAPVK_VK_TO_CHAR: {
      int vk = static_cast<int>(code);
      if (vk >= 'A' && vk <= 'Z') return code;  // the key's capital
      return static_cast<unsigned char>(UsKeyChar(vk, false, false, false));
    }
    default: return 0;
  }
}

int GetKeyNameTextA(LONG keyBits, LPSTR buffer, int size) {
  if (!buffer || size <= 0) return 0;
  unsigned scan = (static_cast<DWORD>(keyBits) >> 16) & 0xFF;
  bool extended = (keyBits >> 24) & 1;
  bool eitherSide = (keyBits >> 25) & 1;
  const KeyRow* row = RowOfScan(scan, extended);
  if (!row && extended) row = RowOfScan(scan, false);
  if (row && eitherSide && GenericKey(row->vk) != row->vk) row = RowOfKey(GenericKey(row->vk));
  if (row && eitherSide && row->vk == VK_RETURN) row = RowOfScan(scan, false);
  const char* name = row ? row->name : "";
  int n = std::min(static_cast<int>(std::strlen(name)), size - 1);
  std::memcpy(buffer, name, static_cast<std::size_t>(n));
  buffer[n] = '\0';
  return n;
}

void pl3::InjectTypedText(const char* utf8) {
  if (!utf8) return;
  State& s = S();
  // Text that comes with Alt (and no Ctrl) held belongs to a system key.
  if ((s.asyncKeyState[VK_MENU] & 0x80) && !(s.asyncKeyState[VK_CONTROL] & 0x80)) return;
  std::string_view text(utf8);
  for (std::size_t pos = 0; pos < text.size();) {
    char32_t cp = DecodeUtf8(text, pos);
    if (cp < 0x20 || cp == 0x7F) continue;  // control characters come from their keys
    PostTypedChar(cp);
  }
}
