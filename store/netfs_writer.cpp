#include "store/netfs_writer.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <ctime>
#include <set>

#include "platform/text_case.h"

namespace {

void SetError(std::string* error, const std::string& text) {
  if (error) *error = text;
}

bool ValidEntryName(std::string_view name) {
  return !name.empty() && name.size() < kEntryNameSize && name.find('\\') == std::string_view::npos &&
         name.find('\0') == std::string_view::npos;
}

NetfsTreeNode* FindChild(NetfsTreeNode& dir, std::string_view name) {
  for (NetfsTreeNode& c : dir.children)
    if (pl3::EqualsNoCase(c.name, name)) return &c;
  return nullptr;
}

// The components of a path below the root ("\a\b" gives a, b); empty for "\".
std::vector<std::string> Components(std::string_view path) {
  std::vector<std::string> parts;
  const int count = CountPathComponents(path);
  if (path == "\\") return parts;
  for (int i = 1; i <= count; ++i) parts.push_back(*GetPathComponent(path, i));
  return parts;
}

// Loading is bounded: a directory reached twice (a loop through the entries)
// or a tree deeper than any path can name is a damaged container.
constexpr int kMaxTreeDepth = 128;

NetfsResult LoadDirectory(const NetfsVolume& volume, const DirectoryListing& listing, NetfsTreeNode& into,
                          int depth, std::set<std::uint32_t>& seen, std::string* error) {
  if (depth > kMaxTreeDepth) {
    SetError(error, "damaged container: its folders nest too deep");
    return NetfsResult::Damaged;
  }
  for (std::uint32_t i = 0; i < listing.Count(); ++i) {
    const DirectoryEntry& e = listing.Entry(i);
    NetfsTreeNode node;
    node.name = std::string(EntryName(e));
    node.directory = (e.flags & kDirectoryFlag) != 0;
    node.modified = e.modified;
    if (node.directory) {
      if (!seen.insert(e.firstBlock).second) {
        SetError(error, "damaged container: a folder is listed twice");
        return NetfsResult::Damaged;
      }
      DirectoryListing sub;
      if (NetfsReadDirectory(volume, e.firstBlock, e.size, sub, error) != NetfsResult::Ok ||
          LoadDirectory(volume, sub, node, depth + 1, seen, error) != NetfsResult::Ok)
        return NetfsResult::Damaged;
    } else if (NetfsReadChain(volume, e.firstBlock, e.size, node.stored, error) != NetfsResult::Ok) {
      return NetfsResult::Damaged;
    }
    into.children.push_back(std::move(node));
  }
  return NetfsResult::Ok;
}

// Lays out blocks: block 0 and every 1024th block hold the FAT, block 1 the
// start of the root directory, the rest is handed out in order.
struct ImageBuilder {
  ByteBuffer area;  // block n at n * 4096
  std::vector<std::uint32_t> fat;
  std::uint32_t nextBlock = 2;

  std::uint32_t TakeBlock() {
    if (nextBlock % kFatEntriesPerBlock == 0) ++nextBlock;
    return nextBlock++;
  }

  void Reach(std::uint32_t block) {
    const std::size_t need = (static_cast<std::size_t>(block) + 1) * kBlockSize;
    if (area.size() < need) {
      if (area.capacity() < need) area.reserve(std::max(need, area.capacity() * 2));
      area.resize(need, 0);
    }
    if (fat.size() <= block) fat.resize(block + 1, kFatFree);
  }

  std::uint32_t Store(const ByteBuffer& object, std::uint32_t firstBlock) {
    const std::size_t blocks = std::max<std::size_t>(1, (object.size() + kBlockSize - 1) / kBlockSize);
    const std::uint32_t first = firstBlock ? firstBlock : TakeBlock();
    std::uint32_t block = first;
    for (std::size_t i = 0; i < blocks; ++i) {
      Reach(block);
      const std::size_t from = i * kBlockSize;
      const std::size_t n = std::min<std::size_t>(kBlockSize, object.size() - std::min(object.size(), from));
      if (n) std::memcpy(area.data() + static_cast<std::size_t>(block) * kBlockSize, object.data() + from, n);
      if (i + 1 < blocks) {
        const std::uint32_t next = TakeBlock();
        fat[block] = next;
        block = next;
      }
    }
    fat[block] = kFatEndOfChain;
    return first;
  }

