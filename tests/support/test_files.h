// Helpers shared by the test suites: where the sources and the outside test data lie,
// and whole-file reads and writes in the process's scratch directory.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qeltest {

// Absolute path of the project's source tree.
std::string sourceDir();
// Absolute path of the shared folder beside the clone (outside test data).
std::string sharedDir();
// The scratch directory the test process runs in (its working directory at start).
std::string scratchDir();

// Whole file as bytes; empty when the file cannot be read.
std::vector<std::uint8_t> readFileBytes(const std::string& path);
// Whole file as a string of bytes; empty when the file cannot be read.
std::string readFileText(const std::string& path);
// Writes the bytes, replacing the file; false on failure.
bool writeFileBytes(const std::string& path, const void* data, std::size_t size);
bool writeFileText(const std::string& path, const std::string& text);
bool fileExists(const std::string& path);

}  // namespace qeltest
