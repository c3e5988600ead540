// The dimensioner and datum tools driven through the real mouse road: clicks
// and moves reach the tools' own steps, and the item lands in the design.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>

#include "objects/grid_sets.h"
#include "objects/window_state.h"
#include "../store/tower_test_support.h"
#include "edit/mouse_road.h"
#include "edit/window_data.h"
#include "objects/attribute_locators.h"
#include "objects/datums.h"
#include "objects/dimensioners.h"
#include "objects/size_table.h"
#include "platform/dialog_hooks.h"
#include "objects/type_codes.h"
#include "platform/responder.h"
#include "platform/user.h"
#include "store/tower.h"

namespace {

// Answers "EnterTextDlg" with the datum's name.
void AnswerDatumName(HWND dialog) {
  pl3::TypeDialogText(dialog, 72, "EDGE");
  pl3::ClickDialogButton(dialog, IDOK);
}

class PlacingToolRoad : public testing::Test {
 protected:
  void SetUp() override {
    towertest::EnsureStoreStarted();
    design = towertest::NewTopLevelEntity(Type_PCB);
    window = std::make_unique<CurrentWindowData>(kEditorPcb, design);
    window->Zoom = 20000;
    // Points are taken as clicked: the window's grid does not snap.
    WindowGridSet(*window)->flags &= ~kGridSnap;
    window->EditMode = 0;
    sizes = NewSizeTable();
    SizeEntry font{};
    font.flags = kSizeEntryOn;
    font.unit = kSizeUnitNone;
    font.value1 = 10;
    (*sizes)[SizeKind_Fonts].entries.push_back(font);
    window->sizeTable = sizes.get();
    ActiveWindowData = window.get();
    pl3::SetDialogHook("EnterTextDlg", &AnswerDatumName);
  }
  void TearDown() override {
    delete window->PendingRecord;
    FreeGridInfo(window->Grids);
    window->Grids = nullptr;
    window->sizeTable = nullptr;
    ActiveWindowData = nullptr;
    DeleteEntity(design);
    ReleaseTower(&design);
  }
  void Click(pl3::Point at) {
    window->Cursor = at;
    DoLButtonUp(nullptr, &window->Button, &window->PendingRecord);
  }
  void Move(pl3::Point to) {
    window->Cursor = to;
    DoMouseMove(nullptr, &window->Button, &window->PendingRecord, 1);
  }
  const DimensionerPayload& InHand() { return window->PendingRecord->as<DimensionerPayload>(); }
  int Count(std::uint16_t code) {
    Tower* t = GetChildTower(design, code);
    int n = 0;
    while (t && FindNextEntity(t)) ++n;
    ReleaseTower(&t);
    return n;
  }

