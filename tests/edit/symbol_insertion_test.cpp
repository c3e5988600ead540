#include "edit/symbol_insertion.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <array>
#include <cstring>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "app/consoles.h"
#include "edit/attribute_choice.h"
#include "edit/edit_modes.h"
#include "edit/insertion_array.h"
#include "edit/placing_seams.h"
#include "edit/status_seams.h"
#include "edit/undo_history.h"
#include "draw/grids.h"
#include "geometry/transform.h"
#include "objects/designators.h"
#include "objects/grid_sets.h"
#include "objects/item_helpers.h"
#include "objects/pad_names.h"
#include "objects/placed_item_records.h"
#include "objects/window_state.h"
#include "platform/dialog_hooks.h"
#include "platform/user.h"
#include "tests/draw/display_fixture.h"

// The netlist as these tests set it: the designators it imported and the
// values of the imported symbols' attributes.
namespace {
std::vector<std::string> g_imported;
std::map<std::string, std::string> g_values;
std::vector<std::string> g_copied;
}  // namespace
int IsDesignatorImported(const char* designator) {
  for (const std::string& d : g_imported)
    if (d == designator) return 1;
  return 0;
}
void CopyImportedAttributes(const Tower*, const Tower*) { g_copied.push_back("copied"); }
const char* GetImportedSymbolValue(const Tower*, const char* name) {
  const auto found = g_values.find(name);
  return found == g_values.end() ? nullptr : found->second.c_str();
}

namespace {

using displaytest::Track;

constexpr std::uint16_t kTypeSymbolOptions = 10318;

NodeRef RefOf(const Tower* t) { return NodeRefOf(TowerEntity(t)); }
struct Origin {
  std::int32_t x, y;
  std::uint16_t flags, pad;
};

std::vector<Tower*> ChildTowers(const Tower* parent, std::uint16_t code) {
  std::vector<Tower*> out;
  Tower* t = GetChildTower(parent, code);
  while (t && FindNextEntity(t)) out.push_back(DuplicateTower(t));
  ReleaseTower(&t);
  return out;
}
std::string Text(const Tower* parent, std::uint16_t code) {
  const char* text = GetNewestChildText(parent, code);
  return text ? text : "";
}

class SymbolInsertion : public displaytest::DisplayTest {
 protected:
  void SetUp() override {
    DisplayTest::SetUp();
    RegisterInsertionWalkHandlers();
    g_imported.clear();
    g_values.clear();
    g_copied.clear();
    definition = Own(InsertEntity(design, 0, Type_SymbolDefinition, nullptr));
    Add(definition, Type_BoundingBox, pl3::Box{-1000, -1000, 1000, 1000});
    Add(definition, Type_Origin, Origin{0, 0, 0, 0});
    Add(definition, Type_Track, Track(Layer_Top, -1000, 0, 1000, 0, 0));
    lines = Own(InsertEmptyEntity(design, Type_ConsoleLines));
    pane.lines = lines;
    window->Console = &pane;
    window->TopLayer = Layer_Top;
    window->BottomLayer = Layer_Bottom;
    window->UndoStep = NewUndoStepNumber();
    window->ViewFlags |= kViewSnapOff;  // points are taken as given
    pl3::ClearResponderRecords();
  }
  void TearDown() override {
    pl3::ClearDialogHooks();
    for (Tower*& t : found) ReleaseTower(&t);
    FreeInsertionArray(*window);
    ReleaseTower(&window->Selection);
    ReleaseTower(&window->TemporaryEntity);
    FreeGridInfo(window->Grids);
    window->Grids = nullptr;
    window->Console = nullptr;
    DisplayTest::TearDown();
  }
  std::vector<Tower*> Kids(const Tower* parent, std::uint16_t code) {
    std::vector<Tower*> kids = ChildTowers(parent, code);
    found.insert(found.end(), kids.begin(), kids.end());
    return kids;
  }
  std::vector<std::string> ConsoleTexts() {
    std::vector<std::string> texts;
    for (Tower* line : Kids(lines, Type_ConsoleLine)) texts.push_back(Text(line, Type_ConsoleLineText));
    return texts;
  }
  // A placed symbol already carrying the designator.
  void PlaceExisting(const char* designator) {
    Tower* placed = Own(InsertEntity(design, 0, Type_SymbolInstance, nullptr));
    Tower* group = Own(InsertEmptyEntity(placed, Type_Designator));
    SetDesignatorText(group, designator);
  }
  Tower* definition = nullptr;
  Tower* lines = nullptr;
  ConsolePane pane{};
  std::vector<Tower*> found;
};

// The designator dialog answers, one per showing: a text to type (OK) or
// null (Cancel). Each showing's offered text is kept.
std::vector<const char*> g_answers;
std::vector<std::string> g_offered;
void AnswerDesignatorDialogs(std::vector<const char*> answers) {
  g_answers = std::move(answers);
  g_offered.clear();
  pl3::SetDialogHook("EnterTextDlg", [](HWND dialog) {
    char buffer[256] = {};
    GetWindowText(dialog, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "Insert Symbol");
    GetDlgItemText(dialog, 72, buffer, sizeof buffer);
    g_offered.push_back(buffer);
    const std::size_t n = g_offered.size() - 1;
    const char* answer = n < g_answers.size() ? g_answers[n] : nullptr;
    if (answer) {
      pl3::TypeDialogText(dialog, 72, answer);
      pl3::ClickDialogButton(dialog, IDOK);
    } else {
      pl3::ClickDialogButton(dialog, IDCANCEL);
    }
  });
}

TEST_F(SymbolInsertion, OptionsBitZeroPlacesNoDesignatorAttributesOrNetlistEntry) {
  Add(definition, kTypeSymbolOptions, std::uint32_t{1});
  AnswerDesignatorDialogs({"R9"});
  Tower* placed = Own(InsertSymbol({5000, 6000}, definition));
  ASSERT_NE(placed, nullptr);
  EXPECT_TRUE(g_offered.empty());
  EXPECT_TRUE(Kids(placed, Type_Designator).empty());
  EXPECT_TRUE(Kids(placed, kTypeAttributeGroup).empty());
  EXPECT_TRUE(Kids(design, Type_NetHierGroup).empty());
  const auto* info = static_cast<const SymbolInstanceInfo*>(GetEntityData(placed, Type_SymbolInstanceInfo));
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(info->definition, RefOf(definition));
  const auto* t = static_cast<const pl3::Transform*>(GetEntityData(placed, Type_Transform));
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->tx, 5000);
  EXPECT_EQ(t->ty, 6000);
}

