#include "app/attribute_dialogs.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/cell_box_seams.h"
#include "app/registry_values.h"
#include "app/type_ahead.h"
#include "objects/attribute_names.h"
#include "objects/attribute_services.h"
#include "objects/type_codes.h"
#include "platform/controls.h"
#include "platform/dialog_hooks.h"
#include "platform/responder.h"
#include "platform/user.h"
#include "store/file_dialogs.h"
#include "store/tower.h"
#include "tests/support/test_paths.h"

namespace {

// ---- A small CELLBOX: rows of cells, a current cell, column widths ---------------------------

struct FakeRow {
  std::uint32_t value = 0;
  std::string cells[2];
  std::uint32_t types[2] = {};
};
struct FakeGrid {
  bool initialised = false;
  std::vector<CellBoxColumn> columns;
  std::vector<std::string> titles;
  std::vector<FakeRow> rows;
  int currentRow = -1;
  int endEdits = 0;
};
std::map<HWND, FakeGrid> gGrids;

FakeGrid& GridOf(HWND grid) { return gGrids[grid]; }
WORD Column(WPARAM w) { return LOWORD(w); }
WORD Row(WPARAM w) { return HIWORD(w); }

LRESULT CALLBACK FakeCellBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  FakeGrid& g = GridOf(window);
  if (message != kCellBoxInitialise && message >= WM_USER && message < WM_USER + 100 && !g.initialised) return 0;
  switch (message) {
    case kCellBoxInitialise: g.initialised = true; return 1;
    case kCellBoxAddColumn: {
      const auto* column = reinterpret_cast<const CellBoxColumn*>(lParam);
      g.columns.push_back(*column);
      g.titles.push_back(column->title);
      return 1;
    }
    case kCellBoxLayout: return 1;
    case kCellBoxAddRow: {
      FakeRow row;
      for (std::size_t c = 0; c < 2 && c < g.columns.size(); ++c) row.types[c] = g.columns[c].flags;
      g.rows.push_back(row);
      if (g.currentRow < 0) g.currentRow = 0;
      return static_cast<LRESULT>(g.rows.size() - 1);
    }
    case kCellBoxSetCellText: g.rows.at(Row(wParam)).cells[Column(wParam)] = reinterpret_cast<const char*>(lParam); return 1;
    case kCellBoxGetCellText: return reinterpret_cast<LRESULT>(g.rows.at(Row(wParam)).cells[Column(wParam)].c_str());
    case kCellBoxSetCellType: g.rows.at(Row(wParam)).types[Column(wParam)] = static_cast<std::uint32_t>(lParam); return 1;
    case kCellBoxSetRowData: g.rows.at(wParam).value = static_cast<std::uint32_t>(lParam); return 1;
    case kCellBoxGetRowData: return wParam < g.rows.size() ? g.rows[wParam].value : 0;
    case kCellBoxGetSize: return static_cast<LRESULT>((g.rows.size() << 16) | g.columns.size());
    case kCellBoxGetCurrentCell: return g.currentRow < 0 ? -1 : (g.currentRow << 16) | 1;
    case kCellBoxDeleteRow:
      if (wParam < g.rows.size()) g.rows.erase(g.rows.begin() + static_cast<std::ptrdiff_t>(wParam));
      if (g.currentRow >= static_cast<int>(g.rows.size())) g.currentRow = static_cast<int>(g.rows.size()) - 1;
      return 1;
    case kCellBoxGetColumnWidth: {
      auto* width = reinterpret_cast<CellBoxColumnWidth*>(lParam);
      if (width->column >= 0 && width->column < static_cast<int>(g.columns.size()))
        width->width = g.columns[static_cast<std::size_t>(width->column)].width + 7;  // the user widened it
      return 1;
    }
    case kCellBoxEndEdit: ++g.endEdits; return 1;
    case WM_NCDESTROY: gGrids.erase(window); return DefWindowProcA(window, message, wParam, lParam);
    default: return DefWindowProcA(window, message, wParam, lParam);
  }
}

