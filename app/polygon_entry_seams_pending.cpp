// The program's stand-ins for the editing engine's polygon entry
// (objects/polygon_entry_seams.h) until it lands. They refuse visibly with a
// beep: no polygon is stored, no point added, nothing reversed.
#include "objects/polygon_entry_seams.h"

#include "platform/user.h"

namespace {
void Refuse() { MessageBeep(0); }
}  // namespace

pl3::Box* SetPolygon(EntityRecord*) {
  Refuse();
  return nullptr;
}
Tower* InsertPolygonRecord(const EntityRecord*, const Tower*) {
  Refuse();
  return nullptr;
}
void ReversePolygonInHand(HWND, EntityRecord*) { Refuse(); }
