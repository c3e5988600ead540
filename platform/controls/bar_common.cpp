#include "platform/controls/bar_common.h"

namespace pl3::controls {

void FillSys(HDC dc, const RECT& rc, int colourIndex) { FillRect(dc, &rc, GetSysColorBrush(colourIndex)); }

void DrawThinBorder(HDC dc, const RECT& rc, bool sunken) {
  if (rc.right - rc.left < 2 || rc.bottom - rc.top < 2) return;
  const int topLeft = sunken ? COLOR_3DSHADOW : COLOR_3DHIGHLIGHT;
  const int bottomRight = sunken ? COLOR_3DHIGHLIGHT : COLOR_3DSHADOW;
  FillSys(dc, RECT{rc.left, rc.top, rc.right - 1, rc.top + 1}, topLeft);
  FillSys(dc, RECT{rc.left, rc.top, rc.left + 1, rc.bottom - 1}, topLeft);
  FillSys(dc, RECT{rc.left, rc.bottom - 1, rc.right, rc.bottom}, bottomRight);
  FillSys(dc, RECT{rc.right - 1, rc.top, rc.right, rc.bottom}, bottomRight);
}

void DrawWell(HDC dc, const RECT& rc) {
  DrawThinBorder(dc, rc, true);
  RECT inner{rc.left + 1, rc.top + 1, rc.right - 1, rc.bottom - 1};
  if (inner.right - inner.left < 2 || inner.bottom - inner.top < 2) return;
  FillSys(dc, RECT{inner.left, inner.top, inner.right - 1, inner.top + 1}, COLOR_3DDKSHADOW);
  FillSys(dc, RECT{inner.left, inner.top, inner.left + 1, inner.bottom - 1}, COLOR_3DDKSHADOW);
  FillSys(dc, RECT{inner.left, inner.bottom - 1, inner.right, inner.bottom}, COLOR_3DLIGHT);
  FillSys(dc, RECT{inner.right - 1, inner.top, inner.right, inner.bottom}, COLOR_3DLIGHT);
}

void DrawRaisedButton(HDC dc, const RECT& rc) {
  if (rc.right - rc.left < 4 || rc.bottom - rc.top < 4) return;
  FillSys(dc, RECT{rc.left, rc.top, rc.right - 1, rc.top + 1}, COLOR_3DHIGHLIGHT);
  FillSys(dc, RECT{rc.left, rc.top, rc.left + 1, rc.bottom - 1}, COLOR_3DHIGHLIGHT);
  FillSys(dc, RECT{rc.left, rc.bottom - 1, rc.right, rc.bottom}, COLOR_3DDKSHADOW);
  FillSys(dc, RECT{rc.right - 1, rc.top, rc.right, rc.bottom}, COLOR_3DDKSHADOW);
  FillSys(dc, RECT{rc.left + 1, rc.bottom - 2, rc.right - 1, rc.bottom - 1}, COLOR_3DSHADOW);
  FillSys(dc, RECT{rc.right - 2, rc.top + 1, rc.right - 1, rc.bottom - 1}, COLOR_3DSHADOW);
}

void AlignBarToParent(HWND bar, int height, bool atBottom) {
  HWND parent = GetParent(bar);
  const auto style = static_cast<DWORD>(GetWindowLongPtrA(bar, GWL_STYLE));
  if (!parent || (style & CCS_NORESIZE)) return;
  RECT pc;
  GetClientRect(parent, &pc);
  RECT wr;
  GetWindowRect(bar, &wr);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&wr), 2);
  int x = 0, y = atBottom ? pc.bottom - height : 0;
  if (style & CCS_NOPARENTALIGN) x = wr.left, y = wr.top;
  if (wr.left == x && wr.top == y && wr.right - wr.left == pc.right && wr.bottom - wr.top == height) return;
  SetWindowPos(bar, nullptr, x, y, pc.right, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace pl3::controls
