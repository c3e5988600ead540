// The item data stream: a design item's sub-tree of the tower store as it
// stands in the item's "data" entry of a container (`RecordStream`).
//
// Stream: uint32 count of entity records, then the records of the top list,
// each child list following its parent record at once. A record opens with a
// flag byte:
//   0x01 another record of the same list follows (after this one's child list)
//   0x02 link this node after the previous node of the same list
//   0x04 a child list follows at once
//   0x08 a saved address (uint32) follows the flag byte
//   0x10 group record: the flag byte is the whole record
// An entity record then holds node flags (uint16), type code (uint16),
// payload length L (uint32) and L payload bytes.
//
// References between nodes are stored as the addresses the nodes had when the
// stream was written; loading collects (saved address, new node) pairs in a
// `RepointTable` and rewrites every reference through it at the end.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "store/node_pool.h"

struct Tower;

constexpr std::uint8_t kStreamMore = 0x01;
constexpr std::uint8_t kStreamLinked = 0x02;
constexpr std::uint8_t kStreamChildren = 0x04;
constexpr std::uint8_t kStreamSavedAddress = 0x08;
constexpr std::uint8_t kStreamGroup = 0x10;

struct RepointEntry {
  std::uint32_t savedAddress;
  NodeRef node;
};
static_assert(sizeof(RepointEntry) == 8);

struct RepointTable {
  std::uint32_t count = 0;
  std::uint32_t capacity = 0;
  std::vector<RepointEntry> entries;  // capacity entries, count of them used
  bool sorted = true;
};

RepointTable* CreateRepointTable(std::uint32_t capacity);
void FreeRepointTable(RepointTable* table);
// Appends a pair; a full table shows "Repoint table creation overrun!" and
// drops the pair.
void AddRepointEntry(RepointTable* table, std::uint32_t savedAddress, NodeRef node);
// The new node of a saved address: 0 for 0; for an address not in the table
// 0 when dropUnknown is set, else the address itself.
NodeRef FindRepointedNode(RepointTable* table, std::uint32_t savedAddress, bool dropUnknown);
// Clears bits 0x20 and 0x40 of the node's flags and rewrites its references.
void RepointNodeReferences(RepointTable* table, Entity* node, bool dropUnknown);
// Sorts the table by saved address and re-points every node in it.
void RepointAll(RepointTable* table);

// The working size of a payload of `code` stored with `length` bytes: 96 for
// type 20, 32 for type 310, otherwise the stored length.
std::uint32_t StreamWorkingSize(std::uint16_t code, std::uint32_t length);

// Loads a stream of `size` bytes under the parent and returns the Tower of
// its first entity, or null when the stream holds none. A damaged stream
// (running past its end, nesting deeper than the store allows, groups and
// entities out of their places, a group without items, a later record not
// linked into its list, records flagged to follow past the count) loads
// nothing, gives back every node it took, leaves the store as it was, and
// returns null with an error text.
Tower* ParseRecordStream(const std::uint8_t* stream, std::size_t size, const Tower* parent,
                         std::string* error = nullptr);

// Writes the sub-tree of an entity as a stream: every reference keeps the
// address of the node it names, referenced nodes carry 0x08 and their
// address, and the transient selection and highlight bits are left out so
// that a reload keeps every item the user saved.
// Children of the top entity whose codes are in `skipCodes` are left out.
std::vector<std::uint8_t> WriteRecordStream(const Entity* top, const std::vector<std::uint16_t>& skipCodes = {});
