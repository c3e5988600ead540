#include "objects/design_helpers.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "edit/window_data.h"
#include "geometry/arcs.h"
#include "geometry/raster_state.h"
#include "geometry/rasterise.h"
#include "geometry/transform.h"
#include "geometry/view_mapping.h"
#include "objects/graphic_records.h"
#include "objects/payload_access.h"
#include "objects/size_table.h"
#include "objects/tower_validity.h"
#include "objects/type_codes.h"
#include "objects/walker.h"
#include "platform/gdi.h"
#include "platform/kernel_files.h"
#include "platform/reset_hooks.h"
#include "platform/responder.h"
#include "store/tower.h"

// The current text justification of new text: left and bottom at start.
std::uint32_t DefaultJustification = 36;

namespace {

void ResetDefaultJustification() { DefaultJustification = 36; }
const bool g_registered = pl3::RegisterGlobalReset(&ResetDefaultJustification);

constexpr std::uint32_t kJustifyMask = 60;

std::int64_t SquaredDistance(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
  const std::int64_t dx = static_cast<std::int64_t>(x1) - x2;
  const std::int64_t dy = static_cast<std::int64_t>(y1) - y2;
  return dx * dx + dy * dy;
}

bool SamePoint(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) { return x1 == x2 && y1 == y2; }

std::int32_t ClampView(std::int32_t v) { return std::clamp(v, -20000, 20000); }

// The first group of the code in a list of groups, 0 when there is none.
NodeRef GroupOfCode(NodeRef groups, std::uint16_t code) {
  for (NodeRef g = groups; g; g = NodeAt<TypeGroup>(g)->next)
    if (NodeAt<TypeGroup>(g)->typeCode == code) return g;
  return 0;
}

bool EntityInGroup(NodeRef group, NodeRef entity) {
  for (NodeRef e = NodeAt<TypeGroup>(group)->firstChild; e; e = NodeAt<Entity>(e)->next)
    if (e == entity) return true;
  return false;
}

// The group holding level k's entity: among the root groups for level 0,
// else among the groups of the level above (checked before). 0 when the
// level names no entity or its code has no group there.
NodeRef LevelGroup(const Tower* t, int k) {
  if (!LevelEntity(t->levels[k])) return 0;
  NodeRef groups = NodeRefOf(RootGroup());
  if (k > 0) {
    const Entity* parent = LevelEntity(t->levels[k - 1]);
    if (!parent) return 0;
    groups = parent->firstChild;
  }
  // The code is taken from the level, never from the entity, which may be gone.
  return GroupOfCode(groups, t->levels[k].typeCode);
}

bool CachedEntityInGroup(TowerValidityCache& cache, NodeRef group, NodeRef entity) {
  TowerValidityCache::Group& g = cache.groups[group];
  // One search walks the group; a group searched again is worth a set.
  if (g.searches++ == 0) return EntityInGroup(group, entity);
  if (g.entities.empty()) {
    for (NodeRef e = NodeAt<TypeGroup>(group)->firstChild; e; e = NodeAt<Entity>(e)->next) g.entities.insert(e);
  }
  return g.entities.count(entity) != 0;
}

std::uint32_t StepJustification(std::uint32_t bits, std::uint32_t low, std::uint32_t high) {
  // none -> high -> low -> none
  if (bits & low) return 0;
  if (bits & high) return low;
  return high;
}

}  // namespace

void SetEmptyBox(pl3::Box* box) { *box = pl3::kEmptyBox; }

int IsBoxValid(const pl3::Box* box) {
  return !(box->xmin == -1 && box->ymin == -1 && box->xmax == 0 && box->ymax == 0);
}

void OffsetBox(pl3::Box* box, std::int32_t dx, std::int32_t dy) {
  const auto add = [](std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
  };
  box->xmin = add(box->xmin, dx);
  box->xmax = add(box->xmax, dx);
  box->ymin = add(box->ymin, dy);
  box->ymax = add(box->ymax, dy);
}

void NormaliseBox(pl3::Box* box) {
  if (static_cast<std::uint32_t>(box->xmin) > static_cast<std::uint32_t>(box->xmax)) std::swap(box->xmin, box->xmax);
  if (static_cast<std::uint32_t>(box->ymin) > static_cast<std::uint32_t>(box->ymax)) std::swap(box->ymin, box->ymax);
}

void BoxToView(pl3::Box* box) {
  pl3::WorldToViewSigned(box->xmin, box->ymin);
  pl3::WorldToViewSigned(box->xmax, box->ymax);
}

