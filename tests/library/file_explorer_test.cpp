#include "library/file_explorer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "library/explorer_internal.h"
#include "platform/commctrl.h"
#include "platform/dialog_hooks.h"
#include "platform/image_files.h"
#include "platform/registry.h"
#include "platform/responder.h"
#include "platform/user.h"
#include "store/container_store.h"
#include "store/document_filing.h"
#include "store/item_stream.h"
#include "store/netfs_writer.h"
#include "store/scratch_entity.h"
#include "store/tower.h"
#include "tests/support/png_bytes.h"
#include "tests/support/test_paths.h"

namespace {

void PutItem(NetfsTreeNode& root, const std::string& path, std::size_t dataBytes) {
  const std::string data(dataBytes, 'x');
  ASSERT_TRUE(NetfsTreePutContent(root, path + "\\data", data.data(), data.size()));
}

// A record stream holding one record of the code.
std::vector<std::uint8_t> RecordStream(std::uint16_t code, const void* payload, std::uint32_t size) {
  Tower* scratch = NewScratchEntity();
  Tower* record = InsertEntity(scratch, size, code, payload);
  std::vector<std::uint8_t> stream = WriteRecordStream(TowerEntity(record));
  ReleaseTower(&record);
  DeleteTopLevelEntity(&scratch);
  return stream;
}

void PutRecord(NetfsTreeNode& root, const std::string& path, std::uint16_t code, const void* payload,
               std::uint32_t size) {
  const std::vector<std::uint8_t> stream = RecordStream(code, payload, size);
  ASSERT_TRUE(NetfsTreePutContent(root, path, stream.data(), stream.size()));
}

// Completion info: {u16 type, u32 failure bits, u32 enable mask, u32}.
void PutCompletion(NetfsTreeNode& root, const std::string& item, std::uint32_t failures, std::uint32_t mask) {
  std::uint8_t info[16] = {};
  std::memcpy(info + 4, &failures, 4);
  std::memcpy(info + 8, &mask, 4);
  PutRecord(root, item + "\\completioninfo", 212, info, sizeof info);
}

// Administrator with `password`; items of several types, a plain file, a
// folder with items whose names differ only in their numbers.
std::string WriteFixture(const std::string& dir, const std::string& password = "") {
  NetfsTreeNode root = NetfsNewTreeForUser("Administrator", password);
  PutItem(root, "\\Board?pcb", 3000);
  PutItem(root, "\\Amp?schematic", 10);
  PutItem(root, "\\Lib\\R10?pcbsymbol", 500);
  PutItem(root, "\\Lib\\R2?pcbsymbol", 500);
  PutItem(root, "\\Lib\\Pad?padstack", 40);
  EXPECT_TRUE(NetfsTreeMakeDirectory(root, "\\Lib\\Old"));
  EXPECT_TRUE(NetfsTreePutContent(root, "\\readme?dosfile", "hello", 5));
  PutRecord(root, "\\Board?pcb\\description", 121, "Main amplifier board", 21);
  const std::vector<std::uint8_t> png = pl3test::MakePngBytes(4, 2, 8, 2, std::vector<std::uint8_t>(24, 200));
  PutRecord(root, "\\Board?pcb\\bitmap", 201, png.data(), static_cast<std::uint32_t>(png.size()));
  PutCompletion(root, "\\Board?pcb", 0x10, 0x01);  // a failure the mask does not enable
  PutCompletion(root, "\\Amp?schematic", 0x11, 0x01);
  const ByteBuffer image = NetfsBuildImage(root);
  const std::string path = dir + "/Design.p3p";
  pl3test::WriteFileBytes(path, std::string(image.begin(), image.end()));
  return path;
}

std::string CellText(HWND list, int index, int column) {
  char text[260] = {};
  LVITEM item{};
  item.iSubItem = column;
  item.pszText = text;
  item.cchTextMax = sizeof text;
  SendMessageA(list, LVM_GETITEMTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  return text;
}

std::vector<std::string> Column(HWND list, int column) {
  std::vector<std::string> texts;
  const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) texts.push_back(CellText(list, i, column));
  return texts;
}

int IndexOf(HWND list, const std::string& name) {
  const std::vector<std::string> names = Column(list, 0);
  for (std::size_t i = 0; i < names.size(); ++i)
    if (names[i] == name) return static_cast<int>(i);
  return -1;
}

const LVITEM kSelectAll = [] {
  LVITEM item{};
  item.stateMask = LVIS_SELECTED;
  item.state = LVIS_SELECTED;
  return item;
}();

HWND ListOf(HWND explorer) { return GetDlgItem(explorer, kExplorerListId); }
HWND ToolRowOf(HWND explorer) { return ExplorerStateOf(explorer)->request->toolRow; }

void SendKey(HWND window, UINT key) {
  SendMessageA(window, WM_KEYDOWN, key, 0);
  SendMessageA(window, WM_KEYUP, key, 0);
}

std::vector<std::string> BoxTexts() {
  std::vector<std::string> texts;
  for (const pl3::ResponderRecord& r : pl3::ResponderRecords())
    if (r.kind == pl3::ResponderKind::MessageBox) texts.push_back(r.text);
  return texts;
}

class FileExplorerTest : public testing::Test {
 protected:
  void SetUp() override {
    NetFS_Initialise();
    NetFS_SetRetryInterval(1);
    dir = pl3test::MakeTempDir("explorer");
    container = WriteFixture(dir);
  }
  void TearDown() override {
    ShutdownFilingSystem();
    NetFS_CloseAll();
  }

