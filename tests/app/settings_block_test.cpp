#include "app/settings_block.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "app/core_utilities.h"
#include "app/registry_values.h"
#include "app/start_values.h"
#include "platform/gdi.h"
#include "store/filing_settings.h"
#include "store/netfs_format.h"
#include "tests/app/settings_test_support.h"

namespace {

using namespace pl3test;

struct BlockDeleter {
  void operator()(SettingsBlock* b) const { FreeSettings(b); }
};
using BlockPtr = std::unique_ptr<SettingsBlock, BlockDeleter>;

class SettingsBlockTest : public testing::Test {
 protected:
  void SetUp() override { ForgetRegistry(); }
};

std::string Text(const char* s) { return s ? s : "<null>"; }

TEST_F(SettingsBlockTest, AnEmptyInitialisationGivesTheBuiltInValues) {
  CreateProgramSubkey("Initialisation");
  PutText("Directories", "ConfigurationPath", "\\cfg");
  PutText("Directories", "InstallPath", "\\inst");
  BlockPtr b(ReadSettings());
  EXPECT_EQ(b->AutoBackupEnabled, 1u);
  EXPECT_EQ(b->NumberOfBackups, 4u);
  EXPECT_EQ(b->AutoBackupTime, 20u);
  for (int kind = 0; kind < kConsoleKindSlots; ++kind) {
    const int expected = (kind >= 1 && kind <= 7) || kind == 9 ? 1 : 0;
    EXPECT_EQ(b->ConsoleVisible[kind], expected) << kind;
    EXPECT_EQ(b->ConsoleSaved[kind], expected) << kind;
  }
  EXPECT_EQ(b->QuasiTrackGap, 8.0);
  EXPECT_EQ(b->QuasiTrackUnits, 0);
  EXPECT_EQ(b->QuasiTrackEnabled, 0);
  EXPECT_EQ(b->AutoInheritMode, 1u);
  EXPECT_EQ(b->AutoAnnotateSymbols, 1u);
  EXPECT_EQ(b->Compression, 1u);
  EXPECT_EQ(b->CompressionLevel, 1u);
  EXPECT_EQ(Text(b->ShapeSizeFile), "\\cfg\\Shape Sizes.p3s");
  EXPECT_EQ(Text(b->PadStackSizeFile), "\\cfg\\Pad Stack Sizes.p3s");
  EXPECT_EQ(Text(b->PCBSymbolSizeFile), "\\cfg\\PCB Symbol Sizes.p3s");
  EXPECT_EQ(Text(b->PCBSizeFile), "\\cfg\\PCB Sizes.p3s");
  EXPECT_EQ(Text(b->SchematicSymbolSizeFile), "\\cfg\\Schematic Symbol Sizes.p3s");
  EXPECT_EQ(Text(b->SchematicSizeFile), "\\cfg\\Schematic Sizes.p3s");
  EXPECT_EQ(Text(b->SpiceFolder), "\\inst\\Spice");
  EXPECT_EQ(Text(b->ModelPath3D), "\\inst\\3D Models");
  EXPECT_EQ(Text(b->DatasheetPath), "\\inst\\Datasheets");
  EXPECT_EQ(Text(b->ProjectPath), "<null>");
  EXPECT_EQ(b->errorMask, DefaultErrorMask);
}

TEST_F(SettingsBlockTest, MissingFoldersNeverGiveNullTexts) {
  BlockPtr b(ReadSettings());
  EXPECT_EQ(b->ConfigurationPath, nullptr);
  EXPECT_EQ(b->InstallPath, nullptr);
  EXPECT_EQ(Text(b->ShapeSizeFile), std::string(DirectoryDefault(ConfigurationFolder)) + "\\Shape Sizes.p3s");
  EXPECT_EQ(Text(b->SpiceFolder), "\\Spice");
  EXPECT_EQ(Text(b->DatasheetPath), "\\Datasheets");
}

TEST_F(SettingsBlockTest, StoredValuesWinAndByteFieldsKeepTheLowByte) {
  PutText("Initialisation", "PCBSizeFile", "\\mine\\board.p3s");
  PutText("Directories", "3DModelPath", "\\models");
  PutDword("Initialisation", "NumberOfBackups", 0);
  PutDword("Initialisation", "QuasiTrackEnabled", 0x1FF);
  PutDword("Initialisation", "QuasiTrackUnits", 0x302);
  PutDword("Initialisation", "ConsoleVisible_NCExport", 0x100);
  PutText("Initialisation", "Compression", "0");  // not a DWORD: counts as missing
  PutRaw("Initialisation", "CompressionLevel", REG_BINARY, std::string("\x07\0\0\0", 4));
  BlockPtr b(ReadSettings());
  EXPECT_EQ(Text(b->PCBSizeFile), "\\mine\\board.p3s");
  EXPECT_EQ(Text(b->ModelPath3D), "\\models");
  EXPECT_EQ(b->NumberOfBackups, 0u);
  EXPECT_EQ(b->QuasiTrackEnabled, 0xFF);
  EXPECT_EQ(b->QuasiTrackUnits, 2);
  EXPECT_EQ(b->ConsoleVisible[7], 0);
  EXPECT_EQ(b->Compression, 1u);
  EXPECT_EQ(b->CompressionLevel, 1u);
  b->Compression = 0;
  b->CompressionLevel = 9;
  ApplyCompressionSettings(b.get());
  EXPECT_FALSE(CompressionEnabled());
  EXPECT_EQ(CompressionLevel(), 9);
}

TEST_F(SettingsBlockTest, QuasiTrackGapIsReadByTypeAndSavedAsText) {
  struct Case {
    DWORD type;
    std::string stored;
    double read;
    std::string saved;
  };
  const Case cases[] = {
      {REG_DWORD, std::string("\x0c\0\0\0", 4), 12.0, "12"},
      {REG_SZ, "12.5", 12.5, "12.5"},
      {REG_SZ, "12.5mm", 8.0, "8"},
      {REG_SZ, "", 8.0, "8"},
      {REG_SZ, "nan", 8.0, "8"},
      {REG_SZ, "1e999", 8.0, "8"},
      {REG_BINARY, "12.5", 8.0, "8"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    ForgetRegistry();
    CreateProgramSubkey("Directories");
    PutRaw("Initialisation", "QuasiTrackGap", c.type, c.type == REG_SZ ? c.stored + '\0' : c.stored);
    BlockPtr b(ReadSettings());
    EXPECT_EQ(b->QuasiTrackGap, c.read);
    SaveSettings(b.get());
    const StoredValue v = GetStored("Initialisation", "QuasiTrackGap");
    EXPECT_EQ(v.type, REG_SZ);
    EXPECT_EQ(v.Text(), c.saved);
  }
}

TEST_F(SettingsBlockTest, SaveThenReadGivesTheSameBlockAfterARestart) {
  CreateProgramSubkey("Initialisation");
  CreateProgramSubkey("Directories");
  BlockPtr b(ReadSettings());
  std::free(b->ProjectPath);
  b->ProjectPath = strdup("\\work\\projects");
  std::free(b->InstallPath);
  b->InstallPath = strdup("\\opt\\pl3");
  std::free(b->SchematicSizeFile);
  b->SchematicSizeFile = strdup("\\s.p3s");
  b->AutoBackupEnabled = 0;
  b->NumberOfBackups = 9;
  b->AutoBackupTime = 45;
  b->ConsoleVisible[6] = 0;
  b->ConsoleSaved[9] = 0;
  b->ConsoleVisible[8] = 1;  // no value of its own: not kept
  b->AutoInheritMode = 0;
  b->AutoAnnotateSymbols = 0;
  b->QuasiTrackEnabled = 1;
  b->QuasiTrackGap = 0.25;
  b->QuasiTrackUnits = 3;
  b->Compression = 0;
  b->CompressionLevel = 9;
  SaveSettings(b.get());
  RestartRegistry();
  BlockPtr r(ReadSettings());
  EXPECT_EQ(Text(r->ProjectPath), "\\work\\projects");
  EXPECT_EQ(Text(r->InstallPath), "\\opt\\pl3");
  EXPECT_EQ(Text(r->SpiceFolder), "\\opt\\pl3\\Spice");
  EXPECT_EQ(Text(r->SchematicSizeFile), "\\s.p3s");
  EXPECT_EQ(Text(r->ShapeSizeFile), Text(b->ShapeSizeFile));
  EXPECT_EQ(r->AutoBackupEnabled, 0u);
  EXPECT_EQ(r->NumberOfBackups, 9u);
  EXPECT_EQ(r->AutoBackupTime, 45u);
  EXPECT_EQ(r->ConsoleVisible[6], 0);
  EXPECT_EQ(r->ConsoleSaved[6], 1);
  EXPECT_EQ(r->ConsoleSaved[9], 0);
  EXPECT_EQ(r->ConsoleVisible[8], 0);
  EXPECT_EQ(r->AutoInheritMode, 0u);
  EXPECT_EQ(r->AutoAnnotateSymbols, 0u);
  EXPECT_EQ(r->QuasiTrackEnabled, 1);
  EXPECT_EQ(r->QuasiTrackGap, 0.25);
  EXPECT_EQ(r->QuasiTrackUnits, 3);
  EXPECT_EQ(r->Compression, 0u);
  EXPECT_EQ(r->CompressionLevel, 9u);
  // Null texts and the Spice folder are not written.
  EXPECT_EQ(GetStored("Directories", "LibraryPath").type, 0u);
  EXPECT_EQ(GetStored("Directories", "SpiceFolder").type, 0u);
  EXPECT_EQ(GetStored("Initialisation", "SpiceFolder").type, 0u);
  EXPECT_EQ(GetStored("Initialisation", "ConsoleVisible_DRC").type, REG_DWORD);
}

TEST_F(SettingsBlockTest, SavingNeverCreatesAMissingSubkey) {
  BlockPtr b(ReadSettings());
  SaveSettings(b.get());
  EXPECT_FALSE(ProgramSubkeyExists("Initialisation"));
  EXPECT_FALSE(ProgramSubkeyExists("Directories"));
  SetRegistryDword("Initialisation\\X", 1);
  SetRegistryString("Initialisation\\Y", "y");
  EXPECT_FALSE(ProgramSubkeyExists("Initialisation"));
}

TEST_F(SettingsBlockTest, RegistryReadsRefuseWhatDoesNotFit) {
  PutRaw("Initialisation", "Raw", REG_BINARY, "abc");  // no NUL stored
  char* raw = GetRegistryString("Initialisation\\Raw");
  ASSERT_NE(raw, nullptr);
  EXPECT_STREQ(raw, "abc");
  std::free(raw);
  PutText("Initialisation", "Huge", std::string(70000, 'x'));
  EXPECT_EQ(GetRegistryString("Initialisation\\Huge"), nullptr);
  char* fallback = GetRegistryStringDefault("Initialisation\\Missing", "%s-%d", "d", 7);
  EXPECT_STREQ(fallback, "d-7");
  std::free(fallback);
  PutRaw("Initialisation", "Quad", REG_QWORD, std::string(8, '\1'));
  EXPECT_EQ(GetRegistryDword("Initialisation\\Quad", 77), 77u);
  EXPECT_EQ(GetRegistryValueType("Initialisation\\Quad"), REG_QWORD);
  EXPECT_EQ(GetRegistryValueType("Nowhere\\Quad"), 0u);
  PutText("Initialisation", "Half", "2.5");
  EXPECT_EQ(GetRegistryDouble("Initialisation\\Half", 1.0), 2.5);
  EXPECT_EQ(GetRegistryDouble("Initialisation\\Quad", 1.0), 1.0);
}

TEST_F(SettingsBlockTest, AutoBackupValuesReachTheStore) {
  struct Case {
    const char* note;
    bool plant;
    DWORD backups, time, enabled;
    int wantBackups;
    unsigned wantTime;
    bool wantEnabled;
  };
  const Case cases[] = {
      {"no key", false, 0, 0, 0, 4, 20, true},
      {"stored", true, 0, 5, 0, 0, 5, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.note);
    ForgetRegistry();
    SetNumberOfBackups(-1);
    SetAutoBackup(false, 0);
    if (c.plant) {
      PutDword("Initialisation", "NumberOfBackups", c.backups);
      PutDword("Initialisation", "AutoBackupTime", c.time);
      PutDword("Initialisation", "AutoBackupEnabled", c.enabled);
    }
    ReadAutoBackupSettings();
    EXPECT_EQ(NumberOfBackups(), c.wantBackups);
    EXPECT_EQ(GetAutoBackup().interval, c.wantTime);
    EXPECT_EQ(GetAutoBackup().enabled, c.wantEnabled);
  }
  ForgetRegistry();
  PutText("Initialisation", "NumberOfBackups", "7");
  ReadAutoBackupSettings();
  EXPECT_EQ(NumberOfBackups(), 4);
}

// ---- Start values outside the block ----------------------------------------------------

class StartValuesTest : public SettingsBlockTest {
 protected:
  // Runs the readers as the start-up does, on the opened Initialisation key.
  static void LoadFromInitialisation() {
    HKEY key = nullptr;
    ASSERT_EQ(OpenProgramRegistryKey(HKEY_CURRENT_USER, "Initialisation", 0, KEY_ALL_ACCESS, &key),
              static_cast<LONG>(ERROR_SUCCESS));
    LoadColumnWidths(key);
    LoadEditorOptions(key);
    RegCloseKey(key);
  }
};

TEST_F(StartValuesTest, DirectoryBuffersTakeStoredFoldersOrTheirDefaults) {
  LoadDirectories();
  for (int i = 0; i < DirectoryBufferCount; ++i) {
    auto which = static_cast<DirectoryBufferKind>(i);
    EXPECT_STREQ(DirectoryBuffer(which), DirectoryDefault(which));
  }
  EXPECT_STREQ(DirectoryDefault(ConfigurationFolder), "C:\\program files\\corvane\\pelmora3\\configuration");
  PutText("Directories", "NetPath", "\\nets");
  PutText("Directories", "ProjectPath", std::string(2047, 'p'));  // fits with its NUL
  PutText("Directories", "LibraryPath", std::string(2048, 'l'));  // does not
  PutDword("Directories", "OutputPath", 5);
  LoadDirectories();
  EXPECT_STREQ(DirectoryBuffer(NetFolder), "\\nets");
  EXPECT_EQ(std::string(DirectoryBuffer(ProjectFolder)), std::string(2047, 'p'));
  EXPECT_STREQ(DirectoryBuffer(LibraryFolder), DirectoryDefault(LibraryFolder));
  EXPECT_STREQ(DirectoryBuffer(OutputFolder), DirectoryDefault(OutputFolder));
}

TEST_F(StartValuesTest, ColumnWidthTextsMakeSetsOnlyWhenWhole) {
  struct Case {
    std::string text;
    bool made;
  };
  const Case cases[] = {
      {"10 20 30 40 50", true}, {"10 20", false},          {"10 0 30 40 50", false},
      {"10 20 30 40 x", false}, {"10 20 30 40 99999999999", false}, {"", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    ForgetRegistry();
    PutText("Initialisation", "DefaultTrackHeader", c.text);
    LoadFromInitialisation();
    ColumnWidthEntry* set = *ColumnWidthSet(1);
    ASSERT_EQ(set != nullptr, c.made);
    if (set) {
      for (int i = 0; i < 5; ++i) EXPECT_EQ(set[i].width, 10 * (i + 1));
    }
  }
  EXPECT_EQ(ColumnWidthSet(1), ColumnWidthSet(2));
  EXPECT_EQ(ColumnWidthSet(30013), nullptr);
  EXPECT_EQ(ColumnWidthSet(4), nullptr);
  EXPECT_EQ(ColumnWidthCount(17), 6);
  EXPECT_EQ(ColumnWidthCount(30014), 2);
}

TEST_F(StartValuesTest, ColumnWidthsSaveAsTheirTextAndSurviveARestart) {
  PutText("Initialisation", "DefaultGridHeader", "50 60 70");
  LoadFromInitialisation();
  ColumnWidthEntry* grid = *ColumnWidthSet(30004);
  ASSERT_NE(grid, nullptr);
  grid[1].width = 65;
  SaveColumnWidths(30004);
  SaveColumnWidths(30013);  // no set: nothing
  SaveColumnWidths(30001);  // a null set: nothing
  EXPECT_EQ(GetStored("Initialisation", "DefaultGridHeader").Text(), "50 65 70");
  EXPECT_EQ(GetStored("Initialisation", "DefaultLayerHeader").type, 0u);
  // A value too long for its buffer leaves the set as it was.
  PutText("Initialisation", "DefaultGridHeader", std::string(1023, '7'));
  LoadFromInitialisation();
  ASSERT_NE(*ColumnWidthSet(30004), nullptr);
  EXPECT_EQ((*ColumnWidthSet(30004))[1].width, 65);
}

TEST_F(StartValuesTest, EditorOptionsReadTheirTypesAndClampTheQuickViewHeight) {
  const int bound = GetSystemMetrics(SM_CYVIRTUALSCREEN) - 120;
  struct Case {
    DWORD stored;
    bool plant;
    std::uint32_t read;
  };
  const Case cases[] = {{5, true, 10}, {0xFFFFFFFF, true, 10}, {static_cast<DWORD>(bound + 1), true, static_cast<std::uint32_t>(bound)},
                        {400, true, 400}, {0, false, 300}};
  for (const Case& c : cases) {
    ForgetRegistry();
    CreateProgramSubkey("Initialisation");
    if (c.plant) PutDword("Initialisation", "QuickViewVerticalSize", c.stored);
    LoadFromInitialisation();
    EXPECT_EQ(QuickViewVerticalSize, c.read) << c.stored;
  }
  ProjectWindowEnabled = 0;
  PutText("Initialisation", "DefaultCursorStyle", "3");
  PutText("Initialisation", "AutoAnnotation", "zero");
  PutDword("Initialisation", "DefaultCursorStyle2", 1);
  PutDword("Initialisation", "PickUpSecondaries", 0);  // not text: the built-in value
  LoadFromInitialisation();
  EXPECT_EQ(DefaultCursorStyle, 3);
  EXPECT_EQ(AutoAnnotation, 1);
  EXPECT_EQ(PickUpSecondaries, 1);
  EXPECT_EQ(DefaultPCBLayers, 2u);
  EXPECT_EQ(DefaultExplorerView, 3u);
  EXPECT_EQ(QuickViewSize, 150u);
  EXPECT_EQ(ProjectWindowEnabled, 0u);  // kept when missing

  DefaultIOPortUpdateMode = -4;
  DefaultPCBLayers = 6;
  SaveEditorOptions();
  EXPECT_EQ(GetStored("Initialisation", "DefaultIOPortUpdateMode").Text(), "-4");
  EXPECT_EQ(GetStored("Initialisation", "DefaultIOPortUpdateMode").type, REG_SZ);
  EXPECT_EQ(GetStored("Initialisation", "DefaultPCBLayers").Dword(), 6u);
  EXPECT_EQ(GetStored("Initialisation", "ProjectWindowEnabled").type, 0u);  // never written
  RestartRegistry();
  LoadFromInitialisation();
  EXPECT_EQ(DefaultIOPortUpdateMode, -4);
  EXPECT_EQ(DefaultPCBLayers, 6u);
}

TEST_F(StartValuesTest, TheGridFileNameIsKeptAndWritten) {
  SetDefaultGridsFile("\\grids\\fine.grd");
  EXPECT_STREQ(DefaultGridsFile, "\\grids\\fine.grd");
  EXPECT_EQ(GetStored("Initialisation", "DefaultGridsFile").Text(), "\\grids\\fine.grd");
  SetDefaultGridsFile(DefaultGridsFile);  // its own copy: no use after free
  EXPECT_STREQ(DefaultGridsFile, "\\grids\\fine.grd");
}

}  // namespace
