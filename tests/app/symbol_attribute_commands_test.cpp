#include "app/symbol_attribute_commands.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/attribute_dialogs.h"
#include "app/cell_box_seams.h"
#include "app/frame_hub_seams.h"
#include "edit/undo_history.h"
#include "objects/undo_seams.h"
#include "edit/window_data.h"
#include "objects/attribute_services.h"
#include "objects/type_codes.h"
#include "platform/dialog_hooks.h"
#include "platform/responder.h"
#include "platform/user.h"
#include "store/node_pool.h"
#include "store/tower.h"
#include "tests/app/frame_operation_fakes.h"
#include "tests/store/tower_test_support.h"

namespace {

constexpr std::uint16_t kSymbolGroup = 30;
constexpr std::uint16_t kPackagePin = 11007;
constexpr std::uint16_t kPackageInstance = 11008;
constexpr std::uint16_t kSymbolPackageRef = 11015;

// An attribute grid that shows no rows: an OK of the dialog over it deletes
// every attribute of the item, which is a change.
LRESULT CALLBACK EmptyGridProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kCellBoxInitialise: case kCellBoxAddColumn: case kCellBoxLayout: return 1;
    default: return message >= WM_USER && message < WM_USER + 100 ? 0 : DefWindowProcA(window, message, wParam, lParam);
  }
}

int gAnswer = kAttributesCancel;

// The value of the item's user attribute ("??name??" when it has none).
std::string Text(const Tower* item, const char* name) {
  char* text = GetUserAttributeText(item, name);
  std::string value = text ? text : "";
  std::free(text);
  return value;
}

// A schematic window with one selected symbol that carries a user attribute.
class SymbolAttributeCommands : public testing::Test {
 protected:
  void SetUp() override {
    towertest::EnsureStoreStarted();
    opfakes::Calls().clear();
    pl3::ClearResponderRecords();
    WNDCLASSA grid{};
    grid.lpfnWndProc = &EmptyGridProc;
    grid.lpszClassName = "CELLBOX";
    RegisterClassA(&grid);
    view = opfakes::NewTestView();
    design = towertest::NewTopLevelEntity(103);
    window = std::make_unique<CurrentWindowData>();
    window->editorKind = kEditorSchematic;
    window->design = design;
    window->Window = view;
    ActiveWindowData = window.get();
    window->UndoStep = NewUndoStepNumber();
    symbol = InsertEmptyEntity(design, kSymbolGroup);
    Tower* attribute = SetUserAttribute(symbol, "value", "10k");
    ReleaseTower(&attribute);
    selection.flags = 1;
    selection.original = symbol;
    window->SelectionList = &selection;
    gAnswer = kAttributesCancel;
    pl3::SetDialogHook(kEditAttributesDialogId, [](HWND dialog) { pl3::ClickDialogButton(dialog, gAnswer); });
  }
  void TearDown() override {
    pl3::ClearDialogHooks();
    window->SelectionList = nullptr;
    ActiveWindowData = nullptr;
    ReleaseTower(&package);
    ReleaseTower(&symbol);
    DeleteEntity(design);
    ReleaseTower(&design);
    DestroyWindow(view);
  }

  // Packages the symbol: a package instance under the schematic, named by
  // the symbol's package record; with `globalNets` a pin on a global net.
  void Package(bool globalNets) {
    package = InsertEmptyEntity(design, kPackageInstance);
    const std::uint32_t reference = NodeRefOf(TowerEntity(package));
    Tower* record = InsertEntity(symbol, sizeof reference, kSymbolPackageRef, &reference);
    ReleaseTower(&record);
    if (globalNets) {
      Tower* pin = InsertEmptyEntity(package, kPackagePin);
      ReleaseTower(&pin);
    }
  }
  std::size_t Count(std::uint16_t code) { return opfakes::CountChildren(design, code); }
  std::string LastBox() {
    const auto& records = pl3::ResponderRecords();
    return records.empty() ? "" : records.back().caption + ": " + records.back().text;
  }

  HWND view = nullptr;
  Tower* design = nullptr;
  Tower* symbol = nullptr;
  Tower* package = nullptr;
  SelectionInfo selection{};
  std::unique_ptr<CurrentWindowData> window;
};

