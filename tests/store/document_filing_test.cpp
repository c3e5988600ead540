#include "store/document_filing.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "app/core_utilities.h"
#include "platform/kernel_files.h"
#include "platform/registry.h"
#include "platform/responder.h"
#include "store/filing_settings.h"
#include "store/item_stream.h"
#include "store/netfs_writer.h"
#include "store/tower.h"
#include "tests/store/filing_seam_fakes.h"
#include "tests/store/tower_test_support.h"
#include "tests/support/test_paths.h"

namespace fs = std::filesystem;

namespace {

using towertest::FirstOfCode;
using towertest::WordAt;
using towertest::Words;

constexpr std::uint16_t kPadStackDef = 105;
constexpr std::uint16_t kInstanceInfo = 113;



int CountChildren(const Tower* t) {
  int n = 0;
  for (NodeRef g = TowerEntity(t)->firstChild; g; g = NodeAt<TypeGroup>(g)->next)
    for (NodeRef c = NodeAt<TypeGroup>(g)->firstChild; c; c = NodeAt<Entity>(c)->next) ++n;
  return n;
}

// A PCB whose symbol instance info refers to a pad-stack definition, with an
// identity record and a tag that tells versions apart.
std::vector<std::uint8_t> PcbStream(std::uint32_t tag, std::uint16_t selectedFlags = 0, int consoleLines = 0) {
  Tower* scratch = towertest::NewTopLevelEntity(790);
  Tower* pcb = InsertEntity(scratch, 4, kItemPcb, &tag);
  for (int i = 0; i < consoleLines; ++i) towertest::InsertTagged(pcb, kRecordConsoleLog, 0xC0 + i);
  Entity* def = towertest::InsertTagged(pcb, kPadStackDef, 0xD0);
  Tower* info = InsertEntity(pcb, 8, kInstanceInfo, Words({0x11, NodeRefOf(def)}).data());
  TowerEntity(info)->flags = selectedFlags;
  const std::uint32_t identity[13] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13};
  Tower* id = InsertEntity(pcb, sizeof identity, kRecordIdInfo, identity);
  const std::vector<std::uint8_t> stream = WriteRecordStream(TowerEntity(pcb));
  ReleaseTower(&id);
  ReleaseTower(&info);
  DeleteEntity(pcb);
  ReleaseTower(&pcb);
  ReleaseTower(&scratch);
  return stream;
}

// Administrator (no password) may do all; guest may read; "nobody" may do nothing.
NetfsTreeNode StandardTree() {
  return NetfsNewTree({MakeUserRecord(1, "Administrator", ""), MakeUserRecord(2, "guest", ""),
                       MakeUserRecord(3, "nobody", "")},
                      {MakePermissionRecord(1, 0xF, "\\"), MakePermissionRecord(2, kRightRead, "\\")});
}

std::string WriteTree(const std::string& path, const NetfsTreeNode& tree) {
  const ByteBuffer image = NetfsBuildImage(tree);
  pl3test::WriteFileBytes(path, std::string(image.begin(), image.end()));
  return path;
}

void PutStream(NetfsTreeNode& tree, const std::string& dataPath, const std::vector<std::uint8_t>& stream) {
  ASSERT_TRUE(NetfsTreePutContent(tree, dataPath, stream.data(), stream.size()));
}

class FilingTest : public testing::Test {
 protected:
  void SetUp() override {
    NetFS_Initialise();
    NetFS_SetRetryInterval(1);
    parent = towertest::NewTopLevelEntity(800);
    dir = pl3test::MakeTempDir("filing");
    NetfsTreeNode tree = StandardTree();
    PutStream(tree, "\\Designs\\Amp?pcb\\data", PcbStream(1));
    PutStream(tree, "\\Designs\\Broken?pcb\\data", {9, 0, 0, 0, 0x04});
    ASSERT_TRUE(NetfsTreePutContent(tree, "\\Lib\\R1?pcbsymbol\\linkfile", "x", 1));
    ASSERT_TRUE(NetfsTreeMakeDirectory(tree, "\\Plain\\Sub\\"));
    path = WriteTree(dir + "/Board.p3p", tree);
  }
  void TearDown() override {
    ReleaseTower(&parent);
    ShutdownFilingSystem();
  }
  ContainerRecord* OpenAs(const char* user) { return FilingSystem_OpenContainer(path.c_str(), user, ""); }

