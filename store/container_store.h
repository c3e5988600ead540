// The container store: the in-process server of open container files and its
// clients. A client call builds a request message, hands it to the server's
// dispatcher, waits on the named reply event for the reply message, and tries
// again (five tries, one second apart) when no fitting reply comes. The server
// keeps, per open container, its users, permissions, log-ons and locks.
// Failures leave a small numeric code in one last-error value.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/uuid.h"
#include "store/netfs_format.h"

// Status and last-error codes.
constexpr std::uint32_t kNetfsOk = 0;
constexpr std::uint32_t kNetfsNotInitialised = 1;
constexpr std::uint32_t kNetfsCreateRefused = 2;
constexpr std::uint32_t kNetfsPathNotFound = 3;
constexpr std::uint32_t kNetfsNoReply = 4;
constexpr std::uint32_t kNetfsWrongPassword = 5;
constexpr std::uint32_t kNetfsUnknownUser = 6;
constexpr std::uint32_t kNetfsAccessDenied = 7;
constexpr std::uint32_t kNetfsUnknownHandle = 8;
constexpr std::uint32_t kNetfsOpenForEditing = 9;
constexpr std::uint32_t kNetfsPathBusy = 10;
constexpr std::uint32_t kNetfsPathExists = 12;
constexpr std::uint32_t kNetfsNotAContainer = 13;
constexpr std::uint32_t kNetfsNotLoggedOn = 14;
constexpr std::uint32_t kNetfsNameExists = 15;
constexpr std::uint32_t kNetfsFileMissing = 16;

// Request codes; each reply's code is the request's plus one.
constexpr std::uint32_t kRequestLogOn = 1;
constexpr std::uint32_t kRequestReadFile = 3;
constexpr std::uint32_t kRequestReserved7 = 7;
constexpr std::uint32_t kRequestIdentityCheck = 9;
constexpr std::uint32_t kRequestOpen = 11;
constexpr std::uint32_t kRequestClose = 13;
constexpr std::uint32_t kRequestReleaseLocks = 15;
constexpr std::uint32_t kRequestCreateDirectory = 18;
constexpr std::uint32_t kRequestListDirectory = 20;
constexpr std::uint32_t kRequestReserved22 = 22;
constexpr std::uint32_t kRequestFileSize = 24;
constexpr std::uint32_t kRequestDisconnect = 26;
constexpr std::uint32_t kRequestFindClient = 28;
constexpr std::uint32_t kRequestGetEntry = 29;
constexpr std::uint32_t kRequestRename = 31;
constexpr std::uint32_t kRequestDeliver = 33;
constexpr std::uint32_t kRequestBroadcast = 34;
// Writes a file (adds or replaces it) and saves the container safely:
// +28 path, +4124 uint32 stored-object size, +4128 the stored object.
// Reply 37 (32): +28 status.
constexpr std::uint32_t kRequestWriteFile = 36;

// Lock modes.
constexpr std::uint32_t kLockEditing = 1;
constexpr std::uint32_t kLockReading = 2;

constexpr std::size_t kRequestPathSize = 4096;
constexpr std::size_t kUserNameSize = 64;

#pragma pack(push, 1)
struct NetFSRequest {
  std::uint32_t code;
  std::uint32_t length;
  UUID client;
  std::uint32_t handleNumber;
};
struct NetFSReply {
  std::uint32_t code;
  std::uint32_t length;
  UUID server;
  std::uint32_t reserved;
};
struct LogOnEntry {
  std::uint32_t userId;
  std::uint32_t connection;
  UUID client;
};
struct LockEntry {
  std::uint32_t userId;
  UUID client;
  std::uint32_t mode;
  std::uint32_t reserved;
  char path[kRequestPathSize];
};
#pragma pack(pop)
static_assert(sizeof(NetFSRequest) == 28);
static_assert(offsetof(NetFSRequest, handleNumber) == 24);
static_assert(sizeof(NetFSReply) == 28);
static_assert(sizeof(LogOnEntry) == 24);
static_assert(sizeof(LockEntry) == 4124);
static_assert(offsetof(LockEntry, path) == 28);

// A client's handle of one container opened by path.
struct NetFSHandle {
  std::string fullPath;
  std::uint32_t reserved = 0;
  std::uint32_t handleNumber = 0;
  bool loggedIn = false;
  UUID serverIdentity{};
};

using NetFSNotificationHandler = void (*)(const ByteBuffer& request34);

// ---- Store ----------------------------------------------------------------------

// Makes the store's identity and its six named kernel objects.
void NetFS_Initialise();
bool NetFS_IsInitialised();
void NetFS_CloseAll();
// The store's UUID as text (the prefix of its kernel objects' names).
std::string NetFS_StoreUuidText();

NetFSHandle* NetFS_OpenContainer(const char* path, const char* user, const char* password);
void NetFS_CloseContainer(NetFSHandle* handle);

// ---- Client calls -----------------------------------------------------------------

bool NetFS_Login(NetFSHandle* handle, const char* user, const char* password);
std::optional<ByteBuffer> NetFS_ReadFile(NetFSHandle* handle, const char* path);
int NetFS_OpenFile(NetFSHandle* handle, const char* path, std::uint32_t mode);
std::uint32_t NetFS_CloseFile(NetFSHandle* handle, const char* path);
std::uint32_t NetFS_ReleaseAllLocks(NetFSHandle* handle);
int NetFS_CreateDirectory(NetFSHandle* handle, const char* path);
// Count and entries, as the server lists them.
std::optional<DirectoryListing> NetFS_ListDirectory(NetFSHandle* handle, const char* path);
std::uint32_t NetFS_GetFileSize(NetFSHandle* handle, const char* path);
int NetFS_Disconnect(NetFSHandle* handle);
std::optional<DirectoryEntry> NetFS_GetEntry(NetFSHandle* handle, const char* path);
void NetFS_BroadcastNotification(NetFSHandle* handle, const void* data, std::uint32_t size);
// Renames the entry at a path (request 31); 1 on status 0, else 0 with the
// status as last error.
int NetFS_Rename(NetFSHandle* handle, const char* path, const char* newName);
// Adds or replaces the file at a path with raw content, compressed with the
// current settings, and saves the container safely; 1 on success, else 0.
int NetFS_WriteFile(NetFSHandle* handle, const char* path, const void* content, std::uint32_t size);
std::uint32_t NetFS_GetLastError();
// The system's reason (ERROR_ACCESS_DENIED, ERROR_DISK_FULL ...) why the last
// save of a container's file failed (its status kNetfsNoReply); 0 when the
// last save succeeded.
std::uint32_t NetFS_GetLastSaveSystemError();
void NetFS_SetLastError(std::uint32_t code);
void NetFS_SetLastErrorMissing();
void NetFS_RegisterNotificationHandler(std::uint32_t code, NetFSNotificationHandler handler);

// The pause between two tries of a client call (1000 ms); tests shorten it.
void NetFS_SetRetryInterval(std::uint32_t milliseconds);
// Tests only: hands the next `count` requests of this code to nobody, so that
// their tries see no reply (code 0 drops nothing).
void NetFS_DropRequestsForTests(std::uint32_t code, std::uint32_t count = 0xFFFFFFFFu);

// ---- Path helpers -------------------------------------------------------------------

// The full form of a file path (at most 260 characters; the path as given
// when that fails).
std::string NetFS_FullPath(const char* path);
// "%s%s%s.tmp" of a container's drive, folder and base name.
std::string NetFS_WorkingCopyPath(const std::string& fullPath);