TEST_F(SymbolInsertion, AUsedDesignatorIsLoggedAndAskedAgainAndTheNewOneEntersTheNetlist) {
  PlaceExisting("R1");
  AnswerDesignatorDialogs({"r1", "R7"});
  const int beeps = pl3::BeepCount();
  Tower* placed = Own(InsertSymbol({0, 0}, definition));
  ASSERT_NE(placed, nullptr);
  EXPECT_EQ(g_offered, (std::vector<std::string>{"R2", "r1"}));  // asked again with the same text
  EXPECT_EQ(pl3::BeepCount(), beeps + 1);
  Tower* group = Kids(placed, Type_Designator).at(0);
  EXPECT_EQ(std::string(GetDesignatorText(group)), "R7");
  const std::vector<std::string> console = ConsoleTexts();
  ASSERT_EQ(console.size(), 2u);
  EXPECT_EQ(console[1], "Designator \"r1\" is already in use.");  // newest first
  EXPECT_EQ(console[0], "\"R7\" has been added to the diagram.");

  Tower* netHier = Kids(design, Type_NetHierGroup).at(0);
  Tower* imported = Kids(netHier, Type_ImportedSymbol).at(0);
  EXPECT_EQ(Text(imported, Type_ImportedDesignator), "R7");
  Tower* link = Kids(imported, 283).at(0);
  EXPECT_EQ(*reinterpret_cast<const std::uint32_t*>(TowerPayload(link)), RefOf(definition));
  EXPECT_EQ(Text(link, Type_FileName), "Unknown");
  EXPECT_EQ(Text(link, Type_LibraryName), "Unknown");
}

TEST_F(SymbolInsertion, CancelTakesTheNextFreeDesPrefixAndAnImportedDesignatorAddsNoEntry) {
  PlaceExisting("DES4");
  g_imported = {"DES5"};
  AnswerDesignatorDialogs({nullptr});
  Tower* placed = Own(InsertSymbol({0, 0}, definition));
  ASSERT_NE(placed, nullptr);
  EXPECT_EQ(std::string(GetDesignatorText(Kids(placed, Type_Designator).at(0))), "DES5");
  EXPECT_TRUE(Kids(design, Type_NetHierGroup).empty());
  EXPECT_TRUE(ConsoleTexts().empty());
}

