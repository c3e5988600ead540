#include "ui/column_sets.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/commctrl.h"
#include "platform/user.h"
#include "tests/support/test_windows.h"

namespace {

constexpr int kHeaderId = 3288;
const char* const kTitles[] = {"Key", "Active", "Unit", "Width", "Name"};
const float kFractions[] = {1.0f, 0.2f, 0.2f, 0.2f, 0.3f};

using Column = TestHeaderColumn;

std::vector<Column> HeaderColumns(HWND header) { return TestHeaderColumns(header); }

class ColumnSetsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dialog = MakeTestParentWindow("ColumnSetsParent");
    ASSERT_NE(dialog, nullptr);
    header = CreateWindowExA(0, WC_HEADER, "", WS_CHILD | WS_VISIBLE, 0, 0, 300, 24, dialog,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(kHeaderId)), nullptr, nullptr);
    ASSERT_NE(header, nullptr);
  }

  std::vector<Column> Columns() const { return HeaderColumns(header); }

  HWND dialog = nullptr;
  HWND header = nullptr;
};

TEST_F(ColumnSetsTest, ProportionalColumnsShowInReverseWithTruncatedWidths) {
  ColumnWidthEntry* layout = InsertProportionalColumns(dialog, kHeaderId, 333, 5, kTitles, kFractions);
  ASSERT_NE(layout, nullptr);
  // 333 x 0.2 = 66.6 and 333 x 0.3 = 99.9 are cut, not rounded.
  const std::vector<Column> want = {{"Name", 99}, {"Width", 66}, {"Unit", 66}, {"Active", 66}, {"Key", 333}};
  EXPECT_EQ(Columns(), want);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(layout[i].columnWord, static_cast<std::uint32_t>(i));
    EXPECT_EQ(layout[i].width, want[static_cast<std::size_t>(i)].width);
  }
  std::free(layout);
}

TEST_F(ColumnSetsTest, RestoreGivesEachTitleItsOwnWidthBack) {
  // The user widened "Name" and narrowed "Key" since the layout was computed.
  const ColumnWidthEntry layout[] = {{0, 150}, {1, 40}, {2, 41}, {3, 42}, {4, 200}};
  ASSERT_TRUE(RestoreHeaderColumns(dialog, kHeaderId, 5, kTitles, layout));
  const std::vector<Column> want = {{"Name", 150}, {"Width", 40}, {"Unit", 41}, {"Active", 42}, {"Key", 200}};
  EXPECT_EQ(Columns(), want);
}

TEST_F(ColumnSetsTest, ComputedLayoutRestoresToTheSameHeader) {
  ColumnWidthEntry* layout = InsertProportionalColumns(dialog, kHeaderId, 250, 5, kTitles, kFractions);
  ASSERT_NE(layout, nullptr);
  const std::vector<Column> first = Columns();
  for (int i = 0; i < 5; ++i) SendMessageA(header, HDM_DELETEITEM, 0, 0);
  ASSERT_TRUE(RestoreHeaderColumns(dialog, kHeaderId, 5, kTitles, layout));
  EXPECT_EQ(Columns(), first);
  std::free(layout);
}

TEST_F(ColumnSetsTest, RestoreRefusesWidthsOutOfRangeAndInsertsNothing) {
  for (int bad : {0, -12, kMaxColumnWidth + 1}) {
    SCOPED_TRACE(bad);
    const ColumnWidthEntry layout[] = {{0, 150}, {1, 40}, {2, bad}, {3, 42}, {4, 200}};
    EXPECT_FALSE(RestoreHeaderColumns(dialog, kHeaderId, 5, kTitles, layout));
    EXPECT_TRUE(Columns().empty());
  }
  EXPECT_FALSE(RestoreHeaderColumns(dialog, kHeaderId, 5, kTitles, nullptr));
}

TEST_F(ColumnSetsTest, MissingHeaderInsertsNothing) {
  const ColumnWidthEntry layout[] = {{0, 10}};
  EXPECT_EQ(InsertProportionalColumns(dialog, kHeaderId + 1, 300, 5, kTitles, kFractions), nullptr);
  EXPECT_FALSE(RestoreHeaderColumns(dialog, kHeaderId + 1, 1, kTitles, layout));
  EXPECT_TRUE(Columns().empty());
}

// ---- Size lists ------------------------------------------------------------------------

constexpr int kListId = 3154;
constexpr int kSizeHeaderId = 3155;

