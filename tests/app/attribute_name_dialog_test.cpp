#include "app/attribute_name_dialog.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/dialog_hooks.h"
#include "platform/responder.h"

namespace {

class AttributeName : public testing::Test {
 protected:
  void TearDown() override { pl3::ClearDialogHooks(); }
};

TEST_F(AttributeName, OkGivesTheNameAndAnEmptyNameIsRefused) {
  static std::string caption, offered;
  pl3::ClearResponderRecords();
  pl3::SetDialogHook(1185, [](HWND dialog) {
    char buffer[64] = {};
    GetWindowText(dialog, buffer, sizeof buffer);
    caption = buffer;
    GetDlgItemText(dialog, 414, buffer, sizeof buffer);
    offered = buffer;
    pl3::ClickDialogButton(dialog, IDOK);  // empty: refused, the dialog stays
    pl3::TypeDialogText(dialog, 414, "Tolerance");
    pl3::ClickDialogButton(dialog, IDOK);
  });
  char* name = ShowAttributeNameDialog();
  ASSERT_NE(name, nullptr);
  EXPECT_STREQ(name, "Tolerance");
  std::free(name);
  EXPECT_EQ(caption, "Attribute Name");
  EXPECT_EQ(offered, "");
  ASSERT_EQ(pl3::ResponderRecords().size(), 1u);
  EXPECT_EQ(pl3::ResponderRecords()[0].text, "You must enter a net name");
  EXPECT_EQ(pl3::ResponderRecords()[0].caption, "Error");
}

TEST_F(AttributeName, CancelGivesNothing) {
  pl3::SetDialogHook(1185, [](HWND dialog) {
    pl3::TypeDialogText(dialog, 414, "Value");
    pl3::ClickDialogButton(dialog, IDCANCEL);
  });
  EXPECT_EQ(ShowAttributeNameDialog(), nullptr);
}

TEST_F(AttributeName, TheProcedureShowsAndReplacesTheCallersText) {
  char* text = static_cast<char*>(std::malloc(8));
  std::strcpy(text, "Old");
  static std::string offered;
  pl3::SetDialogHook(1185, [](HWND dialog) {
    char buffer[64] = {};
    GetDlgItemText(dialog, 414, buffer, sizeof buffer);
    offered = buffer;
    pl3::TypeDialogText(dialog, 414, "New");
    pl3::ClickDialogButton(dialog, IDOK);
  });
  EXPECT_EQ(DialogBoxParam(nullptr, MAKEINTRESOURCE(1185), nullptr, &AttributeNameDialogProc,
                           reinterpret_cast<LPARAM>(&text)),
            1);
  EXPECT_EQ(offered, "Old");
  EXPECT_STREQ(text, "New");  // the old text was freed (ASan reports a leak otherwise)
  std::free(text);
}

}  // namespace
