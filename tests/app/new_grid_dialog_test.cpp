#include "app/new_grid_dialog.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/key_fields.h"
#include "edit/window_data.h"
#include "platform/controls.h"
#include "platform/dialog_hooks.h"
#include "platform/responder.h"
#include "platform/user_constants.h"

namespace {

// The fields: units 124, key 128, x 48 68 86 108 99, y 199 205 213 226 220, link 117.
constexpr int kX[5] = {48, 68, 86, 108, 99};
constexpr int kY[5] = {199, 205, 213, 226, 220};

std::string ItemText(HWND dialog, int id) {
  char text[64] = {};
  GetDlgItemText(dialog, id, text, sizeof text);
  return text;
}

std::vector<std::string> Fields(HWND dialog, const int (&ids)[5]) {
  std::vector<std::string> texts;
  for (int id : ids) texts.push_back(ItemText(dialog, id));
  return texts;
}

class NewGrid : public testing::Test {
 protected:
  CurrentWindowData window{kEditorPcb};
  void SetUp() override {
    window.Grids = BuildDefaultGridSet();  // the current grid: 1 mm
    ActiveWindowData = &window;
  }
  void TearDown() override {
    pl3::ClearDialogHooks();
    ActiveWindowData = nullptr;
    std::free(window.Grids);
  }
  GridSet& Set() { return *static_cast<GridSet*>(window.Grids); }
};

TEST_F(NewGrid, ANewGridStartsFromTheCurrentCartesianGridOrTheDefaults) {
  static std::vector<std::string> x, y;
  static std::string unit, key, caption;
  static bool linked = false, yEnabled = true;
  pl3::SetDialogHook(kNewGridDialogName, [](HWND dialog) {
    x = Fields(dialog, kX);
    y = Fields(dialog, kY);
    unit = std::to_string(GetUnitsComboSelection(dialog, 124, 99));
    key = ItemText(dialog, 128);
    char text[64] = {};
    GetWindowText(dialog, text, sizeof text);
    caption = text;
    linked = IsDlgButtonChecked(dialog, 117) == BST_CHECKED;
    yEnabled = IsWindowEnabled(GetDlgItem(dialog, kY[0])) != FALSE;
    pl3::ClickDialogButton(dialog, IDCANCEL);
  });
  NewGridBlock block{kNewGridFillDefaults, "New Cartesian Grid", {}};
  EXPECT_EQ(NewGridDlg(nullptr, &block), 0);
  EXPECT_EQ(caption, "New Cartesian Grid");
  EXPECT_EQ(x, (std::vector<std::string>{"1", "1", "1", "10", "10"})) << "the window's 1 mm grid";
  EXPECT_EQ(unit, "2");
  EXPECT_TRUE(linked);
  EXPECT_FALSE(yEnabled);

  Set().current.kind = kGridPolar;
  EXPECT_EQ(NewGridDlg(nullptr, &block), 0);
  EXPECT_EQ(x, (std::vector<std::string>{"1", "10", "1", "10", "10"})) << "the defaults: 1/10 mm";
  EXPECT_EQ(y, x);
  EXPECT_EQ(unit, "2");
  EXPECT_EQ(key, "none");
}

TEST_F(NewGrid, LinkedYFieldsFollowTheXFieldsAndOkStoresTheGrid) {
  pl3::SetDialogHook(kNewGridDialogName, [](HWND dialog) {
    pl3::PickDialogListItem(dialog, 124, 0);  // Thou
    pl3::TypeDialogText(dialog, kX[0], "25");
    pl3::TypeDialogText(dialog, kX[1], "2");
    pl3::TypeDialogText(dialog, kX[3], "12");
    EXPECT_EQ(Fields(dialog, kY), Fields(dialog, kX));
    pl3::SetDialogCheck(dialog, 117, false);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, kY[0])));
    pl3::TypeDialogText(dialog, kY[0], "50");
    SendDlgItemMessage(dialog, 128, WM_CHAR, 'g', 0);
    pl3::ClickDialogButton(dialog, IDOK);
  });
  NewGridBlock block{0, "Edit Cartesian Grid", Set().current};
  block.grid.flags = 9;
  ASSERT_EQ(NewGridDlg(nullptr, &block), 1);
  const GridEntry& g = block.grid;
  EXPECT_EQ(+g.unit, kGridUnitThou);
  EXPECT_EQ(+g.kind, kGridCartesian);
  EXPECT_EQ(+g.keyStroke, 'G');
  EXPECT_EQ(+g.flags, 9u) << "the rest of the grid as it was";
  EXPECT_EQ(+g.x.numerator, 25u);
  EXPECT_EQ(+g.x.denominator, 2u);
  EXPECT_EQ(+g.x.minimumSpacing, 12u);
  EXPECT_EQ(+g.y.numerator, 50u);
  EXPECT_EQ(+g.y.denominator, 2u);
  EXPECT_EQ(+g.y.minimumSpacing, 12u);
}

