// What document filing calls in the subsystems above the store. Each function
// and global is declared here and defined by its owner; the store never
// includes their headers. Tests define fakes.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/win_types.h"

struct Tower;

// ---- Import of earlier-generation designs ----------------------------------------

// Converts the earlier-generation records of a freshly loaded tree in place.
void ConvertPl2ProjectTree(Tower* document);

// ---- Glyph outlines ------------------------------------------------------------------

// Re-maps every stored font number of a loaded document to the numbers of
// the current run.
void RemapDocumentFonts(Tower* document);

// ---- Editing engine ------------------------------------------------------------------

// The design or page that a document window shows (the design Tower of the
// window's state block), or null.
const Tower* GetDocumentWindowDesign(HWND window);
// Empties the design's undo history. A loaded design's history names the
// nodes of the run that stored it, which mean nothing (or another item) now.
void ClearUndoHistory(const Tower* design);

// ---- Application frame ---------------------------------------------------------------

// The frame window owns the messages of filing; the MDI client holds the
// document windows.
extern HWND FrameWindow;
extern HWND MDIClientWindow;

// Opens a subkey (such as "Initialisation") under the program's registry key;
// ERROR_SUCCESS when opened.
LONG OpenProgramRegistryKey(HKEY root, const char* subkey, DWORD options, DWORD access, HKEY* key);

// Renames the tab of the document's window in the document tab bar to the
// window's current caption.
void UpdateMDITabCaption(HWND mdiClient, const Tower* document);

// ---- PCB editor ------------------------------------------------------------------------

// The name of the item that a PCB or schematic page is linked to, read from
// the design's "linkfile" entry: a new string freed with std::free, or null.
char* GetLinkedItemName(const Tower* document);

// ---- Library editors and projects --------------------------------------------------------

// What the container browser and explorer hand back: status 1 when an item
// was chosen. Freed with FreeExplorerResult.
struct ExplorerResult {
  char* containerPath;
  char* itemPath;
  std::uint32_t status;
};

// The container browser: a file-open dialog over libraries, projects or both
// that logs on and lets the user pick an item of the types in `filter`; null
// when cancelled. `explorerMode` is the explorer's (1 open an item, 2 save
// into a library, 3 save into a project) and picks the dialog's filters; the
// choosers open items, in mode 1. `mode` is the chooser's own and passes
// through unchanged. The file dialog starts at `startPath` (a folder, or a
// container whose folder it opens with the name filled in); null or empty:
// the dialog's own default.
ExplorerResult* BrowseContainerFile(HWND parent, int explorerMode, int mode, const char* filter, const char* user,
                                    const char* password, const char* startPath);
// The file explorer over one container, starting at `startPath`, in the
// explorer's mode (1: open an item) and offering every type.
ExplorerResult* ExploreContainerFile(HWND owner, const char* containerPath, int explorerMode, const char* startPath,
                                     int mode, const char* user, const char* password);
void FreeExplorerResult(ExplorerResult* result);
// Set by the item choosers for the length of one browser or explorer call.
extern int ExplorerMode;

// The project tree's handlers of store notifications of kinds 1 to 4; each
// gets the whole broadcast request.
void ProjectTreeNotifyKind1(const std::vector<std::uint8_t>& notification);
void ProjectTreeNotifyKind2(const std::vector<std::uint8_t>& notification);
void ProjectTreeNotifyKind3(const std::vector<std::uint8_t>& notification);
void ProjectTreeNotifyKind4(const std::vector<std::uint8_t>& notification);
