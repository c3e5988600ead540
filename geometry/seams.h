// What the raster kernel calls in the layers above it. These functions are
// declared here and defined by draw/ (the drawing code's span-target
// callbacks and line pattern); the kernel never includes a draw/ header.
#pragma once
#include <cstdint>

// Area pick (span target 4), called while the pick is pending: 1 when the
// run was taken (or the entity is already picked), else 0.
int PickHorizontalRun(std::int32_t x0, std::int32_t x1, std::int32_t y);
int PickVerticalRun(std::int32_t x, std::int32_t y0, std::int32_t y1);

// Outline trace (span target 2), when a run starts a new row or column: a
// one-pixel line on the device context from (x, lastY) to (lastX, lastY), or
// from (lastX, lastY) to (lastX, y).
void TraceHorizontalRun(void* context, std::int32_t x, std::int32_t lastX, std::int32_t lastY);
void TraceVerticalRun(void* context, std::int32_t lastX, std::int32_t lastY, std::int32_t y);

// One chord of an arc traced onto a device context, clipped to the view.
void DrawClippedChord(void* context, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2);

// Advances the line pattern before each pixel of a patterned line; may change
// the kernel's fill value.
void StepLinePattern();
