#include "edit/nearest_pad.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "draw/display_list_seams.h"
#include "draw/walk_actions.h"
#include "edit/window_data.h"
#include "objects/console_seams.h"
#include "objects/dimensioner_seams.h"
#include "objects/editor_seams.h"
#include "objects/frame_seams.h"
#include "objects/payload_access.h"
#include "objects/type_codes.h"
#include "objects/walker.h"
#include "platform/user.h"
#include "store/tower.h"

namespace {

constexpr std::uint32_t kCursorNamePad = 9;
constexpr std::uint32_t kConsoleGeneral = 6;

int PadMeetsPickBox(Tower* item, const pl3::Transform* transform, const pl3::Box* box) {
  return TestBoundingBox(item, box, transform);
}

// The walker's type table, box slot and box test for the nearest-pad walk,
// put back when it ends: the walk reaches the pads through the box action's
// slot, and only pads and symbols that meet the pick box are measured.
class NearestPadWalk {
 public:
  NearestPadWalk() : slot_(WalkHandlers.extendBoxByEntity), boxTest_(WalkHandlers.testBoundingBox) {
    std::memcpy(typeFlags_, WalkTypeFlags, sizeof typeFlags_);
    std::fill(std::begin(WalkTypeFlags), std::end(WalkTypeFlags), static_cast<std::uint16_t>(0));
    for (std::uint16_t code : {Type_PadStackInstanceHier, Type_PadStackInfo, Type_SymbolInstance})
      WalkTypeFlags[code] = kWalkTypeWanted;
    WalkHandlers.extendBoxByEntity = &FindNearestPadAction;
    WalkHandlers.testBoundingBox = &PadMeetsPickBox;
  }
  ~NearestPadWalk() {
    std::memcpy(WalkTypeFlags, typeFlags_, sizeof typeFlags_);
    WalkHandlers.extendBoxByEntity = slot_;
    WalkHandlers.testBoundingBox = boxTest_;
  }
  NearestPadWalk(const NearestPadWalk&) = delete;
  NearestPadWalk& operator=(const NearestPadWalk&) = delete;

 private:
  WalkHandler slot_;
  int (*boxTest_)(Tower*, const pl3::Transform*, const pl3::Box*);
  std::uint16_t typeFlags_[kWalkTypeCount];
};

bool IsPad(const Tower* t) {
  const Entity* e = t ? TowerEntity(t) : nullptr;
  return e && e->typeCode == Type_PadStackInstanceHier;
}

void SetHighlight(HWND view, const Tower* pad, bool on) {
  Entity* e = TowerEntity(pad);
  if (on)
    e->flags |= kEntityHighlighted;
  else
    e->flags &= static_cast<std::uint16_t>(~kEntityHighlighted);
  pl3::Box box{};
  if (GetBox(pad, &box)) RedrawViewRect(view, &box, 0);
}

// Lets go of the pad the mode holds, if it holds one.
void ReleaseHeldPad(HWND view, CurrentWindowData& w) {
  if (!IsPad(w.Selection)) return;
  SetHighlight(view, w.Selection, false);
  ReleaseTower(&w.Selection);
}

}  // namespace

int FindNearestPad(std::int32_t x, std::int32_t y, const Tower* design, const pl3::Transform* transform) {
  CurrentWindowData* w = ActiveWindowData;
  ResetNearestPad();
  NearestPadResult.distance = kNoNearestPad;
  if (!w || !design) return 0;
  const double reach = static_cast<double>(PickDistance) * w->Zoom;
  pl3::Box box{static_cast<std::int32_t>(x - reach), static_cast<std::int32_t>(y - reach),
               static_cast<std::int32_t>(x + reach), static_cast<std::int32_t>(y + reach)};
  {
    NearestPadWalk walk;
    PerformTowerAction(transform ? transform : &pl3::kIdentityTransform, design, &box, 0, WalkAction_ExtendBox, 0);
  }
  return NearestPadResult.distance < kNoNearestPad ? 1 : 0;
}

Tower* FindPadInstanceByXref(const Tower* design, std::uint32_t xref) {
  Tower* found = nullptr;
  Tower* pads = GetChildTower(design, Type_PadStackInstanceHier);
  while (!found && pads && FindNextEntity(pads)) {
    const std::uint8_t* info = ChildPayloadOfAtLeast(pads, Type_PadStackInfo, 8);
    if (info && ReadU32(info, 4) == xref) found = DuplicateTower(pads);
  }
  ReleaseTower(&pads);
  return found;
}

void DoNamePins(HWND view, ButtonRecord* mouse) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !w->design) return;
  const pl3::Point at = mouse ? mouse->Cursor : w->Cursor;
  if (!FindNearestPad(at.x, at.y, w->design, &pl3::kIdentityTransform)) {
    w->CursorHandle = LoadCursor(nullptr, IDC_NO);
    ReleaseHeldPad(view, *w);
    SetCursor(static_cast<HCURSOR>(w->CursorHandle));
    return;
  }
  SetEditCursor(kCursorNamePad);
  Tower* pad = FindPadInstanceByXref(w->design, NearestPadResult.xref);
  if (!pad) {
    AddConsoleMessage(ProgramLogPane, kConsoleGeneral, 0, 0, 0, 0, "DoNamePins: Unable to locate Pad Instance!");
    return;
  }
  if (w->Selection && TowerEntity(w->Selection) == TowerEntity(pad)) {
    ReleaseTower(&pad);
    return;
  }
  ReleaseHeldPad(view, *w);
  SetHighlight(view, pad, true);
  w->Selection = pad;
}
