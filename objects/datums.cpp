#include "objects/datums.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "edit/window_data.h"
#include "objects/cursor_zoom.h"
#include "objects/entity_record.h"
#include "objects/item_sides.h"
#include "objects/locator_dispatch.h"
#include "objects/locator_kinds.h"
#include "objects/real_size.h"
#include "objects/type_codes.h"
#include "platform/user.h"
#include "store/node_pool.h"
#include "store/seams.h"
#include "store/tower.h"

namespace {

constexpr std::uint32_t kJustifyLeft = 4;
constexpr std::uint32_t kJustifyRight = 8;

// The datum payload of an entity when it is long enough to hold one.
const DatumPayload* DatumOf(const Entity* e) {
  if (!e || e->payloadSize < DatumStoredSize(0)) return nullptr;
  return reinterpret_cast<const DatumPayload*>(EntityPayload(e));
}

// The stored name of an entity's datum, read within its stored bytes.
bool NameEquals(const Entity* e, const char* name) {
  const DatumPayload* d = DatumOf(e);
  if (!d) return false;
  const std::size_t room = std::min<std::size_t>(e->payloadSize - 64, kDatumNameRoom - 1);
  const std::size_t n = strnlen(d->name, room);
  return n == std::strlen(name) && std::memcmp(d->name, name, n) == 0;
}

// Calls `visit` on each datum entity of the design until it returns true;
// returns that entity or null.
template <typename Visit>
const Entity* FindDatumEntity(const Tower* design, Visit visit) {
  Tower* datums = design ? GetChildTower(design, Type_Datum) : nullptr;
  const Entity* found = nullptr;
  while (!found && datums) {
    const Entity* e = FindNextEntity(datums);
    if (!e) break;
    if (visit(e)) found = e;
  }
  ReleaseTower(&datums);
  return found;
}

}  // namespace

std::int32_t DatumTextHeight(const DatumPayload* datum) {
  const std::int64_t points = ReturnRealSize(Type_Text, datum->head.sizeIndex);
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(points * kDatumUnitsPerPoint, 0, INT32_MAX));
}

bool IsUpperRightDatum(const DatumPayload* datum) {
  return DatumName(datum) == kUpperRightDatumName;
}

DatumSymbol DatumArms(std::int32_t x, std::int32_t y, std::int32_t h, bool upperRight) {
  const std::int32_t s = upperRight ? -h : h;
  const std::int32_t t = h / 3;
  const pl3::Point upTip = {x, y - s}, sideTip = {x + s, y};
  return DatumSymbol{
      {{x, y + t}, {x - t, y}, {x - t, y + t - s}, {x + t, y + t - s}, {x + s - t, y + t}, {x + s - t, y - t}},
      {upTip, sideTip, upTip, upTip, sideTip, sideTip}};
}

DatumNamePlace DatumNamePlacement(const DatumPayload* datum) {
  const std::int32_t t = DatumTextHeight(datum) / 3;
  if (IsUpperRightDatum(datum)) return {{datum->x + t, datum->y}, kJustifyLeft};
  return {{datum->x - t, datum->y}, kJustifyRight};
}

void GetDatumBox(const DatumPayload* datum, pl3::Box* box) {
  const std::int32_t h = DatumTextHeight(datum);
  *box = {datum->x - h, datum->y - h, datum->x + h, datum->y + h};
  const std::string name = DatumName(datum);
  const DatumNamePlace place = DatumNamePlacement(datum);
  const PlacedText text{name.c_str(), place.at.x, place.at.y, 0, place.justification,
                        static_cast<std::int32_t>(datum->head.sizeIndex), 1};
  pl3::Box nameBox = pl3::kEmptyBox;
  if (!name.empty() && GetTextBoxAt(text, &nameBox)) UniteBox(box, nameBox);
}

void TranslateDatum(DatumPayload* datum, std::int32_t dx, std::int32_t dy) {
  datum->x += dx;
  datum->y += dy;
}

pl3::Point DatumGrabPoint(const DatumPayload* datum) { return {datum->x, datum->y}; }

const DatumPayload* FindDatumByName(const Tower* design, const char* name) {
  return DatumOf(FindDatumEntity(design, [name](const Entity* e) { return NameEquals(e, name); }));
}

int DatumNameExists(const char* name, const Entity* exclude) {
  const Tower* design = ActiveWindowData ? ActiveWindowData->design : nullptr;
  return FindDatumEntity(design, [&](const Entity* e) {
           return e != exclude && !(e->flags & kEntitySelected) && NameEquals(e, name);
         }) != nullptr;
}

Entity* CreateDatum(const Tower* design, const char* name, std::int32_t x, std::int32_t y, int notify) {
  if (!design || !name) return nullptr;
  std::unique_ptr<EntityRecord> record = NewEntityRecord();
  InitialiseEntityRecord(record.get(), Type_Datum, &pl3::kIdentityTransform, 0);
  auto& d = record->as<DatumPayload>();
  d.head.sizeFlags = 0;
  d.x = x;
  d.y = y;
  d.keyStroke = 0;
  const std::size_t n = strnlen(name, kDatumNameRoom - 1);
  std::memcpy(d.name, name, n);
  d.name[n] = '\0';
  Tower* stored = StoreGraphicRecord(design, record.get(), notify);
  Entity* e = TowerEntity(stored);
  ReleaseTower(&stored);
  return e;
}

int EnsureMasterDatum(const Tower* design) {
  if (!design || FindDatumByName(design, kMasterDatumName)) return 0;
  return CreateDatum(design, kMasterDatumName, kMasterDatumX, kMasterDatumY, 0) ? 1 : 0;
}

void SetOriginToDatum(void* window, const char* name) {
  CurrentWindowData* w = ActiveWindowData;
  const DatumPayload* datum = w ? FindDatumByName(w->design, name) : nullptr;
  if (!datum) {
    MessageBox(static_cast<HWND>(window), "Datum not found.", "Pelmora3", MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  w->CoordinateOrigin = {datum->x, datum->y};
  AfterOriginChange(window);
}

void ResetOriginToMaster(void* window) { SetOriginToDatum(window, kMasterDatumName); }
