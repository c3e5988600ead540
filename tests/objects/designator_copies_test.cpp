#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "designator_fakes.h"
#include "geometry/transform.h"
#include "objects/design_helpers.h"
#include "objects/designators.h"
#include "objects/graphic_records.h"
#include "objects/item_helpers.h"
#include "objects/pad_names.h"
#include "objects/payload_access.h"
#include "objects/size_table.h"
#include "objects/symbol_instances.h"
#include "objects/dimensioner_seams.h"
#include "objects/select_attribute_dialog.h"
#include "platform/controls.h"
#include "platform/dialog_hooks.h"
#include "platform/responder.h"
#include "walk_fixture.h"

namespace {

using designatortest::Built;
using designatortest::Rendered;

pl3::Transform Moved(pl3::Transform t, std::int32_t x, std::int32_t y) {
  t.tx = x;
  t.ty = y;
  return t;
}

DesignatorInfo Info(std::uint16_t display, std::uint16_t flags = kDesignatorSizeIndexed) {
  DesignatorInfo info{};
  info.flags = flags;
  info.display = display;
  info.sizeIndex = 2;
  info.layer = 21;
  info.explicitSize = 640000;
  info.font = 3;
  return info;
}

std::size_t CountChildren(const Tower* t, std::uint16_t code) {
  std::size_t n = 0;
  Tower* c = GetChildTower(t, code);
  while (c && FindNextEntity(c)) ++n;
  ReleaseTower(&c);
  return n;
}

template <typename T>
T ChildRecord(const Tower* t, std::uint16_t code) {
  T value{};
  const std::uint8_t* p = ChildPayloadOfAtLeast(t, code, sizeof(T));
  EXPECT_NE(p, nullptr) << "no record " << code;
  if (p) std::memcpy(&value, p, sizeof value);
  return value;
}

class DesignatorCopies : public walktest::WalkTest {
 protected:
  void SetUp() override {
    WalkTest::SetUp();
    fonts[SizeKind_Fonts].entries.resize(3);
    window->sizeTable = &fonts;
  }
  void TearDown() override {
    for (Tower*& t : owned) ReleaseTower(&t);
    WalkTest::TearDown();
  }
  Tower* Keep(Tower* t) {
    owned.push_back(t);
    return t;
  }

  // A Symbol Instance with a placement and its info flags (bit 1: other side).
  Tower* Instance(const pl3::Transform& placement, std::uint32_t flags = 0) {
    Tower* symbol = Keep(InsertEmptyEntity(design, Type_SymbolInstance));
    Tower* t = InsertEntity(symbol, sizeof placement, Type_Transform, &placement);
    ReleaseTower(&t);
    const std::uint32_t info[2] = {flags, 0};
    t = InsertEntity(symbol, sizeof info, Type_SymbolInstanceInfo, info);
    ReleaseTower(&t);
    return symbol;
  }
  // A designator copy with the text, its own transform and info.
  Tower* Copy(const Tower* symbol, const char* text, const pl3::Transform& own, const DesignatorInfo& info) {
    Tower* group = NewestChildTower(symbol, Type_Designator);
    if (!group) group = InsertEmptyEntity(symbol, Type_Designator);
    if (text) SetDesignatorText(group, text);
    Tower* copy = Keep(InsertEmptyEntity(group, Type_DesignatorData));
    ReleaseTower(&group);
    Tower* t = InsertEntity(copy, sizeof own, Type_Transform, &own);
    ReleaseTower(&t);
    t = InsertEntity(copy, sizeof info, Type_DesignatorInfo, &info);
    ReleaseTower(&t);
    return copy;
  }
  // An attribute copy (309) under a new attribute group (306) with name and value.
  Tower* AttributeCopy(const Tower* symbol, const char* name, const char* value, const pl3::Transform& own) {
    Tower* group = InsertEmptyEntity(symbol, kTypeAttributeGroup);
    Tower* t = InsertEntity(group, static_cast<std::uint32_t>(std::strlen(name) + 1), kTypeAttributeName, name);
    ReleaseTower(&t);
    t = InsertEntity(group, static_cast<std::uint32_t>(std::strlen(value) + 1), kTypeAttributeValue, value);
    ReleaseTower(&t);
    Tower* copy = Keep(InsertEmptyEntity(group, kTypeAttributeLocatorGroup));
    ReleaseTower(&group);
    t = InsertEntity(copy, sizeof own, Type_Transform, &own);
    ReleaseTower(&t);
    const DesignatorInfo info = Info(4 | 16);
    t = InsertEntity(copy, sizeof info, kTypeAttributeLocatorInfo, &info);
    ReleaseTower(&t);
    return copy;
  }
  pl3::Transform OwnOf(const Tower* copy) { return ChildRecord<pl3::Transform>(copy, Type_Transform); }
  // Where the copy's text stands in the design.
  pl3::Point WorldOrigin(const Tower* instance, const Tower* copy) {
    pl3::Transform t = OwnOf(copy);
    const pl3::Transform placement = ChildRecord<pl3::Transform>(instance, Type_Transform);
    pl3::ComposeTransform(&t, &placement);
    return {t.tx, t.ty};
  }

