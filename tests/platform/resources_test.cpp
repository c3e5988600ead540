#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/dialogs.h"
#include "platform/dynlib.h"
#include "platform/kernel_base.h"
#include "platform/menus.h"
#include "platform/resource_images.h"
#include "platform/resources.h"
#include "tests/support/test_paths.h"

namespace {

const DialogTemplate kSharedDlg{"SharedDlg", 0, "Main", 0, 0, 100, 50, WS_POPUP | WS_CAPTION, {}};
const bool kRegistered = pl3::RegisterDialogTemplate(&kSharedDlg);

std::string Fixture(const char* name) { return std::string(PL3_RESOURCE_FIXTURES) + "/" + name; }

std::vector<BYTE> Bytes(HMODULE module, LPCSTR name, LPCSTR type) {
  HRSRC found = FindResource(module, name, type);
  if (!found) return {};
  const auto* p = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
  return std::vector<BYTE>(p, p + SizeofResource(module, found));
}

TEST(Resources, IconGroupAndImagesHaveTheStoredLayouts) {
  const std::vector<BYTE> group = Bytes(nullptr, "APPICON", RT_GROUP_ICON);
  ASSERT_EQ(group.size(), sizeof(GroupIconHeader) + 2 * sizeof(GroupIconEntry));
  GroupIconHeader header;
  std::memcpy(&header, group.data(), sizeof header);
  EXPECT_EQ(header.reserved, 0);
  EXPECT_EQ(header.type, 1);
  ASSERT_EQ(header.count, 2);
  GroupIconEntry entries[2];
  std::memcpy(entries, group.data() + sizeof header, sizeof entries);
  EXPECT_EQ(entries[0].width, 16);
  EXPECT_EQ(entries[0].height, 16);
  EXPECT_EQ(entries[1].width, 32);
  EXPECT_EQ(entries[0].bitCount, 32);
  EXPECT_EQ(entries[0].planes, 1);

  const std::vector<BYTE> image = Bytes(nullptr, MAKEINTRESOURCE(entries[0].id), RT_ICON);
  ASSERT_EQ(image.size(), entries[0].bytesInRes);
  ASSERT_EQ(image.size(), 40u + 16 * 16 * 4 + 16 * 4);  // header, colour rows, mask rows of four bytes
  BITMAPINFOHEADER bih;
  std::memcpy(&bih, image.data(), sizeof bih);
  EXPECT_EQ(bih.biSize, 40u);
  EXPECT_EQ(bih.biWidth, 16);
  EXPECT_EQ(bih.biHeight, 32);  // colour and mask
  EXPECT_EQ(bih.biBitCount, 32);
  // The first stored row is the bottom one (y 15): pixel x has red 16x, green 240, blue 0x80;
  // column 0 is transparent.
  const BYTE* px = image.data() + 40;
  EXPECT_EQ(std::vector<BYTE>(px, px + 8), (std::vector<BYTE>{0x80, 240, 0, 0, 0x80, 240, 16, 255}));
  const BYTE* mask = image.data() + 40 + 16 * 16 * 4;
  EXPECT_EQ(mask[0], 0x80);  // only the transparent column is set
  EXPECT_EQ(mask[1], 0x00);
}

struct LookupCase {
  const char* name;  // null: use number
  int number;
  LPCSTR type;
  bool found;
  DWORD error;
};

TEST(Resources, FindsByNameInAnyCaseOrByNumber) {
  const LookupCase cases[] = {
      {"appicon", 0, RT_GROUP_ICON, true, 0},
      {"Zeta", 0, RT_GROUP_ICON, true, 0},
      {"#20", 0, RT_GROUP_ICON, true, 0},
      {nullptr, 3, RT_GROUP_ICON, true, 0},
      {"pencil", 0, RT_GROUP_CURSOR, true, 0},
      {"strip", 0, RT_BITMAP, true, 0},
      {nullptr, 300, RT_BITMAP, true, 0},
      {"LOGO", 0, "png", true, 0},
      {"mainmenu", 0, RT_MENU, true, 0},
      {"SharedDlg", 0, RT_DIALOG, true, 0},
      {"Nothing", 0, RT_GROUP_ICON, false, ERROR_RESOURCE_NAME_NOT_FOUND},
      {nullptr, 21, RT_GROUP_ICON, false, ERROR_RESOURCE_NAME_NOT_FOUND},
      {"Logo", 0, RT_BITMAP, false, ERROR_RESOURCE_NAME_NOT_FOUND},
      {"Logo", 0, "JPEG", false, ERROR_RESOURCE_TYPE_NOT_FOUND},
  };
  for (const LookupCase& c : cases) {
    SCOPED_TRACE(c.name ? c.name : std::to_string(c.number));
    SetLastError(0);
    HRSRC found = FindResource(nullptr, c.name ? c.name : MAKEINTRESOURCE(c.number), c.type);
    EXPECT_EQ(found != nullptr, c.found);
    if (!c.found) {
      EXPECT_EQ(GetLastError(), c.error);
    }
  }
  EXPECT_EQ(FindResource(GetModuleHandle(nullptr), "appicon", RT_GROUP_ICON),
            FindResource(nullptr, "APPICON", RT_GROUP_ICON));
}

BOOL CALLBACK CollectName(HMODULE, LPCSTR, LPSTR name, LONG_PTR param) {
  auto* out = reinterpret_cast<std::vector<std::string>*>(param);
  out->push_back(IS_INTRESOURCE(name) ? "#" + std::to_string(reinterpret_cast<std::uintptr_t>(name)) : name);
  return out->size() < 3 || out->front() != "stop";
}

TEST(Resources, EnumeratesNamesFirstThenNumbersAscending) {
  std::vector<std::string> names;
  ASSERT_TRUE(EnumResourceNames(nullptr, RT_GROUP_ICON, CollectName, reinterpret_cast<LONG_PTR>(&names)));
  EXPECT_EQ(names, (std::vector<std::string>{"AppIcon", "zeta", "#3", "#20"}));
  names.assign(1, "stop");
  EnumResourceNames(nullptr, RT_GROUP_ICON, CollectName, reinterpret_cast<LONG_PTR>(&names));
  EXPECT_EQ(names.size(), 3u);  // the callback's FALSE ends the walk
  EXPECT_FALSE(EnumResourceNames(nullptr, "JPEG", CollectName, reinterpret_cast<LONG_PTR>(&names)));
}

TEST(Resources, MenuIsTheBinaryTemplate) {
  std::vector<WORD> expected = {0, 0, 0x10};  // header, then the "&File" popup
  auto text = [&](std::u16string s) {
    for (char16_t c : s) expected.push_back(c);
    expected.push_back(0);
  };
  text(u"&File");
  expected.insert(expected.end(), {0, 101});
  text(u"&Open...\tCtrl+O");
  expected.insert(expected.end(), {0x800, 0});
  text(u"");
  expected.push_back(0x10 | 0x80);  // the last item of its level
  text(u"Recent");
  expected.insert(expected.end(), {0x1 | 0x8 | 0x80, 201});
  text(u"Caf\u00e9");
  expected.insert(expected.end(), {0x4000 | 0x80, 900});
  text(u"&Help");
  const std::vector<BYTE> bytes = Bytes(nullptr, "MainMenu", RT_MENU);
  ASSERT_EQ(bytes.size(), expected.size() * 2);
  std::vector<WORD> words(expected.size());
  std::memcpy(words.data(), bytes.data(), bytes.size());
  EXPECT_EQ(words, expected);
}

TEST(Resources, LoadMenuBuildsTheMenuResource) {
  HMENU menu = LoadMenuA(nullptr, "mainmenu");
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(GetMenuItemCount(menu), 2);
  HMENU file = GetSubMenu(menu, 0);
  ASSERT_EQ(GetMenuItemCount(file), 3);
  EXPECT_EQ(GetMenuItemID(file, 0), 101u);
  EXPECT_EQ(GetMenuState(file, 1, MF_BYPOSITION), MF_SEPARATOR);
  EXPECT_EQ(GetMenuState(menu, 201, MF_BYCOMMAND), MF_GRAYED | MF_CHECKED);
  char text[16] = "";
  GetMenuStringA(menu, 201, text, sizeof text, MF_BYCOMMAND);
  EXPECT_STREQ(text, "Caf\xe9");  // in the program's code page
  EXPECT_EQ(GetMenuState(menu, 900, MF_BYCOMMAND), MF_HELP);
  DestroyMenu(menu);
  SetLastError(0);
  EXPECT_EQ(LoadMenuA(nullptr, "NoSuchMenu"), nullptr);
  EXPECT_NE(GetLastError(), 0u);
}

TEST(Resources, PngResourceHoldsTheFileBytes) {
  const std::string file = pl3test::ReadFileBytes(Fixture("logo.png"));
  const std::vector<BYTE> bytes = Bytes(nullptr, "Logo", "PNG");
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), file);
}