  // Writes a directory's children, then the directory; returns {first block, size}.
  std::pair<std::uint32_t, std::uint32_t> StoreDirectory(const NetfsTreeNode& dir, std::uint32_t firstBlock) {
    const std::uint32_t count = static_cast<std::uint32_t>(dir.children.size());
    ByteBuffer content(4 + sizeof(DirectoryEntry) * count, 0);
    std::memcpy(content.data(), &count, 4);
    for (std::uint32_t i = 0; i < count; ++i) {
      const NetfsTreeNode& c = dir.children[i];
      DirectoryEntry e{};
      e.flags = c.directory ? kDirectoryFlag : 0;
      if (c.directory) {
        std::tie(e.firstBlock, e.size) = StoreDirectory(c, 0);
      } else {
        e.firstBlock = Store(c.stored, 0);
        e.size = static_cast<std::uint32_t>(c.stored.size());
      }
      e.modified = c.modified;
      // New names are shorter than the field; a name read from a container
      // that fills the field without its NUL is kept as the reader read it.
      std::memcpy(e.name, c.name.data(), std::min(c.name.size(), sizeof e.name));
      std::memcpy(content.data() + 4 + sizeof(DirectoryEntry) * i, &e, sizeof e);
    }
    const ByteBuffer stored = MakeStoredObject(content.data(), content.size());
    return {Store(stored, firstBlock), static_cast<std::uint32_t>(stored.size())};
  }
};

}  // namespace

NetfsTime NetfsNow() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  const std::tm local = *std::localtime(&seconds);
  NetfsTime t{};
  t.year = static_cast<std::uint16_t>(local.tm_year + 1900);
  t.month = static_cast<std::uint16_t>(local.tm_mon + 1);
  t.dayOfWeek = static_cast<std::uint16_t>(local.tm_wday);
  t.day = static_cast<std::uint16_t>(local.tm_mday);
  t.hour = static_cast<std::uint16_t>(local.tm_hour);
  t.minute = static_cast<std::uint16_t>(local.tm_min);
  t.second = static_cast<std::uint16_t>(local.tm_sec);
  t.milliseconds = static_cast<std::uint16_t>(ms);
  return t;
}

UserRecord MakeUserRecord(std::uint32_t userId, std::string_view name, std::string_view password) {
  UserRecord u{};
  u.userId = userId;
  u.passwordHash = PasswordHash(password);
  std::memcpy(u.name, name.data(), std::min(name.size(), sizeof u.name - 1));
  return u;
}

PermissionRecord MakePermissionRecord(std::uint32_t userId, std::uint32_t rights, std::string_view pathPrefix) {
  PermissionRecord p{};
  p.userId = userId;
  p.rights = rights;
  std::memcpy(p.pathPrefix, pathPrefix.data(), std::min(pathPrefix.size(), sizeof p.pathPrefix - 1));
  return p;
}

namespace {

template <typename Record>
ByteBuffer CountedContent(const std::vector<Record>& records) {
  const std::uint32_t count = static_cast<std::uint32_t>(records.size());
  ByteBuffer content(4 + sizeof(Record) * count);
  std::memcpy(content.data(), &count, 4);
  if (count) std::memcpy(content.data() + 4, records.data(), sizeof(Record) * count);
  return content;
}

}  // namespace

NetfsTreeNode NetfsNewTree(const std::vector<UserRecord>& users, const std::vector<PermissionRecord>& permissions) {
  NetfsTreeNode root;
  root.directory = true;
  const ByteBuffer u = CountedContent(users);
  const ByteBuffer p = CountedContent(permissions);
  NetfsTreePutContent(root, std::string("\\") + kUsersFileName, u.data(), u.size());
  NetfsTreePutContent(root, std::string("\\") + kPermissionsFileName, p.data(), p.size());
  return root;
}

NetfsTreeNode NetfsNewTreeForUser(std::string_view user, std::string_view password) {
  return NetfsNewTree({MakeUserRecord(1, user, password)},
                      {MakePermissionRecord(1, kRightRead | kRightWrite | kRightCreate | kRightReserved, "\\")});
}

NetfsResult NetfsLoadTree(const NetfsVolume& volume, NetfsTreeNode& root, std::string* error) {
  root = NetfsTreeNode{};
  root.directory = true;
  DirectoryListing listing;
  if (NetfsReadRootDirectory(volume, listing, error) != NetfsResult::Ok) return NetfsResult::Damaged;
  std::set<std::uint32_t> seen{kRootDirectoryBlock};
  return LoadDirectory(volume, listing, root, 0, seen, error);
}

NetfsTreeNode* NetfsTreeFind(NetfsTreeNode& root, std::string_view path) {
  if (CountPathComponents(path) == 0) return nullptr;
  NetfsTreeNode* node = &root;
  for (const std::string& part : Components(path)) {
    if (!node->directory || !(node = FindChild(*node, part))) return nullptr;
  }
  return node;
}

namespace {

// The directory that is to hold the last component, made on the way when missing.
NetfsTreeNode* MakeParents(NetfsTreeNode& root, const std::vector<std::string>& parts) {
  NetfsTreeNode* dir = &root;
  for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
    if (!ValidEntryName(parts[i])) return nullptr;
    NetfsTreeNode* next = FindChild(*dir, parts[i]);
    if (!next) {
      NetfsTreeNode made;
      made.name = parts[i];
      made.directory = true;
      made.modified = NetfsNow();
      dir->children.push_back(std::move(made));
      next = &dir->children.back();
    }
    if (!next->directory) return nullptr;
    dir = next;
  }
  return dir;
}

}  // namespace

