#include "objects/dimensioners.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "edit/window_data.h"
#include "objects/item_helper_seams.h"
#include "objects/locator_kinds.h"
#include "objects/payload_access.h"
#include "objects/text_item_services.h"
#include "platform/reset_hooks.h"
#include "platform/user.h"
#include "store/tower.h"

namespace {

constexpr double kPi = 3.1415926535;

// Degrees 0 to 360 of a vector.
double VectorDegrees(double x, double y) {
  double a = std::atan2(y, x) * 180.0 / kPi;
  if (a < 0) a += 360.0;
  if (a >= 360.0) a -= 360.0;
  return a;
}

std::uint32_t AbsDifference(std::int32_t p, std::int32_t q) {
  return static_cast<std::uint32_t>(std::llabs(static_cast<long long>(p) - q));
}

std::int64_t SquaredDistance(pl3::Point p, pl3::Point q) {
  const std::int64_t dx = static_cast<std::int64_t>(p.x) - q.x;
  const std::int64_t dy = static_cast<std::int64_t>(p.y) - q.y;
  return dx * dx + dy * dy;
}

double Distance(pl3::Point p, pl3::Point q) { return std::sqrt(static_cast<double>(SquaredDistance(p, q))); }

void MovePoint(pl3::Point& p, pl3::Point offset) {
  p.x = static_cast<std::int32_t>(static_cast<std::uint32_t>(p.x) + static_cast<std::uint32_t>(offset.x));
  p.y = static_cast<std::int32_t>(static_cast<std::uint32_t>(p.y) + static_cast<std::uint32_t>(offset.y));
}

void MoveAllPoints(DimensionerPayload* d, pl3::Point offset) {
  MovePoint(d->a, offset);
  MovePoint(d->b, offset);
  MovePoint(d->c, offset);
  MovePoint(d->labelPosition, offset);
}

void UnitePoint(pl3::Box& box, pl3::Point p, std::int32_t margin) {
  box.xmin = std::min<std::int64_t>(box.xmin, static_cast<std::int64_t>(p.x) - margin);
  box.ymin = std::min<std::int64_t>(box.ymin, static_cast<std::int64_t>(p.y) - margin);
  box.xmax = std::max<std::int64_t>(box.xmax, static_cast<std::int64_t>(p.x) + margin);
  box.ymax = std::max<std::int64_t>(box.ymax, static_cast<std::int64_t>(p.y) + margin);
}

void UniteBox(pl3::Box& box, const pl3::Box& other) {
  box.xmin = std::min(box.xmin, other.xmin);
  box.ymin = std::min(box.ymin, other.ymin);
  box.xmax = std::max(box.xmax, other.xmax);
  box.ymax = std::max(box.ymax, other.ymax);
}

void Widen(pl3::Box& box, std::int32_t margin) {
  box.xmin -= margin;
  box.ymin -= margin;
  box.xmax += margin;
  box.ymax += margin;
}

char* HeapCopy(const std::string& text) {
  char* copy = static_cast<char*>(std::malloc(text.size() + 1));
  if (copy) std::memcpy(copy, text.c_str(), text.size() + 1);
  return copy;
}

bool Inside(const pl3::Box& box, pl3::Point p) {
  return p.x >= box.xmin && p.x <= box.xmax && p.y >= box.ymin && p.y <= box.ymax;
}

}  // namespace

int ClassifyDimensionerDirection(const DimensionerPayload* d) {
  if (d->a.x == d->b.x) return 2;
  if (d->a.y == d->b.y) return 0;
  const double angle = VectorDegrees(static_cast<double>(d->c.x) - d->b.x, static_cast<double>(d->c.y) - d->b.y);
  if (angle >= 45 && angle < 135) return 3;
  if (angle >= 135 && angle < 225) return 0;
  if (angle >= 225 && angle < 315) return 2;
  return 1;
}

std::uint32_t MeasureDimensioner(const DimensionerPayload* d) {
  return ClassifyDimensionerDirection(d) < 2 ? AbsDifference(d->a.x, d->b.x) : AbsDifference(d->a.y, d->b.y);
}

