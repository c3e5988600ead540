// Naming selected pads: the checks of the two names, the ten orders, the
// naming progression and the "Name Pads" dialog.
#include "edit/pad_naming.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "../store/tower_test_support.h"
#include "edit/window_data.h"
#include "objects/pad_names.h"
#include "objects/type_codes.h"
#include "platform/controls.h"
#include "platform/dialog_hooks.h"
#include "platform/responder.h"
#include "store/tower.h"

namespace {

class PadNamingTest : public testing::Test {
 protected:
  void SetUp() override {
    towertest::EnsureStoreStarted();
    window = std::make_unique<CurrentWindowData>(kEditorPcbSymbol);
    design = towertest::NewTopLevelEntity(Type_PCB);
    window->design = design;
    ActiveWindowData = window.get();
    pl3::ClearResponderRecords();
  }
  void TearDown() override {
    pl3::ClearDialogHooks();
    ActiveWindowData = nullptr;
    for (Tower*& t : pads) ReleaseTower(&t);
    DeleteEntity(design);
    ReleaseTower(&design);
  }

  // A pad at (x, y) selected as the next record of the list (list order is
  // the order of the calls).
  Tower* SelectPad(std::int32_t x, std::int32_t y) {
    Tower* pad = InsertEntity(design, 0, Type_PadStackInstanceHier, nullptr);
    pads.push_back(pad);
    auto record = std::make_unique<SelectionInfo>();
    record->flags = kSelectionPrimary;
    record->original = pad;
    record->grabPoint = record->currentPoint = {x, y};
    if (!records.empty()) {
      records.back()->next = record.get();
      record->prev = records.back().get();
    }
    records.push_back(std::move(record));
    window->SelectionList = records.front().get();
    return pad;
  }
  void SelectGrid(int columns, int rows) {
    for (int r = 0; r < rows; ++r)
      for (int c = 0; c < columns; ++c) SelectPad(1000000 + c * 100000, 1000000 + r * 100000);
  }
  const SelectionInfo* List() const { return window->SelectionList; }

  std::string NameOf(const Tower* pad) const {
    const char* name = GetPadLabelName(pad);
    return name ? name : "(none)";
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> out;
    for (const Tower* pad : pads) out.push_back(NameOf(pad));
    return out;
  }
  // Indexes (into `pads`) of the sorted records.
  std::vector<int> Order(int order) const {
    std::vector<int> out;
    for (const PadSortRecord& r : SortPadsForNaming(List(), order))
      for (std::size_t i = 0; i < pads.size(); ++i)
        if (pads[i] == r.item) out.push_back(static_cast<int>(i));
    return out;
  }
  std::vector<std::string> NameAll(const char* first, const char* second, int order = kOrderRowsDown) {
    PadNamingBlock block;
    EXPECT_EQ(CheckPadNames(first, second, &block), nullptr);
    NameSortedPins(SortPadsForNaming(List(), order), List(), &block);
    return Names();
  }

