#include "app/width_stepping.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "app/core_utilities.h"
#include "app/invalid_size_dialog.h"
#include "app/registry_values.h"
#include "edit/window_data.h"
#include "objects/designators.h"
#include "objects/editor_modes.h"
#include "objects/graphic_records.h"
#include "objects/size_text.h"
#include "objects/type_codes.h"
#include "platform/dialog_hooks.h"
#include "platform/responder.h"
#include "platform/user.h"
#include "store/tower.h"
#include "tests/app/pending_fakes.h"
#include "tests/app/size_command_fakes.h"

namespace {

// Lines: 0.1 on, 0.2 on (default), 0.3 off, 0.4 on, 0.5 off; Holes: 1, 2 on;
// Fonts: 8 on, 16 off, 32 on.
const char kSizes[] =
    "[Lines]\r\n"
    "\"0.1\" \"mm\" \"\" \"Y\" \"\"\r\n\"0.2\" \"mm\" \"\" \"D\" \"\"\r\n\"0.3\" \"mm\" \"\" \"N\" \"\"\r\n"
    "\"0.4\" \"mm\" \"\" \"Y\" \"\"\r\n\"0.5\" \"mm\" \"\" \"N\" \"\"\r\n"
    "[Holes]\r\n\"1\" \"mm\" \"\" \"Y\" \"\"\r\n\"2\" \"mm\" \"\" \"Y\" \"\"\r\n"
    "[Fonts]\r\n\"8\" \"\" \"Y\" \"\"\r\n\"16\" \"\" \"N\" \"\"\r\n\"32\" \"\" \"Y\" \"\"\r\n";

struct NoticeSeen {
  int shown = 0;
  std::string caption, text;
};
NoticeSeen gNotice;

class WidthStepping : public testing::Test {
 protected:
  void SetUp() override {
    gNotice = {};
    SwitchNoticeOff(0);  // the registry file outlives a test
    window.sizeTable = ParseSizeText(kSizes, sizeof kSizes - 1).release();
    ActiveWindowData = &window;
    record = NewEntityRecord();
    pl3::SetDialogHook(kInvalidSizeDialogId, [](HWND dialog) {
      char buffer[128] = {};
      ++gNotice.shown;
      GetWindowTextA(dialog, buffer, sizeof buffer);
      gNotice.caption = buffer;
      GetDlgItemTextA(dialog, kInvalidSizeText, buffer, sizeof buffer);
      gNotice.text = buffer;
      pl3::ClickDialogButton(dialog, IDOK);
    });
  }
  void TearDown() override {
    window.PendingRecord = nullptr;
    window.sizeTable = FreeSizeTable(window.sizeTable);
    ReleaseTower(&window.TemporaryEntity);
    pl3::ClearDialogHooks();
  }
  // A track in hand (mode 1) at a size index, indexed or custom.
  void TrackInHand(std::uint32_t index, bool indexed = true, std::uint8_t state = 0) {
    record->header.recordType = Type_Track;
    record->header.state = state;
    record->head().sizeFlags = indexed ? kSizeByIndex : 0;
    record->head().sizeIndex = index;
    window.PendingRecord = record.get();
    window.EditMode = 1;
  }
  static void SwitchNoticeOff(DWORD flags) {
    HKEY key = nullptr;
    ASSERT_EQ(CreateProgramRegistryKey(HKEY_CURRENT_USER, "Initialisation", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                       &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueEx(key, "Flags", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&flags), sizeof flags);
    RegCloseKey(key);
  }
  CurrentWindowData window{kEditorPcb};
  std::unique_ptr<EntityRecord> record;
};

TEST_F(WidthStepping, StepsThroughTheOnEntriesOnly) {
  TrackInHand(1);
  IncreaseWidth(nullptr, nullptr);
  EXPECT_EQ(record->head().sizeIndex, 3u);  // 0.3 is off
  DecreaseWidth(nullptr, nullptr);
  EXPECT_EQ(record->head().sizeIndex, 1u);
  MinimiseWidth(nullptr, nullptr);
  EXPECT_EQ(record->head().sizeIndex, 0u);
  MaximiseWidth(nullptr, nullptr);
  EXPECT_EQ(record->head().sizeIndex, 3u);  // 0.5 is off
  EXPECT_EQ(gNotice.shown, 0);
  EXPECT_TRUE(pl3::ResponderRecords().empty());
}

TEST_F(WidthStepping, AtTheEndTheNoticeNamesTheCommand) {
  TrackInHand(3);  // every entry after 0.4 is off
  IncreaseWidth(nullptr, nullptr);
  EXPECT_EQ(record->head().sizeIndex, 3u);
  EXPECT_EQ(gNotice.shown, 1);
  EXPECT_EQ(gNotice.caption, "Increase Width");
  EXPECT_EQ(gNotice.text, "Largest available size already selected");
  TrackInHand(0);
  DecreaseWidth(nullptr, nullptr);
  EXPECT_EQ(gNotice.shown, 2);
  EXPECT_EQ(gNotice.caption, "Decrease Width");
  EXPECT_EQ(gNotice.text, "Smallest available size already selected");
  // Maximising what is already the largest shows nothing.
  TrackInHand(3);
  MaximiseWidth(nullptr, nullptr);
  MinimiseWidth(nullptr, nullptr);
  EXPECT_EQ(record->head().sizeIndex, 0u);
  TrackInHand(0);
  MinimiseWidth(nullptr, nullptr);
  EXPECT_EQ(gNotice.shown, 2);
}

TEST_F(WidthStepping, WithTheNoticeSwitchedOffOnlyABeep) {
  SwitchNoticeOff(0x11);
  TrackInHand(3);
  const int beeps = pl3::BeepCount();
  IncreaseWidth(nullptr, nullptr);
  EXPECT_EQ(gNotice.shown, 0);
  EXPECT_EQ(pl3::BeepCount(), beeps + 1);
  SwitchNoticeOff(0x10);  // another bit set does not switch it off
  IncreaseWidth(nullptr, nullptr);
  EXPECT_EQ(gNotice.shown, 1);
}

TEST_F(WidthStepping, TickingTheBoxSwitchesFurtherNoticesOff) {
  SwitchNoticeOff(0x4);
  pl3::SetDialogHook(kInvalidSizeDialogId, [](HWND dialog) {
    ++gNotice.shown;
    pl3::SetDialogCheck(dialog, kInvalidSizeNeverAgain, true);
    pl3::ClickDialogButton(dialog, IDOK);
  });
  TrackInHand(3);
  IncreaseWidth(nullptr, nullptr);
  IncreaseWidth(nullptr, nullptr);
  EXPECT_EQ(gNotice.shown, 1);
  EXPECT_EQ(GetRegistryDword("Initialisation\\Flags", 0), 0x5u);
}

TEST_F(WidthStepping, ACustomSizeIsRefusedWithTheCommandsMessage) {
  struct Case {
    void (*command)(HWND, CurrentWindowData*);
    const char* text;
    const char* caption;
  } cases[] = {
      {&IncreaseWidth, "Unable to increase size - custom size is selected", "IncreaseWidth"},
      {&DecreaseWidth, "Unable to decrease size - custom size is selected", "DecreaseWidth"},
      {&MaximiseWidth, "Unable to maximise size - custom size is selected", "DecreaseWidth"},
      {&MinimiseWidth, "Unable to minimise size - custom size is selected", "DecreaseWidth"},
  };
  for (const Case& c : cases) {
    pl3::ClearResponderRecords();
    TrackInHand(2, false);
    c.command(nullptr, nullptr);
    ASSERT_EQ(pl3::ResponderRecords().size(), 1u) << c.text;
    EXPECT_EQ(pl3::ResponderRecords()[0].text, c.text);
    EXPECT_EQ(pl3::ResponderRecords()[0].caption, c.caption);
    EXPECT_EQ(record->head().sizeIndex, 2u);
  }
  EXPECT_EQ(gNotice.shown, 0);
}

TEST_F(WidthStepping, OutlinesKeepTheirSizeAndSlotsStepInHoles) {
  TrackInHand(1, true, kStateBoardOutline);
  IncreaseWidth(nullptr, nullptr);
  EXPECT_EQ(record->head().sizeIndex, 1u);
  TrackInHand(0, true, kStatePlatedSlot);
  IncreaseWidth(nullptr, nullptr);
  EXPECT_EQ(record->head().sizeIndex, 1u);
  IncreaseWidth(nullptr, nullptr);  // the Holes list has two entries
  EXPECT_EQ(gNotice.shown, 1);
  window.EditMode = Mode_Idle;
  record->head().sizeIndex = 0;
  IncreaseWidth(nullptr, nullptr);
  EXPECT_EQ(record->head().sizeIndex, 0u);
}

TEST_F(WidthStepping, APadNameInHandStepsInFonts) {
  record->header.recordType = Type_Text;
  record->head().sizeFlags = kSizeByIndex;
  record->head().sizeIndex = 0;
  window.PendingRecord = record.get();
  window.EditMode = Mode_PlacePadName;
  IncreaseWidth(nullptr, nullptr);
  EXPECT_EQ(record->head().sizeIndex, 2u);  // 16 points is off
}

// A custom size stops a step: the user then chooses a size (action 2), and
// that answer counts. First and Last Size are actions 7 and 8 of their own.
TEST_F(WidthStepping, EditSelectionChoosesASizeAfterACustomStopAndGoesToTheEndsByTheirOwnActions) {
  window.EditMode = Mode_EditSelection;
  sizefakes::Recorded().selectionResults = {2, 1};
  IncreaseWidth(nullptr, nullptr);
  EXPECT_EQ(sizefakes::Recorded().validated, (std::vector<std::uint32_t>{0, 20}));
  EXPECT_EQ(sizefakes::Recorded().performed, (std::vector<std::uint32_t>{0, 20}));
  EXPECT_EQ(gNotice.shown, 1);  // the retry's "at the end" counts
  sizefakes::Recorded().validated.clear();
  sizefakes::Recorded().performed.clear();
  sizefakes::Recorded().selectionValid = 0;
  MinimiseWidth(nullptr, nullptr);
  EXPECT_EQ(sizefakes::Recorded().validated, (std::vector<std::uint32_t>{70}));
  EXPECT_TRUE(sizefakes::Recorded().performed.empty());
  sizefakes::Recorded().validated.clear();
  sizefakes::Recorded().selectionValid = 1;
  MaximiseWidth(nullptr, nullptr);
  EXPECT_EQ(sizefakes::Recorded().performed, (std::vector<std::uint32_t>{80}));
}

TEST_F(WidthStepping, ADesignatorInHandStepsItsInfoOrAsksForASize) {
  DesignatorInfo designator{};
  designator.flags = kDesignatorSizeIndexed;
  designator.sizeIndex = 0;
  Tower* root = NewTower(0);
  LastLevel(root).typeCode = Type_DesignatorInfo;
  InsertAtLastLevel(root, sizeof designator);
  std::memcpy(EntityPayload(TowerEntity(root)), &designator, sizeof designator);
  window.TemporaryEntity = root;
  window.EditMode = Mode_PlaceDesignator;
  IncreaseWidth(nullptr, nullptr);
  DesignatorInfo after{};
  std::memcpy(&after, EntityPayload(TowerEntity(root)), sizeof after);
  EXPECT_EQ(after.sizeIndex, 2u);
  EXPECT_EQ(sizefakes::Recorded().itemSizeChoices, 0);
  after.display = 0x2;
  std::memcpy(EntityPayload(TowerEntity(root)), &after, sizeof after);
  IncreaseWidth(nullptr, nullptr);
  EXPECT_EQ(sizefakes::Recorded().itemSizeChoices, 1);
}

TEST_F(WidthStepping, ConfigureSizesCancelsAndOpensTheSheetForKindsWithSizes) {
  pl3::SetDialogHook(kInvalidSizeDialogId, [](HWND dialog) { pl3::ClickDialogButton(dialog, kInvalidSizeConfigure); });
  const InvalidSizeBlock block{"Increase Width", "Largest available size already selected", 1};
  EXPECT_EQ(ShowInvalidSizeDialog(nullptr, block), 1);
  EXPECT_EQ(std::count(pendingfakes::Recorded().operations.begin(), pendingfakes::Recorded().operations.end(),
                       "CancelCurrentOperation"),
            1);
  EXPECT_EQ(sizefakes::Recorded().configureSizes, 1);
  window.editorKind = kEditorPackage;
  EXPECT_EQ(ShowInvalidSizeDialog(nullptr, block), 1);
  EXPECT_EQ(pendingfakes::Recorded().operations.size(), 2u);
  EXPECT_EQ(sizefakes::Recorded().configureSizes, 1);
}

}  // namespace