void UpdateDimensionerLength(DimensionerPayload* d) { d->length = MeasureDimensioner(d); }

double AngleDimensionerDegrees(const DimensionerPayload* d) {
  const double a = VectorDegrees(static_cast<double>(d->a.x) - d->c.x, static_cast<double>(d->a.y) - d->c.y);
  const double b = VectorDegrees(static_cast<double>(d->b.x) - d->c.x, static_cast<double>(d->b.y) - d->c.y);
  double angle = a - b + 360.0;
  if (angle >= 360.0) angle -= 360.0;
  return angle;
}

std::string FormatDimensionerValue(std::uint32_t length, std::uint32_t unit) {
  char text[64];
  const double l = length;
  switch (unit) {
    case kDimensionerThou:
      std::snprintf(text, sizeof text, "%d thou", static_cast<int>(std::floor(l / 36576 + 0.5)));
      break;
    case kDimensionerInch:
      std::snprintf(text, sizeof text, "%.2f inches", std::floor(l / 36576000 * 100 + 0.5) * 0.01);
      break;
    case kDimensionerMillimetre:
      std::snprintf(text, sizeof text, "%.3f mm", l / 1440000);
      break;
    case kDimensionerCentimetre:
      std::snprintf(text, sizeof text, "%.1f cm", std::floor(l / 14400000 * 10 + 0.5) * 0.1);
      break;
    default:
      return {};
  }
  return text;
}

std::string FormatAngleValue(double degrees, std::uint32_t unit) {
  char text[64];
  if (unit == kDimensionerDegrees) {
    std::snprintf(text, sizeof text, "%d\xB0", static_cast<int>(std::floor(degrees + 0.5)));
  } else if (unit == kDimensionerRadians) {
    std::snprintf(text, sizeof text, "%.2f radians", std::floor(degrees * kPi / 180 * 100 + 0.5) * 0.01);
  } else {
    return {};
  }
  return text;
}

// Expanded into a growing string: many "@dim" fields may give far more than
// the template's own length.
std::string ExpandDimensionerTemplate(const char* text, const std::string& value) {
  std::string out;
  for (const char* p = text; *p;) {
    if (*p != '@') {
      out += *p++;
      continue;
    }
    if (p[1] == '@') {
      out += '@';
      p += 2;
      continue;
    }
    const char* word = p + 1;
    const char* end = word;
    while (*end && *end != ' ') ++end;
    if (end - word == 3 && std::tolower(static_cast<unsigned char>(word[0])) == 'd' &&
        std::tolower(static_cast<unsigned char>(word[1])) == 'i' &&
        std::tolower(static_cast<unsigned char>(word[2])) == 'm') {
      out += value;
    }
    p = end;
  }
  return out;
}

std::string GetDimensionerTemplate(const Tower* entity, bool* present) {
  if (present) *present = false;
  Tower* child = NewestChildTower(entity, kDimensionerTemplateCode);
  if (!child) return {};
  Entity* e = TowerEntity(child);
  std::string text;
  if (e) {
    const char* payload = reinterpret_cast<const char*>(EntityPayload(e));
    text.assign(payload, strnlen(payload, e->payloadSize));
    if (present) *present = true;
  }
  ReleaseTower(&child);
  return text;
}

namespace {
char* LabelFromValue(const Tower* entity, const std::string& value) {
  bool present = false;
  const std::string tpl = GetDimensionerTemplate(entity, &present);
  return HeapCopy(present ? ExpandDimensionerTemplate(tpl.c_str(), value) : value);
}
}  // namespace

char* FormatDimensionerLabel(const DimensionerPayload* d, const Tower* entity) {
  return LabelFromValue(entity, FormatDimensionerValue(d->length, d->unit));
}

char* FormatAngleDimensionerLabel(const DimensionerPayload* d, const Tower* entity) {
  return LabelFromValue(entity, FormatAngleValue(AngleDimensionerDegrees(d), d->unit));
}

