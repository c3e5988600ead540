#include "edit/saved_state.h"

#include <cstdio>
#include <cstring>

#include "edit/engine_seams.h"
#include "edit/window_data.h"
#include "objects/colours.h"
#include "objects/type_codes.h"
#include "objects/window_state.h"
#include "platform/gdi.h"
#include "platform/responder.h"
#include "platform/user.h"
#include "store/tower.h"

namespace {

constexpr std::uint32_t kStoredZoomLimit = 1024000;

// Sizes of the records that hold whole structures of the block.
static_assert(sizeof(ButtonRecord) == 64);
static_assert(sizeof(pl3::ViewClip) == 24);
static_assert(sizeof(pl3::Transform) == 24);
static_assert(sizeof(LayerTable) == 24584);
static_assert(sizeof(PcbViewExtension::Settings) == 24);
static_assert(sizeof(PcbViewExtension::LayerExtents) == 4096);

// The newest child of that code under the Tower's entity, when its payload
// holds at least `size` bytes; null otherwise.
std::uint8_t* FindRecord(const Tower* holder, std::uint16_t code, std::uint32_t size) {
  Tower* child = OpenChildTower(holder, code);
  if (!child) return nullptr;
  Entity* e = TowerEntity(child);
  std::uint8_t* payload = (e && e->payloadSize >= size) ? EntityPayload(e) : nullptr;
  ReleaseTower(&child);
  return payload;
}

void InsertRecord(const Tower* node, std::uint16_t code, std::uint32_t size, const void* data) {
  Tower* t = InsertEntity(node, size, code, data);
  ReleaseTower(&t);
}

std::uint32_t Word(const std::uint8_t* p) {
  std::uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}

void ReportRecord(std::uint16_t code, const char* what) {
  char line[128];
  std::snprintf(line, sizeof line, "Saved view state: record %u %s; the value of a new window is used", code, what);
  WriteEngineConsoleLine(line);
}

// The record's payload from the block.
void PackRecord(const CurrentWindowData& b, std::uint16_t code, std::uint8_t* out) {
  auto put = [out](const void* field, std::size_t n) { std::memcpy(out, field, n); };
  switch (code) {
    case SavedVersion: put(&b.Version, 4); break;
    case SavedClickState: put(&b.ClickState, 4); break;
    case SavedButtonRecord: put(&b.Button, 64); break;
    case SavedViewClip: put(&b.SurfaceClip, 24); break;
    case SavedModeBytes: {
      const std::uint8_t bytes[5] = {b.EditMode, b.InsertType, b.CurrentLayer, b.AngleAssist, b.InsertLocatorKind};
      put(bytes, 5);
      break;
    }
    case SavedSurface: break;  // a handle means nothing in a later run: zeros
    case SavedPlacementTransform: put(&b.PlacementTransform, 24); break;
    case SavedLayers: put(&b.layerTable, sizeof(LayerTable)); break;
    case SavedLayerWord: put(&b.LayerWord, 4); break;
    case SavedPenBrushRop: std::memcpy(out + 8, &b.SavedRop, 4); break;  // pen and brush handles stay zero
    case SavedViewOriginX: put(&b.ViewOriginX, 4); break;
    case SavedViewOriginY: put(&b.ViewOriginY, 4); break;
    case SavedZoom: put(&b.Zoom, 4); break;
    case SavedViewFlags: put(&b.ViewFlags, 4); break;
    case SavedCoordinateOrigin: put(&b.CoordinateOrigin, 8); break;
    case SavedCurrentFont: put(&b.CurrentFont, 4); break;
    case SavedTextOption: put(&b.TextOption, 1); break;
    case SavedStateFlags: put(&b.StateFlags, 4); break;
    case SavedLayerBytes: {
      const std::uint8_t bytes[5] = {b.RoutingLayer, b.TopLayer, b.BottomLayer, b.OverrideLayer, b.LastTrackLayer};
      put(bytes, 5);
      break;
    }
    case SavedBackgroundIndex: out[0] = static_cast<std::uint8_t>(b.BackgroundIndex); break;
    case SavedGhostColour: put(&b.GhostColour, 4); break;
    case SavedWalkHidden: put(&b.WalkHidden, 1); break;
    case SavedDragOption: put(&b.DragOption, 1); break;
    case SavedGridOrigin: put(&b.GridOrigin, 8); break;
    case SavedCrosshair: {
      const std::uint32_t words[4] = {static_cast<std::uint32_t>(b.CrosshairPos.x),
                                      static_cast<std::uint32_t>(b.CrosshairPos.y), b.CrosshairWord, b.CursorKind};
      put(words, 16);
      break;
    }
    case SavedHitMode: put(&b.HitMode, 4); break;
    case SavedMenuWord1: put(&b.MenuWords[0], 4); break;
    case SavedSelectWord: put(&b.SelectWord, 4); break;
    case SavedHighlightByte: put(&b.HighlightByte, 1); break;
    case SavedDisplayWord1: put(&b.DisplayWord1, 4); break;
    case SavedDisplayWord2: put(&b.DisplayWord2, 4); break;
    case SavedHighlightWord: put(&b.HighlightWord, 4); break;
    case SavedShowWord: put(&b.ShowWord, 1); break;
    case SavedRatsnestDisplay: put(b.RatsnestDisplay, 16); break;
    case SavedMenuWord4: put(&b.MenuWords[3], 4); break;
    case SavedMenuWord3: put(&b.MenuWords[2], 4); break;
    case SavedMenuWord2: put(&b.MenuWords[1], 4); break;
    case SavedMenuWord5: put(&b.MenuWords[4], 4); break;
    default: break;
  }
}

// Copies a present record into the block; false when its value is out of range.
bool UnpackRecord(CurrentWindowData& b, std::uint16_t code, const std::uint8_t* in) {
  auto get = [in](void* field, std::size_t n) { std::memcpy(field, in, n); };
  switch (code) {
    case SavedClickState: get(&b.ClickState, 4); break;
    case SavedButtonRecord: get(&b.Button, 64); break;
    case SavedViewClip:
      // The clip describes the surface; a window that has one keeps its own.
      if (!b.Surface.plane) get(&b.SurfaceClip, 24);
      break;
    case SavedModeBytes:
      b.EditMode = in[0];
      b.InsertType = in[1];
      b.CurrentLayer = in[2];
      b.AngleAssist = in[3];
      b.InsertLocatorKind = in[4];
      break;
    case SavedSurface:
    case SavedPenBrushRop: break;  // handles of an earlier run: never used
    case SavedPlacementTransform: get(&b.PlacementTransform, 24); break;
    case SavedLayers: get(&b.layerTable, sizeof(LayerTable)); break;
    case SavedLayerWord: get(&b.LayerWord, 4); break;
    case SavedViewOriginX: get(&b.ViewOriginX, 4); break;
    case SavedViewOriginY: get(&b.ViewOriginY, 4); break;
    case SavedZoom: {
      const std::uint32_t zoom = Word(in);
      if (zoom == 0) return false;
      b.Zoom = zoom >= kStoredZoomLimit ? kStoredZoomLimit : zoom;
      break;
    }
    case SavedViewFlags: get(&b.ViewFlags, 4); break;
    case SavedCoordinateOrigin: get(&b.CoordinateOrigin, 8); break;
    case SavedCurrentFont: get(&b.CurrentFont, 4); break;
    case SavedTextOption: b.TextOption = in[0]; break;
    case SavedStateFlags: get(&b.StateFlags, 4); break;
    case SavedLayerBytes:
      b.RoutingLayer = in[0];
      b.TopLayer = in[1];
      b.BottomLayer = in[2];
      b.OverrideLayer = in[3];
      b.LastTrackLayer = in[4];
      break;
    case SavedBackgroundIndex: b.BackgroundIndex = static_cast<std::int8_t>(in[0]); break;
    case SavedGhostColour: get(&b.GhostColour, 4); break;
    case SavedWalkHidden: b.WalkHidden = in[0]; break;
    case SavedDragOption: b.DragOption = in[0]; break;
    case SavedGridOrigin: get(&b.GridOrigin, 8); break;
    case SavedCrosshair:
      get(&b.CrosshairPos, 8);
      b.CrosshairWord = Word(in + 8);
      b.CursorKind = Word(in + 12);
      break;
    case SavedHitMode: get(&b.HitMode, 4); break;
    case SavedMenuWord1: get(&b.MenuWords[0], 4); break;
    case SavedSelectWord: get(&b.SelectWord, 4); break;
    case SavedHighlightByte: b.HighlightByte = in[0]; break;
    case SavedDisplayWord1: get(&b.DisplayWord1, 4); break;
    case SavedDisplayWord2: get(&b.DisplayWord2, 4); break;
    case SavedHighlightWord: get(&b.HighlightWord, 4); break;
    case SavedShowWord: b.ShowWord = in[0]; break;
    case SavedRatsnestDisplay: get(b.RatsnestDisplay, 16); break;
    case SavedMenuWord4: get(&b.MenuWords[3], 4); break;
    case SavedMenuWord3: get(&b.MenuWords[2], 4); break;
    case SavedMenuWord2: get(&b.MenuWords[1], 4); break;
    case SavedMenuWord5: get(&b.MenuWords[4], 4); break;
    default: break;
  }
  return true;
}

// The value an optional record's field takes when the record is missing.
void ApplyMissingDefault(CurrentWindowData& b, std::uint16_t code) {
  switch (code) {
    case SavedHitMode: b.HitMode = 1; break;
    case SavedMenuWord1: b.MenuWords[0] = 0; break;
    case SavedSelectWord: b.SelectWord = 1; break;
    case SavedHighlightByte: b.HighlightByte = 0; break;
    case SavedDisplayWord1: b.DisplayWord1 = 7; break;
    case SavedDisplayWord2: b.DisplayWord2 = 0; break;
    case SavedHighlightWord: b.HighlightWord = 0; break;
    case SavedShowWord: b.ShowWord = 1; break;
    case SavedRatsnestDisplay: {
      const std::uint32_t missing[4] = {11, 100, 250, 5};
      std::memcpy(b.RatsnestDisplay, missing, sizeof missing);
      break;
    }
    case SavedMenuWord4: b.MenuWords[3] = 1; break;
    case SavedMenuWord3: b.MenuWords[2] = 0; break;
    case SavedMenuWord2: b.MenuWords[1] = 0; break;
    case SavedMenuWord5: b.MenuWords[4] = 1; break;
    default: break;
  }
}

bool IsRequired(std::uint16_t code) {
  for (int k = 0; k < kCommonSavedRecordCount; ++k)
    if (kCommonSavedRecords[k].code == code) return k < 25;
  return false;
}

// Brings a stored layout up to the current one, one step at a time; each
// step adds its records beside the old ones, whose newest copy reads first.
void UpgradeSavedState(const Tower* node, std::uint32_t version) {
  if (version <= 1) {
    const std::uint32_t crosshair[4] = {0, 0, CurrentCrosshairSetting(), 0};
    InsertRecord(node, SavedCrosshair, sizeof crosshair, crosshair);
  }
  if (version <= 2) {
    InsertRecord(node, SavedDefaultColours, 64, kDefaultLayerColours);
    InsertRecord(node, SavedLayerColours, 64, kDefaultLayerColours);
  }
  if (version <= 3) {
    const std::uint32_t one = 1;
    InsertRecord(node, SavedHitMode, 4, &one);
  }
  if (const std::uint8_t* old = FindRecord(node, SavedModeBytes, 4)) {
    std::uint8_t bytes[5] = {old[0], old[1], old[2], old[3], 0};
    InsertRecord(node, SavedModeBytes, 5, bytes);
  }
}

struct ExtensionRecord {
  std::uint16_t code;
  std::uint16_t size;
  std::size_t offset;  // of the field in the block
};
const ExtensionRecord kPcbExtension[] = {
    {SavedPcbSettings, 24, offsetof(CurrentWindowData, Pcb) + offsetof(PcbViewExtension, Settings)},
    {SavedPcbWords, 8, offsetof(CurrentWindowData, Pcb) + offsetof(PcbViewExtension, Words)},
    {SavedPcbLayerExtents, 4096, offsetof(CurrentWindowData, Pcb) + offsetof(PcbViewExtension, LayerExtents)},
};
const ExtensionRecord kPadStackExtension[] = {{SavedPadStackView, 28, offsetof(CurrentWindowData, PadStackView)}};
const ExtensionRecord kSymbolExtension[] = {{SavedSymbolView, 28, offsetof(CurrentWindowData, SymbolView)}};

struct ExtensionSet {
  const ExtensionRecord* records;
  int count;
};
ExtensionSet ExtensionOfKind(std::uint32_t kind) {
  switch (kind) {
    case kEditorPcb: return {kPcbExtension, 3};
    case kEditorPadStack: return {kPadStackExtension, 1};
    case kEditorPcbSymbol: return {kSymbolExtension, 1};
    default: return {nullptr, 0};
  }
}

std::uint8_t* FieldAt(CurrentWindowData& b, std::size_t offset) { return reinterpret_cast<std::uint8_t*>(&b) + offset; }

// Reads the kind's extension records, then the common part.
int ReadKindSavedState(const Tower* group, CurrentWindowData& block, std::uint32_t kind) {
  Tower* node = OpenChildTower(group, Type_SavedState);
  if (!node) return 0;
  const ExtensionSet set = ExtensionOfKind(kind);
  for (int k = 0; k < set.count; ++k) {
    const ExtensionRecord& r = set.records[k];
    if (const std::uint8_t* p = FindRecord(node, r.code, r.size))
      std::memcpy(FieldAt(block, r.offset), p, r.size);
    else
      ReportRecord(r.code, "is missing or short");
  }
  ReleaseTower(&node);
  return ReadSavedState(group, block);
}

struct RetrieveKind {
  std::uint32_t kind;
  const char* caption;
  const char* noGroupText;
  int (*reader)(const Tower*, CurrentWindowData&);
};

CurrentWindowData* Retrieve(void* window, Tower* design, const RetrieveKind& how) {
  auto* block = new CurrentWindowData();
  block->editorKind = how.kind;
  if (ActiveWindowData) {
    block->Zoom = ActiveWindowData->Zoom;
    block->CurrentLayer = ActiveWindowData->CurrentLayer;
  }
  Tower* group = design ? OpenChildTower(design, Type_DontReloadGroup) : nullptr;
  if (!group) {
    MessageBox(nullptr, how.noGroupText, how.caption, MB_OK | MB_SYSTEMMODAL | MB_ICONEXCLAMATION);
    delete block;
    return nullptr;
  }
  if (!how.reader(group, *block)) {
    MessageBox(nullptr, "Error retrieving saved state", how.caption, MB_OK | MB_SYSTEMMODAL | MB_ICONEXCLAMATION);
    ReleaseTower(&group);
    delete block;
    return nullptr;
  }
  if (how.kind == kEditorPcb) {
    if (const std::uint8_t* zone = FindRecord(design, Type_PrintZone, sizeof(pl3::Box)))
      std::memcpy(&block->PrintZone, zone, sizeof(pl3::Box));
    else
      block->PrintZone = {-1, -1, -1, -1};
  }
  HDC dc = GetDC(static_cast<HWND>(window));
  AttachTowerToWindowData(dc, *block, design, 0);
  ReleaseDC(static_cast<HWND>(window), dc);
  ReleaseTower(&group);
  return block;
}

constexpr char kNoGroupPcb[] = "Error - Don't reload tower not  found";
constexpr char kNoGroupOther[] = "Error - don't reload tower not  found";

}  // namespace