// An OK is one undo step with its caption; the package takes the symbol's
// attributes; the copy kept for the undo step leaves the schematic.
TEST_F(SymbolAttributeCommands, EditSymbolAttributesOkIsOneUndoStep) {
  Package(false);
  gAnswer = kAttributesOk;
  const std::uint32_t step = window->UndoStep;
  EXPECT_EQ(PerformFrameCommandOperation(2336, view), 1);
  EXPECT_EQ(Text(symbol, "value"), "??value??") << "the empty grid deleted the attribute";
  Tower* caption = FindUndoStepCaption(step);
  EXPECT_NE(caption, nullptr);
  ReleaseTower(&caption);
  EXPECT_EQ(window->UndoStep, step + 1);
  EXPECT_EQ(CountUndoStepEntries(0), 1u);
  EXPECT_EQ(Count(kSymbolGroup), 1u);
  EXPECT_EQ(window->EditMode, 0);
  ASSERT_EQ(opfakes::Calls().size(), 1u);
  EXPECT_EQ(opfakes::Calls()[0].name, "CopyUserAttributes");
}

TEST_F(SymbolAttributeCommands, EditSymbolAttributesCancelChangesNothing) {
  gAnswer = kAttributesCancel;
  const std::uint32_t step = window->UndoStep;
  EXPECT_EQ(PerformFrameCommandOperation(2336, view), 0);
  EXPECT_EQ(Text(symbol, "value"), "10k");
  Tower* caption = FindUndoStepCaption(step);
  EXPECT_EQ(caption, nullptr);
  ReleaseTower(&caption);
  EXPECT_EQ(window->UndoStep, step);
  EXPECT_EQ(CountUndoStepEntries(0), 0u);
  EXPECT_EQ(Count(kSymbolGroup), 1u);
  EXPECT_TRUE(opfakes::Calls().empty()) << "an unpackaged symbol has no package to bring up to date";
}

// The package editors refuse a symbol that is not packaged, and the global
// pin editor a package without global nets; the dialogs never open.
TEST_F(SymbolAttributeCommands, PackageEditorsCheckThePackage) {
  struct Case {
    UINT id;
    int packaged;  // 0 none, 1 packaged, 2 packaged with global nets
    const char* box;
    bool opens;
  };
  const Case cases[] = {
      {2337, 0, "Error: This symbol has not been packaged yet.", false},
      {2356, 0, "Error: This symbol has not been packaged yet.", false},
      {2356, 1, "Error: No global nets exist for this package.", false},
      {2356, 2, "", true},
  };
  for (const Case& c : cases) {
    TearDown();
    SetUp();
    if (c.packaged) Package(c.packaged == 2);
    opfakes::Result() = 1;
    const int result = PerformFrameCommandOperation(c.id, view);
    EXPECT_EQ(LastBox(), c.box) << c.id << " " << c.packaged;
    EXPECT_EQ(result, c.opens ? 1 : 0) << c.id << " " << c.packaged;
    EXPECT_EQ(!opfakes::Calls().empty(), c.opens) << c.id << " " << c.packaged;
    if (c.opens) {
      EXPECT_EQ(opfakes::Calls()[0].name, "RunOptionDialogCommand");
    }
  }
}

// A packaged symbol's 2337 opens the attributes of its package instance.
TEST_F(SymbolAttributeCommands, PackageAttributesEditThePackageInstance) {
  Package(false);
  Tower* attribute = SetUserAttribute(package, "mpn", "X1");
  ReleaseTower(&attribute);
  gAnswer = kAttributesOk;
  EXPECT_EQ(PerformFrameCommandOperation(2337, view), 1);
  EXPECT_EQ(Text(package, "mpn"), "??mpn??");
  EXPECT_EQ(Text(symbol, "value"), "10k") << "the symbol's own attributes stay";
}

TEST_F(SymbolAttributeCommands, NothingSelectedBeeps) {
  window->SelectionList = nullptr;
  for (UINT id : {2336u, 2337u, 2356u}) {
    const int beeps = pl3::BeepCount();
    EXPECT_EQ(PerformFrameCommandOperation(id, view), 0) << id;
    EXPECT_EQ(pl3::BeepCount(), beeps + 1) << id;
  }
  EXPECT_TRUE(pl3::ResponderRecords().empty());
}

}  // namespace
