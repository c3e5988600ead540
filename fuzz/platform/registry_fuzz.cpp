// Feeds arbitrary bytes to the registry file reader: it must refuse what it
// cannot read, never crash or read out of bounds.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/registry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  pl3::ParseRegistryText(std::string(reinterpret_cast<const char*>(data), size));
  return 0;
}
