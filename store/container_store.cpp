#include "store/container_store.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <vector>

#include "platform/kernel_files.h"
#include "platform/reset_hooks.h"
#include "platform/sync.h"
#include "platform/text_case.h"
#include "store/netfs_writer.h"
#include "store/safe_file.h"

namespace {

// ---- Server records -------------------------------------------------------------

struct ServerContainer {
  HANDLE file = INVALID_HANDLE_VALUE;
  std::uint32_t useCount = 1;
  NetfsVolume volume;  // the header as read (its last two words ours) and the FAT
  bool modified = false;
  FILETIME lastWrite{};
  std::string fullPath;
  std::string workingCopy;  // empty when the container has none
  ByteBuffer users;         // expanded "\users?system"
  ByteBuffer permissions;   // expanded "\permissions?system"
  std::vector<UserRecord> userRecords;
  std::vector<PermissionRecord> permissionRecords;
  std::vector<LogOnEntry> logons;
  std::vector<LockEntry> locks;

  std::uint32_t HandleNumber() const { return volume.header.handleNumber; }
};

constexpr int kKernelObjectCount = 6;
const char* const kKernelObjectSuffixes[kKernelObjectCount] = {
    ".NetFS_ShareMutex",  ".NetFS_GlobalClientConnectionsMutex", ".NetFS_GlobalQueueMutex",
    ".NetFS_ShareEvent", ".NetFS_GlobalClientHandlesMutex",     ".NetFS_ToClientEvent",
};
enum KernelObject { kShareMutex, kConnectionsMutex, kQueueMutex, kShareEvent, kClientHandlesMutex, kToClientEvent };

struct StoreState {
  bool initialised = false;
  UUID uuid{};
  std::string uuidText;
  HANDLE objects[kKernelObjectCount] = {};
  std::vector<std::unique_ptr<ServerContainer>> containers;  // ascending handle number
  std::vector<NetFSHandle*> clients;
  std::uint32_t nextHandleNumber = 1;
  std::unique_ptr<ByteBuffer> replySlot;
  std::uint32_t lastError = 0;
  std::uint32_t lastSaveSystemError = 0;  // why the last container save failed, 0 after a success
  std::map<std::uint32_t, NetFSNotificationHandler> handlers;
  std::uint32_t retryInterval = 1000;
  std::uint32_t droppedCode = 0;
  std::uint32_t droppedCount = 0;
};
StoreState gStore;

void ResetStore() {
  if (gStore.initialised) NetFS_CloseAll();
  gStore = StoreState{};
}
const bool gRegistered = pl3::RegisterGlobalReset(&ResetStore);

// Holds a mutex of the store for a scope. The mutexes are recursive, so a
// broadcast handler may make client calls while its request holds one.
class MutexHold {
 public:
  explicit MutexHold(KernelObject which) : mutex_(gStore.objects[which]) {
    if (mutex_) WaitForSingleObject(mutex_, INFINITE);
  }
  ~MutexHold() {
    if (mutex_) ReleaseMutex(mutex_);
  }
  MutexHold(const MutexHold&) = delete;
  MutexHold& operator=(const MutexHold&) = delete;

