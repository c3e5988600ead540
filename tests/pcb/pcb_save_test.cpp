#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "app/core_utilities.h"
#include "app/frame_command_hub.h"
#include "app/frame_window.h"
#include "app/open_requests.h"
#include "app/pcb_window_seams.h"
#include "app/recent_projects.h"
#include "draw/grid_files.h"
#include "edit/window_data.h"
#include "objects/datums.h"
#include "objects/design_walks.h"
#include "objects/file_paths.h"
#include "objects/graphic_records.h"
#include "objects/grid_sets.h"
#include "objects/size_text.h"
#include "objects/type_codes.h"
#include "pcb/pcb_save.h"
#include "pcb/pcb_window.h"
#include "platform/dialog_hooks.h"
#include "platform/kernel_files.h"
#include "platform/mdi.h"
#include "platform/responder.h"
#include "platform/user.h"
#include "store/container_store.h"
#include "store/document_filing.h"
#include "store/filing_seams.h"
#include "store/item_stream.h"
#include "store/netfs_format.h"
#include "store/tower.h"
#include "tests/pcb/pcb_window_fixture.h"
#include "tests/support/test_paths.h"

namespace {

namespace fs = std::filesystem;
using pcbtest::PcbWindowTest;

constexpr char kItemData[] = "\\Main?pcb\\data";

class PcbSaveTest : public PcbWindowTest {
 protected:
  void TearDown() override {
    PcbWindowTest::TearDown();
    FreeGridList();
  }
  // Save As through the dialogs: the file chosen and the item name typed.
  // `then` answers the next box after the file dialog (0 for none).
  int SaveAs(HWND window, const std::string& file, const char* name = "Main", int then = 0) {
    static std::string typed;
    typed = name;
    pl3::PushPathAnswer(file);
    if (then) pl3::PushButtonAnswer(then);
    pl3::SetDialogHook("EnterTextDlg", [](HWND dialog) {
      pl3::TypeDialogText(dialog, 72, typed.c_str());
      pl3::ClickDialogButton(dialog, IDOK);
    });
    return SavePCBWindowAs(window);
  }
  // A change the user made: a datum, and the modified mark.
  void Change(HWND window, const char* datum) {
    CurrentWindowData* b = Block(window);
    ASSERT_NE(CreateDatum(b->design, datum, 1000000, 2000000, 0), nullptr);
    CurrentWindowData* active = ActiveWindowData;
    ActiveWindowData = b;
    RecordDesignChange();
    ActiveWindowData = active;
  }
  static bool Modified(const CurrentWindowData* b) { return GetEntityData(b->design, kRecordModifiedNote) != nullptr; }
  // A file's content, read from the container file by our reader alone.
  static std::string StoredBytes(const std::string& file, const char* path) {
    const std::string image = pl3test::ReadFileBytes(file);
    NetfsVolume v = NetfsVolumeFromMemory(reinterpret_cast<const std::uint8_t*>(image.data()), image.size());
    ByteBuffer content;
    if (!NetfsOpenVolume(v, nullptr) || NetfsReadFileContent(v, path, content, nullptr) != NetfsResult::Ok) return "";
    return std::string(content.begin(), content.end());
  }
  // Opens the item for editing in a new window as the frame's open command does.
  HWND Reopen(const std::string& file) {
    ContainerRecord* record = FilingSystem_OpenContainer(file.c_str(), "Administrator", "");
    if (!record) return nullptr;
    Tower* parent = NewTower(0);
    LastLevel(parent).typeCode = 800;
    InsertAtLastLevel(parent, 0);
    Tower* design = FilingSystem_OpenDocument(record, "\\Main?pcb", parent);
    ReleaseTower(&parent);
    if (!design) return nullptr;
    PendingItemTower = design;
    OpenRequestFlags = kOpenTakePendingItem;
    HWND window = CreatePCBWindow(nullptr);
    OpenRequestFlags = 0;
    PendingItemTower = nullptr;
    if (!window) ReleaseTower(&design);
    return window;
  }
};

TEST_F(PcbSaveTest, ANewBoardSavedAndReopenedHasItsItemsViewAndGrids) {
  HWND window = NewBoard("4", "Main board");
  CurrentWindowData* b = Block(window);
  Change(window, "D1");
  b->Zoom = 12345;
  b->ViewOriginX = 77;
  b->ViewOriginY = -88;
  auto* grids = static_cast<GridSet*>(b->Grids);
  ASSERT_NE(grids, nullptr);
  grids->current.unit = 3;
  const std::string file = dir + "/Saved.p3p";
  ASSERT_EQ(SaveAs(window, file), 1);
  EXPECT_FALSE(Modified(b)) << "a save clears the modified mark";
  char title[256] = {};
  GetWindowTextA(window, title, sizeof title);
  EXPECT_EQ(std::string(title).find('*'), std::string::npos) << title;
  EXPECT_NE(std::string(title).find("Main"), std::string::npos) << title;
  EXPECT_FALSE(StoredBytes(file, kItemData).empty());
  EXPECT_EQ(StoredBytes(file, "\\Main?pcb\\description"), std::string("Main board", 11));
  // The recently-used entry names the container and the item, so that it opens again.
  EXPECT_EQ(std::string(RecentEntry(0)), NetFS_FullPath(file.c_str()) + "\\Main?pcb");
  FoundFilePath* found = FindFilePathInText(RecentEntry(0));
  ASSERT_NE(found, nullptr);
  EXPECT_STREQ(found->rest, "\\Main?pcb");
  FreeFoundFilePath(found);

  ASSERT_NE(b->sizeTable, nullptr);
  const std::string sizes = WriteSizeText(*b->sizeTable);
  SendMessageA(window, WM_CLOSE, 0, 0);
  ASSERT_FALSE(IsWindow(window));
  pl3::ClearResponderRecords();
  const int beeps = pl3::BeepCount();
  HWND again = Reopen(file);
  ASSERT_NE(again, nullptr);
  CurrentWindowData* r = Block(again);
  // The size lists came back with the view, without a complaint or a beep.
  EXPECT_TRUE(pl3::ResponderRecords().empty()) << pl3::ResponderRecords().front().text;
  EXPECT_EQ(pl3::BeepCount(), beeps);
  ASSERT_NE(r->sizeTable, nullptr);
  EXPECT_EQ(WriteSizeText(*r->sizeTable), sizes);
  const DatumPayload* d1 = FindDatumByName(r->design, "D1");
  ASSERT_NE(d1, nullptr);
  EXPECT_EQ(d1->x, 1000000);
  EXPECT_NE(FindDatumByName(r->design, "MASTER"), nullptr);
  EXPECT_EQ(r->Zoom, 12345u);
  EXPECT_EQ(r->ViewOriginX, 77);
  EXPECT_EQ(r->ViewOriginY, -88);
  ASSERT_NE(r->Grids, nullptr);
  EXPECT_EQ(static_cast<GridSet*>(r->Grids)->current.unit, 3u);
  EXPECT_FALSE(Modified(r));
  EXPECT_EQ(DocumentText(r->design, Type_Description), "Main board");
  // Saved records of the window and its container never come back from the file.
  HWND stored = nullptr;
  std::memcpy(&stored, GetEntityData(r->design, kRecordDocumentWindow), sizeof stored);
  EXPECT_EQ(stored, again);
}

TEST_F(PcbSaveTest, AnOpenedBoardKeepsItsMasterDatumAndDropsItsStoredNetPoints) {
  HWND window = NewBoard();
  CurrentWindowData* b = Block(window);
  // MASTER moved by the user, and a net whose sub-net keeps stored points.
  const DatumPayload* master = FindDatumByName(b->design, "MASTER");
  ASSERT_NE(master, nullptr);
  const_cast<DatumPayload*>(master)->x = 5000000;
  Tower* net = InsertEmptyEntity(b->design, Type_Net);
  Tower* hier = InsertEmptyEntity(net, Type_SubNetHier);
  for (int i = 0; i < 2; ++i) {
    Tower* points = InsertEmptyEntity(hier, Type_SubNetPointsListInfo);
    ReleaseTower(&points);
  }
  ReleaseTower(&hier);
  ReleaseTower(&net);
  const std::string file = dir + "/Opened.p3p";
  ASSERT_EQ(SaveAs(window, file), 1);
  SendMessageA(window, WM_CLOSE, 0, 0);

  HWND again = Reopen(file);
  ASSERT_NE(again, nullptr);
  const Tower* design = Block(again)->design;
  int masters = 0;
  Tower* datums = GetChildTower(design, Type_Datum);
  while (datums && FindNextEntity(datums))
    if (DatumName(reinterpret_cast<const DatumPayload*>(TowerPayload(datums))) == "MASTER") ++masters;
  ReleaseTower(&datums);
  EXPECT_EQ(masters, 1);
  EXPECT_EQ(FindDatumByName(design, "MASTER")->x, 5000000);
  Tower* nets = OpenChildTower(design, Type_Net);
  ASSERT_NE(nets, nullptr);
  Tower* hiers = OpenChildTower(nets, Type_SubNetHier);
  ASSERT_NE(hiers, nullptr);
  EXPECT_EQ(GetEntityData(hiers, Type_SubNetPointsListInfo), nullptr) << "the ratsnest rebuilds them";
  ReleaseTower(&hiers);
  ReleaseTower(&nets);
}

TEST_F(PcbSaveTest, TwoUnchangedSavesWriteTheSameItemBytesAndSaveReachesTheSameItem) {
  HWND window = NewBoard();
  Change(window, "D1");
  const std::string file = dir + "/Twice.p3p";
  ASSERT_EQ(SaveAs(window, file), 1);
  const std::string first = StoredBytes(file, kItemData);
  ASSERT_FALSE(first.empty());
  const std::size_t dialogs = pl3::ResponderRecords().size();
  // Messages in between change nothing that is saved.
  SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(33, 44));
  ASSERT_EQ(SavePCBWindow(window), 1);
  EXPECT_EQ(pl3::ResponderRecords().size(), dialogs) << "Save of a named board asks nothing";
  EXPECT_TRUE(StoredBytes(file, kItemData) == first) << "the second save changed the item's bytes";
  // A further change reaches the file through 286 sent to the window.
  Change(window, "D2");
  SendMessageA(window, WM_COMMAND, 286, 0);
  EXPECT_FALSE(StoredBytes(file, kItemData) == first);
  EXPECT_FALSE(Modified(Block(window)));
}

