// The BMP decoder against BMP Suite: good files equal their reference decodes, bad files are
// refused or decoded safely, questionable files never crash.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/bitmap/BmpDecoder.h"
#include "platform/bitmap/DibPixels.h"
#include "platform/bitmap/PngFile.h"
#include "tests/support/test_files.h"

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> bmpFiles(const std::string& folder) {
  std::vector<fs::path> files;
  const fs::path dir = fs::path(qeltest::sharedDir()) / "testdata" / "bmpsuite" / folder;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(dir, error))
    if (entry.path().extension() == ".bmp") files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

// Bits of each channel that must match: all 8, except for 16-bit files where 5- or 6-bit
// channels may be widened differently (the reference folder's rule).
struct Precision {
  int red = 8, green = 8, blue = 8;
};

Precision precisionFor(const platform::DibSection& dib) {
  if (dib.bitsPerPixel != 16) return {};
  const bool sixBitGreen = dib.masks[1] == 0x07E0;
  return {5, sixBitGreen ? 6 : 5, 5};
}

bool sameTopBits(int a, int b, int bits) { return (a >> (8 - bits)) == (b >> (8 - bits)); }

// Decodes every file of a folder: must not crash; sanity of what is accepted.
int decodeAll(const std::string& folder) {
  int accepted = 0;
  for (const fs::path& path : bmpFiles(folder)) {
    SCOPED_TRACE(path.filename().string());
    const std::vector<std::uint8_t> bytes = qeltest::readFileBytes(path.string());
    platform::DibSection dib;
    if (!platform::decodeBmp(bytes.data(), bytes.size(), dib)) {
      EXPECT_TRUE(dib.bits.empty());
      continue;
    }
    ++accepted;
    if (dib.bits.size() != std::size_t(dib.stride) * std::size_t(dib.height)) {
      ADD_FAILURE() << "pixel array of the wrong size";
      continue;
    }
    std::uint32_t sink = 0;  // read every pixel, so that the sanitizer sees any stray index
    std::vector<std::uint32_t> row(std::size_t(dib.width));
    for (int y = 0; y < dib.height; ++y) {
      platform::readDibRow(dib, y, 0, dib.width, row.data());
      for (std::uint32_t c : row) sink ^= c;
    }
    (void)sink;
  }
  return accepted;
}

TEST(BmpSuite, GoodFilesEqualTheirReferenceDecodes) {
  const std::vector<fs::path> files = bmpFiles("g");
  ASSERT_GE(files.size(), 20u) << "BMP Suite not found under " << qeltest::sharedDir();
  for (const fs::path& path : files) {
    const std::string name = path.stem().string();
    SCOPED_TRACE(name);
    const std::vector<std::uint8_t> bytes = qeltest::readFileBytes(path.string());
    platform::DibSection dib;
    ASSERT_TRUE(platform::decodeBmp(bytes.data(), bytes.size(), dib));
    platform::RgbaImage ref;
    const std::string refPath = qeltest::sharedDir() + "/testdata/bmpsuite-ref/" + name + ".png";
    ASSERT_TRUE(platform::readPngRgba(refPath.c_str(), ref)) << refPath;
    ASSERT_EQ(dib.width, ref.width);
    ASSERT_EQ(dib.height, ref.height);
    const Precision bits = precisionFor(dib);
    int mismatches = 0;
    for (int y = 0; y < dib.height && mismatches < 5; ++y) {
      for (int x = 0; x < dib.width && mismatches < 5; ++x) {
        const std::uint32_t c = platform::dibPixel(dib, x, y);
        const std::uint8_t* r = &ref.pixels[(std::size_t(y) * std::size_t(ref.width) + std::size_t(x)) * 4];
        const bool same = sameTopBits(int(c >> 16) & 0xFF, r[0], bits.red) &&
                          sameTopBits(int(c >> 8) & 0xFF, r[1], bits.green) && sameTopBits(int(c) & 0xFF, r[2], bits.blue);
        if (!same) {
          ++mismatches;
          ADD_FAILURE() << "pixel (" << x << ", " << y << "): decoded " << std::hex << c << ", reference "
                        << int(r[0]) << " " << int(r[1]) << " " << int(r[2]);
        }
      }
    }
  }
}

TEST(BmpSuite, BadFilesAreRefusedOrDecodedSafely) {
  ASSERT_FALSE(bmpFiles("b").empty());
  decodeAll("b");
  // The ones whose fault cannot be read around must be refused outright.
  for (const char* name : {"badbitcount", "badheadersize", "badplanes", "badwidth", "reallybig", "rletopdown", "shortfile"}) {
    SCOPED_TRACE(name);
    const std::vector<std::uint8_t> bytes =
        qeltest::readFileBytes(qeltest::sharedDir() + "/testdata/bmpsuite/b/" + name + ".bmp");
    platform::DibSection dib;
    EXPECT_FALSE(platform::decodeBmp(bytes.data(), bytes.size(), dib));
  }
}

TEST(BmpSuite, QuestionableAndOtherFilesNeverCrash) {
  ASSERT_FALSE(bmpFiles("q").empty());
  EXPECT_GT(decodeAll("q"), 10);  // the Windows-readable ones (OS/2 v2, JPEG, PNG are not)
  decodeAll("x");
}

}  // namespace
