// The check settings' masks (configuration records 10315 and 10316) that a
// library item's Completion Info keeps.
#include "app/configuration_options.h"
#include "edit/library_check_seams.h"

std::uint32_t CompletionEnableMask() { return CompletionInfoMask1; }
std::uint32_t CompletionSecondMask() { return CompletionInfoMask2; }
