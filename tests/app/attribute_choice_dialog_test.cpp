#include "app/attribute_choice_dialog.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "edit/attribute_choice.h"
#include "edit/window_data.h"
#include "objects/designators.h"
#include "objects/type_codes.h"
#include "platform/controls.h"
#include "platform/dialog_hooks.h"
#include "store/tower.h"
#include "tests/store/tower_test_support.h"

namespace {

void AddText(const Tower* parent, std::uint16_t code, const char* text) {
  Tower* t = InsertEntity(parent, static_cast<std::uint32_t>(std::strlen(text) + 1), code, text);
  ReleaseTower(&t);
}

// A design whose netlist imported U1 with the attributes NAME and VALUE, and
// a placed symbol U1.
class SelectAttribute : public testing::Test {
 protected:
  void SetUp() override {
    towertest::EnsureStoreStarted();
    design = towertest::NewTopLevelEntity(Type_PCB);
    window.design = design;
    ActiveWindowData = &window;
    Tower* netHier = InsertEmptyEntity(design, Type_NetHierGroup);
    Tower* imported = InsertEmptyEntity(netHier, Type_ImportedSymbol);
    AddText(imported, Type_ImportedDesignator, "U1");
    Tower* list = InsertEmptyEntity(imported, 289);
    for (const char* name : {"VALUE", "NAME"}) {  // the newest is listed first
      Tower* attribute = InsertEmptyEntity(list, 290);
      AddText(attribute, 291, name);
      ReleaseTower(&attribute);
    }
    ReleaseTower(&list);
    ReleaseTower(&imported);
    ReleaseTower(&netHier);
    placed = InsertEmptyEntity(design, Type_SymbolInstance);
    Tower* group = InsertEmptyEntity(placed, Type_Designator);
    SetDesignatorText(group, "U1");
    ReleaseTower(&group);
  }
  void TearDown() override {
    pl3::ClearDialogHooks();
    ActiveWindowData = nullptr;
    ReleaseTower(&placed);
    DeleteEntity(design);
    ReleaseTower(&design);
  }
  CurrentWindowData window{kEditorPcb};
  Tower* design = nullptr;
  Tower* placed = nullptr;
};

std::vector<std::string> g_listed;

TEST_F(SelectAttribute, ListsTheImportedNamesAndOkTakesTheSelectedOne) {
  g_listed.clear();
  pl3::SetDialogHook(1186, [](HWND dialog) {
    char caption[64] = {};
    GetWindowText(dialog, caption, sizeof caption);
    EXPECT_STREQ(caption, "Select Attribute");
    const LRESULT count = SendDlgItemMessage(dialog, 1187, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
      char text[64] = {};
      SendDlgItemMessage(dialog, 1187, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
      g_listed.push_back(text);
    }
    pl3::ClickDialogButton(dialog, IDOK);  // nothing selected: the dialog stays
    SendDlgItemMessage(dialog, 1187, LB_SETCURSEL, 1, 0);
    pl3::ClickDialogButton(dialog, IDOK);
  });
  char* name = ChooseItemAttribute(placed);
  ASSERT_NE(name, nullptr);
  EXPECT_STREQ(name, "VALUE");
  std::free(name);
  EXPECT_EQ(g_listed, (std::vector<std::string>{"NAME", "VALUE"}));
}

TEST_F(SelectAttribute, CancelAndAnItemWithoutImportedSymbolGiveNothing) {
  pl3::SetDialogHook(1186, [](HWND dialog) { pl3::ClickDialogButton(dialog, IDCANCEL); });
  EXPECT_EQ(ChooseItemAttribute(placed), nullptr);
  pl3::SetDialogHook(1186, [](HWND dialog) {
    EXPECT_EQ(SendDlgItemMessage(dialog, 1187, LB_GETCOUNT, 0, 0), 0);
    SendDlgItemMessage(dialog, 1187, LB_SETCURSEL, 0, 0);
    pl3::ClickDialogButton(dialog, IDOK);
    pl3::ClickDialogButton(dialog, IDCANCEL);
  });
  Tower* other = InsertEmptyEntity(design, Type_SymbolInstance);
  EXPECT_EQ(ChooseItemAttribute(other), nullptr);
  ReleaseTower(&other);
}

}  // namespace
