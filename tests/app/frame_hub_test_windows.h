// A frame with an MDI client and document windows of a recording class, for
// the tests of the frame's command hub: what reached each child, and a
// selection of items of given types in the active window's block.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <vector>

#include "edit/window_data.h"
#include "platform/win_types.h"

namespace hubtest {

struct ForwardedCommand {
  HWND window;
  WPARAM wParam;
  LPARAM lParam;
};
// Every WM_COMMAND a child received since the last clear.
std::vector<ForwardedCommand>& Forwarded();
// The child whose WM_CLOSE is declined (null: none).
void RefuseCloseOf(HWND child);
// The class name of the recording children.
extern const char* const kChildClass;

class HubWindows : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // A new child of the recording class; it becomes the active one.
  HWND AddChild();
  HWND ActiveChild() const;
  // Replaces the block's selection with one primary record per type.
  void Select(std::initializer_list<std::uint16_t> types);
  void Select(const std::vector<std::uint16_t>& types);

  HWND frame = nullptr;
  Tower* design = nullptr;
  std::unique_ptr<CurrentWindowData> block;
  std::vector<std::unique_ptr<SelectionInfo>> records;
  std::vector<Tower*> items;
};

}  // namespace hubtest
