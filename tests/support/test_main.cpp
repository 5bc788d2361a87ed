// Entry point of every test executable. The engine reads and writes files relative to the
// working directory (the debug log above all), and ctest runs several test processes at once,
// so each process works in a private scratch directory that it removes at the end.
// Set QEL_KEEP_SCRATCH=1 to keep it for inspection.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace qeltest {
namespace {
std::string gScratch;
}
std::string scratchDir() { return gScratch; }
}  // namespace qeltest

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  std::string pattern = (std::filesystem::temp_directory_path() / "qeltest-XXXXXX").string();
  if (!mkdtemp(pattern.data())) {
    std::perror("mkdtemp");
    return 2;
  }
  qeltest::gScratch = pattern;
  std::filesystem::path before = std::filesystem::current_path();
  if (chdir(pattern.c_str()) != 0) {
    std::perror("chdir");
    return 2;
  }
  int result = RUN_ALL_TESTS();
  if (chdir(before.c_str()) != 0) std::perror("chdir");
  const char* keep = std::getenv("QEL_KEEP_SCRATCH");
  if (!keep || std::string(keep) != "1") {
    std::error_code ignored;
    std::filesystem::remove_all(pattern, ignored);
  }
  return result;
}
