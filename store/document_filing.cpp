#include "store/document_filing.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/kernel_files.h"
#include "platform/text_case.h"
#include "platform/user.h"
#include "platform/reset_hooks.h"
#include "store/filing_seams.h"
#include "store/filing_settings.h"
#include "store/item_stream.h"
#include "store/seams.h"
#include "store/tower.h"
#include "store/tower_queries.h"

namespace {

struct FilingState {
  std::vector<ContainerRecord*> records;
  bool alreadyOpen = false;
};
FilingState gFiling;

// The store is restarted by its own reset, so the Towers held here are only
// forgotten, never released.
void ResetFiling() {
  for (ContainerRecord* r : gFiling.records) delete r;
  gFiling = FilingState{};
}
const bool gRegistered = pl3::RegisterGlobalReset(&ResetFiling);

void Tell(const char* text) { ShowMessage(FrameWindow, text, "Pelmora3"); }

struct ItemType {
  std::uint16_t code;
  const char* name;
  bool editor;  // known from name to code
};
constexpr ItemType kItemTypes[] = {
    {kItemSchematicSymbol, "schematicsymbol", true},
    {kItemPcb, "pcb", true},
    {kItemSchematic, "schematic", true},
    {kItemPcbSymbol, "pcbsymbol", true},
    {kItemShape, "shape", true},
    {kItemPadStack, "padstack", true},
    {121, "description", false},
    {201, "bitmap", false},
    {212, "completioninfo", false},
    {5000, "functiontable", false},
    {8009, "spiceplot", false},
    {8100, "3d view", false},
    {8101, "contour", false},
    {kItemPackage, "package", true},
    {20038, "lockfile", false},
    {20039, "linkfile", false},
};

int FindEntry(const ContainerRecord* record, std::string_view path) {
  for (std::size_t i = 0; i < record->entries.size(); ++i)
    if (pl3::EqualsNoCase(record->entries[i].path, path)) return static_cast<int>(i);
  return -1;
}

// Replaces the text records of one code under a document.
void SetTextRecord(const Tower* document, std::uint16_t code, const std::string& text) {
  DeleteChildEntities(document, code);
  Tower* t = InsertEntity(document, static_cast<std::uint32_t>(text.size() + 1), code, text.c_str());
  ReleaseTower(&t);
}

template <typename T>
void SetValueRecord(const Tower* document, std::uint16_t code, const T& value) {
  DeleteChildEntities(document, code);
  Tower* t = InsertEntity(document, sizeof value, code, &value);
  ReleaseTower(&t);
}

template <typename T>
bool GetValueRecord(const Tower* document, std::uint16_t code, T& value) {
  const void* payload = GetEntityData(document, code);
  if (!payload) return false;
  std::memcpy(&value, payload, sizeof value);
  return true;
}

// Reads, expands, loads and converts an item's data stream under the parent.
// A stream that cannot be read gives null and the store's last error 13
// unless the store set a more precise one.
Tower* ReadItem(ContainerRecord* record, const char* dataPath, const Tower* parent) {
  std::optional<ByteBuffer> buffer = NetFS_ReadFile(record->handle, dataPath);
  if (!buffer) return nullptr;
  std::string error;
  if (NetFS_GetLastError() == kNetfsOk && !DecompressStoredFile(*buffer, &error)) {
    NetfsTrace("filing: %s: %s\n", dataPath, error.c_str());
    NetFS_SetLastError(kNetfsNotAContainer);
    return nullptr;
  }
  Tower* document = ParseRecordStream(buffer->data(), buffer->size(), parent, &error);
  if (!document) {
    if (!error.empty()) NetfsTrace("filing: %s: %s\n", dataPath, error.c_str());
    NetFS_SetLastError(kNetfsNotAContainer);
    return nullptr;
  }
  // Window handles and filing records of another run mean nothing here.
  DeleteChildEntities(document, kRecordDocumentWindow);
  DeleteChildEntities(document, kRecordContainerRecord);
  ConvertPl2ProjectTree(document);
  return document;
}

bool SameText(const Tower* a, const Tower* b, std::uint16_t code) {
  return pl3::EqualsNoCase(DocumentText(a, code), DocumentText(b, code));
}

// The identity record's 13 words; none when the record is missing or, read
// from a damaged file, too short to hold them.
const std::uint8_t* IdentityOf(const Tower* document) {
  Tower* child = GetChildTower(document, kRecordIdInfo);
  const Entity* e = child ? FindNextEntity(child) : nullptr;
  ReleaseTower(&child);
  return e && e->payloadSize >= kIdInfoBytes ? EntityPayload(e) : nullptr;
}

bool SameIdentity(const Tower* a, const Tower* b) {
  const std::uint8_t* ia = IdentityOf(a);
  const std::uint8_t* ib = IdentityOf(b);
  return ia && ib && std::memcmp(ia, ib, kIdInfoBytes) == 0;
}

// A loaded document of the same type under the parent with the same
// identity, item path and container: the twin of a new document.
Tower* FindTwin(const Tower* parent, const Tower* document) {
  const Entity* self = TowerEntity(document);
  Tower* search = GetChildTower(parent, self->typeCode);
  Tower* twin = nullptr;
  while (Entity* e = search ? FindNextEntity(search) : nullptr) {
    if (e == self) continue;
    if (SameIdentity(search, document) && SameText(search, document, kRecordItemPath) &&
        SameText(search, document, kRecordLibraryName)) {
      twin = DuplicateTower(search);
      break;
    }
  }
  ReleaseTower(&search);
  return twin;
}

// Deletes a temporary copy and the folder made for it.
void DeleteTemporaryCopy(const std::string& copy) {
  DeleteFile(copy.c_str());
  const std::size_t slash = copy.find_last_of("\\/");
  if (slash != std::string::npos) RemoveDirectory(copy.substr(0, slash).c_str());
}

std::string ContainerPathOf(const ContainerRecord* record) { return record->handle ? record->handle->fullPath : ""; }

}  // namespace

