// The state block of one editor window, and the global that names the block
// of the active window. Each editor window owns its block; the block's fields
// grow as the editors that keep state in it arrive.
#pragma once
#include <cstddef>
#include <cstdint>

#include "geometry/plane_bitmaps.h"
#include "geometry/types.h"
#include "objects/layer_table.h"

struct Tower;
struct SizeTable;
struct EntityRecord;
struct PadLabelHead;

// SelectionInfo flags: bit 0 the record is a primary selection.
constexpr std::uint8_t kSelectionPrimary = 0x1;

// One selected item (the selection engine builds and frees these records).
struct SelectionInfo {
  SelectionInfo* next;
  SelectionInfo* prev;
  std::uint8_t flags;             // bit 0 primary, bit 1 the instance-info fields are in use
  std::uint16_t grabbedPart;
  Tower* original;                // the item in the design, or null
  Tower* workingCopy;             // the working copy inserted into the design
  pl3::Point grabPoint;
  pl3::Point currentPoint;
  Tower* copyInstanceInfo;
  Tower* originalInstanceInfo;
  std::uint32_t auxPresent;
  void* auxBuffer;

  bool hasInstanceInfo() const { return (flags & 0x2) != 0; }
};

// ViewFlags bits.
constexpr std::uint32_t kViewOtherSide = 0x8;            // the board is seen from the other side
constexpr std::uint32_t kViewStopAfterStopTower = 0x20;  // the walk ends after StopTower's entity
constexpr std::uint32_t kViewIncludeSelected = 0x40;     // the walk visits selected entities
constexpr std::uint32_t kViewSelectionListOnly = 0x20000;
constexpr std::uint32_t kViewSingleInnerLayer = 0x80000;  // inner copper layers drawn as one
constexpr std::uint32_t kViewDrawOtherSide = 0x80;       // what is drawn lies on the other side (opposite layers)

// WalkFlags bits.
constexpr std::uint32_t kWalkInPadStack = 0x1;        // items take DrawingLayer (layer override)
constexpr std::uint32_t kWalkNetHighlight = 0x2;
constexpr std::uint32_t kWalkHighlighting = 0x4;      // the entity being handled is highlighted
constexpr std::uint32_t kWalkUseLayerSet = 0x10;
constexpr std::uint32_t kWalkPublishPadInstance = 0x80;  // hits report the placed pad (117)
constexpr std::uint32_t kWalkShownOnly = 0x20;
constexpr std::uint32_t kWalkOnlyInSymbols = 0x100;   // graphics outside symbols are skipped
constexpr std::uint32_t kWalkOnlyInPadStacks = 0x200; // graphics outside pad-stack instances are skipped
constexpr std::uint32_t kWalkInnerLayersOnePass = 0x200000;
constexpr std::uint32_t kWalkMirrorMode = 0x800000;

// StateFlags bits.
constexpr std::uint32_t kStateLayerOverride = 0x1;  // items are drawn and copied on OverrideLayer
constexpr std::uint32_t kStateSymbolGhost = 0x80;    // a placed symbol's or pad's ghost is being drawn
constexpr std::uint32_t kStateDragFeedback = 0x400;  // the Shift drag feedback of Edit Selection is shown
constexpr std::uint32_t kStatePlaneOutlines = 0x100000;  // planes are drawn as outlines (Solid unchecked)

// DragFlags bits.
constexpr std::uint8_t kDragActive = 0x1;

// Editor kinds (CurrentWindowData::editorKind).
constexpr std::uint32_t kEditorPcb = 1;
constexpr std::uint32_t kEditorShape = 2;
constexpr std::uint32_t kEditorPcbSymbol = 4;
constexpr std::uint32_t kEditorPadStack = 8;
constexpr std::uint32_t kEditorSchematicSymbol = 16;
constexpr std::uint32_t kEditorSchematic = 32;
constexpr std::uint32_t kEditorPackage = 64;

