#include "app/core_utilities.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <cstdint>
#include <string>
#include <vector>

#include "app/error_log.h"
#include "app/settings_block.h"
#include "platform/arena.h"
#include "platform/kernel_files.h"
#include "platform/responder.h"
#include "platform/user.h"
#include "tests/support/test_paths.h"

namespace {

using pl3::ResponderRecords;

// A heap string from the routines, freed at the end of the scope.
struct HeapString {
  char* p;
  explicit HeapString(char* text) : p(text) {}
  ~HeapString() { std::free(p); }
  HeapString(const HeapString&) = delete;
  HeapString& operator=(const HeapString&) = delete;
};

// ---- Error ----------------------------------------------------------------------

void StoreError(std::uint16_t number) {
  pl3::SetResponderEcho(true);
  FatalErrorFlag = 1;
  Error(number);
}

TEST(FatalErrorDeathTest, ShowsTheNumberedTextAndEndsTheProgram) {
  EXPECT_EXIT(StoreError(7), testing::ExitedWithCode(1),
              "Internal Error Handler: A Fatal Error Has Occurred.\n Error Number : 7\nOut of Memory\n");
}

TEST(FatalErrorDeathTest, ANumberBeyondTheTableHasNoText) {
  EXPECT_EXIT(StoreError(18), testing::ExitedWithCode(1), "Error Number : 18\n\n");
}

TEST(FatalErrorDeathTest, WarnsOfAnIncorrectCallWhenTheFlagIsClear) {
  EXPECT_DEATH(
      {
        pl3::SetResponderEcho(true);
        Error(2);
      },
      "Internal Error Handler: Possible incorrect call to Error\\(\\)\n"
      "Internal Error Handler: A Fatal Error Has Occurred.\n Error Number : 2\nDelete Error");
}

BOOL RefuseToClose(HWND) { return FALSE; }

TEST(FatalErrorDeathTest, SaysSoWhenTheFrameCannotBeDestroyed) {
  EXPECT_DEATH(
      {
        FrameWindow = reinterpret_cast<HWND>(0x100);
        SetFrameDestroyer(&RefuseToClose);
        StoreError(1);
      },
      "Insert Error\nInternal Error Handler: Unable to terminate application.");
}

BOOL CloseFrame(HWND frame) {
  std::fprintf(stderr, "frame %p destroyed\n", static_cast<void*>(frame));
  return TRUE;
}

TEST(FatalErrorDeathTest, DestroysTheFrameWindowOwningTheBoxes) {
  EXPECT_DEATH(
      {
        FrameWindow = reinterpret_cast<HWND>(0x100);
        SetFrameDestroyer(&CloseFrame);
        StoreError(7);
      },
      "Out of Memory\nframe 0x100 destroyed\n$");
}

// ---- Message boxes ----------------------------------------------------------------

TEST(Messages, ShowMessageIsSystemModalWithTheExclamationIcon) {
  HWND owner = reinterpret_cast<HWND>(0x20);
  ShowMessage(owner, "Nothing is selected", "Pelmora3");
  ASSERT_EQ(ResponderRecords().size(), 1u);
  EXPECT_EQ(ResponderRecords()[0].flags, 0x1030u);
  EXPECT_EQ(ResponderRecords()[0].owner, owner);
  EXPECT_EQ(ResponderRecords()[0].text, "Nothing is selected");
  pl3::PushButtonAnswer(IDYES);
  EXPECT_EQ(ShowMessageEx(nullptr, "Sure?", "Pelmora3", MB_YESNO), IDYES);
  EXPECT_EQ(ResponderRecords()[1].flags, MB_YESNO);
}

// ---- ShowAndLogError --------------------------------------------------------------

std::string LogContents() {
  std::string host = pl3::HostPath(ErrorLogPath());
  try {
    return pl3test::ReadFileBytes(host);
  } catch (const std::exception&) {
    return "<none>";
  }
}

// The log lives in the current folder: each test works in a folder of its own,
// since ctest runs the tests of this program side by side.
class ErrorLog : public testing::Test {
 protected:
  void SetUp() override {
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(pl3test::MakeTempDir("errorlog"));
    Settings = &block_;
  }
  SettingsBlock block_{};
  void TearDown() override { std::filesystem::current_path(previous_); }

