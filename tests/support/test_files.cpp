#include "tests/support/test_files.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace qeltest {

std::string sourceDir() { return QEL_SOURCE_DIR; }

std::string sharedDir() {
  return std::filesystem::weakly_canonical(std::filesystem::path(QEL_SHARED_DIR)).string();
}

std::string scratchDir();  // defined in test_main.cpp

std::vector<std::uint8_t> readFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

std::string readFileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  return std::string(std::istreambuf_iterator<char>(in), {});
}

bool writeFileBytes(const std::string& path, const void* data, std::size_t size) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(data, 1, size, f) == size;
  return std::fclose(f) == 0 && ok;
}

bool writeFileText(const std::string& path, const std::string& text) {
  return writeFileBytes(path, text.data(), text.size());
}

bool fileExists(const std::string& path) { return std::filesystem::exists(path); }

}  // namespace qeltest
