// The interface colour slots: the blend and gamma rules with their
// truncations, the two slot tables, and the ownership of the brushes and pens.
#include <gtest/gtest.h>

#include "draw/ui_colours.h"
#include "platform/gdi.h"
#include "platform/user.h"

namespace {

// The GDI object type of any handle; 0 once it is deleted.
template <typename Handle>
DWORD ObjectType(Handle h) {
  return GetObjectType(reinterpret_cast<HGDIOBJ>(h));
}

struct BlendCase {
  COLORREF a, b;
  int alpha;
  COLORREF expected;
};

TEST(BlendColours, WeighsEachChannelAndTruncatesEachQuotient) {
  const BlendCase cases[] = {
      {0x123456, 0xABCDEF, 255, 0x123456},  // all of a
      {0x123456, 0xABCDEF, 0, 0xABCDEF},    // all of b
      {0xFFFFFF, 0x000000, 90, 0x5A5A5A},
      // 1 * 128 / 255 and 1 * 127 / 255 are both 0: the sum is 0, not 1.
      {0x010101, 0x010101, 128, 0x000000},
      // Channels keep their places.
      {0xFF0000, 0x0000FF, 255, 0xFF0000},
      {0xFF0000, 0x0000FF, 0, 0x0000FF},
      // Out of range weights are held to 0..255.
      {0x102030, 0x405060, 300, 0x102030},
      {0x102030, 0x405060, -5, 0x405060},
  };
  for (const BlendCase& c : cases) EXPECT_EQ(BlendColours(c.a, c.b, c.alpha), c.expected) << std::hex << c.a << " " << c.b << " " << c.alpha;
}

TEST(LightenColour, TruncatesTheGammaCurveOfEachChannel) {
  // 186.99999... truncates to 186.
  EXPECT_EQ(LightenColour(0x808080, 0.45), 0xBABABAu);
  EXPECT_EQ(LightenColour(0xFFFFFF, 0.3), 0xFFFFFFu);
  // A zero channel stays zero whatever the gamma, even 0 or below.
  for (double gamma : {0.2, 0.45, 1.0, 2.0, 0.0, -1.0}) {
    const COLORREF c = LightenColour(0x00FF00, gamma);
    EXPECT_EQ(c & 0xFF00FFu, 0u) << gamma;
  }
  // A gamma below 0 cannot push a channel past 255.
  EXPECT_EQ(LightenColour(0x010101, -2.0), 0xFFFFFFu);
}

class UIColourSlotsTest : public testing::Test {
 protected:
  void SetUp() override {
    const INT indexes[] = {COLOR_3DFACE, COLOR_HIGHLIGHT, COLOR_WINDOW, COLOR_3DLIGHT, COLOR_MENU,
                           COLOR_3DDKSHADOW, COLOR_ACTIVECAPTION, COLOR_3DSHADOW, COLOR_3DHILIGHT};
    const COLORREF colours[] = {0xC0C0C0, 0x6A240A, 0xFFFFFF, 0xE0DFE3, 0xF0F0F0,
                                0x404040, 0x800000, 0x808080, 0xFFFFFE};
    SetSysColors(9, indexes, colours);
  }
  void TearDown() override { ThemeActive = 0; }
};

struct SlotColour {
  int slot;
  COLORREF colour;
};

void ExpectSlots(const SlotColour* slots, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i)
    EXPECT_EQ(GetUIColour(slots[i].slot), slots[i].colour) << "slot " << slots[i].slot;
}

TEST_F(UIColourSlotsTest, ClassicTableFromTheSystemColours) {
  ThemeActive = 0;
  ResetUIColours();
  const SlotColour expected[] = {
      {1, 0xE9FBFF}, {2, 0xE3E3E3}, {3, 0x000000}, {4, 0x404040},   {5, 0xC0C0C0},   {6, 0x800000},  {7, 0xC0C0C0},
      {8, 0x808080}, {9, 0x000000}, {10, 0xFFFFFF}, {11, 0xC0C0C0}, {12, 0xFFFFFE}, {13, 0x808080}, {14, 0x800000},
      {15, 0xCBCBCB}, {16, 0xD9BBA8}, {17, 0x874A30}, {18, 0x6A240A}, {19, 0xF5F5F6}, {20, 0xC0C0C0},
  };
  ExpectSlots(expected, std::size(expected));
}

TEST_F(UIColourSlotsTest, ThemedTableDiffersInTheSelectionAndStripColours) {
  ThemeActive = 1;
  ResetUIColours();
  const SlotColour expected[] = {
      {1, 0xE9FBFF},  {2, 0xE9FBFF},  {15, 0xCBCBCB},  // 15 is set twice, the gamma colour last
      {16, 0xD9BBA8}, {17, 0x874A30}, {18, 0xCAAC9F}, {19, 0xF5F5F6}, {20, 0xC0C0C0},
  };
  ExpectSlots(expected, std::size(expected));
}

