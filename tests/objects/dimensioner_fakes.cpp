// Recording stand-ins for the drawing and engine services the dimensioners
// call. Text boxes are measured as designator_fakes.cpp lays texts out: 100
// units per character from the item's translation, 200 high.
#include "dimensioner_fakes.h"

#include <cstring>

#include "edit/window_data.h"
#include "objects/dimensioner_seams.h"
#include "objects/editor_seams.h"
#include "objects/graphic_records.h"
#include "objects/item_helper_seams.h"
#include "platform/reset_hooks.h"
#include "platform/user.h"
#include "store/tower.h"

namespace dimensionertest {

std::vector<DrawnTrack>& Tracks() {
  static std::vector<DrawnTrack> v;
  return v;
}
std::vector<int>& Arcs() {
  static std::vector<int> v;
  return v;
}
std::vector<std::uint32_t>& MenuKinds() {
  static std::vector<std::uint32_t> v;
  return v;
}
Tower*& ItemNearCursor() {
  static Tower* t = nullptr;
  return t;
}
std::uint32_t& SeenPickFilter() {
  static std::uint32_t f = 0;
  return f;
}
pl3::Box& PadBox() {
  static pl3::Box b = pl3::kEmptyBox;
  return b;
}

namespace {
void ResetFakes() {
  Tracks().clear();
  Arcs().clear();
  MenuKinds().clear();
  ItemNearCursor() = nullptr;
  SeenPickFilter() = 0;
  PadBox() = pl3::kEmptyBox;
}
const bool gRegistered = pl3::RegisterGlobalReset(&ResetFakes);
}  // namespace

}  // namespace dimensionertest

using namespace dimensionertest;

void DrawDimensionerTrack(void*, std::uint8_t, pl3::Point from, pl3::Point to, std::int32_t width, int pass) {
  Tracks().push_back({from, to, width, pass});
}
void DrawDimensionerArc(void*, std::uint8_t, pl3::Point, std::int32_t, pl3::Point, pl3::Point, std::int32_t,
                        int pass) {
  Arcs().push_back(pass);
}
void GhostWorldLine(void*, pl3::Point, pl3::Point) {}
void GhostWorldCircle(void*, pl3::Point, std::int32_t) {}
Tower* FindItemsNearPoint(std::int32_t, std::int32_t, std::uint8_t, std::uint8_t) {
  SeenPickFilter() = ActiveWindowData ? ActiveWindowData->PickFilter : 0;
  return ItemNearCursor() ? DuplicateTower(ItemNearCursor()) : nullptr;
}
int GetBox(const Tower*, pl3::Box* box) {
  *box = PadBox();
  return 1;
}

void SetSelectionAndOptionsMenus(std::uint32_t kind) { MenuKinds().push_back(kind); }

void OffsetEntity(void*, std::uint16_t, std::int32_t, std::int32_t, int) { MessageBeep(0); }
int VisitDisplayItems(int (*)(const DisplayItemView&, void*), void*) { return 0; }