const SavedRecordInfo kCommonSavedRecords[kCommonSavedRecordCount] = {
    {SavedVersion, 4},          {SavedClickState, 4},        {SavedButtonRecord, 64},
    {SavedViewClip, 24},        {SavedModeBytes, 5},         {SavedSurface, 32},
    {SavedPlacementTransform, 24}, {SavedLayers, 24584},     {SavedLayerWord, 4},
    {SavedPenBrushRop, 12},     {SavedViewOriginX, 4},       {SavedViewOriginY, 4},
    {SavedZoom, 4},             {SavedViewFlags, 4},         {SavedCoordinateOrigin, 8},
    {SavedCurrentFont, 4},      {SavedTextOption, 4},        {SavedStateFlags, 4},
    {SavedLayerBytes, 5},       {SavedBackgroundIndex, 1},   {SavedGhostColour, 4},
    {SavedWalkHidden, 1},       {SavedDragOption, 1},        {SavedGridOrigin, 8},
    {SavedCrosshair, 16},       {SavedHitMode, 4},           {SavedMenuWord1, 4},
    {SavedSelectWord, 4},       {SavedHighlightByte, 1},     {SavedDisplayWord1, 4},
    {SavedDisplayWord2, 4},     {SavedHighlightWord, 4},     {SavedShowWord, 1},
    {SavedRatsnestDisplay, 16}, {SavedMenuWord4, 4},         {SavedMenuWord3, 4},
    {SavedMenuWord2, 4},        {SavedMenuWord5, 4},
};