std::vector<std::uint32_t> BitmapPixels(HBITMAP bitmap) {
  const pl3::PixelSurface* s = pl3::GetBitmapSurface(bitmap);
  std::vector<std::uint32_t> out;
  if (!s) return out;
  for (int y = 0; y < s->height; ++y)
    for (int x = 0; x < s->width; ++x) out.push_back(s->pixels[y * s->stride + x] & 0xFFFFFF);
  return out;
}

TEST(Resources, BitmapsLoadAsDibSectionsAtTheAskedSize) {
  HBITMAP plain = LoadBitmap(nullptr, "Strip");
  ASSERT_NE(plain, nullptr);
  DIBSECTION ds{};
  ASSERT_EQ(GetObject(plain, sizeof ds, &ds), static_cast<int>(sizeof ds));
  EXPECT_EQ(ds.dsBm.bmWidth, 4);
  EXPECT_EQ(ds.dsBm.bmHeight, 2);
  EXPECT_EQ(ds.dsBmih.biBitCount, 32);
  EXPECT_EQ(BitmapPixels(plain), (std::vector<std::uint32_t>{0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0x00FFFF,
                                                              0xFF00FF, 0x0A141E, 0xC86432}));
  auto* sized = static_cast<HBITMAP>(LoadImage(nullptr, MAKEINTRESOURCE(300), IMAGE_BITMAP, 8, 2, LR_CREATEDIBSECTION));
  ASSERT_NE(sized, nullptr);
  const auto wide = BitmapPixels(sized);
  ASSERT_EQ(wide.size(), 16u);
  EXPECT_EQ(wide[0], 0xFF0000u);
  EXPECT_EQ(wide[1], 0xFF0000u);
  EXPECT_EQ(wide[2], 0x00FF00u);
  EXPECT_EQ(wide[15], 0xC86432u);
  DeleteObject(plain);
  DeleteObject(sized);
  SetLastError(0);
  EXPECT_EQ(LoadBitmap(nullptr, "Missing"), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);
}