 private:
  HANDLE mutex_;
};

bool SameUuid(const UUID& a, const UUID& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

ServerContainer* FindContainer(std::uint32_t handleNumber) {
  auto it = std::lower_bound(gStore.containers.begin(), gStore.containers.end(), handleNumber,
                             [](const std::unique_ptr<ServerContainer>& c, std::uint32_t n) { return c->HandleNumber() < n; });
  return it != gStore.containers.end() && (*it)->HandleNumber() == handleNumber ? it->get() : nullptr;
}

void RemoveContainer(ServerContainer* record) {
  auto& v = gStore.containers;
  v.erase(std::remove_if(v.begin(), v.end(), [&](const auto& c) { return c.get() == record; }), v.end());
}

// ---- Messages ------------------------------------------------------------------------

std::uint32_t WordAt(const ByteBuffer& b, std::size_t offset) {
  std::uint32_t v = 0;
  if (b.size() >= offset + 4) std::memcpy(&v, b.data() + offset, 4);
  return v;
}
void PutWord(ByteBuffer& b, std::size_t offset, std::uint32_t v) { std::memcpy(b.data() + offset, &v, 4); }

// A NUL-terminated text field of a message, bounded by the field and the message.
std::string TextAt(const ByteBuffer& b, std::size_t offset, std::size_t field) {
  if (b.size() <= offset) return {};
  const std::size_t room = std::min(field, b.size() - offset);
  const char* p = reinterpret_cast<const char*>(b.data() + offset);
  return std::string(p, strnlen(p, room));
}

ByteBuffer NewMessage(std::uint32_t code, std::size_t length) {
  ByteBuffer m(length, 0);
  PutWord(m, 0, code);
  PutWord(m, 4, static_cast<std::uint32_t>(length));
  return m;
}

ByteBuffer NewReply(const ByteBuffer& request, std::size_t length) { return NewMessage(WordAt(request, 0) + 1, length); }

// The server hands every reply over through the single reply slot.
void Deliver(ByteBuffer reply) {
  std::memcpy(reply.data() + 8, &gStore.uuid, sizeof(UUID));
  reply.resize(WordAt(reply, 4));
  gStore.replySlot = std::make_unique<ByteBuffer>(std::move(reply));
  SetEvent(gStore.objects[kToClientEvent]);
}

void ReplyStatus(const ByteBuffer& request, std::uint32_t status) {
  ByteBuffer reply = NewReply(request, 32);
  PutWord(reply, 28, status);
  Deliver(std::move(reply));
}

// ---- Rights and locks --------------------------------------------------------------

const LogOnEntry* FindLogOn(const ServerContainer& c, const UUID& client) {
  for (const LogOnEntry& e : c.logons)
    if (SameUuid(e.client, client)) return &e;
  return nullptr;
}

bool HasRight(const ServerContainer& c, std::uint32_t userId, std::string_view path, std::uint32_t mask) {
  for (const PermissionRecord& p : c.permissionRecords) {
    if (p.userId != userId && p.userId != kEveryUser) continue;
    if (!pl3::StartsWithNoCase(path, p.pathPrefix)) continue;
    if (p.rights & mask) return true;
  }
  return false;
}

// 0 when the path names something ("\" is the root), 3 when not, 13 when the
// container is damaged on the way.
std::uint32_t PathStatus(const ServerContainer& c, std::string_view path, ResolvedEntry* resolved = nullptr) {
  ResolvedEntry local;
  ResolvedEntry& r = resolved ? *resolved : local;
  switch (NetfsResolvePath(c.volume, path, r, nullptr)) {
    case NetfsResult::Ok: return kNetfsOk;
    case NetfsResult::NotFound: return kNetfsPathNotFound;
    case NetfsResult::Damaged: return kNetfsNotAContainer;
  }
  return kNetfsNotAContainer;
}

bool HoldsForEditing(const ServerContainer& c, const UUID& client, std::string_view path) {
  for (const LockEntry& l : c.locks)
    if (SameUuid(l.client, client) && l.mode == kLockEditing && pl3::EqualsNoCase(l.path, path)) return true;
  return false;
}

// ---- Writing back -------------------------------------------------------------------

// Reads the header and FAT of the open file into the record's volume.
bool LoadVolume(ServerContainer& c, std::string* error) {
  const std::uint32_t handleNumber = c.volume.header.handleNumber;
  DWORD high = 0;
  const DWORD low = GetFileSize(c.file, &high);
  c.volume.fileSize = (static_cast<std::uint64_t>(high) << 32) | low;
  HANDLE file = c.file;
  c.volume.readAt = [file](std::uint64_t offset, void* into, std::size_t length) {
    LONG high = static_cast<LONG>(offset >> 32);
    if (SetFilePointer(file, static_cast<LONG>(offset & 0xFFFFFFFF), &high, FILE_BEGIN) == INVALID_SET_FILE_POINTER &&
        GetLastError() != NO_ERROR)
      return false;
    auto* p = static_cast<std::uint8_t*>(into);
    while (length > 0) {
      const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(length, 1u << 30));
      DWORD read = 0;
      if (!ReadFile(file, p, chunk, &read, nullptr) || read != chunk) return false;
      p += chunk;
      length -= chunk;
    }
    return true;
  };
  if (!NetfsReadHeader(c.volume, error)) return false;
  c.volume.header.serverWord = 0;
  c.volume.header.handleNumber = handleNumber;
  return true;
}

HANDLE OpenContainerFile(const std::string& path) {
  return CreateFile(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                    FILE_FLAG_RANDOM_ACCESS, nullptr);
}

// Replaces the container's file by the tree's image: the new file is written
// beside it and renamed over it, and the record goes on with the new file.
std::uint32_t SaveTree(ServerContainer& c, const NetfsTreeNode& tree) {
  const ByteBuffer image = NetfsBuildImage(tree);
  std::string error;
  bool closed = false;
  const bool saved = WriteBytesSafely(c.fullPath, image, &error, [&] {
    CloseHandle(c.file);
    c.file = INVALID_HANDLE_VALUE;
    closed = true;
  });
  const DWORD systemError = saved ? 0 : GetLastError();
  if (closed) {
    c.volume.directories.reset();  // the folders read before are gone with the old file
    c.file = OpenContainerFile(c.fullPath);
    // A file made read-only since it was opened refuses the rename and the
    // write access: it stays readable.
    if (c.file == INVALID_HANDLE_VALUE && !saved)
      c.file = CreateFile(c.fullPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                          FILE_FLAG_RANDOM_ACCESS, nullptr);
    if (c.file == INVALID_HANDLE_VALUE || !LoadVolume(c, &error) || !NetfsLoadFat(c.volume, &error)) {
      NetfsTrace("netfs: cannot reopen %s: %s\n", c.fullPath.c_str(), error.c_str());
      return kNetfsNotAContainer;
    }
  }
  if (!saved) {
    gStore.lastSaveSystemError = systemError;
    NetfsTrace("netfs: cannot save %s: %s\n", c.fullPath.c_str(), error.c_str());
    return kNetfsNoReply;
  }
  gStore.lastSaveSystemError = 0;
  c.modified = true;
  return kNetfsOk;
}

// ---- Requests ------------------------------------------------------------------------

void ServeLogOn(const ByteBuffer& request, ServerContainer& c, const UUID& client) {
  const std::string user = TextAt(request, 28, kUserNameSize);
  const std::uint32_t hash = WordAt(request, 92);
  std::uint32_t status = kNetfsUnknownUser;
  for (const UserRecord& u : c.userRecords) {
    if (!pl3::EqualsNoCase(u.name, user)) continue;
    if (u.passwordHash != hash) {
      status = kNetfsWrongPassword;
    } else {
      status = kNetfsOk;
      if (!FindLogOn(c, client)) c.logons.push_back(LogOnEntry{u.userId, 0, client});
    }
    break;
  }
  ReplyStatus(request, status);
}

void ServeReadFile(const ByteBuffer& request, ServerContainer& c, const UUID& client) {
  const std::string path = TextAt(request, 28, kRequestPathSize);
  ByteBuffer fail = NewReply(request, 344);
  const LogOnEntry* logOn = FindLogOn(c, client);
  std::uint32_t status = kNetfsOk;
  if (!logOn) status = kNetfsNotLoggedOn;
  else if (!HasRight(c, logOn->userId, path, kRightRead)) status = kNetfsAccessDenied;
  if (status == kNetfsOk) {
    NetfsTrace("netfs: reading file %s\n", path.c_str());
    ByteBuffer stored;
    DirectoryEntry entry{};
    switch (NetfsReadFile(c.volume, path, stored, &entry, nullptr)) {
      case NetfsResult::Ok: {
        ByteBuffer reply = NewReply(request, 344 + stored.size());
        PutWord(reply, 28, kNetfsOk);
        PutWord(reply, 32, static_cast<std::uint32_t>(stored.size()));
        std::memcpy(reply.data() + 36, &entry, sizeof entry);
        if (!stored.empty()) std::memcpy(reply.data() + 344, stored.data(), stored.size());
        Deliver(std::move(reply));
        return;
      }
      case NetfsResult::NotFound: status = kNetfsPathNotFound; break;
      case NetfsResult::Damaged: status = kNetfsNotAContainer; break;
    }
  }
  PutWord(fail, 28, status);
  Deliver(std::move(fail));
}

void ServeReserved(const ByteBuffer& request, ServerContainer& c, const UUID& client) {
  const LogOnEntry* logOn = FindLogOn(c, client);
  if (!logOn) return ReplyStatus(request, kNetfsNotLoggedOn);
  const std::string path = TextAt(request, 28, kRequestPathSize);
  ReplyStatus(request, HasRight(c, logOn->userId, path, kRightReserved) ? kNetfsFileMissing : kNetfsAccessDenied);
}

void ServeOpen(const ByteBuffer& request, ServerContainer& c, const UUID& client) {
  const std::uint32_t mode = WordAt(request, 28);
  const std::string path = TextAt(request, 32, kRequestPathSize);
  const LogOnEntry* logOn = FindLogOn(c, client);
  if (!logOn) return ReplyStatus(request, kNetfsNotLoggedOn);
  std::uint32_t mask = kRightRead;
  if (mode == kLockEditing) {
    const std::uint32_t exists = PathStatus(c, path);
    if (exists == kNetfsNotAContainer) return ReplyStatus(request, exists);
    mask = exists == kNetfsOk ? kRightWrite : (kRightWrite | kRightCreate);
  }
  if (!HasRight(c, logOn->userId, path, mask)) return ReplyStatus(request, kNetfsAccessDenied);
  LockEntry* own = nullptr;
  for (LockEntry& l : c.locks) {
    if (!pl3::EqualsNoCase(l.path, path)) continue;
    if (mode == kLockEditing && l.mode == kLockEditing) return ReplyStatus(request, kNetfsOpenForEditing);
    if (SameUuid(l.client, client)) own = &l;
  }
  if (own) {
    own->mode = mode;
  } else {
    LockEntry l{};
    l.userId = logOn->userId;
    l.client = client;
    l.mode = mode;
    std::memcpy(l.path, path.data(), std::min(path.size(), sizeof l.path - 1));
    c.locks.push_back(l);
  }
  ReplyStatus(request, kNetfsOk);
}

void ServeClose(const ByteBuffer& request, ServerContainer& c, const UUID& client) {
  const std::string path = TextAt(request, 28, kRequestPathSize);
  auto it = std::find_if(c.locks.begin(), c.locks.end(), [&](const LockEntry& l) {
    return SameUuid(l.client, client) && pl3::EqualsNoCase(l.path, path);
  });
  if (it != c.locks.end()) c.locks.erase(it);
  ReplyStatus(request, 1);
}

void ServeReleaseLocks(const ByteBuffer& request, ServerContainer& c, const UUID& client) {
  std::erase_if(c.locks, [&](const LockEntry& l) { return SameUuid(l.client, client); });
  ReplyStatus(request, 1);
}

void ServeCreateDirectory(const ByteBuffer& request, ServerContainer& c, const UUID& client) {
  const std::string path = TextAt(request, 28, kRequestPathSize);
  if (PathStatus(c, path) == kNetfsOk) return ReplyStatus(request, kNetfsPathExists);
  const LogOnEntry* logOn = FindLogOn(c, client);
  if (!logOn) return ReplyStatus(request, kNetfsNotLoggedOn);
  if (!HasRight(c, logOn->userId, path, kRightCreate)) return ReplyStatus(request, kNetfsAccessDenied);
  ReplyStatus(request, HoldsForEditing(c, client, path) ? kNetfsFileMissing : kNetfsCreateRefused);
}

void ServeListDirectory(const ByteBuffer& request, ServerContainer& c) {
  const std::string path = TextAt(request, 28, kRequestPathSize);
  DirectoryListing listing;
  std::uint32_t status = kNetfsOk;
  switch (NetfsListDirectory(c.volume, path, listing, nullptr)) {
    case NetfsResult::Ok: break;
    case NetfsResult::NotFound: status = kNetfsPathNotFound; break;
    case NetfsResult::Damaged: status = kNetfsNotAContainer; break;
  }
  const std::size_t size = status == kNetfsOk ? listing.content.size() : 0;
  ByteBuffer reply = NewReply(request, 36 + size);
  PutWord(reply, 28, status);
  PutWord(reply, 32, static_cast<std::uint32_t>(size));
  if (size) std::memcpy(reply.data() + 36, listing.content.data(), size);
  Deliver(std::move(reply));
}

// Requests 24 and 29: the entry a path names.
void ServeEntry(const ByteBuffer& request, ServerContainer* c) {
  const bool sizeOnly = WordAt(request, 0) == kRequestFileSize;
  ResolvedEntry r;
  std::uint32_t status = c ? PathStatus(*c, TextAt(request, 28, kRequestPathSize), &r) : kNetfsUnknownHandle;
  if (status == kNetfsOk && r.index < 0) status = kNetfsPathNotFound;  // "\" has no entry of its own
  DirectoryEntry entry{};
  if (status == kNetfsOk) entry = r.Entry();
  if (sizeOnly) {
    ByteBuffer reply = NewReply(request, 36);
    PutWord(reply, 28, status == kNetfsOk ? entry.size : 0);
    PutWord(reply, 32, status);
    return Deliver(std::move(reply));
  }
  ByteBuffer reply = NewReply(request, 340);
  std::memcpy(reply.data() + 28, &entry, sizeof entry);
  PutWord(reply, 336, status);
  Deliver(std::move(reply));
}

void ServeRename(const ByteBuffer& request, ServerContainer& c, const UUID& client) {
  const std::string path = TextAt(request, 28, kRequestPathSize);
  const std::string newName = TextAt(request, 28 + kRequestPathSize, request.size());
  const LogOnEntry* logOn = FindLogOn(c, client);
  if (!logOn) return ReplyStatus(request, kNetfsNotLoggedOn);
  if (!HasRight(c, logOn->userId, path, kRightRead | kRightWrite | kRightCreate))
    return ReplyStatus(request, kNetfsAccessDenied);
  for (const LockEntry& l : c.locks)
    if (pl3::StartsWithNoCase(l.path, path)) return ReplyStatus(request, kNetfsPathBusy);
  ResolvedEntry r;
  std::uint32_t status = PathStatus(c, path, &r);
  if (status == kNetfsOk && r.index < 0) status = kNetfsPathNotFound;
  if (status != kNetfsOk) return ReplyStatus(request, status);
  const std::string_view oldName = EntryName(r.Entry());
  if (!pl3::EqualsNoCase(oldName, newName) && FindDirectoryEntry(*r.directory, newName, false) >= 0)
    return ReplyStatus(request, kNetfsNameExists);
  // Without its users or permissions file the saved container could never
  // be opened again.
  if (r.directoryBlock == kRootDirectoryBlock && !pl3::EqualsNoCase(oldName, newName) &&
      (pl3::EqualsNoCase(oldName, kUsersFileName) || pl3::EqualsNoCase(oldName, kPermissionsFileName)))
    return ReplyStatus(request, kNetfsAccessDenied);
  NetfsTreeNode tree;
  if (NetfsLoadTree(c.volume, tree, nullptr) != NetfsResult::Ok) return ReplyStatus(request, kNetfsNotAContainer);
  status = static_cast<std::uint32_t>(NetfsTreeRename(tree, path, newName));
  if (status == kNetfsOk) status = SaveTree(c, tree);
  ReplyStatus(request, status);
}

void ServeWriteFile(const ByteBuffer& request, ServerContainer& c, const UUID& client) {
  const std::string path = TextAt(request, 28, kRequestPathSize);
  const std::uint32_t size = WordAt(request, 28 + kRequestPathSize);
  const std::size_t at = 32 + kRequestPathSize;
  const LogOnEntry* logOn = FindLogOn(c, client);
  if (!logOn) return ReplyStatus(request, kNetfsNotLoggedOn);
  // The users and permissions files are the store's own: a write would change
  // who may open the container, or make it unreadable.
  const std::size_t start = std::min(path.find_first_not_of('\\'), path.size());
  const std::string_view name = std::string_view(path).substr(start);
  if (pl3::EqualsNoCase(name, kUsersFileName) || pl3::EqualsNoCase(name, kPermissionsFileName))
    return ReplyStatus(request, kNetfsAccessDenied);
  std::uint32_t status = PathStatus(c, path);
  if (status == kNetfsNotAContainer) return ReplyStatus(request, status);
  const std::uint32_t mask = status == kNetfsOk ? kRightWrite : (kRightWrite | kRightCreate);
  if (!HasRight(c, logOn->userId, path, mask)) return ReplyStatus(request, kNetfsAccessDenied);
  for (const LockEntry& l : c.locks)
    if (l.mode == kLockEditing && !SameUuid(l.client, client) && pl3::EqualsNoCase(l.path, path))
      return ReplyStatus(request, kNetfsOpenForEditing);
  if (request.size() < at || request.size() - at < size) return ReplyStatus(request, kNetfsNoReply);
  NetfsTreeNode tree;
  if (NetfsLoadTree(c.volume, tree, nullptr) != NetfsResult::Ok) return ReplyStatus(request, kNetfsNotAContainer);
  if (!NetfsTreePutFile(tree, path, ByteBuffer(request.begin() + at, request.begin() + at + size)))
    return ReplyStatus(request, kNetfsPathNotFound);
  ReplyStatus(request, SaveTree(c, tree));
}

void Serve(const ByteBuffer& request);

void ServeBroadcast(const ByteBuffer& request) {
  ByteBuffer deliver = NewMessage(kRequestDeliver, request.size() + 32);
  std::memcpy(deliver.data() + 8, &gStore.uuid, sizeof(UUID));
  PutWord(deliver, 24, WordAt(request, 24));
  PutWord(deliver, 28, 0);
  std::memcpy(deliver.data() + 32, request.data(), request.size());
  Serve(deliver);
  ReplyStatus(request, 0);
}

void ServeDeliver(const ByteBuffer& request) {
  auto it = gStore.handlers.find(WordAt(request, 28));
  if (it == gStore.handlers.end() || request.size() < 32 + 28) return;
  const ByteBuffer inner(request.begin() + 32, request.end());
  it->second(inner);
}

// Requests that answer status 8 for an unknown container handle, with the
// length of their failure reply.
std::size_t UnknownHandleReplyLength(std::uint32_t code) {
  switch (code) {
    case kRequestLogOn:
    case kRequestReserved7:
    case kRequestOpen:
    case kRequestCreateDirectory:
    case kRequestReserved22:
    case kRequestRename:
    case kRequestWriteFile: return 32;
    case kRequestReadFile: return 344;
    case kRequestListDirectory: return 36;
    default: return 0;
  }
}

void Serve(const ByteBuffer& request) {
  if (request.size() < sizeof(NetFSRequest) || WordAt(request, 4) != request.size()) return;
  const std::uint32_t code = WordAt(request, 0);
  if (code == gStore.droppedCode && gStore.droppedCount) {
    --gStore.droppedCount;
    return;
  }
  UUID client;
  std::memcpy(&client, request.data() + 8, sizeof client);
  const std::uint32_t handleNumber = WordAt(request, 24);

  MutexHold hold(kQueueMutex);
  ServerContainer* c = FindContainer(handleNumber);
  if (!c) {
    if (const std::size_t length = UnknownHandleReplyLength(code)) {
      ByteBuffer reply = NewReply(request, length);
      PutWord(reply, 28, kNetfsUnknownHandle);
      return Deliver(std::move(reply));
    }
  }
  switch (code) {
    case kRequestLogOn: return ServeLogOn(request, *c, client);
    case kRequestReadFile: return ServeReadFile(request, *c, client);
    case kRequestReserved7:
    case kRequestReserved22: return ServeReserved(request, *c, client);
    case kRequestIdentityCheck: return ReplyStatus(request, c && SameUuid(client, gStore.uuid) ? 1 : 0);
    case kRequestOpen: return ServeOpen(request, *c, client);
    case kRequestClose:
      if (!c) return ReplyStatus(request, 0);
      return ServeClose(request, *c, client);
    case kRequestReleaseLocks:
      if (!c) return ReplyStatus(request, 0);
      return ServeReleaseLocks(request, *c, client);
    case kRequestCreateDirectory: return ServeCreateDirectory(request, *c, client);
    case kRequestListDirectory: return ServeListDirectory(request, *c);
    case kRequestFileSize:
    case kRequestGetEntry: return ServeEntry(request, c);
    case kRequestDisconnect:
      if (c) std::erase_if(c->logons, [&](const LogOnEntry& e) { return SameUuid(e.client, client); });
      return Deliver(NewReply(request, 28));
    case kRequestFindClient: return;  // looked up and never answered
    case kRequestRename: return ServeRename(request, *c, client);
    case kRequestDeliver: return ServeDeliver(request);
    case kRequestBroadcast: return ServeBroadcast(request);
    case kRequestWriteFile: return ServeWriteFile(request, *c, client);
    default: return;  // unknown requests get no reply
  }
}

// ---- Client side ----------------------------------------------------------------------

ByteBuffer NewRequest(std::uint32_t code, std::size_t length, const NetFSHandle* handle) {
  ByteBuffer m = NewMessage(code, length);
  std::memcpy(m.data() + 8, &gStore.uuid, sizeof(UUID));
  PutWord(m, 24, handle ? handle->handleNumber : 0);
  return m;
}

// Paths that do not fit their field are not sent: cut short, they would name
// another entry.
bool PutPath(ByteBuffer& m, std::size_t offset, const char* path) {
  const std::size_t n = path ? std::strlen(path) : 0;
  if (n >= kRequestPathSize) return false;
  if (n) std::memcpy(m.data() + offset, path, n);
  return true;
}

// Hands the request to the dispatcher and takes its reply, if one was
// posted. Requests are served in the calling thread, so an empty slot after
// the dispatch means that no reply is coming.
std::unique_ptr<ByteBuffer> ServeAndTakeReply(const ByteBuffer& request) {
  Serve(request);
  std::unique_ptr<ByteBuffer> reply;
  if (gStore.replySlot) {
    WaitForSingleObject(gStore.objects[kToClientEvent], INFINITE);
    reply = std::move(gStore.replySlot);
    ResetEvent(gStore.objects[kToClientEvent]);
  }
  if (reply && WordAt(*reply, 0) != WordAt(request, 0) + 1) reply.reset();
  return reply;
}

// Takes the fitting reply, trying five times.
std::optional<ByteBuffer> Transact(const ByteBuffer& request) {
  for (int attempt = 0; attempt < 5; ++attempt) {
    if (attempt) Sleep(gStore.retryInterval);
    if (auto reply = ServeAndTakeReply(request)) return std::move(*reply);
  }
  gStore.lastError = kNetfsNoReply;
  return std::nullopt;
}

// Starts a client call: clears the last error and checks the store is up.
bool BeginCall() {
  gStore.lastError = kNetfsOk;
  if (!gStore.initialised) {
    gStore.lastError = kNetfsNotInitialised;
    return false;
  }
  return true;
}

// A call on one path whose reply carries a status at +28.
std::optional<ByteBuffer> PathCall(NetFSHandle* handle, std::uint32_t code, const char* path, std::size_t length = 4124,
                                   std::size_t pathOffset = 28) {
  if (!BeginCall()) return std::nullopt;
  ByteBuffer request = NewRequest(code, length, handle);
  if (!PutPath(request, pathOffset, path)) {
    gStore.lastError = kNetfsPathNotFound;
    return std::nullopt;
  }
  return Transact(request);
}

int StatusResult(const std::optional<ByteBuffer>& reply) {
  if (!reply) return 0;
  gStore.lastError = WordAt(*reply, 28);
  return gStore.lastError == kNetfsOk ? 1 : 0;
}

void CloseServerRecord(ServerContainer& c) {
  c.useCount = 0;
  if (!c.modified && c.file != INVALID_HANDLE_VALUE) SetFileTime(c.file, nullptr, nullptr, &c.lastWrite);
  if (!c.workingCopy.empty()) DeleteFile(c.workingCopy.c_str());
  if (c.file != INVALID_HANDLE_VALUE) CloseHandle(c.file);
  c.file = INVALID_HANDLE_VALUE;
}

bool ReadSystemFile(ServerContainer& c, const char* name, ByteBuffer& into, std::string* error) {
  return NetfsReadFileContent(c.volume, std::string("\\") + name, into, error) == NetfsResult::Ok;
}

// Reads the FAT and both system files of a newly opened container.
bool LoadServerRecord(ServerContainer& c, std::string* error) {
  if (!NetfsLoadFat(c.volume, error)) return false;
  CheckFatConsistency(c.volume);
  return ReadSystemFile(c, kUsersFileName, c.users, error) &&
         ReadSystemFile(c, kPermissionsFileName, c.permissions, error) && ParseUsers(c.users, c.userRecords, error) &&
         ParsePermissions(c.permissions, c.permissionRecords, error);
}

}  // namespace