// The button record: the part of the block from MousePixel through
// MouseMessagePos, handed to the mouse road and stored whole in a saved view.
struct ButtonRecord {
  pl3::Point MousePixel;        // last mouse position, client pixels
  pl3::Point Cursor;            // the editing cursor, world units (snapped by the tools)
  pl3::Point MouseWorld;        // the last cursor update's world point, before snapping
  pl3::Point HoldScreenPos;     // screen position of the mouse at a right-button press
  std::uint32_t Unused[2];      // kept for the stored layout
  pl3::Point AnchorPoint;       // the cursor where the current insertion began
  std::uint8_t ButtonFlags;     // kButton... bits
  std::uint8_t ButtonSpare[3];
  pl3::Point CursorOffset;      // origin of what is placed, or the last snap's move
  std::uint32_t MouseMessagePos;  // packed client position of the last mouse message
};
static_assert(sizeof(ButtonRecord) == 64);
static_assert(offsetof(ButtonRecord, ButtonFlags) == 48);
static_assert(offsetof(ButtonRecord, MouseMessagePos) == 60);

// ButtonFlags bits.
constexpr std::uint8_t kButtonHoldTimerRuns = 0x1;
constexpr std::uint8_t kButtonHoldMenuOpen = 0x2;

// DragFlags bits beside kDragActive.
constexpr std::uint8_t kDragPrintZone = 0x8;

// The crosshair record of a window: where the XOR lines were last drawn
// (client pixels), the style (1: no lines, cursors with a target mark; any
// other value: lines, cursors without one) and the tool's cursor kind.
struct CrosshairRecord {
  pl3::Point position;
  std::uint32_t style;
  std::uint32_t kind;
};
static_assert(sizeof(CrosshairRecord) == 16);

// The PCB view extension of the block.
struct PcbViewExtension {
  std::uint8_t Settings[24];    // the PCB view settings record
  std::uint32_t Words[2];
  pl3::Box LayerExtents[kLayerCount];  // the extent of each layer's items
  std::uint32_t LastWord;
};
static_assert(sizeof(PcbViewExtension) == 24 + 8 + 4096 + 4);

constexpr std::size_t kInsertionCapacity = 1024;
constexpr std::size_t kWindowBlockCapacity = 1024;

// The PCB window's view options that the display-list paint reads (each
// non-zero = on). Pin-label option bits: 0 net names, 1 pad labels, 2 hide
// net names beginning "N0", 3 no label for a pin without a net, 4 top and
// bottom texts in the highlight colour.
struct PcbPaintOptions {
  std::uint32_t SegmentEnds = 0;
  std::uint32_t CutoutOutlines = 0;
  std::uint32_t DrillMarks = 0;
  std::uint32_t HideFlaggedNets = 0;
  std::uint32_t PlacementOutlines = 0;
  std::uint32_t BodyOutlines = 0;
  std::uint32_t HatchKeepouts = 0;
  std::uint32_t PinLabelOptions = 0;
  std::uint32_t PinLabelZoomIndex = 0;  // labels shown up to 1000 x 2^index world units per pixel
  std::uint32_t LabelMargin = 0;        // pixels
};

struct CurrentWindowData {
  // The kind, the design and the via size index first, as callers that make
  // a block for a walk or a test name them.
  CurrentWindowData(std::uint32_t kind = 0, Tower* shownDesign = nullptr, std::uint32_t viaSize = 0)
      : editorKind(kind), design(shownDesign), CurrentViaSize(viaSize) {}

