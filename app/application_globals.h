// Start-up and teardown of the program's global state. The program calls
// InitApplicationGlobals once at start, before anything uses the tower store,
// and FreeApplicationGlobals once at exit, after everything else.
#pragma once

void InitApplicationGlobals();
void FreeApplicationGlobals();
