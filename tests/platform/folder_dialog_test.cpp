// The folder dialog driven by hooks over a temporary home, and the fixed
// icons of SHGetFileInfo.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/dialog_hooks.h"
#include "platform/folder_dialog.h"
#include "platform/kernel_files.h"
#include "platform/resource_images.h"
#include "platform/shell_info.h"
#include "tests/support/test_paths.h"

namespace {

class FolderDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* old = std::getenv("HOME");
    savedHome = old ? old : "";
    home = pl3test::MakeTempDir("folder_dialog") + "/home";
    std::filesystem::create_directories(home + "/Boards");
    std::filesystem::create_directories(home + "/Libs/Old");
    std::filesystem::create_directories(home + "/.hidden");
    std::ofstream(home + "/notes.txt") << "x";
    setenv("HOME", home.c_str(), 1);
    pl3::SetFolderDialogBackend(&pl3::RunFolderDialog);
  }
  void TearDown() override {
    pl3::SetFolderDialogBackend(nullptr);
    setenv("HOME", savedHome.c_str(), 1);
  }

  // Runs the dialog with `hook`; the chosen program path, "" when cancelled.
  std::string Browse(UINT flags, const std::function<void(HWND)>& hook, std::string* displayName = nullptr) {
    pl3::SetDialogHookByCaption("Browse For Folder", hook);
    char name[MAX_PATH] = "";
    BROWSEINFO bi{};
    bi.lpszTitle = "Pick the board folder";
    bi.ulFlags = flags;
    bi.pszDisplayName = name;
    PIDLIST_ABSOLUTE list = SHBrowseForFolder(&bi);
    if (displayName) *displayName = name;
    if (!list) return "";
    char path[MAX_PATH] = "";
    EXPECT_TRUE(SHGetPathFromIDList(list, path));
    CoTaskMemFree(list);
    return path;
  }
  static std::string SelectedText(HWND dialog) {
    HWND tree = GetDlgItem(dialog, pl3::kFolderDialogTree);
    char text[MAX_PATH] = "";
    TVITEM it{};
    it.mask = TVIF_TEXT;
    it.hItem = TreeView_GetSelection(tree);
    it.pszText = text;
    it.cchTextMax = sizeof text;
    TreeView_GetItem(tree, &it);
    return text;
  }
  static std::vector<std::string> ChildTexts(HWND tree, HTREEITEM item) {
    std::vector<std::string> out;
    for (HTREEITEM c = TreeView_GetChild(tree, item); c; c = TreeView_GetNextSibling(tree, c)) {
      char text[MAX_PATH] = "";
      TVITEM it{};
      it.mask = TVIF_TEXT;
      it.hItem = c;
      it.pszText = text;
      it.cchTextMax = sizeof text;
      TreeView_GetItem(tree, &it);
      out.push_back(text);
    }
    return out;
  }

  std::string savedHome;
  std::string home;
};

TEST_F(FolderDialogTest, StartsAtHomeShowsOnlyFoldersAndReturnsThePickedOne) {
  const std::string homePath = pl3::ProgramPath(home);
  std::string display;
  const std::string chosen = Browse(0, [&](HWND dialog) {
    char title[64] = "";
    GetDlgItemTextA(dialog, pl3::kFolderDialogTitle, title, sizeof title);
    EXPECT_STREQ(title, "Pick the board folder");
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, pl3::kFolderDialogEdit)));
    EXPECT_EQ(SelectedText(dialog), "home");
    HWND tree = GetDlgItem(dialog, pl3::kFolderDialogTree);
    TreeView_Expand(tree, TreeView_GetSelection(tree), TVE_EXPAND);
    EXPECT_EQ(ChildTexts(tree, TreeView_GetSelection(tree)), (std::vector<std::string>{"Boards", "Libs"}));
    ASSERT_TRUE(pl3::PickDialogTreeItem(dialog, pl3::kFolderDialogTree, (homePath + "\\libs\\Old").c_str()));
    EXPECT_FALSE(pl3::PickDialogTreeItem(dialog, pl3::kFolderDialogTree, (homePath + "\\Missing").c_str()));
    pl3::ClickDialogButton(dialog, IDOK);
  }, &display);
  EXPECT_EQ(chosen, homePath + "\\Libs\\Old");
  EXPECT_EQ(display, "Old");
}