  // The button record, also reachable field by field as block.Cursor and so on.
  union {
    ButtonRecord Button{};
    struct {
      pl3::Point MousePixel;
      pl3::Point Cursor;
      pl3::Point MouseWorld;
      pl3::Point HoldScreenPos;
      std::uint32_t UnusedWords[2];
      pl3::Point AnchorPoint;
      std::uint8_t ButtonFlags;
      std::uint8_t ButtonSpare[3];
      pl3::Point CursorOffset;
      std::uint32_t MouseMessagePos;
    };
  };
  std::uint32_t editorKind;     // one of the kEditor... kinds; larger values for other views
  Tower* design;                // the design or page the window shows, owned by the window
  std::uint32_t CurrentViaSize;   // the current via size index of a PCB
  LayerTable layerTable{};           // the window's 256 layers
  std::uint8_t CurrentLayer = 0;     // the layer new items go on
  SizeTable* sizeTable = nullptr;    // the window's size lists, owned (FreeSizeTable); null for kinds without sizes

  // Edit and walk state.
  Tower* Selection = nullptr;         // the item picked by the last select click
  // The view mapping: the kernel draws through View (UpdateViewGlobals), the
  // engine reads and writes the three words by name.
  union {
    pl3::ViewMapping View{0, 0, 1};
    struct {
      std::int32_t ViewOriginX;         // view mapping origin, view pixels
      std::int32_t ViewOriginY;
      std::uint32_t Zoom;               // world units per pixel, at most 1,024,000
    };
  };
  std::uint32_t ViewFlags = 0;        // kView... bits; the walker's filter word A
  std::uint32_t StateFlags = 0;       // kState... bits
  Tower* TemporaryEntity = nullptr;   // an item that lives while an operation runs
  std::uint8_t TopLayer = Layer_Top;
  std::uint8_t BottomLayer = Layer_Bottom;
  std::uint8_t OverrideLayer = 0;
  SelectionInfo* SelectionList = nullptr;
  pl3::Point DragStart{};             // drag rectangle corners, client pixels
  pl3::Point DragCurrent{};
  std::uint8_t DragFlags = 0;         // kDrag... bits

  // Fields the design objects read that the block keeps beside the above.
  std::uint32_t WalkFlags = 0;             // kWalk... bits; the walker's filter word B
  Tower* StopTower = nullptr;              // the walk ends after this entity (kViewStopAfterStopTower)
  Tower* PreviousPick = nullptr;           // the item PickClosestItem found last, owned; null for none
  std::uint8_t SelectionListUnrestricted = 0;  // lifts kViewSelectionListOnly
  std::uint8_t ShowLabels = 1;             // the PCB symbol editor shows labels
  std::uint8_t CopyLayer = 0;              // default layer of copies
  std::uint8_t TextLayer = 0;              // the layer of new texts
  std::uint8_t DrawingLayer = 0;           // the layer of items inside a pad stack
  std::uint8_t ViaLayer = Layer_Top;       // the layer byte of a via placed at a track's layer change
  std::uint8_t HoleStyle = 0;              // the style byte of new holes and vias
  std::int32_t SingleLayer = -1;           // the one layer shown, -1 for all
  std::uint32_t LayerSetCount = 0;         // the window's layer set
  std::uint8_t LayerSet[kLayerCount] = {};
  std::uint32_t NextNetId = 1;             // the next net id given out
  pl3::Point ReferencePoint{};             // the reference point of radius edits
  pl3::Transform BaseTransform = pl3::kIdentityTransform;
  std::uint8_t EditMode = 0;              // the active tool's edit mode, 0 when idle
  const std::uint8_t* CurrentPadStackInfo = nullptr;  // the 116 payload of the pad being walked
  Tower* ShapeTower = nullptr;            // the pad-stack editor's shape being edited
  char* PadNameText = nullptr;            // the pad name being assigned (heap string)
  std::uint8_t LabelLayer = 0;            // the layer of new pad labels


