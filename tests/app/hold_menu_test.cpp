#include <gtest/gtest.h>

#include "app/editor_window_services.h"
#include "app/pending_services.h"
#include "edit/window_data.h"
#include "objects/item_helper_seams.h"
#include "platform/menus.h"
#include "platform/responder.h"
#include "platform/user.h"
#include "tests/support/test_windows.h"

namespace {

class HoldMenu : public testing::Test {
 protected:
  void SetUp() override {
    owner = MakeTestParentWindow("HoldMenuOwner");
    ASSERT_NE(owner, nullptr);
    pl3::ClearResponderRecords();
  }
  void TearDown() override {
    pl3::ClearMenuHook();
    if (RightButtonMenu && IsMenu(RightButtonMenu)) DestroyOwnerDrawnMenu(RightButtonMenu);
    RightButtonMenu = nullptr;
    DestroyWindow(owner);
  }
  void LoadMenu() {
    RightButtonMenu = CreatePopupMenu();
    AppendMenuA(RightButtonMenu, MF_STRING, 601, "Zoom In");
    AppendMenuA(RightButtonMenu, MF_STRING, 602, "Zoom Out");
  }
  HWND owner = nullptr;
};

TEST_F(HoldMenu, WithoutAMenuNothingIsShown) {
  bool shown = false;
  pl3::SetMenuHook([&](HMENU, HWND) { shown = true; });
  EXPECT_EQ(ShowHoldMenu(owner, 40, 40), 0);
  RightButtonMenu = reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(0x7777));  // a stale handle
  EXPECT_EQ(ShowHoldMenu(owner, 40, 40), 0);
  RightButtonMenu = nullptr;
  EXPECT_FALSE(shown);
}

TEST_F(HoldMenu, TheLoadedMenuIsTrackedAtThePointForItsOwner) {
  LoadMenu();
  HMENU seen = nullptr;
  HWND seenOwner = nullptr;
  pl3::SetMenuHook([&](HMENU menu, HWND menuOwner) {
    seen = menu;
    seenOwner = menuOwner;
    pl3::InjectKeyStroke(VK_ESCAPE);
  });
  EXPECT_EQ(ShowHoldMenu(owner, 40, 40), 1);
  EXPECT_EQ(seen, RightButtonMenu);
  EXPECT_EQ(seenOwner, owner);
}

// The button hold's menu: shown with the hold-menu flag set, the cursor put
// back where the button went down, the flag cleared; "Menu Failed" only when
// no menu could be shown.
TEST_F(HoldMenu, DoRButtonMenuShowsTheMenuOrSaysItFailed) {
  ButtonRecord button{};
  button.HoldScreenPos = {123, 45};
  DoRButtonMenu(owner, &button);
  ASSERT_EQ(pl3::ResponderRecords().size(), 1u);
  EXPECT_EQ(pl3::ResponderRecords()[0].text, "Menu Failed");
  EXPECT_EQ(pl3::ResponderRecords()[0].caption, "DoRButtonMenu");
  EXPECT_EQ(button.ButtonFlags & kButtonHoldMenuOpen, 0);

  pl3::ClearResponderRecords();
  LoadMenu();
  std::uint8_t flagsWhileShown = 0;
  pl3::SetMenuHook([&](HMENU, HWND) {
    flagsWhileShown = button.ButtonFlags;
    pl3::InjectKeyStroke(VK_ESCAPE);
  });
  DoRButtonMenu(owner, &button);
  EXPECT_TRUE(pl3::ResponderRecords().empty());
  EXPECT_EQ(flagsWhileShown & kButtonHoldMenuOpen, kButtonHoldMenuOpen);
  EXPECT_EQ(button.ButtonFlags & kButtonHoldMenuOpen, 0);
  POINT at{};
  GetCursorPos(&at);
  EXPECT_EQ(at.x, 123);
  EXPECT_EQ(at.y, 45);
}

}  // namespace
