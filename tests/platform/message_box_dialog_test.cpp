// The message box of our own dialog, driven by dialog hooks: its buttons per
// type, the default button under Enter, Escape per type, and the text shown
// whole inside the box.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/common_dialogs.h"
#include "platform/controls.h"
#include "platform/dialog_hooks.h"
#include "platform/user.h"

namespace {

constexpr int kTextId = 0xFFFF;

class MessageBoxDialogTest : public testing::Test {
 protected:
  void SetUp() override { pl3::SetMessageBoxBackend(&pl3::ShowMessageBoxDialog); }
  void TearDown() override {
    pl3::ClearDialogHooks();
    pl3::SetMessageBoxBackend(nullptr);
  }
};

void PressKey(HWND dialog, WPARAM key) {
  MSG m{GetFocus(), WM_KEYDOWN, key, 0, 0, {}};
  IsDialogMessageA(dialog, &m);
}

std::string TextOf(HWND window) {
  char text[256] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

TEST_F(MessageBoxDialogTest, EachTypeShowsItsButtonsAndEnterPressesTheDefault) {
  struct Case {
    UINT type;
    std::vector<int> buttons;
    int enter;  // the answer Enter gives
  } cases[] = {
      {MB_OK, {IDOK}, IDOK},
      {MB_OKCANCEL, {IDOK, IDCANCEL}, IDOK},
      {MB_YESNOCANCEL, {IDYES, IDNO, IDCANCEL}, IDYES},
      {MB_YESNOCANCEL | MB_DEFBUTTON2, {IDYES, IDNO, IDCANCEL}, IDNO},
      {MB_YESNO | MB_DEFBUTTON2, {IDYES, IDNO}, IDNO},
      {MB_ABORTRETRYIGNORE | MB_DEFBUTTON3, {IDABORT, IDRETRY, IDIGNORE}, IDIGNORE},
      {MB_RETRYCANCEL, {IDRETRY, IDCANCEL}, IDRETRY},
      {MB_OK | MB_DEFBUTTON3, {IDOK}, IDOK},  // past the last button: the first
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    std::vector<int> shown;
    pl3::SetDialogHookByCaption("Question", [&](HWND dialog) {
      for (int id : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO})
        if (GetDlgItem(dialog, id)) shown.push_back(id);
      PressKey(dialog, VK_RETURN);
    });
    EXPECT_EQ(MessageBox(nullptr, "Go on?", "Question", c.type), c.enter);
    std::vector<int> expected = c.buttons;
    std::sort(expected.begin(), expected.end());
    std::sort(shown.begin(), shown.end());
    EXPECT_EQ(shown, expected);
  }
}

TEST_F(MessageBoxDialogTest, EscapeCancelsOnlyWhereTheBoxCanBeLeftUnanswered) {
  struct Case {
    UINT type;
    int escape;  // 0: Escape leaves the box open
  } cases[] = {
      {MB_OK, IDOK}, {MB_OKCANCEL, IDCANCEL}, {MB_YESNOCANCEL, IDCANCEL}, {MB_YESNO, 0}, {MB_ABORTRETRYIGNORE, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    bool stillOpen = false;
    pl3::SetDialogHookByCaption("Question", [&](HWND dialog) {
      PressKey(dialog, VK_ESCAPE);
      stillOpen = IsWindow(dialog) && IsWindowVisible(dialog);
      SendMessageA(dialog, WM_CLOSE, 0, 0);
      if (stillOpen) pl3::ClickDialogButton(dialog, (c.type & MB_TYPEMASK) == MB_YESNO ? IDNO : IDRETRY);
    });
    const int answer = MessageBox(nullptr, "Go on?", "Question", c.type);
    if (c.escape) {
      EXPECT_EQ(answer, c.escape);
    } else {
      EXPECT_TRUE(stillOpen) << "Escape and the close box must not answer this question";
      EXPECT_EQ(answer, (c.type & MB_TYPEMASK) == MB_YESNO ? IDNO : IDRETRY);
    }
  }
}

TEST_F(MessageBoxDialogTest, TheWholeTextFitsAboveTheButtonsAndTheCaptionIsTheBoxs) {
  const std::string text =
      "Save changes to a board whose name is long enough that the line must wrap at least once "
      "before it ends?\nA second line.";
  std::string caption, shownText;
  RECT textRect{}, buttonRect{}, client{};
  pl3::SetDialogHookByCaption("Pelmora3", [&](HWND dialog) {
    caption = TextOf(dialog);
    shownText = TextOf(GetDlgItem(dialog, kTextId));
    GetWindowRect(GetDlgItem(dialog, kTextId), &textRect);
    GetWindowRect(GetDlgItem(dialog, IDNO), &buttonRect);
    GetWindowRect(dialog, &client);
    pl3::ClickDialogButton(dialog, IDNO);
  });
  EXPECT_EQ(MessageBox(nullptr, text.c_str(), "Pelmora3", MB_YESNOCANCEL), IDNO);
  EXPECT_EQ(caption, "Pelmora3");
  EXPECT_EQ(shownText, text);
  EXPECT_GT(textRect.bottom - textRect.top, 30) << "three lines at least";
  EXPECT_LE(textRect.bottom, buttonRect.top);
  EXPECT_GE(textRect.left, client.left);
  EXPECT_LE(textRect.right, client.right);

  pl3::SetDialogHookByCaption("Error", [&](HWND dialog) { pl3::ClickDialogButton(dialog, IDOK); });
  EXPECT_EQ(MessageBox(nullptr, nullptr, nullptr, MB_OK), IDOK) << "no caption: \"Error\"; no text: empty";
}

}  // namespace
