// The registry: keys holding typed values under three roots.
//
// Key and value names are compared without regard to case and keep the case
// they were created with; subkeys and values enumerate in case-insensitive
// name order, which is stable across runs.
//
// Persistence. Each root lives in one XML file in the configuration folder
// ($XDG_CONFIG_HOME/pelmora3, default ~/.config/pelmora3):
//   HKEY_CURRENT_USER   registry-user.xml
//   HKEY_LOCAL_MACHINE  registry-machine.xml
//   HKEY_CLASSES_ROOT   registry-classes.xml
// A root is read on first use and written whole after every change: to
// "<file>.tmp", flushed to disk, renamed over the file, and the folder
// flushed, so a crash leaves either the old or the new file, never a mix. A
// change whose write fails is dropped and the call returns
// ERROR_REGISTRY_IO_FAILED. A file that cannot be parsed is kept aside as
// "<file>.corrupt" and the root starts empty.
//
// HKEY_LOCAL_MACHINE starts, while it has no file of its own, from the
// defaults file "registry-defaults.xml" of the data folder (pl3::DataFolder()),
// in which "%HOME%" and "%DATA%" in string values stand for the user's home and
// the data folder, in program form.
//
// The file format, also that of the defaults file:
//   <registry version="1">
//     <key name="SOFTWARE">
//       <key name="Corvane">
//         <value name="ProjectPath" type="REG_SZ" data="\home\ann\Pelmora3\Projects"/>
//         <value name="Flags" type="REG_DWORD" data="0"/>
//         <value name="Layout" type="REG_BINARY" data="0a1b2c"/>
//   ...
// type is REG_SZ, REG_EXPAND_SZ, REG_DWORD, REG_QWORD, REG_BINARY,
// REG_MULTI_SZ, REG_NONE or a number. Strings are written as text (without
// their NUL) unless they hold control characters; those, and every other type
// but the numbers, are written as hexadecimal bytes with encoding="hex".
// Numbers are decimal (0x... is read too).
#pragma once
#include <string>

#include "platform/kernel_base.h"
#include "platform/win_types.h"

using REGSAM = DWORD;
using PHKEY = HKEY*;
using LPDWORD = DWORD*;
using LPBYTE = BYTE*;
using LSTATUS = LONG;
using PFILETIME = FILETIME*;

inline const HKEY HKEY_CLASSES_ROOT = reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x80000000u));
inline const HKEY HKEY_CURRENT_USER = reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x80000001u));
inline const HKEY HKEY_LOCAL_MACHINE = reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(0x80000002u));

// Access rights (accepted and not enforced: every key is the user's own).
constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
constexpr REGSAM KEY_SET_VALUE = 0x0002;
constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008;
constexpr REGSAM KEY_NOTIFY = 0x0010;
constexpr REGSAM KEY_READ = 0x20019;
constexpr REGSAM KEY_WRITE = 0x20006;
constexpr REGSAM KEY_EXECUTE = KEY_READ;
constexpr REGSAM KEY_ALL_ACCESS = 0xF003F;

// Options. Volatile keys are kept like the others.
constexpr DWORD REG_OPTION_NON_VOLATILE = 0;
constexpr DWORD REG_OPTION_VOLATILE = 1;
// Dispositions of RegCreateKeyEx.
constexpr DWORD REG_CREATED_NEW_KEY = 1;
constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

// Value types.
constexpr DWORD REG_NONE = 0;
constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_EXPAND_SZ = 2;
constexpr DWORD REG_BINARY = 3;
constexpr DWORD REG_DWORD = 4;
constexpr DWORD REG_MULTI_SZ = 7;
constexpr DWORD REG_QWORD = 11;

// All return ERROR_SUCCESS or an error number. `subKey` may be null or "" for
// the key itself; components are separated by "\".
LSTATUS RegOpenKeyEx(HKEY key, LPCSTR subKey, DWORD options, REGSAM access, PHKEY result);
LSTATUS RegCreateKeyEx(HKEY key, LPCSTR subKey, DWORD reserved, LPSTR keyClass, DWORD options, REGSAM access,
                       LPSECURITY_ATTRIBUTES security, PHKEY result, LPDWORD disposition);
LSTATUS RegCloseKey(HKEY key);
LSTATUS RegFlushKey(HKEY key);
// A null or empty name is the key's default value. With `data` null, only the
// size is reported; a buffer too small gives ERROR_MORE_DATA and the size
// needed. String values come back with their NUL.
LSTATUS RegQueryValueEx(HKEY key, LPCSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD dataSize);
LSTATUS RegSetValueEx(HKEY key, LPCSTR valueName, DWORD reserved, DWORD type, const BYTE* data, DWORD dataSize);
LSTATUS RegDeleteValue(HKEY key, LPCSTR valueName);
// Deletes a key that has no subkeys (ERROR_ACCESS_DENIED otherwise).
LSTATUS RegDeleteKey(HKEY key, LPCSTR subKey);
// Deletes the subkey with everything below it; with `subKey` null, empties the key.
LSTATUS RegDeleteTree(HKEY key, LPCSTR subKey);
// Copies the subkey's values and subkeys (all levels) into `destination`.
LSTATUS RegCopyTree(HKEY source, LPCSTR subKey, HKEY destination);
// Sizes are in characters without the NUL; a name buffer too small gives
// ERROR_MORE_DATA. An index past the end gives ERROR_NO_MORE_ITEMS.
LSTATUS RegEnumKeyEx(HKEY key, DWORD index, LPSTR name, LPDWORD nameLength, LPDWORD reserved, LPSTR keyClass,
                     LPDWORD classLength, PFILETIME lastWriteTime);
LSTATUS RegEnumValue(HKEY key, DWORD index, LPSTR valueName, LPDWORD valueNameLength, LPDWORD reserved,
                     LPDWORD type, LPBYTE data, LPDWORD dataSize);
LSTATUS RegQueryInfoKey(HKEY key, LPSTR keyClass, LPDWORD classLength, LPDWORD reserved, LPDWORD subKeys,
                        LPDWORD maxSubKeyLength, LPDWORD maxClassLength, LPDWORD values, LPDWORD maxValueNameLength,
                        LPDWORD maxValueLength, LPDWORD securityDescriptor, PFILETIME lastWriteTime);

namespace pl3 {

// The host file of a root key ("" for any other key).
std::string RegistryFile(HKEY root);

// Reads registry file text as a root's loader does (without the defaults'
// expansions). True when it forms a registry; false for anything else,
// however malformed. For the fuzz target and tests.
bool ParseRegistryText(const std::string& text);

// Tests only: the next root file write stops at `stage` and fails, as a crash
// there would leave it. 1: halfway through writing the temporary file;
// 2: after the temporary file is complete and flushed, before the rename.
// 0 writes normally. Cleared by the reset between tests.
void SetRegistryWriteFaultForTests(int stage);

// Tests only: called with the value's name after every value written and
// saved, in the order of writing (null stops it). Cleared by the reset.
void SetRegistryValueObserverForTests(void (*observer)(const char* valueName));

}  // namespace pl3