  Tower* design = nullptr;
  std::unique_ptr<CurrentWindowData> window;
  std::unique_ptr<SizeTable> sizes;
};

TEST_F(PlacingToolRoad, ADimensionerIsPlacedClickByClick) {
  ASSERT_EQ(SetInsertDimensionerMode(), 1);
  Click({300000000, 400000000});
  ASSERT_EQ(window->EditMode, kModeDimensionerA);
  ASSERT_NE(window->PendingRecord, nullptr);
  Move({310000000, 400000000});
  EXPECT_EQ(InHand().a.x, 310000000);
  Click({310000000, 400000000});
  EXPECT_EQ(window->EditMode, kModeDimensionerB);

  const int beeps = pl3::BeepCount();
  Click({310000000, 400000000});  // B still on A
  EXPECT_EQ(pl3::BeepCount(), beeps + 1);
  EXPECT_EQ(window->EditMode, kModeDimensionerB);

  Move({346576000, 400000000});
  EXPECT_EQ(InHand().b.x, 346576000);
  Click({346576000, 400000000});
  EXPECT_EQ(window->EditMode, kModeDimensionerLine);
  Move({320000000, 390000000});
  EXPECT_EQ(InHand().c.y, 390000000);
  EXPECT_EQ(InHand().length, 36576000u);
  Click({320000000, 390000000});
  EXPECT_EQ(window->EditMode, kModeDimensionerLabel);
  Move({330000000, 385000000});
  EXPECT_EQ(InHand().labelPosition.x, 330000000);
  Click({330000000, 385000000});
  EXPECT_EQ(window->EditMode, 0);
  EXPECT_EQ(window->PendingRecord, nullptr);
  ASSERT_EQ(Count(Type_Dimensioner), 1);
  Tower* t = GetChildTower(design, Type_Dimensioner);
  const auto* stored = reinterpret_cast<const DimensionerPayload*>(EntityPayload(FindNextEntity(t)));
  EXPECT_EQ(stored->length, 36576000u);
  EXPECT_EQ(stored->labelPosition.y, 385000000);
  ReleaseTower(&t);
}

TEST_F(PlacingToolRoad, AnAngleDimensionerStartsAtItsVertex) {
  ASSERT_EQ(SetInsertAngleDimensionerMode(), 1);
  Click({300000000, 300000000});
  ASSERT_EQ(window->EditMode, kModeAngleVertex);
  EXPECT_EQ(InHand().c.x, 300000000);
  Click({300000000, 300000000});
  EXPECT_EQ(window->EditMode, kModeAngleArmA);
  Move({320000000, 300000000});
  Click({320000000, 300000000});
  EXPECT_EQ(window->EditMode, kModeAngleArmB);
  Move({300000000, 280000000});
  Click({300000000, 280000000});
  EXPECT_EQ(window->EditMode, kModeAngleLabel);
  Click({310000000, 290000000});
  EXPECT_EQ(window->EditMode, 0);
  EXPECT_EQ(Count(Type_AngleDimensioner), 1);
}

TEST_F(PlacingToolRoad, ADatumIsNamedFollowsTheCursorAndIsStored) {
  ASSERT_EQ(SetInsertDatumMode(), 1);
  Click({300000000, 300000000});
  ASSERT_EQ(window->EditMode, kModePlacingDatum);
  Move({320000000, 330000000});
  Click({320000000, 330000000});
  EXPECT_EQ(window->EditMode, 0);
  EXPECT_EQ(window->PendingRecord, nullptr);
  const DatumPayload* d = FindDatumByName(design, "EDGE");
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->x, 320000000);
  EXPECT_EQ(d->y, 330000000);
}

// Dimensioners and spirals are placed on boards and PCB symbols; armed in
// any other window a click starts nothing.
TEST_F(PlacingToolRoad, DimensionersAndSpiralsBeginOnlyOnBoardsAndPcbSymbols) {
  struct Case {
    std::uint32_t kind;
    bool starts;
  };
  const Case cases[] = {{kEditorPcb, true},           {kEditorPcbSymbol, true}, {kEditorShape, false},
                        {kEditorPadStack, false},     {kEditorSchematic, false},
                        {kEditorSchematicSymbol, false}};
  for (const std::uint8_t type :
       {std::uint8_t{Type_Dimensioner}, std::uint8_t{Type_AngleDimensioner}, std::uint8_t{Type_Spiral}}) {
    for (const Case& c : cases) {
      window->editorKind = c.kind;
      window->EditMode = 0;
      window->InsertType = type;
      Click({300000000, 400000000});
      EXPECT_EQ(window->PendingRecord != nullptr, c.starts) << int(type) << " in kind " << c.kind;
      EXPECT_EQ(window->EditMode != 0, c.starts) << int(type) << " in kind " << c.kind;
      if (c.starts) {
        EXPECT_EQ(window->PendingRecord->header.recordType, type);
      }
      delete window->PendingRecord;
      window->PendingRecord = nullptr;
    }
  }
}

TEST_F(PlacingToolRoad, OtherInsertionsStillGoToTheirStandIns) {
  window->editorKind = kEditorSchematic;
  window->InsertType = Type_Wire;  // the schematic editor's own tool
  const int beeps = pl3::BeepCount();
  Click({300000000, 300000000});
  EXPECT_EQ(pl3::BeepCount(), beeps + 1);
  EXPECT_EQ(window->EditMode, 0);
  EXPECT_EQ(window->PendingRecord, nullptr);
}

}  // namespace

