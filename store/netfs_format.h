// The netfs container format of project (".p3p") and library (".p3l") files:
// a 40-byte header, an area of 4096-byte blocks chained through a block
// allocation table (FAT), directories of 308-byte entries, and stored objects
// compressed with zlib one by one. All integers are little-endian; names and
// paths inside a container compare without regard to case (ASCII).
//
// This file holds the record layouts, the stored-object codec, the password
// hash, the path rules and the reader. The reader never trusts the file: every
// chain walk is bounded by the FAT, every length by what remains, and a damaged
// container gives a clear error text instead of a crash.
#pragma once
#include <bit>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

static_assert(std::endian::native == std::endian::little, "container records are read in place");

constexpr std::uint32_t kContainerMagic = 0xABCDEF1A;
constexpr std::uint32_t kBlockSize = 4096;
constexpr std::uint32_t kFatEntriesPerBlock = 1024;
constexpr std::uint32_t kFatEndOfChain = 0xFFFFFFFF;
constexpr std::uint32_t kFatFree = 0;
constexpr std::uint32_t kRootDirectoryBlock = 1;
constexpr std::uint32_t kStoredRawMarker = 0xFFFEFBFC;
constexpr std::uint32_t kDirectoryFlag = 1;
constexpr std::uint32_t kEveryUser = 0xFFFFFFFF;
constexpr std::size_t kEntryNameSize = 260;

// Rights of a permission record.
constexpr std::uint32_t kRightRead = 1;
constexpr std::uint32_t kRightWrite = 2;
constexpr std::uint32_t kRightCreate = 4;
constexpr std::uint32_t kRightReserved = 8;

constexpr const char* kUsersFileName = "users?system";
constexpr const char* kPermissionsFileName = "permissions?system";

#pragma pack(push, 1)
struct ContainerHeader {
  std::uint32_t magic;
  std::uint32_t reserved0;
  std::uint32_t blockAreaStart;  // B, in units of 4096 bytes
  std::uint32_t fatBlockCount;   // F
  std::uint8_t reserved1[16];
  std::uint32_t serverWord;      // kept in memory by the store; never read from the file
  std::uint32_t handleNumber;
};

struct StoredObjectHeader {
  std::uint32_t rawLength;
  std::uint32_t storedLength;  // or kStoredRawMarker
};

// Eight uint16: year, month, day of week, day, hour, minute, second, milliseconds.
struct NetfsTime {
  std::uint16_t year;
  std::uint16_t month;
  std::uint16_t dayOfWeek;
  std::uint16_t day;
  std::uint16_t hour;
  std::uint16_t minute;
  std::uint16_t second;
  std::uint16_t milliseconds;
};

struct DirectoryEntry {
  std::uint32_t flags;  // bit 0: a directory
  std::uint32_t reserved0;
  std::uint32_t firstBlock;
  std::uint32_t size;  // stored object header plus stored data
  std::uint8_t reserved1[16];
  NetfsTime modified;
  char name[kEntryNameSize];
};

struct UserRecord {
  std::uint32_t reserved;
  std::uint32_t userId;
  std::uint32_t passwordHash;
  char name[124];
};

struct PermissionRecord {
  std::uint32_t userId;  // or kEveryUser
  std::uint32_t rights;
  char pathPrefix[4096];
};
#pragma pack(pop)

static_assert(sizeof(ContainerHeader) == 40);
static_assert(offsetof(ContainerHeader, blockAreaStart) == 8);
static_assert(offsetof(ContainerHeader, fatBlockCount) == 12);
static_assert(offsetof(ContainerHeader, serverWord) == 32);
static_assert(sizeof(StoredObjectHeader) == 8);
static_assert(sizeof(NetfsTime) == 16);
static_assert(sizeof(DirectoryEntry) == 308);
static_assert(offsetof(DirectoryEntry, firstBlock) == 8);
static_assert(offsetof(DirectoryEntry, size) == 12);
static_assert(offsetof(DirectoryEntry, modified) == 32);
static_assert(offsetof(DirectoryEntry, name) == 48);
static_assert(sizeof(UserRecord) == 136);
static_assert(offsetof(UserRecord, name) == 12);
static_assert(sizeof(PermissionRecord) == 4104);
static_assert(offsetof(PermissionRecord, pathPrefix) == 8);

using ByteBuffer = std::vector<std::uint8_t>;

// ---- Hash ----------------------------------------------------------------

// The 32-bit hash of `length` bytes: CRC-32 table steps from 0xFFFFFFFF with
// no final inversion.
std::uint32_t Crc32(const void* text, std::size_t length);
std::uint32_t Crc32Update(std::uint32_t value, const void* bytes, std::size_t length);
// The hash a log-on sends: 0 for an empty password, else Crc32 of its bytes.
std::uint32_t PasswordHash(std::string_view password);

// ---- Stored objects ---------------------------------------------------------