bool FilingAlreadyOpen() { return gFiling.alreadyOpen; }
const std::vector<ContainerRecord*>& FilingContainerRecords() { return gFiling.records; }

std::string DocumentText(const Tower* document, std::uint16_t code) {
  Tower* child = GetChildTower(document, code);
  std::string text;
  if (Entity* e = child ? FindNextEntity(child) : nullptr)
    text.assign(reinterpret_cast<const char*>(EntityPayload(e)),
                strnlen(reinterpret_cast<const char*>(EntityPayload(e)), e->payloadSize));
  ReleaseTower(&child);
  return text;
}

std::uint16_t ItemTypeCodeFromName(const char* name) {
  for (const ItemType& t : kItemTypes)
    if (t.editor && name && pl3::EqualsNoCase(t.name, name)) return t.code;
  return 0;
}

const char* ItemTypeName(std::uint16_t code) {
  for (const ItemType& t : kItemTypes)
    if (t.code == code) return t.name;
  return "unknown";
}

std::string FilingTemporaryCopyPath(const std::string& fullPath) {
  char temp[MAX_PATH + 1] = {};
  const DWORD n = GetTempPath(sizeof temp, temp);
  std::string folder = (n > 0 && n < sizeof temp) ? std::string(temp, n) : std::string("\\tmp\\");
  if (folder.back() != '\\' && folder.back() != '/') folder += '\\';
  const std::size_t slash = fullPath.find_last_of("\\/");
  const std::string file = slash == std::string::npos ? fullPath : fullPath.substr(slash + 1);
  // Read-only files of the same name in different folders each get their
  // own copy: it lies in a folder named for a hash of the original's full
  // path, and keeps the original's file name, which titles show.
  const std::string lowered = pl3::LowerCopy(fullPath);
  char tag[32];
  std::snprintf(tag, sizeof tag, "Pelmora3-%08x\\", Crc32(lowered.data(), lowered.size()));
  return folder + tag + file;
}

