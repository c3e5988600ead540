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

struct Column {
  std::string title;
  int width;
  bool operator==(const Column&) const = default;
};

class ColumnSetsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dialog = MakeTestParentWindow("ColumnSetsParent");
    ASSERT_NE(dialog, nullptr);
    header = CreateWindowExA(0, WC_HEADER, "", WS_CHILD | WS_VISIBLE, 0, 0, 300, 24, dialog,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(kHeaderId)), nullptr, nullptr);
    ASSERT_NE(header, nullptr);
  }

  std::vector<Column> Columns() const {
    std::vector<Column> out;
    const int n = static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
      char text[64] = "";
      HDITEM item{};
      item.mask = HDI_TEXT | HDI_WIDTH;
      item.pszText = text;
      item.cchTextMax = sizeof text;
      SendMessageA(header, HDM_GETITEM, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
      out.push_back({text, item.cxy});
    }
    return out;
  }

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

}  // namespace