  Tower* parent = nullptr;
  std::string dir;
  std::string path;
};

}  // namespace

TEST(FilingNames, ItemTypes) {
  EXPECT_EQ(ItemTypeCodeFromName("PCB"), kItemPcb);
  EXPECT_EQ(ItemTypeCodeFromName("SchematicSymbol"), kItemSchematicSymbol);
  EXPECT_EQ(ItemTypeCodeFromName("package"), kItemPackage);
  EXPECT_EQ(ItemTypeCodeFromName("description"), 0) << "only the editor types are known by name";
  EXPECT_EQ(ItemTypeCodeFromName("bogus"), 0);
  EXPECT_STREQ(ItemTypeName(121), "description");
  EXPECT_STREQ(ItemTypeName(8100), "3d view");
  EXPECT_STREQ(ItemTypeName(4242), "unknown");
}

TEST_F(FilingTest, OpenDocumentLoadsWithReferencesRePointedAndPathRecords) {
  ContainerRecord* record = OpenAs("Administrator");
  ASSERT_NE(record, nullptr);
  Tower* doc = FilingSystem_OpenDocument(record, "\\Designs\\Amp?pcb", parent);
  ASSERT_NE(doc, nullptr);
  EXPECT_FALSE(FilingAlreadyOpen());
  const Entity* pcb = TowerEntity(doc);
  EXPECT_EQ(pcb->typeCode, kItemPcb);
  EXPECT_EQ(WordAt(FirstOfCode(pcb, kInstanceInfo), 4), NodeRefOf(FirstOfCode(pcb, kPadStackDef)));
  EXPECT_EQ(DocumentText(doc, kRecordItemPath), "\\Designs\\Amp");
  EXPECT_EQ(DocumentText(doc, kRecordFileName), "Amp");
  EXPECT_EQ(DocumentText(doc, kRecordLibraryName), NetFS_FullPath(path.c_str()));
  ContainerRecord* named = nullptr;
  std::memcpy(&named, GetEntityData(doc, kRecordContainerRecord), sizeof named);
  EXPECT_EQ(named, record);
  EXPECT_EQ(filingfakes::Recorded().conversions, 1);
  EXPECT_EQ(filingfakes::Recorded().fontRemaps, 1);
  EXPECT_EQ(filingfakes::Recorded().undoClears, 1) << "a loaded design's history names nodes of another run";
  ASSERT_EQ(record->entries.size(), 1u);
  EXPECT_EQ(record->entries[0].access, kAccessEditing);
  EXPECT_EQ(record->useCount, 1u);
  int index = -1;
  EXPECT_EQ(FindDocumentOpenFile(doc, &index), record);
  EXPECT_EQ(index, 0);

  // Opening it again hands back the same document and asks the store nothing.
  Tower* again = FilingSystem_OpenDocument(record, "\\DESIGNS\\amp?PCB", parent);
  ASSERT_NE(again, nullptr);
  EXPECT_TRUE(FilingAlreadyOpen());
  EXPECT_EQ(TowerEntity(again), pcb);
  EXPECT_EQ(record->entries.size(), 1u);
  EXPECT_EQ(filingfakes::Recorded().conversions, 1);
  ReleaseTower(&again);

  FilingSystem_CloseFile(record, "\\Designs\\Amp?pcb\\data");
  EXPECT_EQ(record->useCount, 0u);
  EXPECT_TRUE(record->entries.empty());
  FilingSystem_CloseContainer(record);
  EXPECT_TRUE(FilingContainerRecords().empty());
  ReleaseTower(&doc);
}

