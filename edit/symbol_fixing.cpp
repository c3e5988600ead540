#include "edit/symbol_fixing.h"

#include <string>

#include "objects/item_picking.h"
#include "edit/window_data.h"
#include "objects/console_seams.h"
#include "objects/design_walks.h"
#include "objects/designators.h"
#include "objects/symbol_instances.h"
#include "objects/type_codes.h"
#include "platform/user.h"
#include "store/tower.h"

namespace {

constexpr std::uint32_t kGeneralLine = 6;
constexpr std::uint32_t kLineWithPosition = 260;
constexpr std::uint32_t kLineWithoutPosition = 4;

// The texts of one direction: done and already, with and without a designator,
// and the line for an object that is no placed symbol.
struct FixTexts {
  const char* done;
  const char* doneUndesignated;
  const char* already;
  const char* alreadyUndesignated;
  const char* noSymbol;
};

constexpr FixTexts kFixTexts{"Symbol \"%s\" has been fixed in place.", "Undesignated symbol has been fixed in place.",
                             "Symbol \"%s\" is already fixed in place.",
                             "Undesignated symbol is already fixed in place.",
                             "No symbol close enough to fix in place."};
constexpr FixTexts kUnfixTexts{"Symbol \"%s\" has been unfixed.", "Undesignated symbol has been unfixed.",
                               "Symbol \"%s\" is already unfixed.", "Undesignated symbol is already unfixed.",
                               "No symbol close enough to unfix."};

// The symbol's designator, empty when it has none.
std::string DesignatorOf(const Tower* instance) {
  Tower* group = OpenChildTower(instance, Type_Designator);
  const char* text = group ? GetDesignatorText(group) : nullptr;
  std::string designator = text ? text : "";
  ReleaseTower(&group);
  return designator;
}

void SetFixedState(Tower* instance, bool fix, const FixTexts& texts, ConsolePane* console) {
  Entity* e = TowerEntity(instance);
  std::int32_t x = 0, y = 0;
  GetSymbolInstanceOrigin(instance, &x, &y);
  const std::string designator = DesignatorOf(instance);
  const bool fixed = (e->flags & kSymbolFixed) != 0;
  if (fixed == fix) {
    if (designator.empty())
      AddConsoleMessage(console, kGeneralLine, x, y, 0, kLineWithPosition, "%s", texts.alreadyUndesignated);
    else
      AddConsoleMessage(console, kGeneralLine, x, y, 0, kLineWithPosition, texts.already, designator.c_str());
    MessageBeep(MB_ICONEXCLAMATION);
    return;
  }
  HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  e->flags = static_cast<std::uint16_t>(fix ? e->flags | kSymbolFixed : e->flags & ~kSymbolFixed);
  SetCursor(previous);
  // The fixed bit is saved with the design: closing it must ask to save.
  RecordDesignChange();
  if (designator.empty())
    AddConsoleMessage(console, kGeneralLine, x, y, 0, kLineWithPosition, "%s", texts.doneUndesignated);
  else
    AddConsoleMessage(console, kGeneralLine, x, y, 0, kLineWithPosition, texts.done, designator.c_str());
  MessageBeep(0);
}

void ChangeClosestSymbol(ButtonRecord* mouse, bool fix) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !mouse) return;
  const FixTexts& texts = fix ? kFixTexts : kUnfixTexts;
  Tower* found = FindClosestSymbol(mouse->MouseWorld.x, mouse->MouseWorld.y, fix ? 0 : 1);
  auto* console = static_cast<ConsolePane*>(w->Console);
  if (!found) {
    MessageBeep(MB_ICONEXCLAMATION);
  } else if (!TowerEntity(found) || TowerEntity(found)->typeCode != Type_SymbolInstance) {
    AddConsoleMessage(console, kGeneralLine, 0, 0, 0, kLineWithoutPosition, "%s", texts.noSymbol);
    MessageBeep(MB_ICONEXCLAMATION);
  } else {
    SetFixedState(found, fix, texts, console);
  }
  ReleaseTower(&found);
}

}  // namespace

void FixClosestSymbol(HWND, ButtonRecord* mouse) { ChangeClosestSymbol(mouse, true); }

void UnfixClosestSymbol(HWND, ButtonRecord* mouse) { ChangeClosestSymbol(mouse, false); }
