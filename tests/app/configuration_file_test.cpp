#include "app/configuration_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>

#include "app/application_globals.h"
#include "app/configuration_options.h"
#include "app/core_utilities.h"
#include "app/pending_services.h"
#include "app/recent_projects.h"
#include "app/settings_block.h"
#include "app/start_values.h"
#include "draw/grid_files.h"
#include "edit/window_data.h"
#include "geometry/layer_colours.h"
#include "objects/builtin_fonts.h"
#include "objects/colours.h"
#include "objects/new_documents.h"
#include "platform/kernel_files.h"
#include "platform/responder.h"
#include "store/file_dialogs.h"
#include "store/filing_settings.h"
#include "store/tower_file.h"
#include "tests/app/pending_fakes.h"
#include "tests/app/settings_test_support.h"
#include "tests/support/test_paths.h"

namespace {

using namespace pl3test;
using pendingfakes::Recorded;

class ConfigurationFile : public testing::Test {
 protected:
  void SetUp() override {
    ForgetRegistry();
    dir_ = MakeTempDir("config");
    PutText("Directories", "ConfigurationPath", pl3::ProgramPath(dir_));
    LoadDirectories();
    pl3::ClearResponderRecords();
  }
  std::string Path(const char* name) const { return dir_ + "/" + name; }

  // Writes a tower file whose root has `rootCode`, filled by `fill`.
  static void WriteTree(const std::string& path, const std::function<void(Tower*)>& fill,
                        std::uint16_t rootCode = 10000) {
    Tower* root = NewTower(0);
    LastLevel(root).typeCode = rootCode;
    InsertAtLastLevel(root, 0);
    fill(root);
    ASSERT_EQ(SaveDOSFile(root, path.c_str()), 1);
    DeleteEntity(root);
    ReleaseTower(&root);
  }
  static Tower* Add(const Tower* parent, std::uint16_t code, std::uint32_t size = 0, const void* data = nullptr) {
    return data ? InsertEntity(parent, size, code, data) : InsertEmptyEntity(parent, code);
  }
  static void AddWord(const Tower* parent, std::uint16_t code, std::uint32_t value) {
    Tower* t = Add(parent, code, 4, &value);
    ReleaseTower(&t);
  }
  static void AddVersion(const Tower* root, const char* version) {
    Tower* t = Add(root, 10001, static_cast<std::uint32_t>(std::strlen(version) + 1), version);
    ReleaseTower(&t);
  }