TEST(Resources, IconsPickTheirSizeAndScale) {
  pl3::IconPixels p{};
  HICON exact = static_cast<HICON>(LoadImage(nullptr, "AppIcon", IMAGE_ICON, 16, 16, 0));
  ASSERT_TRUE(pl3::GetIconPixels(exact, &p));
  EXPECT_EQ(p.width, 16);
  EXPECT_EQ(p.pixels[0], 0x00000080u);                 // top-left: transparent column
  EXPECT_EQ(p.pixels[15 * 16 + 1], 0xFF10F080u);       // bottom row, x 1
  HICON larger = static_cast<HICON>(LoadImage(nullptr, "AppIcon", IMAGE_ICON, 24, 24, 0));
  ASSERT_TRUE(pl3::GetIconPixels(larger, &p));  // the 16 image (largest smaller) scaled up
  EXPECT_EQ(p.width, 24);
  EXPECT_EQ(p.pixels[23 * 24 + 23], 0xFFF0F080u);
  HICON standard = LoadIcon(nullptr, "AppIcon");
  ASSERT_TRUE(pl3::GetIconPixels(standard, &p));
  EXPECT_EQ(p.width, 32);
  EXPECT_EQ(p.pixels[0], 0x80204060u);
  EXPECT_EQ(LoadIcon(nullptr, "appicon"), standard);  // shared
  EXPECT_TRUE(DestroyIcon(exact));
  EXPECT_FALSE(pl3::GetIconPixels(exact, &p));
  EXPECT_FALSE(DestroyIcon(exact));
  EXPECT_TRUE(DestroyIcon(standard));
  EXPECT_TRUE(pl3::GetIconPixels(standard, &p));  // shared icons stay
  DestroyIcon(larger);
}