// ---- Store ----------------------------------------------------------------------------

void NetFS_Initialise() {
  if (gStore.initialised) return;
  UuidCreate(&gStore.uuid);
  RPC_CSTR text = nullptr;
  UuidToStringA(&gStore.uuid, &text);
  gStore.uuidText = text ? reinterpret_cast<const char*>(text) : "";
  RpcStringFreeA(&text);
  for (int i = 0; i < kKernelObjectCount; ++i) {
    const std::string name = gStore.uuidText + kKernelObjectSuffixes[i];
    const bool isEvent = i == kShareEvent || i == kToClientEvent;
    gStore.objects[i] = isEvent ? CreateEvent(nullptr, TRUE, FALSE, name.c_str())
                                : CreateMutex(nullptr, FALSE, name.c_str());
  }
  gStore.initialised = true;
}

bool NetFS_IsInitialised() { return gStore.initialised; }
std::string NetFS_StoreUuidText() { return gStore.uuidText; }

std::string NetFS_FullPath(const char* path) {
  std::string given = path ? path : "";
  std::string full = given;
  std::replace(full.begin(), full.end(), '/', '\\');
  const bool absolute = (!full.empty() && full[0] == '\\') || (full.size() >= 2 && full[1] == ':');
  if (!absolute) {
    char cwd[MAX_PATH + 1] = {};
    const DWORD n = GetCurrentDirectory(sizeof cwd, cwd);
    if (n == 0 || n >= sizeof cwd) return given;
    std::string base(cwd, n);
    if (base.empty() || base.back() != '\\') base += '\\';
    full = base + full;
  } else if (full[0] == '\\' && (full.size() < 2 || full[1] != '\\')) {
    // Rooted without a drive: the current drive, which is always C:, so that
    // both spellings of one file name the same container.
    full.insert(0, "C:");
  }
  // Fold "." and ".." components.
  std::vector<std::string> parts;
  std::string prefix;
  std::size_t start = 0;
  if (full.size() >= 2 && full[1] == ':') {
    prefix = full.substr(0, 2);
    start = 2;
  }
  std::size_t i = start;
  while (i <= full.size()) {
    std::size_t j = full.find('\\', i);
    if (j == std::string::npos) j = full.size();
    const std::string part = full.substr(i, j - i);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    i = j + 1;
  }
  std::string result = prefix;
  for (const std::string& p : parts) result += "\\" + p;
  if (result.empty() || result == prefix) result += "\\";
  return result.size() <= MAX_PATH ? result : given;
}

