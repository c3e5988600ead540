// Feeds arbitrary bytes to the registry file reader: it must refuse what it
// cannot read, never crash or read out of bounds. Deeply nested keys need long
// inputs, so the default input length limit is raised unless one is given.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "platform/registry.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  for (int i = 1; i < *argc; ++i)
    if (std::strncmp((*argv)[i], "-max_len=", 9) == 0) return 0;
  static char maxLen[] = "-max_len=1048576";
  static char** extended = nullptr;
  extended = new char*[static_cast<std::size_t>(*argc) + 2];
  for (int i = 0; i < *argc; ++i) extended[i] = (*argv)[i];
  extended[*argc] = maxLen;
  extended[*argc + 1] = nullptr;
  *argv = extended;
  ++*argc;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  pl3::ParseRegistryText(std::string(reinterpret_cast<const char*>(data), size));
  return 0;
}
