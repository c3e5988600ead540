#include "app/start_values.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/core_utilities.h"
#include "app/registry_values.h"
#include "platform/gdi.h"
#include "platform/reset_hooks.h"
#include "store/file_dialogs.h"
#include "store/filing_settings.h"

char* DefaultGridsFile = nullptr;
std::int32_t DefaultIOPortUpdateMode = 0;
std::int32_t PickUpSecondaries = 1;
std::int32_t AutoAnnotation = 1;
std::int32_t FixedDesignators = 1;
std::int32_t DefaultCursorStyle = 0;
std::uint32_t DefaultPCBLayers = 2;
std::uint32_t DefaultExplorerView = 3;
std::uint32_t ProjectWindowEnabled = 1;
std::uint32_t QuickViewSize = 150;
std::uint32_t QuickViewVerticalSize = 300;

namespace {

constexpr LONG kSuccess = static_cast<LONG>(ERROR_SUCCESS);

char gDirectories[DirectoryBufferCount][kDirectoryBufferSize];

const char* const kDirectoryValues[DirectoryBufferCount] = {"ProjectPath", "LibraryPath", "ConfigurationPath",
                                                            "NetPath", "OutputPath"};
const char* const kDirectoryDefaults[DirectoryBufferCount] = {
    "C:\\program files\\corvane\\pelmora3\\projects",      "C:\\program files\\corvane\\pelmora3\\libraries",
    "C:\\program files\\corvane\\pelmora3\\configuration", "C:\\program files\\corvane\\pelmora3\\nets",
    "C:\\program files\\corvane\\pelmora3\\output",
};

// The column-width sets, in the order they are read.
struct ColumnSet {
  const char* valueName;
  int count;
  ColumnWidthEntry* entries;
};
ColumnSet gColumnSets[] = {
    {"DefaultViaHeader", 6, nullptr},
    {"DefaultHoleHeader", 5, nullptr},
    {"DefaultCircleHeader", 5, nullptr},
    {"DefaultTrackHeader", 5, nullptr},
    {"DefaultRectangleHeader", 6, nullptr},
    {"DefaultFontHeader", 4, nullptr},
    {"DefaultLayerHeader", 6, nullptr},
    {"DefaultAdvancedLayerHeader", 6, nullptr},
    {"DefaultLayerColourHeader", 2, nullptr},
    {"DefaultSubLayerConfigHeader", 4, nullptr},
    {"DefaultDRCSchemeHeader", 2, nullptr},
    {"DefaultSymbolHeader", 4, nullptr},
    {"DefaultDrcRulesHeader", 3, nullptr},
    {"DefaultGridHeader", 3, nullptr},
    {"DefaultPinInsertHeader", 3, nullptr},
    {"DefaultPinEditorHeader", 4, nullptr},
    {"DefaultAttributeEditorHeader", 2, nullptr},
    {"DefaultSpiceAttributeEditorHeader", 2, nullptr},
    {"DefaultPackageListHeader", 4, nullptr},
    {"DefaultSchematicColourHeader", 4, nullptr},
};
constexpr std::size_t kColumnValueBuffer = 1023;

ColumnSet* SetOfKind(int listKind) {
  const char* name = nullptr;
  switch (listKind) {
    case 1: case 2: name = "DefaultTrackHeader"; break;
    case 3: name = "DefaultCircleHeader"; break;
    case 5: name = "DefaultFontHeader"; break;
    case 6: name = "DefaultRectangleHeader"; break;
    case 7: name = "DefaultHoleHeader"; break;
    case 17: name = "DefaultViaHeader"; break;
    case 275: name = "DefaultDRCSchemeHeader"; break;
    case 30001: name = "DefaultLayerHeader"; break;
    case 30002: name = "DefaultAdvancedLayerHeader"; break;
    case 30003: name = "DefaultSymbolHeader"; break;
    case 30004: name = "DefaultGridHeader"; break;
    case 30005: name = "DefaultLayerColourHeader"; break;
    case 30006: name = "DefaultSubLayerConfigHeader"; break;
    case 30007: name = "DefaultAttributeEditorHeader"; break;
    case 30008: name = "DefaultPinEditorHeader"; break;
    case 30009: name = "DefaultPinInsertHeader"; break;
    case 30010: name = "DefaultSchematicColourHeader"; break;
    case 30011: name = "DefaultPackageListHeader"; break;
    case 30012: name = "DefaultDrcRulesHeader"; break;
    case 30014: name = "DefaultSpiceAttributeEditorHeader"; break;
    default: return nullptr;
  }
  for (ColumnSet& set : gColumnSets)
    if (std::strcmp(set.valueName, name) == 0) return &set;
  return nullptr;
}

// N widths from the text; a number missing, malformed or out of range counts
// as 0, and any 0 refuses the whole set.
ColumnWidthEntry* ParseColumnWidths(const char* text, int count) {
  auto* entries = static_cast<ColumnWidthEntry*>(std::calloc(static_cast<std::size_t>(count), sizeof(ColumnWidthEntry)));
  if (!entries) return nullptr;
  const char* p = text;
  for (int i = 0; i < count; ++i) {
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(p, &end, 10);
    if (end == p || errno == ERANGE || value < INT32_MIN || value > INT32_MAX || value == 0) {
      std::free(entries);
      return nullptr;
    }
    entries[i].width = static_cast<std::int32_t>(value);
    p = end;
  }
  return entries;
}

HKEY CreateInitialisationKey() {
  HKEY key = nullptr;
  if (CreateProgramRegistryKey(HKEY_CURRENT_USER, "Initialisation", 0, nullptr, REG_OPTION_NON_VOLATILE,
                               KEY_ALL_ACCESS, nullptr, &key, nullptr) != kSuccess)
    return nullptr;
  return key;
}

// The "%d" options: value name, global, built-in value.
struct TextOption {
  const char* valueName;
  std::int32_t* value;
  std::int32_t builtIn;
};
// In the order they are written at quit.
const TextOption kTextOptions[] = {
    {"DefaultIOPortUpdateMode", &DefaultIOPortUpdateMode, 0},
    {"AutoAnnotation", &AutoAnnotation, 1},
    {"FixedDesignators", &FixedDesignators, 1},
    {"DefaultCursorStyle", &DefaultCursorStyle, 0},
    {"PickUpSecondaries", &PickUpSecondaries, 1},
};

void ResetStartValues() {
  std::memset(gDirectories, 0, sizeof gDirectories);
  FreeColumnWidths();
  std::free(DefaultGridsFile);
  DefaultGridsFile = nullptr;
  for (const TextOption& o : kTextOptions) *o.value = o.builtIn;
  DefaultPCBLayers = 2;
  DefaultExplorerView = 3;
  ProjectWindowEnabled = 1;
  QuickViewSize = 150;
  QuickViewVerticalSize = 300;
}
const bool registered = pl3::RegisterGlobalReset(&ResetStartValues);

}  // namespace