// What a user's edit of a value cell does: the text changes, the parent hears 20003.
void EditValue(HWND dialog, int row, const char* text) {
  HWND grid = GetDlgItem(dialog, kAttributeGrid);
  GridOf(grid).rows.at(static_cast<std::size_t>(row)).cells[1] = text;
  NMCELLBOX note{{grid, static_cast<UINT_PTR>(kAttributeGrid), kCellChanged}, 1, row};
  SendMessageA(dialog, WM_NOTIFY, kAttributeGrid, reinterpret_cast<LPARAM>(&note));
}
void ClickButtonCell(HWND dialog, int row) {
  HWND grid = GetDlgItem(dialog, kAttributeGrid);
  NMCELLBOX note{{grid, static_cast<UINT_PTR>(kAttributeGrid), kCellButtonClicked}, 1, row};
  SendMessageA(dialog, WM_NOTIFY, kAttributeGrid, reinterpret_cast<LPARAM>(&note));
}
FakeGrid& DialogGrid(HWND dialog) { return GridOf(GetDlgItem(dialog, kAttributeGrid)); }
bool ApplyEnabled(HWND dialog) { return IsWindowEnabled(GetDlgItem(dialog, kApplyAttributesButton)) != FALSE; }

Tower* NewItem() {
  Tower* t = NewTower(0);
  LastLevel(t).typeCode = 30;
  InsertAtLastLevel(t, 0);
  return t;
}

// The item's user attributes as "name=value", in the item's order.
std::vector<std::string> Attributes(const Tower* item) {
  std::vector<std::string> out;
  Tower* t = GetChildTower(item, Type_Attribute);
  while (t && FindNextEntity(t)) {
    Tower* v = GetChildTower(t, Type_AttributeValue);
    Entity* e = v ? FindNextEntity(v) : nullptr;
    const char* name = "";
    const char* value = "";
    if (e) SplitNameValuePair(reinterpret_cast<const char*>(EntityPayload(e)), e->payloadSize, &name, &value);
    out.push_back(std::string(name) + "=" + value);
    ReleaseTower(&v);
  }
  ReleaseTower(&t);
  return out;
}

void Set(const Tower* item, const char* name, const char* value) {
  Tower* t = SetUserAttribute(item, name, value);
  ReleaseTower(&t);
}

using Steps = std::function<void(HWND)>;
Steps gSteps;

class EditAttributes : public testing::Test {
 protected:
  void SetUp() override {
    gGrids.clear();
    WNDCLASSA wc{};
    wc.lpfnWndProc = &FakeCellBoxProc;
    wc.lpszClassName = "CELLBOX";
    ASSERT_TRUE(RegisterClassA(&wc));
    item = NewItem();
    Set(item, "value", "10k");
    Set(item, "Footprint", "0805");
    Set(item, "3DMODEL", "r.ac");
    pl3::SetDialogHook(kEditAttributesDialogId, [](HWND dialog) {
      if (gSteps) gSteps(dialog);
    });
  }
  void TearDown() override {
    ReleaseTower(&item);
    pl3::ClearDialogHooks();
    gSteps = nullptr;
  }
  std::uint32_t Run(Steps steps) {
    gSteps = std::move(steps);
    return ShowEditAttributesDialog(nullptr, item, "Symbol R1");
  }
  Tower* item = nullptr;
};

TEST_F(EditAttributes, RowsShowTheUserAttributesWithButtonCellsForFiles) {
  static std::vector<std::string> names, values, titles;
  static std::vector<std::uint32_t> valueTypes;
  static std::string caption;
  static bool applyEnabled = true;
  names.clear();
  values.clear();
  valueTypes.clear();
  Run([](HWND dialog) {
    char text[64];
    GetWindowTextA(dialog, text, sizeof text);
    caption = text;
    for (const FakeRow& row : DialogGrid(dialog).rows) {
      names.push_back(row.cells[0]);
      values.push_back(row.cells[1]);
      valueTypes.push_back(row.types[1]);
    }
    titles = DialogGrid(dialog).titles;
    applyEnabled = ApplyEnabled(dialog);
    pl3::ClickDialogButton(dialog, kAttributesCancel);
  });
  EXPECT_EQ(caption, "Symbol R1");
  EXPECT_EQ(titles, (std::vector<std::string>{"Name", "Value"}));
  EXPECT_EQ(names, (std::vector<std::string>{"3dmodel", "Footprint", "Value"}));
  EXPECT_EQ(values, (std::vector<std::string>{"r.ac", "0805", "10k"}));
  EXPECT_EQ(valueTypes[0] & kCellButton, kCellButton);
  EXPECT_EQ(valueTypes[1] & kCellButton, kCellButton);
  EXPECT_EQ(valueTypes[2] & kCellButton, 0u);
  EXPECT_FALSE(applyEnabled);
}

