// The built-in commands: what registration makes of them, and their handlers
// through the owners' recording fakes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "app/builtin_commands.h"
#include "app/command_table.h"
#include "app/core_utilities.h"
#include "app/settings_block.h"
#include "app/start_values.h"
#include "edit/window_data.h"
#include "objects/graphic_records.h"
#include "objects/size_text.h"
#include "objects/type_codes.h"
#include "platform/responder.h"
#include "platform/user.h"
#include "scripting/script_list.h"
#include "store/tower.h"
#include "tests/app/pending_fakes.h"
#include "tests/support/test_paths.h"

namespace {

std::vector<std::string> g_messages;  // "frame|window message wParam"

LRESULT RecordingProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_COMMAND || m == WM_MOUSEWHEEL)
    g_messages.push_back(std::string(h == FrameWindow ? "frame " : "window ") +
                         (m == WM_COMMAND ? "command " : "wheel ") + std::to_string(w));
  return DefWindowProc(h, m, w, l);
}

std::vector<const CommandRecord*> Records(const char* name) {
  std::vector<const CommandRecord*> out;
  for (std::uint32_t i = 0; i < LiveCommandTable.count; ++i)
    if (!std::strcmp(LiveCommandTable.records[i].name, name)) out.push_back(&LiveCommandTable.records[i]);
  return out;
}

class Builtin : public ::testing::Test {
 protected:
  void SetUp() override {
    g_messages.clear();
    WNDCLASS wc{};
    wc.lpfnWndProc = &RecordingProc;
    wc.lpszClassName = "Recording";
    RegisterClass(&wc);
    FrameWindow = CreateWindowEx(0, "Recording", "", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr, nullptr,
                                 nullptr);
    window_ = CreateWindowEx(0, "Recording", "", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr, nullptr,
                             nullptr);
    ActiveWindowData = &data_;
    DirectoryBuffer(ConfigurationFolder)[0] = 0;  // no bindings file
  }
  void TearDown() override {
    ActiveWindowData = nullptr;
    DestroyWindow(window_);
    DestroyWindow(FrameWindow);
    FrameWindow = nullptr;
    FreeScriptList();
  }
  std::uint32_t Run(const char* name, std::uint32_t kind, std::uint32_t mode, std::uint32_t parameter = 0) {
    data_.editorKind = kind;
    data_.EditMode = static_cast<std::uint8_t>(mode);
    BuiltinHandler handler = FindBuiltinCommandHandler(name);
    EXPECT_NE(handler, nullptr) << name;
    return handler ? handler(window_, nullptr, nullptr, parameter) : 99;
  }
  HWND window_ = nullptr;
  CurrentWindowData data_{};
};

TEST_F(Builtin, RegistrationGroupsKindsModesAndKeys) {
  RegisterCommands();
  std::vector<std::string> names;
  for (std::uint32_t i = 0; i < LiveCommandTable.count; ++i) names.push_back(LiveCommandTable.records[i].name);
  std::sort(names.begin(), names.end());
  names.erase(std::unique(names.begin(), names.end()), names.end());
  EXPECT_EQ(names.size(), 215u);

  // Mask 55: context bits 1, 2, 4, 16 and 32.
  auto arc = Records("insert.arc.centre");
  ASSERT_EQ(arc.size(), 5u);
  std::uint32_t bits = 0;
  for (const CommandRecord* r : arc) {
    bits |= r->contextBit;
    EXPECT_EQ(r->kindMask, 55u);
  }
  EXPECT_EQ(bits, 55u);

  // One registration per mode group: insert.via idle, 104 and 1.
  std::vector<std::int32_t> viaModes;
  for (const CommandRecord* r : Records("insert.via")) {
    viaModes.push_back(r->toolMode);
    EXPECT_STREQ(r->keyText, "V");
  }
  std::sort(viaModes.begin(), viaModes.end());
  EXPECT_EQ(viaModes, (std::vector<std::int32_t>{0, 1, 104}));
  auto attributes = Records("edit.editsymbolattributes");
  ASSERT_EQ(attributes.size(), 3u);  // schematic in 39; PCB and schematic idle

  auto datum = Records("tools.gotodatum");
  ASSERT_EQ(datum.size(), 1u);
  EXPECT_EQ(datum[0]->contextBit, 1u);
  EXPECT_EQ(Records("tools.dalvery")[0]->userParameter, 1u);
  EXPECT_EQ(Records("tools.modifydatasheet")[0]->userParameter, 0u);
  EXPECT_EQ(Records("tools.modifydatasheet")[0]->handler, Records("tools.dalvery")[0]->handler);

  for (int level = 1; level <= 10; ++level) {
    auto zoom = Records(("tools.zoomlevel." + std::to_string(level)).c_str());
    ASSERT_EQ(zoom.size(), 6u) << level;
    EXPECT_EQ(zoom[0]->userParameter, static_cast<std::uint32_t>(0x30 + level - 1));
    EXPECT_EQ(zoom[0]->keyCodes[0], level == 10 ? 0x30 : 0x30 + level);
    EXPECT_EQ(zoom[0]->toolMode, kToolModeAny);
    EXPECT_EQ(std::string(zoom[0]->caption), "Zoom To Level " + std::to_string(level));
  }
  EXPECT_STREQ(GetCommandKeyText(32, 2257), "Ctrl+C");
  EXPECT_STREQ(GetCommandKeyText(1, 2432), "V");
  EXPECT_STREQ(GetCommandKeyText(1, 457), "V");
}

