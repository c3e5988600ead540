// Auto-pan: the registry value and its ranges, the dialog, the edge zones,
// the delay and repeat timers on the test clock, and the pan step of a PCB
// view with its strips, its screen copy and its overlays.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "draw/auto_pan.h"
#include "draw/auto_pan_seams.h"
#include "edit/window_data.h"
#include "geometry/plane_bitmaps.h"
#include "geometry/raster_state.h"
#include "platform/commctrl.h"
#include "platform/controls.h"
#include "platform/dialog_hooks.h"
#include "platform/gdi.h"
#include "platform/mdi.h"
#include "platform/registry.h"
#include "platform/user.h"
#include "store/filing_seams.h"
#include "tests/draw/auto_pan_fakes.h"

namespace {

// ---- Settings ------------------------------------------------------------------------------

void StoreValue(const char* text) {
  HKEY key = nullptr;
  ASSERT_EQ(CreateProgramRegistryKey(HKEY_CURRENT_USER, "Initialisation", 0, nullptr, REG_OPTION_NON_VOLATILE,
                                     KEY_ALL_ACCESS, nullptr, &key, nullptr),
            static_cast<LONG>(ERROR_SUCCESS));
  RegSetValueEx(key, "AutoPanOptions", 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                 static_cast<DWORD>(std::strlen(text) + 1));
  RegCloseKey(key);
}

bool Same(const AutoPanSettings& a, const AutoPanSettings& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

struct LoadCase {
  const char* text;
  AutoPanSettings expected;
};

TEST(AutoPanOptions, LoadScansWhatIsThereAndHoldsItToTheDialogRanges) {
  const AutoPanSettings before{1, 500, 40, 50, 60};
  const LoadCase cases[] = {
      {"1 300 60", {1, 300, 60, 50, 60}},  // only the first three change
      {"0 150 20 30 40", {0, 150, 20, 30, 40}},
      {"0\t150\n20 30 40 77", {0, 150, 20, 30, 40}},
      {"7 5 5000 0 -3", {1, 100, 100, 20, 10}},
      {"1 99999999999999999999999 1 1 1", {1, 2000, 10, 20, 10}},
      {"1 300 x 70 70", {1, 300, 40, 50, 60}},  // scanning stops at the first that fails
      {"", before},
      {"abc", before},
  };
  for (const LoadCase& c : cases) {
    StoreValue(c.text);
    AutoPanOptions = before;
    LoadAutoPanOptions();
    EXPECT_TRUE(Same(AutoPanOptions, c.expected))
        << "\"" << c.text << "\" gave " << AutoPanOptions.enabled << " " << AutoPanOptions.initialDelay << " "
        << AutoPanOptions.repeatPeriod << " " << AutoPanOptions.edgeZoneWidth << " " << AutoPanOptions.panSize;
  }
}

TEST(AutoPanOptions, DefaultsWithoutAValueAndSavedAsFiveNumbers) {
  LoadAutoPanOptions();
  EXPECT_TRUE(Same(AutoPanOptions, AutoPanSettings{1, 215, 53, 23, 12}));
  AutoPanOptions = {0, 1000, 25, 30, 45};
  SaveAutoPanOptions();
  HKEY key = nullptr;
  ASSERT_EQ(CreateProgramRegistryKey(HKEY_CURRENT_USER, "Initialisation", 0, nullptr, REG_OPTION_NON_VOLATILE,
                                     KEY_ALL_ACCESS, nullptr, &key, nullptr),
            static_cast<LONG>(ERROR_SUCCESS));
  char text[64] = {};
  DWORD type = 0, size = sizeof text;
  ASSERT_EQ(RegQueryValueEx(key, "AutoPanOptions", nullptr, &type, reinterpret_cast<BYTE*>(text), &size),
            static_cast<LONG>(ERROR_SUCCESS));
  RegCloseKey(key);
  EXPECT_EQ(type, REG_SZ);
  EXPECT_STREQ(text, "0 1000 25 30 45");
  EXPECT_EQ(size, std::strlen("0 1000 25 30 45") + 1);  // the length counts the NUL
  AutoPanOptions = kDefaultAutoPanSettings;
  LoadAutoPanOptions();
  EXPECT_TRUE(Same(AutoPanOptions, AutoPanSettings{0, 1000, 25, 30, 45}));
}

TEST(AutoPanOptions, DialogShowsTheSettingsAndOkStoresThem) {
  InitCommonControls();
  AutoPanOptions = {1, 400, 30, 40, 50};
  int shown[5] = {};
  int ranges[4][2] = {};
  pl3::SetDialogHook(kAutoPanDialogId, [&](HWND dialog) {
    shown[0] = IsDlgButtonChecked(dialog, 3260);
    const int bars[4] = {3259, 3261, 3262, 3263};
    for (int i = 0; i < 4; ++i) {
      shown[i + 1] = static_cast<int>(SendDlgItemMessage(dialog, bars[i], TBM_GETPOS, 0, 0));
      ranges[i][0] = static_cast<int>(SendDlgItemMessage(dialog, bars[i], TBM_GETRANGEMIN, 0, 0));
      ranges[i][1] = static_cast<int>(SendDlgItemMessage(dialog, bars[i], TBM_GETRANGEMAX, 0, 0));
    }
    pl3::SetDialogCheck(dialog, 3260, false);
    SendDlgItemMessage(dialog, 3259, TBM_SETPOS, TRUE, 5000);  // held to 2000 by the bar
    SendDlgItemMessage(dialog, 3261, TBM_SETPOS, TRUE, 75);
    SendDlgItemMessage(dialog, 3262, TBM_SETPOS, TRUE, 20);
    SendDlgItemMessage(dialog, 3263, TBM_SETPOS, TRUE, 99);
    pl3::ClickDialogButton(dialog, IDOK);
  });
  EXPECT_EQ(ShowAutoPanDialog(nullptr), 0);
  EXPECT_EQ(shown[0], BST_CHECKED);
  EXPECT_EQ(shown[1], 400);
  EXPECT_EQ(shown[2], 30);
  EXPECT_EQ(shown[3], 40);
  EXPECT_EQ(shown[4], 50);
  const int expectedRanges[4][2] = {{100, 2000}, {10, 100}, {20, 100}, {10, 100}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(ranges[i][0], expectedRanges[i][0]) << i;
    EXPECT_EQ(ranges[i][1], expectedRanges[i][1]) << i;
  }
  EXPECT_TRUE(Same(AutoPanOptions, AutoPanSettings{0, 2000, 75, 20, 99}));
}

TEST(AutoPanOptions, CancelChangesNothing) {
  InitCommonControls();
  AutoPanOptions = {1, 400, 30, 40, 50};
  pl3::SetDialogHook(kAutoPanDialogId, [](HWND dialog) {
    SendDlgItemMessage(dialog, 3259, TBM_SETPOS, TRUE, 900);
    pl3::ClickDialogButton(dialog, IDCANCEL);
  });
  EXPECT_EQ(ShowAutoPanDialog(nullptr), -1);
  EXPECT_TRUE(Same(AutoPanOptions, AutoPanSettings{1, 400, 30, 40, 50}));
}

// ---- Edge zones ----------------------------------------------------------------------------

struct EdgeCase {
  POINT point;
  std::uint32_t flags;
};

TEST(AutoPanEdgeFlags, ZonesAlongTheFourEdgesWithStrictComparisons) {
  const RECT client{0, 0, 200, 150};
  const EdgeCase cases[] = {
      {{10, 75}, kPanLeft},          {{190, 75}, kPanRight},         {{100, 140}, kPanDown},
      {{100, 10}, kPanUp},           {{190, 140}, kPanRight | kPanDown}, {{10, 10}, kPanLeft | kPanUp},
      {{100, 75}, 0},                {{22, 75}, kPanLeft},           {{23, 75}, 0},
      {{177, 75}, 0},                {{178, 75}, kPanRight},         {{100, 127}, 0},
      {{100, 128}, kPanDown},        {{200, 150}, kPanRight | kPanDown},
      {{-1, 75}, 0},                 {{201, 75}, 0},                 {{100, 151}, 0},
  };
  for (const EdgeCase& c : cases)
    EXPECT_EQ(AutoPanEdgeFlags(c.point, client, 23), c.flags) << c.point.x << "," << c.point.y;
  // A window narrower than two zones is in both side zones at once.
  EXPECT_EQ(AutoPanEdgeFlags(POINT{20, 75}, RECT{0, 0, 40, 150}, 23), kPanLeft | kPanRight);
}

TEST(AutoPanInBounds, TheBoundTestAsWritten) {
  // Zoom 16000: a = 11430, b = 114300; a client 200 wide may reach 125530.
  EXPECT_TRUE(AutoPanInBounds(0, 0, 200, 150, 16000));
  EXPECT_FALSE(AutoPanInBounds(-1, 0, 200, 150, 16000));
  EXPECT_FALSE(AutoPanInBounds(0, -1, 200, 150, 16000));
  EXPECT_TRUE(AutoPanInBounds(125530, 0, 200, 150, 16000));
  EXPECT_FALSE(AutoPanInBounds(125531, 0, 200, 150, 16000));
  EXPECT_TRUE(AutoPanInBounds(0, 125580, 200, 150, 16000));
  EXPECT_FALSE(AutoPanInBounds(0, 125581, 200, 150, 16000));
  EXPECT_TRUE(AutoPanInBounds(10, 10, 200, 150, 0));  // a zoom of 0 is taken as 1
}

// ---- A PCB view in an MDI frame ------------------------------------------------------------

struct Heard {
  HWND window;
  WPARAM flags;
  LPARAM param;
};
std::vector<Heard> g_panMessages;
HWND g_client = nullptr;

LRESULT CALLBACK FrameProc(HWND hwnd, UINT m, WPARAM w, LPARAM l) { return DefFrameProcA(hwnd, g_client, m, w, l); }

LRESULT CALLBACK ViewProc(HWND hwnd, UINT m, WPARAM w, LPARAM l) {
  if (m == kAutoPanMessage) {
    g_panMessages.push_back(Heard{hwnd, w, l});
    AutoPanScroll(hwnd, static_cast<std::uint32_t>(w));
    return 0;
  }
  return DefMDIChildProcA(hwnd, m, w, l);
}

constexpr std::int32_t kOrigin = 20000;

class AutoPanViewTest : public testing::Test {
 protected:
  void SetUp() override {
    g_panMessages.clear();
    AutoPanEvents.clear();
    RenderedBoxes.clear();
    LastCrosshairRecord = nullptr;
    WNDCLASSA wc{};
    wc.lpfnWndProc = &FrameProc;
    wc.lpszClassName = "AutoPanFrame";
    ASSERT_TRUE(RegisterClassA(&wc));
    wc.lpfnWndProc = &ViewProc;
    wc.lpszClassName = "AutoPanView";
    ASSERT_TRUE(RegisterClassA(&wc));
    frame = CreateWindowExA(0, "AutoPanFrame", "Frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 640, 480, nullptr,
                            nullptr, nullptr, nullptr);
    ASSERT_NE(frame, nullptr);
    CLIENTCREATESTRUCT ccs{nullptr, 100};
    RECT rc;
    GetClientRect(frame, &rc);
    g_client = CreateWindowExA(0, "MDICLIENT", nullptr, WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, rc.right,
                               rc.bottom, frame, nullptr, nullptr, &ccs);
    ASSERT_NE(g_client, nullptr);
    MDICREATESTRUCTA mcs{"AutoPanView", "Board", nullptr, 10, 10, 240, 200, 0, 0};
    view = reinterpret_cast<HWND>(SendMessageA(g_client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
    ASSERT_NE(view, nullptr);
    pl3::PumpMessages();
    SetActiveWindow(frame);
    ASSERT_EQ(GetActiveWindow(), frame);
    FrameWindow = frame;
    MDIClientWindow = g_client;
    GetClientRect(view, &client);

    colours.resize(65536);
    for (std::uint32_t i = 0; i < colours.size(); ++i) colours[i] = i;
    block = std::make_unique<CurrentWindowData>(kEditorPcb);
    block->Window = view;
    block->Zoom = 16000;
    block->ViewOriginX = kOrigin;
    block->ViewOriginY = kOrigin;
    block->ColourTable = colours.data();
    block->Surface.width = 256;
    block->Surface.height = 256;
    HDC dc = GetDC(view);
    ASSERT_TRUE(pl3::CreatePlaneDIBSection(dc, &block->Surface, 0, 32, 0));
    ReleaseDC(view, dc);
    pl3::AttachRasterToBitmap(&block->Surface, &block->SurfaceClip);
    ActiveWindowData = block.get();
    UpdateViewGlobals();
  }

  void TearDown() override {
    StopAutoPan();
    pl3::FreePlaneBitmap(&block->Surface);
    pl3::g_raster.colourBuffer = nullptr;
    pl3::g_raster.plane = nullptr;
    pl3::g_raster.clip = nullptr;
    pl3::g_raster.view = nullptr;
    ActiveWindowData = nullptr;
    FrameWindow = nullptr;
    MDIClientWindow = nullptr;
    DestroyWindow(frame);
    g_client = nullptr;
  }

  // Puts the mouse on a client point of the view.
  void MouseAt(int x, int y) {
    POINT p{x, y};
    ClientToScreen(view, &p);
    SetCursorPos(p.x, p.y);
    pl3::PumpMessages();
  }
  void Wait(std::uint32_t ms) {
    pl3::AdvanceTestClock(ms);
    pl3::PumpMessages();
  }

  // Plane word (x, y) holds x + 1 and the colour buffer its colour; the
  // window shows the colour buffer.
  void PaintColumns() {
    for (std::uint32_t y = 0; y < pl3::g_raster.height; ++y)
      for (std::uint32_t x = 0; x < pl3::g_raster.width; ++x) {
        const std::uint32_t i = pl3::PlaneWordIndex(x, y);
        pl3::g_raster.plane[i] = x + 1;
        pl3::g_raster.colourBuffer[i] = x + 1;
      }
    HDC dc = GetDC(view);
    BitBlt(dc, 0, 0, client.right, client.bottom, block->Surface.memoryDC, 0, 0, SRCCOPY);
    ReleaseDC(view, dc);
  }
  COLORREF Shown(int x, int y) {
    HDC dc = GetDC(view);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(view, dc);
    return c;
  }
  // The COLORREF of colour-buffer word v (0x00RRGGBB).
  static COLORREF Colour(std::uint32_t v) { return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF); }
  static std::uint32_t PlaneAt(std::uint32_t x, std::uint32_t y) {
    return pl3::g_raster.plane[pl3::PlaneWordIndex(x, y)];
  }

  HWND frame = nullptr;
  HWND view = nullptr;
  RECT client{};
  std::vector<std::uint32_t> colours;
  std::unique_ptr<CurrentWindowData> block;
};

TEST_F(AutoPanViewTest, FirstStepAfterTheDelayThenOnePerPeriod) {
  MouseAt(client.right - 5, client.bottom / 2);
  UpdateAutoPan(view);
  EXPECT_EQ(AutoPanEdges, kPanRight);
  EXPECT_NE(AutoPanDelayTimer, 0u);
  Wait(214);
  EXPECT_EQ(AutoPanRepeatTimer, 0u);
  Wait(1);
  EXPECT_EQ(AutoPanDelayTimer, 0u);
  ASSERT_NE(AutoPanRepeatTimer, 0u);
  Wait(52);
  EXPECT_TRUE(g_panMessages.empty());
  Wait(1);
  ASSERT_EQ(g_panMessages.size(), 1u);
  EXPECT_EQ(g_panMessages[0].window, view);
  EXPECT_EQ(g_panMessages[0].flags, kPanRight);
  EXPECT_EQ(g_panMessages[0].param, 10);
  EXPECT_EQ(block->ViewOriginX, kOrigin + 12);
  EXPECT_EQ(block->ViewOriginY, kOrigin);
  Wait(53);
  Wait(53);
  EXPECT_EQ(g_panMessages.size(), 3u);
  EXPECT_EQ(block->ViewOriginX, kOrigin + 36);
}

TEST_F(AutoPanViewTest, EveryMoveInTheZoneAndAMoveIntoTheCornerRestartTheDelay) {
  MouseAt(client.right - 5, client.bottom / 2);
  UpdateAutoPan(view);
  Wait(200);
  MouseAt(client.right - 6, client.bottom / 2);
  UpdateAutoPan(view);  // the same zone: the delay starts again
  Wait(200);
  EXPECT_NE(AutoPanDelayTimer, 0u);
  MouseAt(client.right - 5, client.bottom - 5);
  UpdateAutoPan(view);  // into the corner
  EXPECT_EQ(AutoPanEdges, kPanRight | kPanDown);
  Wait(214);
  EXPECT_EQ(AutoPanRepeatTimer, 0u);
  Wait(1);
  Wait(53);
  ASSERT_EQ(g_panMessages.size(), 1u);
  EXPECT_EQ(g_panMessages[0].flags, kPanRight | kPanDown);
  EXPECT_EQ(block->ViewOriginX, kOrigin + 12);
  EXPECT_EQ(block->ViewOriginY, kOrigin + 12);
}

TEST_F(AutoPanViewTest, LeavingTheZoneOrTheViewStopsBothTimers) {
  MouseAt(client.right - 5, client.bottom / 2);
  UpdateAutoPan(view);
  Wait(215);
  ASSERT_NE(AutoPanRepeatTimer, 0u);
  MouseAt(client.right / 2, client.bottom / 2);
  UpdateAutoPan(view);
  EXPECT_EQ(AutoPanDelayTimer, 0u);
  EXPECT_EQ(AutoPanRepeatTimer, 0u);
  MouseAt(client.right - 5, client.bottom / 2);
  UpdateAutoPan(view);
  Wait(215);
  // The mouse leaves the view: the next tick stops both timers, nothing pans.
  MouseAt(client.right + 30, client.bottom / 2);
  Wait(53);
  EXPECT_EQ(AutoPanRepeatTimer, 0u);
  EXPECT_TRUE(g_panMessages.empty());
}

TEST_F(AutoPanViewTest, RepeatTickStopsWhenTheZoneChanged) {
  MouseAt(client.right - 5, client.bottom / 2);
  UpdateAutoPan(view);
  Wait(215);
  MouseAt(5, client.bottom / 2);  // no mouse-move check: the tick sees it
  Wait(53);
  EXPECT_EQ(AutoPanRepeatTimer, 0u);
  EXPECT_TRUE(g_panMessages.empty());
}

TEST_F(AutoPanViewTest, NonPcbViewStartsTheDelayButNeverPans) {
  block->editorKind = kEditorSchematic;
  MouseAt(client.right - 5, client.bottom / 2);
  UpdateAutoPan(view);
  EXPECT_NE(AutoPanDelayTimer, 0u);
  Wait(215);
  EXPECT_EQ(AutoPanDelayTimer, 0u);
  EXPECT_EQ(AutoPanRepeatTimer, 0u);
  Wait(500);
  EXPECT_TRUE(g_panMessages.empty());
  AutoPanScroll(view, kPanRight);
  EXPECT_EQ(block->ViewOriginX, kOrigin);
}

TEST_F(AutoPanViewTest, SwitchedOffOrFrameInactiveNothingStarts) {
  MouseAt(client.right - 5, client.bottom / 2);
  AutoPanOptions.enabled = 0;
  UpdateAutoPan(view);
  EXPECT_EQ(AutoPanDelayTimer, 0u);
  AutoPanOptions.enabled = 1;
  FrameWindow = nullptr;  // the program's frame is not the active window
  UpdateAutoPan(view);
  EXPECT_EQ(AutoPanDelayTimer, 0u);
  EXPECT_EQ(AutoPanEdges, 0u);
}

TEST_F(AutoPanViewTest, StepShiftsSurfaceAndScreenAndRendersTheStrip) {
  PaintColumns();
  AutoPanScroll(view, kPanRight);
  const std::uint32_t cw = static_cast<std::uint32_t>(client.right);
  const std::uint32_t ch = static_cast<std::uint32_t>(client.bottom);
  EXPECT_EQ(block->ViewOriginX, kOrigin + 12);
  // The strip that came into view, as a world box of the new mapping.
  ASSERT_EQ(RenderedBoxes.size(), 1u);
  EXPECT_EQ(RenderedBoxes[0].xmin, (kOrigin + 12 + static_cast<std::int32_t>(cw) - 12) * 16000);
  EXPECT_EQ(RenderedBoxes[0].xmax, (kOrigin + 12 + static_cast<std::int32_t>(cw)) * 16000);
  EXPECT_EQ(RenderedBoxes[0].ymin, kOrigin * 16000);
  EXPECT_EQ(RenderedBoxes[0].ymax, (kOrigin + static_cast<std::int32_t>(ch)) * 16000);
  // The layer plane moved with the colours.
  EXPECT_EQ(PlaneAt(0, 5), 13u);
  EXPECT_EQ(PlaneAt(cw - 13, 5), cw);
  EXPECT_EQ(PlaneAt(cw - 12, 5), kStripPlaneValue);
  EXPECT_EQ(PlaneAt(cw - 1, ch - 1), kStripPlaneValue);
  // The screen: shifted pixels, and the strip colourised from the plane.
  EXPECT_EQ(Shown(0, 3), Colour(13));
  EXPECT_EQ(Shown(cw - 13, ch - 1), Colour(cw));
  EXPECT_EQ(Shown(cw - 12, 3), Colour(kStripPlaneValue));
  EXPECT_EQ(Shown(cw - 1, ch - 1), Colour(kStripPlaneValue));
}

TEST_F(AutoPanViewTest, DiagonalStepRendersBothStripsInOrder) {
  PaintColumns();
  AutoPanScroll(view, kPanLeft | kPanUp);
  EXPECT_EQ(block->ViewOriginX, kOrigin - 12);
  EXPECT_EQ(block->ViewOriginY, kOrigin - 12);
  ASSERT_EQ(RenderedBoxes.size(), 2u);
  // First the column strip at the left (mapped before the y move), then the row strip at the top.
  EXPECT_EQ(RenderedBoxes[0].xmin, (kOrigin - 12) * 16000);
  EXPECT_EQ(RenderedBoxes[0].xmax, (kOrigin - 12 + 12) * 16000);
  EXPECT_EQ(RenderedBoxes[0].ymin, kOrigin * 16000);
  EXPECT_EQ(RenderedBoxes[1].ymin, (kOrigin - 12) * 16000);
  EXPECT_EQ(RenderedBoxes[1].ymax, (kOrigin - 12 + 12) * 16000);
  EXPECT_EQ(RenderedBoxes[1].xmin, (kOrigin - 12) * 16000);
  // Content moved right and down; both strips show the render.
  EXPECT_EQ(Shown(12, 12), Colour(1));
  EXPECT_EQ(Shown(40, 30), Colour(29));
  EXPECT_EQ(Shown(5, 50), Colour(kStripPlaneValue));
  EXPECT_EQ(Shown(100, 5), Colour(kStripPlaneValue));
  EXPECT_EQ(PlaneAt(40, 30), 29u);
}

TEST_F(AutoPanViewTest, OverlaysComeOffBeforeTheStepAndBackAfter) {
  AutoPanScroll(view, kPanDown);
  const std::vector<std::string> expected = {"crosshair", "render", "crosshair", "scroll bars"};
  EXPECT_EQ(AutoPanEvents, expected);
  EXPECT_EQ(LastCrosshairRecord, &block->CrosshairPos);
}

TEST_F(AutoPanViewTest, RefusedStepsLeaveTheViewAlone) {
  block->ViewOriginX = 5;
  AutoPanScroll(view, kPanLeft);  // would go below 0
  EXPECT_EQ(block->ViewOriginX, 5);
  EXPECT_TRUE(AutoPanEvents.empty());
  block->ViewOriginX = 12;
  AutoPanScroll(view, kPanLeft);
  EXPECT_EQ(block->ViewOriginX, 0);
  AutoPanScroll(view, kPanLeft);  // at the left limit
  EXPECT_EQ(block->ViewOriginX, 0);
  // Flags that name no step move nothing.
  AutoPanEvents.clear();
  AutoPanScroll(view, kPanLeft | kPanRight);
  AutoPanScroll(view, 0);
  EXPECT_EQ(block->ViewOriginX, 0);
  EXPECT_TRUE(AutoPanEvents.empty());
  // Another window's message is not this block's business.
  AutoPanScroll(frame, kPanRight);
  EXPECT_EQ(block->ViewOriginX, 0);
}

struct LockCase {
  std::uint8_t lock;
  std::int32_t dx, dy;
};

TEST_F(AutoPanViewTest, AxisLockDropsTheLockedDirection) {
  const LockCase cases[] = {{0, 12, 12}, {1, 0, 12}, {2, 12, 0}, {3, 12, 12}};
  for (const LockCase& c : cases) {
    block->ViewOriginX = block->ViewOriginY = kOrigin;
    block->AxisLock = c.lock;
    AutoPanScroll(view, kPanRight | kPanDown);
    EXPECT_EQ(block->ViewOriginX, kOrigin + c.dx) << int{c.lock};
    EXPECT_EQ(block->ViewOriginY, kOrigin + c.dy) << int{c.lock};
  }
}

}  // namespace
