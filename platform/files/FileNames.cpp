#include "platform/files/FileNames.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

#include <vector>

namespace platform {
namespace {

bool exists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0;
}

// The entry of `folder` whose name equals `part` ignoring letter case, or empty.
std::string findIgnoringCase(const std::string& folder, const std::string& part) {
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return {};
  std::string found;
  while (dirent* entry = ::readdir(dir)) {
    if (::strcasecmp(entry->d_name, part.c_str()) == 0) {
      found = entry->d_name;
      break;
    }
  }
  ::closedir(dir);
  return found;
}

}  // namespace

std::string resolveFileName(const char* name) {
  if (!name) return {};
  std::string text(name);
  for (char& c : text)
    if (c == '\\') c = '/';

  std::vector<std::string> parts;
  std::string resolved;
  std::size_t start = 0;
  if (!text.empty() && text[0] == '/') {
    resolved = "/";
    start = 1;
  }
  while (start <= text.size()) {
    std::size_t end = text.find('/', start);
    if (end == std::string::npos) end = text.size();
    parts.push_back(text.substr(start, end - start));
    start = end + 1;
  }

  bool matching = true;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    const std::string& part = parts[i];
    std::string folder = resolved;
    std::string candidate = folder;
    if (!candidate.empty() && candidate.back() != '/') candidate += '/';
    if (part.empty() || part == "." || part == ".." || !matching) {
      resolved = candidate + part;
      continue;
    }
    if (exists(candidate + part)) {
      resolved = candidate + part;
      continue;
    }
    std::string other = findIgnoringCase(folder, part);
    if (other.empty()) {
      matching = false;
      resolved = candidate + part;
    } else {
      resolved = candidate + other;
    }
  }
  return resolved;
}

std::FILE* openFile(const char* name, const char* mode) {
  if (!name || !mode) return nullptr;
  std::string path = resolveFileName(name);
  if (path.empty()) return nullptr;
  return std::fopen(path.c_str(), mode);
}

}  // namespace platform