  // Runs the explorer over the fixture; `act` plays the user.
  ExplorerResult* Explore(int mode, const char* filter, std::function<void(HWND)> act) {
    SetExplorerIdleHook(std::move(act));
    return ExploreContainerFile(nullptr, container.c_str(), mode, "\\", filter, "Administrator", "");
  }

  std::string dir;
  std::string container;
};

struct ResultDeleter {
  void operator()(ExplorerResult* r) const { FreeExplorerResult(r); }
};
using Result = std::unique_ptr<ExplorerResult, ResultDeleter>;

TEST(FileExplorerFormat, FileSizes) {
  struct Case {
    std::uint64_t size;
    const char* text;
  } cases[] = {
      {0, "0 bytes"},
      {1023, "1023 bytes"},
      {1024, "1.00KB"},
      {10 * 1024 - 1, "10.00KB"},  // k = 9: two decimals of 9.999
      {10 * 1024, "10.0KB"},
      {99 * 1024 + 512, "99.5KB"},
      {100 * 1024, "100KB"},
      {1024 * 1024 - 1, "1023KB"},
      {1024 * 1024, "1.00MB"},
      {15 * 1024 * 1024 + 512 * 1024, "15.5MB"},
      {512ull * 1024 * 1024, "512MB"},
      {1024ull * 1024 * 1024, "1.0GB"},
      {3ull * 1024 * 1024 * 1024 + 512ull * 1024 * 1024, "3.5GB"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatFileSize(c.size), c.text) << c.size;
}

TEST(FileExplorerFormat, TypeFilterMatchesWholeNamesOnly) {
  struct Case {
    const char* filter;
    const char* type;
    bool passes;
  } cases[] = {
      {nullptr, "pcb", true},
      {"", "anything", true},
      {"pcb:", "pcb", true},
      {"pcb", "pcb", true},
      {"pcb:schematic:", "SCHEMATIC", true},
      {"pcbsymbol:", "pcb", false},
      {"pcb:", "pcbsymbol", false},
      {"schematicsymbol:package", "schematic", false},
      {"pcb:", "", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ExplorerTypePasses(c.filter, c.type), c.passes) << (c.filter ? c.filter : "(null)") << " " << c.type;
}

TEST(FileExplorerFormat, PlacementIsRestoredOnlyOnTheScreen) {
  WINDOWPLACEMENT p{};
  // flags, length, max x y, min x y, bottom, top, left, right, show command
  ASSERT_TRUE(ParseExplorerPlacement("0 44 -1 -1 -1 -1 400 100 50 600 2", &p));
  EXPECT_EQ(p.rcNormalPosition.left, 50);
  EXPECT_EQ(p.rcNormalPosition.top, 100);
  EXPECT_EQ(p.rcNormalPosition.right, 600);
  EXPECT_EQ(p.rcNormalPosition.bottom, 400);
  EXPECT_EQ(p.showCmd, static_cast<UINT>(SW_SHOWMAXIMIZED)) << "a minimised window comes back maximised";
  ASSERT_TRUE(ParseExplorerPlacement("0 44 0 0 0 0 400 100 50 600 1", &p));
  EXPECT_EQ(p.showCmd, 1u);
  ASSERT_TRUE(ParseExplorerPlacement("0 44 0 0 0 0 400 100 50 600 0", &p));
  EXPECT_EQ(p.showCmd, static_cast<UINT>(SW_SHOWNORMAL)) << "never restored hidden";
  EXPECT_FALSE(ParseExplorerPlacement("0 44 0 0 0 0 400 100 -5 600 1", &p)) << "left of the screen";
  EXPECT_FALSE(ParseExplorerPlacement("0 44 0 0 0 0 -1 -50 50 600 1", &p)) << "above the screen";
  EXPECT_FALSE(ParseExplorerPlacement("0 44 0 0 0 0 400 100 50 99999 1", &p)) << "right of the screen";
  EXPECT_FALSE(ParseExplorerPlacement("0 44 0 0 0 0 400 100", &p)) << "too few numbers";
}

TEST_F(FileExplorerTest, ListsTheTopFolderWithTypesAndDimsWhatTheFilterRefuses) {
  std::vector<std::string> names, types;
  std::vector<bool> cut;
  std::string title;
  Result r(Explore(1, "pcb:", [&](HWND explorer) {
    HWND list = ListOf(explorer);
    EXPECT_EQ(GetFocus(), list);
    names = Column(list, 0);
    types = Column(list, 2);
    for (std::size_t i = 0; i < names.size(); ++i)
      cut.push_back(SendMessageA(list, LVM_GETITEMSTATE, i, LVIS_CUT) & LVIS_CUT);
    char text[512] = {};
    GetWindowTextA(explorer, text, sizeof text);
    title = text;
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(ToolRowOf(explorer), kExplorerNameId))) << "no name box when opening";
  }));
  // System files are never listed; names in natural order.
  EXPECT_EQ(names, (std::vector<std::string>{"Amp", "Board", "Lib", "readme"}));
  EXPECT_EQ(types, (std::vector<std::string>{"Schematic", "PCB", "File Folder", "User File"}));
  EXPECT_EQ(cut, (std::vector<bool>{true, false, false, true})) << "folders are never dimmed";
  EXPECT_EQ(title.rfind("Exploring ", 0), 0u);
  EXPECT_NE(title.find("Design.p3p"), std::string::npos);
  ASSERT_TRUE(r);
  EXPECT_EQ(r->status, kExplorerCancelled) << "left open, the window is closed";
  EXPECT_EQ(r->itemPath, nullptr);
}

TEST_F(FileExplorerTest, SortsByEachColumnAndTogglesTheDirection) {
  std::vector<std::vector<std::string>> orders;
  std::vector<std::string> sizes;
  Result r(Explore(1, nullptr, [&](HWND explorer) {
    HWND list = ListOf(explorer);
    ExplorerState* state = ExplorerStateOf(explorer);
    ExplorerEnterFolder(state, *ExplorerEntryAt(state, IndexOf(list, "Lib")));
    orders.push_back(Column(list, 0));
    ExplorerColumnClick(state, 0);  // name again: descending
    orders.push_back(Column(list, 0));
    sizes = Column(list, 1);  // fetches the sizes of the items' data
    ExplorerColumnClick(state, 1);  // size, ascending
    orders.push_back(Column(list, 0));
    ExplorerColumnClick(state, 2);  // type, ascending
    orders.push_back(Column(list, 0));
  }));
  EXPECT_EQ(orders[0], (std::vector<std::string>{"Old", "Pad", "R2", "R10"}));
  EXPECT_EQ(orders[1], (std::vector<std::string>{"R10", "R2", "Pad", "Old"}));
  // Descending order: R10, R2, Pad, Old. The data streams hold 500, 500, 40
  // bytes and their stored headers.
  EXPECT_EQ(sizes[0], sizes[1]);
  EXPECT_EQ(sizes[3], "");
  // The folder's size word is 0; equal sizes in natural name order.
  EXPECT_EQ(orders[2], (std::vector<std::string>{"Old", "Pad", "R2", "R10"}));
  EXPECT_EQ(orders[3], (std::vector<std::string>{"Old", "R2", "R10", "Pad"})) << "File Folder, PCB Symbol, Padstack";
}

TEST_F(FileExplorerTest, DoubleClickEntersFoldersAndChoosesItems) {
  Result r(Explore(1, "pcbsymbol:", [&](HWND explorer) {
    HWND list = ListOf(explorer);
    ASSERT_TRUE(pl3::DoubleClickDialogListViewItem(explorer, kExplorerListId, IndexOf(list, "Lib")));
    EXPECT_EQ(ExplorerStateOf(explorer)->folder, "\\Lib\\");
    ASSERT_TRUE(pl3::DoubleClickDialogListViewItem(explorer, kExplorerListId, IndexOf(list, "R2")));
  }));
  ASSERT_TRUE(r);
  EXPECT_EQ(r->status, kExplorerChosen);
  ASSERT_NE(r->itemPath, nullptr);
  EXPECT_EQ(std::string(r->itemPath), "\\Lib\\R2?pcbsymbol");
  EXPECT_NE(std::string(r->containerPath).find("Design.p3p"), std::string::npos);
  EXPECT_TRUE(FilingContainerRecords().empty()) << "the container is closed afterwards";
}

TEST_F(FileExplorerTest, EnterOpensTheSelectedItemAndRefusesFilteredTypes) {
  Result r(Explore(1, "pcb:", [&](HWND explorer) {
    HWND list = ListOf(explorer);
    ASSERT_TRUE(pl3::PickDialogListViewText(explorer, kExplorerListId, "Amp"));
    SendKey(list, VK_RETURN);
    EXPECT_TRUE(IsWindow(explorer)) << "a schematic cannot be chosen";
    ASSERT_TRUE(pl3::PickDialogListViewText(explorer, kExplorerListId, "Board"));
    SendKey(list, VK_RETURN);
  }));
  ASSERT_TRUE(r);
  EXPECT_EQ(BoxTexts(),
            (std::vector<std::string>{"Selection of this type of file is not permitted, please select a different file."}));
  EXPECT_EQ(r->status, kExplorerChosen);
  EXPECT_EQ(std::string(r->itemPath), "\\Board?pcb");
}

TEST_F(FileExplorerTest, OpenWithoutExactlyOneSelectionBeeps) {
  Result r(Explore(1, nullptr, [&](HWND explorer) {
    const int beeps = pl3::BeepCount();
    ASSERT_TRUE(pl3::ClickDialogButton(ToolRowOf(explorer), kExplorerOkId));
    EXPECT_EQ(pl3::BeepCount(), beeps + 1);
    EXPECT_TRUE(IsWindow(explorer));
  }));
  ASSERT_TRUE(r);
  EXPECT_EQ(r->status, kExplorerCancelled);
}

TEST_F(FileExplorerTest, UpInTheTopFolderGoesBackOnlyWhenTheCallerAllowsIt) {
  Result r(Explore(1, nullptr, [&](HWND explorer) {
    ExplorerState* state = ExplorerStateOf(explorer);
    ExplorerEnterFolder(state, *ExplorerEntryAt(state, IndexOf(ListOf(explorer), "Lib")));
    SendKey(ListOf(explorer), VK_BACK);
    EXPECT_EQ(state->folder, "\\");
    ASSERT_TRUE(pl3::ClickDialogButton(ToolRowOf(explorer), kExplorerUpId));
  }));
  ASSERT_TRUE(r);
  EXPECT_EQ(r->status, kExplorerBackToFiles);
  EXPECT_EQ(r->itemPath, nullptr);

  ExplorerMode = 0;
  bool upEnabled = true;
  Result again(Explore(1, nullptr, [&](HWND explorer) {
    upEnabled = IsWindowEnabled(GetDlgItem(ToolRowOf(explorer), kExplorerUpId));
    ExplorerGoUp(ExplorerStateOf(explorer));
    EXPECT_TRUE(IsWindow(explorer));
  }));
  EXPECT_FALSE(upEnabled);
  EXPECT_EQ(again->status, kExplorerCancelled);
}

TEST_F(FileExplorerTest, SaveModesCheckTheTypedName) {
  int beepsForEmpty = 0;
  Result r(Explore(3, nullptr, [&](HWND explorer) {
    HWND row = ToolRowOf(explorer);
    char caption[32] = {};
    GetDlgItemTextA(row, kExplorerOkId, caption, sizeof caption);
    EXPECT_STREQ(caption, "Save");
    const int beeps = pl3::BeepCount();
    ASSERT_TRUE(pl3::ClickDialogButton(row, kExplorerOkId));
    beepsForEmpty = pl3::BeepCount() - beeps;
    ASSERT_TRUE(pl3::TypeDialogText(row, kExplorerNameId, "a?b"));
    ASSERT_TRUE(pl3::ClickDialogButton(row, kExplorerOkId));
    EXPECT_TRUE(IsWindow(explorer));
    ExplorerState* state = ExplorerStateOf(explorer);
    ExplorerEnterFolder(state, *ExplorerEntryAt(state, IndexOf(ListOf(explorer), "Lib")));
    ASSERT_TRUE(pl3::TypeDialogText(row, kExplorerNameId, "NewBoard"));
    SendKey(ListOf(explorer), VK_RETURN);
  }));
  EXPECT_EQ(beepsForEmpty, 1);
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{
                            "A filename cannot contain any of the following characters:\r\n\t\\/:*?<>|"}));
  ASSERT_TRUE(r);
  EXPECT_EQ(r->status, kExplorerChosen);
  EXPECT_EQ(std::string(r->itemPath), "\\Lib\\NewBoard");
}

