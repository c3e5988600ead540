#include "store/item_stream.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>

#include "store/seams.h"
#include "store/tower.h"

namespace {

// Type codes whose payloads hold references, and the working sizes.
constexpr std::uint16_t kTypeAttributeLocator = 20;
constexpr std::uint16_t kTypeSchematicSymbol = 32;
constexpr std::uint16_t kTypePadStackLayerInfo = 111;
constexpr std::uint16_t kTypeSymbolInstanceInfo = 113;
constexpr std::uint16_t kTypePadStackInfo = 116;
constexpr std::uint16_t kTypePadStackInstanceInfo = 117;
constexpr std::uint16_t kType164 = 164;
constexpr std::uint16_t kTypeImportedSymbolMapping = 283;
constexpr std::uint16_t kTypeSymbolAttributeLocatorInfo = 310;
constexpr std::uint16_t kType323 = 323;
constexpr std::uint16_t kType11002 = 11002;
constexpr std::uint16_t kType11010 = 11010;
constexpr std::uint16_t kTypeSymbolPackageRef = 11015;
constexpr std::uint16_t kType11016 = 11016;

enum class RefCondition { Always, NotZero, NotAllOnes, PadStackFlag };

struct ReferenceField {
  std::uint32_t offset;
  RefCondition condition;
};

// The reference a node of `code` holds, if any.
bool ReferenceOf(std::uint16_t code, ReferenceField& field) {
  switch (code) {
    case kTypeAttributeLocator: field = {88, RefCondition::NotZero}; return true;
    case kTypeSchematicSymbol:
    case kTypeSymbolInstanceInfo: field = {4, RefCondition::Always}; return true;
    case kTypePadStackLayerInfo:
    case kTypePadStackInfo: field = {8, RefCondition::Always}; return true;
    case kTypePadStackInstanceInfo: field = {272, RefCondition::PadStackFlag}; return true;
    case kType164: field = {0, RefCondition::NotZero}; return true;
    case kTypeImportedSymbolMapping: field = {0, RefCondition::NotAllOnes}; return true;
    case kType323: field = {28, RefCondition::NotZero}; return true;
    case kType11002:
    case kType11010:
    case kTypeSymbolPackageRef:
    case kType11016: field = {0, RefCondition::Always}; return true;
    default: return false;
  }
}

// The address of the reference word of a node, or null when the node holds
// none (by type, by condition, or because its payload is too short for it).
std::uint8_t* ReferenceWord(const Entity* node) {
  ReferenceField field;
  if (!ReferenceOf(node->typeCode, field) || node->payloadSize < field.offset + 4) return nullptr;
  std::uint8_t* payload = EntityPayload(const_cast<Entity*>(node));
  std::uint32_t value;
  std::memcpy(&value, payload + field.offset, 4);
  switch (field.condition) {
    case RefCondition::Always: break;
    case RefCondition::NotZero:
      if (value == 0) return nullptr;
      break;
    case RefCondition::NotAllOnes:
      if (value == 0xFFFFFFFF) return nullptr;
      break;
    case RefCondition::PadStackFlag:
      if (!(payload[0] & 0x04)) return nullptr;
      break;
  }
  return payload + field.offset;
}

constexpr std::uint16_t kRepointClearedBits = kEntitySelectedPart | kEntityHighlighted;

void SetError(std::string* error, const std::string& text) {
  if (error) *error = text;
}

}  // namespace

// ---- Repoint table ------------------------------------------------------------

RepointTable* CreateRepointTable(std::uint32_t capacity) {
  auto* table = new RepointTable;
  table->capacity = capacity;
  table->entries.resize(capacity);
  return table;
}

void FreeRepointTable(RepointTable* table) { delete table; }

void AddRepointEntry(RepointTable* table, std::uint32_t savedAddress, NodeRef node) {
  if (table->count >= table->capacity) {
    ShowMessage(nullptr, "Repoint table creation overrun!", "Pelmora3");
    return;
  }
  table->entries[table->count++] = {savedAddress, node};
  table->sorted = false;
}

