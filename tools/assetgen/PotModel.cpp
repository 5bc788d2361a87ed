// The pot (tsubo.x): a wide-bellied jar turned on the y axis, base at the origin, lip at
// y = 9.05, with an inner wall and floor so the mouth shows a dark inside. 14 segments keep it
// to 364 triangles: the player is tested against each of them every frame.
// Texture tsubo.bmp (128 x 128): v 0-0.09 inside, 0.09-0.12 rim, 0.12-0.9 glazed body,
// 0.9-1 unglazed foot and base; u runs once round.
#include "tools/assetgen/Lathe.h"
#include "tools/assetgen/Models.h"
#include "tools/assetgen/XFileWriter.h"

namespace assetgen {

GenMesh buildPotMesh() {
  GenMesh mesh;
  mesh.beginPart("pot", true);
  // Each strip is walked with the visible side on its right; strips meet at hard edges.
  const std::vector<std::vector<ProfilePoint>> strips = {
      {{0.0, 0.0, 0.98}, {1.8, 0.0, 0.93}},
      {{1.8, 0.0, 0.92}, {1.75, 0.45, 0.89}, {2.4, 1.4, 0.80}, {3.05, 2.9, 0.64}, {3.15, 4.3, 0.50}, {2.75, 5.8, 0.35},
       {1.9, 7.0, 0.22}, {1.3, 7.9, 0.16}, {1.4, 8.6, 0.13}, {1.75, 9.0, 0.11}},
      {{1.75, 9.0, 0.105}, {1.5, 9.05, 0.095}},
      {{1.5, 9.05, 0.085}, {1.2, 8.4, 0.06}, {1.0, 7.5, 0.035}, {0.0, 7.3, 0.01}},
  };
  LatheParams params;
  params.segments = 14;
  params.axis = LatheAxis::Y;
  addLathe(mesh, strips, params);
  return mesh;
}

std::string potFile() {
  XFileWriter x;
  MaterialDesc glaze;
  glaze.name = "TsuboGlaze";
  glaze.power = 30;
  glaze.specular[0] = glaze.specular[1] = glaze.specular[2] = 0.3;
  glaze.texture = "tsubo.bmp";
  x.material(glaze);
  x.beginFrame("Tsubo");
  x.translation(0, 0, 0);
  x.mesh("TsuboBody", buildPotMesh(), NormalLayout::PerVertex, glaze.name);
  x.endFrame();
  return x.text();
}

}  // namespace assetgen
