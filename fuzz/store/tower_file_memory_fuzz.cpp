// Tower-file images from memory: no crash, no sanitizer report, and a refused
// image leaves the store as it was.
#include <cstddef>
#include <cstdint>

#include "fuzz/store/tower_fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  towerfuzz::StartStoreOnce();
  Tower* loaded = towerfuzz::CheckedLoad([&](Tower* t) { return LoadDOSFileFromMemory(data, size, t) != nullptr; });
  if (loaded) towerfuzz::DeleteLoaded(&loaded);
  return 0;
}
