#include "platform/registry.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/kernel_files.h"
#include "platform/reset_hooks.h"
#include "tests/support/test_paths.h"

namespace {

namespace fs = std::filesystem;

constexpr LSTATUS OK = static_cast<LSTATUS>(ERROR_SUCCESS);

// Every test starts with no registry files: a fresh user.
class Registry : public testing::Test {
 protected:
  void SetUp() override {
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_CLASSES_ROOT}) {
      std::string file = pl3::RegistryFile(root);
      for (const char* suffix : {"", ".tmp", ".corrupt", ".corrupt.1", ".corrupt.2"}) fs::remove(file + suffix);
    }
  }
  // What a restart does: the registry forgets everything it holds in memory.
  static void Restart() { pl3::ResetGlobalStateForTests(); }

  static HKEY Create(HKEY root, const char* path) {
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyEx(root, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              OK);
    return key;
  }
  static HKEY OpenKey(HKEY root, const char* path, LSTATUS expected = OK) {
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyEx(root, path, 0, KEY_READ, &key), expected) << path;
    return key;
  }
  static LSTATUS SetString(HKEY key, const char* name, const std::string& text) {
    return RegSetValueEx(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                         static_cast<DWORD>(text.size() + 1));
  }
  static LSTATUS SetDword(HKEY key, const char* name, DWORD value) {
    return RegSetValueEx(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  }
  static std::string GetString(HKEY key, const char* name) {
    char buf[512];
    DWORD size = sizeof buf, type = 0;
    if (RegQueryValueEx(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buf), &size) != OK) return "<missing>";
    EXPECT_TRUE(type == REG_SZ || type == REG_EXPAND_SZ);
    EXPECT_EQ(buf[size - 1], '\0');
    return buf;
  }
  static DWORD GetDword(HKEY key, const char* name) {
    DWORD value = 0xDEADBEEF, size = sizeof value, type = 0;
    if (RegQueryValueEx(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != OK) return 0xDEADBEEF;
    EXPECT_EQ(type, REG_DWORD);
    return value;
  }
  static std::vector<std::string> SubkeyNames(HKEY key) {
    std::vector<std::string> names;
    char name[256];
    for (DWORD i = 0;; ++i) {
      DWORD length = sizeof name;
      LSTATUS status = RegEnumKeyEx(key, i, name, &length, nullptr, nullptr, nullptr, nullptr);
      if (status == static_cast<LSTATUS>(ERROR_NO_MORE_ITEMS)) break;
      EXPECT_EQ(status, OK);
      EXPECT_EQ(length, std::strlen(name));
      names.push_back(name);
    }
    return names;
  }
  static std::vector<std::string> ValueNames(HKEY key) {
    std::vector<std::string> names;
    char name[256];
    for (DWORD i = 0;; ++i) {
      DWORD length = sizeof name;
      if (RegEnumValue(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != OK) break;
      names.push_back(name);
    }
    return names;
  }
};

TEST_F(Registry, ValuesSurviveARestart) {
  HKEY key = Create(HKEY_CURRENT_USER, "SOFTWARE\\Corvane\\Pelmora3\\Initialisation");
  ASSERT_EQ(SetString(key, "LastProjectDirectory", "\\home\\ann\\Boards"), OK);
  ASSERT_EQ(SetDword(key, "Flags", 0x80000001u), OK);
  const BYTE blob[] = {0, 1, 2, 0xFE, 0xFF, '<', '&'};
  ASSERT_EQ(RegSetValueEx(key, "Placement", 0, REG_BINARY, blob, sizeof blob), OK);
  ASSERT_EQ(SetString(key, "Odd", "tab\there & <there> \"quoted\""), OK);
  ASSERT_EQ(SetString(key, "Empty", ""), OK);
  RegCloseKey(key);
  EXPECT_TRUE(fs::exists(pl3::RegistryFile(HKEY_CURRENT_USER)));

  Restart();
  key = OpenKey(HKEY_CURRENT_USER, "software\\CORVANE\\pelmora3\\initialisation");
  EXPECT_EQ(GetString(key, "lastprojectdirectory"), "\\home\\ann\\Boards");
  EXPECT_EQ(GetDword(key, "FLAGS"), 0x80000001u);
  EXPECT_EQ(GetString(key, "Odd"), "tab\there & <there> \"quoted\"");
  EXPECT_EQ(GetString(key, "Empty"), "");
  BYTE back[16];
  DWORD size = sizeof back, type = 0;
  ASSERT_EQ(RegQueryValueEx(key, "Placement", nullptr, &type, back, &size), OK);
  EXPECT_EQ(type, REG_BINARY);
  ASSERT_EQ(size, sizeof blob);
  EXPECT_EQ(std::memcmp(back, blob, sizeof blob), 0);
  RegCloseKey(key);
}

TEST_F(Registry, EnumerationIsSortedWithoutRegardToCaseAndStable) {
  HKEY key = Create(HKEY_CURRENT_USER, "Order");
  for (const char* name : {"gamma", "Beta", "alpha2", "ALPHA", "delta"}) RegCloseKey(Create(key, name));
  for (const char* name : {"zeta", "Eta", "theta", "ETA2"}) SetDword(key, name, 1);
  const std::vector<std::string> keys = {"ALPHA", "alpha2", "Beta", "delta", "gamma"};
  const std::vector<std::string> values = {"Eta", "ETA2", "theta", "zeta"};
  EXPECT_EQ(SubkeyNames(key), keys);
  EXPECT_EQ(ValueNames(key), values);
  RegCloseKey(key);
  Restart();
  key = OpenKey(HKEY_CURRENT_USER, "order");
  EXPECT_EQ(SubkeyNames(key), keys);
  EXPECT_EQ(ValueNames(key), values);

  // A name keeps the case it was created with.
  HKEY again = Create(key, "BETA");
  RegCloseKey(again);
  SetDword(key, "ZETA", 2);
  EXPECT_EQ(SubkeyNames(key), keys);
  EXPECT_EQ(ValueNames(key), values);
  EXPECT_EQ(GetDword(key, "zeta"), 2u);

  DWORD subkeys = 0, count = 0, longestKey = 0, longestName = 0, longestData = 0;
  ASSERT_EQ(RegQueryInfoKey(key, nullptr, nullptr, nullptr, &subkeys, &longestKey, nullptr, &count, &longestName,
                            &longestData, nullptr, nullptr),
            OK);
  EXPECT_EQ(subkeys, 5u);
  EXPECT_EQ(count, 4u);
  EXPECT_EQ(longestKey, 6u);
  EXPECT_EQ(longestName, 5u);
  EXPECT_EQ(longestData, 4u);
  RegCloseKey(key);
}

TEST_F(Registry, AnInterruptedWriteLeavesThePreviousFile) {
  HKEY key = Create(HKEY_CURRENT_USER, "Safe");
  ASSERT_EQ(SetDword(key, "Count", 1), OK);
  const std::string file = pl3::RegistryFile(HKEY_CURRENT_USER);
  const std::string before = pl3test::ReadFileBytes(file);

  for (int stage : {1, 2}) {
    pl3::SetRegistryWriteFaultForTests(stage);
    EXPECT_EQ(SetDword(key, "Count", 2), static_cast<LSTATUS>(ERROR_REGISTRY_IO_FAILED)) << stage;
    EXPECT_EQ(pl3test::ReadFileBytes(file), before) << stage;
    EXPECT_TRUE(fs::exists(file + ".tmp")) << stage;  // what the crash left behind
    EXPECT_EQ(GetDword(key, "Count"), 1u) << stage;  // the failed change is not kept
  }

  // The next start ignores the half-written temporary file.
  RegCloseKey(key);
  Restart();
  key = OpenKey(HKEY_CURRENT_USER, "Safe");
  EXPECT_EQ(GetDword(key, "Count"), 1u);
  ASSERT_EQ(SetDword(key, "Count", 3), OK);
  EXPECT_FALSE(fs::exists(file + ".tmp"));
  RegCloseKey(key);
  Restart();
  key = OpenKey(HKEY_CURRENT_USER, "Safe");
  EXPECT_EQ(GetDword(key, "Count"), 3u);
  RegCloseKey(key);
}

TEST_F(Registry, AnUnreadableFileIsKeptAsideAndTheRootStartsEmpty) {
  const std::string file = pl3::RegistryFile(HKEY_CURRENT_USER);
  pl3test::WriteFileBytes(file, "<registry><key name=\"A\">");  // cut short
  OpenKey(HKEY_CURRENT_USER, "A", static_cast<LSTATUS>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(pl3test::ReadFileBytes(file + ".corrupt"), "<registry><key name=\"A\">");
  HKEY key = Create(HKEY_CURRENT_USER, "A");
  EXPECT_NE(key, nullptr);
  RegCloseKey(key);
}

// A file of `levels` keys, each inside the one before.
std::string NestedKeys(std::size_t levels) {
  std::string text = "<registry>";
  for (std::size_t i = 0; i < levels; ++i) text += "<key name=\"k\">";
  for (std::size_t i = 0; i < levels; ++i) text += "</key>";
  return text + "</registry>";
}

TEST_F(Registry, EveryUnreadableFileIsKeptAsideWithoutReplacingAnEarlierOne) {
  const std::string file = pl3::RegistryFile(HKEY_CURRENT_USER);
  const std::string texts[] = {"<registry><key name=\"A\">", NestedKeys(50000), "<other/>"};
  for (const std::string& text : texts) {
    pl3test::WriteFileBytes(file, text);
    Restart();
    OpenKey(HKEY_CURRENT_USER, "k", static_cast<LSTATUS>(ERROR_FILE_NOT_FOUND));
    HKEY key = Create(HKEY_CURRENT_USER, "Fresh");  // defaults in use: the root works and saves
    RegCloseKey(key);
  }
  EXPECT_EQ(pl3test::ReadFileBytes(file + ".corrupt"), texts[0]);
  EXPECT_EQ(pl3test::ReadFileBytes(file + ".corrupt.1"), texts[1]);
  EXPECT_EQ(pl3test::ReadFileBytes(file + ".corrupt.2"), texts[2]);

  // The machine's branch goes back to its defaults.
  const std::string machineFile = pl3::RegistryFile(HKEY_LOCAL_MACHINE);
  pl3test::WriteFileBytes(machineFile, NestedKeys(600));
  Restart();
  HKEY init = OpenKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Corvane\\Pelmora3\\Initialisation");
  EXPECT_EQ(GetDword(init, "NumberOfBackups"), 4u);
  RegCloseKey(init);
  EXPECT_EQ(pl3test::ReadFileBytes(machineFile + ".corrupt"), NestedKeys(600));
}

TEST_F(Registry, KeysNestNoDeeperThanAFileCanHold) {
  std::string path;
  for (int i = 0; i < 512; ++i) path += "k\\";
  HKEY deepest = Create(HKEY_CURRENT_USER, path.c_str());
  ASSERT_NE(deepest, nullptr);
  HKEY key = nullptr;
  EXPECT_EQ(RegCreateKeyEx(deepest, "one", 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key,
                           nullptr),
            static_cast<LSTATUS>(ERROR_BADKEY));
  EXPECT_EQ(key, nullptr);
  // A copy that would land too deep is refused as well, and the deepest key
  // still reads back after a restart.
  HKEY top = OpenKey(HKEY_CURRENT_USER, "k");
  EXPECT_EQ(RegCopyTree(top, nullptr, deepest), static_cast<LSTATUS>(ERROR_BADKEY));
  RegCloseKey(top);
  RegCloseKey(deepest);
  Restart();
  RegCloseKey(OpenKey(HKEY_CURRENT_USER, path.c_str()));
  EXPECT_FALSE(fs::exists(pl3::RegistryFile(HKEY_CURRENT_USER) + ".corrupt"));
}

TEST_F(Registry, QuerySizesAndMissingValues) {
  HKEY key = Create(HKEY_CURRENT_USER, "Sizes");
  ASSERT_EQ(SetString(key, "Name", "abcdef"), OK);
  DWORD size = 0, type = 0;
  ASSERT_EQ(RegQueryValueEx(key, "Name", nullptr, &type, nullptr, &size), OK);
  EXPECT_EQ(size, 7u);
  char small[4];
  size = sizeof small;
  EXPECT_EQ(RegQueryValueEx(key, "Name", nullptr, &type, reinterpret_cast<BYTE*>(small), &size),
            static_cast<LSTATUS>(ERROR_MORE_DATA));
  EXPECT_EQ(size, 7u);
  EXPECT_EQ(RegQueryValueEx(key, "Other", nullptr, &type, nullptr, &size), static_cast<LSTATUS>(ERROR_FILE_NOT_FOUND));
  // A string set without its NUL still reads back with one.
  ASSERT_EQ(RegSetValueEx(key, "NoNul", 0, REG_SZ, reinterpret_cast<const BYTE*>("xyz"), 3), OK);
  EXPECT_EQ(GetString(key, "NoNul"), "xyz");
  EXPECT_EQ(RegSetValueEx(key, "Bad", 0, REG_DWORD, reinterpret_cast<const BYTE*>("xy"), 2),
            static_cast<LSTATUS>(ERROR_INVALID_PARAMETER));
  char name[3];
  DWORD length = sizeof name;
  EXPECT_EQ(RegEnumValue(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr),
            static_cast<LSTATUS>(ERROR_MORE_DATA));
  ASSERT_EQ(RegDeleteValue(key, "NAME"), OK);
  EXPECT_EQ(RegDeleteValue(key, "NAME"), static_cast<LSTATUS>(ERROR_FILE_NOT_FOUND));
  RegCloseKey(key);
  EXPECT_EQ(RegCloseKey(key), static_cast<LSTATUS>(ERROR_INVALID_HANDLE));
}

TEST_F(Registry, DeletingKeys) {
  HKEY top = Create(HKEY_CURRENT_USER, "Top");
  HKEY leaf = Create(top, "Mid\\Leaf");
  EXPECT_EQ(RegDeleteKey(top, "mid"), static_cast<LSTATUS>(ERROR_ACCESS_DENIED));  // it has a subkey
  ASSERT_EQ(RegDeleteTree(top, "MID"), OK);
  EXPECT_EQ(SetDword(leaf, "x", 1), static_cast<LSTATUS>(ERROR_KEY_DELETED));
  RegCloseKey(leaf);
  RegCloseKey(Create(top, "Single"));
  ASSERT_EQ(RegDeleteKey(top, "single"), OK);
  EXPECT_EQ(RegDeleteKey(top, "single"), static_cast<LSTATUS>(ERROR_FILE_NOT_FOUND));
  EXPECT_TRUE(SubkeyNames(top).empty());
  RegCloseKey(top);
  Restart();
  HKEY again = OpenKey(HKEY_CURRENT_USER, "Top");
  EXPECT_TRUE(SubkeyNames(again).empty());
  RegCloseKey(again);
}

TEST_F(Registry, MachineBranchStartsFromTheDefaultsAndCopiesIntoTheUsersBranch) {
  HKEY machine = OpenKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Corvane\\Pelmora3\\Directories");
  ASSERT_NE(machine, nullptr);
  const char* home = std::getenv("HOME");
  ASSERT_NE(home, nullptr);
  std::string homeProgram = pl3::ProgramPath(home);
  while (homeProgram.size() > 1 && homeProgram.back() == '\\') homeProgram.pop_back();
  EXPECT_EQ(GetString(machine, "ProjectPath"), homeProgram + "\\Pelmora3\\Projects");
  EXPECT_EQ(GetString(machine, "ConfigurationPath"), pl3::ProgramPath(pl3::ConfigFolder()));
  RegCloseKey(machine);
  {
    // The folders under home are handed out with the drive, as the program
    // recognises absolute paths.
    const std::string savedHome = home;
    setenv("HOME", "/home/ann/", 1);
    Restart();
    HKEY folders = OpenKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Corvane\\Pelmora3\\Directories");
    const std::string project = GetString(folders, "ProjectPath");
    const std::string config = GetString(folders, "ConfigurationPath");
    RegCloseKey(folders);
    setenv("HOME", savedHome.c_str(), 1);
    Restart();
    EXPECT_EQ(project, "C:\\home\\ann\\Pelmora3\\Projects");
    EXPECT_EQ(config.substr(0, 3), "C:\\");
    EXPECT_EQ(pl3::HostPath(config), pl3::ConfigFolder());
  }
  HKEY init = OpenKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Corvane\\Pelmora3\\Initialisation");
  EXPECT_EQ(GetDword(init, "NumberOfBackups"), 4u);
  RegCloseKey(init);
  EXPECT_FALSE(fs::exists(pl3::RegistryFile(HKEY_LOCAL_MACHINE)));  // nothing written until changed

  // Start-up's copy of the machine branch into the user's.
  HKEY user = Create(HKEY_CURRENT_USER, "SOFTWARE\\Corvane");
  HKEY source = OpenKey(HKEY_LOCAL_MACHINE, "SOFTWARE");
  ASSERT_EQ(RegCopyTree(source, "Corvane", user), OK);
  RegCloseKey(source);
  RegCloseKey(user);
  Restart();
  HKEY copied = OpenKey(HKEY_CURRENT_USER, "Software\\Corvane\\Pelmora3\\Directories");
  EXPECT_EQ(GetString(copied, "ProjectPath"), homeProgram + "\\Pelmora3\\Projects");
  RegCloseKey(copied);
}

TEST_F(Registry, RootsAreSeparate) {
  HKEY key = Create(HKEY_CLASSES_ROOT, "PL3ProjectFile\\shell\\open\\command");
  ASSERT_EQ(SetString(key, nullptr, "pl3 \"%1\""), OK);
  RegCloseKey(key);
  OpenKey(HKEY_CURRENT_USER, "PL3ProjectFile", static_cast<LSTATUS>(ERROR_FILE_NOT_FOUND));
  Restart();
  key = OpenKey(HKEY_CLASSES_ROOT, "pl3projectfile\\SHELL\\open\\command");
  EXPECT_EQ(GetString(key, ""), "pl3 \"%1\"");
  RegCloseKey(key);
  EXPECT_TRUE(fs::exists(pl3::RegistryFile(HKEY_CLASSES_ROOT)));
}

TEST_F(Registry, AnyNameAndTextSurviveARestart) {
  // Names and texts as the program may store them: control characters,
  // markup characters, and bytes of a Windows code page that are not UTF-8.
  const std::string names[] = {"Tab\tName", "Line\nBreak", "\x01Low", "Caf\xE9", "<&\"'>", " spaced "};
  const std::string texts[] = {"a\tb", "first\r\nsecond", "\x01\x1F", "C:\\\xDC""bung\\\xB5m", "<&\"'>", "  "};
  HKEY key = Create(HKEY_CURRENT_USER, "Odd Names");
  for (std::size_t i = 0; i < std::size(names); ++i) {
    ASSERT_EQ(SetString(key, names[i].c_str(), texts[i]), OK) << i;
    RegCloseKey(Create(key, names[i].c_str()));
  }
  RegCloseKey(key);
  Restart();
  key = OpenKey(HKEY_CURRENT_USER, "odd names");
  ASSERT_NE(key, nullptr);
  for (std::size_t i = 0; i < std::size(names); ++i) {
    EXPECT_EQ(GetString(key, names[i].c_str()), texts[i]) << i;
    HKEY sub = OpenKey(key, names[i].c_str());
    RegCloseKey(sub);
  }
  EXPECT_EQ(SubkeyNames(key).size(), std::size(names));
  RegCloseKey(key);
}

}  // namespace

namespace {

TEST(RegistryText, MalformedFilesAreRefused) {
  struct Case {
    const char* text;
    bool readable;
  } cases[] = {
      {"<registry version=\"1\"/>", true},
      {"<registry><key name=\"A\"><value name=\"v\" type=\"REG_DWORD\" data=\"0x10\"/></key></registry>", true},
      {"<registry><value name=\"b\" type=\"REG_BINARY\" data=\"0aFF\" encoding=\"hex\"/></registry>", true},
      {"<registry><value name=\"n\" type=\"42\" data=\"00\" encoding=\"hex\"/></registry>", true},
      {"", false},
      {"<other/>", false},
      {"<registry><key name=\"A\">", false},
      {"<registry><key name=\"\"/></registry>", false},
      {"<registry><key name=\"A\\B\"/></registry>", false},
      {"<registry><value name=\"v\" type=\"REG_DWORD\" data=\"4294967296\"/></registry>", false},
      {"<registry><value name=\"v\" type=\"REG_DWORD\" data=\"12x\"/></registry>", false},
      {"<registry><value name=\"v\" type=\"REG_QWORD\" data=\"\"/></registry>", false},
      {"<registry><value name=\"b\" type=\"REG_BINARY\" data=\"0a1\" encoding=\"hex\"/></registry>", false},
      {"<registry><value name=\"b\" type=\"REG_BINARY\" data=\"zz\" encoding=\"hex\"/></registry>", false},
      {"<registry><value name=\"b\" type=\"REG_WHAT\" data=\"\"/></registry>", false},
  };
  for (const Case& c : cases) EXPECT_EQ(pl3::ParseRegistryText(c.text), c.readable) << c.text;
}

TEST(RegistryText, NestingIsBoundedWithoutExhaustingTheStack) {
  EXPECT_TRUE(pl3::ParseRegistryText(NestedKeys(512)));
  for (std::size_t levels : {513u, 5000u, 50000u}) EXPECT_FALSE(pl3::ParseRegistryText(NestedKeys(levels))) << levels;
}

}  // namespace
