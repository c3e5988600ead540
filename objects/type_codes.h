// The 16-bit type code of every node of the tower store, and the display names
// that messages and menus show for them ("Insert %s", "Type_SymbolInstance").
//
// Ranges: 0 to 49 graphic entity types (the drawing code's draw-list code is
// the same number); 100 to 152 and 200 to 278 structural records of designs,
// libraries and netlists, with 283 to 292 and 306 to 310 beside them; 300 to
// 306 font and net-conflict records; higher codes number fields, settings and
// editor records. Other subsystems add the codes they own beside these.
#pragma once
#include <cstdint>

enum TypeCode : std::uint16_t {
  Type_NullEntry = 0,
  Type_Track = 1,
  Type_Arc = 2,
  Type_Circle = 3,
  Type_Polygon = 4,
  Type_Text = 5,
  Type_Rectangle = 6,
  Type_Hole = 7,
  Type_Plane = 8,
  Type_PlaneCutout = 9,
  Type_ThermalBreak = 10,
  Type_RoutedLine = 11,
  Type_RoutedArc = 12,
  Type_RoutedCircle = 13,
  Type_RoutedRectangle = 14,
  Type_RoutedPolygon = 15,
  Type_Via = 17,
  Type_Centroid = 18,
  Type_Spiral = 19,
  Type_AttributeLocator = 20,
  Type_AngleDimensioner = 21,
  Type_Dimensioner = 22,
  Type_ThinLine = 23,
  Type_ThinArc = 24,
  Type_SymbolPin = 26,
  Type_Wire = 28,
  Type_Bus = 29,
  Type_Attribute = 31,
  Type_SchematicSymbol = 32,
  Type_Datum = 34,
  Type_LinkedCut = 35,
  Type_PreRoute = 36,
  Type_StarEarthTrack = 37,
  Type_BoardOutlineArc = 38,
  Type_BoardOutlineLine = 39,

  Type_PolygonKeepout = 41,
  Type_PolygonViaKeepout = 42,
  Type_PolygonPlacementKeepout = 43,
  Type_ComponentPlacementOutline = 44,
  Type_ComponentBodyOutline = 45,
  Type_PlatedSlot = 46,
  Type_NonPlatedSlot = 47,
  Type_PolygonWiringKeepout = 49,

  Type_NotUsed = 100,
  Type_Project = 101,
  Type_PCB = 102,
  Type_Schematic = 103,
  Type_Page = 104,
  Type_SymbolDefinition = 105,
  Type_SymbolInstance = 106,
  Type_Shape = 107,
  Type_PadStackInstance = 108,
  Type_ShapeDefinition = 109,
  Type_ShapeInfo = 110,
  Type_PadStackLayerInfo = 111,
  Type_Origin = 112,
  Type_SymbolInstanceInfo = 113,
  Type_SymbolDefinitionInfo = 114,
  Type_PadStackDefinition = 115,
  Type_PadStackInfo = 116,
  Type_PadStackInstanceInfo = 117,
  Type_PadStackDefinitionInfo = 118,
  Type_Net = 119,
  Type_NetInfo = 120,
  Type_Description = 121,
  Type_Storage = 122,
  Type_ConflictingNetXref = 123,
  Type_NetLineInfo = 124,
  Type_NetList = 125,
  Type_SubNetList = 126,
  Type_WarningBox = 127,
  Type_Designator = 128,
  Type_SubNetTargetTower = 129,
  Type_NetHierGroup = 130,
  Type_NetName = 131,
  Type_TrackToTrack = 132,
  Type_TrackToEdge = 133,
  Type_TrackToVia = 134,
  Type_ViaToEdge = 135,
  Type_ViaToVia = 136,
  Type_NetType = 137,
  Type_NetNominalSize = 138,
  Type_NetMinimumSize = 139,
  Type_NetViaSize = 140,
  Type_PadStackInstanceHier = 141,
  Type_LabelHier = 142,
  Type_RepointTableWas = 143,
  Type_RepointTableIs = 144,
  Type_RepointTableXref = 145,
  Type_UserHWM = 146,
  Type_UserID = 147,
  Type_MinToPower = 148,
  Type_MinToSignal = 149,
  Type_InfoBoxType = 150,
  Type_RatsNestInfo = 151,
  Type_RatsNestSelectionInfo = 152,
  Type_InfoBoxPoints = 159,  // outside the name table: its name is its number