TEST_F(EditAttributes, AChangedValueIsWrittenOnOk) {
  static bool enabledAfterEdit = false;
  EXPECT_EQ(Run([](HWND dialog) {
              EditValue(dialog, 2, "22k");
              enabledAfterEdit = ApplyEnabled(dialog);
              pl3::ClickDialogButton(dialog, kAttributesOk);
            }),
            1u);
  EXPECT_TRUE(enabledAfterEdit);
  const std::vector<std::string> now = Attributes(item);
  EXPECT_EQ(now.size(), 3u);
  EXPECT_NE(std::find(now.begin(), now.end(), "value=22k"), now.end());
  EXPECT_NE(std::find(now.begin(), now.end(), "Footprint=0805"), now.end());
}

TEST_F(EditAttributes, ApplyWithoutChangesChangesNothing) {
  EXPECT_EQ(Run([](HWND dialog) {
              EXPECT_EQ(ApplyAttributeRows(dialog, nullptr), 0);
              pl3::ClickDialogButton(dialog, kAttributesOk);
            }),
            0u);
  EXPECT_EQ(Attributes(item).size(), 3u);
}

TEST_F(EditAttributes, CancelAfterDeleteKeepsTheAttribute) {
  EXPECT_EQ(Run([](HWND dialog) {
              DialogGrid(dialog).currentRow = 1;
              pl3::ClickDialogButton(dialog, kDeleteAttributeButton);
              EXPECT_EQ(DialogGrid(dialog).rows.size(), 2u);
              EXPECT_TRUE(ApplyEnabled(dialog));
              pl3::ClickDialogButton(dialog, kAttributesCancel);
            }),
            0u);
  EXPECT_EQ(Attributes(item).size(), 3u);
}

TEST_F(EditAttributes, DeleteAndApplyRemovesTheAttribute) {
  EXPECT_EQ(Run([](HWND dialog) {
              DialogGrid(dialog).currentRow = 1;
              pl3::ClickDialogButton(dialog, kDeleteAttributeButton);
              pl3::ClickDialogButton(dialog, kApplyAttributesButton);
              EXPECT_FALSE(ApplyEnabled(dialog));
              EXPECT_GE(DialogGrid(dialog).endEdits, 2);
              DialogGrid(dialog).currentRow = -1;
              const int beeps = pl3::BeepCount();
              pl3::ClickDialogButton(dialog, kDeleteAttributeButton);  // no current row
              EXPECT_EQ(pl3::BeepCount(), beeps + 1);
              pl3::ClickDialogButton(dialog, kAttributesCancel);
            }),
            1u);  // Apply changed the item before Cancel
  const std::vector<std::string> now = Attributes(item);
  EXPECT_EQ(now.size(), 2u);
  EXPECT_EQ(std::find(now.begin(), now.end(), "Footprint=0805"), now.end());
}

TEST_F(EditAttributes, ANewAttributeComesFromEnterNewAttribute) {
  pl3::SetDialogHook(kEnterNewAttributeDialogId, [](HWND dialog) {
    // The names offered are those the item knows of (none here).
    EXPECT_EQ(SendDlgItemMessageA(dialog, kNewAttributeName, CB_GETCOUNT, 0, 0), 0);
    pl3::TypeDialogText(dialog, kNewAttributeName, "default_PACKAGE");
    pl3::TypeDialogText(dialog, kNewAttributeValue, "SO8");
    pl3::ClickDialogButton(dialog, IDOK);
  });
  EXPECT_EQ(Run([](HWND dialog) {
              pl3::ClickDialogButton(dialog, kNewAttributeButton);
              const FakeRow& row = DialogGrid(dialog).rows.back();
              EXPECT_EQ(row.cells[0], "Default_package");
              EXPECT_EQ(row.types[1] & kCellButton, kCellButton);
              EXPECT_TRUE(ApplyEnabled(dialog));
              pl3::ClickDialogButton(dialog, kAttributesOk);
            }),
            1u);
  const std::vector<std::string> now = Attributes(item);
  EXPECT_NE(std::find(now.begin(), now.end(), "Default_package=SO8"), now.end());
}

