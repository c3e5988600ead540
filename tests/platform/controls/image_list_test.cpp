// Image lists: adding from bitmaps, masks and icons, drawing, and the drag
// image over the screen.
#include <gtest/gtest.h>

#include <vector>

#include "platform/commctrl.h"
#include "platform/gdi.h"
#include "platform/resource_images.h"
#include "platform/user.h"

namespace {

// A memory context over a w x h bitmap filled with one colour.
struct Canvas {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ old = nullptr;
  Canvas(int w, int h, COLORREF fill) {
    HDC screen = GetDC(nullptr);
    dc = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    bitmap = CreateCompatibleBitmap(dc, w, h);
    old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(bitmap));
    RECT all{0, 0, w, h};
    HBRUSH brush = CreateSolidBrush(fill);
    FillRect(dc, &all, brush);
    DeleteObject(brush);
  }
  ~Canvas() {
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
};

// A top-down 32-bit bitmap of the given 0xAARRGGBB words.
HBITMAP Bitmap(const std::vector<std::uint32_t>& pixels, int w, int h) {
  return pl3::CreateDibFromPixels(pixels.data(), w, h);
}

TEST(ImageList, CreationChecksItsSizesAndDestroyedHandlesFail) {
  EXPECT_EQ(ImageList_Create(0, 16, ILC_COLOR32, 1, 1), nullptr);
  EXPECT_EQ(ImageList_Create(16, -1, ILC_COLOR32, 1, 1), nullptr);
  EXPECT_EQ(ImageList_Create(16, 16, ILC_COLOR32, -1, 1), nullptr);
  HIMAGELIST list = ImageList_Create(16, 8, ILC_COLOR4 | ILC_MASK, 12, 5);
  ASSERT_NE(list, nullptr);
  int cx = 0, cy = 0;
  EXPECT_TRUE(ImageList_GetIconSize(list, &cx, &cy));
  EXPECT_EQ(cx, 16);
  EXPECT_EQ(cy, 8);
  EXPECT_EQ(ImageList_GetImageCount(list), 0);
  // Growth: more images than the initial count fit.
  std::vector<std::uint32_t> strip(16 * 20 * 8, 0xFF000080);
  HBITMAP b = Bitmap(strip, 16 * 20, 8);
  EXPECT_EQ(ImageList_Add(list, b, nullptr), 0);
  EXPECT_EQ(ImageList_GetImageCount(list), 20);
  EXPECT_EQ(ImageList_Add(list, b, nullptr), 20);
  EXPECT_EQ(ImageList_GetImageCount(list), 40);
  EXPECT_TRUE(ImageList_Remove(list, 3));
  EXPECT_EQ(ImageList_GetImageCount(list), 39);
  EXPECT_FALSE(ImageList_Remove(list, 39));
  ASSERT_TRUE(ImageList_Destroy(list));
  EXPECT_FALSE(ImageList_Destroy(list));
  EXPECT_EQ(ImageList_Add(list, b, nullptr), -1);
  EXPECT_EQ(ImageList_GetImageCount(list), 0);
  Canvas c(16, 8, RGB(1, 2, 3));
  EXPECT_FALSE(ImageList_Draw(list, 0, c.dc, 0, 0, ILD_NORMAL));
  DeleteObject(b);
}

TEST(ImageList, AddMaskedKeysOutItsColourAndIndexesPastTheListDrawNothing) {
  HIMAGELIST list = ImageList_Create(4, 4, ILC_COLOR24 | ILC_MASK, 2, 1);
  // Two images side by side: the first with a grey (0xC0C0C0) corner.
  std::vector<std::uint32_t> pixels(8 * 4, 0x00204080);
  pixels[0] = 0x00C0C0C0;
  for (int y = 0; y < 4; ++y) pixels[y * 8 + 4 + 1] = 0x00FF0000;
  HBITMAP b = Bitmap(pixels, 8, 4);
  ASSERT_EQ(ImageList_AddMasked(list, b, RGB(0xC0, 0xC0, 0xC0)), 0);
  EXPECT_EQ(ImageList_GetImageCount(list), 2);
  Canvas c(10, 4, RGB(0, 255, 0));
  ASSERT_TRUE(ImageList_Draw(list, 0, c.dc, 0, 0, ILD_NORMAL));
  EXPECT_EQ(GetPixel(c.dc, 0, 0), RGB(0, 255, 0)) << "the key colour is transparent";
  EXPECT_EQ(GetPixel(c.dc, 1, 0), RGB(0x20, 0x40, 0x80));
  ASSERT_TRUE(ImageList_Draw(list, 1, c.dc, 5, 0, ILD_TRANSPARENT));
  EXPECT_EQ(GetPixel(c.dc, 6, 2), RGB(0xFF, 0, 0));
  EXPECT_FALSE(ImageList_Draw(list, 2, c.dc, 0, 0, ILD_NORMAL));
  EXPECT_FALSE(ImageList_Draw(list, -1, c.dc, 0, 0, ILD_NORMAL));
  // With a background colour set, ILD_NORMAL fills the transparent pixels.
  ImageList_SetBkColor(list, RGB(9, 9, 9));
  ASSERT_TRUE(ImageList_Draw(list, 0, c.dc, 0, 0, ILD_NORMAL));
  EXPECT_EQ(GetPixel(c.dc, 0, 0), RGB(9, 9, 9));
  // ILD_MASK draws the mask: black where opaque, white where not.
  ASSERT_TRUE(ImageList_Draw(list, 0, c.dc, 0, 0, ILD_MASK));
  EXPECT_EQ(GetPixel(c.dc, 0, 0), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(c.dc, 2, 2), RGB(0, 0, 0));
  // A list without ILC_MASK keeps the key colour.
  HIMAGELIST plain = ImageList_Create(4, 4, ILC_COLOR24, 2, 1);
  ImageList_AddMasked(plain, b, RGB(0xC0, 0xC0, 0xC0));
  ImageList_Draw(plain, 0, c.dc, 0, 0, ILD_NORMAL);
  EXPECT_EQ(GetPixel(c.dc, 0, 0), RGB(0xC0, 0xC0, 0xC0));
  ImageList_Destroy(plain);
  ImageList_Destroy(list);
  DeleteObject(b);
}

TEST(ImageList, DepthDecidesAlphaAndColours) {
  // One pixel half transparent red, one odd colour.
  std::vector<std::uint32_t> pixels = {0x80FF0000, 0xFF123456};
  HBITMAP b = Bitmap(pixels, 2, 1);
  struct Case {
    UINT flags;
    COLORREF first;   // drawn over white
    COLORREF second;
  } cases[] = {
      {ILC_COLOR32, RGB(255, 127, 127), RGB(0x12, 0x34, 0x56)},  // alpha kept
      {ILC_COLOR24, RGB(255, 0, 0), RGB(0x12, 0x34, 0x56)},      // opaque
      {ILC_COLOR16, RGB(255, 0, 0), RGB(0x10, 0x31, 0x52)},      // five bits a channel
      {ILC_COLOR4, RGB(255, 0, 0), RGB(0, 0, 0x80)},             // the nearest standard colour
  };
  for (const Case& c : cases) {
    HIMAGELIST list = ImageList_Create(1, 1, c.flags, 2, 0);
    ASSERT_EQ(ImageList_Add(list, b, nullptr), 0);
    Canvas canvas(2, 1, RGB(255, 255, 255));
    ImageList_Draw(list, 0, canvas.dc, 0, 0, ILD_NORMAL);
    ImageList_Draw(list, 1, canvas.dc, 1, 0, ILD_NORMAL);
    const COLORREF first = GetPixel(canvas.dc, 0, 0);
    EXPECT_NEAR(GetGValue(first), GetGValue(c.first), 1) << c.flags;
    EXPECT_EQ(GetRValue(first), GetRValue(c.first)) << c.flags;
    EXPECT_EQ(GetPixel(canvas.dc, 1, 0), c.second) << c.flags;
    ImageList_Destroy(list);
  }
  DeleteObject(b);
}

TEST(ImageList, IconsAreScaledToTheListAndReplaceInPlace) {
  std::vector<std::uint32_t> big(32 * 32, 0xFF0000FF);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 32; ++x) big[y * 32 + x] = 0;  // top half transparent
  HICON icon = pl3::CreateIconFromPixels(big.data(), 32, 32);
  HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 1);
  EXPECT_EQ(ImageList_AddIcon(list, icon), 0);
  EXPECT_EQ(ImageList_ReplaceIcon(list, 0, icon), 0);
  EXPECT_EQ(ImageList_ReplaceIcon(list, 5, icon), -1);
  EXPECT_EQ(ImageList_AddIcon(list, nullptr), -1);
  EXPECT_EQ(ImageList_GetImageCount(list), 1);
  Canvas c(16, 16, RGB(255, 255, 255));
  ImageList_Draw(list, 0, c.dc, 0, 0, ILD_TRANSPARENT);
  EXPECT_EQ(GetPixel(c.dc, 4, 4), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(c.dc, 4, 12), RGB(0, 0, 255));
  // Selected images are tinted towards the highlight colour.
  ImageList_Draw(list, 0, c.dc, 0, 0, ILD_SELECTED);
  EXPECT_NE(GetPixel(c.dc, 4, 12), RGB(0, 0, 255));
  HICON back = ImageList_GetIcon(list, 0, ILD_NORMAL);
  pl3::IconPixels p{};
  ASSERT_TRUE(pl3::GetIconPixels(back, &p));
  EXPECT_EQ(p.width, 16);
  EXPECT_EQ(p.pixels[12 * 16 + 4], 0xFF0000FFu);
  DestroyIcon(back);
  DestroyIcon(icon);
  ImageList_Destroy(list);
}