  SizeTable fonts;
  std::vector<Tower*> owned;
};

// ---- Adding copies ------------------------------------------------------------------

TEST_F(DesignatorCopies, FirstCopyCreatesTheGroupTextAndRecords) {
  Tower* symbol = Instance(pl3::kIdentityTransform);
  window->Cursor = {5000, 7000};
  window->TextLayer = 21;
  CurrentFontSizeIndex = 7;       // past the three fonts of the window
  CurrentTextExplicitSize = -5;   // sign-extended into the info
  std::strcpy(DefaultDesignatorText, "r5");

  Tower* copy = Keep(AddDesignatorData(symbol, nullptr, 1));
  ASSERT_NE(copy, nullptr);
  ASSERT_EQ(TowerEntity(copy)->typeCode, Type_DesignatorData);
  EXPECT_TRUE(TowerEntity(copy)->flags & kEntitySelected);
  EXPECT_EQ(CountChildren(symbol, Type_Designator), 1u);
  EXPECT_STREQ(GetDesignatorString(copy), "R5") << "typed lower case, stored upper case";

  const pl3::Transform own = OwnOf(copy);
  EXPECT_EQ(own.a, pl3::kFixedOne);
  EXPECT_EQ(own.d, pl3::kFixedOne);
  EXPECT_EQ(own.b, 0);
  EXPECT_EQ(own.tx, 5000);
  EXPECT_EQ(own.ty, 7000);
  const auto info = ChildRecord<DesignatorInfo>(copy, Type_DesignatorInfo);
  EXPECT_EQ(info.flags, kDesignatorSizeIndexed);
  EXPECT_EQ(info.display, 36) << "left and bottom at start";
  EXPECT_EQ(info.layer, 21);
  EXPECT_EQ(info.sizeIndex, 2u) << "lowered to the last font";
  EXPECT_EQ(CurrentFontSizeIndex, 2u) << "the setting is lowered with it";
  EXPECT_EQ(info.explicitSize, -5);
}

TEST_F(DesignatorCopies, LaterCopiesTakeTheGroupTextOrTheSourceRecords) {
  Tower* symbol = Instance(pl3::kIdentityTransform);
  Tower* first = Copy(symbol, "U3", Moved(pl3::R90, 100, 200), Info(8 | 32));
  window->Cursor = {-40, 60};

  Tower* plain = Keep(AddDesignatorData(symbol, nullptr, 0));
  EXPECT_STREQ(GetDesignatorString(plain), "U3");
  EXPECT_EQ(OwnOf(plain).tx, -40);
  EXPECT_EQ(ChildRecord<DesignatorInfo>(plain, Type_DesignatorInfo).display, 36);

  Tower* copied = Keep(AddDesignatorData(symbol, first, 0));
  const pl3::Transform own = OwnOf(copied);
  EXPECT_EQ(own.b, pl3::kFixedOne) << "the source's rotation";
  EXPECT_EQ(own.tx, 100);
  const auto info = ChildRecord<DesignatorInfo>(copied, Type_DesignatorInfo);
  EXPECT_EQ(info.display, 8 | 32);
  EXPECT_EQ(info.explicitSize, 640000);

  EXPECT_EQ(CountChildren(symbol, Type_Designator), 1u) << "one group for all copies";
  Tower* group = NewestChildTower(symbol, Type_Designator);
  EXPECT_EQ(CountChildren(group, Type_DesignatorData), 3u);
  // Each copy leaves the text it replaced marked selected.
  Tower* texts = GetChildTower(group, Type_DesignatorString);
  std::size_t selected = 0;
  while (Entity* e = FindNextEntity(texts)) selected += (e->flags & kEntitySelected) ? 1 : 0;
  EXPECT_EQ(selected, 2u);
  ReleaseTower(&texts);
  ReleaseTower(&group);
}

// ---- Measuring ----------------------------------------------------------------------

TEST_F(DesignatorCopies, BoxIsTheTextUnderTheCopyAndParentTransforms) {
  Tower* symbol = Instance(pl3::kIdentityTransform);
  struct Case {
    std::uint16_t flags;
    bool indexed;
    std::int32_t size;
  } cases[] = {{kDesignatorSizeIndexed, true, 2}, {0, false, 640000}};
  for (const Case& c : cases) {
    Built().clear();
    Tower* copy = Copy(symbol, "R12", Moved(pl3::kIdentityTransform, 1000, 2000), Info(0x40 | 8 | 16 | 0x100, c.flags));
    const pl3::Transform parent = Moved(pl3::kIdentityTransform, 30000, 50000);
    std::uint32_t extent[2] = {};
    pl3::Box* box = GetDesignatorBox(copy, &parent, extent);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->xmin, 31000);
    EXPECT_EQ(box->ymin, 52000);
    EXPECT_EQ(box->xmax, 31300);
    EXPECT_EQ(box->ymax, 52200);
    EXPECT_EQ(extent[0], 300u);
    EXPECT_EQ(extent[1], 200u);
    std::free(box);
    ASSERT_EQ(Built().size(), 1u);
    EXPECT_EQ(Built()[0].text, "R12");
    EXPECT_EQ(Built()[0].indexed, c.indexed);
    EXPECT_EQ(Built()[0].size, c.size);
    EXPECT_EQ(Built()[0].justification, 8 | 16) << "only the justification bits";
    EXPECT_EQ(Built()[0].layer, 21);
  }
}

