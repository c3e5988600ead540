#include "objects/command_workers.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "command_fixture.h"
#include "command_seam_fakes.h"
#include "geometry/raster_state.h"
#include "objects/payload_access.h"
#include "objects/symbol_seams.h"
#include "objects/type_codes.h"

using commandtest::Calls;
using editorfakes::calls;

namespace {

// The pad-stack layer the shape is placed on: layer 3 has one.
Tower* gPadStackLayer = nullptr;

}  // namespace

Tower* FindPadStackLayer(const Tower*, std::uint8_t layer) {
  return layer == 3 && gPadStackLayer ? DuplicateTower(gPadStackLayer) : nullptr;
}

namespace {

class CommandWorkers : public commandtest::CommandTest {
 protected:
  void TearDown() override {
    gPadStackLayer = nullptr;
    commandtest::CommandTest::TearDown();
  }
  std::vector<int> CycleInHand(std::uint8_t mode, std::uint16_t type, std::uint8_t start, int times) {
    window->EditMode = mode;
    Pending(type);
    window->AngleAssist = start;
    std::vector<int> seen;
    for (int i = 0; i < times; ++i) {
      CycleAngleAssist(hwnd);
      seen.push_back(window->AngleAssist);
    }
    return seen;
  }
  std::vector<int> CycleSelection(int times) {
    std::vector<int> seen;
    for (int i = 0; i < times; ++i) {
      CycleAngleAssist(hwnd);
      seen.push_back(window->SelectionAngleAssist);
    }
    return seen;
  }
  Tower* Arc(std::int32_t startX, std::int32_t endX) {
    ArcPayload a{};
    a.radius = 1000;
    a.startX = startX;
    a.startY = 1;
    a.endX = endX;
    a.endY = 2;
    a.centreX = 5000;
    a.centreY = 6000;
    return Store(Type_Arc, a);
  }
};

TEST_F(CommandWorkers, AngleAssistOfTheItemInHand) {
  EXPECT_EQ(CycleInHand(68, Type_Wire, 0, 3), (std::vector<int>{1, 0, 1}));  // a wire toggles
  EXPECT_EQ(CycleInHand(69, Type_Bus, 2, 1), (std::vector<int>{0}));
  EXPECT_EQ(CycleInHand(1, Type_Track, 2, 4), (std::vector<int>{0, 1, 2, 0}));
  EXPECT_EQ(CycleInHand(1, Type_Track, 7, 1), (std::vector<int>{0}));
  // The ghost goes before each change and comes back after it.
  calls.clear();
  editorfakes::ghostAssist.clear();
  CycleInHand(1, Type_Track, 0, 1);
  EXPECT_EQ(calls, (Calls{"mode ghost 7", "mode ghost 7"}));
  EXPECT_EQ(editorfakes::ghostAssist, (std::vector<int>{0, 1}));
}

TEST_F(CommandWorkers, AngleAssistOfASelectionOfTracks) {
  window->EditMode = 39;
  Tower* t1 = Store(Type_Track, LinePayload{});
  Tower* t2 = Store(Type_Track, LinePayload{});
  Select({{t1, true}, {t2, true}});
  EXPECT_EQ(CycleSelection(4), (std::vector<int>{2, 1, 0, 2}));
  EXPECT_EQ(editorfakes::Count("status"), 4);
  EXPECT_EQ(editorfakes::Count("mode ghost 6"), 8);
  window->SelectionAngleAssist = 5;
  EXPECT_EQ(CycleSelection(1), (std::vector<int>{1}));

  // A selection that also holds an arc changes nothing.
  calls.clear();
  Select({{t1, true}, {Arc(1, 2), true}});
  window->SelectionAngleAssist = 0;
  EXPECT_EQ(CycleSelection(1), (std::vector<int>{0}));
  EXPECT_TRUE(calls.empty());
  window->SelectionList = nullptr;
  EXPECT_EQ(CycleSelection(1), (std::vector<int>{0}));
}

TEST_F(CommandWorkers, FlipTheItemInHandByItsKind) {
  window->EditMode = 1;
  EntityRecord& track = Pending(Type_Track);
  track.header.headerLayer = 1;
  FlipDirection(hwnd);
  EXPECT_EQ(track.header.headerLayer, 2);
  FlipDirection(hwnd);
  EXPECT_EQ(track.header.headerLayer, 1);
  EXPECT_EQ(calls, (Calls{"mode ghost 7", "mode ghost 7", "mode ghost 7", "mode ghost 7"}));

  calls.clear();
  Pending(Type_Plane);
  FlipDirection(hwnd);
  EXPECT_EQ(calls, (Calls{"reverse in hand"}));

  EntityRecord& spiral = Pending(Type_Spiral);
  spiral.payload[80] = 5;
  FlipDirection(hwnd);
  EXPECT_EQ(spiral.payload[80], 0);
  FlipDirection(hwnd);
  EXPECT_EQ(spiral.payload[80], 1);

  calls.clear();
  Pending(Type_Circle);
  FlipDirection(hwnd);
  EXPECT_TRUE(calls.empty());
  delete window->PendingRecord;
  window->PendingRecord = nullptr;
  FlipDirection(hwnd);
  EXPECT_TRUE(calls.empty());
}

TEST_F(CommandWorkers, FlipASelectedArcTwiceRestoresItsPayload) {
  window->EditMode = 39;
  Tower* arc = Arc(111, 333);
  Select({{arc, true}});
  records[0].grabbedPart = 1;
  std::vector<std::uint8_t> before(TowerPayload(arc), TowerPayload(arc) + sizeof(ArcPayload));
  FlipDirection(hwnd);
  const std::uint8_t* p = TowerPayload(arc);
  EXPECT_EQ(ReadI32(p, 56), 333);  // the start and end vectors changed places
  EXPECT_EQ(ReadI32(p, 60), 2);
  EXPECT_EQ(ReadI32(p, 64), 111);
  EXPECT_EQ(ReadI32(p, 68), 1);
  EXPECT_EQ(ReadI32(p, 52), 1000);  // radius and centre kept
  EXPECT_EQ(ReadI32(p, 72), 5000);
  EXPECT_EQ(records[0].grabbedPart, 2);
  EXPECT_EQ(calls, (Calls{"mode ghost 6", "mode ghost 6"}));
  FlipDirection(hwnd);
  EXPECT_EQ(std::vector<std::uint8_t>(p, p + sizeof(ArcPayload)), before);
  EXPECT_EQ(records[0].grabbedPart, 1);
  records[0].grabbedPart = 0;
  FlipDirection(hwnd);
  EXPECT_EQ(records[0].grabbedPart, 1);
}

TEST_F(CommandWorkers, FlipSelectedTracksBendsTheirDrag) {
  window->EditMode = 45;
  Select({{Store(Type_Track, LinePayload{}), true}});
  EXPECT_EQ(SelectionBendByte, 1);
  FlipDirection(hwnd);
  EXPECT_EQ(SelectionBendByte, 2);
  EXPECT_EQ(calls, (Calls{"selection ghosts bend 1", "selection ghosts bend 2"}));
  FlipDirection(hwnd);
  EXPECT_EQ(SelectionBendByte, 1);
}

TEST_F(CommandWorkers, FlipSelectedPolygonsAndSpiralsAndNothingForTwo) {
  window->EditMode = 39;
  alignas(4) std::uint8_t polygon[PolygonStoredSize(5)] = {};
  polygon[48] = 5;
  Select({{Own(InsertEntity(design, sizeof polygon, Type_PolygonKeepout, polygon)), true}});
  FlipDirection(hwnd);
  EXPECT_EQ(calls, (Calls{"reverse stored 5"}));

  SpiralPayload s{};
  s.mirrored = 0;
  Tower* spiral = Store(Type_Spiral, s);
  Select({{spiral, true}});
  FlipDirection(hwnd);
  EXPECT_EQ(TowerPayload(spiral)[80], 1);

  calls.clear();
  Tower* arc = Arc(111, 333);
  Select({{arc, true}, {Arc(1, 2), true}});
  FlipDirection(hwnd);
  EXPECT_TRUE(calls.empty());
  EXPECT_EQ(ReadI32(TowerPayload(arc), 56), 111);
  Select({{arc, true}, {Arc(1, 2), false}});  // one primary: flipped
  FlipDirection(hwnd);
  EXPECT_EQ(ReadI32(TowerPayload(arc), 56), 333);
}


TEST_F(CommandWorkers, EndShapePlacementOnAPadStackLayer) {
  const std::uint8_t info[44] = {};
  gPadStackLayer = Store(Type_PadStackLayerInfo, info);
  TowerEntity(gPadStackLayer)->flags |= kEntitySelected | kEntitySelectedPart | kEntityHighlighted;
  window->DrawingLayer = 3;
  window->EditMode = 27;
  window->SelectionAngleAssist = 2;
  window->ViewFlags = 0x4 | 0x8;
  window->StateFlags = 0x1 | 0x400;
  Tower* selected = Store(Type_Track, LinePayload{});
  TowerEntity(selected)->flags |= kEntitySelected;
  window->Selection = DuplicateTower(selected);
  EndShapePlacement(hwnd);
  EXPECT_FALSE(TowerEntity(selected)->flags & kEntitySelected);
  EXPECT_EQ(TowerEntity(gPadStackLayer)->flags & (kEntitySelected | kEntitySelectedPart | kEntityHighlighted),
            kEntityHighlighted);
  EXPECT_EQ(window->Selection, nullptr) << "the selection is dropped";
  EXPECT_EQ(window->ViewFlags, 0x8u);
  EXPECT_EQ(window->StateFlags, 0x400u);
  EXPECT_EQ(window->EditMode, 0);
  EXPECT_EQ(window->SelectionAngleAssist, 0);
  EXPECT_EQ(calls, (Calls{"redraw", "cursor 0", "status"}));
  gPadStackLayer = nullptr;
}

TEST_F(CommandWorkers, EndShapePlacementWithoutOneEndsThePick) {
  Tower* picked = Store(Type_Track, LinePayload{});
  TowerEntity(picked)->flags |= kEntitySelected;
  window->Selection = DuplicateTower(picked);
  window->EditMode = 26;
  window->ViewFlags = 0x4;
  window->StateFlags = 0x1;
  ShowWindow(hwnd, SW_SHOW);
  ValidateRect(hwnd, nullptr);
  EndShapePlacement(hwnd);
  EXPECT_FALSE(TowerEntity(picked)->flags & kEntitySelected);
  EXPECT_EQ(window->Selection, nullptr);
  EXPECT_EQ(window->ViewFlags, 0x4u);
  EXPECT_EQ(window->StateFlags, 0u);
  EXPECT_EQ(window->EditMode, 0);
  EXPECT_TRUE(GetUpdateRect(hwnd, nullptr, FALSE)) << "the whole client area is invalidated";
  EXPECT_EQ(calls.back(), "status");
  EXPECT_EQ(editorfakes::Count("redraw"), 1);
  EXPECT_EQ(editorfakes::Count("cursor 0"), 1);
}

TEST_F(CommandWorkers, ViaRecordAtALayerChange) {
  window->ViaLayer = 5;
  window->HoleStyle = 2;
  window->DrawingLayer = 9;
  Tower* via = Own(InsertViaAt(design, 123456, 654321, 4));
  ASSERT_NE(via, nullptr);
  EXPECT_EQ(window->DrawingLayer, 9) << "put back after the engine's notice";
  const Entity* e = TowerEntity(via);
  EXPECT_EQ(e->typeCode, Type_Hole);
  ASSERT_GE(e->payloadSize, sizeof(HolePayload));
  std::vector<std::uint8_t> expected(sizeof(HolePayload), 0);
  std::uint8_t* x = expected.data();
  x[0] = 5;
  WriteU16(x, 2, kSizeByIndex);
  WriteU32(x, 4, 4);
  std::memcpy(x + 24, &pl3::kIdentityTransform, sizeof(pl3::Transform));
  x[48] = 2;
  x[49] = 12;
  WriteI32(x, 60, 123456);
  WriteI32(x, 64, 654321);
  WriteU32(x, 68, 1);
  for (int layer = 0; layer < 256; ++layer) {
    const bool none = layer == 0 || layer == 33 || layer == 36 || layer == 37;
    WriteU16(x, 92 + 2 * layer, none ? 0 : 1);
  }
  EXPECT_EQ(std::vector<std::uint8_t>(EntityPayload(e), EntityPayload(e) + sizeof(HolePayload)), expected)
      << "net ids and every byte not listed are 0";
  EXPECT_EQ(calls, (Calls{"notify 7"}));
  ActiveWindowData = nullptr;
  EXPECT_EQ(InsertViaAt(design, 1, 2, 0), nullptr);
}

TEST_F(CommandWorkers, ThumbnailWithAnotherWindowsState) {
  CurrentWindowData other(kEditorPcb);
  other.Zoom = 5000;
  UpdateViewGlobals();
  const std::uint32_t factor = pl3::g_raster.viewFactor;
  const pl3::Box box{1, 2, 3, 4};
  HBITMAP image = RenderThumbnailWithWindow(design, &other, &box);
  EXPECT_EQ(image, reinterpret_cast<HBITMAP>(static_cast<std::uintptr_t>(0x7B)));
  EXPECT_EQ(commandfakes::thumbnailWindow, &other);
  EXPECT_EQ(commandfakes::thumbnailView, &other.View);
  EXPECT_EQ(ActiveWindowData, window.get());
  EXPECT_EQ(pl3::g_raster.view, &window->View);
  EXPECT_EQ(pl3::g_raster.viewFactor, factor);

  // With no window current the kernel is left as it was too.
  ActiveWindowData = nullptr;
  pl3::g_raster.view = nullptr;
  RenderThumbnailWithWindow(design, &other, &box);
  EXPECT_EQ(ActiveWindowData, nullptr);
  EXPECT_EQ(pl3::g_raster.view, nullptr);
  EXPECT_EQ(pl3::g_raster.viewFactor, factor);
}

}  // namespace