  std::unique_ptr<CurrentWindowData> window;
  Tower* design = nullptr;
  std::vector<Tower*> pads;
  std::vector<std::unique_ptr<SelectionInfo>> records;
};

struct NamesCase {
  const char* first;
  const char* second;
  const char* message;  // null: accepted
};

class CheckNames : public testing::TestWithParam<NamesCase> {};

TEST_P(CheckNames, AcceptsOneChangeOnly) {
  const NamesCase& c = GetParam();
  PadNamingBlock block;
  const char* message = CheckPadNames(c.first, c.second, &block);
  if (c.message) {
    ASSERT_NE(message, nullptr) << c.first << " / " << c.second;
    EXPECT_STREQ(message, c.message);
    EXPECT_TRUE(block.firstName.empty() && block.secondName.empty()) << "the token lists are freed";
  } else {
    EXPECT_EQ(message, nullptr) << message;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, CheckNames,
    testing::Values(NamesCase{"A1", "A2", nullptr}, NamesCase{"PA", "PB", nullptr},
                    NamesCase{"A1", "B2", "Only one field may change"},
                    NamesCase{"AB1", "BA1", "Only one field may change"},
                    NamesCase{"A1", "A1", "Fields are the same!"}, NamesCase{"A1", "1A", "Incompatible fields"},
                    NamesCase{"A1", "A1B", "Different number of fields."},
                    NamesCase{"AB1", "A1", "String fields must be the same length"},
                    NamesCase{"", "A2", "You must have at least one character in the first field"},
                    NamesCase{"A1", "", "You must have at least one character in the second field"},
                    NamesCase{"A2147483648", "A2147483649",
                              "A number in a pad name may not be larger than 2147483647"},
                    NamesCase{"A1", "A99999999999", "A number in a pad name may not be larger than 2147483647"}));

TEST(CheckNames, FindsTheStepAndTheChangingPlace) {
  PadNamingBlock block;
  ASSERT_EQ(CheckPadNames("X10Y", "X4Y", &block), nullptr);
  EXPECT_EQ(block.step, 6);
  EXPECT_EQ(block.changingField, 1);
  ASSERT_EQ(CheckPadNames("P1QA", "P1QC", &block), nullptr);
  EXPECT_EQ(block.step, 2);
  EXPECT_EQ(block.changingField, 2);
  EXPECT_EQ(block.changingCharacter, 1);
  // Characters step as signed bytes: 0xE9 is -23, 'A' 65.
  ASSERT_EQ(CheckPadNames("\xE9", "A", &block), nullptr);
  EXPECT_EQ(block.step, 88);
  ASSERT_EQ(CheckPadNames("anything 7", nullptr, &block), nullptr) << "one pad: no second name";
  EXPECT_EQ(block.firstName.size(), 2u);
}

TEST_F(PadNamingTest, NamesFollowTheProgression) {
  SelectGrid(4, 1);
  EXPECT_EQ(NameAll("A1", "A2"), (std::vector<std::string>{"A1", "A2", "A3", "A4"}));
  EXPECT_EQ(NameAll("1", "3"), (std::vector<std::string>{"1", "3", "5", "7"}));
  EXPECT_EQ(NameAll("PA", "PB"), (std::vector<std::string>{"PA", "PB", "PC", "PD"}));
  EXPECT_EQ(NameAll("B10C", "B10E"), (std::vector<std::string>{"B10C", "B10E", "B10G", "B10I"}));
}

TEST_F(PadNamingTest, OnePadTakesTheFirstName) {
  SelectPad(1000000, 1000000);
  EXPECT_EQ(NameAll("GND 3", nullptr), (std::vector<std::string>{"GND 3"}));
}

TEST_F(PadNamingTest, ProgressionThatCannotGoOnStopsWithAMessage) {
  SelectGrid(3, 1);
  PadNamingBlock block;
  ASSERT_EQ(CheckPadNames("\x7E", "\x7F", &block), nullptr);  // the third name would be 0x80: allowed
  EXPECT_EQ(NameSortedPins(SortPadsForNaming(List(), kOrderRowsDown), List(), &block), 1);
  ASSERT_EQ(CheckPadNames("\xFE", "\xFF", &block), nullptr);  // -2, -1, then NUL
  EXPECT_EQ(NameSortedPins(SortPadsForNaming(List(), kOrderRowsDown), List(), &block), 0);
  EXPECT_EQ(Names(), (std::vector<std::string>{"\xFE", "\xFF", "\x80"})) << "the third pad keeps its old name";
  ASSERT_EQ(pl3::ResponderRecords().size(), 1u);
  EXPECT_EQ(pl3::ResponderRecords()[0].caption, "Pelmora3");

  ASSERT_EQ(CheckPadNames("N2147483646", "N2147483647", &block), nullptr);
  EXPECT_EQ(NameSortedPins(SortPadsForNaming(List(), kOrderRowsDown), List(), &block), 0);
  EXPECT_EQ(NameOf(pads[1]), "N2147483647");
  EXPECT_EQ(NameOf(pads[2]), "\x80") << "no name wrapped past 32 bits";
}

TEST_F(PadNamingTest, PadMissingFromTheListIsAnInternalError) {
  SelectGrid(2, 1);
  std::vector<PadSortRecord> sorted = SortPadsForNaming(List(), kOrderRowsDown);
  Tower* stranger = InsertEntity(design, 0, Type_PadStackInstanceHier, nullptr);
  sorted.insert(sorted.begin() + 1, PadSortRecord{0, stranger, 0, 0, 0});
  PadNamingBlock block;
  ASSERT_EQ(CheckPadNames("A1", "A2", &block), nullptr);
  EXPECT_EQ(NameSortedPins(sorted, List(), &block), 0);
  EXPECT_EQ(NameOf(pads[0]), "A1");
  EXPECT_EQ(NameOf(stranger), "(none)");
  ASSERT_EQ(pl3::ResponderRecords().size(), 1u);
  EXPECT_EQ(pl3::ResponderRecords()[0].text, "Internal Error - unable to locate pad in selection");
  EXPECT_EQ(pl3::ResponderRecords()[0].caption, "NameSortedPins");
  ReleaseTower(&stranger);
}

// A 3 x 3 block selected row by row from the top left (y grows downward):
//   0 1 2
//   3 4 5
//   6 7 8
struct OrderCase {
  int order;
  std::vector<int> expected;
};

class PadOrders : public PadNamingTest, public testing::WithParamInterface<OrderCase> {};

TEST_P(PadOrders, SortsTheBlock) {
  SelectGrid(3, 3);
  window->Cursor = {1100000, 500000};  // straight above the centre pad
  EXPECT_EQ(Order(GetParam().order), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    TenOrders, PadOrders,
    testing::Values(OrderCase{kOrderRowsDown, {0, 1, 2, 3, 4, 5, 6, 7, 8}},
                    OrderCase{kOrderRowsUp, {6, 7, 8, 3, 4, 5, 0, 1, 2}},
                    OrderCase{kOrderRowsDownLeft, {2, 1, 0, 5, 4, 3, 8, 7, 6}},
                    OrderCase{kOrderRowsUpLeft, {8, 7, 6, 5, 4, 3, 2, 1, 0}},
                    OrderCase{kOrderColumnsRight, {0, 3, 6, 1, 4, 7, 2, 5, 8}},
                    OrderCase{kOrderColumnsLeft, {2, 5, 8, 1, 4, 7, 0, 3, 6}},
                    OrderCase{kOrderColumnsUpRight, {6, 3, 0, 7, 4, 1, 8, 5, 2}},
                    OrderCase{kOrderColumnsUpLeft, {8, 5, 2, 7, 4, 1, 6, 3, 0}},
                    // From the cursor's direction (up) round to the right on screen;
                    // the centre pad counts as pointing straight down.
                    OrderCase{kOrderClockwise, {1, 2, 5, 8, 4, 7, 6, 3, 0}},
                    OrderCase{kOrderAnticlockwise, {1, 0, 3, 6, 4, 7, 8, 5, 2}}));

TEST_F(PadNamingTest, FarApartCoordinatesCompareWithoutOverflow) {
  SelectPad(2000000000, 0);
  SelectPad(-2000000000, 0);
  EXPECT_EQ(Order(kOrderRowsDown), (std::vector<int>{1, 0}));
}

TEST_F(PadNamingTest, EqualKeysKeepTheListOrder) {
  SelectPad(1000000, 1000000);
  SelectPad(1000000, 1000000);
  SelectPad(1000000, 1000000);
  EXPECT_EQ(Order(kOrderColumnsUpLeft), (std::vector<int>{0, 1, 2}));
}

TEST_F(PadNamingTest, DialogNamesThePadsInTheChosenOrder) {
  SelectGrid(2, 2);
  pl3::SetDialogHook(kNamePadsDialog, [](HWND dialog) {
    EXPECT_EQ(IsDlgButtonChecked(dialog, kOrderRowsDown), static_cast<UINT>(BST_CHECKED));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, kOrderClockwise)));
    pl3::TypeDialogText(dialog, kFirstPadNameEdit, "A1");
    pl3::TypeDialogText(dialog, kSecondPadNameEdit, "B2");
    pl3::ClickDialogButton(dialog, IDOK);  // refused: two fields change
    pl3::TypeDialogText(dialog, kSecondPadNameEdit, "A2");
    pl3::SetDialogCheck(dialog, kOrderColumnsRight, true);
    pl3::ClickDialogButton(dialog, IDOK);
  });
  EXPECT_EQ(NameSelectedPads(nullptr), 1);
  EXPECT_EQ(Names(), (std::vector<std::string>{"A1", "A3", "A2", "A4"}));
  ASSERT_EQ(pl3::ResponderRecords().size(), 1u);
  EXPECT_EQ(pl3::ResponderRecords()[0].text, "Only one field may change");
  EXPECT_EQ(pl3::ResponderRecords()[0].caption, "Pelmora3");
  EXPECT_EQ(pl3::ResponderRecords()[0].flags & MB_ICONMASK, 0u) << "no icon";
  EXPECT_TRUE(PadNaming.firstName.empty()) << "the tokens are freed after naming";
}