void GhostBoxWithLeader(HDC dc, const pl3::Box& worldBox, pl3::Point worldPoint) {
  pl3::Box box = worldBox;
  BoxToView(&box);
  NormaliseBox(&box);
  pl3::WorldToViewSigned(worldPoint.x, worldPoint.y);
  HPEN pen = CreatePen(PS_DASH, 1, RGB(192, 192, 0));
  const int oldRop = SetROP2(dc, R2_XORPEN);
  HPEN oldPen = SelectObject(dc, pen);
  HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(HOLLOW_BRUSH));
  Rectangle(dc, box.xmin - 2, box.ymin - 2, box.xmax + 2, box.ymax + 2);
  MoveToEx(dc, box.xmin + (box.xmax - box.xmin) / 2, box.ymin + (box.ymax - box.ymin) / 2, nullptr);
  LineTo(dc, worldPoint.x, worldPoint.y);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  SetROP2(dc, oldRop);
  DeleteObject(pen);
}

void DrawFocusRectangle(HDC dc, const pl3::Box* viewBox) {
  const RECT rc = {viewBox->xmin, viewBox->ymin, viewBox->xmax, viewBox->ymax};
  DrawFocusRect(dc, &rc);
  const int oldRop = SetROP2(dc, R2_XORPEN);
  HGDIOBJ oldPen = SelectObject(dc, GetStockObject(WHITE_PEN));
  HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(HOLLOW_BRUSH));
  Rectangle(dc, rc.left, rc.top, rc.right, rc.bottom);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  SetROP2(dc, oldRop);
}

void DrawSelectionRectangle(HDC dc, const pl3::Box* box) {
  if (box->xmin == -1 || box->ymin == -1 || box->xmax == -1 || box->ymax == -1) return;
  pl3::Box view = *box;
  BoxToView(&view);
  HPEN pen = CreatePen(PS_DOT, 1, RGB(0, 0xFF, 0));
  const int oldRop = SetROP2(dc, R2_XORPEN);
  HPEN oldPen = SelectObject(dc, pen);
  HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(HOLLOW_BRUSH));
  Rectangle(dc, ClampView(view.xmin), ClampView(view.ymin), ClampView(view.xmax), ClampView(view.ymax));
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  SetROP2(dc, oldRop);
  DeleteObject(pen);
}

int IsTowerValid(const Tower* t, int firstLevel) {
  if (!t) return 0;
  for (int k = std::max(firstLevel, 0); k <= t->lastLevel; ++k) {
    const NodeRef group = LevelGroup(t, k);
    if (!group || !EntityInGroup(group, t->levels[k].entity)) return 0;
  }
  return 1;
}

int IsTowerValidIn(const Tower* t, TowerValidityCache& cache) {
  if (!t) return 0;
  for (int k = 0; k <= t->lastLevel; ++k) {
    const NodeRef group = LevelGroup(t, k);
    if (!group || !CachedEntityInGroup(cache, group, t->levels[k].entity)) return 0;
  }
  return 1;
}

int JoinLineEnds(pl3::TrackLayout* a, const pl3::TrackLayout* b) {
  if (SamePoint(a->x2, a->y2, b->x1, b->y1)) {
    a->x2 = b->x2;
    a->y2 = b->y2;
  } else if (SamePoint(a->x2, a->y2, b->x2, b->y2)) {
    a->x2 = b->x1;
    a->y2 = b->y1;
  } else if (SamePoint(a->x1, a->y1, b->x2, b->y2)) {
    a->x1 = b->x1;
    a->y1 = b->y1;
  } else if (SamePoint(a->x1, a->y1, b->x1, b->y1)) {
    a->x1 = b->x2;
    a->y1 = b->y2;
  } else {
    return 0;
  }
  return 1;
}

int AreLinesParallel(const pl3::TrackLayout* a, const pl3::TrackLayout* b) {
  using Wide = __int128;
  const Wide adx = static_cast<Wide>(a->x2) - a->x1;
  const Wide ady = static_cast<Wide>(a->y2) - a->y1;
  const Wide bdx = static_cast<Wide>(b->x2) - b->x1;
  const Wide bdy = static_cast<Wide>(b->y2) - b->y1;
  return adx * bdy == ady * bdx ? 1 : 0;
}

pl3::Point GetNearerEndPoint(std::int32_t x, std::int32_t y, const pl3::TrackLayout* line) {
  if (SquaredDistance(x, y, line->x2, line->y2) < SquaredDistance(x, y, line->x1, line->y1)) {
    return {line->x2, line->y2};
  }
  return {line->x1, line->y1};
}

