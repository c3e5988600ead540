// The actions of the Options menu on the primary selections of the active
// window (edit/selection_actions.cpp, edit/selection_validate.cpp), and the
// size chooser for the item in hand (app/item_size_command.cpp).
#pragma once
#include <cstdint>

#include "platform/win_types.h"

struct CurrentWindowData;
struct SelectionInfo;

// Actions of the Options menu on the selection (PerformSelectionArrayAction).
constexpr std::uint32_t kSelectionSizeUp = 0;      // next "on" size of each item's list
constexpr std::uint32_t kSelectionSizeDown = 1;    // previous "on" size
constexpr std::uint32_t kSelectionSetSize = 2;     // the Select Size chooser, shown once
constexpr std::uint32_t kSelectionNextLayer = 3;   // next layer; instances change sides
constexpr std::uint32_t kSelectionSetLayer = 4;    // the layer given as the argument
constexpr std::uint32_t kSelectionAccept = 5;      // checked only (ValidateSelectionForAction)
constexpr std::uint32_t kSelectionFlipSide = 6;    // to the other board side
constexpr std::uint32_t kSelectionSizeFirst = 7;   // first "on" size
constexpr std::uint32_t kSelectionSizeLast = 8;    // last "on" size
constexpr std::uint32_t kSelectionNextColour = 9;  // next colour of the class
constexpr std::uint32_t kSelectionSetColour = 10;  // the Select Colour chooser

// Results of PerformSelectionArrayAction: 0, or with one primary item the
// size step's own answer for actions 0, 1, 7 and 8.
constexpr int kSelectionActionDone = 0;
constexpr int kSelectionActionAtEnd = 1;  // the item was already at the end of its list
constexpr int kSelectionActionCustom = 2; // a custom size stopped it

// Non-zero when the action may be applied to the primary selections; shows
// its own refusal under the caption "Accept Selection".
int ValidateSelectionForAction(std::uint32_t action, std::uint32_t argument);
// Applies the action to every primary selection of the active window, in
// list order.
int PerformSelectionArrayAction(std::uint32_t action, std::uint32_t argument);
// With one item accepted: its size becomes the one new items of its kind
// take (the default entry of its list), when the size is taken from the list.
void AdoptSelectionSize(std::uint16_t type, const SelectionInfo* record);
// Set Size: lets the user choose the size of the item being placed or of the
// selection with the size chooser (app/item_size_command.cpp).
void SetCurrentItemSize(HWND window, void* state, CurrentWindowData* windowData);
