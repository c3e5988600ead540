#include "store/netfs_format.h"

#include <zlib.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <unordered_map>
#include <unordered_set>

#include "platform/reset_hooks.h"
#include "platform/text_case.h"
#include "store/seams.h"

namespace {

struct CodecSettings {
  bool compressionEnabled = true;
  int compressionLevel = 1;
  int numberOfBackups = 4;
};
CodecSettings gCodec;
NetfsTraceSink gTraceSink = nullptr;

void ResetNetfsFormatGlobals() {
  gCodec = CodecSettings{};
  gTraceSink = nullptr;
}
const bool gRegistered = pl3::RegisterGlobalReset(&ResetNetfsFormatGlobals);

void SetError(std::string* error, const std::string& text) {
  if (error) *error = text;
}

// zlib's deflate cannot expand one byte of input into more than about 1032
// bytes; a raw length beyond that bound is a damaged header, and trusting it
// would allocate up to 4 GiB for a few bytes of input.
constexpr std::uint64_t kMaxInflateRatio = 1040;

}  // namespace

// ---- Hash ----------------------------------------------------------------

std::uint32_t Crc32Update(std::uint32_t value, const void* bytes, std::size_t length) {
  // zlib's crc32 inverts on entry and on exit; our hash does neither.
  uLong crc = ~value & 0xFFFFFFFFu;
  const auto* p = static_cast<const Bytef*>(bytes);
  while (length > 0) {
    const uInt chunk = static_cast<uInt>(std::min<std::size_t>(length, 1u << 30));
    crc = crc32(crc, p, chunk);
    p += chunk;
    length -= chunk;
  }
  return ~static_cast<std::uint32_t>(crc);
}

std::uint32_t Crc32(const void* text, std::size_t length) { return Crc32Update(0xFFFFFFFFu, text, length); }

std::uint32_t PasswordHash(std::string_view password) {
  return password.empty() ? 0 : Crc32(password.data(), password.size());
}

// ---- Stored objects ---------------------------------------------------------

void SetCompression(bool enabled, int level) {
  gCodec.compressionEnabled = enabled;
  if (level >= 1 && level <= 9) gCodec.compressionLevel = level;
}
void SetNumberOfBackups(int count) { gCodec.numberOfBackups = count; }
bool CompressionEnabled() { return gCodec.compressionEnabled; }
int CompressionLevel() { return gCodec.compressionLevel; }
int NumberOfBackups() { return gCodec.numberOfBackups; }

bool DecompressStoredFile(ByteBuffer& buffer, std::string* error) {
  ByteBuffer stored;
  stored.swap(buffer);
  if (stored.size() < sizeof(StoredObjectHeader)) {
    SetError(error, "stored object shorter than its header");
    return false;
  }
  StoredObjectHeader head;
  std::memcpy(&head, stored.data(), sizeof head);
  const std::size_t available = stored.size() - sizeof head;
  if (head.storedLength == kStoredRawMarker) {
    if (head.rawLength > available) {
      SetError(error, "stored object's raw content runs past its end");
      return false;
    }
    buffer.assign(stored.begin() + sizeof head, stored.begin() + sizeof head + head.rawLength);
    return true;
  }
  if (head.storedLength > available) {
    SetError(error, "stored object's compressed data runs past its end");
    return false;
  }
  if (head.rawLength > static_cast<std::uint64_t>(head.storedLength) * kMaxInflateRatio + 1024) {
    SetError(error, "stored object's raw length does not fit its compressed data");
    return false;
  }
  buffer.assign(head.rawLength, 0);
  uLongf produced = head.rawLength;
  const int rc = uncompress(buffer.data(), &produced, stored.data() + sizeof head, head.storedLength);
  if (rc != Z_OK) {
    char text[64];
    std::snprintf(text, sizeof text, "decompress failure %d", rc);
    ShowMessage(nullptr, text, "Pelmora3");
    SetError(error, text);
    buffer.clear();
    return false;
  }
  // A stream that ends before the raw length leaves the rest zero, as the
  // buffer was made.
  return true;
}