TEST_F(PcbSaveTest, AFailedSaveTellsWhyKeepsTheMarkAndTheOldFile) {
  HWND window = NewBoard();
  Change(window, "D1");
  const std::string file = dir + "/Kept.p3p";
  ASSERT_EQ(SaveAs(window, file), 1);
  const std::string before = pl3test::ReadFileBytes(file);
  Change(window, "D2");
  // The safe writer cannot make its ".saving" file beside the container.
  fs::create_directories(file + ".saving");
  EXPECT_EQ(SavePCBWindow(window), 0);
  fs::remove_all(file + ".saving");
  EXPECT_TRUE(Modified(Block(window)));
  EXPECT_EQ(pl3test::ReadFileBytes(file), before);
  ASSERT_FALSE(pl3::ResponderRecords().empty());
  const pl3::ResponderRecord& told = pl3::ResponderRecords().back();
  EXPECT_EQ(told.caption, "Pelmora3");
  EXPECT_EQ(told.text.rfind("Unable to save ", 0), 0u) << told.text;
  EXPECT_NE(told.text.find("could not be written"), std::string::npos) << told.text;
}

// Saves again into a file or folder made read-only after the first save:
// the save names the reason, keeps the mark and the old bytes, and the board
// saves once the file may be written again.
class PcbReadOnlySave : public PcbSaveTest {
 protected:
  void ExpectRefused(HWND window, const std::string& file, const std::string& before) {
    Change(window, "D2");
    EXPECT_EQ(SavePCBWindow(window), 0);
    EXPECT_TRUE(Modified(Block(window)));
    EXPECT_EQ(pl3test::ReadFileBytes(file), before);
    ASSERT_FALSE(pl3::ResponderRecords().empty());
    const pl3::ResponderRecord& told = pl3::ResponderRecords().back();
    EXPECT_EQ(told.caption, "Pelmora3");
    EXPECT_EQ(told.text.rfind("Unable to save ", 0), 0u) << told.text;
    EXPECT_NE(told.text.find("read only"), std::string::npos) << told.text;
  }
};

