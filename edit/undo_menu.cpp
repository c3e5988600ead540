// The Undo and Redo items of the frame's Edit menu.
#include <array>
#include <cstdio>
#include <cstring>

#include "edit/engine_seams.h"
#include "edit/undo_history_access.h"
#include "platform/menus.h"
#include "store/filing_seams.h"

using namespace undohistory;

namespace {

constexpr UINT kUndoItem = 2271;
constexpr UINT kRedoItem = 2273;

// The longest item text kept: a caption is cut to what a menu shows.
constexpr std::size_t kItemTextRoom = 256;
using ItemText = std::array<char, kItemTextRoom>;

// "<verb> <caption>" when the step has a caption, else the verb alone. The
// caption is read within its record: one without its NUL ends there.
ItemText Plain(const char* verb) {
  ItemText text{};
  std::snprintf(text.data(), text.size(), "%s", verb);
  return text;
}

ItemText TextOf(const char* verb, std::uint32_t step) {
  ItemText text = Plain(verb);
  Tower* caption = FindUndoStepCaption(step);
  if (Entity* e = TowerEntity(caption)) {
    const auto* p = reinterpret_cast<const char*>(EntityPayload(e));
    std::snprintf(text.data(), text.size(), "%s %.*s", verb, static_cast<int>(strnlen(p, e->payloadSize)), p);
  }
  ReleaseTower(&caption);
  return text;
}

// The menu is owner-drawn: an item with owner-draw data keeps its text in
// the frame's record; one without takes the text as a plain string.
void WriteItemText(HMENU menu, UINT id, ItemText text) {
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_DATA;
  if (!GetMenuItemInfoA(menu, id, FALSE, &info)) return;
  if (info.dwItemData) {
    SetOwnerDrawnItemText(info.dwItemData, text.data());
    return;
  }
  info = MENUITEMINFOA{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_TYPE;
  info.fType = MFT_STRING;
  info.dwTypeData = text.data();
  SetMenuItemInfoA(menu, id, FALSE, &info);
}

void Enable(HMENU menu, UINT id, bool on) { EnableMenuItem(menu, id, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED)); }

}  // namespace

void UpdateUndoMenu() {
  const Tower* design = ActiveDesign();
  HMENU menu = design && FrameWindow ? GetMenu(FrameWindow) : nullptr;
  if (!IsMenu(menu)) return;
  ItemText undo = Plain("Undo");
  ItemText redo = Plain("Redo");
  bool canUndo = false;
  bool canRedo = false;
  if (OwnedTower history = OpenHistory(design, false)) {
    std::uint32_t position = 0;
    if (ReadPosition(history.get(), &position) && position != kUndoNothingDone) {
      canUndo = true;
      undo = TextOf("Undo", position);
    }
    const std::int64_t next = GetNextRedoStep();
    if (next >= 0) {
      canRedo = true;
      redo = TextOf("Redo", static_cast<std::uint32_t>(next));
    }
  }
  Enable(menu, kUndoItem, canUndo);
  Enable(menu, kRedoItem, canRedo);
  WriteItemText(menu, kUndoItem, undo);
  WriteItemText(menu, kRedoItem, redo);
  RefreshOwnerDrawnMenu(menu, 1);
}
