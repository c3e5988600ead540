#include "ui/goto_datum_dialog.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "../store/tower_test_support.h"
#include "app/datum_dialogs.h"
#include "edit/window_data.h"
#include "objects/datums.h"
#include "objects/type_codes.h"
#include "platform/commctrl.h"
#include "platform/controls.h"
#include "platform/dialog_hooks.h"
#include "platform/gdi.h"
#include "platform/responder.h"
#include "platform/user.h"
#include "store/tower.h"

namespace {

constexpr int kNameField = 414;
constexpr int kKeyField = 3156;

// The datum of a list row.
const DatumPayload* RowDatum(HWND dialog, int row) {
  auto* t = reinterpret_cast<Tower*>(SendDlgItemMessage(dialog, kGotoDatumListId, LB_GETITEMDATA, row, 0));
  return reinterpret_cast<const DatumPayload*>(TowerPayload(t));
}
int Rows(HWND dialog) { return static_cast<int>(SendDlgItemMessage(dialog, kGotoDatumListId, LB_GETCOUNT, 0, 0)); }
int Selected(HWND dialog) { return static_cast<int>(SendDlgItemMessage(dialog, kGotoDatumListId, LB_GETCURSEL, 0, 0)); }
void Type(HWND dialog, char c) { SendMessage(GetDlgItem(dialog, kGotoDatumListId), WM_CHAR, static_cast<WPARAM>(c), 0); }

class GotoDatumTest : public testing::Test {
 protected:
  void SetUp() override {
    towertest::EnsureStoreStarted();
    design = towertest::NewTopLevelEntity(Type_PCB);
    window = std::make_unique<CurrentWindowData>(kEditorPcb, design);
    ActiveWindowData = window.get();
    // Search order is newest first: C, B, A.
    Add("A", 300000000, 400000000, 'K');
    Add("B", 310000000, 410000000, 0);
    Add("C", 320000000, 420000000, 0x01);  // a damaged key stroke
  }
  void TearDown() override {
    ActiveWindowData = nullptr;
    DeleteEntity(design);
    ReleaseTower(&design);
  }
  void Add(const char* name, std::int32_t x, std::int32_t y, std::uint8_t key) {
    CreateDatum(design, name, x, y, 0);
    const DatumPayload* d = FindDatumByName(design, name);
    const_cast<DatumPayload*>(d)->keyStroke = key;
  }
  std::vector<std::string> Names() {
    std::vector<std::string> names;
    Tower* all = GetChildTower(design, Type_Datum);
    while (Entity* e = FindNextEntity(all)) names.push_back(DatumName(reinterpret_cast<DatumPayload*>(EntityPayload(e))));
    ReleaseTower(&all);
    return names;
  }