ContainerRecord* FilingSystem_OpenContainer(const char* path, const char* user, const char* password) {
  NetFS_SetLastError(kNetfsOk);
  const std::string full = NetFS_FullPath(path);
  for (ContainerRecord* r : gFiling.records)
    if (pl3::EqualsNoCase(ContainerPathOf(r), full)) return r;

  NetFSHandle* handle = nullptr;
  std::uint32_t flags = 0;
  const DWORD attributes = GetFileAttributes(full.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
    const std::string temp = NetFS_FullPath(FilingTemporaryCopyPath(full).c_str());
    for (ContainerRecord* r : gFiling.records)
      if (pl3::EqualsNoCase(ContainerPathOf(r), temp)) return r;
    const std::size_t slash = temp.find_last_of("\\/");
    if (slash != std::string::npos) CreateDirectory(temp.substr(0, slash).c_str(), nullptr);
    if (!CopyFile(full.c_str(), temp.c_str(), FALSE)) {
      DeleteTemporaryCopy(temp);
      NetFS_SetLastError(kNetfsNotAContainer);
      return nullptr;
    }
    SetFileAttributes(temp.c_str(), GetFileAttributes(temp.c_str()) & ~FILE_ATTRIBUTE_READONLY);
    handle = NetFS_OpenContainer(temp.c_str(), user, password);
    if (!handle) DeleteTemporaryCopy(temp);
    flags = kContainerTemporaryCopy;
  } else {
    handle = NetFS_OpenContainer(full.c_str(), user, password);
  }
  if (!handle) return nullptr;
  auto* record = new ContainerRecord;
  record->handle = handle;
  record->flags = flags;
  gFiling.records.push_back(record);
  return record;
}

void FilingSystem_CloseContainer(ContainerRecord* record) {
  if (!record || record->useCount != 0) return;
  const std::string path = ContainerPathOf(record);
  for (OpenFileEntry& e : record->entries) ReleaseTower(&e.document);
  record->entries.clear();
  NetFS_CloseContainer(record->handle);
  if (record->flags & kContainerTemporaryCopy) DeleteTemporaryCopy(path);
  std::erase(gFiling.records, record);
  delete record;
}

int FilingSystem_OpenFileForEditing(ContainerRecord* record, const char* dataPath) {
  const int existing = FindEntry(record, dataPath);
  if (existing >= 0) {
    gFiling.alreadyOpen = true;
    return existing;
  }
  std::uint32_t access = kAccessViewing;
  if (NetFS_OpenFile(record->handle, dataPath, kLockReading)) {
    if (NetFS_OpenFile(record->handle, dataPath, kLockEditing)) {
      access = kAccessEditing;
    } else if (NetFS_GetLastError() == kNetfsAccessDenied) {
      Tell("You do not have sufficient access rights to open the file for editing, opening for viewing only.");
    }
  } else if (NetFS_GetLastError() == kNetfsAccessDenied) {
    Tell("You do not have sufficient access rights.");
    return -1;
  } else {
    char text[96];
    std::snprintf(text, sizeof text, "FilingSystem_OpenFileForEditing - Read - Error (%d)",
                  static_cast<int>(NetFS_GetLastError()));
    Tell(text);
  }
  record->entries.push_back(OpenFileEntry{dataPath, nullptr, access});
  ++record->useCount;
  return static_cast<int>(record->entries.size() - 1);
}

void FilingSystem_CloseFile(ContainerRecord* record, const char* dataPath) {
  NetFS_CloseFile(record->handle, dataPath);
  if (record->useCount) --record->useCount;
  for (std::size_t i = record->entries.size(); i-- > 0;) {
    if (pl3::EqualsNoCase(record->entries[i].path, dataPath)) {
      ReleaseTower(&record->entries[i].document);
      record->entries.erase(record->entries.begin() + static_cast<std::ptrdiff_t>(i));
      break;
    }
  }
}

int FilingSystem_FileExists(ContainerRecord* record, const char* path) {
  return NetFS_GetEntry(record->handle, path) ? 1 : 0;
}

Tower* FilingSystem_LoadItem(ContainerRecord* record, const char* dataPath, const Tower* parent) {
  // An item this process already holds open keeps its entry and its lock:
  // it is read under that lock, without a read open of its own that would
  // turn the edit lock into a read lock and a close that would drop both.
  const bool held = FindEntry(record, dataPath) >= 0;
  if (!held && !NetFS_OpenFile(record->handle, dataPath, kLockReading)) return nullptr;
  ++record->useCount;
  Tower* document = ReadItem(record, dataPath, parent);
  if (document) SetDocumentItemPath(document, ContainerPathOf(record).c_str(), dataPath);
  --record->useCount;
  if (!held) NetFS_CloseFile(record->handle, dataPath);
  return document;
}

