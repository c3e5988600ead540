#include "objects/locator_shapes.h"

#include <cstring>
#include <initializer_list>
#include <string_view>

#include "edit/window_data.h"
#include "geometry/transform.h"
#include "objects/attribute_locators.h"
#include "objects/attribute_services.h"
#include "objects/design_walks.h"
#include "objects/drawing_seams.h"
#include "objects/editor_seams.h"
#include "objects/io_ports.h"
#include "objects/item_sides.h"
#include "objects/locator_dispatch.h"
#include "objects/payload_access.h"
#include "objects/type_codes.h"
#include "platform/text_case.h"
#include "store/tower.h"

namespace {

constexpr std::uint16_t kTypeSymbolDefinition = 25;

// The Schematic (103) above a Tower, or null when there is none.
Tower* SchematicAbove(const Tower* t) {
  if (!t) return nullptr;
  Tower* schematic = GetAncestorTower(t, Type_Schematic);
  if (schematic && LastLevel(schematic).typeCode != Type_Schematic) ReleaseTower(&schematic);
  return schematic;
}

// The pieces joined into one string (built in place, so that no append of the
// string library gets instantiated in this file).
std::string Concat(std::initializer_list<std::string_view> pieces) {
  std::size_t total = 0;
  for (std::string_view p : pieces) total += p.size();
  std::string joined(total, '\0');
  std::size_t at = 0;
  for (std::string_view p : pieces) {
    if (!p.empty()) std::memcpy(joined.data() + at, p.data(), p.size());
    at += p.size();
  }
  return joined;
}

void ExtendBox(pl3::Box* box, pl3::Point p) { UniteBox(box, {p.x, p.y, p.x, p.y}); }

// One line of an IO port outline: a track of the line width (a track keeps
// half its width) in the locator's colour class.
LinePayload OutlineLine(const LocatorPayload& locator, pl3::Point a, pl3::Point b, std::int32_t width) {
  LinePayload line{};
  line.head.layer = locator.head.layer;
  line.head.transform = pl3::kIdentityTransform;
  line.width = width / 2;
  line.x1 = a.x;
  line.y1 = a.y;
  line.x2 = b.x;
  line.y2 = b.y;
  return line;
}

pl3::Box SquareAround(pl3::Point at, std::int32_t half) { return {at.x - half, at.y - half, at.x + half, at.y + half}; }

}  // namespace

// ---- IO ports ----------------------------------------------------------------------

bool BuildIOPortOutline(const LocatorPayload& locator, const std::string& text, IOPortOutline* outline) {
  const std::int32_t s = GetLocatorTextSize(locator);
  const std::uint32_t t = locator.portType;
  std::int32_t margin = s * kIOPortMarginPerSize;
  if (!(t & 2)) margin += s * kIOPortPointPerSize;
  // Measured unturned, left-justified, beside the locator point.
  LocatorText measured = MakeLocatorText(locator, text, {locator.x + margin, locator.y});
  measured.justification = locator.style1 | 4u;
  measured.rotation = pl3::R0;
  pl3::Box box;
  if (!MeasureLocatorText(measured, &box)) return false;
  const std::int32_t x0 = box.xmin, x1 = box.xmax, top = box.ymin, bottom = box.ymax;
  const pl3::Point tip{x1 + s * kIOPortPointPerSize, locator.y};
  const pl3::Point anchor{locator.x, locator.y};
  *outline = IOPortOutline{};
  auto add = [&](pl3::Point a, pl3::Point b) {
    outline->lines[outline->lineCount][0] = a;
    outline->lines[outline->lineCount][1] = b;
    ++outline->lineCount;
  };
  add({x0, top}, {x1, top});
  add({x0, bottom}, {x1, bottom});
  if (!(t & 1)) {
    add(tip, {x1, top});
    add(tip, {x1, bottom});
  } else {
    add({x1, top}, {x1, bottom});
  }
  if (!(t & 2)) {
    add(anchor, {x0, top});
    add(anchor, {x0, bottom});
  } else {
    add({x0, top}, {x0, bottom});
  }
  // Turned about the locator point, so that the outline follows the wire.
  pl3::Transform turn = locator.head.transform;
  turn.tx = locator.x;
  turn.ty = locator.y;
  outline->bounds = pl3::kEmptyBox;
  for (int i = 0; i < outline->lineCount; ++i) {
    for (pl3::Point& p : outline->lines[i]) {
      RotateXYAboutOrigin(&p.x, &p.y, turn);
      ExtendBox(&outline->bounds, p);
    }
  }
  outline->width = s * kIOPortLinePerSize;
  outline->text = MakeLocatorText(locator, text, {locator.x + margin, locator.y});
  RotateXYAboutOrigin(&outline->text.x, &outline->text.y, turn);
  outline->text.justification = AdjustJustificationForTransform(locator.head.transform, 4u) |
                                AdjustJustificationForTransform(locator.head.transform, locator.style1);
  return true;
}

