// Tower files: the plain-file form of one entity's sub-tree ("PL3.CFG", grid
// files, and the memory images of built-in items).
//
// Layout, all integers little-endian: u32 entity count, u32 type code of the
// saved top entity, then one record per node, depth first (a node, then its
// child list when its first child is non-zero, then its next sibling when its
// next is non-zero). A record is u32 entity number (1, 2, 3 ... for entities
// in the order written, 0 for a TypeGroup), u32 the node's identifier, u32
// node size S = 20 + payload size, then the S bytes of the raw node.
//
// Node identifiers are numbers given at save time (1, 2, 3 ... in writing
// order), and the references that payloads hold are written as the
// identifiers of the nodes they name, so saving the same tree gives the same
// bytes wherever its nodes lie in memory. After a load the stored references
// are re-pointed through the FileRepointTable; a reference to a node outside
// the file becomes null.
//
// The loader trusts nothing: every count and size is checked against what
// remains, and a damaged file fails the load with the store left as it was.
#pragma once
#include <cstddef>
#include <cstdint>

#include "store/tower.h"

constexpr std::uint32_t kTowerFileHeaderSize = 8;
constexpr std::uint32_t kTowerFileRecordHeadSize = 12;
constexpr std::uint32_t kSerialiserWriteBufferSize = 8192;
constexpr std::uint32_t kSerialiserReadBufferSize = 262144;
constexpr std::uint32_t kRepointTableGrowth = 1024;

struct FileRepointEntry {
  std::uint32_t savedAddress;  // the identifier the file gave the node
  NodeRef entity;              // the entity that now carries it
};
static_assert(sizeof(FileRepointEntry) == 8);

// Made by each load and kept until the next load or the program's teardown.
struct FileRepointTable {
  std::uint32_t capacity;
  std::uint32_t count;
  std::uint32_t growthStep;
  FileRepointEntry* entries;
};

// Writes the sub-tree of the entity at t's last level to path. The file is
// written beside the target under a temporary name and renamed over it only
// when complete, so a failed save leaves an existing file untouched. Returns
// 1 on success, 0 when t is null ("Nothing to save"), names no entity, or the
// file cannot be written.
int SaveDOSFile(const Tower* t, const char* path);

// Loads a tower file as the newest entity of the header's code at t's last
// level (under the entity at level n - 1, or at the top level for a one-level
// t). Returns t standing on the loaded entity, or null when the file cannot
// be opened or is damaged, in which case nothing is linked into the store.
Tower* LoadDOSFile(const char* path, Tower* t);
// The same from a complete tower-file image of `size` bytes in memory.
Tower* LoadDOSFileFromMemory(const void* image, std::size_t size, Tower* t);

// The table of the last load, or null.
const FileRepointTable* CurrentFileRepointTable();
// Frees the table of the last load; the program's teardown calls it at exit.
void FreeFileRepointTable();

// The byte offset within the payload of the stored reference that a node of
// this type code carries, or -1 for codes that carry none the file rewrites.
int RepointFieldOffset(std::uint16_t code);
