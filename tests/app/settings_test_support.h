// Registry helpers for the settings tests: each test starts as a fresh user
// with no registry files, and values are planted under the program's key.
#pragma once
#include <cstdint>
#include <string>

#include "platform/registry.h"

namespace pl3test {

// Removes the registry files so the next use starts empty.
void ForgetRegistry();
// What a restart does to the registry: it forgets what it holds in memory.
void RestartRegistry();

void CreateProgramSubkey(const char* subkey);
bool ProgramSubkeyExists(const char* subkey);
void PutDword(const char* subkey, const char* name, DWORD value);
void PutText(const char* subkey, const char* name, const std::string& text);
void PutRaw(const char* subkey, const char* name, DWORD type, const std::string& bytes);
// The stored value's type and bytes; type 0 when missing.
struct StoredValue {
  DWORD type = 0;
  std::string bytes;
  std::string Text() const { return bytes.substr(0, bytes.find('\0')); }
  DWORD Dword() const;
};
StoredValue GetStored(const char* subkey, const char* name);

}  // namespace pl3test
