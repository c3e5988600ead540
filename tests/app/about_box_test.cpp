// "ABOUTDLG" as drawn: the splash's white page with its wait text and the
// centred version and date lines, closed by its timer; the about box's
// credits rising one pixel a tick and starting again from the top once the
// last line has gone.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "app/about_box.h"
#include "platform/dialogs.h"
#include "platform/gdi.h"
#include "platform/user.h"
#include "tests/support/test_windows.h"

namespace {

struct Picture {
  int width = 0, height = 0;
  std::vector<std::uint32_t> pixels;  // 0xRRGGBB, row by row
  std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// The dialog's client area, repainted now.
Picture Snapshot(HWND dialog) {
  RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  RECT client{};
  GetClientRect(dialog, &client);
  Picture p;
  p.width = client.right;
  p.height = client.bottom;
  void* bits = nullptr;
  HDC memory = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = MakeTestDib(memory, p.width, p.height, &bits);
  auto old = SelectObject(memory, bitmap);
  HDC window = GetDC(dialog);
  BitBlt(memory, 0, 0, p.width, p.height, window, 0, 0, SRCCOPY);
  ReleaseDC(dialog, window);
  const auto* first = static_cast<const std::uint32_t*>(bits);
  p.pixels.assign(first, first + static_cast<std::size_t>(p.width) * p.height);
  for (std::uint32_t& px : p.pixels) px &= 0xFFFFFF;
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  return p;
}

bool Dark(std::uint32_t px) { return ((px >> 16) & 0xFF) < 100 && ((px >> 8) & 0xFF) < 100 && (px & 0xFF) < 100; }

// The box around the dark (text) pixels within r; empty when there are none.
RECT DarkBox(const Picture& p, const RECT& r) {
  RECT box{r.right, r.bottom, r.left, r.top};
  for (int y = std::max<int>(0, r.top); y < std::min<int>(p.height, r.bottom); ++y)
    for (int x = std::max<int>(0, r.left); x < std::min<int>(p.width, r.right); ++x)
      if (Dark(p.At(x, y))) {
        box.left = std::min<int>(box.left, x);
        box.right = std::max<int>(box.right, x + 1);
        box.top = std::min<int>(box.top, y);
        box.bottom = std::max<int>(box.bottom, y + 1);
      }
  return box;
}

bool Blank(const RECT& box) { return box.right <= box.left; }

// The texts' places, in dialog units as "ABOUTDLG" lays them out.
RECT Place(HWND dialog, RECT units) {
  MapDialogRect(dialog, &units);
  return units;
}

TEST(Splash, AWhitePageWithTheWaitTextAndTheCentredVersionLinesUntilItsTimer) {
  HWND splash = CreateDialogParamA(nullptr, "ABOUTDLG", nullptr, &SplashDlgProc, 0);
  ASSERT_NE(splash, nullptr);
  ShowWindow(splash, SW_SHOW);
  const Picture p = Snapshot(splash);
  const RECT version = Place(splash, {8, 46, 212, 56});
  const RECT date = Place(splash, {8, 58, 212, 68});
  const RECT spare = Place(splash, {8, 70, 212, 92});
  const RECT wait = Place(splash, {8, 96, 212, 176});
  for (const RECT& line : {version, date}) {
    const RECT box = DarkBox(p, line);
    ASSERT_FALSE(Blank(box));
    // Centred: as much room on the left as on the right, to a pixel or two.
    EXPECT_NEAR(box.left - line.left, line.right - box.right, 2);
  }
  EXPECT_TRUE(Blank(DarkBox(p, spare)));
  const RECT text = DarkBox(p, wait);
  ASSERT_FALSE(Blank(text));
  EXPECT_LE(text.left - wait.left, 2);  // left-aligned from the top-left
  EXPECT_LE(text.top - wait.top, 4);
  // Everything else is the white page.
  EXPECT_EQ(p.At(2, 2), 0xFFFFFFu);
  EXPECT_EQ(p.At(p.width - 3, p.height - 3), 0xFFFFFFu);
  EXPECT_EQ(p.At(wait.right - 2, wait.bottom - 2), 0xFFFFFFu);

  SendMessageA(splash, WM_TIMER, kAboutTimer, 0);
  EXPECT_FALSE(IsWindow(splash));
}

TEST(AboutBox, TheCreditsRiseAPixelATickAndStartAgainAfterTheLast) {
  HWND about = CreateDialogParamA(nullptr, "ABOUTDLG", nullptr, &AboutDlgProc, 0);
  ASSERT_NE(about, nullptr);
  ShowWindow(about, SW_SHOW);
  const RECT area = Place(about, {8, 96, 212, 176});
  const RECT version = Place(about, {8, 46, 212, 56});
  auto tick = [&](int n) {
    for (int i = 0; i < n; ++i) SendMessageA(about, WM_TIMER, kAboutTimer, 0);
  };
  EXPECT_FALSE(Blank(DarkBox(Snapshot(about), version)));
  EXPECT_TRUE(Blank(DarkBox(Snapshot(about), area)));

  // The first line comes up from the area's bottom edge.
  int ticks = 0;
  while (Blank(DarkBox(Snapshot(about), area)) && ticks < 100) {
    tick(1);
    ++ticks;
  }
  ASSERT_LT(ticks, 100);
  const int firstShown = ticks;
  EXPECT_GE(DarkBox(Snapshot(about), area).bottom, area.bottom - 1);
  tick(30);
  const Picture early = Snapshot(about);
  const RECT before = DarkBox(early, area);
  tick(10);
  const RECT after = DarkBox(Snapshot(about), area);
  EXPECT_EQ(before.top - after.top, 10);

  // On to the end of the credits: the area empties, then the first line
  // comes up again and the credits repeat from the top.
  ticks = 0;
  while (!Blank(DarkBox(Snapshot(about), area)) && ticks < 5000) {
    tick(1);
    ++ticks;
  }
  ASSERT_LT(ticks, 5000) << "the credits never ended";
  // Every credit line takes at least ten pixels: the area stays lit until
  // the last has risen through it.
  static char credits[255][255];
  const int lines = BuildCreditLines(credits, 255);
  EXPECT_GT(ticks + 40, 10 * (lines - 2)) << "the credits stalled with the area empty";
  ticks = 0;
  while (Blank(DarkBox(Snapshot(about), area)) && ticks < 2000) {
    tick(1);
    ++ticks;
  }
  ASSERT_LT(ticks, 2000) << "the credits never started again";
  tick(30);
  const Picture again = Snapshot(about);
  // The same lines at the same places as 30 ticks after they first showed,
  // however the random block falls (it is further down).
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x)
      ASSERT_EQ(Dark(early.At(x, y)), Dark(again.At(x, y))) << x << "," << y << " first shown at " << firstShown;
  DestroyWindow(about);
}

}  // namespace