void DeleteSavedState(const Tower* holder) {
  if (holder) DeleteChildEntities(holder, Type_SavedState);
}

void WriteSavedState(const Tower* holder, const CurrentWindowData& block) {
  if (!holder) return;
  DeleteSavedState(holder);
  Tower* node = InsertEmptyEntity(holder, Type_SavedState);
  if (!node) return;
  std::uint8_t buffer[sizeof(LayerTable)];
  for (const SavedRecordInfo& r : kCommonSavedRecords) {
    std::memset(buffer, 0, r.size);
    PackRecord(block, r.code, buffer);
    InsertRecord(node, r.code, r.size, buffer);
  }
  const ExtensionSet set = ExtensionOfKind(block.editorKind);
  for (int k = 0; k < set.count; ++k)
    InsertRecord(node, set.records[k].code, set.records[k].size,
                 reinterpret_cast<const std::uint8_t*>(&block) + set.records[k].offset);
  ReleaseTower(&node);
}

int ReadSavedState(const Tower* holder, CurrentWindowData& block) {
  Tower* node = holder ? OpenChildTower(holder, Type_SavedState) : nullptr;
  if (!node) return 0;
  std::uint8_t* versionRecord = FindRecord(node, SavedVersion, 4);
  if (!versionRecord) {
    ReleaseTower(&node);
    return 0;
  }
  const std::uint32_t version = Word(versionRecord);
  if (version >= 1 && version < kSavedStateVersion) {
    UpgradeSavedState(node, version);
    // Rewritten so that the next open does not upgrade (and grow) again.
    std::memcpy(versionRecord, &kSavedStateVersion, 4);
  } else if (version != kSavedStateVersion) {
    ReportRecord(SavedVersion, "holds an unknown layout");
  }
  block.Version = kSavedStateVersion;

  for (const SavedRecordInfo& r : kCommonSavedRecords) {
    if (r.code == SavedVersion) continue;
    const std::uint8_t* payload = FindRecord(node, r.code, r.size);
    if (!payload) {
      if (IsRequired(r.code))
        ReportRecord(r.code, "is missing or short");
      else
        ApplyMissingDefault(block, r.code);
    } else if (!UnpackRecord(block, r.code, payload)) {
      ReportRecord(r.code, "holds a value out of range");
    }
  }
  block.editorKind = GetDocumentKindOfTower(holder);
  ReleaseTower(&node);
  return 1;
}

