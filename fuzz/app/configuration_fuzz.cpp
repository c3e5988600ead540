// LoadConfiguration over tower files made from fuzzer bytes: missing, short,
// repeated and oversized nodes, other versions. No crash, no sanitizer
// report, and the read tree never stays in the store.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/configuration_file.h"
#include "app/configuration_options.h"
#include "platform/responder.h"
#include "store/tower.h"

namespace {

int TopLevelCount() {
  Tower* all = NewTower(0);
  ResetTowerSearch(all, kSearchAny);
  int count = 0;
  while (FindNextEntity(all)) ++count;
  ReleaseTower(&all);
  return count;
}

const std::string& FilePath() {
  static const std::string path = [] {
    const char* tmp = std::getenv("TMPDIR");
    return std::string(tmp ? tmp : "/tmp") + "/pl3_configuration_fuzz.cfg";
  }();
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setenv("PL3_BACKEND", "headless", 1);
  if (!RootGroup()) InitTowerStore();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::FILE* f = std::fopen(FilePath().c_str(), "wb");
  if (!f) std::abort();
  std::fwrite(data, 1, size, f);
  std::fclose(f);
  SetBuiltInConfigurationOptions();
  const int before = TopLevelCount();
  LoadConfiguration(FilePath().c_str());
  if (TopLevelCount() != before) {
    std::fprintf(stderr, "configuration fuzz: the read tree stayed in the store\n");
    std::abort();
  }
  pl3::ClearResponderRecords();
  return 0;
}
