#include "objects/io_ports.h"

#include <cmath>
#include <cstring>

#include "edit/window_data.h"
#include "geometry/transform.h"
#include "objects/payload_access.h"
#include "objects/type_codes.h"
#include "store/seams.h"

Tower* FindChildByReference(const Tower* t, std::uint16_t code, std::uint32_t reference) {
  Tower* children = t && reference ? GetChildTower(t, code) : nullptr;
  while (children && FindNextEntity(children)) {
    if (NodeRefOf(TowerEntity(children)) == reference) {
      LastLevel(children).flags = kLevelLast | kLevelPositioned;
      return children;
    }
  }
  ReleaseTower(&children);
  return nullptr;
}

void RotateXYAboutOrigin(std::int32_t* x, std::int32_t* y, const pl3::Transform& t) {
  if (t.a == pl3::kFixedOne && t.b == 0 && t.c == 0 && t.d == pl3::kFixedOne) return;
  std::int32_t dx = *x - t.tx, dy = *y - t.ty;
  pl3::TransformVector(&t, dx, dy);
  *x = dx + t.tx;
  *y = dy + t.ty;
}

void CycleIOPortType(LocatorPayload* locator) { locator->portType = (locator->portType + 1) % 3; }

const pl3::Transform& IOPortRotationForAngle(int degrees) {
  if (degrees >= 45 && degrees <= 135) return pl3::R0;
  if (degrees >= 136 && degrees <= 224) return pl3::R90;
  if (degrees >= 225 && degrees <= 315) return pl3::R180;
  return pl3::R270;
}

int FitIOPortToWires(LocatorPayload* locator, const Tower* page) {
  int ends = 0;
  pl3::Point from{};
  for (std::uint16_t code : {std::uint16_t{Type_Wire}, std::uint16_t{Type_Bus}}) {
    Tower* wires = page ? GetChildTower(page, code) : nullptr;
    while (wires && FindNextEntity(wires)) {
      const std::uint8_t* w = PayloadOfAtLeast(TowerEntity(wires), sizeof(LinePayload));
      if (!w) continue;
      LinePayload line;
      std::memcpy(&line, w, sizeof line);
      if (line.x1 == locator->x && line.y1 == locator->y) {
        ++ends;
        from = {line.x2, line.y2};
      }
      if (line.x2 == locator->x && line.y2 == locator->y) {
        ++ends;
        from = {line.x1, line.y1};
      }
    }
    ReleaseTower(&wires);
  }
  if (ends != 1) return 0;
  const double dx = double(locator->x) - from.x, dy = double(locator->y) - from.y;
  int degrees = static_cast<int>(std::lround(std::atan2(dy, dx) * 180.0 / M_PI));
  if (degrees < 0) degrees += 360;
  if (degrees >= 360) degrees -= 360;
  locator->head.transform = IOPortRotationForAngle(degrees);
  return 1;
}
