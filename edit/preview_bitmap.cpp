// The preview image of a world box of a design: the items drawn with the
// active window's state into a private surface 200 pixels square, returned
// as a bitmap of its own.
#include <algorithm>
#include <cstring>

#include "draw/display_paint.h"
#include "draw/item_search_seams.h"
#include "draw/layer_drawing.h"
#include "edit/engine_helpers.h"
#include "edit/window_data.h"
#include "geometry/plane_bitmaps.h"
#include "geometry/raster_state.h"
#include "platform/gdi.h"

namespace {

// The view pixel of a world coordinate under the zoom's 0.32 factor.
std::int32_t PixelOf(std::uint32_t world, std::uint32_t factor) {
  return static_cast<std::int32_t>((std::uint64_t{world} * factor) >> 32);
}

// A bitmap of its own holding the surface's colour buffer.
HBITMAP CopyToBitmap(const pl3::PlaneBitmap& surface) {
  void* bits = nullptr;
  HBITMAP image = CreateDIBSection(nullptr, surface.header, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!image || !bits) {
    if (image) DeleteObject(image);
    return nullptr;
  }
  const std::size_t words =
      std::size_t{static_cast<std::uint32_t>(surface.header->bmiHeader.biWidth)} * surface.height;
  std::memcpy(bits, surface.colourBuffer, words * sizeof(std::uint32_t));
  return image;
}

}  // namespace

std::uint32_t PreviewZoom(const pl3::Box& box) {
  const std::uint32_t width = static_cast<std::uint32_t>(box.xmax) - static_cast<std::uint32_t>(box.xmin);
  const std::uint32_t height = static_cast<std::uint32_t>(box.ymax) - static_cast<std::uint32_t>(box.ymin);
  const std::uint32_t perPixel = std::max(width, height) / kPreviewSide;
  return (perPixel / kPreviewZoomStep + 1) * kPreviewZoomStep;
}

HBITMAP RenderBoxThumbnail(const Tower* design, const pl3::Box* box) {
  CurrentWindowData* w = ActiveWindowData;
  if (!w || !design || !box) return nullptr;
  const pl3::ViewMapping savedView = w->View;
  const std::uint8_t savedHidden = w->WalkHidden;
  const pl3::RasterState savedRaster = pl3::g_raster;

  const std::uint32_t zoom = PreviewZoom(*box);
  const std::uint32_t factor = 0xFFFFFFFFu / zoom;
  const std::uint32_t centreX = static_cast<std::uint32_t>(box->xmin) / 2 + static_cast<std::uint32_t>(box->xmax) / 2;
  const std::uint32_t centreY = static_cast<std::uint32_t>(box->ymin) / 2 + static_cast<std::uint32_t>(box->ymax) / 2;
  w->WalkHidden = 0;
  w->View = pl3::ViewMapping{PixelOf(centreX, factor) - kPreviewSide / 2, PixelOf(centreY, factor) - kPreviewSide / 2,
                             zoom};
  UpdateViewGlobals();
  pl3::g_raster.viewFactor = factor;

  HBITMAP image = nullptr;
  pl3::PlaneBitmap surface{};
  surface.width = kPreviewSide;
  surface.height = kPreviewSide;
  pl3::ViewClip clip{};
  if (pl3::CreatePlaneBitmap(nullptr, &surface, 0, 32, 0)) {
    pl3::AttachRasterToBitmap(&surface, &clip);
    if (w->ColourTable) pl3::g_raster.colourTable1 = w->ColourTable;  // the window's colours
    // A PCB window's own design is drawn as its view shows it, from the display list.
    if (w->editorKind == kEditorPcb && design == w->design && w->Display)
      RenderDisplayList(box, static_cast<DisplayList*>(w->Display), 0);
    else
      FindItemsInBox(box, design, &pl3::kIdentityTransform, 0);
    if (IsSchematicKind(w->editorKind))
      pl3::ColourisePlaneByByte();
    else
      pl3::ColourisePlane();
    image = CopyToBitmap(surface);
    pl3::FreePlaneBitmap(&surface);
  }
  w->View = savedView;
  w->WalkHidden = savedHidden;
  pl3::g_raster = savedRaster;
  return image;
}
