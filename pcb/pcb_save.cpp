#include "pcb/pcb_save.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/core_utilities.h"
#include "app/enter_text_dialog.h"
#include "app/frame_window.h"
#include "app/pcb_window_seams.h"
#include "app/recent_projects.h"
#include "draw/grid_files.h"
#include "edit/engine_seams.h"
#include "edit/saved_state.h"
#include "edit/window_data.h"
#include "objects/size_files.h"
#include "objects/type_codes.h"
#include "pcb/pcb_window.h"
#include "platform/kernel_files.h"
#include "platform/mdi.h"
#include "platform/text_case.h"
#include "platform/responder.h"
#include "platform/user.h"
#include "store/document_filing.h"
#include "store/filing_seams.h"
#include "store/document_titles.h"
#include "store/netfs_writer.h"
#include "store/safe_file.h"
#include "store/tower.h"

namespace {

constexpr char kCaption[] = "Pelmora3";

void Fail(HWND window, const std::string& text) { MessageBox(window, text.c_str(), kCaption, MB_OK | MB_ICONEXCLAMATION); }

// The description text (121) of the design, written as the item's
// "\description" stream; a design without one writes none.
bool SaveDescription(ContainerRecord* record, const std::string& dataPath, const Tower* design) {
  if (!GetEntityData(design, Type_Description)) return true;
  const std::string text = DocumentText(design, Type_Description);
  const std::string path = dataPath.substr(0, dataPath.size() - 4) + "description";
  return NetFS_WriteFile(record->handle, path.c_str(), text.c_str(), static_cast<std::uint32_t>(text.size() + 1)) != 0;
}

int WriteBoard(HWND window, CurrentWindowData& block, ContainerRecord* record, const std::string& dataPath) {
  StoreViewState(block);
  if (!FilingSystem_SaveDocument(record, dataPath.c_str(), block.design) ||
      !SaveDescription(record, dataPath, block.design)) {
    Fail(window, "Unable to save " + DocumentWindowTitle(block.design) + ": " + SaveFailureText(NetFS_GetLastError(), NetFS_GetLastSaveSystemError()));
    return 0;
  }
  DeleteChildEntities(block.design, kRecordModifiedNote);
  UpdateDocumentWindowTitle(block.design);
  return 1;
}

void SetContainerRecord(const Tower* design, ContainerRecord* record) {
  DeleteChildEntities(design, kRecordContainerRecord);
  Tower* t = InsertEntity(design, sizeof record, kRecordContainerRecord, &record);
  ReleaseTower(&t);
}

bool FileExists(const std::string& path) { return GetFileAttributes(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// A new, empty container written through our writer.
bool CreateContainerFile(const std::string& path, std::string* error) {
  const NetfsTreeNode tree = NetfsNewTreeForUser("Administrator", "");
  return WriteBytesSafely(path, NetfsBuildImage(tree), error);
}

// The item name the user gives, or "" when cancelled.
std::string AskItemName(const Tower* design) {
  std::string initial = DocumentText(design, kRecordFileName);
  if (initial.empty()) initial = "Board";
  char* text = DuplicateString(initial.c_str());
  char* answer = ShowEnterTextDlg("Save PCB As", "Enter PCB name", text);
  std::string name = EnterTextDialogResult && answer ? answer : "";
  std::free(answer);
  return name;
}

bool ValidItemName(const std::string& name) {
  return !name.empty() && name.find_first_of("?\\/:*\"<>|") == std::string::npos;
}

}  // namespace

std::string SaveFailureText(std::uint32_t storeError, std::uint32_t systemError) {
  switch (storeError) {
    case kNetfsAccessDenied: return "access denied (the file is read only or you may not change it)";
    case kNetfsOpenForEditing: return "the item is open for editing elsewhere";
    case kNetfsNotAContainer: return "the file is not a project";
    case kNetfsPathNotFound: return "the item path is not valid";
    case kNetfsNoReply: return WriteFailureText(systemError);
    default: {
      char text[48];
      std::snprintf(text, sizeof text, "error %u", storeError);
      return text;
    }
  }
}

std::string WriteFailureText(std::uint32_t systemError) {
  switch (systemError) {
    case ERROR_ACCESS_DENIED:
      return "the file could not be written: the folder or the file is read only, or you may not write there";
    case ERROR_DISK_FULL: return "the file could not be written: the disk is full";
    case ERROR_PATH_NOT_FOUND:
    case ERROR_FILE_NOT_FOUND: return "the file could not be written: its folder is gone";
    case ERROR_SHARING_VIOLATION: return "the file could not be written: another program holds it";
    case ERROR_FILENAME_EXCED_RANGE: return "the file could not be written: its path is too long";
    case ERROR_SUCCESS: return "the file could not be written";
    default: {
      char text[64];
      std::snprintf(text, sizeof text, "the file could not be written (system error %u)", systemError);
      return text;
    }
  }
}

void StoreViewState(CurrentWindowData& block) {
  Tower* group = OpenChildTower(block.design, Type_DontReloadGroup);
  if (!group) group = InsertEmptyEntity(block.design, Type_DontReloadGroup);
  if (!group) return;
  // The position of the last message is any message's lParam, not a view
  // setting: kept out of the file, so that an unchanged board saves the same.
  const std::uint32_t lastMessage = block.MouseMessagePos;
  block.MouseMessagePos = 0;
  WriteSavedState(group, block);
  block.MouseMessagePos = lastMessage;
  if (block.Grids) {
    Tower* grids = SaveGridSet(group, static_cast<const GridSet*>(block.Grids));
    ReleaseTower(&grids);
  }
  // The window's size lists go with the view: reopening reads them from the
  // group, and a group without them opens with "Could not load new size table!".
  if (block.sizeTable) {
    DeleteChildEntities(group, Type_SizeTableRecord);
    StoreSizeTable(group, *block.sizeTable);
  }
  ReleaseTower(&group);
}

int SavePCBWindow(HWND window) {
  CurrentWindowData* block = PCBWindowData(window);
  if (!block || !block->design) return 0;
  CancelCurrentOperation(window, block);
  int index = -1;
  ContainerRecord* record = FindDocumentOpenFile(block->design, &index);
  if (!record || (record->flags & kContainerTemporaryCopy)) return SavePCBWindowAs(window);
  return WriteBoard(window, *block, record, record->entries[static_cast<std::size_t>(index)].path);
}

int SavePCBWindowAs(HWND window) {
  CurrentWindowData* block = PCBWindowData(window);
  if (!block || !block->design) return 0;
  CancelCurrentOperation(window, block);

  char file[2048] = {};
  OPENFILENAME ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = window;
  ofn.lpstrFilter = kSaveBoardFilter;
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file;
  ofn.nMaxFile = sizeof file;
  ofn.lpstrDefExt = kSaveBoardExtension;
  ofn.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
  if (!GetSaveFileName(&ofn)) return 0;
  const std::string container = file;

  if (!FileExists(container)) {
    std::string error;
    if (!CreateContainerFile(container, &error)) {
      Fail(window, "Unable to create " + container + ": " + WriteFailureText(GetLastError()));
      return 0;
    }
  }
  const std::string name = AskItemName(block->design);
  if (!ValidItemName(name)) {
    if (!name.empty()) Fail(window, "\"" + name + "\" cannot name an item.");
    return 0;
  }
  const std::string itemPath = "\\" + name + "?" + ItemTypeName(kItemPcb);
  const std::string dataPath = itemPath + "\\data";

  int oldIndex = -1;
  ContainerRecord* old = FindDocumentOpenFile(block->design, &oldIndex);
  const std::string oldPath = old ? old->entries[static_cast<std::size_t>(oldIndex)].path : "";
  const std::vector<ContainerRecord*> before = FilingContainerRecords();
  ContainerRecord* record = FilingSystem_OpenContainer(container.c_str(), "Administrator", "");
  if (!record) {
    Fail(window, "Unable to open " + container + ": " + SaveFailureText(NetFS_GetLastError(), NetFS_GetLastSaveSystemError()));
    return 0;
  }
  const bool sameItem = record == old && pl3::EqualsNoCase(oldPath, dataPath);
  if (!sameItem && FilingSystem_FileExists(record, dataPath.c_str())) {
    const std::string question = name + " already exists. Do you want to replace it?";
    if (MessageBox(window, question.c_str(), kCaption, MB_YESNO | MB_ICONQUESTION) != IDYES) {
      CloseIfOpenedHere(record, before);
      return 0;
    }
  }
  if (!sameItem) {
    const int index = FilingSystem_OpenFileForEditing(record, dataPath.c_str());
    if (index < 0) {
      CloseIfOpenedHere(record, before);
      return 0;
    }
    record->entries[static_cast<std::size_t>(index)].document = DuplicateTower(block->design);
    if (old) {
      FilingSystem_CloseFile(old, oldPath.c_str());
      FilingSystem_CloseContainer(old);
    }
    SetDocumentItemPath(block->design, NetFS_FullPath(container.c_str()).c_str(), dataPath.c_str());
    SetContainerRecord(block->design, record);
    DeleteChildEntities(block->design, kRecordRecovered);
    UpdateDocumentWindowTitle(block->design);
    // The entry is the container's path followed by the item path, which
    // starts with its backslash, as the open commands list it.
    AddToMRUList(NetFS_FullPath(container.c_str()).c_str(), ("\\" + name).c_str(), ItemTypeName(kItemPcb));
  }
  return WriteBoard(window, *block, record, dataPath);
}

int SaveAllPCBWindows() {
  if (!MDIClientWindow) return 1;
  for (HWND child = GetWindow(MDIClientWindow, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    char name[32] = {};
    GetClassNameA(child, name, sizeof name);
    if (!pl3::EqualsNoCase(name, "PCB_CHILD")) continue;
    const CurrentWindowData* block = PCBWindowData(child);
    if (!block || !block->design || !GetEntityData(block->design, kRecordModifiedNote)) continue;
    if (!SavePCBWindow(child)) return 0;
  }
  return 1;
}

int ConfirmPCBWindowClose(HWND window) {
  const CurrentWindowData* block = PCBWindowData(window);
  if (!block || !block->design || !GetEntityData(block->design, kRecordModifiedNote)) return 1;
  char caption[512] = {};
  FormTabCaption(block->design, caption, sizeof caption);
  char question[600];
  std::snprintf(question, sizeof question, "Save changes to %s?", caption);
  switch (MessageBox(window, question, kCaption, MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES: return SavePCBWindow(window);
    case IDNO: return 1;
    default: return 0;
  }
}
