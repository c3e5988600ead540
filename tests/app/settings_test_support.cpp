#include "tests/app/settings_test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <vector>

#include "app/core_utilities.h"
#include "platform/reset_hooks.h"

namespace pl3test {

void ForgetRegistry() {
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_CLASSES_ROOT}) {
    const std::string file = pl3::RegistryFile(root);
    for (const char* suffix : {"", ".tmp", ".corrupt"}) std::filesystem::remove(file + suffix);
  }
  pl3::ResetGlobalStateForTests();
}

void RestartRegistry() { pl3::ResetGlobalStateForTests(); }

namespace {
HKEY Create(const char* subkey) {
  HKEY key = nullptr;
  EXPECT_EQ(CreateProgramRegistryKey(HKEY_CURRENT_USER, subkey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                                     nullptr, &key, nullptr),
            static_cast<LONG>(ERROR_SUCCESS));
  return key;
}
}  // namespace

void CreateProgramSubkey(const char* subkey) { RegCloseKey(Create(subkey)); }

bool ProgramSubkeyExists(const char* subkey) {
  HKEY key = nullptr;
  if (OpenProgramRegistryKey(HKEY_CURRENT_USER, subkey, 0, KEY_READ, &key) != static_cast<LONG>(ERROR_SUCCESS))
    return false;
  RegCloseKey(key);
  return true;
}

void PutRaw(const char* subkey, const char* name, DWORD type, const std::string& bytes) {
  HKEY key = Create(subkey);
  EXPECT_EQ(RegSetValueEx(key, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                          static_cast<DWORD>(bytes.size())),
            static_cast<LONG>(ERROR_SUCCESS));
  RegCloseKey(key);
}

void PutDword(const char* subkey, const char* name, DWORD value) {
  PutRaw(subkey, name, REG_DWORD, std::string(reinterpret_cast<const char*>(&value), sizeof value));
}

void PutText(const char* subkey, const char* name, const std::string& text) {
  PutRaw(subkey, name, REG_SZ, text + '\0');
}

DWORD StoredValue::Dword() const {
  DWORD value = 0;
  if (bytes.size() == sizeof value) std::memcpy(&value, bytes.data(), sizeof value);
  return value;
}

StoredValue GetStored(const char* subkey, const char* name) {
  StoredValue result;
  HKEY key = nullptr;
  if (OpenProgramRegistryKey(HKEY_CURRENT_USER, subkey, 0, KEY_READ, &key) != static_cast<LONG>(ERROR_SUCCESS))
    return result;
  DWORD type = 0, size = 0;
  if (RegQueryValueEx(key, name, nullptr, &type, nullptr, &size) == static_cast<LONG>(ERROR_SUCCESS)) {
    std::vector<char> data(size);
    RegQueryValueEx(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
    result.type = type;
    result.bytes.assign(data.data(), size);
  }
  RegCloseKey(key);
  return result;
}

}  // namespace pl3test
