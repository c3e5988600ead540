// The whole platform vocabulary in one include, for code above platform/.
// Each service also has its own header; include the one you need where that
// keeps dependencies plain.
#pragma once
#include "platform/win_types.h"

#include "platform/dynlib.h"
#include "platform/kernel_base.h"
#include "platform/kernel_files.h"
#include "platform/registry.h"
#include "platform/responder.h"
#include "platform/sync.h"
#include "platform/uuid.h"