TEST_F(SymbolInsertion, TheDefinitionsDesignatorNamesThePrefixAndTakesTheNewText) {
  Tower* own = Own(InsertEmptyEntity(definition, Type_Designator));
  SetDesignatorText(own, "U3");
  Add(definition, Type_FileName, std::array<char, 5>{'D', 'I', 'P', '8', 0});
  PlaceExisting("U3");
  AnswerDesignatorDialogs({"U4"});
  Tower* placed = Own(InsertSymbol({0, 0}, definition));
  ASSERT_NE(placed, nullptr);
  EXPECT_EQ(g_offered.at(0), "U4");
  EXPECT_EQ(std::string(GetDesignatorText(own)), "U4");
  Tower* link = Kids(Kids(Kids(design, Type_NetHierGroup).at(0), Type_ImportedSymbol).at(0), 283).at(0);
  EXPECT_EQ(Text(link, Type_FileName), "DIP8");
  EXPECT_EQ(Text(link, Type_LibraryName), "Unknown");
}

// Texts that fill their payloads with no terminating NUL are read within
// them: a prepared designator and a file name keep their characters, a
// definition's designator that cannot be read names no prefix.
TEST_F(SymbolInsertion, TextsFillingTheirPayloadsAreReadWithinThem) {
  const auto unterminated = [](const char* text) {
    std::array<char, 16> bytes{};  // a payload's whole size
    std::memcpy(bytes.data(), text, bytes.size());
    return bytes;
  };
  Tower* own = Own(InsertEmptyEntity(definition, Type_Designator));
  Add(own, Type_DesignatorString, unterminated("U123456789012345"));
  Add(definition, Type_FileName, unterminated("ABCDEFGHIJKLMNOP"));
  AnswerDesignatorDialogs({"R4"});
  Tower* asked = Own(InsertSymbol({0, 0}, definition));
  ASSERT_NE(asked, nullptr);
  EXPECT_EQ(g_offered.at(0), "R1") << "the default prefix";
  Tower* link = Kids(Kids(Kids(design, Type_NetHierGroup).at(0), Type_ImportedSymbol).at(0), 283).at(0);
  const Entity* file = TowerEntity(Kids(link, Type_FileName).at(0));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(EntityPayload(file))), "ABCDEFGHIJKLMNOP");

  const auto prepared = unterminated("U567890123456789");
  window->TemporaryEntity = InsertEntity(design, 16, Type_DesignatorString, prepared.data());
  Tower* placed = Own(InsertSymbol({0, 0}, definition));
  ASSERT_NE(placed, nullptr);
  EXPECT_EQ(std::string(GetDesignatorText(Kids(placed, Type_Designator).at(0))), "U567890123456789");
}

TEST_F(SymbolInsertion, WithoutShownCopiesOneDefaultCopyIsMadeAndTheGroupBoxCoversTheBody) {
  AnswerDesignatorDialogs({"R5"});
  Tower* placed = Own(InsertSymbol({0, 0}, definition));
  Tower* group = Kids(placed, Type_Designator).at(0);
  const std::vector<Tower*> copies = Kids(group, Type_DesignatorData);
  ASSERT_EQ(copies.size(), 1u);
  const auto* info = static_cast<const DesignatorInfo*>(GetEntityData(copies[0], Type_DesignatorInfo));
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(info->flags, 0);
  EXPECT_EQ(info->explicitSize, 8);
  EXPECT_EQ(info->font, 3u);
  const auto* box = static_cast<const pl3::Box*>(GetEntityData(group, Type_BoundingBox));
  ASSERT_NE(box, nullptr);
  EXPECT_LE(box->xmin, -1000);
  EXPECT_LE(box->ymin, -1000);
  EXPECT_GE(box->xmax, 1000);
  EXPECT_GE(box->ymax, 1000);
  ASSERT_NE(GetEntityData(copies[0], Type_Offset), nullptr);
}

