// The built-in rich edit module: loading "riched20.dll" registers
// "RichEdit20A", an edit control whose one character format sets the font of
// the whole text; the module has no symbols, and theme libraries stay absent.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/controls.h"
#include "platform/dynlib.h"
#include "platform/gdi.h"
#include "platform/kernel_base.h"
#include "platform/richedit.h"
#include "platform/user.h"
#include "tests/platform/controls/test_window.h"

namespace {

LRESULT CALLBACK ParentProc(HWND hwnd, UINT m, WPARAM w, LPARAM l) { return DefWindowProcA(hwnd, m, w, l); }

TEST(RichEditTest, TheModuleIsBuiltInAndHasNoSymbols) {
  HMODULE module = LoadLibrary("riched20.dll");
  ASSERT_NE(module, nullptr);
  EXPECT_EQ(LoadLibrary("C:\\Windows\\System32\\RICHED20.DLL"), module);
  EXPECT_EQ(GetProcAddress(module, "CreateTextServices"), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_PROC_NOT_FOUND);
  EXPECT_TRUE(FreeLibrary(module));
  EXPECT_TRUE(FreeLibrary(module));
  EXPECT_FALSE(FreeLibrary(module));  // loaded twice, freed twice
  EXPECT_EQ(LoadLibrary("uxtheme.dll"), nullptr);
}

TEST(RichEditTest, TheCharacterFormatIsTheFontOfTheWholeText) {
  HMODULE module = LoadLibrary("riched20.dll");
  ASSERT_NE(module, nullptr);
  HWND parent = pl3test::MakeParentWindow("RichParent", ParentProc, 300, 200);
  HWND edit = CreateWindowExA(0, RICHEDIT_CLASS, "Pad 1", WS_CHILD | WS_VISIBLE | ES_MULTILINE, 10, 10, 200, 80,
                              parent, nullptr, nullptr, nullptr);
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(SendMessageA(edit, EM_SETTEXTMODE, TM_PLAINTEXT, 0), 0);
  EXPECT_NE(SendMessageA(edit, EM_SETTEXTMODE, TM_RICHTEXT, 0), 0);  // plain text only
  char text[16];
  GetWindowTextA(edit, text, sizeof text);
  EXPECT_STREQ(text, "Pad 1");

  CHARFORMATA cf{};
  cf.cbSize = sizeof cf;
  cf.dwMask = CFM_FACE | CFM_SIZE | CFM_CHARSET;
  cf.yHeight = 240;  // 12 points
  cf.bCharSet = ANSI_CHARSET;
  std::strcpy(cf.szFaceName, "Courier New");
  ASSERT_TRUE(SendMessageA(edit, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&cf)));
  auto font = reinterpret_cast<HFONT>(SendMessageA(edit, WM_GETFONT, 0, 0));
  ASSERT_NE(font, nullptr);
  LOGFONTA lf{};
  ASSERT_NE(GetObjectA(reinterpret_cast<HGDIOBJ>(font), sizeof lf, &lf), 0);
  EXPECT_EQ(lf.lfHeight, -16);  // 12 points at 96 pixels an inch
  EXPECT_STREQ(lf.lfFaceName, "Courier New");

  // A wrong record size changes nothing.
  CHARFORMATA bad = cf;
  bad.cbSize = sizeof bad - 4;
  bad.yHeight = 400;
  EXPECT_FALSE(SendMessageA(edit, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&bad)));
  CHARFORMATA now{};
  now.cbSize = sizeof now;
  SendMessageA(edit, EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&now));
  EXPECT_EQ(now.yHeight, 240);
  EXPECT_STREQ(now.szFaceName, "Courier New");
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(edit, WM_GETFONT, 0, 0)), font);

  DestroyWindow(parent);
  FreeLibrary(module);
}

}  // namespace
