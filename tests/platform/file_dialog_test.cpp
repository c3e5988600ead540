// The open and save dialog of our own template, driven by dialog hooks over a
// temporary folder: filters, navigation, default extension, the prompts its
// flags ask for, a buffer too small and bad records.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/commctrl.h"
#include "platform/common_dialogs.h"
#include "platform/controls.h"
#include "platform/dialog_hooks.h"
#include "platform/kernel_files.h"
#include "platform/user.h"
#include "tests/support/test_paths.h"

namespace {

namespace fs = std::filesystem;

constexpr char kFilter[] = "Designs\0*.P3P;*.P3L\0Text\0*.txt\0All files\0*.*\0";

std::vector<std::string> ListLabels(HWND dialog) {
  HWND list = GetDlgItem(dialog, pl3::kFileDialogList);
  std::vector<std::string> out;
  auto n = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < n; ++i) {
    char text[260] = {};
    LVITEM it{};
    it.pszText = text;
    it.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETITEMTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&it));
    out.push_back(text);
  }
  return out;
}

std::string ShownFolder(HWND dialog) {
  char text[512] = {};
  HWND combo = GetDlgItem(dialog, pl3::kFileDialogPathCombo);
  auto i = SendMessageA(combo, CB_GETCURSEL, 0, 0);
  SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
  return text;
}

class FileDialogTest : public testing::Test {
 protected:
  void SetUp() override {
    dir = pl3test::MakeTempDir("file_dialog");
    fs::create_directory(dir + "/Boards");
    for (const char* name : {"a.P3P", "b.p3l", "c.txt", "Boards/inner.p3p", ".hidden.p3p"}) std::ofstream(dir + "/" + name) << "x";
    pl3::SetFileDialogBackend(&pl3::ShowFileDialog);
    ofn.lStructSize = sizeof ofn;
    ofn.lpstrFilter = kFilter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    initialDir = pl3::ProgramPath(dir);
    ofn.lpstrInitialDir = initialDir.c_str();
  }
  void TearDown() override { pl3::ClearDialogHooks(); }

  std::string In(const std::string& name) const { return pl3::ProgramPath(dir + "/" + name); }

  std::string dir;
  std::string initialDir;
  char file[MAX_PATH] = {};
  OPENFILENAME ofn{};
};

TEST_F(FileDialogTest, ListsFoldersThenFilesOfTheChosenFilter) {
  std::vector<std::vector<std::string>> seen;
  pl3::SetDialogHook("FileDialog", [&](HWND d) {
    seen.push_back(ListLabels(d));
    pl3::PickDialogListItem(d, pl3::kFileDialogType, 1);
    seen.push_back(ListLabels(d));
    pl3::TypeDialogText(d, pl3::kFileDialogName, "*.P3?");  // a typed pattern filters too
    pl3::ClickDialogButton(d, IDOK);
    seen.push_back(ListLabels(d));
    pl3::ClickDialogButton(d, IDCANCEL);
  });
  EXPECT_FALSE(GetOpenFileName(&ofn));
  EXPECT_EQ(CommDlgExtendedError(), 0u);
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0], (std::vector<std::string>{"[Boards]", "a.P3P", "b.p3l"}));
  EXPECT_EQ(seen[1], (std::vector<std::string>{"[Boards]", "c.txt"}));
  EXPECT_EQ(seen[2], (std::vector<std::string>{"[Boards]", "a.P3P", "b.p3l"}));
}

TEST_F(FileDialogTest, PickedFileComesBackWithOffsetsAndFilterIndex) {
  ofn.nFilterIndex = 3;
  std::string shown;
  pl3::SetDialogHook("FileDialog", [&](HWND d) {
    shown = ShownFolder(d);
    ASSERT_TRUE(pl3::PickDialogListViewText(d, pl3::kFileDialogList, "b.p3l"));
    char name[64] = {};
    GetDlgItemTextA(d, pl3::kFileDialogName, name, sizeof name);
    EXPECT_STREQ(name, "b.p3l");
    pl3::ClickDialogButton(d, IDOK);
  });
  ASSERT_TRUE(GetOpenFileName(&ofn));
  EXPECT_EQ(shown, initialDir);
  const std::string want = In("b.p3l");
  EXPECT_EQ(std::string(file), want);
  EXPECT_EQ(ofn.nFileOffset, want.size() - 5);
  EXPECT_EQ(ofn.nFileExtension, want.size() - 3);
  EXPECT_EQ(ofn.nFilterIndex, 3u);
  EXPECT_EQ(pl3::HostPath(file), dir + "/b.p3l");
}

