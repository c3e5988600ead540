#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/kernel_files.h"
#include "platform/responder.h"
#include "store/file_dialogs.h"
#include "store/path_helpers.h"
#include "store/text_reader.h"
#include "tests/support/test_paths.h"

namespace {

std::vector<std::string> Lines(const std::string& data, bool keepEmptyLines) {
  TextReaderPtr reader = OpenTextReaderFromMemory(data.data(), data.size());
  std::vector<std::string> lines;
  while (ReadTextLine(*reader, keepEmptyLines)) lines.push_back(reader->line);
  EXPECT_FALSE(ReadTextLine(*reader, keepEmptyLines));  // stays at the end
  return lines;
}

using L = std::vector<std::string>;

TEST(ReadTextLine, EmptyLinesAndLineEnds) {
  EXPECT_EQ(Lines("a\r\n\r\nb", false), (L{"a", "b"}));
  EXPECT_EQ(Lines("a\r\n\r\nb", true), (L{"a", "", "b"}));
  EXPECT_EQ(Lines("a\n\nb\n", true), (L{"a", "", "b"}));
  // With kept empty lines only a line feed closes a line end: carriage returns
  // before it, however many, belong to the same end (CR CR LF is one end).
  EXPECT_EQ(Lines("a\r\r\nb", true), (L{"a", "b"}));
  EXPECT_EQ(Lines("a\r\rb", true), (L{"a", "b"}));
  EXPECT_EQ(Lines("a\r\r\n\r\r\nb\r", true), (L{"a", "", "b"}));
  EXPECT_EQ(Lines("a\r\r\nb", false), (L{"a", "b"}));
  EXPECT_EQ(Lines("a\rb\r\n", false), (L{"a", "b"}));
  EXPECT_EQ(Lines("a\n\r\n\n\nb", false), (L{"a", "b"}));
  EXPECT_EQ(Lines("a\n\r\nb", true), (L{"a", "", "b"}));
}

TEST(ReadTextLine, LastLineAndEmptyData) {
  EXPECT_EQ(Lines("first\r\nlast without end", false), (L{"first", "last without end"}));
  EXPECT_EQ(Lines("first\r\nlast without end", true), (L{"first", "last without end"}));
  EXPECT_EQ(Lines("only\r\n", true), (L{"only"}));
  EXPECT_EQ(Lines("", false), L{});
  EXPECT_EQ(Lines("", true), L{});
  // Blank lines never come out when they are not kept, also at the start.
  EXPECT_EQ(Lines("\r\n\r\n", false), L{});
  EXPECT_EQ(Lines("\r\n\r\nx", false), (L{"x"}));
  EXPECT_EQ(Lines("\r\n", true), (L{""}));
}

TEST(ReadTextLine, ZeroBytesAreSkippedAndLongLinesComeOutWhole) {
  const std::string withNul("a\0b\r\n\0c\0", 9);
  EXPECT_EQ(Lines(withNul, true), (L{"ab", "c"}));
  const std::string longLine(5000, 'x');
  EXPECT_EQ(Lines(longLine + "\r\nnext", false), (L{longLine, "next"}));
}

TEST(TextReader, ReadsAWholeFile) {
  const std::string dir = pl3test::MakeTempDir("text_reader");
  const std::string path = dir + "/lines.txt";
  pl3test::WriteFileBytes(path, "one\r\ntwo\r\n");
  TextReaderPtr reader = OpenTextReader(path.c_str());
  ASSERT_TRUE(reader);
  EXPECT_FALSE(reader->hasLine);
  EXPECT_EQ(reader->size, 10u);
  ASSERT_TRUE(ReadTextLine(*reader, false));
  EXPECT_EQ(reader->line, "one");
  ASSERT_TRUE(ReadTextLine(*reader, false));
  EXPECT_EQ(reader->line, "two");
  EXPECT_FALSE(ReadTextLine(*reader, false));
  CloseTextReader(reader);
  EXPECT_FALSE(reader);
  CloseTextReader(reader);  // null is ignored

  EXPECT_FALSE(OpenTextReader((dir + "/missing.txt").c_str()));
  EXPECT_FALSE(OpenTextReader(nullptr));
}

TEST(TextReader, HoldsItsFileUnsharedUntilClosed) {
  const std::string path = pl3test::MakeTempDir("text_reader_share") + "/held.txt";
  pl3test::WriteFileBytes(path, "x");
  TextReaderPtr reader = OpenTextReader(path.c_str());
  ASSERT_TRUE(reader);
  HANDLE second = CreateFile(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_EQ(second, INVALID_HANDLE_VALUE);
  CloseTextReader(reader);
  second = CreateFile(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_NE(second, INVALID_HANDLE_VALUE);
  CloseHandle(second);
}

// ---- Paths ----------------------------------------------------------------------

TEST(PathHelpers, FindExtensionDot) {
  EXPECT_EQ(FindExtensionDot("C:\\boards\\a.p3s"), 11);
  EXPECT_EQ(FindExtensionDot("C:\\boards\\a.tar.gz"), 15);  // the last point
  EXPECT_EQ(FindExtensionDot("C:\\boards.v2\\readme"), -1);
  EXPECT_EQ(FindExtensionDot(".profile"), -1);
  EXPECT_EQ(FindExtensionDot(""), -1);
  EXPECT_EQ(FindExtensionDot("a."), 1);
}

TEST(PathHelpers, ReplaceExtension) {
  EXPECT_EQ(ReplaceExtension("C:\\b\\sizes.txt", "p3s"), "C:\\b\\sizes.p3s");
  EXPECT_EQ(ReplaceExtension("C:\\b.d\\sizes", "p3s"), "C:\\b.d\\sizes.p3s");
  EXPECT_EQ(ReplaceExtension("", "p3s"), ".p3s");
}

TEST(PathHelpers, FileExistsUsesTheFindSearch) {
  std::string dir = pl3::ProgramPath(pl3test::MakeTempDir("exists"));
  std::string file = dir + "\\Board.P3P";
  EXPECT_EQ(FileExists(file.c_str()), 0);
  pl3test::WriteFileBytes(pl3::HostPath(file), "x");
  EXPECT_EQ(FileExists(file.c_str()), 1);
  EXPECT_EQ(FileExists((dir + "\\board.p3p").c_str()), 1);
  EXPECT_EQ(FileExists((dir + "\\*.p3p").c_str()), 1);
  EXPECT_EQ(FileExists((dir + "\\*.p3l").c_str()), 0);
  EXPECT_EQ(FileExists(""), 0);
  EXPECT_EQ(pl3::OpenKernelHandleCount(), 0u);  // the search was closed
}

TEST(PathHelpers, FileNamePart) {
  EXPECT_EQ(GetFileNamePart("C:\\boards\\main.pcb"), "main.pcb");
  EXPECT_EQ(GetFileNamePart("main.pcb"), "main.pcb");
  EXPECT_EQ(GetFileNamePart("C:main.pcb"), "main.pcb");
  EXPECT_EQ(GetFileNamePart("C:\\boards\\"), "");
  EXPECT_EQ(GetFileNamePartOrNull("C:\\boards\\main.pcb"), "main.pcb");
  EXPECT_EQ(GetFileNamePartOrNull("main.pcb"), std::nullopt);
  EXPECT_EQ(GetFileNamePartOrNull("\\"), std::nullopt);
  EXPECT_EQ(GetFileNamePartOrNull(""), std::nullopt);
  EXPECT_EQ(GetFileNamePartOrNull("\\a"), "a");
}

// ---- Dialogs ----------------------------------------------------------------------

class FileDialogs : public testing::Test {
 protected:
  void SetUp() override {
    DialogFolders& f = DialogStartFolders();
    f.projectPath = "\\p\\projects";
    f.libraryPath = "\\p\\libraries";
    f.configurationPath = "\\p\\config";
    f.netPath = "\\p\\nets";
    f.outputPath = "\\p\\output";
    f.modelPath3D = "\\p\\models";
  }
  static const pl3::ResponderRecord& Last() { return pl3::ResponderRecords().back(); }
};

TEST_F(FileDialogs, OpenStartsInTheFolderOfTheDefaultExtension) {
  const std::pair<const char*, const char*> cases[] = {
      {"LIB", "\\p\\libraries"}, {"prj", "\\p\\projects"}, {"PCB", "\\p\\projects"}, {"P3S", "\\p\\config"},
      {"siz", "\\p\\config"},    {"GRD", "\\p\\config"},   {"net", "\\p\\nets"},     {"WAS", "\\p\\nets"},
      {"gbx", "\\p\\output"},    {"BMP", "\\p\\output"},   {"PCK", "\\p\\output"},   {"nc", "\\p\\output"},
      {"TXT", "\\p\\output"},    {"ac", "\\p\\models"},    {"dxf", "\\given"},
  };
  for (auto [ext, folder] : cases) {
    SetupOpenFileName(nullptr, "Files\0*.*\0", ext, "\\given");
    EXPECT_EQ(ShowOpenFileDialog(nullptr, nullptr), std::nullopt) << ext;  // cancelled by default
    EXPECT_EQ(Last().kind, pl3::ResponderKind::OpenFile);
    EXPECT_EQ(Last().initial, std::string(folder) + "|") << ext;
  }
  EXPECT_EQ(Last().flags, OFN_EXPLORER | kOfnShareAware | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY);
  EXPECT_EQ(SharedOpenFileName.nFilterIndex, 1u);
  EXPECT_EQ(SharedOpenFileName.lStructSize, 76u);
}

TEST_F(FileDialogs, OpenWithAPathStartsThereAndReturnsTheChoice) {
  SetupOpenFileName(nullptr, nullptr, "p3s", "\\given");
  EXPECT_EQ(SharedOpenFileName.nFilterIndex, 0u);
  pl3::PushPathAnswer("\\p\\config\\mine.p3s");
  EXPECT_EQ(ShowOpenFileDialog(nullptr, "C:\\old\\sizes.p3s"), "\\p\\config\\mine.p3s");
  EXPECT_EQ(Last().initial, "C:\\old\\|sizes.p3s");
  EXPECT_TRUE(Last().scripted);
}

TEST_F(FileDialogs, SaveAndFolder) {
  SetupOpenFileName(nullptr, nullptr, "p3s", "\\p\\config");
  pl3::PushPathAnswer("\\p\\config\\saved.p3s");
  EXPECT_EQ(ShowSaveFileDialog(nullptr, "new.p3s"), "\\p\\config\\saved.p3s");
  EXPECT_EQ(Last().kind, pl3::ResponderKind::SaveFile);
  EXPECT_EQ(Last().initial, "\\p\\config|new.p3s");
  EXPECT_EQ(Last().flags, OFN_EXPLORER | kOfnShareAware | OFN_HIDEREADONLY);
  EXPECT_EQ(ShowSaveFileDialog(nullptr, nullptr), std::nullopt);

  pl3::PushPathAnswer("\\p\\output\\gerbers");
  EXPECT_EQ(BrowseForFolder(nullptr, "Choose a folder"), "\\p\\output\\gerbers");
  EXPECT_EQ(Last().kind, pl3::ResponderKind::BrowseFolder);
  EXPECT_EQ(Last().text, "Choose a folder");
  EXPECT_EQ(BrowseForFolder(nullptr, "Again"), std::nullopt);
}

}  // namespace
