#include "app/rotate_commands.h"

#include <cstdlib>

#include "app/item_key_commands.h"
#include "app/transform_inverse.h"
#include "edit/angle_entry.h"
#include "edit/engine_seams.h"
#include "edit/key_command_seams.h"
#include "edit/mouse_road.h"
#include "edit/selection.h"
#include "edit/insertion_array.h"
#include "edit/window_data.h"
#include "geometry/transform.h"
#include "objects/editor_input.h"
#include "objects/editor_seams.h"
#include "objects/graphic_records.h"
#include "objects/item_sides.h"
#include "objects/payload_access.h"
#include "objects/polygon_entry.h"
#include "objects/selection_seams.h"
#include "objects/type_codes.h"
#include "objects/view_seams.h"
#include "platform/user.h"
#include "store/tower.h"

namespace {

constexpr std::uint32_t kPadInfoTransformOffset = 12;  // the placement Transform inside a 116

const SelectionInfo* FirstPrimary(const SelectionInfo* list) {
  for (const SelectionInfo* s = list; s; s = s->next)
    if (s->flags & kSelectionPrimary) return s;
  return nullptr;
}

// A reflection: the box of dialog 1005 starts checked.
bool IsReflection(const pl3::Transform& t) { return t.b == t.c && t.a == -t.d; }

// Replaces the four linear words by the rotation to the angle, keeping the translation.
void SetRotationWords(pl3::Transform* words, double degrees) {
  pl3::Transform r{};
  MakeRotationTransform(degrees, &r);
  words->a = r.a;
  words->b = r.b;
  words->c = r.c;
  words->d = r.d;
}

// The current angle of a Transform, its mirroring taken out.
double AngleOf(const pl3::Transform& t) {
  pl3::Transform mirror{}, rest{};
  MakeAngleTransform(t, &mirror, &rest);
  return GetTransformAngle(rest);
}

// Asks for the angle; false when nothing is to happen.
bool AskAngle(HWND view, const pl3::Transform* words, bool mirrorBox, AngleDialogBlock* block, double* target) {
  const pl3::Transform current = words ? *words : pl3::kIdentityTransform;
  *block = {IsReflection(current) ? 1 : 0, RememberedAngleMode, AngleOf(current), 0.0};
  const int dialog = mirrorBox ? kAngleMirrorDialog : AngleDialogFor(words != nullptr, block->currentAngle);
  if (!ShowAngleDialog(view, dialog, block)) return false;
  return ResolveAngleTarget(*block, target);
}

// The turn that takes the item to the target: from the current rotation
// (override) or by the typed angle (combine).
pl3::Transform TurnFor(const pl3::Transform* words, const AngleDialogBlock& block, double target) {
  pl3::Transform turn{};
  if (block.mode == kAngleCombine) {
    MakeRotationTransform(block.newAngle, &turn);
    return turn;
  }
  pl3::Transform mirror{}, rest{};
  MakeAngleTransform(words ? *words : pl3::kIdentityTransform, &mirror, &rest);
  pl3::Transform* reverse = pl3::NewReverseTransform(&rest);
  if (!reverse) return pl3::kIdentityTransform;
  reverse->tx = reverse->ty = 0;
  MakeRotationTransform(target, &turn);
  pl3::ComposeTransform(reverse, &turn);
  turn = *reverse;
  std::free(reverse);
  return turn;
}

void SetCentroid(CentroidPayload* c, double degrees) {
  MakeRotationTransform(degrees, &c->head.transform);
  std::int32_t x = 0;
  std::int32_t y = -2 * static_cast<std::int32_t>(c->head.sizeIndex);
  pl3::TransformVector(&c->head.transform, x, y);
  c->direction = {x, y};
}

void ToggleSelectionGhost(HWND view, const SelectionInfo* list) {
  HDC dc = GetDC(view);
  GhostSelectionArray(dc, list);
  ReleaseDC(view, dc);
}

}  // namespace

pl3::Transform* ItemRotationWords(const Tower* item) {
  Entity* e = TowerEntity(item);
  if (!e) return nullptr;
  std::uint8_t* p = nullptr;
  switch (e->typeCode) {
    case Type_Text:
      p = PayloadOfAtLeast(e, sizeof(TextPayload));
      return p ? reinterpret_cast<pl3::Transform*>(p + offsetof(TextPayload, textTransform)) : nullptr;
    case Type_Rectangle:
      p = PayloadOfAtLeast(e, sizeof(GraphicHead));
      return p ? reinterpret_cast<pl3::Transform*>(p + offsetof(GraphicHead, transform)) : nullptr;
    case Type_SymbolInstance:
    case 163:
      p = ChildPayloadOfAtLeast(item, Type_Transform, sizeof(pl3::Transform));
      return reinterpret_cast<pl3::Transform*>(p);
    case Type_PadStackInstanceHier:
      p = ChildPayloadOfAtLeast(item, Type_PadStackInfo, kPadInfoTransformOffset + sizeof(pl3::Transform));
      return p ? reinterpret_cast<pl3::Transform*>(p + kPadInfoTransformOffset) : nullptr;
    default:
      return nullptr;
  }
}