TEST_F(DesignatorCopies, BoxWithoutTextOrTransformIsReported) {
  Tower* symbol = Instance(pl3::kIdentityTransform);
  Tower* noText = Copy(symbol, nullptr, pl3::kIdentityTransform, Info(0));
  Tower* other = Instance(pl3::kIdentityTransform);
  Tower* noTransform = Copy(other, "C1", pl3::kIdentityTransform, Info(0));
  DeleteChildEntities(noTransform, Type_Transform);
  for (const Tower* copy : {noText, noTransform}) {
    pl3::ClearResponderRecords();
    std::uint32_t extent[2] = {7, 7};
    EXPECT_EQ(GetDesignatorBox(copy, &pl3::kIdentityTransform, extent), nullptr);
    ASSERT_EQ(pl3::ResponderRecords().size(), 1u);
    EXPECT_EQ(pl3::ResponderRecords()[0].text, "Cannot calculate designator box");
    EXPECT_EQ(pl3::ResponderRecords()[0].caption, "Internal Error");
    EXPECT_EQ(pl3::ResponderRecords()[0].flags & MB_SYSTEMMODAL, static_cast<UINT>(MB_SYSTEMMODAL));
  }
}

TEST_F(DesignatorCopies, UpdateReplacesTheBoxAndExtentOfEveryCopy) {
  Tower* symbol = Instance(Moved(pl3::R90, 900000, 900000));
  Tower* a = Copy(symbol, "Q1", Moved(pl3::kIdentityTransform, 10, 20), Info(0));
  Tower* b = Copy(symbol, nullptr, Moved(pl3::kIdentityTransform, 500, 600), Info(0));
  const pl3::Box stale{1, 1, 2, 2};
  Tower* t = InsertEntity(a, sizeof stale, Type_BoundingBox, &stale);
  ReleaseTower(&t);

  UpdateDesignatorBoxes(symbol);
  for (const auto& [copy, x, y] : {std::tuple{a, 10, 20}, std::tuple{b, 500, 600}}) {
    EXPECT_EQ(CountChildren(copy, Type_BoundingBox), 1u);
    EXPECT_EQ(CountChildren(copy, Type_Offset), 1u);
    const auto box = ChildRecord<pl3::Box>(copy, Type_BoundingBox);
    EXPECT_EQ(box.xmin, x) << "in symbol coordinates, not placed";
    EXPECT_EQ(box.ymin, y);
    EXPECT_EQ(box.xmax, x + 200);
    const auto extent = ChildRecord<std::array<std::uint32_t, 2>>(copy, Type_Offset);
    EXPECT_EQ(extent[0], 200u);
    EXPECT_EQ(extent[1], 200u);
  }
  // On the group itself, and on a symbol without one, too.
  Tower* group = NewestChildTower(symbol, Type_Designator);
  UpdateDesignatorBoxes(group);
  EXPECT_EQ(CountChildren(a, Type_BoundingBox), 1u);
  ReleaseTower(&group);
  Tower* bare = Instance(pl3::kIdentityTransform);
  Built().clear();
  UpdateDesignatorBoxes(bare);
  EXPECT_TRUE(Built().empty());
  EXPECT_EQ(CountChildren(bare, Type_Designator), 0u);
}

