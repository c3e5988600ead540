#include "schematic/graphic_net_name_dialog.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "../store/tower_test_support.h"
#include "objects/graphic_records.h"
#include "objects/io_ports.h"
#include "objects/payload_access.h"
#include "objects/type_codes.h"
#include "platform/dialog_hooks.h"
#include "platform/responder.h"
#include "store/document_titles.h"
#include "store/tower.h"

namespace {

constexpr int kNetNameEdit = 3109;
constexpr int kBrowse = 474;
constexpr int kLibrary = 3129;
constexpr int kFileName = 3130;

std::string ItemText(HWND dialog, int id) {
  char buffer[256] = {};
  GetDlgItemText(dialog, id, buffer, sizeof buffer);
  return buffer;
}

// What the fake chooser loads next: a symbol definition (25) under the
// Schematic, with or without the net-name graphic marker.
struct Chooser {
  bool marker = true;
  bool cancel = false;
  std::string name = "\\Symbols\\GND";
  int calls = 0;
  std::string filter;
};
Chooser& Next() {
  static Chooser c;
  return c;
}

StoreItemChoice* FakeChooser(HWND, const char* filter, int, const Tower* parent) {
  Chooser& c = Next();
  ++c.calls;
  c.filter = filter;
  if (c.cancel) return nullptr;
  Tower* symbol = InsertEmptyEntity(parent, 25);
  if (c.marker) {
    Tower* m = InsertEmptyEntity(symbol, kTypeNetNameGraphicMarker);
    ReleaseTower(&m);
  }
  Tower* t = InsertEntity(symbol, 8, kTypeSymbolFileName, "gnd.sym");
  ReleaseTower(&t);
  t = InsertEntity(symbol, 8, kTypeSymbolLibraryName, "Power\0\0");
  ReleaseTower(&t);
  t = InsertEmptyEntity(symbol, kTypeDontReloadGroup);
  ReleaseTower(&t);
  // An indexed text that must keep its size once the symbol is frozen.
  std::vector<std::uint8_t> text(64, 0);
  WriteU16(text.data(), 2, kSizeByIndex);
  t = InsertEntity(symbol, static_cast<std::uint32_t>(text.size()), Type_Text, text.data());
  ReleaseTower(&t);
  auto* choice = new StoreItemChoice;
  choice->document = symbol;
  choice->name = c.name;
  choice->type = "schematicsymbol";
  return choice;
}

int CountChildren(const Tower* t, std::uint16_t code) {
  Tower* c = GetChildTower(t, code);
  int n = 0;
  while (c && FindNextEntity(c)) ++n;
  ReleaseTower(&c);
  return n;
}

class GraphicNetNameDialog : public testing::Test {
 protected:
  void SetUp() override {
    towertest::EnsureStoreStarted();
    schematic = towertest::NewTopLevelEntity(Type_Schematic);
    Next() = Chooser{};
    GraphicNetNameChooser = &FakeChooser;
    pl3::ClearResponderRecords();
  }
  void TearDown() override {
    pl3::ClearDialogHooks();
    DeleteEntity(schematic);
    ReleaseTower(&schematic);
  }
  std::vector<std::string> Messages() {
    std::vector<std::string> texts;
    for (const auto& r : pl3::ResponderRecords()) texts.push_back(r.caption + ": " + r.text);
    return texts;
  }
  Tower* schematic = nullptr;
};

TEST_F(GraphicNetNameDialog, BrowseFillsTheNameAndTheTexts) {
  static std::string name, library, file;
  pl3::SetDialogHook(1035, [](HWND dialog) {
    pl3::ClickDialogButton(dialog, kBrowse);
    name = ItemText(dialog, kNetNameEdit);
    library = ItemText(dialog, kLibrary);
    file = ItemText(dialog, kFileName);
    pl3::ClickDialogButton(dialog, IDOK);
  });
  GraphicNetNameChoice choice;
  ASSERT_EQ(ShowGraphicNetNameDialog(nullptr, schematic, &choice), 1);
  EXPECT_EQ(Next().filter, "schematicsymbol");
  EXPECT_EQ(name, "GND");
  EXPECT_EQ(library, "Power");
  EXPECT_EQ(file, "gnd.sym");
  EXPECT_STREQ(choice.netName, "GND");
  ASSERT_NE(choice.symbol, nullptr);
  EXPECT_EQ(CountChildren(choice.symbol, kTypeDontReloadGroup), 0);
  const std::uint8_t* text = ChildPayloadOfAtLeast(choice.symbol, Type_Text, 52);
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(ReadU16(text, 2) & kSizeByIndex, 0) << "the size no longer comes from the table";
  EXPECT_EQ(CountChildren(schematic, 25), 1);
  ReleaseTower(&choice.symbol);
}

TEST_F(GraphicNetNameDialog, AGivenNameIsKept) {
  pl3::SetDialogHook(1035, [](HWND dialog) {
    pl3::ClickDialogButton(dialog, kBrowse);
    pl3::ClickDialogButton(dialog, IDOK);
  });
  GraphicNetNameChoice choice;
  std::strcpy(choice.netName, "VDD");
  ASSERT_EQ(ShowGraphicNetNameDialog(nullptr, schematic, &choice), 1);
  EXPECT_STREQ(choice.netName, "VDD");
  ReleaseTower(&choice.symbol);
}

TEST_F(GraphicNetNameDialog, RefusesASymbolWithoutTheMarkerAndIncompleteChoices) {
  Next().marker = false;
  pl3::SetDialogHook(1035, [](HWND dialog) {
    pl3::ClickDialogButton(dialog, IDOK);  // nothing entered
    pl3::TypeDialogText(dialog, kNetNameEdit, "N1");
    pl3::ClickDialogButton(dialog, kBrowse);  // refused: no marker
    pl3::ClickDialogButton(dialog, IDOK);     // still no symbol
    pl3::ClickDialogButton(dialog, IDCANCEL);
  });
  GraphicNetNameChoice choice;
  EXPECT_EQ(ShowGraphicNetNameDialog(nullptr, schematic, &choice), 0);
  EXPECT_EQ(choice.symbol, nullptr);
  EXPECT_EQ(CountChildren(schematic, 25), 0) << "a refused symbol does not stay loaded";
  EXPECT_EQ(Messages(), (std::vector<std::string>{
                            "Error: You must enter a net name",
                            "Error loading net name graphic symbol: The symbol you have selected is of an invalid "
                            "type. Please select a net name graphic symbol",
                            "Error: You must load a symbol"}));
}

TEST_F(GraphicNetNameDialog, CancelDropsTheLoadedSymbol) {
  pl3::SetDialogHook(1035, [](HWND dialog) {
    pl3::ClickDialogButton(dialog, kBrowse);
    pl3::ClickDialogButton(dialog, kBrowse);  // a second choice replaces the first
    pl3::ClickDialogButton(dialog, IDCANCEL);
  });
  GraphicNetNameChoice choice;
  EXPECT_EQ(ShowGraphicNetNameDialog(nullptr, schematic, &choice), 0);
  EXPECT_EQ(Next().calls, 2);
  EXPECT_EQ(CountChildren(schematic, 25), 0);
}

}  // namespace
