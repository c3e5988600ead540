// The smaller services of document filing that face the user: document
// window titles, the item choosers over the container browser and explorer,
// the handling of store notifications, and the document windows of the MDI
// client.
#pragma once
#include <string>

#include "platform/win_types.h"
#include "store/container_store.h"

struct Tower;
struct ContainerRecord;

// What a chooser hands back; freed with FreeStoreItemChoice.
struct StoreItemChoice {
  Tower* document = nullptr;  // the opened document, or none
  std::string containerPath;
  std::string name;  // the item path's text before the question mark
  std::string type;  // the text after it
  ContainerRecord* record = nullptr;
};

// Page number record of schematic pages and the page counter of a schematic.
constexpr std::uint16_t kRecordPageNumber = 11001;

void UpdateDocumentWindowTitle(const Tower* document);
// The caption UpdateDocumentWindowTitle gives the document.
std::string DocumentWindowTitle(const Tower* document);
void ActivateDocumentWindow(const Tower* document);
int IsDocumentWindowClass(HWND window);
int CountDocumentWindows();
void WarnReadOnlyDuplicate(const Tower* document);

// The container browser's file dialog starts at `startPath` when one is given.
StoreItemChoice* ChooseStoreItem(HWND parent, const char* filter, int mode, int explorerMode,
                                 const char* startPath = nullptr);
StoreItemChoice* ExploreStoreItem(HWND owner, const char* containerPath, int mode, int explorerMode,
                                  std::uint32_t* outStatus);
StoreItemChoice* ChooseAndOpenStoreItem(HWND parent, const char* filter, int mode, const Tower* loadingParent);
StoreItemChoice* ChooseAndOpenForEditing(HWND parent, const char* filter, int mode, const Tower* loadingParent,
                                         const char* startPath = nullptr);
StoreItemChoice* OpenStoreItemChoice(ContainerRecord* record, const char* itemPath, const Tower* parent);
void FreeStoreItemChoice(StoreItemChoice* choice);

// The handler of store notifications (handler code 0), registered by
// LoadLastDirectories.
void FilingNotificationHandler(const ByteBuffer& request34);