TEST_F(FileDialogTest, NavigatesByDoubleClickTypedFolderAndUp) {
  std::vector<std::string> folders;
  pl3::SetDialogHook("FileDialog", [&](HWND d) {
    ASSERT_TRUE(pl3::DoubleClickDialogListViewItem(d, pl3::kFileDialogList, 0));  // [Boards]
    folders.push_back(ShownFolder(d));
    EXPECT_EQ(ListLabels(d), (std::vector<std::string>{"inner.p3p"}));
    pl3::ClickDialogButton(d, pl3::kFileDialogUp);
    folders.push_back(ShownFolder(d));
    pl3::TypeDialogText(d, pl3::kFileDialogName, "boards");  // any case
    pl3::ClickDialogButton(d, IDOK);
    folders.push_back(ShownFolder(d));
    // The path combo lists the folder and its parents, the folder last; picking its parent goes there.
    auto n = static_cast<int>(SendDlgItemMessageA(d, pl3::kFileDialogPathCombo, CB_GETCOUNT, 0, 0));
    ASSERT_GE(n, 2);
    ASSERT_TRUE(pl3::PickDialogListItem(d, pl3::kFileDialogPathCombo, n - 2));
    folders.push_back(ShownFolder(d));
    EXPECT_EQ(SendDlgItemMessageA(d, pl3::kFileDialogPathCombo, CB_GETCOUNT, 0, 0), n - 1);
    ASSERT_TRUE(pl3::PickDialogListViewText(d, pl3::kFileDialogList, "[Boards]"));
    pl3::ClickDialogButton(d, IDOK);  // an empty name with a folder picked opens it
    folders.push_back(ShownFolder(d));
    ASSERT_TRUE(pl3::DoubleClickDialogListViewItem(d, pl3::kFileDialogList, 0));  // inner.p3p: chosen
  });
  ASSERT_TRUE(GetOpenFileName(&ofn));
  EXPECT_EQ(folders, (std::vector<std::string>{In("Boards"), initialDir, In("Boards"), initialDir, In("Boards")}));
  EXPECT_EQ(std::string(file), In("Boards/inner.p3p"));
}

