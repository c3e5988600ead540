#include "platform/kernel_files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/test_paths.h"

namespace {

namespace fs = std::filesystem;

// A scratch folder named in program form ("C:\tmp\...\files-1").
class Files : public testing::Test {
 protected:
  void SetUp() override {
    host_ = pl3test::MakeTempDir("files");
    dir_ = pl3::ProgramPath(host_);
  }
  std::string P(const std::string& name) const { return dir_ + "\\" + name; }
  void Make(const std::string& relativeHost, const std::string& bytes = "") {
    fs::create_directories(fs::path(host_ + "/" + relativeHost).parent_path());
    pl3test::WriteFileBytes(host_ + "/" + relativeHost, bytes);
  }
  HANDLE Open(const std::string& name, DWORD access, DWORD share, DWORD creation) const {
    return CreateFile(P(name).c_str(), access, share, nullptr, creation, FILE_ATTRIBUTE_NORMAL, nullptr);
  }
  std::string host_, dir_;
};

TEST_F(Files, HostPathConvertsSeparatorsDropsDrivesAndFindsCase) {
  Make("Boards/Amp/Main.P3P");
  EXPECT_EQ(pl3::HostPath(dir_ + "\\Boards\\Amp\\Main.P3P"), host_ + "/Boards/Amp/Main.P3P");
  EXPECT_EQ(pl3::HostPath(dir_ + "\\boards\\AMP\\main.p3p"), host_ + "/Boards/Amp/Main.P3P");
  EXPECT_EQ(pl3::HostPath("c:" + dir_.substr(2) + "/BOARDS/amp/MAIN.p3p"), host_ + "/Boards/Amp/Main.P3P");
  // What does not exist keeps the case it was given, below the last folder found.
  EXPECT_EQ(pl3::HostPath(dir_ + "\\boards\\New\\Sub.p3p"), host_ + "/Boards/New/Sub.p3p");
  EXPECT_EQ(pl3::HostPath(dir_ + "\\boards\\\\amp\\"), host_ + "/Boards/Amp/");
  EXPECT_EQ(pl3::HostPath("relative\\name.txt"), "relative/name.txt");
  EXPECT_EQ(pl3::HostPath("C:"), ".");
  // Drive C: is the host's root; any other drive, or none, opens the same file.
  const std::string bare = dir_.substr(2);
  EXPECT_EQ(pl3::HostPath("D:" + bare + "\\boards\\AMP\\main.p3p"), host_ + "/Boards/Amp/Main.P3P");
  EXPECT_EQ(pl3::HostPath(bare + "\\boards\\AMP\\main.p3p"), host_ + "/Boards/Amp/Main.P3P");
}

TEST(ProgramPaths, HostPathsGainDriveCAndComeBackUnchanged) {
  struct Case {
    const char* host;
    const char* program;
  };
  const Case cases[] = {
      {"/home/ann/Boards/a.p3p", "C:\\home\\ann\\Boards\\a.p3p"},
      {"/tmp/", "C:\\tmp\\"},
      {"/", "C:\\"},
      {"Boards/a.p3p", "Boards\\a.p3p"},  // relative: no drive
      {"", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(pl3::ProgramPath(c.host), c.program) << c.host;
    if (*c.host == '/') {
      EXPECT_EQ(pl3::HostPath(c.program), c.host) << c.program;
    }
  }
}

TEST(ProgramPaths, CommandLinePathsCarryTheDriveAndBlanksAreQuoted) {
  struct Case {
    std::vector<const char*> argv;
    const char* line;
  };
  const Case cases[] = {
      {{"/opt/pl3/bin/pl3", "/home/ann/Boards/a.p3p"}, "C:\\opt\\pl3\\bin\\pl3 C:\\home\\ann\\Boards\\a.p3p"},
      {{"pl3", "/home/ann/My Boards/a.p3p"}, "pl3 \"C:\\home\\ann\\My Boards\\a.p3p\""},
      {{"build/app/pl3", "Boards/a.p3l", ""}, "build/app/pl3 Boards/a.p3l \"\""},  // relative: as given
      {{"pl3"}, "pl3"},
  };
  for (const Case& c : cases) {
    pl3::SetProgramArguments(static_cast<int>(c.argv.size()), c.argv.data());
    EXPECT_STREQ(GetCommandLine(), c.line);
  }
  // Whatever drive a path carries, it opens the host path given.
  pl3::SetProgramArguments(2, cases[0].argv.data());
  const std::string line = GetCommandLine();
  EXPECT_EQ(pl3::HostPath(line.substr(line.find(' ') + 1)), "/home/ann/Boards/a.p3p");
}

TEST_F(Files, FoldersHandedOutCarryTheDrive) {
  char path[MAX_PATH];
  const std::string temp = std::getenv("TMPDIR");
  ASSERT_GT(GetTempPath(sizeof path, path), 0u);
  EXPECT_EQ(std::string(path), pl3::ProgramPath(temp.back() == '/' ? temp : temp + "/"));
  EXPECT_EQ(std::string(path, 3), "C:\\");

  const fs::path before = fs::current_path();
  ASSERT_TRUE(SetCurrentDirectory(dir_.c_str()));
  const DWORD n = GetCurrentDirectory(sizeof path, path);
  fs::current_path(before);
  ASSERT_GT(n, 0u);
  EXPECT_EQ(std::string(path, n), dir_);
  EXPECT_EQ(dir_.substr(0, 3), "C:\\");
}

TEST_F(Files, ExactCaseWinsOverAnotherCase) {
  Make("Case/name.txt", "lower");
  Make("Case/NAME.txt", "upper");
  EXPECT_EQ(pl3::HostPath(dir_ + "\\case\\NAME.txt"), host_ + "/Case/NAME.txt");
  EXPECT_EQ(pl3::HostPath(dir_ + "\\case\\name.txt"), host_ + "/Case/name.txt");
  EXPECT_EQ(pl3::HostPath(dir_ + "\\case\\Name.TXT"), host_ + "/Case/NAME.txt");  // first in byte order
}

TEST_F(Files, HostPathEdgeCases) {
  Make("Boards/Amp/Main.P3P", "main");
  struct Case {
    std::string program, host;
  };
  const Case cases[] = {
      {"", ""},
      {"C:\\", "/"},
      {"\\", "/"},
      {dir_ + "\\Boards\\..\\boards\\amp", host_ + "/Boards/Amp"},
      // "..": taken from the path as written, whether or not the folder it climbs out of exists.
      {dir_ + "\\Missing\\..\\boards\\AMP\\main.p3p", host_ + "/Boards/Amp/Main.P3P"},
      {dir_ + "\\boards\\amp\\..", host_ + "/Boards"},
      {dir_ + "\\.\\boards\\.\\amp\\", host_ + "/Boards/Amp/"},
      {"\\..\\x", "/x"},
      {"..\\..\\a", "../../a"},
      {"a\\..\\..\\b", "../b"},
      {"a\\b\\..", "a"},
      {".\\", "./"},
  };
  for (const Case& c : cases) EXPECT_EQ(pl3::HostPath(c.program), c.host) << c.program;
  HANDLE h = CreateFile((dir_ + "\\Gone\\..\\BOARDS\\amp\\main.p3p").c_str(), GENERIC_READ, FILE_SHARE_READ,
                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  EXPECT_NE(h, INVALID_HANDLE_VALUE);
  CloseHandle(h);
}

TEST_F(Files, AFolderBelowWhichThePathGoesOnWinsOverAFileOfAnotherCase) {
  Make("data/x.txt", "in the folder");
  Make("Data", "a file");  // first in byte order, but a file
  EXPECT_EQ(pl3::HostPath(dir_ + "\\DATA\\x.txt"), host_ + "/data/x.txt");
  EXPECT_EQ(pl3::HostPath(dir_ + "\\Data\\X.TXT"), host_ + "/data/x.txt");  // the exact name is a file
  EXPECT_EQ(pl3::HostPath(dir_ + "\\DATA"), host_ + "/Data");  // the last component may be either
  EXPECT_EQ(pl3::HostPath(dir_ + "\\data"), host_ + "/data");
}

TEST_F(Files, CreationDispositions) {
  DWORD rw = GENERIC_READ | GENERIC_WRITE;
  HANDLE h = Open("a.bin", rw, 0, OPEN_EXISTING);
  EXPECT_EQ(h, INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(Open("missing\\a.bin", rw, 0, CREATE_ALWAYS), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);

  h = Open("a.bin", rw, 0, CREATE_NEW);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  DWORD n = 0;
  ASSERT_TRUE(WriteFile(h, "hello", 5, &n, nullptr));
  EXPECT_EQ(n, 5u);
  EXPECT_TRUE(CloseHandle(h));

  EXPECT_EQ(Open("A.BIN", rw, 0, CREATE_NEW), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_FILE_EXISTS);

  h = Open("A.bin", GENERIC_READ, FILE_SHARE_READ, OPEN_ALWAYS);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
  EXPECT_EQ(GetFileSize(h, nullptr), 5u);
  CloseHandle(h);

  h = Open("a.bin", GENERIC_WRITE, 0, TRUNCATE_EXISTING);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetFileSize(h, nullptr), 0u);
  CloseHandle(h);

  h = Open("b.bin", GENERIC_WRITE, 0, OPEN_ALWAYS);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
  CloseHandle(h);
  EXPECT_EQ(Open("b.bin", GENERIC_READ, 0, TRUNCATE_EXISTING), INVALID_HANDLE_VALUE);  // needs write access
  EXPECT_EQ(pl3::OpenKernelHandleCount(), 0u);
}

TEST_F(Files, ReadWriteSeekAndSize) {
  HANDLE h = Open("data.bin", GENERIC_READ | GENERIC_WRITE, 0, CREATE_ALWAYS);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  DWORD n = 0;
  ASSERT_TRUE(WriteFile(h, "0123456789", 10, &n, nullptr));
  EXPECT_EQ(SetFilePointer(h, 2, nullptr, FILE_BEGIN), 2u);
  char buf[16] = {};
  ASSERT_TRUE(ReadFile(h, buf, 3, &n, nullptr));
  EXPECT_EQ(std::string(buf, n), "234");
  EXPECT_EQ(SetFilePointer(h, -2, nullptr, FILE_END), 8u);
  ASSERT_TRUE(ReadFile(h, buf, sizeof buf, &n, nullptr));  // short read at the end
  EXPECT_EQ(std::string(buf, n), "89");
  ASSERT_TRUE(ReadFile(h, buf, sizeof buf, &n, nullptr));
  EXPECT_EQ(n, 0u);
  EXPECT_EQ(SetFilePointer(h, -20, nullptr, FILE_CURRENT), INVALID_SET_FILE_POINTER);
  EXPECT_EQ(GetLastError(), ERROR_NEGATIVE_SEEK);
  LONG high = 0;
  EXPECT_EQ(SetFilePointer(h, 4, &high, FILE_BEGIN), 4u);
  EXPECT_EQ(high, 0);
  ASSERT_TRUE(SetEndOfFile(h));
  DWORD sizeHigh = 99;
  EXPECT_EQ(GetFileSize(h, &sizeHigh), 4u);
  EXPECT_EQ(sizeHigh, 0u);
  EXPECT_TRUE(FlushFileBuffers(h));
  CloseHandle(h);
  EXPECT_EQ(pl3test::ReadFileBytes(host_ + "/data.bin"), "0123");

  h = Open("data.bin", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
  EXPECT_FALSE(WriteFile(h, "x", 1, &n, nullptr));
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  CloseHandle(h);
  EXPECT_FALSE(CloseHandle(h));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_FALSE(ReadFile(h, buf, 1, &n, nullptr));
}

TEST_F(Files, ShareModesAreHonoured) {
  HANDLE writer = Open("shared.bin", GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  EXPECT_EQ(Open("shared.bin", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING),
            INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
  // A reader must let the writer go on writing.
  EXPECT_EQ(Open("shared.bin", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING), INVALID_HANDLE_VALUE);
  HANDLE reader = Open("SHARED.bin", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
  EXPECT_NE(reader, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(DeleteFile(P("shared.bin").c_str()));
  EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
  CloseHandle(reader);
  CloseHandle(writer);
  HANDLE locked = Open("shared.bin", GENERIC_READ, 0, OPEN_EXISTING);
  ASSERT_NE(locked, INVALID_HANDLE_VALUE);
  EXPECT_EQ(Open("shared.bin", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING), INVALID_HANDLE_VALUE);
  CloseHandle(locked);
  EXPECT_TRUE(DeleteFile(P("shared.bin").c_str()));
}

TEST_F(Files, AFileHeldWithoutSharingIsNeitherTruncatedNorOverwritten) {
  Make("held.bin", "precious");
  Make("other.bin", "other");
  HANDLE held = Open("held.bin", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, OPEN_EXISTING);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  for (DWORD creation : {CREATE_ALWAYS, TRUNCATE_EXISTING}) {
    EXPECT_EQ(Open("held.bin", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, creation), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
  }
  EXPECT_FALSE(CopyFile(P("other.bin").c_str(), P("held.bin").c_str(), FALSE));
  EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
  EXPECT_EQ(pl3test::ReadFileBytes(host_ + "/held.bin"), "precious");
  // Copying from it is reading, which its holder shares.
  EXPECT_TRUE(CopyFile(P("held.bin").c_str(), P("copy.bin").c_str(), FALSE));
  EXPECT_EQ(pl3test::ReadFileBytes(host_ + "/copy.bin"), "precious");
  CloseHandle(held);
  HANDLE locked = Open("held.bin", GENERIC_READ, 0, OPEN_EXISTING);
  EXPECT_FALSE(CopyFile(P("held.bin").c_str(), P("copy2.bin").c_str(), FALSE));
  EXPECT_EQ(GetLastError(), ERROR_SHARING_VIOLATION);
  CloseHandle(locked);
  EXPECT_TRUE(CopyFile(P("other.bin").c_str(), P("held.bin").c_str(), FALSE));
  EXPECT_EQ(pl3test::ReadFileBytes(host_ + "/held.bin"), "other");
}

TEST_F(Files, ReadOnlyAttributeIsTheWritePermission) {
  Make("ro.txt", "keep");
  std::string name = P("RO.TXT");
  EXPECT_EQ(GetFileAttributes(name.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
  ASSERT_TRUE(SetFileAttributes(name.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_NE(GetFileAttributes(name.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
  EXPECT_EQ(fs::status(host_ + "/ro.txt").permissions() & fs::perms::owner_write, fs::perms::none);
  EXPECT_EQ(Open("ro.txt", GENERIC_WRITE, 0, OPEN_EXISTING), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  EXPECT_FALSE(DeleteFile(name.c_str()));
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  HANDLE reader = Open("ro.txt", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
  EXPECT_NE(reader, INVALID_HANDLE_VALUE);
  CloseHandle(reader);
  ASSERT_TRUE(SetFileAttributes(name.c_str(), FILE_ATTRIBUTE_NORMAL));
  EXPECT_EQ(GetFileAttributes(name.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
  EXPECT_TRUE(DeleteFile(name.c_str()));
  EXPECT_EQ(GetFileAttributes(name.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_NE(GetFileAttributes(dir_.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
}

TEST_F(Files, LastWriteTimeIsSetAndReadBack) {
  Make("t.txt", "x");
  SYSTEMTIME st{2019, 7, 0, 14, 9, 30, 15, 250};
  FILETIME when;
  ASSERT_TRUE(SystemTimeToFileTime(&st, &when));
  HANDLE h = Open("T.txt", GENERIC_WRITE, 0, OPEN_EXISTING);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  ASSERT_TRUE(SetFileTime(h, nullptr, nullptr, &when));
  CloseHandle(h);

  h = Open("t.txt", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
  FILETIME written{};
  ASSERT_TRUE(GetFileTime(h, nullptr, nullptr, &written));
  CloseHandle(h);
  EXPECT_EQ(CompareFileTime(&written, &when), 0);
  SYSTEMTIME back{};
  ASSERT_TRUE(FileTimeToSystemTime(&written, &back));
  EXPECT_EQ(back.wYear, 2019);
  EXPECT_EQ(back.wMonth, 7);
  EXPECT_EQ(back.wDay, 14);
  EXPECT_EQ(back.wDayOfWeek, 0);  // a Sunday
  EXPECT_EQ(back.wHour, 9);
  EXPECT_EQ(back.wMilliseconds, 250);

  WIN32_FIND_DATA data;
  HANDLE search = FindFirstFile(P("t.txt").c_str(), &data);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  EXPECT_EQ(CompareFileTime(&data.ftLastWriteTime, &when), 0);
  FindClose(search);

  // A copy keeps the time.
  ASSERT_TRUE(CopyFile(P("t.txt").c_str(), P("copy.txt").c_str(), TRUE));
  h = Open("copy.txt", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
  ASSERT_TRUE(GetFileTime(h, nullptr, nullptr, &written));
  CloseHandle(h);
  EXPECT_EQ(CompareFileTime(&written, &when), 0);
}

TEST_F(Files, CopyMoveAndDelete) {
  Make("src.txt", "source");
  Make("dst.txt", "old");
  EXPECT_FALSE(CopyFile(P("src.txt").c_str(), P("dst.txt").c_str(), TRUE));
  EXPECT_EQ(GetLastError(), ERROR_FILE_EXISTS);
  ASSERT_TRUE(CopyFile(P("SRC.txt").c_str(), P("DST.txt").c_str(), FALSE));
  EXPECT_EQ(pl3test::ReadFileBytes(host_ + "/dst.txt"), "source");
  EXPECT_FALSE(CopyFile(P("none.txt").c_str(), P("x.txt").c_str(), FALSE));
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);

  EXPECT_FALSE(MoveFile(P("src.txt").c_str(), P("dst.txt").c_str()));
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
  Make("dst.txt", "replaced?");
  ASSERT_TRUE(MoveFileEx(P("src.txt").c_str(), P("dst.txt").c_str(), MOVEFILE_REPLACE_EXISTING));
  EXPECT_EQ(pl3test::ReadFileBytes(host_ + "/dst.txt"), "source");
  EXPECT_FALSE(fs::exists(host_ + "/src.txt"));
  ASSERT_TRUE(MoveFile(P("dst.txt").c_str(), P("Dst.TXT").c_str()));  // a change of case only
  EXPECT_TRUE(fs::exists(host_ + "/Dst.TXT"));
  EXPECT_FALSE(fs::exists(host_ + "/dst.txt"));
  EXPECT_TRUE(DeleteFile(P("dst.txt").c_str()));
  EXPECT_FALSE(DeleteFile(P("dst.txt").c_str()));
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST_F(Files, Folders) {
  ASSERT_TRUE(CreateDirectory(P("Sub").c_str(), nullptr));
  EXPECT_FALSE(CreateDirectory(P("sub").c_str(), nullptr));
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
  EXPECT_FALSE(CreateDirectory(P("no\\such").c_str(), nullptr));
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
  Make("Sub/f.txt");
  EXPECT_FALSE(RemoveDirectory(P("SUB").c_str()));
  EXPECT_EQ(GetLastError(), ERROR_DIR_NOT_EMPTY);
  EXPECT_FALSE(DeleteFile(P("sub").c_str()));
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  ASSERT_TRUE(DeleteFile(P("sub\\F.TXT").c_str()));
  EXPECT_TRUE(RemoveDirectory(P("SUB").c_str()));
  EXPECT_FALSE(fs::exists(host_ + "/Sub"));
}

TEST_F(Files, TemporaryFolderAndNames) {
  char path[MAX_PATH];
  DWORD length = GetTempPath(sizeof path, path);
  ASSERT_GT(length, 0u);
  EXPECT_EQ(path[length - 1], '\\');
  EXPECT_EQ(GetTempPath(1, path), length + 1);

  char name[MAX_PATH];
  UINT number = GetTempFileName(dir_.c_str(), "PLabc", 0, name);
  ASSERT_NE(number, 0u);
  std::string made = name;
  EXPECT_EQ(made.rfind(dir_ + "\\PLa", 0), 0u) << made;
  EXPECT_EQ(made.substr(made.size() - 4), ".tmp");
  EXPECT_TRUE(fs::exists(pl3::HostPath(made)));
  UINT second = GetTempFileName(dir_.c_str(), "PL", 0, name);
  EXPECT_NE(second, 0u);
  EXPECT_NE(std::string(name), made);
  EXPECT_EQ(GetTempFileName((dir_ + "\\").c_str(), "x", 0x1A, name), 0x1Au);
  EXPECT_EQ(std::string(name), dir_ + "\\x1A.tmp");
  EXPECT_FALSE(fs::exists(pl3::HostPath(name)));  // a given number makes no file
}

std::vector<std::string> FindAll(const std::string& pattern) {
  std::vector<std::string> names;
  WIN32_FIND_DATA data;
  HANDLE search = FindFirstFile(pattern.c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return names;
  do names.push_back(data.cFileName);
  while (FindNextFile(search, &data));
  EXPECT_EQ(GetLastError(), ERROR_NO_MORE_FILES);
  FindClose(search);
  return names;
}

TEST_F(Files, FindFirstFileMatchesWildcardsWithoutRegardToCase) {
  for (const char* name : {"Board.P3P", "board2.p3p", "notes.txt", "README", "a.b.c", "x"}) Make(name, "12345");
  fs::create_directories(host_ + "/Lib");
  using Names = std::vector<std::string>;
  struct Case {
    const char* pattern;
    Names expected;
  } cases[] = {
      {"*.p3p", {"Board.P3P", "board2.p3p"}},
      {"*", {"a.b.c", "Board.P3P", "board2.p3p", "Lib", "notes.txt", "README", "x"}},
      {"*.*", {"a.b.c", "Board.P3P", "board2.p3p", "Lib", "notes.txt", "README", "x"}},
      {"?OARD*", {"Board.P3P", "board2.p3p"}},
      {"board?.p3p", {"board2.p3p"}},
      {"*.TXT", {"notes.txt"}},
      {"a.*.c", {"a.b.c"}},
      {"readme", {"README"}},
      {"x?", {}},
      {"*2*", {"board2.p3p"}},
      {"nothing*", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(FindAll(P(c.pattern)), c.expected) << c.pattern;

  WIN32_FIND_DATA data;
  HANDLE search = FindFirstFile(P("notes.txt").c_str(), &data);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  EXPECT_EQ(data.nFileSizeLow, 5u);
  EXPECT_EQ(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
  FindClose(search);
  search = FindFirstFile(P("lib").c_str(), &data);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  EXPECT_NE(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
  EXPECT_TRUE(CloseHandle(search));  // CloseHandle ends a search too

  EXPECT_EQ(FindFirstFile(P("nothing*").c_str(), &data), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(FindFirstFile(P("nofolder\\*").c_str(), &data), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
  EXPECT_EQ(pl3::OpenKernelHandleCount(), 0u);
}

TEST(Wildcards, MatchTable) {
  struct Case {
    const char* pattern;
    const char* name;
    bool match;
  } cases[] = {
      {"*", "", true},          {"*.*", "noext", true},   {"?", "", false},       {"?", "a", true},
      {"a*b*c", "aXbYc", true}, {"a*b*c", "aXbY", false}, {"*ab", "aab", true},   {"**x", "x", true},
      {"A?C", "abc", true},     {"abc", "ABC", true},     {"abc", "abcd", false}, {"*.p3?", "x.P3L", true},
  };
  for (const Case& c : cases) EXPECT_EQ(pl3::WildcardMatch(c.pattern, c.name), c.match) << c.pattern << " " << c.name;
}

}  // namespace

namespace {

// Everything a program path names, read through the program's own calls.
std::string ReadAll(const std::string& programPath) {
  HANDLE f = CreateFile(programPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return "<cannot open>";
  char buf[256];
  DWORD got = 0;
  ReadFile(f, buf, sizeof buf, &got, nullptr);
  CloseHandle(f);
  return std::string(buf, got);
}

TEST_F(Files, HostNamesAreUtf8AndNamesTheCodePageLacksStillReopen) {
  // The program's "café" (Windows-1252) is the host's UTF-8 one.
  HANDLE f = Open("caf\xE9.txt", GENERIC_WRITE, 0, CREATE_ALWAYS);
  ASSERT_NE(f, INVALID_HANDLE_VALUE);
  CloseHandle(f);
  EXPECT_TRUE(fs::exists(host_ + "/caf\xC3\xA9.txt"));
  EXPECT_EQ(pl3::HostPath(P("CAF\xE9.txt")), host_ + "/caf\xC3\xA9.txt");
  // Two names the code page cannot hold, and a folder of that kind.
  Make("\xCE\xA9.txt", "omega");
  Make("\xD0\x96.txt", "zhe");
  Make("\xE2\x88\x9E/inner.txt", "inside");
  WIN32_FIND_DATA data;
  HANDLE find = FindFirstFile(P("*").c_str(), &data);
  ASSERT_NE(find, INVALID_HANDLE_VALUE);
  std::vector<std::string> found;
  do found.push_back(data.cFileName);
  while (FindNextFile(find, &data));
  FindClose(find);
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, (std::vector<std::string>{"?", "?.txt", "?~2.txt", "caf\xE9.txt"}));
  // Each handed-out name opens its own file, and keeps naming it.
  std::vector<std::string> contents{ReadAll(P("?.txt")), ReadAll(P("?~2.txt"))};
  std::sort(contents.begin(), contents.end());
  EXPECT_EQ(contents, (std::vector<std::string>{"omega", "zhe"}));
  std::string first = ReadAll(P("?.txt"));
  find = FindFirstFile(P("?.txt").c_str(), &data);  // '?' matches one character: both again
  ASSERT_NE(find, INVALID_HANDLE_VALUE);
  FindClose(find);
  EXPECT_EQ(ReadAll(P("?.txt")), first);
  EXPECT_EQ(ReadAll(P("?\\inner.txt")), "inside");
  EXPECT_EQ(pl3::ProgramPath(host_ + "/\xE2\x88\x9E/inner.txt"), dir_ + "\\?\\inner.txt");
  // A name never handed out stays missing.
  EXPECT_EQ(ReadAll(P("?~3.txt")), "<cannot open>");
}

}  // namespace