 private:
  std::filesystem::path previous_;
};

TEST_F(ErrorLog, DefaultMaskShowsAndLogsNothing) {
  DeleteFile(ErrorLogPath().c_str());
  ShowAndLogError(nullptr, "Internal Error - bad node", "RepointEntity", 1);
  ShowAndLogError(nullptr, "Bad size", "Sizes", 2);
  EXPECT_TRUE(ResponderRecords().empty());
  EXPECT_EQ(LogContents(), "<none>");
}

TEST_F(ErrorLog, ShownBoxesAreSystemModalWithTheExclamationIcon) {
  Settings->errorMask = 0x3;
  ShowAndLogError(nullptr, "Internal Error - bad node", "RepointEntity", 1);
  ASSERT_EQ(ResponderRecords().size(), 1u);
  EXPECT_EQ(ResponderRecords()[0].caption, "RepointEntity");
  EXPECT_EQ(ResponderRecords()[0].flags, 0x1030u);
}

TEST_F(ErrorLog, AppendsOnlyWhenBitsThirtyOneAndZeroAreSet) {
  DeleteFile(ErrorLogPath().c_str());
  Settings->errorMask = 0x80000000u;  // bit 31 alone: neither shown nor logged
  ShowAndLogError(nullptr, "one", "A", 1);
  EXPECT_EQ(LogContents(), "<none>");
  Settings->errorMask = 0x00000001u;  // bit 0 alone: shown, not logged
  ShowAndLogError(nullptr, "two", "B", 1);
  EXPECT_EQ(LogContents(), "<none>");
  EXPECT_EQ(ResponderRecords().size(), 1u);

  Settings->errorMask = 0x80000001u;  // logged; only severity 1 is shown
  ShowAndLogError(nullptr, "three", "C", 1);
  ShowAndLogError(nullptr, "four", "D", 2);
  ShowAndLogError(nullptr, "five", "E", 8);
  EXPECT_EQ(LogContents(),
            "three\tC\tInternal Error\r\nfour\tD\tUser Error\r\nfive\tE\tOther Error\r\n");
  EXPECT_EQ(ResponderRecords().size(), 2u);
  EXPECT_EQ(ResponderRecords()[1].text, "three");
  EXPECT_EQ(pl3::OpenKernelHandleCount(), 0u);  // each piece's open was closed
  DeleteFile(ErrorLogPath().c_str());
}

TEST_F(ErrorLog, AnUnwritableLogIsReported) {
  Settings->errorMask = 0x80000001u;
  CreateDirectory(ErrorLogPath().c_str(), nullptr);  // a folder in the log's place cannot be opened for writing
  ShowAndLogError(nullptr, "text", "Caption", 2);
  ASSERT_EQ(ResponderRecords().size(), 1u);
  EXPECT_EQ(ResponderRecords()[0].text, "Error - unable to open file");
  EXPECT_EQ(ResponderRecords()[0].caption, "PL3_Err.log");
  RemoveDirectory(ErrorLogPath().c_str());
}

// ---- Memory blocks ----------------------------------------------------------------

TEST(MemoryBlocks, CommitZeroedWritableBlocks) {
  const std::size_t arenaBefore = pl3::ArenaCommittedBytes();
  auto* block = static_cast<unsigned char*>(VirtualAllocBlock(16u << 20));
  ASSERT_NE(block, nullptr);
  EXPECT_TRUE(pl3::InArena(block)) << "node pool blocks are named by 32-bit offsets";
  EXPECT_EQ(block[0], 0);
  EXPECT_EQ(block[(16u << 20) - 1], 0);
  block[12345] = 7;
  VirtualFreeBlock(block);
  EXPECT_EQ(pl3::ArenaCommittedBytes(), arenaBefore);

  // Page buffers leave the arena's room to the design.
  std::vector<unsigned char*> buffers;
  for (std::size_t size : {std::size_t{1}, std::size_t{10000}, std::size_t{64} << 20}) {
    auto* pages = static_cast<unsigned char*>(AllocatePages(size));
    ASSERT_NE(pages, nullptr) << size;
    EXPECT_FALSE(pl3::InArena(pages)) << size;
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(pages) % 4096, 0u) << size;
    EXPECT_EQ(pages[0], 0);
    EXPECT_EQ(pages[size - 1], 0);
    pages[size - 1] = 1;
    buffers.push_back(pages);
  }
  EXPECT_EQ(pl3::ArenaCommittedBytes(), arenaBefore);
  for (unsigned char* pages : buffers) FreePages(pages);
  FreePages(nullptr);
  EXPECT_EQ(AllocatePages(0), nullptr);
}