TEST_F(PadNamingTest, DialogForOneRowDisablesTheCircularOrders) {
  SelectGrid(3, 1);
  static bool clockwiseEnabled = true, anticlockwiseEnabled = true, secondEnabled = false;
  pl3::SetDialogHook(kNamePadsDialog, [](HWND dialog) {
    clockwiseEnabled = IsWindowEnabled(GetDlgItem(dialog, kOrderClockwise));
    anticlockwiseEnabled = IsWindowEnabled(GetDlgItem(dialog, kOrderAnticlockwise));
    secondEnabled = IsWindowEnabled(GetDlgItem(dialog, kSecondPadNameEdit));
    pl3::ClickDialogButton(dialog, IDCANCEL);
  });
  NameSelectedPads(nullptr);
  EXPECT_FALSE(clockwiseEnabled);
  EXPECT_FALSE(anticlockwiseEnabled);
  EXPECT_TRUE(secondEnabled);
  EXPECT_EQ(Names(), (std::vector<std::string>{"(none)", "(none)", "(none)"})) << "Cancel names nothing";
}

TEST_F(PadNamingTest, DialogForOnePadTakesTheFirstNameAlone) {
  SelectPad(1000000, 1000000);
  static bool secondEnabled = true, ordersEnabled = true;
  pl3::SetDialogHook(kNamePadsDialog, [](HWND dialog) {
    secondEnabled = IsWindowEnabled(GetDlgItem(dialog, kSecondPadNameEdit));
    ordersEnabled = false;
    for (int id = kOrderClockwise; id <= kOrderColumnsUpLeft; ++id)
      ordersEnabled = ordersEnabled || IsWindowEnabled(GetDlgItem(dialog, id));
    pl3::TypeDialogText(dialog, kFirstPadNameEdit, "");
    pl3::ClickDialogButton(dialog, IDOK);
    pl3::TypeDialogText(dialog, kFirstPadNameEdit, "VCC");
    pl3::ClickDialogButton(dialog, IDOK);
  });
  NameSelectedPads(nullptr);
  EXPECT_FALSE(secondEnabled);
  EXPECT_FALSE(ordersEnabled);
  EXPECT_EQ(Names(), (std::vector<std::string>{"VCC"}));
  ASSERT_EQ(pl3::ResponderRecords().size(), 1u);
  EXPECT_EQ(pl3::ResponderRecords()[0].text, "You must have at least one character in the first field");
}

}  // namespace
