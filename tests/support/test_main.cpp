// The main of every test program. Tests run on the headless platform backend
// with a private configuration folder, so that no test reads or writes the
// user's own settings, and global state is reset before every test.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/reset_hooks.h"
#include "tests/support/test_paths.h"

namespace {

class ResetGlobalsListener : public testing::EmptyTestEventListener {
  void OnTestStart(const testing::TestInfo&) override { pl3::ResetGlobalStateForTests(); }
};

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  // Death tests re-run the program; "threadsafe" keeps that sound under ASan.
  GTEST_FLAG_SET(death_test_style, "threadsafe");

  // Configuration and temporary files stay inside the scratch folder, which
  // is removed when the program ends.
  const std::string config = pl3test::ScratchDir() + "/config";
  const std::string temp = pl3test::ScratchDir() + "/tmp";
  std::filesystem::create_directories(config);
  std::filesystem::create_directories(temp);
  setenv("XDG_CONFIG_HOME", config.c_str(), 1);
  setenv("TMPDIR", temp.c_str(), 1);
  setenv("PL3_BACKEND", "headless", 1);
  setenv("SDL_VIDEODRIVER", "dummy", 0);

  testing::UnitTest::GetInstance()->listeners().Append(new ResetGlobalsListener);
  return RUN_ALL_TESTS();
}