// ---- Directory buffers --------------------------------------------------------------

char* DirectoryBuffer(DirectoryBufferKind which) { return gDirectories[which]; }
const char* DirectoryValueName(DirectoryBufferKind which) { return kDirectoryValues[which]; }
const char* DirectoryDefault(DirectoryBufferKind which) { return kDirectoryDefaults[which]; }

namespace {
void ReadDirectoryFrom(HKEY directories, DirectoryBufferKind which, char* buffer) {
  if (!ReadRegistryText(directories, kDirectoryValues[which], buffer, kDirectoryBufferSize))
    std::snprintf(buffer, kDirectoryBufferSize, "%s", kDirectoryDefaults[which]);
}
}  // namespace

void ReadDirectoryValue(DirectoryBufferKind which, char* buffer) {
  HKEY key = nullptr;
  if (OpenProgramRegistryKey(HKEY_CURRENT_USER, "Directories", 0, KEY_QUERY_VALUE, &key) != kSuccess) key = nullptr;
  ReadDirectoryFrom(key, which, buffer);
  if (key) RegCloseKey(key);
}

void LoadDirectories() {
  HKEY key = nullptr;
  if (OpenProgramRegistryKey(HKEY_CURRENT_USER, "Directories", 0, KEY_QUERY_VALUE, &key) != kSuccess) key = nullptr;
  for (int i = 0; i < DirectoryBufferCount; ++i)
    ReadDirectoryFrom(key, static_cast<DirectoryBufferKind>(i), gDirectories[i]);
  if (key) RegCloseKey(key);
}