TEST_F(FileExplorerTest, TabWalksTheToolRowAndBackToTheList) {
  Result r(Explore(2, nullptr, [&](HWND explorer) {
    HWND list = ListOf(explorer), row = ToolRowOf(explorer);
    SendKey(list, VK_TAB);
    EXPECT_EQ(GetFocus(), GetDlgItem(row, kExplorerNameId));
    SendKey(GetFocus(), VK_TAB);
    EXPECT_EQ(GetFocus(), GetDlgItem(row, kExplorerOkId));
    SendKey(GetFocus(), VK_TAB);
    EXPECT_EQ(GetFocus(), GetDlgItem(row, kExplorerViewId));
    SendKey(GetFocus(), VK_TAB);
    EXPECT_EQ(GetFocus(), list);
  }));
}

TEST_F(FileExplorerTest, RenameKeepsTheTypeAndReportsTheStoresRefusals) {
  std::vector<std::string> after;
  Result r(Explore(1, nullptr, [&](HWND explorer) {
    ExplorerState* state = ExplorerStateOf(explorer);
    HWND list = ListOf(explorer);
    EXPECT_FALSE(ExplorerRenameEntry(state, IndexOf(list, "Board"), "Bo/ard"));
    ASSERT_TRUE(ExplorerRenameEntry(state, IndexOf(list, "Board"), "Main"));
    RefreshExplorerList(state, true);
    after = Column(list, 0);
  }));
  EXPECT_EQ(after, (std::vector<std::string>{"Amp", "Lib", "Main", "readme"}));
  EXPECT_EQ(BoxTexts()[0], "A filename cannot contain any of the following characters:\r\n\t\\/:*?<>|");
  ContainerRecord* record = FilingSystem_OpenContainer(container.c_str(), "Administrator", "");
  ASSERT_NE(record, nullptr);
  EXPECT_TRUE(NetFS_GetEntry(record->handle, "\\Main?pcb\\data")) << "the type stays with the new name";
  FilingSystem_CloseContainer(record);
}

