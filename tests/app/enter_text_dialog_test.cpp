#include "app/enter_text_dialog.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/dialog_hooks.h"
#include "platform/responder.h"

namespace {

char* HeapText(const char* text) {
  char* copy = static_cast<char*>(std::malloc(std::strlen(text) + 1));
  std::strcpy(copy, text);
  return copy;
}

std::string ItemText(HWND dialog, int id) {
  char buffer[128] = {};
  GetDlgItemText(dialog, id, buffer, sizeof buffer);
  return buffer;
}

class EnterText : public testing::Test {
 protected:
  void TearDown() override { pl3::ClearDialogHooks(); }
};

TEST_F(EnterText, OkReturnsTheEnteredTextAndFreesTheOld) {
  static std::string caption, prompt, offered;
  pl3::SetDialogHook("EnterTextDlg", [](HWND dialog) {
    char buffer[64] = {};
    GetWindowText(dialog, buffer, sizeof buffer);
    caption = buffer;
    prompt = ItemText(dialog, 53);
    offered = ItemText(dialog, 72);
    pl3::TypeDialogText(dialog, 72, "VCC");
    pl3::ClickDialogButton(dialog, IDOK);
  });
  char* result = ShowEnterTextDlgEx("Edit Pad Name", "Enter Name", HeapText("A1"), 20);
  ASSERT_NE(result, nullptr);
  EXPECT_STREQ(result, "VCC");
  EXPECT_EQ(EnterTextDialogResult, 1);
  EXPECT_EQ(caption, "Edit Pad Name");
  EXPECT_EQ(prompt, "Enter Name");
  EXPECT_EQ(offered, "A1");
  std::free(result);  // the old text was freed by OK (ASan would report a leak)
}

TEST_F(EnterText, CancelReturnsTheTextPassedIn) {
  pl3::SetDialogHook("EnterTextDlg", [](HWND dialog) {
    pl3::TypeDialogText(dialog, 72, "changed");
    pl3::ClickDialogButton(dialog, IDCANCEL);
  });
  char* initial = HeapText("kept");
  char* result = ShowEnterTextDlg("Name", "Enter", initial);
  EXPECT_EQ(result, initial);
  EXPECT_STREQ(result, "kept");
  EXPECT_EQ(EnterTextDialogResult, 0);
  std::free(result);
}

TEST_F(EnterText, EmptyAndTooLongTextsKeepTheDialogOpen) {
  pl3::ClearResponderRecords();
  pl3::SetDialogHook("EnterTextDlg", [](HWND dialog) {
    pl3::TypeDialogText(dialog, 72, "");
    pl3::ClickDialogButton(dialog, IDOK);
    pl3::TypeDialogText(dialog, 72, "12345");
    pl3::ClickDialogButton(dialog, IDOK);
    pl3::TypeDialogText(dialog, 72, "1234");
    pl3::ClickDialogButton(dialog, IDOK);
  });
  char* result = ShowEnterTextDlgEx("T", "P", nullptr, 4);
  ASSERT_NE(result, nullptr);
  EXPECT_STREQ(result, "1234") << "a text of exactly the maximum is taken";
  std::free(result);
  std::vector<std::string> texts;
  for (const auto& r : pl3::ResponderRecords()) {
    texts.push_back(r.text);
    EXPECT_EQ(r.caption, "Error");
  }
  EXPECT_EQ(texts, (std::vector<std::string>{"You must specify a string!",
                                             "You must specify a string less than 4 characters long"}));
}

}  // namespace