bool NetfsTreePutFile(NetfsTreeNode& root, std::string_view path, ByteBuffer storedObject) {
  if (CountPathComponents(path) == 0) return false;
  const std::vector<std::string> parts = Components(path);
  if (parts.empty() || !ValidEntryName(parts.back())) return false;
  NetfsTreeNode* dir = MakeParents(root, parts);
  if (!dir) return false;
  NetfsTreeNode* file = FindChild(*dir, parts.back());
  if (file && file->directory) return false;
  if (!file) {
    dir->children.push_back(NetfsTreeNode{});
    file = &dir->children.back();
    file->name = parts.back();
  }
  file->stored = std::move(storedObject);
  file->modified = NetfsNow();
  return true;
}

bool NetfsTreePutContent(NetfsTreeNode& root, std::string_view path, const void* raw, std::size_t length) {
  return NetfsTreePutFile(root, path, MakeStoredObject(raw, length));
}

bool NetfsTreeMakeDirectory(NetfsTreeNode& root, std::string_view path) {
  if (CountPathComponents(path) == 0) return false;
  std::vector<std::string> parts = Components(path);
  if (!parts.empty() && parts.back().empty()) parts.pop_back();  // "\a\" names folder a
  if (parts.empty()) return true;
  if (!ValidEntryName(parts.back())) return false;
  NetfsTreeNode* dir = MakeParents(root, parts);
  if (!dir) return false;
  if (NetfsTreeNode* existing = FindChild(*dir, parts.back())) return existing->directory;
  NetfsTreeNode made;
  made.name = parts.back();
  made.directory = true;
  made.modified = NetfsNow();
  dir->children.push_back(std::move(made));
  return true;
}

int NetfsTreeRename(NetfsTreeNode& root, std::string_view path, std::string_view newName) {
  const std::vector<std::string> parts = Components(path);
  if (parts.empty()) return 3;
  std::string parentPath = GetParentPath(path);
  NetfsTreeNode* dir = NetfsTreeFind(root, parentPath == "\\" ? "\\" : std::string_view(parentPath).substr(0, parentPath.size() - 1));
  NetfsTreeNode* entry = dir ? FindChild(*dir, parts.back()) : nullptr;
  if (!entry) return 3;
  if (!pl3::EqualsNoCase(entry->name, newName) && FindChild(*dir, newName)) return 15;
  if (!ValidEntryName(newName)) return 4;
  entry->name = std::string(newName);
  return 0;
}

bool NetfsTreeDelete(NetfsTreeNode& root, std::string_view path) {
  const std::vector<std::string> parts = Components(path);
  if (parts.empty()) return false;
  std::string parentPath = GetParentPath(path);
  NetfsTreeNode* dir = NetfsTreeFind(root, parentPath == "\\" ? "\\" : std::string_view(parentPath).substr(0, parentPath.size() - 1));
  if (!dir) return false;
  auto it = std::find_if(dir->children.begin(), dir->children.end(),
                         [&](const NetfsTreeNode& c) { return pl3::EqualsNoCase(c.name, parts.back()); });
  if (it == dir->children.end()) return false;
  dir->children.erase(it);
  return true;
}

ByteBuffer NetfsBuildImage(const NetfsTreeNode& root) {
  ImageBuilder b;
  b.Reach(kRootDirectoryBlock);
  b.StoreDirectory(root, kRootDirectoryBlock);
  const std::uint32_t lastBlock = b.nextBlock - 1;
  const std::uint32_t fatBlocks = lastBlock / kFatEntriesPerBlock + 1;
  b.Reach(lastBlock);
  b.fat.resize(static_cast<std::size_t>(fatBlocks) * kFatEntriesPerBlock, kFatFree);
  for (std::uint32_t k = 0; k < fatBlocks; ++k) {
    b.fat[k * kFatEntriesPerBlock] = kFatEndOfChain;
  }
  for (std::uint32_t k = 0; k < fatBlocks; ++k) {
    std::memcpy(b.area.data() + static_cast<std::size_t>(k) * kFatEntriesPerBlock * kBlockSize,
                b.fat.data() + static_cast<std::size_t>(k) * kFatEntriesPerBlock, kBlockSize);
  }
  ContainerHeader header{};
  header.magic = kContainerMagic;
  header.blockAreaStart = 1;
  header.fatBlockCount = fatBlocks;
  // Header block, then the block area, in one buffer sized once.
  const std::size_t areaBytes = (static_cast<std::size_t>(lastBlock) + 1) * kBlockSize;
  ByteBuffer image(kBlockSize + areaBytes, 0);
  std::memcpy(image.data(), &header, sizeof header);
  std::memcpy(image.data() + kBlockSize, b.area.data(), areaBytes);
  return image;
}
