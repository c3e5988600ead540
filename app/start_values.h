// The "Initialisation" and "Directories" values read at start outside the
// settings block: the five directory buffers, the column-width sets of list
// controls, the grid file name and the editor options.
#pragma once
#include <cstdint>

#include "platform/registry.h"

// ---- Directory buffers --------------------------------------------------------------

constexpr int kDirectoryBufferSize = 2048;
enum DirectoryBufferKind { ProjectFolder, LibraryFolder, ConfigurationFolder, NetFolder, OutputFolder, DirectoryBufferCount };

// The buffer of one folder (2,048 bytes, NUL-terminated; empty at start).
char* DirectoryBuffer(DirectoryBufferKind which);
// Its registry value under "Directories" and its built-in folder.
const char* DirectoryValueName(DirectoryBufferKind which);
const char* DirectoryDefault(DirectoryBufferKind which);
// Fills the five buffers from "Directories"; a value that is missing or does
// not fit takes its built-in folder.
void LoadDirectories();
// The folder one buffer would get from LoadDirectories, without filling it.
void ReadDirectoryValue(DirectoryBufferKind which, char* buffer);

// Hands the folders to filing: the dialogs' starting folders (with the 3D
// model folder of the settings block) and the remembered last directories.
void FeedFilingFolders(const char* modelPath3D);

// ---- Column-width sets ---------------------------------------------------------------

// One column of a list whose widths the user can change: a word the list
// columns code keeps, then the width in pixels.
struct ColumnWidthEntry {
  std::uint32_t columnWord;
  std::int32_t width;
};
static_assert(sizeof(ColumnWidthEntry) == 8);

// The set of a list kind: a pointer to a heap array of ColumnWidthCount(kind)
// entries, null for the list's built-in widths. Null for a kind without a set
// (30013 and every kind not listed).
ColumnWidthEntry** ColumnWidthSet(int listKind);
int ColumnWidthCount(int listKind);
// Reads every set from the open Initialisation key; a text with fewer than
// N numbers or a 0 among them leaves its set null.
void LoadColumnWidths(HKEY initialisation);
// Writes the set of the kind as N decimal widths separated by blanks, NUL
// counted, creating "Initialisation" when missing. Nothing for a kind without
// a set or a null set.
void SaveColumnWidths(int listKind);
void FreeColumnWidths();

// ---- Grid file and editor options ---------------------------------------------------

// The kept grid file name (heap string, null before start).
extern char* DefaultGridsFile;
// Replaces the kept name and writes it as DefaultGridsFile (NUL counted),
// creating "Initialisation" when missing.
void SetDefaultGridsFile(const char* path);

extern std::int32_t DefaultIOPortUpdateMode;
extern std::int32_t PickUpSecondaries;
extern std::int32_t AutoAnnotation;
extern std::int32_t FixedDesignators;
extern std::int32_t DefaultCursorStyle;
extern std::uint32_t DefaultPCBLayers;
extern std::uint32_t DefaultExplorerView;
extern std::uint32_t ProjectWindowEnabled;
extern std::uint32_t QuickViewSize;
extern std::uint32_t QuickViewVerticalSize;

// Reads the options from the open Initialisation key; QuickViewVerticalSize
// is clamped to the virtual screen height less 120, then to at least 10.
void LoadEditorOptions(HKEY initialisation);
// Writes the options that are saved at quit, each through its own opening
// (creating when missing) of Initialisation; one that cannot be opened is
// skipped.
void SaveEditorOptions();