void FeedFilingFolders(const char* modelPath3D) {
  DialogFolders& folders = DialogStartFolders();
  folders.projectPath = gDirectories[ProjectFolder];
  folders.libraryPath = gDirectories[LibraryFolder];
  folders.configurationPath = gDirectories[ConfigurationFolder];
  folders.netPath = gDirectories[NetFolder];
  folders.outputPath = gDirectories[OutputFolder];
  folders.modelPath3D = modelPath3D ? modelPath3D : "";
  LoadLastDirectories(gDirectories[ProjectFolder], gDirectories[LibraryFolder]);
}

// ---- Column-width sets ---------------------------------------------------------------

ColumnWidthEntry** ColumnWidthSet(int listKind) {
  ColumnSet* set = SetOfKind(listKind);
  return set ? &set->entries : nullptr;
}

int ColumnWidthCount(int listKind) {
  const ColumnSet* set = SetOfKind(listKind);
  return set ? set->count : 0;
}

void LoadColumnWidths(HKEY initialisation) {
  char text[kColumnValueBuffer];
  for (ColumnSet& set : gColumnSets) {
    if (!ReadRegistryText(initialisation, set.valueName, text, sizeof text)) continue;
    std::free(set.entries);
    set.entries = ParseColumnWidths(text, set.count);
  }
}

void SaveColumnWidths(int listKind) {
  const ColumnSet* set = SetOfKind(listKind);
  if (!set || !set->entries) return;
  char text[kColumnValueBuffer] = "";
  std::size_t used = 0;
  for (int i = 0; i < set->count && used < sizeof text; ++i)
    used += static_cast<std::size_t>(
        std::snprintf(text + used, sizeof text - used, i ? " %d" : "%d", static_cast<int>(set->entries[i].width)));
  HKEY key = CreateInitialisationKey();
  if (!key) return;
  WriteRegistryTextWithNul(key, set->valueName, text);
  RegCloseKey(key);
}

void FreeColumnWidths() {
  for (ColumnSet& set : gColumnSets) {
    std::free(set.entries);
    set.entries = nullptr;
  }
}

// ---- Grid file and editor options ---------------------------------------------------

void SetDefaultGridsFile(const char* path) {
  char* copy = DuplicateString(path);
  std::free(DefaultGridsFile);
  DefaultGridsFile = copy;
  HKEY key = CreateInitialisationKey();
  if (!key) return;
  WriteRegistryTextWithNul(key, "DefaultGridsFile", DefaultGridsFile);
  RegCloseKey(key);
}

void LoadEditorOptions(HKEY initialisation) {
  char text[64];
  for (const TextOption& o : kTextOptions) {
    int value = 0;
    *o.value = (ReadRegistryText(initialisation, o.valueName, text, sizeof text) && std::sscanf(text, "%d", &value) == 1)
                   ? value
                   : o.builtIn;
  }
  DefaultPCBLayers = ReadRegistryDword(initialisation, "DefaultPCBLayers", 2);
  DefaultExplorerView = ReadRegistryDword(initialisation, "DefaultExplorerView", 3);
  ProjectWindowEnabled = ReadRegistryDword(initialisation, "ProjectWindowEnabled", ProjectWindowEnabled);
  QuickViewSize = ReadRegistryDword(initialisation, "QuickViewSize", 150);
  // Signed, so that a stored value above 2^31 cannot slip past the bounds.
  std::int64_t vertical = static_cast<std::int32_t>(ReadRegistryDword(initialisation, "QuickViewVerticalSize", 300));
  const std::int64_t upper = static_cast<std::int64_t>(GetSystemMetrics(SM_CYVIRTUALSCREEN)) - 120;
  if (vertical > upper) vertical = upper;
  if (vertical < 10) vertical = 10;
  QuickViewVerticalSize = static_cast<std::uint32_t>(vertical);
}

void SaveEditorOptions() {
  char text[16];
  for (const TextOption& o : kTextOptions) {
    HKEY key = CreateInitialisationKey();
    if (!key) continue;
    std::snprintf(text, sizeof text, "%d", static_cast<int>(*o.value));
    WriteRegistryTextWithNul(key, o.valueName, text);
    RegCloseKey(key);
  }
  for (auto [name, value] : {std::pair<const char*, DWORD>{"DefaultPCBLayers", DefaultPCBLayers},
                             {"DefaultExplorerView", DefaultExplorerView}}) {
    HKEY key = CreateInitialisationKey();
    if (!key) continue;
    RegSetValueEx(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
  }
}
