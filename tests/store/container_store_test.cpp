#include "store/container_store.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>

#include "store/netfs_writer.h"
#include "store/safe_file.h"
#include "tests/store/netfs_fixtures.h"
#include "tests/support/test_paths.h"

namespace fs = std::filesystem;

namespace {

std::string WriteContainer(const std::string& dir, const std::string& name, const netfs_fixture::Bytes& image) {
  const std::string path = dir + "/" + name;
  pl3test::WriteFileBytes(path, std::string(image.begin(), image.end()));
  return path;
}

std::vector<std::string> Names(const DirectoryListing& l) {
  std::vector<std::string> names;
  for (std::uint32_t i = 0; i < l.Count(); ++i) names.emplace_back(EntryName(l.Entry(i)));
  return names;
}

class ContainerStoreTest : public testing::Test {
 protected:
  void SetUp() override {
    NetFS_Initialise();
    NetFS_SetRetryInterval(1);
    dir = pl3test::MakeTempDir("store");
    // Administrator (password "abc") may do all; everyone may read.
    path = WriteContainer(dir, "Amp.p3p", netfs_fixture::MakeStandard(PasswordHash("abc")).image);
  }
  void TearDown() override { NetFS_CloseAll(); }
  NetFSHandle* OpenAdmin() { return NetFS_OpenContainer(path.c_str(), "Administrator", "abc"); }
  std::string dir;
  std::string path;
};

}  // namespace

TEST(ContainerStoreBare, CallsBeforeInitialisingFailWithError1) {
  EXPECT_EQ(NetFS_OpenContainer("/nowhere.p3p", "Administrator", ""), nullptr);
  EXPECT_EQ(NetFS_GetLastError(), 1u);
  NetFS_SetLastError(77);
  NetFSHandle fake;
  EXPECT_EQ(NetFS_ReleaseAllLocks(&fake), 0u);
  EXPECT_EQ(NetFS_GetLastError(), 77u) << "release leaves the last error untouched";
}

TEST_F(ContainerStoreTest, FilesThatAreNoContainersGiveError13) {
  EXPECT_EQ(NetFS_OpenContainer((dir + "/missing.p3p").c_str(), "Administrator", "abc"), nullptr);
  EXPECT_EQ(NetFS_GetLastError(), 13u);
  auto bad = netfs_fixture::MakeStandard().image;
  bad[0] = 0;
  const std::string wrong = WriteContainer(dir, "wrong.p3p", bad);
  EXPECT_EQ(NetFS_OpenContainer(wrong.c_str(), "Administrator", ""), nullptr);
  EXPECT_EQ(NetFS_GetLastError(), 13u);
  EXPECT_TRUE(fs::remove(wrong)) << "the file is closed again";
  // Damaged: a FAT beyond the file's end; no working copy is left behind.
  auto damaged = netfs_fixture::MakeStandard().image;
  netfs_fixture::Put32(damaged, 12, 500);
  const std::string d = WriteContainer(dir, "damaged.p3p", damaged);
  EXPECT_EQ(NetFS_OpenContainer(d.c_str(), "Administrator", ""), nullptr);
  EXPECT_EQ(NetFS_GetLastError(), 13u);
  EXPECT_FALSE(fs::exists(dir + "/damaged.tmp"));
  // Without its users file a container cannot be served.
  NetfsTreeNode tree = NetfsNewTreeForUser("Administrator", "");
  ASSERT_TRUE(NetfsTreeDelete(tree, "\\users?system"));
  const ByteBuffer image = NetfsBuildImage(tree);
  const std::string noUsers = WriteContainer(dir, "nousers.p3p", netfs_fixture::Bytes(image.begin(), image.end()));
  EXPECT_EQ(NetFS_OpenContainer(noUsers.c_str(), "Administrator", ""), nullptr);
  EXPECT_EQ(NetFS_GetLastError(), 13u);
  EXPECT_FALSE(fs::exists(dir + "/nousers.tmp"));
}

