// Textures of the model files: f22.bmp, daikon.bmp, kibako.bmp, tsubo.bmp, hagane.bmp.
// Light that the scene's texture-only drawing cannot add is painted in where a model keeps
// still relative to it (the jet's bands, the radish's upper side, the pot's lit side).
#include <algorithm>
#include <cmath>

#include "tools/assetgen/JetAtlas.h"
#include "tools/assetgen/Noise.h"
#include "tools/assetgen/Textures.h"

namespace assetgen {

namespace {

Vec3 mix(Vec3 a, Vec3 b, double t) { return a + (b - a) * clamp01(t); }
Vec3 grey(double v) { return {v, v, v}; }

}  // namespace

RgbImage paintJetTexture() {
  RgbImage image(kJetTextureSize, kJetTextureSize);
  const Vec3 base = {0.56, 0.59, 0.63}, dark = {0.40, 0.43, 0.49}, light = {0.68, 0.70, 0.72};
  for (int y = 0; y < kJetTextureSize; ++y) {
    const int band = y / kJetBandRows;
    const double t = clamp01((y % kJetBandRows - 6) / 52.0);  // across the jet (or up its side)
    const double brightness = kJetBandBrightness[band];
    for (int x = 0; x < kJetTextureSize; ++x) {
      Vec3 c;
      if (x < 192) {
        const double s = clamp01((x - 4) / 184.0);  // along the jet
        const double blotch = tiledFbm(s * 10.0, t * 6.0, 10, 6, 3, 5);
        c = blotch < 0.42 ? dark : (blotch > 0.58 ? light : base);
        const double panelS = std::fabs(std::fmod(s * 14.0, 1.0) - 0.5), panelT = std::fabs(std::fmod(t * 5.0, 1.0) - 0.5);
        if (panelS > 0.47 || panelT > 0.46) c = c * 0.85;
      } else if (x < 224) {
        const double gleam = std::exp(-std::pow((t - 0.35) * 6.0, 2.0));
        c = mix({0.13, 0.15, 0.19}, {0.55, 0.58, 0.62}, 0.7 * gleam);  // smoked glass with a gleam
      } else {
        c = grey(0.17 + 0.08 * tiledFbm(x / 8.0, y / 8.0, 32, 32, 2, 9));
      }
      image.at(x, y) = c * brightness;
    }
  }
  return image;
}

RgbImage paintMissileTexture() {
  RgbImage image(128, 128);
  for (int y = 0; y < 128; ++y) {
    const double v = (y + 0.5) / 128.0;  // 0 at the root tip, 1 at the shoulder
    for (int x = 0; x < 128; ++x) {
      const double u = (x + 0.5) / 128.0;
      Vec3 c;
      if (x < 80) {
        const double angle = 2.0 * kPi * (u - 0.02) / 0.58;  // round the body, 0 toward +x
        const double lit = 0.78 + 0.22 * std::sin(angle);     // sin: toward +y, the sky side
        c = mix({0.97, 0.97, 0.93}, {0.72, 0.86, 0.55}, smoothstep(0.70, 0.97, v));
        const double ring = tiledFbm(u * 4.0, v * 40.0, 4, 40, 2, 17);
        if (ring > 0.68) c = c * 0.88;                    // fine root lines
        c = mix(c, {0.85, 0.82, 0.72}, smoothstep(0.15, 0.0, v));  // the thin tip browns a little
        c = c * lit;
      } else {
        const double across = std::fabs(x - 108.0) / 20.0;  // 0 on the midrib
        const double vein = std::fabs(std::fmod(v * 9.0 + across * 2.0, 1.0) - 0.5);
        c = {0.22, 0.52, 0.16};
        if (across < 0.06) c = {0.55, 0.75, 0.35};
        else if (vein > 0.44) c = {0.32, 0.62, 0.22};
        c = c * (0.8 + 0.2 * tiledFbm(x / 6.0, y / 6.0, 32, 32, 2, 23));
      }
      image.at(x, y) = c;
    }
  }
  return image;
}

RgbImage paintCrateTexture() {
  RgbImage image(128, 128);
  const Vec3 frame = {0.42, 0.28, 0.14}, board = {0.66, 0.48, 0.26};
  for (int y = 0; y < 128; ++y) {
    for (int x = 0; x < 128; ++x) {
      const int mx = std::min(x, 127 - x);  // mirror-symmetric left to right
      const double grain = tiledFbm(mx / 3.0, y / 24.0, 64, 8, 3, 31);
      Vec3 c = board * (0.85 + 0.3 * grain);
      const bool gap = mx % 26 == 25;
      if (gap) c = board * 0.45;
      const int my = std::min(y, 127 - y);
      const bool border = mx < 12 || my < 12;
      const bool brace = std::abs(mx - my) < 7 && !border;  // one diagonal, mirrored into an X
      if (border || brace) {
        const double frameGrain = tiledFbm((border && my < 12 ? x : y) / 20.0, (border && my < 12 ? y : x) / 2.5, 8, 64, 3, 37);
        c = frame * (0.85 + 0.3 * frameGrain);
        if ((border && (mx == 11 || my == 11)) || (brace && std::abs(mx - my) == 6)) c = frame * 0.55;
      }
      if ((mx - 6) * (mx - 6) + (my - 6) * (my - 6) <= 4) c = grey(0.35);  // nails in the corners
      image.at(x, y) = c;
    }
  }
  return image;
}

RgbImage paintPotTexture() {
  RgbImage image(128, 128);
  const double lightAngle = std::atan2(-1.0, -0.5);  // lit side: toward -x, -z, where the scene looks from
  for (int y = 0; y < 128; ++y) {
    const double v = (y + 0.5) / 128.0;
    for (int x = 0; x < 128; ++x) {
      const double u = (x + 0.5) / 128.0;
      const double lit = 0.70 + 0.30 * std::max(0.0, std::cos(2.0 * kPi * u - lightAngle));
      Vec3 c;
      if (v < 0.09) {
        c = mix({0.25, 0.16, 0.10}, {0.08, 0.05, 0.04}, v / 0.09);  // inside, darker toward the floor
      } else if (v < 0.12) {
        c = {0.62, 0.45, 0.30};  // rim
      } else if (v < 0.90) {
        const double drip = 0.30 + 0.18 * tiledFbm(u * 12.0, 0.5, 12, 4, 2, 41) + 0.06 * tiledFbm(u * 24.0, 0.5, 24, 4, 1, 43);
        const Vec3 body = mix({0.44, 0.20, 0.10}, {0.30, 0.13, 0.07}, (v - 0.12) / 0.78);
        const Vec3 ash = mix({0.66, 0.63, 0.46}, {0.52, 0.55, 0.38}, tiledFbm(u * 8.0, v * 8.0, 8, 8, 3, 47));
        c = mix(ash, body, smoothstep(drip - 0.02, drip + 0.02, v));
        if (std::fabs(v - 0.23) < 0.006 || std::fabs(v - 0.25) < 0.006) c = c * 0.6;  // incised lines on the shoulder
      } else {
        c = mix({0.74, 0.58, 0.42}, {0.62, 0.48, 0.34}, tiledFbm(u * 32.0, v * 32.0, 32, 32, 2, 53));  // clay
      }
      image.at(x, y) = c * lit;
    }
  }
  return image;
}

RgbImage paintSteelTexture() {
  RgbImage image(64, 64);
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) {
      const double brushed = tiledFbm(x / 32.0, y / 2.0, 2, 32, 3, 61);
      const double speck = tiledFbm(x / 4.0, y / 4.0, 16, 16, 2, 67);
      image.at(x, y) = Vec3{0.50, 0.53, 0.58} * (0.8 + 0.35 * brushed + 0.1 * speck);
    }
  }
  return image;
}

}  // namespace assetgen