// Replaces a buffer holding a stored object by its raw content. Returns false
// (after showing "decompress failure %d") when zlib fails, and false with a
// damage text when the lengths do not fit the buffer; the buffer is then
// left empty and must not be parsed.
bool DecompressStoredFile(ByteBuffer& buffer, std::string* error = nullptr);
// Turns raw content into a stored object with the current settings.
void CompressStoredFile(ByteBuffer& buffer);
ByteBuffer MakeStoredObject(const void* raw, std::size_t length);

void SetCompression(bool enabled, int level);
void SetNumberOfBackups(int count);
bool CompressionEnabled();
int CompressionLevel();
int NumberOfBackups();

// ---- Paths --------------------------------------------------------------------

int CountPathComponents(std::string_view path);
std::optional<std::string> GetPathComponent(std::string_view path, int n);
std::string GetParentPath(std::string_view path);
void SplitNameAndType(std::string_view text, std::string* name, std::string* type);
std::string TrimPathComponents(std::string_view directoryPath, int n);
// The name of a directory entry, bounded by its field.
std::string_view EntryName(const DirectoryEntry& entry);

// ---- Reading ------------------------------------------------------------------

// Reads `length` bytes at `offset`; false when they are not all there.
using NetfsReadAt = std::function<bool(std::uint64_t offset, void* into, std::size_t length)>;

struct NetfsDirectoryCache;

struct NetfsVolume {
  ContainerHeader header{};
  std::vector<std::uint32_t> fat;  // F x 1024 entries
  std::uint64_t fileSize = 0;
  NetfsReadAt readAt;
  // Folders already read and expanded while resolving paths, by first block,
  // with an index of their names. Reading the header again (opening, or
  // reopening after a save) starts it empty.
  std::shared_ptr<NetfsDirectoryCache> directories;
};

// Expanded directory content: uint32 count, then the entries.
struct DirectoryListing {
  ByteBuffer content;
  std::uint32_t Count() const;
  const DirectoryEntry& Entry(std::uint32_t index) const;
  DirectoryEntry& Entry(std::uint32_t index);
};

struct ResolvedEntry {
  std::shared_ptr<const DirectoryListing> directory;  // the directory that holds the entry
  int index = -1;                                     // -1 for "\" itself
  std::uint32_t directoryBlock = kRootDirectoryBlock;
  const DirectoryEntry& Entry() const { return directory->Entry(static_cast<std::uint32_t>(index)); }
};

enum class NetfsResult { Ok, NotFound, Damaged };

// Header and FAT; false with an error text when the file is not a container
// (wrong magic or too short) or its FAT does not lie in the file.
bool NetfsReadHeader(NetfsVolume& volume, std::string* error);
bool NetfsLoadFat(NetfsVolume& volume, std::string* error);
bool NetfsOpenVolume(NetfsVolume& volume, std::string* error);
// A memory image as a volume (tests, the fuzzer, the writer's own checks).
NetfsVolume NetfsVolumeFromMemory(const std::uint8_t* data, std::size_t size);

// The stored object of a chain, its first `size` bytes. Damaged when the
// chain loops, leaves the FAT or the file, or is shorter than `size`.
NetfsResult NetfsReadChain(const NetfsVolume& volume, std::uint32_t firstBlock, std::uint32_t size,
                           ByteBuffer& out, std::string* error);
NetfsResult NetfsReadDirectory(const NetfsVolume& volume, std::uint32_t firstBlock, std::uint32_t size,
                               DirectoryListing& out, std::string* error);
NetfsResult NetfsReadRootDirectory(const NetfsVolume& volume, DirectoryListing& out, std::string* error);
NetfsResult NetfsResolvePath(const NetfsVolume& volume, std::string_view path, ResolvedEntry& out,
                             std::string* error);
NetfsResult NetfsListDirectory(const NetfsVolume& volume, std::string_view path, DirectoryListing& out,
                               std::string* error);
// The stored object of a file, read whole.
NetfsResult NetfsReadFile(const NetfsVolume& volume, std::string_view path, ByteBuffer& storedObject,
                          DirectoryEntry* entry, std::string* error);
// The raw content of a file: read and expanded.
NetfsResult NetfsReadFileContent(const NetfsVolume& volume, std::string_view path, ByteBuffer& content,
                                 std::string* error);

// Finds an entry of a listing by name, ignoring case; -1 when none.
int FindDirectoryEntry(const DirectoryListing& listing, std::string_view name, bool directoriesOnly);

// Parsed system files.
bool ParseUsers(const ByteBuffer& content, std::vector<UserRecord>& users, std::string* error);
bool ParsePermissions(const ByteBuffer& content, std::vector<PermissionRecord>& permissions,
                      std::string* error);

// The FAT consistency check: reports every block named as successor by two
// FAT entries through the trace output. Changes nothing.
void CheckFatConsistency(const NetfsVolume& volume);

// Trace output of the container store ("netfs: ..." lines). By default the
// lines go nowhere; tests and diagnostics set a sink.
using NetfsTraceSink = void (*)(const char* line);
void SetNetfsTraceSink(NetfsTraceSink sink);
void NetfsTrace(const char* format, ...) __attribute__((format(printf, 1, 2)));
