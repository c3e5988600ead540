// One small painter per display item kind and paint pass: normal painting,
// plane-clearance cutting, cutting layer by layer for plane cutting, drills
// and marks, and the GDI overlays (board outlines, keepouts, pin labels),
// which land in the layer plane through a device context over the plane.
// Each painter sets the raster kernel's fill value (and, where said, its
// raster op) for its item and puts back what it found.
#pragma once
#include <cstdint>

#include "draw/display_list.h"
#include "geometry/types.h"
#include "platform/win_types.h"

// Puts the kernel's raster op, fill value and track modes back when it ends.
struct RasterStateSave {
  RasterStateSave();
  ~RasterStateSave();
  RasterStateSave(const RasterStateSave&) = delete;
  RasterStateSave& operator=(const RasterStateSave&) = delete;
  std::uint8_t op;
  std::uint32_t fill;
  std::uint8_t outline;
  std::uint8_t highlight;
};

// A paint layer group: one plane clearance, the colour bits of the layers
// that have it, and those layers.
struct PaintLayerGroup {
  std::int32_t clearance;
  std::uint32_t colourBits;
  std::uint32_t spare;
  std::uint32_t layerCount;
  std::uint8_t layers[32];
};
struct PaintLayerGroups {
  PaintLayerGroup* groups = nullptr;
  std::uint32_t count = 0;
};
// Groups over the inner layers 2 to 31 and over the copper layers 1 to 32:
// the layers in use and (unless allLayers) visible, a single shown layer alone.
PaintLayerGroups BuildPaintLayerGroups(int allLayers);
PaintLayerGroups BuildOutlineLayerGroups(int allLayers);
void FreePaintLayerGroups(PaintLayerGroups& groups);

// The device context over the layer plane that GDI overlays draw into, made
// on first use in a paint (null while the kernel renders into anything but
// the plane); ReleasePlaneDC ends it.
HDC AcquirePlaneDC();
void ReleasePlaneDC();
// The colour word GDI takes for a plane value: special colour n (0x8n0000)
// is 0x80 + n, layer bits v the word whose pixel is v.
COLORREF PlaneColourWord(std::uint32_t planeValue);

// DrawTextA in calculate mode; nothing for a null text.
void MeasureText(HDC dc, const char* text, RECT* rect);

// ---- Normal painting ----------------------------------------------------------------
void PaintTrackItem(const DisplayItem* item);
void PaintTrackEndMarks(const DisplayItem* item);
void PaintOutlineLineItem(const DisplayItem* item);
void PaintArcItem(const DisplayItem* item);
void PaintOutlineArcItem(const DisplayItem* item);
void PaintCircleItem(const DisplayItem* item);
void PaintRectangleItem(const DisplayItem* item);
void PaintPolygonItem(const DisplayItem* item);
void PaintPolygonOutline(const DisplayItem* item);
void PaintCutoutCorners(const DisplayItem* item);
void PaintComponentOutline(const DisplayItem* item);
void PaintKeepoutItem(const DisplayItem* item);
void PaintGlyphItem(const DisplayItem* item);
void PaintHoleRing(const DisplayItem* item);
void PaintHoleCross(const DisplayItem* item);
void PaintViaItem(const DisplayItem* item);
void DrillHoleItem(const DisplayItem* item);
void PaintSlotItem(const DisplayItem* item, std::uint32_t copperMask);
void PaintDatumItem(const DisplayItem* item);
// The linked cut's outline in its current colour; a slot's outline, and its
// centre line and end crosses.
void PaintLinkedCutOutline(const DisplayItem* item);
void PaintSlotOutline(const DisplayItem* item, std::uint32_t copperMask);
void PaintSlotDrillMarks(const DisplayItem* item);

// ---- Clearances ------------------------------------------------------------------------
void ClearTrackItem(const DisplayItem* item, const PaintLayerGroups& groups);
void ClearArcItem(const DisplayItem* item, const PaintLayerGroups& groups);
void ClearCircleItem(const DisplayItem* item, const PaintLayerGroups& groups);
void ClearRectangleItem(const DisplayItem* item, const PaintLayerGroups& groups);
void ClearPolygonItem(const DisplayItem* item, const PaintLayerGroups& groups);
void ClearOutlineLineItem(const DisplayItem* item, const PaintLayerGroups& outlineGroups);
void ClearOutlineArcItem(const DisplayItem* item, const PaintLayerGroups& outlineGroups);
void ClearGlyphItem(const DisplayItem* item);
void ClearHoleItem(const DisplayItem* item);
void ClearViaItem(const DisplayItem* item);
void ClearSlotItem(const DisplayItem* item);

// ---- Plane cutting, layer by layer --------------------------------------------------------
void ClearHoleByLayer(const DisplayItem* item);
void ClearTrackByLayer(const DisplayItem* item, const PaintLayerGroups& groups);
void ClearArcByLayer(const DisplayItem* item, const PaintLayerGroups& groups);
void ClearCircleByLayer(const DisplayItem* item, const PaintLayerGroups& groups);
void ClearRectangleByLayer(const DisplayItem* item, const PaintLayerGroups& groups);
void ClearPolygonByLayer(const DisplayItem* item, const PaintLayerGroups& groups);

// ---- Pin labels -------------------------------------------------------------------------------
// The label pass over the pin labels list within the box (null: everything).
void PaintPinLabels(const pl3::Box* box, const DisplayList* list);
