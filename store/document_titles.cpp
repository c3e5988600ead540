#include "store/document_titles.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/responder.h"
#include "platform/text_case.h"
#include "platform/user.h"
#include "store/document_filing.h"
#include "store/filing_seams.h"
#include "store/tower.h"

namespace {

const char* const kDocumentWindowClasses[] = {
    "PCB_CHILD", "SHAPE_CHILD", "PAD_STACK_CHILD", "SYMBOL_CHILD", "PACKAGE_CHILD", "SCHEMATIC_CHILD", "LIBRARY_CHILD",
};

// Window handles and records live in payloads byte for byte.
template <typename T>
bool ReadRecord(const Tower* t, std::uint16_t code, T& value) {
  const void* payload = t ? GetEntityData(t, code) : nullptr;
  if (!payload) return false;
  std::memcpy(&value, payload, sizeof value);
  return true;
}

HWND DocumentWindow(const Tower* document) {
  HWND window = nullptr;
  return ReadRecord(document, kRecordDocumentWindow, window) ? window : nullptr;
}

// The document's ContainerRecord, when it is still open.
ContainerRecord* DocumentContainer(const Tower* document) {
  ContainerRecord* record = nullptr;
  if (!ReadRecord(document, kRecordContainerRecord, record)) return nullptr;
  const auto& open = FilingContainerRecords();
  return std::find(open.begin(), open.end(), record) != open.end() ? record : nullptr;
}

std::string Format(const char* format, const std::string& text) {
  char buffer[8192];
  std::snprintf(buffer, sizeof buffer, format, text.c_str());
  return buffer;
}

StoreItemChoice* ChoiceOf(const char* containerPath, const char* itemPath) {
  auto* choice = new StoreItemChoice;
  choice->containerPath = containerPath ? containerPath : "";
  SplitNameAndType(itemPath ? itemPath : "", &choice->name, &choice->type);
  return choice;
}

std::string ItemPathOf(const StoreItemChoice& choice) { return choice.name + "?" + choice.type; }

// The MDI client's child windows that are document windows.
std::vector<HWND> DocumentWindows() {
  std::vector<HWND> windows;
  if (!MDIClientWindow) return windows;
  for (HWND w = GetWindow(MDIClientWindow, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
    if (IsDocumentWindowClass(w)) windows.push_back(w);
  return windows;
}

bool SameDataPath(const std::string& entryPath, const std::string& itemPath) {
  return pl3::EqualsNoCase(entryPath, itemPath + "\\data");
}

// Kind 1: a changed item; viewers of it and the windows linked to it hear of it.
void NotifyItemChanged(const ByteBuffer& request) {
  const std::size_t at = 32;
  const std::string itemPath =
      request.size() > at ? std::string(reinterpret_cast<const char*>(request.data() + at),
                                        strnlen(reinterpret_cast<const char*>(request.data() + at), request.size() - at))
                          : std::string();
  const LPARAM notification = reinterpret_cast<LPARAM>(&request);
  for (HWND window : DocumentWindows()) {
    const Tower* document = GetDocumentWindowDesign(window);
    if (!document) continue;
    int index = -1;
    if (ContainerRecord* record = FindDocumentOpenFile(document, &index)) {
      const OpenFileEntry& entry = record->entries[static_cast<std::size_t>(index)];
      if (SameDataPath(entry.path, itemPath) && (entry.access & kAccessViewing))
        SendMessage(window, WM_USER + 2, 0, notification);
    }
    const std::uint16_t code = TowerEntity(document)->typeCode;
    if (code != kItemPcb && code != kItemSchematicPage) continue;
    if (char* linked = GetLinkedItemName(document)) {
      const std::string linkedPath = std::string(linked) + (code == kItemPcb ? "?schematic\\data" : "?pcb\\data");
      std::free(linked);
      if (SameDataPath(linkedPath, itemPath)) SendMessage(window, WM_USER + 100, 0, notification);
    }
  }
  ProjectTreeNotifyKind1(request);
}

}  // namespace

std::string DocumentWindowTitle(const Tower* document) {
  std::string text;
  if (GetEntityData(document, kRecordItemPath)) {
    if (GetEntityData(document, kRecordLibraryName)) {
      const std::string container = DocumentText(document, kRecordLibraryName);
      text = container.substr(container.find_last_of('\\') == std::string::npos ? 0 : container.find_last_of('\\') + 1);
    }
    text += DocumentText(document, kRecordItemPath);
  } else if (GetEntityData(document, kRecordName)) {
    text = DocumentText(document, kRecordName);
  } else {
    text = Format("New %s", ItemTypeName(TowerEntity(document)->typeCode));
  }
  if (TowerEntity(document)->typeCode == kItemSchematic) {
    std::uint32_t page = 0, counter = 0;
    ReadRecord(GetDocumentWindowDesign(DocumentWindow(document)), kRecordPageNumber, page);
    ReadRecord(document, kRecordPageNumber, counter);
    char buffer[8192];
    std::snprintf(buffer, sizeof buffer, "%s Page %d/%d", text.c_str(), static_cast<int>(page),
                  static_cast<int>(counter) - 1);
    text = buffer;
  }
  if (GetEntityData(document, kRecordModifiedNote)) text = Format("%s *", text);
  if (GetEntityData(document, kRecordRecovered)) text = Format("%s (Recovered)", text);
  const ContainerRecord* record = DocumentContainer(document);
  if (record && (record->flags & kContainerTemporaryCopy)) text = Format("%s (Read Only)", text);
  return text;
}

void UpdateDocumentWindowTitle(const Tower* document) {
  const HWND window = document ? DocumentWindow(document) : nullptr;
  if (!window) return;
  SetWindowText(window, DocumentWindowTitle(document).c_str());
  UpdateMDITabCaption(MDIClientWindow, document);
}

void ActivateDocumentWindow(const Tower* document) {
  if (const HWND window = DocumentWindow(document))
    SendMessage(MDIClientWindow, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(window), 0);
}

int IsDocumentWindowClass(HWND window) {
  char name[256] = {};
  if (!window || GetClassName(window, name, sizeof name) <= 0) return 0;
  for (const char* c : kDocumentWindowClasses)
    if (pl3::EqualsNoCase(name, c)) return 1;
  return 0;
}

int CountDocumentWindows() { return static_cast<int>(DocumentWindows().size()); }

void WarnReadOnlyDuplicate(const Tower* document) {
  const ContainerRecord* record = DocumentContainer(document);
  if (record && (record->flags & kContainerTemporaryCopy))
    MessageBox(FrameWindow,
               "The original file was read only, this file is a temporary duplicate file which has been opened and "
               "cannot be saved.",
               "Pelmora3", MB_ICONEXCLAMATION);
}

StoreItemChoice* ChooseStoreItem(HWND parent, const char* filter, int mode, int explorerMode, const char* startPath) {
  const HWND active = GetActiveWindow();
  ExplorerMode = explorerMode;
  ExplorerResult* result = BrowseContainerFile(parent, 1, mode, filter, "Administrator", "", startPath);
  StoreItemChoice* choice = result && result->itemPath ? ChoiceOf(result->containerPath, result->itemPath) : nullptr;
  FreeExplorerResult(result);
  ExplorerMode = 1;
  if (active) SetActiveWindow(active);
  return choice;
}

StoreItemChoice* ExploreStoreItem(HWND owner, const char* containerPath, int mode, int explorerMode,
                                  std::uint32_t* outStatus) {
  const HWND active = GetActiveWindow();
  ExplorerMode = explorerMode;
  ExplorerResult* result = ExploreContainerFile(owner, containerPath, 1, "\\", mode, "Administrator", "");
  StoreItemChoice* choice = nullptr;
  if (result) {
    if (outStatus) *outStatus = result->status;
    if (result->itemPath) choice = ChoiceOf(result->containerPath ? result->containerPath : containerPath, result->itemPath);
  }
  FreeExplorerResult(result);
  ExplorerMode = 1;
  if (active && IsWindow(active)) SetActiveWindow(active);
  return choice;
}

StoreItemChoice* ChooseAndOpenStoreItem(HWND parent, const char* filter, int mode, const Tower* loadingParent) {
  StoreItemChoice* choice = ChooseStoreItem(parent, filter, mode, 1);
  if (!choice) return nullptr;
  choice->document = FilingSystem_OpenAndLoad(choice->containerPath.c_str(), ItemPathOf(*choice).c_str(), loadingParent);
  if (!choice->document) {
    FreeStoreItemChoice(choice);
    return nullptr;
  }
  return choice;
}

StoreItemChoice* ChooseAndOpenForEditing(HWND parent, const char* filter, int mode, const Tower* loadingParent,
                                         const char* startPath) {
  StoreItemChoice* choice = ChooseStoreItem(parent, filter, mode, 1, startPath);
  if (!choice) return nullptr;
  const std::vector<ContainerRecord*> before = FilingContainerRecords();
  choice->record = FilingSystem_OpenContainer(choice->containerPath.c_str(), "Administrator", "");
  if (choice->record)
    choice->document = FilingSystem_OpenDocument(choice->record, ItemPathOf(*choice).c_str(), loadingParent);
  if (!choice->document) {
    CloseIfOpenedHere(choice->record, before);
    FreeStoreItemChoice(choice);
    return nullptr;
  }
  ContainerRecord* record = choice->record;
  DeleteChildEntities(choice->document, kRecordContainerRecord);
  Tower* t = InsertEntity(choice->document, sizeof record, kRecordContainerRecord, &record);
  ReleaseTower(&t);
  return choice;
}

StoreItemChoice* OpenStoreItemChoice(ContainerRecord* record, const char* itemPath, const Tower* parent) {
  if (!record) return nullptr;
  Tower* document = FilingSystem_OpenDocument(record, itemPath, parent);
  if (!document) return nullptr;
  StoreItemChoice* choice = ChoiceOf(record->handle ? record->handle->fullPath.c_str() : "", itemPath);
  choice->document = document;
  choice->record = record;
  return choice;
}

void FreeStoreItemChoice(StoreItemChoice* choice) {
  if (!choice) return;
  ReleaseTower(&choice->document);
  delete choice;
}

void FilingNotificationHandler(const ByteBuffer& request) {
  std::uint32_t kind = 0;
  if (request.size() >= 32) std::memcpy(&kind, request.data() + 28, 4);
  switch (kind) {
    case 1: return NotifyItemChanged(request);
    case 2: return ProjectTreeNotifyKind2(request);
    case 3: return ProjectTreeNotifyKind3(request);
    case 4: return ProjectTreeNotifyKind4(request);
    default: return;
  }
}