namespace {

std::string IOPortText(const Tower* locator, const LocatorPayload& p) {
  std::string text;
  if (GetLocatorKindTextOf(locator, p, &text)) return text;
  return p.kind == kLocatorNamedIOPort ? "NULL" : "";
}

}  // namespace

void DrawIOPortLocator(void* dc, const Tower* locator, const LocatorPayload& p, const pl3::Transform& parent) {
  IOPortOutline outline;
  if (!BuildIOPortOutline(p, IOPortText(locator, p), &outline)) return;
  for (int i = 0; i < outline.lineCount; ++i) {
    pl3::Point a = outline.lines[i][0], b = outline.lines[i][1];
    pl3::TransformSignedPoint(&parent, a.x, a.y);
    pl3::TransformSignedPoint(&parent, b.x, b.y);
    LinePayload line = OutlineLine(p, a, b, outline.width);
    DrawEntityByType(&line, Type_Track, &pl3::kIdentityTransform, 0);
  }
  pl3::TransformSignedPoint(&parent, outline.text.x, outline.text.y);
  DrawLocatorText(dc, outline.text);
}

void GhostIOPortLocator(void* dc, const LocatorPayload& locator) {
  std::string text;
  Tower* attribute = locator.attributeId ? FindDesignAttributeById(locator.attributeId) : nullptr;
  if (!attribute || !GetAttributeValueText(attribute, &text)) text = locator.kind == kLocatorNamedIOPort ? "NULL" : "";
  ReleaseTower(&attribute);
  IOPortOutline outline;
  if (!BuildIOPortOutline(locator, text, &outline)) return;
  for (int i = 0; i < outline.lineCount; ++i) {
    const LinePayload line = OutlineLine(locator, outline.lines[i][0], outline.lines[i][1], outline.width);
    GhostEntityData(dc, Type_Track, &line, 0, &pl3::kIdentityTransform);
  }
  GhostLocatorText(dc, outline.text);
}

int GetIOPortBox(const Tower* locator, pl3::Box* box) {
  const LocatorPayload p = ReadLocatorPayload(locator);
  IOPortOutline outline;
  *box = SquareAround({p.x, p.y}, kLocatorLargeDot);
  if (BuildIOPortOutline(p, IOPortText(locator, p), &outline)) {
    pl3::Box lines = outline.bounds;
    InflateBox(&lines, outline.width / 2);
    UniteBox(box, lines);
  }
  return 1;
}

// ---- Display Global Nets -------------------------------------------------------------

namespace {

struct GlobalNetPin {
  std::string net;
  std::string pin;
};

std::vector<GlobalNetPin> PackagePinsOnGlobalNets(const Tower* symbol) {
  std::vector<GlobalNetPin> pins;
  const std::uint8_t* reference = ChildPayloadOfAtLeast(symbol, kTypePackageReference, 4);
  Tower* schematic = reference ? SchematicAbove(symbol) : nullptr;
  Tower* package = FindChildByReference(schematic, kTypePackageInstance, reference ? ReadU32(reference, 0) : 0);
  Tower* entries = package ? GetChildTower(package, kTypePackagePin) : nullptr;
  while (entries && FindNextEntity(entries)) {
    GlobalNetPin pin;
    if (CopyAttributeValue(GetAttributeValue(entries, kAttributePinNumber), &pin.pin) &&
        CopyAttributeValue(GetAttributeValue(entries, kAttributeGlobalNet), &pin.net))
      pins.push_back(pin);
  }
  ReleaseTower(&entries);
  ReleaseTower(&package);
  ReleaseTower(&schematic);
  return pins;
}

}  // namespace