TEST_F(NewGrid, RefusalsComeInTheirOrderAndKeepTheDialogOpen) {
  struct Case {
    const char* what;
    std::vector<std::pair<int, const char*>> typed;
    const char* message;
    int focus;
  };
  static const Case cases[] = {
      {"a pixel gap below 8", {{kX[3], "7"}}, "Error - can't set pixel gap to be less than 8", kX[3]},
      {"no divisor before the zero", {{kX[1], "0"}, {kX[2], "0"}}, "Error - grid divisor cannot be zero", kX[1]},
      {"less than a micron", {{kX[0], "1"}, {kX[1], "2000"}}, "Error - grid size cannot be set to less than 1 micron",
       kX[0]},
      {"a zero display multiple", {{kX[2], "0"}}, "Error - can't set a parameter to zero", kX[2]},
      {"the y axis is checked too", {{kY[1], "0"}}, "Error - grid divisor cannot be zero", kY[1]},
      {"the last zero has the focus", {{kX[4], "0"}, {kY[4], "0"}}, "Error - can't set a parameter to zero", kY[4]},
      {"not a number reads as zero", {{kY[2], "-"}}, "Error - can't set a parameter to zero", kY[2]},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    static const Case* current = nullptr;
    static bool stayed = false;
    static HWND focused = nullptr, expected = nullptr;
    current = &c;
    pl3::ClearResponderRecords();
    pl3::SetDialogHook(kNewGridDialogName, [](HWND dialog) {
      pl3::SetDialogCheck(dialog, 117, false);
      for (const auto& [id, text] : current->typed) SetDlgItemText(dialog, id, text);
      pl3::ClickDialogButton(dialog, IDOK);
      stayed = IsWindow(dialog) != FALSE;
      focused = GetFocus();
      expected = GetDlgItem(dialog, current->focus);
      pl3::ClickDialogButton(dialog, IDCANCEL);
    });
    NewGridBlock block{0, "Edit Cartesian Grid", Set().current};
    EXPECT_EQ(NewGridDlg(nullptr, &block), 0);
    EXPECT_TRUE(stayed);
    EXPECT_EQ(focused, expected);
    ASSERT_EQ(pl3::ResponderRecords().size(), 1u);
    EXPECT_EQ(pl3::ResponderRecords()[0].text, c.message);
    EXPECT_EQ(pl3::ResponderRecords()[0].caption, "New Grid");
  }
}

TEST_F(NewGrid, WithoutItsBlockItSaysSo) {
  EXPECT_EQ(DialogBoxParam(nullptr, kNewGridDialogName, nullptr, &NewGridDlgProc, 0), 0);
  ASSERT_EQ(pl3::ResponderRecords().size(), 1u);
  EXPECT_EQ(pl3::ResponderRecords()[0].text, "NewGridDlg called without LParam");
  EXPECT_EQ(pl3::ResponderRecords()[0].caption, "Error");
}

}  // namespace