TEST_F(FilingTest, LoadItemKeepsTheEditingEntryAndItsLock) {
  ContainerRecord* record = OpenAs("Administrator");
  Tower* doc = FilingSystem_OpenDocument(record, "\\Designs\\Amp?pcb", parent);
  ASSERT_NE(doc, nullptr);
  Tower* other = towertest::NewTopLevelEntity(801);
  Tower* item = FilingSystem_LoadItem(record, "\\Designs\\Amp?pcb\\data", other);
  ASSERT_NE(item, nullptr);
  EXPECT_NE(TowerEntity(item), TowerEntity(doc));
  ASSERT_EQ(record->entries.size(), 1u);
  EXPECT_EQ(TowerEntity(record->entries[0].document), TowerEntity(doc));
  EXPECT_EQ(record->useCount, 1u);
  EXPECT_EQ(NetFS_OpenFile(record->handle, "\\Designs\\Amp?pcb\\data", kLockEditing), 0);
  EXPECT_EQ(NetFS_GetLastError(), 9u) << "the edit lock is still held";
  ReleaseTower(&item);
  ReleaseTower(&other);
  ReleaseTower(&doc);
}

TEST_F(FilingTest, AccessMessagesAndViewingOnly) {
  ContainerRecord* record = OpenAs("guest");
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(FilingSystem_OpenFileForEditing(record, "\\Designs\\Amp?pcb\\data"), 0);
  ASSERT_EQ(pl3::ResponderRecords().size(), 1u);
  EXPECT_EQ(pl3::ResponderRecords()[0].text,
            "You do not have sufficient access rights to open the file for editing, opening for viewing only.");
  EXPECT_EQ(pl3::ResponderRecords()[0].caption, "Pelmora3");
  EXPECT_EQ(record->entries[0].access, kAccessViewing);
  EXPECT_EQ(FilingSystem_SaveDocument(record, "\\Designs\\Amp?pcb\\data", parent), 0);
  EXPECT_EQ(NetFS_GetLastError(), 7u);
  FilingSystem_CloseFile(record, "\\Designs\\Amp?pcb\\data");
  FilingSystem_CloseContainer(record);

  pl3::ClearResponderRecords();
  record = OpenAs("nobody");
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(FilingSystem_OpenFileForEditing(record, "\\Designs\\Amp?pcb\\data"), -1);
  ASSERT_EQ(pl3::ResponderRecords().size(), 1u);
  EXPECT_EQ(pl3::ResponderRecords()[0].text, "You do not have sufficient access rights.");
  EXPECT_TRUE(record->entries.empty());

  // A read failure other than rights: the error message, then viewing only.
  pl3::ClearResponderRecords();
  NetFS_Disconnect(record->handle);
  EXPECT_EQ(FilingSystem_OpenFileForEditing(record, "\\Designs\\Amp?pcb\\data"), 0);
  ASSERT_EQ(pl3::ResponderRecords().size(), 1u);
  EXPECT_EQ(pl3::ResponderRecords()[0].text, "FilingSystem_OpenFileForEditing - Read - Error (14)");
  EXPECT_EQ(record->entries[0].access, kAccessViewing);
}

TEST_F(FilingTest, DamagedItemLeavesNoOpenFile) {
  ContainerRecord* record = OpenAs("Administrator");
  EXPECT_EQ(FilingSystem_OpenDocument(record, "\\Designs\\Broken?pcb", parent), nullptr);
  EXPECT_EQ(NetFS_GetLastError(), 13u);
  EXPECT_TRUE(record->entries.empty());
  EXPECT_EQ(record->useCount, 0u);
  EXPECT_EQ(TowerEntity(parent)->firstChild, 0u);
  EXPECT_EQ(FilingSystem_LoadItem(record, "\\Designs\\Missing?pcb\\data", parent), nullptr);
  EXPECT_EQ(record->useCount, 0u);

  // An entry that was open before the failed load keeps its place and lock.
  ASSERT_EQ(FilingSystem_OpenFileForEditing(record, "\\Designs\\Broken?pcb\\data"), 0);
  EXPECT_EQ(FilingSystem_OpenDocument(record, "\\Designs\\Broken?pcb", parent), nullptr);
  EXPECT_EQ(NetFS_GetLastError(), 13u);
  ASSERT_EQ(record->entries.size(), 1u);
  EXPECT_EQ(record->entries[0].access, kAccessEditing);
  EXPECT_EQ(record->useCount, 1u);
  EXPECT_EQ(NetFS_OpenFile(record->handle, "\\Designs\\Broken?pcb\\data", kLockEditing), 0);
  EXPECT_EQ(NetFS_GetLastError(), 9u) << "the edit lock is still held";
}

