#include "objects/type_codes.h"

#include <cstdio>

namespace {

// Display names as the program has always shown them, spellings included.
const char* const kGraphicTypeNames[40] = {
    "Null Entry",  // 0
    "Track",  // 1
    "Arc",  // 2
    "Circle",  // 3
    "Polygon",  // 4
    "Text",  // 5
    "Rectangle",  // 6
    "Hole",  // 7
    "Plane",  // 8
    "Plane Cutout",  // 9
    "Thermal Break",  // 10
    "Routed Line",  // 11
    "Routed Arc",  // 12
    "Routed Circle",  // 13
    "Routed Rectangle",  // 14
    "Routed Polygon",  // 15
    "16",  // 16
    "Via",  // 17
    "Centroid",  // 18
    "Spiral",  // 19
    "Attribute Locator",  // 20
    "21",  // 21
    "Dimensioner",  // 22
    "Thin Line",  // 23
    "Thin Arc",  // 24
    "25",  // 25
    "Symbol Pin",  // 26
    "27",  // 27
    "Wire",  // 28
    "Bus",  // 29
    "Schematic Symbol",  // 30
    "Attribute",  // 31
    "Schematic Symbol",  // 32
    "Symbol Pin",  // 33
    "Datum",  // 34
    "Linked Cut",  // 35
    "Pre Route",  // 36
    "Star Earth Track",  // 37
    "Board Outline Arc",  // 38
    "Board Outline Line",  // 39
};

const char* const kStructuralTypeNames100[53] = {
    "Not Used",  // 100
    "Project",  // 101
    "PCB",  // 102
    "Schematic",  // 103
    "Page",  // 104
    "Symbol Definition",  // 105
    "Symbol Instance",  // 106
    "Shape",  // 107
    "Pad-Stack Instance",  // 108
    "Shape Definition",  // 109
    "Shape Info",  // 110
    "Pad-Stack Layer Info",  // 111
    "Origin",  // 112
    "Symbol Instance Info",  // 113
    "Symbol Definition Info",  // 114
    "Pad-Stack Definition",  // 115
    "Pad-Stack Info",  // 116
    "Pad-Stack Instance Info",  // 117
    "Pad-Stack Definition Info",  // 118
    "Net",  // 119
    "Net Info",  // 120
    "Description",  // 121
    "Storage",  // 122
    "Conflicting Net Xref",  // 123
    "Net Line Info",  // 124
    "Net list",  // 125
    "Sub Net list",  // 126
    "Warning Box",  // 127
    "Designator",  // 128
    "Sub Net Target Tower",  // 129
    "Net Hier Group",  // 130
    "Net Name",  // 131
    "Track to Track",  // 132
    "Track to Edge",  // 133
    "Track to Via",  // 134
    "Via to Edge",  // 135
    "Via to Via",  // 136
    "Net Type",  // 137
    "Net Nominal Size",  // 138
    "Net Minimum Size",  // 139
    "Net Via Size",  // 140
    "Pad Stack Instance Hier",  // 141
    "Label Hier",  // 142
    "Repoint Table - Was",  // 143
    "Repoint Table - Is",  // 144
    "Repoint Table - Xref",  // 145
    "User HWM",  // 146
    "User ID",  // 147
    "Min To Power",  // 148
    "Min To Signal",  // 149
    "Info Box Type",  // 150
    "Rats Nest Info",  // 151
    "Rats Nest Selection Info",  // 152
};

const char* const kStructuralTypeNames200[79] = {
    "Bounding Box",  // 200
    "Bitmap",  // 201
    "Label",  // 202
    "Source Path",  // 203
    "Hole Size List",  // 204
    "Track Size List",  // 205
    "Circle Size List",  // 206
    "Rect Size List",  // 207
    "Transform",  // 208
    "ID Info",  // 209
    "Window Info",  // 210
    "Temporary",  // 211
    "Completion Info",  // 212
    "Net Highlight Info",  // 213
    "File Name",  // 214
    "Name",  // 215
    "Library",  // 216
    "File Info",  // 217
    "Short Name",  // 218
    "Library Name",  // 219
    "Display File Info",  // 220
    "Display Directory",  // 221
    "Display Directory Info",  // 222
    "File Vector",  // 223
    "Project Name",  // 224
    "Xref HWM",  // 225
    "Password",  // 226
    "User",  // 227
    "Date",  // 228
    "not used",  // 229
    "Saved Params",  // 230
    "Modified Note",  // 231
    "Designator String",  // 232
    "Designator Info",  // 233
    "Designator Data",  // 234
    "Grid Info",  // 235
    "Hole Sizes",  // 236
    "Circle Sizes",  // 237
    "Rectangle Sizes",  // 238
    "Font Sizes",  // 239
    "Track Sizes",  // 240
    "Current Sizes",  // 241
    "Don't Reload Group",  // 242
    "Imported Symbol",  // 243
    "Imported Designator",  // 244
    "Imported Symbol Name",  // 245
    "Offset",  // 246
    "Stored Sizes",  // 247
    "Duplcate Pad Name",  // 248
    "Net File Name",  // 249
    "File Vector Tower",  // 250
    "File Info Hier",  // 251
    "Previously Existed",  // 252
    "Previously In Net",  // 253
    "Imported Net Node Hier",  // 254
    "Imported Pad Name",  // 255
    "Imported Net Symbol Name",  // 256
    "Imported Symbol Def Xref",  // 257
    "File Path",  // 258
    "Net Node",  // 259
    "Net Node Target Tower",  // 260
    "Net Details",  // 261
    "Searched From Here Marker",  // 262
    "Sub Net Info",  // 263
    "Info Box Hier",  // 264
    "Info Box",  // 265
    "String Draw Info",  // 266
    "Rats Nest Target Tower",  // 267
    "Sub Net Points List Info",  // 268
    "Sub Net Hier",  // 269
    "Xref",  // 270
    "Sub Net Xref HWM",  // 271
    "Rats Nest Shortest Info",  // 272
    "DRC Rules Info Hier",  // 273
    "DRC Rules Info HWM",  // 274
    "DRC Rules Info",  // 275
    "Default DRC Rules Hier",  // 276
    "Info Box Link Hier",  // 277
    "Vector Tower",  // 278
};

const char* const kFontAndNetTypeNames[7] = {
    "Font",  // 300
    "Font Info",  // 301
    "TextMetric",  // 302
    "Font Name",  // 303
    "Character Info",  // 304
    "FontGroup",  // 305
    "Net Conflicts",  // 306
};

// Names computed on demand: overwritten by the next such call.
char g_computedTypeName[8];

}  // namespace

const char* GetTypeName(std::uint16_t code) {
  if (code <= 39) return kGraphicTypeNames[code];
  if (code >= 100 && code <= 152) return kStructuralTypeNames100[code - 100];
  if (code >= 200 && code <= 278) return kStructuralTypeNames200[code - 200];
  if (code >= 300 && code <= 306) return kFontAndNetTypeNames[code - 300];
  if (code >= 400) {
    g_computedTypeName[0] = static_cast<char>((code - 400) & 0xFF);
    g_computedTypeName[1] = '\0';
  } else {
    std::snprintf(g_computedTypeName, sizeof g_computedTypeName, "%u", static_cast<unsigned>(code));
  }
  return g_computedTypeName;
}

