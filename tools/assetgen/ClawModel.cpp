// The claw (tsume.x): a hub that reaches from y = -1 (inside the ball below it on the arm)
// up to a flange at y = 0.3, and three curved talons rising to sharp tips at y = 2.25,
// bending inward like a grab. Texture hagane.bmp, though the scene replaces the coordinates
// with a spherical mapping.
#include "tools/assetgen/Lathe.h"
#include "tools/assetgen/Models.h"
#include "tools/assetgen/XFileWriter.h"

namespace assetgen {

namespace {

void addHub(GenMesh& mesh) {
  mesh.beginPart("hub", true);
  LatheParams params;
  params.segments = 10;
  params.axis = LatheAxis::Y;
  addLathe(mesh,
           {{{0.0, -1.0, 0.95}, {0.28, -1.0, 0.9}},
            {{0.28, -1.0, 0.9}, {0.28, 0.1, 0.5}},
            {{0.28, 0.1, 0.5}, {0.55, 0.1, 0.4}},
            {{0.55, 0.1, 0.4}, {0.55, 0.3, 0.3}},
            {{0.55, 0.3, 0.3}, {0.0, 0.3, 0.05}}},
           params);
}

void addTalon(GenMesh& mesh, double angle) {
  mesh.beginPart("talon", true);
  // Along the talon: distance from the axis, height, section radius.
  const double path[][3] = {{0.30, 0.20, 0.15}, {0.55, 0.65, 0.15}, {0.72, 1.15, 0.13},
                            {0.70, 1.65, 0.10}, {0.52, 2.02, 0.065}, {0.22, 2.25, 0.0}};
  const int count = 6, sides = 6;
  const Vec3 radial = {std::cos(angle), 0.0, std::sin(angle)};
  const Vec3 across = {-std::sin(angle), 0.0, std::cos(angle)};
  auto centre = [&](int i) { return radial * path[i][0] + Vec3{0, path[i][1], 0}; };
  const int first = int(mesh.positions.size());
  Vec3 baseTangent;
  for (int i = 0; i < count; ++i) {
    const Vec3 tangent = normalize(centre(i < count - 1 ? i + 1 : i) - centre(i > 0 ? i - 1 : i));
    if (i == 0) baseTangent = tangent;
    const Vec3 side = normalize(cross(tangent, across));
    for (int j = 0; j <= sides; ++j) {
      const double beta = 2.0 * kPi * j / sides;
      const Vec3 n = across * std::cos(beta) + side * std::sin(beta);
      mesh.addVertex(centre(i) + n * path[i][2], n, {double(j) / sides, 0.1 + 0.8 * i / (count - 1)});
    }
  }
  for (int i = 0; i + 1 < count; ++i) {
    for (int j = 0; j < sides; ++j) {
      const int a = first + i * (sides + 1) + j, b = a + 1, c = b + sides + 1, d = a + sides + 1;
      addOrientedFace(mesh, {a, b, c, d}, mesh.normals[a] + mesh.normals[b] + mesh.normals[c] + mesh.normals[d]);
    }
  }
  std::vector<Vec3> cap;
  for (int j = 0; j < sides; ++j) cap.push_back(mesh.positions[first + j]);
  addFlatPolygon(mesh, cap, baseTangent * -1.0, [](Vec3, Vec3) { return Vec2{0.5, 0.05}; });
}

}  // namespace

GenMesh buildClawMesh() {
  GenMesh mesh;
  addHub(mesh);
  for (int k = 0; k < 3; ++k) addTalon(mesh, kPi / 2 + 2.0 * kPi * k / 3.0);
  return mesh;
}

std::string clawFile() {
  XFileWriter x;
  x.beginFrame("Tsume");
  x.translation(0, 0, 0);
  MaterialDesc steel;
  steel.name = "TsumeSteel";
  steel.power = 40;
  steel.specular[0] = steel.specular[1] = steel.specular[2] = 0.3;
  steel.texture = "hagane.bmp";
  x.mesh("TsumeClaw", buildClawMesh(), NormalLayout::PerVertex, steel);
  x.endFrame();
  return x.text();
}

}  // namespace assetgen