TEST_F(EditAttributes, AModelOutsideTheModelFolderIsNotTaken) {
  const std::string folder = pl3test::MakeTempDir("models");
  DialogStartFolders().modelPath3D = folder;
  pl3::PushPathAnswer(folder + "\\parts\\r0805.ac");
  pl3::PushPathAnswer("/elsewhere/other.ac");
  Run([](HWND dialog) {
    ClickButtonCell(dialog, 0);
    EXPECT_EQ(DialogGrid(dialog).rows[0].cells[1], "parts\\r0805.ac");
    ClickButtonCell(dialog, 0);
    EXPECT_EQ(DialogGrid(dialog).rows[0].cells[1], "parts\\r0805.ac");
    const int beeps = pl3::BeepCount();
    ClickButtonCell(dialog, 2);  // "Value" has no chooser
    EXPECT_EQ(pl3::BeepCount(), beeps + 1);
    pl3::ClickDialogButton(dialog, kAttributesOk);
  });
  bool titled = false;
  for (const pl3::ResponderRecord& r : pl3::ResponderRecords())
    if (r.kind == pl3::ResponderKind::OpenFile && r.caption == "Select A Model") titled = true;
  EXPECT_TRUE(titled);
  const std::vector<std::string> now = Attributes(item);
  EXPECT_NE(std::find(now.begin(), now.end(), "3DMODEL=parts\\r0805.ac"), now.end());
}

TEST_F(EditAttributes, ColumnWidthsAreSavedWhenTheDialogCloses) {
  static std::vector<std::int32_t> widths;
  Run([](HWND dialog) {
    widths.clear();
    for (const CellBoxColumn& c : DialogGrid(dialog).columns) widths.push_back(c.width);
    SendMessageA(dialog, WM_CLOSE, 0, 0);
  });
  ASSERT_EQ(widths.size(), 2u);
  EXPECT_GT(widths[0], 0);
  EXPECT_EQ(widths[0], widths[1]);  // half each
  char* saved = GetRegistryString("Initialisation\\DefaultAttributeEditorHeader");
  ASSERT_NE(saved, nullptr);
  EXPECT_EQ(std::string(saved), std::to_string(widths[0] + 7) + " " + std::to_string(widths[1] + 7));
  std::free(saved);
}

// ---- Enter New Attribute -----------------------------------------------------------------------

AttributeNameList* NameList(std::initializer_list<const char*> names) {
  AttributeNameList* list = nullptr;
  for (const char* name : names) list = AddNameSorted(name, list);
  return list;
}

TEST(EnterNewAttribute, AnEmptyNameIsRefusedAndAnEmptyValueIsNone) {
  pl3::ClearResponderRecords();
  pl3::SetDialogHook(kEnterNewAttributeDialogId, [](HWND dialog) {
    pl3::ClickDialogButton(dialog, IDOK);
    pl3::TypeDialogText(dialog, kNewAttributeName, "Tolerance");
    pl3::ClickDialogButton(dialog, IDOK);
  });
  NewAttributeBlock block{nullptr, nullptr, nullptr};
  EXPECT_EQ(ShowEnterNewAttributeDialog(nullptr, &block), 1);
  ASSERT_NE(block.name, nullptr);
  EXPECT_STREQ(block.name, "Tolerance");
  EXPECT_EQ(block.value, nullptr);
  std::free(block.name);
  ASSERT_EQ(pl3::ResponderRecords().size(), 1u);
  EXPECT_EQ(pl3::ResponderRecords()[0].text, "Error - you cannot enter an empty attribute name");
  EXPECT_EQ(pl3::ResponderRecords()[0].caption, "Add new attribute");
  pl3::ClearDialogHooks();
}

