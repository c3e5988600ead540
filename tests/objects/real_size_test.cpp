#include <gtest/gtest.h>

#include <cstring>

#include "edit/window_data.h"
#include "objects/entity_record.h"
#include "objects/layer_table.h"
#include "objects/real_size.h"
#include "objects/size_text.h"
#include "objects/type_codes.h"
#include "platform/responder.h"

namespace {

std::unique_ptr<SizeTable> PcbSizes() {
  const char* text = DefaultSizeText(kEditorPcb);
  return ParseSizeText(text, std::strlen(text));
}

const pl3::ResponderRecord& LastBox() { return pl3::ResponderRecords().back(); }

TEST(ReturnRealSize, ListsByType) {
  auto t = PcbSizes();
  for (std::uint16_t type : {1, 2, 10, 19, 37}) EXPECT_EQ(ReturnRealSizeIn(t.get(), type, 2), 146304) << type;
  EXPECT_EQ(ReturnRealSizeIn(t.get(), 3, 0), 216000);
  EXPECT_EQ(ReturnRealSizeIn(t.get(), 5, 3), 16);
  EXPECT_EQ(ReturnRealSizeIn(t.get(), 6, 1, 0), 576000);
  EXPECT_EQ(ReturnRealSizeIn(t.get(), 6, 1, 1), 576000);
  for (std::uint16_t type : {7, 46, 47}) EXPECT_EQ(ReturnRealSizeIn(t.get(), type, 23), 1800000) << type;
  // Holes answer the second value with the first.
  EXPECT_EQ(ReturnRealSizeIn(t.get(), 7, 23, 1), 1800000);
  EXPECT_EQ(ReturnRealSizeIn(t.get(), 17, 1, 0), 288000);
  EXPECT_EQ(ReturnRealSizeIn(t.get(), 17, 1, 1), 503999);
  EXPECT_EQ(ReturnRealSizeIn(t.get(), 38, 9999), 1);
  EXPECT_EQ(ReturnRealSizeIn(t.get(), 39, 0), 1);
  EXPECT_TRUE(pl3::ResponderRecords().empty());
}

TEST(ReturnRealSize, IndexPastTheEndUsesTheLastEntry) {
  auto t = PcbSizes();
  ASSERT_EQ((*t)[SizeKind_Lines].count(), 36u);
  EXPECT_EQ(ReturnRealSizeIn(t.get(), 1, 99), (*t)[SizeKind_Lines].entries[35].value1);
  ASSERT_EQ(pl3::ResponderRecords().size(), 1u);
  EXPECT_EQ(LastBox().text, "ReturnRealSize out of range [1,99]\n");
  EXPECT_EQ(LastBox().caption, "Error");
  EXPECT_EQ(ReturnRealSizeIn(t.get(), 17, 0xFFFFFFFF, 1), (*t)[SizeKind_Vias].entries[7].value2);
  EXPECT_EQ(LastBox().text, "ReturnRealSize out of range [17,-1]\n");
}

// An empty list (or no table at all) has no entry to fall back on: the
// message is shown and the size is 0, nothing is read past the list.
TEST(ReturnRealSize, EmptyListIsSafe) {
  auto t = NewSizeTable();
  EXPECT_EQ(ReturnRealSizeIn(t.get(), 1, 0), 0);
  EXPECT_EQ(LastBox().text, "ReturnRealSize out of range [1,0]\n");
  EXPECT_EQ(ReturnRealSizeIn(nullptr, 6, 3, 1), 0);
  EXPECT_EQ(LastBox().text, "ReturnRealSize out of range [6,3]\n");
  EXPECT_EQ(pl3::ResponderRecords().size(), 2u);
}

TEST(ReturnRealSize, InvalidTypes) {
  auto t = PcbSizes();
  for (std::uint16_t type : {0, 11, 28, 35, 48, 106, 65535}) {
    pl3::ClearResponderRecords();
    EXPECT_EQ(ReturnRealSizeIn(t.get(), type, 0), 0) << type;
    ASSERT_EQ(pl3::ResponderRecords().size(), 1u) << type;
    EXPECT_EQ(LastBox().text, "Internal Error - Invalid type for size request");
    EXPECT_EQ(LastBox().caption, "ReturnRealSize");
    EXPECT_EQ(LastBox().flags & MB_SYSTEMMODAL, MB_SYSTEMMODAL);
    EXPECT_EQ(LastBox().flags & MB_ICONMASK, MB_ICONEXCLAMATION);
  }
}

TEST(ReturnRealSize, ReadsTheActiveWindowTable) {
  auto t = PcbSizes();
  CurrentWindowData window{kEditorPcb, nullptr, 0};
  window.sizeTable = t.get();
  ActiveWindowData = &window;
  EXPECT_EQ(ReturnRealSize(3, 0), 216000);
  window.sizeTable = nullptr;  // a kind without sizes
  EXPECT_EQ(ReturnRealSize(3, 0), 0);
  ActiveWindowData = nullptr;
  EXPECT_EQ(ReturnRealSize(3, 0), 0);
}

// ---- ResolveEntitySizes ---------------------------------------------------------

std::unique_ptr<SizeTable> SmallTable() {
  auto t = NewSizeTable();
  auto add = [&](std::uint32_t kind, std::int32_t v1, std::int32_t v2) {
    SizeEntry e{};
    e.index = (*t)[kind].count();
    e.value1 = v1;
    e.value2 = v2;
    (*t)[kind].entries.push_back(e);
  };
  add(SizeKind_Lines, 1000, 0);
  add(SizeKind_Lines, 2000, 0);
  add(SizeKind_Circles, 3000, 0);
  add(SizeKind_Rectangles, 5, 7);
  add(SizeKind_Holes, 4000, 4444);
  add(SizeKind_Vias, 6000, 9000);
  add(SizeKind_Fonts, 24, 0);
  return t;
}

TEST(ResolveEntitySizes, WritesIndexedSizesByType) {
  auto t = SmallTable();
  for (std::uint16_t type : {1, 2, 10, 11, 37}) {
    LinePayload line{};
    line.head.sizeFlags = kSizeByIndex;
    line.head.sizeIndex = 1;
    EXPECT_EQ(ResolveEntitySizesIn(t.get(), &line, type), 1) << type;
    EXPECT_EQ(line.width, 2000) << type;
  }
  LinePayload custom{};
  custom.width = 77;
  EXPECT_EQ(ResolveEntitySizesIn(t.get(), &custom, 1), 0);
  EXPECT_EQ(custom.width, 77);

  CirclePayload circle{};
  circle.head.sizeFlags = kSizeByIndex;
  EXPECT_EQ(ResolveEntitySizesIn(t.get(), &circle, 3), 1);
  EXPECT_EQ(circle.size, 3000);

  LinePayload slot{};
  slot.head.sizeFlags = kSizeByIndex;
  EXPECT_EQ(ResolveEntitySizesIn(t.get(), &slot, Type_PlatedSlot), 1);
  EXPECT_EQ(slot.width, 4000);

  EntityRecord text{};
  text.head().sizeFlags = kSizeByIndex;
  EXPECT_EQ(ResolveEntitySizesIn(t.get(), text.payload, Type_Text), 1);
  EXPECT_EQ(text.as<TextPayload>().size, 24);

  LocatorPayload locator{};
  locator.head.sizeFlags = kSizeByIndex;
  EXPECT_EQ(ResolveEntitySizesIn(t.get(), &locator, Type_AttributeLocator), 1);
  EXPECT_EQ(locator.textSize, 24);

  DimensionerPayload dim{};
  dim.flags = kDimensionerTextByIndex;
  dim.textSizeIndex = 0;
  EXPECT_EQ(ResolveEntitySizesIn(t.get(), &dim, Type_Dimensioner), 1);
  EXPECT_EQ(dim.textSize, 24);
  dim.flags = 0;
  dim.textSize = 5;
  EXPECT_EQ(ResolveEntitySizesIn(t.get(), &dim, Type_AngleDimensioner), 0);
  EXPECT_EQ(dim.textSize, 5);

  LinePayload other{};
  other.head.sizeFlags = kSizeByIndex;
  EXPECT_EQ(ResolveEntitySizesIn(t.get(), &other, Type_Wire), 0);
  EXPECT_TRUE(pl3::ResponderRecords().empty());
}

// An odd width loses its odd unit toward minus infinity: width 5 spans 4.
TEST(ResolveEntitySizes, RectangleCornersUseArithmeticHalving) {
  auto t = SmallTable();
  RectanglePayload r{};
  r.rect.head.sizeFlags = kSizeByIndex;
  r.rect.centreX = 100;
  r.rect.centreY = -50;
  EXPECT_EQ(ResolveEntitySizesIn(t.get(), &r, Type_Rectangle), 1);
  EXPECT_EQ(r.rect.corners[0].x, 98);
  EXPECT_EQ(r.rect.corners[0].y, -53);
  EXPECT_EQ(r.rect.corners[1].x, 102);
  EXPECT_EQ(r.rect.corners[1].y, -53);
  EXPECT_EQ(r.rect.corners[2].x, 102);
  EXPECT_EQ(r.rect.corners[2].y, -47);
  EXPECT_EQ(r.rect.corners[3].x, 98);
  EXPECT_EQ(r.rect.corners[3].y, -47);
}

TEST(ResolveEntitySizes, HolesAndViasAreRewrittenButReportNothing) {
  auto t = SmallTable();
  HolePayload hole{};
  hole.hole.head.sizeFlags = kSizeByIndex;
  EXPECT_EQ(ResolveEntitySizesIn(t.get(), &hole, Type_Hole), 0);
  EXPECT_EQ(hole.hole.size1, 4000);
  EXPECT_EQ(hole.hole.size2, 4000);  // both from the entry's first value
  hole.hole.flags = kHoleIsVia;
  EXPECT_EQ(ResolveEntitySizesIn(t.get(), &hole, Type_Hole), 0);
  EXPECT_EQ(hole.hole.size1, 6000);
  EXPECT_EQ(hole.hole.size2, 9000);
}

TEST(ResolveEntitySizes, LabelAndDesignatorInfo) {
  auto t = SmallTable();
  std::uint8_t label[64] = {};
  const std::uint16_t byIndex = kSizeByIndex;
  std::memcpy(label + 2, &byIndex, 2);
  EXPECT_EQ(ResolveEntitySizesIn(t.get(), label, Type_Label), 1);
  std::int32_t size = 0;
  std::memcpy(&size, label + 16, 4);
  EXPECT_EQ(size, 24);

  std::uint8_t info[20] = {};
  const std::int32_t explicitSize = 99;
  std::memcpy(info + 12, &explicitSize, 4);
  const std::uint16_t custom = kSizeByIndex | kSizeCustom;
  std::memcpy(info, &custom, 2);
  EXPECT_EQ(ResolveEntitySizesIn(t.get(), info, Type_DesignatorInfo), 0);  // custom size kept
  std::memcpy(&size, info + 12, 4);
  EXPECT_EQ(size, 99);
  std::memcpy(info, &byIndex, 2);
  EXPECT_EQ(ResolveEntitySizesIn(t.get(), info, 310), 1);
  std::memcpy(&size, info + 12, 4);
  EXPECT_EQ(size, 24);
}

// ---- InitialiseEntityRecord and size marks --------------------------------------

std::uint32_t g_setting = 0;
std::uint32_t* SettingSource(std::uint16_t code) { return code == kConfigTextLayerSetting ? &g_setting : nullptr; }

TEST(InitialiseEntityRecord, FillsTheHeadAndKeepsTheRest) {
  CurrentWindowData window{kEditorPcb, nullptr, 0};
  window.CurrentLayer = 12;
  ActiveWindowData = &window;
  auto record = NewEntityRecord();
  std::memset(record->payload, 0xAB, sizeof record->payload);
  const Transform placed = {1, 2, 3, 4, 5, 6};
  EXPECT_EQ(InitialiseEntityRecord(record.get(), Type_Track, &placed, 7), record.get());
  EXPECT_EQ(record->header.recordType, Type_Track);
  EXPECT_EQ(record->header.state, 0);
  EXPECT_EQ(record->header.headerLayer, 12);
  EXPECT_EQ(record->header.transform.tx, 5);
  const GraphicHead& head = record->head();
  EXPECT_EQ(head.layer, 7);
  EXPECT_EQ(head.netIds[0], 0u);
  EXPECT_EQ(head.netIds[1], 0u);
  EXPECT_EQ(head.marks[0], 0);
  EXPECT_EQ(head.marks[1], 0xAB);
  EXPECT_EQ(head.marks[2], 0xAB);
  EXPECT_EQ(head.reserved, 0u);
  EXPECT_EQ(head.transform.a, pl3::kFixedOne);
  EXPECT_EQ(head.transform.d, pl3::kFixedOne);
  EXPECT_EQ(head.transform.tx, 0);
  EXPECT_EQ(head.sizeFlags, 0xABAB);  // the caller's
  EXPECT_EQ(record->payload[48], 0xAB);
}

TEST(InitialiseEntityRecord, ConfigurationSettingOf255BecomesSixExceptForText) {
  SetConfigurationWordSource(&SettingSource);
  auto record = NewEntityRecord();
  g_setting = 255;
  InitialiseEntityRecord(record.get(), Type_Text, nullptr, 0);
  EXPECT_EQ(g_setting, 255u);
  InitialiseEntityRecord(record.get(), Type_Circle, nullptr, 0);
  EXPECT_EQ(g_setting, 6u);
  g_setting = 4;
  InitialiseEntityRecord(record.get(), Type_Circle, nullptr, 0);
  EXPECT_EQ(g_setting, 4u);
}

TEST(SizeEntryMarks, MarkAndClear) {
  auto t = SmallTable();
  CurrentWindowData window{kEditorPcb, nullptr, 0};
  window.sizeTable = t.get();
  ActiveWindowData = &window;
  EXPECT_TRUE(MarkActiveSizeEntry(SizeKind_Lines, 1, true));
  EXPECT_EQ((*t)[SizeKind_Lines].entries[1].flags & kSizeEntryInUse, kSizeEntryInUse);
  EXPECT_EQ((*t)[SizeKind_Lines].defaultIndex, 1u);
  EXPECT_FALSE(MarkActiveSizeEntry(SizeKind_Lines, 2, false));
  EXPECT_FALSE(MarkActiveSizeEntry(7, 0, false));
  (*t)[SizeKind_Dots].entries[0].flags |= kSizeEntryInUse;
  ClearSizeEntryMarks();
  for (const SizeList& list : t->lists)
    for (const SizeEntry& e : list.entries) EXPECT_EQ(e.flags & kSizeEntryInUse, 0u);
  EXPECT_EQ((*t)[SizeKind_Dots].entries[0].flags, kSizeEntryOn);
}

}  // namespace