namespace {
void SortRepointTable(RepointTable* table) {
  if (table->sorted) return;
  std::stable_sort(table->entries.begin(), table->entries.begin() + table->count,
                   [](const RepointEntry& a, const RepointEntry& b) { return a.savedAddress < b.savedAddress; });
  table->sorted = true;
}
}  // namespace

NodeRef FindRepointedNode(RepointTable* table, std::uint32_t savedAddress, bool dropUnknown) {
  if (savedAddress == 0) return 0;
  SortRepointTable(table);
  const auto end = table->entries.begin() + table->count;
  const auto it = std::lower_bound(table->entries.begin(), end, savedAddress,
                                   [](const RepointEntry& e, std::uint32_t a) { return e.savedAddress < a; });
  if (it != end && it->savedAddress == savedAddress) return it->node;
  return dropUnknown ? 0 : savedAddress;
}

void RepointNodeReferences(RepointTable* table, Entity* node, bool dropUnknown) {
  node->flags &= static_cast<std::uint16_t>(~kRepointClearedBits);
  if (std::uint8_t* word = ReferenceWord(node)) {
    std::uint32_t saved;
    std::memcpy(&saved, word, 4);
    const NodeRef target = FindRepointedNode(table, saved, dropUnknown);
    std::memcpy(word, &target, 4);
  }
}

void RepointAll(RepointTable* table) {
  SortRepointTable(table);
  for (std::uint32_t i = 0; i < table->count; ++i)
    RepointNodeReferences(table, NodeAt<Entity>(table->entries[i].node), true);
}

std::uint32_t StreamWorkingSize(std::uint16_t code, std::uint32_t length) {
  if (code == kTypeAttributeLocator) return 96;
  if (code == kTypeSymbolAttributeLocatorInfo) return 32;
  return length;
}

// ---- Reading ------------------------------------------------------------------

namespace {

// Where a list stands in the store's two-level layout.
enum class ListKind { Top, Groups, Entities };

// Deeper lists than the store can address are damage, not designs.
constexpr int kMaxListDepth = 2 * 33;
// The largest payload the store inserts (it rounds payloads up to 16
// bytes): whatever the store holds, and so the writer writes, reads back.
constexpr std::uint32_t kMaxPayload = (kPoolBlockUsable - kTowerNodeHeaderSize) & ~15u;
// The smallest entity record: flag, node flags, type code, length.
constexpr std::size_t kMinEntityRecord = 9;

struct StreamReader {
  const std::uint8_t* data = nullptr;
  std::size_t size = 0;
  std::size_t pos = 4;
  std::uint32_t remaining = 0;
  const Tower* parent = nullptr;
  RepointTable* table = nullptr;
  Tower* firstTower = nullptr;
  Entity* firstEntity = nullptr;
  std::vector<std::pair<void*, std::uint32_t>> allocated;  // nodes taken from the pool here
  std::string error;

  bool Fail(const char* why) {
    if (error.empty()) error = std::string("damaged item stream: ") + why;
    return false;
  }
  bool Read(void* into, std::size_t n) {
    if (size - pos < n) return Fail("it ends inside a record");
    std::memcpy(into, data + pos, n);
    pos += n;
    return true;
  }
  TowerNode* Alloc(std::uint32_t payload) {
    const std::uint32_t bytes = kTowerNodeHeaderSize + payload;
    auto* node = static_cast<TowerNode*>(AllocNode(bytes));
    allocated.emplace_back(node, bytes);
    return node;
  }

  // The type code of the record that follows a group's flag byte.
  bool PeekGroupCode(std::uint16_t& code) {
    if (pos >= size) return Fail("a group record ends the stream");
    const std::size_t at = pos + ((data[pos] & kStreamSavedAddress) ? 7 : 3);
    if (at + 2 > size) return Fail("a group record ends the stream");
    std::memcpy(&code, data + at, 2);
    return true;
  }