  Tower* design = nullptr;
  std::unique_ptr<CurrentWindowData> window;
};

TEST_F(GotoDatumTest, ListsTheDatumsUnderAHeaderAndOkHandsTheChosenOneOver) {
  std::string caption;
  std::vector<std::string> titles;
  pl3::SetDialogHook(kGotoDatumDialogId, [&](HWND dialog) {
    char text[64] = "";
    GetWindowText(dialog, text, sizeof text);
    caption = text;
    EXPECT_EQ(Rows(dialog), 3);
    EXPECT_EQ(DatumName(RowDatum(dialog, 0)), "C");
    EXPECT_EQ(DatumName(RowDatum(dialog, 2)), "A");
    HWND header = GetDlgItem(dialog, kGotoDatumHeaderId);
    for (int i = 0; i < 2; ++i) {
      char title[32] = "";
      HDITEM item{};
      item.mask = HDI_TEXT;
      item.pszText = title;
      item.cchTextMax = sizeof title;
      SendMessage(header, HDM_GETITEM, i, reinterpret_cast<LPARAM>(&item));
      titles.push_back(title);
    }
    EXPECT_TRUE(pl3::PickDialogListItem(dialog, kGotoDatumListId, 1));
    EXPECT_TRUE(pl3::ClickDialogButton(dialog, IDOK));
  });
  Tower* chosen = nullptr;
  ASSERT_EQ(RunGotoDatumDialog(nullptr, 0, &chosen), 1);
  EXPECT_EQ(caption, " Goto Datum");
  EXPECT_EQ(titles, (std::vector<std::string>{"Name", "Key Stroke"}));
  ASSERT_NE(chosen, nullptr);
  EXPECT_EQ(DatumName(reinterpret_cast<const DatumPayload*>(TowerPayload(chosen))), "B");
  ReleaseTower(&chosen);
}

TEST_F(GotoDatumTest, OkOrEditWithNothingSelectedSaysSo) {
  pl3::SetDialogHook(kGotoDatumDialogId, [](HWND dialog) {
    EXPECT_TRUE(pl3::ClickDialogButton(dialog, kGotoDatumEditButtonId));
    EXPECT_TRUE(pl3::ClickDialogButton(dialog, IDOK));
    EXPECT_TRUE(pl3::ClickDialogButton(dialog, IDCANCEL));
  });
  Tower* chosen = nullptr;
  EXPECT_EQ(RunGotoDatumDialog(nullptr, 0, &chosen), 0);
  EXPECT_EQ(chosen, nullptr);
  ASSERT_EQ(pl3::ResponderRecords().size(), 2u);
  for (const auto& r : pl3::ResponderRecords()) {
    EXPECT_EQ(r.text, "Nothing is selected");
    EXPECT_EQ(r.caption, "Select Size");
  }
}

TEST_F(GotoDatumTest, TypingAKeyStrokeSelectsItsDatumAndWithBitZeroChoosesIt) {
  int selected = -2;
  pl3::SetDialogHook(kGotoDatumDialogId, [&](HWND dialog) {
    Type(dialog, 'q');  // no datum: nothing changes
    EXPECT_EQ(Selected(dialog), -1);
    Type(dialog, 'k');
    selected = Selected(dialog);
    EXPECT_TRUE(pl3::ClickDialogButton(dialog, IDCANCEL));
  });
  EXPECT_EQ(RunGotoDatumDialog(nullptr, 0, nullptr), 0);
  EXPECT_EQ(selected, 2);

  pl3::SetDialogHook(kGotoDatumDialogId, [&](HWND dialog) { Type(dialog, 'k'); });
  Tower* chosen = nullptr;
  ASSERT_EQ(RunGotoDatumDialog(nullptr, kGotoDatumKeyChooses, &chosen), 1);
  EXPECT_EQ(DatumName(reinterpret_cast<const DatumPayload*>(TowerPayload(chosen))), "A");
  ReleaseTower(&chosen);
}

TEST_F(GotoDatumTest, DrawingAnEntryResetsADamagedKeyStroke) {
  pl3::SetDialogHook(kGotoDatumDialogId, [&](HWND dialog) {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, 200, 20);
    HBITMAP old = SelectObject(dc, bitmap);
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_LISTBOX;
    item.CtlID = kGotoDatumListId;
    item.itemID = 0;
    item.itemState = ODS_SELECTED | ODS_FOCUS;
    item.hwndItem = GetDlgItem(dialog, kGotoDatumListId);
    item.hDC = dc;
    item.rcItem = RECT{0, 0, 200, 16};
    item.itemData = static_cast<ULONG_PTR>(SendDlgItemMessage(dialog, kGotoDatumListId, LB_GETITEMDATA, 0, 0));
    SendMessage(dialog, WM_DRAWITEM, kGotoDatumListId, reinterpret_cast<LPARAM>(&item));
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    EXPECT_TRUE(pl3::ClickDialogButton(dialog, IDCANCEL));
  });
  RunGotoDatumDialog(nullptr, 0, nullptr);
  EXPECT_EQ(FindDatumByName(design, "C")->keyStroke, 0);
  EXPECT_EQ(FindDatumByName(design, "A")->keyStroke, 'K');
}

TEST_F(GotoDatumTest, EditDatumRenamesUnlessTheNameIsTaken) {
  int editRun = 0;
  pl3::SetDialogHook(kEditDatumDialogId, [&](HWND dialog) {
    ++editRun;
    // "A" is taken; "B2" is new; "B2" again is the datum's own name.
    EXPECT_TRUE(pl3::TypeDialogText(dialog, kNameField, editRun == 1 ? "A" : "B2"));
    EXPECT_TRUE(pl3::ClickDialogButton(dialog, IDOK));
  });
  std::string rowName;
  pl3::SetDialogHook(kGotoDatumDialogId, [&](HWND dialog) {
    EXPECT_TRUE(pl3::PickDialogListItem(dialog, kGotoDatumListId, 1));
    EXPECT_TRUE(pl3::ClickDialogButton(dialog, kGotoDatumEditButtonId));  // "A" is taken
    EXPECT_TRUE(pl3::ClickDialogButton(dialog, kGotoDatumEditButtonId));
    EXPECT_TRUE(pl3::ClickDialogButton(dialog, kGotoDatumEditButtonId));
    rowName = DatumName(RowDatum(dialog, 1));
    EXPECT_TRUE(pl3::ClickDialogButton(dialog, IDCANCEL));
  });
  EXPECT_EQ(RunGotoDatumDialog(nullptr, 0, nullptr), 0);
  EXPECT_EQ(editRun, 3);
  ASSERT_EQ(pl3::ResponderRecords().size(), 1u);
  EXPECT_EQ(pl3::ResponderRecords()[0].text, "A datum of this name already exists.");
  EXPECT_EQ(rowName, "B2");
  EXPECT_EQ(FindDatumByName(design, "B"), nullptr);
  const DatumPayload* renamed = FindDatumByName(design, "B2");
  ASSERT_NE(renamed, nullptr);
  EXPECT_EQ(renamed->x, 310000000);
  EXPECT_EQ(Names().size(), 3u);
}

TEST_F(GotoDatumTest, TheCommandSendsTheCursorToTheDatum) {
  pl3::SetDialogHook(kGotoDatumDialogId, [](HWND dialog) { Type(dialog, 'K'); });
  ShowGotoDatumDialog(nullptr);
  EXPECT_EQ(window->Cursor.x, 300000000);
  EXPECT_EQ(window->Cursor.y, 400000000);
}

}  // namespace