std::string NetFS_WorkingCopyPath(const std::string& fullPath) {
  const std::size_t slash = fullPath.find_last_of("\\/");
  const std::string folder = slash == std::string::npos ? "" : fullPath.substr(0, slash + 1);
  std::string base = fullPath.substr(folder.size());
  const std::size_t dot = base.rfind('.');
  if (dot != std::string::npos) base.erase(dot);
  return folder + base + ".tmp";
}

NetFSHandle* NetFS_OpenContainer(const char* path, const char* user, const char* password) {
  if (!BeginCall()) return nullptr;
  const std::string full = NetFS_FullPath(path);
  {
    MutexHold hold(kClientHandlesMutex);
    for (NetFSHandle* h : gStore.clients)
      if (pl3::EqualsNoCase(h->fullPath, full)) return h;
  }

  auto record = std::make_unique<ServerContainer>();
  record->fullPath = full;
  record->file = OpenContainerFile(full);
  std::string error;
  if (record->file == INVALID_HANDLE_VALUE) {
    gStore.lastError = kNetfsNotAContainer;
    return nullptr;
  }
  GetFileTime(record->file, nullptr, nullptr, &record->lastWrite);
  if (!LoadVolume(*record, &error)) {
    CloseHandle(record->file);
    gStore.lastError = kNetfsNotAContainer;
    return nullptr;
  }
  NetfsTrace("netfs: open file %s\n.", full.c_str());

  const std::uint32_t handleNumber = gStore.nextHandleNumber++;
  record->volume.header.serverWord = 0;
  record->volume.header.handleNumber = handleNumber;
  {
    MutexHold hold(kQueueMutex);
    ServerContainer& c = *record;
    // A container named like its own working copy ("x.tmp") keeps none:
    // deleting the copy at close would delete the container.
    const std::string working = NetFS_WorkingCopyPath(full);
    if (!pl3::EqualsNoCase(working, full)) {
      c.workingCopy = working;
      CopyFile(full.c_str(), working.c_str(), FALSE);
    }
    if (!LoadServerRecord(c, &error)) {
      // A container whose table or system files are damaged or missing
      // cannot be served; it is closed again untouched.
      NetfsTrace("netfs: cannot open %s: %s\n", full.c_str(), error.c_str());
      c.modified = false;
      CloseServerRecord(c);
      gStore.lastError = kNetfsNotAContainer;
      return nullptr;
    }
    gStore.containers.push_back(std::move(record));
  }

  auto* handle = new NetFSHandle;
  handle->fullPath = full;
  handle->handleNumber = handleNumber;
  NetFS_Login(handle, user, password);
  MutexHold hold(kClientHandlesMutex);
  gStore.clients.push_back(handle);
  return handle;
}

