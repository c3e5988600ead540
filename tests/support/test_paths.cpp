#include "tests/support/test_paths.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

namespace fs = std::filesystem;

namespace pl3test {

namespace {
// The first process of a test program makes the folder and removes it at
// exit; the processes it starts (death tests, crash tests) find it through
// the environment and leave it alone, since they may end without cleaning up.
constexpr char kScratchVariable[] = "PL3_TEST_SCRATCH";

struct Scratch {
  std::string path;
  bool owned = false;
  Scratch() {
    if (const char* inherited = std::getenv(kScratchVariable); inherited && *inherited) {
      path = inherited;
      return;
    }
    std::string tmpl = (fs::temp_directory_path() / "pl3test-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("cannot create scratch folder");
    path = tmpl;
    owned = true;
    setenv(kScratchVariable, path.c_str(), 1);
  }
  ~Scratch() {
    if (!owned) return;
    std::error_code ec;
    fs::remove_all(path, ec);
  }
};
}  // namespace

const std::string& ScratchDir() {
  static Scratch scratch;
  return scratch.path;
}

std::string MakeTempDir(const std::string& name) {
  // Child processes share the parent's scratch folder: their folders carry
  // the process id so that they never meet the parent's.
  static int counter = 0;
  fs::path p = fs::path(ScratchDir()) / (name + "-" + std::to_string(getpid()) + "-" + std::to_string(++counter));
  fs::create_directories(p);
  return p.string();
}

std::string SharedTestDataDir() {
  const char* env = std::getenv("PL3_SHARED_DIR");
  fs::path p = env ? fs::path(env) / "testdata" : fs::path("../shared/testdata");
  std::error_code ec;
  return fs::is_directory(p, ec) ? fs::canonical(p).string() : std::string();
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

}  // namespace pl3test
