// The hand-over socket's request reader over any bytes: no crash, no
// over-read, and an accepted request holds exactly the bytes it announced.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/window_handover.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  pl3::handover::Request request;
  if (pl3::handover::ParseRequest(data, size, &request) &&
      request.payload.size() != size - sizeof(pl3::handover::RequestHeader))
    std::abort();
  return 0;
}