void NetFS_CloseContainer(NetFSHandle* handle) {
  if (!BeginCall() || !handle) return;
  NetFS_ReleaseAllLocks(handle);
  NetFS_Disconnect(handle);
  const std::uint32_t handleNumber = handle->handleNumber;
  const bool foreign = handle->loggedIn && !SameUuid(handle->serverIdentity, gStore.uuid);
  {
    MutexHold hold(kClientHandlesMutex);
    std::erase(gStore.clients, handle);
  }
  delete handle;
  // A handle whose log-on failed has no server identity; its container is
  // ours all the same and must be closed with its working copy.
  if (foreign) return;
  MutexHold hold(kQueueMutex);
  if (ServerContainer* c = FindContainer(handleNumber)) {
    CloseServerRecord(*c);
    RemoveContainer(c);
  }
}

void NetFS_CloseAll() {
  if (!gStore.initialised) return;
  while (!gStore.clients.empty()) NetFS_CloseContainer(gStore.clients.back());
  {
    MutexHold hold(kClientHandlesMutex);
    for (auto& c : gStore.containers) CloseServerRecord(*c);
    gStore.containers.clear();
  }
  gStore.initialised = false;
  gStore.handlers.clear();
  gStore.replySlot.reset();
  for (HANDLE& h : gStore.objects) {
    if (h) CloseHandle(h);
    h = nullptr;
  }
}

