#include "tests/edit/engine_fakes.h"

#include <cstring>

#include "edit/engine_seams.h"
#include "edit/ratsnest_seams.h"
#include "edit/status_seams.h"
#include "edit/window_data.h"
#include "objects/display_list_seams.h"
#include "objects/view_seams.h"
#include "platform/reset_hooks.h"
#include "store/tower.h"

namespace enginefakes {

std::vector<std::string> calls;
int deleteSelectionArrayAnswer = 1;
int deleteSelectionAnswer = 1;

namespace {
void Reset() {
  calls.clear();
  deleteSelectionArrayAnswer = 1;
  deleteSelectionAnswer = 1;
}
const bool gRegistered = pl3::RegisterGlobalReset(&Reset);
}  // namespace

std::vector<std::string> CallsStartingWith(const std::string& prefix) {
  std::vector<std::string> found;
  for (const std::string& c : calls)
    if (c.compare(0, prefix.size(), prefix) == 0) found.push_back(c);
  return found;
}

// The type code of the entity a Tower stands on, and for a track its first
// x, which the tests use as a tag.
std::string Describe(const Tower* t) {
  const Entity* e = TowerEntity(t);
  if (!e) return "none";
  std::string text = std::to_string(e->typeCode);
  if (e->payloadSize >= 56) {
    std::int32_t tag = 0;
    std::memcpy(&tag, EntityPayload(e) + 52, 4);
    text += ":" + std::to_string(tag);
  }
  return text;
}

void Note(const std::string& text) { calls.push_back(text); }

}  // namespace enginefakes

using enginefakes::Describe;
using enginefakes::Note;

// The display list.
void PutEntityOnDisplayList(void*, const Tower* entity) { Note("put " + Describe(entity)); }
void* RemoveFromDisplayList(void* list, const Tower* entity) {
  Note("take " + Describe(entity));
  return list;
}
void AddTrackToDisplayList(const void*, const pl3::Transform*, int, const Tower*, int) {}
void TransformItemBox(const EntityRecord*) {}

// The docking panes.
LRESULT Docking_SendToPaneClient(std::uint32_t, UINT, WPARAM, LPARAM) { return 0; }
void ComponentBinMarkPlaced(const Tower* instance) { Note("bin placed " + Describe(instance)); }
void ComponentBinMarkUnplaced(const Tower* instance) { Note("bin unplaced " + Describe(instance)); }
void ComponentBinAddSymbol(const Tower*, const Tower*, const char*) {}
char* StepNameNumber(const char*, int) { return nullptr; }
void UpdateToolbarStates(std::uint32_t) {}

// The view.
int IsItemAttachedToCursor() { return 0; }
void CentreViewOnPoint(void*, pl3::Point) {}
void RedrawView(void* window) { Note(window ? "redraw view" : "redraw no view"); }
void HandleRawMouseRecord(void*, const MouseRecord&) {}
void DoScroll(void*, std::uint32_t, std::uint32_t) {}

// The ratsnest.
void EmptyChangedNets() { Note("nets emptied"); }
void MarkSymbolNetsChanged(const Tower* instance) { Note("nets of " + Describe(instance)); }
void UpdateChangedNetMembers(int) { Note("nets updated"); }
void RemoveMovingPoints(const Tower* item) { Note("moving points dropped " + Describe(item)); }

// The frame's menus.
void SetOwnerDrawnItemText(std::uintptr_t data, const char* text) {
  Note("owner-drawn text " + std::to_string(data) + " " + text);
}
void RefreshOwnerDrawnMenu(HMENU, int flags) { Note("menu refreshed " + std::to_string(flags)); }
void ChangeMenu(int flags) { Note("change menu " + std::to_string(flags)); }
