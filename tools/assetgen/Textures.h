// The demo's textures, painted procedurally (fixed seeds, no clock). Sizes are powers of two
// from 64 to 256. Model textures follow the texture coordinates their model files write.
#pragma once

#include "tools/assetgen/Image.h"

namespace assetgen {

RgbImage paintJetTexture();       // f22.bmp, 256: grey-blue camouflage at four light levels (JetAtlas.h)
RgbImage paintMissileTexture();   // daikon.bmp, 128: white root with a green shoulder, leaves
RgbImage paintCrateTexture();     // kibako.bmp, 128: boards in a frame with cross braces, mirror-symmetric
RgbImage paintPotTexture();       // tsubo.bmp, 128: ash glaze running over a brown body, dark inside
RgbImage paintSteelTexture();     // hagane.bmp, 64: brushed steel, tiling both ways
RgbImage paintSkyTexture();       // sora.bmp, 256: blue sky with clouds above, haze below the horizon row 128
IndexedImage paintCheckTexture(); // check.bmp, 64, 8-bit: cream and navy squares of 8 pixels
RgbImage paintRedCloudTexture();  // akakumo.bmp, 128: red clouds, tiling both ways
RgbImage paintGroundTexture();    // map.bmp, 256: grass, dry grass, earth and rock, tiling both ways
RgbImage paintGlowTexture();      // bakuhatsu.BMP, 64: explosion glow on black (black border)

}  // namespace assetgen