std::vector<std::string> BuildGlobalNetLines(const Tower* symbol, const char* listName) {
  const std::vector<GlobalNetPin> pins = PackagePinsOnGlobalNets(symbol);
  const std::string wanted = listName ? listName : "";
  std::vector<std::string> lines;
  for (std::size_t i = 0; i < pins.size(); ++i) {
    bool earlier = false;
    for (std::size_t j = 0; j < i && !earlier; ++j) earlier = pl3::EqualsNoCase(pins[j].net, pins[i].net);
    if (earlier || (!wanted.empty() && !pl3::EqualsNoCase(pins[i].net, wanted))) continue;
    std::string line = Concat({pins[i].net, " "});
    bool first = true;
    for (const GlobalNetPin& other : pins) {
      if (!pl3::EqualsNoCase(other.net, pins[i].net)) continue;
      line = first ? Concat({line, other.pin}) : Concat({line, ", ", other.pin});
      first = false;
    }
    lines.push_back(line);
  }
  if (!wanted.empty() && lines.empty()) lines.push_back(Concat({"?", wanted, "?"}));
  return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string joined;
  for (const std::string& line : lines) {
    joined = joined.empty() ? line : Concat({joined, "\n", line});
  }
  return joined;
}

std::int32_t GlobalNetBlockOffset(const LocatorPayload& locator, std::int32_t lineHeight, std::size_t count) {
  const std::int32_t block = lineHeight * static_cast<std::int32_t>(count);
  std::int32_t offset = 0;
  if (locator.style1 == 32) offset = -block;
  else if (locator.style1 != 16) offset = -block / 2;
  if (AdjustJustificationForTransform(locator.head.transform, 16) == 16) offset += lineHeight / 5;
  else offset -= lineHeight / 5;
  return offset;
}

void DrawGlobalNetList(void* dc, const Tower* locator, const LocatorPayload& p, const pl3::Transform& parent) {
  Tower* owner = LocatorOwner(locator);
  const std::string name = GetLocatorNameChild(locator, Type_GlobalNetListName);
  const std::vector<std::string> lines = BuildGlobalNetLines(owner, name.c_str());
  ReleaseTower(&owner);
  LocatorPayload placed = p;
  pl3::ComposeLinearTransform(&placed.head.transform, &parent);
  pl3::Point at{p.x, p.y};
  pl3::TransformSignedPoint(&parent, at.x, at.y);
  if (!name.empty()) {
    if (!lines.empty()) DrawLocatorText(dc, MakeLocatorText(placed, lines.front(), at));
    return;
  }
  const std::int32_t size = GetLocatorTextSize(p);
  const std::int32_t height = GetStringBoxHeight(size);
  const std::int32_t first = GlobalNetBlockOffset(placed, height, lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::int32_t dx = 0, dy = first + height * static_cast<std::int32_t>(i);
    pl3::TransformVector(&placed.head.transform, dx, dy);
    LocatorPayload line = placed;
    line.style1 = 16;  // each line hangs from its own point
    DrawLocatorText(dc, MakeLocatorText(line, lines[i], {at.x + dx, at.y + dy}));
  }
}

// ---- Graphic net names ---------------------------------------------------------------

Tower* FindGraphicNetNameSymbol(const Tower* schematic, std::uint32_t reference) {
  return FindChildByReference(schematic, kTypeSymbolDefinition, reference);
}

bool GetSymbolOrigin(const Tower* symbol, pl3::Point* origin) {
  const std::uint8_t* bytes = ChildPayloadOfAtLeast(symbol, kTypeSymbolOrigin, sizeof(pl3::Point));
  if (!bytes) return false;
  origin->x = ReadI32(bytes, 0);
  origin->y = ReadI32(bytes, 4);
  return true;
}

pl3::Transform GraphicNetNamePlacement(const LocatorPayload& locator, pl3::Point origin) {
  pl3::Transform placement = locator.head.transform;
  std::int32_t ox = -origin.x, oy = -origin.y;
  pl3::TransformVector(&placement, ox, oy);
  placement.tx = locator.x + ox;
  placement.ty = locator.y + oy;
  return placement;
}

