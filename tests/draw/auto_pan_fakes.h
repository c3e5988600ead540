// What the recording fakes of draw/auto_pan_seams.h saw.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "geometry/types.h"

// The plane word the strip render writes.
constexpr std::uint32_t kStripPlaneValue = 0x3333;

extern std::vector<std::string> AutoPanEvents;  // "render", "crosshair", "scroll bars" in call order
extern std::vector<pl3::Box> RenderedBoxes;
extern pl3::Point* LastCrosshairRecord;
