#include "app/progress_log_dialog.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "app/core_utilities.h"
#include "platform/controls.h"
#include "platform/dialogs.h"
#include "platform/gdi.h"
#include "platform/surface.h"
#include "platform/user.h"
#include "tests/support/test_windows.h"

namespace {

void AddLine(HWND list, const char* text, std::uint32_t colour) {
  auto* line = static_cast<ProgressLogLine*>(std::malloc(sizeof(ProgressLogLine)));
  line->text = static_cast<char*>(std::malloc(std::strlen(text) + 1));
  std::strcpy(line->text, text);
  line->colour = colour;
  SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line));
}

class ProgressLog : public testing::Test {
 protected:
  void SetUp() override {
    frame = MakeTestParentWindow("ProgressLogFrame");
    ASSERT_NE(frame, nullptr);
    FrameWindow = frame;
    dialog = CreateDialogParamA(nullptr, MAKEINTRESOURCE(kProgressLogDialogId), frame, &ProgressLogDlgProc,
                                reinterpret_cast<LPARAM>(&block));
    ASSERT_NE(dialog, nullptr);
  }
  void TearDown() override {
    if (IsWindow(dialog)) DestroyWindow(dialog);
    FrameWindow = nullptr;
  }
  HWND frame = nullptr;
  HWND dialog = nullptr;
  ProgressLogBlock block{};
};

TEST_F(ProgressLog, OpeningFillsTheBlockAndCloseEmptiesTheList) {
  EXPECT_EQ(block.dialog, dialog);
  EXPECT_EQ(block.list, GetDlgItem(dialog, kProgressLogList));
  EXPECT_EQ(block.opened, 1u);
  char caption[64] = {};
  GetWindowTextA(dialog, caption, sizeof caption);
  EXPECT_STREQ(caption, "Net Import Progress");
  AddLine(block.list, "Reading netlist", RGB(0, 0, 255));
  AddLine(block.list, "Component R1 not found", RGB(255, 0, 0));
  EXPECT_EQ(SendMessageA(block.list, LB_GETCOUNT, 0, 0), 2);
  SendMessageA(dialog, WM_COMMAND, kProgressLogClose, 0);
  // Every line was freed with the list's items (the leak check sees to it).
  EXPECT_EQ(SendMessageA(block.list, LB_GETCOUNT, 0, 0), 0);
  EXPECT_FALSE(IsWindowVisible(dialog));
  EXPECT_EQ(GetFocus(), frame);
}

TEST_F(ProgressLog, ALineIsDrawnInItsColourOnTheSelectionOrWindowColour) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 200, 20);
  ReleaseDC(nullptr, screen);
  HBITMAP old = SelectObject(dc, bitmap);
  ProgressLogLine line{const_cast<char*>("MMMMMMMM"), RGB(255, 0, 0)};
  DRAWITEMSTRUCT draw{};
  draw.CtlType = ODT_LISTBOX;
  draw.CtlID = kProgressLogList;
  draw.itemAction = ODA_DRAWENTIRE;
  draw.hDC = dc;
  draw.rcItem = {0, 0, 200, 20};
  draw.itemData = reinterpret_cast<ULONG_PTR>(&line);
  SetTextColor(dc, RGB(1, 2, 3));
  SetBkMode(dc, OPAQUE);
  auto count = [&](COLORREF colour) {
    int n = 0;
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 200; ++x)
        if (GetPixel(dc, x, y) == colour) ++n;
    return n;
  };
  DrawProgressLogLine(dialog, &draw, false, false);
  EXPECT_GT(count(RGB(255, 0, 0)), 0);
  EXPECT_EQ(GetPixel(dc, 199, 0), GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(GetTextColor(dc), RGB(1, 2, 3));
  EXPECT_EQ(GetBkMode(dc), OPAQUE);
  DrawProgressLogLine(dialog, &draw, true, false);
  EXPECT_EQ(count(RGB(255, 0, 0)), 0);
  EXPECT_EQ(GetPixel(dc, 199, 0), GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_GT(count(GetSysColor(COLOR_HIGHLIGHTTEXT)), 0);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
}

}  // namespace
