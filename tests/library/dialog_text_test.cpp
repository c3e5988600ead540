#include <gtest/gtest.h>

#include <string>

#include "library/dialog_text.h"
#include "platform/controls.h"
#include "platform/user.h"
#include "platform/user_constants.h"

namespace {

// A parent window with one edit control (id 101) holding `text`.
struct EditDialog {
  HWND dialog = nullptr;
  explicit EditDialog(const std::string& text) {
    dialog = CreateWindowEx(0, WC_EDIT, "", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
    CreateWindowEx(0, WC_EDIT, text.c_str(), WS_CHILD, 0, 0, 100, 20, dialog, reinterpret_cast<HMENU>(101), nullptr,
                   nullptr);
  }
  ~EditDialog() { DestroyWindow(dialog); }
};

TEST(GetDlgItemTextAlloc, CopiesTheWholeText) {
  EditDialog d("2.5 mm");
  ASSERT_NE(d.dialog, nullptr);
  EXPECT_EQ(pl3::GetDlgItemTextAlloc(d.dialog, 101), "2.5 mm");
  EXPECT_EQ(pl3::GetDlgItemTextAlloc(d.dialog, 102), std::nullopt);
}

TEST(GetDlgItemTextAlloc, EmptyAndLongTexts) {
  EditDialog empty("");
  EXPECT_EQ(pl3::GetDlgItemTextAlloc(empty.dialog, 101), "");
  const std::string longText(5000, '7');
  EditDialog big(longText);
  EXPECT_EQ(pl3::GetDlgItemTextAlloc(big.dialog, 101), longText);
}

}  // namespace
