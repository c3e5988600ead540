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
struct Scratch {
  std::string path;
  Scratch() {
    std::string tmpl = (fs::temp_directory_path() / "pl3test-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("cannot create scratch folder");
    path = tmpl;
  }
  ~Scratch() {
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
  static int counter = 0;
  fs::path p = fs::path(ScratchDir()) / (name + "-" + std::to_string(++counter));
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