  std::string dir_;
};

// Entities at the store's top level: 1 is the store's own null entry alone.
int TopLevelEntities() {
  Tower* all = NewTower(0);
  ResetTowerSearch(all, kSearchAny);
  int count = 0;
  while (FindNextEntity(all)) ++count;
  ReleaseTower(&all);
  return count;
}

// Gives every option a value other than its built-in one.
void ChangeEveryOption() {
  for (int b = 0; b < 2; ++b)
    for (int w = 0; w < 6; ++w) MouseButtonWords[b][w] = 100 + 10 * b + w;
  for (int i = 0; i < 16; ++i) CustomColours[i] = 0x010101u * i;
  GhostOutlines = -1;
  GhostRoundEnds = 0;
  ColourOption10207 = 17;
  ColourOption10208 = 18;
  ColourOption10209 = 19;
  ColourOption10210 = 20;
  CutoutOutlineWidth = 21;
  DrawingFlag10212 = 0;
  DrawingFlag10217 = 0;
  ColourOption10213 = 22;
  ColourOption10214 = 0;
  ColourOption10215 = 23;
  ColourOption10216 = 24;
  PickDistance = 12;
  std::strcpy(DesignatorPrefix, "U");
  EditingOption10303 = 9;
  DesignatorTextOption = 1;
  EditingOption10305 = 2;
  DragToleranceFactor = 2.5f;
  DeleteConfirmCount = 50;
  LayerOption10308 = 3;
  DisplayUnitsCode = 1;
  GridOption10310 = 2;
  DefaultItemClass = 3;
  PadStackOption10312 = 0;
  PinNamingLength10313 = 100;
  PinNamingLength10314 = -100;
  EditingOption10317 = 0;
  CompletionInfoMask1 = 0x11;
  CompletionInfoMask2 = 0x22;
  OriginMarkOption = 1;
  FirstLocatorDefaults = {5, 6, 7, {1, 2, 3, 4, 5, 6}};
  SecondLocatorDefaults = {-5, -6, 3, {6, 5, 4, 3, 2, 1}};
  EditingLength10328 = 77;
  EditingOption10329 = 78;
  FurtherOption10401 = 7;
  FurtherOption10404 = 8;
  FurtherOption10405 = 9;
  for (int i = 0; i < 7; ++i) ConfiguredLengths[i] = 1000 + i;
  for (int i = 0; i < 44; ++i) PrintOptionsRecord[i] = static_cast<std::uint8_t>(i + 1);
  for (std::uint8_t& p : PrintOptions) p = 5;
  FreeLayerColourMixTable();
  const std::uint32_t colours[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
  LayerColourMix = BuildLayerColourMix(colours);
  LayerColourMix[0] = 0x123456;
  SetDefaultNamedColours();
  NamedColours.entries[10].colour = 0xABCDEF;
  NamedColours.entries[10].key = 'M';
  std::strcpy(NamedColours.entries[10].name, "Mine");
}

TEST_F(ConfigurationFile, SaveLoadSaveKeepsEveryOptionAndTheBytes) {
  ChangeEveryOption();
  ASSERT_EQ(SaveConfiguration("PL3.CFG"), 1);
  const std::string first = ReadFileBytes(Path("PL3.CFG"));

  SetBuiltInConfigurationOptions();
  SetDefaultNamedColours();
  ASSERT_EQ(LoadConfiguration(Path("PL3.CFG").c_str()), 1);
  EXPECT_TRUE(pl3::ResponderRecords().empty());
  EXPECT_STREQ(NamedColours.entries[10].name, "Mine") << "a saved file has 10002: no exchange";
  EXPECT_EQ(MouseButtonWords[1][5], 115u);
  EXPECT_EQ(MouseButtonWords[0][0], 100u);
  EXPECT_EQ(CustomColours[15], 0x0F0F0Fu);
  EXPECT_EQ(GhostOutlines, -1);
  EXPECT_EQ(ColourOption10216, 24u);
  EXPECT_EQ(DrawingFlag10217, 0);
  EXPECT_EQ(PickDistance, 12u);
  EXPECT_STREQ(DesignatorPrefix, "R") << "written, not read back";
  EXPECT_EQ(DragToleranceFactor, 6.0f) << "written, not read back";
  EXPECT_EQ(EditingOption10303, 9);
  EXPECT_EQ(CompletionInfoMask1, 0x3000011u);
  EXPECT_EQ(CompletionInfoMask2, 0x22u);
  EXPECT_EQ(SecondLocatorDefaults.rotation.ty, 1);
  EXPECT_EQ(FirstLocatorDefaults.justification, 7u);
  EXPECT_EQ(EditingOption10329, 78u);
  EXPECT_EQ(FurtherOption10405, 9u);
  EXPECT_EQ(ConfiguredLengths[6], 1006);
  EXPECT_EQ(PrintOptionsRecord[43], 44);
  EXPECT_EQ(PrintOptions[7], 5);
  EXPECT_EQ(PrintOptions[2], 0) << "10454 is no print option";
  ASSERT_NE(LayerColourMix, nullptr);
  EXPECT_EQ(LayerColourMix[1u << 15], 16u);
  EXPECT_EQ(LayerColourMix[0], 0x123456u);
  EXPECT_EQ(LayerColourMix[65535], ~0x123456u);
  EXPECT_EQ(NamedColours.entries[10].colour, 0xABCDEFu);
  EXPECT_EQ(NamedColours.entries[10].key, 'M');

  // Back to what was saved, for the two options that are not read back.
  std::strcpy(DesignatorPrefix, "U");
  DragToleranceFactor = 2.5f;
  CompletionInfoMask1 = 0x11;
  ASSERT_EQ(SaveConfiguration("AGAIN.CFG"), 1);
  const std::string second = ReadFileBytes(Path("AGAIN.CFG"));
  EXPECT_TRUE(second == first) << "the second save differs from byte " << std::mismatch(first.begin(), first.end(), second.begin(), second.end()).first - first.begin();
}

TEST_F(ConfigurationFile, TheFileHoldsEveryNodeAtItsWidth) {
  GhostOutlines = -2;
  ASSERT_EQ(SaveConfiguration("PL3.CFG"), 1);
  Tower* root = NewTower(0);
  ASSERT_NE(LoadDOSFile(Path("PL3.CFG").c_str(), root), nullptr);
  EXPECT_EQ(TowerEntity(root)->typeCode, 10000);
  auto payload = [](const Tower* parent, std::uint16_t code) {
    return static_cast<const std::uint8_t*>(GetEntityData(parent, code));
  };
  ASSERT_NE(payload(root, 10001), nullptr);
  EXPECT_EQ(std::memcmp(payload(root, 10001), "B0.01\0", 6), 0);
  std::uint32_t word = 0;
  std::memcpy(&word, payload(root, 10002), 4);
  EXPECT_EQ(word, 1u);
  Tower* colours = OpenChildTower(root, 10200);
  std::memcpy(&word, payload(colours, 10201), 4);
  EXPECT_EQ(word, 0xFFFFFFFEu) << "widened with its sign";
  Tower* editing = OpenChildTower(root, 10300);
  float factor = 0;
  std::memcpy(&factor, payload(editing, 10306), 4);
  EXPECT_EQ(factor, 6.0f);
  EXPECT_STREQ(reinterpret_cast<const char*>(payload(editing, 10302)), "R");
  Tower* print = OpenChildTower(root, 10451);
  int printChildren = 0;
  for (std::uint16_t code : {10452, 10453, 10455, 10456, 10457, 10458, 10459}) printChildren += payload(print, code) != nullptr;
  EXPECT_EQ(printChildren, 7);
  EXPECT_EQ(payload(print, 10456)[0], 0);
  EXPECT_EQ(payload(print, 10455)[0], 1);
  int editingChildren = 0;
  for (int code = 10301; code <= 10329; ++code) editingChildren += payload(editing, static_cast<std::uint16_t>(code)) != nullptr;
  EXPECT_EQ(editingChildren, 28) << "10301 to 10329 but 10318";
  Tower* lengths = OpenChildTower(root, 10450);
  std::memcpy(&word, payload(lengths, 161), 4);
  EXPECT_EQ(word, 0u);
  std::memcpy(&word, payload(lengths, 132), 4);
  EXPECT_EQ(word, 292608u);
  for (Tower** t : {&colours, &editing, &print, &lengths}) ReleaseTower(t);
  DeleteEntity(root);
  ReleaseTower(&root);
}

TEST_F(ConfigurationFile, AnotherVersionAsksAndNoKeepsTheBuiltInValues) {
  struct Case {
    const char* version;  // null: no version node
    int answer;           // 0: no question expected
    int result;
    std::uint32_t pickDistance;
  };
  const Case cases[] = {
      {"B0.02", IDNO, 0, 40},
      {"B0.02", IDYES, 1, 25},
      {"B0.01", 0, 1, 25},
      {nullptr, 0, 1, 25},
      {"B0.0", IDNO, 0, 40},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.version ? c.version : "none");
    SetBuiltInConfigurationOptions();
    Recorded().names.clear();
    pl3::ClearResponderRecords();
    WriteTree(Path("v.cfg"), [&](Tower* root) {
      if (c.version) AddVersion(root, c.version);
      AddWord(root, 10002, 1);
      Tower* editing = Add(root, 10300);
      AddWord(editing, 10301, 25);
      ReleaseTower(&editing);
    });
    if (c.answer) pl3::PushButtonAnswer(c.answer);
    EXPECT_EQ(LoadConfiguration(Path("v.cfg").c_str()), c.result);
    EXPECT_EQ(PickDistance, c.pickDistance);
    EXPECT_EQ(TopLevelEntities(), 1) << "the read tree is deleted on every path";
    if (!c.answer) {
      EXPECT_TRUE(pl3::ResponderRecords().empty());
      continue;
    }
    ASSERT_EQ(pl3::ResponderRecords().size(), 1u);
    const pl3::ResponderRecord& box = pl3::ResponderRecords()[0];
    EXPECT_EQ(box.text, "The configuration file \"" + Path("v.cfg") +
                            "\" is from a newer version of Pelmora3. Proceeding will cause this file to be converted "
                            "to version B0.01 format, possibly losing data. \n\nDo you wish to proceed?");
    EXPECT_EQ(box.caption, "Warning");
    EXPECT_EQ(box.flags & 0xFFFu, MB_YESNO | MB_DEFBUTTON2 | MB_ICONEXCLAMATION);
    if (c.answer == IDNO) {
      ASSERT_NE(LayerColourMix, nullptr);
      EXPECT_EQ(LayerColourMix[2], 0x0000FFu) << "the built-in colours";
      EXPECT_STREQ(NamedColours.entries[16].name, "Wire Colour 1");
    }
  }
}

TEST_F(ConfigurationFile, OlderColourOrderIsConvertedAndTheEmptyMaskColourSet) {
  for (bool marked : {false, true}) {
    Recorded().names.clear();
    WriteTree(Path("c.cfg"), [&](Tower* root) {
      if (marked) AddWord(root, 10002, 1);
      Tower* colours = Add(root, 10200);
      AddWord(colours, 20032, 0x00FFFFFF);
      ReleaseTower(&colours);
    });
    NamedColours = {};
    ASSERT_EQ(LoadConfiguration(Path("c.cfg").c_str()), 1);
    // No 20036: the built-in named colours, exchanged when the file has no 10002.
    EXPECT_STREQ(NamedColours.entries[1].name, marked ? "Graphic Colour 1" : "Wire Colour 1");
    EXPECT_STREQ(NamedColours.entries[16].name, marked ? "Wire Colour 1" : "Graphic Colour 1");
    EXPECT_STREQ(NamedColours.entries[6].name, marked ? "Attribute Colour 1" : "Bus Colour 1");
    EXPECT_STREQ(NamedColours.entries[0].name, "Background Colour");
    ASSERT_NE(LayerColourMix, nullptr);
    EXPECT_EQ(LayerColourMix[1], 0xFF0000u) << "no 20030: the built-in colours";
    EXPECT_EQ(LayerColourMix[0], 0x00FFFFFFu);
    EXPECT_EQ(LayerColourMix[65535], 0xFF000000u);
  }
}

TEST_F(ConfigurationFile, MouseActionsAreCorrectedAfterReading) {
  struct Case {
    std::uint32_t idle, editing, wantIdle, wantEditing;
  };
  const Case cases[] = {{2, 5, 3, 2}, {4, 6, 3, 2}, {7, 7, 3, 2}, {1, 4, 1, 4}, {5, 3, 5, 3}};
  for (const Case& c : cases) {
    SetBuiltInConfigurationOptions();
    WriteTree(Path("m.cfg"), [&](Tower* root) {
      Tower* mouse = Add(root, 10100);
      Tower* right = Add(mouse, 10103);
      AddWord(right, 10105, c.idle);
      AddWord(right, 10106, c.editing);
      ReleaseTower(&right);
      ReleaseTower(&mouse);
    });
    ASSERT_EQ(LoadConfiguration(Path("m.cfg").c_str()), 1);
    EXPECT_EQ(MouseButtonWords[1][1], c.wantIdle) << c.idle;
    EXPECT_EQ(MouseButtonWords[1][2], c.wantEditing) << c.editing;
    EXPECT_EQ(MouseButtonWords[1][0], 2u) << "a missing word keeps its value";
    EXPECT_EQ(MouseButtonWords[0][1], 5u) << "the left button has none";
  }
}

TEST_F(ConfigurationFile, MissingAndShortNodesKeepOrTakeTheirValues) {
  ChangeEveryOption();
  WriteTree(Path("s.cfg"), [&](Tower* root) {
    Tower* editing = Add(root, 10300);
    const std::uint8_t shortTransform[16] = {9};
    Tower* t = Add(editing, 10326, sizeof shortTransform, shortTransform);  // shorter than 24 bytes
    ReleaseTower(&t);
    ReleaseTower(&editing);
    const std::uint8_t shortRecord[16] = {9};
    Tower* print = Add(root, 10451, sizeof shortRecord, shortRecord);  // shorter than 44 bytes
    ReleaseTower(&print);
  });
  ASSERT_EQ(LoadConfiguration(Path("s.cfg").c_str()), 1);
  EXPECT_EQ(PickDistance, 12u) << "kept";
  EXPECT_EQ(CompletionInfoMask1, 0x11u) << "no 10315: nothing added";
  EXPECT_EQ(FirstLocatorDefaults.x, -1828800) << "the value for a missing node";
  EXPECT_EQ(FirstLocatorDefaults.justification, 8u);
  EXPECT_EQ(std::memcmp(&FirstLocatorDefaults.rotation, &pl3::kIdentityTransform, sizeof(pl3::Transform)), 0);
  EXPECT_EQ(SecondLocatorDefaults.x, 1828800);
  EXPECT_EQ(SecondLocatorDefaults.justification, 4u);
  EXPECT_EQ(EditingLength10328, 914400);
  EXPECT_EQ(EditingOption10329, 0u);
  EXPECT_EQ(PrintOptionsRecord[0], 1) << "a short record counts as missing";
  EXPECT_EQ(PrintOptions[0], 5) << "10452 kept";
  EXPECT_EQ(PrintOptions[1], 5) << "10453 kept";
  for (int code : {10455, 10457, 10458, 10459}) EXPECT_EQ(PrintOptions[code - 10452], 1) << code;
  EXPECT_EQ(PrintOptions[10456 - 10452], 0);
  EXPECT_EQ(CustomColours[3], 0xFFFFFFu) << "no 20029: the chooser's built-in colours";
}

TEST_F(ConfigurationFile, UnreadableFilesGiveTheBuiltInColoursAndAMessage) {
  WriteTree(Path("foreign.cfg"), [](Tower* root) { AddWord(root, 10301, 3); }, 4321);
  pl3test::WriteFileBytes(Path("short.cfg"), std::string("\x05\0\0\0", 4));
  for (const char* name : {"absent.cfg", "foreign.cfg", "short.cfg"}) {
    SCOPED_TRACE(name);
    pl3::ClearResponderRecords();
    Recorded().names.clear();
    PickDistance = 12;
    NamedColours = {};
    FreeLayerColourMixTable();
    EXPECT_EQ(LoadConfiguration(Path(name).c_str()), 0);
    ASSERT_EQ(pl3::ResponderRecords().size(), 1u);
    EXPECT_EQ(pl3::ResponderRecords()[0].text,
              "Unable to load configuration file \"" + Path(name) + "\". Using defaults");
    EXPECT_EQ(pl3::ResponderRecords()[0].caption, "Error");
    EXPECT_EQ(PickDistance, 12u);
    ASSERT_NE(LayerColourMix, nullptr);
    EXPECT_EQ(LayerColourMix[3], 0x7F007Fu);
    EXPECT_STREQ(NamedColours.entries[29].name, "Chevron Colour");
  }
  EXPECT_EQ(TopLevelEntities(), 1) << "nothing read stays in the store";
}

TEST_F(ConfigurationFile, AnUnwritableFileIsReportedAndTheRegistryStillWritten) {
  CreateProgramSubkey("Initialisation");
  DefaultPCBLayers = 8;
  PutText("Directories", "ConfigurationPath", pl3::ProgramPath(dir_) + "\\missing\\folder");
  LoadDirectories();
  EXPECT_EQ(SaveConfiguration("PL3.CFG"), 0);
  ASSERT_EQ(pl3::ResponderRecords().size(), 1u);
  EXPECT_EQ(pl3::ResponderRecords()[0].text, "Unable to save configuration data");
  EXPECT_EQ(pl3::ResponderRecords()[0].caption, "Error");
  EXPECT_EQ(GetStored("Initialisation", "DefaultPCBLayers").Dword(), 8u);
}

// ---- Start-up and teardown ---------------------------------------------------------------

class ApplicationStart : public ConfigurationFile {};

TEST_F(ApplicationStart, TwoStartsAndStopsKeepTheConfigurationAndLeakNothing) {
  FreeApplicationGlobals();  // the tests' own store goes; start-up makes one
  std::memset(pl3::LayerColourTable, 0, sizeof pl3::LayerColourTable);
  std::memset(pl3::BitmapColourQuads, 0, sizeof pl3::BitmapColourQuads);
  InitialiseApplication();
  EXPECT_EQ(ActiveWindowData, &DefaultWindowData);
  EXPECT_EQ(DefaultWindowData.Zoom, 16000u) << "new windows start from this zoom";
  // The plane colour table, its bitmap quads and the program palette.
  EXPECT_EQ(pl3::LayerColourTable[3].red, 127);
  EXPECT_EQ(pl3::LayerColourTable[3].blue, 127);
  EXPECT_EQ(pl3::LayerColourTable[7].green, 85);
  EXPECT_EQ(pl3::BitmapColourQuads[1].rgbRed, 255);
  ASSERT_NE(pl3::ProgramPalette, nullptr);
  PALETTEENTRY slot10{};
  ASSERT_EQ(GetPaletteEntries(pl3::ProgramPalette, 10, 1, &slot10), 1u);
  EXPECT_EQ(slot10.peRed, 0) << "slot 10 holds class entry 0, black";
  PALETTEENTRY slot11{};
  ASSERT_EQ(GetPaletteEntries(pl3::ProgramPalette, 11, 1, &slot11), 1u);
  EXPECT_EQ(slot11.peRed, 255) << "slot 11 holds class entry 1, red";
  EXPECT_EQ(DefaultPCBLayers, 2u) << "the registry's value replaces start-up's 4";
  EXPECT_NE(ProgramTower, nullptr);
  EXPECT_EQ(TowerEntity(FontRecordsTower)->typeCode, 305);
  // The two built-in fonts are loaded under it.
  EXPECT_NE(FirstBuiltInFont, nullptr);
  EXPECT_NE(SecondBuiltInFont, nullptr);
  EXPECT_EQ(PickDistanceSquared, 1600u);
  EXPECT_STREQ(ConfigurationFileName, (pl3::ProgramPath(dir_) + "\\PL3.CFG").c_str());
  EXPECT_STREQ(DefaultGridsFile, (pl3::ProgramPath(dir_) + "\\DEFAULT.GRD").c_str());
  EXPECT_STREQ(RuleFileName, "DEFAULT.DRC");
  // Filing starts in the folders read.
  EXPECT_EQ(DialogStartFolders().configurationPath, pl3::ProgramPath(dir_));
  EXPECT_EQ(DialogStartFolders().projectPath, DirectoryDefault(ProjectFolder));
  EXPECT_EQ(RememberedDirectoryPath(LastPCBDirectory), DirectoryDefault(LibraryFolder));
  // No PL3.CFG yet, and no grid file: the built-in grids are written to it,
  // and the default window state holds them.
  ASSERT_EQ(pl3::ResponderRecords().size(), 1u);
  GridSet* builtIn = BuildDefaultGridSet();
  ASSERT_NE(DefaultGridSet, nullptr);
  EXPECT_EQ(std::memcmp(DefaultGridSet, builtIn, GetGridSetSize(builtIn)), 0);
  ASSERT_NE(DefaultWindowData.Grids, nullptr);
  EXPECT_EQ(std::memcmp(DefaultWindowData.Grids, builtIn, GetGridSetSize(builtIn)), 0);
  GridSet* written = nullptr;
  ASSERT_EQ(LoadGridList(DefaultGridsFile, &written), 1);
  EXPECT_EQ(+written->count, 18u);
  EXPECT_EQ(+written->current.x.numerator, +builtIn->current.x.numerator);
  EXPECT_FALSE(std::filesystem::exists(Path("DEFAULT.GRD.corrupt"))) << "there was nothing to keep aside";
  // The next start reads the user's grids from it.
  written->count = 2;
  written->flags = kGridSnap;
  ASSERT_EQ(SaveGridList(DefaultGridsFile, written), 1);
  const std::string userFile = pl3test::ReadFileBytes(Path("DEFAULT.GRD"));
  std::free(written);
  std::free(builtIn);
  // The default window state has its start values, and no design to hold its group.
  EXPECT_EQ(DefaultWindowData.GhostColour, 0x800000u);
  ASSERT_NE(HighlightColours, nullptr);
  EXPECT_EQ(HighlightColours[15], 0u);
  EXPECT_EQ(DefaultWindowData.AngleAssist, 2);
  EXPECT_EQ(DefaultWindowData.DragFlags, 2);
  EXPECT_EQ(NewBoardDefaults[2], 1463040000u);
  EXPECT_EQ(NewBoardDefaults[4], 4u);

  PickDistance = 7;
  DrawingFlag10212 = 0;
  DefaultCursorStyle = 2;
  ASSERT_EQ(SaveConfiguration("PL3.CFG"), 1);
  FreeApplicationGlobals();
  EXPECT_EQ(ProgramTower, nullptr);
  EXPECT_EQ(LayerColourMix, nullptr);
  EXPECT_EQ(HighlightColours, nullptr);
  EXPECT_EQ(pl3::ProgramPalette, nullptr);

  // A restart: every global back to its state at program start.
  RestartRegistry();
  FreeApplicationGlobals();
  EXPECT_EQ(DefaultGridSet, nullptr);
  InitialiseApplication();
  EXPECT_TRUE(pl3::ResponderRecords().empty());
  ASSERT_NE(DefaultGridSet, nullptr);
  EXPECT_EQ(+DefaultGridSet->count, 2u);
  EXPECT_EQ(+DefaultGridSet->flags, +kGridSnap);
  EXPECT_EQ(+static_cast<GridSet*>(DefaultWindowData.Grids)->count, 2u);
  EXPECT_EQ(pl3test::ReadFileBytes(Path("DEFAULT.GRD")), userFile) << "a readable grid file is not rewritten";
  EXPECT_EQ(PickDistance, 7u);
  EXPECT_EQ(PickDistanceSquared, 49u);
  EXPECT_EQ(DrawingWorkingFlags[0], 0);
  EXPECT_EQ(DrawingWorkingFlags[1], 1);
  EXPECT_EQ(DefaultCursorStyle, 2);
  FreeApplicationGlobals();
  FreeApplicationGlobals();  // a second teardown finds nothing to free
  InitTowerStore();          // the store the test's reset expects
}

TEST_F(ApplicationStart, TheRecentlyUsedProjectsOfTheLastRunAreListedAgain) {
  PutText("Initialisation", "MRUProject1", "C:\\boards\\a.p3p\\Main?pcb");
  PutText("Initialisation", "MRUProject2", "no item");
  PutText("Initialisation", "MRUProject3", "C:\\boards\\b.p3p\\Top?schematic");
  FreeApplicationGlobals();
  InitialiseApplication();
  EXPECT_STREQ(RecentEntry(0), "C:\\boards\\a.p3p\\Main?pcb");
  EXPECT_STREQ(RecentEntry(1), "C:\\boards\\b.p3p\\Top?schematic") << "an entry without an item is skipped";
  EXPECT_STREQ(RecentEntry(2), "");
  FreeApplicationGlobals();
  InitTowerStore();
}

TEST_F(ApplicationStart, AStoredGridFileNameIsUsedAndWithoutTheKeyTheDefaultsRun) {
  PutText("Initialisation", "DefaultGridsFile", "\\grids\\mine.grd");
  FreeApplicationGlobals();
  InitialiseApplication();
  EXPECT_STREQ(DefaultGridsFile, "\\grids\\mine.grd");
  FreeApplicationGlobals();

  // Without "Initialisation" and no way to make it, the folder buffer is used as it stands.
  ForgetRegistry();
  FreeApplicationGlobals();
  pl3::SetRegistryWriteFaultForTests(1);
  // The empty folder names the root: a grid file this start writes there goes again.
  const bool rootFileWasThere = std::filesystem::exists("/DEFAULT.GRD");
  InitialiseApplication();
  if (!rootFileWasThere) std::remove("/DEFAULT.GRD");
  EXPECT_FALSE(ProgramSubkeyExists("Initialisation"));
  EXPECT_EQ(DefaultPCBLayers, 4u) << "start-up's value stays on this path";
  EXPECT_STREQ(ConfigurationFileName, "\\PL3.CFG");
  EXPECT_STREQ(DefaultGridsFile, "\\DEFAULT.GRD");
  FreeApplicationGlobals();
  InitTowerStore();
}

}  // namespace