  Type_BoundingBox = 200,
  Type_Bitmap = 201,
  Type_Label = 202,
  Type_SourcePath = 203,
  Type_HoleSizeList = 204,
  Type_TrackSizeList = 205,
  Type_CircleSizeList = 206,
  Type_RectSizeList = 207,
  Type_Transform = 208,
  Type_IDInfo = 209,
  Type_WindowInfo = 210,
  Type_Temporary = 211,
  Type_CompletionInfo = 212,
  Type_NetHighlightInfo = 213,
  Type_FileName = 214,
  Type_Name = 215,
  Type_Library = 216,
  Type_FileInfo = 217,
  Type_ShortName = 218,
  Type_LibraryName = 219,
  Type_DisplayFileInfo = 220,
  Type_DisplayDirectory = 221,
  Type_DisplayDirectoryInfo = 222,
  Type_FileVector = 223,
  Type_ProjectName = 224,
  Type_XrefHWM = 225,
  Type_Password = 226,
  Type_User = 227,
  Type_Date = 228,
  Type_NotUsed229 = 229,
  Type_SavedParams = 230,
  Type_ModifiedNote = 231,
  Type_DesignatorString = 232,
  Type_DesignatorInfo = 233,
  Type_DesignatorData = 234,
  Type_GridInfo = 235,
  Type_HoleSizes = 236,
  Type_CircleSizes = 237,
  Type_RectangleSizes = 238,
  Type_FontSizes = 239,
  Type_TrackSizes = 240,
  Type_CurrentSizes = 241,
  Type_DontReloadGroup = 242,
  Type_ImportedSymbol = 243,
  Type_ImportedDesignator = 244,
  Type_ImportedSymbolName = 245,
  Type_Offset = 246,
  Type_StoredSizes = 247,
  Type_DuplcatePadName = 248,
  Type_NetFileName = 249,
  Type_FileVectorTower = 250,
  Type_FileInfoHier = 251,
  Type_PreviouslyExisted = 252,
  Type_PreviouslyInNet = 253,
  Type_ImportedNetNodeHier = 254,
  Type_ImportedPadName = 255,
  Type_ImportedNetSymbolName = 256,
  Type_ImportedSymbolDefXref = 257,
  Type_FilePath = 258,
  Type_NetNode = 259,
  Type_NetNodeTargetTower = 260,
  Type_NetDetails = 261,
  Type_SearchedFromHereMarker = 262,
  Type_SubNetInfo = 263,
  Type_InfoBoxHier = 264,
  Type_InfoBox = 265,
  Type_StringDrawInfo = 266,
  Type_RatsNestTargetTower = 267,
  Type_SubNetPointsListInfo = 268,
  Type_SubNetHier = 269,
  Type_Xref = 270,
  Type_SubNetXrefHWM = 271,
  Type_RatsNestShortestInfo = 272,
  Type_DRCRulesInfoHier = 273,
  Type_DRCRulesInfoHWM = 274,
  Type_DRCRulesInfo = 275,
  Type_DefaultDRCRulesHier = 276,
  Type_InfoBoxLinkHier = 277,
  Type_VectorTower = 278,

  Type_Font = 300,
  Type_FontInfo = 301,
  Type_TextMetric = 302,
  Type_FontName = 303,
  Type_CharacterInfo = 304,
  Type_FontGroup = 305,
  Type_NetConflicts = 306,

  // The size text of a design (the same text as a size file).
  Type_SizeTableRecord = 288,

  // Settings and version records.
  Type_DesignVersion = 10002,     // one u32: the layout version of a new design
  Type_CompletionMaskA = 10315,   // symbol options: the second word is a completion mask
  Type_CompletionMaskB = 10316,

  // The undo history under a design's root entity.
  Type_UndoHistory = 10500,       // the history (no payload)
  Type_UndoEntry = 10501,         // one recorded change: u32 step, u32 kind
  Type_UndoStepCounter = 10502,   // u32: the last step number handed out
  Type_UndoPosition = 10505,      // u32: the last step done (0xFFFFFFFF none), or a caption's step
  Type_UndoItem = 10506,          // u32: the item an entry names; the saved copy below it
  Type_UndoRedoCopy = 10507,      // u32: the redo slot of an undone entry, its copy below it
  Type_UndoCaption = 10508,       // a step's caption text, NUL-terminated

  // Attribute records of schematics and symbol definitions.
  Type_AttributeValue = 11005,      // the value text of an Attribute (31), NUL-terminated
  Type_UserAttributeName = 11020,   // under a User locator: the name of the user attribute it shows
  Type_AttributeIdHWM = 11024,      // under a Schematic: the last attribute id given out (u32)
  Type_GlobalNetListName = 11029,   // under a Display Global Nets locator or a Schematic: the list's name
};

// The display text of a type code: the graphic table for 0 to 39, the
// structural tables for 100 to 152 and 200 to 278, the font and net table
// for 300 to 306. From 400 on, the one-character text whose character is the
// low byte of (code - 400). Any other code gives its number in decimal. The
// result points into static storage and must not be freed; the computed
// texts (400 and above, and numbers) live in one buffer that the next such
// call overwrites.
const char* GetTypeName(std::uint16_t code);

