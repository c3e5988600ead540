#include "app/grid_dialogs.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/core_utilities.h"
#include "app/new_grid_dialog.h"
#include "app/start_values.h"
#include "draw/grid_files.h"
#include "edit/window_data.h"
#include "platform/commctrl.h"
#include "platform/controls.h"
#include "platform/dialog_hooks.h"
#include "platform/kernel_files.h"
#include "platform/menus.h"
#include "platform/responder.h"
#include "platform/user_constants.h"
#include "store/file_dialogs.h"
#include "tests/app/grid_seam_fakes.h"
#include "tests/app/settings_test_support.h"
#include "tests/draw/grid_test_entries.h"
#include "tests/support/test_paths.h"

namespace {

using gridtest::Cartesian;
using gridtest::MakeSet;
using gridtest::Polar;
using gridtest::SameEntry;

std::string ItemText(HWND dialog, int id) {
  char text[512] = {};
  GetDlgItemText(dialog, id, text, sizeof text);
  return text;
}

HWND List(HWND dialog) { return GetDlgItem(dialog, kGridListId); }

std::string Cell(HWND dialog, int row, int column) {
  char text[64] = {};
  LVITEM item{};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = sizeof text;
  SendMessage(List(dialog), LVM_GETITEMTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  return text;
}

int RowCount(HWND dialog) { return static_cast<int>(SendMessage(List(dialog), LVM_GETITEMCOUNT, 0, 0)); }

std::vector<int> SelectedRows(HWND dialog) {
  std::vector<int> rows;
  for (int r = -1; (r = static_cast<int>(SendMessage(List(dialog), LVM_GETNEXTITEM, static_cast<WPARAM>(r), LVNI_SELECTED))) >= 0;)
    rows.push_back(r);
  return rows;
}

bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

void Command(HWND dialog, int id) { SendMessage(dialog, WM_COMMAND, static_cast<WPARAM>(id), 0); }

// The "New..." pop-up's item `index` chosen with the keys.
void ChooseNewItem(int index) {
  pl3::SetMenuHook([index](HMENU, HWND) {
    for (int i = 0; i <= index; ++i) pl3::InjectKeyStroke(VK_DOWN);
    pl3::InjectKeyStroke(VK_RETURN);
  });
}

std::vector<std::string> Messages() {
  std::vector<std::string> texts;
  for (const pl3::ResponderRecord& r : pl3::ResponderRecords())
    if (r.kind == pl3::ResponderKind::MessageBox) texts.push_back(r.caption + ": " + r.text);
  return texts;
}

// The dialog's set while it runs (the test's variable).
GridSet* gSet = nullptr;

class SelectGrid : public testing::Test {
 protected:
  CurrentWindowData window{kEditorPcb};
  std::string dir;
  void SetUp() override {
    pl3test::ForgetRegistry();
    dir = pl3test::MakeTempDir("griddialogs");
    DialogStartFolders().configurationPath = pl3::ProgramPath(dir);
    std::free(DefaultGridsFile);
    DefaultGridsFile = DuplicateString((pl3::ProgramPath(dir) + "\\DEFAULT.GRD").c_str());
    window.Grids = MakeSet({Cartesian(kGridUnitThou, 5, 1, 'A'), Cartesian(kGridUnitMm, 1, 4),
                            Polar(kGridUnitMm, 2.0, kAngleEveryFraction, 10.0, 'P')},
                           1, kGridDisplayed);
    ActiveWindowData = &window;
    gSet = nullptr;
  }
  void TearDown() override {
    pl3::ClearDialogHooks();
    pl3::ClearMenuHook();
    ActiveWindowData = nullptr;
    std::free(window.Grids);
    std::free(gSet);
    gSet = nullptr;
  }
  GridSet& WindowSet() { return *static_cast<GridSet*>(window.Grids); }
  std::string ProgramFile(const char* name) const { return pl3::ProgramPath(dir) + "\\" + name; }
  // Runs the dialog on a copy of the window's set (kept in gSet).
  int Run() {
    gSet = DuplicateGridSet(&WindowSet());
    return RunSelectGridDialog(nullptr, &gSet);
  }
};

TEST_F(SelectGrid, OpensOnTheCurrentGridWithTheFlagsAndTheGridsFile) {
  pl3::SetDialogHook(kSelectGridDialogId, [](HWND dialog) {
    EXPECT_EQ(RowCount(dialog), 3);
    EXPECT_EQ(SelectedRows(dialog), std::vector<int>{1});
    EXPECT_EQ(SendMessage(List(dialog), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED), 1);
    EXPECT_EQ(IsDlgButtonChecked(dialog, kGridDisplayedCheck), static_cast<UINT>(BST_CHECKED));
    EXPECT_EQ(IsDlgButtonChecked(dialog, kGridSnapCheck), static_cast<UINT>(BST_UNCHECKED));
    // The five columns, each row one grid.
    const std::vector<std::vector<std::string>> rows = {{"5", "5", "thou", "Cartesian", "A"},
                                                        {"0.25", "0.25", "mm", "Cartesian", ""},
                                                        {"36\xB0", "2", "mm", "Polar", "P"}};
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 5; ++c) EXPECT_EQ(Cell(dialog, r, c), rows[r][c]) << r << "," << c;
    const std::string path = ItemText(dialog, kGridFilePathField);
    EXPECT_EQ(path, DefaultGridsFile);
    DWORD start = 0, end = 0;
    SendDlgItemMessage(dialog, kGridFilePathField, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, path.size()) << "the caret at the end";
    EXPECT_EQ(end, path.size());
    pl3::ClickDialogButton(dialog, IDCANCEL);
  });
  GridSet* before = DuplicateGridSet(&WindowSet());
  EXPECT_EQ(ShowSelectGridDialog(nullptr), 0);
  EXPECT_EQ(std::memcmp(before, &WindowSet(), GetGridSetSize(before)), 0) << "Cancel changes nothing";
  EXPECT_TRUE(gridfakes::Calls().empty());
  std::free(before);
}

TEST_F(SelectGrid, OkMakesTheSelectedGridCurrentAndBringsTheWindowUpToDate) {
  pl3::SetDialogHook(kSelectGridDialogId, [](HWND dialog) {
    pl3::PickDialogListViewItem(dialog, kGridListId, 2);
    pl3::SetDialogCheck(dialog, kGridSnapCheck, true);
    pl3::SetDialogCheck(dialog, kGridDisplayedCheck, false);
    pl3::ClickDialogButton(dialog, IDOK);
  });
  const GridEntry polar = *GridSetEntry(&WindowSet(), 2);
  void* oldGrids = window.Grids;
  EXPECT_EQ(ShowSelectGridDialog(nullptr), 1);
  EXPECT_NE(window.Grids, oldGrids);
  EXPECT_TRUE(SameEntry(WindowSet().current, polar));
  EXPECT_EQ(+WindowSet().flags, +kGridSnap);
  ASSERT_NE(DefaultGridSet, nullptr);
  EXPECT_NE(static_cast<void*>(DefaultGridSet), window.Grids) << "each holds its own copy";
  EXPECT_EQ(std::memcmp(DefaultGridSet, &WindowSet(), GetGridSetSize(&WindowSet())), 0);
  EXPECT_EQ(gridfakes::Calls(), (std::vector<std::string>{"pane 1 1030", "redraw", "toolbar 1", "pane 2 1030"}));
  const gridfakes::PaneCall last = gridfakes::PaneCalls().back();
  EXPECT_EQ(last.wParam, 0u);
  EXPECT_EQ(last.lParam, reinterpret_cast<LPARAM>(&window));
}

TEST_F(SelectGrid, OkWithNothingSelectedDoesNothing) {
  static bool stillOpen = false;
  pl3::SetDialogHook(kSelectGridDialogId, [](HWND dialog) {
    LVITEM none{};
    none.stateMask = LVIS_SELECTED;
    SendMessage(List(dialog), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
    pl3::ClickDialogButton(dialog, IDOK);
    stillOpen = IsWindow(dialog) && IsWindowVisible(dialog);
    pl3::ClickDialogButton(dialog, IDCANCEL);
  });
  EXPECT_EQ(Run(), 0);
  EXPECT_TRUE(stillOpen);
}

TEST_F(SelectGrid, DeleteKeepsTheSelectionAtItsRowOrOnTheNewLastRow) {
  pl3::SetDialogHook(kSelectGridDialogId, [](HWND dialog) {
    pl3::PickDialogListViewItem(dialog, kGridListId, 2);
    pl3::ClickDialogButton(dialog, kGridDeleteButton);
    EXPECT_EQ(RowCount(dialog), 2);
    EXPECT_EQ(SelectedRows(dialog), std::vector<int>{1}) << "the new last row";
    EXPECT_FALSE(Enabled(dialog, kGridMoveDownButton));
    EXPECT_TRUE(Enabled(dialog, kGridMoveUpButton));
    pl3::PickDialogListViewItem(dialog, kGridListId, 0);
    pl3::ClickDialogButton(dialog, kGridDeleteButton);
    EXPECT_EQ(SelectedRows(dialog), std::vector<int>{0}) << "the row that moved up";
    EXPECT_EQ(+gSet->count, 1u);
    EXPECT_EQ(+GridSetEntry(gSet, 0)->unit, kGridUnitMm);
    pl3::ClickDialogButton(dialog, kGridDeleteButton);
    EXPECT_EQ(RowCount(dialog), 0);
    EXPECT_TRUE(SelectedRows(dialog).empty());
    Command(dialog, kGridDeleteButton);  // nothing left to delete
    Command(dialog, kGridMoveUpButton);
    pl3::ClickDialogButton(dialog, IDCANCEL);
  });
  Run();
}

TEST_F(SelectGrid, MoveUpAndDownExchangeWithANeighbourButNeverPastTheEnds) {
  pl3::SetDialogHook(kSelectGridDialogId, [](HWND dialog) {
    const GridEntry first = *GridSetEntry(gSet, 0), second = *GridSetEntry(gSet, 1), third = *GridSetEntry(gSet, 2);
    pl3::PickDialogListViewItem(dialog, kGridListId, 0);
    EXPECT_FALSE(Enabled(dialog, kGridMoveUpButton));
    Command(dialog, kGridMoveUpButton);  // even when sent: nothing moves
    EXPECT_TRUE(SameEntry(*GridSetEntry(gSet, 0), first));
    EXPECT_EQ(SelectedRows(dialog), std::vector<int>{0});
    pl3::ClickDialogButton(dialog, kGridMoveDownButton);
    EXPECT_TRUE(SameEntry(*GridSetEntry(gSet, 0), second));
    EXPECT_TRUE(SameEntry(*GridSetEntry(gSet, 1), first));
    EXPECT_EQ(SelectedRows(dialog), std::vector<int>{1}) << "the selection follows";
    pl3::ClickDialogButton(dialog, kGridMoveDownButton);
    EXPECT_TRUE(SameEntry(*GridSetEntry(gSet, 2), first));
    EXPECT_FALSE(Enabled(dialog, kGridMoveDownButton));
    Command(dialog, kGridMoveDownButton);
    EXPECT_TRUE(SameEntry(*GridSetEntry(gSet, 2), first));
    EXPECT_TRUE(SameEntry(*GridSetEntry(gSet, 1), third));
    pl3::ClickDialogButton(dialog, kGridMoveUpButton);
    EXPECT_TRUE(SameEntry(*GridSetEntry(gSet, 1), first));
    EXPECT_EQ(SelectedRows(dialog), std::vector<int>{1});
    pl3::ClickDialogButton(dialog, IDCANCEL);
  });
  Run();
}

TEST_F(SelectGrid, EditingACartesianGridMakesItCurrentAndAPolarOneDoesNot) {
  static std::string caption;
  pl3::SetDialogHook(kNewGridDialogName, [](HWND dialog) {
    char text[64] = {};
    GetWindowText(dialog, text, sizeof text);
    caption = text;
    pl3::SetDialogCheck(dialog, 117, false);
    pl3::TypeDialogText(dialog, 48, "7");
    pl3::ClickDialogButton(dialog, IDOK);
  });
  pl3::SetDialogHook(kEditPolarGridDialogId, [](HWND dialog) {
    pl3::TypeDialogText(dialog, kPolarAngleField, "20");
    pl3::ClickDialogButton(dialog, IDOK);
  });
  pl3::SetDialogHook(kSelectGridDialogId, [](HWND dialog) {
    pl3::PickDialogListViewItem(dialog, kGridListId, 0);
    pl3::ClickDialogButton(dialog, kGridEditButton);
    EXPECT_EQ(caption, "Edit Cartesian Grid");
    EXPECT_EQ(+GridSetEntry(gSet, 0)->x.numerator, 7u);
    EXPECT_EQ(+GridSetEntry(gSet, 0)->y.numerator, 5u);
    EXPECT_TRUE(SameEntry(gSet->current, *GridSetEntry(gSet, 0))) << "edited cartesian grids become current";
    pl3::PickDialogListViewItem(dialog, kGridListId, 2);
    pl3::ClickDialogButton(dialog, kGridEditButton);
    EXPECT_EQ(+GridSetEntry(gSet, 2)->angleValue, 20.0);
    EXPECT_TRUE(SameEntry(gSet->current, *GridSetEntry(gSet, 0))) << "a polar edit leaves the current grid";
    pl3::ClickDialogButton(dialog, IDCANCEL);
  });
  Run();
}

TEST_F(SelectGrid, NewGridsAreAppendedAndSelectedAndOnlyCartesianOnesBecomeCurrent) {
  static std::string caption, size;
  static std::vector<std::string> polarFields;
  pl3::SetDialogHook(kNewGridDialogName, [](HWND dialog) {
    char text[64] = {};
    GetWindowText(dialog, text, sizeof text);
    caption = text;
    size = ItemText(dialog, 68);  // the window's current grid, 1/4 mm
    pl3::TypeDialogText(dialog, 68, "8");
    pl3::ClickDialogButton(dialog, IDOK);
  });
  pl3::SetDialogHook(kEditPolarGridDialogId, [](HWND dialog) {
    polarFields = {ItemText(dialog, kPolarAngleField), ItemText(dialog, kPolarRadiusField),
                   std::to_string(SendDlgItemMessage(dialog, kPolarStyleCombo, CB_GETCURSEL, 0, 0)),
                   ItemText(dialog, kPolarKeyField)};
    pl3::ClickDialogButton(dialog, IDOK);
  });
  pl3::SetDialogHook(kSelectGridDialogId, [](HWND dialog) {
    ChooseNewItem(0);
    pl3::ClickDialogButton(dialog, kGridNewButton);
    EXPECT_EQ(caption, "New Cartesian Grid");
    EXPECT_EQ(size, "4");
    ASSERT_EQ(RowCount(dialog), 4);
    EXPECT_EQ(SelectedRows(dialog), std::vector<int>{3});
    EXPECT_EQ(+GridSetEntry(gSet, 3)->x.denominator, 8u);
    EXPECT_TRUE(SameEntry(gSet->current, *GridSetEntry(gSet, 3)));
    ChooseNewItem(1);
    pl3::ClickDialogButton(dialog, kGridNewButton);
    EXPECT_EQ(polarFields, (std::vector<std::string>{"10", "2 mm", "1", "none"}));
    ASSERT_EQ(RowCount(dialog), 5);
    EXPECT_EQ(SelectedRows(dialog), std::vector<int>{4});
    const GridEntry& polar = *GridSetEntry(gSet, 4);
    EXPECT_EQ(+polar.kind, kGridPolar);
    EXPECT_EQ(+polar.unit, kGridUnitMm);
    EXPECT_EQ(+polar.ringSpacing, 2.0);
    EXPECT_EQ(+polar.angleStyle, kAngleEveryFraction);
    EXPECT_EQ(+polar.polarWord, 1u);
    EXPECT_EQ(+polar.angleValue, 10.0);
    EXPECT_TRUE(SameEntry(gSet->current, *GridSetEntry(gSet, 3))) << "a new polar grid is not made current";
    pl3::ClickDialogButton(dialog, IDCANCEL);
  });
  Run();
}

// ---- Grid files from the dialog --------------------------------------------------------

TEST_F(SelectGrid, AMissingFileIsReportedUnderOpenSizesError) {
  pl3::PushPathAnswer(ProgramFile("absent.grd"));
  static std::string path;
  pl3::SetDialogHook(kSelectGridDialogId, [](HWND dialog) {
    pl3::ClickDialogButton(dialog, kGridLoadButton);
    EXPECT_EQ(RowCount(dialog), 3) << "the dialog's set stays";
    path = ItemText(dialog, kGridFilePathField);
    pl3::ClickDialogButton(dialog, IDCANCEL);
  });
  Run();
  EXPECT_EQ(path, DefaultGridsFile);
  const std::vector<std::string> messages = Messages();
  ASSERT_FALSE(messages.empty());
  EXPECT_EQ(messages.back(), "Open Sizes Error: File \"" + ProgramFile("absent.grd") + "\" does not exist.");
  EXPECT_EQ(pl3::ResponderRecords().front().caption, "Select Size List");
}

TEST_F(SelectGrid, LoadGridsWorksOnTheLoadedSetAndShowsTheFile) {
  GridSet* file = MakeSet({Cartesian(kGridUnitInch, 1, 20), Polar(kGridUnitCm, 1.5, kAngleEveryDegrees, 45.0)}, 1, kGridSnap);
  ASSERT_EQ(SaveGridList(ProgramFile("mine.grd").c_str(), file), 1);
  pl3::PushPathAnswer(ProgramFile("mine"));  // the extension is added
  pl3::SetDialogHook(kSelectGridDialogId, [](HWND dialog) {
    pl3::ClickDialogButton(dialog, kGridLoadButton);
    EXPECT_EQ(RowCount(dialog), 2);
    EXPECT_EQ(SelectedRows(dialog), std::vector<int>{1}) << "the file's current grid";
    EXPECT_EQ(IsDlgButtonChecked(dialog, kGridSnapCheck), static_cast<UINT>(BST_CHECKED));
    EXPECT_EQ(IsDlgButtonChecked(dialog, kGridDisplayedCheck), static_cast<UINT>(BST_UNCHECKED));
    EXPECT_EQ(ItemText(dialog, kGridFilePathField), std::string(DialogGridFile.path));
    pl3::ClickDialogButton(dialog, IDCANCEL);
  });
  Run();
  EXPECT_EQ(std::string(DialogGridFile.path), ProgramFile("mine.grd"));
  EXPECT_STREQ(DialogGridFile.name, "mine.grd");
  EXPECT_EQ(+gSet->count, 2u);
  ASSERT_NE(DefaultGridSet, nullptr);
  EXPECT_EQ(+DefaultGridSet->count, 2u) << "loading replaces the default set too";
  std::free(file);
}

TEST_F(SelectGrid, AFileThatIsNoGridFileIsReportedAndChangesNothing) {
  pl3test::WriteFileBytes(dir + "/junk.grd", "junk");
  pl3::PushPathAnswer(ProgramFile("junk.grd"));
  pl3::SetDialogHook(kSelectGridDialogId, [](HWND dialog) {
    pl3::ClickDialogButton(dialog, kGridLoadButton);
    EXPECT_EQ(RowCount(dialog), 3);
    pl3::ClickDialogButton(dialog, IDCANCEL);
  });
  Run();
  ASSERT_FALSE(Messages().empty());
  EXPECT_EQ(Messages().back(), "Load Grids: The grid file \"" + ProgramFile("junk.grd") + "\" could not be read.");
}

TEST_F(SelectGrid, SaveGridsAndSaveAsDefaultWriteTheDialogsSet) {
  pl3::PushPathAnswer(ProgramFile("saved.txt"));
  pl3::SetDialogHook(kSelectGridDialogId, [](HWND dialog) {
    // Without a file of its own the dialog saves as default to the grids file.
    pl3::ClickDialogButton(dialog, kGridSaveDefaultButton);
    pl3::ClickDialogButton(dialog, kGridDeleteButton);
    pl3::ClickDialogButton(dialog, kGridSaveButton);
    EXPECT_EQ(ItemText(dialog, kGridFilePathField), std::string(DialogGridFile.path));
    pl3::ClickDialogButton(dialog, kGridDeleteButton);
    pl3::ClickDialogButton(dialog, kGridSaveDefaultButton);
    pl3::ClickDialogButton(dialog, IDCANCEL);
  });
  const std::string firstDefault = DefaultGridsFile;
  Run();
  EXPECT_TRUE(Messages().empty());
  GridSet* read = nullptr;
  ASSERT_EQ(LoadGridList(firstDefault.c_str(), &read), 1);
  EXPECT_EQ(+read->count, 3u);
  ASSERT_EQ(LoadGridList(ProgramFile("saved.grd").c_str(), &read), 1) << "saved with the grid extension";
  EXPECT_EQ(+read->count, 1u) << "the second Save As Default went to the dialog's file";
  std::free(read);
  EXPECT_STREQ(DefaultGridsFile, ProgramFile("saved.grd").c_str());
  EXPECT_EQ(pl3test::GetStored("Initialisation", "DefaultGridsFile").Text(), ProgramFile("saved.grd"));
  EXPECT_EQ(std::string(GridFileChoice.path), ProgramFile("saved.grd"));
  EXPECT_STREQ(GridFileChoice.name, "saved.grd");
}

// ---- "Edit Polar Grid" ----------------------------------------------------------------------

TEST(EditPolarGrid, OkNeedsALengthWithAUnitAndAStepAngle) {
  struct Case {
    const char* radius;
    const char* angle;
    bool enabled;
  };
  static const Case cases[] = {
      {"2.5 thou", "10", true}, {"2.5", "10", false},     {"0 mm", "10", false}, {"abc", "10", false},
      {"3 cm", "0", false},     {"3 cm", "-45", true},    {"3 cm", "x", false},  {"", "", false},
      {".5 inch", "7.5", true}, {"1 furlong", "1", false}, {"3 cm", "inf", false},
      {"1e999 mm", "10", false},
  };
  pl3::SetDialogHook(kEditPolarGridDialogId, [](HWND dialog) {
    for (const Case& c : cases) {
      pl3::TypeDialogText(dialog, kPolarRadiusField, c.radius);
      pl3::TypeDialogText(dialog, kPolarAngleField, c.angle);
      EXPECT_EQ(IsWindowEnabled(GetDlgItem(dialog, IDOK)) != FALSE, c.enabled) << c.radius << " / " << c.angle;
    }
    pl3::TypeDialogText(dialog, kPolarRadiusField, "12.5 cm");
    pl3::TypeDialogText(dialog, kPolarAngleField, "15");
    pl3::PickDialogListItem(dialog, kPolarStyleCombo, 0);
    SendDlgItemMessage(dialog, kPolarKeyField, WM_CHAR, 'q', 0);
    pl3::ClickDialogButton(dialog, IDOK);
  });
  GridEntry e = Polar(kGridUnitMm, 2.0, kAngleEveryFraction, 10.0);
  ASSERT_EQ(EditPolarGrid(nullptr, &e), 1);
  EXPECT_EQ(+e.unit, kGridUnitCm);
  EXPECT_EQ(+e.ringSpacing, 12.5);
  EXPECT_EQ(+e.angleValue, 15.0);
  EXPECT_EQ(+e.angleStyle, kAngleEveryDegrees);
  EXPECT_EQ(+e.keyStroke, 'Q');
  EXPECT_EQ(+e.kind, kGridPolar);
  pl3::ClearDialogHooks();
}

TEST(EditPolarGrid, ShowsTheGridAndCancelKeepsIt) {
  static std::vector<std::string> shown;
  pl3::SetDialogHook(kEditPolarGridDialogId, [](HWND dialog) {
    shown = {ItemText(dialog, kPolarAngleField), ItemText(dialog, kPolarRadiusField),
             std::to_string(SendDlgItemMessage(dialog, kPolarStyleCombo, CB_GETCURSEL, 0, 0)),
             ItemText(dialog, kPolarKeyField)};
    pl3::TypeDialogText(dialog, kPolarAngleField, "99");
    pl3::ClickDialogButton(dialog, IDCANCEL);
  });
  GridEntry e = Polar(kGridUnitThou, 0.125, kAngleEveryDegrees, 22.5, 'K');
  const GridEntry before = e;
  EXPECT_EQ(EditPolarGrid(nullptr, &e), 0);
  EXPECT_EQ(shown, (std::vector<std::string>{"22.5", "0.125 thou", "0", "'K'"}));
  EXPECT_TRUE(SameEntry(e, before));
  pl3::ClearDialogHooks();
}

}  // namespace