TEST_F(Builtin, ScriptsBecomeCommands) {
  const std::string install = pl3test::MakeTempDir("install");
  const std::string pcb = install + "/Scripts/pcb";
  const std::string sch = install + "/Scripts/schematic";
  std::filesystem::create_directories(pcb + "/sub folder");
  std::filesystem::create_directories(sch);
  pl3test::WriteFileBytes(pcb + "/my test", "");
  pl3test::WriteFileBytes(sch + "/bom.lua", "");
  SettingsBlock block{};
  block.InstallPath = const_cast<char*>(install.c_str());
  Settings = &block;
  BuildScriptList();
  Settings = nullptr;
  ASSERT_EQ(ScriptEntryCount, 2u);  // the sub-folder is not a script
  EXPECT_EQ(ScriptEntries[0].editor, 2u);
  EXPECT_STREQ(ScriptEntries[1].fileName, "my test");
  EXPECT_EQ(std::string(ScriptEntries[1].path), install + "\\scripts\\pcb\\my test");

  RegisterCommands();
  auto mine = Records("script.run.PCB.my_test");
  ASSERT_EQ(mine.size(), 1u);
  EXPECT_STREQ(mine[0]->caption, "Run PCB Script \"my test\"");
  EXPECT_EQ(mine[0]->contextBit, 1u);
  EXPECT_EQ(mine[0]->toolMode, kToolModeIdle);
  auto bom = Records("script.run.Schematic.bom.lua");
  ASSERT_EQ(bom.size(), 1u);
  EXPECT_EQ(bom[0]->contextBit, 32u);
  EXPECT_EQ(mine[0]->handler(window_, nullptr, nullptr, mine[0]->userParameter), 1u);
  EXPECT_EQ(pendingfakes::Recorded().scriptsRun, (std::vector<std::string>{ScriptEntries[1].path}));
}

TEST_F(Builtin, MissingScriptFolderGivesNoScripts) {
  SettingsBlock block{};
  block.InstallPath = const_cast<char*>("/no/such/folder");
  Settings = &block;
  BuildScriptList();
  Settings = nullptr;
  EXPECT_EQ(ScriptEntryCount, 0u);
}

TEST_F(Builtin, ZoomLevelHandsItsParameterOn) {
  RegisterCommands();
  const std::uint16_t digit = '0';
  data_.editorKind = 4;
  data_.EditMode = 39;
  EXPECT_EQ(RunMatchingCommand(KeyLookup{4, 39, 1, &digit}, window_, nullptr, nullptr), 1u);
  EXPECT_EQ(pendingfakes::Recorded().zoomParameters, (std::vector<std::uint32_t>{0x39}));
}

struct HandlerCase {
  const char* name;
  std::uint32_t kind;
  std::uint32_t mode;
  std::vector<std::string> passing;    // the owner's checks that pass
  std::uint32_t operationResult;
  std::uint32_t result;
  std::vector<std::string> messages;   // sent, in order
  std::vector<std::string> operations; // handed to the owner
  const char* box;                     // "caption: text" of a shown box, or ""
};