TEST(Resources, StockIconsAndCursors) {
  for (LPCSTR id : {IDI_APPLICATION, IDI_HAND, IDI_QUESTION, IDI_WARNING, IDI_INFORMATION, IDI_WINLOGO, IDI_SHIELD}) {
    HICON icon = LoadIcon(nullptr, id);
    pl3::IconPixels p{};
    ASSERT_TRUE(pl3::GetIconPixels(icon, &p));
    EXPECT_EQ(p.width, 32);
    EXPECT_EQ(LoadIcon(nullptr, id), icon);
  }
  EXPECT_NE(LoadIcon(nullptr, IDI_ERROR), LoadIcon(nullptr, IDI_INFORMATION));
  EXPECT_EQ(LoadCursor(nullptr, IDC_ARROW), reinterpret_cast<HCURSOR>(32512));
  HCURSOR pencil = LoadCursor(GetModuleHandle(nullptr), "PENCIL");
  pl3::IconPixels p{};
  ASSERT_TRUE(pl3::GetIconPixels(reinterpret_cast<HICON>(pencil), &p));
  EXPECT_EQ(p.width, 32);  // the system cursor size
  EXPECT_EQ(p.hotSpot.x, 4);
  EXPECT_EQ(p.hotSpot.y, 24);
  SetLastError(0);
  EXPECT_EQ(LoadCursor(GetModuleHandle(nullptr), "Pen"), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);
}

std::uint32_t PixelAt(HDC dc, int x, int y) { return GetPixel(dc, x, y); }

