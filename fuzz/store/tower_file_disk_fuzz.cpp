// Tower files from disk: no crash, no sanitizer report, a refused file leaves
// the store as it was, and a file that loads saves and loads again, the
// second save giving the same bytes as the first.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "fuzz/store/tower_fuzz_support.h"

namespace {

// The run's scratch folder, removed with everything in it when the fuzzer exits.
struct ScratchFolder {
  std::filesystem::path path;
  ScratchFolder() {
    std::random_device random;
    path = std::filesystem::temp_directory_path() / ("pl3-tower-fuzz-" + std::to_string(random()));
    std::filesystem::create_directories(path);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
};

std::string ScratchPath(const char* name) {
  static const ScratchFolder folder;
  return (folder.path / name).string();
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  towerfuzz::StartStoreOnce();
  const std::string input = ScratchPath("input.twr");
  std::ofstream(input, std::ios::binary).write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));

  Tower* loaded = towerfuzz::CheckedLoad([&](Tower* t) { return LoadDOSFile(input.c_str(), t) != nullptr; });
  if (!loaded) return 0;
  const std::string first = ScratchPath("first.twr");
  const std::string second = ScratchPath("second.twr");
  if (!SaveDOSFile(loaded, first.c_str())) towerfuzz::Fail("a loaded tree does not save");
  Tower* again = towerfuzz::CheckedLoad([&](Tower* t) { return LoadDOSFile(first.c_str(), t) != nullptr; });
  if (!again) towerfuzz::Fail("a saved tree does not load");
  if (!SaveDOSFile(again, second.c_str())) towerfuzz::Fail("a reloaded tree does not save");
  if (ReadAll(first) != ReadAll(second)) towerfuzz::Fail("the second save differs from the first");
  towerfuzz::DeleteLoaded(&again);
  towerfuzz::DeleteLoaded(&loaded);
  return 0;
}
