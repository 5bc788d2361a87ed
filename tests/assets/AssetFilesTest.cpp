// The committed assets: the generator reproduces them byte for byte, the bitmaps are what
// the engine's loaders take (decoded by our GDI stand-in's BMP decoder), and the model texts
// keep to the number forms our .x reader reads.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <set>
#include <string>

#include "platform/bitmap/BmpDecoder.h"
#include "tests/support/test_files.h"
#include "tools/assetgen/AssetSet.h"
#include "tools/assetgen/Terrain.h"

namespace {

std::string assetsDir() { return qeltest::sourceDir() + "/assets"; }

bool isBitmap(const std::string& name) {
  std::string lower = name;
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return char(std::tolower(c)); });
  return lower.size() > 4 && lower.substr(lower.size() - 4) == ".bmp";
}

TEST(AssetFiles, GeneratorReproducesTheCommittedFilesExactly) {
  ASSERT_TRUE(assetgen::writeAssets(qeltest::scratchDir()));
  std::set<std::string> generated;
  for (const assetgen::AssetFile& file : assetgen::buildAssets()) {
    generated.insert(file.name);
    const auto committed = qeltest::readFileBytes(assetsDir() + "/" + file.name);
    const auto written = qeltest::readFileBytes(qeltest::scratchDir() + "/" + file.name);
    EXPECT_FALSE(written.empty()) << file.name;
    EXPECT_TRUE(committed == written) << file.name << " differs from assets/; run assetgen assets";
  }
  // Every model and bitmap in assets/ comes from the generator (other files, such as key
  // scripts for the demo, may live beside them).
  for (const auto& entry : std::filesystem::directory_iterator(assetsDir())) {
    const std::string name = entry.path().filename().string();
    const bool model = name.size() > 2 && name.substr(name.size() - 2) == ".x";
    if (model || isBitmap(name)) {
      EXPECT_TRUE(generated.count(name)) << name << " is not made by the generator";
    }
  }
}

TEST(AssetFiles, EveryFileTheSceneNamesExistsWithItsExactName) {
  for (const char* name : {"ball.x", "tsume.x", "f22.x", "daikon.x", "box.x", "tsubo.x", "sky2.x", "check.bmp",
                           "akakumo.bmp", "map.bmp", "bakuhatsu.BMP", "land.bmp"}) {
    EXPECT_TRUE(qeltest::fileExists(assetsDir() + "/" + name)) << name;
  }
}

TEST(AssetFiles, BitmapsDecodeWithPowerOfTwoSides) {
  for (const assetgen::AssetFile& file : assetgen::buildAssets()) {
    if (!isBitmap(file.name)) continue;
    platform::DibSection dib;
    ASSERT_TRUE(platform::decodeBmp(file.bytes.data(), file.bytes.size(), dib)) << file.name;
    EXPECT_FALSE(dib.topDown) << file.name;
    for (int side : {dib.width, dib.height}) {
      EXPECT_TRUE(side >= 64 && side <= 256 && (side & (side - 1)) == 0) << file.name << " side " << side;
    }
    EXPECT_EQ(dib.bitsPerPixel, file.name == "check.bmp" ? 8 : 24) << file.name;
  }
}

TEST(AssetFiles, HeightMapIsRead24BitFromOffset54InGridRowOrder) {
  const auto bytes = qeltest::readFileBytes(assetsDir() + "/land.bmp");
  ASSERT_EQ(bytes.size(), 54u + 64u * 64u * 3u);
  EXPECT_EQ(bytes[10], 54);  // bfOffBits
  EXPECT_EQ(bytes[28], 24);  // biBitCount
  // The terrain reads the first byte of each pixel, rows as stored: stored row i is grid row i.
  for (int row = 0; row < 64; ++row) {
    for (int column = 0; column < 64; ++column) {
      ASSERT_EQ(bytes[54 + std::size_t(row) * 192 + std::size_t(column) * 3], assetgen::terrainByte(row, column));
    }
  }
}

TEST(AssetFiles, ExplosionGlowAddsNothingAtItsBorder) {
  for (const assetgen::AssetFile& file : assetgen::buildAssets()) {
    if (file.name != "bakuhatsu.BMP") continue;
    platform::DibSection dib;
    ASSERT_TRUE(platform::decodeBmp(file.bytes.data(), file.bytes.size(), dib));
    long centre = 0;
    for (int y = 0; y < dib.height; ++y) {
      const std::uint8_t* row = dib.bits.data() + std::size_t(y) * std::size_t(dib.stride);
      for (int x = 0; x < dib.width; ++x) {
        const bool border = x == 0 || y == 0 || x == dib.width - 1 || y == dib.height - 1;
        if (border) {
          EXPECT_EQ(row[3 * x] | row[3 * x + 1] | row[3 * x + 2], 0) << x << "," << y;
        }
        if (x == dib.width / 2 && y == dib.height / 2) centre = row[3 * x] + row[3 * x + 1] + row[3 * x + 2];
      }
    }
    EXPECT_GT(centre, 600);  // a bright core
  }
}

// Our reader takes a number as digits, full stops and a leading minus: no exponents, no plus
// signs and no leading full stop may appear in a model.
TEST(AssetFiles, ModelNumbersAreWrittenWithoutExponentOrLeadingFullStop) {
  for (const assetgen::AssetFile& file : assetgen::buildAssets()) {
    if (isBitmap(file.name)) continue;
    const std::string text(file.bytes.begin(), file.bytes.end());
    const std::size_t body = text.find("\nHeader {");
    ASSERT_NE(body, std::string::npos) << file.name;
    for (std::size_t i = body; i < text.size(); ++i) {
      const char c = text[i];
      const bool afterDigit = i > 0 && std::isdigit(static_cast<unsigned char>(text[i - 1]));
      const bool startsToken = i == 0 || std::string(" \t\n;,{").find(text[i - 1]) != std::string::npos;
      EXPECT_FALSE((c == 'e' || c == 'E') && afterDigit) << file.name << " at " << i;
      EXPECT_FALSE(c == '+') << file.name << " at " << i;
      EXPECT_FALSE(c == '.' && startsToken) << file.name << " at " << i;
    }
    EXPECT_EQ(text.rfind("xof 0302txt 0032\n", 0), 0u) << file.name;
  }
}

}  // namespace
