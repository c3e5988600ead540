#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "edit/window_data.h"
#include "geometry/raster_state.h"
#include "geometry/view_mapping.h"

namespace {

std::unique_ptr<CurrentWindowData> NewBlock() { return std::make_unique<CurrentWindowData>(); }

TEST(WindowData, ButtonRecordIsTheBlocksOwnFields) {
  auto block = NewBlock();
  block->Cursor = {11, 12};
  block->MouseMessagePos = 0x00200010;
  block->Button.ButtonFlags = kButtonHoldMenuOpen;
  EXPECT_EQ(block->Button.Cursor.x, 11);
  EXPECT_EQ(block->Button.MouseMessagePos, 0x00200010u);
  EXPECT_EQ(block->ButtonFlags, kButtonHoldMenuOpen);
  // Stored whole: the record's bytes are the named fields.
  std::uint8_t bytes[sizeof(ButtonRecord)];
  std::memcpy(bytes, &block->Button, sizeof bytes);
  std::int32_t cursorX = 0;
  std::memcpy(&cursorX, bytes + offsetof(ButtonRecord, Cursor), 4);
  EXPECT_EQ(cursorX, 11);
}

TEST(WindowData, NewBlockHoldsItsStartValues) {
  auto b = NewBlock();
  EXPECT_EQ(b->Version, 5u);
  EXPECT_EQ(b->InsertType, 1);
  EXPECT_EQ(b->AngleAssist, 2);
  EXPECT_EQ(b->CurrentFont, 3u);
  EXPECT_EQ(b->GhostColour, 0x800000u);
  EXPECT_EQ(b->WalkHidden, 1);
  EXPECT_EQ(b->DragOption, 1);
  EXPECT_EQ(b->DisplayWord1, 7u);
  const std::uint32_t ratsnest[4] = {3, 100, 250, 5};
  EXPECT_EQ(std::memcmp(b->RatsnestDisplay, ratsnest, sizeof ratsnest), 0);
  const std::uint32_t menu[5] = {0, 0, 0, 1, 1};
  EXPECT_EQ(std::memcmp(b->MenuWords, menu, sizeof menu), 0);
  EXPECT_EQ(b->PrintZone.xmin, -1);
  EXPECT_EQ(b->PrintZone.ymax, -1);
}

TEST(WindowData, ResetTouchesExactlyTheTransientFields) {
  auto b = NewBlock();
  int marker = 0;
  auto* somewhere = reinterpret_cast<Tower*>(&marker);
  b->PendingRecord = reinterpret_cast<EntityRecord*>(&marker);
  b->Selection = b->TemporaryEntity = somewhere;
  b->SelectionList = reinterpret_cast<SelectionInfo*>(&marker);
  b->InsertionCount = 9;
  b->RatsnestUpdate[2] = 4;
  b->ViewOnlyHighlighted = 1;
  b->AxisLock = 3;
  b->EditMode = 39;
  b->SubMode = 2;
  b->ViewFlags = 0x2400;
  b->UndoStep = 17;
  b->HighlightedNet = 5;
  b->NetViewWord = 6;
  b->DragFlags = 9;
  b->ImportState = 0;
  b->HitMode = 0;
  b->InsertionTransform.tx = 99;
  // Fields outside the list keep what they hold.
  b->DragStart = {1, 2};
  b->DragCurrent = {3, 4};
  b->Cursor = {5, 6};
  b->ClickState = 4;
  b->SelectWord = 0;
  b->StateFlags = 0x8;
  b->PrintZone = {1, 2, 3, 4};

  ResetWindowData(*b);

  EXPECT_EQ(b->PendingRecord, nullptr);
  EXPECT_EQ(b->Selection, nullptr);
  EXPECT_EQ(b->TemporaryEntity, nullptr);
  EXPECT_EQ(b->SelectionList, nullptr);
  EXPECT_EQ(b->InsertionCount, 0u);
  EXPECT_EQ(b->RatsnestUpdate[2], 0u);
  EXPECT_EQ(b->ViewOnlyHighlighted, 0u);
  EXPECT_EQ(b->AxisLock, 0);
  EXPECT_EQ(b->EditMode, 0);
  EXPECT_EQ(b->SubMode, 0);
  EXPECT_EQ(b->ViewFlags, 0u);
  EXPECT_EQ(b->UndoStep, 0u);
  EXPECT_EQ(b->HighlightedNet, -1);
  EXPECT_EQ(b->NetViewWord, -1);
  EXPECT_EQ(b->DragFlags, 2);
  EXPECT_EQ(b->ImportState, 1u);
  EXPECT_EQ(b->HitMode, 1u);
  EXPECT_EQ(b->InsertionTransform.tx, pl3::kIdentityTransform.tx);

  EXPECT_EQ(b->DragStart.x, 1);
  EXPECT_EQ(b->DragCurrent.y, 4);
  EXPECT_EQ(b->Cursor.x, 5);
  EXPECT_EQ(b->ClickState, 4u);
  EXPECT_EQ(b->SelectWord, 0u);
  EXPECT_EQ(b->StateFlags, 0x8u);
  EXPECT_EQ(b->PrintZone.xmax, 3);
}

TEST(WindowData, UpdateViewGlobalsJoinsOriginAndZoomForTheKernel) {
  auto b = NewBlock();
  b->editorKind = kEditorPcb;
  b->ViewOriginX = 100;
  b->ViewOriginY = -50;
  b->Zoom = 1000;
  ActiveWindowData = b.get();
  UpdateViewGlobals();
  EXPECT_EQ(pl3::g_raster.viewFactor, 4294967295u / 1000u);
  std::int32_t x = 1000000, y = 2000000;
  pl3::WorldToView(x, y);
  EXPECT_EQ(x, 999 - 100);  // 0.32 scaling truncates just below 1000
  EXPECT_EQ(y, 1999 + 50);
  // Later changes of the block's words reach the kernel without another call.
  b->Zoom = 2000;
  b->ViewOriginX = 0;
  x = 1000000;
  y = 0;
  pl3::WorldToView(x, y);
  EXPECT_EQ(x, 499);
  pl3::g_raster.view = nullptr;
}

TEST(WindowData, UpdateViewGlobalsLeavesThePackageScaleAndRefusesZoomZero) {
  auto b = NewBlock();
  b->Zoom = 4;
  b->editorKind = kEditorPackage;
  ActiveWindowData = b.get();
  pl3::g_raster.viewFactor = 12345;
  UpdateViewGlobals();
  EXPECT_EQ(pl3::g_raster.viewFactor, 12345u);
  EXPECT_EQ(pl3::g_raster.view, &b->View);

  auto zero = NewBlock();
  zero->Zoom = 0;
  ActiveWindowData = zero.get();
  UpdateViewGlobals();
  EXPECT_EQ(pl3::g_raster.view, &b->View);
  ActiveWindowData = nullptr;
  UpdateViewGlobals();
  EXPECT_EQ(pl3::g_raster.view, &b->View);
  pl3::g_raster.view = nullptr;
}

}  // namespace