pl3::Point GetNearerArcEnd(std::int32_t x, std::int32_t y, pl3::ArcLayout* arc) {
  pl3::PrepareArcEnds(arc);
  const auto at = [&](std::int32_t dx, std::int32_t dy) {
    return pl3::Point{static_cast<std::int32_t>(static_cast<std::uint32_t>(arc->centreX) + static_cast<std::uint32_t>(dx)),
                      static_cast<std::int32_t>(static_cast<std::uint32_t>(arc->centreY) + static_cast<std::uint32_t>(dy))};
  };
  const pl3::Point start = at(arc->latticeStartX, arc->latticeStartY);
  const pl3::Point end = at(arc->latticeEndX, arc->latticeEndY);
  return SquaredDistance(x, y, end.x, end.y) < SquaredDistance(x, y, start.x, start.y) ? end : start;
}

double ProjectionParameter(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2, std::int32_t px,
                           std::int32_t py) {
  const double dx = static_cast<double>(x2) - x1;
  const double dy = static_cast<double>(y2) - y1;
  const double length = dx * dx + dy * dy;
  if (length == 0.0) return 0.0;
  return -((static_cast<double>(y1) - py) * dy + (static_cast<double>(x1) - px) * dx) / length;
}

void CollectJoinableTrack(const Tower* candidate, JoinContext* context) {
  if (!context || !context->reference) return;
  const std::uint8_t* p = PayloadOfAtLeast(TowerEntity(candidate), sizeof(pl3::TrackLayout));
  if (!p) return;
  pl3::TrackLayout track;
  std::memcpy(&track, p, sizeof track);
  const pl3::TrackLayout& ref = *context->reference;
  if (SamePoint(track.x1, track.y1, ref.x1, ref.y1) && SamePoint(track.x2, track.y2, ref.x2, ref.y2)) return;
  if (!AreLinesParallel(&track, &ref) || track.head.layer != ref.head.layer || track.width != ref.width) return;
  const pl3::Point j = context->joinPoint;
  if (!SamePoint(track.x1, track.y1, j.x, j.y) && !SamePoint(track.x2, track.y2, j.x, j.y)) return;
  auto* node = static_cast<TowerListNode*>(std::malloc(sizeof(TowerListNode)));
  if (!node) return;
  node->tower = DuplicateTower(candidate);
  LastLevel(node->tower).flags = kLevelLast | kLevelPositioned;
  node->next = context->head;
  context->head = node;
}

void FreeTowerList(TowerListNode** head) {
  while (TowerListNode* node = *head) {
    *head = node->next;
    ReleaseTower(&node->tower);
    std::free(node);
  }
}

void DrawPolygonOutline(const pl3::PolygonLayout* polygon, const pl3::Transform* transform) {
  const int n = polygon->count;
  if (n == 0) return;
  std::vector<pl3::Point> points(pl3::PolygonPoints(polygon), pl3::PolygonPoints(polygon) + n);
  for (pl3::Point& p : points) pl3::TransformPoint(transform, p.x, p.y);
  for (int k = 0; k < n; ++k) {
    const pl3::Point& a = points[k];
    const pl3::Point& b = points[(k + 1) % n];
    pl3::DrawWorldLine(a.x, a.y, b.x, b.y);
  }
}

void RotateTextOrientation(const Tower* text, const pl3::Transform* transform) {
  std::uint8_t* p = PayloadOfAtLeast(TowerEntity(text), offsetof(TextPayload, textTransform) + sizeof(pl3::Transform));
  if (!p || !transform) return;
  pl3::Transform own;
  std::memcpy(&own, p + offsetof(TextPayload, textTransform), sizeof own);
  pl3::Transform turned = own;
  pl3::ComposeTransform(&turned, transform);
  own.a = turned.a;
  own.b = turned.b;
  own.c = turned.c;
  own.d = turned.d;
  std::memcpy(p + offsetof(TextPayload, textTransform), &own, sizeof own);
}

std::int32_t DrawChildrenInView(void* /*view*/, const Tower* t, pl3::Box* box, std::uint8_t action) {
  pl3::TowerRef previous = pl3::g_raster.currentEntity;
  pl3::TowerRef current = DuplicateTower(t);
  pl3::g_raster.currentEntity = current;
  const std::int32_t result = PerformTowerAction(&pl3::kIdentityTransform, t, box, 0, action, 0);
  pl3::ReleaseTowerRef(current);
  pl3::g_raster.currentEntity = previous;
  return result;
}

void DrawSysColourText(HDC dc, const char* text, RECT* rect, int sysColourIndex) {
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  const COLORREF oldColour = SetTextColor(dc, GetSysColor(sysColourIndex));
  DrawTextA(dc, text, -1, rect, 0);
  SetTextColor(dc, oldColour);
  SetBkMode(dc, oldMode);
}

std::uint32_t CycleJustification(std::uint32_t style, int axis) {
  if (axis == 0) {
    style = (style & ~12u) | StepJustification(style & 12u, 4, 8);
  } else {
    style = (style & ~48u) | StepJustification(style & 48u, 16, 32);
  }
  DefaultJustification = style & kJustifyMask;
  return style;
}