TEST_F(PcbReadOnlySave, AReadOnlyFolderNamesItsReasonAndKeepsTheOldFile) {
  const std::string folder = dir + "/Locked";
  fs::create_directories(folder);
  const std::string file = folder + "/Kept.p3p";
  HWND window = NewBoard();
  Change(window, "D1");
  ASSERT_EQ(SaveAs(window, file), 1);
  const std::string before = pl3test::ReadFileBytes(file);
  fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
  std::FILE* probe = std::fopen((folder + "/probe").c_str(), "w");
  if (probe) {
    std::fclose(probe);
    fs::remove(folder + "/probe");
    fs::permissions(folder, fs::perms::owner_all);
    GTEST_SKIP() << "this user writes into read-only folders (root): the read-only file test covers the refusal";
  }
  ExpectRefused(window, file, before);
  fs::permissions(folder, fs::perms::owner_all);
  EXPECT_EQ(SavePCBWindow(window), 1);
  EXPECT_FALSE(Modified(Block(window)));
}

TEST_F(PcbReadOnlySave, AReadOnlyFileNamesItsReasonAndKeepsTheOldFile) {
  const std::string file = dir + "/Locked.p3p";
  HWND window = NewBoard();
  Change(window, "D1");
  ASSERT_EQ(SaveAs(window, file), 1);
  const std::string before = pl3test::ReadFileBytes(file);
  ASSERT_TRUE(SetFileAttributes(file.c_str(), FILE_ATTRIBUTE_READONLY));
  ExpectRefused(window, file, before);
  ASSERT_TRUE(SetFileAttributes(file.c_str(), FILE_ATTRIBUTE_NORMAL));
  EXPECT_EQ(SavePCBWindow(window), 1) << "the container stayed readable and saves again";
  EXPECT_FALSE(Modified(Block(window)));
  EXPECT_NE(pl3test::ReadFileBytes(file), before);
}

