#include "app/registry_values.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/core_utilities.h"

namespace {

constexpr DWORD kStringReadBuffer = 65535;
constexpr LONG kSuccess = static_cast<LONG>(ERROR_SUCCESS);

// An open subkey named by the part of a value path before its last backslash;
// `valueName` then points at the rest.
struct ValueKey {
  HKEY key = nullptr;
  std::string valueName;
  ValueKey(const char* path, REGSAM access) {
    if (!path) return;
    const char* slash = std::strrchr(path, '\\');
    std::string subkey = slash ? std::string(path, slash) : std::string();
    valueName = slash ? slash + 1 : path;
    if (OpenProgramRegistryKey(HKEY_CURRENT_USER, subkey.empty() ? nullptr : subkey.c_str(), 0, access, &key) !=
        kSuccess)
      key = nullptr;
  }
  ~ValueKey() {
    if (key) RegCloseKey(key);
  }
  ValueKey(const ValueKey&) = delete;
  ValueKey& operator=(const ValueKey&) = delete;
};

void WriteText(HKEY key, const char* name, const char* text, bool countNul) {
  if (!key || !text) return;
  const std::size_t length = std::strlen(text) + (countNul ? 1 : 0);
  RegSetValueEx(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), static_cast<DWORD>(length));
}

}  // namespace

bool ParseWholeDouble(const char* text, double* value) {
  if (!text || !*text) return false;
  char* end = nullptr;
  const double v = std::strtod(text, &end);
  if (end == text || *end != '\0' || !std::isfinite(v)) return false;
  *value = v;
  return true;
}

bool ReadRegistryText(HKEY key, const char* name, char* buffer, std::size_t capacity) {
  if (!key || capacity == 0) return false;
  DWORD type = 0, size = 0;
  if (RegQueryValueEx(key, name, nullptr, &type, nullptr, &size) != kSuccess) return false;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
  std::vector<char> data(size + 1, '\0');
  if (RegQueryValueEx(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) != kSuccess)
    return false;
  const std::size_t length = strnlen(data.data(), size);
  if (length + 1 > capacity) return false;
  std::memcpy(buffer, data.data(), length);
  buffer[length] = '\0';
  return true;
}

void WriteRegistryTextWithNul(HKEY key, const char* name, const char* text) { WriteText(key, name, text, true); }

void SetRegistryDword(const char* path, DWORD value) {
  ValueKey k(path, KEY_ALL_ACCESS);
  if (k.key) RegSetValueEx(k.key, k.valueName.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

void SetRegistryString(const char* path, const char* text) {
  ValueKey k(path, KEY_ALL_ACCESS);
  WriteText(k.key, k.valueName.c_str(), text, false);
}

void SetRegistryDouble(const char* path, double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%g", value);
  SetRegistryString(path, text);
}

DWORD ReadRegistryDword(HKEY key, const char* name, DWORD fallback) {
  if (!key) return fallback;
  DWORD value = 0, type = 0, size = sizeof value;
  if (RegQueryValueEx(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != kSuccess ||
      type != REG_DWORD || size != sizeof value)
    return fallback;
  return value;
}

DWORD GetRegistryDword(const char* path, DWORD fallback) {
  ValueKey k(path, KEY_QUERY_VALUE);
  return ReadRegistryDword(k.key, k.valueName.c_str(), fallback);
}

char* GetRegistryString(const char* path) {
  ValueKey k(path, KEY_QUERY_VALUE);
  if (!k.key) return nullptr;
  DWORD type = 0, size = kStringReadBuffer - 1;
  std::vector<char> buffer(kStringReadBuffer, '\0');
  // One byte stays back so the copy always ends in a NUL, whatever was stored.
  if (RegQueryValueEx(k.key, k.valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size) !=
      kSuccess)
    return nullptr;
  return DuplicateString(buffer.data());
}

DWORD GetRegistryValueType(const char* path) {
  ValueKey k(path, KEY_QUERY_VALUE);
  if (!k.key) return 0;
  DWORD type = 0;
  if (RegQueryValueEx(k.key, k.valueName.c_str(), nullptr, &type, nullptr, nullptr) != kSuccess) return 0;
  return type;
}

double GetRegistryDouble(const char* path, double fallback) {
  char* text = GetRegistryString(path);
  double value = fallback;
  if (!ParseWholeDouble(text, &value)) value = fallback;
  std::free(text);
  return value;
}

char* GetRegistryStringDefault(const char* path, const char* format, ...) {
  if (char* stored = GetRegistryString(path)) return stored;
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  const int length = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  char* text = nullptr;
  if (length >= 0 && (text = static_cast<char*>(std::malloc(static_cast<std::size_t>(length) + 1))))
    std::vsnprintf(text, static_cast<std::size_t>(length) + 1, format, args);
  va_end(args);
  return text;
}
