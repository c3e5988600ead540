#include "ui/size_dialogs.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "app/registry_values.h"
#include "edit/window_data.h"
#include "objects/graphic_records.h"
#include "objects/size_files.h"
#include "objects/size_remap.h"
#include "objects/size_text.h"
#include "objects/type_codes.h"
#include "platform/commctrl.h"
#include "platform/controls.h"
#include "platform/dialog_hooks.h"
#include "platform/responder.h"
#include "platform/user.h"
#include "store/tower.h"
#include "tests/support/test_paths.h"

namespace {

// ---- Size Options ---------------------------------------------------------------------

struct OptionsRun {
  std::vector<std::string> typed;  // one text per value field (the second for two values)
  std::string unit;                // a unit to pick, or "" to keep it
  int result = -1;
  std::vector<std::string> messages;
  bool focusOnField2 = false;
};

// Types the values, presses OK; when refused, notes the message and cancels.
OptionsRun RunOptions(SizeEntry& entry, std::uint32_t kind, std::vector<std::string> typed, std::string unit = "") {
  static OptionsRun run;
  run = OptionsRun{};
  run.typed = std::move(typed);
  run.unit = std::move(unit);
  pl3::ClearResponderRecords();
  auto hook = [](HWND dialog) {
    if (!run.unit.empty()) pl3::PickDialogListText(dialog, kSizeOptionsUnit, run.unit.c_str());
    pl3::TypeDialogText(dialog, kSizeOptionsValue, run.typed[0].c_str());
    if (run.typed.size() > 1) pl3::TypeDialogText(dialog, kSizeOptionsValue2, run.typed[1].c_str());
    pl3::ClickDialogButton(dialog, IDOK);
    if (pl3::ResponderRecords().empty()) return;  // accepted: the dialog has ended
    run.focusOnField2 = GetFocus() == GetDlgItem(dialog, kSizeOptionsValue2);
    pl3::ClickDialogButton(dialog, IDCANCEL);
  };
  pl3::SetDialogHook("SIZEOPTIONSDLG", hook);
  pl3::SetDialogHook("SIZEOPTIONSDLG2PARAMS", hook);
  run.result = ShowSizeOptionsDialog(nullptr, &entry, kind);
  for (const pl3::ResponderRecord& r : pl3::ResponderRecords()) {
    EXPECT_EQ(r.caption, "Error");
    EXPECT_EQ(r.flags & MB_ICONEXCLAMATION, MB_ICONEXCLAMATION);
    run.messages.push_back(r.text);
  }
  return run;
}

SizeEntry Entry(std::int32_t value1, std::int32_t value2 = 0, std::uint8_t unit = 1) {
  SizeEntry entry{};
  entry.flags = kSizeEntryOn;
  entry.unit = unit;
  entry.value1 = value1;
  entry.value2 = value2;
  return entry;
}

class SizeOptions : public testing::Test {
 protected:
  void TearDown() override { pl3::ClearDialogHooks(); }
};

TEST_F(SizeOptions, EveryCheckRefusesWithItsMessage) {
  struct Case {
    std::uint32_t kind;
    std::vector<std::string> typed;  // in inches
    const char* message;             // null: accepted
  } cases[] = {
      {SizeKind_Lines, {"16"}, nullptr},  // a half-width of exactly 292,608,000
      {SizeKind_Lines, {"16.0001"}, "Width cannot be greater than 16 inches"},
      {SizeKind_Lines, {"0.0007"}, "Width is too small"},
      {SizeKind_Lines, {"-1"}, "Width is too small"},
      {SizeKind_Circles, {"17"}, "Diameter cannot be greater than 16 inches"},
      {SizeKind_Holes, {"0.0001"}, "Diameter is too small"},
      {SizeKind_Dots, {"20"}, "Diameter cannot be greater than 16 inches"},
      {SizeKind_Rectangles, {"16", "16"}, nullptr},
      {SizeKind_Rectangles, {"16.001", "1"}, "Width cannot be greater than 16 inches"},
      {SizeKind_Rectangles, {"0.0003", "1"}, "Width is too small"},
      {SizeKind_Rectangles, {"1", "16.001"}, "Length cannot be greater than 16 inches"},
      {SizeKind_Rectangles, {"1", "0"}, "Length is too small"},
      {SizeKind_Vias, {"0.1", "0.1"}, nullptr},  // copper equal to the hole
      {SizeKind_Vias, {"0.1", "0.09"}, "Hole diameter cannot be larger than the copper diameter"},
      {SizeKind_Vias, {"17", "18"}, "Hole diameter cannot be greater than 16 inches"},
      {SizeKind_Vias, {"0.0001", "1"}, "Diameter is too small"},
      {SizeKind_Vias, {"1", "17"}, "Copper diameter cannot be greater than 16 inches"},
      {SizeKind_Fonts, {"4096"}, nullptr},
      {SizeKind_Fonts, {"4097"}, "Font cannot be bigger than 4096 points"},
      {SizeKind_Fonts, {"0"}, "Font size cannot be set to 0"},
      {SizeKind_Fonts, {"abc"}, "Font size cannot be set to 0"},
  };
  for (const Case& c : cases) {
    SizeEntry entry = Entry(c.kind == SizeKind_Fonts ? 10 : 36576000, 36576000, c.kind == SizeKind_Fonts ? kSizeUnitNone : 1);
    const SizeEntry before = entry;
    const OptionsRun run = RunOptions(entry, c.kind, c.typed);
    if (!c.message) {
      EXPECT_EQ(run.result, 1) << c.typed[0];
      EXPECT_TRUE(run.messages.empty()) << c.typed[0];
      continue;
    }
    EXPECT_EQ(run.result, 0) << c.message;
    ASSERT_EQ(run.messages.size(), 1u) << c.message;
    EXPECT_EQ(run.messages[0], c.message);
    EXPECT_EQ(std::memcmp(&entry, &before, sizeof entry), 0) << "Cancel keeps the entry: " << c.message;
  }
}

TEST_F(SizeOptions, AcceptedValuesAreStoredAsTheListKeepsThem) {
  SizeEntry line = Entry(0);
  EXPECT_EQ(RunOptions(line, SizeKind_Lines, {"16"}).result, 1);
  EXPECT_EQ(line.value1, 292608000);  // the half
  SizeEntry rect = Entry(0);
  EXPECT_EQ(RunOptions(rect, SizeKind_Rectangles, {"0.3", "0.5"}, "Millimetre").result, 1);
  EXPECT_EQ(rect.unit, 2);
  EXPECT_EQ(rect.value1, 432000);  // as typed: rectangles are not halved
  EXPECT_EQ(rect.value2, 720000);
  SizeEntry via = Entry(0);
  EXPECT_EQ(RunOptions(via, SizeKind_Vias, {"0.4", "0.8"}, "Millimetre").result, 1);
  EXPECT_EQ(via.value1, 288000);
  EXPECT_EQ(via.value2, 576000);
  SizeEntry font = Entry(16, 0, kSizeUnitNone);
  EXPECT_EQ(RunOptions(font, SizeKind_Fonts, {"24.9"}).result, 1);
  EXPECT_EQ(font.value1, 24);
  EXPECT_EQ(font.unit, kSizeUnitNone);
}

TEST_F(SizeOptions, ARefusedCopperTakesTheFocus) {
  SizeEntry via = Entry(0);
  const OptionsRun run = RunOptions(via, SizeKind_Vias, {"0.2", "0.1"});
  EXPECT_TRUE(run.focusOnField2);
}

TEST_F(SizeOptions, TheDialogShowsTheEntryInItsUnit) {
  static std::string value, value2, unit, key, label, caption;
  static bool nameEnabled, unitEnabled, active;
  auto read = [](HWND dialog) {
    char text[64];
    GetDlgItemTextA(dialog, kSizeOptionsValue, text, sizeof text);
    value = text;
    GetDlgItemTextA(dialog, kSizeOptionsValue2, text, sizeof text);
    value2 = text;
    GetDlgItemTextA(dialog, kSizeOptionsUnit, text, sizeof text);
    unit = text;
    GetDlgItemTextA(dialog, kSizeOptionsKey, text, sizeof text);
    key = text;
    GetDlgItemTextA(dialog, kSizeOptionsLabel, text, sizeof text);
    label = text;
    GetWindowTextA(dialog, text, sizeof text);
    caption = text;
    nameEnabled = IsWindowEnabled(GetDlgItem(dialog, kSizeOptionsName));
    unitEnabled = IsWindowEnabled(GetDlgItem(dialog, kSizeOptionsUnit));
    active = IsDlgButtonChecked(dialog, kSizeOptionsActive) == BST_CHECKED;
    pl3::ClickDialogButton(dialog, IDCANCEL);
  };
  pl3::SetDialogHook("SIZEOPTIONSDLG", read);
  pl3::SetDialogHook("SIZEOPTIONSDLG2PARAMS", read);
  SizeEntry line = Entry(144000, 0, 2);  // a half-width of 0.1 mm
  line.key = 'A';
  EXPECT_EQ(ShowSizeOptionsDialog(nullptr, &line, SizeKind_Lines), 0);
  EXPECT_EQ(caption, "Size Options");
  EXPECT_EQ(value, "0.2");
  EXPECT_EQ(unit, "Millimetre");
  EXPECT_EQ(key, "'A'");
  EXPECT_EQ(label, "Width");
  EXPECT_TRUE(active);
  EXPECT_TRUE(nameEnabled);

  SizeEntry via = Entry(288000, 576000, 2);
  ShowSizeOptionsDialog(nullptr, &via, SizeKind_Vias);
  EXPECT_EQ(value, "0.4");
  EXPECT_EQ(value2, "0.8");
  EXPECT_EQ(key, "None");
  EXPECT_EQ(label, "Diameter");

  SizeEntry font = Entry(32, 0, kSizeUnitNone);
  font.flags = 0;
  ShowSizeOptionsDialog(nullptr, &font, SizeKind_Fonts);
  EXPECT_EQ(value, "32");
  EXPECT_EQ(label, "Font Size");
  EXPECT_FALSE(unitEnabled);
  EXPECT_FALSE(active);

  SizeEntry dot = Entry(182880, 0, 0);
  ShowSizeOptionsDialog(nullptr, &dot, SizeKind_Dots);
  EXPECT_EQ(value, "10");
  EXPECT_FALSE(nameEnabled);
}

TEST_F(SizeOptions, NameKeyAndActiveAreTakenAtOk) {
  pl3::SetDialogHook("SIZEOPTIONSDLG", [](HWND dialog) {
    pl3::TypeDialogText(dialog, kSizeOptionsName, std::string(80, 'n').c_str());
    SetDlgItemTextA(dialog, kSizeOptionsKey, "'Q'");
    pl3::SetDialogCheck(dialog, kSizeOptionsActive, false);
    pl3::ClickDialogButton(dialog, IDOK);
  });
  SizeEntry line = Entry(144000, 0, 2);
  line.flags |= kSizeEntryInUse;
  ASSERT_EQ(ShowSizeOptionsDialog(nullptr, &line, SizeKind_Lines), 1);
  EXPECT_EQ(std::string(line.name), std::string(63, 'n'));
  EXPECT_EQ(line.key, 'Q');
  EXPECT_EQ(line.flags, kSizeEntryInUse);
  pl3::SetDialogHook("SIZEOPTIONSDLG", [](HWND dialog) {
    SetDlgItemTextA(dialog, kSizeOptionsKey, "NONE");
    pl3::ClickDialogButton(dialog, IDOK);
  });
  ASSERT_EQ(ShowSizeOptionsDialog(nullptr, &line, SizeKind_Lines), 1);
  EXPECT_EQ(line.key, 0);
}

// ---- The Configure Sizes sheet -------------------------------------------------------------

// Lines 0.1, 0.2 (D), 0.3 mm; Circles 1 mm; Rectangles 1 x 1 mm; Holes 1, 2 mm;
// Vias 0.3/0.7, 0.4/0.8 mm; Fonts 16, 32.
const char kSizes[] =
    "[Lines]\r\n\"0.1\" \"mm\" \"\" \"Y\" \"\"\r\n\"0.2\" \"mm\" \"\" \"D\" \"\"\r\n\"0.3\" \"mm\" \"\" \"Y\" \"Wide\"\r\n"
    "[Circles]\r\n\"1\" \"mm\" \"\" \"Y\" \"\"\r\n"
    "[Rectangles]\r\n\"1\" \"1\" \"mm\" \"\" \"Y\" \"\"\r\n"
    "[Holes]\r\n\"1\" \"mm\" \"\" \"Y\" \"\"\r\n\"2\" \"mm\" \"\" \"Y\" \"\"\r\n"
    "[Vias]\r\n\"0.3\" \"0.7\" \"mm\" \"\" \"Y\" \"\"\r\n\"0.4\" \"0.8\" \"mm\" \"\" \"Y\" \"\"\r\n"
    "[Fonts]\r\n\"16\" \"\" \"Y\" \"\"\r\n\"32\" \"\" \"Y\" \"\"\r\n";

Tower* NewDesign(std::uint16_t code) {
  Tower* t = NewTower(0);
  LastLevel(t).typeCode = code;
  InsertAtLastLevel(t, 0);
  return t;
}

Entity* InsertTrack(const Tower* design, std::uint32_t index) {
  LinePayload line{};
  line.head.layer = 1;
  line.head.sizeFlags = kSizeByIndex;
  line.head.sizeIndex = index;
  Tower* t = InsertEntity(design, sizeof line, Type_Track, &line);
  Entity* e = TowerEntity(t);
  ReleaseTower(&t);
  return e;
}

std::uint32_t TrackIndex(const Entity* e) {
  return reinterpret_cast<const LinePayload*>(EntityPayload(const_cast<Entity*>(e)))->head.sizeIndex;
}

// The names of a list's entries by their first value, for comparing orders.
std::vector<std::int32_t> Values(const SizeTable* table, std::uint32_t kind) {
  std::vector<std::int32_t> out;
  if (table)
    for (const SizeEntry& e : (*table)[kind].entries) out.push_back(e.value1);
  return out;
}

// One run of the sheet: the test's steps get the sheet and its current page.
using SheetSteps = std::function<void(HWND sheet, HWND page)>;
SheetSteps gSteps;

HWND CurrentPage(HWND sheet) { return reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0)); }
HWND ShowPage(HWND sheet, int index) {
  SendMessageA(sheet, PSM_SETCURSEL, static_cast<WPARAM>(index), 0);
  return CurrentPage(sheet);
}
bool Enabled(HWND page, int id) { return IsWindowEnabled(GetDlgItem(page, id)) != FALSE; }
void Select(HWND page, int row) { pl3::PickDialogListItem(page, kSizePageList, row); }

