// Painting into window framebuffers: what a paint may touch (the update
// region, clipped children and siblings), child windows painted over their
// parents, scrolling, the caret, and saving a framebuffer as a PNG.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/gdi.h"
#include "platform/user.h"
#include "tests/support/test_paths.h"

namespace {

// Paints its whole client area in the colour stored in its user data.
LRESULT CALLBACK FillProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    HBRUSH b = CreateSolidBrush(static_cast<COLORREF>(GetWindowLongPtrA(h, GWLP_USERDATA)));
    RECT rc;
    GetClientRect(h, &rc);
    FillRect(dc, &rc, b);
    DeleteObject(b);
    EndPaint(h, &ps);
    return 0;
  }
  if (m == WM_ERASEBKGND) return 1;
  return DefWindowProcA(h, m, w, l);
}

class PaintTest : public testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &FillProc;
    wc.lpszClassName = "Fill";
    ASSERT_NE(RegisterClassA(&wc), 0);
  }
  HWND Make(HWND parent, DWORD style, RECT r, COLORREF colour) {
    HWND h = CreateWindowExA(0, "Fill", "", style, r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
                             parent ? reinterpret_cast<HMENU>(1) : nullptr, nullptr, nullptr);
    SetWindowLongPtrA(h, GWLP_USERDATA, static_cast<LONG_PTR>(colour));
    return h;
  }
  static std::uint32_t At(HWND h, int x, int y) {
    const pl3::PixelSurface* s = pl3::WindowSurface(h);
    return s->pixels[static_cast<size_t>(y) * static_cast<size_t>(s->stride) + static_cast<size_t>(x)];
  }
};

TEST_F(PaintTest, AChildIsPaintedOverItsParentAndAPaintTouchesOnlyTheUpdateRegion) {
  HWND top = Make(nullptr, WS_POPUP | WS_VISIBLE, RECT{0, 0, 100, 100}, RGB(255, 0, 0));
  HWND child = Make(top, WS_CHILD | WS_VISIBLE, RECT{10, 10, 30, 30}, RGB(0, 255, 0));
  pl3::PumpMessages();
  EXPECT_EQ(At(top, 5, 5), 0xFF0000u);
  EXPECT_EQ(At(top, 15, 15), 0x00FF00u);
  // Repaint only a strip of the parent in another colour: outside it nothing changes.
  SetWindowLongPtrA(top, GWLP_USERDATA, static_cast<LONG_PTR>(RGB(0, 0, 255)));
  RECT strip{50, 0, 60, 100};
  InvalidateRect(top, &strip, FALSE);
  pl3::PumpMessages();
  EXPECT_EQ(At(top, 55, 5), 0x0000FFu);
  EXPECT_EQ(At(top, 45, 5), 0xFF0000u);
  EXPECT_EQ(At(top, 15, 15), 0x00FF00u);
  // Two separate invalid rectangles: the gap between them is left alone.
  RECT a{0, 80, 10, 90}, b{30, 80, 40, 90};
  InvalidateRect(top, &a, FALSE);
  InvalidateRect(top, &b, FALSE);
  pl3::PumpMessages();
  EXPECT_EQ(At(top, 5, 85), 0x0000FFu);
  EXPECT_EQ(At(top, 35, 85), 0x0000FFu);
  EXPECT_EQ(At(top, 20, 85), 0xFF0000u);
  (void)child;
}