TEST_F(FolderDialogTest, TheEditBoxNamesAFolderAndAMissingOneIsRefused) {
  const std::string homePath = pl3::ProgramPath(home);
  struct Case {
    const char* typed;
    std::string expected;
  } cases[] = {
      {"Boards", homePath + "\\Boards"},
      {"libs\\old", homePath + "\\Libs\\Old"},
      {"", homePath},
  };
  for (const Case& c : cases) {
    const std::string chosen = Browse(BIF_EDITBOX, [&](HWND dialog) {
      char shown[MAX_PATH] = "";
      GetDlgItemTextA(dialog, pl3::kFolderDialogEdit, shown, sizeof shown);
      EXPECT_STREQ(shown, "home");
      pl3::TypeDialogText(dialog, pl3::kFolderDialogEdit, c.typed);
      pl3::ClickDialogButton(dialog, IDOK);
    });
    EXPECT_EQ(chosen, c.expected) << c.typed;
  }
  // A folder that does not exist: a message, the dialog stays; then cancelled.
  pl3::ClearResponderRecords();
  bool stillOpen = false;
  const std::string chosen = Browse(BIF_EDITBOX, [&](HWND dialog) {
    pl3::TypeDialogText(dialog, pl3::kFolderDialogEdit, "Nope");
    pl3::ClickDialogButton(dialog, IDOK);
    stillOpen = IsWindow(dialog) && IsWindowVisible(dialog);
    pl3::ClickDialogButton(dialog, IDCANCEL);
  });
  EXPECT_TRUE(stillOpen);
  EXPECT_EQ(chosen, "");
  const auto& records = pl3::ResponderRecords();
  ASSERT_GE(records.size(), 2u);
  EXPECT_EQ(records[0].kind, pl3::ResponderKind::MessageBox);
  EXPECT_NE(records[0].text.find("Nope"), std::string::npos);
  EXPECT_EQ(records.back().kind, pl3::ResponderKind::BrowseFolder);
  EXPECT_EQ(records.back().result, 0);
}

TEST_F(FolderDialogTest, AMissingHomeStartsAtTheRoot) {
  setenv("HOME", (home + "/gone").c_str(), 1);
  const std::string chosen = Browse(0, [&](HWND dialog) {
    EXPECT_EQ(SelectedText(dialog), "C:");
    pl3::ClickDialogButton(dialog, IDOK);
  });
  EXPECT_EQ(chosen, "C:\\");
}

TEST(ShellInfo, FoldersAndFilesGetTheirFixedIconsNamesAndTypes) {
  const std::string dir = pl3test::MakeTempDir("shell_info");
  std::filesystem::create_directories(dir + "/Boards");
  std::ofstream(dir + "/board.p3p") << "x";
  const std::string folder = pl3::ProgramPath(dir + "/Boards");
  const std::string file = pl3::ProgramPath(dir + "/board.p3p");
  struct Case {
    std::string path;
    DWORD attributes;
    UINT flags;
    int icon;
    const char* name;
    const char* type;
  } cases[] = {
      {folder, 0, SHGFI_SMALLICON, kShellIconFolder, "Boards", "File Folder"},
      {folder, 0, SHGFI_SMALLICON | SHGFI_OPENICON, kShellIconOpenFolder, "Boards", "File Folder"},
      {file, 0, SHGFI_LARGEICON, kShellIconFile, "board.p3p", "P3P File"},
      {"C:\\nowhere\\x", FILE_ATTRIBUTE_DIRECTORY, SHGFI_USEFILEATTRIBUTES, kShellIconFolder, "x", "File Folder"},
  };
  for (const Case& c : cases) {
    SHFILEINFO info{};
    const DWORD_PTR list = SHGetFileInfo(c.path.c_str(), c.attributes, &info, sizeof info,
                                         c.flags | SHGFI_SYSICONINDEX | SHGFI_ICON | SHGFI_DISPLAYNAME | SHGFI_TYPENAME);
    ASSERT_NE(list, 0u) << c.path;
    EXPECT_EQ(info.iIcon, c.icon) << c.path;
    EXPECT_STREQ(info.szDisplayName, c.name);
    EXPECT_STREQ(info.szTypeName, c.type);
    int cx = 0, cy = 0;
    ImageList_GetIconSize(reinterpret_cast<HIMAGELIST>(list), &cx, &cy);
    EXPECT_EQ(cx, (c.flags & SHGFI_SMALLICON) ? 16 : 32);
    EXPECT_EQ(ImageList_GetImageCount(reinterpret_cast<HIMAGELIST>(list)), 3);
    pl3::IconPixels pixels{};
    ASSERT_TRUE(pl3::GetIconPixels(info.hIcon, &pixels));
    EXPECT_EQ(pixels.width, cx);
    DestroyIcon(info.hIcon);
  }
  // The closed and open folders are different pictures.
  SHFILEINFO closed{}, open{};
  SHGetFileInfo(folder.c_str(), 0, &closed, sizeof closed, SHGFI_ICON | SHGFI_SMALLICON);
  SHGetFileInfo(folder.c_str(), 0, &open, sizeof open, SHGFI_ICON | SHGFI_SMALLICON | SHGFI_OPENICON);
  pl3::IconPixels a{}, b{};
  ASSERT_TRUE(pl3::GetIconPixels(closed.hIcon, &a));
  ASSERT_TRUE(pl3::GetIconPixels(open.hIcon, &b));
  EXPECT_FALSE(std::equal(a.pixels, a.pixels + 16 * 16, b.pixels));
  DestroyIcon(closed.hIcon);
  DestroyIcon(open.hIcon);

  SHFILEINFO info{};
  EXPECT_EQ(SHGetFileInfo(folder.c_str(), 0, &info, sizeof info - 1, SHGFI_ICON), 0u) << "a wrong size";
  EXPECT_EQ(SHGetFileInfo("C:\\no\\such\\thing", 0, &info, sizeof info, SHGFI_ICON), 0u);
  EXPECT_EQ(SHGetFileInfo(nullptr, 0, &info, sizeof info, SHGFI_ICON), 0u);
}

}  // namespace
