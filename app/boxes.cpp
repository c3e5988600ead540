#include "app/boxes.h"

#include "objects/new_documents.h"
#include "platform/reset_hooks.h"

pl3::Box GlobalExtentsBox = {182880000, 182880000, 1828800000, 1828800000};

void ResetExtentsBox() { GlobalExtentsBox = {182880000, 182880000, 1828800000, 1828800000}; }

namespace {
const bool gExtentsResetRegistered = pl3::RegisterGlobalReset(&ResetExtentsBox);
}  // namespace
