// Paths the tests use: a private scratch folder per test program, and the
// shared folder of real files written by other tools.
#pragma once
#include <string>

namespace pl3test {

// A fresh folder for this test program's files, removed at exit.
const std::string& ScratchDir();

// A new empty folder below ScratchDir() for one test.
std::string MakeTempDir(const std::string& name);

// ../shared/testdata, or "" when it is absent (callers GTEST_SKIP with a reason).
std::string SharedTestDataDir();

// Whole file as bytes; throws std::runtime_error when it cannot be read.
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);

}  // namespace pl3test
