// The frame's message box as the container tests see it: every message that
// the store and filing show is recorded instead of shown.
#pragma once
#include <string>
#include <vector>

struct ShownMessage {
  std::string text;
  std::string caption;
};

// Messages shown since the last test started (reset before each test).
std::vector<ShownMessage>& ShownMessages();