TEST_F(FileExplorerTest, RenameOntoAnExistingNameIsRefused) {
  Result r(Explore(1, nullptr, [&](HWND explorer) {
    ExplorerState* state = ExplorerStateOf(explorer);
    ExplorerEnterFolder(state, *ExplorerEntryAt(state, IndexOf(ListOf(explorer), "Lib")));
    EXPECT_FALSE(ExplorerRenameEntry(state, IndexOf(ListOf(explorer), "R2"), "r10"));
  }));
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"Target filename already exists"}));
}

TEST_F(FileExplorerTest, DeleteAsksFirstAndReportsWhatTheStoreRefused) {
  std::size_t countAfterNo = 0, countAfterYes = 0;
  Result r(Explore(1, nullptr, [&](HWND explorer) {
    HWND list = ListOf(explorer);
    ASSERT_TRUE(pl3::PickDialogListViewText(explorer, kExplorerListId, "Board"));
    pl3::PushButtonAnswer(IDNO);
    SendKey(list, VK_DELETE);
    countAfterNo = Column(list, 0).size();
    pl3::PushButtonAnswer(IDYES);
    SendKey(list, VK_DELETE);
    countAfterYes = Column(list, 0).size();
  }));
  const std::vector<std::string> texts = BoxTexts();
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[0], "Do you really want to delete this file?");
  // The store cannot delete entries yet: every delete is refused.
  EXPECT_EQ(texts[2], "Some files/directories could not be deleted because they are open or contain linked files");
  EXPECT_EQ(countAfterNo, 4u);
  EXPECT_EQ(countAfterYes, 4u);
}