TEST_F(SymbolInsertion, ThePreparedDesignatorIsTakenUnaskedWithTheImportedAttributes) {
  g_imported = {"U5"};
  g_values = {{"VALUE", "10k"}};
  Tower* netHier = Own(InsertEmptyEntity(design, Type_NetHierGroup));
  Tower* imported = Own(InsertEmptyEntity(netHier, Type_ImportedSymbol));
  Add(imported, Type_ImportedDesignator, std::array<char, 3>{'U', '5', 0});
  // The definition shows VALUE once and NAME (which has no value) once.
  for (const char* name : {"VALUE", "NAME"}) {
    Tower* group = Own(InsertEmptyEntity(definition, kTypeAttributeGroup));
    Own(InsertEntity(group, static_cast<std::uint32_t>(std::strlen(name) + 1), kTypeAttributeName, name));
    Tower* shown = Own(InsertEmptyEntity(group, kTypeAttributeLocatorGroup));
    Add(shown, Type_Transform, pl3::kIdentityTransform);
    DesignatorInfo info{};
    info.explicitSize = 8;
    Add(shown, kTypeAttributeLocatorInfo, info);
  }
  window->TemporaryEntity = InsertEntity(design, 3, Type_DesignatorString, "U5");
  AnswerDesignatorDialogs({"X1"});
  Tower* placed = Own(InsertSymbol({0, 0}, definition));
  ASSERT_NE(placed, nullptr);
  EXPECT_TRUE(g_offered.empty());
  EXPECT_EQ(window->TemporaryEntity, nullptr);
  EXPECT_TRUE(Kids(design, Type_DesignatorString).empty());  // the prepared node is gone
  EXPECT_EQ(std::string(GetDesignatorText(Kids(placed, Type_Designator).at(0))), "U5");
  EXPECT_EQ(g_copied.size(), 1u);
  const std::vector<Tower*> groups = Kids(placed, kTypeAttributeGroup);
  ASSERT_EQ(groups.size(), 1u);
  EXPECT_EQ(Text(groups[0], kTypeAttributeName), "VALUE");
  EXPECT_EQ(Text(groups[0], kTypeAttributeValue), "10k");
  EXPECT_EQ(Kids(groups[0], kTypeAttributeLocatorGroup).size(), 1u);
  EXPECT_NE(GetEntityData(groups[0], Type_BoundingBox), nullptr);
  EXPECT_EQ(Kids(netHier, Type_ImportedSymbol).size(), 1u);
}

TEST_F(SymbolInsertion, ASymbolCommitIsOneUndoStepAndAPadStackWritesNone) {
  AnswerDesignatorDialogs({"R1"});
  window->Selection = DuplicateTower(definition);
  const std::uint32_t step = window->UndoStep;
  EXPECT_EQ(AcceptInsertion({100, 200}), nullptr);  // a symbol redraws through the display list
  Tower* caption = Own(FindUndoStepCaption(step));
  ASSERT_NE(caption, nullptr);
  EXPECT_STREQ(reinterpret_cast<const char*>(TowerPayload(caption)), "Insert symbol");
  EXPECT_EQ(CountUndoStepEntries(0), 1u);
  EXPECT_NE(window->UndoStep, step);
  EXPECT_EQ(Kids(design, Type_SymbolInstance).size(), 1u);

  Tower* stack = Own(InsertEntity(definition, 0, Type_PadStackDefinition, nullptr));
  Add(stack, Type_BoundingBox, pl3::Box{-10, -10, 10, 10});
  ReleaseTower(&window->Selection);
  window->Selection = DuplicateTower(stack);
  window->ViewFlags |= kViewDrawOtherSide;
  window->InsertionTransform = pl3::kIdentityTransform;
  const std::uint32_t entries = CountUndoStepEntries(0);
  pl3::Box* box = AcceptInsertion({1000, 2000});
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->xmin, 990);
  EXPECT_EQ(box->ymax, 2010);
  std::free(box);
  EXPECT_EQ(CountUndoStepEntries(0), entries);
  const auto* info = static_cast<const PadStackInfoRecord*>(GetEntityData(design, Type_PadStackInfo));
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(info->flags & kPadStackOtherSide, kPadStackOtherSide);
  EXPECT_EQ(info->definition, RefOf(stack));
  EXPECT_EQ(info->transform.tx, 1000);
  EXPECT_NE(info->xref, 0u);
}

TEST_F(SymbolInsertion, AShapeIsOneUndoStepWithItsLinkOnTheRoutingLayer) {
  Tower* shape = Own(InsertEntity(design, 0, Type_ShapeDefinition, nullptr));
  Add(shape, Type_BoundingBox, pl3::Box{0, 0, 100, 50});
  window->Selection = DuplicateTower(shape);
  window->RoutingLayer = Layer_Bottom;
  const std::uint32_t step = window->UndoStep;
  pl3::Box* box = AcceptInsertion({1000, 1000});
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->xmin, 1000);
  EXPECT_EQ(box->xmax, 1100);
  std::free(box);
  Tower* caption = Own(FindUndoStepCaption(step));
  ASSERT_NE(caption, nullptr);
  EXPECT_STREQ(reinterpret_cast<const char*>(TowerPayload(caption)), "Insert shape");
  Tower* placed = Kids(design, Type_Shape).at(0);
  const auto* link = static_cast<const ShapeLinkRecord*>(GetEntityData(placed, Type_ShapeInfo));
  ASSERT_NE(link, nullptr);
  EXPECT_EQ(link->shape, RefOf(shape));
  EXPECT_EQ(link->layer, Layer_Bottom);
}

