#include "objects/file_paths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "store/file_dialogs.h"
#include "tests/support/test_paths.h"

namespace {

// A host path in the program's form: "C:" and backslashes.
std::string ProgramForm(const std::string& host) {
  std::string path = "C:" + host;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

struct Found {
  std::uint32_t kind = 0;
  std::string path, rest;
  bool none = true;
};

Found Find(const std::string& text) {
  std::unique_ptr<FoundFilePath, void (*)(FoundFilePath*)> found(FindFilePathInText(text.c_str()), &FreeFoundFilePath);
  if (!found) return {};
  return {found->kind, found->path, found->rest, false};
}

class FilePaths : public testing::Test {
 protected:
  void SetUp() override {
    root = pl3test::MakeTempDir("paths");
    std::filesystem::create_directories(root + "/my libs");
    pl3test::WriteFileBytes(root + "/my libs/parts.p3l", "x");
    project = ProgramForm(root);
    DialogStartFolders().projectPath = project;
  }
  std::string root, project;
};

TEST_F(FilePaths, ADrivePathSplitsAtTheContainerFile) {
  const Found found = Find(project + "\\my libs\\parts.p3l\\pcbsymbol\\R0805");
  ASSERT_FALSE(found.none);
  EXPECT_EQ(found.kind, kFoundDrivePath);
  EXPECT_EQ(found.path, project + "\\my libs\\parts.p3l");
  EXPECT_EQ(found.rest, "\\pcbsymbol\\R0805");
}

TEST_F(FilePaths, ARelativePathIsTakenBelowTheProjectFolder) {
  const Found found = Find(" \t my libs\\parts.p3l\\package\\SO8");
  ASSERT_FALSE(found.none);
  EXPECT_EQ(found.kind, kFoundRelativePath);
  EXPECT_EQ(found.path, project + "\\my libs\\parts.p3l");
  EXPECT_EQ(found.rest, "\\package\\SO8");
}

TEST_F(FilePaths, TextsWithoutAFileBeforeABackslashFindNothing) {
  const std::string texts[] = {
      "",
      "   ",
      project + "\\my libs\\",                  // folders only
      project + "\\my libs\\parts.p3l",         // the text ends at the file name
      project + "\\my libs\\missing.p3l\\x",
      "\\my libs\\parts.p3l\\x",                // a backslash before the path starts
      ":my libs\\parts.p3l\\x",
      "my libs:\\parts.p3l\\x",                 // a colon past the second character
  };
  for (const std::string& text : texts) EXPECT_TRUE(Find(text).none) << text;
  EXPECT_EQ(FindFilePathInText(nullptr), nullptr);
}

// The search looks at most 2,000 bytes, terminator included: a file whose path
// needs more is not found, one just inside the limit is.
TEST_F(FilePaths, APathPastTheBufferFindsNothing) {
  const std::string base = project + "\\";
  auto deepFile = [&](std::size_t length) {
    // Folders of 200 characters, then a file name that brings the path to `length`.
    std::string host = root, program = project;
    while (program.size() + 1 + 200 + 1 + 20 < length) {
      const std::string folder(200, 'd');
      host += "/" + folder;
      program += "\\" + folder;
    }
    std::filesystem::create_directories(host);
    const std::string file(length - program.size() - 1, 'f');
    pl3test::WriteFileBytes(host + "/" + file, "x");
    return program + "\\" + file;
  };
  const std::string inside = deepFile(1999);
  ASSERT_EQ(inside.size(), 1999u);
  EXPECT_FALSE(Find(inside + "\\item").none);
  std::filesystem::remove_all(root + "/" + std::string(200, 'd'));
  const std::string outside = deepFile(2000);
  ASSERT_EQ(outside.size(), 2000u);
  EXPECT_TRUE(Find(outside + "\\item").none);
  EXPECT_TRUE(Find(std::string(5000, 'a') + "\\b").none);
}

}  // namespace
