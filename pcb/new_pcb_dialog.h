// The "Create New PCB" dialog (resource 1163): the copper layer count, a
// description and the net editing option of a board about to be made.
#pragma once
#include <cstdint>

#include "platform/user.h"

// The answer, owned by the caller and freed with FreeNewObjectInfo.
struct NewPcbSettings {
  char* description;              // heap text, or null when the field was empty
  std::uint32_t layerCount;       // as entered; creation keeps it within 1 to 32
  std::uint32_t allowNetEditing;  // 1 when "Allow net editing" was ticked
};

constexpr int kNewPcbDialogId = 1163;
constexpr int kNewPcbLayersId = 3375;
constexpr int kNewPcbDescriptionId = 3376;
constexpr int kNewPcbNetEditingId = 3479;

// Runs the dialog over the parent, starting from the "DefaultPCBLayers"
// setting: the answer on OK, null on Cancel.
NewPcbSettings* AskNewPcbSettings(HWND parent);
// Frees the description and the record; null is ignored.
void FreeNewObjectInfo(NewPcbSettings* settings);
INT_PTR CALLBACK NewPcbDlg(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