namespace {

std::int32_t SnapAbout(std::int32_t value, std::int32_t about, std::int32_t grid) {
  const std::int64_t d = static_cast<std::int64_t>(value) - about;
  const std::int64_t steps = d >= 0 ? (d + grid / 2) / grid : -((-d + grid / 2) / grid);
  return static_cast<std::int32_t>(about + steps * grid);
}

// The symbol a Graphic Net Name locator refers to, in the Schematic above it
// (or above the active design).
Tower* ReferencedSymbol(const Tower* locator, const LocatorPayload& p) {
  Tower* schematic = SchematicAbove(locator);
  if (!schematic && ActiveWindowData && ActiveWindowData->design) schematic = SchematicAbove(ActiveWindowData->design);
  Tower* symbol = FindGraphicNetNameSymbol(schematic, p.markedEntity);
  ReleaseTower(&schematic);
  return symbol;
}

bool IsKind(const Tower* t, std::uint16_t kind) {
  const std::uint8_t* bytes = PayloadOfAtLeast(TowerEntity(t), sizeof(LocatorPayload));
  return bytes && ReadU16(bytes, offsetof(LocatorPayload, kind)) == kind;
}

// Calls visit(type, payload, size) for each graphic item (types 1 to 6) of the symbol.
template <typename Visit>
void ForEachSymbolGraphic(const Tower* symbol, Visit visit) {
  for (std::uint16_t type = 1; type <= 6; ++type) {
    Tower* items = GetChildTower(symbol, type);
    while (items && FindNextEntity(items)) {
      Entity* e = TowerEntity(items);
      if (e->payloadSize >= sizeof(GraphicHead)) visit(type, EntityPayload(e), e->payloadSize);
    }
    ReleaseTower(&items);
  }
}

// The net name at each Display Net Name copy under the locator, as text items.
std::vector<LocatorText> NetNameTexts(const Tower* locator, const LocatorPayload& p, const pl3::Transform& placement) {
  std::vector<LocatorText> texts;
  std::string net;
  Tower* attribute = FindDesignAttributeById(p.attributeId);
  const bool found = attribute && GetAttributeValueText(attribute, &net);
  ReleaseTower(&attribute);
  if (!found) return texts;
  Tower* copies = GetChildTower(locator, Type_AttributeLocator);
  while (copies && FindNextEntity(copies)) {
    if (!IsKind(copies, kLocatorDisplayNetName)) continue;
    LocatorPayload child;
    std::memcpy(&child, EntityPayload(TowerEntity(copies)), sizeof child);
    pl3::Point at{child.x, child.y};
    pl3::TransformSignedPoint(&placement, at.x, at.y);
    pl3::ComposeLinearTransform(&child.head.transform, &placement);
    texts.push_back(MakeLocatorText(child, net, at));
  }
  ReleaseTower(&copies);
  return texts;
}

}  // namespace

void PrepareSymbolOrigin(const Tower* symbol) {
  Tower* origin = GetChildTower(symbol, kTypeSymbolOrigin);
  Entity* e = origin ? FindNextEntity(origin) : nullptr;
  if (e && e->payloadSize >= sizeof(pl3::Point)) {
    std::uint8_t* bytes = EntityPayload(e);
    WriteI32(bytes, 0, SnapAbout(ReadI32(bytes, 0), kDefaultSymbolOrigin, kSymbolOriginGrid));
    WriteI32(bytes, 4, SnapAbout(ReadI32(bytes, 4), kDefaultSymbolOrigin, kSymbolOriginGrid));
  } else {
    if (e) DeleteChildEntities(symbol, kTypeSymbolOrigin);  // too short to hold a point
    const pl3::Point fresh{kDefaultSymbolOrigin, kDefaultSymbolOrigin};
    Tower* inserted = InsertEntity(symbol, sizeof fresh, kTypeSymbolOrigin, &fresh);
    ReleaseTower(&inserted);
  }
  ReleaseTower(&origin);
}

int PlaceGraphicNetNameChild(const Tower* graphicNetName, const LocatorPayload& child, pl3::Point* at) {
  const LocatorPayload parent = ReadLocatorPayload(graphicNetName);
  Tower* symbol = ReferencedSymbol(graphicNetName, parent);
  pl3::Point origin;
  const bool found = symbol && GetSymbolOrigin(symbol, &origin);
  ReleaseTower(&symbol);
  if (!found) return 0;
  const pl3::Transform placement = GraphicNetNamePlacement(parent, origin);
  *at = {child.x, child.y};
  pl3::TransformSignedPoint(&placement, at->x, at->y);
  return 1;
}

