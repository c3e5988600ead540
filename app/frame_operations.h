// The table behind PerformFrameCommandOperation (app/frame_hub_seams.h): the
// operation each frame command reaches on the active editor window.
#pragma once
#include "platform/win_types.h"

// The name of what the command reaches (the editing engine's operation or
// the entry point of its owner, app/frame_operation_seams.h), or null for an
// id without an operation.
const char* FrameOperationName(UINT id);