namespace {

int g_nameQuestions = 0;
void CancelTheName(HWND dialog) {
  ++g_nameQuestions;
  pl3::ClickDialogButton(dialog, IDCANCEL);
}
void AnswerTheName(HWND dialog) {
  ++g_nameQuestions;
  AnswerDatumName(dialog);
}

// A click with the locator tool armed starts a locator of the armed kind,
// asking first for a user attribute's name; schematic kinds only.
TEST_F(PlacingToolRoad, AClickWithTheLocatorToolArmedStartsALocatorOfItsKind) {
  window->editorKind = kEditorSchematic;
  const pl3::Point at{300000000, 300000000};
  struct Case {
    std::uint16_t kind;
    void (*answer)(HWND);
    int questions;
    bool starts;
  } cases[] = {
      {kLocatorUserAttribute, &CancelTheName, 1, false},
      {kLocatorUserAttribute, &AnswerTheName, 1, true},
      {kLocatorValue, &AnswerTheName, 0, true},
  };
  for (const Case& c : cases) {
    g_nameQuestions = 0;
    pl3::SetDialogHook("EnterTextDlg", c.answer);
    ASSERT_EQ(SetInsertLocatorMode(c.kind), 1);
    Click(at);
    EXPECT_EQ(g_nameQuestions, c.questions) << "kind " << c.kind;
    if (!c.starts) {
      EXPECT_EQ(window->PendingRecord, nullptr) << "kind " << c.kind << ": a cancelled name starts nothing";
      EXPECT_EQ(window->EditMode, 0);
      continue;
    }
    ASSERT_NE(window->PendingRecord, nullptr) << "kind " << c.kind;
    EXPECT_EQ(window->PendingRecord->header.recordType, Type_AttributeLocator);
    EXPECT_EQ(window->PendingRecord->as<LocatorPayload>().kind, c.kind);
    EXPECT_EQ(window->EditMode, 71);
    if (c.kind == kLocatorUserAttribute) {
      EXPECT_STREQ(PendingLocatorName, "EDGE");
    }
    delete window->PendingRecord;
    window->PendingRecord = nullptr;
    window->EditMode = 0;
  }
  FreePendingLocatorName();
  // A PCB window has no locator tool.
  window->editorKind = kEditorPcb;
  ASSERT_EQ(SetInsertLocatorMode(kLocatorValue), 1);
  Click(at);
  EXPECT_EQ(window->PendingRecord, nullptr);
}

}  // namespace

// The pin tool's calls into the symbol library editor.
int g_unplacedPins = 0;
int g_pinDialogs = 0;
int HasUnplacedPins(const Tower*) { return g_unplacedPins; }
int RunInsertPinDialog(HWND, const Tower*) {
  ++g_pinDialogs;
  return 1;
}

namespace {

// The pin tool's click opens the Insert Pin dialog while a pin is unplaced,
// and says why not otherwise.
TEST_F(PlacingToolRoad, APinClickOpensTheDialogOnlyWhileAPinIsUnplaced) {
  window->editorKind = kEditorSchematicSymbol;
  const auto refusals = [] {
    int n = 0;
    for (const auto& r : pl3::ResponderRecords())
      if (r.text == "Cannot insert pin - no unplaced pins exist." && r.caption == "Error Inserting Pin") ++n;
    return n;
  };
  const int before = refusals();
  g_unplacedPins = 0;
  g_pinDialogs = 0;
  window->InsertType = 33;
  Click({300000000, 300000000});
  EXPECT_EQ(refusals(), before + 1);
  EXPECT_EQ(g_pinDialogs, 0);
  g_unplacedPins = 1;
  Click({300000000, 300000000});
  EXPECT_EQ(g_pinDialogs, 1);
  EXPECT_EQ(refusals(), before + 1);
  EXPECT_EQ(window->InsertType, 33);
  EXPECT_EQ(window->EditMode, 0);
  window->editorKind = kEditorPcb;
  Click({300000000, 300000000});
  EXPECT_EQ(g_pinDialogs, 1) << "a PCB has no pin tool";
}

}  // namespace
