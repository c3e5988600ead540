#include "draw/ui_colours.h"

#include <algorithm>
#include <cmath>

#include "platform/reset_hooks.h"
#include "platform/user.h"

UIColourSlot UIColourSlots[kUIColourSlotCount] = {};

namespace {

bool IsSlot(int slot) { return slot >= 0 && slot < kUIColourSlotCount; }

const UIColourSlot* ValidSlot(int slot) { return IsSlot(slot) && UIColourSlots[slot].valid ? &UIColourSlots[slot] : nullptr; }

std::uint32_t Channel(COLORREF c, int shift) { return (c >> shift) & 0xFF; }

void ForgetSlot(UIColourSlot& s) {
  if (s.valid) {
    DeleteObject(s.brush);
    DeleteObject(s.pen);
  }
  s = UIColourSlot{};
}

COLORREF System(int index) { return GetSysColor(index); }

// The highlight tints of the buttons, the same with and without themes.
void SetButtonHighlights() {
  const COLORREF faceAndHighlight = BlendColours(System(COLOR_3DFACE), System(COLOR_HIGHLIGHT), 32);
  SetUIColour(16, LightenColour(faceAndHighlight, 0.2));
  SetUIColour(17, LightenColour(faceAndHighlight, 0.8));
  SetUIColour(15, LightenColour(System(COLOR_3DFACE), 0.8));
}

void ResetSlotsForTests() {
  for (UIColourSlot& s : UIColourSlots) ForgetSlot(s);
}
const bool kResetRegistered = pl3::RegisterGlobalReset(&ResetSlotsForTests);

}  // namespace

void SetUIColour(int slot, COLORREF colour) {
  if (!IsSlot(slot)) return;
  UIColourSlot& s = UIColourSlots[slot];
  ForgetSlot(s);
  s.colour = colour;
  s.brush = CreateSolidBrush(colour);
  s.pen = CreatePen(PS_SOLID, 0, colour);
  s.valid = 1;
}

HBRUSH GetUIColourBrush(int slot) {
  const UIColourSlot* s = ValidSlot(slot);
  return s ? s->brush : nullptr;
}

HPEN GetUIColourPen(int slot) {
  const UIColourSlot* s = ValidSlot(slot);
  return s ? s->pen : nullptr;
}

COLORREF GetUIColour(int slot) {
  const UIColourSlot* s = ValidSlot(slot);
  return s ? s->colour : 0;
}

COLORREF BlendColours(COLORREF a, COLORREF b, int alpha) {
  const std::uint32_t wa = static_cast<std::uint32_t>(std::clamp(alpha, 0, 255));
  const std::uint32_t wb = 255 - wa;
  COLORREF out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const std::uint32_t c = Channel(a, shift) * wa / 255 + Channel(b, shift) * wb / 255;
    out |= (c & 0xFF) << shift;
  }
  return out;
}

std::uint8_t GammaChannel(std::uint32_t channel, double gamma) {
  if (channel == 0) return 0;
  const double c = std::pow(channel * kOneOver255, gamma) * 255;
  // A gamma below 0 or not a number must not leave the byte's range.
  if (!(c > 0)) return 0;
  return c >= 255 ? 255 : static_cast<std::uint8_t>(c);
}

COLORREF LightenColour(COLORREF colour, double gamma) {
  COLORREF out = 0;
  for (int shift = 0; shift <= 16; shift += 8) out |= static_cast<COLORREF>(GammaChannel(Channel(colour, shift), gamma)) << shift;
  return out;
}

void InitUIColours() {
  SetUIColour(4, System(COLOR_3DDKSHADOW));
  SetUIColour(3, 0x000000);
  SetUIColour(5, System(COLOR_3DFACE));
  SetUIColour(1, 0xE9FBFF);
  SetUIColour(11, System(COLOR_3DFACE));
  SetUIColour(9, 0x000000);
  SetUIColour(10, 0xFFFFFF);
  SetUIColour(6, System(COLOR_ACTIVECAPTION));
  SetUIColour(7, System(COLOR_3DFACE));
  SetUIColour(14, System(COLOR_ACTIVECAPTION));
  SetUIColour(8, System(COLOR_3DSHADOW));
  SetUIColour(12, System(COLOR_3DHILIGHT));
  SetUIColour(13, System(COLOR_3DSHADOW));
  SetUIColour(19, LightenColour(BlendColours(System(COLOR_WINDOW), System(COLOR_3DLIGHT), 90), 0.45));
  if (ThemeActive == 1) {
    SetUIColour(18, LightenColour(BlendColours(System(COLOR_MENU), System(COLOR_HIGHLIGHT), 90), 0.45));
    SetUIColour(15, 0xE9FBFF);
    SetUIColour(2, 0xE9FBFF);
    SetUIColour(20, System(COLOR_3DFACE));
    SetUIColour(1, 0xE9FBFF);
    SetButtonHighlights();
  } else {
    SetUIColour(18, System(COLOR_HIGHLIGHT));
    SetButtonHighlights();
    SetUIColour(2, LightenColour(System(COLOR_3DFACE), 0.4));
    SetUIColour(20, System(COLOR_3DFACE));
  }
}

void ResetUIColours() {
  // Objects of an earlier fill are deleted rather than lost, so a second
  // reset (after the system colours change) leaks nothing.
  for (UIColourSlot& s : UIColourSlots) ForgetSlot(s);
  InitUIColours();
}

void DestroyUIColours() {
  // The slots become invalid too: a painter running after exit gets null,
  // never a deleted handle.
  for (UIColourSlot& s : UIColourSlots) ForgetSlot(s);
}

void ClientRectToScreen(HWND window, RECT* rect) {
  if (!rect) return;
  POINT corners[2] = {{rect->left, rect->top}, {rect->right, rect->bottom}};
  ClientToScreen(window, &corners[0]);
  ClientToScreen(window, &corners[1]);
  *rect = RECT{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}
