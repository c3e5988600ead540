// Global memory blocks: the lockable blocks that carry clipboard data between
// the program and the clipboard. A handle stays valid until GlobalFree (or
// until the clipboard that took it frees it). A movable block's handle is a
// number of its own; a fixed block's handle is its address.
#pragma once
#include "platform/win_types.h"

using HGLOBAL = HANDLE;

constexpr UINT GMEM_FIXED = 0x0000;
constexpr UINT GMEM_MOVEABLE = 0x0002;
constexpr UINT GMEM_ZEROINIT = 0x0040;
constexpr UINT GHND = GMEM_MOVEABLE | GMEM_ZEROINIT;
constexpr UINT GPTR = GMEM_FIXED | GMEM_ZEROINIT;

// Null (ERROR_NOT_ENOUGH_MEMORY or ERROR_INVALID_PARAMETER) on failure. A
// block of 0 bytes is allowed; its lock gives a non-null pointer all the same.
HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
// The block's address, and one more lock; null (ERROR_INVALID_HANDLE) for a
// handle that is not a live block.
LPVOID GlobalLock(HGLOBAL block);
// One lock less: TRUE while locks remain; FALSE with ERROR_SUCCESS when the
// last lock went, FALSE with ERROR_NOT_LOCKED when there was none.
BOOL GlobalUnlock(HGLOBAL block);
// Null on success; the handle itself (ERROR_INVALID_HANDLE) when it is not a
// live block.
HGLOBAL GlobalFree(HGLOBAL block);
// The size asked for at allocation; 0 for a bad handle.
SIZE_T GlobalSize(HGLOBAL block);

constexpr DWORD ERROR_NOT_LOCKED = 158;

namespace pl3 {
// Live blocks (tests check that the clipboard frees what it replaces).
std::size_t LiveGlobalBlockCount();
}  // namespace pl3
