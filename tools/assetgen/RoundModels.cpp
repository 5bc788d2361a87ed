// The ball (ball.x, radius 1) and the sky (sky2.x, radius kSkyRadius, seen from inside):
// both latitude-longitude spheres about the y axis with exact radial normals. Texture v runs
// from 0 at the top pole to 1 at the bottom pole, u once round.
#include "tools/assetgen/Lathe.h"
#include "tools/assetgen/Models.h"
#include "tools/assetgen/XFileWriter.h"

namespace assetgen {

namespace {

GenMesh sphere(const char* name, double radius, int segments, int bands, bool inward) {
  GenMesh mesh;
  mesh.beginPart(name, true);
  std::vector<ProfilePoint> strip;  // bottom pole to top pole: the outside lies on the right
  for (int i = 0; i <= bands; ++i) {
    const double latitude = -kPi / 2 + kPi * i / bands;
    const double r = i == 0 || i == bands ? 0.0 : radius * std::cos(latitude);
    strip.push_back({r, radius * std::sin(latitude), 0.5 - latitude / kPi});
  }
  LatheParams params;
  params.segments = segments;
  params.axis = LatheAxis::Y;
  params.inward = inward;
  addLathe(mesh, {strip}, params);
  for (std::size_t i = 0; i < mesh.positions.size(); ++i) mesh.normals[i] = normalize(mesh.positions[i]) * (inward ? -1.0 : 1.0);
  return mesh;
}

}  // namespace

GenMesh buildBallMesh() { return sphere("ball", 1.0, 16, 8, false); }

GenMesh buildSkyMesh() { return sphere("sky", kSkyRadius, 24, 12, true); }

std::string ballFile() {
  XFileWriter x;
  x.beginFrame("Ball");
  x.translation(0, 0, 0);
  MaterialDesc grey;
  grey.name = "BallGrey";
  grey.face[0] = grey.face[1] = grey.face[2] = 0.8;
  grey.power = 15;
  x.mesh("BallSphere", buildBallMesh(), NormalLayout::PerVertex, grey);
  x.endFrame();
  return x.text();
}

std::string skyFile() {
  XFileWriter x;
  x.beginFrame("Sky");
  x.translation(0, 0, 0);
  MaterialDesc sky;
  sky.name = "SkyDome";
  sky.power = 0;
  sky.specular[0] = sky.specular[1] = sky.specular[2] = 0.0;
  sky.texture = "sora.bmp";
  x.mesh("SkySphere", buildSkyMesh(), NormalLayout::PerVertex, sky);
  x.endFrame();
  return x.text();
}

}  // namespace assetgen
