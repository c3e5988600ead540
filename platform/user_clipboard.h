// The clipboard: text only (CF_TEXT, Windows-1252 with CR LF line ends). With
// a display it is the desktop's clipboard, converted to and from UTF-8 with LF
// line ends on the way; headless it lives in the process.
#pragma once
#include "platform/kernel_memory.h"
#include "platform/win_types.h"

constexpr UINT CF_TEXT = 1;
constexpr DWORD ERROR_INVALID_WINDOW_HANDLE = 1400;
constexpr DWORD ERROR_CLIPBOARD_NOT_OPEN = 1418;

// One window (or the program, with null) holds the clipboard open at a time:
// opening it again from another window fails with ERROR_ACCESS_DENIED.
BOOL OpenClipboard(HWND owner);
BOOL CloseClipboard();
// Frees what the clipboard holds.
BOOL EmptyClipboard();
// The clipboard takes the block (the caller neither frees nor locks it any
// more) and returns it; null when the clipboard is not open, the format is not
// CF_TEXT or the block is not a live one.
HANDLE SetClipboardData(UINT format, HANDLE data);
// The clipboard's own block (the caller locks and unlocks it, never frees
// it); null when the clipboard is not open or holds no text.
HANDLE GetClipboardData(UINT format);
BOOL IsClipboardFormatAvailable(UINT format);
