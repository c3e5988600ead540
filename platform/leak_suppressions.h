// Included by the main file of each program: in the sanitizer build the
// program carries the leak suppressions of scripts/lsan-suppressions.txt, so
// that a run by hand ends as cleanly as a test does.
#pragma once

#ifdef PL3_LSAN_SUPPRESSIONS
extern "C" const char* __lsan_default_suppressions() { return PL3_LSAN_SUPPRESSIONS; }
// The excused leaks are expected: no table of them at every exit.
extern "C" const char* __lsan_default_options() { return "print_suppressions=0"; }
#endif
