// The text items of the design objects: the head as the drawing code reads
// it, and the string box laid out before the item is handed back.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "objects/graphic_records.h"
#include "objects/text_item_services.h"
#include "tests/objects/locator_font.h"

namespace {

struct FreeItem {
  void operator()(TextPayload* p) const { std::free(p); }
};
using Item = std::unique_ptr<TextPayload, FreeItem>;

pl3::Box StringBox(const TextPayload* item) {
  pl3::Box box;
  std::memcpy(&box, reinterpret_cast<const std::uint8_t*>(item) + 56, sizeof box);
  return box;
}

bool Same(const pl3::Transform& a, const pl3::Transform& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

std::uint32_t FontWord(const TextPayload* item) {
  std::uint32_t font;
  std::memcpy(&font, item->bytes52, sizeof font);
  return font;
}

class TextItems : public testing::Test {
 protected:
  void SetUp() override {
    towertest::EnsureStoreStarted();
    font = std::make_unique<locatorfont::Font>();
  }
  void TearDown() override { font.reset(); }
  std::unique_ptr<locatorfont::Font> font;
};

TEST_F(TextItems, ExplicitSizeItemIsLaidOut) {
  const pl3::Transform at{0, pl3::kFixedOne, -pl3::kFixedOne, 0, 500, 600};
  Item item(CreateTextItemEx("AB", 10, 9, &at, 36, 3));
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->head.layer, 9);
  EXPECT_EQ(item->head.sizeFlags & kSizeByIndex, 0);
  EXPECT_EQ(item->size, 10);
  EXPECT_EQ(FontWord(item.get()), 3u);
  EXPECT_EQ(item->justification, 36u);
  EXPECT_TRUE(Same(item->textTransform, at));
  EXPECT_STREQ(item->text, "AB");
  // Measured in the font: two characters of 1,000 x size each.
  EXPECT_EQ(StringBox(item.get()).xmin, 0);
  EXPECT_EQ(StringBox(item.get()).xmax, 2 * locatorfont::CharacterWidth(10));
  EXPECT_EQ(StringBox(item.get()).ymax, locatorfont::kGlyphSide);
}

TEST_F(TextItems, IndexedItemKeepsItsIndexForTheLayout) {
  Item item(CreateTextItem("A", 4, 1, &pl3::kIdentityTransform, 0, 7));
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->head.sizeFlags & kSizeByIndex, kSizeByIndex);
  EXPECT_EQ(item->head.sizeIndex, 4u);
  EXPECT_EQ(FontWord(item.get()), 7u);
}

TEST_F(TextItems, LongAndMissingTextsAreBounded) {
  const std::string longText(3000, 'x');
  Item cut(CreateTextItemEx(longText.c_str(), 1, 0, nullptr, 0, 3));
  ASSERT_NE(cut, nullptr);
  EXPECT_EQ(std::strlen(cut->text), kTextMaxBytes - 1) << "a text record holds 2,047 characters";
  EXPECT_TRUE(Same(cut->textTransform, pl3::kIdentityTransform)) << "no transform: the identity";
  Item none(CreateTextItemEx(nullptr, 1, 0, nullptr, 0, 3));
  ASSERT_NE(none, nullptr);
  EXPECT_STREQ(none->text, "");
  EXPECT_EQ(StringBox(none.get()).xmax, 0);
}

}  // namespace
