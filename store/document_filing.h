// Document filing: between the editors and the container store. It opens
// container files for the editors (read-only files through a temporary copy),
// opens the items in them for editing or for viewing, loads an item's data
// stream into a document tree of the tower store, remembers where each
// document came from, and reloads, saves or closes it.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "store/container_store.h"

struct Tower;

// Item type codes and the names after the question mark of an item path.
constexpr std::uint16_t kItemSchematicSymbol = 25;
constexpr std::uint16_t kItemPcb = 102;
constexpr std::uint16_t kItemSchematic = 103;
constexpr std::uint16_t kItemSchematicPage = 104;
constexpr std::uint16_t kItemPcbSymbol = 105;
constexpr std::uint16_t kItemShape = 109;
constexpr std::uint16_t kItemPadStack = 115;
constexpr std::uint16_t kItemPackage = 11006;

// Records that filing keeps in a document's tree.
constexpr std::uint16_t kRecordDocumentWindow = 6004;     // HWND of the document's window
constexpr std::uint16_t kRecordContainerRecord = 6005;    // ContainerRecord*
constexpr std::uint16_t kRecordRecovered = 6007;
constexpr std::uint16_t kRecordItemPath = 20037;          // item path without its type
// (Type_FileName, Type_LibraryName, Type_Name, Type_IDInfo, Type_ModifiedNote
// of the design objects' type codes.)
constexpr std::uint16_t kRecordFileName = 214;      // the item's name
constexpr std::uint16_t kRecordLibraryName = 219;   // the container file's path
constexpr std::uint16_t kRecordName = 215;          // name of a document without item path
constexpr std::uint16_t kRecordIdInfo = 209;        // identity, 13 words
constexpr std::uint16_t kRecordModifiedNote = 231;
constexpr std::uint16_t kRecordConsoleLog = 21000;
constexpr std::uint32_t kIdInfoBytes = 13 * 4;

// Access of an open-file entry.
constexpr std::uint32_t kAccessEditing = 1;
constexpr std::uint32_t kAccessViewing = 2;

// Flags of a ContainerRecord.
constexpr std::uint32_t kContainerTemporaryCopy = 1;

struct OpenFileEntry {
  std::string path;          // the item's data entry
  Tower* document = nullptr;  // owned copy, or none
  std::uint32_t access = 0;
};

struct ContainerRecord {
  NetFSHandle* handle = nullptr;
  std::uint32_t useCount = 0;
  std::uint32_t flags = 0;
  std::vector<OpenFileEntry> entries;
};

// The already-open mark: set when an open hands back something already open.
bool FilingAlreadyOpen();

ContainerRecord* FilingSystem_OpenContainer(const char* path, const char* user, const char* password);
void FilingSystem_CloseContainer(ContainerRecord* record);
int FilingSystem_OpenFileForEditing(ContainerRecord* record, const char* dataPath);
void FilingSystem_CloseFile(ContainerRecord* record, const char* dataPath);
int FilingSystem_FileExists(ContainerRecord* record, const char* path);
Tower* FilingSystem_LoadItem(ContainerRecord* record, const char* dataPath, const Tower* parent);
Tower* FilingSystem_LoadDocument(ContainerRecord* record, const char* dataPath, const Tower* parent);
Tower* FilingSystem_OpenDocument(ContainerRecord* record, const char* itemPath, const Tower* parent);
Tower* FilingSystem_ReloadDocument(ContainerRecord* record, int entryIndex);
Tower* FilingSystem_OpenPath(const char* containerPath, const char* itemPath, const Tower* parent,
                             ContainerRecord** outRecord);
Tower* FilingSystem_OpenAndLoad(const char* containerPath, const char* itemPath, const Tower* parent);
// Writes a document into its container under the data path (item path plus
// "\data") and saves the container safely, without the records that belong
// to this run (window, container record, the modified and recovered marks); 1 on success, else 0 with the
// store's last error. A temporary copy of a read-only file cannot be saved.
int FilingSystem_SaveDocument(ContainerRecord* record, const char* dataPath, const Tower* document);

std::uint16_t ItemTypeCodeFromName(const char* name);
const char* ItemTypeName(std::uint16_t code);

void SetDocumentItemPath(const Tower* document, const char* containerPath, const char* dataPath);
ContainerRecord* FindDocumentOpenFile(const Tower* document, int* outIndex);
int ContainsLinkFile(NetFSHandle* handle, const char* path);
int ContainerEntryExists(const char* containerPath, const char* entryPath);
void ShutdownFilingSystem();

// The open records, oldest first.
const std::vector<ContainerRecord*>& FilingContainerRecords();
// Closes a record that a call opened for itself, once nothing of it is in
// use. A record that was open before the call (in `before`, the records
// then) belongs to whoever opened it and stays, even with nothing in use:
// closing it would leave them holding a freed record.
void CloseIfOpenedHere(ContainerRecord* record, const std::vector<ContainerRecord*>& before);
// The temporary copy that a read-only container file opens through.
std::string FilingTemporaryCopyPath(const std::string& fullPath);
// Reads a text record (NUL-terminated payload) of a document, "" when missing.
std::string DocumentText(const Tower* document, std::uint16_t code);