TEST_F(Builtin, HandlersActServeTheirKindsAndRefuse) {
  const HandlerCase cases[] = {
      {"tools.showhelp", 1, 0, {}, 1, 0, {}, {"tools.showhelp"}, ""},
      {"tools.zoomin", 256, 0, {}, 1, 0, {"window wheel 65536"}, {}, ""},
      {"tools.zoomout", 256, 0, {}, 1, 0, {"window wheel 0"}, {}, ""},
      {"tools.zoomin", 1, 0, {}, 1, 1, {}, {"tools.zoomin"}, ""},
      {"tools.dolinkaction", 32, 0, {}, 0, 1, {}, {}, ""},
      {"tools.dolinkaction", 4, 0, {}, 1, 0, {}, {}, ""},
      {"insert.namedioport", 1, 0, {}, 1, 0, {}, {}, ""},
      {"insert.namedioport", 32, 0, {}, 1, 1, {}, {"CancelCurrentOperation", "tool insert.namedioport 15"}, ""},
      {"edit.mirror", 16, 39, {}, 1, 0, {}, {}, ""},
      {"edit.mirror", 32, 39, {}, 1, 1, {}, {"edit.mirror"}, ""},
      {"edit.flipdirection", 32, 5, {}, 1, 0, {"frame command 297"}, {}, ""},
      {"edit.acceptpolygonpoint", 1, 109, {}, 1, 0, {}, {"edit.acceptpolygonpoint.measure"}, ""},
      {"edit.acceptpolygonpoint", 1, 13, {}, 1, 1, {}, {"edit.acceptpolygonpoint"}, ""},
      {"edit.cancel", 1, 13, {"edit.cancel.polygon"}, 1, 0, {}, {}, ""},
      {"edit.cancel", 256, 13, {}, 0, 1, {}, {"CancelCurrentOperation"}, ""},
      {"tools.addnetnode", 1, 0, {}, 1, 1, {}, {}, ""},
      {"tools.renamenetnode", 1, 0, {"netediting"}, 1, 1, {}, {"tools.renamenetnode"}, ""},
      {"tools.fixallplanes", 1, 0, {}, 1, 1, {"frame command 67555"}, {}, ""},
      {"tools.fixallplanes", 32, 0, {}, 1, 0, {}, {}, ""},
      {"tools.selectgrid", 2, 0, {}, 1, 1, {"frame command 298"}, {}, ""},
      {"tools.save", 64, 7, {}, 1, 1, {"window command 286"}, {}, ""},
      {"edit.setlargestwidth", 8, 7, {}, 1, 1, {"frame command 2028"}, {}, ""},
      {"edit.setlargestwidth", 32, 7, {}, 1, 1, {"frame command 2318"}, {}, ""},
      {"tools.increasewidth", 16, 7, {}, 1, 1, {"frame command 2315"}, {}, ""},
      {"tools.increasewidth", 8, 7, {}, 1, 1, {}, {"tools.increasewidth"}, ""},
      {"tools.gotonextdrcerror", 2, 0, {}, 1, 1, {"frame command 2405"}, {}, ""},
      {"tools.gotonextdrcerror", 1, 0, {}, 1, 1, {}, {"tools.gotonextdrcerror"}, ""},
      {"tools.toggleplanes", 1, 0, {}, 1, 1, {"window command 2022"}, {"CancelCurrentOperation"}, ""},
      {"tools.performdrc", 1, 0, {}, 1, 1, {"window command 441"}, {}, ""},
      {"tools.performdrc", 4, 0, {}, 1, 1, {}, {"tools.performdrc"}, ""},
      {"edit.string", 1, 39, {}, 1, 0, {}, {}, ""},
      {"edit.string", 1, 39, {"edit.string"}, 1, 1, {"window command 432"}, {}, ""},
      {"insert.centroid", 4, 0, {}, 1, 1, {}, {}, "Insert Centroid: A centroid has already been placed for this symbol."},
      {"insert.centroid", 4, 0, {"insert.centroid"}, 1, 1, {}, {"CancelCurrentOperation", "tool insert.centroid 0"}, ""},
      {"insert.pcbdesignatorlocator", 4, 0, {}, 1, 1, {}, {},
       "Insert Designator Locator: A designator locator has already been placed on this symbol."},
      {"insert.pin", 16, 0, {}, 1, 1, {}, {}, "Error Inserting Pin: Cannot insert pin - no unplaced pins exist."},
      {"tools.findsymbol", 1, 0, {}, 1, 1, {}, {}, "Find Symbol: No symbols have been placed"},
      {"tools.findsymbol", 32, 0, {}, 1, 1, {}, {}, "Find Symbol: No symbols have been packaged"},
      {"tools.runsimulation", 32, 0, {}, 1, 1, {}, {},
       "Pelmora3: You must configure spice before running a simulation."},
      {"edit.incrementpadname", 4, 32, {}, 1, 1, {}, {}, ""},
      {"edit.incrementpadname", 4, 42, {"edit.incrementpadname"}, 0, 1, {}, {"edit.incrementpadname"},
       "Warning: Can't increment pad name"},
      {"edit.decrementpadname", 4, 42, {"edit.decrementpadname"}, 0, 1, {}, {"edit.decrementpadname"},
       "Warning: Can't decrement pad name"},
      {"tools.modifydatasheet", 1, 0, {}, 1, 1, {}, {"tools.dalvery"}, ""},
      {"tools.dalvery", 4, 0, {}, 1, 0, {}, {}, ""},
      {"insert.line", 8, 0, {}, 1, 0, {}, {}, ""},
      {"insert.line", 1, 0, {}, 0, 1, {}, {"CancelCurrentOperation", "tool insert.line 0"}, ""},
      {"insert.boardoutline.line", 2, 0, {}, 0, 1, {}, {"CancelCurrentOperation", "tool insert.boardoutline.line 32"}, ""},
      {"insert.boardoutline.arc.ends", 4, 0, {}, 0, 1, {}, {"CancelCurrentOperation", "tool insert.boardoutline.arc.ends 4"}, ""},
      {"insert.starearthtrack", 1, 0, {}, 0, 1, {}, {"CancelCurrentOperation", "tool insert.starearthtrack 16"}, ""},
      {"insert.valuelocator", 16, 0, {}, 0, 1, {}, {"CancelCurrentOperation", "tool insert.valuelocator 10"}, ""},
      {"insert.via", 1, 0, {}, 0, 1, {}, {"CancelCurrentOperation", "tool insert.via 0"}, ""},
      {"insert.via", 1, 104, {}, 0, 0, {}, {}, ""},  // done by the engine, not the pending owners: no board here
      {"insert.platedhole", 8, 0, {}, 1, 0, {}, {}, ""},
      {"insert.platedhole", 8, 0, {"insert.platedhole"}, 1, 1, {}, {"CancelCurrentOperation", "tool insert.platedhole 0"}, ""},
      {"tools.select", 1, 0, {}, 1, 1, {}, {"tools.select"}, ""},
      {"tools.select", 1, 0, {}, 0, 0, {}, {"tools.select"}, ""},
  };
  for (const HandlerCase& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " kind " + std::to_string(c.kind) + " mode " + std::to_string(c.mode));
    auto& fakes = pendingfakes::Recorded();
    fakes.operations.clear();
    fakes.passingChecks = c.passing;
    fakes.operationResult = c.operationResult;
    g_messages.clear();
    pl3::ClearResponderRecords();
    EXPECT_EQ(Run(c.name, c.kind, c.mode), c.result);
    EXPECT_EQ(g_messages, c.messages);
    EXPECT_EQ(fakes.operations, c.operations);
    EXPECT_EQ(ViewDCCount, 0u);  // every view context taken is given back
    const auto& boxes = pl3::ResponderRecords();
    if (*c.box) {
      ASSERT_EQ(boxes.size(), 1u);
      EXPECT_EQ(boxes[0].caption + ": " + boxes[0].text, c.box);
    } else {
      EXPECT_TRUE(boxes.empty());
    }
  }
}