ByteBuffer MakeStoredObject(const void* raw, std::size_t length) {
  const auto capacity = static_cast<std::size_t>(static_cast<double>(length) * 1.1 + 12.0);
  ByteBuffer out(capacity + sizeof(StoredObjectHeader), 0);
  StoredObjectHeader head{static_cast<std::uint32_t>(length), kStoredRawMarker};
  if (gCodec.compressionEnabled) {
    uLongf compressed = capacity;
    if (compress2(out.data() + sizeof head, &compressed, static_cast<const Bytef*>(raw), length,
                  gCodec.compressionLevel) == Z_OK) {
      head.storedLength = static_cast<std::uint32_t>(compressed);
      std::memcpy(out.data(), &head, sizeof head);
      out.resize(compressed + sizeof head);
      return out;
    }
  }
  std::memcpy(out.data(), &head, sizeof head);
  if (length) std::memcpy(out.data() + sizeof head, raw, length);
  out.resize(length + sizeof head);
  return out;
}

void CompressStoredFile(ByteBuffer& buffer) { buffer = MakeStoredObject(buffer.data(), buffer.size()); }

// ---- Paths --------------------------------------------------------------------


std::string_view EntryName(const DirectoryEntry& entry) {
  return std::string_view(entry.name, strnlen(entry.name, sizeof entry.name));
}

int CountPathComponents(std::string_view path) {
  if (path.empty() || path[0] != '\\') return 0;
  if (path.size() == 1) return 1;
  return 1 + static_cast<int>(std::count(path.begin() + 1, path.end(), '\\'));
}

