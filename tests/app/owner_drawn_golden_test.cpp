// Owner-drawn menu items drawn flat and classic: an item with its icon, a
// checked one, a greyed and a selected one with key texts, and a separator,
// compared with golden pictures (PL3_UPDATE_GOLDEN=1 writes them afresh).
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/owner_drawn_menus.h"
#include "app/pending_services.h"
#include "draw/ui_colours.h"
#include "platform/gdi.h"
#include "platform/image_files.h"
#include "tests/support/test_paths.h"
#include "tests/support/test_windows.h"

namespace {

constexpr int kWidth = 200;

std::vector<std::uint32_t> DrawMenu(bool flat, int* height) {
  SystemParametersInfoA(SPI_SETFLATMENU, 0, flat ? reinterpret_cast<void*>(1) : nullptr, 0);
  // The interface colours as start-up fills them (the selected item's
  // background is one of them).
  InitUIColours();
  HMENU menu = CreatePopupMenu();
  AppendMenuA(menu, MF_STRING, 286, "&Save");  // an icon group of its own id
  AppendMenuA(menu, MF_STRING | MF_CHECKED, 2015, "&Target Cursor");
  AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu, MF_STRING | MF_GRAYED, 2016, "&Cross Hair Cursor");
  AppendMenuA(menu, MF_STRING, 448, "&Query");
  MakeMenuOwnerDrawn(menu, 0, 1);
  struct Row {
    UINT state;
  };
  const UINT states[5] = {0, ODS_CHECKED, 0, ODS_GRAYED, ODS_SELECTED};
  std::vector<RECT> rows;
  int y = 0;
  for (int i = 0; i < 5; ++i) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA | MIIM_ID;
    GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
    auto* record = reinterpret_cast<OwnerDrawnMenuRecord*>(info.dwItemData);
    if (i >= 3) {
      std::free(record->shortcut);
      record->shortcut = strdup(i == 3 ? "Ctrl+H" : "Q");
    }
    MEASUREITEMSTRUCT m{ODT_MENU, 0, info.wID, 0, 0, info.dwItemData};
    MeasureOwnerDrawnMenuItem(nullptr, &m);
    rows.push_back(RECT{0, y, kWidth, y + static_cast<int>(m.itemHeight)});
    y += static_cast<int>(m.itemHeight);
  }
  *height = y;
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = MakeTestDib(dc, kWidth, y, &bits);
  auto old = SelectObject(dc, bitmap);
  for (int i = 0; i < 5; ++i) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA | MIIM_ID;
    GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
    DRAWITEMSTRUCT d{ODT_MENU, 0, info.wID, ODA_DRAWENTIRE, states[i], reinterpret_cast<HWND>(menu), dc, rows[i],
                     info.dwItemData};
    DrawOwnerDrawnMenuItem(nullptr, &d);
  }
  std::vector<std::uint32_t> pixels(static_cast<const std::uint32_t*>(bits),
                                    static_cast<const std::uint32_t*>(bits) + static_cast<std::size_t>(kWidth) * y);
  for (std::uint32_t& p : pixels) p &= 0xFFFFFF;
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  FreeOwnerDrawnMenu(menu);
  DestroyMenu(menu);
  return pixels;
}

class OwnerDrawnGolden : public testing::TestWithParam<bool> {};

TEST_P(OwnerDrawnGolden, ItemsDrawAsTheGoldenPicture) {
  int height = 0;
  const std::vector<std::uint32_t> pixels = DrawMenu(GetParam(), &height);
  const std::string name = GetParam() ? "owner_drawn_flat.png" : "owner_drawn_classic.png";
  const std::string golden = std::string(PL3_APP_GOLDEN_DIR) + "/" + name;
  if (std::getenv("PL3_UPDATE_GOLDEN")) {
    ASSERT_TRUE(pl3::WritePngFile(pixels.data(), kWidth, height, kWidth, golden.c_str()));
    GTEST_SKIP() << "golden image written to " << golden;
  }
  const std::string actual = pl3test::ScratchDir() + "/" + name;
  ASSERT_TRUE(pl3::WritePngFile(pixels.data(), kWidth, height, kWidth, actual.c_str()));
  std::vector<std::uint32_t> want;
  int gw = 0, gh = 0;
  ASSERT_TRUE(pl3::ReadImageFile(golden.c_str(), want, gw, gh)) << "cannot read " << golden;
  ASSERT_EQ(gw, kWidth);
  ASSERT_EQ(gh, height);
  int differing = 0;
  for (std::size_t i = 0; i < want.size(); ++i) differing += (want[i] & 0xFFFFFF) != pixels[i];
  EXPECT_EQ(differing, 0) << "the picture differs from " << golden << "; see " << actual;
}

INSTANTIATE_TEST_SUITE_P(FlatAndClassic, OwnerDrawnGolden, testing::Bool());

}  // namespace
