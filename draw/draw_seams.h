// What the immediate drawing calls in the editors above it: the schematic
// editor's wire and bus drawer and the PCB editor's plane boxes. Declared
// here, defined by their owners; until those land the program links the
// stand-ins of app/wire_drawing_seams_pending.cpp and
// app/plane_box_seams_pending.cpp, and tests link fakes.
#pragma once
#include <cstdint>

#include "geometry/types.h"

// Draws a wire (28) or bus (29) payload into the plane under the transform
// in the draw pass.
void DrawWireEntity(const void* payload, std::uint16_t type, const pl3::Transform* transform, int pass);

// The world box of the planes on a layer of the active window's board: 1
// with the box filled, 0 when the layer has no plane.
int GetLayerPlaneBox(std::uint8_t layer, pl3::Box* box);