TEST_F(Builtin, NetEditingOffBeepsAndLogs) {
  const int beeps = pl3::BeepCount();
  EXPECT_EQ(Run("tools.removenetnode", 1, 0), 1u);
  EXPECT_EQ(pl3::BeepCount(), beeps + 1);
  EXPECT_EQ(pendingfakes::Recorded().consoleLines,
            (std::vector<std::string>{"6:You need to enable the net editing option."}));
  EXPECT_TRUE(pendingfakes::Recorded().operations.empty());
}

TEST_F(Builtin, GotoPadCentreBeepsWhenThereIsNone) {
  const int beeps = pl3::BeepCount();
  pendingfakes::Recorded().operationResult = 1;
  EXPECT_EQ(Run("tools.gotopadcentre", 4, 39), 1u);
  EXPECT_EQ(pl3::BeepCount(), beeps);
  pendingfakes::Recorded().operationResult = 0;
  EXPECT_EQ(Run("tools.gotopadcentre", 1, 0), 1u);
  EXPECT_EQ(pl3::BeepCount(), beeps + 1);
  EXPECT_EQ(Run("tools.gotopadcentre", 32, 0), 0u);
  EXPECT_EQ(pendingfakes::Recorded().operations.size(), 2u);
}

TEST_F(Builtin, DatasheetParameterPicksTheExport) {
  EXPECT_EQ(Run("tools.dalvery", 32, 0, 1), 1u);
  EXPECT_EQ(Run("tools.modifydatasheet", 32, 0, 0), 1u);
  EXPECT_EQ(pendingfakes::Recorded().operationParameters, (std::vector<std::uint32_t>{1, 0}));
}

