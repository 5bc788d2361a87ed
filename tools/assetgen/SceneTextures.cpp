// Textures the scene names itself (check.bmp, akakumo.bmp, map.bmp, bakuhatsu.BMP) and the
// sky's sora.bmp. The ones mapped round spheres or repeated over the ground tile seamlessly.
#include <algorithm>
#include <cmath>

#include "tools/assetgen/Noise.h"
#include "tools/assetgen/Textures.h"

namespace assetgen {

namespace {

Vec3 mix(Vec3 a, Vec3 b, double t) { return a + (b - a) * clamp01(t); }

}  // namespace

RgbImage paintSkyTexture() {
  RgbImage image(256, 256);
  for (int y = 0; y < 256; ++y) {
    const double v = (y + 0.5) / 256.0;  // 0 top pole, 0.5 horizon, 1 bottom pole
    for (int x = 0; x < 256; ++x) {
      Vec3 c;
      if (v < 0.5) {
        const double height = (0.5 - v) / 0.5;  // 0 at the horizon, 1 overhead
        c = mix({0.60, 0.72, 0.92}, {0.16, 0.33, 0.76}, std::pow(height, 0.6));
        // Clouds thin out overhead, where the texture's rows gather into the pole.
        const double cover = smoothstep(0.95, 0.65, height) * smoothstep(0.0, 0.12, height);
        const double n = tiledFbm(x / 32.0, y / 10.0, 8, 64, 5, 83);
        const double cloud = smoothstep(0.50, 0.66, n) * cover;
        const Vec3 cloudColour = mix({0.78, 0.80, 0.86}, {0.99, 0.99, 1.0}, smoothstep(0.5, 0.8, n));
        c = mix(c, cloudColour, cloud);
      } else {
        c = mix({0.80, 0.82, 0.88}, {0.52, 0.55, 0.62}, (v - 0.5) / 0.5);  // haze below the horizon
      }
      image.at(x, y) = c;
    }
  }
  return image;
}

IndexedImage paintCheckTexture() {
  IndexedImage image(64, 64);
  image.palette.assign(256, Vec3{0, 0, 0});
  image.palette[0] = {0.95, 0.92, 0.82};
  image.palette[1] = {0.12, 0.18, 0.50};
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) image.indices[std::size_t(y * 64 + x)] = std::uint8_t(((x / 8) + (y / 8)) % 2);
  }
  return image;
}

RgbImage paintRedCloudTexture() {
  RgbImage image(128, 128);
  for (int y = 0; y < 128; ++y) {
    for (int x = 0; x < 128; ++x) {
      const double n = tiledFbm(x / 32.0, y / 32.0, 4, 4, 5, 97);
      Vec3 c = mix({0.30, 0.02, 0.05}, {0.85, 0.18, 0.12}, smoothstep(0.35, 0.6, n));
      c = mix(c, {1.0, 0.62, 0.45}, smoothstep(0.6, 0.8, n));
      image.at(x, y) = c;
    }
  }
  return image;
}

RgbImage paintGroundTexture() {
  RgbImage image(256, 256);
  const Vec3 grass = {0.28, 0.48, 0.17}, dryGrass = {0.52, 0.55, 0.26}, earth = {0.47, 0.37, 0.24},
             rock = {0.52, 0.51, 0.48};
  for (int y = 0; y < 256; ++y) {
    for (int x = 0; x < 256; ++x) {
      const double meadow = tiledFbm(x / 64.0, y / 64.0, 4, 4, 4, 101);
      const double stony = tiledFbm(x / 32.0, y / 32.0, 8, 8, 3, 103);
      const double detail = tiledFbm(x / 4.0, y / 4.0, 64, 64, 2, 107);
      Vec3 c = mix(grass, dryGrass, smoothstep(0.45, 0.65, meadow));
      c = mix(c, earth, smoothstep(0.66, 0.74, stony) * 0.8);
      c = mix(c, rock, smoothstep(0.74, 0.80, stony));
      image.at(x, y) = c * (0.85 + 0.3 * detail);
    }
  }
  return image;
}

RgbImage paintGlowTexture() {
  RgbImage image(64, 64);
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) {
      const double dx = (x - 31.5) / 31.5, dy = (y - 31.5) / 31.5;
      const double angle = std::atan2(dy, dx);
      const double flame = tiledFbm((angle + kPi) / (2.0 * kPi) * 12.0, 0.5, 12, 4, 3, 109);
      const double d = std::sqrt(dx * dx + dy * dy) / (0.75 + 0.25 * flame);
      const double heat = std::pow(clamp01(1.0 - d), 1.6);
      Vec3 c = mix({0.0, 0.0, 0.0}, {0.75, 0.16, 0.02}, heat * 3.0);
      c = mix(c, {1.0, 0.62, 0.15}, heat * 3.0 - 1.0);
      c = mix(c, {1.0, 0.97, 0.82}, heat * 3.0 - 2.0);
      image.at(x, y) = c;
    }
  }
  return image;
}

}  // namespace assetgen
