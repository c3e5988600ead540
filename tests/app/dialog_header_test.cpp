#include "app/dialog_header.h"

#include <gtest/gtest.h>

#include "platform/commctrl.h"
#include "platform/user.h"
#include "tests/support/test_windows.h"

namespace {

RECT InDialog(HWND dialog, HWND control) {
  RECT rc;
  GetWindowRect(control, &rc);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rc), 2);
  return rc;
}

class DialogHeaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dialog = MakeTestParentWindow("DialogHeaderParent");
    ASSERT_NE(dialog, nullptr);
    list = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE, 10, 20, 200, 100, dialog,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(3288)), nullptr, nullptr);
    ASSERT_NE(list, nullptr);
  }
  HWND dialog = nullptr;
  HWND list = nullptr;
};

TEST_F(DialogHeaderTest, HeaderTakesTheListsTopAndTheListMovesBelowIt) {
  HWND header = CreateDialogHeader(dialog, 3288, 3289);
  ASSERT_NE(header, nullptr);
  EXPECT_EQ(GetDlgItem(dialog, 3289), header);
  EXPECT_TRUE(GetWindowLongPtrA(header, GWL_STYLE) & WS_VISIBLE);
  const RECT h = InDialog(dialog, header);
  const RECT l = InDialog(dialog, list);
  EXPECT_EQ(h.left, 10);
  EXPECT_EQ(h.top, 20);
  EXPECT_EQ(h.right, 210);
  EXPECT_GT(h.bottom, 20);
  EXPECT_EQ(l.left, 10);
  EXPECT_EQ(l.top, h.bottom);
  EXPECT_EQ(l.right, 210);
  EXPECT_EQ(l.bottom, 120);
  // The frame round both sits at the bottom of the z-order, under list and header.
  HWND last = GetWindow(GetWindow(dialog, GW_CHILD), GW_HWNDLAST);
  char cls[16] = "";
  GetClassNameA(last, cls, sizeof cls);
  EXPECT_STRCASEEQ(cls, "STATIC");
  const RECT f = InDialog(dialog, last);
  EXPECT_LT(f.left, 10);
  EXPECT_LT(f.top, 20);
  EXPECT_GT(f.right, 210);
  EXPECT_GT(f.bottom, 120);
}

TEST_F(DialogHeaderTest, MissingListCreatesNothing) {
  EXPECT_EQ(CreateDialogHeader(dialog, 999, 3289), nullptr);
  EXPECT_EQ(GetDlgItem(dialog, 3289), nullptr);
}

}  // namespace
