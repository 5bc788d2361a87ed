// The generator's writers and noise: BMP rows padded and stored bottom-up as GDI reads them,
// numbers in the only form our .x reader takes, and textures that tile where they must.
#include <gtest/gtest.h>

#include "platform/bitmap/BmpDecoder.h"
#include "tools/assetgen/BmpWriter.h"
#include "tools/assetgen/Noise.h"
#include "tools/assetgen/XFileWriter.h"

namespace {

using assetgen::Vec3;

TEST(AssetWriters, Bmp24RowsArePaddedAndStoredBottomUp) {
  assetgen::RgbImage image(3, 2);  // 9 bytes a row, padded to 12
  image.at(0, 0) = {1, 0, 0};       // top left: red
  image.at(2, 1) = {0, 0, 1};       // bottom right: blue
  const auto bytes = assetgen::encodeBmp24(image);
  ASSERT_EQ(bytes.size(), 54u + 2u * 12u);
  platform::DibSection dib;
  ASSERT_TRUE(platform::decodeBmp(bytes.data(), bytes.size(), dib));
  EXPECT_EQ(dib.stride, 12);
  // Stored row 0 is the bottom row: its last pixel is blue (bytes blue, green, red).
  EXPECT_EQ(bytes[54 + 6], 255);
  EXPECT_EQ(bytes[54 + 8], 0);
  // Stored row 1 is the top row: its first pixel is red.
  EXPECT_EQ(bytes[54 + 12 + 2], 255);
  EXPECT_EQ(bytes[54 + 12 + 0], 0);
}

TEST(AssetWriters, Bmp8CarriesItsColourTableBeforeThePixels) {
  assetgen::IndexedImage image(5, 3);
  image.palette = {{0, 0, 0}, {1, 1, 1}, {0, 1, 0}};
  image.indices[0] = 2;  // top left
  const auto bytes = assetgen::encodeBmp8(image);
  ASSERT_EQ(bytes[10], 54 + 3 * 4);  // bfOffBits after three colour entries
  ASSERT_EQ(bytes[46], 3);           // biClrUsed
  platform::DibSection dib;
  ASSERT_TRUE(platform::decodeBmp(bytes.data(), bytes.size(), dib));
  EXPECT_EQ(dib.colourCount, 3);
  EXPECT_EQ(dib.stride, 8);
  EXPECT_EQ(bytes[54 + 12 + 2 * 8], 2);  // the top row is stored last
}

TEST(AssetWriters, NumbersAreSixDecimalsWithoutExponentOrNegativeZero) {
  EXPECT_EQ(assetgen::formatNumber(0.5), "0.500000");
  EXPECT_EQ(assetgen::formatNumber(-0.0), "0.000000");
  EXPECT_EQ(assetgen::formatNumber(-0.0000001), "0.000000");
  EXPECT_EQ(assetgen::formatNumber(-2.25), "-2.250000");
  EXPECT_EQ(assetgen::formatNumber(1e7), "10000000.000000");
  EXPECT_EQ(assetgen::formatNumber(1e-7), "0.000000");
}

TEST(AssetWriters, MaterialIsWrittenWithElevenNumbersAndAQuotedTexture) {
  assetgen::XFileWriter x;
  assetgen::MaterialDesc desc;
  desc.name = "Red";
  desc.face[1] = desc.face[2] = 0;
  desc.texture = "red.bmp";
  x.material(desc);
  const std::string& text = x.text();
  const std::string expected =
      "Material Red {\n"
      " 1.000000;0.000000;0.000000;1.000000;;\n"
      " 10.000000;\n"
      " 0.300000;0.300000;0.300000;;\n"
      " 0.000000;0.000000;0.000000;;\n"
      " TextureFilename {\n"
      "  \"red.bmp\";\n"
      " }\n"
      "}\n";
  EXPECT_EQ(text.substr(text.size() - expected.size()), expected);
}

TEST(AssetWriters, TiledNoiseRepeatsWithItsPeriod) {
  for (double x : {0.0, 0.3, 2.7, 5.5}) {
    for (double y : {0.0, 1.25, 3.9}) {
      EXPECT_NEAR(assetgen::tiledNoise(x, y, 4, 8, 3), assetgen::tiledNoise(x + 4, y - 8, 4, 8, 3), 1e-12);
      EXPECT_NEAR(assetgen::tiledFbm(x, y, 4, 4, 3, 5), assetgen::tiledFbm(x + 4, y + 4, 4, 4, 3, 5), 1e-12);
    }
  }
  const double v = assetgen::tiledFbm(1.3, 2.1, 4, 4, 4, 9);
  EXPECT_GE(v, 0.0);
  EXPECT_LE(v, 1.0);
  EXPECT_NE(assetgen::tiledNoise(1.5, 1.5, 4, 4, 1), assetgen::tiledNoise(1.5, 1.5, 4, 4, 2));  // the seed matters
}

}  // namespace