// The wait cursor for the length of a scope.
class WaitCursor {
 public:
  WaitCursor() : previous_(SetCursor(LoadCursor(nullptr, IDC_WAIT))) {}
  ~WaitCursor() { SetCursor(previous_); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  HCURSOR previous_;
};

Tower* FilingSystem_LoadDocument(ContainerRecord* record, const char* dataPath, const Tower* parent) {
  const WaitCursor wait;
  gFiling.alreadyOpen = false;
  Tower* document = ReadItem(record, dataPath, parent);
  if (!document) return nullptr;
  SetDocumentItemPath(document, ContainerPathOf(record).c_str(), dataPath);
  RemapDocumentFonts(document);
  ClearUndoHistory(document);
  CheckItemsDeleted(document);
  if (Tower* twin = FindTwin(parent, document)) {
    gFiling.alreadyOpen = true;
    DeleteEntity(document);
    ReleaseTower(&document);
    return twin;
  }
  return document;
}

Tower* FilingSystem_OpenDocument(ContainerRecord* record, const char* itemPath, const Tower* parent) {
  const std::string dataPath = std::string(itemPath) + "\\data";
  gFiling.alreadyOpen = false;
  const int index = FilingSystem_OpenFileForEditing(record, dataPath.c_str());
  if (index < 0) return nullptr;
  const bool wasOpen = gFiling.alreadyOpen;
  if (wasOpen && record->entries[static_cast<std::size_t>(index)].document)
    return DuplicateTower(record->entries[static_cast<std::size_t>(index)].document);
  Tower* document = FilingSystem_LoadDocument(record, dataPath.c_str(), parent);
  if (!document) {
    // Nothing to edit: the open file made here does not stay behind (one
    // that was open before stays, with its lock), and the reason stays.
    const std::uint32_t error = NetFS_GetLastError();
    if (!wasOpen) FilingSystem_CloseFile(record, dataPath.c_str());
    NetFS_SetLastError(error);
    return nullptr;
  }
  if (gFiling.alreadyOpen) return document;
  record->entries[static_cast<std::size_t>(index)].document = DuplicateTower(document);
  SetValueRecord(document, kRecordContainerRecord, record);
  return document;
}

Tower* FilingSystem_ReloadDocument(ContainerRecord* record, int entryIndex) {
  if (!record || entryIndex < 0 || static_cast<std::size_t>(entryIndex) >= record->entries.size()) return nullptr;
  OpenFileEntry& entry = record->entries[static_cast<std::size_t>(entryIndex)];
  if (!entry.document || entry.document->lastLevel == 0) return nullptr;
  Tower* parent = DuplicateTowerToLevel(entry.document, static_cast<std::uint8_t>(entry.document->lastLevel - 1));
  // A read that fails keeps the old document and its entry as they are.
  Tower* fresh = ReadItem(record, entry.path.c_str(), parent);
  ReleaseTower(&parent);
  if (!fresh) return nullptr;
  HWND window = nullptr;
  if (GetValueRecord(entry.document, kRecordDocumentWindow, window)) SetValueRecord(fresh, kRecordDocumentWindow, window);
  SetValueRecord(fresh, kRecordContainerRecord, record);
  SetDocumentItemPath(fresh, ContainerPathOf(record).c_str(), entry.path.c_str());
  DeleteEntity(entry.document);
  ReleaseTower(&entry.document);
  entry.document = DuplicateTower(fresh);
  return fresh;
}

Tower* FilingSystem_OpenPath(const char* containerPath, const char* itemPath, const Tower* parent,
                             ContainerRecord** outRecord) {
  const std::string dataPath = std::string(itemPath) + "\\data";
  ContainerRecord* record = FilingSystem_OpenContainer(containerPath, "Administrator", "");
  if (outRecord) *outRecord = record;
  if (!record || !record->handle) return nullptr;
  Tower* document = FilingSystem_LoadDocument(record, dataPath.c_str(), parent);
  if (document && !gFiling.alreadyOpen) DeleteChildEntities(document, kRecordConsoleLog);
  return document;
}

void CloseIfOpenedHere(ContainerRecord* record, const std::vector<ContainerRecord*>& before) {
  if (!record || record->useCount != 0) return;
  if (std::find(before.begin(), before.end(), record) == before.end()) FilingSystem_CloseContainer(record);
}

Tower* FilingSystem_OpenAndLoad(const char* containerPath, const char* itemPath, const Tower* parent) {
  const std::vector<ContainerRecord*> before = gFiling.records;
  ContainerRecord* record = nullptr;
  Tower* document = FilingSystem_OpenPath(containerPath, itemPath, parent, &record);
  CloseIfOpenedHere(record, before);
  return document;
}

int FilingSystem_SaveDocument(ContainerRecord* record, const char* dataPath, const Tower* document) {
  NetFS_SetLastError(kNetfsOk);
  const int index = FindEntry(record, dataPath);
  if ((record->flags & kContainerTemporaryCopy) ||
      (index >= 0 && record->entries[static_cast<std::size_t>(index)].access != kAccessEditing)) {
    NetFS_SetLastError(kNetfsAccessDenied);
    return 0;
  }
  const std::vector<std::uint8_t> stream =
      WriteRecordStream(TowerEntity(document),
                        {kRecordDocumentWindow, kRecordContainerRecord, kRecordModifiedNote, kRecordRecovered});
  return NetFS_WriteFile(record->handle, dataPath, stream.data(), static_cast<std::uint32_t>(stream.size()));
}

void SetDocumentItemPath(const Tower* document, const char* containerPath, const char* dataPath) {
  std::string name;
  SplitNameAndType(dataPath ? dataPath : "", &name, nullptr);
  const std::size_t slash = name.rfind('\\');
  SetTextRecord(document, kRecordItemPath, name);
  SetTextRecord(document, kRecordFileName, slash == std::string::npos ? name : name.substr(slash + 1));
  SetTextRecord(document, kRecordLibraryName, containerPath ? containerPath : "");
}

ContainerRecord* FindDocumentOpenFile(const Tower* document, int* outIndex) {
  if (!document) return nullptr;
  Tower* design = TowerEntity(document)->typeCode == kItemSchematicPage ? GetAncestorTower(document, kItemSchematic)
                                                                         : DuplicateTower(document);
  ContainerRecord* record = nullptr;
  ContainerRecord* found = nullptr;
  if (design && TowerEntity(design) && GetValueRecord(design, kRecordContainerRecord, record) &&
      std::find(gFiling.records.begin(), gFiling.records.end(), record) != gFiling.records.end()) {
    char dataPath[8192];
    std::snprintf(dataPath, sizeof dataPath, "%s?%s\\data", DocumentText(design, kRecordItemPath).c_str(),
                  ItemTypeName(TowerEntity(design)->typeCode));
    const int index = FindEntry(record, dataPath);
    if (index >= 0) {
      found = record;
      if (outIndex) *outIndex = index;
    }
  }
  ReleaseTower(&design);
  return found;
}

int ContainsLinkFile(NetFSHandle* handle, const char* path) {
  const std::string p = path ? path : "";
  if (p.find('?') != std::string::npos) return NetFS_GetEntry(handle, (p + "\\linkfile").c_str()) ? 1 : 0;
  const std::string folder = (!p.empty() && p.back() == '\\') ? p : p + "\\";
  const std::optional<DirectoryListing> listing = NetFS_ListDirectory(handle, folder.c_str());
  if (!listing) return 1;
  for (std::uint32_t i = 0; i < listing->Count(); ++i) {
    const std::string child = folder + std::string(EntryName(listing->Entry(i)));
    if (ContainsLinkFile(handle, child.c_str())) return 1;
  }
  return 0;
}

int ContainerEntryExists(const char* containerPath, const char* entryPath) {
  const std::vector<ContainerRecord*> before = gFiling.records;
  ContainerRecord* record = FilingSystem_OpenContainer(containerPath, "Administrator", "");
  if (!record) return 0;
  const int exists = FilingSystem_FileExists(record, entryPath);
  CloseIfOpenedHere(record, before);
  return exists;
}

void ShutdownFilingSystem() {
  const std::vector<ContainerRecord*> records = gFiling.records;
  for (ContainerRecord* r : records) FilingSystem_CloseContainer(r);
  SaveLastDirectories();
  // Records still in use were left open above; once the store is closed they
  // are dead, and their temporary copies must not outlive the program.
  std::vector<std::string> copies;
  for (ContainerRecord* r : gFiling.records)
    if (r->flags & kContainerTemporaryCopy) copies.push_back(ContainerPathOf(r));
  NetFS_CloseAll();
  for (const std::string& copy : copies) DeleteTemporaryCopy(copy);
  for (ContainerRecord* r : gFiling.records) {
    for (OpenFileEntry& e : r->entries) ReleaseTower(&e.document);
    delete r;
  }
  gFiling.records.clear();
}
