#include "app/document_open.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>
#include <strings.h>

#include "app/application_globals.h"
#include "app/core_utilities.h"
#include "app/frame_hub_seams.h"
#include "app/frame_window.h"
#include "app/owner_drawn_menus.h"
#include "app/recent_projects.h"
#include "app/settings_block.h"
#include "draw/crosshair.h"
#include "draw/display_paint.h"
#include "edit/window_data.h"
#include "objects/design_walks.h"
#include "objects/file_paths.h"
#include "objects/view_seams.h"
#include "platform/common_dialogs.h"
#include "platform/kernel_files.h"
#include "platform/mdi.h"
#include "platform/menus.h"
#include "platform/reset_hooks.h"
#include "platform/responder.h"
#include "app/open_requests.h"
#include "platform/user.h"
#include "store/document_filing.h"
#include "store/document_titles.h"
#include "store/filing_seams.h"
#include "store/tower.h"

const char* PendingContainerPath = nullptr;
const char* PendingItemPath = nullptr;

namespace {

constexpr std::uint16_t kRecordDescription = 121;

std::string g_lastContainer[kLastKinds];
std::string g_lastGeneral;

void ResetOpenGlobals() {
  OpenRequestFlags = 0;
  PendingContainerPath = nullptr;
  PendingItemPath = nullptr;
  PendingItemTower = nullptr;
  for (std::string& path : g_lastContainer) path.clear();
  g_lastGeneral.clear();
}
const bool g_resetRegistered = pl3::RegisterGlobalReset(&ResetOpenGlobals);

constexpr char kItemTypes[] = "pcb:schematic:shape:padstack:pcbsymbol:schematicsymbol:package";
constexpr char kFilter[] =
    "All Files (*.P3P, *.P3L, *.PCB)\0*.P3P;*.P3L;*.PCB\0"
    "PL3 Files (*.P3P, *.P3L)\0*.P3P;*.P3l\0"
    "PL3 Projects (*.P3P)\0*.P3P\0"
    "PL3 Libraries (*.P3L)\0*.P3L\0"
    "PL2 PCB (*.PCB)\0*.PCB\0";

int LastKindOf(std::uint16_t type) {
  switch (type) {
    case kItemPcb: case kItemSchematic: return kLastPcbOrSchematic;
    case kItemPcbSymbol: return kLastPcbSymbol;
    case kItemShape: return kLastShape;
    case kItemPadStack: return kLastPadStack;
    default: return kLastOther;
  }
}

const char* Extension(const char* path) {
  const char* dot = std::strrchr(path, '.');
  const char* slash = std::strrchr(path, '\\');
  const char* forward = std::strrchr(path, '/');
  if (forward > slash) slash = forward;
  return dot && dot > slash ? dot : "";
}

std::size_t FolderLength(const std::string& path) {
  const std::size_t cut = path.find_last_of("\\/");
  return cut == std::string::npos ? 0 : cut + 1;
}

// The dialog's initial folder and file name from the search path.
void InitialFolderAndName(const std::string& search, std::string* folder, char* file) {
  folder->clear();
  if (search.empty()) return;
  WIN32_FIND_DATA data{};
  HANDLE found = FindFirstFile(search.c_str(), &data);
  if (found == INVALID_HANDLE_VALUE) return;
  FindClose(found);
  if (data.dwFileAttributes == FILE_ATTRIBUTE_DIRECTORY) {
    *folder = search;
    return;
  }
  const std::size_t cut = FolderLength(search);
  *folder = search.substr(0, cut);
  std::snprintf(file, kOpenPathSize, "%s", search.c_str() + cut);
}

// Sends the open command of a chosen item with the pending paths set; the
// bits are cleared when it returns.
void SendOpenCommand(HWND frame, const char* container, const char* itemPath, std::uint16_t type) {
  const UINT command = OpenCommandOfType(type);
  if (!command) return;
  OpenRequestFlags |= kOpenTakePendingItem | kOpenNamedOrImport;
  PendingContainerPath = container;
  PendingItemPath = itemPath;
  SendMessageA(frame, WM_COMMAND, command, 0);
  OpenRequestFlags &= static_cast<std::uint8_t>(~(kOpenTakePendingItem | kOpenNamedOrImport));
  PendingContainerPath = nullptr;
  PendingItemPath = nullptr;
}

// An earlier-generation board: the import dialog picks the command.
void ImportChosenPcb(HWND frame, const char* path) {
  OpenRequestFlags |= kOpenTakePendingItem | kOpenNamedOrImport;
  PendingContainerPath = path;
  if (const UINT command = ShowImportPl2PcbDialog(frame)) SendMessageA(frame, WM_COMMAND, command, 0);
  OpenRequestFlags &= static_cast<std::uint8_t>(~(kOpenTakePendingItem | kOpenNamedOrImport));
  PendingContainerPath = nullptr;
}

// A container: its item chooser; false when nothing was picked (`again`
// holds the chooser's answer).
bool OpenFromContainer(HWND frame, HWND owner, const char* path, bool general, std::uint32_t* again) {
  StoreItemChoice* choice = ChooseContainerItem(owner, path, kItemTypes, again);
  if (!choice) return false;
  const std::uint16_t type = ItemTypeCodeFromName(choice->type.c_str());
  const std::string itemPath = choice->name + "?" + choice->type;
  SendOpenCommand(frame, path, itemPath.c_str(), type);
  g_lastContainer[LastKindOf(type)] = path;
  if (general) g_lastGeneral = path;
  FreeStoreItemChoice(choice);
  return true;
}

// ---- The open commands ---------------------------------------------------------------

const char* ChooserTypes(UINT id) {
  switch (id) {
    case 280: return "pcb";
    case 282: return "schematic";
    default: return "pcbsymbol:shape:padstack:schematicsymbol:package";
  }
}

StoreItemChoice* FindItem(HWND frame, UINT id) {
  if (OpenRequestFlags & (kOpenTakePendingItem | kOpenNamedOrImport)) {
    if (!PendingContainerPath || !PendingItemPath) return nullptr;
    const std::vector<ContainerRecord*> before = FilingContainerRecords();
    ContainerRecord* record = FilingSystem_OpenContainer(PendingContainerPath, "Administrator", "");
    StoreItemChoice* choice = OpenStoreItemChoice(record, PendingItemPath, ProgramTower);
    if (!choice) {
      CloseIfOpenedHere(record, before);
      return nullptr;
    }
    choice->containerPath = PendingContainerPath;
    if (!FilingAlreadyOpen()) {
      DeleteChildEntities(choice->document, kRecordContainerRecord);
      Tower* t = InsertEntity(choice->document, sizeof record, kRecordContainerRecord, &record);
      ReleaseTower(&t);
    }
    return choice;
  }
  // Boards and schematics start at the last container they came from, library
  // items at the library folder; a board chosen here is remembered in turn.
  const char* start = id == 464 ? (Settings ? Settings->LibraryPath : nullptr) : g_lastContainer[kLastPcbOrSchematic].c_str();
  StoreItemChoice* choice = ChooseAndOpenForEditing(frame, ChooserTypes(id), id == 464 ? 1 : 2, ProgramTower, start);
  if (choice && id != 464) g_lastContainer[kLastPcbOrSchematic] = choice->containerPath;
  return choice;
}

HWND WindowOfDocument(const Tower* document) {
  HWND window = nullptr;
  if (const void* stored = GetEntityData(document, kRecordDocumentWindow)) std::memcpy(&window, stored, sizeof window);
  return window;
}

HWND CreateItemWindow(UINT id, std::uint16_t type, HINSTANCE instance) {
  if (id == 280) return CreatePCBWindow(instance);
  if (id == 282) return CreateSchematicWindow(nullptr);
  switch (type) {
    case kItemPcbSymbol: return CreatePcbSymbolWindow(instance);
    case kItemSchematicSymbol: return CreateSchematicSymbolWindow(instance);
    case kItemShape: return CreateShapeWindow(instance);
    case kItemPackage: return CreatePackageWindow(instance);
    case kItemPadStack: return CreatePadStackWindow(instance);
    default: return nullptr;
  }
}

// The item's description record (121) read afresh from its description
// stream, without the path records that reading adds.
void RefreshDescription(const StoreItemChoice& choice) {
  if (!choice.record) return;
  const std::string path = choice.name + "?" + choice.type + "\\description";
  if (!FilingSystem_FileExists(choice.record, path.c_str())) return;
  DeleteChildEntities(choice.document, kRecordDescription);
  Tower* description = FilingSystem_LoadItem(choice.record, path.c_str(), choice.document);
  if (!description) return;
  for (std::uint16_t code : {kRecordFileName, kRecordLibraryName, kRecordItemPath}) DeleteChildEntities(description, code);
  ReleaseTower(&description);
}

// 280, 282 and 464.
DocumentEnding OpenItem(HWND frame, UINT id, HINSTANCE instance, HWND* made) {
  StoreItemChoice* choice = FindItem(frame, id);
  if (!choice || !choice->document) {
    FreeStoreItemChoice(choice);
    if (id != 464) MessageBeep(MB_ICONEXCLAMATION);
    return DocumentEnding::Forward;
  }
  if (FilingAlreadyOpen()) OpenRequestFlags |= kOpenAlreadyOpen;
  if (OpenRequestFlags & kOpenAlreadyOpen) {
    OpenRequestFlags &= static_cast<std::uint8_t>(~kOpenAlreadyOpen);
    if (HWND window = WindowOfDocument(choice->document))
      SendMessageA(MDIClientWindow, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(window), 0);
    FreeStoreItemChoice(choice);
    return DocumentEnding::Forward;
  }
  Tower* document = choice->document;
  DeleteChildEntities(document, 6006);
  RefreshDescription(*choice);
  AddFileToWorkspace(choice->containerPath.c_str(), choice->name.c_str(), choice->type.c_str());
  const bool temporary = choice->record && (choice->record->flags & kContainerTemporaryCopy);
  if (!temporary) AddToMRUList(choice->containerPath.c_str(), choice->name.c_str(), choice->type.c_str());
  PendingItemTower = document;
  OpenRequestFlags |= kOpenTakePendingItem;
  HWND window = CreateItemWindow(id, ItemTypeCodeFromName(choice->type.c_str()), instance);
  OpenRequestFlags &= static_cast<std::uint8_t>(~kOpenTakePendingItem);
  if (id == 280 && window) {
    PrepareDesignConnectivity(document);
    PcbWindowAfterLoad(window, document);
  }
  PendingItemTower = nullptr;
  // The window made keeps the design it took as its own: releasing it here
  // would leave the window naming nothing.
  if (window) choice->document = nullptr;
  FreeStoreItemChoice(choice);
  if (id == 464 || !window) return DocumentEnding::Forward;
  *made = window;
  return DocumentEnding::ReturnWindow;
}

// 4008 to 4011: the entry's text holds the container path and the item.
DocumentEnding OpenRecentEntry(HWND frame, UINT id) {
  const OwnerDrawnMenuRecord* record = nullptr;
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_DATA;
  if (HMENU menu = GetMenu(frame); menu && GetMenuItemInfoA(menu, id, FALSE, &info))
    record = reinterpret_cast<const OwnerDrawnMenuRecord*>(info.dwItemData);
  // The menu shows a shortened path: the entry the record names holds it whole.
  const int entry = record && record->entry ? static_cast<int>(record->entry) - 1 : static_cast<int>(id - kRecentFirstId);
  FoundFilePath* found = FindFilePathInText(RecentEntry(entry));
  if (!found) {
    ShowMessageEx(frame, "Unable to open file", "Pelmora3", MB_OK | MB_ICONEXCLAMATION);
    return DocumentEnding::Forward;
  }
  const char* question = std::strrchr(found->rest, '?');
  const std::uint16_t type = ItemTypeCodeFromName(question ? question + 1 : "");
  SendOpenCommand(frame, found->path, found->rest, type);
  FreeFoundFilePath(found);
  return DocumentEnding::Forward;
}

// 4012, 2411 and 2014.
DocumentEnding ImportPcb(HWND frame, UINT id, HINSTANCE instance) {
  char* file = nullptr;
  if (OpenRequestFlags & (kOpenTakePendingItem | kOpenNamedOrImport)) {
    if (PendingContainerPath) file = strdup(PendingContainerPath);
  } else {
    file = AskPl2PcbFile(frame);
  }
  if (!file) return DocumentEnding::Forward;
  OpenRequestFlags = static_cast<std::uint8_t>((OpenRequestFlags & ~kOpenTakePendingItem) | kOpenNamedOrImport);
  HWND window = CreatePCBWindow(instance);
  OpenRequestFlags &= static_cast<std::uint8_t>(~kOpenNamedOrImport);
  if (window) {
    const std::string path = file;
    SetWindowTextA(window, path.c_str() + FolderLength(path));
    ImportPl2Pcb(file, id);
    // The import filled the design behind the window's back: its display
    // list is built afresh and the view painted from it.
    if (CurrentWindowData* w = ActiveWindowData; w && w->design)
      w->Display = RebuildDisplayList(w->design, static_cast<DisplayList*>(w->Display));
    RedrawView(window);
    RecordDesignChange();
  }
  std::free(file);
  return DocumentEnding::Forward;
}

DocumentEnding NewSchematic(HWND) {
  Tower* setup = AskSchematicSetup(nullptr);
  if (!setup) return DocumentEnding::Return0;
  PendingItemTower = setup;
  OpenRequestFlags |= kOpenNewSchematic;
  CreateSchematicWindow(nullptr);
  OpenRequestFlags &= static_cast<std::uint8_t>(~kOpenNewSchematic);
  PendingItemTower = nullptr;
  ReleaseTower(&setup);
  return DocumentEnding::Return0;
}

DocumentEnding NewPackage(HWND child, HINSTANCE instance) {
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  const bool kept = child && GetWindowPlacement(child, &placement);
  if (!CreatePackageWindow(instance) && kept && IsWindow(child)) SetWindowPlacement(child, &placement);
  return DocumentEnding::Forward;
}

}  // namespace

