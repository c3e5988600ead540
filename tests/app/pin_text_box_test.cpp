// The box of a pin's name text (27): the name measured in the design font,
// placed at its pin's origin plus its own position, turned by its rotation.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "edit/item_box_seams.h"
#include "objects/graphic_records.h"
#include "objects/type_codes.h"
#include "tests/objects/locator_font.h"

namespace {

constexpr std::int32_t kSize = 10;

struct PinText {
  std::string name = "AB";
  pl3::Point position{5000, -3000};
  pl3::Transform rotation{};  // a, b, c, d only; all 0 for none
  std::uint32_t justification = 4 | 16;
};

std::vector<std::uint8_t> Payload(const PinText& t) {
  std::vector<std::uint8_t> bytes(offsetof(PinNameTextPayload, name) + t.name.size() + 1, 0);
  PinNameTextPayload head{};
  head.layer = 24;
  head.size = kSize;
  head.style = 3;
  head.justification = t.justification;
  head.rotation[0] = t.rotation.a;
  head.rotation[1] = t.rotation.b;
  head.rotation[2] = t.rotation.c;
  head.rotation[3] = t.rotation.d;
  head.x = t.position.x;
  head.y = t.position.y;
  std::memcpy(bytes.data(), &head, offsetof(PinNameTextPayload, name));
  std::memcpy(bytes.data() + offsetof(PinNameTextPayload, name), t.name.c_str(), t.name.size() + 1);
  return bytes;
}

class PinTextBox : public testing::Test {
 protected:
  void SetUp() override {
    towertest::EnsureStoreStarted();
    font_ = std::make_unique<locatorfont::Font>();
    pin_ = towertest::NewTopLevelEntity(Type_SymbolPin);
  }
  void TearDown() override {
    DeleteEntity(pin_);
    ReleaseTower(&pin_);
    font_.reset();
  }
  void SetPinOrigin(pl3::Point at) {
    const std::int32_t origin[3] = {at.x, at.y, 0};
    Tower* t = InsertEntity(pin_, sizeof origin, Type_Origin, origin);
    ReleaseTower(&t);
  }
  // The text's box under the pin, or 0 with the box left as it was.
  int BoxOf(const std::vector<std::uint8_t>& payload, pl3::Box* box) {
    Tower* text = InsertEntity(pin_, static_cast<std::uint32_t>(payload.size()), 27, payload.data());
    const int found = GetPinTextBox(text, box);
    DeleteEntity(text);
    ReleaseTower(&text);
    return found;
  }
  pl3::Box BoxOf(const PinText& t) {
    pl3::Box box{};
    EXPECT_EQ(BoxOf(Payload(t), &box), 1);
    return box;
  }

  std::unique_ptr<locatorfont::Font> font_;
  Tower* pin_ = nullptr;
};

TEST_F(PinTextBox, TheNameIsMeasuredAtThePinOriginPlusItsPosition) {
  const pl3::Box atZero = BoxOf(PinText{});
  EXPECT_EQ(atZero.xmax - atZero.xmin, 2 * locatorfont::CharacterWidth(kSize)) << "two characters wide";
  EXPECT_EQ(atZero.ymax - atZero.ymin, locatorfont::GlyphHeight(kSize));

  PinText moved;
  moved.position = {5000 + 70000, -3000 - 20000};
  const pl3::Box byPosition = BoxOf(moved);
  EXPECT_EQ(byPosition.xmin, atZero.xmin + 70000);
  EXPECT_EQ(byPosition.ymin, atZero.ymin - 20000);

  SetPinOrigin({1000000, 2000000});
  const pl3::Box byOrigin = BoxOf(PinText{});
  EXPECT_EQ(byOrigin.xmin, atZero.xmin + 1000000);
  EXPECT_EQ(byOrigin.ymax, atZero.ymax + 2000000);

  PinText longer;
  longer.name = "ABCD";
  const pl3::Box wider = BoxOf(longer);
  EXPECT_EQ(wider.xmax - wider.xmin, 4 * locatorfont::CharacterWidth(kSize));
}

TEST_F(PinTextBox, ARotationTurnsTheBox) {
  PinText turned;
  turned.rotation = pl3::R90;
  turned.justification = 0;  // centred both ways: the box turns about the text's point
  const pl3::Box box = BoxOf(turned);
  EXPECT_EQ(box.ymax - box.ymin, 2 * locatorfont::CharacterWidth(kSize));
  EXPECT_EQ(box.xmax - box.xmin, locatorfont::GlyphHeight(kSize));
}

TEST_F(PinTextBox, BadRecordsGiveNoBox) {
  const pl3::Box untouched{1, 2, 3, 4};
  // The store rounds payloads up to 16 bytes with zeros: a name that runs to
  // the end of a 64-byte payload has no NUL.
  PinText full;
  full.name = "ABCDEFGH";
  std::vector<std::uint8_t> unterminated = Payload(full);
  unterminated.pop_back();
  ASSERT_EQ(unterminated.size(), 64u);
  const std::vector<std::uint8_t> cases[] = {
      unterminated,
      std::vector<std::uint8_t>(48, 0),  // no room for a name
      std::vector<std::uint8_t>(12, 0),
  };
  for (const auto& payload : cases) {
    pl3::Box box = untouched;
    EXPECT_EQ(BoxOf(payload, &box), 0) << payload.size();
    EXPECT_EQ(std::memcmp(&box, &untouched, sizeof box), 0);
  }
  // Another type is not a pin text.
  const std::vector<std::uint8_t> text = Payload(PinText{});
  Tower* other = InsertEntity(pin_, static_cast<std::uint32_t>(text.size()), Type_Text, text.data());
  pl3::Box box = untouched;
  EXPECT_EQ(GetPinTextBox(other, &box), 0);
  EXPECT_EQ(GetPinTextBox(nullptr, &box), 0);
  DeleteEntity(other);
  ReleaseTower(&other);
}

}  // namespace
