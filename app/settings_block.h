// The program's settings block: folders, size files, console flags,
// auto-backup, quasi-track and compression settings, read from the registry
// ("Directories" and "Initialisation" under the program's key in the user's
// branch) at start, written back at quit and when the Configuration sheet is
// accepted, freed at exit.
#pragma once
#include <cstdint>

// Bits of the error mask of ShowAndLogError: a severity's bit shows its
// message box; bits 31 and 0 together also append every report to the error
// log "PL3_Err.log".
constexpr std::uint32_t ErrorMaskLogBits = 0x80000001u;
// The program runs with the mask at 0: internal error reports are neither
// shown nor logged unless a developer sets bits.
constexpr std::uint32_t DefaultErrorMask = 0;

constexpr int kConsoleKindSlots = 255;

// Zero-filled when built. The texts are owned heap strings; null where the
// registry has none.
struct SettingsBlock {
  char* ShapeSizeFile;
  char* PadStackSizeFile;
  char* PCBSymbolSizeFile;
  char* PCBSizeFile;
  char* SchematicSymbolSizeFile;
  char* SchematicSizeFile;
  char* ProjectPath;
  char* LibraryPath;
  char* OutputPath;
  char* NetPath;
  char* ConfigurationPath;
  char* SpiceFolder;  // always "%s\Spice" of InstallPath; never written
  char* ModelPath3D;  // "3DModelPath"
  char* DatasheetPath;
  std::uint32_t AutoBackupEnabled;
  std::uint32_t NumberOfBackups;
  std::uint32_t AutoBackupTime;  // minutes
  std::uint8_t ConsoleVisible[kConsoleKindSlots];  // by console message kind
  std::uint8_t ConsoleSaved[kConsoleKindSlots];
  std::uint32_t AutoInheritMode;
  std::uint32_t AutoAnnotateSymbols;
  std::uint8_t QuasiTrackEnabled;
  double QuasiTrackGap;
  std::uint8_t QuasiTrackUnits;  // 0 "Thou", 1 "Inch", 2 "mm", 3 "cm"
  std::uint32_t Compression;
  std::uint32_t CompressionLevel;
  char* InstallPath;
  std::uint32_t errorMask;  // never stored: DefaultErrorMask
};

// The one settings block of the program, null until ReadSettings' result is
// kept here.
extern SettingsBlock* Settings;

// A new block read from the registry; never null.
SettingsBlock* ReadSettings();
// Writes the block back (nothing for a null text; SpiceFolder never).
void SaveSettings(const SettingsBlock* block);
// Frees every owned text, then the block. Null is ignored.
void FreeSettings(SettingsBlock* block);

// The console kinds whose flags the registry holds, and their value names'
// endings ("ConsoleVisible_DRC" ...).
struct ConsoleKindName {
  int kind;
  const char* suffix;
};
extern const ConsoleKindName kConsoleKindNames[8];

// At start: the three auto-backup values of "Initialisation" (4 backups,
// 20 minutes, enabled when missing) handed to the store's filing settings.
void ReadAutoBackupSettings();
// Hands the block's compression settings to the store.
void ApplyCompressionSettings(const SettingsBlock* block);