// ---- Client calls -----------------------------------------------------------------------

bool NetFS_Login(NetFSHandle* handle, const char* user, const char* password) {
  gStore.lastError = kNetfsOk;
  if (!handle) return false;
  handle->loggedIn = false;
  if (!user || !password || std::strlen(user) >= kUserNameSize) {
    gStore.lastError = kNetfsUnknownUser;
    return false;
  }
  ByteBuffer request = NewRequest(kRequestLogOn, 96, handle);
  std::memcpy(request.data() + 28, user, std::strlen(user));
  PutWord(request, 92, PasswordHash(password));
  const std::unique_ptr<ByteBuffer> reply = ServeAndTakeReply(request);  // one try only
  if (!reply) {
    gStore.lastError = kNetfsNoReply;
    return false;
  }
  const std::uint32_t status = WordAt(*reply, 28);
  if (status != kNetfsOk) {
    gStore.lastError = status;
    return false;
  }
  handle->loggedIn = true;
  std::memcpy(&handle->serverIdentity, reply->data() + 8, sizeof(UUID));
  return true;
}

std::optional<ByteBuffer> NetFS_ReadFile(NetFSHandle* handle, const char* path) {
  auto reply = PathCall(handle, kRequestReadFile, path);
  if (!reply) return std::nullopt;
  gStore.lastError = WordAt(*reply, 28);
  const std::uint32_t size = WordAt(*reply, 32);
  if (gStore.lastError != kNetfsOk || reply->size() < 344 || reply->size() - 344 < size) return std::nullopt;
  return ByteBuffer(reply->begin() + 344, reply->begin() + 344 + size);
}

