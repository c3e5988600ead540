#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "draw/grids.h"
#include "../geometry/raster_fixture.h"
#include "objects/datums.h"
#include "objects/entity_record.h"
#include "platform/dialog_hooks.h"
#include "platform/gdi.h"
#include "platform/responder.h"
#include "platform/surface.h"
#include "tests/objects/info_box_fixture.h"

namespace {

// What the name prompt answers: the text, or Cancel for null.
const char* gAnswer = nullptr;
std::string gAskedCaption;

// Answers "EnterTextDlg" as a user would: notes its caption and prompt,
// types gAnswer and presses OK, or Cancel when there is no answer.
void AnswerName(HWND dialog) {
  char caption[128] = {};
  char prompt[128] = {};
  GetWindowText(dialog, caption, sizeof caption);
  GetDlgItemText(dialog, 53, prompt, sizeof prompt);
  gAskedCaption = std::string(caption) + "|" + prompt;
  if (gAnswer) pl3::TypeDialogText(dialog, 72, gAnswer);
  pl3::ClickDialogButton(dialog, gAnswer ? IDOK : IDCANCEL);
}

// One pixel of the view is 20,000 world units: a text size of 12 gives arms
// of 1,572,864 / 20,000 = 78 pixels, barbs of 26.
constexpr std::int32_t kZoom = 20000;

class DatumPlacingTest : public InfoBoxFixture {
 protected:
  void SetUp() override {
    InfoBoxFixture::SetUp();
    window->Zoom = kZoom;
    window->ViewFlags |= kViewSnapOff;  // points are taken as clicked, off the grid
    SizeEntry second = (*sizes)[SizeKind_Fonts].entries[0];
    (*sizes)[SizeKind_Fonts].entries.push_back(second);
    (*sizes)[SizeKind_Fonts].defaultIndex = 1;
    pl3::SetDialogHook("EnterTextDlg", &AnswerName);
    gAnswer = nullptr;
    gAskedCaption.clear();
  }
  void TearDown() override {
    delete slot;
    InfoBoxFixture::TearDown();
  }
  DatumPayload& Placed() { return slot->as<DatumPayload>(); }
  static std::vector<std::uint8_t> Datum(const char* name, std::int32_t px, std::int32_t py) {
    std::vector<std::uint8_t> bytes(kDatumRoom, 0);
    auto* d = reinterpret_cast<DatumPayload*>(bytes.data());
    d->head.sizeFlags = 1;
    d->x = px * kZoom + kZoom / 2;
    d->y = py * kZoom + kZoom / 2;
    std::strcpy(d->name, name);
    return bytes;
  }
  EntityRecord* slot = nullptr;
};

TEST_F(DatumPlacingTest, ArmingNeedsAnIdleWindow) {
  window->WalkFlags = 0x41;
  window->ClickState = 3;
  ASSERT_EQ(SetInsertDatumMode(), 1);
  EXPECT_EQ(window->InsertType, Type_Datum);
  EXPECT_EQ(window->ClickState, 0u);
  EXPECT_EQ(window->WalkFlags, 0x1u);
  window->EditMode = 75;
  window->InsertType = 22;
  EXPECT_EQ(SetInsertDatumMode(), 0);
  EXPECT_EQ(window->InsertType, 22);
}

TEST_F(DatumPlacingTest, ANewDatumIsPromptedForAndAClashRefused) {
  ASSERT_EQ(EnsureMasterDatum(design), 1);
  gAnswer = "MASTER";
  EXPECT_EQ(StartNewDatum(nullptr, &slot, {1000, 2000}), 0);
  EXPECT_EQ(slot, nullptr);
  EXPECT_EQ(window->EditMode, 0);
  EXPECT_EQ(gAskedCaption, "Start New Datum|Enter new datum name");
  ASSERT_EQ(pl3::ResponderRecords().size(), 1u);
  EXPECT_EQ(pl3::ResponderRecords()[0].text, "A datum of this name already exists.");
  EXPECT_EQ(pl3::ResponderRecords()[0].caption, "Start New Datum");

  gAnswer = nullptr;  // Cancel
  EXPECT_EQ(StartNewDatum(nullptr, &slot, {1000, 2000}), 0);
  EXPECT_EQ(slot, nullptr);

  gAnswer = "master";  // names compare with case
  ASSERT_EQ(StartNewDatum(nullptr, &slot, {1000, 2000}), 1);
  ASSERT_NE(slot, nullptr);
  EXPECT_EQ(slot->header.recordType, Type_Datum);
  EXPECT_EQ(Placed().head.sizeFlags, 1);
  EXPECT_EQ(Placed().head.sizeIndex, 1u);
  EXPECT_EQ(Placed().x, 1000);
  EXPECT_EQ(Placed().y, 2000);
  EXPECT_EQ(Placed().keyStroke, 0);
  EXPECT_EQ(DatumName(&Placed()), "master");
  EXPECT_EQ(window->EditMode, kModePlacingDatum);
  EXPECT_EQ(window->InsertionTypeCode, Type_Datum);
}

TEST_F(DatumPlacingTest, ALongNameIsCutToTheRecord) {
  const std::string name(3000, 'n');
  gAnswer = name.c_str();
  ASSERT_EQ(StartNewDatum(nullptr, &slot, {1000, 2000}), 1);
  EXPECT_EQ(DatumName(&Placed()).size(), kDatumNameRoom - 1);
}

TEST_F(DatumPlacingTest, TheGhostFollowsTheCursorAndTheClickStoresTheDatum) {
  gAnswer = "D1";
  ASSERT_EQ(StartNewDatum(nullptr, &slot, {1000, 2000}), 1);
  MoveDatumGhost(nullptr, slot, {5000000, 6000000});
  EXPECT_EQ(Placed().x, 5000000);
  EXPECT_EQ(Placed().y, 6000000);
  window->InsertType = Type_Datum;
  ASSERT_EQ(InsertDatum(&slot), 1);
  EXPECT_EQ(slot, nullptr);
  EXPECT_EQ(window->EditMode, 0);
  EXPECT_EQ(window->InsertType, 0);
  EXPECT_EQ(window->InsertionTypeCode, 0);
  const DatumPayload* stored = FindDatumByName(design, "D1");
  ASSERT_NE(stored, nullptr);
  EXPECT_EQ(stored->x, 5000000);
  EXPECT_EQ(stored->head.sizeIndex, 1u);
  EXPECT_EQ(InsertDatum(&slot), 0);
}

TEST_F(DatumPlacingTest, DrawingPutsTheArmsInTheDatumColourAndUpperRightTurnsThem) {
  geomtest::Plane plane(200, 200);
  plane.view.zoom = kZoom;
  window->StateFlags = 0x10;
  const auto normal = Datum("D", 100, 100);
  DrawDatum(nullptr, reinterpret_cast<const DatumPayload*>(normal.data()));
  EXPECT_EQ(plane.At(100, 30), 0x820000u) << "the vertical arm runs up";
  EXPECT_EQ(plane.At(170, 100), 0x820000u) << "the horizontal arm runs right";
  EXPECT_EQ(plane.At(100, 170), 0u);
  EXPECT_EQ(plane.At(30, 100), 0u);
  EXPECT_EQ(pl3::g_raster.fillValue, 1u);
  EXPECT_EQ(window->StateFlags, 0x10u);

  plane.Clear();
  const auto turned = Datum("UPPER_RIGHT", 100, 100);
  DrawDatum(nullptr, reinterpret_cast<const DatumPayload*>(turned.data()));
  EXPECT_EQ(plane.At(100, 170), 0x820000u);
  EXPECT_EQ(plane.At(30, 100), 0x820000u);
  EXPECT_EQ(plane.At(100, 30), 0u);

  plane.Clear();
  const auto lower = Datum("upper_right", 100, 100);
  DrawDatum(nullptr, reinterpret_cast<const DatumPayload*>(lower.data()));
  EXPECT_EQ(plane.At(100, 30), 0x820000u);
}

TEST_F(DatumPlacingTest, TheGhostErasesItselfAndPutsThePenBack) {
  std::vector<std::uint32_t> pixels(200 * 200);
  for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = (i * 2654435761u) & 0xFFFFFF;
  pl3::PixelSurface surface{pixels.data(), 200, 200, 200};
  HDC dc = pl3::CreateSurfaceDC(&surface, POINT{0, 0}, RECT{0, 0, 200, 200});
  std::vector<std::uint32_t> colours(65536, 0x102030);
  window->ColourTable = colours.data();
  UpdateViewGlobals();
  const int rop = GetROP2(dc);
  const auto datum = Datum("D", 100, 100);
  const std::vector<std::uint32_t> before = pixels;
  GhostDatum(dc, reinterpret_cast<const DatumPayload*>(datum.data()));
  int changed = 0;
  for (std::size_t i = 0; i < pixels.size(); ++i) changed += pixels[i] != before[i];
  EXPECT_GT(changed, 150);
  EXPECT_NE(pixels[30 * 200 + 100], before[30 * 200 + 100]);
  EXPECT_EQ(GetROP2(dc), rop);
  GhostDatum(dc, reinterpret_cast<const DatumPayload*>(datum.data()));
  EXPECT_EQ(pixels, before);
  pl3::DeleteSurfaceDC(dc);
}

}  // namespace