class SizeListColumnsTest : public ::testing::Test {
 protected:
  // A parent window without the list, then one with it.
  HWND NewParent() {
    if (!registered_) {
      registered_ = true;
      return MakeTestParentWindow("SizeListParent");
    }
    return CreateWindowExA(0, "SizeListParent", "", WS_OVERLAPPEDWINDOW, 0, 0, 500, 300, nullptr, nullptr, nullptr,
                           nullptr);
  }
  HWND NewDialog() {
    HWND parent = NewParent();
    CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE, 10, 10, 400, 200, parent,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListId)), nullptr, nullptr);
    return parent;
  }
  static std::vector<Column> ColumnsOf(HWND dialog) { return HeaderColumns(GetDlgItem(dialog, kSizeHeaderId)); }
  bool registered_ = false;
};

TEST_F(SizeListColumnsTest, FirstShowComputesThenTheRememberedWidthsComeBack) {
  HWND first = NewDialog();
  ASSERT_TRUE(SetUpSizeListColumns(first, kListId, kSizeHeaderId, 28));
  const std::vector<Column> computed = {{"Name", 120}, {"Width", 80}, {"Unit", 80}, {"Active", 80}, {"Key", 400}};
  EXPECT_EQ(ColumnsOf(first), computed);
  // Wires, tracks and arcs share one remembered set (kind 1); the user
  // dragged "Name" wider while the list was shown.
  ColumnWidthEntry** slot = ColumnLayoutSlot(1);
  ASSERT_NE(slot, nullptr);
  ASSERT_NE(*slot, nullptr);
  (*slot)[0].width = 170;
  HWND second = NewDialog();
  ASSERT_TRUE(SetUpSizeListColumns(second, kListId, kSizeHeaderId, 2));
  const std::vector<Column> restored = {{"Name", 170}, {"Width", 80}, {"Unit", 80}, {"Active", 80}, {"Key", 400}};
  EXPECT_EQ(ColumnsOf(second), restored);
  // Another kind keeps its own set.
  HWND third = NewDialog();
  ASSERT_TRUE(SetUpSizeListColumns(third, kListId, kSizeHeaderId, 17));
  const std::vector<Column> vias = {{"Name", 120}, {"Outer", 60}, {"Inner", 60}, {"Unit", 60}, {"Active", 60},
                                    {"Key", 400}};
  EXPECT_EQ(ColumnsOf(third), vias);
}

TEST_F(SizeListColumnsTest, UnusableRememberedWidthsAreComputedAfresh) {
  ColumnWidthEntry** slot = ColumnLayoutSlot(5);
  ASSERT_NE(slot, nullptr);
  *slot = static_cast<ColumnWidthEntry*>(std::calloc(4, sizeof(ColumnWidthEntry)));  // widths 0
  HWND dialog = NewDialog();
  ASSERT_TRUE(SetUpSizeListColumns(dialog, kListId, kSizeHeaderId, 5));
  const std::vector<Column> want = {{"Name", 200}, {"Size", 80}, {"Active", 80}, {"Key", 400}};
  EXPECT_EQ(ColumnsOf(dialog), want);
  EXPECT_EQ((*slot)[0].width, 200);
}

TEST_F(SizeListColumnsTest, TypesWithoutASizeListGetNoColumns) {
  for (int type : {0, 4, 8, 20, 46 + 2}) {
    SCOPED_TRACE(type);
    HWND dialog = NewDialog();
    EXPECT_FALSE(SetUpSizeListColumns(dialog, kListId, kSizeHeaderId, type));
    EXPECT_TRUE(ColumnsOf(dialog).empty());
  }
  HWND noList = NewParent();
  ASSERT_NE(noList, nullptr);
  EXPECT_FALSE(SetUpSizeListColumns(noList, kListId, kSizeHeaderId, 1));
}

TEST_F(SizeListColumnsTest, FreeingClearsOneSlotOrEvery) {
  for (int kind : {1, 4, 12, 275, 30010, 30013}) {
    ColumnWidthEntry** slot = ColumnLayoutSlot(kind);
    ASSERT_NE(slot, nullptr) << kind;
    *slot = static_cast<ColumnWidthEntry*>(std::calloc(6, sizeof(ColumnWidthEntry)));
  }
  EXPECT_EQ(ColumnLayoutSlot(18), nullptr);
  EXPECT_EQ(ColumnLayoutSlot(30015), nullptr);
  FreeColumnLayout(4);
  EXPECT_EQ(*ColumnLayoutSlot(4), nullptr);
  EXPECT_NE(*ColumnLayoutSlot(12), nullptr);
  FreeAllColumnLayouts();
  for (int kind : {1, 12, 275, 30010, 30013}) EXPECT_EQ(*ColumnLayoutSlot(kind), nullptr) << kind;
}

}  // namespace