int NetFS_OpenFile(NetFSHandle* handle, const char* path, std::uint32_t mode) {
  if (!BeginCall()) return 0;
  ByteBuffer request = NewRequest(kRequestOpen, 4128, handle);
  PutWord(request, 28, mode);
  if (!PutPath(request, 32, path)) {
    gStore.lastError = kNetfsPathNotFound;
    return 0;
  }
  return StatusResult(Transact(request));
}

std::uint32_t NetFS_CloseFile(NetFSHandle* handle, const char* path) {
  auto reply = PathCall(handle, kRequestClose, path);
  return reply ? WordAt(*reply, 28) : 0;
}

std::uint32_t NetFS_ReleaseAllLocks(NetFSHandle* handle) {
  if (!gStore.initialised) return 0;
  const std::uint32_t saved = gStore.lastError;
  auto reply = Transact(NewRequest(kRequestReleaseLocks, 28, handle));
  gStore.lastError = saved;
  return reply ? WordAt(*reply, 28) : 0;
}

int NetFS_CreateDirectory(NetFSHandle* handle, const char* path) {
  return StatusResult(PathCall(handle, kRequestCreateDirectory, path));
}

std::optional<DirectoryListing> NetFS_ListDirectory(NetFSHandle* handle, const char* path) {
  auto reply = PathCall(handle, kRequestListDirectory, path);
  if (!reply) return std::nullopt;
  gStore.lastError = WordAt(*reply, 28);
  const std::uint32_t size = WordAt(*reply, 32);
  if (gStore.lastError != kNetfsOk || reply->size() < 36 || reply->size() - 36 < size) return std::nullopt;
  DirectoryListing listing;
  listing.content.assign(reply->begin() + 36, reply->begin() + 36 + size);
  return listing;
}

