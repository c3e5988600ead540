#include "app/document_open.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "app/application_globals.h"
#include "app/core_utilities.h"
#include "app/frame_command_hub.h"
#include "app/owner_drawn_menus.h"
#include "app/pending_services.h"
#include "app/recent_projects.h"
#include "app/settings_block.h"
#include "draw/display_list.h"
#include "platform/menus.h"
#include "platform/responder.h"
#include "platform/user.h"
#include "store/container_store.h"
#include "store/document_filing.h"
#include "store/filing_seams.h"
#include "store/item_stream.h"
#include "store/netfs_writer.h"
#include "store/tower.h"
#include "tests/app/frame_hub_fakes.h"
#include "tests/app/frame_hub_test_windows.h"
#include "tests/support/test_paths.h"

using hubfakes::Recorded;

namespace {

// A host path in the program's form: "C:" and backslashes.
std::string ProgramForm(const std::string& host) {
  std::string path = "C:" + host;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

// The data stream of a board item.
std::vector<std::uint8_t> BoardStream() {
  Tower* scratch = NewTower(0);
  LastLevel(scratch).typeCode = 790;
  InsertAtLastLevel(scratch, 0);
  const std::uint32_t tag = 1;
  Tower* pcb = InsertEntity(scratch, sizeof tag, kItemPcb, &tag);
  std::vector<std::uint8_t> stream = WriteRecordStream(TowerEntity(pcb));
  DeleteEntity(pcb);
  ReleaseTower(&pcb);
  ReleaseTower(&scratch);
  return stream;
}

// The description stream of an item: a description record with a tag.
std::vector<std::uint8_t> DescriptionStream(std::uint32_t tag) {
  Tower* scratch = NewTower(0);
  LastLevel(scratch).typeCode = 790;
  InsertAtLastLevel(scratch, 0);
  Tower* description = InsertEntity(scratch, sizeof tag, 121, &tag);
  std::vector<std::uint8_t> stream = WriteRecordStream(TowerEntity(description));
  DeleteEntity(description);
  ReleaseTower(&description);
  ReleaseTower(&scratch);
  return stream;
}

// A project holding the board "\Designs\Amp" with its description, written
// with the store's writer.
std::string WriteProject(const std::string& hostPath) {
  NetfsTreeNode tree = NetfsNewTree({MakeUserRecord(1, "Administrator", "")}, {MakePermissionRecord(1, 0xF, "\\")});
  const std::vector<std::uint8_t> stream = BoardStream();
  EXPECT_TRUE(NetfsTreePutContent(tree, "\\Designs\\Amp?pcb\\data", stream.data(), stream.size()));
  const std::vector<std::uint8_t> description = DescriptionStream(0xDE5C);
  EXPECT_TRUE(NetfsTreePutContent(tree, "\\Designs\\Amp?pcb\\description", description.data(), description.size()));
  const ByteBuffer image = NetfsBuildImage(tree);
  pl3test::WriteFileBytes(hostPath, std::string(image.begin(), image.end()));
  return ProgramForm(hostPath);
}

class DocumentOpen : public hubtest::HubWindows {
 protected:
  void SetUp() override {
    HubWindows::SetUp();
    // Opened documents hang on the program's top-level tower.
    ProgramTower = NewTower(0);
    LastLevel(ProgramTower).typeCode = 211;
    InsertAtLastLevel(ProgramTower, 0);
    NetFS_Initialise();
    NetFS_SetRetryInterval(1);
    dir = pl3test::MakeTempDir("open");
    project = WriteProject(dir + "/Board.p3p");
  }
  void TearDown() override {
    HubWindows::TearDown();
    ShutdownFilingSystem();
    DeleteEntity(ProgramTower);
    ReleaseTower(&ProgramTower);
  }
  int Children() const {
    int n = 0;
    for (HWND w = GetWindow(MDIClientWindow, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) ++n;
    return n;
  }
  std::vector<const pl3::ResponderRecord*> FileDialogs() const {
    std::vector<const pl3::ResponderRecord*> dialogs;
    for (const pl3::ResponderRecord& r : pl3::ResponderRecords())
      if (r.kind == pl3::ResponderKind::OpenFile) dialogs.push_back(&r);
    return dialogs;
  }
  // Open General... with the path chosen in the dialog.
  void OpenGeneral(const std::string& chosen) {
    pl3::PushPathAnswer(chosen);
    DoFrameCommand(frame, 2487, 0, nullptr);
  }

  std::string dir;
  std::string project;
};

TEST_F(DocumentOpen, AnOldBoardInCapitalsTakesTheImportRoad) {
  Recorded().importCommand = 4012;
  block->editorKind = kEditorPcb;
  OpenGeneral(ProgramForm(dir + "/OLD.PCB"));
  EXPECT_NE(block->Display, nullptr) << "the imported board's display list is built";
  FreeDisplayList(static_cast<DisplayList*>(block->Display));
  block->Display = nullptr;
  const auto dialogs = FileDialogs();
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0]->text.rfind("All Files (*.P3P, *.P3L, *.PCB)|*.P3P;*.P3L;*.PCB|PL3 Files (*.P3P, *.P3L)|*.P3P;*.P3l|"
                                   "PL3 Projects (*.P3P)|*.P3P|PL3 Libraries (*.P3L)|*.P3L|PL2 PCB (*.PCB)|*.PCB",
                                   0),
            0u)
      << dialogs[0]->text;
  ASSERT_EQ(Recorded().createFlags.size(), 1u);
  EXPECT_EQ(Recorded().createFlags[0], kOpenNamedOrImport) << "an empty board for the import";
  EXPECT_EQ(Recorded().imports, std::vector<std::string>{ProgramForm(dir + "/OLD.PCB") + "|4012"});
  EXPECT_EQ(OpenRequestFlags, 0);
  EXPECT_EQ(PendingContainerPath, nullptr);
}

TEST_F(DocumentOpen, ACancelledImportDialogImportsNothing) {
  Recorded().importCommand = 0;
  OpenGeneral(ProgramForm(dir + "/old.pcb"));
  EXPECT_EQ(Recorded().calls, std::vector<std::string>{"ShowImportPl2PcbDialog"});
  EXPECT_TRUE(Recorded().imports.empty());
  EXPECT_EQ(OpenRequestFlags, 0);
}

TEST_F(DocumentOpen, ABoardPickedInAProjectOpensInItsWindowAndHeadsTheRecentList) {
  Recorded().chooserItem = "\\Designs\\Amp?pcb";
  static std::uint32_t descriptionTag = 0;
  static bool pathRecords = true;
  Recorded().onCreate = [] {
    const void* tag = GetEntityData(PendingItemTower, 121);
    if (!tag) return;
    std::memcpy(&descriptionTag, tag, sizeof descriptionTag);
    Tower* description = OpenChildTower(PendingItemTower, 121);
    pathRecords = GetEntityData(description, kRecordFileName) || GetEntityData(description, kRecordItemPath);
    ReleaseTower(&description);
  };
  OpenGeneral(project);
  EXPECT_EQ(descriptionTag, 0xDE5Cu) << "the description is read from its stream";
  EXPECT_FALSE(pathRecords) << "without the path records the read adds";
  ASSERT_EQ(Recorded().chooserTypes.size(), 1u);
  EXPECT_EQ(Recorded().chooserTypes[0], "pcb:schematic:shape:padstack:pcbsymbol:schematicsymbol:package");
  EXPECT_EQ(Recorded().chooserContainers[0], project);
  ASSERT_EQ(Recorded().createFlags.size(), 1u);
  EXPECT_EQ(Recorded().createFlags[0], kOpenTakePendingItem | kOpenNamedOrImport);
  EXPECT_EQ(Recorded().createTypes[0], kItemPcb) << "the window takes the board";
  ASSERT_NE(Recorded().taken, nullptr);
  ASSERT_NE(TowerEntity(Recorded().taken), nullptr) << "the board stays the window's after the command";
  EXPECT_EQ(TowerEntity(Recorded().taken)->typeCode, kItemPcb);
  EXPECT_EQ(Recorded().calls, (std::vector<std::string>{"ChooseContainerItem", "AddFileToWorkspace", "CreatePCBWindow",
                                                        "PrepareDesignConnectivity", "PcbWindowAfterLoad"}));
  EXPECT_EQ(Children(), 1);
  EXPECT_EQ(OpenRequestFlags, 0) << "both bits are cleared after the open command";
  EXPECT_EQ(PendingItemTower, nullptr);
  EXPECT_EQ(std::string(RecentEntry(0)), project + "\\Designs\\Amp?pcb");
  EXPECT_EQ(std::string(LastContainerPath(kLastPcbOrSchematic)), project);
  EXPECT_EQ(std::string(LastGeneralOpenPath()), project);
}

TEST_F(DocumentOpen, AnItemOpenedThroughATemporaryCopyIsNotRemembered) {
  std::filesystem::permissions(dir + "/Board.p3p",
                               std::filesystem::perms::owner_write | std::filesystem::perms::group_write |
                                   std::filesystem::perms::others_write,
                               std::filesystem::perm_options::remove);
  Recorded().chooserItem = "\\Designs\\Amp?pcb";
  OpenGeneral(project);
  ASSERT_EQ(Recorded().createTypes.size(), 1u) << "the read-only project opens";
  EXPECT_STREQ(RecentEntry(0), "") << "the recent list names no temporary copy";
}

TEST_F(DocumentOpen, AnItemAlreadyOpenIsActivatedNotOpenedTwice) {
  Recorded().chooserItem = "\\Designs\\Amp?pcb";
  OpenGeneral(project);
  HWND board = ActiveChild();
  ASSERT_NE(board, nullptr);
  AddChild();
  ASSERT_NE(ActiveChild(), board);
  OpenGeneral(project);
  EXPECT_EQ(Children(), 2) << "no second window";
  EXPECT_EQ(Recorded().createFlags.size(), 1u);
  EXPECT_EQ(ActiveChild(), board);
  EXPECT_EQ(OpenRequestFlags, 0);
}

TEST_F(DocumentOpen, AChooserAnsweringTwoReopensTheDialogInTheSameFolder) {
  Recorded().chooserAgain = 2;
  pl3::PushPathAnswer(project);
  pl3::PushCancelAnswer();
  DoFrameCommand(frame, 2487, 0, nullptr);
  auto dialogs = FileDialogs();
  ASSERT_EQ(dialogs.size(), 2u);
  EXPECT_EQ(dialogs[1]->initial.substr(0, dialogs[1]->initial.find('|')), project.substr(0, project.rfind('\\') + 1));
  EXPECT_EQ(dialogs[1]->initial.substr(dialogs[1]->initial.find('|') + 1), "Board.p3p");

  pl3::ClearResponderRecords();
  Recorded().chooserAgain = 0;
  OpenGeneral(project);
  EXPECT_EQ(FileDialogs().size(), 1u) << "another answer ends the command";
}

TEST_F(DocumentOpen, ADamagedProjectOpensNothing) {
  pl3test::WriteFileBytes(dir + "/Junk.p3p", "not a container at all");
  Recorded().chooserItem = "\\Designs\\Amp?pcb";
  const int beeps = pl3::BeepCount();
  OpenGeneral(ProgramForm(dir + "/Junk.p3p"));
  EXPECT_TRUE(Recorded().createFlags.empty());
  EXPECT_EQ(Children(), 0);
  EXPECT_GT(pl3::BeepCount(), beeps);
  EXPECT_EQ(OpenRequestFlags, 0);
}

TEST_F(DocumentOpen, ARecentEntryOpensItsItemAndOneWithoutAPathIsRefused) {
  HMENU bar = CreateMenu();
  HMENU file = CreatePopupMenu();
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
  SetMenu(frame, bar);
  ASSERT_TRUE(AddToMRUList(ProgramForm(dir + "/Gone.p3p").c_str(), "\\Designs\\Amp", "pcb"));
  ASSERT_TRUE(AddToMRUList(project.c_str(), "\\Designs\\Amp", "pcb"));
  BuildMRUMenu(file);

  DoFrameCommand(frame, 4008, 0, nullptr);
  ASSERT_EQ(Recorded().createFlags.size(), 1u);
  EXPECT_EQ(Recorded().createTypes[0], kItemPcb);
  EXPECT_EQ(OpenRequestFlags, 0);

  DoFrameCommand(frame, 4009, 0, nullptr);
  ASSERT_FALSE(pl3::ResponderRecords().empty());
  EXPECT_EQ(pl3::ResponderRecords().back().text, "Unable to open file");
  EXPECT_EQ(pl3::ResponderRecords().back().caption, "Pelmora3");
  EXPECT_EQ(Recorded().createFlags.size(), 1u);
  FreeOwnerDrawnMenu(file);
}

// 280 answers the window it made, not a bare 1; an item not found answers 0.
TEST_F(DocumentOpen, AnOpenCommandAnswersTheWindowItMade) {
  const std::string item = "\\Designs\\Amp?pcb";
  OpenRequestFlags = kOpenTakePendingItem | kOpenNamedOrImport;
  PendingContainerPath = project.c_str();
  PendingItemPath = item.c_str();
  const LRESULT answer = DoFrameCommand(frame, 280, 0, nullptr);
  ASSERT_NE(ActiveChild(), nullptr);
  EXPECT_EQ(answer, reinterpret_cast<LRESULT>(ActiveChild()));
  EXPECT_EQ(Children(), 1);

  const std::string missing = "\\Designs\\Nowhere?pcb";
  PendingItemPath = missing.c_str();
  const int beeps = pl3::BeepCount();
  EXPECT_EQ(DoFrameCommand(frame, 280, 0, nullptr), 0);
  EXPECT_EQ(pl3::BeepCount(), beeps + 1);
  EXPECT_EQ(Children(), 1);
  OpenRequestFlags = 0;
  PendingContainerPath = nullptr;
  PendingItemPath = nullptr;
}

// A path the dialog's 2,048-byte buffer cannot hold is refused with the
// dialog's too-small error, whether it is the starting path or the one chosen;
// nothing is cut and nothing opens.
TEST_F(DocumentOpen, APathTooLongForTheDialogIsRefusedAsTooSmall) {
  const std::string longPath = "C:\\" + std::string(2100, 'd') + "\\Board.p3p";
  const int beeps = pl3::BeepCount();
  DoFileOpen(frame, longPath.c_str(), 1);
  EXPECT_TRUE(FileDialogs().empty()) << "no dialog over a cut path";
  EXPECT_EQ(CommDlgExtendedError(), FNERR_BUFFERTOOSMALL);
  EXPECT_TRUE(IsWindowEnabled(frame));

  // Just fits: the dialog opens there.
  const std::string fits = "C:\\" + std::string(2047 - 3, 'e');
  pl3::PushCancelAnswer();
  DoFileOpen(frame, fits.c_str(), 1);
  EXPECT_EQ(FileDialogs().size(), 1u);

  Recorded().chooserItem = "\\Designs\\Amp?pcb";
  OpenGeneral(longPath);
  EXPECT_EQ(CommDlgExtendedError(), FNERR_BUFFERTOOSMALL);
  EXPECT_TRUE(Recorded().chooserContainers.empty()) << "the chosen path never reaches the chooser";
  EXPECT_EQ(Children(), 0);
  EXPECT_EQ(pl3::BeepCount(), beeps);
  EXPECT_TRUE(IsWindowEnabled(frame));
}

// An entry written at exit and read back at the next start still opens its
// item: the "C:" program path survives the round trip and is found again.
TEST_F(DocumentOpen, ARecentEntryReadBackFromTheSettingsOpensItsItem) {
  ASSERT_TRUE(AddToMRUList(project.c_str(), "\\Designs\\Amp", "pcb"));
  SaveMRUList();
  ClearMRUList();
  ASSERT_STREQ(RecentEntry(0), "");
  HKEY key = nullptr;
  ASSERT_EQ(OpenProgramRegistryKey(HKEY_CURRENT_USER, "Initialisation", 0, KEY_READ, &key), 0);
  LoadMRUList(key);
  RegCloseKey(key);
  EXPECT_EQ(std::string(RecentEntry(0)), project + "\\Designs\\Amp?pcb");

  HMENU bar = CreateMenu();
  HMENU file = CreatePopupMenu();
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
  SetMenu(frame, bar);
  BuildMRUMenu(file);
  DoFrameCommand(frame, 4008, 0, nullptr);
  ASSERT_EQ(Recorded().createTypes.size(), 1u);
  EXPECT_EQ(Recorded().createTypes[0], kItemPcb);
  EXPECT_EQ(Children(), 1);
  FreeOwnerDrawnMenu(file);
}

}  // namespace