  // Editing state, view and drawing words (set up by InitialiseWindowData).
  std::uint32_t Version = 5;            // layout version of the block and its saved form
  std::uint32_t ClickState = 0;         // what the next click of an armed tool does
  std::uint8_t InsertType = 1;          // type code of what the next click places
  std::uint8_t AngleAssist = 2;         // 0 none, 1 90 degrees, 2 45 degrees
  std::uint8_t SelectionAngleAssist = 0;  // the angle assist of Edit Selection, the same values
  std::uint8_t WalkHidden = 1;
  std::uint8_t DragOption = 1;
  std::uint8_t SubMode = 0;
  std::uint8_t AxisLock = 0;            // bit 0 x locked, bit 1 y locked
  std::uint8_t PendingClose = 0;
  pl3::Point DisplayedCursor{};
  pl3::Point CoordinateOrigin{};
  pl3::Point GridOrigin{};
  pl3::Point SnapOrigin{};              // the stored snap origin of a library editor
  pl3::Box PlacementBox{-1, -1, 0, 0};  // the box of the item being placed
  std::int32_t BackgroundIndex = 0;
  std::uint32_t CurrentFont = 3;
  std::uint32_t TextDisplay = 3;        // the text display setting: 0 hides texts
  std::uint32_t GhostColour = 0x800000;
  std::uint32_t HighlightWord = 0;
  std::uint32_t DisplayWord1 = 7;
  std::uint32_t DisplayWord2 = 0;
  std::uint32_t RatsnestDisplay[4] = {3, 100, 250, 5};
  std::uint32_t HitMode = 1;
  std::uint32_t SelectWord = 1;
  std::uint32_t ImportState = 1;
  std::int32_t NetViewWord = -1;
  std::int32_t HighlightedNet = -1;
  pl3::Transform PlacementTransform = pl3::kIdentityTransform;
  pl3::Transform InsertionTransform = pl3::kIdentityTransform;
  std::uint32_t InsertionCount = 0;
  pl3::Point InsertionOrigin{};         // the held item's own origin, before the placement transform
  Tower* RememberedShape = nullptr;     // the shape loaded last for a new pad-stack layer, owned
  void* Window = nullptr;               // the editor window (HWND)
  void* Grids = nullptr;                // the window's own grid set, owned
  pl3::PlaneBitmap Surface{};           // the off-screen drawing surface, owned
  pl3::ViewClip SurfaceClip{};          // the clip of the surface
  void* PendingPoints = nullptr;        // polygon points of the tool running, owned (std::free)
  void* InsertionVector = nullptr;      // the insertion array's storage, owned (std::free)

  // The rest of the common part.
  std::uint8_t InsertLocatorKind = 0;   // the LocatorKind of the attribute locator to insert
  void* CursorHandle = nullptr;         // the mouse cursor shown in the view
  EntityRecord* PendingRecord = nullptr;  // what the current mode is building, owned
  std::uint32_t LayerWord = 0;
  void* SavedPen = nullptr;             // what the XOR pen selection replaced (GDI objects)
  void* SavedBrush = nullptr;
  std::uint32_t SavedRop = 0;
  std::uint8_t TextOption = 0;          // copied into each new text record
  std::uint8_t RoutingLayer = 0;        // layer of new track segments
  std::uint8_t LastTrackLayer = 0;      // layer of the line begun last
  std::uint8_t AutoVia = 1;             // a track changing copper layer gets a via at the joint
  std::uint16_t InsertionTypeCode = 0;  // type of a non-graphic item being inserted
  Tower* WalkParent = nullptr;          // the placed symbol a walk is inside, or null
  std::uint8_t* KindOptions = nullptr;  // option record of the editor kind
  pl3::Box PrintZone{-1, -1, -1, -1};   // all four words 0xFFFFFFFF when none is set
  void* Insertion[kInsertionCapacity] = {};  // the insertion array's records
  void* BlockList[kWindowBlockCapacity] = {};  // heap blocks freed with the selection (FreeWindowBlockList)
  std::uint32_t BlockCount = 0;
  void* WalkTarget = nullptr;           // the item stored last, 0 before a hit test
  std::uint32_t LayerInUseResult = 0;
  pl3::Point BlockOrigin{};             // block origin of a selection move or paste
  pl3::Point* OriginalBlockOrigin = nullptr;  // the block origin at the start, restored by a cancel
  void* RatsnestLines = nullptr;        // ratsnest line list of a PCB window
  // The crosshair record (saved as record 20028), also reachable field by field.
  union {
    CrosshairRecord Crosshair{};
    struct {
      pl3::Point CrosshairPos;          // client position of the XOR crosshair
      std::uint32_t CrosshairWord;      // 1: no crosshair lines, target-marked cursors
      std::uint32_t CursorKind;         // the cursor kind last chosen by a tool
    };
  };
  std::uint32_t* ColourTable = nullptr; // the raster kernel's colour table of the window
  std::uint32_t UndoStep = 0;           // step number of the current user action's undo entries
  void* Display = nullptr;              // the display list of a PCB window
  std::uint8_t HighlightByte = 0;
  std::uint32_t ViewOnlyHighlighted = 0;
  std::uint32_t RatsnestUpdate[4] = {}; // moving points and changed-net list of a PCB window
  void* Console = nullptr;              // the document's log pane
  std::uint32_t MenuWords[5] = {0, 0, 0, 1, 1};
  std::uint8_t ShowWord = 1;

