// Tower files: the serialiser's byte layer, save, load with its checks, the
// splice of a loaded sub-tree into the store and the FileRepointTable.
#include "store/tower_file.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "platform/kernel_base.h"
#include "platform/kernel_files.h"
#include "store/safe_file.h"
#include "store/seams.h"

namespace {

// ---- The byte layer -----------------------------------------------------------

enum class SinkMode { Idle = 0, Memory = 1, File = 2 };

// One save or load at a time runs through this single layer.
struct SerialiserByteSink {
  SinkMode mode = SinkMode::Idle;
  HANDLE file = INVALID_HANDLE_VALUE;
  std::vector<std::uint8_t> buffer;
  std::uint32_t fill = 0;      // bytes held in the buffer
  std::uint32_t cursor = 0;    // read position in the buffer
  const std::uint8_t* image = nullptr;
  std::size_t imageSize = 0;
  std::size_t imageOffset = 0;
  std::uint64_t position = 0;  // bytes moved since the start
  std::uint64_t total = 0;     // bytes the source holds (reads)
  bool failed = false;         // a write or read failed
};

SerialiserByteSink gSink;

void StartSink(SinkMode mode, HANDLE file, std::uint32_t bufferSize) {
  gSink = SerialiserByteSink{};
  gSink.mode = mode;
  gSink.file = file;
  gSink.buffer.resize(bufferSize);
}

void StopSink() {
  if (gSink.file != INVALID_HANDLE_VALUE) CloseHandle(gSink.file);
  gSink = SerialiserByteSink{};
}

bool FlushSink() {
  if (gSink.mode == SinkMode::File && gSink.fill) {
    DWORD written = 0;
    if (!WriteFile(gSink.file, gSink.buffer.data(), gSink.fill, &written, nullptr) || written != gSink.fill)
      gSink.failed = true;
  }
  gSink.fill = 0;
  return !gSink.failed;
}

void WriteBytes(const void* data, std::uint32_t count) {
  gSink.position += count;
  if (gSink.mode != SinkMode::File || gSink.failed) return;
  const std::uint8_t* from = static_cast<const std::uint8_t*>(data);
  while (count) {
    const std::uint32_t room = static_cast<std::uint32_t>(gSink.buffer.size()) - gSink.fill;
    const std::uint32_t n = std::min(room, count);
    std::memcpy(gSink.buffer.data() + gSink.fill, from, n);
    gSink.fill += n;
    from += n;
    count -= n;
    if (gSink.fill == gSink.buffer.size() && !FlushSink()) return;
  }
}

void WriteU32(std::uint32_t value) {
  const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                                 static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
  WriteBytes(bytes, 4);
}

// Refills the read buffer with the next bytes of the source; false at the end.
bool RefillSink() {
  gSink.cursor = 0;
  gSink.fill = 0;
  if (gSink.mode == SinkMode::File) {
    DWORD read = 0;
    if (!ReadFile(gSink.file, gSink.buffer.data(), static_cast<DWORD>(gSink.buffer.size()), &read, nullptr)) {
      gSink.failed = true;
      return false;
    }
    gSink.fill = read;
  } else if (gSink.mode == SinkMode::Memory) {
    const std::size_t n = std::min<std::size_t>(gSink.buffer.size(), gSink.imageSize - gSink.imageOffset);
    std::memcpy(gSink.buffer.data(), gSink.image + gSink.imageOffset, n);
    gSink.imageOffset += n;
    gSink.fill = static_cast<std::uint32_t>(n);
  }
  return gSink.fill != 0;
}

bool ReadBytes(void* data, std::uint32_t count) {
  if (gSink.fill - gSink.cursor >= count) {  // the common case: all in the buffer
    std::memcpy(data, gSink.buffer.data() + gSink.cursor, count);
    gSink.cursor += count;
    gSink.position += count;
    return true;
  }
  std::uint8_t* to = static_cast<std::uint8_t*>(data);
  while (count) {
    if (gSink.cursor == gSink.fill && !RefillSink()) return false;
    const std::uint32_t n = std::min(gSink.fill - gSink.cursor, count);
    std::memcpy(to, gSink.buffer.data() + gSink.cursor, n);
    gSink.cursor += n;
    gSink.position += n;
    to += n;
    count -= n;
  }
  return true;
}

bool ReadU32(std::uint32_t* value) {
  std::uint8_t b[4];
  if (!ReadBytes(b, 4)) return false;
  *value = std::uint32_t{b[0]} | std::uint32_t{b[1]} << 8 | std::uint32_t{b[2]} << 16 | std::uint32_t{b[3]} << 24;
  return true;
}

std::uint64_t RemainingBytes() { return gSink.total > gSink.position ? gSink.total - gSink.position : 0; }

// ---- Stored references --------------------------------------------------------

// Whether the reference field of a node of this code holds a reference that
// the file rewrites, given the field's value and the payload.
bool FieldIsReference(std::uint16_t code, const std::uint8_t* payload, std::uint32_t value) {
  switch (code) {
    case 20:
    case 164:
      return value != 0;
    case 117:
      return (payload[0] & 0x04) != 0;
    case 283:
      return value != 0xFFFFFFFFu;
    default:
      return true;
  }
}

std::uint32_t LoadU32(const std::uint8_t* p) {
  std::uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}
void StoreU32(std::uint8_t* p, std::uint32_t v) { std::memcpy(p, &v, 4); }

// The reference field of an entity, or null when its code has none or its
// payload is too short to hold one.
std::uint8_t* ReferenceField(Entity* e) {
  const int offset = RepointFieldOffset(e->typeCode);
  if (offset < 0 || e->payloadSize < static_cast<std::uint32_t>(offset) + 4) return nullptr;
  std::uint8_t* field = EntityPayload(e) + offset;
  return FieldIsReference(e->typeCode, EntityPayload(e), LoadU32(field)) ? field : nullptr;
}

// ---- Save -----------------------------------------------------------------------

// A node of the saved sub-tree and the identifier it is written with.
struct SavedNode {
  NodeRef node;
  std::uint32_t id;
};

// The nodes of a sub-tree in writing order: the node, its child list, then
// its next sibling.
void CollectSubTree(NodeRef node, std::vector<NodeRef>& order) {
  order.push_back(node);
  for (NodeRef g = NodeAt<Entity>(node)->firstChild; g; g = NodeAt<TypeGroup>(g)->next) {
    order.push_back(g);
    for (NodeRef e = NodeAt<TypeGroup>(g)->firstChild; e; e = NodeAt<Entity>(e)->next) CollectSubTree(e, order);
  }
}

struct SaveIds {
  std::vector<SavedNode> byNode;  // sorted by node
  std::uint32_t Of(NodeRef node) const {
    if (!node) return 0;
    auto it = std::lower_bound(byNode.begin(), byNode.end(), node,
                               [](const SavedNode& s, NodeRef n) { return s.node < n; });
    return it != byNode.end() && it->node == node ? it->id : 0;
  }
};

void WriteNodeRecord(NodeRef ref, bool top, std::uint32_t entityNumber, const SaveIds& ids) {
  Entity* node = NodeAt<Entity>(ref);
  WriteU32(entityNumber);
  WriteU32(ids.Of(ref));
  WriteU32(kTowerNodeHeaderSize + node->payloadSize);
  // Links are written as identifiers: only zero or non-zero matters to a reader,
  // and numbers keep the file the same wherever the nodes lie in memory.
  TowerNode head = *node;
  head.next = top ? 0 : ids.Of(node->next);
  head.previous = top ? 0 : ids.Of(node->previous);
  head.firstChild = ids.Of(node->firstChild);
  if (!(head.flags & kNodeIsTypeGroup)) head.flags &= static_cast<std::uint16_t>(~kEntityTransientBits);
  WriteBytes(&head, kTowerNodeHeaderSize);
  if (!node->payloadSize) return;
  std::uint8_t* field = (node->flags & kNodeIsTypeGroup) ? nullptr : ReferenceField(node);
  if (!field) {
    WriteBytes(EntityPayload(node), node->payloadSize);
    return;
  }
  const std::uint32_t before = static_cast<std::uint32_t>(field - EntityPayload(node));
  WriteBytes(EntityPayload(node), before);
  WriteU32(ids.Of(LoadU32(field)));
  WriteBytes(field + 4, node->payloadSize - before - 4);
}

// Writes the whole file through the byte layer; false when a write failed.
bool SaveTowerFile(Entity* top) {
  std::vector<NodeRef> order;
  CollectSubTree(NodeRefOf(top), order);
  SaveIds ids;
  ids.byNode.reserve(order.size());
  std::uint32_t entities = 0;
  for (std::size_t i = 0; i < order.size(); ++i) {
    ids.byNode.push_back({order[i], static_cast<std::uint32_t>(i + 1)});
    if (!(NodeAt<TowerNode>(order[i])->flags & kNodeIsTypeGroup)) ++entities;
  }
  std::sort(ids.byNode.begin(), ids.byNode.end(), [](const SavedNode& a, const SavedNode& b) { return a.node < b.node; });

  WriteU32(entities);
  WriteU32(top->typeCode);
  std::uint32_t entityNumber = 1;
  for (std::size_t i = 0; i < order.size(); ++i) {
    const bool group = NodeAt<TowerNode>(order[i])->flags & kNodeIsTypeGroup;
    WriteNodeRecord(order[i], i == 0, group ? 0 : entityNumber++, ids);
  }
  return FlushSink();
}

// ---- Load -----------------------------------------------------------------------

FileRepointTable* gRepointTable = nullptr;

FileRepointTable* NewRepointTable(std::uint32_t capacity) {
  auto* table = static_cast<FileRepointTable*>(std::calloc(1, sizeof(FileRepointTable)));
  table->capacity = capacity;
  table->growthStep = kRepointTableGrowth;
  table->entries = static_cast<FileRepointEntry*>(std::malloc(sizeof(FileRepointEntry) * capacity));
  return table;
}

void DeleteRepointTable(FileRepointTable* table) {
  if (!table) return;
  std::free(table->entries);
  std::free(table);
}

void AddRepointEntry(FileRepointTable* table, std::uint32_t saved, NodeRef entity) {
  table->entries[table->count++] = {saved, entity};
  if (table->count < table->capacity) return;
  table->capacity += table->growthStep;
  table->entries =
      static_cast<FileRepointEntry*>(std::realloc(table->entries, sizeof(FileRepointEntry) * table->capacity));
}

// The nodes read so far, given back to the pool when the load fails.
struct LoadedNodes {
  std::vector<std::pair<void*, std::uint32_t>> chunks;
  FileRepointTable* table = nullptr;
  // Entities whose code has a reference field, so that re-pointing visits
  // only them and not every node of a large file again.
  std::vector<NodeRef> withReference;
  void Discard() {
    for (auto& [chunk, size] : chunks) FreeNode(chunk, size);
    chunks.clear();
    DeleteRepointTable(table);
    table = nullptr;
  }
};

// One list being read: its parent (null for the top) and the last node linked.
struct ListFrame {
  TowerNode* parent;
  TowerNode* last;
  bool lastHasNext;  // the last node's saved next field was non-zero
  int entityDepth;   // depth of the entities of this list below the top entity
};

// Reads one node record; null when it is short or inconsistent.
TowerNode* ReadNodeRecord(LoadedNodes& loaded, bool expectGroup, std::uint32_t* savedNext,
                          std::uint32_t* savedFirstChild) {
  std::uint8_t head[12];  // entity number, saved address, node size
  if (!ReadBytes(head, sizeof head)) return nullptr;
  const std::uint32_t number = LoadU32(head), saved = LoadU32(head + 4), size = LoadU32(head + 8);
  if (size < kTowerNodeHeaderSize || size > kPoolBlockUsable || size > RemainingBytes()) return nullptr;
  TowerNode* node = static_cast<TowerNode*>(AllocNode(size));
  loaded.chunks.emplace_back(node, size);
  if (!ReadBytes(node, size)) return nullptr;
  const bool group = node->flags & kNodeIsTypeGroup;
  if (group != expectGroup || node->payloadSize != size - kTowerNodeHeaderSize) return nullptr;
  // Entities are numbered, groups are not, and a group is never empty.
  if ((number == 0) != group || (group && !node->firstChild)) return nullptr;
  *savedNext = node->next;
  *savedFirstChild = node->firstChild;
  node->next = node->previous = node->firstChild = 0;
  if (!group) {
    AddRepointEntry(loaded.table, saved, NodeRefOf(node));
    // The drawing state bits go while the node is at hand.
    node->flags &= static_cast<std::uint16_t>(~(kEntitySelectedPart | kEntityHighlighted));
    if (RepointFieldOffset(node->typeCode) >= 0) loaded.withReference.push_back(NodeRefOf(node));
  }
  return node;
}

// Whether a node may follow `last` in a list under `parent`: groups of one
// parent in strictly ascending code, entities of a group of the group's code.
bool FitsList(const TowerNode* parent, const TowerNode* last, const TowerNode* node) {
  if (node->flags & kNodeIsTypeGroup) return !last || last->typeCode < node->typeCode;
  return parent->typeCode == node->typeCode;
}

void Link(ListFrame& list, TowerNode* node) {
  const NodeRef ref = NodeRefOf(node);
  if (list.last) {
    list.last->next = ref;
    node->previous = NodeRefOf(list.last);
  } else {
    list.parent->firstChild = ref;
  }
  list.last = node;
}

// Reads the records of the sub-tree depth first, without recursion so that
// no file can exhaust the stack. Returns the top entity, or null.
Entity* ReadSubTree(LoadedNodes& loaded, std::uint16_t topCode, int maxDepth) {
  std::uint32_t next = 0, firstChild = 0;
  Entity* top = ReadNodeRecord(loaded, false, &next, &firstChild);
  if (!top || next != 0) return nullptr;
  // The header's code places the entity; its own record's code is not checked
  // against it. The entity takes the header's code so that it matches the
  // group it joins.
  if (top->typeCode != topCode) {
    top->typeCode = topCode;
    std::vector<NodeRef>& refs = loaded.withReference;
    refs.erase(std::remove(refs.begin(), refs.end(), NodeRefOf(top)), refs.end());
    if (RepointFieldOffset(topCode) >= 0) refs.push_back(NodeRefOf(top));
  }
  if (!firstChild) return top;
  if (maxDepth < 1) return nullptr;

  std::vector<ListFrame> stack;
  stack.push_back({top, nullptr, false, 1});
  while (!stack.empty()) {
    ListFrame& list = stack.back();
    const bool groupList = !(list.parent->flags & kNodeIsTypeGroup);
    TowerNode* node = ReadNodeRecord(loaded, groupList, &next, &firstChild);
    if (!node || !FitsList(list.parent, list.last, node)) return nullptr;
    Link(list, node);
    list.lastHasNext = next != 0;
    if (firstChild) {
      const int depth = list.entityDepth + (groupList ? 0 : 1);
      if (!groupList && depth > maxDepth) return nullptr;
      stack.push_back({node, nullptr, false, depth});
      continue;
    }
    // The list of this node ends unless it has a next sibling; finished lists
    // give way to their parent's list.
    while (!stack.empty() && !stack.back().lastHasNext) stack.pop_back();
  }
  return top;
}

// Puts the loaded top entity in the place of a fresh placeholder at t's last
// level, so that it is the newest of its code there.
void SpliceLoadedEntity(Tower* t, std::uint16_t code, Entity* loaded) {
  TowerLevel& last = LastLevel(t);
  last.typeCode = code;
  Entity* placeholder = InsertAtLastLevel(t, 0);
  TypeGroup* group = NodeAt<TypeGroup>(last.group);
  const NodeRef ref = NodeRefOf(loaded);
  loaded->next = placeholder->next;
  loaded->previous = placeholder->previous;
  if (placeholder->next) NodeAt<Entity>(placeholder->next)->previous = ref;
  if (placeholder->previous) NodeAt<Entity>(placeholder->previous)->next = ref;
  if (group->firstChild == NodeRefOf(placeholder)) group->firstChild = ref;
  last.entity = ref;
  FreeNode(placeholder, RoundUp16(kTowerNodeHeaderSize));
}

// Replaces the saved address in e's reference field by the new node that
// carries it, or 0 when none of the loaded nodes does. (The drawing state
// bits were already cleared as the node was read.)
void RepointEntityFields(Entity* e, const std::vector<FileRepointEntry>& sorted) {
  std::uint8_t* field = ReferenceField(e);
  if (!field) return;
  const std::uint32_t saved = LoadU32(field);
  auto it = std::lower_bound(sorted.begin(), sorted.end(), saved,
                             [](const FileRepointEntry& x, std::uint32_t s) { return x.savedAddress < s; });
  StoreU32(field, it != sorted.end() && it->savedAddress == saved ? it->entity : 0);
}

// Rewrites the stored references of the loaded entities to the new nodes
// (their drawing state bits were cleared as they were read).
void RepointLoadedEntities(const FileRepointTable* table, const std::vector<NodeRef>& withReference) {
  if (withReference.empty()) return;
  std::vector<FileRepointEntry> sorted(table->entries, table->entries + table->count);
  const auto bySaved = [](const FileRepointEntry& a, const FileRepointEntry& b) {
    return a.savedAddress < b.savedAddress;
  };
  // Files this program writes number their nodes in order: mostly sorted already.
  if (!std::is_sorted(sorted.begin(), sorted.end(), bySaved)) std::sort(sorted.begin(), sorted.end(), bySaved);
  for (const NodeRef ref : withReference) RepointEntityFields(NodeAt<Entity>(ref), sorted);
}

// The file's entity count rounded up to the next multiple of the growth step,
// a whole step more when it already is one. A count far beyond what the file's
// bytes could hold is a damaged header: it is capped there, with room to
// spare, so that it cannot make the table huge.
std::uint32_t InitialTableCapacity(std::uint32_t count, std::uint64_t bytes) {
  constexpr std::uint64_t kSpareEntries = 1u << 20;
  const std::uint64_t mostEntities = bytes / (kTowerFileRecordHeadSize + kTowerNodeHeaderSize) + kSpareEntries;
  const std::uint64_t sized = std::min<std::uint64_t>(count, mostEntities);
  return static_cast<std::uint32_t>((sized / kRepointTableGrowth + 1) * kRepointTableGrowth);
}

Tower* LoadTowerFile(Tower* t) {
  std::uint32_t count = 0, topCode = 0;
  if (!ReadU32(&count) || !ReadU32(&topCode) || topCode > 0xFFFF) return nullptr;
  LoadedNodes loaded;
  const std::uint32_t capacity = InitialTableCapacity(count, RemainingBytes());
  loaded.table = NewRepointTable(capacity);
  // Every record takes at least 32 bytes of the file.
  loaded.chunks.reserve(std::min<std::uint64_t>(capacity, RemainingBytes() / 32 + 1));
  const int maxDepth = kTowerMaxLevels - 1 - t->lastLevel;
  Entity* top = ReadSubTree(loaded, static_cast<std::uint16_t>(topCode), maxDepth);
  if (!top || gSink.failed) {
    loaded.Discard();
    return nullptr;
  }
  SpliceLoadedEntity(t, static_cast<std::uint16_t>(topCode), top);
  DeleteRepointTable(gRepointTable);
  gRepointTable = loaded.table;
  RepointLoadedEntities(gRepointTable, loaded.withReference);
  return t;
}

}  // namespace