TEST_F(ContainerStoreTest, OpenLogsOnAndSharesTheHandleAcrossSpellings) {
  NetFSHandle* h = OpenAdmin();
  ASSERT_NE(h, nullptr);
  EXPECT_TRUE(h->loggedIn);
  const std::string other = dir + "/./AMP.P3P";
  EXPECT_EQ(NetFS_OpenContainer(other.c_str(), "x", "y"), h);
  const fs::path cwd = fs::current_path();
  fs::current_path(dir);
  EXPECT_EQ(NetFS_OpenContainer("amp.p3p", "x", "y"), h);
  fs::current_path(cwd);

  // Log-on by name regardless of case; wrong password 5, unknown user 6.
  EXPECT_TRUE(NetFS_Login(h, "ADMINISTRATOR", "abc"));
  EXPECT_FALSE(NetFS_Login(h, "Administrator", "abd"));
  EXPECT_EQ(NetFS_GetLastError(), 5u);
  EXPECT_FALSE(h->loggedIn);
  EXPECT_FALSE(NetFS_Login(h, "nobody", "abc"));
  EXPECT_EQ(NetFS_GetLastError(), 6u);
  NetFS_CloseContainer(h);
}

TEST_F(ContainerStoreTest, ListingReadingAndEntries) {
  NetFSHandle* h = OpenAdmin();
  ASSERT_NE(h, nullptr);
  auto root = NetFS_ListDirectory(h, "\\");
  ASSERT_TRUE(root);
  EXPECT_EQ(Names(*root), (std::vector<std::string>{"users?system", "permissions?system", "a", "Designs", "notes"}));
  auto a = NetFS_ListDirectory(h, "\\a\\");
  ASSERT_TRUE(a);
  EXPECT_EQ(Names(*a), std::vector<std::string>{"x"});
  EXPECT_FALSE(NetFS_ListDirectory(h, "\\nothing\\"));
  EXPECT_EQ(NetFS_GetLastError(), 3u);

  auto stored = NetFS_ReadFile(h, "\\designs\\AMP?pcb\\data");
  ASSERT_TRUE(stored);
  EXPECT_EQ(NetFS_GetFileSize(h, "\\Designs\\Amp?PCB\\data"), stored->size());
  ASSERT_TRUE(DecompressStoredFile(*stored));
  EXPECT_EQ(stored->size(), 10000u);
  EXPECT_FALSE(NetFS_ReadFile(h, "\\Designs\\none"));
  EXPECT_EQ(NetFS_GetLastError(), 3u);

  auto entry = NetFS_GetEntry(h, "\\a");
  ASSERT_TRUE(entry);
  EXPECT_EQ(EntryName(*entry), "a");
  EXPECT_EQ(entry->flags & kDirectoryFlag, kDirectoryFlag);
  EXPECT_FALSE(NetFS_GetEntry(h, "\\b"));
  EXPECT_EQ(NetFS_GetLastError(), 3u);
  EXPECT_EQ(NetFS_GetFileSize(h, "\\b"), 0u);
  EXPECT_EQ(NetFS_GetLastError(), 3u);
  NetFS_CloseContainer(h);
}

