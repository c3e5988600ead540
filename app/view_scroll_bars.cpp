// The scroll bars of an editor view: the drawing area is 55 inches square, so
// each bar runs from 0 to 2,011,680,000 world units in view pixels, its page
// is the client size and its position the view origin.
#include "draw/auto_pan_seams.h"
#include "edit/window_data.h"
#include "platform/scroll.h"

namespace {
constexpr std::uint32_t kDrawingAreaSide = 2011680000;
}

void UpdateViewScrollBars(HWND window) {
  const CurrentWindowData* w = ActiveWindowData;
  if (!w || !window || w->Window != window) return;
  const std::uint32_t zoom = w->Zoom ? w->Zoom : 1;
  RECT client{};
  GetClientRect(window, &client);
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, static_cast<int>(kDrawingAreaSide / zoom),
                  static_cast<UINT>(client.right), w->ViewOriginX, 0};
  SetScrollInfo(window, SB_HORZ, &info, TRUE);
  info.nPage = static_cast<UINT>(client.bottom);
  info.nPos = w->ViewOriginY;
  SetScrollInfo(window, SB_VERT, &info, TRUE);
}
