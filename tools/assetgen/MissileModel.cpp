// The missile (daikon.x): a white radish turned on the z axis, its root tip forward at
// z = +0.75 and its shoulder at the tail, with five leaves fanning back to z = -0.73.
// Leaves are thin, so each is written twice, once per side. Texture daikon.bmp (128 x 128):
// the body takes columns 0-79 (u around, v from root tip to shoulder), the leaves 88-127.
#include "tools/assetgen/Lathe.h"
#include "tools/assetgen/Models.h"
#include "tools/assetgen/XFileWriter.h"

namespace assetgen {

namespace {

constexpr double kShoulderZ = -0.33;  // where the leaves grow

void addBody(GenMesh& mesh) {
  mesh.beginPart("root", true);
  // (radius, z), walked from the shoulder to the root tip so that the outside lies on the right.
  const double profile[][2] = {{0.0, -0.345}, {0.05, -0.34}, {0.10, -0.325}, {0.13, -0.28}, {0.135, -0.15},
                               {0.12, 0.05},  {0.09, 0.30},  {0.055, 0.50},  {0.025, 0.65}, {0.0, 0.75}};
  std::vector<ProfilePoint> strip;
  for (const auto& p : profile) strip.push_back({p[0], p[1], 0.03 + 0.94 * (0.75 - p[1]) / 1.095});
  LatheParams params;
  params.segments = 12;
  params.axis = LatheAxis::Z;
  params.uStart = 0.02;
  params.uEnd = 0.60;
  addLathe(mesh, {strip}, params);
}

void addLeaves(GenMesh& mesh) {
  mesh.beginPart("leaves", false);
  for (int k = 0; k < 5; ++k) {
    const double angle = 2.0 * kPi * k / 5.0 + 0.3;
    const Vec3 radial = {std::cos(angle), std::sin(angle), 0.0};
    const Vec3 spine = normalize(radial * 0.55 + Vec3{0, 0, -1});
    const Vec3 across = normalize(cross(spine, radial));
    const Vec3 base = radial * 0.03 + Vec3{0, 0, kShoulderZ};
    const double length = 0.46 - 0.03 * (k % 2), width = 0.15;
    // Leaf outline in (along the spine, across) units, with its texture coordinates.
    const double outline[][2] = {{0.0, 0.0}, {0.3, 0.5}, {0.72, 0.42}, {1.0, 0.0}, {0.72, -0.42}, {0.3, -0.5}};
    std::vector<Vec3> points;
    std::vector<Vec2> uvs;
    for (const auto& o : outline) {
      points.push_back(base + spine * (o[0] * length) + across * (o[1] * width));
      uvs.push_back({(108.0 + 17.0 * o[1] * 2.0) / 128.0, (6.0 + 116.0 * o[0]) / 128.0});
    }
    for (const Vec3 facing : {radial, radial * -1.0}) {
      std::vector<int> corners;
      const Vec3 n = normalize(dot(cross(across, spine), facing) > 0 ? cross(across, spine) : cross(spine, across));
      for (std::size_t i = 0; i < points.size(); ++i) corners.push_back(mesh.addVertex(points[i], n, uvs[i]));
      addOrientedFace(mesh, corners, n);
    }
  }
}

}  // namespace

GenMesh buildMissileMesh() {
  GenMesh mesh;
  addBody(mesh);
  addLeaves(mesh);
  return mesh;
}

std::string missileFile() {
  XFileWriter x;
  x.beginFrame("Daikon");
  x.translation(0, 0, 0);
  MaterialDesc skin;
  skin.name = "DaikonSkin";
  skin.power = 8;
  skin.specular[0] = skin.specular[1] = skin.specular[2] = 0.2;
  skin.texture = "daikon.bmp";
  x.mesh("DaikonBody", buildMissileMesh(), NormalLayout::PerVertex, skin);
  x.endFrame();
  return x.text();
}

}  // namespace assetgen
