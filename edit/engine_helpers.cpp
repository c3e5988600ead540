#include "edit/engine_helpers.h"

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstring>

#include "edit/edit_modes.h"
#include "edit/window_data.h"
#include "objects/graphic_records.h"
#include "store/tower.h"

namespace {

bool Suits(const LayerRecord& r, std::uint16_t kind) {
  return (r.flags & kLayerSelectable) && (kind == 0 || r.kind == kind);
}

// The next (step 1) or previous (step -1) suitable layer round the table, or
// the layer itself when none other suits.
std::uint8_t SearchLayer(const LayerTable& table, std::uint8_t layer, std::uint16_t kind, int step) {
  for (int i = 1; i < static_cast<int>(kLayerCount); ++i) {
    const auto candidate = static_cast<std::uint8_t>(layer + step * i);
    if (Suits(table.layers[candidate], kind)) return candidate;
  }
  return layer;
}

}  // namespace

void AddPointToBox(pl3::Box* box, pl3::Point p) {
  box->xmin = std::min(box->xmin, p.x);
  box->ymin = std::min(box->ymin, p.y);
  box->xmax = std::max(box->xmax, p.x);
  box->ymax = std::max(box->ymax, p.y);
}

std::uint8_t ChooseLayerOfKind(std::uint8_t layer, std::uint16_t kind) {
  const CurrentWindowData* w = ActiveWindowData;
  if (!w) return layer;
  const LayerTable& table = w->layerTable;
  if (Suits(table.layers[layer], kind)) return layer;
  const std::uint8_t next = SearchLayer(table, layer, kind, 1);
  return next != layer ? next : SearchLayer(table, layer, kind, -1);
}

std::uint8_t FindLayerByLetter(char letter) {
  const CurrentWindowData* w = ActiveWindowData;
  if (!w) return 255;
  for (std::size_t i = 0; i < kLayerCount; ++i) {
    const LayerRecord& r = w->layerTable.layers[i];
    if ((r.flags & kLayerPresent) && std::toupper(r.letter) == static_cast<unsigned char>(letter))
      return static_cast<std::uint8_t>(i);
  }
  return 255;
}

void ClearButtonRecord(ButtonRecord* record) {
  record->MousePixel = {};
  record->Cursor = {};
  record->MouseWorld = {};
  // The three words after the hold position: the two kept words and the anchor's x.
  std::memset(reinterpret_cast<std::uint8_t*>(record) + offsetof(ButtonRecord, Unused), 0, 12);
}

void MoveCentroidPart(CentroidPayload* centroid, pl3::Point offset, std::uint16_t grabbedPart) {
  pl3::Point* part = grabbedPart == 0 ? &centroid->position : grabbedPart == 6 ? &centroid->direction : nullptr;
  if (!part) return;
  part->x += offset.x;
  part->y += offset.y;
}

Entity* FindFirstChildOfCode(Tower* t, std::uint16_t code) {
  if (!t) return nullptr;
  LastLevel(t).typeCode = code;
  ResetTowerSearch(t, kLevelMatch);
  return FindNextEntity(t);
}

std::uint32_t GetPl2BufferSize() { return kPl2BufferSize; }
