#include "platform/reset_hooks.h"

#include <vector>

namespace pl3 {

namespace {
std::vector<GlobalResetFn>& Hooks() {
  static std::vector<GlobalResetFn> hooks;
  return hooks;
}
}  // namespace

bool RegisterGlobalReset(GlobalResetFn fn) {
  Hooks().push_back(fn);
  return true;
}

void ResetGlobalStateForTests() {
  for (GlobalResetFn fn : Hooks()) fn();
}

}  // namespace pl3