// The commands whose owners are built do their work here, not through the
// pending owners.
TEST_F(Builtin, StandardAndIndexedSizesAreDoneByTheirOwners) {
  Tower* design = NewTower(0);
  LastLevel(design).typeCode = 25;
  InsertAtLastLevel(design, 0);
  LocatorPayload locator{};
  locator.kind = 4;  // a pin name
  Tower* t = InsertEntity(design, sizeof locator, Type_AttributeLocator, &locator);
  const auto* placed = reinterpret_cast<const LocatorPayload*>(TowerPayload(t));
  ReleaseTower(&t);
  LinePayload track{};
  track.head.sizeFlags = kSizeCustom;
  track.width = 144000;
  t = InsertEntity(design, sizeof track, Type_Track, &track);
  const auto* line = reinterpret_cast<const LinePayload*>(TowerPayload(t));
  ReleaseTower(&t);
  const char sizes[] = "[Lines]\r\n\"0.1\" \"mm\" \"\" \"Y\" \"\"\r\n\"0.2\" \"mm\" \"\" \"Y\" \"\"\r\n";
  data_.sizeTable = ParseSizeText(sizes, sizeof sizes - 1).release();
  data_.design = design;
  EXPECT_EQ(Run("tools.settocorvanestandard", 16, 0), 1u);
  EXPECT_EQ(placed->head.sizeFlags & kSizeByIndex, kSizeByIndex);
  ASSERT_EQ((*data_.sizeTable)[SizeKind_Fonts].count(), 1u);  // the pin name size was added
  EXPECT_STREQ((*data_.sizeTable)[SizeKind_Fonts].entries[0].name, "Standard Corvane Pin Name Size");
  EXPECT_EQ(Run("tools.convertindexedsizes", 1, 0), 1u);
  EXPECT_EQ(line->head.sizeFlags, kSizeByIndex);
  EXPECT_EQ(line->head.sizeIndex, 1u);
  EXPECT_TRUE(pendingfakes::Recorded().operations.empty());
  data_.design = nullptr;
  data_.sizeTable = FreeSizeTable(data_.sizeTable);
  ReleaseTower(&design);
}

// An active PCB window over an empty board, for the commands the editing
// engine does itself.
class BuiltinOnBoard : public Builtin {
 protected:
  void SetUp() override {
    Builtin::SetUp();
    design_ = NewTower(0);
    LastLevel(design_).typeCode = Type_PCB;
    InsertAtLastLevel(design_, 0);
    data_.design = design_;
    data_.Window = window_;
    data_.Zoom = 1000;
  }
  void TearDown() override {
    delete data_.PendingRecord;
    data_.PendingRecord = nullptr;
    std::free(data_.Grids);  // made on the first snap
    data_.Grids = nullptr;
    data_.sizeTable = nullptr;
    data_.design = nullptr;
    DeleteEntity(design_);
    ReleaseTower(&design_);
    Builtin::TearDown();
  }
  Tower* design_ = nullptr;
};

// The arrow keys step the cursor through the editing engine, not the
// pending owners.
TEST_F(BuiltinOnBoard, ArrowKeysMoveTheCursor) {
  const pl3::Point start{999'360'000, 999'360'000};  // on the default 1 mm grid
  struct Case {
    const char* name;
    bool horizontal;
    int sign;
  };
  for (const Case& c : {Case{"tools.movecursorleft", true, -1}, Case{"tools.movecursorright", true, 1},
                        Case{"tools.movecursorup", false, -1}, Case{"tools.movecursordown", false, 1}}) {
    data_.Cursor = start;
    EXPECT_EQ(Run(c.name, 1, 0), 1u) << c.name;
    const std::int64_t moved = c.horizontal ? std::int64_t{data_.Cursor.x} - start.x
                                            : std::int64_t{data_.Cursor.y} - start.y;
    const std::int64_t still = c.horizontal ? data_.Cursor.y - start.y : data_.Cursor.x - start.x;
    EXPECT_GT(moved * c.sign, 0) << c.name;
    EXPECT_EQ(still, 0) << c.name;
  }
  EXPECT_TRUE(pendingfakes::Recorded().operations.empty());
}

// V while a track is being added asks the frame's Insert Via (2432), which
// puts the via at the track's free end, instead of starting the via tool.
TEST_F(BuiltinOnBoard, ViaKeyWhileRoutingIsTheFramesInsertVia) {
  EXPECT_EQ(Run("insert.via", 1, 104), 1u);
  EXPECT_EQ(g_messages, std::vector<std::string>{"frame command 2432"});
  EXPECT_TRUE(pendingfakes::Recorded().operations.empty());
}

}  // namespace