TEST_F(FileDialogTest, SaveChecksOfTheFlags) {
  struct Case {
    const char* name;
    bool save;
    DWORD flags;
    const char* typed;
    std::vector<int> answers;  // scripted message box answers
    BOOL result;
    const char* chosen;  // relative to the folder
    int boxes;
  };
  const Case cases[] = {
      {"default extension", true, OFN_OVERWRITEPROMPT, "new", {}, TRUE, "new.p3p", 0},
      {"overwrite refused", true, OFN_OVERWRITEPROMPT, "a.P3P", {IDNO}, FALSE, "", 1},
      {"overwrite accepted", true, OFN_OVERWRITEPROMPT, "a", {IDYES}, TRUE, "a.P3P", 1},
      {"no prompt asked", true, 0, "a.P3P", {}, TRUE, "a.P3P", 0},
      {"must exist", false, OFN_FILEMUSTEXIST, "missing.p3p", {IDOK}, FALSE, "", 1},
      {"create refused", false, OFN_CREATEPROMPT, "missing.p3p", {IDNO}, FALSE, "", 1},
      {"create accepted", false, OFN_CREATEPROMPT, "missing.p3p", {IDYES}, TRUE, "missing.p3p", 1},
      {"path must exist", true, OFN_PATHMUSTEXIST, "Nowhere\\x.p3p", {IDOK}, FALSE, "", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    pl3::ClearResponderRecords();
    std::memset(file, 0, sizeof file);
    ofn.Flags = c.flags;
    ofn.lpstrDefExt = "p3p";
    for (int a : c.answers) pl3::PushButtonAnswer(a);
    pl3::SetDialogHook("FileDialog", [&](HWND d) {
      pl3::TypeDialogText(d, pl3::kFileDialogName, c.typed);
      pl3::ClickDialogButton(d, IDOK);
    });
    BOOL got = c.save ? GetSaveFileName(&ofn) : GetOpenFileName(&ofn);
    EXPECT_EQ(got, c.result);
    if (c.result) {
      EXPECT_EQ(std::string(file), In(c.chosen));
    }
    int boxes = 0;
    for (const pl3::ResponderRecord& r : pl3::ResponderRecords()) boxes += r.kind == pl3::ResponderKind::MessageBox;
    EXPECT_EQ(boxes, c.boxes);
    EXPECT_EQ(pl3::PendingAnswerCount(), 0u);
  }
}

TEST_F(FileDialogTest, BadRecordsAndBuffersFailCleanly) {
  char small[8] = {};
  ofn.lpstrFile = small;
  ofn.nMaxFile = sizeof small;
  pl3::SetDialogHook("FileDialog", [&](HWND d) {
    pl3::TypeDialogText(d, pl3::kFileDialogName, "a.P3P");
    pl3::ClickDialogButton(d, IDOK);
  });
  EXPECT_FALSE(GetOpenFileName(&ofn));
  EXPECT_EQ(CommDlgExtendedError(), FNERR_BUFFERTOOSMALL);
  // The first two bytes tell the size needed.
  const std::size_t needed = In("a.P3P").size() + 1;
  EXPECT_EQ(static_cast<unsigned char>(small[0]) | (static_cast<unsigned char>(small[1]) << 8), static_cast<int>(needed));

  OPENFILENAME wrong = ofn;
  wrong.lStructSize = sizeof wrong - 4;
  bool shown = false;
  pl3::SetDialogHook("FileDialog", [&](HWND) { shown = true; });
  EXPECT_FALSE(GetOpenFileName(&wrong));
  EXPECT_FALSE(shown);
}

// A folder that cannot be read (here: gone since it was listed) is reported
// and the folder shown stays.
TEST_F(FileDialogTest, UnreadableFolderIsReportedAndTheShownOneStays) {
  std::string shown;
  std::vector<std::string> labels;
  pl3::PushButtonAnswer(IDOK);
  pl3::SetDialogHook("FileDialog", [&](HWND d) {
    fs::remove_all(dir + "/Boards");
    ASSERT_TRUE(pl3::DoubleClickDialogListViewItem(d, pl3::kFileDialogList, 0));
    shown = ShownFolder(d);
    labels = ListLabels(d);
    pl3::ClickDialogButton(d, IDCANCEL);
  });
  EXPECT_FALSE(GetOpenFileName(&ofn));
  EXPECT_EQ(shown, initialDir);
  EXPECT_EQ(labels, (std::vector<std::string>{"[Boards]", "a.P3P", "b.p3l"}));
  ASSERT_FALSE(pl3::ResponderRecords().empty());
  EXPECT_EQ(pl3::ResponderRecords().front().kind, pl3::ResponderKind::MessageBox);
  EXPECT_NE(pl3::ResponderRecords().front().text.find("Boards"), std::string::npos);
}

TEST_F(FileDialogTest, MissingStartFolderOpensHome) {
  const char* oldHome = std::getenv("HOME");
  std::string saved = oldHome ? oldHome : "";
  setenv("HOME", dir.c_str(), 1);
  ofn.lpstrInitialDir = "C:\\no\\such\\folder";
  std::string shown;
  pl3::SetDialogHook("FileDialog", [&](HWND d) { shown = ShownFolder(d); });
  EXPECT_FALSE(GetOpenFileName(&ofn));
  if (oldHome)
    setenv("HOME", saved.c_str(), 1);
  else
    unsetenv("HOME");
  EXPECT_EQ(shown, initialDir);
}

}  // namespace
