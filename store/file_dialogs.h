// The program's shared open and save dialogs, with a starting folder chosen by
// the kind of file, and the folder browser. A cancelled or failed dialog gives
// none and shows nothing.
#pragma once
#include <optional>
#include <string>

#include "platform/responder.h"
#include "platform/win_types.h"

// The folders the dialogs start in, set from the directory settings at
// start-up ("ProjectPath", "LibraryPath", "ConfigurationPath", "NetPath",
// "OutputPath" and the folder of 3D models).
struct DialogFolders {
  std::string projectPath;
  std::string libraryPath;
  std::string configurationPath;
  std::string netPath;
  std::string outputPath;
  std::string modelPath3D;
};
DialogFolders& DialogStartFolders();

constexpr DWORD kOpenFileNameSize = 76;    // the record size the dialogs are given
constexpr DWORD kDialogPathChars = 2048;  // file and title buffers
// Share-aware opening (the platform's dialogs do not check sharing).
constexpr DWORD kOfnShareAware = 0x00004000;

// The one dialog record of the program, refilled before each dialog.
extern OPENFILENAME SharedOpenFileName;

// Fills SharedOpenFileName: owner, program instance, the filter (filter index
// 1 when there is one; null for none), the file and title buffers, the
// initial folder and the default extension; all flags clear.
void SetupOpenFileName(HWND owner, const char* filter, const char* defaultExtension, const char* initialFolder);

// GetOpenFileName with an existing file required. With a path the dialog
// starts in the path's folder with its file name filled in; without, the
// starting folder follows the default extension set up last (compared
// without regard to case): LIB the library folder; PRJ, PCB the project
// folder; p3s, SIZ, GRD the configuration folder; NET, WAS the net folder;
// GBX, BMP, PCK, NC, TXT the output folder; AC the 3D model folder; any other
// the folder SetupOpenFileName was given. Returns the chosen path.
std::optional<std::string> ShowOpenFileDialog(HWND owner, const char* path);

// GetSaveFileName with the file name preset. Returns the chosen path.
std::optional<std::string> ShowSaveFileDialog(HWND owner, const char* initialName);

// The shell's folder browser (no root, no flags). Returns the chosen folder.
std::optional<std::string> BrowseForFolder(HWND owner, const char* title);