TEST_F(DesignatorCopies, AttributeCopiesShowTheValueInThePcbAndTheNameElsewhere) {
  Tower* symbol = Instance(pl3::kIdentityTransform);
  Tower* copy = AttributeCopy(symbol, "Tolerance", "5%", Moved(pl3::kIdentityTransform, 70, 80));
  std::uint32_t extent[2] = {};
  pl3::Box* box = GetDesignatorTextBox(copy, &pl3::kIdentityTransform, extent);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->xmax, 70 + 200);
  std::free(box);
  ASSERT_EQ(Built().size(), 1u);
  EXPECT_EQ(Built()[0].text, "5%");
  EXPECT_EQ(Built()[0].justification, 4 | 16);

  window->editorKind = kEditorPcbSymbol;
  UpdateAttributeLocatorBoxes(symbol);
  ASSERT_EQ(Built().size(), 2u);
  EXPECT_EQ(Built()[1].text, "Tolerance");
  EXPECT_EQ(ChildRecord<pl3::Box>(copy, Type_BoundingBox).xmax, 70 + 900);

  // A name read from a file without its terminator is no text: no box, no over-read.
  Tower* group = GetEnclosingTower(copy, kTypeAttributeGroup);
  char unterminated[16];  // a whole node's payload, so no padding ends it either
  std::memset(unterminated, 'A', sizeof unterminated);
  Tower* t = InsertEntity(group, sizeof unterminated, kTypeAttributeName, unterminated);
  ReleaseTower(&t);
  ReleaseTower(&group);
  Built().clear();
  EXPECT_EQ(GetDesignatorTextBox(copy, &pl3::kIdentityTransform, extent), nullptr);
  EXPECT_TRUE(Built().empty());

  // Without its transform the twin gives no box and says nothing.
  window->editorKind = kEditorPcb;
  DeleteChildEntities(copy, Type_Transform);
  pl3::ClearResponderRecords();
  EXPECT_EQ(GetDesignatorTextBox(copy, &pl3::kIdentityTransform, extent), nullptr);
  EXPECT_TRUE(pl3::ResponderRecords().empty());
}

// ---- Drawing --------------------------------------------------------------------------

TEST_F(DesignatorCopies, WalkerActionsDrawInTheirTextModes) {
  Tower* symbol = Instance(pl3::kIdentityTransform);
  Tower* copy = Copy(symbol, "D4", Moved(pl3::kIdentityTransform, 5, 6), Info(0));
  Tower* hidden = Copy(symbol, nullptr, Moved(pl3::kIdentityTransform, 5, 6), Info(kDesignatorHidden));
  const pl3::Transform parent = Moved(pl3::R90, 1000, 0);
  const struct {
    std::uint8_t action;
    int mode;  // -1: nothing drawn
  } table[] = {{0, 1}, {1, -1}, {8, -1}, {10, 3}, {17, 4}, {32, 6}, {33, 7}, {37, 9}, {5, 1}, {21, 1}};
  for (const auto& row : table) {
    Rendered().clear();
    EXPECT_EQ(ProcessDesignatorData(hidden, &parent, row.action), 0) << "a hidden copy draws nothing";
    EXPECT_TRUE(Rendered().empty());
    ProcessDesignatorData(copy, &parent, row.action);
    if (row.mode < 0) {
      EXPECT_TRUE(Rendered().empty()) << "action " << int(row.action);
      continue;
    }
    ASSERT_EQ(Rendered().size(), 1u) << "action " << int(row.action);
    EXPECT_EQ(Rendered()[0].mode, row.mode) << "action " << int(row.action);
    EXPECT_EQ(Rendered()[0].text, "D4");
    EXPECT_EQ(Rendered()[0].transform.tx, 1000 - 6) << "own transform, then the parent's";
    EXPECT_EQ(Rendered()[0].transform.ty, 5);
  }
}