// The drag image shows over the windows under it and each move restores
// what it covered.
TEST(ImageList, DragImageMovesOverTheScreenAndRestoresWhatLayUnder) {
  HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 100, 100, 80, 60, nullptr, nullptr, nullptr,
                                nullptr);
  HDC wdc = GetDC(window);
  RECT all{0, 0, 80, 60};
  HBRUSH blue = CreateSolidBrush(RGB(0, 0, 200));
  FillRect(wdc, &all, blue);
  DeleteObject(blue);
  ReleaseDC(window, wdc);
  auto pixel = [&](int x, int y) {
    HDC dc = GetDC(window);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return c;
  };
  HIMAGELIST list = ImageList_Create(8, 8, ILC_COLOR24, 1, 0);
  std::vector<std::uint32_t> yellow(8 * 8, 0xFFFFFF00);
  HBITMAP b = Bitmap(yellow, 8, 8);
  ImageList_Add(list, b, nullptr);
  DeleteObject(b);

  EXPECT_FALSE(ImageList_DragEnter(window, 10, 10)) << "no drag begun";
  EXPECT_FALSE(ImageList_BeginDrag(list, 1, 0, 0));
  ASSERT_TRUE(ImageList_BeginDrag(list, 0, 2, 2));
  ASSERT_TRUE(ImageList_DragEnter(window, 20, 20));  // image at 18..26 of the window
  EXPECT_EQ(pixel(18, 18), RGB(255, 255, 0));
  EXPECT_EQ(pixel(25, 25), RGB(255, 255, 0));
  EXPECT_EQ(pixel(26, 26), RGB(0, 0, 200));
  ASSERT_TRUE(ImageList_DragMove(40, 30));
  EXPECT_EQ(pixel(18, 18), RGB(0, 0, 200)) << "the old place is restored";
  EXPECT_EQ(pixel(38, 28), RGB(255, 255, 0));
  ASSERT_TRUE(ImageList_DragShowNolock(FALSE));
  EXPECT_EQ(pixel(38, 28), RGB(0, 0, 200));
  ASSERT_TRUE(ImageList_DragShowNolock(TRUE));
  EXPECT_EQ(pixel(38, 28), RGB(255, 255, 0));
  ASSERT_TRUE(ImageList_DragLeave(window));
  EXPECT_EQ(pixel(38, 28), RGB(0, 0, 200));
  ImageList_EndDrag();
  EXPECT_FALSE(ImageList_DragMove(1, 1));
  // The image was copied: the list may go while a drag runs.
  ASSERT_TRUE(ImageList_BeginDrag(list, 0, 0, 0));
  ImageList_Destroy(list);
  ASSERT_TRUE(ImageList_DragEnter(window, 50, 10));
  EXPECT_EQ(pixel(51, 11), RGB(255, 255, 0));
  ImageList_EndDrag();
  EXPECT_EQ(pixel(51, 11), RGB(0, 0, 200));
  DestroyWindow(window);
}

}  // namespace