TEST_F(FileExplorerTest, ItemStreamsFeedTheDescriptionPanel) {
  std::string description, none;
  int boardCheck = -2, ampCheck = -2, folderCheck = -2;
  Result r(Explore(1, nullptr, [&](HWND explorer) {
    ExplorerState* state = ExplorerStateOf(explorer);
    HWND list = ListOf(explorer);
    const DirectoryEntry& board = *ExplorerEntryAt(state, IndexOf(list, "Board"));
    const auto text = ReadExplorerItemRecord(state, board, "description", 121);
    description = std::string(reinterpret_cast<const char*>(text.data()));
    EXPECT_TRUE(ReadExplorerItemRecord(state, board, "description", 212).empty()) << "another record code";
    EXPECT_TRUE(ReadExplorerItemRecord(state, board, "linkfile", 20039).empty()) << "no such stream";
    const auto preview = ReadExplorerItemRecord(state, board, "bitmap", 201);
    pl3::DecodedPng image;
    EXPECT_TRUE(pl3::DecodeImageBytes(preview.data(), preview.size(), image)) << "the bytes stay whole";
    boardCheck = ExplorerCheckState(state, board);
    ampCheck = ExplorerCheckState(state, *ExplorerEntryAt(state, IndexOf(list, "Amp")));
    folderCheck = ExplorerCheckState(state, *ExplorerEntryAt(state, IndexOf(list, "Lib")));
    // Painting with one, none and several selected reads the same streams.
    ASSERT_TRUE(pl3::PickDialogListViewText(explorer, kExplorerListId, "Board"));
    UpdateWindow(explorer);
    SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&kSelectAll));
    UpdateWindow(explorer);
  }));
  EXPECT_EQ(description, "Main amplifier board");
  EXPECT_EQ(boardCheck, 1);
  EXPECT_EQ(ampCheck, 0);
  EXPECT_EQ(folderCheck, -1);
}

