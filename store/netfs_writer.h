// Writing netfs containers. A container is changed as a whole: it is read into
// a tree of directories and stored objects, the tree is edited, and a fresh
// image is laid out and written to a temporary file beside the original,
// flushed to disk, renamed over the original and the folder flushed, so that
// a crash at any moment leaves either the old container or the new one.
//
// Layout of an image: the 40-byte header at offset 0, the block area from
// offset 4096 (B = 1), FAT block k at block 1024 k (marked end-of-chain in
// the FAT), the root directory's chain starting at block 1, every file and
// directory a stored object with its 8-byte header.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "store/netfs_format.h"

struct NetfsTreeNode {
  std::string name;
  bool directory = false;
  NetfsTime modified{};
  ByteBuffer stored;                     // files: the stored object, header included
  std::vector<NetfsTreeNode> children;  // directories
};

// The local time as an entry's modification time.
NetfsTime NetfsNow();

// A new container's root: "users?system" with the given users and
// "permissions?system" with the given permissions.
NetfsTreeNode NetfsNewTree(const std::vector<UserRecord>& users, const std::vector<PermissionRecord>& permissions);
// One administrator (user id 1, the given name and password) who may do all.
NetfsTreeNode NetfsNewTreeForUser(std::string_view user, std::string_view password);
UserRecord MakeUserRecord(std::uint32_t userId, std::string_view name, std::string_view password);
PermissionRecord MakePermissionRecord(std::uint32_t userId, std::uint32_t rights, std::string_view pathPrefix);

// Reads a whole container; files keep their stored objects untouched.
NetfsResult NetfsLoadTree(const NetfsVolume& volume, NetfsTreeNode& root, std::string* error);

// The node a path names ("\" is the root), or null.
NetfsTreeNode* NetfsTreeFind(NetfsTreeNode& root, std::string_view path);
// Adds or replaces the file at a path with a stored object; folders missing on
// the way are created. False when a component on the way is a file.
bool NetfsTreePutFile(NetfsTreeNode& root, std::string_view path, ByteBuffer storedObject);
bool NetfsTreePutContent(NetfsTreeNode& root, std::string_view path, const void* raw, std::size_t length);
bool NetfsTreeMakeDirectory(NetfsTreeNode& root, std::string_view path);
// Renames the entry at a path: 0, or store status 3 (missing) or 15 (another
// entry of the directory has the new name). A new name differing only in
// letter case is taken.
int NetfsTreeRename(NetfsTreeNode& root, std::string_view path, std::string_view newName);
// Deletes the entry at a path with everything below it.
bool NetfsTreeDelete(NetfsTreeNode& root, std::string_view path);

// Lays the tree out as a container file image.
ByteBuffer NetfsBuildImage(const NetfsTreeNode& root);