TEST_F(DesignatorCopies, AttributeCopiesDrawThroughTheirTwin) {
  Tower* symbol = Instance(pl3::kIdentityTransform);
  Tower* copy = AttributeCopy(symbol, "Part", "BC547", pl3::kIdentityTransform);
  EXPECT_EQ(ProcessAttributeLocatorData(copy, &pl3::kIdentityTransform, 10), 1);
  ASSERT_EQ(Rendered().size(), 1u);
  EXPECT_EQ(Rendered()[0].text, "BC547");
  EXPECT_EQ(Rendered()[0].mode, 3);
  std::uint8_t* info = ChildPayloadOfAtLeast(copy, kTypeAttributeLocatorInfo, sizeof(DesignatorInfo));
  WriteU16(info, 2, kDesignatorHidden);
  EXPECT_EQ(ProcessAttributeLocatorData(copy, &pl3::kIdentityTransform, 10), 0);
  EXPECT_EQ(Rendered().size(), 1u);
}

}  // namespace

// The editing engine's box of the symbol: counted.
namespace {
int gBoxCalls = 0;
}  // namespace
int GetBox(const Tower*, pl3::Box* box) {
  ++gBoxCalls;
  *box = {0, 0, 1000, 1000};
  return 1;
}

namespace {

TEST_F(DesignatorCopies, GhostFollowsThePlacementAndSideOfItsSymbol) {
  gBoxCalls = 0;
  Tower* below = Instance(Moved(pl3::R90, 10000, 20000), 0x2);
  Tower* copy = Copy(below, "R1", Moved(pl3::kIdentityTransform, 300, 0), Info(0));
  HDC dc = CreateCompatibleDC(nullptr);

  GhostDesignator(dc, copy);
  ASSERT_EQ(Rendered().size(), 1u);
  EXPECT_EQ(Rendered()[0].mode, 0);
  EXPECT_EQ(Rendered()[0].dc, dc);
  EXPECT_EQ(Rendered()[0].transform.tx, 10000);
  EXPECT_EQ(Rendered()[0].transform.ty, 20300);
  EXPECT_TRUE(window->ViewFlags & kViewDrawOtherSide);
  EXPECT_EQ(gBoxCalls, 1) << "no primary selection: the symbol's box is outlined";

  Tower* above = Instance(pl3::kIdentityTransform, 0);
  Tower* top = Copy(above, "R2", pl3::kIdentityTransform, Info(0));
  SelectionInfo primary{};
  primary.flags = 1;
  window->SelectionList = &primary;
  GhostDesignator(dc, top);
  EXPECT_FALSE(window->ViewFlags & kViewDrawOtherSide);
  EXPECT_EQ(gBoxCalls, 1) << "a primary selection draws no outline";
  window->SelectionList = nullptr;

  // Hidden copies draw nothing; outside the PCB editor the copy's own transform counts.
  WriteU16(ChildPayloadOfAtLeast(copy, Type_DesignatorInfo, 20), 2, kDesignatorHidden);
  Rendered().clear();
  GhostDesignator(dc, copy);
  EXPECT_TRUE(Rendered().empty());
  window->editorKind = kEditorPcbSymbol;
  GhostDesignator(dc, top);
  ASSERT_EQ(Rendered().size(), 1u);
  EXPECT_EQ(Rendered()[0].transform.tx, 0);
  EXPECT_EQ(gBoxCalls, 1);
  DeleteDC(dc);
}

// ---- Dragging ---------------------------------------------------------------------------

TEST_F(DesignatorCopies, DragMovesTheTextWithTheCursorOnScreen) {
  designatortest::SnapGrid() = 1000;
  const struct {
    pl3::Transform placement;
  } placements[] = {{pl3::kIdentityTransform}, {pl3::R90}, {pl3::R180}, {pl3::R270}};
  for (const auto& p : placements) {
    Tower* instance = Instance(Moved(p.placement, 400000, 400000));
    Tower* copy = Copy(instance, "R9", Moved(pl3::kIdentityTransform, 3000, 0), Info(0));
    const pl3::Point before = WorldOrigin(instance, copy);
    OriginDrag mouse{{120, 80}, {52120, 17080}, {40120, 12080}};  // a step of 12,000 by 5,000 after the grab
    Rendered().clear();
    DragDesignator(nullptr, copy, &mouse);
    const pl3::Point after = WorldOrigin(instance, copy);
    EXPECT_EQ(after.x - before.x, 12000);
    EXPECT_EQ(after.y - before.y, 5000);
    EXPECT_EQ(mouse.previousPoint.x, 52120);
    EXPECT_EQ(mouse.previousPoint.y, 17080);
    ASSERT_EQ(Rendered().size(), 2u) << "the ghost is erased and drawn again";
    EXPECT_EQ(Rendered()[1].transform.tx - Rendered()[0].transform.tx, 12000);
  }
}

TEST_F(DesignatorCopies, DragStepIsSnappedAndNegatedOnTheOtherSide) {
  designatortest::SnapGrid() = 1000;
  Tower* instance = Instance(pl3::kIdentityTransform, 0x2);
  Tower* copy = Copy(instance, "R9", Moved(pl3::kIdentityTransform, 3000, 4000), Info(0));
  OriginDrag mouse{{0, 0}, {7900, 2100}, {1100, 900}};  // snapped: 7000,2000 from 1000,0
  DragDesignator(nullptr, copy, &mouse);
  EXPECT_EQ(OwnOf(copy).tx, 3000 - 6000);
  EXPECT_EQ(OwnOf(copy).ty, 4000 - 2000);

  window->editorKind = kEditorPcbSymbol;  // the edited symbol's own copy moves as the cursor does
  mouse = {{0, 0}, {7900, 2100}, {1100, 900}};
  DragDesignator(nullptr, copy, &mouse);
  EXPECT_EQ(OwnOf(copy).tx, -3000 + 6000);
  EXPECT_EQ(OwnOf(copy).ty, 2000 + 2000);
}

TEST_F(DesignatorCopies, AttributeCopiesDragThroughTheirTwin) {
  Tower* instance = Instance(Moved(pl3::R90, 0, 0));
  Tower* copy = AttributeCopy(instance, "Value", "10k", pl3::kIdentityTransform);
  OriginDrag mouse{{0, 0}, {0, 700}, {0, 0}};
  DragAttributeLocator(nullptr, copy, &mouse);
  EXPECT_EQ(OwnOf(copy).tx, 700) << "up on screen is along x in a symbol turned by 90 degrees";
  EXPECT_EQ(OwnOf(copy).ty, 0);
}

// ---- Numbering ---------------------------------------------------------------------------

TEST_F(DesignatorCopies, UnusedDesignatorsAreFoundWithoutRegardToCase) {
  Copy(Instance(pl3::kIdentityTransform), "R12", pl3::kIdentityTransform, Info(0));
  Copy(Instance(pl3::kIdentityTransform), "u3", pl3::kIdentityTransform, Info(0));
  EXPECT_EQ(IsDesignatorUnused("R12", design), 0);
  EXPECT_EQ(IsDesignatorUnused("r12", design), 0);
  EXPECT_EQ(IsDesignatorUnused("U3", design), 0);
  EXPECT_EQ(IsDesignatorUnused("R1", design), 1);
  EXPECT_EQ(IsDesignatorUnused("R120", design), 1);
  EXPECT_EQ(IsDesignatorUnused("", design), 1);
}

TEST_F(DesignatorCopies, RedesignateTakesTheNextNumberAndClearsPadNets) {
  Copy(Instance(pl3::kIdentityTransform), "R7", pl3::kIdentityTransform, Info(0));
  Tower* pasted = Instance(pl3::kIdentityTransform);
  Copy(pasted, "R7", pl3::kIdentityTransform, Info(0));
  std::vector<std::uint8_t> pad(276, 0xAB);
  for (int i = 0; i < 2; ++i) {
    Tower* t = InsertEntity(pasted, static_cast<std::uint32_t>(pad.size()), Type_PadStackInstanceInfo, pad.data());
    ReleaseTower(&t);
  }
  RedesignateSymbol(pasted);
  Tower* group = NewestChildTower(pasted, Type_Designator);
  EXPECT_STREQ(GetDesignatorText(group), "R8");
  ReleaseTower(&group);
  Tower* pads = GetChildTower(pasted, Type_PadStackInstanceInfo);
  int seen = 0;
  while (Entity* e = FindNextEntity(pads)) {
    const std::uint8_t* p = EntityPayload(e);
    ++seen;
    EXPECT_EQ(ReadU32(p, 8), 0u);
    EXPECT_EQ(ReadU32(p, 12), 0u);
    EXPECT_EQ(p[7], 0xAB) << "only the net ids change";
    EXPECT_EQ(p[16], 0xAB);
  }
  ReleaseTower(&pads);
  EXPECT_EQ(seen, 2);
}

// ---- Justification ----------------------------------------------------------------------

TEST_F(DesignatorCopies, PlacedDesignatorJustificationCycles) {
  Tower* symbol = Instance(pl3::kIdentityTransform);
  Tower* copy = Copy(symbol, "R1", pl3::kIdentityTransform, Info(0x40));
  window->TemporaryEntity = DuplicateTower(copy);
  window->EditMode = 33;
  auto display = [&] { return ChildRecord<DesignatorInfo>(copy, Type_DesignatorInfo).display; };
  std::vector<int> horizontal;
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(CycleEditedTextJustification(0), 1);
    horizontal.push_back(display() & 12);
  }
  EXPECT_EQ(horizontal, (std::vector<int>{8, 4, 0}));
  std::vector<int> vertical;
  for (int i = 0; i < 3; ++i) {
    CycleEditedTextJustification(1);
    vertical.push_back(display() & 48);
    EXPECT_EQ(DefaultJustification, static_cast<std::uint32_t>(display() & 60)) << "new text takes it";
  }
  EXPECT_EQ(vertical, (std::vector<int>{32, 16, 0}));
  EXPECT_EQ(display() & 0x40, 0x40) << "the hidden bit is kept";
  ReleaseTower(&window->TemporaryEntity);
}