TEST_F(SymbolInsertion, AnythingElseIsRefusedWithItsMessage) {
  window->Selection = DuplicateTower(Add(design, Type_Track, Track(Layer_Top, 0, 0, 1, 1, 0)));
  EXPECT_EQ(AcceptInsertion({0, 0}), nullptr);
  ASSERT_EQ(pl3::ResponderRecords().size(), 1u);
  EXPECT_EQ(pl3::ResponderRecords()[0].text, "Unknown type for insertion");
  EXPECT_EQ(pl3::ResponderRecords()[0].caption, "AcceptInsertion");
  EXPECT_EQ(Kids(design, Type_Track).size(), 1u);  // the held one only
  EXPECT_TRUE(Kids(design, Type_SymbolInstance).empty());
}

TEST_F(SymbolInsertion, AShapeOnTheInnerLayerEntryGetsPadKindThree) {
  Tower* shape = Own(InsertEntity(design, 0, Type_ShapeDefinition, nullptr));
  Add(shape, Type_BoundingBox, pl3::Box{0, 0, 100, 50});
  window->Selection = DuplicateTower(shape);
  window->ViewFlags |= 0x4;
  for (const auto& [layer, kind] : {std::pair<std::uint8_t, std::uint8_t>{2, kPadKindInner}, {1, kPadKindPlain},
                                    {32, kPadKindPlain}}) {
    window->RoutingLayer = layer;
    const std::uint32_t step = window->UndoStep;
    pl3::Box* box = InsertNewPadLayer();
    ASSERT_NE(box, nullptr);
    std::free(box);
    const auto* entry = static_cast<const PadStackLayerRecord*>(GetEntityData(design, Type_PadStackLayerInfo));
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->layer, layer);
    EXPECT_EQ(entry->padKind, kind) << int(layer);
    EXPECT_EQ(entry->word, 1u);
    EXPECT_EQ(entry->shape, RefOf(shape));
    Tower* caption = Own(FindUndoStepCaption(step));
    ASSERT_NE(caption, nullptr);
    EXPECT_STREQ(reinterpret_cast<const char*>(TowerPayload(caption)), "Insert shape");
  }
  EXPECT_EQ(window->ViewFlags & 0x4, 0u);
}

TEST_F(SymbolInsertion, ModifyingAnInstanceWithoutInfoReportsAndClearsTheSelection) {
  Tower* placed = Own(InsertEntity(design, 0, Type_SymbolInstance, nullptr));
  Add(placed, Type_Transform, pl3::kIdentityTransform);
  window->Selection = DuplicateTower(placed);
  EXPECT_EQ(ModifyInsertion({10, 10}), nullptr);
  ASSERT_EQ(pl3::ResponderRecords().size(), 1u);
  EXPECT_EQ(pl3::ResponderRecords()[0].text, "Error in retrieving symbol data");
  EXPECT_EQ(pl3::ResponderRecords()[0].caption, "Modify Insertion");
  EXPECT_EQ(window->Selection, nullptr);
  EXPECT_EQ(static_cast<const pl3::Transform*>(GetEntityData(placed, Type_Transform))->tx, 0);
}

TEST_F(SymbolInsertion, ModifyingAnInstanceMovesItAndTakesTheSide) {
  Tower* placed = Own(InsertEntity(design, 0, Type_SymbolInstance, nullptr));
  Add(placed, Type_SymbolInstanceInfo, SymbolInstanceInfo{0, RefOf(definition)});
  Add(placed, Type_Transform, pl3::kIdentityTransform);
  window->Selection = DuplicateTower(placed);
  window->ViewFlags |= kViewDrawOtherSide;
  pl3::Box* box = ModifyInsertion({3000, 4000});
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->xmin, 2000);
  std::free(box);
  EXPECT_EQ(Kids(placed, Type_Transform).size(), 1u);
  EXPECT_EQ(static_cast<const pl3::Transform*>(GetEntityData(placed, Type_Transform))->tx, 3000);
  const auto* info = static_cast<const SymbolInstanceInfo*>(GetEntityData(placed, Type_SymbolInstanceInfo));
  EXPECT_EQ(info->flags, kSymbolInstanceOtherSide);
  EXPECT_EQ(info->definition, RefOf(definition));
}

