// The measuring tape: its numbers, its text, the tooltip's place, the XOR
// drawing and the steps of the tool.
#include "app/measure_tool.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "app/configuration_options.h"
#include "edit/engine_seams.h"
#include "edit/window_data.h"
#include "objects/editor_modes.h"
#include "objects/graphic_records.h"
#include "platform/commctrl.h"
#include "platform/gdi.h"
#include "platform/user.h"

namespace {

MeasuringPayload Measured(pl3::Point start, pl3::Point end) {
  MeasuringPayload m{};
  m.start = start;
  m.end = end;
  UpdateMeasurement(&m);
  return m;
}

double Degrees(const MeasuringPayload& m) { return m.angle * 180.0 / 3.14159265358979323846; }

TEST(Measurement, NumbersFollowTheScreenSense) {
  const MeasuringPayload none = Measured({1000, 1000}, {1000, 1000});
  EXPECT_EQ(none.distance, 0u);
  EXPECT_EQ(none.angle, 0.0);

  const MeasuringPayload up = Measured({1000, 5000}, {1000, 2000});
  EXPECT_EQ(up.dx, 0);
  EXPECT_EQ(up.dy, 3000) << "positive when the end lies above";
  EXPECT_EQ(up.distance, 3000u);
  EXPECT_NEAR(Degrees(up), 90.0, 1e-9);
  const MeasuringPayload down = Measured({1000, 2000}, {1000, 5000});
  EXPECT_EQ(down.dy, -3000);
  EXPECT_NEAR(Degrees(down), 90.0, 1e-9) << "the angle is taken of |dy|";

  const MeasuringPayload slope = Measured({0, 10}, {3, 8});  // dx 3, dy 2: sqrt 13 = 3.6 truncated
  EXPECT_EQ(slope.distance, 3u);
  EXPECT_NEAR(slope.angle, std::asin(2.0 / 3.0), 1e-12) << "asin of |dy| over the truncated distance";

  const MeasuringPayload wide = Measured({182880000, 1828800000}, {1828800000, 182880000});
  EXPECT_EQ(wide.dx, 1645920000);
  EXPECT_EQ(wide.dy, 1645920000);
  EXPECT_EQ(wide.distance, 2327682386u) << "no 32-bit overflow in the squares";
  EXPECT_NEAR(Degrees(wide), 45.0, 1e-6);
}

TEST(Measurement, TextInEitherFamily) {
  DisplayUnitsCode = 2;
  const MeasuringPayload m = Measured({0, 1440000}, {1440000, 0});  // 1 mm right, 1 mm up
  EXPECT_EQ(MeasurementText(m), "dX 1.00 mm\r\ndY 1.00 mm\r\nDistance 1.41 mm\r\nAngle 45.00 degrees");
  DisplayUnitsCode = 0;
  const MeasuringPayload h = Measured({36576000, 0}, {0, 0});  // an inch to the left
  EXPECT_EQ(MeasurementText(h), "dX -1.0000 Inch\r\ndY 0.0000 Inch\r\nDistance 1.0000 Inch\r\nAngle 0.00 degrees");
  DisplayUnitsCode = 5;
  EXPECT_EQ(MeasurementText(Measured({7, 7}, {7, 7})),
            "dX 0.00 mm\r\ndY 0.00 mm\r\nDistance 0.00 mm\r\nAngle 0.00 degrees");
}

TEST(Measurement, TooltipJumpsBeforeTheCursorNearTheScreenEdge) {
  const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
  const int height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  const SIZE bubble{120, 50};
  POINT at = MeasuringTooltipPosition({100, 100}, bubble);
  EXPECT_EQ(at.x, 115);
  EXPECT_EQ(at.y, 115);
  at = MeasuringTooltipPosition({width - 100, 100}, bubble);
  EXPECT_EQ(at.x, width - 100 - 15 - 120);
  EXPECT_EQ(at.y, 115);
  at = MeasuringTooltipPosition({100, height - 60}, bubble);
  EXPECT_EQ(at.x, 115);
  EXPECT_EQ(at.y, height - 60 - 15 - 50);
  at = MeasuringTooltipPosition({width - 135, height - 65}, bubble);
  EXPECT_EQ(at.x, width - 120) << "exactly at the edge still fits";
  EXPECT_EQ(at.y, height - 50);
}

// A window whose view maps 100,000 world units to a pixel, and a bitmap DC.
class MeasureTool : public testing::Test {
 protected:
  static constexpr int kSize = 200;
  void SetUp() override {
    window = std::make_unique<CurrentWindowData>(kEditorPcb);
    window->Zoom = 100000;
    window->ViewOriginX = window->ViewOriginY = 0;
    ActiveWindowData = window.get();
    UpdateViewGlobals();
    HDC screen = GetDC(nullptr);
    dc = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    bitmap = CreateCompatibleBitmap(dc, kSize, kSize);
    old = SelectObject(dc, bitmap);
    RECT all{0, 0, kSize, kSize};
    FillRect(dc, &all, reinterpret_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  }
  void TearDown() override {
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    delete window->PendingRecord;
    ActiveWindowData = nullptr;
  }
  std::vector<COLORREF> Pixels() const {
    std::vector<COLORREF> out;
    for (int y = 0; y < kSize; ++y)
      for (int x = 0; x < kSize; ++x) out.push_back(GetPixel(dc, x, y));
    return out;
  }
  int Lit() const {
    int n = 0;
    for (COLORREF c : Pixels()) n += c != 0;
    return n;
  }
  std::unique_ptr<EntityRecord> Record(pl3::Point start, pl3::Point end) {
    auto r = NewEntityRecord();
    r->header.recordType = kMeasuringType;
    auto* m = reinterpret_cast<MeasuringPayload*>(r->payload);
    m->start = start;
    m->end = end;
    UpdateMeasurement(m);
    return r;
  }

  std::unique_ptr<CurrentWindowData> window;
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HBITMAP old = nullptr;
};

TEST_F(MeasureTool, DrawingTwiceRestoresTheView) {
  const std::vector<COLORREF> before = Pixels();
  auto slope = Record({5000000, 15000000}, {15000000, 5000000});
  DrawMeasurement(dc, slope.get());
  EXPECT_GT(Lit(), 0);
  EXPECT_EQ(window->StateFlags & 0x4, 0u) << "the drawing flag is only set while drawing";
  EXPECT_EQ(window->GhostColour, 0x800000u);
  DrawMeasurement(dc, slope.get());
  EXPECT_EQ(Pixels(), before);
}

TEST_F(MeasureTool, ArcOnlyForALongSlopedMeasurement) {
  // Start at pixel (50, 150); 120 pixels long is 12,000,000 world units, over 100 x Zoom.
  auto horizontal = Record({5000000, 15000000}, {17000000, 15000000});
  DrawMeasurement(dc, horizontal.get());
  const int straight = Lit();
  DrawMeasurement(dc, horizontal.get());
  // Straight up: the same pixel length, with the reference line and the arc added.
  auto vertical = Record({5000000, 15000000}, {5000000, 3000000});
  DrawMeasurement(dc, vertical.get());
  EXPECT_GT(Lit(), straight + 150) << "the reference line and the arc are drawn";
  DrawMeasurement(dc, vertical.get());
  // A short sloped one (distance below 100 x Zoom) has no arc.
  window->Zoom = 1000000;
  UpdateViewGlobals();
  auto shortSlope = Record({100000000, 100000000}, {140000000, 60000000});  // 56 million: below 100 million
  DrawMeasurement(dc, shortSlope.get());
  const int shortLit = Lit();
  DrawMeasurement(dc, shortSlope.get());
  EXPECT_LE(shortLit, 41 + 22) << "the line and the cross alone";
}

TEST_F(MeasureTool, ToolStepsAndTooltip) {
  HWND view = CreateWindowA("STATIC", "view", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 300, nullptr, nullptr,
                            nullptr, nullptr);
  window->Window = view;
  window->StateFlags = 0x40;
  window->ClickState = 3;
  window->EditMode = 39;
  SetMeasureTool(view);
  EXPECT_EQ(window->InsertType, 1) << "only an idle window takes the tool";
  window->EditMode = 0;
  SetMeasureTool(view);
  EXPECT_EQ(window->InsertType, kMeasuringType);
  EXPECT_EQ(window->ClickState, 0u);
  EXPECT_EQ(window->StateFlags & 0x40, 0u);

  ShowMeasuringTooltip(view);
  ASSERT_NE(MeasuringTooltip, nullptr);
  BeginMeasureAt(view, &window->PendingRecord, {10000000, 10000000});
  ASSERT_NE(window->PendingRecord, nullptr);
  EXPECT_EQ(window->EditMode, Mode_Measure);
  const MeasuringPayload* m = MeasuringOf(window->PendingRecord);
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(m->distance, 0u);

  DisplayUnitsCode = 2;
  window->MousePixel = {140, 100};
  MeasureDragStep(view, dc, window->PendingRecord, {14000000, 10000000});
  EXPECT_EQ(m->end.x, 14000000);
  EXPECT_EQ(m->dx, 4000000);
  char text[256] = {};
  TOOLINFOA ti{};
  ti.cbSize = sizeof ti;
  ti.hwnd = view;
  ti.uId = reinterpret_cast<UINT_PTR>(view);
  ti.lpszText = text;
  SendMessage(MeasuringTooltip, TTM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(&ti));
  EXPECT_EQ(std::string(text), "dX 2.78 mm\r\ndY 0.00 mm\r\nDistance 2.78 mm\r\nAngle 0.00 degrees");
  EXPECT_GT(Lit(), 0);

  EXPECT_EQ(MeasureAcceptStep(view, window->PendingRecord), 1);
  EXPECT_EQ(m->start.x, 14000000) << "the next leg starts at the last end";
  EXPECT_EQ(m->distance, 0u);
  DestroyWindow(view);
}

}  // namespace
