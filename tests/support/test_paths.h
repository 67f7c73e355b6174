#pragma once
// Where a test finds the built programs with their files, and the project's
// data folder. The build writes both into test_paths.txt beside the test
// programs; no compile flag names them, so a test's object does not depend on
// where the project was checked out and a compiler cache serves every clone.
#include <unistd.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

namespace vst::test {

inline const std::array<std::string, 2>& TestPaths() {
  static const std::array<std::string, 2> paths = [] {
    const std::filesystem::path file =
        std::filesystem::read_symlink("/proc/self/exe").parent_path() / "test_paths.txt";
    std::ifstream in(file);
    std::array<std::string, 2> read;
    if (!std::getline(in, read[0]) || !std::getline(in, read[1])) {
      throw std::runtime_error("cannot read " + file.string() + ": build the tests with CMake first");
    }
    return read;
  }();
  return paths;
}

// The folder of vantrel-st, vantrel-design, the help books and the template.
inline const std::string& BinDir() { return TestPaths()[0]; }
// The project's data folder (examples, help sources).
inline const std::string& TestDataDir() { return TestPaths()[1]; }

}  // namespace vst::test
