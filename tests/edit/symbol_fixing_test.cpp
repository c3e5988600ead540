#include "edit/symbol_fixing.h"

#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdio>
#include <string>
#include <vector>

#include "objects/item_picking.h"
#include "edit/window_data.h"
#include "objects/console_seams.h"
#include "objects/type_codes.h"
#include "platform/user.h"
#include "tests/store/tower_test_support.h"

namespace {

std::vector<std::string> gConsole;
Tower* gFound = nullptr;            // what the symbol search finds
std::vector<int> gSearchIncludes;   // the include-selected byte of each search

}  // namespace

Tower* FindClosestSymbol(std::int32_t, std::int32_t, std::uint8_t includeSelected) {
  gSearchIncludes.push_back(includeSelected);
  return gFound ? DuplicateTower(gFound) : nullptr;
}

ConsoleLine* AddConsoleMessage(ConsolePane*, std::uint32_t kind, std::int32_t, std::int32_t, std::int32_t,
                               std::uint32_t flags, const char* format, ...) {
  char text[256];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  gConsole.push_back(std::to_string(kind) + " " + std::to_string(flags) + " " + text);
  return nullptr;
}

namespace {

class SymbolFixing : public testing::Test {
 protected:
  void SetUp() override {
    towertest::EnsureStoreStarted();
    window = std::make_unique<CurrentWindowData>();
    window->editorKind = kEditorPcb;
    design = towertest::NewTopLevelEntity(Type_PCB);
    window->design = design;
    ActiveWindowData = window.get();
    gConsole.clear();
    gSearchIncludes.clear();
  }
  void TearDown() override {
    ReleaseTower(&gFound);
    ActiveWindowData = nullptr;
    DeleteEntity(design);
    ReleaseTower(&design);
  }
  // A placed symbol, with a designator when one is given; the search finds it.
  Entity* Symbol(const char* designator, std::uint16_t code = Type_SymbolInstance) {
    ReleaseTower(&gFound);
    const std::uint32_t zero[4] = {};
    gFound = InsertEntity(design, sizeof zero, code, zero);
    if (designator) {
      Tower* group = InsertEntity(gFound, 0, Type_Designator, nullptr);
      Tower* text = InsertEntity(group, static_cast<std::uint32_t>(std::string(designator).size() + 1),
                                 Type_DesignatorString, designator);
      ReleaseTower(&text);
      ReleaseTower(&group);
    }
    return TowerEntity(gFound);
  }
  // Whether the design carries its changed mark; the mark is taken away.
  bool TakeChangedMark() {
    const bool changed = GetEntityData(design, Type_ModifiedNote) != nullptr;
    DeleteChildEntities(design, Type_ModifiedNote);
    return changed;
  }
  std::vector<std::string> Fix(bool fix) {
    gConsole.clear();
    if (fix)
      FixClosestSymbol(nullptr, &window->Button);
    else
      UnfixClosestSymbol(nullptr, &window->Button);
    return gConsole;
  }

  std::unique_ptr<CurrentWindowData> window;
  Tower* design = nullptr;
};

TEST_F(SymbolFixing, FixingAndFreeingWriteTheirLinesAndChangeTheState) {
  Entity* u7 = Symbol("U7");
  int beeps = pl3::BeepCount();
  EXPECT_EQ(Fix(true), (std::vector<std::string>{"6 260 Symbol \"U7\" has been fixed in place."}));
  EXPECT_NE(u7->flags & kSymbolFixed, 0);
  EXPECT_EQ(pl3::BeepCount(), beeps + 1);
  EXPECT_TRUE(TakeChangedMark()) << "the fixed state is saved with the design";
  EXPECT_EQ(Fix(false), (std::vector<std::string>{"6 260 Symbol \"U7\" has been unfixed."}));
  EXPECT_EQ(u7->flags & kSymbolFixed, 0);
  EXPECT_TRUE(TakeChangedMark());
  EXPECT_EQ(gSearchIncludes, (std::vector<int>{0, 1})) << "freeing looks at selected symbols too";
}

TEST_F(SymbolFixing, ASymbolAlreadyInThatStateKeepsIt) {
  struct Case {
    bool fix;
    const char* designator;
    const char* line;
  };
  for (const Case& c : std::vector<Case>{
           {true, "R1", "6 260 Symbol \"R1\" is already fixed in place."},
           {true, nullptr, "6 260 Undesignated symbol is already fixed in place."},
           {false, "R1", "6 260 Symbol \"R1\" is already unfixed."},
           {false, nullptr, "6 260 Undesignated symbol is already unfixed."},
       }) {
    Entity* s = Symbol(c.designator);
    if (c.fix) s->flags |= kSymbolFixed;
    const std::uint16_t before = s->flags;
    const int beeps = pl3::BeepCount();
    EXPECT_EQ(Fix(c.fix), (std::vector<std::string>{c.line}));
    EXPECT_EQ(s->flags, before);
    EXPECT_EQ(pl3::BeepCount(), beeps + 1);
    EXPECT_FALSE(TakeChangedMark()) << "nothing changed";
  }
}

TEST_F(SymbolFixing, AnUndesignatedSymbolIsNamedSo) {
  Symbol(nullptr);
  EXPECT_EQ(Fix(true), (std::vector<std::string>{"6 260 Undesignated symbol has been fixed in place."}));
  EXPECT_EQ(Fix(false), (std::vector<std::string>{"6 260 Undesignated symbol has been unfixed."}));
}

TEST_F(SymbolFixing, AnotherObjectOrNothingOnlyBeeps) {
  Entity* schematic = Symbol("U1", 30);
  int beeps = pl3::BeepCount();
  EXPECT_EQ(Fix(true), (std::vector<std::string>{"6 4 No symbol close enough to fix in place."}));
  EXPECT_EQ(Fix(false), (std::vector<std::string>{"6 4 No symbol close enough to unfix."}));
  EXPECT_EQ(schematic->flags & kSymbolFixed, 0);
  EXPECT_EQ(pl3::BeepCount(), beeps + 2);
  ReleaseTower(&gFound);
  beeps = pl3::BeepCount();
  EXPECT_TRUE(Fix(true).empty());
  EXPECT_EQ(pl3::BeepCount(), beeps + 1);
}

}  // namespace
