// The crate (box.x): a cube of half-size 2 around the origin, matching the collision cube.
// Written as a top-level Mesh with 8 vertices, six four-corner faces and one normal per face
// corner (24), so the reader re-indexes it into 24 vertices. Eight vertices can carry only
// eight texture coordinates: u alternates 0, 1 round the sides and v runs from 0 at the top
// to 1 at the bottom, so the four sides show the whole crate picture (mirrored on two, which
// the symmetric picture hides) and the lid and floor show its plank-coloured border row.
#include "tools/assetgen/Models.h"
#include "tools/assetgen/XFileWriter.h"

namespace assetgen {

GenMesh buildCrateMesh() {
  GenMesh mesh;
  mesh.beginPart("crate", true);
  const double h = 2.0;
  const Vec3 corner[8] = {{-h, -h, -h}, {h, -h, -h}, {h, -h, h}, {-h, -h, h},
                          {-h, h, -h},  {h, h, -h},  {h, h, h},  {-h, h, h}};
  auto uvOf = [](Vec3 p) {
    const bool oddCorner = (p.x > 0) != (p.z > 0);
    return Vec2{oddCorner ? 1.0 : 0.0, p.y > 0 ? 0.0 : 1.0};
  };
  const int faces[6][4] = {{0, 1, 2, 3}, {4, 5, 6, 7}, {0, 1, 5, 4}, {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 0, 4, 7}};
  const Vec3 outward[6] = {{0, -1, 0}, {0, 1, 0}, {0, 0, -1}, {1, 0, 0}, {0, 0, 1}, {-1, 0, 0}};
  for (int f = 0; f < 6; ++f) {
    std::vector<int> corners;
    for (int k = 0; k < 4; ++k) corners.push_back(mesh.addVertex(corner[faces[f][k]], outward[f], uvOf(corner[faces[f][k]])));
    addOrientedFace(mesh, corners, outward[f]);
  }
  return mesh;
}

std::string crateFile() {
  XFileWriter x;
  MaterialDesc wood;
  wood.name = "CrateWood";
  wood.power = 5;
  wood.specular[0] = wood.specular[1] = wood.specular[2] = 0.1;
  wood.texture = "kibako.bmp";
  x.mesh("Crate", buildCrateMesh(), NormalLayout::PerCorner, wood);
  return x.text();
}

}  // namespace assetgen
