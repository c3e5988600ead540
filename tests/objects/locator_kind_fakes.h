// Recording stand-ins for the handlers the locator dispatch calls.
#pragma once
#include <string>
#include <vector>

#include "objects/locator_dispatch.h"

namespace locatortest {
// The names of the handlers called, in order; cleared by the tests.
std::vector<std::string>& HandlerCalls();
// The box handler gives a locator anchored at x the box {x, x + 1, x + 1000, x + 1001}.
}  // namespace locatortest
