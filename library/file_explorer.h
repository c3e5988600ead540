// The container file explorer: the program's own browser for the inside of
// one project (".p3p") or library (".p3l") container. `BrowseContainerFile`
// shows the system open dialog to pick the container and then the explorer
// window to pick or name an item inside it; `ExploreContainerFile` opens a
// container (logging on as needed) and runs the explorer over it.
//
// The explorer is a modal top-level window ("Pelmora3FileExplorer") with its
// own message loop: the owner and the frame are disabled while it runs.
#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win_types.h"
#include "store/filing_seams.h"
#include "store/netfs_format.h"

struct ContainerRecord;
struct IMAGELIST_RECORD;

constexpr std::size_t kExplorerPathSize = 4096;

// The "Log On To File" dialog.
constexpr int kLogOnDialogId = 1158;
constexpr int kLogOnUserId = 3367;
constexpr int kLogOnPasswordId = 3368;
constexpr int kLogOnFieldChars = 128;

// The tool row dialog and its controls.
constexpr int kExplorerToolRowId = 1159;
constexpr int kExplorerUpId = 3374;
constexpr int kExplorerNewFolderId = 3370;
constexpr int kExplorerViewId = 3371;
constexpr int kExplorerOkId = 3373;
constexpr int kExplorerNameId = 349;
// The list view's control id inside the explorer window.
constexpr int kExplorerListId = 1000;

// Commands of the view menu.
constexpr int kExplorerViewLargeIcons = 2454;
constexpr int kExplorerViewDetails = 393;
constexpr int kExplorerViewSmallIcons = 2455;
constexpr int kExplorerViewList = 281;

// Explorer modes.
constexpr std::uint32_t kExplorerOpen = 1;
constexpr std::uint32_t kExplorerSaveLibrary = 2;
constexpr std::uint32_t kExplorerSaveProject = 3;

// Result codes.
constexpr std::uint32_t kExplorerCancelled = 0;
constexpr std::uint32_t kExplorerChosen = 1;
constexpr std::uint32_t kExplorerBackToFiles = 2;

// The block the caller hands to the explorer window.
struct ExplorerRequest {
  const char* startFolder = "\\";
  char* resultPath = nullptr;  // kExplorerPathSize bytes
  const char* typeFilter = nullptr;
  const char* okCaption = "Open";
  ContainerRecord* container = nullptr;
  std::uint32_t done = 0;
  std::uint32_t mode = kExplorerOpen;
  std::uint32_t result = kExplorerCancelled;
  HWND toolRow = nullptr;
};

// Sort columns.
constexpr int kSortName = 0;
constexpr int kSortType = 1;
constexpr int kSortSize = 2;
constexpr int kSortModified = 3;

// The explorer window's state, kept in its user data. The listing is a deque
// so that the entries the list items point at stay where they are when a new
// folder is appended.
struct ExplorerState {
  ExplorerRequest* request = nullptr;
  HWND window = nullptr;
  HWND list = nullptr;
  std::string folder;
  std::deque<DirectoryEntry> listing;
  int sortColumn = kSortName;
  int sortDescending = 0;
  IMAGELIST_RECORD* smallImages = nullptr;
  IMAGELIST_RECORD* largeImages = nullptr;
  RECT panel{};
  std::vector<std::string> selectedBefore;
  int toolRowHeight = 0;
};

// ---- Front ends -------------------------------------------------------------------

// Shows the open dialog over project and library files (filters by mode),
// then explores the chosen container; `path` (at least kExplorerPathSize
// bytes) gives the starting folder or file and receives the chosen
// container's path. Null when the user cancels.
ExplorerResult* BrowseContainerFile(HWND owner, int mode, const char* typeFilter, char* path);
// Opens the container (logging on with the user and password, asking again
// through the "Log On To File" dialog while it is refused), runs the explorer
// and closes the container. Null only when the container cannot be opened.
ExplorerResult* ExploreContainerFile(HWND owner, const char* containerPath, int mode, const char* startFolder,
                                     const char* typeFilter, const char* user, const char* password);
// Runs the explorer window over an open container; returns the request's
// result path buffer (a new buffer the caller frees with std::free) and sets
// `result` to the result code.
char* RunFileExplorer(HWND owner, ContainerRecord* container, int mode, const char* startFolder,
                      const char* typeFilter, std::uint32_t* result);

// ---- The list -----------------------------------------------------------------------

// Fills the list from the kept listing (read again first when `reread`).
void RefreshExplorerList(ExplorerState* state, bool reread);
// True when `type` may be chosen under the filter (types each followed by
// ':'; null or empty lets every type through); compared without case.
bool ExplorerTypePasses(const char* typeFilter, std::string_view type);
// The size as the "Size" column shows it.
std::string FormatFileSize(std::uint64_t size);
// True for a typed directory (an item), as opposed to a folder or a file.
bool IsExplorerItem(const DirectoryEntry& entry);
// The icon index of an entry in both image lists, and its "Type" column text.
int ExplorerIconIndex(const DirectoryEntry& entry);
std::string ExplorerTypeText(const DirectoryEntry& entry);
// Orders two entries by a sort column, ascending (<0, 0, >0).
int CompareExplorerEntries(const DirectoryEntry& a, const DirectoryEntry& b, int column);
// The text of a cell: 0 name, 1 size, 2 type, 3 modified (fetches an item's
// size and time from its "data" stream once).
std::string ExplorerCellText(ExplorerState* state, DirectoryEntry& entry, int column);
// The entry's time as the "Modified" column writes it.
std::string FormatExplorerTime(const NetfsTime& time);

// ---- Operations -------------------------------------------------------------------------

// New Folder: creates "New Folder" (or "New Folder (n)") in the current
// folder, lists it and starts editing its label. True when one was created.
bool CreateExplorerFolder(ExplorerState* state);

// ---- Tests ------------------------------------------------------------------------------

// Without a display nothing would ever reach the explorer's loop: when it runs
// out of messages the hook is called once with the explorer window, and acts
// as a user would. A loop that still has nothing to do afterwards closes the
// window (result 0).
using ExplorerIdleHook = std::function<void(HWND explorer)>;
void SetExplorerIdleHook(ExplorerIdleHook hook);
ExplorerState* ExplorerStateOf(HWND explorer);
