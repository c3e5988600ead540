// The key bindings file: what the program writes at start, and how the
// reader applies a user's edits.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/accelerators_file.h"
#include "app/builtin_commands.h"
#include "app/command_table.h"
#include "app/start_values.h"
#include "tests/support/test_paths.h"

namespace {

const CommandRecord* Find(const char* name, std::uint32_t kind) {
  for (std::uint32_t i = 0; i < LiveCommandTable.count; ++i) {
    const CommandRecord& r = LiveCommandTable.records[i];
    if (!std::strcmp(r.name, name) && r.contextBit == kind) return &r;
  }
  return nullptr;
}

std::string Keys(const char* name, std::uint32_t kind = 1) {
  const CommandRecord* r = Find(name, kind);
  if (!r) return "<none>";
  return r->keyText ? r->keyText : "";
}

class BindingsFile : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = pl3test::MakeTempDir(::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::strcpy(DirectoryBuffer(ConfigurationFolder), folder_.c_str());
    path_ = folder_ + "/accelerators.txt";
  }
  std::string folder_, path_;
};

TEST_F(BindingsFile, FirstStartWritesEveryCommandAndASecondStartKeepsIt) {
  RegisterCommands();
  const std::string first = pl3test::ReadFileBytes(path_);
  ASSERT_FALSE(first.empty());
  EXPECT_EQ(first.back(), '\n');
  std::size_t lines = 0;
  for (char c : first) lines += c == '\n';
  EXPECT_EQ(lines, 215u);
  EXPECT_EQ(first.find('\r'), std::string::npos);
  EXPECT_EQ(first.rfind("edit.accept=0x000d\n", 0), 0u);
  EXPECT_NE(first.find("\nwindows.next=0x0075\n"), std::string::npos);
  EXPECT_EQ(first.size() - first.rfind("windows.next=0x0075\n"), std::strlen("windows.next=0x0075\n"));
  for (const char* line : {"\nedit.copy=0x0011,0x0043\n", "\ninsert.dxf=0x0011,0x0010,0x005a\n",
                           "\ntools.activatelinkededitor=0x0011,0x00df\n", "\ntools.copyandincrement=0x006b\n",
                           "\ntools.zoomlevel.10=0x0030\n", "\ninsert.arc.ends=\n", "\ntools.zoomlevel.1=0x0031\n"})
    EXPECT_NE(first.find(line), std::string::npos) << line;
  // Each name once, in case-free order.
  EXPECT_EQ(first.find("edit.delete="), first.rfind("edit.delete="));
  EXPECT_LT(first.find("tools.zoomlevel.1="), first.find("tools.zoomlevel.10="));
  EXPECT_LT(first.find("tools.zoomlevel.10="), first.find("tools.zoomlevel.2="));
  EXPECT_STREQ(GetCommandKeyText(1, 2257), "Ctrl+C");

  RegisterCommands();
  EXPECT_EQ(pl3test::ReadFileBytes(path_), first);
}

TEST_F(BindingsFile, UserLinesReplaceTheDefaults) {
  pl3test::WriteFileBytes(path_,
                          "edit.copy = 0x0011 , 0x0043\r\n"
                          "\n\n"
                          "insert.line=\n"
                          "tools.select=0x0020\n"
                          "TOOLS.SELECT=0x0011,0x10053\n"         // the last line wins; low 16 bits
                          "tools.undo=0x0011,zz,0x005a\n"         // a token without a hex start is skipped
                          "tools.redo=0x0011,0x0010,0x0059,0x0041\n"
                          "no.such.command=0x0041\n"
                          "garbage line without equals 0x0041\n");
  RegisterCommands();
  EXPECT_EQ(Keys("edit.copy"), "Ctrl+C");
  EXPECT_EQ(Keys("insert.line"), "");
  EXPECT_EQ(Keys("tools.select", 32), "Ctrl+S");
  EXPECT_EQ(Keys("tools.undo"), "Ctrl+Z");
  EXPECT_EQ(Find("tools.redo", 1)->keyCount, 4u);
  EXPECT_EQ(Keys("edit.delete"), "");  // not named: unbound, since the file exists
  const std::string written = pl3test::ReadFileBytes(path_);
  EXPECT_NE(written.find("\nedit.copy=0x0011,0x0043\n"), std::string::npos);
  EXPECT_NE(written.find("\ninsert.line=\n"), std::string::npos);
  EXPECT_NE(written.find("\ntools.select=0x0011,0x0053\n"), std::string::npos);
  EXPECT_NE(written.find("\ntools.redo=0x0011,0x0010,0x0059,0x0041\n"), std::string::npos);
  EXPECT_EQ(written.find("no.such.command"), std::string::npos);
}

TEST_F(BindingsFile, AnEmptyFileUnbindsEverythingAndAMissingOneKeepsDefaults) {
  pl3test::WriteFileBytes(path_, "");
  RegisterCommands();
  for (std::uint32_t i = 0; i < LiveCommandTable.count; ++i) ASSERT_EQ(LiveCommandTable.records[i].keyCount, 0u);
  EXPECT_EQ(GetCommandKeyText(1, 2257), nullptr);

  std::remove(path_.c_str());
  ReadAcceleratorsFile(path_.c_str());
  EXPECT_EQ(Keys("edit.copy"), "");  // the table keeps what it had
  SetCommandKeys2("edit.copy", 17, 67);
  ReadAcceleratorsFile((folder_ + "/none.txt").c_str());
  EXPECT_EQ(Keys("edit.copy"), "Ctrl+C");
}

TEST_F(BindingsFile, LongLinesAndOddBytesAreHarmless) {
  std::string text = "edit.copy=" + std::string(10000, ' ') + "0x43";
  for (int i = 0; i < 3000; ++i) text += ",0x0041";
  text += "\n" + std::string(5000, 'n') + "=0x41\n";
  text += std::string("insert.line=0x00") + '\0' + "54\n";
  pl3test::WriteFileBytes(path_, text);
  RegisterCommands();
  EXPECT_EQ(Find("edit.copy", 1)->keyCount, 3001u);
  EXPECT_EQ(Keys("insert.line"), "T");  // the zero byte is skipped
}

TEST_F(BindingsFile, WrittenFromAnyTableWithTheFirstRecordsKeys) {
  AddCommand("b.second", "", 3, 0, nullptr, 0);
  AddCommand("A.first", "", 1, 0, nullptr, 0);
  SetCommandKeys3("b.second", 17, 16, 90);
  WriteAcceleratorsFile(&LiveCommandTable, path_.c_str());
  EXPECT_EQ(pl3test::ReadFileBytes(path_), "A.first=\nb.second=0x0011,0x0010,0x005a\n");
}

}  // namespace