TEST_F(FileExplorerTest, ViewMenuChangesTheListStyle) {
  Result r(Explore(1, nullptr, [&](HWND explorer) {
    ExplorerState* state = ExplorerStateOf(explorer);
    ExplorerSetView(state, kExplorerViewLargeIcons);
    EXPECT_EQ(GetWindowLongPtrA(state->list, GWL_STYLE) & LVS_TYPEMASK, static_cast<LONG_PTR>(LVS_ICON));
    ExplorerSetView(state, kExplorerViewList);
    EXPECT_EQ(GetWindowLongPtrA(state->list, GWL_STYLE) & LVS_TYPEMASK, static_cast<LONG_PTR>(LVS_LIST));
    ExplorerSetView(state, kExplorerViewDetails);
    EXPECT_EQ(GetWindowLongPtrA(state->list, GWL_STYLE) & LVS_TYPEMASK, static_cast<LONG_PTR>(LVS_REPORT));
  }));
}

TEST_F(FileExplorerTest, PlacementIsSavedAndRestored) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "SOFTWARE\\Corvane\\Pelmora3\\Initialisation", 0, nullptr, 0,
                           KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(key);
  RECT first{};
  Result r(Explore(1, nullptr, [&](HWND explorer) {
    MoveWindow(explorer, 40, 30, 500, 300, TRUE);
    GetWindowRect(explorer, &first);
  }));
  RECT second{};
  bool visible = false;
  Result again(Explore(1, nullptr, [&](HWND explorer) {
    GetWindowRect(explorer, &second);
    visible = IsWindowVisible(explorer);
  }));
  EXPECT_TRUE(visible);
  EXPECT_EQ(second.left, first.left);
  EXPECT_EQ(second.top, first.top);
  EXPECT_EQ(second.right, first.right);
  EXPECT_EQ(second.bottom, first.bottom);
}