  // Per-kind extensions.
  PcbViewExtension Pcb{};
  std::uint8_t PadStackView[28] = {};   // the pad-stack view settings record
  std::uint8_t SymbolView[28] = {};     // the symbol view settings record
  PadLabelHead* PadLabelInHand = nullptr; // the pad Label being placed, owned by the engine
  Tower* PendingTarget = nullptr;       // the Attribute made for a Net Name or Named IO Port locator
                                        // being placed, or the symbol to receive a User locator; owned
  std::uint32_t PickFilter = 0;         // the pick filter word of FindItemsNearPoint
  PcbPaintOptions PaintOptions{};       // read by the display-list paint of a PCB window

  // What the frame's menu check marks show of the window (the outline and
  // hatch options are the paint options above).
  std::uint32_t CursorStyle = 1;        // 1 target cursor, 0 cross hair
  std::uint32_t ChevronDisplay = 1;     // 1 visible, 0 hidden
  std::uint32_t CutMarkersVisible = 0;  // 1: the plane cut markers are shown (PCB)
  std::uint8_t HoleMarkers = 0;
  std::uint8_t WidowsCheck = 0;         // schematic widows-and-orphans check
  std::uint8_t SurfaceMount = 0;        // the pad stack is surface mount

  // Board options and view upkeep of a PCB window.
  std::uint32_t NetEditingEnabled = 0;  // 1: the net menu's editing commands run
  std::uint32_t CopperLayerCount = 0;   // the board's copper layers as the user set them
  std::uint32_t WorkingArea[4] = {};    // the board's working area {x, y, width, height}, world units
  pl3::Box PendingRedraw{-1, -1, 0, 0}; // a world box to redraw on command 484; empty when none
  std::uint8_t FullRedrawPending = 0;   // 1: the next redraw covers the whole shown area
};

// The WalkFlags bits the locator drawing names by what they do there.
constexpr std::uint32_t kDrawLocatorText = kWalkHighlighting;  // locator texts and ghosts are drawn
constexpr std::uint32_t kDrawMirrored = kWalkMirrorMode;       // locator copies are mirrored before drawing

// Clears the transient part of a block: the pending record, selection,
// insertions, ratsnest state, edit mode and view flags, and gives the reset
// words their fixed values.
void ResetWindowData(CurrentWindowData& block);

// Makes the active block's view the one the raster kernel draws with: its
// origin and zoom joined into the kernel's view mapping and, unless the
// window is a package window, the scale 4294967295 / zoom. Does nothing when
// no block is active or its zoom is 0.
void UpdateViewGlobals();

// The block of the active editor window, or null when none is active.
extern CurrentWindowData* ActiveWindowData;
