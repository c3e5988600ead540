// What the immediate drawing calls in the design objects' plane data, owned
// there. Until the owner lands the program links the stand-in of
// app/plane_clearance_seams_pending.cpp and tests link fakes.
#pragma once
#include <cstdint>

struct Tower;

// The plane clearance of a layer from the design's plane clearance table;
// 365,760 (10 thou) when the table or the layer's entry is missing.
std::int32_t GetPlaneClearance(const Tower* design, std::uint8_t layer);
