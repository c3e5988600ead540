// Global memory blocks, the clipboard (in process, and mirrored to a desktop
// that converts to UTF-8) and the edit control's copy, cut and paste.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/controls.h"
#include "platform/kernel_base.h"
#include "platform/user.h"

namespace {

HGLOBAL Block(const std::string& text) {
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  std::memcpy(GlobalLock(h), text.c_str(), text.size() + 1);
  GlobalUnlock(h);
  return h;
}

bool Put(HWND owner, const std::string& text) {
  if (!OpenClipboard(owner)) return false;
  EmptyClipboard();
  HGLOBAL h = Block(text);
  bool ok = SetClipboardData(CF_TEXT, h) == h;
  CloseClipboard();
  return ok;
}

// The clipboard's text; "<none>" when it holds none.
std::string Got() {
  if (!OpenClipboard(nullptr)) return "<not opened>";
  std::string out = "<none>";
  if (HANDLE h = GetClipboardData(CF_TEXT)) {
    const char* p = static_cast<const char*>(GlobalLock(h));
    out.assign(p, strnlen(p, GlobalSize(h)));
    GlobalUnlock(h);
  }
  CloseClipboard();
  return out;
}

TEST(GlobalMemory, BlocksLockUnlockAndFree) {
  std::size_t live = pl3::LiveGlobalBlockCount();
  HGLOBAL h = GlobalAlloc(GHND, 16);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(GlobalSize(h), 16u);
  auto* p = static_cast<unsigned char*>(GlobalLock(h));
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(std::count(p, p + 16, 0), 16);  // GMEM_ZEROINIT
  EXPECT_EQ(GlobalLock(h), p);
  EXPECT_TRUE(GlobalUnlock(h));  // one lock remains
  EXPECT_FALSE(GlobalUnlock(h));
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
  EXPECT_FALSE(GlobalUnlock(h));
  EXPECT_EQ(GetLastError(), ERROR_NOT_LOCKED);
  EXPECT_EQ(pl3::LiveGlobalBlockCount(), live + 1);
  EXPECT_EQ(GlobalFree(h), nullptr);
  EXPECT_EQ(pl3::LiveGlobalBlockCount(), live);
  // A freed handle is stale everywhere.
  EXPECT_EQ(GlobalLock(h), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_EQ(GlobalSize(h), 0u);
  EXPECT_EQ(GlobalFree(h), h);
  // A fixed block's handle is its address.
  HGLOBAL fixed = GlobalAlloc(GPTR, 4);
  EXPECT_EQ(GlobalLock(fixed), fixed);
  GlobalUnlock(fixed);
  EXPECT_EQ(GlobalFree(fixed), nullptr);
  EXPECT_EQ(GlobalAlloc(0x8000, 4), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

class ClipboardTest : public testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &DefWindowProcA;
    wc.lpszClassName = "Clip_Test";
    ASSERT_NE(RegisterClassA(&wc), 0);
    a_ = CreateWindowExA(0, "Clip_Test", "A", WS_OVERLAPPEDWINDOW, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    b_ = CreateWindowExA(0, "Clip_Test", "B", WS_OVERLAPPEDWINDOW, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
  }
  HWND a_ = nullptr, b_ = nullptr;
};

TEST_F(ClipboardTest, TextGoesRoundTheClipboardAndReplacedBlocksAreFreed) {
  EXPECT_EQ(Got(), "<none>");
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
  std::size_t live = pl3::LiveGlobalBlockCount();
  ASSERT_TRUE(Put(a_, "caf\xE9\r\nline"));
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
  EXPECT_EQ(Got(), "caf\xE9\r\nline");
  ASSERT_TRUE(Put(b_, "second"));
  EXPECT_EQ(Got(), "second");
  EXPECT_EQ(pl3::LiveGlobalBlockCount(), live + 1);  // the first block went with its text
  // Set again without emptying: the new block replaces the old one.
  ASSERT_TRUE(OpenClipboard(b_));
  EXPECT_NE(SetClipboardData(CF_TEXT, Block("third")), nullptr);
  CloseClipboard();
  EXPECT_EQ(Got(), "third");
  EXPECT_EQ(pl3::LiveGlobalBlockCount(), live + 1);
  ASSERT_TRUE(OpenClipboard(a_));
  EmptyClipboard();
  CloseClipboard();
  EXPECT_EQ(pl3::LiveGlobalBlockCount(), live);
  EXPECT_EQ(Got(), "<none>");
}

TEST_F(ClipboardTest, MisuseFailsCleanly) {
  HGLOBAL h = Block("x");
  EXPECT_EQ(SetClipboardData(CF_TEXT, h), nullptr);  // not open
  EXPECT_EQ(GetLastError(), ERROR_CLIPBOARD_NOT_OPEN);
  EXPECT_FALSE(EmptyClipboard());
  EXPECT_FALSE(CloseClipboard());
  EXPECT_EQ(GetClipboardData(CF_TEXT), nullptr);
  ASSERT_TRUE(OpenClipboard(a_));
  EXPECT_FALSE(OpenClipboard(b_));  // held by another window
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  EXPECT_TRUE(OpenClipboard(a_));  // the holder may open it again
  EXPECT_EQ(SetClipboardData(2 /* a bitmap */, h), nullptr);
  GlobalFree(h);
  EXPECT_EQ(SetClipboardData(CF_TEXT, h), nullptr);  // a freed block
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_EQ(GetClipboardData(2), nullptr);
  EXPECT_TRUE(CloseClipboard());
  EXPECT_FALSE(OpenClipboard(reinterpret_cast<HWND>(0x1234)));
  // Its holder destroyed, the clipboard is free again.
  ASSERT_TRUE(OpenClipboard(b_));
  DestroyWindow(b_);
  EXPECT_FALSE(OpenClipboard(b_));
  EXPECT_TRUE(OpenClipboard(a_));
  EXPECT_TRUE(CloseClipboard());
}

// A desktop clipboard holding UTF-8 with LF line ends.
struct FakeDesktop {
  static inline bool has = false;
  static inline std::string text;
  static inline int writes = 0;
  static void Grab(bool) {}
  static bool Has() { return has; }
  static std::string Text() { return text; }
  static void SetText(const char* utf8) {
    text = utf8;
    has = !text.empty();
    writes++;
  }
};

TEST_F(ClipboardTest, TheDesktopClipboardSpeaksUtf8WithLineFeeds) {
  static const pl3::backend::HostServices host{&FakeDesktop::Grab, &FakeDesktop::Has, &FakeDesktop::Text,
                                               &FakeDesktop::SetText};
  FakeDesktop::has = false;
  FakeDesktop::text.clear();
  pl3::backend::SetHostServices(&host);
  EXPECT_TRUE(Put(a_, "caf\xE9 \x80\r\nnext"));
  EXPECT_EQ(FakeDesktop::text, "caf\xC3\xA9 \xE2\x82\xAC\nnext");
  EXPECT_EQ(Got(), "caf\xE9 \x80\r\nnext");  // ours, unchanged
  // Another program copies: its text wins, in our code page.
  FakeDesktop::text = "\xCE\xA9 ok\nzwei\r\ndrei";
  EXPECT_EQ(Got(), "? ok\r\nzwei\r\ndrei");
  FakeDesktop::has = false;
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
  EXPECT_EQ(Got(), "<none>");
  pl3::backend::SetHostServices(nullptr);
}

class EditClipboardTest : public ClipboardTest {
 protected:
  HWND Edit(DWORD style, const char* text) {
    HWND e = CreateWindowExA(0, "EDIT", text, WS_CHILD | WS_VISIBLE | style, 0, 0, 150, 20, a_, nullptr, nullptr,
                             nullptr);
    ShowWindow(a_, SW_SHOW);
    SetFocus(e);
    return e;
  }
  static std::string Text(HWND e) {
    char buf[256];
    GetWindowTextA(e, buf, sizeof buf);
    return buf;
  }
};

TEST_F(EditClipboardTest, CopyCutAndPasteByKeysAndMessages) {
  HWND e = Edit(0, "hello world");
  SendMessageA(e, EM_SETSEL, 0, 5);
  pl3::InjectKeyStroke('C', false, true);
  pl3::PumpMessages();
  EXPECT_EQ(Got(), "hello");
  EXPECT_EQ(Text(e), "hello world");
  SendMessageA(e, EM_SETSEL, 5, 11);
  pl3::InjectKeyStroke('X', false, true);
  pl3::PumpMessages();
  EXPECT_EQ(Got(), " world");
  EXPECT_EQ(Text(e), "hello");
  SendMessageA(e, EM_SETSEL, 0, 0);
  pl3::InjectKeyStroke('V', false, true);
  pl3::PumpMessages();
  EXPECT_EQ(Text(e), " worldhello");
  // The same through messages, and the keys of the other convention.
  SendMessageA(e, EM_SETSEL, 1, 6);
  SendMessageA(e, WM_COPY, 0, 0);
  EXPECT_EQ(Got(), "world");
  SendMessageA(e, WM_CUT, 0, 0);
  EXPECT_EQ(Text(e), " hello");
  SendMessageA(e, EM_SETSEL, 6, 6);
  SendMessageA(e, WM_PASTE, 0, 0);
  EXPECT_EQ(Text(e), " helloworld");
  SendMessageA(e, EM_SETSEL, 0, 1);
  pl3::InjectKeyStroke(VK_DELETE, true);  // Shift+Delete cuts
  pl3::PumpMessages();
  EXPECT_EQ(Text(e), "helloworld");
  EXPECT_EQ(Got(), " ");
  SendMessageA(e, EM_SETSEL, 0, 5);
  pl3::InjectKeyStroke(VK_INSERT, false, true);  // Ctrl+Insert copies
  pl3::PumpMessages();
  SendMessageA(e, EM_SETSEL, 10, 10);
  pl3::InjectKeyStroke(VK_INSERT, true);  // Shift+Insert pastes
  pl3::PumpMessages();
  EXPECT_EQ(Text(e), "helloworldhello");
}

TEST_F(EditClipboardTest, ReadOnlyPasswordAndSingleLineRules) {
  ASSERT_TRUE(Put(a_, "keep"));
  HWND ro = Edit(ES_READONLY, "fixed");
  SendMessageA(ro, EM_SETSEL, 0, 3);
  SendMessageA(ro, WM_PASTE, 0, 0);
  SendMessageA(ro, WM_CUT, 0, 0);
  EXPECT_EQ(Text(ro), "fixed");
  EXPECT_EQ(Got(), "keep");
  SendMessageA(ro, WM_COPY, 0, 0);  // reading is allowed
  EXPECT_EQ(Got(), "fix");
  HWND secret = Edit(ES_PASSWORD, "secret");
  SendMessageA(secret, EM_SETSEL, 0, -1);
  SendMessageA(secret, WM_COPY, 0, 0);
  SendMessageA(secret, WM_CUT, 0, 0);
  EXPECT_EQ(Got(), "fix");  // a password never leaves its field
  EXPECT_EQ(Text(secret), "secret");
  ASSERT_TRUE(Put(a_, "one\r\ntwo"));
  HWND single = Edit(0, "");
  SendMessageA(single, WM_PASTE, 0, 0);
  EXPECT_EQ(Text(single), "one");
  HWND multi = Edit(ES_MULTILINE, "");
  SendMessageA(multi, WM_PASTE, 0, 0);
  EXPECT_EQ(Text(multi), "one\r\ntwo");
  // Nothing on the clipboard: the paste changes nothing.
  ASSERT_TRUE(OpenClipboard(a_));
  EmptyClipboard();
  CloseClipboard();
  SendMessageA(multi, WM_PASTE, 0, 0);
  EXPECT_EQ(Text(multi), "one\r\ntwo");
  // The clipboard held open elsewhere: copy and paste give up quietly.
  ASSERT_TRUE(OpenClipboard(nullptr));
  SendMessageA(multi, EM_SETSEL, 0, 3);
  SendMessageA(multi, WM_COPY, 0, 0);
  SendMessageA(multi, WM_PASTE, 0, 0);
  EXPECT_EQ(Text(multi), "one\r\ntwo");
  CloseClipboard();
  EXPECT_EQ(Got(), "<none>");
}

}  // namespace
