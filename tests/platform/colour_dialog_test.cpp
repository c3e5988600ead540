// The colour dialog of our own template, driven by dialog hooks: basic and
// custom picks, the mixer, custom colours written back only on OK, and bad
// records.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <vector>

#include "platform/common_dialogs.h"
#include "platform/controls.h"
#include "platform/dialog_hooks.h"
#include "platform/user.h"

namespace {

class ColourDialogTest : public testing::Test {
 protected:
  void SetUp() override {
    pl3::SetColourDialogBackend(&pl3::ShowColourDialog);
    for (size_t i = 0; i < custom.size(); ++i) custom[i] = RGB(i, i, i);
    cc.lStructSize = sizeof cc;
    cc.lpCustColors = custom.data();
  }
  void TearDown() override { pl3::ClearDialogHooks(); }

  std::array<COLORREF, 16> custom{};
  CHOOSECOLOR cc{};
};

TEST_F(ColourDialogTest, PicksComeBackAndCustomColoursAreWrittenOnOkOnly) {
  struct Case {
    const char* name;
    DWORD flags;
    COLORREF initial;
    std::function<void(HWND)> act;
    BOOL result;
    COLORREF chosen;
    COLORREF custom0;  // the first custom colour afterwards
  };
  const COLORREF basic9 = pl3::BasicColour(9);
  const Case cases[] = {
      {"basic cell", 0, 0,
       [](HWND d) {
         pl3::ClickDialogButton(d, pl3::kColourDialogBasic + 9);
         pl3::ClickDialogButton(d, IDOK);
       },
       TRUE, basic9, RGB(0, 0, 0)},
      {"custom cell", 0, 0,
       [](HWND d) {
         pl3::ClickDialogButton(d, pl3::kColourDialogCustom + 5);
         pl3::ClickDialogButton(d, IDOK);
       },
       TRUE, RGB(5, 5, 5), RGB(0, 0, 0)},
      {"mixed and added", CC_FULLOPEN, 0,
       [](HWND d) {
         pl3::TypeDialogText(d, pl3::kColourDialogRed, "12");
         pl3::TypeDialogText(d, pl3::kColourDialogGreen, "300");  // more than 255 is 255
         pl3::TypeDialogText(d, pl3::kColourDialogBlue, "56");
         pl3::ClickDialogButton(d, pl3::kColourDialogAdd);
         pl3::ClickDialogButton(d, IDOK);
       },
       TRUE, RGB(12, 255, 56), RGB(12, 255, 56)},
      {"added then cancelled", CC_FULLOPEN, 0,
       [](HWND d) {
         pl3::TypeDialogText(d, pl3::kColourDialogRed, "99");
         pl3::ClickDialogButton(d, pl3::kColourDialogAdd);
         pl3::ClickDialogButton(d, IDCANCEL);
       },
       FALSE, RGB(1, 2, 3), RGB(0, 0, 0)},
      {"initial colour kept", CC_RGBINIT, RGB(1, 2, 3), [](HWND d) { pl3::ClickDialogButton(d, IDOK); }, TRUE,
       RGB(1, 2, 3), RGB(0, 0, 0)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    cc.Flags = c.flags;
    cc.rgbResult = c.flags & CC_RGBINIT ? c.initial : RGB(1, 2, 3);
    pl3::SetDialogHook("ColourDialog", c.act);
    EXPECT_EQ(ChooseColor(&cc), c.result);
    EXPECT_EQ(cc.rgbResult, c.chosen);
    EXPECT_EQ(custom[0], c.custom0);
    EXPECT_EQ(custom[1], RGB(1, 1, 1));
  }
}

TEST_F(ColourDialogTest, MixerOpensWithItsFlagOrButton) {
  struct Case {
    DWORD flags;
    bool shownAtStart;
    bool buttonEnabled;
  };
  for (const Case& c : {Case{0, false, true}, Case{CC_FULLOPEN, true, false}, Case{CC_PREVENTFULLOPEN, false, false},
                        Case{CC_FULLOPEN | CC_PREVENTFULLOPEN, false, false}}) {
    SCOPED_TRACE(c.flags);
    cc.Flags = c.flags | CC_RGBINIT;
    cc.rgbResult = RGB(10, 20, 30);
    bool shown = false, enabled = false, shownAfter = false;
    char red[8] = {};
    pl3::SetDialogHook("ColourDialog", [&](HWND d) {
      shown = IsWindowVisible(GetDlgItem(d, pl3::kColourDialogRed));
      enabled = IsWindowEnabled(GetDlgItem(d, pl3::kColourDialogDefine));
      GetDlgItemTextA(d, pl3::kColourDialogRed, red, sizeof red);
      pl3::ClickDialogButton(d, pl3::kColourDialogDefine);
      shownAfter = IsWindowVisible(GetDlgItem(d, pl3::kColourDialogRed));
      pl3::ClickDialogButton(d, IDCANCEL);
    });
    EXPECT_FALSE(ChooseColor(&cc));
    EXPECT_EQ(shown, c.shownAtStart);
    EXPECT_EQ(enabled, c.buttonEnabled);
    EXPECT_EQ(shownAfter, c.shownAtStart || c.buttonEnabled);
    EXPECT_STREQ(red, "10");
  }
}

TEST_F(ColourDialogTest, BadRecordsFailWithoutShowing) {
  bool shown = false;
  pl3::SetDialogHook("ColourDialog", [&](HWND) { shown = true; });
  CHOOSECOLOR wrong = cc;
  wrong.lStructSize = sizeof wrong + 4;
  EXPECT_FALSE(ChooseColor(&wrong));
  CHOOSECOLOR none = cc;
  none.lpCustColors = nullptr;
  EXPECT_FALSE(ChooseColor(&none));
  EXPECT_FALSE(shown);
  // The basic colours are 48 distinct colours.
  std::vector<COLORREF> all;
  for (int i = 0; i < 48; ++i) all.push_back(pl3::BasicColour(i));
  std::sort(all.begin(), all.end());
  EXPECT_EQ(std::unique(all.begin(), all.end()), all.end());
}

}  // namespace