char* FormatAnyDimensionerLabel(std::uint16_t type, const DimensionerPayload* d, const Tower* entity) {
  return type == 21 ? FormatAngleDimensionerLabel(d, entity) : FormatDimensionerLabel(d, entity);
}

TextPayload* BuildDimensionerLabelItem(std::uint16_t type, const DimensionerPayload* d, const Tower* entity) {
  char* label = FormatAnyDimensionerLabel(type, d, entity);
  if (!label) return nullptr;
  pl3::Transform placed = d->labelTransform;
  placed.tx = d->labelPosition.x;
  placed.ty = d->labelPosition.y;
  TextPayload* item = (d->flags & kDimensionerTextByIndex)
                          ? CreateTextItem(label, d->textSizeIndex, d->head.layer, &placed, d->labelDisplay, d->font)
                          : CreateTextItemEx(label, d->textSize, d->head.layer, &placed, d->labelDisplay, d->font);
  std::free(label);
  return item;
}

void GetDimensionerLabelBox(std::uint16_t type, const DimensionerPayload* d, const Tower* entity, pl3::Box* box) {
  *box = {d->labelPosition.x, d->labelPosition.y, d->labelPosition.x, d->labelPosition.y};
  TextPayload* item = BuildDimensionerLabelItem(type, d, entity);
  if (!item) return;
  GetTextEntityBox(item, box);
  std::free(item);
}

void GetDimensionerBox(const DimensionerPayload* d, pl3::Box* box, const Tower* entity) {
  pl3::Box b{d->a.x, d->a.y, d->a.x, d->a.y};
  Widen(b, kDimensionerMarkerRadius);
  UnitePoint(b, d->b, kDimensionerMarkerRadius);
  pl3::Box label;
  GetDimensionerLabelBox(22, d, entity, &label);
  UniteBox(b, label);
  UnitePoint(b, d->c, 0);
  Widen(b, kDimensionerArrowLength);
  if (d->options & kDimensionerArrowsOutside) Widen(b, kDimensionerStubLength);
  *box = b;
}

void GetAngleDimensionerBox(const DimensionerPayload* d, pl3::Box* box, const Tower* entity) {
  const auto r = static_cast<std::int32_t>(std::lround(Distance(d->a, d->c)));
  pl3::Box b{d->c.x, d->c.y, d->c.x, d->c.y};
  Widen(b, r);
  pl3::Box label;
  GetDimensionerLabelBox(21, d, entity, &label);
  UniteBox(b, label);
  *box = b;
}

pl3::Point AngleDimensionerArmEnd(const DimensionerPayload* d) {
  const double arm = Distance(d->b, d->c);
  if (arm == 0) return d->c;
  const double scale = Distance(d->a, d->c) / arm;
  return {static_cast<std::int32_t>(d->c.x + (static_cast<double>(d->b.x) - d->c.x) * scale),
          static_cast<std::int32_t>(d->c.y + (static_cast<double>(d->b.y) - d->c.y) * scale)};
}

namespace {

void SetReference(DragStatus* status, pl3::Point p, std::uint16_t grab) {
  status->x = p.x;
  status->y = p.y;
  status->grabCode = grab;
}

// The whole-item and label grabs both types share; true when one applied.
bool GrabWholeOrLabel(std::uint16_t type, const DimensionerPayload* d, const Tower* entity, DragStatus* status) {
  if (status->flag) {
    SetReference(status, d->a, kDimensionerGrabWhole);
    return true;
  }
  pl3::Box label;
  GetDimensionerLabelBox(type, d, entity, &label);
  if (Inside(label, status->cursor)) {
    SetReference(status, d->labelPosition, kDimensionerGrabLabel);
    return true;
  }
  return false;
}

std::int64_t HalfSquared(std::uint32_t span) {
  const std::int64_t half = span / 2;
  return half * half;
}

}  // namespace