void InitTextStyle(TextStyle* style) {
  const CurrentWindowData* w = ActiveWindowData;
  style->justification = static_cast<std::uint16_t>(DefaultJustification);
  style->sizeFlags = 1;
  style->sizeIndex = w && w->sizeTable ? (*w->sizeTable)[SizeKind_Fonts].defaultIndex : 0;
  style->layer = w ? w->TextLayer : 0;
  std::memset(style->spare, 0, sizeof style->spare);
  style->font = 3;
  style->transform = pl3::kIdentityTransform;
  if (w) {
    style->transform.tx = w->Cursor.x;
    style->transform.ty = w->Cursor.y;
  }
  style->last = 0;
}

TextStyle* NewTextStyleWithText(const char* text) {
  const std::size_t length = text ? std::strlen(text) : 0;
  auto* style = static_cast<TextStyle*>(std::malloc(sizeof(TextStyle) + length + 1));
  if (!style) return nullptr;
  InitTextStyle(style);
  char* copy = reinterpret_cast<char*>(style + 1);
  if (length) std::memcpy(copy, text, length);
  copy[length] = '\0';
  return style;
}

int DragBoxExceedsTolerance() {
  const CurrentWindowData* w = ActiveWindowData;
  if (!w || !(w->DragFlags & kDragActive)) return 0;
  // The drag corners are world points: the tolerance is six pixels' worth.
  const std::int64_t width = std::llabs(static_cast<std::int64_t>(w->DragCurrent.x) - w->DragStart.x);
  const std::int64_t height = std::llabs(static_cast<std::int64_t>(w->DragCurrent.y) - w->DragStart.y);
  return std::max(width, height) > std::int64_t{kDragTolerancePixels} * w->Zoom ? 1 : 0;
}

int SelectionIsPadStacksOnly(const SelectionInfo* list) {
  for (const SelectionInfo* s = list; s; s = s->next) {
    const Entity* e = TowerEntity(s->original);
    if (!e || e->typeCode != Type_PadStackInstanceHier) return 0;
  }
  return 1;
}

int SelectionIsViasOnly() {
  const SelectionInfo* list = ActiveWindowData ? ActiveWindowData->SelectionList : nullptr;
  if (!list) return 0;
  for (const SelectionInfo* s = list; s; s = s->next) {
    Entity* e = TowerEntity(s->workingCopy ? s->workingCopy : s->original);
    const std::uint8_t* p = PayloadOfAtLeast(e, 50);
    if (!p || e->typeCode != Type_Hole || !(p[49] & kHoleIsVia)) return 0;
  }
  return 1;
}

SYSTEMTIME SubtractTime(const SYSTEMTIME& end, const SYSTEMTIME& start) {
  const auto ms = [](const SYSTEMTIME& t) {
    return ((static_cast<std::int64_t>(t.wHour) * 60 + t.wMinute) * 60 + t.wSecond) * 1000 + t.wMilliseconds;
  };
  constexpr std::int64_t kDay = 24LL * 3600 * 1000;
  std::int64_t elapsed = ms(end) - ms(start);
  if (elapsed < 0) elapsed += kDay;  // past midnight
  SYSTEMTIME result{};
  result.wMilliseconds = static_cast<WORD>(elapsed % 1000);
  result.wSecond = static_cast<WORD>(elapsed / 1000 % 60);
  result.wMinute = static_cast<WORD>(elapsed / 60000 % 60);
  result.wHour = static_cast<WORD>(elapsed / 3600000);
  return result;
}

void FormatTimeTaken(const SYSTEMTIME& elapsed, char* buffer, std::size_t size) {
  std::snprintf(buffer, size, "%.2u:%.2u:%.2u.%.3u", elapsed.wHour, elapsed.wMinute, elapsed.wSecond,
                elapsed.wMilliseconds);
}

void ShowTimeTaken(HWND window, const SYSTEMTIME& elapsed) {
  char text[64];
  FormatTimeTaken(elapsed, text, sizeof text);
  MessageBox(window, text, "Time Taken", MB_OK);
}

BOOL WriteFileFormatted(HANDLE file, const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list again;
  va_copy(again, args);
  const int needed = std::vsnprintf(nullptr, 0, format, args);
  va_end(args);
  if (needed < 0) {
    va_end(again);
    return FALSE;
  }
  std::vector<char> text(static_cast<std::size_t>(needed) + 1);
  std::vsnprintf(text.data(), text.size(), format, again);
  va_end(again);
  DWORD written = 0;
  if (!WriteFile(file, text.data(), static_cast<DWORD>(needed), &written, nullptr)) return FALSE;
  return written == static_cast<DWORD>(needed) ? TRUE : FALSE;
}