TEST_F(PaintTest, ClipChildrenKeepsAParentsDrawingOffItsChildren) {
  HWND top = Make(nullptr, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, RECT{0, 0, 100, 100}, RGB(255, 0, 0));
  HWND child = Make(top, WS_CHILD | WS_VISIBLE, RECT{10, 10, 30, 30}, RGB(0, 255, 0));
  pl3::PumpMessages();
  HDC dc = GetDC(top);
  RECT all{0, 0, 100, 100};
  FillRect(dc, &all, reinterpret_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  ReleaseDC(top, dc);
  EXPECT_EQ(At(top, 5, 5), 0x000000u);
  EXPECT_EQ(At(top, 15, 15), 0x00FF00u);
  // A child's context starts at its own client corner and stops at its edge.
  dc = GetDC(child);
  FillRect(dc, &all, reinterpret_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  ReleaseDC(child, dc);
  EXPECT_EQ(At(top, 10, 10), 0xFFFFFFu);
  EXPECT_EQ(At(top, 29, 29), 0xFFFFFFu);
  EXPECT_EQ(At(top, 30, 30), 0x000000u);
}

TEST_F(PaintTest, HiddenWindowsAreNotPaintedAndHidingUncoversTheParent) {
  HWND top = Make(nullptr, WS_POPUP | WS_VISIBLE, RECT{0, 0, 100, 100}, RGB(255, 0, 0));
  HWND child = Make(top, WS_CHILD, RECT{10, 10, 30, 30}, RGB(0, 255, 0));
  pl3::PumpMessages();
  EXPECT_EQ(At(top, 15, 15), 0xFF0000u);
  ShowWindow(child, SW_SHOW);
  pl3::PumpMessages();
  EXPECT_EQ(At(top, 15, 15), 0x00FF00u);
  ShowWindow(child, SW_HIDE);
  pl3::PumpMessages();
  EXPECT_EQ(At(top, 15, 15), 0xFF0000u);
}

TEST_F(PaintTest, ScrollingMovesPixelsAndInvalidatesTheUncoveredStrip) {
  HWND top = Make(nullptr, WS_POPUP | WS_VISIBLE, RECT{0, 0, 50, 50}, RGB(255, 0, 0));
  pl3::PumpMessages();
  HDC dc = GetDC(top);
  RECT mark{0, 0, 5, 5};
  FillRect(dc, &mark, reinterpret_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  ReleaseDC(top, dc);
  RECT uncovered{};
  EXPECT_EQ(ScrollWindowEx(top, 10, 20, nullptr, nullptr, nullptr, &uncovered, SW_INVALIDATE), COMPLEXREGION);
  EXPECT_EQ(At(top, 12, 22), 0xFFFFFFu);  // the mark moved
  RECT u;
  ASSERT_TRUE(GetUpdateRect(top, &u, FALSE));
  EXPECT_EQ(u.left, 0);
  EXPECT_EQ(u.top, 0);
  EXPECT_EQ(u.right, 50);  // the top band is 50 wide, the left band 20 tall
  EXPECT_EQ(uncovered.bottom, 50);
}

TEST_F(PaintTest, TheCaretIsAnXorBarThatPaintingDoesNotSmear) {
  HWND top = Make(nullptr, WS_POPUP | WS_VISIBLE, RECT{0, 0, 50, 50}, RGB(255, 0, 0));
  pl3::PumpMessages();
  ASSERT_TRUE(CreateCaret(top, nullptr, 2, 10));
  SetCaretPos(5, 5);
  EXPECT_EQ(At(top, 5, 5), 0xFF0000u);  // hidden until shown
  ShowCaret(top);
  EXPECT_EQ(At(top, 5, 5), 0x00FFFFu);
  // A repaint under the caret takes it off first and puts it back after.
  InvalidateRect(top, nullptr, FALSE);
  pl3::PumpMessages();
  EXPECT_EQ(At(top, 5, 5), 0x00FFFFu);
  EXPECT_EQ(At(top, 7, 5), 0xFF0000u);
  // It blinks on the message clock.
  pl3::AdvanceTestClock(GetCaretBlinkTime());
  pl3::PumpMessages();
  EXPECT_EQ(At(top, 5, 5), 0xFF0000u);
  HideCaret(top);
  DestroyCaret();
  EXPECT_EQ(At(top, 5, 5), 0xFF0000u);
}

TEST_F(PaintTest, ResizingKeepsTheFramebufferTheWindowsSizeAndSavesAsPng) {
  HWND top = Make(nullptr, WS_POPUP | WS_VISIBLE, RECT{0, 0, 40, 30}, RGB(0, 0, 255));
  pl3::PumpMessages();
  MoveWindow(top, 0, 0, 80, 60, TRUE);
  pl3::PumpMessages();
  const pl3::PixelSurface* s = pl3::WindowSurface(top);
  EXPECT_EQ(s->width, 80);
  EXPECT_EQ(s->height, 60);
  EXPECT_EQ(At(top, 79, 59), 0x0000FFu);
  std::string path = pl3test::ScratchDir() + "/window.png";
  ASSERT_TRUE(pl3::SaveWindowPng(top, path.c_str()));
  EXPECT_GT(std::filesystem::file_size(path), 0u);
}

TEST_F(PaintTest, TheScreenContextMergesOnlyTheRowsThatChanged) {
  HWND a = Make(nullptr, WS_POPUP | WS_VISIBLE, RECT{10, 10, 110, 70}, RGB(255, 0, 0));
  HWND b = Make(nullptr, WS_POPUP | WS_VISIBLE, RECT{80, 40, 180, 100}, RGB(0, 0, 255));
  pl3::PumpMessages();
  HDC screen = GetDC(nullptr);
  EXPECT_EQ(GetPixel(screen, 15, 15), RGB(255, 0, 0));  // the first use reads every window in
  std::uint64_t before = pl3::ScreenRowsMerged();
  EXPECT_EQ(GetPixel(screen, 90, 50), RGB(0, 0, 255));
  EXPECT_EQ(pl3::ScreenRowsMerged(), before);  // nothing changed: nothing merged
  SetPixel(screen, 20, 20, RGB(0, 255, 0));
  EXPECT_EQ(GetPixel(screen, 20, 20), RGB(0, 255, 0));
  EXPECT_EQ(pl3::ScreenRowsMerged(), before + 1);  // the one row drawn, into A
  // A window drawing two rows through its own context: those two come back.
  HDC own = GetDC(b);
  SetPixel(own, 3, 3, RGB(255, 255, 0));
  SetPixel(own, 4, 9, RGB(255, 255, 0));
  ReleaseDC(b, own);
  before = pl3::ScreenRowsMerged();
  EXPECT_EQ(GetPixel(screen, 83, 43), RGB(255, 255, 0));
  EXPECT_EQ(pl3::ScreenRowsMerged(), before + 2);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(At(a, 10, 10), 0x00FF00u);
}

TEST_F(PaintTest, ReleaseDCLetsGoOnlyOfContextsGetDCGave) {
  HWND top = Make(nullptr, WS_POPUP | WS_VISIBLE, RECT{0, 0, 20, 20}, RGB(0, 0, 255));
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 4, 4);
  HBITMAP old = SelectObject(memory, bitmap);
  // A memory context is not ReleaseDC's to end: it stays usable until DeleteDC.
  EXPECT_EQ(ReleaseDC(nullptr, memory), 0);
  EXPECT_EQ(ReleaseDC(top, memory), 0);
  EXPECT_EQ(SetPixel(memory, 1, 1, RGB(10, 20, 30)), RGB(10, 20, 30));
  EXPECT_EQ(GetPixel(memory, 1, 1), RGB(10, 20, 30));
  SelectObject(memory, old);
  DeleteObject(bitmap);
  EXPECT_TRUE(DeleteDC(memory));
  EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
  EXPECT_EQ(ReleaseDC(nullptr, screen), 0);  // already released
  HDC window = GetDC(top);
  EXPECT_EQ(ReleaseDC(top, window), 1);
  EXPECT_EQ(ReleaseDC(top, window), 0);
}

// The screen context over two overlapping windows: B (front) at (80, 40)
// partly covers A at (10, 10).
TEST_F(PaintTest, TheScreenContextDrawsIntoAndReadsTheWindowUnderEachPoint) {
  HWND a = Make(nullptr, WS_POPUP | WS_VISIBLE, RECT{10, 10, 110, 70}, RGB(255, 0, 0));
  HWND b = Make(nullptr, WS_POPUP | WS_VISIBLE, RECT{80, 40, 180, 100}, RGB(0, 0, 255));
  pl3::PumpMessages();
  ASSERT_EQ(At(a, 90 - 10, 50 - 10), 0xFF0000u);
  HDC screen = GetDC(nullptr);
  ASSERT_NE(screen, nullptr);
  // Reading: each point shows the topmost window there.
  EXPECT_EQ(GetPixel(screen, 15, 15), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(screen, 90, 50), RGB(0, 0, 255));
  EXPECT_EQ(GetPixel(screen, 170, 95), RGB(0, 0, 255));
  // Writing: a line across both windows and the desktop beyond them.
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
  HPEN oldPen = SelectObject(screen, pen);
  MoveToEx(screen, 0, 50, nullptr);
  LineTo(screen, 200, 50);
  // Meanwhile A draws through its own context; the screen context's next
  // call must not put back what it read before.
  HDC own = GetDC(a);
  SetPixel(own, 5, 5, RGB(255, 255, 0));
  ReleaseDC(a, own);
  EXPECT_EQ(GetPixel(screen, 15, 15), RGB(255, 255, 0));
  SetPixel(screen, 12, 12, RGB(0, 255, 0));
  SelectObject(screen, oldPen);
  DeleteObject(pen);
  ReleaseDC(nullptr, screen);

  EXPECT_EQ(At(a, 0, 40), 0x000000u);        // screen (10, 50)
  EXPECT_EQ(At(a, 69, 40), 0x000000u);       // screen (79, 50): the last point of A in front
  EXPECT_EQ(At(a, 70, 40), 0xFF0000u);       // screen (80, 50) is B's: A's hidden pixel stays
  EXPECT_EQ(At(a, 70, 39), 0xFF0000u);
  EXPECT_EQ(At(b, 0, 10), 0x000000u);        // screen (80, 50)
  EXPECT_EQ(At(b, 99, 10), 0x000000u);       // screen (179, 50)
  EXPECT_EQ(At(b, 50, 11), 0x0000FFu);
  EXPECT_EQ(At(a, 5, 5), 0xFFFF00u);         // A's own drawing survived
  EXPECT_EQ(At(a, 2, 2), 0x00FF00u);         // screen (12, 12)

  // A screen-to-memory copy reads the same composition.
  HDC screen2 = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(memory, 4, 1);
  HBITMAP old = SelectObject(memory, bitmap);
  ASSERT_TRUE(BitBlt(memory, 0, 0, 4, 1, screen2, 78, 45, SRCCOPY));
  EXPECT_EQ(GetPixel(memory, 0, 0), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(memory, 1, 0), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(memory, 2, 0), RGB(0, 0, 255));
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen2);
}

}  // namespace