pl3::Transform* ModeItemRotationWords(CurrentWindowData& w) {
  EntityRecord* pending = w.PendingRecord;
  switch (w.EditMode) {
    case 24: case 25: case 26: case 27:
      return &w.InsertionTransform;
    case 28: case 29:
      return pending ? &pending->as<TextPayload>().textTransform : nullptr;
    case 33: case 110:
      return reinterpret_cast<pl3::Transform*>(
          ChildPayloadOfAtLeast(w.TemporaryEntity, Type_Transform, sizeof(pl3::Transform)));
    default:
      return pending && pending->header.recordType == Type_Rectangle ? &pending->head().transform : nullptr;
  }
}

void SetSelectedCentroidAngle(HWND view) {
  CurrentWindowData* w = ActiveWindowData;
  const SelectionInfo* first = w ? FirstPrimary(w->SelectionList) : nullptr;
  Entity* e = first ? TowerEntity(SelectionItem(*first)) : nullptr;
  std::uint8_t* p = e && e->typeCode == Type_Centroid ? PayloadOfAtLeast(e, sizeof(CentroidPayload)) : nullptr;
  if (!p) {
    MessageBeep(MB_ICONEXCLAMATION);
    return;
  }
  auto* c = reinterpret_cast<CentroidPayload*>(p);
  AngleDialogBlock block{};
  double target = 0;
  if (!AskAngle(view, &c->head.transform, false, &block, &target)) return;
  ToggleSelectionGhost(view, w->SelectionList);
  SetCentroid(c, target);
  ToggleSelectionGhost(view, w->SelectionList);
}

void SetPlacedCentroidAngle(HWND view) {
  CurrentWindowData* w = ActiveWindowData;
  EntityRecord* pending = w ? w->PendingRecord : nullptr;
  if (!pending || pending->header.recordType != Type_Centroid) {
    MessageBeep(MB_ICONEXCLAMATION);
    return;
  }
  auto& c = pending->as<CentroidPayload>();
  AngleDialogBlock block{};
  double target = 0;
  if (!AskAngle(view, &c.head.transform, false, &block, &target)) return;
  GhostCurrentMode(view);
  SetCentroid(&c, target);
  GhostCurrentMode(view);
  w->EditMode = 61;
  DoMouseMove(view, &w->Button, &w->PendingRecord, 0);
}

void FreehandRotateSelection(HWND view, bool mirrorBox) {
  CurrentWindowData* w = ActiveWindowData;
  const SelectionInfo* first = w ? FirstPrimary(w->SelectionList) : nullptr;
  if (!first) {
    MessageBeep(MB_ICONEXCLAMATION);
    return;
  }
  pl3::Transform* words = ItemRotationWords(SelectionItem(*first));
  AngleDialogBlock block{};
  double target = 0;
  if (!AskAngle(view, words, mirrorBox, &block, &target)) return;
  // The attached ends go back where they were before the selection turns.
  if (HasSecondarySelections(w->SelectionList)) {
    const pl3::Box released = ReleaseSecondarySelections();
    RedrawViewRect(view, &released, 1);
  }
  if (!RotateSelection(view, TurnFor(words, block, target))) return;  // refused: nothing changes
  if (CountSelections(w->SelectionList, 0) > 1) return;
  // The turn leaves the words rounded: set them to the target itself.
  words = ItemRotationWords(SelectionItem(*first));
  if (!words) return;
  ToggleSelectionGhost(view, w->SelectionList);
  SetRotationWords(words, target);
  ToggleSelectionGhost(view, w->SelectionList);
  if (mirrorBox && (block.mirrored != 0) != IsReflection(*words)) RotateSelection(view, kMirrorTransform);
  RedrawView(view);
}

void FreehandRotateModeItem(HWND view, bool mirrorBox) {
  CurrentWindowData* w = ActiveWindowData;
  pl3::Transform* words = w ? ModeItemRotationWords(*w) : nullptr;
  if (!words) {
    MessageBeep(MB_ICONEXCLAMATION);
    return;
  }
  AngleDialogBlock block{};
  double target = 0;
  if (!AskAngle(view, words, mirrorBox, &block, &target)) return;
  // The turn takes the item round as the rotate commands do (ghost and
  // record together, a symbol kept under the cursor); then its rotation
  // words are set to the target itself, so no rounding of the turn stays.
  const pl3::Transform turn = TurnFor(words, block, target);
  RotateInsertionBy(view, &w->PendingRecord, w->Cursor, &turn);
  words = ModeItemRotationWords(*w);
  if (!words) return;
  GhostCurrentMode(view);
  SetRotationWords(words, target);
  GhostCurrentMode(view);
  if (mirrorBox && (block.mirrored != 0) != IsReflection(*words) && w->PendingRecord)
    MirrorGhost(view, w->PendingRecord);
}