TEST_F(ContainerStoreTest, EditLocksAndRights) {
  NetFSHandle* h = OpenAdmin();
  ASSERT_NE(h, nullptr);
  const char* data = "\\Designs\\Amp?PCB\\data";
  EXPECT_EQ(NetFS_OpenFile(h, data, kLockEditing), 1);
  EXPECT_EQ(NetFS_OpenFile(h, data, kLockEditing), 0);
  EXPECT_EQ(NetFS_GetLastError(), 9u) << "a second edit open fails, even in this process";
  EXPECT_EQ(NetFS_OpenFile(h, data, kLockReading), 1) << "a read open turns the entry into a read entry";
  EXPECT_EQ(NetFS_OpenFile(h, data, kLockEditing), 1);
  EXPECT_EQ(NetFS_CloseFile(h, data), 1u);
  EXPECT_EQ(NetFS_OpenFile(h, data, kLockEditing), 1);

  // Request 18 never creates: 12, 2, 16, and nothing appears.
  EXPECT_EQ(NetFS_CreateDirectory(h, "\\a"), 0);
  EXPECT_EQ(NetFS_GetLastError(), 12u);
  EXPECT_EQ(NetFS_CreateDirectory(h, "\\fresh"), 0);
  EXPECT_EQ(NetFS_GetLastError(), 2u);
  EXPECT_EQ(NetFS_OpenFile(h, "\\fresh", kLockEditing), 1);
  EXPECT_EQ(NetFS_CreateDirectory(h, "\\fresh"), 0);
  EXPECT_EQ(NetFS_GetLastError(), 16u);
  EXPECT_FALSE(NetFS_GetEntry(h, "\\fresh"));

  // Every client call of this process shares one client UUID: releasing on
  // the handle releases every lock of the process on the container.
  EXPECT_EQ(NetFS_ReleaseAllLocks(h), 1u);
  EXPECT_EQ(NetFS_OpenFile(h, data, kLockEditing), 1);

  // A log-on entry of this client is kept until it disconnects; then a guest
  // logs on, who may only read.
  EXPECT_TRUE(NetFS_Login(h, "guest", ""));
  EXPECT_EQ(NetFS_OpenFile(h, "\\notes", kLockEditing), 1) << "still the administrator's entry";
  NetFS_CloseFile(h, "\\notes");
  EXPECT_TRUE(NetFS_Disconnect(h));
  EXPECT_TRUE(NetFS_Login(h, "guest", ""));
  EXPECT_EQ(NetFS_OpenFile(h, "\\notes", kLockEditing), 0);
  EXPECT_EQ(NetFS_GetLastError(), 7u);
  EXPECT_EQ(NetFS_OpenFile(h, "\\notes", kLockReading), 1);
  EXPECT_EQ(NetFS_CreateDirectory(h, "\\new"), 0);
  EXPECT_EQ(NetFS_GetLastError(), 7u);

  // Not logged on: 14. Unknown container handle: 8.
  EXPECT_FALSE(NetFS_Login(h, "guest", "wrong"));
  EXPECT_EQ(NetFS_GetLastError(), 5u);
  EXPECT_TRUE(NetFS_Disconnect(h));
  EXPECT_FALSE(NetFS_ReadFile(h, "\\notes"));
  EXPECT_EQ(NetFS_GetLastError(), 14u);
  NetFSHandle unknown;
  unknown.handleNumber = 999;
  EXPECT_EQ(NetFS_OpenFile(&unknown, "\\notes", kLockReading), 0);
  EXPECT_EQ(NetFS_GetLastError(), 8u);
  EXPECT_EQ(NetFS_CloseFile(&unknown, "\\notes"), 0u);
  NetFS_CloseContainer(h);
}

TEST_F(ContainerStoreTest, RenameStatusesAndWritingBack) {
  NetFSHandle* h = OpenAdmin();
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(NetFS_Rename(h, "\\notes", "a"), 0);
  EXPECT_EQ(NetFS_GetLastError(), 15u);
  EXPECT_EQ(NetFS_Rename(h, "\\missing", "b"), 0);
  EXPECT_EQ(NetFS_GetLastError(), 3u);
  EXPECT_EQ(NetFS_OpenFile(h, "\\Designs\\Amp?PCB\\data", kLockReading), 1);
  EXPECT_EQ(NetFS_Rename(h, "\\Designs", "Boards"), 0);
  EXPECT_EQ(NetFS_GetLastError(), 10u) << "something below it is open";
  NetFS_CloseFile(h, "\\Designs\\Amp?PCB\\data");
  // The system files keep their names: the container opens only with them.
  EXPECT_EQ(NetFS_Rename(h, "\\users?system", "old users"), 0);
  EXPECT_EQ(NetFS_GetLastError(), 7u);
  EXPECT_EQ(NetFS_Rename(h, "\\Permissions?System", "x"), 0);
  EXPECT_EQ(NetFS_GetLastError(), 7u);
  EXPECT_EQ(NetFS_Rename(h, "\\notes", "NOTES"), 1) << "same name in other case";
  EXPECT_EQ(NetFS_Rename(h, "\\Designs", "Boards"), 1);
  auto root = NetFS_ListDirectory(h, "\\");
  ASSERT_TRUE(root);
  EXPECT_EQ(Names(*root), (std::vector<std::string>{"users?system", "permissions?system", "a", "Boards", "NOTES"}));
  EXPECT_TRUE(NetFS_ReadFile(h, "\\Boards\\Amp?PCB\\data")) << "the store goes on with the new file";
  NetFS_CloseContainer(h);

  // The rename is in the file on disk.
  auto bytes = pl3test::ReadFileBytes(path);
  const netfs_fixture::Bytes image(bytes.begin(), bytes.end());
  NetfsVolume v = NetfsVolumeFromMemory(image.data(), image.size());
  ASSERT_TRUE(NetfsOpenVolume(v, nullptr));
  DirectoryListing listing;
  ASSERT_EQ(NetfsListDirectory(v, "\\boards\\", listing, nullptr), NetfsResult::Ok);
  EXPECT_EQ(Names(listing), std::vector<std::string>{"Amp?PCB"});
  EXPECT_FALSE(fs::exists(SavingPathBeside(path)));
  ASSERT_NE((h = OpenAdmin()), nullptr) << "the renamed container opens again";
  NetFS_CloseContainer(h);
}