  bool ReadEntity(std::uint8_t f, ListKind kind, std::uint16_t groupCode, TowerNode*& node) {
    std::uint32_t saved = 0, length = 0;
    std::uint16_t flags = 0, code = 0;
    if ((f & kStreamSavedAddress) && !Read(&saved, 4)) return false;
    if (!Read(&flags, 2) || !Read(&code, 2) || !Read(&length, 4)) return false;
    if (length > size - pos) return Fail("a payload runs past its end");
    if (length > kMaxPayload) return Fail("a payload is larger than the store can hold");
    if (kind == ListKind::Entities && code != groupCode) return Fail("an entity stands in a group of another type");
    const std::uint32_t room = StreamWorkingSize(code, length);
    const std::uint32_t copied = std::min(length, room);
    if (kind == ListKind::Top) {
      // The item itself goes under the parent through the store.
      std::vector<std::uint8_t> working(room, 0);
      if (copied) std::memcpy(working.data(), data + pos, copied);
      firstTower = InsertEntity(parent, room, code, working.data());
      if (!firstTower) return Fail("its item cannot be inserted");
      node = firstEntity = TowerEntity(firstTower);
    } else {
      node = Alloc(room);
      *node = TowerNode{0, code, 0, 0, copied, 0};
      std::uint8_t* payload = EntityPayload(node);
      if (copied) std::memcpy(payload, data + pos, copied);
      if (room > copied) std::memset(payload + copied, 0, room - copied);
    }
    // Bit 0 tells groups from entities; a stored entity never claims it.
    node->flags = static_cast<std::uint16_t>(flags & ~kNodeIsTypeGroup);
    AddRepointEntry(table, saved, NodeRefOf(node));
    pos += length;
    --remaining;
    return true;
  }

  // Reads one list and returns its head (0 for an empty list).
  bool ReadList(ListKind kind, std::uint16_t groupCode, int depth, NodeRef& head) {
    head = 0;
    if (depth > kMaxListDepth) return Fail("its lists nest deeper than the store allows");
    TowerNode* previous = nullptr;
    while (remaining > 0) {
      if (pos >= size) return Fail("it ends before its count of records");
      const std::uint8_t f = data[pos++];
      TowerNode* node = nullptr;
      if (f & kStreamGroup) {
        if (kind != ListKind::Groups) return Fail("a group record stands where an entity belongs");
        std::uint16_t code = 0;
        if (!PeekGroupCode(code)) return false;
        // One group per code, in ascending order, as the store keeps them.
        if (previous && code <= previous->typeCode) return Fail("its groups are out of order");
        node = Alloc(0);
        *node = TowerNode{kNodeIsTypeGroup, code, 0, 0, 0, 0};
      } else {
        if (kind == ListKind::Groups) return Fail("an entity record stands where a group belongs");
        if (kind == ListKind::Top && firstEntity) return Fail("it holds more than one item at its top");
        if (!ReadEntity(f, kind, groupCode, node)) return false;
      }
      // A later record that is not linked would stand outside its list: the
      // walk would miss it and its node would never go back to the pool.
      if (previous && !(f & kStreamLinked)) return Fail("a record is not linked into its list");
      if (node != firstEntity) {
        node->next = 0;
        node->previous = NodeRefOf(previous);
        if (previous) previous->next = NodeRefOf(node);
      }
      if (!head) head = NodeRefOf(node);
      const bool group = node->flags & kNodeIsTypeGroup;
      node->firstChild = 0;
      if (f & kStreamChildren) {
        const ListKind childKind = group ? ListKind::Entities : ListKind::Groups;
        NodeRef child = 0;
        if (!ReadList(childKind, node->typeCode, depth + 1, child)) return false;
        node->firstChild = child;
      }
      // The store never keeps an empty group: a group without its items, or
      // whose items the record count cuts off, is damage.
      if (group && !node->firstChild) return Fail("a group holds no items");
      previous = node;
      if (!(f & kStreamMore)) return true;
    }
    if (previous) return Fail("its records run on past its count");
    return true;
  }

  // Takes back everything this load put into the store.
  void Undo() {
    if (firstTower) {
      firstEntity->firstChild = 0;
      DeleteEntity(firstTower);
      ReleaseTower(&firstTower);
    }
    for (auto& [chunk, bytes] : allocated) FreeNode(chunk, bytes);
    allocated.clear();
  }
};

}  // namespace

