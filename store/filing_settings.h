// The filing settings that face the user: the folders the file dialogs
// remember ("LastProjectDirectory" and its five siblings under the
// "Initialisation" key of the user's branch), the auto-backup settings, and a
// few path services.
#pragma once
#include <optional>
#include <string>

enum RememberedDirectory {
  LastProjectDirectory,
  LastPCBDirectory,
  LastPadStackDirectory,
  LastShapeDirectory,
  LastSchematicDirectory,
  LastGeneralDirectory,
  RememberedDirectoryCount
};

// The registry value name of a remembered directory.
const char* RememberedDirectoryValueName(RememberedDirectory which);
// The buffer of a remembered directory (at most 260 characters).
std::string& RememberedDirectoryPath(RememberedDirectory which);

// At start: registers the filing notification handler with the store, takes
// the settings' default project and library folders, then every value
// present under "Initialisation" (at most 260 bytes) replaces its default.
void LoadLastDirectories(const char* defaultProjectFolder, const char* defaultLibraryFolder);
// At exit (ShutdownFilingSystem): writes the six values as strings.
void SaveLastDirectories();

struct AutoBackupSettings {
  bool enabled = false;
  unsigned interval = 0;
};
void SetAutoBackup(bool enabled, unsigned interval);
AutoBackupSettings GetAutoBackup();

// The path below the base (its backslashes after the base skipped), or none
// when the path does not begin with the base.
std::optional<std::string> GetRelativePath(const char* base, const char* path);
// 1 when the text is longer than the suffix and ends with it, ignoring case.
int EndsWithNoCase(const char* text, const char* suffix);
