// Global state reset between tests. A module that keeps global state registers
// a reset function once, from the source file that defines that state:
//
//   static const bool registered = pl3::RegisterGlobalReset(&ResetMyGlobals);
//
// The test main calls ResetGlobalStateForTests() before every test, so each
// test starts from the state the program has right after start-up.
#pragma once

namespace pl3 {

using GlobalResetFn = void (*)();

// Returns true so it can initialise a static. Resets run in registration order.
bool RegisterGlobalReset(GlobalResetFn fn);
void ResetGlobalStateForTests();

}  // namespace pl3
