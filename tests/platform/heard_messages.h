// What a test window procedure heard: one record per message.
#pragma once
#include <vector>

#include "platform/user.h"

namespace pl3::test {

struct Heard {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

}  // namespace pl3::test