int RepointFieldOffset(std::uint16_t code) {
  switch (code) {
    case 20:
      return 88;
    case 32:
    case 113:
      return 4;
    case 111:
    case 116:
      return 8;
    case 117:
      return 272;
    case 164:
    case 283:
    case 11002:
    case 11010:
    case 11015:
    case 11016:
      return 0;
    default:
      return -1;
  }
}

int SaveDOSFile(const Tower* t, const char* path) {
  if (!t) {
    ShowMessage(nullptr, "Nothing to save", "SaveDOSFile");
    return 0;
  }
  Entity* top = TowerEntity(t);
  if (!top || !path) return 0;
  const auto write = [top](HANDLE file) {
    StartSink(SinkMode::File, file, kSerialiserWriteBufferSize);
    const bool written = SaveTowerFile(top);
    gSink.file = INVALID_HANDLE_VALUE;  // the file stays open for the flush and rename
    StopSink();
    return written;
  };
  return WriteFileSafely(path, write, nullptr) ? 1 : 0;
}

Tower* LoadDOSFile(const char* path, Tower* t) {
  if (!path || !t) return nullptr;
  HANDLE file = CreateFile(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_FLAG_RANDOM_ACCESS,
                           nullptr);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  StartSink(SinkMode::File, file, kSerialiserReadBufferSize);
  DWORD high = 0;
  const DWORD low = GetFileSize(file, &high);
  gSink.total = (std::uint64_t{high} << 32) | low;
  Tower* result = LoadTowerFile(t);
  StopSink();
  return result;
}

Tower* LoadDOSFileFromMemory(const void* image, std::size_t size, Tower* t) {
  if (!image || !t) return nullptr;
  StartSink(SinkMode::Memory, INVALID_HANDLE_VALUE, kSerialiserReadBufferSize);
  gSink.image = static_cast<const std::uint8_t*>(image);
  gSink.imageSize = size;
  gSink.total = size;
  Tower* result = LoadTowerFile(t);
  StopSink();
  return result;
}

const FileRepointTable* CurrentFileRepointTable() { return gRepointTable; }

void FreeFileRepointTable() {
  DeleteRepointTable(gRepointTable);
  gRepointTable = nullptr;
}