const char* LastContainerPath(int kind) {
  return kind >= 0 && kind < kLastKinds ? g_lastContainer[kind].c_str() : "";
}
const char* LastGeneralOpenPath() { return g_lastGeneral.c_str(); }

UINT OpenCommandOfType(std::uint16_t typeCode) {
  switch (typeCode) {
    case kItemPcb: return 280;
    case kItemSchematic: return 282;
    case kItemSchematicSymbol: case kItemPcbSymbol: case kItemShape: case kItemPadStack: case kItemPackage:
      return 464;
    default: return 0;
  }
}

void DoFileOpen(HWND frame, const char* initialPath, DWORD filterIndex) {
  const bool general = initialPath == nullptr;
  std::string search = initialPath ? initialPath : g_lastGeneral;
  if (search.empty() && Settings && Settings->ProjectPath) search = Settings->ProjectPath;
  std::uint32_t again = 2;
  while (again == 2) {
    char file[kOpenPathSize] = {};
    std::string folder;
    if (search.size() >= kOpenPathSize) {
      // The dialog's buffer cannot hold the path: it is refused as the dialog
      // refuses a choice too long for it, on the failure road; nothing is cut.
      pl3::SetCommonDialogError(FNERR_BUFFERTOOSMALL);
      SendMessageA(frame, WM_USER + 8, 0, 0);
      return;
    }
    InitialFolderAndName(search, &folder, file);
    HWND owner = MDIClientWindow ? reinterpret_cast<HWND>(SendMessageA(MDIClientWindow, WM_MDIGETACTIVE, 0, 0)) : nullptr;
    OPENFILENAME ofn{};
    ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = kFilter;
    ofn.nFilterIndex = filterIndex;
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | 0x4000;  // share-aware
    EnableWindow(frame, FALSE);
    const BOOL chosen = GetOpenFileName(&ofn);
    EnableWindow(frame, TRUE);
    if (!chosen) {
      SendMessageA(frame, WM_USER + 8, 0, 0);
      (void)CommDlgExtendedError();
      return;
    }
    const char* extension = Extension(file);
    if (strcasecmp(extension, ".pcb") == 0) {
      ImportChosenPcb(frame, file);
      return;
    }
    if (strcasecmp(extension, ".p3p") == 0 || strcasecmp(extension, ".p3l") == 0) {
      if (OpenFromContainer(frame, owner, file, general, &again)) return;
    }
    // Any other file, and a container whose chooser gave nothing: the dialog
    // opens again there while the chooser's answer stays 2.
    search = file;
  }
}

