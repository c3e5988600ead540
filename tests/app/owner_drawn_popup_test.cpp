#include <gtest/gtest.h>

#include "objects/item_helper_seams.h"
#include "platform/user.h"
#include "tests/app/pending_fakes.h"
#include "tests/support/test_windows.h"

namespace {

using pendingfakes::Recorded;

class OwnerDrawnPopup : public testing::Test {
 protected:
  void SetUp() override {
    owner = MakeTestParentWindow("OwnerDrawnPopupOwner");
    ASSERT_NE(owner, nullptr);
    menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, 501, "First");
    AppendMenuA(menu, MF_STRING, 502, "Second");
  }
  void TearDown() override {
    pl3::ClearMenuHook();
    if (IsMenu(menu)) DestroyMenu(menu);
    DestroyWindow(owner);
  }
  void ChooseOnShow(UINT position) {
    pl3::SetMenuHook([this, position](HMENU shown, HWND shownOwner) {
      // By the time the menu shows it has been made owner-drawn.
      madeBeforeShown = Recorded().ownerDrawnMenus == std::vector<HMENU>{shown};
      EXPECT_EQ(shownOwner, owner);
      RECT r{};
      ASSERT_TRUE(GetMenuItemRect(shownOwner, shown, position, &r));
      const POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
      pl3::InjectMouseMove(p);
      pl3::InjectMouseButton(pl3::MouseButton::Left, true, p);
      pl3::InjectMouseButton(pl3::MouseButton::Left, false, p);
    });
  }
  HWND owner = nullptr;
  HMENU menu = nullptr;
  bool madeBeforeShown = false;
};

TEST_F(OwnerDrawnPopup, TrackMakesTheMenuOwnerDrawnThenReturnsTheChosenId) {
  ChooseOnShow(1);
  EXPECT_EQ(TrackOwnerDrawnPopupMenu(menu, TPM_RETURNCMD, 40, 40, owner), 502);
  EXPECT_TRUE(madeBeforeShown);
  EXPECT_EQ(Recorded().ownerDrawnArguments, std::vector<int>{0});  // a pop-up: measured, no extras

  Recorded() = {};
  ChooseOnShow(0);
  TPMPARAMS params{sizeof(TPMPARAMS), {0, 0, 10, 10}};
  EXPECT_EQ(TrackOwnerDrawnPopupMenuEx(menu, TPM_RETURNCMD, 40, 40, owner, &params), 501);
  EXPECT_TRUE(madeBeforeShown);

  // Dismissed: 0.
  pl3::SetMenuHook([](HMENU, HWND) { pl3::InjectKeyStroke(VK_ESCAPE); });
  EXPECT_EQ(TrackOwnerDrawnPopupMenu(menu, TPM_RETURNCMD, 40, 40, owner), 0);
}

TEST_F(OwnerDrawnPopup, DestroyFreesTheOwnerDrawDataThenTheMenu) {
  EXPECT_TRUE(DestroyOwnerDrawnMenu(menu));
  EXPECT_EQ(Recorded().freedMenus, std::vector<HMENU>{menu});
  EXPECT_EQ(Recorded().freedMenuWasLive, std::vector<bool>{true});  // freed before it is destroyed
  EXPECT_FALSE(IsMenu(menu));
  // A handle that is no menu (any more) is taken as done and nothing is freed.
  EXPECT_EQ(DestroyOwnerDrawnMenu(menu), TRUE);
  EXPECT_EQ(DestroyOwnerDrawnMenu(nullptr), TRUE);
  EXPECT_EQ(Recorded().freedMenus.size(), 1u);
}

}  // namespace