int CopyNetNameLocators(const Tower* graphicNetName, const Tower* symbol) {
  DeleteChildEntities(graphicNetName, Type_AttributeLocator);
  int copied = 0;
  Tower* locators = symbol ? GetChildTower(symbol, Type_AttributeLocator) : nullptr;
  while (locators && FindNextEntity(locators)) {
    if (!IsKind(locators, kLocatorDisplayNetName)) continue;
    Tower* copy = InsertEntity(graphicNetName, sizeof(LocatorPayload), Type_AttributeLocator,
                               EntityPayload(TowerEntity(locators)));
    ReleaseTower(&copy);
    ++copied;
  }
  ReleaseTower(&locators);
  return copied;
}

Tower* InsertGraphicNetName(const LocatorPayload& record) {
  Tower* stored = InsertLocatorWithUndo(record);
  if (!stored) return nullptr;
  Tower* symbol = ReferencedSymbol(stored, record);
  CopyNetNameLocators(stored, symbol);
  ReleaseTower(&symbol);
  RecordDesignChange();
  return stored;
}

int RefreshGraphicNetNames(const Tower* schematic) {
  int done = 0;
  Tower* pages = schematic ? GetChildTower(schematic, Type_Page) : nullptr;
  while (pages && FindNextEntity(pages)) {
    Tower* locators = GetChildTower(pages, Type_AttributeLocator);
    while (locators && FindNextEntity(locators)) {
      if (!IsKind(locators, kLocatorGraphicNetName)) continue;
      const LocatorPayload p = ReadLocatorPayload(locators);
      Tower* symbol = FindGraphicNetNameSymbol(schematic, p.markedEntity);
      Tower* locator = DuplicateTower(locators);
      LastLevel(locator).flags = kLevelLast | kLevelPositioned;
      CopyNetNameLocators(locator, symbol);
      ReleaseTower(&locator);
      ReleaseTower(&symbol);
      ++done;
    }
    ReleaseTower(&locators);
  }
  ReleaseTower(&pages);
  return done;
}

void DrawGraphicNetName(void* dc, const Tower* locator, const LocatorPayload& p, std::uint32_t pass) {
  Tower* symbol = ReferencedSymbol(locator, p);
  pl3::Point origin;
  if (!symbol || !GetSymbolOrigin(symbol, &origin)) {
    ReleaseTower(&symbol);
    return;
  }
  const pl3::Transform placement = GraphicNetNamePlacement(p, origin);
  ForEachSymbolGraphic(symbol, [&](std::uint16_t type, const std::uint8_t* payload, std::uint32_t) {
    DrawEntityByType(payload, type, &placement, static_cast<int>(pass));
  });
  ReleaseTower(&symbol);
  for (const LocatorText& text : NetNameTexts(locator, p, placement)) DrawLocatorText(dc, text);
}

void GhostGraphicNetName(void* dc, const LocatorPayload& locator, const Tower* symbol) {
  if (!symbol) return;
  PrepareSymbolOrigin(symbol);
  pl3::Point origin{kDefaultSymbolOrigin, kDefaultSymbolOrigin};
  GetSymbolOrigin(symbol, &origin);
  const pl3::Transform placement = GraphicNetNamePlacement(locator, origin);
  ForEachSymbolGraphic(symbol, [&](std::uint16_t type, const std::uint8_t* payload, std::uint32_t) {
    GhostEntityData(dc, type, payload, 0, &placement);
  });
}

int GetGraphicNetNameBox(const Tower* locator, pl3::Box* box) {
  const LocatorPayload p = ReadLocatorPayload(locator);
  *box = SquareAround({p.x, p.y}, kLocatorLargeDot);
  Tower* symbol = ReferencedSymbol(locator, p);
  pl3::Point origin;
  if (!symbol || !GetSymbolOrigin(symbol, &origin)) {
    ReleaseTower(&symbol);
    return 1;
  }
  const pl3::Transform placement = GraphicNetNamePlacement(p, origin);
  ForEachSymbolGraphic(symbol, [&](std::uint16_t type, const std::uint8_t* payload, std::uint32_t) {
    pl3::Box item = pl3::kEmptyBox;
    GetEntityDataBox(payload, type, &item, &placement);
    UniteBox(box, item);
  });
  ReleaseTower(&symbol);
  for (const LocatorText& text : NetNameTexts(locator, p, placement)) {
    pl3::Box item;
    if (GetLocatorTextBox(text, &item)) UniteBox(box, item);
  }
  return 1;
}
