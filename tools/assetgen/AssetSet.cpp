// AssetSet: the list of files and their writing.
#include "tools/assetgen/AssetSet.h"

#include <cstdio>

#include "tools/assetgen/BmpWriter.h"
#include "tools/assetgen/Models.h"
#include "tools/assetgen/Terrain.h"
#include "tools/assetgen/Textures.h"

namespace assetgen {

static AssetFile textFile(const char* name, const std::string& text) {
  return {name, std::vector<std::uint8_t>(text.begin(), text.end())};
}

std::vector<AssetFile> buildAssets() {
  return {
      textFile("f22.x", jetFile()),
      textFile("daikon.x", missileFile()),
      textFile("box.x", crateFile()),
      textFile("tsubo.x", potFile()),
      textFile("ball.x", ballFile()),
      textFile("tsume.x", clawFile()),
      textFile("sky2.x", skyFile()),
      {"f22.bmp", encodeBmp24(paintJetTexture())},
      {"daikon.bmp", encodeBmp24(paintMissileTexture())},
      {"kibako.bmp", encodeBmp24(paintCrateTexture())},
      {"tsubo.bmp", encodeBmp24(paintPotTexture())},
      {"hagane.bmp", encodeBmp24(paintSteelTexture())},
      {"sora.bmp", encodeBmp24(paintSkyTexture())},
      {"check.bmp", encodeBmp8(paintCheckTexture())},
      {"akakumo.bmp", encodeBmp24(paintRedCloudTexture())},
      {"map.bmp", encodeBmp24(paintGroundTexture())},
      {"bakuhatsu.BMP", encodeBmp24(paintGlowTexture())},
      {"land.bmp", encodeBmp24(paintHeightMap())},
  };
}

bool writeAssets(const std::string& dir) {
  for (const AssetFile& file : buildAssets()) {
    const std::string path = dir + "/" + file.name;
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return false;
    const bool written = std::fwrite(file.bytes.data(), 1, file.bytes.size(), out) == file.bytes.size();
    if (std::fclose(out) != 0 || !written) return false;
  }
  return true;
}

}  // namespace assetgen
