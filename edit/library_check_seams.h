// What the library editors' check asks of the design rule checker, which
// lies above the editing engine: the check of the edited item of each kind
// (each returns its failure bits) and the two masks of the check settings
// that a Completion Info keeps. The checks are defined by the rule checker;
// until it lands the program links the stand-ins of
// app/library_check_seams_pending.cpp. The masks are defined in
// app/completion_masks.cpp.
#pragma once
#include <cstdint>

std::uint32_t CheckSchematicSymbol();
std::uint32_t CheckPcbSymbol();
std::uint32_t CheckShape();
std::uint32_t CheckPadStack();

std::uint32_t CompletionEnableMask();
std::uint32_t CompletionSecondMask();
