// Fakes of the post-load passes of document filing (font re-mapping and the
// conversion of earlier-generation records), counting their calls.
#pragma once

namespace filingfakes {

struct Calls {
  int conversions = 0;
  int fontRemaps = 0;
};

// Cleared before every test.
Calls& Recorded();

}  // namespace filingfakes
