#include "app/datum_dialogs.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/key_fields.h"
#include "objects/datums.h"
#include "platform/controls.h"
#include "platform/dialog_hooks.h"
#include "platform/responder.h"
#include "platform/user_constants.h"

namespace {

constexpr std::int32_t kInch = 36576000;

std::string ItemText(HWND dialog, int id) {
  char buffer[256] = {};
  GetDlgItemText(dialog, id, buffer, sizeof buffer);
  return buffer;
}

std::vector<std::string> Messages() {
  std::vector<std::string> texts;
  for (const pl3::ResponderRecord& r : pl3::ResponderRecords()) texts.push_back(r.text);
  return texts;
}

class DatumDialogs : public testing::Test {
 protected:
  void TearDown() override { pl3::ClearDialogHooks(); }
};

TEST_F(DatumDialogs, GotoPointShowsThePointFromTheOriginAndTakesFiveInchesExactly) {
  static std::string shownX, shownY;
  static std::uint32_t unitX = 99;
  pl3::SetDialogHook(kGotoPointDialogId, [](HWND dialog) {
    shownX = ItemText(dialog, 3179);
    shownY = ItemText(dialog, 3180);
    unitX = GetUnitsComboSelection(dialog, 3181, 99);
    pl3::TypeDialogText(dialog, 3179, "5");
    pl3::TypeDialogText(dialog, 3180, "10");
    pl3::ClickDialogButton(dialog, IDOK);
  });
  const pl3::Point origin{0, 1828800000};
  const pl3::Point shown{2 * kInch + kInch / 2, 1828800000 - 3 * kInch};
  pl3::Point result{};
  EXPECT_EQ(RunGotoPointDialog(nullptr, origin, shown, 1, &result), 1);
  EXPECT_EQ(shownX, "2.5");
  EXPECT_EQ(shownY, "3");
  EXPECT_EQ(unitX, 1u);
  EXPECT_EQ(result.x, 182880000);
  EXPECT_EQ(result.y, 1828800000 - 10 * kInch);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(DatumDialogs, GotoPointRefusesXOutsideTheAreaWithTheXMessageOnly) {
  static std::vector<std::string> afterFirstOk;
  pl3::SetDialogHook(kGotoPointDialogId, [](HWND dialog) {
    pl3::TypeDialogText(dialog, 3179, "4.999");
    pl3::TypeDialogText(dialog, 3180, "0");  // Y lies outside too, but is not checked
    pl3::ClickDialogButton(dialog, IDOK);
    afterFirstOk = Messages();
    pl3::ClickDialogButton(dialog, IDCANCEL);
  });
  pl3::Point result{7, 7};
  EXPECT_EQ(RunGotoPointDialog(nullptr, {0, 0}, {0, 0}, 1, &result), 0);
  ASSERT_EQ(afterFirstOk.size(), 1u);
  EXPECT_EQ(afterFirstOk[0], "The X value you have given is outside the editable area.");
  EXPECT_EQ(pl3::ResponderRecords()[0].caption, "Goto Point");
  EXPECT_EQ(result.x, 7);
}

TEST_F(DatumDialogs, GotoPointReadsEachAxisInItsOwnUnitAndChecksYAfterX) {
  static std::vector<std::string> messages;
  pl3::SetDialogHook(kGotoPointDialogId, [](HWND dialog) {
    pl3::PickDialogListItem(dialog, 3181, 2);  // mm
    pl3::PickDialogListItem(dialog, 3182, 3);  // cm
    pl3::TypeDialogText(dialog, 3179, "200.0000007");
    pl3::TypeDialogText(dialog, 3180, "-130");
    pl3::ClickDialogButton(dialog, IDOK);  // Y = 0 + 130 cm: past the high edge
    messages = Messages();
    pl3::TypeDialogText(dialog, 3180, "-127");
    pl3::ClickDialogButton(dialog, IDOK);
  });
  pl3::Point result{};
  EXPECT_EQ(RunGotoPointDialog(nullptr, {0, 0}, {0, 0}, 1, &result), 1);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "The Y value you have given is outside the editable area.");
  EXPECT_EQ(result.x, 288000001);  // 200.0000007 x 1,440,000, truncated
  EXPECT_EQ(result.y, 1828800000);  // the high edge itself is inside
}

TEST_F(DatumDialogs, EditDatumStoresTheNameAndAnUpperCaseKeyStroke) {
  pl3::SetDialogHook(kEditDatumDialogId, [](HWND dialog) {
    EXPECT_EQ(ItemText(dialog, 3156), "none");  // a stored '#' is no key stroke
    pl3::TypeDialogText(dialog, 414, "REF2");
    SendDlgItemMessage(dialog, 3156, WM_CHAR, 'q', 0);
    EXPECT_EQ(ItemText(dialog, 3156), "'Q'");
    SendDlgItemMessage(dialog, 3156, WM_CHAR, '#', 0);  // ignored
    EXPECT_EQ(ItemText(dialog, 3156), "'Q'");
    pl3::ClickDialogButton(dialog, IDOK);
  });
  std::vector<std::uint8_t> bytes(kDatumRoom, 0);
  auto* datum = reinterpret_cast<DatumPayload*>(bytes.data());
  std::strcpy(datum->name, "REF");
  datum->keyStroke = '#';
  EXPECT_EQ(RunEditDatumDialog(nullptr, datum), 1);
  EXPECT_STREQ(datum->name, "REF2");
  EXPECT_EQ(datum->keyStroke, 'Q');
}

TEST_F(DatumDialogs, DeleteClearsTheKeyAndCancelKeepsTheDatum) {
  pl3::SetDialogHook(kEditDatumDialogId, [](HWND dialog) {
    EXPECT_EQ(ItemText(dialog, 3156), "'7'");
    SendDlgItemMessage(dialog, 3156, WM_KEYDOWN, VK_DELETE, 0);
    EXPECT_EQ(ItemText(dialog, 3156), "none");
    pl3::ClickDialogButton(dialog, IDOK);
  });
  std::vector<std::uint8_t> bytes(kDatumRoom, 0);
  auto* datum = reinterpret_cast<DatumPayload*>(bytes.data());
  std::strcpy(datum->name, "D");
  datum->keyStroke = '7';
  EXPECT_EQ(RunEditDatumDialog(nullptr, datum), 1);
  EXPECT_EQ(datum->keyStroke, 0);

  pl3::SetDialogHook(kEditDatumDialogId, [](HWND dialog) {
    pl3::TypeDialogText(dialog, 414, "OTHER");
    pl3::ClickDialogButton(dialog, IDCANCEL);
  });
  EXPECT_EQ(RunEditDatumDialog(nullptr, datum), 0);
  EXPECT_STREQ(datum->name, "D");
}

TEST_F(DatumDialogs, TheMasterNameCannotBeEdited) {
  static bool readOnly = false;
  pl3::SetDialogHook(kEditDatumDialogId, [](HWND dialog) {
    readOnly = (GetWindowLong(GetDlgItem(dialog, 414), GWL_STYLE) & ES_READONLY) != 0;
    pl3::ClickDialogButton(dialog, IDOK);
  });
  std::vector<std::uint8_t> bytes(kDatumRoom, 0);
  auto* datum = reinterpret_cast<DatumPayload*>(bytes.data());
  std::strcpy(datum->name, "MASTER");
  EXPECT_EQ(RunEditDatumDialog(nullptr, datum), 1);
  EXPECT_TRUE(readOnly);
  EXPECT_STREQ(datum->name, "MASTER");
}

TEST_F(DatumDialogs, KeyFieldsAndTheUnitsCombo) {
  pl3::SetDialogHook(kEditDatumDialogId, [](HWND dialog) {
    struct Case {
      const char* text;
      std::uint8_t key;
    };
    for (const Case& c : {Case{"'a'", 'A'}, Case{"'9'", '9'}, Case{"none", 0}, Case{"'#'", 0}, Case{"' '", 0},
                          Case{"", 0}, Case{"'ab'", 0}}) {
      SetDlgItemText(dialog, 3156, c.text);
      EXPECT_EQ(GetDlgItemKeyChar(dialog, 3156), c.key) << c.text;
    }
    SetDlgItemKeyChar(dialog, 3156, 'K');
    EXPECT_EQ(ItemText(dialog, 3156), "'K'");
    SetDlgItemKeyChar(dialog, 3156, 0);
    EXPECT_EQ(ItemText(dialog, 414).size(), 1u);
    EXPECT_EQ(ItemText(dialog, 3156), "none");
    pl3::ClickDialogButton(dialog, IDCANCEL);
  });
  std::vector<std::uint8_t> bytes(kDatumRoom, 0);
  std::strcpy(reinterpret_cast<DatumPayload*>(bytes.data())->name, "X");
  RunEditDatumDialog(nullptr, reinterpret_cast<DatumPayload*>(bytes.data()));

  pl3::SetDialogHook(kGotoPointDialogId, [](HWND dialog) {
    FillUnitsCombo(dialog, 3181, 5, 1);
    EXPECT_EQ(SendDlgItemMessage(dialog, 3181, CB_GETCOUNT, 0, 0), 7);
    EXPECT_EQ(GetUnitsComboSelection(dialog, 3181, 99), 5u);
    char text[32] = {};
    SendDlgItemMessage(dialog, 3181, CB_GETLBTEXT, 6, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "All Types");
    FillUnitsCombo(dialog, 3181, 3, 0);
    EXPECT_EQ(SendDlgItemMessage(dialog, 3181, CB_GETCOUNT, 0, 0), 4);
    SendDlgItemMessage(dialog, 3181, CB_GETLBTEXT, 3, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "Centimetre");
    EXPECT_EQ(GetUnitsComboSelection(dialog, 3181, 99), 3u);
    pl3::ClickDialogButton(dialog, IDCANCEL);
  });
  RunGotoPointDialog(nullptr, {0, 0}, {0, 0}, 0, nullptr);
}

}  // namespace