TEST_F(DesignatorCopies, TheEditModeChoosesTheTextThatCycles) {
  auto record = NewEntityRecord();
  window->PendingRecord = record.get();
  PadLabelHead* label = NewPadLabel("A1");
  label->display = 0;
  window->PadLabelInHand = label;
  Tower* symbol = Instance(pl3::kIdentityTransform);
  Tower* attribute = AttributeCopy(symbol, "Value", "1n", pl3::kIdentityTransform);  // 4 | 16
  const struct {
    std::uint8_t mode;
    int vertical;
    std::uint32_t expected;
    std::uint32_t (*read)(CurrentWindowData*, const Tower*);
  } table[] = {
      {28, 0, 8, [](CurrentWindowData* w, const Tower*) { return ReadU32(w->PendingRecord->payload, 72); }},
      {29, 1, 8 | 32, [](CurrentWindowData* w, const Tower*) { return ReadU32(w->PendingRecord->payload, 72); }},
      {78, 0, 8, [](CurrentWindowData* w, const Tower*) {
         return ReadU32(reinterpret_cast<std::uint8_t*>(w->PendingRecord), 128);
       }},
      {32, 1, 32, [](CurrentWindowData* w, const Tower*) { return std::uint32_t{w->PadLabelInHand->display}; }},
      {42, 0, 8 | 32, [](CurrentWindowData* w, const Tower*) { return std::uint32_t{w->PadLabelInHand->display}; }},
      {110, 0, 0 | 16, [](CurrentWindowData*, const Tower* a) {
         return std::uint32_t{ChildRecord<DesignatorInfo>(a, kTypeAttributeLocatorInfo).display};
       }},
  };
  window->TemporaryEntity = DuplicateTower(attribute);
  for (const auto& row : table) {
    window->EditMode = row.mode;
    EXPECT_EQ(CycleEditedTextJustification(row.vertical), 1) << "mode " << int(row.mode);
    EXPECT_EQ(row.read(window.get(), attribute) & 60, row.expected) << "mode " << int(row.mode);
  }
  for (std::uint8_t idle : {0, 71, 86}) {
    window->EditMode = idle;
    EXPECT_EQ(CycleEditedTextJustification(0), 0);
  }
  ReleaseTower(&window->TemporaryEntity);
  window->EditMode = 33;
  EXPECT_EQ(CycleEditedTextJustification(0), 0) << "no designator in hand";
  window->PendingRecord = nullptr;
  window->PadLabelInHand = nullptr;
  std::free(label);
}

