// The accelerator edit control, driven headless through its messages.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/accelerator_edit.h"
#include "app/command_table.h"
#include "platform/commctrl.h"
#include "platform/gdi.h"
#include "platform/user.h"

namespace {

struct Notice {
  HWND from;
  UINT_PTR id;
  UINT code;
  WPARAM wParam;
};
std::vector<Notice> g_notices;

LRESULT ParentProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_NOTIFY) {
    const auto* header = reinterpret_cast<const NMHDR*>(l);
    g_notices.push_back(Notice{header->hwndFrom, header->idFrom, header->code, w});
    return 0;
  }
  return DefWindowProc(h, m, w, l);
}

class AcceleratorEdit : public ::testing::Test {
 protected:
  void SetUp() override {
    g_notices.clear();
    ASSERT_NE(RegisterAcceleratorEditClass(nullptr), 0);
    WNDCLASS wc{};
    wc.lpfnWndProc = &ParentProc;
    wc.lpszClassName = "AccelParent";
    RegisterClass(&wc);
    parent_ = CreateWindowEx(0, "AccelParent", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                             nullptr, nullptr, nullptr);
    edit_ = CreateWindowEx(0, "ACCELERATOREDIT", "", WS_CHILD | WS_VISIBLE, 10, 10, 200, 24, parent_,
                           reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(7)), nullptr, nullptr);
    ASSERT_NE(edit_, nullptr);
    SendMessage(edit_, WM_LBUTTONDOWN, 0, 0);
    UpdateWindow(edit_);
  }
  void TearDown() override { DestroyWindow(parent_); }
  void Down(WPARAM vk) { SendMessage(edit_, WM_KEYDOWN, vk, 0); }
  void Up(WPARAM vk) { SendMessage(edit_, WM_KEYUP, vk, 0); }
  // Where the caret ends after painting: one pixel right of the drawn text.
  int CaretX() {
    UpdateWindow(edit_);
    POINT p{};
    GetCaretPos(&p);
    return p.x;
  }
  int TextWidth(const char* text) {
    HDC dc = GetDC(edit_);
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SIZE size{};
    GetTextExtentPoint32(dc, text, static_cast<int>(std::strlen(text)), &size);
    SelectObject(dc, old);
    ReleaseDC(edit_, dc);
    return size.cx;
  }
  bool Captured(std::vector<std::uint16_t>* codes) {
    KeySequence sequence{};
    if (!SendMessage(edit_, kAccelEditGetKeys, 0, reinterpret_cast<LPARAM>(&sequence))) return false;
    codes->assign(sequence.codes, sequence.codes + sequence.count);
    std::free(sequence.codes);
    return true;
  }
  HWND parent_ = nullptr;
  HWND edit_ = nullptr;
};

TEST_F(AcceleratorEdit, WantsAllKeysAndRefusesWithoutCapture) {
  EXPECT_EQ(SendMessage(edit_, WM_GETDLGCODE, 0, 0), DLGC_WANTALLKEYS);
  std::vector<std::uint16_t> codes;
  EXPECT_FALSE(Captured(&codes));
  EXPECT_EQ(GetFocus(), edit_);
}

TEST_F(AcceleratorEdit, PaintsASunkenFieldTwoPixelsDeep) {
  InvalidateRect(edit_, nullptr, TRUE);
  UpdateWindow(edit_);
  RECT rc;
  GetClientRect(edit_, &rc);
  const int r = rc.right - 1, b = rc.bottom - 1;
  struct Probe {
    int x, y, colour;
  };
  // Outer shadow and highlight, inner dark shadow and light; the bottom-left
  // and top-right corners take the bottom and right colours.
  const Probe probes[] = {
      {5, 0, COLOR_BTNSHADOW},     {0, 5, COLOR_BTNSHADOW},     {5, b, COLOR_BTNHIGHLIGHT},
      {r, 5, COLOR_BTNHIGHLIGHT},  {0, b, COLOR_BTNHIGHLIGHT},  {r, 0, COLOR_BTNHIGHLIGHT},
      {5, 1, COLOR_3DDKSHADOW},    {1, 5, COLOR_3DDKSHADOW},    {5, b - 1, COLOR_3DLIGHT},
      {r - 1, 5, COLOR_3DLIGHT},   {r - 2, b - 2, COLOR_WINDOW}, {2, 2, COLOR_WINDOW},
  };
  HDC dc = GetDC(edit_);
  for (const Probe& p : probes)
    EXPECT_EQ(GetPixel(dc, p.x, p.y), GetSysColor(p.colour)) << "at " << p.x << "," << p.y;
  ReleaseDC(edit_, dc);
}

TEST_F(AcceleratorEdit, CapturesCtrlShiftZAndNotifies) {
  const int empty = CaretX();
  Down(17);
  Down(16);
  EXPECT_EQ(CaretX(), empty + TextWidth("Ctrl+Shift+"));
  Down('Z');
  Up('Z');
  ASSERT_EQ(g_notices.size(), 1u);
  EXPECT_EQ(g_notices[0].from, edit_);
  EXPECT_EQ(g_notices[0].id, 7u);
  EXPECT_EQ(g_notices[0].code, 1u);
  EXPECT_EQ(g_notices[0].wParam, 7u);
  std::vector<std::uint16_t> codes;
  ASSERT_TRUE(Captured(&codes));
  EXPECT_EQ(codes, (std::vector<std::uint16_t>{17, 16, 90}));
  EXPECT_EQ(CaretX(), empty + TextWidth("Ctrl+Shift+Z"));
  // Latched while a modifier is held: another press keeps the display.
  Down('Z');
  EXPECT_EQ(CaretX(), empty + TextWidth("Ctrl+Shift+Z"));
  Up(16);
  Up(17);
  EXPECT_TRUE(Captured(&codes));
  // Modifiers released: the next key clears the display first.
  Down('A');
  EXPECT_FALSE(Captured(&codes));
  EXPECT_EQ(CaretX(), empty);
  Up('A');
  ASSERT_TRUE(Captured(&codes));
  EXPECT_EQ(codes, (std::vector<std::uint16_t>{'A'}));
}

TEST_F(AcceleratorEdit, ClearMessageDropsTheCapture) {
  Down(16);
  Down(13);
  Up(13);
  Up(16);
  std::vector<std::uint16_t> codes;
  ASSERT_TRUE(Captured(&codes));
  EXPECT_EQ(codes, (std::vector<std::uint16_t>{16, 13}));
  SendMessage(edit_, kAccelEditClear, 0, 0);
  EXPECT_FALSE(Captured(&codes));
  EXPECT_EQ(SendMessage(edit_, WM_CHAR, 'a', 0), 0);
}

}  // namespace
