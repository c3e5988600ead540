// The PCB command handler: the id ranges, the rows' own rules (net-editing
// gate, end op, idle only, existence checks, messages, logs, changed) and
// the commands it carries whole (board setup, edit text, change designator).
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/frame_menus.h"
#include "app/start_values.h"
#include "draw/display_list.h"
#include "edit/window_data.h"
#include "objects/designators.h"
#include "objects/graphic_records.h"
#include "objects/payload_access.h"
#include "objects/type_codes.h"
#include "pcb/pcb_commands.h"
#include "platform/responder.h"
#include "platform/user.h"
#include "store/tower.h"
#include "tests/pcb/pcb_command_fakes.h"
#include "tests/store/tower_test_support.h"

namespace {

using pcbfakes::Answer;
using pcbfakes::Called;
using pcbfakes::Calls;
using pcbfakes::Log;

constexpr char kNetEditingRefusal[] = "6 1: You need to enable the net editing option.";

class PcbCommands : public testing::Test {
 protected:
  void SetUp() override {
    towertest::EnsureStoreStarted();
    block = std::make_unique<CurrentWindowData>(kEditorPcb);
    design = towertest::NewTopLevelEntity(Type_PCB);
    block->design = design;
    for (int layer = 1; layer <= 32; ++layer) {
      block->layerTable.layers[layer].kind = 2;
      block->layerTable.layers[layer].flags = 0xF;
    }
    block->CopperLayerCount = 32;
    // Not the window the commands name, so the real view redraws stay idle.
    block->Window = reinterpret_cast<void*>(static_cast<std::uintptr_t>(0x10));
    ActiveWindowData = block.get();
    pl3::ClearResponderRecords();
  }
  void TearDown() override {
    for (SelectionInfo* r = block->SelectionList; r;) {
      SelectionInfo* next = r->next;
      ReleaseTower(&r->workingCopy);
      delete r;
      r = next;
    }
    block->SelectionList = nullptr;
    FreeDisplayList(static_cast<DisplayList*>(block->Display));
    ActiveWindowData = nullptr;
    DeleteEntity(design);
    ReleaseTower(&design);
  }

  void Run(std::uint32_t id) {
    Calls().clear();
    Log().clear();
    EXPECT_EQ(DoPCBCommand(nullptr, id, block.get()), 0);
  }

  Entity* Add(std::uint16_t code, std::uint32_t size = 68) {
    std::vector<std::uint8_t> payload(size, 0);
    Tower* t = InsertEntity(design, size, code, payload.data());
    Entity* e = TowerEntity(t);
    ReleaseTower(&t);
    return e;
  }

  // A placed symbol carrying the designator, with `copies` displayed copies.
  Tower* PlaceSymbol(const char* designator, int copies = 1) {
    Tower* instance = InsertEntity(design, 0, Type_SymbolInstance, nullptr);
    Tower* group = InsertEntity(instance, 0, Type_Designator, nullptr);
    Tower* text = InsertEntity(group, static_cast<std::uint32_t>(std::strlen(designator) + 1), Type_DesignatorString,
                               designator);
    for (int i = 0; i < copies; ++i) {
      Tower* copy = InsertEntity(group, 0, Type_DesignatorData, nullptr);
      DesignatorInfo info{};
      Tower* infoTower = InsertEntity(copy, sizeof info, Type_DesignatorInfo, &info);
      ReleaseTower(&infoTower);
      ReleaseTower(&copy);
    }
    ReleaseTower(&text);
    ReleaseTower(&group);
    return instance;
  }

  // Selects the item as a primary record whose working copy it is.
  void Select(Tower* item) {
    auto* r = new SelectionInfo{};
    r->flags = kSelectionPrimary;
    r->workingCopy = item;
    r->next = block->SelectionList;
    if (block->SelectionList) block->SelectionList->prev = r;
    block->SelectionList = r;
  }

  Tower* AddText(const std::string& text, std::uint32_t size = 0) {
    std::vector<std::uint8_t> payload(size ? size : TextStoredSize(static_cast<std::uint32_t>(text.size())), 0);
    std::memcpy(payload.data() + offsetof(TextPayload, text), text.data(),
                std::min<std::size_t>(text.size(), payload.size() - offsetof(TextPayload, text)));
    return InsertEntity(design, static_cast<std::uint32_t>(payload.size()), Type_Text, payload.data());
  }