TEST_F(DesignatorCopies, EditSelectionCountsTheItemsChanged) {
  std::vector<std::uint8_t> text(TextStoredSize(2), 0);
  Tower* textItem = Keep(InsertEntity(design, static_cast<std::uint32_t>(text.size()), Type_Text, text.data()));
  Tower* circle = Keep(InsertEntity(design, 68, Type_Circle, std::vector<std::uint8_t>(68).data()));
  Tower* otherText = Keep(InsertEntity(design, static_cast<std::uint32_t>(text.size()), Type_Text, text.data()));
  SelectionInfo a{}, b{}, c{};
  a.original = textItem;
  b.original = circle;
  c.workingCopy = otherText;
  a.next = &b;
  b.next = &c;
  window->SelectionList = &a;
  window->EditMode = 39;
  EXPECT_EQ(CycleEditedTextJustification(1), 2);
  EXPECT_EQ(ReadU32(TowerPayload(textItem), 72), 32u);
  EXPECT_EQ(ReadU32(TowerPayload(otherText), 72), 32u);
  window->SelectionList = nullptr;
}

// ---- Choosing an attribute ---------------------------------------------------------------

class SelectAttribute : public DesignatorCopies {
 protected:
  void TearDown() override {
    pl3::ClearDialogHooks();
    DesignatorCopies::TearDown();
  }
  // An item with imported attribute lists holding the names, in order.
  Tower* Item(std::initializer_list<const char*> names) {
    Tower* item = Keep(InsertEmptyEntity(design, Type_ImportedSymbol));
    Tower* list = InsertEmptyEntity(item, 289);
    // Newest first: inserted in reverse, the store gives them in order.
    std::vector<const char*> ordered(names);
    for (auto it = ordered.rbegin(); it != ordered.rend(); ++it) {
      Tower* attribute = InsertEmptyEntity(list, 290);
      Tower* t = InsertEntity(attribute, static_cast<std::uint32_t>(std::strlen(*it) + 1), 291, *it);
      ReleaseTower(&t);
      ReleaseTower(&attribute);
    }
    ReleaseTower(&list);
    return item;
  }
  static std::vector<std::string>& Listed() {
    static std::vector<std::string> listed;
    return listed;
  }
  static std::string& Chosen() {
    static std::string chosen;
    return chosen;
  }
  // Records the list and its selection, then presses the button.
  static void Answer(int button) {
    pl3::SetDialogHook(kSelectAttributeDialog, [button](HWND dialog) {
      HWND list = GetDlgItem(dialog, kSelectAttributeList);
      Listed().clear();
      const LRESULT n = SendMessage(list, CB_GETCOUNT, 0, 0);
      char buffer[64];
      for (LRESULT i = 0; i < n; ++i) {
        SendMessage(list, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buffer));
        Listed().push_back(buffer);
      }
      const LRESULT at = SendMessage(list, CB_GETCURSEL, 0, 0);
      Chosen() = at >= 0 && at < n ? Listed()[static_cast<std::size_t>(at)] : "";
      pl3::ClickDialogButton(dialog, button);
    });
  }
  INT_PTR Run(SelectAttributeBlock* block) {
    return DialogBoxParam(nullptr, kSelectAttributeDialog, nullptr, &SelectAttributeDlgProc,
                          reinterpret_cast<LPARAM>(block));
  }
};

