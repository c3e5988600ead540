// Basic types and constants of the operating-system vocabulary the program is
// written against. Our own definitions, sized for a 64-bit Linux host: DWORD is
// always 32 bits, handles and message parameters are pointer-sized.
#pragma once
#include <cstddef>
#include <cstdint>

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = std::uint32_t;
using INT = std::int32_t;
using LONG = std::int32_t;
using ULONG = std::uint32_t;
using SHORT = std::int16_t;
using USHORT = std::uint16_t;
using BOOL = int;
using CHAR = char;
using UCHAR = unsigned char;
using LONGLONG = std::int64_t;
using ULONGLONG = std::uint64_t;
using UINT_PTR = std::uintptr_t;
using LONG_PTR = std::intptr_t;
using DWORD_PTR = std::uintptr_t;
using SIZE_T = std::size_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using ATOM = std::uint16_t;
using COLORREF = std::uint32_t;  // 0x00BBGGRR, as handed to the platform

using LPVOID = void*;
using LPCVOID = const void*;
using LPSTR = char*;
using LPCSTR = const char*;

// Handles are opaque pointers. Each kind has its own tag type so that the
// compiler keeps a window from being passed where a device context is asked.
#define PL3_DECLARE_HANDLE(name) \
  struct name##__;               \
  using name = name##__*
using HANDLE = void*;
PL3_DECLARE_HANDLE(HWND);
PL3_DECLARE_HANDLE(HDC);
PL3_DECLARE_HANDLE(HINSTANCE);
PL3_DECLARE_HANDLE(HKEY);
using HMODULE = HINSTANCE;  // one kind, as on the original platform
PL3_DECLARE_HANDLE(HMENU);
PL3_DECLARE_HANDLE(HICON);
PL3_DECLARE_HANDLE(HCURSOR);
PL3_DECLARE_HANDLE(HGDIOBJ);
PL3_DECLARE_HANDLE(HPEN);
PL3_DECLARE_HANDLE(HBRUSH);
PL3_DECLARE_HANDLE(HFONT);
PL3_DECLARE_HANDLE(HBITMAP);
PL3_DECLARE_HANDLE(HRGN);
PL3_DECLARE_HANDLE(HPALETTE);

// Resource names and types: a string, or a number in a pointer's low word.
#define MAKEINTRESOURCE(i) (reinterpret_cast<LPCSTR>(static_cast<std::uintptr_t>(static_cast<WORD>(i))))
#define IS_INTRESOURCE(p) ((reinterpret_cast<std::uintptr_t>(p) >> 16) == 0)

constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;
constexpr DWORD MAX_PATH = 260;
inline const HANDLE INVALID_HANDLE_VALUE = reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(-1));

struct POINT {
  LONG x;
  LONG y;
};
struct SIZE {
  LONG cx;
  LONG cy;
};
struct RECT {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
};

constexpr WORD LOWORD(DWORD_PTR v) { return static_cast<WORD>(v & 0xFFFF); }
constexpr WORD HIWORD(DWORD_PTR v) { return static_cast<WORD>((v >> 16) & 0xFFFF); }
constexpr BYTE LOBYTE(DWORD_PTR v) { return static_cast<BYTE>(v & 0xFF); }
constexpr BYTE HIBYTE(DWORD_PTR v) { return static_cast<BYTE>((v >> 8) & 0xFF); }
constexpr DWORD MAKELONG(WORD lo, WORD hi) { return static_cast<DWORD>(lo) | (static_cast<DWORD>(hi) << 16); }
constexpr WPARAM MAKEWPARAM(WORD lo, WORD hi) { return MAKELONG(lo, hi); }
constexpr LPARAM MAKELPARAM(WORD lo, WORD hi) { return static_cast<LPARAM>(MAKELONG(lo, hi)); }
constexpr COLORREF RGB(BYTE r, BYTE g, BYTE b) {
  return static_cast<COLORREF>(r) | (static_cast<COLORREF>(g) << 8) | (static_cast<COLORREF>(b) << 16);
}
constexpr BYTE GetRValue(COLORREF c) { return static_cast<BYTE>(c & 0xFF); }
constexpr BYTE GetGValue(COLORREF c) { return static_cast<BYTE>((c >> 8) & 0xFF); }
constexpr BYTE GetBValue(COLORREF c) { return static_cast<BYTE>((c >> 16) & 0xFF); }