// A placed shape keeps its old records behind the new ones, which are read;
// a placed pad stack is changed in place. Both take the window's side or
// layer and return their box at the new place.
TEST_F(SymbolInsertion, ModifyingAShapeOrAPadStackMovesItToThePoint) {
  Tower* shape = Own(InsertEntity(design, 0, Type_ShapeDefinition, nullptr));
  Add(shape, Type_BoundingBox, pl3::Box{0, 0, 100, 50});
  Tower* placedShape = Own(InsertEmptyEntity(design, Type_Shape));
  Add(placedShape, Type_ShapeInfo, ShapeLinkRecord{RefOf(shape), 0, Layer_Top, {}});
  Add(placedShape, Type_Transform, pl3::kIdentityTransform);
  Add(placedShape, Type_BoundingBox, pl3::Box{0, 0, 100, 50});
  Tower* stack = Own(InsertEntity(design, 0, Type_PadStackDefinition, nullptr));
  Add(stack, Type_BoundingBox, pl3::Box{-10, -10, 10, 10});
  PadStackInfoRecord info{};
  info.flags = kPadStackOtherSide;
  info.xref = 7;
  info.definition = RefOf(stack);
  info.transform = pl3::kIdentityTransform;
  Tower* placedPad = Add(design, Type_PadStackInfo, info);

  window->RoutingLayer = Layer_Bottom;
  window->Selection = DuplicateTower(placedShape);
  TowerEntity(placedShape)->flags |= kEntitySelected;
  pl3::Box* box = ModifyInsertion({3000, 4000});
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->xmin, 3000);
  EXPECT_EQ(box->ymax, 4050);
  std::free(box);
  EXPECT_EQ(TowerEntity(placedShape)->flags & kEntitySelected, 0);
  EXPECT_EQ(Kids(placedShape, Type_Transform).size(), 2u);
  EXPECT_EQ(static_cast<const pl3::Transform*>(GetEntityData(placedShape, Type_Transform))->tx, 3000);
  EXPECT_EQ(static_cast<const pl3::Box*>(GetEntityData(placedShape, Type_BoundingBox))->xmin, 3000);
  EXPECT_EQ(static_cast<const ShapeLinkRecord*>(GetEntityData(placedShape, Type_ShapeInfo))->layer, Layer_Bottom);

  ReleaseTower(&window->Selection);
  window->Selection = DuplicateTower(placedPad);
  box = ModifyInsertion({500, 600});
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(box->xmin, 490);
  EXPECT_EQ(box->ymax, 610);
  std::free(box);
  EXPECT_EQ(Kids(design, Type_PadStackInfo).size(), 1u);
  const auto* moved = static_cast<const PadStackInfoRecord*>(GetEntityData(design, Type_PadStackInfo));
  EXPECT_EQ(moved->transform.tx, 500);
  EXPECT_EQ(moved->flags & kPadStackOtherSide, 0) << "the window places it on the near side";
  EXPECT_EQ(moved->xref, 7u);
}

