// A child process saves a container over and over and is killed with SIGKILL
// at random moments; after every kill the container must open and hold the
// content of one whole save, byte for byte. The test drives real processes,
// so it uses the host's process calls directly.
#include <gtest/gtest.h>
#include <signal.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <random>
#include <thread>

#include "store/container_store.h"
#include "store/netfs_writer.h"
#include "tests/support/test_paths.h"

namespace {

// Content of save number `version`: every byte follows from it. Beside it
// the container keeps a note that no save touches.
ByteBuffer DataOf(std::uint32_t version) {
  ByteBuffer b(24 * 1024);
  for (std::size_t i = 0; i < b.size(); ++i) b[i] = static_cast<std::uint8_t>(version * 31u + i * 7u + (i >> 9));
  std::memcpy(b.data(), &version, 4);
  return b;
}
const std::string kNote = "a note that every save must keep";

// The version a container holds, or a failure when it is damaged or mixed.
testing::AssertionResult ReadVersion(const std::string& path, std::uint32_t& version) {
  const std::string bytes = pl3test::ReadFileBytes(path);
  NetfsVolume v = NetfsVolumeFromMemory(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  std::string error;
  if (!NetfsOpenVolume(v, &error)) return testing::AssertionFailure() << "does not open: " << error;
  ByteBuffer data, note;
  if (NetfsReadFileContent(v, "\\Designs\\Board?pcb\\data", data, &error) != NetfsResult::Ok ||
      NetfsReadFileContent(v, "\\notes", note, &error) != NetfsResult::Ok)
    return testing::AssertionFailure() << "cannot be read: " << error;
  if (data.size() < 4) return testing::AssertionFailure() << "short data";
  std::memcpy(&version, data.data(), 4);
  if (data != DataOf(version)) return testing::AssertionFailure() << "data of version " << version << " is mixed";
  if (std::string(note.begin(), note.end()) != kNote) return testing::AssertionFailure() << "the note changed";
  return testing::AssertionSuccess();
}

// Each finished save writes one byte to `doneFd` (never blocking), so the
// parent can wait for a save instead of guessing how long one takes.
[[noreturn]] void SaveForever(const std::string& path, std::uint32_t firstVersion, int doneFd) {
  NetFS_Initialise();
  NetFSHandle* h = NetFS_OpenContainer(path.c_str(), "Administrator", "");
  if (!h) _exit(2);
  for (std::uint32_t v = firstVersion;; ++v) {
    const ByteBuffer data = DataOf(v);
    if (!NetFS_WriteFile(h, "\\Designs\\Board?pcb\\data", data.data(), static_cast<std::uint32_t>(data.size())))
      _exit(3);
    const char done = 1;
    if (write(doneFd, &done, 1) < 0) { /* a full pipe is fine: one byte is enough */ }
  }
}

}  // namespace

TEST(NetfsCrash, KilledSavesLeaveOldOrNewContent) {
  const std::string dir = pl3test::MakeTempDir("crash");
  const std::string path = dir + "/board.p3p";
  NetfsTreeNode tree = NetfsNewTreeForUser("Administrator", "");
  const ByteBuffer data = DataOf(0);
  ASSERT_TRUE(NetfsTreePutContent(tree, "\\Designs\\Board?pcb\\data", data.data(), data.size()));
  ASSERT_TRUE(NetfsTreePutContent(tree, "\\notes", kNote.data(), kNote.size()));
  const ByteBuffer image = NetfsBuildImage(tree);
  pl3test::WriteFileBytes(path, std::string(image.begin(), image.end()));

  std::mt19937 random(20261210);
  std::uniform_int_distribution<int> pause(0, 12000);
  std::uint32_t seen = 0;
  int advanced = 0;
  constexpr int kKills = 200;
  for (int kill = 0; kill < kKills; ++kill) {
    const std::uint32_t first = (kill + 1) * 1000000u;
    int done[2];
    ASSERT_EQ(pipe(done), 0);
    ASSERT_EQ(fcntl(done[1], F_SETFL, O_NONBLOCK), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      close(done[0]);
      SaveForever(path, first, done[1]);
    }
    close(done[1]);
    if (kill % 10 == 9) {
      // Every tenth child is killed only after a save of its own has
      // finished, however loaded the machine is.
      pollfd wait{done[0], POLLIN, 0};
      ASSERT_EQ(poll(&wait, 1, 60000), 1) << "child " << kill << " finished no save within a minute";
      std::this_thread::sleep_for(std::chrono::microseconds(pause(random)));
    } else {
      std::this_thread::sleep_for(std::chrono::microseconds(pause(random)));
    }
    ::kill(child, SIGKILL);
    close(done[0]);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the child stopped by itself with " << WEXITSTATUS(status);

    std::uint32_t version = 0;
    ASSERT_TRUE(ReadVersion(path, version)) << "after kill " << kill;
    // Either the content from before this child, or that of a save of it.
    if (version != seen) {
      ASSERT_GE(version, first) << "after kill " << kill;
      ++advanced;
    }
    seen = version;
  }
  EXPECT_GE(advanced, 5) << "the children must have saved now and then";
}