class ConfigureSizes : public testing::Test {
 protected:
  void SetUp() override {
    design = NewDesign(Type_PCB);
    window.design = design;
    window.sizeTable = ParseSizeText(kSizes, sizeof kSizes - 1).release();
    ActiveWindowData = &window;
    gSteps = nullptr;
    pl3::SetDialogHookByCaption("Configure Sizes", [](HWND sheet) {
      if (gSteps) gSteps(sheet, CurrentPage(sheet));
    });
  }
  void TearDown() override {
    window.sizeTable = FreeSizeTable(window.sizeTable);
    ReleaseTower(&design);
    pl3::ClearDialogHooks();
  }
  int Run(SheetSteps steps) {
    gSteps = std::move(steps);
    return ShowConfigureSizesDialog(nullptr);
  }
  Tower* design = nullptr;
  CurrentWindowData window{kEditorPcb, nullptr, 1};
};

TEST_F(ConfigureSizes, KindsWithoutSizeListsShowNothing) {
  window.editorKind = kEditorPackage;
  bool shown = false;
  EXPECT_EQ(Run([&](HWND, HWND) { shown = true; }), 0);
  EXPECT_FALSE(shown);
}

TEST_F(ConfigureSizes, PagesFollowTheEditorKind) {
  static std::vector<std::string> titles;
  auto readTitles = [](HWND sheet, HWND) {
    titles.clear();
    HWND tabs = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0));
    const int n = static_cast<int>(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
      char text[32] = {};
      TCITEMA item{};
      item.mask = TCIF_TEXT;
      item.pszText = text;
      item.cchTextMax = sizeof text;
      SendMessageA(tabs, TCM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
      titles.push_back(text);
    }
    pl3::ClickDialogButton(sheet, IDCANCEL);
  };
  Run(readTitles);
  EXPECT_EQ(titles, (std::vector<std::string>{"Holes", "Vias", "Tracks", "Rectangles", "Circles", "Fonts"}));
  window.editorKind = kEditorSchematic;
  Run(readTitles);
  EXPECT_EQ(titles, (std::vector<std::string>{"Lines", "Rectangles", "Circles", "Fonts", "Dots"}));
  window.editorKind = kEditorPadStack;
  Run(readTitles);
  EXPECT_EQ(titles, (std::vector<std::string>{"Holes"}));
}