TEST(PcbSaveFailureText, NamesTheSystemsReasonForAFileThatCouldNotBeWritten) {
  struct Case {
    std::uint32_t store, system;
    const char* words;
  };
  const Case cases[] = {
      {kNetfsNoReply, ERROR_ACCESS_DENIED, "read only"},
      {kNetfsNoReply, ERROR_DISK_FULL, "the disk is full"},
      {kNetfsNoReply, ERROR_PATH_NOT_FOUND, "its folder is gone"},
      {kNetfsNoReply, 0, "could not be written"},
      {kNetfsNoReply, 9999, "system error 9999"},
      {kNetfsOpenForEditing, ERROR_DISK_FULL, "open for editing elsewhere"},
  };
  for (const Case& c : cases)
    EXPECT_NE(SaveFailureText(c.store, c.system).find(c.words), std::string::npos)
        << c.store << "/" << c.system << ": " << SaveFailureText(c.store, c.system);
}

TEST_F(PcbSaveTest, SaveOfANewBoardAsksForAFileAndACancelKeepsTheMark) {
  HWND window = NewBoard();
  Change(window, "D1");
  pl3::PushCancelAnswer();
  EXPECT_EQ(SavePCBWindow(window), 0);
  ASSERT_FALSE(pl3::ResponderRecords().empty());
  const pl3::ResponderRecord& asked = pl3::ResponderRecords().back();
  EXPECT_EQ(asked.kind, pl3::ResponderKind::SaveFile);
  EXPECT_EQ(asked.text, "PL3 Projects (*.P3P)|*.P3P");
  EXPECT_TRUE(asked.flags & OFN_OVERWRITEPROMPT);
  EXPECT_TRUE(Modified(Block(window)));
}

TEST_F(PcbSaveTest, SavingOverAnotherItemAsksFirst) {
  HWND first = NewBoard();
  Change(first, "D1");
  const std::string file = dir + "/Two.p3p";
  ASSERT_EQ(SaveAs(first, file), 1);
  const std::string stored = StoredBytes(file, kItemData);
  HWND second = NewBoard();
  Change(second, "OTHER");
  EXPECT_EQ(SaveAs(second, file, "Main", IDNO), 0);
  EXPECT_EQ(pl3::ResponderRecords().back().text, "Main already exists. Do you want to replace it?");
  EXPECT_TRUE(StoredBytes(file, kItemData) == stored);
  EXPECT_TRUE(Modified(Block(second)));
  // Another name goes in beside it.
  ASSERT_EQ(SaveAs(second, file, "Other"), 1);
  EXPECT_FALSE(StoredBytes(file, "\\Other?pcb\\data").empty());
  EXPECT_TRUE(StoredBytes(file, kItemData) == stored);
}

