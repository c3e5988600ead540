// The resource compiler run on small descriptions: faults name their file and
// line and leave no output behind.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/support/test_paths.h"

namespace {

struct ToolRun {
  int status;
  std::string errors;
  bool output;
  std::string dir;
};

ToolRun Compile(const std::string& name, const std::string& description) {
  const std::string dir = pl3test::MakeTempDir(name);
  pl3test::WriteFileBytes(dir + "/broken.png", "not an image\n");
  const std::string rc = dir + "/res.rc", out = dir + "/out.cpp", err = dir + "/stderr.txt";
  pl3test::WriteFileBytes(rc, description);
  const std::string command = std::string("ASAN_OPTIONS=detect_leaks=0 '") + PL3_RESCOMP + "' '" + rc + "' '" + out +
                              "' 2>'" + err + "'";
  const int status = std::system(command.c_str());
  return ToolRun{WIFEXITED(status) ? WEXITSTATUS(status) : -1, pl3test::ReadFileBytes(err),
             std::filesystem::exists(out), dir};
}

const std::string kImages = PL3_RESOURCE_FIXTURES;

struct BadCase {
  const char* name;
  std::string description;
  int line;
  const char* message;
};

TEST(Rescomp, BadDescriptionsFailWithFileAndLine) {
  const std::string icon = kImages + "/icon16.png";
  const BadCase cases[] = {
      {"unknown", "# c\nICONS A " + icon + "\n", 2, "unknown statement ICONS"},
      {"missing_image", "\n\nPNG Logo nowhere.png\n", 3, "missing image"},
      {"broken_image", "BITMAP B broken.png\n", 1, "cannot read image"},
      {"duplicate", "ICON App " + icon + "\nPNG App " + kImages + "/logo.png\nicon APP " + icon + "\n", 3,
       "duplicate resource name APP (first at line 1)"},
      {"duplicate_number", "BITMAP 7 " + icon + "\nBITMAP 7 " + icon + "\n", 2, "duplicate resource name 7"},
      {"number_range", "PNG 70000 " + icon + "\n", 1, "resource number must be 1 to 65535"},
      {"menu_no_end", "MENU M\n  ITEM \"a\" 1\n", 1, "missing END"},
      {"popup_no_end", "MENU M\n POPUP \"p\"\n  ITEM \"a\" 1\nEND\n", 1, "missing END"},
      {"menu_empty", "MENU M\nEND\n", 1, "a menu level has no items"},
      {"menu_bad_id", "MENU M\n  ITEM \"a\" x\nEND\n", 2, "menu id must be 0 to 65535: x"},
      {"menu_option", "MENU M\n  ITEM \"a\" 1 BOLD\nEND\n", 2, "unknown menu option BOLD"},
      {"menu_stray", "MENU M\n  ICON \"a\" 1\nEND\n", 2, "expected ITEM, POPUP, SEPARATOR or END"},
      {"unterminated", "MENU M\n  ITEM \"a 1\nEND\n", 2, "unterminated string"},
      {"hot_spot", "CURSOR C " + kImages + "/pencil.png 8 0\n", 1, "hot spot outside the image"},
      {"cursor_args", "CURSOR C " + kImages + "/pencil.png 1\n", 1, "expected: CURSOR"},
      {"same_size", "ICON I " + icon + " " + icon + "\n", 1, "two icon images of one size"},
      {"not_png", "PNG P " + kImages + "/../resources_test.cpp\n", 1, "cannot read image"},
      {"empty", "# nothing\n", 0, "the description holds no resources"},
  };
  for (const BadCase& c : cases) {
    SCOPED_TRACE(c.name);
    const ToolRun run = Compile(c.name, c.description);
    EXPECT_EQ(run.status, 1);
    EXPECT_FALSE(run.output);
    EXPECT_NE(run.errors.find("res.rc:" + std::to_string(c.line) + ": " + c.message), std::string::npos) << run.errors;
  }
}

TEST(Rescomp, GoodDescriptionWritesTheTable) {
  const ToolRun run = Compile("good",
                          "icon 5 " + kImages + "/icon16.png\n"
                          "BITMAP 5 \"" + kImages + "/strip.png\"  # one number, two types\n"
                          "MENU \"Main Menu\"\n  SEPARATOR\nEND\n");
  EXPECT_EQ(run.status, 0) << run.errors;
  EXPECT_TRUE(run.output);
  const std::string text = pl3test::ReadFileBytes(run.dir + "/out.cpp");
  EXPECT_NE(text.find("{MAKEINTRESOURCE(14), MAKEINTRESOURCE(5), "), std::string::npos);
  EXPECT_NE(text.find("{MAKEINTRESOURCE(2), MAKEINTRESOURCE(5), "), std::string::npos);
  EXPECT_NE(text.find("{MAKEINTRESOURCE(4), \"Main Menu\", "), std::string::npos);
  EXPECT_NE(text.find("pl3::ResourceRegistration"), std::string::npos);
}

}  // namespace
