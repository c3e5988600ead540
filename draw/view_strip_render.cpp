// The strip render of scrolling and auto-pan, in a file of its own so that a
// test faking it still links the rest of the view redraw.
#include "draw/view_redraw.h"

#include "edit/window_data.h"
#include "geometry/raster_state.h"
#include "platform/user.h"

void RenderViewRect(void* window, const pl3::Box* box, int clipToClient) {
  CurrentWindowData* w = ActiveWindowData;
  if (!box || !w || w->Window != window || !IsRedrawnKind(w->editorKind)) return;
  if (!BindViewSurface(window)) return;
  pl3::ViewClip* const savedClip = pl3::g_raster.clip;
  RECT client{};
  GetClientRect(static_cast<HWND>(window), &client);
  RECT rect{};
  if (WorldBoxToViewRect(*box, client, clipToClient, &rect)) RenderViewRegion(*w, *box, rect);
  pl3::g_raster.clip = savedClip;
}
