#include "tools/qelmodel/DebugLogTail.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "foundation/DebugLog.h"

namespace {
std::uintmax_t logLength() {
  std::error_code error;
  std::uintmax_t length = std::filesystem::file_size(kDebugLogFileName, error);
  return error ? 0 : length;
}
}  // namespace

DebugLogTail::DebugLogTail() : start_(logLength()) {}

std::vector<std::string> DebugLogTail::lines() const {
  std::vector<std::string> lines;
  std::ifstream log(kDebugLogFileName, std::ios::binary);
  if (!log || logLength() <= start_) return lines;
  log.seekg(static_cast<std::streamoff>(start_));
  const std::string added((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
  std::size_t begin = 0;
  while (begin < added.size()) {
    std::size_t end = added.find('\n', begin);
    std::size_t next = end == std::string::npos ? added.size() : end + 1;
    if (end == std::string::npos) end = added.size();
    if (end > begin && added[end - 1] == '\r') --end;
    lines.push_back(added.substr(begin, end - begin));
    begin = next;
  }
  return lines;
}