// Replacing the shape of a pad-stack layer: one step "Edit shape"; option
// bit 0 drops the old entry, bit 1 the old shape unless another layer still
// uses it, and a dropped shape is no longer remembered.
TEST_F(SymbolInsertion, ReplacingALayersShapeIsOneStepAndDropsWhatTheOptionsSay) {
  struct Case {
    std::uint32_t options;
    bool shared;  // layer 6 uses the old shape too
    bool entryStays, shapeStays;
  };
  const Case cases[] = {
      {0, false, true, true},
      {1, false, false, true},
      {3, false, false, false},
      {3, true, false, true},
  };
  const auto addEntry = [&](std::uint8_t layer, NodeRef shape) {
    PadStackLayerRecord e{};
    e.word = 1;
    e.layer = layer;
    e.padKind = kPadKindPlain;
    e.shape = shape;
    e.transform = pl3::kIdentityTransform;
    Tower* t = InsertEntity(design, sizeof e, Type_PadStackLayerInfo, &e);
    ReleaseTower(&t);
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.options);
    DeleteChildEntities(design, Type_PadStackLayerInfo);
    Tower* oldShape = InsertEntity(design, 0, Type_ShapeDefinition, nullptr);
    const NodeRef oldRef = RefOf(oldShape);
    ReleaseTower(&oldShape);
    Tower* newShape = Own(InsertEntity(design, 0, Type_ShapeDefinition, nullptr));
    Add(newShape, Type_BoundingBox, pl3::Box{0, 0, 100, 50});
    addEntry(5, oldRef);
    if (c.shared) addEntry(6, oldRef);
    ReleaseTower(&window->Selection);
    window->Selection = DuplicateTower(newShape);
    for (Tower* d : Kids(design, Type_ShapeDefinition))
      if (RefOf(d) == oldRef) window->RememberedShape = DuplicateTower(d);
    ASSERT_NE(window->RememberedShape, nullptr);
    window->RoutingLayer = 5;
    window->Cursor = {1000, 2000};
    window->InsertionTransform = pl3::kIdentityTransform;
    window->ViewFlags |= 0x4;
    const std::uint32_t step = window->UndoStep;

    pl3::Box* box = EditPadLayerShape(5, c.options);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->xmin, 1000);
    EXPECT_EQ(box->ymax, 2050);
    std::free(box);
    EXPECT_EQ(window->ViewFlags & 0x4, 0u);
    Tower* caption = Own(FindUndoStepCaption(step));
    ASSERT_NE(caption, nullptr);
    EXPECT_STREQ(reinterpret_cast<const char*>(TowerPayload(caption)), "Edit shape");
    EXPECT_NE(window->UndoStep, step);

    int newEntries = 0, oldEntries = 0;
    for (Tower* e : Kids(design, Type_PadStackLayerInfo)) {
      const auto* r = reinterpret_cast<const PadStackLayerRecord*>(TowerPayload(e));
      if (r->layer != 5) continue;
      if (r->shape == RefOf(newShape)) {
        ++newEntries;
        EXPECT_EQ(r->transform.tx, 1000);
      }
      if (r->shape == oldRef) ++oldEntries;
    }
    EXPECT_EQ(newEntries, 1);
    EXPECT_EQ(oldEntries, c.entryStays ? 1 : 0);
    bool shapeThere = false;
    for (Tower* d : Kids(design, Type_ShapeDefinition)) shapeThere = shapeThere || RefOf(d) == oldRef;
    EXPECT_EQ(shapeThere, c.shapeStays);
    EXPECT_EQ(window->RememberedShape != nullptr, c.shapeStays);
    ReleaseTower(&window->RememberedShape);
  }
}

// A designator copy put down at a new place: its old box and offset go and
// new ones are made, once each, and the copy is no longer selected.
TEST_F(SymbolInsertion, APlacedDesignatorCopyTakesANewBoxAndOffset) {
  Tower* placed = Own(InsertEntity(design, 0, Type_SymbolInstance, nullptr));
  Add(placed, Type_SymbolInstanceInfo, SymbolInstanceInfo{0, RefOf(definition)});
  Add(placed, Type_Transform, pl3::kIdentityTransform);
  Tower* group = Own(InsertEmptyEntity(placed, Type_Designator));
  SetDesignatorText(group, "R1");
  Tower* copy = Own(InsertEmptyEntity(group, Type_DesignatorData));
  Add(copy, Type_Transform, pl3::kIdentityTransform);
  DesignatorInfo info{};
  info.explicitSize = 640000;
  info.font = 3;
  Add(copy, Type_DesignatorInfo, info);
  Add(copy, Type_BoundingBox, pl3::Box{1, 2, 3, 4});
  Add(copy, Type_Offset, std::array<std::int32_t, 2>{5, 6});
  TowerEntity(copy)->flags |= kEntitySelected | kEntitySelectedPart;
  window->EditMode = Mode_PlaceDesignator;
  pl3::Transform at = pl3::kIdentityTransform;
  at.tx = 500000;
  AcceptDesignatorPlacement(nullptr, copy, &at);
  EXPECT_EQ(window->EditMode, Mode_Idle);
  EXPECT_EQ(TowerEntity(copy)->flags & (kEntitySelected | kEntitySelectedPart), 0);
  ASSERT_EQ(Kids(copy, Type_BoundingBox).size(), 1u);
  ASSERT_EQ(Kids(copy, Type_Offset).size(), 1u);
  const auto* box = static_cast<const pl3::Box*>(GetEntityData(copy, Type_BoundingBox));
  EXPECT_NE(std::make_tuple(box->xmin, box->ymin, box->xmax, box->ymax), std::make_tuple(1, 2, 3, 4));
  const auto* offset = static_cast<const std::int32_t*>(GetEntityData(copy, Type_Offset));
  EXPECT_NE(std::make_pair(offset[0], offset[1]), std::make_pair(5, 6));
  EXPECT_TRUE(pl3::ResponderRecords().empty());
}