TEST_F(ConfigureSizes, MovesAreAppliedOnOkAndItemsFollowTheirEntries) {
  const Entity* thin = InsertTrack(design, 0);
  const Entity* wide = InsertTrack(design, 2);
  const int result = Run([](HWND sheet, HWND) {
    HWND page = ShowPage(sheet, 2);  // Tracks
    Select(page, 2);
    EXPECT_TRUE(Enabled(page, kSizePageUp));
    EXPECT_FALSE(Enabled(page, kSizePageDown));
    EXPECT_FALSE(Enabled(page, kSizePageBottom));
    pl3::ClickDialogButton(page, kSizePageTop);  // 0.3, 0.1, 0.2
    EXPECT_EQ(SendDlgItemMessageA(page, kSizePageList, LB_GETCURSEL, 0, 0), 0);
    Select(page, 1);
    pl3::ClickDialogButton(page, kSizePageDown);  // 0.3, 0.2, 0.1
    pl3::ClickDialogButton(sheet, IDOK);
  });
  EXPECT_EQ(result, 1);
  EXPECT_EQ(Values(window.sizeTable, SizeKind_Lines), (std::vector<std::int32_t>{216000, 144000, 72000}));
  EXPECT_EQ(TrackIndex(thin), 2u);
  EXPECT_EQ(TrackIndex(wide), 0u);
  EXPECT_EQ((*window.sizeTable)[SizeKind_Lines].defaultIndex, 1u);
  EXPECT_EQ(EditedSizeTable, nullptr);
}

