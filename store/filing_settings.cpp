#include "store/filing_settings.h"

#include <cstring>

#include "platform/registry.h"
#include "platform/reset_hooks.h"
#include "platform/text_case.h"
#include "store/container_store.h"
#include "store/document_titles.h"
#include "store/filing_seams.h"

namespace {

struct SettingsState {
  std::string directories[RememberedDirectoryCount];
  AutoBackupSettings autoBackup;
};
SettingsState gSettings;

void ResetSettings() { gSettings = SettingsState{}; }
const bool gRegistered = pl3::RegisterGlobalReset(&ResetSettings);

const char* const kValueNames[RememberedDirectoryCount] = {
    "LastProjectDirectory",   "LastPCBDirectory",      "LastPadStackDirectory",
    "LastShapeDirectory",     "LastSchematicDirectory", "LastGeneralDirectory",
};

std::string Bounded(const char* text) { return text ? std::string(text, strnlen(text, MAX_PATH)) : std::string(); }

}  // namespace

const char* RememberedDirectoryValueName(RememberedDirectory which) { return kValueNames[which]; }
std::string& RememberedDirectoryPath(RememberedDirectory which) { return gSettings.directories[which]; }

void LoadLastDirectories(const char* defaultProjectFolder, const char* defaultLibraryFolder) {
  NetFS_RegisterNotificationHandler(0, &FilingNotificationHandler);
  gSettings.directories[LastProjectDirectory] = Bounded(defaultProjectFolder);
  for (RememberedDirectory d : {LastPCBDirectory, LastPadStackDirectory, LastShapeDirectory, LastSchematicDirectory})
    gSettings.directories[d] = Bounded(defaultLibraryFolder);
  gSettings.directories[LastGeneralDirectory].clear();
  HKEY key = nullptr;
  if (OpenProgramRegistryKey(HKEY_CURRENT_USER, "Initialisation", 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
  for (int i = 0; i < RememberedDirectoryCount; ++i) {
    char value[MAX_PATH + 1] = {};
    DWORD type = 0, size = MAX_PATH;
    if (RegQueryValueEx(key, kValueNames[i], nullptr, &type, reinterpret_cast<BYTE*>(value), &size) == ERROR_SUCCESS &&
        type == REG_SZ)
      gSettings.directories[i] = Bounded(value);
  }
  RegCloseKey(key);
}

void SaveLastDirectories() {
  HKEY key = nullptr;
  if (OpenProgramRegistryKey(HKEY_CURRENT_USER, "Initialisation", 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
  for (int i = 0; i < RememberedDirectoryCount; ++i) {
    const std::string& d = gSettings.directories[i];
    RegSetValueEx(key, kValueNames[i], 0, REG_SZ, reinterpret_cast<const BYTE*>(d.c_str()),
                  static_cast<DWORD>(d.size() + 1));
  }
  RegCloseKey(key);
}

void SetAutoBackup(bool enabled, unsigned interval) { gSettings.autoBackup = {enabled, interval}; }
AutoBackupSettings GetAutoBackup() { return gSettings.autoBackup; }

std::optional<std::string> GetRelativePath(const char* base, const char* path) {
  if (!base || !path) return std::nullopt;
  const std::string longBase = base;  // host paths have no short forms
  const std::string_view p(path);
  if (!pl3::StartsWithNoCase(p, longBase)) return std::nullopt;
  std::size_t at = longBase.size();
  // "C:\Libs" is no folder of "C:\LibsOld\a.p3l": the base must end at a separator.
  if (!longBase.empty() && longBase.back() != '\\' && at < p.size() && p[at] != '\\') return std::nullopt;
  while (at < p.size() && p[at] == '\\') ++at;
  return std::string(p.substr(at));
}

int EndsWithNoCase(const char* text, const char* suffix) {
  if (!text || !suffix) return 0;
  const std::size_t n = std::strlen(text), m = std::strlen(suffix);
  return n > m && pl3::EqualsNoCase(std::string_view(text + n - m, m), suffix) ? 1 : 0;
}