TEST_F(FileExplorerTest, LogOnAsksUntilTheNameAndPasswordFit) {
  container = WriteFixture(dir, "abc");
  std::vector<std::string> passwords{"wrong", "abc"};
  int asked = 0;
  std::string userShown;
  pl3::SetDialogHook(kLogOnDialogId, [&](HWND dialog) {
    char user[130] = {};
    GetDlgItemTextA(dialog, kLogOnUserId, user, sizeof user);
    userShown = user;
    pl3::TypeDialogText(dialog, kLogOnPasswordId, passwords[static_cast<std::size_t>(asked++)].c_str());
    pl3::ClickDialogButton(dialog, IDOK);
  });
  bool explored = false;
  Result r(Explore(1, nullptr, [&](HWND) { explored = true; }));
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(userShown, "Administrator");
  EXPECT_TRUE(explored);
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"The system could not log you onto the file, check your username "
                                                  "and password are correct."}))
      << "the message comes from the second failure on";
}

TEST_F(FileExplorerTest, CancelledLogOnReturnsWithoutAPath) {
  container = WriteFixture(dir, "abc");
  pl3::SetDialogHook(kLogOnDialogId, [](HWND dialog) { pl3::ClickDialogButton(dialog, IDCANCEL); });
  bool explored = false;
  Result r(Explore(1, nullptr, [&](HWND) { explored = true; }));
  ASSERT_TRUE(r);
  EXPECT_FALSE(explored);
  EXPECT_EQ(r->status, kExplorerCancelled);
  EXPECT_EQ(r->itemPath, nullptr);
  EXPECT_TRUE(FilingContainerRecords().empty());
}

