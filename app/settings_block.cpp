#include "app/settings_block.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/core_utilities.h"
#include "app/registry_values.h"
#include "app/start_values.h"
#include "draw/ghost_seams.h"
#include "edit/window_data.h"
#include "objects/window_state.h"
#include "store/filing_settings.h"
#include "store/netfs_format.h"

const ConsoleKindName kConsoleKindNames[8] = {
    {1, "DRC"},       {2, "ImportPL2"}, {3, "ImportNet"}, {4, "GerberExport"},
    {5, "NetExport"}, {6, "General"},   {7, "NCExport"},  {9, "User"},
};

namespace {

struct SizeFileField {
  char* SettingsBlock::*field;
  const char* valueName;
  const char* fileName;
};
const SizeFileField kSizeFiles[] = {
    {&SettingsBlock::ShapeSizeFile, "ShapeSizeFile", "Shape Sizes.p3s"},
    {&SettingsBlock::PadStackSizeFile, "PadStackSizeFile", "Pad Stack Sizes.p3s"},
    {&SettingsBlock::PCBSymbolSizeFile, "PCBSymbolSizeFile", "PCB Symbol Sizes.p3s"},
    {&SettingsBlock::PCBSizeFile, "PCBSizeFile", "PCB Sizes.p3s"},
    {&SettingsBlock::SchematicSymbolSizeFile, "SchematicSymbolSizeFile", "Schematic Symbol Sizes.p3s"},
    {&SettingsBlock::SchematicSizeFile, "SchematicSizeFile", "Schematic Sizes.p3s"},
};

struct DwordField {
  std::uint32_t SettingsBlock::*field;
  const char* path;
  DWORD fallback;
};
const DwordField kBackupFields[] = {
    {&SettingsBlock::AutoBackupEnabled, "Initialisation\\AutoBackupEnabled", 1},
    {&SettingsBlock::NumberOfBackups, "Initialisation\\NumberOfBackups", 4},
    {&SettingsBlock::AutoBackupTime, "Initialisation\\AutoBackupTime", 20},
};

std::string InitialisationPath(const char* valueName) { return std::string("Initialisation\\") + valueName; }
std::string DirectoriesPath(const char* valueName) { return std::string("Directories\\") + valueName; }
std::string ConsolePath(const char* which, const char* suffix) {
  return InitialisationPath((std::string(which) + "_" + suffix).c_str());
}

// The folder texts in the order SaveSettings writes them.
struct FolderField {
  char* SettingsBlock::*field;
  const char* valueName;
};
const FolderField kSavedFolders[] = {
    {&SettingsBlock::ProjectPath, "ProjectPath"},
    {&SettingsBlock::LibraryPath, "LibraryPath"},
    {&SettingsBlock::OutputPath, "OutputPath"},
    {&SettingsBlock::NetPath, "NetPath"},
    {&SettingsBlock::ConfigurationPath, "ConfigurationPath"},
    {&SettingsBlock::InstallPath, "InstallPath"},
    {&SettingsBlock::ModelPath3D, "3DModelPath"},
    {&SettingsBlock::DatasheetPath, "DatasheetPath"},
};

char* ReadFolder(const char* valueName) { return GetRegistryString(DirectoriesPath(valueName).c_str()); }

double ReadQuasiTrackGap() {
  const char* path = "Initialisation\\QuasiTrackGap";
  // Earlier versions stored a whole number as a DWORD.
  if (GetRegistryValueType(path) == REG_SZ) return GetRegistryDouble(path, 8.0);
  return static_cast<double>(GetRegistryDword(path, 8));
}

std::uint8_t LowByte(DWORD value) { return static_cast<std::uint8_t>(value & 0xFF); }

}  // namespace

SettingsBlock* ReadSettings() {
  auto* block = static_cast<SettingsBlock*>(std::calloc(1, sizeof(SettingsBlock)));
  if (!block) Error(1);
  block->errorMask = DefaultErrorMask;

  // The size-file defaults lie in the configuration folder; without a stored
  // ConfigurationPath that is the folder the directory buffers would get.
  block->ConfigurationPath = ReadFolder("ConfigurationPath");
  char configFolder[kDirectoryBufferSize];
  ReadDirectoryValue(ConfigurationFolder, configFolder);
  const char* sizeFolder = block->ConfigurationPath ? block->ConfigurationPath : configFolder;
  for (const SizeFileField& f : kSizeFiles)
    block->*f.field = GetRegistryStringDefault(InitialisationPath(f.valueName).c_str(), "%s\\%s", sizeFolder, f.fileName);

  block->ProjectPath = ReadFolder("ProjectPath");
  block->LibraryPath = ReadFolder("LibraryPath");
  block->OutputPath = ReadFolder("OutputPath");
  block->NetPath = ReadFolder("NetPath");
  block->InstallPath = ReadFolder("InstallPath");
  const char* install = block->InstallPath ? block->InstallPath : "";
  block->SpiceFolder = FormatNewString("%s\\Spice", install);
  block->ModelPath3D = GetRegistryStringDefault("Directories\\3DModelPath", "%s\\3D Models", install);
  block->DatasheetPath = GetRegistryStringDefault("Directories\\DatasheetPath", "%s\\Datasheets", install);

  for (const DwordField& f : kBackupFields) block->*f.field = GetRegistryDword(f.path, f.fallback);
  for (const ConsoleKindName& k : kConsoleKindNames) {
    block->ConsoleVisible[k.kind] = LowByte(GetRegistryDword(ConsolePath("ConsoleVisible", k.suffix).c_str(), 1));
    block->ConsoleSaved[k.kind] = LowByte(GetRegistryDword(ConsolePath("ConsoleSaved", k.suffix).c_str(), 1));
  }
  block->AutoInheritMode = GetRegistryDword("Initialisation\\AutoInheritMode", 1);
  block->AutoAnnotateSymbols = GetRegistryDword("Initialisation\\AutoAnnotateSymbols", 1);
  block->QuasiTrackEnabled = LowByte(GetRegistryDword("Initialisation\\QuasiTrackEnabled", 0));
  block->QuasiTrackGap = ReadQuasiTrackGap();
  block->QuasiTrackUnits = LowByte(GetRegistryDword("Initialisation\\QuasiTrackUnits", 0));
  block->Compression = GetRegistryDword("Initialisation\\Compression", 1);
  block->CompressionLevel = GetRegistryDword("Initialisation\\CompressionLevel", 1);
  return block;
}