TEST_F(PcbSaveTest, CloseAsksAboutChangesAndCancelStopsCloseAll) {
  HWND window = NewBoard();
  Change(window, "D1");
  const std::string file = dir + "/Close.p3p";
  ASSERT_EQ(SaveAs(window, file), 1);
  Change(window, "D2");

  pl3::PushButtonAnswer(IDCANCEL);
  EXPECT_EQ(DoFrameCommand(frame, 291, 0, nullptr), 0) << "Close All stops";
  ASSERT_TRUE(IsWindow(window));
  const pl3::ResponderRecord& asked = pl3::ResponderRecords().back();
  char caption[256] = {};
  FormTabCaption(Block(window)->design, caption, sizeof caption);
  EXPECT_EQ(asked.text, std::string("Save changes to ") + caption + "?");
  EXPECT_EQ(asked.caption, "Pelmora3");
  EXPECT_EQ(asked.flags & MB_TYPEMASK, MB_YESNOCANCEL);

  pl3::PushButtonAnswer(IDYES);
  SendMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(window)) << "Yes saves, then closes";
  HWND again = Reopen(file);
  ASSERT_NE(again, nullptr);
  EXPECT_NE(FindDatumByName(Block(again)->design, "D2"), nullptr);

  Change(again, "D3");
  pl3::PushButtonAnswer(IDNO);
  SendMessageA(again, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(again)) << "No closes without saving";
  HWND third = Reopen(file);
  ASSERT_NE(third, nullptr);
  EXPECT_EQ(FindDatumByName(Block(third)->design, "D3"), nullptr);
  // A reopened board saves into its item without asking where.
  Change(third, "D4");
  const std::size_t boxes = pl3::ResponderRecords().size();
  ASSERT_EQ(SavePCBWindow(third), 1);
  EXPECT_EQ(pl3::ResponderRecords().size(), boxes);

  // An unchanged board closes unasked.
  const std::size_t shown = pl3::ResponderRecords().size();
  SendMessageA(third, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(third));
  EXPECT_EQ(pl3::ResponderRecords().size(), shown);
}

TEST_F(PcbSaveTest, AYesWhoseSaveIsCancelledKeepsTheWindow) {
  HWND window = NewBoard();
  Change(window, "D1");
  pl3::PushButtonAnswer(IDYES);
  pl3::PushCancelAnswer();  // the Save As dialog of a board never saved
  SendMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(window));
  EXPECT_TRUE(Modified(Block(window)));
}

TEST_F(PcbSaveTest, SaveAllSavesEveryChangedBoardInChildOrder) {
  HWND a = NewBoard();
  Change(a, "A1");
  ASSERT_EQ(SaveAs(a, dir + "/A.p3p"), 1);
  HWND b = NewBoard();
  Change(b, "B1");
  ASSERT_EQ(SaveAs(b, dir + "/B.p3p"), 1);
  HWND unchanged = NewBoard();
  Change(a, "A2");
  Change(b, "B2");
  const std::size_t shown = pl3::ResponderRecords().size();
  EXPECT_EQ(SaveAllPCBWindows(), 1);
  EXPECT_EQ(pl3::ResponderRecords().size(), shown) << "the unchanged new board is not asked about";
  EXPECT_FALSE(Modified(Block(a)));
  EXPECT_FALSE(Modified(Block(b)));
  EXPECT_FALSE(Modified(Block(unchanged)));

  // A cancel stops the run: the later board keeps its mark.
  Change(unchanged, "N1");
  Change(a, "A3");
  pl3::PushCancelAnswer();
  EXPECT_EQ(SaveAllPCBWindows(), 0);
  EXPECT_TRUE(Modified(Block(unchanged)));
}

}  // namespace