TEST(EnterNewAttribute, TheNameBoxCompletesFromTheOfferedNames) {
  AttributeNameList* names = NameList({"Value", "Tolerance", "Voltage"});
  static std::string completed;
  static int offered = 0;
  pl3::SetDialogHook(kEnterNewAttributeDialogId, [](HWND dialog) {
    offered = static_cast<int>(SendDlgItemMessageA(dialog, kNewAttributeName, CB_GETCOUNT, 0, 0));
    HWND combo = GetDlgItem(dialog, kNewAttributeName);
    HWND edit = ChildWindowFromPoint(combo, POINT{20, 5});
    SendMessageA(edit, WM_CHAR, 'v', 0);
    SendMessageA(edit, WM_CHAR, 'o', 0);
    char text[64] = {};
    GetWindowTextA(combo, text, sizeof text);
    completed = text;
    // The questions the box asks, answered from the list.
    EXPECT_EQ(SendMessageA(dialog, kTypeAheadHasCompletion, reinterpret_cast<WPARAM>("vo"), 0), 1);
    char rest[16] = {};
    pl3::TypeDialogText(dialog, kNewAttributeName, "Vo");
    EXPECT_EQ(SendMessageA(dialog, kTypeAheadCompletionLength, 0, 0), 5);
    EXPECT_EQ(SendMessageA(dialog, kTypeAheadCopyCompletion, sizeof rest, reinterpret_cast<LPARAM>(rest)), 1);
    EXPECT_STREQ(rest, "ltage");
    pl3::TypeDialogText(dialog, kNewAttributeName, "x");
    EXPECT_EQ(SendMessageA(dialog, kTypeAheadHasCompletion, 0, 0), 0);
    EXPECT_EQ(SendMessageA(dialog, kTypeAheadCopyCompletion, sizeof rest, reinterpret_cast<LPARAM>(rest)), 0);
    EXPECT_STREQ(rest, "");
    pl3::ClickDialogButton(dialog, IDCANCEL);
  });
  NewAttributeBlock block{names, nullptr, nullptr};
  EXPECT_EQ(ShowEnterNewAttributeDialog(nullptr, &block), 0);
  EXPECT_EQ(offered, 3);
  EXPECT_EQ(completed, "voltage");
  EXPECT_EQ(block.name, nullptr);
  FreeNameList(names);
  pl3::ClearDialogHooks();
}

// ---- Enter Text ---------------------------------------------------------------------------

TEST(AskText, OkAllAndCancel) {
  static std::string prompt, shown;
  pl3::SetDialogHook(kEnterTextDialogId, [](HWND dialog) {
    char text[64] = {};
    GetDlgItemTextA(dialog, kEnterTextPrompt, text, sizeof text);
    prompt = text;
    GetDlgItemTextA(dialog, kEnterTextField, text, sizeof text);
    shown = text;
    pl3::TypeDialogText(dialog, kEnterTextField, "VCC");
    pl3::ClickDialogButton(dialog, IDOK);
  });
  char initial[] = "GND";
  char* answer = AskText("Insert Global Net Locator", "Enter net or click 'All'", initial);
  EXPECT_STREQ(answer, "VCC");
  EXPECT_NE(answer, initial);
  std::free(answer);
  EXPECT_EQ(prompt, "Enter net or click 'All'");
  EXPECT_EQ(shown, "GND");
  pl3::SetDialogHook(kEnterTextDialogId, [](HWND dialog) { pl3::ClickDialogButton(dialog, kEnterTextAll); });
  answer = AskText("Insert Global Net Locator", "Enter net or click 'All'", nullptr);
  ASSERT_NE(answer, nullptr);
  EXPECT_STREQ(answer, "");
  std::free(answer);
  pl3::SetDialogHook(kEnterTextDialogId, [](HWND dialog) { pl3::ClickDialogButton(dialog, IDCANCEL); });
  EXPECT_EQ(AskText("c", "p", initial), initial);
  EXPECT_EQ(AskText("c", "p", nullptr), nullptr);
  pl3::ClearDialogHooks();
}

}  // namespace
