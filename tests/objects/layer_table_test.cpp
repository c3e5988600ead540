#include <gtest/gtest.h>

#include <string>

#include "objects/entity_record.h"
#include "edit/window_data.h"
#include "objects/layer_table.h"

namespace {

// A PCB's layers as a new board gets them: 32 present copper layers, the
// masks (resist and paste hidden, glue hidden and not selectable) and slots.
LayerTable PcbLayers() {
  LayerTable t{};
  InitialiseLayerTable(t);
  t.copperCount = 32;
  SetSilkscreenLayers(t);
  SetCopperLayers(t);
  for (int n = 1; n <= 32; ++n) t.layers[n].flags |= kLayerVisible | kLayerPresent | kLayerSelectable;
  SetPasteMaskLayer(t, 36, "Top Paste Mask");
  SetPasteMaskLayer(t, 37, "Bottom Paste Mask");
  SetSolderResistLayer(t, 34, "Top Solder Resist");
  SetSolderResistLayer(t, 35, "Bottom Solder Resist");
  SetGlueMaskLayer(t, 38, "Top Glue Mask");
  SetGlueMaskLayer(t, 39, "Bottom Glue Mask");
  SetSlotLayer(t, 129, "Plated Slot");
  SetSlotLayer(t, 130, "Non Plated Slot");
  for (int n = 34; n <= 37; ++n) t.layers[n].flags &= ~kLayerVisible;
  for (int n = 38; n <= 39; ++n) t.layers[n].flags &= ~(kLayerVisible | kLayerSelectable);
  AssignLayerLetters(t, kEditorPcb);
  return t;
}

TEST(LayerTable, InitialiseLeavesEveryLayerUnused) {
  LayerTable t{};
  t.copperCount = 7;
  t.secondWord = 9;
  t.layers[5].flags = 11;
  t.layers[5].kind = 2;
  InitialiseLayerTable(t);
  EXPECT_EQ(t.copperCount, 7u);
  EXPECT_EQ(t.secondWord, 0u);
  for (const LayerRecord& r : t.layers) {
    EXPECT_EQ(r.flags, 0u);
    EXPECT_EQ(r.kind, 0);
  }
  EXPECT_EQ(t.layers[0].planeBit, 1u);
  EXPECT_EQ(t.layers[127].planeBit, 128u);
  EXPECT_EQ(t.layers[128].planeBit, 1u);
  EXPECT_EQ(t.layers[200].planeBit, 73u);
}

TEST(LayerTable, PcbLayersNamesKindsPlaneBitsAndRings) {
  const LayerTable t = PcbLayers();
  EXPECT_STREQ(t.layers[0].name, "Top Silkscreen");
  EXPECT_STREQ(t.layers[1].name, "Top Layer");
  EXPECT_STREQ(t.layers[2].name, "Inner Layer 1");
  EXPECT_STREQ(t.layers[31].name, "Inner Layer 30");
  EXPECT_STREQ(t.layers[32].name, "Bottom Layer");
  EXPECT_STREQ(t.layers[33].name, "Bottom Silkscreen");
  EXPECT_EQ(t.layers[0].planeBit, 8u);
  EXPECT_EQ(t.layers[33].planeBit, 128u);
  const std::uint32_t copperBits[] = {1, 4, 8, 2, 16, 32, 64, 2, 1};
  for (int n = 1; n <= 9; ++n) EXPECT_EQ(t.layers[n].planeBit, copperBits[n - 1]) << n;
  EXPECT_EQ(t.layers[32].planeBit, 2u);
  EXPECT_EQ(t.layers[34].planeBit, 2048u);
  EXPECT_EQ(t.layers[35].planeBit, 1024u);
  EXPECT_EQ(t.layers[36].planeBit, 512u);
  EXPECT_EQ(t.layers[37].planeBit, 256u);
  EXPECT_EQ(t.layers[38].planeBit, 8192u);
  EXPECT_EQ(t.layers[39].planeBit, 4096u);
  EXPECT_EQ(t.layers[129].planeBit, 2u);
  EXPECT_EQ(t.layers[130].planeBit, 3u);
  EXPECT_EQ(t.layers[129].flags, 3u);
  EXPECT_EQ(t.layers[129].kind, LayerKind_Slot);
  EXPECT_EQ(t.layers[1].flags, 15u);

  // Next-layer rings: copper 1 -> 2 -> ... -> 32 -> 1, the silkscreens to
  // each other, masks and slots to themselves.
  int layer = 1;
  for (int step = 0; step < 32; ++step) {
    EXPECT_EQ(t.layers[layer].kind, LayerKind_Copper);
    layer = t.layers[layer].nextLayer;
  }
  EXPECT_EQ(layer, 1);
  EXPECT_EQ(t.layers[31].nextLayer, 32);
  EXPECT_EQ(t.layers[32].nextLayer, 1);
  EXPECT_EQ(t.layers[0].nextLayer, 33);
  EXPECT_EQ(t.layers[33].nextLayer, 0);
  for (int n : {34, 35, 36, 37, 38, 39, 129, 130}) EXPECT_EQ(t.layers[n].nextLayer, n) << n;
}

TEST(LayerTable, PcbLetters) {
  const LayerTable t = PcbLayers();
  std::string copper;
  for (int n = 1; n <= 32; ++n) copper += static_cast<char>(t.layers[n].letter);
  EXPECT_EQ(copper, "123456789ABDEFGHIJKLMNOPQRSTUWYZ");
  // Fixed letters of a PCB; 'B' of the bottom resist coincides with layer 11.
  EXPECT_EQ(t.layers[0].letter, 'Q');
  EXPECT_EQ(t.layers[33].letter, 'W');
  EXPECT_EQ(t.layers[34].letter, 'T');
  EXPECT_EQ(t.layers[35].letter, 'B');
  EXPECT_EQ(t.layers[36].letter, 'U');
  EXPECT_EQ(t.layers[37].letter, 'L');
  for (int n : {38, 39, 40, 129, 130, 200}) EXPECT_EQ(t.layers[n].letter, 0) << n;
}

TEST(LayerTable, SequenceStartsAtZeroOrOneAndSkipsFixedLetters) {
  LayerTable t{};
  InitialiseLayerTable(t);
  SetSilkscreenLayers(t);
  SetCopperLayers(t);
  DisableCopperLayers(t);
  t.layers[1].flags |= kLayerSelectable;
  t.layers[32].flags |= kLayerSelectable;
  AssignLayerLetters(t, kEditorShape);  // no fixed letters
  EXPECT_EQ(t.layers[0].letter, '0');
  EXPECT_EQ(t.layers[1].letter, '1');
  EXPECT_EQ(t.layers[32].letter, '2');
  EXPECT_EQ(t.layers[33].letter, '3');
  AssignLayerLetters(t, kEditorPcb);
  EXPECT_EQ(t.layers[0].letter, 'Q');
  EXPECT_EQ(t.layers[33].letter, 'W');
  EXPECT_EQ(t.layers[32].letter, '2');
}

TEST(LayerTable, SequenceHolds33LettersFromZeroAnd32FromOne) {
  for (std::uint16_t firstKind : {LayerKind_Silkscreen, LayerKind_Copper}) {
    LayerTable t{};
    InitialiseLayerTable(t);
    for (int n = 0; n < 40; ++n) {
      t.layers[n].flags = kLayerSelectable;
      t.layers[n].kind = n == 0 ? firstKind : LayerKind_Silkscreen;
    }
    AssignLayerLetters(t, 0);
    int lettered = 0;
    for (int n = 0; n < 40; ++n) lettered += t.layers[n].letter != 0;
    EXPECT_EQ(lettered, firstKind == LayerKind_Copper ? 32 : 33);
    EXPECT_EQ(t.layers[lettered - 1].letter, 'Z');
  }
}

TEST(LayerTable, PcbSymbolAndPadStackFixedLetters) {
  LayerTable t = PcbLayers();
  AssignLayerLetters(t, kEditorPcbSymbol);
  const std::pair<int, char> symbol[] = {{0, 'S'},  {33, 'A'}, {37, 'N'}, {34, 'R'}, {35, 'E'},
                                         {36, 'M'}, {1, 'T'},  {2, 'I'},  {32, 'B'}};
  for (auto [layer, letter] : symbol) EXPECT_EQ(t.layers[layer].letter, letter) << layer;
  AssignLayerLetters(t, kEditorPadStack);
  EXPECT_EQ(t.layers[0].letter, '0');
  EXPECT_EQ(t.layers[37].letter, 0);
  EXPECT_EQ(t.layers[2].letter, 'I');
}

TEST(LayerTable, MaskAndSlotBuilders) {
  LayerTable t{};
  InitialiseLayerTable(t);
  SetPasteMaskLayer(t, 50, "Extra Paste");
  EXPECT_EQ(t.layers[50].kind, LayerKind_PasteMask);
  EXPECT_EQ(t.layers[50].flags, 11u);
  EXPECT_EQ(t.layers[50].planeBit, 51u);  // left as it was
  EXPECT_EQ(t.layers[50].nextLayer, 50);
  EXPECT_STREQ(t.layers[50].name, "Extra Paste");
  SetSlotLayer(t, 60, "Slot");
  EXPECT_EQ(t.layers[60].flags & kLayerSelectable, 0u);
  AssignLayerLetters(t, 0);
  EXPECT_EQ(t.layers[60].letter, 0);
  // A name longer than the record holds is cut, never overrun.
  SetSolderResistLayer(t, 70, std::string(200, 'x').c_str());
  EXPECT_EQ(std::string(t.layers[70].name), std::string(81, 'x'));
}

TEST(LayerTable, MirrorLayerAndOuterLayers) {
  LayerTable t = PcbLayers();
  t.layers[1].oppositeLayer = 32;
  t.layers[0].oppositeLayer = 33;
  t.layers[5].oppositeLayer = kNoOppositeLayer;
  EXPECT_EQ(GetMirrorLayerIn(&t, 1), 32);
  EXPECT_EQ(GetMirrorLayerIn(&t, 0), 33);
  EXPECT_EQ(GetMirrorLayerIn(&t, 5), kNoOppositeLayer);
  EXPECT_EQ(GetMirrorLayerIn(nullptr, 5), 5);

  // Four copper layers present: 1, 2, 3 and 32.
  for (int n = 4; n <= 31; ++n) t.layers[n].flags &= ~kLayerPresent;
  EXPECT_EQ(IsOuterLayerOfKindIn(&t, 1), 1);
  EXPECT_EQ(IsOuterLayerOfKindIn(&t, 32), 1);
  EXPECT_EQ(IsOuterLayerOfKindIn(&t, 2), 0);
  EXPECT_EQ(IsOuterLayerOfKindIn(&t, 10), 0);  // not present
  EXPECT_EQ(IsOuterLayerOfKindIn(&t, 0), 1);
  EXPECT_EQ(IsOuterLayerOfKindIn(&t, 33), 1);
  EXPECT_EQ(IsOuterLayerOfKindIn(nullptr, 1), 0);

  // The same through the active window.
  CurrentWindowData window{kEditorPcb, nullptr, 0};
  window.layerTable = t;
  ActiveWindowData = &window;
  EXPECT_EQ(GetMirrorLayer(1), 32);
  EXPECT_EQ(IsOuterLayerOfKind(32), 1);
  ActiveWindowData = nullptr;
  EXPECT_EQ(GetMirrorLayer(1), 1);
}

}  // namespace