TEST_F(FilingTest, ReadOnlyContainersOpenThroughTheirOwnTemporaryCopies) {
  // A second read-only file of the same name, in another folder, with other content.
  const std::string otherDir = pl3test::MakeTempDir("filing-other");
  NetfsTreeNode tree = StandardTree();
  PutStream(tree, "\\Designs\\Amp?pcb\\data", PcbStream(2));
  const std::string otherPath = WriteTree(otherDir + "/Board.p3p", tree);
  for (const std::string& p : {path, otherPath})
    fs::permissions(p, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);

  ContainerRecord* first = OpenAs("Administrator");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->flags & kContainerTemporaryCopy, kContainerTemporaryCopy);
  const std::string copy = first->handle->fullPath;
  EXPECT_NE(copy, NetFS_FullPath(path.c_str()));
  EXPECT_TRUE(fs::exists(pl3::HostPath(copy)));
  EXPECT_EQ(fs::path(pl3::HostPath(copy)).filename(), "Board.p3p") << "the copy keeps the file's name";
  EXPECT_EQ(OpenAs("Administrator"), first) << "one record and one copy";

  ContainerRecord* second = FilingSystem_OpenContainer(otherPath.c_str(), "Administrator", "");
  ASSERT_NE(second, nullptr);
  EXPECT_NE(second, first);
  Tower* a = FilingSystem_OpenDocument(first, "\\Designs\\Amp?pcb", parent);
  Tower* b = FilingSystem_OpenDocument(second, "\\Designs\\Amp?pcb", parent);
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(towertest::TagOf(TowerEntity(a)), 1u);
  EXPECT_EQ(towertest::TagOf(TowerEntity(b)), 2u) << "each file's own documents";
  EXPECT_EQ(FilingSystem_SaveDocument(first, "\\Designs\\Amp?pcb\\data", a), 0) << "a temporary copy is not saved";

  EXPECT_NE(second->handle->fullPath, copy);
  const std::string secondCopy = pl3::HostPath(second->handle->fullPath);
  EXPECT_EQ(fs::path(secondCopy).filename(), "Board.p3p");

  FilingSystem_CloseFile(first, "\\Designs\\Amp?pcb\\data");
  FilingSystem_CloseContainer(first);
  EXPECT_FALSE(fs::exists(pl3::HostPath(copy)));
  EXPECT_FALSE(fs::exists(fs::path(pl3::HostPath(copy)).parent_path())) << "nor its folder";
  EXPECT_TRUE(fs::exists(secondCopy));
  EXPECT_TRUE(fs::exists(path));
  ReleaseTower(&a);
  ReleaseTower(&b);
}

TEST_F(FilingTest, LoadingATwinReturnsTheLoadedDocument) {
  ContainerRecord* record = OpenAs("Administrator");
  Tower* first = FilingSystem_LoadDocument(record, "\\Designs\\Amp?pcb\\data", parent);
  ASSERT_NE(first, nullptr);
  EXPECT_FALSE(FilingAlreadyOpen());
  Tower* second = FilingSystem_LoadDocument(record, "\\designs\\amp?pcb\\data", parent);
  ASSERT_NE(second, nullptr);
  EXPECT_TRUE(FilingAlreadyOpen());
  EXPECT_EQ(TowerEntity(second), TowerEntity(first));
  EXPECT_EQ(CountChildren(parent), 1) << "the new copy is discarded";
  ReleaseTower(&first);
  ReleaseTower(&second);
}

