#include "store/document_titles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "platform/kernel_files.h"
#include "platform/responder.h"
#include "platform/user.h"
#include "store/document_filing.h"
#include "store/filing_seams.h"
#include "store/filing_settings.h"
#include "store/item_stream.h"
#include "store/netfs_writer.h"
#include "store/tower.h"
#include "tests/store/filing_seam_fakes.h"
#include "tests/store/tower_test_support.h"
#include "tests/support/test_paths.h"

namespace fs = std::filesystem;

namespace {

struct Heard {
  HWND window;
  UINT message;
};
std::vector<Heard> gHeard;

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_USER + 2 || m == WM_USER + 100) gHeard.push_back({hwnd, m});
  return DefWindowProcA(hwnd, m, w, l);
}

void Register(const char* name) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = &RecordingProc;
  wc.lpszClassName = name;
  RegisterClassA(&wc);
}

std::string TitleOf(HWND window) {
  char text[512] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

template <typename T>
void Put(const Tower* t, std::uint16_t code, const T& value) {
  DeleteChildEntities(t, code);
  Tower* r = InsertEntity(t, sizeof value, code, &value);
  ReleaseTower(&r);
}
void PutText(const Tower* t, std::uint16_t code, const std::string& text) {
  DeleteChildEntities(t, code);
  Tower* r = InsertEntity(t, static_cast<std::uint32_t>(text.size() + 1), code, text.c_str());
  ReleaseTower(&r);
}

class TitlesTest : public testing::Test {
 protected:
  void SetUp() override {
    gHeard.clear();
    for (const char* c : {"PCB_CHILD", "Schematic_Child", "OTHER_CHILD", "MDICLIENT_TEST"}) Register(c);
    client = CreateWindowExA(0, "MDICLIENT_TEST", "", 0, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
    MDIClientWindow = client;
    parent = towertest::NewTopLevelEntity(810);
    NetFS_Initialise();
    NetFS_SetRetryInterval(1);
  }
  void TearDown() override {
    ReleaseTower(&parent);
    MDIClientWindow = nullptr;
    ShutdownFilingSystem();
  }
  HWND Child(const char* className) {
    return CreateWindowExA(0, className, "", WS_CHILD, 0, 0, 100, 100, client, nullptr, nullptr, nullptr);
  }
  // A document of `code` under the parent whose window is `window`.
  Tower* Document(std::uint16_t code, HWND window) {
    Tower* d = InsertEntity(parent, 0, code, nullptr);
    Put(d, kRecordDocumentWindow, window);
    return d;
  }
  HWND client = nullptr;
  Tower* parent = nullptr;
};

std::string WriteContainer(const std::string& path, const std::vector<std::pair<std::string, std::uint16_t>>& items) {
  NetfsTreeNode tree = NetfsNewTree({MakeUserRecord(1, "Administrator", ""), MakeUserRecord(2, "guest", "")},
                                    {MakePermissionRecord(1, 0xF, "\\"), MakePermissionRecord(2, kRightRead, "\\")});
  Tower* scratch = towertest::NewTopLevelEntity(811);
  for (const auto& [itemPath, code] : items) {
    Tower* doc = InsertEntity(scratch, 4, code, "doc");
    const std::vector<std::uint8_t> stream = WriteRecordStream(TowerEntity(doc));
    NetfsTreePutContent(tree, itemPath + "\\data", stream.data(), stream.size());
    DeleteEntity(doc);
    ReleaseTower(&doc);
  }
  ReleaseTower(&scratch);
  const ByteBuffer image = NetfsBuildImage(tree);
  pl3test::WriteFileBytes(path, std::string(image.begin(), image.end()));
  return path;
}

}  // namespace

TEST_F(TitlesTest, NewPcbThenModified) {
  HWND window = Child("PCB_CHILD");
  Tower* doc = Document(kItemPcb, window);
  UpdateDocumentWindowTitle(doc);
  EXPECT_EQ(TitleOf(window), "New pcb");
  Put(doc, kRecordModifiedNote, std::uint32_t{0});
  UpdateDocumentWindowTitle(doc);
  EXPECT_EQ(TitleOf(window), "New pcb *");
  EXPECT_EQ(filingfakes::Recorded().tabCaptionUpdates, (std::vector<HWND>{window, window}));

  PutText(doc, kRecordName, "Scratch board");
  EXPECT_EQ(DocumentWindowTitle(doc), "Scratch board *");
  PutText(doc, kRecordItemPath, "\\Designs\\Amp");
  PutText(doc, kRecordLibraryName, "\\work\\Board.p3p");
  EXPECT_EQ(DocumentWindowTitle(doc), "Board.p3p\\Designs\\Amp *");

  // Without a window record nothing happens.
  Tower* orphan = InsertEntity(parent, 0, kItemShape, nullptr);
  UpdateDocumentWindowTitle(orphan);
  EXPECT_EQ(filingfakes::Recorded().tabCaptionUpdates.size(), 2u);
  ReleaseTower(&orphan);
  ReleaseTower(&doc);
}

TEST_F(TitlesTest, SchematicFromAReadOnlyContainerTakesEveryMarkInOrder) {
  const std::string dir = pl3test::MakeTempDir("titles");
  const std::string path = WriteContainer(dir + "/Proj.p3p", {{"\\Sheets\\Main?schematic", kItemSchematic}});
  fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  ContainerRecord* record = FilingSystem_OpenContainer(path.c_str(), "Administrator", "");
  ASSERT_NE(record, nullptr);
  ASSERT_TRUE(record->flags & kContainerTemporaryCopy);
  Tower* doc = FilingSystem_OpenDocument(record, "\\Sheets\\Main?schematic", parent);
  ASSERT_NE(doc, nullptr);

  HWND window = Child("Schematic_Child");
  Put(doc, kRecordDocumentWindow, window);
  Put(doc, kRecordPageNumber, std::uint32_t{4});  // the page counter: three pages
  Tower* page = InsertEntity(doc, 0, kItemSchematicPage, nullptr);
  Put(page, kRecordPageNumber, std::uint32_t{2});
  filingfakes::Recorded().windowDesigns[window] = page;
  Put(doc, kRecordModifiedNote, std::uint32_t{0});
  Put(doc, kRecordRecovered, std::uint32_t{0});
  UpdateDocumentWindowTitle(doc);
  // The title names the original file, not some name of its temporary copy.
  EXPECT_EQ(TitleOf(window), "Proj.p3p\\Sheets\\Main Page 2/3 * (Recovered) (Read Only)");

  // The read-only warning, once per call.
  WarnReadOnlyDuplicate(doc);
  ASSERT_EQ(pl3::ResponderRecords().size(), 1u);
  EXPECT_EQ(pl3::ResponderRecords()[0].text,
            "The original file was read only, this file is a temporary duplicate file which has been opened and "
            "cannot be saved.");
  EXPECT_EQ(pl3::ResponderRecords()[0].caption, "Pelmora3");
  EXPECT_EQ(pl3::ResponderRecords()[0].flags & MB_ICONMASK, MB_ICONEXCLAMATION);
  Tower* plain = Document(kItemPcb, window);
  WarnReadOnlyDuplicate(plain);
  EXPECT_EQ(pl3::ResponderRecords().size(), 1u);
  ReleaseTower(&plain);
  ReleaseTower(&page);
  ReleaseTower(&doc);
}

TEST_F(TitlesTest, DocumentWindowsOfTheClient) {
  HWND pcb = Child("PCB_CHILD");
  Child("Schematic_Child");
  Child("OTHER_CHILD");
  EXPECT_EQ(IsDocumentWindowClass(pcb), 1);
  EXPECT_EQ(IsDocumentWindowClass(client), 0);
  EXPECT_EQ(CountDocumentWindows(), 2);
}

TEST_F(TitlesTest, ChoosersSplitTheItemAndRestoreTheActiveWindow) {
  HWND top = CreateWindowExA(0, "OTHER_CHILD", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  SetActiveWindow(top);
  auto& fake = filingfakes::Recorded();
  fake.browserWindow = CreateWindowExA(0, "OTHER_CHILD", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  fake.containerPath = "\\work\\Lib.p3l";
  fake.itemPath = "\\Parts\\R0805?pcbsymbol";
  StoreItemChoice* choice = ChooseStoreItem(nullptr, "*.p3l", 2, 5);
  ASSERT_NE(choice, nullptr);
  EXPECT_EQ(choice->containerPath, "\\work\\Lib.p3l");
  EXPECT_EQ(choice->name, "\\Parts\\R0805");
  EXPECT_EQ(choice->type, "pcbsymbol");
  EXPECT_EQ(choice->document, nullptr);
  EXPECT_EQ(fake.explorerModesSeen, std::vector<int>{5});
  EXPECT_EQ(ExplorerMode, 1);
  EXPECT_EQ(GetActiveWindow(), top);
  FreeStoreItemChoice(choice);
  FreeStoreItemChoice(nullptr);

  fake.itemPath.clear();  // cancelled
  EXPECT_EQ(ChooseStoreItem(nullptr, "*.p3l", 2, 3), nullptr);
  EXPECT_EQ(GetActiveWindow(), top);

  fake.itemPath = "\\a?shape";
  fake.status = 7;
  std::uint32_t status = 0;
  choice = ExploreStoreItem(nullptr, "\\work\\Lib.p3l", 1, 2, &status);
  ASSERT_NE(choice, nullptr);
  EXPECT_EQ(status, 7u);
  EXPECT_EQ(fake.explorerStarts, std::vector<std::string>{"\\work\\Lib.p3l|\\"});
  EXPECT_EQ(GetActiveWindow(), top);
  EXPECT_EQ(fake.explorerModesSeen, (std::vector<int>{5, 3, 2}));
  EXPECT_EQ(ExplorerMode, 1);
  FreeStoreItemChoice(choice);
}

TEST_F(TitlesTest, ChooseAndOpen) {
  const std::string dir = pl3test::MakeTempDir("choose");
  const std::string path = WriteContainer(dir + "/Lib.p3l", {{"\\Parts\\R1?shape", kItemShape}});
  auto& fake = filingfakes::Recorded();
  fake.containerPath = path;
  fake.itemPath = "\\Parts\\R1?shape";

  StoreItemChoice* loaded = ChooseAndOpenStoreItem(nullptr, "", 1, parent);
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(TowerEntity(loaded->document)->typeCode, kItemShape);
  EXPECT_TRUE(FilingContainerRecords().empty()) << "loading keeps nothing open";
  FreeStoreItemChoice(loaded);

  StoreItemChoice* editing = ChooseAndOpenForEditing(nullptr, "", 1, parent);
  ASSERT_NE(editing, nullptr);
  ASSERT_NE(editing->record, nullptr);
  ContainerRecord* named = nullptr;
  std::memcpy(&named, GetEntityData(editing->document, kRecordContainerRecord), sizeof named);
  EXPECT_EQ(named, editing->record);
  EXPECT_EQ(editing->record->entries.size(), 1u);
  StoreItemChoice* again = OpenStoreItemChoice(editing->record, "\\Parts\\R1?shape", parent);
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(TowerEntity(again->document), TowerEntity(editing->document));
  EXPECT_EQ(again->type, "shape");
  FreeStoreItemChoice(again);
  ContainerRecord* record = editing->record;
  FreeStoreItemChoice(editing);

  fake.itemPath = "\\Parts\\Missing?shape";
  EXPECT_EQ(ChooseAndOpenStoreItem(nullptr, "", 1, parent), nullptr);
  // A failed open for editing leaves a record that was open before alone,
  // even with nothing in use, and closes one it opened itself.
  FilingSystem_CloseFile(record, "\\Parts\\R1?shape\\data");
  ASSERT_EQ(record->useCount, 0u);
  EXPECT_EQ(ChooseAndOpenForEditing(nullptr, "", 1, parent), nullptr);
  ASSERT_EQ(FilingContainerRecords(), std::vector<ContainerRecord*>{record});
  FilingSystem_CloseContainer(record);
  EXPECT_EQ(ChooseAndOpenForEditing(nullptr, "", 1, parent), nullptr);
  EXPECT_TRUE(FilingContainerRecords().empty());
}

TEST_F(TitlesTest, NotificationsReachViewersLinkedWindowsAndTheProjectTree) {
  const std::string dir = pl3test::MakeTempDir("notify");
  const std::string path = WriteContainer(dir + "/Proj.p3p", {{"\\Amp?schematic", kItemSchematic}, {"\\Amp?pcb", kItemPcb}});
  LoadLastDirectories("", "");
  // A guest opens the items for viewing only.
  ContainerRecord* record = FilingSystem_OpenContainer(path.c_str(), "guest", "");
  ASSERT_NE(record, nullptr);
  Tower* schematic = FilingSystem_OpenDocument(record, "\\Amp?schematic", parent);
  ASSERT_NE(schematic, nullptr);
  EXPECT_EQ(record->entries[0].access, kAccessViewing);
  Tower* pcb = FilingSystem_OpenDocument(record, "\\Amp?pcb", parent);
  ASSERT_NE(pcb, nullptr);
  HWND viewer = Child("Schematic_Child");
  HWND board = Child("PCB_CHILD");
  auto& fake = filingfakes::Recorded();
  fake.windowDesigns[viewer] = schematic;
  fake.windowDesigns[board] = pcb;
  fake.linkedItems[pcb] = "\\AMP";

  // Someone editing an item of the same path in another container is no
  // viewer: the window that edits the item itself does not hear of changes.
  const std::string other = WriteContainer(dir + "/Other.p3p", {{"\\Amp?schematic", kItemSchematic}});
  ContainerRecord* editing = FilingSystem_OpenContainer(other.c_str(), "Administrator", "");
  ASSERT_NE(editing, nullptr);
  Tower* edited = FilingSystem_OpenDocument(editing, "\\Amp?schematic", parent);
  ASSERT_NE(edited, nullptr);
  EXPECT_EQ(editing->entries[0].access, kAccessEditing);
  HWND editor = Child("Schematic_Child");
  fake.windowDesigns[editor] = edited;
  // A schematic page linked to the same name hears of its board, not of its schematic.
  HWND sheet = Child("Schematic_Child");
  Tower* page = Document(kItemSchematicPage, sheet);
  fake.windowDesigns[sheet] = page;
  fake.linkedItems[page] = "\\Amp";

  // Kind 1 names the changed item: the viewer of it and the board linked to it hear.
  const auto broadcast = [&](std::uint32_t kind, const std::string& item) {
    std::vector<std::uint8_t> data(4 + item.size() + 1, 0);
    std::memcpy(data.data(), &kind, 4);
    std::memcpy(data.data() + 4, item.c_str(), item.size());
    NetFS_BroadcastNotification(record->handle, data.data(), static_cast<std::uint32_t>(data.size()));
  };
  broadcast(1, "\\amp?SCHEMATIC");
  ASSERT_EQ(gHeard.size(), 2u);
  EXPECT_EQ(gHeard[0].window, viewer);
  EXPECT_EQ(gHeard[0].message, WM_USER + 2u);
  EXPECT_EQ(gHeard[1].window, board);
  EXPECT_EQ(gHeard[1].message, WM_USER + 100u);
  gHeard.clear();
  broadcast(1, "\\Amp?pcb");  // the board views it; the page is linked to it
  ASSERT_EQ(gHeard.size(), 2u);
  EXPECT_EQ(gHeard[0].window, board);
  EXPECT_EQ(gHeard[0].message, WM_USER + 2u);
  EXPECT_EQ(gHeard[1].window, sheet);
  EXPECT_EQ(gHeard[1].message, WM_USER + 100u);
  for (std::uint32_t k : {2u, 3u, 4u, 9u}) broadcast(k, "\\amp?SCHEMATIC");
  EXPECT_EQ(fake.projectTreeKinds, (std::vector<int>{1, 1, 2, 3, 4}));
  ReleaseTower(&page);
  ReleaseTower(&edited);
  ReleaseTower(&pcb);
  ReleaseTower(&schematic);
}
