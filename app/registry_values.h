// Registry values addressed by a path below the program's key in the user's
// branch: a subkey name, a backslash and the value name
// ("Initialisation\QuasiTrackGap"). The path is split at its last backslash.
// Writers open the subkey with full access, readers with query access; none
// of them creates a missing subkey.
#pragma once
#include <cstddef>

#include "platform/registry.h"

// REG_DWORD; nothing when the subkey cannot be opened.
void SetRegistryDword(const char* path, DWORD value);
// REG_SZ; the byte count is the text's length without its NUL. A null text
// writes nothing.
void SetRegistryString(const char* path, const char* text);
// The number as "%g" text, REG_SZ, without its NUL.
void SetRegistryDouble(const char* path, double value);

// The stored value when it is a 4-byte REG_DWORD; otherwise `fallback`.
DWORD GetRegistryDword(const char* path, DWORD fallback);
// A new heap copy of the stored text (always NUL-terminated), or null when the
// subkey or value is missing or does not fit 65,535 bytes.
char* GetRegistryString(const char* path);
// The stored value's registry type, 0 when missing.
DWORD GetRegistryValueType(const char* path);
// The stored text as a finite decimal number when the whole text converts;
// otherwise `fallback`.
double GetRegistryDouble(const char* path, double fallback);
// A new heap copy of the stored text, or of the text that `format` and its
// arguments form when the subkey or value is missing.
char* GetRegistryStringDefault(const char* path, const char* format, ...) __attribute__((format(printf, 2, 3)));

// Reads a string value of an open key into `buffer` of `capacity` bytes,
// NUL-terminated. False, with the buffer untouched, when the value is
// missing, not a string, or too long for the buffer.
bool ReadRegistryText(HKEY key, const char* name, char* buffer, std::size_t capacity);
// A 4-byte REG_DWORD of an open key, or `fallback` for anything else.
DWORD ReadRegistryDword(HKEY key, const char* name, DWORD fallback);
// Writes a REG_SZ with its NUL counted (the form of the "%d" options and of
// the column-width and grid-file values).
void WriteRegistryTextWithNul(HKEY key, const char* name, const char* text);
// The text as a whole finite decimal number.
bool ParseWholeDouble(const char* text, double* value);
