#include "objects/layer_table.h"

#include <cstdio>
#include <cstring>

#include "edit/window_data.h"

const std::uint32_t CopperPlaneBits[32] = {
    1, 4, 8, 2, 16, 32, 64, 2, 1, 4, 8, 2, 16, 32, 64, 2, 1, 4, 8, 2, 16, 32, 64, 2, 1, 4, 8, 2, 16, 32, 64, 2,
};

namespace {

constexpr std::uint32_t kFlagsOrdinary = kLayerVisible | kLayerPresent | kLayerSelectable;  // 11
constexpr std::uint32_t kFlagsFreshCopper = kLayerCopperBit | kLayerSelectable;             // 12
constexpr std::uint32_t kFlagsSlot = kLayerVisible | kLayerPresent;                          // 3

void SetSelfLinkedLayer(LayerTable& table, std::uint8_t layer, std::uint32_t flags, std::uint16_t kind,
                        const char* name) {
  LayerRecord& r = table.layers[layer];
  r.flags = flags;
  r.kind = kind;
  r.nextLayer = layer;
  SetLayerName(r, name);
}

// The running letter after `letter`, or 0 when the sequence is exhausted.
char NextSequenceLetter(char letter) {
  switch (letter) {
    case '9': return 'A';
    case 'B': return 'D';
    case 'U': return 'W';
    case 'W': return 'Y';
    case 'Z': return 0;
    default: return static_cast<char>(letter + 1);
  }
}

bool TakesSequenceLetter(const LayerRecord& r) {
  if (!(r.flags & kLayerSelectable)) return false;
  return r.kind != LayerKind_PasteMask && r.kind != LayerKind_SolderResist && r.kind != LayerKind_Mechanical;
}

void SetLetter(LayerTable& table, std::uint8_t layer, char letter) {
  table.layers[layer].letter = static_cast<std::uint8_t>(letter);
}

void SetPadStackLetters(LayerTable& table) {
  SetLetter(table, Layer_TopSolderResist, 'R');
  SetLetter(table, Layer_BottomSolderResist, 'E');
  SetLetter(table, Layer_TopPasteMask, 'M');
  SetLetter(table, Layer_Top, 'T');
  SetLetter(table, 2, 'I');
  SetLetter(table, Layer_Bottom, 'B');
}

}  // namespace

void SetLayerName(LayerRecord& record, const char* name) {
  std::snprintf(record.name, sizeof record.name, "%s", name ? name : "");
}

void InitialiseLayerTable(LayerTable& table) {
  table.secondWord = 0;
  for (std::size_t n = 0; n < kLayerCount; ++n) {
    LayerRecord& r = table.layers[n];
    r.flags = 0;
    r.kind = LayerKind_Unused;
    r.planeBit = static_cast<std::uint32_t>(n % 128) + 1;
  }
}

void SetSilkscreenLayers(LayerTable& table) {
  LayerRecord& top = table.layers[Layer_TopSilkscreen];
  top.flags = kFlagsOrdinary;
  top.kind = LayerKind_Silkscreen;
  top.planeBit = 8;
  top.nextLayer = Layer_BottomSilkscreen;
  SetLayerName(top, "Top Silkscreen");
  LayerRecord& bottom = table.layers[Layer_BottomSilkscreen];
  bottom.flags = kFlagsOrdinary;
  bottom.kind = LayerKind_Silkscreen;
  bottom.planeBit = 128;
  bottom.nextLayer = Layer_TopSilkscreen;
  SetLayerName(bottom, "Bottom Silkscreen");
}

void SetCopperLayers(LayerTable& table) {
  for (int n = 1; n <= 32; ++n) {
    LayerRecord& r = table.layers[n];
    r.flags = kFlagsFreshCopper;
    r.kind = LayerKind_Copper;
    r.planeBit = CopperPlaneBits[n - 1];
    r.nextLayer = static_cast<std::uint8_t>(n + 1);
    std::snprintf(r.name, sizeof r.name, "Inner Layer %d", n - 1);
  }
  SetLayerName(table.layers[Layer_Top], "Top Layer");
  SetLayerName(table.layers[Layer_Bottom], "Bottom Layer");
  table.layers[Layer_Bottom].nextLayer = Layer_Top;
}

void DisableCopperLayers(LayerTable& table) {
  for (LayerRecord& r : table.layers)
    if (r.kind == LayerKind_Copper) r.flags &= ~kLayerSelectable;
}

void SetPasteMaskLayer(LayerTable& table, std::uint8_t layer, const char* name) {
  SetSelfLinkedLayer(table, layer, kFlagsOrdinary, LayerKind_PasteMask, name);
  if (layer == Layer_TopPasteMask) table.layers[layer].planeBit = 512;
  if (layer == Layer_BottomPasteMask) table.layers[layer].planeBit = 256;
}

void SetSolderResistLayer(LayerTable& table, std::uint8_t layer, const char* name) {
  SetSelfLinkedLayer(table, layer, kFlagsOrdinary, LayerKind_SolderResist, name);
  if (layer == Layer_TopSolderResist) table.layers[layer].planeBit = 2048;
  if (layer == Layer_BottomSolderResist) table.layers[layer].planeBit = 1024;
}

void SetGlueMaskLayer(LayerTable& table, std::uint8_t layer, const char* name) {
  SetSelfLinkedLayer(table, layer, kFlagsOrdinary, LayerKind_GlueMask, name);
  if (layer == Layer_TopGlueMask) table.layers[layer].planeBit = 8192;
  if (layer == Layer_BottomGlueMask) table.layers[layer].planeBit = 4096;
}

void SetSlotLayer(LayerTable& table, std::uint8_t layer, const char* name) {
  SetSelfLinkedLayer(table, layer, kFlagsSlot, LayerKind_Slot, name);
}

void AssignLayerLetters(LayerTable& table, std::uint32_t editorKind) {
  char letter = 0;
  bool started = false;
  for (LayerRecord& r : table.layers) {
    if (!TakesSequenceLetter(r)) {
      r.letter = 0;
      continue;
    }
    if (!started) {
      letter = r.kind == LayerKind_Copper ? '1' : '0';
      started = true;
    } else if (letter != 0) {
      letter = NextSequenceLetter(letter);
    }
    r.letter = static_cast<std::uint8_t>(letter);
  }
  switch (editorKind) {
    case kEditorPcb:
      SetLetter(table, Layer_TopSilkscreen, 'Q');
      SetLetter(table, Layer_BottomSilkscreen, 'W');
      SetLetter(table, Layer_TopSolderResist, 'T');
      SetLetter(table, Layer_BottomSolderResist, 'B');
      SetLetter(table, Layer_TopPasteMask, 'U');
      SetLetter(table, Layer_BottomPasteMask, 'L');
      break;
    case kEditorPcbSymbol:
      SetLetter(table, Layer_TopSilkscreen, 'S');
      SetLetter(table, Layer_BottomSilkscreen, 'A');
      SetLetter(table, Layer_BottomPasteMask, 'N');
      SetPadStackLetters(table);
      break;
    case kEditorPadStack:
      SetPadStackLetters(table);
      break;
    default:
      break;
  }
}
