#include "ui/colour_dialogs.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/controls.h"
#include "platform/dialog_hooks.h"
#include "platform/responder.h"
#include "platform/user.h"

namespace {

constexpr int kList = 3154;
constexpr int kEditButton = 3153;
constexpr int kName = 414;
constexpr int kKey = 3156;
constexpr int kChangeColour = 3155;

int RowCount(HWND dialog) { return static_cast<int>(SendDlgItemMessageA(dialog, kList, LB_GETCOUNT, 0, 0)); }

int RowOfEntry(HWND dialog, std::uint32_t entry) {
  for (int row = 0; row < RowCount(dialog); ++row)
    if (static_cast<std::uint32_t>(SendDlgItemMessageA(dialog, kList, LB_GETITEMDATA, row, 0)) == entry) return row;
  return -1;
}

void TypeIntoList(HWND dialog, char c) { SendMessageA(GetDlgItem(dialog, kList), WM_CHAR, static_cast<WPARAM>(c), 0); }

class ColourDialogs : public ::testing::Test {
 protected:
  void SetUp() override { SetDefaultNamedColours(); }
};

TEST_F(ColourDialogs, AKeyStrokeGivenToOneEntryLeavesEveryOther) {
  NamedColours.entries[3].key = 'G';
  NamedColours.entries[20].key = 'G';  // a table from an older save may hold it twice
  NamedColours.entries[9].key = 'H';
  const std::string longName(60, 'n');
  pl3::SetDialogHook(1047, [](HWND dialog) {
    EXPECT_EQ(RowCount(dialog), 28) << "every class but the unused one";
    ASSERT_TRUE(pl3::PickDialogListItem(dialog, kList, RowOfEntry(dialog, 7)));
    EXPECT_TRUE(pl3::ClickDialogButton(dialog, kEditButton));
    EXPECT_TRUE(pl3::ClickDialogButton(dialog, IDOK));
  });
  pl3::SetDialogHook(1049, [&](HWND dialog) {
    EXPECT_TRUE(pl3::TypeDialogText(dialog, kKey, "gk"));
    EXPECT_TRUE(pl3::TypeDialogText(dialog, kName, longName.c_str()));
    EXPECT_TRUE(pl3::ClickDialogButton(dialog, IDOK));
  });
  EXPECT_EQ(ShowConfigureColoursDialog(nullptr), 1);
  EXPECT_EQ(NamedColours.entries[7].key, 'G');
  EXPECT_EQ(NamedColours.entries[3].key, 0);
  EXPECT_EQ(NamedColours.entries[20].key, 0);
  EXPECT_EQ(NamedColours.entries[9].key, 'H');
  EXPECT_EQ(std::string(NamedColours.entries[7].name), std::string(50, 'n'));
  EXPECT_EQ(NamedColours.entries[7].colour, 0x00FF00u);
}

TEST_F(ColourDialogs, EditWithNothingSelectedSaysSoAndCancelKeepsTheTable) {
  const NamedColourTable before = NamedColours;
  pl3::SetDialogHook(1047, [](HWND dialog) {
    EXPECT_TRUE(pl3::ClickDialogButton(dialog, kEditButton));
    EXPECT_TRUE(pl3::ClickDialogButton(dialog, IDCANCEL));
  });
  EXPECT_EQ(ShowConfigureColoursDialog(nullptr), 0);
  ASSERT_EQ(pl3::ResponderRecords().size(), 1u);
  EXPECT_EQ(pl3::ResponderRecords()[0].text, "Nothing is selected");
  EXPECT_EQ(pl3::ResponderRecords()[0].caption, "Edit Colour");
  EXPECT_EQ(std::memcmp(&before, &NamedColours, sizeof before), 0);
}

TEST_F(ColourDialogs, TypingAKeyInConfigureModeSelectsItsRow) {
  NamedColours.entries[12].key = 'B';
  int selected = -2;
  pl3::SetDialogHook(1047, [&](HWND dialog) {
    TypeIntoList(dialog, 'b');
    selected = static_cast<int>(SendDlgItemMessageA(dialog, kList, LB_GETCURSEL, 0, 0));
    selected = selected < 0 ? -1 : static_cast<int>(SendDlgItemMessageA(dialog, kList, LB_GETITEMDATA, selected, 0));
    EXPECT_TRUE(IsWindow(dialog));
    pl3::ClickDialogButton(dialog, IDCANCEL);
  });
  ShowConfigureColoursDialog(nullptr);
  EXPECT_EQ(selected, 12);
}

TEST_F(ColourDialogs, SelectListsTheClassOfTheIndexAndAKeyChoosesAtOnce) {
  NamedColours.entries[18].key = 'Q';
  NamedColours.entries[3].key = 'R';  // a graphic colour: not on a wire's list
  int rows = 0;
  int preselected = -1;
  pl3::SetDialogHook(1048, [&](HWND dialog) {
    rows = RowCount(dialog);
    preselected = static_cast<int>(SendDlgItemMessageA(dialog, kList, LB_GETCURSEL, 0, 0));
    TypeIntoList(dialog, 'r');
    EXPECT_TRUE(IsWindow(dialog)) << "no wire colour has R";
    TypeIntoList(dialog, 'q');
  });
  std::uint32_t index = 17;
  EXPECT_EQ(ShowSelectColourDialog(nullptr, &index), 1);
  EXPECT_EQ(rows, 5);
  EXPECT_EQ(preselected, 1) << "entry 17 is the second wire colour";
  EXPECT_EQ(index, 18u);
}

TEST_F(ColourDialogs, SelectOkTakesTheRowAndCancelChangesNothing) {
  pl3::SetDialogHook(1048, [](HWND dialog) {
    ASSERT_TRUE(pl3::PickDialogListItem(dialog, kList, 4));
    pl3::ClickDialogButton(dialog, IDOK);
  });
  std::uint32_t index = 11;
  EXPECT_EQ(ShowSelectColourDialog(nullptr, &index), 1);
  EXPECT_EQ(index, 15u);
  pl3::SetDialogHook(1048, [](HWND dialog) {
    pl3::PickDialogListItem(dialog, kList, 2);
    pl3::ClickDialogButton(dialog, IDCANCEL);
  });
  EXPECT_EQ(ShowSelectColourDialog(nullptr, &index), 0);
  EXPECT_EQ(index, 15u);
}

TEST_F(ColourDialogs, EditColourTakesTheChooserColourOnOkOnly) {
  NamedColour entry = NamedColours.entries[16];
  pl3::PushColourAnswer(0x332211);  // 0x00BBGGRR: red 0x11, green 0x22, blue 0x33
  pl3::SetDialogHook(1049, [](HWND dialog) {
    EXPECT_TRUE(pl3::ClickDialogButton(dialog, kChangeColour));
    pl3::ClickDialogButton(dialog, IDOK);
  });
  EXPECT_EQ(ShowEditColourDialog(nullptr, &entry), 1);
  EXPECT_EQ(entry.colour, 0x112233u);
  EXPECT_STREQ(entry.name, "Wire Colour 1");
  ASSERT_EQ(pl3::ResponderRecords().size(), 1u);
  const pl3::ResponderRecord& chooser = pl3::ResponderRecords()[0];
  EXPECT_EQ(chooser.kind, pl3::ResponderKind::ChooseColour);
  EXPECT_EQ(chooser.flags & (CC_FULLOPEN | CC_ANYCOLOR), CC_FULLOPEN | CC_ANYCOLOR);

  pl3::PushColourAnswer(0x000000);
  pl3::SetDialogHook(1049, [](HWND dialog) {
    pl3::TypeDialogText(dialog, kName, "Dropped");
    pl3::ClickDialogButton(dialog, kChangeColour);
    pl3::ClickDialogButton(dialog, IDCANCEL);
  });
  EXPECT_EQ(ShowEditColourDialog(nullptr, &entry), 0);
  EXPECT_EQ(entry.colour, 0x112233u);
  EXPECT_STREQ(entry.name, "Wire Colour 1");
}

}  // namespace
