// The interface colour slots: a small palette derived from the system
// colours that the program's own controls and panes paint with. Each slot
// owns a solid brush and a pen of its colour, so painting code never makes
// GDI objects of its own.
#pragma once
#include <cstdint>

#include "platform/gdi.h"

constexpr int kUIColourSlotCount = 100;

struct UIColourSlot {
  HBRUSH brush;    // solid brush of the colour, owned
  HPEN pen;        // solid pen of width 0, owned
  COLORREF colour;
  std::uint8_t valid;  // 1 once the slot has been set
};

// Slots 1 to 20 are set by InitUIColours; the others stay invalid.
extern UIColourSlot UIColourSlots[kUIColourSlotCount];

// 1 when the visual styles are in use, else 0. Set by the start-up code
// (app/), which owns it; always 0 on this platform.
extern int ThemeActive;

// Stores the colour with a new brush and pen, deleting the slot's old ones.
// A slot number outside 0 to 99 is ignored.
void SetUIColour(int slot, COLORREF colour);
// Null (or colour 0) for a slot that is not valid.
HBRUSH GetUIColourBrush(int slot);
HPEN GetUIColourPen(int slot);
COLORREF GetUIColour(int slot);

// Per channel floor(a * alpha / 255) + floor(b * (255 - alpha) / 255): alpha
// (0 to 255, clamped) is the weight of a.
COLORREF BlendColours(COLORREF a, COLORREF b, int alpha);
// Per channel the truncation of (channel / 255) ^ gamma * 255; gammas below
// 1 lighten.
COLORREF LightenColour(COLORREF colour, double gamma);
// One channel of that rule: 0 stays 0 for every gamma, and the result stays
// within 0 to 255 whatever the gamma.
std::uint8_t GammaChannel(std::uint32_t channel, double gamma);
// 1/255 as the colour rules have always written it.
constexpr double kOneOver255 = 0.00392156862745098;

// Fills slots 1 to 20 from the system colours, by ThemeActive.
void InitUIColours();
// Empties the table, then InitUIColours. Called at start.
void ResetUIColours();
// Deletes every valid slot's brush and pen and marks it invalid. Called at exit.
void DestroyUIColours();

// Converts both corners of a client rectangle of the window to screen
// coordinates, in place.
void ClientRectToScreen(HWND window, RECT* rect);
