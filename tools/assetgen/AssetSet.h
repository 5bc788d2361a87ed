// AssetSet: every file the demo loads, made in memory from the builders, and written out.
// The same call always yields the same bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace assetgen {

struct AssetFile {
  std::string name;  // exact file name, letter case included
  std::vector<std::uint8_t> bytes;
};

// All files, in a fixed order: models first, then bitmaps.
std::vector<AssetFile> buildAssets();
// Writes every file into directory `dir` (which must exist); false when a write fails.
bool writeAssets(const std::string& dir);

}  // namespace assetgen
