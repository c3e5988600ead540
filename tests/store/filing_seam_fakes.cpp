// Stand-ins for the post-load passes that the subsystems above the store
// provide; they count their calls so that tests see filing ran them.
#include "tests/store/filing_seam_fakes.h"

#include "platform/reset_hooks.h"
#include "store/filing_seams.h"

namespace filingfakes {

Calls& Recorded() {
  static Calls calls;
  return calls;
}

namespace {
void ResetCalls() { Recorded() = Calls{}; }
const bool gRegistered = pl3::RegisterGlobalReset(&ResetCalls);
}  // namespace

}  // namespace filingfakes

void ConvertPl2ProjectTree(Tower*) { ++filingfakes::Recorded().conversions; }
void RemapDocumentFonts(Tower*) { ++filingfakes::Recorded().fontRemaps; }