// ---- Strings -----------------------------------------------------------------------

TEST(Strings, DuplicateConcatAndCopyLeft) {
  HeapString dup(DuplicateString("abc"));
  EXPECT_STREQ(dup.p, "abc");
  EXPECT_EQ(DuplicateString(nullptr), nullptr);
  HeapString both(ConcatNewString("ab", "cd"));
  EXPECT_STREQ(both.p, "abcd");
  HeapString left(CopyLeft("abcdef", 3));
  EXPECT_STREQ(left.p, "abc");
  HeapString whole(CopyLeft("ab", 10));  // never reads past the text
  EXPECT_STREQ(whole.p, "ab");
  EXPECT_EQ(CopyLeft(nullptr, 3), nullptr);
}

TEST(Strings, FindSubstringIgnoresCase) {
  const char* text = "Hello World";
  EXPECT_EQ(FindSubstring(text, "WORLD"), text + 6);
  EXPECT_EQ(FindSubstring(text, "o"), text + 4);
  EXPECT_EQ(FindSubstring(text, "xyz"), nullptr);
  EXPECT_EQ(FindSubstring("ab", "abc"), nullptr);
  EXPECT_EQ(FindSubstring(text, ""), text);
}

TEST(Strings, ReplaceSubstringReplacesEveryOccurrenceWhateverItsCase) {
  char text[] = "xxabyyAb";
  replacesubstring(text, "ab", "cd");
  EXPECT_STREQ(text, "xxcdyycd");
  EXPECT_TRUE(ResponderRecords().empty());
}

TEST(Strings, ReplaceSubstringRefusesTextsOfDifferentLength) {
  char text[] = "xxabyy";
  replacesubstring(text, "ab", "cde");
  EXPECT_STREQ(text, "xxabyy");
  ASSERT_EQ(ResponderRecords().size(), 1u);
  EXPECT_EQ(ResponderRecords()[0].text, "This version of replacesubstring doesnt work like that");
  EXPECT_EQ(ResponderRecords()[0].caption, "");
  EXPECT_EQ(ResponderRecords()[0].flags, MB_OK);
  EXPECT_EQ(ResponderRecords()[0].owner, nullptr);
}

TEST(Strings, ReplaceSubstringEndsWhenTheNewTextMatchesTheOld) {
  char text[] = "aBab";
  replacesubstring(text, "ab", "AB");
  EXPECT_STREQ(text, "ABAB");
}

TEST(Strings, FormatNewStringGrowsAsNeeded) {
  HeapString small(FormatNewString("%s-%d", "x", 42));
  EXPECT_STREQ(small.p, "x-42");
  for (std::size_t length : {4095u, 4096u, 10000u, 20000u}) {
    std::string big(length, 'q');
    HeapString out(FormatNewString("%s", big.c_str()));
    ASSERT_NE(out.p, nullptr);
    EXPECT_EQ(std::string(out.p), big) << length;
  }
}

TEST(Strings, FileNamePart) {
  const char* two = "C:\\dir\\file.p3p";
  EXPECT_EQ(FileNamePart(two), two + 7);
  const char* none = "file.p3p";
  EXPECT_EQ(FileNamePart(none), none);
  const char* first = "\\file.p3p";
  EXPECT_EQ(FileNamePart(first), first + 1);
  const char* trailing = "dir\\";
  EXPECT_STREQ(FileNamePart(trailing), "");
}