TEST_F(ContainerStoreTest, WorkingCopyLivesWhileOpenAndTheTimeIsRestored) {
  const auto old = fs::file_time_type::clock::now() - std::chrono::hours(48);
  fs::last_write_time(path, old);
  NetFSHandle* h = OpenAdmin();
  ASSERT_NE(h, nullptr);
  const std::string working = dir + "/Amp.tmp";
  EXPECT_EQ(NetFS_WorkingCopyPath(NetFS_FullPath(path.c_str())), NetFS_FullPath(working.c_str()));
  ASSERT_TRUE(fs::exists(working));
  EXPECT_EQ(pl3test::ReadFileBytes(working), pl3test::ReadFileBytes(path));
  fs::last_write_time(path, fs::file_time_type::clock::now());  // touched while open
  NetFS_CloseContainer(h);
  EXPECT_FALSE(fs::exists(working));
  // Restored to the 100 ns the platform's file times hold.
  EXPECT_LT(std::chrono::abs(fs::last_write_time(path) - old), std::chrono::nanoseconds(100));
}

TEST_F(ContainerStoreTest, WrittenContainerKeepsItsNewTime) {
  const auto old = fs::file_time_type::clock::now() - std::chrono::hours(48);
  fs::last_write_time(path, old);
  NetFSHandle* h = OpenAdmin();
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(NetFS_WriteFile(h, "\\Designs\\New?pcb\\data", "fresh", 5), 1);
  auto stored = NetFS_ReadFile(h, "\\Designs\\New?pcb\\data");
  ASSERT_TRUE(stored);
  ASSERT_TRUE(DecompressStoredFile(*stored));
  EXPECT_EQ(std::string(stored->begin(), stored->end()), "fresh");
  NetFS_CloseContainer(h);
  EXPECT_GT(fs::last_write_time(path), old);

  // Nobody writes the store's own files.
  h = OpenAdmin();
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(NetFS_WriteFile(h, "\\users?system", "x", 1), 0);
  EXPECT_EQ(NetFS_GetLastError(), 7u);
  EXPECT_EQ(NetFS_WriteFile(h, "\\PERMISSIONS?SYSTEM", "x", 1), 0);
  EXPECT_EQ(NetFS_GetLastError(), 7u);
  NetFS_CloseContainer(h);
  h = OpenAdmin();
  ASSERT_NE(h, nullptr);
  EXPECT_TRUE(NetFS_ReadFile(h, "\\Designs\\New?pcb\\data")) << "the administrator still logs on";
  NetFS_CloseContainer(h);

  // A guest may not write.
  h = NetFS_OpenContainer(path.c_str(), "guest", "");
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(NetFS_WriteFile(h, "\\Designs\\Other?pcb\\data", "x", 1), 0);
  EXPECT_EQ(NetFS_GetLastError(), 7u);
  NetFS_CloseContainer(h);
}