TEST_F(SymbolInsertion, ANewDisplayWithoutFontSizesTakesTheExplicitSize) {
  window->Cursor = {7000, 8000};
  Tower* shown = Own(BuildDesignatorTextRecord(definition, nullptr, 0));
  ASSERT_NE(shown, nullptr);
  const auto* info = static_cast<const DesignatorInfo*>(GetEntityData(shown, kTypeAttributeLocatorInfo));
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(info->flags & kDesignatorSizeIndexed, 0);
  EXPECT_EQ(info->sizeIndex, 0u);
  EXPECT_EQ(info->explicitSize, CurrentTextExplicitSize);
  const auto* t = static_cast<const pl3::Transform*>(GetEntityData(shown, Type_Transform));
  EXPECT_EQ(t->tx, 7000);
  EXPECT_EQ(t->ty, 8000);
  EXPECT_NE(TowerEntity(shown)->flags & kEntitySelected, 0);
}

TEST_F(SymbolInsertion, ANewDisplayOnAPlacedSymbolIsShownAtTheCursor) {
  Tower* placed = Own(InsertEntity(design, 0, Type_SymbolInstance, nullptr));
  pl3::Transform placement = pl3::R90;
  placement.tx = 100000;
  placement.ty = 200000;
  Add(placed, Type_Transform, placement);
  window->Cursor = {130000, 250000};
  Tower* shown = Own(BuildDesignatorTextRecord(placed, nullptr, 0));
  ASSERT_NE(shown, nullptr);
  pl3::Transform t = *static_cast<const pl3::Transform*>(GetEntityData(shown, Type_Transform));
  pl3::Point at{t.tx, t.ty};
  pl3::TransformPoint(&placement, at.x, at.y);
  EXPECT_NEAR(at.x, 130000, 1);
  EXPECT_NEAR(at.y, 250000, 1);
}

TEST_F(SymbolInsertion, AnAskedDisplayWithNoNameChosenLeavesNothing) {
  Tower* placed = Own(InsertEntity(design, 0, Type_SymbolInstance, nullptr));
  pl3::SetDialogHook(1186, [](HWND dialog) { pl3::ClickDialogButton(dialog, IDCANCEL); });
  EXPECT_EQ(BuildDesignatorTextRecord(placed, nullptr, 1), nullptr);
  EXPECT_TRUE(Kids(placed, kTypeAttributeGroup).empty());
}

TEST_F(SymbolInsertion, APadNameIsStoredRelativeToThePadsCentreAndTheNextNameProposed) {
  Tower* stack = Own(InsertEntity(definition, 0, Type_PadStackDefinition, nullptr));
  Add(stack, Type_BoundingBox, pl3::Box{-100, -100, 100, 100});
  Tower* pad = Own(InsertEmptyEntity(definition, Type_PadStackInstanceHier));
  PadStackInfoRecord info{};
  info.xref = 1;
  info.definition = RefOf(stack);
  info.transform = pl3::kIdentityTransform;
  info.transform.tx = 1000;
  info.transform.ty = 2000;
  Add(pad, Type_PadStackInfo, info);
  Tower* oldHier = Own(InsertEmptyEntity(pad, Type_LabelHier));
  PadLabelHead* old = NewPadLabel("X");
  Own(InsertEntity(oldHier, sizeof(PadLabelHead) + 2, Type_Label, old));
  std::free(old);

  window->Selection = DuplicateTower(pad);
  window->PadLabelInHand = NewPadLabel("A9");
  window->PadLabelInHand->transform.tx = 1300;
  window->PadLabelInHand->transform.ty = 1900;
  window->EditMode = Mode_NamePad;
  EXPECT_EQ(AcceptPadName(nullptr, nullptr), 0);
  EXPECT_EQ(window->EditMode, Mode_NamePad);
  EXPECT_EQ(window->PadLabelInHand, nullptr);
  ASSERT_NE(window->PadNameText, nullptr);
  EXPECT_STREQ(window->PadNameText, "A10");
  EXPECT_EQ(std::string(GetPadLabelName(pad)), "A9");
  const std::vector<Tower*> hiers = Kids(pad, Type_LabelHier);
  ASSERT_EQ(hiers.size(), 1u);
  const std::vector<Tower*> labels = Kids(hiers[0], Type_Label);
  ASSERT_EQ(labels.size(), 1u);
  const auto* stored = reinterpret_cast<const PadLabelHead*>(TowerPayload(labels[0]));
  EXPECT_EQ(stored->transform.tx, 300);
  EXPECT_EQ(stored->transform.ty, -100);
  EXPECT_EQ(PadLabelOffset.x, 300);
  EXPECT_EQ(PadLabelOffset.y, -100);
  std::free(window->PadNameText);
  window->PadNameText = nullptr;
}

}  // namespace