std::uint32_t NetFS_GetFileSize(NetFSHandle* handle, const char* path) {
  auto reply = PathCall(handle, kRequestFileSize, path);
  if (!reply) return 0;
  gStore.lastError = WordAt(*reply, 32);
  return gStore.lastError == kNetfsOk ? WordAt(*reply, 28) : 0;
}

int NetFS_Disconnect(NetFSHandle* handle) {
  if (BeginCall()) Transact(NewRequest(kRequestDisconnect, 28, handle));
  return 1;
}

std::optional<DirectoryEntry> NetFS_GetEntry(NetFSHandle* handle, const char* path) {
  auto reply = PathCall(handle, kRequestGetEntry, path);
  if (!reply) return std::nullopt;
  gStore.lastError = WordAt(*reply, 336);
  if (gStore.lastError != kNetfsOk) return std::nullopt;
  DirectoryEntry entry;
  std::memcpy(&entry, reply->data() + 28, sizeof entry);
  return entry;
}

void NetFS_BroadcastNotification(NetFSHandle* handle, const void* data, std::uint32_t size) {
  if (!BeginCall()) return;
  ByteBuffer request = NewRequest(kRequestBroadcast, 28 + size, handle);
  if (size) std::memcpy(request.data() + 28, data, size);
  auto reply = Transact(request);
  if (reply) gStore.lastError = WordAt(*reply, 28);
}

int NetFS_Rename(NetFSHandle* handle, const char* path, const char* newName) {
  if (!BeginCall()) return 0;
  const std::size_t nameLength = newName ? std::strlen(newName) : 0;
  ByteBuffer request = NewRequest(kRequestRename, 28 + kRequestPathSize + nameLength + 1, handle);
  if (!PutPath(request, 28, path)) {
    gStore.lastError = kNetfsPathNotFound;
    return 0;
  }
  if (nameLength) std::memcpy(request.data() + 28 + kRequestPathSize, newName, nameLength);
  return StatusResult(Transact(request));
}

int NetFS_WriteFile(NetFSHandle* handle, const char* path, const void* content, std::uint32_t size) {
  if (!BeginCall()) return 0;
  const ByteBuffer stored = MakeStoredObject(content, size);
  ByteBuffer request = NewRequest(kRequestWriteFile, 32 + kRequestPathSize + stored.size(), handle);
  if (!PutPath(request, 28, path)) {
    gStore.lastError = kNetfsPathNotFound;
    return 0;
  }
  PutWord(request, 28 + kRequestPathSize, static_cast<std::uint32_t>(stored.size()));
  std::memcpy(request.data() + 32 + kRequestPathSize, stored.data(), stored.size());
  return StatusResult(Transact(request));
}

std::uint32_t NetFS_GetLastError() { return gStore.lastError; }
std::uint32_t NetFS_GetLastSaveSystemError() { return gStore.lastSaveSystemError; }
void NetFS_SetLastError(std::uint32_t code) { gStore.lastError = code; }
void NetFS_SetLastErrorMissing() { gStore.lastError = kNetfsFileMissing; }

void NetFS_RegisterNotificationHandler(std::uint32_t code, NetFSNotificationHandler handler) {
  gStore.handlers[code] = handler;
}

void NetFS_SetRetryInterval(std::uint32_t milliseconds) { gStore.retryInterval = milliseconds; }
void NetFS_DropRequestsForTests(std::uint32_t code, std::uint32_t count) {
  gStore.droppedCode = code;
  gStore.droppedCount = count;
}