TEST_F(FileExplorerTest, OpeningErrorsAreShownAsMessages) {
  pl3test::WriteFileBytes(dir + "/bad.p3p", "not a container");
  Result bad(ExploreContainerFile(nullptr, (dir + "/bad.p3p").c_str(), 1, "\\", nullptr, "Administrator", ""));
  ASSERT_TRUE(bad);
  EXPECT_EQ(bad->status, kExplorerCancelled);
  NetFS_CloseAll();  // the store is gone: error 1, which no message names
  Result gone(ExploreContainerFile(nullptr, container.c_str(), 1, "\\", nullptr, "Administrator", ""));
  const std::vector<std::string> texts = BoxTexts();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0], "Unable to open file");
  EXPECT_EQ(texts[1], "An unknown error occurred while trying to open the file, try again later");
  EXPECT_EQ(pl3::ResponderRecords()[0].caption, "Pelmora3");
}

TEST_F(FileExplorerTest, BrowseRefusesALibraryForAProjectSaveAndReopensAfterUp) {
  pl3test::WriteFileBytes(dir + "/Parts.p3l", "");
  pl3::PushPathAnswer(dir + "/Parts.p3l");  // refused in mode 3
  pl3::PushButtonAnswer(IDOK);
  pl3::PushPathAnswer(container);           // Up at the top: the dialog again
  pl3::PushPathAnswer(dir + "/Design");     // no extension: ".p3p"
  int runs = 0;
  SetExplorerIdleHook([&](HWND explorer) {
    if (runs++ == 0) {
      pl3::ClickDialogButton(ToolRowOf(explorer), kExplorerUpId);
      return;
    }
    pl3::TypeDialogText(ToolRowOf(explorer), kExplorerNameId, "Saved");
    pl3::ClickDialogButton(ToolRowOf(explorer), kExplorerOkId);
  });
  char path[kExplorerPathSize] = {};
  Result r(BrowseContainerFile(nullptr, 3, nullptr, path));
  ASSERT_TRUE(r);
  EXPECT_EQ(r->status, kExplorerChosen);
  EXPECT_EQ(std::string(r->itemPath), "\\Saved");
  EXPECT_EQ(std::string(path), dir + "/Design.p3p");
  std::vector<pl3::ResponderRecord> dialogs;
  for (const pl3::ResponderRecord& rec : pl3::ResponderRecords())
    if (rec.kind == pl3::ResponderKind::OpenFile) dialogs.push_back(rec);
  ASSERT_EQ(dialogs.size(), 3u);
  EXPECT_EQ(dialogs[0].text, "PL3 Projects (*.P3P)|*.P3P") << "a project save offers projects only";
  EXPECT_NE(dialogs[2].initial.find("Design.p3p"), std::string::npos) << "the dialog opens again at the same file";
  EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"You cannot save this object to a library, please select a project"}));
}

TEST_F(FileExplorerTest, BrowseCancelReturnsNothingAndFiltersFollowTheMode) {
  pl3::PushCancelAnswer();
  EXPECT_EQ(BrowseContainerFile(nullptr, 1, nullptr, nullptr), nullptr);
  pl3::PushCancelAnswer();
  EXPECT_EQ(BrowseContainerFile(nullptr, 2, nullptr, nullptr), nullptr);
  ASSERT_EQ(pl3::ResponderRecords().size(), 2u);
  EXPECT_EQ(pl3::ResponderRecords()[0].text,
            "PL3 Files (*.P3P, *.P3L)|*.P3P;*.P3L|PL3 Projects (*.P3P)|*.P3P|PL3 Libraries (*.P3L)|*.P3L");
  EXPECT_EQ(pl3::ResponderRecords()[1].text,
            "PL3 Libraries (*.P3L)|*.P3L|PL3 Projects (*.P3P)|*.P3P|PL3 Files (*.P3P, *.P3L)|*.P3P;*.P3L");
  EXPECT_EQ(pl3::ResponderRecords()[0].flags & (OFN_EXPLORER | OFN_HIDEREADONLY), OFN_EXPLORER | OFN_HIDEREADONLY);
}

}  // namespace
