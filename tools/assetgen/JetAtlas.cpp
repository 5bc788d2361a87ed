// JetAtlas: which light band a face of the jet takes, and where in f22.bmp its paint lies.
#include "tools/assetgen/JetAtlas.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

int jetBand(Vec3 n) {
  const Vec3 light = normalize({0.3, 1.0, 0.35});  // toward the light: above, a little right and ahead
  const double level = 0.5 + 0.5 * dot(n, light);
  return std::clamp(int(level * kJetBands), 0, kJetBands - 1);
}

Vec2 jetUv(JetPaint paint, Vec3 p, Vec3 n) {
  double s = 0, t = 0;  // position within the paint's cell, 0..1 each
  const double ax = std::fabs(n.x), ay = std::fabs(n.y), az = std::fabs(n.z);
  if (ay >= ax && ay >= az) {
    s = (p.z + 2.1) / 4.2;
    t = (p.x + 1.5) / 3.0;
  } else if (ax >= az) {
    s = (p.z + 2.1) / 4.2;
    t = (p.y + 0.6) / 1.6;
  } else {
    s = (p.x + 1.5) / 3.0;
    t = (p.y + 0.6) / 1.6;
  }
  double column0 = 4, columns = 184;
  if (paint == JetPaint::Glass) {
    column0 = 196, columns = 24;
  } else if (paint == JetPaint::DarkMetal) {
    column0 = 228, columns = 24;
  }
  const double row0 = jetBand(n) * kJetBandRows + 6;
  return {(column0 + columns * clamp01(s)) / kJetTextureSize, (row0 + 52 * clamp01(t)) / kJetTextureSize};
}

}  // namespace assetgen