// Without a pending item the open commands ask through the container browser:
// a board or schematic starts where the last board was opened from, and a
// board chosen there becomes the next start; a library item starts at the
// library folder.
TEST_F(DocumentOpen, TheOpenCommandsChooserStartsAtTheLastContainerOrTheLibrary) {
  Recorded().chooserItem = "\\Designs\\Amp?pcb";
  OpenGeneral(project);
  ASSERT_EQ(std::string(LastContainerPath(kLastPcbOrSchematic)), project);
  pl3::ClearResponderRecords();

  for (UINT id : {280u, 282u}) {
    pl3::PushCancelAnswer();
    const int beeps = pl3::BeepCount();
    EXPECT_EQ(DoFrameCommand(frame, id, 0, nullptr), 0) << id;
    EXPECT_EQ(pl3::BeepCount(), beeps + 1) << "nothing chosen: " << id;
    auto dialogs = FileDialogs();
    ASSERT_EQ(dialogs.size(), 1u) << id;
    EXPECT_EQ(dialogs[0]->initial.substr(0, dialogs[0]->initial.find('|')), project.substr(0, project.rfind('\\')))
        << id;
    EXPECT_EQ(dialogs[0]->initial.substr(dialogs[0]->initial.find('|') + 1), "Board.p3p") << id;
    pl3::ClearResponderRecords();
  }

  SettingsBlock block{};
  const std::string library = ProgramForm(dir);
  block.LibraryPath = const_cast<char*>(library.c_str());
  Settings = &block;
  pl3::PushCancelAnswer();
  DoFrameCommand(frame, 464, 0, nullptr);
  Settings = nullptr;
  auto dialogs = FileDialogs();
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0]->initial.substr(0, dialogs[0]->initial.find('|')), library);
  EXPECT_EQ(std::string(LastContainerPath(kLastPcbOrSchematic)), project) << "a cancelled choice changes nothing";
}