  static std::string DesignatorOf(const Tower* instance) {
    Tower* group = NewestChildTower(instance, Type_Designator);
    const char* text = GetDesignatorString(group);
    std::string result = text ? text : "";
    ReleaseTower(&group);
    return result;
  }

  static std::uint16_t DisplayWord(const Tower* copy) {
    const auto* info = reinterpret_cast<const DesignatorInfo*>(
        ChildPayloadOfAtLeast(copy, Type_DesignatorInfo, sizeof(DesignatorInfo)));
    std::uint16_t word = 0;
    std::memcpy(&word, &info->display, sizeof word);
    return word;
  }

  std::unique_ptr<CurrentWindowData> block;
  Tower* design = nullptr;
};

// ---- Id ranges ----------------------------------------------------------------------

TEST_F(PcbCommands, ImportNetAndScriptIdsRunTheirEntryAndNothingElse) {
  const struct {
    std::uint32_t id;
    const char* call;
  } cases[] = {{20000, "import net 0"}, {20031, "import net 31"}, {21000, "script 0"}, {21127, "script 127"}};
  for (const auto& c : cases) {
    Run(c.id);
    EXPECT_EQ(Calls(), std::vector<std::string>{c.call}) << c.id;
  }
  for (std::uint32_t id : {19999u, 20032u, 20999u, 21128u}) {
    Run(id);
    EXPECT_TRUE(Calls().empty()) << id;
  }
}

TEST_F(PcbCommands, SaveSaveAsAndSaveAllReachTheBoardSavingAlone) {
  const struct {
    std::uint32_t id;
    const char* call;
  } cases[] = {{286, "save"}, {334, "save as"}, {4004, "save all"}};
  for (const auto& c : cases) {
    Run(c.id);
    EXPECT_EQ(Calls(), std::vector<std::string>{c.call}) << c.id;
  }
}

TEST_F(PcbCommands, TheIdIsTheLowWordOfWParam) {
  Run(0x50000u | 20005u);
  EXPECT_EQ(Calls(), std::vector<std::string>{"import net 5"});
}

// ---- Net editing ------------------------------------------------------------------------

TEST_F(PcbCommands, NetCommandsWithoutNetEditingOnlyBeepAndLog) {
  for (std::uint32_t id : {2511u, 2512u, 2513u, 2514u, 2516u}) {
    const int beeps = pl3::BeepCount();
    Run(id);
    EXPECT_EQ(pl3::BeepCount(), beeps + 1) << id;
    EXPECT_EQ(Log(), std::vector<std::string>{kNetEditingRefusal}) << id;
    EXPECT_TRUE(Calls().empty()) << id;
  }
  EXPECT_TRUE(pl3::ResponderRecords().empty());
}

TEST_F(PcbCommands, EnabledTogglesNetEditingForTheWindowAndTheNodeToolsThenRun) {
  Run(2515);
  EXPECT_EQ(block->NetEditingEnabled, 1u);
  EXPECT_EQ(Calls(), std::vector<std::string>{"end op"});
  const struct {
    std::uint32_t id;
    const char* operation;
  } cases[] = {{2511, "net edit 1"}, {2512, "net edit 3"}, {2513, "net edit 4"}};
  for (const auto& c : cases) {
    Run(c.id);
    EXPECT_EQ(Calls(), (std::vector<std::string>{"end op", "net edit tool", c.operation})) << c.id;
    EXPECT_TRUE(Log().empty());
  }
  Run(2515);
  EXPECT_EQ(block->NetEditingEnabled, 0u);
}

TEST_F(PcbCommands, GenerateAndDeleteNetlistAskAndDoNothingOnNo) {
  block->NetEditingEnabled = 1;
  Run(2514);
  EXPECT_FALSE(Called("generate netlist"));
  EXPECT_FALSE(Called("end op"));
  Run(2516);
  EXPECT_FALSE(Called("delete netlist"));
  ASSERT_EQ(pl3::ResponderRecords().size(), 2u);
  const auto& generate = pl3::ResponderRecords()[0];
  EXPECT_EQ(generate.text,
            "Are you sure you want to generate the netlist from the connectivity?  This will destroy the existing "
            "netlist.");
  EXPECT_EQ(generate.caption, "Pelmora3");
  EXPECT_EQ(generate.flags & MB_TYPEMASK, MB_YESNO);
  const auto& remove = pl3::ResponderRecords()[1];
  EXPECT_EQ(remove.text, "Are you sure you want to completely remove the netlist?");
  EXPECT_EQ(remove.flags & (MB_TYPEMASK | MB_ICONMASK), MB_YESNO | MB_ICONQUESTION);

  pl3::PushButtonAnswer(IDYES);
  Run(2514);
  EXPECT_EQ(Calls(), (std::vector<std::string>{"end op", "generate netlist"}));
  pl3::PushButtonAnswer(IDYES);
  Run(2516);
  EXPECT_EQ(Calls(), (std::vector<std::string>{"end op", "delete netlist"}));
}

// ---- Fix, Unfix and the plane views ------------------------------------------------

TEST_F(PcbCommands, FixAllFixesEarlierGenerationSymbolsWhenNoOthersArePlaced) {
  Entity* old1 = Add(163);
  Entity* old2 = Add(163);
  Entity* track = Add(Type_Track);
  Run(453);
  EXPECT_TRUE(old1->flags & kEntityFixed);
  EXPECT_TRUE(old2->flags & kEntityFixed);
  EXPECT_FALSE(track->flags & kEntityFixed);
  EXPECT_EQ(Log(), std::vector<std::string>{"6 4: All symbols have been fixed in position."});
  EXPECT_TRUE(Called("changed"));

  Run(454);
  EXPECT_FALSE(old1->flags & kEntityFixed);
  EXPECT_EQ(Log(), std::vector<std::string>{"6 4: All symbols have been unfixed."});
}

TEST_F(PcbCommands, FixAndUnfixSetTheBitOnEveryItemOfTheirKind) {
  const struct {
    std::uint32_t fix, unfix;
    std::uint16_t code;
    const char *fixed, *unfixed;
  } cases[] = {
      {2019, 2020, Type_Plane, "6 4: All planes have been fixed in position.", "6 4: All planes have been unfixed."},
      {2384, 2385, Type_Datum, "6 4: All datums have been fixed in position.", "6 4: All datums have been unfixed."},
      {453, 454, Type_SymbolInstance, "6 4: All symbols have been fixed in position.",
       "6 4: All symbols have been unfixed."},
  };
  for (const auto& c : cases) {
    Entity* a = Add(c.code);
    Entity* b = Add(c.code);
    b->flags |= 0x0040;
    Run(c.fix);
    EXPECT_EQ(a->flags, kEntityFixed) << c.fix;
    EXPECT_EQ(b->flags, kEntityFixed | 0x0040) << c.fix;
    EXPECT_EQ(Log(), std::vector<std::string>{c.fixed});
    Run(c.unfix);
    EXPECT_EQ(a->flags, 0) << c.unfix;
    EXPECT_EQ(b->flags, 0x0040) << c.unfix;
    EXPECT_EQ(Log(), std::vector<std::string>{c.unfixed});
  }
}

TEST_F(PcbCommands, FixUnfixSolidAndCutMarkersDoNothingWithoutItemsOfTheKind) {
  Add(Type_Track);
  for (std::uint32_t id : {453u, 454u, 2019u, 2020u, 2384u, 2385u, 2022u, 2683u}) {
    Run(id);
    EXPECT_EQ(Calls(), std::vector<std::string>{"end op"}) << id;
    EXPECT_TRUE(Log().empty()) << id;
  }
  EXPECT_EQ(block->StateFlags, 0u);
  EXPECT_EQ(block->CutMarkersVisible, 0u);
}

TEST_F(PcbCommands, SolidAndCutMarkersToggleTheirFlagOnABoardWithPlanes) {
  Add(Type_Plane);
  Run(2022);
  EXPECT_EQ(block->StateFlags, kStatePlaneOutlines);
  EXPECT_EQ(Calls(), std::vector<std::string>{"end op"});
  Run(2022);
  EXPECT_EQ(block->StateFlags, 0u);
  Run(2683);
  EXPECT_EQ(block->CutMarkersVisible, 1u);
  EXPECT_EQ(block->StateFlags, 0u);
  Run(2683);
  EXPECT_EQ(block->CutMarkersVisible, 0u);
}

// ---- Designators ---------------------------------------------------------------------

TEST_F(PcbCommands, HideAllDesignatorsChangesOnlyTheNewestCopy) {
  Tower* instance = PlaceSymbol("R1", 2);
  Tower* group = NewestChildTower(instance, Type_Designator);
  Tower* copies = GetChildTower(group, Type_DesignatorData);
  ASSERT_TRUE(FindNextEntity(copies));
  Tower* newest = DuplicateTower(copies);
  ASSERT_TRUE(FindNextEntity(copies));
  Tower* older = DuplicateTower(copies);

  Run(2012);
  EXPECT_EQ(DisplayWord(newest), kDesignatorHidden);
  EXPECT_EQ(DisplayWord(older), 0);
  EXPECT_EQ(Calls(), (std::vector<std::string>{"end op", "display remove", "display put", "changed"}));
  EXPECT_EQ(Log(), std::vector<std::string>{"6 4: All designators have been hidden."});

  Run(2013);
  EXPECT_EQ(DisplayWord(newest), 0);
  EXPECT_EQ(Log(), std::vector<std::string>{"6 4: All designators have been shown."});
  for (Tower** t : {&newest, &older, &copies, &group, &instance}) ReleaseTower(t);
}

// ---- Messages, existence checks and idle-only rows -------------------------------

TEST_F(PcbCommands, FindSymbolAndRatsNestDisplayExplainWhatIsMissing) {
  Run(2293);
  Run(445);
  ASSERT_EQ(pl3::ResponderRecords().size(), 2u);
  EXPECT_EQ(pl3::ResponderRecords()[0].text, "No symbols have been placed");
  EXPECT_EQ(pl3::ResponderRecords()[0].caption, "Find Symbol");
  EXPECT_EQ(pl3::ResponderRecords()[1].text, "No nets have been imported.");
  EXPECT_EQ(pl3::ResponderRecords()[1].caption, "Reassess Rats Nests");

  Tower* instance = PlaceSymbol("U1");
  Add(Type_NetHierGroup, 4);
  Run(2293);
  EXPECT_EQ(Calls(), std::vector<std::string>{"find symbol"});
  Run(445);
  EXPECT_EQ(Calls(), std::vector<std::string>{"rats nest config"});
  EXPECT_EQ(pl3::ResponderRecords().size(), 2u);
  ReleaseTower(&instance);
}

TEST_F(PcbCommands, PlaneAndCutoutToolsAreChosenOnlyWhenIdle) {
  block->EditMode = 39;
  block->InsertType = 1;
  Run(215);
  Run(201);
  EXPECT_EQ(block->InsertType, 1);
  block->EditMode = 0;
  Run(215);
  EXPECT_EQ(block->InsertType, Type_Plane);
  Run(201);
  EXPECT_EQ(block->InsertType, Type_PlaneCutout);
  EXPECT_TRUE(Calls().empty());
}

TEST_F(PcbCommands, IdleOnlyPlaneToolsRunOnlyWhenEndingTheOperationLeftTheWindowIdle) {
  const struct {
    std::uint32_t id;
    std::vector<std::string> calls;
  } cases[] = {{2284, {"end op", "delete thermal"}},
               {2684, {"end op", "auto thermal"}},
               {2687, {"end op", "autocut"}},
               {2688, {"end op", "remove cuts"}}};
  for (const auto& c : cases) {
    block->EditMode = 39;
    Answer().keepEditMode = true;
    Run(c.id);
    EXPECT_EQ(Calls(), std::vector<std::string>{"end op"}) << c.id;
    Answer().keepEditMode = false;
    Run(c.id);
    EXPECT_EQ(Calls(), c.calls) << c.id;
  }
}

TEST_F(PcbCommands, PlaneClearancesRebuildOnOkAndMarkTheDesignChangedEitherWay) {
  Run(2403);
  EXPECT_EQ(Calls(), (std::vector<std::string>{"end op", "plane clearances", "changed"}));
  Answer().dialogResult = IDOK;
  Run(2403);
  EXPECT_EQ(Calls().back(), "changed");
  EXPECT_NE(block->Display, nullptr);  // rebuilt
}

TEST_F(PcbCommands, InsertSymbolStartsPlacingOnlyWhenTheChooserStartedIt) {
  Run(221);
  EXPECT_EQ(block->EditMode, 0);
  EXPECT_EQ(Calls(), (std::vector<std::string>{"end op", "insert symbol"}));
  Answer().insertSymbolChosen = 1;
  Run(221);
  EXPECT_EQ(block->EditMode, 24);
  EXPECT_EQ(block->InsertType, 4);
  EXPECT_EQ(Calls(), (std::vector<std::string>{"end op", "insert symbol", "cursor 6", "menus 16"}));
}

TEST_F(PcbCommands, GetSymbolAsksForADesignatorAndLooksItUpOnlyWithOne) {
  Run(2413);
  EXPECT_EQ(Calls(), std::vector<std::string>{"enter text Get Symbol / Enter symbol designator"});
  Answer().enteredText = "U7";
  Run(2413);
  EXPECT_EQ(Calls().back(), "get symbol U7");
}

TEST_F(PcbCommands, PickupDesignatorTogglesTheKeptOption) {
  FixedDesignators = 1;
  Run(2437);
  EXPECT_EQ(FixedDesignators, 0);
  EXPECT_EQ(PickupDesignator, 0);
  Run(2437);
  EXPECT_EQ(FixedDesignators, 1);
  EXPECT_EQ(PickupDesignator, 1);
}

TEST_F(PcbCommands, TheRedrawOfThePendingBoxUsesItUp) {
  block->PendingRedraw = {10, 20, 30, 40};
  Run(484);
  EXPECT_EQ(block->PendingRedraw.xmin, -1);
  EXPECT_EQ(block->PendingRedraw.xmax, 0);
}

// ---- Board setup -------------------------------------------------------------------------

TEST_F(PcbCommands, BoardSetupWithoutRecordsStartsFromTheDefaultBoardValue) {
  block->CopperLayerCount = 6;
  Run(2569);
  const auto& seen = pcbfakes::SeenBoardSetup();
  EXPECT_EQ(seen.copperLayers, 6u);
  const BoardValue board = seen.board;
  const double thickness = board.thickness;
  const std::uint32_t word1 = board.word1, word2 = board.word2;
  EXPECT_EQ(thickness, 1.0);
  EXPECT_EQ(word1, 2u);
  EXPECT_EQ(word2, 0u);
  EXPECT_TRUE(seen.entries.empty());
  // Cancelled: nothing written.
  EXPECT_EQ(GetEntityData(design, 13200), nullptr);
  EXPECT_FALSE(Called("changed"));
}

TEST_F(PcbCommands, BoardSetupOkWritesTheRecordsAndReadsThemBackInTheSameOrder) {
  Answer().dialogResult = IDOK;
  Answer().setupCopperLayers = 32;
  Answer().setupEntries = {0x0102, 0x0304, 0x0506};
  Run(2569);
  Tower* setup = NewestChildTower(design, 13200);
  ASSERT_NE(setup, nullptr);
  Tower* value = NewestChildTower(setup, 13203);
  ASSERT_NE(value, nullptr);
  BoardValue stored{};
  std::memcpy(&stored, TowerPayload(value), sizeof stored);
  const double storedThickness = stored.thickness;
  const std::uint32_t storedWord = stored.word1;
  EXPECT_EQ(storedThickness, 1.6);
  EXPECT_EQ(storedWord, 2u);
  EXPECT_TRUE(Called("store stackup"));
  EXPECT_TRUE(Called("changed"));
  EXPECT_NE(block->Display, nullptr);  // rebuilt

  // The dialog sees the stored value and the entries in the order given.
  Answer().dialogResult = IDCANCEL;
  Run(2569);
  const auto& seen = pcbfakes::SeenBoardSetup();
  const double seenThickness = seen.board.thickness;
  EXPECT_EQ(seenThickness, 1.6);
  EXPECT_EQ(seen.entries, (std::vector<std::uint16_t>{0x0102, 0x0304, 0x0506}));
  ReleaseTower(&value);
  ReleaseTower(&setup);
}

TEST_F(PcbCommands, BoardSetupWithoutEntriesWritesNoList) {
  Answer().dialogResult = IDOK;
  Answer().setupCopperLayers = 32;
  Run(2569);
  Tower* setup = NewestChildTower(design, 13200);
  ASSERT_NE(setup, nullptr);
  EXPECT_EQ(GetEntityData(setup, 13201), nullptr);
  EXPECT_NE(GetEntityData(setup, 13203), nullptr);
  ReleaseTower(&setup);
}

TEST_F(PcbCommands, BoardSetupSkipsAShortValueRecord) {
  Tower* setup = InsertEntity(design, 0, 13200, nullptr);
  Tower* value = InsertEntity(setup, 0, 13203, nullptr);
  Run(2569);
  const double thickness = pcbfakes::SeenBoardSetup().board.thickness;
  EXPECT_EQ(thickness, 1.0);
  ReleaseTower(&value);
  ReleaseTower(&setup);
}

TEST_F(PcbCommands, ARefusedLayerChangeKeepsTheCountInUse) {
  Answer().dialogResult = IDOK;
  Answer().setupCopperLayers = 4;
  Run(2569);  // the layer change asks, and the default answer refuses
  EXPECT_EQ(block->CopperLayerCount, 32u);
  // The records already hold the new values.
  EXPECT_NE(GetEntityData(design, 13200), nullptr);
}

// ---- Edit Text and Change Designator ------------------------------------------

TEST_F(PcbCommands, EditTextRefusesSeveralSelectedTexts) {
  block->EditMode = 39;
  Select(AddText("one"));
  Select(AddText("two"));
  Answer().editedString = "new";
  Run(432);
  ASSERT_EQ(pl3::ResponderRecords().size(), 1u);
  EXPECT_EQ(pl3::ResponderRecords()[0].text, "You cannot edit multiple text objects");
  EXPECT_EQ(pl3::ResponderRecords()[0].caption, "PCB Edit Text");
  EXPECT_FALSE(Called("string dialog one"));
}

TEST_F(PcbCommands, EditTextReplacesTheWorkingCopyByTheEditedText) {
  block->EditMode = 45;
  Tower* text = AddText("old");
  Select(text);
  Answer().editedString = "a longer text";
  Run(432);
  EXPECT_EQ(Calls(), (std::vector<std::string>{"string dialog old", "ghost selection", "ghost selection"}));
  const Tower* copy = block->SelectionList->workingCopy;
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(TowerEntity(copy)->typeCode, Type_Text);
  const auto* payload = reinterpret_cast<const TextPayload*>(TowerPayload(copy));
  EXPECT_STREQ(payload->text, "a longer text");
  // The old record is gone: the design holds one text.
  Tower* texts = GetChildTower(design, Type_Text);
  int count = 0;
  while (FindNextEntity(texts)) ++count;
  ReleaseTower(&texts);
  EXPECT_EQ(count, 1);
}

TEST_F(PcbCommands, EditTextOfAnOversizedRecordIsCutToWhatATextRecordHolds) {
  block->EditMode = 39;
  Select(AddText(std::string(3000, 'A'), 3200));
  Run(432);
  ASSERT_FALSE(Calls().empty());
  EXPECT_EQ(Calls()[0], "string dialog " + std::string(kTextRoom - 1 - offsetof(TextPayload, text), 'A'));
}

TEST_F(PcbCommands, EditTextOfTheTextBeingPlacedEditsItInPlace) {
  block->EditMode = 28;
  block->PendingRecord = new EntityRecord{};
  std::memcpy(block->PendingRecord->as<TextPayload>().text, "abc", 4);
  Answer().editedString = "xyz";
  Run(432);
  EXPECT_STREQ(block->PendingRecord->as<TextPayload>().text, "xyz");
  delete block->PendingRecord;
  block->PendingRecord = nullptr;
}

TEST_F(PcbCommands, ChangeDesignatorStoresAnUnusedDesignatorCutToItsRecord) {
  Tower* other = PlaceSymbol("R2");
  Tower* instance = PlaceSymbol("R1");
  Select(instance);
  block->EditMode = 39;

  // Net editing off: nothing asked.
  Answer().enteredText = "R7";
  Run(4007);
  EXPECT_TRUE(Calls().empty());

  block->NetEditingEnabled = 1;
  Run(4007);
  EXPECT_EQ(pcbfakes::EnterTextInitial(), "R1");
  EXPECT_EQ(pcbfakes::EnterTextLimit(), 15u);  // the stored record's 16 bytes, less the terminator
  EXPECT_EQ(DesignatorOf(instance), "R7");

  // A designator another symbol carries is refused without a message.
  Answer().enteredText = "r2";
  Run(4007);
  EXPECT_EQ(DesignatorOf(instance), "R7");
  EXPECT_TRUE(pl3::ResponderRecords().empty());

  // A text longer than the record is cut to it.
  Answer().enteredText = std::string(40, 'Q');
  Run(4007);
  EXPECT_EQ(DesignatorOf(instance), std::string(15, 'Q'));
  block->SelectionList->workingCopy = nullptr;
  ReleaseTower(&instance);
  ReleaseTower(&other);
}

TEST_F(PcbCommands, ChangeDesignatorNeedsExactlyOneSelectedSymbolInAnEditMode) {
  block->NetEditingEnabled = 1;
  Answer().enteredText = "R9";
  Tower* a = PlaceSymbol("R1");
  Tower* b = PlaceSymbol("R2");
  Select(a);
  Run(4007);  // idle
  EXPECT_TRUE(Calls().empty());
  block->EditMode = 39;
  Select(b);
  Run(4007);  // two symbols
  EXPECT_TRUE(Calls().empty());
}

}  // namespace
