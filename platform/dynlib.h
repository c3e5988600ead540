// Dynamic libraries: load, find a symbol, free.
//
// A library is loaded with every symbol bound at once and kept private to
// the caller (no symbol of it serves another library). A name with a folder
// is a program path, turned into a host path; a bare name is searched the
// host's usual way. A name ending in ".dll" that does not load is tried again
// with ".so" in its place. A missing library or symbol fails softly: null,
// GetLastError() ERROR_MOD_NOT_FOUND or ERROR_PROC_NOT_FOUND, and a readable
// reason from pl3::LastDynlibError(). "riched20.dll" (any case, any folder)
// is built in: loading it registers the "RichEdit20A" class
// (platform/richedit.h) and its handle has no symbols.
#pragma once
#include <string>

#include "platform/win_types.h"

using FARPROC = void (*)();

HMODULE LoadLibrary(LPCSTR name);
// The address of an exported function or variable, or null.
FARPROC GetProcAddress(HMODULE module, LPCSTR name);
BOOL FreeLibrary(HMODULE module);

namespace pl3 {

// Why the calling thread's last LoadLibrary or GetProcAddress failed, as
// "cannot load library <name>: <reason>" or "symbol <name> not found in
// <library>: <reason>"; "" after a success.
const std::string& LastDynlibError();

}  // namespace pl3