int ReadPCBSavedState(const Tower* group, CurrentWindowData& block) {
  return ReadKindSavedState(group, block, kEditorPcb);
}
int ReadPadStackSavedState(const Tower* group, CurrentWindowData& block) {
  return ReadKindSavedState(group, block, kEditorPadStack);
}
int ReadSymbolSavedState(const Tower* group, CurrentWindowData& block) {
  return ReadKindSavedState(group, block, kEditorPcbSymbol);
}
int ReadShapeSavedState(const Tower* group, CurrentWindowData& block) {
  return ReadKindSavedState(group, block, kEditorShape);
}
int ReadSchematicSymbolSavedState(const Tower* group, CurrentWindowData& block) {
  return ReadKindSavedState(group, block, kEditorSchematicSymbol);
}

CurrentWindowData* RetrievePCBData(void* window, Tower* design) {
  return Retrieve(window, design, {kEditorPcb, "RetrievePCBData", kNoGroupPcb, &ReadPCBSavedState});
}
CurrentWindowData* RetrievePadStackData(void* window, Tower* design) {
  return Retrieve(window, design, {kEditorPadStack, "RetrievePadStackData", kNoGroupOther, &ReadPadStackSavedState});
}
CurrentWindowData* RetrieveSymbolData(void* window, Tower* design) {
  return Retrieve(window, design, {kEditorPcbSymbol, "RetrieveSymbolData", kNoGroupOther, &ReadSymbolSavedState});
}
CurrentWindowData* RetrieveShapeData(void* window, Tower* design) {
  return Retrieve(window, design, {kEditorShape, "RetrieveShapeData", kNoGroupOther, &ReadShapeSavedState});
}
CurrentWindowData* RetrieveSchematicSymbolData(void* window, Tower* design) {
  return Retrieve(window, design,
                  {kEditorSchematicSymbol, "RetrieveSchematicSymbolData", kNoGroupOther, &ReadSchematicSymbolSavedState});
}

std::uint32_t GetDocumentKindOfTower(const Tower* t) {
  if (!t || t->lastLevel == 0) return 0;
  switch (t->levels[t->lastLevel - 1].typeCode) {
    case Type_PCB: return kEditorPcb;
    case Type_ShapeDefinition: return kEditorShape;
    case Type_SymbolDefinition: return kEditorPcbSymbol;
    case Type_PadStackDefinition: return kEditorPadStack;
    case 25: return kEditorSchematicSymbol;
    case Type_Schematic:
    case Type_Page: return kEditorSchematic;
    case 11006: return kEditorPackage;
    default: return 0;
  }
}
