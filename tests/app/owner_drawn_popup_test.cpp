#include <gtest/gtest.h>

#include "app/owner_drawn_menus.h"
#include "app/pending_services.h"
#include "objects/item_helper_seams.h"
#include "platform/user.h"
#include "tests/support/test_windows.h"

namespace {

bool IsOwnerDrawn(HMENU menu, UINT position, OwnerDrawnMenuRecord** record = nullptr) {
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE | MIIM_DATA;
  if (!GetMenuItemInfoA(menu, position, TRUE, &info)) return false;
  if (record) *record = reinterpret_cast<OwnerDrawnMenuRecord*>(info.dwItemData);
  return (info.fType & MFT_OWNERDRAW) && info.dwItemData;
}

class OwnerDrawnPopup : public testing::Test {
 protected:
  void SetUp() override {
    owner = MakeTestParentWindow("OwnerDrawnPopupOwner");
    ASSERT_NE(owner, nullptr);
    menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, 501, "First\tignored");
    AppendMenuA(menu, MF_STRING, 502, "Second");
  }
  void TearDown() override {
    pl3::ClearMenuHook();
    if (IsMenu(menu)) DestroyOwnerDrawnMenu(menu);
    DestroyWindow(owner);
  }
  void ChooseOnShow(UINT position) {
    pl3::SetMenuHook([this, position](HMENU shown, HWND shownOwner) {
      // By the time the menu shows it has been made owner-drawn.
      madeBeforeShown = IsOwnerDrawn(shown, 0) && IsOwnerDrawn(shown, 1);
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
  OwnerDrawnMenuRecord* first = nullptr;
  ASSERT_TRUE(IsOwnerDrawn(menu, 0, &first));
  EXPECT_STREQ(first->text, "First");  // cut at the tab
  EXPECT_EQ(first->kind, 1u);

  // A second track keeps the records it made.
  ChooseOnShow(0);
  TPMPARAMS params{sizeof(TPMPARAMS), {0, 0, 10, 10}};
  EXPECT_EQ(TrackOwnerDrawnPopupMenuEx(menu, TPM_RETURNCMD, 40, 40, owner, &params), 501);
  OwnerDrawnMenuRecord* again = nullptr;
  ASSERT_TRUE(IsOwnerDrawn(menu, 0, &again));
  EXPECT_EQ(again, first);

  // Dismissed: 0.
  pl3::SetMenuHook([](HMENU, HWND) { pl3::InjectKeyStroke(VK_ESCAPE); });
  EXPECT_EQ(TrackOwnerDrawnPopupMenu(menu, TPM_RETURNCMD, 40, 40, owner), 0);
}

TEST_F(OwnerDrawnPopup, DestroyFreesTheOwnerDrawDataThenTheMenu) {
  MakeMenuOwnerDrawn(menu, 0, 0);
  ASSERT_TRUE(IsOwnerDrawn(menu, 0));
  FreeOwnerDrawnMenu(menu);
  EXPECT_FALSE(IsOwnerDrawn(menu, 0));  // no record is left behind to be freed twice
  EXPECT_TRUE(DestroyOwnerDrawnMenu(menu));
  EXPECT_FALSE(IsMenu(menu));
  // A handle that is no menu (any more) is taken as done.
  EXPECT_EQ(DestroyOwnerDrawnMenu(menu), TRUE);
  EXPECT_EQ(DestroyOwnerDrawnMenu(nullptr), TRUE);
}

}  // namespace