// Opening by path drops the console log lines saved with a document; a
// document that was already loaded keeps the lines it has gathered since.
TEST_F(FilingTest, OpenPathDropsTheSavedConsoleLog) {
  NetfsTreeNode tree = StandardTree();
  PutStream(tree, "\\Designs\\Logged?pcb\\data", PcbStream(3, 0, 2));
  const std::string logged = WriteTree(dir + "/Logged.p3p", tree);

  Tower* first = FilingSystem_OpenAndLoad(logged.c_str(), "\\Designs\\Logged?pcb", parent);
  ASSERT_NE(first, nullptr);
  EXPECT_FALSE(FilingAlreadyOpen());
  EXPECT_EQ(GetEntityData(first, kRecordConsoleLog), nullptr);
  EXPECT_NE(FirstOfCode(TowerEntity(first), kPadStackDef), nullptr) << "nothing else goes";
  EXPECT_EQ(DocumentText(first, kRecordItemPath), "\\Designs\\Logged");

  towertest::InsertTagged(first, kRecordConsoleLog, 0xAB);
  Tower* again = FilingSystem_OpenAndLoad(logged.c_str(), "\\Designs\\Logged?pcb", parent);
  ASSERT_NE(again, nullptr);
  EXPECT_TRUE(FilingAlreadyOpen());
  EXPECT_EQ(TowerEntity(again), TowerEntity(first));
  ASSERT_NE(GetEntityData(first, kRecordConsoleLog), nullptr);
  EXPECT_EQ(towertest::TagOf(FirstOfCode(TowerEntity(first), kRecordConsoleLog)), 0xABu);

  // An item loaded without the path open keeps what was saved with it.
  ContainerRecord* record = FilingSystem_OpenContainer(logged.c_str(), "Administrator", "");
  Tower* other = towertest::NewTopLevelEntity(804);
  Tower* plain = FilingSystem_LoadItem(record, "\\Designs\\Logged?pcb\\data", other);
  ASSERT_NE(plain, nullptr);
  EXPECT_NE(GetEntityData(plain, kRecordConsoleLog), nullptr);
  for (Tower** t : {&plain, &other, &again, &first}) ReleaseTower(t);
}

// An identity record too short for its 13 words (a damaged file) identifies
// nothing: loading the item twice gives two documents.
TEST_F(FilingTest, ShortIdentityRecordMakesNoTwin) {
  Tower* scratch = towertest::NewTopLevelEntity(803);
  const std::uint32_t tag = 5;
  Tower* pcb = InsertEntity(scratch, 4, kItemPcb, &tag);
  Tower* id = InsertEntity(pcb, 4, kRecordIdInfo, &tag);
  const std::vector<std::uint8_t> stream = WriteRecordStream(TowerEntity(pcb));
  ReleaseTower(&id);
  DeleteEntity(pcb);
  ReleaseTower(&pcb);
  ReleaseTower(&scratch);
  NetfsTreeNode tree = StandardTree();
  PutStream(tree, "\\Designs\\Short?pcb\\data", stream);
  const std::string shortPath = WriteTree(dir + "/Short.p3p", tree);

  ContainerRecord* record = FilingSystem_OpenContainer(shortPath.c_str(), "Administrator", "");
  ASSERT_NE(record, nullptr);
  Tower* first = FilingSystem_LoadDocument(record, "\\Designs\\Short?pcb\\data", parent);
  Tower* second = FilingSystem_LoadDocument(record, "\\Designs\\Short?pcb\\data", parent);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_FALSE(FilingAlreadyOpen());
  EXPECT_NE(TowerEntity(second), TowerEntity(first));
  ReleaseTower(&first);
  ReleaseTower(&second);
}

