// Layout of f22.bmp (256 x 256), shared by the jet's texture coordinates and its texture.
// The scene draws meshes with their texture colour alone, so the jet's shading is baked:
// four horizontal bands of 64 rows hold the same paint at four light levels, and each flat
// face takes the band its normal earns under a fixed light from above.
// Within a band: columns 0-191 camouflage, 192-223 canopy glass, 224-255 dark metal.
#pragma once

#include "tools/assetgen/GenMath.h"

namespace assetgen {

enum class JetPaint { Camouflage, Glass, DarkMetal };

constexpr int kJetTextureSize = 256;
constexpr int kJetBands = 4;
constexpr int kJetBandRows = 64;
constexpr double kJetBandBrightness[kJetBands] = {0.52, 0.68, 0.84, 1.0};

// Light band (0 darkest) of a face with unit normal `n`.
int jetBand(Vec3 n);
// Texture coordinates of point `p` of a face with unit normal `n` painted with `paint`.
Vec2 jetUv(JetPaint paint, Vec3 p, Vec3 n);

}  // namespace assetgen