std::optional<std::string> GetPathComponent(std::string_view path, int n) {
  const int count = CountPathComponents(path);
  if (count == 0 || n < 0 || n > count) return std::nullopt;
  if (n == 0) return std::string("\\");
  std::size_t start = 1;
  for (int i = 1; i < n; ++i) start = path.find('\\', start) + 1;
  const std::size_t end = path.find('\\', start);
  return std::string(path.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
}

std::string GetParentPath(std::string_view path) {
  std::string parent = "\\";
  const int count = CountPathComponents(path);
  for (int i = 1; i < count; ++i) {
    parent += *GetPathComponent(path, i);
    parent += '\\';
  }
  return parent;
}

void SplitNameAndType(std::string_view text, std::string* name, std::string* type) {
  const std::size_t q = text.find('?');
  if (name) *name = std::string(text.substr(0, q));
  if (type) *type = q == std::string_view::npos ? std::string() : std::string(text.substr(q + 1));
}

std::string TrimPathComponents(std::string_view directoryPath, int n) {
  std::string path(directoryPath);
  if (path.empty() || path.front() != '\\' || path.back() != '\\') return path;
  for (int i = 0; i < n && path.size() > 1; ++i) {
    path.pop_back();
    path.erase(path.rfind('\\') + 1);
  }
  return path;
}

// ---- Trace --------------------------------------------------------------------

void SetNetfsTraceSink(NetfsTraceSink sink) { gTraceSink = sink; }

void NetfsTrace(const char* format, ...) {
  if (!gTraceSink) return;
  char line[8192];
  va_list args;
  va_start(args, format);
  std::vsnprintf(line, sizeof line, format, args);
  va_end(args);
  gTraceSink(line);
}

// ---- Reading ------------------------------------------------------------------

std::uint32_t DirectoryListing::Count() const {
  std::uint32_t n = 0;
  if (content.size() >= 4) std::memcpy(&n, content.data(), 4);
  return n;
}

const DirectoryEntry& DirectoryListing::Entry(std::uint32_t index) const {
  return *reinterpret_cast<const DirectoryEntry*>(content.data() + 4 + sizeof(DirectoryEntry) * index);
}

DirectoryEntry& DirectoryListing::Entry(std::uint32_t index) {
  return *reinterpret_cast<DirectoryEntry*>(content.data() + 4 + sizeof(DirectoryEntry) * index);
}

// ---- Folders read once ----------------------------------------------------------

// A folder's expanded content with its names indexed: the first entry of each
// name, and the first directory entry of each name, by case-folded name.
struct CachedDirectory {
  DirectoryListing listing;
  std::unordered_map<std::string, int> byName;
  std::unordered_map<std::string, int> directoryByName;

  int Find(std::string_view name, bool directoriesOnly) const {
    const auto& index = directoriesOnly ? directoryByName : byName;
    const auto it = index.find(pl3::LowerCopy(name));
    return it == index.end() ? -1 : it->second;
  }
};

// Without it every path resolution would read and expand each folder on its
// way again, and loading every item of a folder would cost the square of the
// folder's size. The container is only read between header reads.
struct NetfsDirectoryCache {
  std::unordered_map<std::uint32_t, std::shared_ptr<const CachedDirectory>> byBlock;
  std::size_t bytes = 0;
};

namespace {

// The most expanded folder bytes kept; past it the cache starts again.
constexpr std::size_t kMaxCachedDirectoryBytes = 64u << 20;

NetfsResult ReadIndexedDirectory(const NetfsVolume& volume, std::uint32_t firstBlock,
                                 std::shared_ptr<const CachedDirectory>& out, std::string* error) {
  NetfsDirectoryCache* cache = volume.directories.get();
  if (cache) {
    const auto it = cache->byBlock.find(firstBlock);
    if (it != cache->byBlock.end()) {
      out = it->second;
      return NetfsResult::Ok;
    }
  }
  auto read = std::make_shared<CachedDirectory>();
  if (NetfsReadDirectory(volume, firstBlock, 0, read->listing, error) != NetfsResult::Ok) return NetfsResult::Damaged;
  const std::uint32_t count = read->listing.Count();
  read->byName.reserve(count);
  for (std::uint32_t i = 0; i < count; ++i) {
    const DirectoryEntry& e = read->listing.Entry(i);
    std::string folded = pl3::LowerCopy(EntryName(e));
    if (e.flags & kDirectoryFlag) read->directoryByName.emplace(folded, static_cast<int>(i));
    read->byName.emplace(std::move(folded), static_cast<int>(i));
  }
  const std::size_t bytes = read->listing.content.size() + count * 64;
  if (cache && bytes <= kMaxCachedDirectoryBytes) {
    if (cache->bytes + bytes > kMaxCachedDirectoryBytes) *cache = NetfsDirectoryCache{};
    cache->bytes += bytes;
    cache->byBlock.emplace(firstBlock, read);
  }
  out = std::move(read);
  return NetfsResult::Ok;
}

}  // namespace

bool NetfsReadHeader(NetfsVolume& volume, std::string* error) {
  volume.directories = std::make_shared<NetfsDirectoryCache>();
  if (volume.fileSize < sizeof(ContainerHeader) || !volume.readAt(0, &volume.header, sizeof volume.header)) {
    SetError(error, "the file is too short to be a container");
    return false;
  }
  if (volume.header.magic != kContainerMagic) {
    SetError(error, "the file is not a container");
    return false;
  }
  return true;
}

bool NetfsLoadFat(NetfsVolume& volume, std::string* error) {
  const std::uint64_t b = volume.header.blockAreaStart;
  const std::uint64_t f = volume.header.fatBlockCount;
  // Every FAT block must lie in the file; this also bounds the FAT's size by
  // the file's, whatever the header claims.
  if (f == 0 || (b + kFatEntriesPerBlock * (f - 1) + 1) * kBlockSize > volume.fileSize) {
    SetError(error, "damaged container: its block table does not lie in the file");
    return false;
  }
  volume.fat.assign(f * kFatEntriesPerBlock, 0);
  for (std::uint64_t k = 0; k < f; ++k) {
    if (!volume.readAt((b + kFatEntriesPerBlock * k) * kBlockSize, volume.fat.data() + k * kFatEntriesPerBlock,
                       kBlockSize)) {
      SetError(error, "damaged container: its block table cannot be read");
      return false;
    }
  }
  return true;
}

bool NetfsOpenVolume(NetfsVolume& volume, std::string* error) {
  return NetfsReadHeader(volume, error) && NetfsLoadFat(volume, error);
}

NetfsVolume NetfsVolumeFromMemory(const std::uint8_t* data, std::size_t size) {
  NetfsVolume volume;
  volume.fileSize = size;
  volume.readAt = [data, size](std::uint64_t offset, void* into, std::size_t length) {
    if (offset > size || length > size - offset) return false;
    if (length) std::memcpy(into, data + offset, length);
    return true;
  };
  return volume;
}

namespace {

// The blocks of a chain, in order; damaged when it loops or leaves the FAT.
NetfsResult WalkChain(const NetfsVolume& volume, std::uint32_t firstBlock, std::vector<std::uint32_t>& blocks,
                      std::string* error) {
  blocks.clear();
  const std::size_t entries = volume.fat.size();
  std::uint32_t block = firstBlock;
  if (block == kFatFree || block >= entries) {
    SetError(error, "damaged container: a chain starts outside the block table");
    return NetfsResult::Damaged;
  }
  for (;;) {
    if (blocks.size() >= entries) {
      SetError(error, "damaged container: a block chain loops");
      return NetfsResult::Damaged;
    }
    blocks.push_back(block);
    const std::uint32_t next = volume.fat[block];
    if (next == kFatEndOfChain) return NetfsResult::Ok;
    if (next == kFatFree || next >= entries) {
      SetError(error, "damaged container: a block chain leaves the block table");
      return NetfsResult::Damaged;
    }
    block = next;
  }
}

constexpr std::uint32_t kWholeChain = 0xFFFFFFFF;

}  // namespace

NetfsResult NetfsReadChain(const NetfsVolume& volume, std::uint32_t firstBlock, std::uint32_t size,
                           ByteBuffer& out, std::string* error) {
  std::vector<std::uint32_t> blocks;
  if (WalkChain(volume, firstBlock, blocks, error) != NetfsResult::Ok) return NetfsResult::Damaged;
  const std::uint64_t chainBytes = static_cast<std::uint64_t>(blocks.size()) * kBlockSize;
  std::uint64_t want = size == kWholeChain ? chainBytes : size;
  if (want > chainBytes) {
    SetError(error, "damaged container: a file is longer than its block chain");
    return NetfsResult::Damaged;
  }
  if (size == kWholeChain) {
    // Only the part of the last block that lies in the file counts.
    const std::uint64_t last = (volume.header.blockAreaStart + std::uint64_t{blocks.back()}) * kBlockSize;
    if (last < volume.fileSize && volume.fileSize - last < kBlockSize) want -= kBlockSize - (volume.fileSize - last);
  }
  out.assign(want, 0);
  // Read runs of consecutive blocks with one call each.
  std::uint64_t done = 0;
  for (std::size_t i = 0; i < blocks.size() && done < want;) {
    std::size_t run = 1;
    while (i + run < blocks.size() && blocks[i + run] == blocks[i] + run) ++run;
    const std::uint64_t offset = (volume.header.blockAreaStart + std::uint64_t{blocks[i]}) * kBlockSize;
    const std::uint64_t length = std::min<std::uint64_t>(run * kBlockSize, want - done);
    if (!volume.readAt(offset, out.data() + done, length)) {
      SetError(error, "damaged container: a block chain runs past the end of the file");
      out.clear();
      return NetfsResult::Damaged;
    }
    done += length;
    i += run;
  }
  return NetfsResult::Ok;
}

NetfsResult NetfsReadDirectory(const NetfsVolume& volume, std::uint32_t firstBlock, std::uint32_t size,
                               DirectoryListing& out, std::string* error) {
  (void)size;  // A directory's own header says how much of its chain counts.
  if (NetfsReadChain(volume, firstBlock, kWholeChain, out.content, error) != NetfsResult::Ok)
    return NetfsResult::Damaged;
  std::string why;
  if (!DecompressStoredFile(out.content, &why)) {
    SetError(error, "damaged container: a directory cannot be expanded (" + why + ")");
    return NetfsResult::Damaged;
  }
  const std::uint32_t count = out.Count();
  if (out.content.size() < 4 || (out.content.size() - 4) / sizeof(DirectoryEntry) < count) {
    SetError(error, "damaged container: a directory holds fewer entries than it counts");
    return NetfsResult::Damaged;
  }
  out.content.resize(4 + sizeof(DirectoryEntry) * count);
  return NetfsResult::Ok;
}

NetfsResult NetfsReadRootDirectory(const NetfsVolume& volume, DirectoryListing& out, std::string* error) {
  return NetfsReadDirectory(volume, kRootDirectoryBlock, 0, out, error);
}

int FindDirectoryEntry(const DirectoryListing& listing, std::string_view name, bool directoriesOnly) {
  const std::uint32_t count = listing.Count();
  for (std::uint32_t i = 0; i < count; ++i) {
    const DirectoryEntry& e = listing.Entry(i);
    if (directoriesOnly && !(e.flags & kDirectoryFlag)) continue;
    if (pl3::EqualsNoCase(EntryName(e), name)) return static_cast<int>(i);
  }
  return -1;
}

namespace {

// Descends from the root over components 1 to count - 1 of a path.
NetfsResult DescendToParent(const NetfsVolume& volume, std::string_view path,
                            std::shared_ptr<const CachedDirectory>& directory, std::uint32_t& directoryBlock,
                            std::string* error) {
  const int count = CountPathComponents(path);
  if (count == 0) return NetfsResult::NotFound;
  if (ReadIndexedDirectory(volume, kRootDirectoryBlock, directory, error) != NetfsResult::Ok)
    return NetfsResult::Damaged;
  directoryBlock = kRootDirectoryBlock;
  for (int i = 1; i < count; ++i) {
    const int index = directory->Find(*GetPathComponent(path, i), true);
    if (index < 0) return NetfsResult::NotFound;
    const std::uint32_t block = directory->listing.Entry(static_cast<std::uint32_t>(index)).firstBlock;
    if (ReadIndexedDirectory(volume, block, directory, error) != NetfsResult::Ok) return NetfsResult::Damaged;
    directoryBlock = block;
  }
  return NetfsResult::Ok;
}

}  // namespace

NetfsResult NetfsResolvePath(const NetfsVolume& volume, std::string_view path, ResolvedEntry& out,
                             std::string* error) {
  std::shared_ptr<const CachedDirectory> directory;
  const NetfsResult r = DescendToParent(volume, path, directory, out.directoryBlock, error);
  if (r != NetfsResult::Ok) return r;
  out.directory = std::shared_ptr<const DirectoryListing>(directory, &directory->listing);
  if (path == "\\") {
    out.index = -1;
    return NetfsResult::Ok;
  }
  out.index = directory->Find(*GetPathComponent(path, CountPathComponents(path)), false);
  return out.index < 0 ? NetfsResult::NotFound : NetfsResult::Ok;
}

NetfsResult NetfsListDirectory(const NetfsVolume& volume, std::string_view path, DirectoryListing& out,
                               std::string* error) {
  std::uint32_t block = 0;
  std::shared_ptr<const CachedDirectory> directory;
  const NetfsResult r = DescendToParent(volume, path, directory, block, error);
  if (r == NetfsResult::Ok) out = directory->listing;
  return r;
}

NetfsResult NetfsReadFile(const NetfsVolume& volume, std::string_view path, ByteBuffer& storedObject,
                          DirectoryEntry* entry, std::string* error) {
  ResolvedEntry resolved;
  const NetfsResult r = NetfsResolvePath(volume, path, resolved, error);
  if (r != NetfsResult::Ok) return r;
  if (resolved.index < 0) return NetfsResult::NotFound;
  const DirectoryEntry& e = resolved.Entry();
  if (entry) *entry = e;
  return NetfsReadChain(volume, e.firstBlock, e.size, storedObject, error);
}

NetfsResult NetfsReadFileContent(const NetfsVolume& volume, std::string_view path, ByteBuffer& content,
                                 std::string* error) {
  const NetfsResult r = NetfsReadFile(volume, path, content, nullptr, error);
  if (r != NetfsResult::Ok) return r;
  std::string why;
  if (!DecompressStoredFile(content, &why)) {
    SetError(error, "damaged container: " + std::string(path) + " cannot be expanded (" + why + ")");
    return NetfsResult::Damaged;
  }
  return NetfsResult::Ok;
}

namespace {

template <typename Record>
bool ParseCountedRecords(const ByteBuffer& content, std::vector<Record>& records, const char* what,
                         std::string* error) {
  records.clear();
  std::uint32_t count = 0;
  if (content.size() >= 4) std::memcpy(&count, content.data(), 4);
  if (content.size() < 4 || (content.size() - 4) / sizeof(Record) < count) {
    SetError(error, std::string("damaged container: the ") + what + " file is shorter than its count");
    return false;
  }
  records.resize(count);
  if (count) std::memcpy(records.data(), content.data() + 4, sizeof(Record) * count);
  for (Record& r : records) {
    // Names are NUL-terminated within their fields, whatever the file holds.
    if constexpr (std::is_same_v<Record, UserRecord>) r.name[sizeof r.name - 1] = 0;
    else r.pathPrefix[sizeof r.pathPrefix - 1] = 0;
  }
  return true;
}

}  // namespace

bool ParseUsers(const ByteBuffer& content, std::vector<UserRecord>& users, std::string* error) {
  return ParseCountedRecords(content, users, "users", error);
}

bool ParsePermissions(const ByteBuffer& content, std::vector<PermissionRecord>& permissions, std::string* error) {
  return ParseCountedRecords(content, permissions, "permissions", error);
}

// ---- FAT consistency check ----------------------------------------------------

namespace {

// Paths of every file and directory by first block, found depth-first; the
// first path found for a block wins. Each directory is read once, so
// directories that name each other cannot make the walk grow without bound.
void CollectChainHeads(const NetfsVolume& volume, const DirectoryListing& directory, const std::string& path,
                       int depth, std::unordered_map<std::uint32_t, std::string>& heads,
                       std::unordered_set<std::uint32_t>& readDirectories) {
  if (depth > 64) return;
  for (std::uint32_t i = 0; i < directory.Count(); ++i) {
    const DirectoryEntry& e = directory.Entry(i);
    char full[8192];
    std::snprintf(full, sizeof full, "%s\\%.*s", path.c_str(), static_cast<int>(EntryName(e).size()),
                  EntryName(e).data());
    heads.emplace(e.firstBlock, full);
    if ((e.flags & kDirectoryFlag) && readDirectories.insert(e.firstBlock).second) {
      DirectoryListing sub;
      if (NetfsReadDirectory(volume, e.firstBlock, e.size, sub, nullptr) == NetfsResult::Ok)
        CollectChainHeads(volume, sub, full, depth + 1, heads, readDirectories);
    }
  }
}

constexpr std::uint32_t kNoBlock = 0xFFFFFFFF;

// The FAT's entries grouped by the block they name, built in one pass: for
// every named block the entries naming it, in ascending order.
struct FatReferrers {
  std::vector<std::uint32_t> slotOf;     // per FAT entry: its successor's slot, or kNoBlock
  std::vector<std::uint32_t> start;      // per slot: where its referrers begin in `referrers`
  std::vector<std::uint32_t> referrers;  // FAT entries, grouped by slot, ascending within one
  std::vector<std::uint32_t> rank;       // per FAT entry: its place among its slot's referrers

  explicit FatReferrers(const std::vector<std::uint32_t>& fat) {
    const std::size_t n = fat.size();
    // Blocks inside the FAT are their own slots; values beyond it that
    // entries still name get slots after them.
    std::unordered_map<std::uint32_t, std::uint32_t> outside;
    slotOf.assign(n, kNoBlock);
    for (std::size_t i = 0; i < n; ++i) {
      const std::uint32_t next = fat[i];
      if (next == kFatFree || next == kFatEndOfChain) continue;
      slotOf[i] = next < n ? next
                           : outside.emplace(next, static_cast<std::uint32_t>(n + outside.size())).first->second;
    }
    std::vector<std::uint32_t> count(n + outside.size() + 1, 0);
    for (std::uint32_t slot : slotOf)
      if (slot != kNoBlock) ++count[slot + 1];
    for (std::size_t k = 1; k < count.size(); ++k) count[k] += count[k - 1];
    start = count;
    referrers.resize(count.back());
    rank.assign(n, 0);
    for (std::uint32_t i = 0; i < n; ++i) {
      if (slotOf[i] == kNoBlock) continue;
      rank[i] = count[slotOf[i]] - start[slotOf[i]];
      referrers[count[slotOf[i]]++] = i;
    }
  }
  std::uint32_t Count(std::uint32_t slot) const { return start[slot + 1] - start[slot]; }
  // The first entry naming a block inside the FAT, or kNoBlock.
  std::uint32_t FirstReferrer(std::uint32_t block) const {
    return Count(block) ? referrers[start[block]] : kNoBlock;
  }
};

// The head of the chain each block lies on, found by stepping back to the
// first entry naming the block until no entry names it. Each block's head is
// found once. A walk that comes round to itself ends at the first block of
// the loop that begins a file, else at the first block of the loop it met.
struct ChainHeads {
  const FatReferrers& refs;
  const std::unordered_map<std::uint32_t, std::string>& files;
  std::vector<std::uint32_t> head;
  std::vector<std::uint8_t> onWalk;

  ChainHeads(const FatReferrers& r, const std::unordered_map<std::uint32_t, std::string>& f, std::size_t n)
      : refs(r), files(f), head(n, kNoBlock), onWalk(n, 0) {}

  std::uint32_t Of(std::uint32_t block) {
    std::vector<std::uint32_t> walk;
    std::uint32_t at = block;
    std::uint32_t found = kNoBlock;
    for (;;) {
      if (head[at] != kNoBlock) {
        found = head[at];
        break;
      }
      if (onWalk[at]) {
        const auto loop = std::find(walk.begin(), walk.end(), at);
        const auto file = std::find_if(loop, walk.end(), [&](std::uint32_t b) { return files.count(b) != 0; });
        found = file != walk.end() ? *file : at;
        break;
      }
      onWalk[at] = 1;
      walk.push_back(at);
      const std::uint32_t back = refs.FirstReferrer(at);
      if (back == kNoBlock) {
        found = at;
        break;
      }
      at = back;
    }
    for (std::uint32_t b : walk) {
      head[b] = found;
      onWalk[b] = 0;
    }
    return found;
  }
};

// Pairs reported at most; a FAT where many entries name one block would
// otherwise report a number of lines that grows with the square of them.
constexpr std::uint64_t kMaxReportedPairs = 1000;

}  // namespace

void CheckFatConsistency(const NetfsVolume& volume) {
  const std::size_t entries = volume.fat.size();
  const FatReferrers refs(volume.fat);
  std::uint64_t pairs = 0;
  for (std::uint32_t slot = 0; slot + 1 < refs.start.size(); ++slot) {
    const std::uint64_t k = refs.Count(slot);
    pairs += k * (k - 1) / 2;
  }
  if (pairs == 0) return;

  std::unordered_map<std::uint32_t, std::string> files;
  std::unordered_set<std::uint32_t> readDirectories{kRootDirectoryBlock};
  DirectoryListing root;
  if (NetfsReadRootDirectory(volume, root, nullptr) == NetfsResult::Ok)
    CollectChainHeads(volume, root, "", 0, files, readDirectories);
  files.emplace(kRootDirectoryBlock, "\\");
  ChainHeads heads(refs, files, entries);

  // Every pair of entries naming the same block, ordered by the pair's first
  // and then second entry: each entry with each later entry of its group.
  std::uint64_t reported = 0;
  for (std::uint32_t a = 0; a < entries && reported < kMaxReportedPairs; ++a) {
    const std::uint32_t slot = refs.slotOf[a];
    if (slot == kNoBlock) continue;
    const std::uint32_t end = refs.start[slot + 1];
    for (std::uint32_t q = refs.start[slot] + refs.rank[a] + 1; q < end && reported < kMaxReportedPairs; ++q) {
      for (std::uint32_t block : {a, refs.referrers[q]}) {
        auto it = files.find(heads.Of(block));
        NetfsTrace("netfs: fat block %d referenced from %d (%s)", static_cast<int>(volume.fat[block]),
                   static_cast<int>(block), it == files.end() ? "" : it->second.c_str());
      }
      ++reported;
    }
  }
  if (reported < pairs)
    NetfsTrace("netfs: %llu more pairs of fat entries name one block; not reported",
               static_cast<unsigned long long>(pairs - reported));
}