int GetDimensionerDragStatus(const Tower* entity, DragStatus* status) {
  Entity* e = TowerEntity(entity);
  auto* d = reinterpret_cast<const DimensionerPayload*>(PayloadOfAtLeast(e, sizeof(DimensionerPayload)));
  if (!d || !status) return 0;
  if (GrabWholeOrLabel(22, d, entity, status)) return 1;
  const bool alongX = ClassifyDimensionerDirection(d) < 2;
  const std::uint32_t spanA = alongX ? AbsDifference(d->a.y, d->c.y) : AbsDifference(d->a.x, d->c.x);
  const std::uint32_t spanB = alongX ? AbsDifference(d->b.y, d->c.y) : AbsDifference(d->b.x, d->c.x);
  if (SquaredDistance(status->cursor, d->a) < HalfSquared(spanA)) {
    SetReference(status, d->a, kDimensionerGrabA);
  } else if (SquaredDistance(status->cursor, d->b) < HalfSquared(spanB)) {
    SetReference(status, d->b, kDimensionerGrabB);
  } else {
    SetReference(status, d->c, kDimensionerGrabLine);
  }
  return 1;
}

int GetAngleDimensionerDragStatus(const Tower* entity, DragStatus* status) {
  Entity* e = TowerEntity(entity);
  auto* d = reinterpret_cast<const DimensionerPayload*>(PayloadOfAtLeast(e, sizeof(DimensionerPayload)));
  if (!d || !status) return 0;
  if (GrabWholeOrLabel(21, d, entity, status)) return 1;
  const pl3::Point armEnd = AngleDimensionerArmEnd(d);
  constexpr std::int64_t kLeast = 133780377600;  // 365,760 squared
  const std::int64_t threshold =
      std::max(std::min(SquaredDistance(d->a, armEnd) / 2, SquaredDistance(d->a, d->c) / 2), kLeast);
  if (SquaredDistance(status->cursor, d->a) < threshold) {
    SetReference(status, d->a, kDimensionerGrabA);
  } else if (SquaredDistance(status->cursor, armEnd) < threshold) {
    SetReference(status, d->b, kDimensionerGrabB);
  } else {
    SetReference(status, d->c, kDimensionerGrabLine);
  }
  return 1;
}

void MoveDimensionerHandles(DimensionerPayload* d, pl3::Point offset, std::uint16_t grab) {
  switch (grab) {
    case kDimensionerGrabAll:
    case kDimensionerGrabWhole:  // a whole-item drag moves everything, as grab 0 does
      MoveAllPoints(d, offset);
      break;
    case kDimensionerGrabA:
      MovePoint(d->a, offset);
      break;
    case kDimensionerGrabB:
      MovePoint(d->b, offset);
      MovePoint(d->c, offset);
      MovePoint(d->labelPosition, offset);
      break;
    case kDimensionerGrabLine:
      MovePoint(d->c, offset);
      MovePoint(d->labelPosition, offset);
      break;
    case kDimensionerGrabLabel:
      MovePoint(d->labelPosition, offset);
      break;
    default:
      break;
  }
  UpdateDimensionerLength(d);
}

void MoveAngleDimensionerHandles(DimensionerPayload* d, pl3::Point offset, std::uint16_t grab) {
  switch (grab) {
    case kDimensionerGrabAll:
    case kDimensionerGrabWhole:
      MoveAllPoints(d, offset);
      break;
    case kDimensionerGrabA:
      MovePoint(d->a, offset);
      MovePoint(d->labelPosition, offset);
      SnapDimensionerPoint(&d->a.x, &d->a.y);
      break;
    case kDimensionerGrabB:
      MovePoint(d->b, offset);
      SnapDimensionerPoint(&d->b.x, &d->b.y);
      break;
    case kDimensionerGrabLine:
      MovePoint(d->c, offset);
      SnapDimensionerPoint(&d->c.x, &d->c.y);
      break;
    case kDimensionerGrabLabel:
      MovePoint(d->labelPosition, offset);
      break;
    default:
      break;
  }
}