namespace {

TEST_F(PaintTest, AnOwnContextKeepsItsSettingsAndFollowsItsWindow) {
  WNDCLASSA wc{};
  wc.style = CS_OWNDC;
  wc.lpfnWndProc = &DefWindowProcA;
  wc.lpszClassName = "Own_Dc";
  ASSERT_NE(RegisterClassA(&wc), 0);
  HWND top = Make(nullptr, WS_POPUP | WS_VISIBLE, RECT{0, 0, 100, 100}, RGB(255, 255, 255));
  pl3::PumpMessages();
  HWND own = CreateWindowExA(0, "Own_Dc", "", WS_CHILD | WS_VISIBLE, 10, 10, 30, 30, top, nullptr, nullptr, nullptr);
  HWND plain = Make(top, WS_CHILD | WS_VISIBLE, RECT{50, 50, 80, 80}, RGB(255, 255, 255));
  HDC first = GetDC(own);
  ASSERT_NE(first, nullptr);
  SetTextColor(first, RGB(1, 2, 3));
  SetBkMode(first, TRANSPARENT);
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(0, 0, 255));
  SelectObject(first, pen);
  EXPECT_EQ(ReleaseDC(own, first), 1);
  HDC again = GetDC(own);
  EXPECT_EQ(again, first);
  EXPECT_EQ(GetTextColor(again), RGB(1, 2, 3));
  EXPECT_EQ(GetBkMode(again), TRANSPARENT);
  EXPECT_EQ(WindowFromDC(again), own);
  ReleaseDC(own, again);
  EXPECT_EQ(WindowFromDC(again), own);  // released, it is still the window's
  // BeginPaint hands out the same context, still drawing with the pen.
  InvalidateRect(own, nullptr, FALSE);
  PAINTSTRUCT ps;
  HDC painting = BeginPaint(own, &ps);
  EXPECT_EQ(painting, first);
  MoveToEx(painting, 0, 5, nullptr);
  LineTo(painting, 10, 5);
  EndPaint(own, &ps);
  EXPECT_EQ(At(top, 15, 15), 0x0000FFu);
  // Moved, it draws where the window now is.
  MoveWindow(own, 20, 60, 20, 20, FALSE);
  HDC moved = GetDC(own);
  SetPixel(moved, 0, 0, RGB(0, 255, 0));
  SetPixel(moved, 25, 0, RGB(0, 255, 0));  // outside the window: clipped
  ReleaseDC(own, moved);
  EXPECT_EQ(At(top, 20, 60), 0x00FF00u);
  EXPECT_EQ(At(top, 45, 60), 0xFFFFFFu);
  // Other windows' contexts start from the defaults each time.
  HDC other = GetDC(plain);
  SetTextColor(other, RGB(9, 9, 9));
  ReleaseDC(plain, other);
  other = GetDC(plain);
  EXPECT_EQ(GetTextColor(other), RGB(0, 0, 0));
  ReleaseDC(plain, other);
  DestroyWindow(own);
  EXPECT_EQ(GetTextColor(first), CLR_INVALID);  // gone with its window
  DeleteObject(pen);
}

}  // namespace