TEST_F(FilingTest, SavedSelectionSurvivesAReload) {
  ContainerRecord* record = OpenAs("Administrator");
  Tower* doc = FilingSystem_OpenDocument(record, "\\Designs\\Amp?pcb", parent);
  ASSERT_NE(doc, nullptr);
  const HWND window = reinterpret_cast<HWND>(0x1234);
  Tower* w = InsertEntity(doc, sizeof window, kRecordDocumentWindow, &window);
  ReleaseTower(&w);
  // The user selects an item and saves.
  Entity* added = towertest::InsertTagged(doc, 7, 0x77);
  added->flags |= kEntitySelected;
  ASSERT_EQ(FilingSystem_SaveDocument(record, "\\Designs\\Amp?pcb\\data", doc), 1) << NetFS_GetLastError();

  Tower* fresh = FilingSystem_ReloadDocument(record, 0);
  ASSERT_NE(fresh, nullptr);
  EXPECT_NE(FirstOfCode(TowerEntity(fresh), 7), nullptr) << "the selected item was saved and kept";
  EXPECT_TRUE(pl3::ResponderRecords().empty()) << "no items-deleted warning";
  HWND carried = nullptr;
  std::memcpy(&carried, GetEntityData(fresh, kRecordDocumentWindow), sizeof carried);
  EXPECT_EQ(carried, window);
  EXPECT_EQ(TowerEntity(record->entries[0].document), TowerEntity(fresh));
  EXPECT_EQ(CountChildren(parent), 1) << "the old document is gone";
  ReleaseTower(&fresh);
  ReleaseTower(&doc);
  FilingSystem_CloseFile(record, "\\Designs\\Amp?pcb\\data");
  FilingSystem_CloseContainer(record);

  // A fresh open of the saved file: the item is there, nothing is deleted.
  Tower* elsewhere = towertest::NewTopLevelEntity(802);
  Tower* reopened = FilingSystem_OpenAndLoad(path.c_str(), "\\Designs\\Amp?pcb", elsewhere);
  ASSERT_NE(reopened, nullptr);
  EXPECT_NE(FirstOfCode(TowerEntity(reopened), 7), nullptr);
  EXPECT_EQ(GetEntityData(reopened, kRecordDocumentWindow), nullptr) << "window handles are not saved";
  EXPECT_TRUE(FilingContainerRecords().empty()) << "nothing of it stays open";
  ReleaseTower(&reopened);
  ReleaseTower(&elsewhere);
}

TEST_F(FilingTest, LinkFilesAndEntries) {
  ContainerRecord* record = OpenAs("Administrator");
  EXPECT_EQ(ContainsLinkFile(record->handle, "\\Lib\\R1?pcbsymbol"), 1);
  EXPECT_EQ(ContainsLinkFile(record->handle, "\\Lib"), 1);
  EXPECT_EQ(ContainsLinkFile(record->handle, "\\Designs"), 0);
  EXPECT_EQ(ContainsLinkFile(record->handle, "\\Plain"), 0);
  EXPECT_EQ(ContainsLinkFile(record->handle, "\\Nowhere"), 1) << "a folder that cannot be listed counts";
  EXPECT_EQ(FilingSystem_FileExists(record, "\\Designs\\Amp?pcb\\data"), 1);
  EXPECT_EQ(FilingSystem_FileExists(record, "\\Designs\\Nope?pcb\\data"), 0);
  FilingSystem_CloseContainer(record);
  EXPECT_EQ(ContainerEntryExists(path.c_str(), "\\Lib\\R1?pcbsymbol\\linkfile"), 1);
  EXPECT_EQ(ContainerEntryExists(path.c_str(), "\\Lib\\R2"), 0);
  EXPECT_TRUE(FilingContainerRecords().empty());
}