TEST_F(ConfigureSizes, CancelKeepsTheTableAndTheDesign) {
  const Entity* wide = InsertTrack(design, 2);
  EXPECT_EQ(Run([](HWND sheet, HWND) {
              HWND page = ShowPage(sheet, 2);
              Select(page, 2);
              pl3::ClickDialogButton(page, kSizePageTop);
              pl3::ClickDialogButton(sheet, IDCANCEL);
            }),
            0);
  EXPECT_EQ(Values(window.sizeTable, SizeKind_Lines), (std::vector<std::int32_t>{72000, 144000, 216000}));
  EXPECT_EQ(TrackIndex(wide), 2u);
}

// The window shows no layer at all: an item the view hides still counts as
// using its size.
TEST_F(ConfigureSizes, RemoveNeedsTwoEntriesAndAnEntryNotInUse) {
  InsertTrack(design, 1);
  Run([](HWND sheet, HWND) {
    HWND page = ShowPage(sheet, 2);  // Tracks: 0.2 mm is used
    Select(page, 1);
    EXPECT_FALSE(Enabled(page, kSizePageRemove));
    Select(page, 2);
    EXPECT_TRUE(Enabled(page, kSizePageRemove));
    pl3::ClickDialogButton(page, kSizePageRemove);
    EXPECT_EQ(SendDlgItemMessageA(page, kSizePageList, LB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(SendDlgItemMessageA(page, kSizePageList, LB_GETCURSEL, 0, 0), 1);  // the row before it
    page = ShowPage(sheet, 4);  // Circles: one entry
    Select(page, 0);
    EXPECT_FALSE(Enabled(page, kSizePageRemove));
    EXPECT_FALSE(Enabled(page, kSizePageUp));
    page = ShowPage(sheet, 1);  // Vias: entry 1 is the window's current via
    Select(page, 1);
    EXPECT_FALSE(Enabled(page, kSizePageRemove));
    Select(page, 0);
    EXPECT_TRUE(Enabled(page, kSizePageRemove));
    pl3::ClickDialogButton(sheet, IDOK);
  });
  EXPECT_EQ(Values(window.sizeTable, SizeKind_Lines), (std::vector<std::int32_t>{72000, 144000}));
}

TEST_F(ConfigureSizes, TheDotsPageOnlyEdits) {
  window.editorKind = kEditorSchematic;
  Run([](HWND sheet, HWND) {
    HWND page = ShowPage(sheet, 4);
    Select(page, 0);
    for (int id : {kSizePageUp, kSizePageDown, kSizePageTop, kSizePageBottom, kSizePageRemove, kSizePageNew})
      EXPECT_FALSE(Enabled(page, id)) << id;
    EXPECT_TRUE(Enabled(page, kSizePageEdit));
    pl3::ClickDialogButton(sheet, IDCANCEL);
  });
}

TEST_F(ConfigureSizes, RulesMarkTheirLinesAndViasEntriesInsideTheLists) {
  Tower* rules = InsertEmptyEntity(design, kTypeRoutingRules);
  Tower* rule = InsertEmptyEntity(rules, 13036);
  const std::uint32_t vias[2] = {0, 7};  // 7 is past the Vias list
  const std::uint32_t viaCount = 2;
  const std::uint32_t lines[2] = {2, 0};
  const std::uint32_t lineCount = 1;  // only the first index belongs to the list
  for (auto [code, data, size] : {std::tuple{13040, static_cast<const void*>(vias), 8u},
                                  std::tuple{13041, static_cast<const void*>(&viaCount), 4u},
                                  std::tuple{13042, static_cast<const void*>(lines), 8u},
                                  std::tuple{13043, static_cast<const void*>(&lineCount), 4u}}) {
    Tower* t = InsertEntity(rule, size, static_cast<std::uint16_t>(code), data);
    ReleaseTower(&t);
  }
  window.CurrentViaSize = 5;
  Run([](HWND sheet, HWND) {
    HWND page = ShowPage(sheet, 1);  // Vias
    Select(page, 0);
    EXPECT_FALSE(Enabled(page, kSizePageRemove));
    Select(page, 1);
    EXPECT_TRUE(Enabled(page, kSizePageRemove));
    page = ShowPage(sheet, 0);  // Holes: the rule's second list names no hole
    Select(page, 0);
    EXPECT_TRUE(Enabled(page, kSizePageRemove));
    page = ShowPage(sheet, 2);  // Tracks
    Select(page, 2);
    EXPECT_FALSE(Enabled(page, kSizePageRemove));
    Select(page, 0);
    EXPECT_TRUE(Enabled(page, kSizePageRemove));
    pl3::ClickDialogButton(sheet, IDCANCEL);
  });
  ReleaseTower(&rule);
  ReleaseTower(&rules);
}

TEST_F(ConfigureSizes, NewAndEditGoThroughTheOptionsDialog) {
  pl3::SetDialogHook("SIZEOPTIONSDLG", [](HWND dialog) {
    pl3::PickDialogListText(dialog, kSizeOptionsUnit, "Millimetre");
    pl3::TypeDialogText(dialog, kSizeOptionsValue, "0.5");
    pl3::ClickDialogButton(dialog, IDOK);
  });
  Run([](HWND sheet, HWND) {
    HWND page = ShowPage(sheet, 2);
    pl3::ClickDialogButton(page, kSizePageNew);
    EXPECT_EQ(SendDlgItemMessageA(page, kSizePageList, LB_GETCOUNT, 0, 0), 4);
    EXPECT_EQ(SendDlgItemMessageA(page, kSizePageList, LB_GETCURSEL, 0, 0), 3);
    Select(page, 0);
    pl3::DoubleClickDialogListItem(page, kSizePageList, 0);  // edits 0.1 into 0.5
    pl3::ClickDialogButton(sheet, IDOK);
  });
  EXPECT_EQ(Values(window.sizeTable, SizeKind_Lines), (std::vector<std::int32_t>{360000, 144000, 216000, 360000}));
  EXPECT_EQ((*window.sizeTable)[SizeKind_Lines].entries[3].flags & kSizeEntryOn, kSizeEntryOn);
}

class SizeFiles : public ConfigureSizes {
 protected:
  std::string Write(const char* name, const std::string& text) {
    const std::string path = pl3test::MakeTempDir("sizes") + "/" + name;
    pl3test::WriteFileBytes(path, text);
    return path;
  }
};

TEST_F(SizeFiles, LoadWithYesAddsOnlyWhatTheTableLacks) {
  // The same unnamed 0.1 mm line, a 0.1 mm line under a name, and a new 0.6 mm.
  const std::string path = Write("merge.p3s",
                                 "[Lines]\r\n\"0.1\" \"mm\" \"\" \"Y\" \"\"\r\n\"0.1\" \"mm\" \"\" \"Y\" \"Named\"\r\n"
                                 "\"0.3\" \"mm\" \"\" \"Y\" \"WIDE\"\r\n\"0.6\" \"mm\" \"\" \"Y\" \"\"\r\n"
                                 "[Circles]\r\n\"1\" \"mm\" \"\" \"Y\" \"\"\r\n[Rectangles]\r\n\"2\" \"2\" \"mm\" \"\" \"Y\" \"\"\r\n"
                                 "[Holes]\r\n\"1\" \"mm\" \"\" \"Y\" \"\"\r\n[Vias]\r\n\"0.3\" \"0.7\" \"mm\" \"\" \"Y\" \"\"\r\n"
                                 "[Fonts]\r\n\"16\" \"\" \"Y\" \"\"\r\n");
  pl3::PushPathAnswer(path);
  pl3::PushButtonAnswer(IDYES);  // keep unused sizes
  Run([](HWND sheet, HWND page) {
    pl3::ClickDialogButton(page, kSizePageLoad);
    HWND tracks = ShowPage(sheet, 2);
    EXPECT_EQ(SendDlgItemMessageA(tracks, kSizePageList, LB_GETCOUNT, 0, 0), 5);
    pl3::ClickDialogButton(sheet, IDOK);
  });
  EXPECT_EQ(Values(window.sizeTable, SizeKind_Lines), (std::vector<std::int32_t>{72000, 144000, 216000, 72000, 432000}));
  EXPECT_EQ(Values(window.sizeTable, SizeKind_Rectangles), (std::vector<std::int32_t>{1440000, 2880000}));
  EXPECT_EQ(Values(window.sizeTable, SizeKind_Holes), (std::vector<std::int32_t>{720000, 1440000}));
  bool asked = false;
  for (const pl3::ResponderRecord& r : pl3::ResponderRecords())
    if (r.text == "Do you want to keep unused sizes?") asked = true;
  EXPECT_TRUE(asked);
}

TEST_F(SizeFiles, LoadWithNoKeepsWhatIsUsedAndTheDots) {
  window.editorKind = kEditorSchematic;
  const Entity* track = InsertTrack(design, 2);
  const std::string path = Write("replace.p3s",
                                 "[Lines]\r\n\"0.6\" \"mm\" \"\" \"Y\" \"\"\r\n[Circles]\r\n\"1\" \"mm\" \"\" \"Y\" \"\"\r\n"
                                 "[Rectangles]\r\n\"2\" \"2\" \"mm\" \"\" \"Y\" \"\"\r\n[Fonts]\r\n\"8\" \"\" \"Y\" \"\"\r\n");
  pl3::PushButtonAnswer(IDYES);  // continue although sizes are used
  pl3::PushPathAnswer(path);
  pl3::PushButtonAnswer(IDNO);  // drop unused sizes
  Run([](HWND sheet, HWND page) {
    pl3::ClickDialogButton(page, kSizePageLoad);
    pl3::ClickDialogButton(sheet, IDOK);
  });
  EXPECT_EQ(Values(window.sizeTable, SizeKind_Lines), (std::vector<std::int32_t>{216000, 432000}));
  EXPECT_EQ(TrackIndex(track), 0u);
  EXPECT_EQ(Values(window.sizeTable, SizeKind_Fonts), (std::vector<std::int32_t>{8}));
  EXPECT_EQ((*window.sizeTable)[SizeKind_Dots].count(), 2u);
  ASSERT_FALSE(pl3::ResponderRecords().empty());
  EXPECT_EQ(pl3::ResponderRecords()[0].text, "Some sizes in the table are used, do you want to continue?");
}

TEST_F(SizeFiles, LoadWithNoAndNothingUsedTakesTheFile) {
  window.editorKind = kEditorPadStack;
  const std::string path = Write("holes.p3s", "[Holes]\r\n\"3\" \"mm\" \"\" \"Y\" \"\"\r\n");
  pl3::PushPathAnswer(path);
  pl3::PushButtonAnswer(IDNO);
  Run([](HWND sheet, HWND page) {
    pl3::ClickDialogButton(page, kSizePageLoad);
    pl3::ClickDialogButton(sheet, IDOK);
  });
  EXPECT_EQ(Values(window.sizeTable, SizeKind_Holes), (std::vector<std::int32_t>{2160000}));
  EXPECT_TRUE(Values(window.sizeTable, SizeKind_Lines).empty());
}

TEST_F(SizeFiles, AFileLackingNeededListsOrUnreadableIsRefused) {
  struct Case {
    std::string path;
    const char* message;
  } cases[] = {
      {Write("lines.p3s", "[Lines]\r\n\"0.6\" \"mm\" \"\" \"Y\" \"\"\r\n[Fonts]\r\n\"8\" \"\" \"Y\" \"\"\r\n"),
       "Size file is not valid for this editor, file is missing the following: Circles, Rectangles, Holes, Vias"},
      {pl3test::ScratchDir() + "/no such file.p3s",
       "Size file is not valid for this editor, file is missing the following: Lines, Circles, Rectangles, Holes, "
       "Vias, Fonts"},
  };
  for (const Case& c : cases) {
    pl3::ClearResponderRecords();
    pl3::PushPathAnswer(c.path);
    Run([](HWND sheet, HWND page) {
      pl3::ClickDialogButton(page, kSizePageLoad);
      pl3::ClickDialogButton(sheet, IDOK);
    });
    std::vector<std::string> texts;
    for (const pl3::ResponderRecord& r : pl3::ResponderRecords())
      if (r.kind == pl3::ResponderKind::MessageBox) texts.push_back(r.text);
    ASSERT_EQ(texts.size(), 1u) << c.path;
    EXPECT_EQ(texts[0], c.message);
    EXPECT_EQ(Values(window.sizeTable, SizeKind_Lines), (std::vector<std::int32_t>{72000, 144000, 216000}));
  }
}

TEST_F(SizeFiles, SaveWritesTheEditedTable) {
  const std::string path = pl3test::MakeTempDir("saved") + "/out.p3s";
  pl3::PushPathAnswer(path);
  Run([](HWND sheet, HWND) {
    HWND page = ShowPage(sheet, 2);
    Select(page, 2);
    pl3::ClickDialogButton(page, kSizePageTop);
    pl3::ClickDialogButton(page, kSizePageSave);
    pl3::ClickDialogButton(sheet, IDCANCEL);
  });
  const std::unique_ptr<SizeTable> saved = LoadSizeFile(path.c_str());
  ASSERT_NE(saved, nullptr);
  EXPECT_EQ(Values(saved.get(), SizeKind_Lines), (std::vector<std::int32_t>{216000, 72000, 144000}));
  EXPECT_STREQ((*saved)[SizeKind_Lines].entries[0].name, "Wide");
  for (const pl3::ResponderRecord& r : pl3::ResponderRecords()) {
    if (r.kind == pl3::ResponderKind::SaveFile) {
      EXPECT_EQ(r.caption, "Select Output Sizes File");
    }
  }
}

TEST_F(ConfigureSizes, WidthsAreSavedWhenAPageCloses) {
  Run([](HWND sheet, HWND) {
    ShowPage(sheet, 2);  // Tracks
    ShowPage(sheet, 5);  // Fonts
    pl3::ClickDialogButton(sheet, IDCANCEL);
  });
  for (const char* value : {"Initialisation\\DefaultTrackHeader", "Initialisation\\DefaultFontHeader"}) {
    char* text = GetRegistryString(value);
    ASSERT_NE(text, nullptr) << value;
    int widths[6] = {};
    const int n = std::sscanf(text, "%d %d %d %d %d %d", &widths[0], &widths[1], &widths[2], &widths[3], &widths[4],
                              &widths[5]);
    EXPECT_EQ(n, std::strstr(value, "Font") ? 4 : 5) << text;
    for (int i = 0; i < n; ++i) EXPECT_GT(widths[i], 0);
    std::free(text);
  }
}

// ---- Select Size --------------------------------------------------------------------------

class SelectSize : public ConfigureSizes {};

TEST_F(SelectSize, OnlyOnEntriesAreOfferedAndOkTakesTheSelection) {
  (*window.sizeTable)[SizeKind_Lines].entries[1].flags = 0;  // 0.2 mm off
  static int rows = 0;
  pl3::SetDialogHook("SELECTSIZEDLG", [](HWND dialog) {
    rows = static_cast<int>(SendDlgItemMessageA(dialog, kSelectSizeList, LB_GETCOUNT, 0, 0));
    pl3::PickDialogListItem(dialog, kSelectSizeList, 1);
    pl3::ClickDialogButton(dialog, IDOK);
  });
  std::uint32_t index = 0;
  ASSERT_EQ(ShowSelectSizeDialog(nullptr, SizeKind_Lines, &index), 1);
  EXPECT_EQ(rows, 2);
  EXPECT_EQ(index, 2u);  // the second row shown is entry 2
  EXPECT_EQ(EditedSizeTable, nullptr);
  pl3::SetDialogHook("SELECTSIZEDLG", [](HWND dialog) { pl3::ClickDialogButton(dialog, IDCANCEL); });
  index = 2;
  EXPECT_EQ(ShowSelectSizeDialog(nullptr, SizeKind_Lines, &index), 0);
  EXPECT_EQ(index, 2u);
}

TEST_F(SelectSize, AKeyChoosesTheLastEntryWithIt) {
  auto& lines = (*window.sizeTable)[SizeKind_Lines].entries;
  lines[0].key = 'B';
  lines[2].key = 'B';
  lines[1].key = 'C';
  pl3::SetDialogHook("SELECTSIZEDLG", [](HWND dialog) {
    char caption[64] = {};
    GetWindowTextA(dialog, caption, sizeof caption);
    EXPECT_STREQ(caption, "Track width");
    SendDlgItemMessageA(dialog, kSelectSizeList, WM_KEYDOWN, 'B', 0);
  });
  std::uint32_t index = 1;
  ASSERT_EQ(ShowSelectSizeDialogWithCaption(nullptr, SizeKind_Lines, &index, "Track width"), 1);
  EXPECT_EQ(index, 2u);
}

TEST_F(SelectSize, AnEntityTakesTheChosenIndex) {
  const Entity* track = InsertTrack(design, 0);
  pl3::SetDialogHook("SELECTSIZEDLG", [](HWND dialog) {
    EXPECT_EQ(SendDlgItemMessageA(dialog, kSelectSizeList, LB_GETCURSEL, 0, 0), 0);
    pl3::PickDialogListItem(dialog, kSelectSizeList, 2);
    pl3::ClickDialogButton(dialog, IDOK);
  });
  Tower* t = GetChildTower(design, Type_Track);
  ASSERT_NE(FindNextEntity(t), nullptr);
  std::uint32_t index = 0;
  EXPECT_EQ(SelectEntitySize(nullptr, t, &index), 1);
  EXPECT_EQ(index, 2u);
  EXPECT_EQ(TrackIndex(track), 2u);
  ReleaseTower(&t);
}

TEST(EntitySizeKind, ByTypeAndViaFlag) {
  HolePayload hole{};
  EXPECT_EQ(EntitySizeKind(Type_Hole, &hole, sizeof hole), SizeKind_Holes);
  hole.hole.flags = kHoleIsVia;
  EXPECT_EQ(EntitySizeKind(Type_Hole, &hole, sizeof hole), SizeKind_Vias);
  EXPECT_EQ(EntitySizeKind(Type_Hole, &hole, 40), SizeKind_Holes);  // too short to hold the flag
  EXPECT_EQ(EntitySizeKind(Type_Datum, nullptr, 0), SizeKind_Fonts);
  EXPECT_EQ(EntitySizeKind(Type_NonPlatedSlot, nullptr, 0), SizeKind_Holes);
  EXPECT_EQ(EntitySizeKind(Type_BoardOutlineLine, nullptr, 0), SizeKind_Lines);
  EXPECT_EQ(EntitySizeKind(Type_Polygon, nullptr, 0), SizeKind_Lines);
}

}  // namespace