TEST_F(SelectAttribute, ListsTheImportedNamesThenDesignatorAndSelectsTheGivenText) {
  char given[] = "Value";
  SelectAttributeBlock block{given, Item({"Tolerance", "Value", "Voltage"})};
  Answer(IDOK);
  EXPECT_EQ(Run(&block), 1);
  EXPECT_EQ(Listed(), (std::vector<std::string>{"Tolerance", "Value", "Voltage", "DESIGNATOR"}));
  EXPECT_EQ(Chosen(), "Value");
  ASSERT_NE(block.text, given) << "a new copy";
  EXPECT_STREQ(block.text, "Value");
  std::free(block.text);
}

TEST_F(SelectAttribute, AnUnknownTextSelectsTheFirstAndCancelKeepsTheBlock) {
  char given[] = "Colour";
  SelectAttributeBlock block{given, Item({})};
  Answer(IDOK);
  EXPECT_EQ(Run(&block), 1);
  EXPECT_EQ(Listed(), (std::vector<std::string>{"DESIGNATOR"}));
  EXPECT_STREQ(block.text, "DESIGNATOR");
  std::free(block.text);

  block = {given, Item({"Tolerance"})};
  Answer(IDCANCEL);
  EXPECT_EQ(Run(&block), 0);
  EXPECT_EQ(Chosen(), "Tolerance");
  EXPECT_EQ(block.text, given);
}

}  // namespace
