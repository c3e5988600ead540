// The rich edit control that LoadLibrary("riched20.dll") provides: class
// "RichEdit20A", an EDIT control in plain-text mode whose one character
// format (face, character set, height in twips) covers the whole text.
#pragma once
#include "platform/user.h"

#define RICHEDIT_CLASSA "RichEdit20A"
#define RICHEDIT_CLASS RICHEDIT_CLASSA

constexpr UINT EM_EXLIMITTEXT = WM_USER + 53;
constexpr UINT EM_GETCHARFORMAT = WM_USER + 58;
constexpr UINT EM_SETBKGNDCOLOR = WM_USER + 67;
constexpr UINT EM_SETCHARFORMAT = WM_USER + 68;  // FALSE for a wrong cbSize
constexpr UINT EM_SETTEXTMODE = WM_USER + 89;    // 0 when taken; only TM_PLAINTEXT is
constexpr UINT EM_GETTEXTMODE = WM_USER + 90;

constexpr UINT TM_PLAINTEXT = 1;
constexpr UINT TM_RICHTEXT = 2;
constexpr UINT TM_SINGLELEVELUNDO = 4;
constexpr UINT TM_MULTILEVELUNDO = 8;
constexpr UINT TM_SINGLECODEPAGE = 16;
constexpr UINT TM_MULTICODEPAGE = 32;

// EM_SETCHARFORMAT's wParam: every scope sets the format of the whole text.
constexpr WPARAM SCF_DEFAULT = 0x0000;
constexpr WPARAM SCF_SELECTION = 0x0001;
constexpr WPARAM SCF_ALL = 0x0004;

constexpr DWORD CFM_BOLD = 0x00000001;
constexpr DWORD CFM_ITALIC = 0x00000002;
constexpr DWORD CFM_CHARSET = 0x08000000;
constexpr DWORD CFM_FACE = 0x20000000;
constexpr DWORD CFM_COLOR = 0x40000000;
constexpr DWORD CFM_SIZE = 0x80000000;
constexpr DWORD CFE_BOLD = 0x0001;
constexpr DWORD CFE_ITALIC = 0x0002;

struct CHARFORMATA {
  UINT cbSize;
  DWORD dwMask;
  DWORD dwEffects;
  LONG yHeight;  // twips: 1/1440 inch, so 20 per point
  LONG yOffset;
  COLORREF crTextColor;
  BYTE bCharSet;
  BYTE bPitchAndFamily;
  char szFaceName[32];
};
using CHARFORMAT = CHARFORMATA;