DocumentEnding RunDocumentCommand(HWND frame, HWND child, UINT id, HINSTANCE instance, HWND* made) {
  switch (id) {
    case 284:
      CreatePCBWindow(instance);
      return DocumentEnding::Return0;
    case 285:
      return NewSchematic(frame);
    case 292:
      CreatePcbSymbolWindow(instance);
      return DocumentEnding::Return0;
    case 293:
      CreatePadStackWindow(instance);
      return DocumentEnding::Forward;
    case 294:
      CreateShapeWindow(instance);
      return DocumentEnding::Forward;
    case 2282:
      CreateSchematicSymbolWindow(instance);
      return DocumentEnding::Forward;
    case 2326:
      return NewPackage(child, instance);
    case 2485:
      DoFileOpen(frame, Settings ? Settings->ProjectPath : nullptr, 3);
      return DocumentEnding::Forward;
    case 2486:
      DoFileOpen(frame, Settings ? Settings->LibraryPath : nullptr, 4);
      return DocumentEnding::Forward;
    case 2487:
    case 4013:
      DoFileOpen(frame, nullptr, 1);
      return DocumentEnding::Forward;
    case 280:
    case 282:
    case 464:
      return OpenItem(frame, id, instance, made);
    case 4008: case 4009: case 4010: case 4011:
      return OpenRecentEntry(frame, id);
    case 4012: case 2411: case 2014:
      return ImportPcb(frame, id, instance);
    default:
      return DocumentEnding::NotMine;
  }
}