TEST(Arrays, RemoveArrayElementMovesTheRestDown) {
  int a[] = {1, 2, 3, 4, 5};
  RemoveArrayElement(a, sizeof a[0], 1, 5);
  EXPECT_EQ(std::vector<int>(a, a + 4), (std::vector<int>{1, 3, 4, 5}));
  RemoveArrayElement(a, sizeof a[0], 3, 4);  // the last: nothing moves
  EXPECT_EQ(std::vector<int>(a, a + 4), (std::vector<int>{1, 3, 4, 5}));
}

// ---- Registry key routines ------------------------------------------------------------

TEST(ProgramKey, OpenAndCreateUnderTheProgramKey) {
  HKEY key = nullptr;
  EXPECT_EQ(OpenProgramRegistryKey(HKEY_CURRENT_USER, "Initialisation", 0, KEY_READ, &key),
            static_cast<LONG>(ERROR_FILE_NOT_FOUND));
  DWORD disposition = 0;
  ASSERT_EQ(CreateProgramRegistryKey(HKEY_CURRENT_USER, "Initialisation", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                     &key, &disposition),
            static_cast<LONG>(ERROR_SUCCESS));
  EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
  RegCloseKey(key);
  ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "software\\corvane\\pelmora3\\INITIALISATION", 0, KEY_READ, &key),
            static_cast<LONG>(ERROR_SUCCESS));
  RegCloseKey(key);
  ASSERT_EQ(OpenProgramRegistryKey(HKEY_CURRENT_USER, nullptr, 0, KEY_READ, &key), static_cast<LONG>(ERROR_SUCCESS));
  RegCloseKey(key);
}

TEST(ProgramKey, ShowInitialiseWindowDefaultsToShow) {
  EXPECT_EQ(LoadShowInitialiseWindow(), 1);
  SaveShowInitialiseWindowValue(0);
  EXPECT_EQ(LoadShowInitialiseWindow(), 0);
  SaveShowInitialiseWindowValue(1);
  EXPECT_EQ(LoadShowInitialiseWindow(), 1);
}

}  // namespace

// ---- Device contexts and windows -----------------------------------------------------

namespace {

HWND MakeWindow(const char* text) {
  WNDCLASS wc{};
  wc.lpfnWndProc = &DefWindowProc;
  wc.lpszClassName = "CoreUtilitiesTestWindow";
  RegisterClass(&wc);  // a second registration in the same test program fails harmlessly
  return CreateWindowEx(0, "CoreUtilitiesTestWindow", text, WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                        nullptr, nullptr);
}

}  // namespace

TEST(ViewDC, TheCountFollowsTheContextsHeld) {
  HWND window = MakeWindow("view");
  ASSERT_NE(window, nullptr);
  HDC first = GetViewDC(window);
  HDC second = GetViewDC(window);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(ViewDCCount, 2u);
  EXPECT_EQ(ReleaseViewDC(window, second), 1);
  EXPECT_EQ(ReleaseViewDC(window, first), 1);
  EXPECT_EQ(ViewDCCount, 0u);
  DestroyWindow(window);
}

TEST(WindowText, CopyIsANewHeapString) {
  HWND window = MakeWindow("New pcb *");
  ASSERT_NE(window, nullptr);
  HeapString text{GetWindowTextCopy(window)};
  EXPECT_STREQ(text.p, "New pcb *");
  SetWindowText(window, "");
  HeapString empty{GetWindowTextCopy(window)};
  EXPECT_STREQ(empty.p, "");
  DestroyWindow(window);
}

TEST(PendingUpdate, SeesAQueuedUpdateRequestWithoutRemovingIt) {
  HWND window = MakeWindow("updates");
  HWND other = MakeWindow("other");
  EXPECT_EQ(NoPendingUpdate(window), 1);
  PostMessage(other, WM_USER + 5, 0, 0);  // another window's request does not count
  PostMessage(window, WM_USER + 4, 0, 0);  // nor does another message
  EXPECT_EQ(NoPendingUpdate(window), 1);
  PostMessage(window, WM_USER + 5, 0, 0);
  EXPECT_EQ(NoPendingUpdate(window), 0);
  EXPECT_EQ(NoPendingUpdate(window), 0) << "the request stays in the queue";
  DestroyWindow(window);
  DestroyWindow(other);
}