TEST_F(ContainerStoreTest, FailedLogOnStillClosesTheContainer) {
  NetFSHandle* h = NetFS_OpenContainer(path.c_str(), "Administrator", "wrong");
  ASSERT_NE(h, nullptr) << "the open succeeds without a log-on";
  EXPECT_FALSE(h->loggedIn);
  EXPECT_FALSE(NetFS_ReadFile(h, "\\notes"));
  EXPECT_EQ(NetFS_GetLastError(), 14u);
  NetFS_CloseContainer(h);
  EXPECT_FALSE(fs::exists(dir + "/Amp.tmp"));
  EXPECT_TRUE(fs::remove(path)) << "the file is closed";
}

TEST_F(ContainerStoreTest, ContainerNamedLikeItsWorkingCopySurvivesClose) {
  const std::string tmp = WriteContainer(dir, "scratch.tmp", netfs_fixture::MakeStandard().image);
  NetFSHandle* h = NetFS_OpenContainer(tmp.c_str(), "Administrator", "");
  ASSERT_NE(h, nullptr);
  NetFS_CloseContainer(h);
  EXPECT_TRUE(fs::exists(tmp));
}

namespace {
std::vector<ByteBuffer> gNotified;
std::uint32_t gNestedSize = 0;
NetFSHandle* gHandle = nullptr;
void RecordNotification(const ByteBuffer& request) {
  gNotified.push_back(request);
  gNestedSize = NetFS_GetFileSize(gHandle, "\\notes");  // a client call from inside a broadcast
}
}  // namespace

TEST_F(ContainerStoreTest, BroadcastReachesTheHandlerWhichMayCallTheStore) {
  gNotified.clear();
  gHandle = OpenAdmin();
  ASSERT_NE(gHandle, nullptr);
  NetFS_RegisterNotificationHandler(0, &RecordNotification);
  const std::uint32_t data[2] = {1, 0x41414141};
  NetFS_BroadcastNotification(gHandle, data, sizeof data);
  EXPECT_EQ(NetFS_GetLastError(), 0u);
  ASSERT_EQ(gNotified.size(), 1u);
  const ByteBuffer& r = gNotified[0];
  ASSERT_EQ(r.size(), 28u + sizeof data);
  std::uint32_t code, kind;
  std::memcpy(&code, r.data(), 4);
  std::memcpy(&kind, r.data() + 28, 4);
  EXPECT_EQ(code, 34u);
  EXPECT_EQ(kind, 1u);
  EXPECT_GT(gNestedSize, 0u);
  NetFS_CloseContainer(gHandle);
}

TEST_F(ContainerStoreTest, MissingRepliesAreRetriedFiveTimes) {
  NetFSHandle* h = OpenAdmin();
  ASSERT_NE(h, nullptr);
  NetFS_DropRequestsForTests(24, 4);  // the fifth try gets its reply
  EXPECT_GT(NetFS_GetFileSize(h, "\\notes"), 0u);
  EXPECT_EQ(NetFS_GetLastError(), 0u);
  NetFS_DropRequestsForTests(24, 5);  // five tries without a reply
  EXPECT_EQ(NetFS_GetFileSize(h, "\\notes"), 0u);
  EXPECT_EQ(NetFS_GetLastError(), 4u);
  NetFS_DropRequestsForTests(0);
  EXPECT_GT(NetFS_GetFileSize(h, "\\notes"), 0u);
  NetFS_CloseContainer(h);
}

TEST_F(ContainerStoreTest, CloseAllClosesEverything) {
  ASSERT_NE(OpenAdmin(), nullptr);
  NetFS_CloseAll();
  EXPECT_FALSE(NetFS_IsInitialised());
  EXPECT_FALSE(fs::exists(dir + "/Amp.tmp"));
  EXPECT_EQ(NetFS_OpenContainer(path.c_str(), "Administrator", "abc"), nullptr);
  EXPECT_EQ(NetFS_GetLastError(), 1u);
}