void SaveSettings(const SettingsBlock* block) {
  if (!block) return;
  for (const FolderField& f : kSavedFolders) SetRegistryString(DirectoriesPath(f.valueName).c_str(), block->*f.field);
  for (const SizeFileField& f : kSizeFiles) SetRegistryString(InitialisationPath(f.valueName).c_str(), block->*f.field);
  for (const DwordField& f : kBackupFields) SetRegistryDword(f.path, block->*f.field);
  for (const ConsoleKindName& k : kConsoleKindNames)
    SetRegistryDword(ConsolePath("ConsoleVisible", k.suffix).c_str(), block->ConsoleVisible[k.kind]);
  for (const ConsoleKindName& k : kConsoleKindNames)
    SetRegistryDword(ConsolePath("ConsoleSaved", k.suffix).c_str(), block->ConsoleSaved[k.kind]);
  SetRegistryDword("Initialisation\\AutoInheritMode", block->AutoInheritMode);
  SetRegistryDword("Initialisation\\AutoAnnotateSymbols", block->AutoAnnotateSymbols);
  SetRegistryDword("Initialisation\\Compression", block->Compression);
  SetRegistryDword("Initialisation\\CompressionLevel", block->CompressionLevel);
  SetRegistryDword("Initialisation\\QuasiTrackEnabled", block->QuasiTrackEnabled);
  SetRegistryDouble("Initialisation\\QuasiTrackGap", block->QuasiTrackGap);
  SetRegistryDword("Initialisation\\QuasiTrackUnits", block->QuasiTrackUnits);
}

void FreeSettings(SettingsBlock* block) {
  if (!block) return;
  for (char* text : {block->ShapeSizeFile, block->PadStackSizeFile, block->PCBSymbolSizeFile, block->PCBSizeFile,
                     block->SchematicSymbolSizeFile, block->SchematicSizeFile, block->ProjectPath, block->LibraryPath,
                     block->OutputPath, block->NetPath, block->ConfigurationPath, block->SpiceFolder,
                     block->ModelPath3D, block->DatasheetPath, block->InstallPath})
    std::free(text);
  std::free(block);
}

void ReadAutoBackupSettings() {
  DWORD values[3] = {kBackupFields[1].fallback, kBackupFields[2].fallback, kBackupFields[0].fallback};
  const char* names[3] = {"NumberOfBackups", "AutoBackupTime", "AutoBackupEnabled"};
  HKEY key = nullptr;
  if (CreateProgramRegistryKey(HKEY_CURRENT_USER, "Initialisation", 0, nullptr, REG_OPTION_NON_VOLATILE,
                               KEY_ALL_ACCESS, nullptr, &key, nullptr) == static_cast<LONG>(ERROR_SUCCESS)) {
    for (int i = 0; i < 3; ++i) values[i] = ReadRegistryDword(key, names[i], values[i]);
    RegCloseKey(key);
  }
  SetNumberOfBackups(static_cast<int>(values[0]));
  SetAutoBackup(values[2] != 0, values[1]);
}

void ApplyCompressionSettings(const SettingsBlock* block) {
  if (block) SetCompression(block->Compression != 0, static_cast<int>(block->CompressionLevel));
}

const char* EditorSizeFilePath(std::uint32_t editorKind) {
  if (!Settings) return nullptr;
  switch (editorKind) {
    case kEditorPcb: return Settings->PCBSizeFile;
    case kEditorShape: return Settings->ShapeSizeFile;
    case kEditorPcbSymbol: return Settings->PCBSymbolSizeFile;
    case kEditorPadStack: return Settings->PadStackSizeFile;
    case kEditorSchematicSymbol: return Settings->SchematicSymbolSizeFile;
    case kEditorSchematic: return Settings->SchematicSizeFile;
    default: return nullptr;
  }
}

QuasiTrackSettings GetQuasiTrackSettings() {
  if (!Settings) return {0, 8.0, 0};
  return {Settings->QuasiTrackEnabled, Settings->QuasiTrackGap, Settings->QuasiTrackUnits};
}
