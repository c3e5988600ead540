#include "edit/undo_index.h"

#include <algorithm>
#include <iterator>
#include <unordered_map>
#include <utility>

#include "objects/payload_access.h"
#include "objects/type_codes.h"
#include "platform/reset_hooks.h"

namespace undoindex {

namespace {

// What a watched node is to the history. A node has one role: items are
// design items or saved copies, the others are history records.
enum class Role : std::uint8_t { Item, Namer, Entry, Caption, History };

struct Watch {
  explicit Watch(Role r, NodeRef l = 0, std::uint32_t s = 0) : role(r), link(l), step(s) {}
  Role role;
  NodeRef link;                  // Namer: the item named; Entry, Caption: their history
  std::uint32_t step;            // Entry, Caption
  std::vector<NodeRef> namers;   // Item: the namers registered to it
};

std::unordered_map<NodeRef, Watch> g_watch;
std::unordered_map<NodeRef, HistoryIndex> g_histories;

void Forget() {
  g_watch.clear();
  g_histories.clear();
}
const bool g_registered = pl3::RegisterGlobalReset(&Forget);

void DropFrom(std::vector<NodeRef>& list, NodeRef ref) {
  // Searched from the end: the store frees a group's records newest first,
  // the list holds them oldest first, so a step let go whole costs one
  // look at each record rather than a walk of the step for each.
  const auto at = std::find(list.rbegin(), list.rend(), ref);
  if (at != list.rend()) list.erase(std::next(at).base());
}

void DropFromStep(std::map<std::uint32_t, std::vector<NodeRef>>& byStep, std::uint32_t step, NodeRef ref) {
  const auto at = byStep.find(step);
  if (at == byStep.end()) return;
  DropFrom(at->second, ref);
  if (at->second.empty()) byStep.erase(at);
}

HistoryIndex* HistoryOf(NodeRef history) {
  const auto at = g_histories.find(history);
  return at == g_histories.end() ? nullptr : &at->second;
}

// The store frees an entity: whatever the history knew of it goes.
void OnEntityFreed(NodeRef ref) {
  const auto at = g_watch.find(ref);
  if (at == g_watch.end()) return;
  Watch gone = std::move(at->second);
  g_watch.erase(at);
  switch (gone.role) {
    case Role::Item:
      // The references to it are stale from now on, even when its place is reused.
      for (NodeRef namer : gone.namers) g_watch.erase(namer);
      break;
    case Role::Namer:
      if (const auto item = g_watch.find(gone.link); item != g_watch.end()) {
        DropFrom(item->second.namers, ref);
        if (item->second.namers.empty()) g_watch.erase(item);
      }
      break;
    case Role::Entry:
      if (HistoryIndex* index = HistoryOf(gone.link)) DropFromStep(index->entries, gone.step, ref);
      break;
    case Role::Caption:
      if (HistoryIndex* index = HistoryOf(gone.link)) DropFromStep(index->captions, gone.step, ref);
      break;
    case Role::History:
      g_histories.erase(ref);
      break;
  }
}

void Observe() {
  static bool installed = false;
  if (installed) return;
  SetEntityFreeObserver(&OnEntityFreed);
  installed = true;
}

void Unname(NodeRef namer) {
  const auto at = g_watch.find(namer);
  if (at == g_watch.end() || at->second.role != Role::Namer) return;
  const NodeRef item = at->second.link;
  g_watch.erase(at);
  if (const auto named = g_watch.find(item); named != g_watch.end()) {
    DropFrom(named->second.namers, namer);
    if (named->second.namers.empty()) g_watch.erase(named);
  }
}

// Registers the namer with the item; refused (the namer left naming nothing
// valid) when the item is one of the history's own records.
void Register(NodeRef namer, NodeRef item) {
  auto [at, added] = g_watch.try_emplace(item, Role::Item);
  if (!added && at->second.role != Role::Item) {
    g_watch.erase(namer);
    return;
  }
  at->second.namers.push_back(namer);
  g_watch.insert_or_assign(namer, Watch(Role::Namer, item));
}

void WriteReference(Entity* namer, NodeRef item) {
  if (std::uint8_t* p = PayloadOfAtLeast(namer, 4)) WriteU32(p, 0, item);
}

// The step a caption belongs to: the value of its Type_UndoPosition child.
bool CaptionStep(const Entity* caption, std::uint32_t* step) {
  for (NodeRef g = caption->firstChild; g; g = NodeAt<TypeGroup>(g)->next) {
    const TypeGroup* group = NodeAt<TypeGroup>(g);
    if (group->typeCode != Type_UndoPosition) continue;
    const std::uint8_t* p = PayloadOfAtLeast(NodeAt<Entity>(group->firstChild), 4);
    if (!p) return false;
    *step = ReadU32(p, 0);
    return true;
  }
  return false;
}

// The entities of one group, oldest first.
std::vector<Entity*> OldestFirst(const TypeGroup* group) {
  std::vector<Entity*> list;
  for (NodeRef e = group->firstChild; e; e = NodeAt<Entity>(e)->next) list.push_back(NodeAt<Entity>(e));
  std::reverse(list.begin(), list.end());
  return list;
}

void Build(Entity* history, HistoryIndex& index) {
  const NodeRef ref = NodeRefOf(history);
  for (NodeRef g = history->firstChild; g; g = NodeAt<TypeGroup>(g)->next) {
    const TypeGroup* group = NodeAt<TypeGroup>(g);
    if (group->typeCode != Type_UndoEntry && group->typeCode != Type_UndoCaption) continue;
    const bool entries = group->typeCode == Type_UndoEntry;
    for (Entity* e : OldestFirst(group)) {
      std::uint32_t step = 0;
      if (entries) {
        const std::uint8_t* p = PayloadOfAtLeast(e, 8);
        if (!p) continue;
        step = ReadU32(p, 0);
      } else if (!CaptionStep(e, &step)) {
        continue;
      }
      (entries ? index.entries : index.captions)[step].push_back(NodeRefOf(e));
      g_watch.insert_or_assign(NodeRefOf(e), Watch(entries ? Role::Entry : Role::Caption, ref, step));
    }
  }
}

}  // namespace

NodeRef NamedItem(NodeRef namer) {
  const auto at = g_watch.find(namer);
  return at != g_watch.end() && at->second.role == Role::Namer ? at->second.link : 0;
}

void Name(Entity* namer, NodeRef item) {
  if (!namer) return;
  Observe();
  const NodeRef ref = NodeRefOf(namer);
  Unname(ref);
  WriteReference(namer, item);
  if (item && namer->payloadSize >= 4) Register(ref, item);
}

void Repoint(NodeRef from, NodeRef to) {
  if (!from || !to || from == to) return;
  const auto at = g_watch.find(from);
  if (at == g_watch.end() || at->second.role != Role::Item) return;
  std::vector<NodeRef> namers = std::move(at->second.namers);
  g_watch.erase(at);
  for (NodeRef namer : namers) {
    WriteReference(NodeAt<Entity>(namer), to);
    Register(namer, to);
  }
}

HistoryIndex& IndexOf(Entity* history) {
  Observe();
  const NodeRef ref = NodeRefOf(history);
  auto [at, added] = g_histories.try_emplace(ref);
  if (added) {
    g_watch.insert_or_assign(ref, Watch(Role::History));
    Build(history, at->second);
  }
  return at->second;
}

void AddEntry(Entity* history, Entity* entry, std::uint32_t step) {
  IndexOf(history).entries[step].push_back(NodeRefOf(entry));
  g_watch.insert_or_assign(NodeRefOf(entry), Watch(Role::Entry, NodeRefOf(history), step));
}

void AddCaption(Entity* history, Entity* caption, std::uint32_t step) {
  IndexOf(history).captions[step].push_back(NodeRefOf(caption));
  g_watch.insert_or_assign(NodeRefOf(caption), Watch(Role::Caption, NodeRefOf(history), step));
}

}  // namespace undoindex