TEST_F(UIColourSlotsTest, OnlySlotsOneToTwentyAreEverValid) {
  ResetUIColours();
  for (int slot = 0; slot < kUIColourSlotCount; ++slot) {
    const bool used = slot >= 1 && slot <= 20;
    EXPECT_EQ(GetUIColourBrush(slot) != nullptr, used) << slot;
    EXPECT_EQ(GetUIColourPen(slot) != nullptr, used) << slot;
    if (!used) {
      EXPECT_EQ(GetUIColour(slot), 0u) << slot;
    }
  }
  EXPECT_EQ(GetUIColourBrush(-1), nullptr);
  EXPECT_EQ(GetUIColour(kUIColourSlotCount), 0u);
}

TEST_F(UIColourSlotsTest, BrushAndPenCarryTheSlotColour) {
  SetUIColour(7, 0x123456);
  LOGBRUSH brush{};
  ASSERT_NE(GetObject(GetUIColourBrush(7), sizeof brush, &brush), 0);
  EXPECT_EQ(brush.lbStyle, static_cast<UINT>(BS_SOLID));
  EXPECT_EQ(brush.lbColor, 0x123456u);
  LOGPEN pen{};
  ASSERT_NE(GetObject(GetUIColourPen(7), sizeof pen, &pen), 0);
  EXPECT_EQ(pen.lopnStyle, static_cast<UINT>(PS_SOLID));
  EXPECT_EQ(pen.lopnWidth.x, 0);
  EXPECT_EQ(pen.lopnColor, 0x123456u);
}

TEST_F(UIColourSlotsTest, SettingAgainDeletesTheOldObjects) {
  SetUIColour(3, 0x111111);
  HBRUSH oldBrush = GetUIColourBrush(3);
  HPEN oldPen = GetUIColourPen(3);
  SetUIColour(3, 0x222222);
  EXPECT_EQ(ObjectType(oldBrush), 0u);
  EXPECT_EQ(ObjectType(oldPen), 0u);
  EXPECT_EQ(GetUIColour(3), 0x222222u);
  EXPECT_EQ(ObjectType(GetUIColourBrush(3)), static_cast<DWORD>(OBJ_BRUSH));
}

TEST_F(UIColourSlotsTest, DestroyDeletesEverythingAndLeavesNoStaleHandle) {
  ResetUIColours();
  HBRUSH brush = GetUIColourBrush(18);
  HPEN pen = GetUIColourPen(18);
  DestroyUIColours();
  EXPECT_EQ(ObjectType(brush), 0u);
  EXPECT_EQ(ObjectType(pen), 0u);
  EXPECT_EQ(GetUIColourBrush(18), nullptr);
  EXPECT_EQ(GetUIColour(18), 0u);
  DestroyUIColours();  // a second exit step is harmless
}

TEST_F(UIColourSlotsTest, ResetReplacesAnEarlierFillWithoutLosingItsObjects) {
  ResetUIColours();
  HBRUSH first = GetUIColourBrush(5);
  ResetUIColours();
  EXPECT_EQ(ObjectType(first), 0u);
  EXPECT_NE(GetUIColourBrush(5), nullptr);
}

TEST(ClientRectToScreen, ConvertsBothCorners) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = &DefWindowProcA;
  wc.lpszClassName = "ClientRectToScreenTest";
  ASSERT_TRUE(RegisterClassA(&wc));
  HWND top = CreateWindowExA(0, "ClientRectToScreenTest", "", WS_POPUP | WS_VISIBLE, 100, 50, 300, 200, nullptr,
                             nullptr, nullptr, nullptr);
  HWND child = CreateWindowExA(0, "ClientRectToScreenTest", "", WS_CHILD | WS_VISIBLE, 20, 30, 100, 80, top, nullptr,
                               nullptr, nullptr);
  ASSERT_NE(child, nullptr);
  POINT origin{0, 0};
  ClientToScreen(child, &origin);
  RECT r{1, 2, 40, 60};
  ClientRectToScreen(child, &r);
  EXPECT_EQ(r.left, origin.x + 1);
  EXPECT_EQ(r.top, origin.y + 2);
  EXPECT_EQ(r.right, origin.x + 40);
  EXPECT_EQ(r.bottom, origin.y + 60);
  EXPECT_EQ(origin.x, 120);
  EXPECT_EQ(origin.y, 80);
  DestroyWindow(top);
}

}  // namespace
