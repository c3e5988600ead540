// What the size commands ask of the selection engine about the primary
// selections of the active window, and the engine's size chooser for the item
// in hand. Declared here, defined by the selection engine; until it lands the
// program links refusing stand-ins (app/selection_action_seams_pending.cpp).
#pragma once
#include <cstdint>

#include "platform/win_types.h"

struct CurrentWindowData;

// Actions on the selection: 0 and 1 step sizes up and down; 2 is the step
// tried when a custom size stopped the first. With the argument 1 the size
// steps go to the end of the list (the largest for 0, the smallest for 1)
// instead of one entry.
constexpr std::uint32_t kSelectionSizeUp = 0;
constexpr std::uint32_t kSelectionSizeDown = 1;
constexpr std::uint32_t kSelectionSizeRetry = 2;
constexpr std::uint32_t kSelectionSizeOneStep = 0;
constexpr std::uint32_t kSelectionSizeToEnd = 1;

// Results of PerformSelectionArrayAction.
constexpr int kSelectionActionDone = 0;
constexpr int kSelectionActionAtEnd = 1;  // every item was already at the end of its list
constexpr int kSelectionActionCustom = 2; // a custom size stopped it

// Non-zero when the action may be applied to the primary selections; shows
// its own refusal under the caption "Accept Selection".
int ValidateSelectionForAction(std::uint32_t action, std::uint32_t argument);
// Applies the action to every primary selection of the active window.
int PerformSelectionArrayAction(std::uint32_t action, std::uint32_t argument);
// Set Size: lets the user choose the size of the item being placed or of the
// selection with the size chooser (app/item_size_command.cpp).
void SetCurrentItemSize(HWND window, void* state, CurrentWindowData* windowData);