Tower* ParseRecordStream(const std::uint8_t* stream, std::size_t size, const Tower* parent, std::string* error) {
  if (!stream || size < 4) {
    SetError(error, "damaged item stream: it has no record count");
    return nullptr;
  }
  StreamReader reader;
  reader.data = stream;
  reader.size = size;
  reader.parent = parent;
  std::memcpy(&reader.remaining, stream, 4);
  // A count larger than the stream could hold would only size the table.
  const auto capacity =
      static_cast<std::uint32_t>(std::min<std::size_t>(reader.remaining, (size - 4) / kMinEntityRecord));
  reader.table = CreateRepointTable(capacity);
  NodeRef head = 0;
  const bool ok = reader.ReadList(ListKind::Top, 0, 0, head);
  if (!ok) {
    reader.Undo();
    FreeRepointTable(reader.table);
    SetError(error, reader.error);
    return nullptr;
  }
  RepointAll(reader.table);
  FreeRepointTable(reader.table);
  return reader.firstTower;
}

// ---- Writing ------------------------------------------------------------------

namespace {

struct StreamWriter {
  std::vector<std::uint8_t> out;
  const Entity* top = nullptr;
  const std::vector<std::uint16_t>* skipCodes = nullptr;
  std::unordered_set<std::uint32_t> referenced;
  std::uint32_t count = 0;

  void Put(const void* p, std::size_t n) {
    const auto* b = static_cast<const std::uint8_t*>(p);
    out.insert(out.end(), b, b + n);
  }

  // The groups of an entity that are written.
  std::vector<const TypeGroup*> Groups(const Entity* e) const {
    std::vector<const TypeGroup*> groups;
    for (NodeRef g = e->firstChild; g; g = NodeAt<TypeGroup>(g)->next) {
      const TypeGroup* group = NodeAt<TypeGroup>(g);
      if (e == top && std::find(skipCodes->begin(), skipCodes->end(), group->typeCode) != skipCodes->end()) continue;
      if (group->firstChild) groups.push_back(group);
    }
    return groups;
  }

  void Collect(const Entity* e) {
    ++count;
    if (const std::uint8_t* word = ReferenceWord(e)) {
      std::uint32_t target;
      std::memcpy(&target, word, 4);
      if (target) referenced.insert(target);
    }
    for (const TypeGroup* g : Groups(e))
      for (NodeRef c = g->firstChild; c; c = NodeAt<Entity>(c)->next) Collect(NodeAt<Entity>(c));
  }

  void WriteEntity(const Entity* e, std::uint8_t listFlags) {
    const NodeRef self = NodeRefOf(e);
    const std::vector<const TypeGroup*> groups = Groups(e);
    std::uint8_t f = listFlags;
    if (!groups.empty()) f |= kStreamChildren;
    if (referenced.count(self)) f |= kStreamSavedAddress;
    out.push_back(f);
    if (f & kStreamSavedAddress) Put(&self, 4);
    const std::uint16_t flags = static_cast<std::uint16_t>(e->flags & ~kEntityTransientBits & ~kNodeIsTypeGroup);
    Put(&flags, 2);
    Put(&e->typeCode, 2);
    Put(&e->payloadSize, 4);
    Put(EntityPayload(e), e->payloadSize);
    for (std::size_t i = 0; i < groups.size(); ++i) {
      std::uint8_t gf = kStreamGroup | kStreamChildren;
      if (i > 0) gf |= kStreamLinked;
      if (i + 1 < groups.size()) gf |= kStreamMore;
      out.push_back(gf);
      for (NodeRef c = groups[i]->firstChild; c;) {
        const Entity* child = NodeAt<Entity>(c);
        std::uint8_t cf = 0;
        if (c != groups[i]->firstChild) cf |= kStreamLinked;
        if (child->next) cf |= kStreamMore;
        WriteEntity(child, cf);
        c = child->next;
      }
    }
  }
};

}  // namespace

std::vector<std::uint8_t> WriteRecordStream(const Entity* top, const std::vector<std::uint16_t>& skipCodes) {
  StreamWriter w;
  w.top = top;
  w.skipCodes = &skipCodes;
  if (!top) {
    w.out.assign(4, 0);
    return w.out;
  }
  w.Collect(top);
  w.Put(&w.count, 4);
  w.WriteEntity(top, 0);
  return std::move(w.out);
}
