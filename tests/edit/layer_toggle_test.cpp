#include "edit/layer_toggle.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "view_fixture.h"

namespace {

class LayerToggle : public viewtest::DesignView {
 protected:
  void SetUp() override {
    viewtest::DesignView::SetUp();
    window->layerTable.layers[Layer_Bottom].letter = 'b';
    window->layerTable.layers[5].letter = 'Q';
    window->layerTable.layers[5].flags &= ~kLayerPresent;  // lettered, but not in the document's set
  }
  std::uint32_t Flags(int layer) { return window->layerTable.layers[layer].flags; }
};

TEST_F(LayerToggle, TheLayersLetterShowsAndHidesIt) {
  window->EditMode = 83;
  EXPECT_EQ(ToggleLayerByKey(view, nullptr, 'B', window.get()), 1);
  EXPECT_EQ(Flags(Layer_Bottom) & kLayerVisible, 0u);
  EXPECT_EQ(Flags(Layer_Bottom) & ~kLayerVisible, 0x6u) << "only the visible flag changes";
  EXPECT_EQ(window->EditMode, 0) << "the current operation is cancelled";
  EXPECT_EQ(enginefakes::CallsStartingWith("layers pane"), (std::vector<std::string>{"layers pane 1031"}));
  EXPECT_EQ(enginefakes::CallsStartingWith("redraw view").size(), 1u);
  EXPECT_EQ(ToggleLayerByKey(view, nullptr, 'B', window.get()), 1);
  EXPECT_EQ(Flags(Layer_Bottom), 0x7u);
}

TEST_F(LayerToggle, AKeyThatIsNoLayersLetterDoesNothing) {
  window->EditMode = 83;
  for (std::uint32_t key : {std::uint32_t{'Z'}, std::uint32_t{'Q'}, std::uint32_t{0x142}}) {
    EXPECT_EQ(ToggleLayerByKey(view, nullptr, key, window.get()), 0) << key;
  }
  EXPECT_EQ(window->EditMode, 83);
  EXPECT_TRUE(enginefakes::calls.empty());
  for (int layer = 0; layer < 40; ++layer) EXPECT_EQ(Flags(layer) & kLayerVisible, 1u) << layer;
}

}  // namespace