// A record that a caller opened and holds, with nothing open in it yet, is
// not closed under it by a look-up or a load of the same container.
TEST_F(FilingTest, RecordsHeldByOthersStayOpen) {
  ContainerRecord* held = OpenAs("Administrator");
  ASSERT_NE(held, nullptr);
  EXPECT_EQ(ContainerEntryExists(path.c_str(), "\\Lib\\R1?pcbsymbol\\linkfile"), 1);
  ASSERT_EQ(FilingContainerRecords(), std::vector<ContainerRecord*>{held});
  Tower* doc = FilingSystem_OpenAndLoad(path.c_str(), "\\Designs\\Amp?pcb", parent);
  ASSERT_NE(doc, nullptr);
  ASSERT_EQ(FilingContainerRecords(), std::vector<ContainerRecord*>{held});
  EXPECT_EQ(FilingSystem_FileExists(held, "\\Designs\\Amp?pcb\\data"), 1) << "still open and usable";
  FilingSystem_CloseContainer(held);
  EXPECT_TRUE(FilingContainerRecords().empty());
  ReleaseTower(&doc);
}

TEST_F(FilingTest, ShutdownClosesEverythingAndRemembersFolders) {
  HKEY key = nullptr;
  ASSERT_EQ(CreateProgramRegistryKey(HKEY_CURRENT_USER, "Initialisation", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                     nullptr),
            ERROR_SUCCESS);
  RegCloseKey(key);
  LoadLastDirectories("\\projects", "\\libraries");
  EXPECT_EQ(RememberedDirectoryPath(LastPCBDirectory), "\\libraries");
  RememberedDirectoryPath(LastGeneralDirectory) = "\\general";
  ASSERT_NE(OpenAs("Administrator"), nullptr);
  // A read-only container with an item still open: its copy goes too.
  NetfsTreeNode tree = StandardTree();
  PutStream(tree, "\\Designs\\Amp?pcb\\data", PcbStream(3));
  const std::string readOnly = WriteTree(dir + "/Frozen.p3p", tree);
  fs::permissions(readOnly, fs::perms::owner_write, fs::perm_options::remove);
  ContainerRecord* frozen = FilingSystem_OpenContainer(readOnly.c_str(), "Administrator", "");
  ASSERT_NE(frozen, nullptr);
  const std::string copy = pl3::HostPath(frozen->handle->fullPath);
  Tower* doc = FilingSystem_OpenDocument(frozen, "\\Designs\\Amp?pcb", parent);
  ASSERT_NE(doc, nullptr);
  ReleaseTower(&doc);
  ShutdownFilingSystem();
  EXPECT_FALSE(fs::exists(copy));
  EXPECT_TRUE(fs::exists(readOnly));
  EXPECT_TRUE(FilingContainerRecords().empty());
  EXPECT_FALSE(NetFS_IsInitialised());
  EXPECT_FALSE(fs::exists(dir + "/Board.tmp"));
  LoadLastDirectories("\\p", "\\l");
  EXPECT_EQ(RememberedDirectoryPath(LastGeneralDirectory), "\\general") << "read back from the registry";
  EXPECT_EQ(RememberedDirectoryPath(LastProjectDirectory), "\\projects");
}

TEST(FilingPaths, RelativePathsAndSuffixes) {
  EXPECT_EQ(GetRelativePath("\\Work\\Projects", "\\work\\projects\\\\amp\\a.p3p"), "amp\\a.p3p");
  EXPECT_EQ(GetRelativePath("\\Work\\Projects", "\\Other\\a.p3p"), std::nullopt);
  EXPECT_EQ(GetRelativePath("\\Work\\Projects", "\\Work\\ProjectsOld\\a.p3p"), std::nullopt)
      << "a longer folder name is not below the base";
  EXPECT_EQ(GetRelativePath("\\Work\\Projects\\", "\\Work\\Projects\\a.p3p"), "a.p3p");
  EXPECT_EQ(EndsWithNoCase("board.P3P", ".p3p"), 1);
  EXPECT_EQ(EndsWithNoCase(".p3p", ".P3P"), 0) << "equal to the suffix";
  EXPECT_EQ(EndsWithNoCase("p3p", ".p3p"), 0);
}
