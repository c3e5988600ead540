// Recording stand-ins for the per-kind locator handlers.
#pragma once
#include <string>
#include <vector>

#include "objects/locator_dispatch.h"

namespace locatortest {
// The names of the handlers called, in order; cleared by the tests.
std::vector<std::string>& HandlerCalls();
// The box a box handler writes: one per handler name, or BoxOverride when it
// is not the empty box.
pl3::Box HandlerBox(const std::string& name);
pl3::Box& BoxOverride();
}  // namespace locatortest