TEST(Resources, DrawIconExBlendsAlphaOverTheBackground) {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP target = CreateCompatibleBitmap(dc, 40, 40);
  HBITMAP old = SelectObject(dc, target);
  const RECT all{0, 0, 40, 40};
  FillRect(dc, &all, reinterpret_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  HICON small = static_cast<HICON>(LoadImage(nullptr, "AppIcon", IMAGE_ICON, 16, 16, 0));
  ASSERT_TRUE(DrawIconEx(dc, 2, 3, small, 0, 0, 0, nullptr, DI_NORMAL));
  EXPECT_EQ(PixelAt(dc, 2, 3), RGB(255, 255, 255));              // transparent column
  EXPECT_EQ(PixelAt(dc, 3, 3), RGB(16, 0, 0x80));                // opaque pixel x 1, y 0
  EXPECT_EQ(PixelAt(dc, 17, 18), RGB(240, 240, 0x80));           // bottom-right
  EXPECT_EQ(PixelAt(dc, 18, 18), RGB(255, 255, 255));            // outside
  HICON half = LoadIcon(nullptr, "AppIcon");                     // 32 x 32, alpha 0x80
  ASSERT_TRUE(DrawIconEx(dc, 0, 20, half, 8, 8, 0, nullptr, DI_NORMAL));
  // 0x20 over white at alpha 0x80: 0x20 * 128 / 255 + 255 * 127 / 255 = 16 + 127
  EXPECT_EQ(PixelAt(dc, 7, 27), RGB(16 + 127, 32 + 127, 48 + 127));
  EXPECT_EQ(PixelAt(dc, 8, 27), RGB(255, 255, 255));
  ASSERT_TRUE(DrawIconEx(dc, 20, 0, small, 0, 0, 0, nullptr, DI_MASK));
  EXPECT_EQ(PixelAt(dc, 20, 0), RGB(255, 255, 255));
  EXPECT_EQ(PixelAt(dc, 21, 0), RGB(0, 0, 0));
  DestroyIcon(small);
  EXPECT_FALSE(DrawIconEx(dc, 2, 3, small, 0, 0, 0, nullptr, DI_NORMAL));
  SelectObject(dc, old);
  DeleteObject(target);
  DeleteDC(dc);
}

// The plug-in has resources and a dialog named like the program's.
TEST(Resources, EachModuleFindsItsOwn) {
  ASSERT_TRUE(kRegistered);
  HMODULE plugin = LoadLibrary(PL3_RESOURCE_PLUGIN);
  ASSERT_NE(plugin, nullptr) << pl3::LastDynlibError();
  EXPECT_EQ(Bytes(plugin, "Logo", "PNG").size(), pl3test::ReadFileBytes(Fixture("plugin_logo.png")).size());
  EXPECT_EQ(Bytes(nullptr, "Logo", "PNG").size(), pl3test::ReadFileBytes(Fixture("logo.png")).size());
  EXPECT_EQ(FindResource(plugin, "MainMenu", RT_MENU), nullptr);
  std::vector<std::string> names;
  EnumResourceNames(plugin, RT_GROUP_ICON, CollectName, reinterpret_cast<LONG_PTR>(&names));
  EXPECT_EQ(names, std::vector<std::string>{"AppIcon"});

  auto caption = [](HMODULE module, LPCSTR name) -> std::string {
    HRSRC found = FindResource(module, name, RT_DIALOG);
    if (!found) return "(none)";
    return static_cast<const DialogTemplate*>(LockResource(LoadResource(module, found)))->caption;
  };
  EXPECT_EQ(caption(plugin, "shareddlg"), "Plugin");
  EXPECT_EQ(caption(nullptr, "SharedDlg"), "Main");
  EXPECT_EQ(caption(plugin, MAKEINTRESOURCE(77)), "Plugin only");
  EXPECT_EQ(caption(nullptr, "PluginDlg"), "(none)");
  // Dialogs by name through each module's handle.
  auto dialogCaption = [](HMODULE module) {
    HWND dialog = CreateDialogParam(module, "SharedDlg", nullptr, nullptr, 0);
    char text[32] = "";
    GetWindowTextA(dialog, text, sizeof text);
    DestroyWindow(dialog);
    return std::string(text);
  };
  EXPECT_EQ(dialogCaption(plugin), "Plugin");
  EXPECT_EQ(dialogCaption(nullptr), "Main");
  pl3::IconPixels p{};
  HICON icon = static_cast<HICON>(LoadImage(plugin, "AppIcon", IMAGE_ICON, 16, 16, 0));
  ASSERT_TRUE(pl3::GetIconPixels(icon, &p));
  EXPECT_EQ(p.pixels[0], 0x80204060u);  // the plug-in's icon has only the 32 image
  DestroyIcon(icon);

  ASSERT_TRUE(FreeLibrary(plugin));
  EXPECT_EQ(caption(nullptr, "SharedDlg"), "Main");
  EXPECT_EQ(pl3::FindDialogTemplate("PluginDlg"), nullptr);  // gone with its module
}

}  // namespace
