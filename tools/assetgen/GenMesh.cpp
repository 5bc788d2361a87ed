// GenMesh: vertices, oriented faces and the flat-polygon and convex-solid helpers.
#include "tools/assetgen/GenMesh.h"

#include <algorithm>

namespace assetgen {

int GenMesh::addVertex(Vec3 position, Vec3 normal, Vec2 uv) {
  positions.push_back(position);
  normals.push_back(normal);
  uvs.push_back(uv);
  return int(positions.size()) - 1;
}

void GenMesh::beginPart(const std::string& name, bool closed) {
  parts.push_back({name, faces.size(), closed});
}

int GenMesh::triangleCount() const {
  int count = 0;
  for (const auto& face : faces) count += face.size() >= 3 ? int(face.size()) - 2 : 0;
  return count;
}

Vec3 polygonNormal(const std::vector<Vec3>& points) {
  Vec3 n;
  for (std::size_t i = 0; i < points.size(); ++i) {
    const Vec3& a = points[i];
    const Vec3& b = points[(i + 1) % points.size()];
    n.x += (a.y - b.y) * (a.z + b.z);
    n.y += (a.z - b.z) * (a.x + b.x);
    n.z += (a.x - b.x) * (a.y + b.y);
  }
  return n;  // same direction as cross(v1 - v0, v2 - v0) for a convex polygon
}

static bool samePosition(Vec3 a, Vec3 b) { return length(a - b) < 1e-9; }

void addOrientedFace(GenMesh& mesh, std::vector<int> corners, Vec3 facing) {
  std::vector<int> kept;
  for (int c : corners) {
    if (kept.empty() || !samePosition(mesh.positions[kept.back()], mesh.positions[c])) kept.push_back(c);
  }
  while (kept.size() > 1 && samePosition(mesh.positions[kept.front()], mesh.positions[kept.back()])) kept.pop_back();
  if (kept.size() < 3) return;
  std::vector<Vec3> points;
  for (int c : kept) points.push_back(mesh.positions[c]);
  if (dot(polygonNormal(points), facing) < 0) std::reverse(kept.begin() + 1, kept.end());
  mesh.faces.push_back(kept);
}

void addFlatPolygon(GenMesh& mesh, std::vector<Vec3> points, Vec3 facing, const UvFunction& uv) {
  Vec3 n = polygonNormal(points);
  if (dot(n, facing) < 0) {
    std::reverse(points.begin() + 1, points.end());
    n = n * -1.0;
  }
  n = normalize(n);
  std::vector<int> corners;
  for (const Vec3& p : points) corners.push_back(mesh.addVertex(p, n, uv(p, n)));
  mesh.faces.push_back(corners);
}

void addConvexSolid(GenMesh& mesh, const std::vector<std::vector<Vec3>>& faces, const UvFunction& uv) {
  Vec3 centre;
  int count = 0;
  for (const auto& face : faces) {
    for (const Vec3& p : face) {
      centre = centre + p;
      ++count;
    }
  }
  centre = centre * (1.0 / count);
  for (const auto& face : faces) {
    Vec3 faceCentre;
    for (const Vec3& p : face) faceCentre = faceCentre + p;
    faceCentre = faceCentre * (1.0 / double(face.size()));
    addFlatPolygon(mesh, face, faceCentre - centre, uv);
  }
}

std::vector<std::vector<Vec3>> hexahedronFaces(const Vec3 c[8]) {
  return {{c[0], c[1], c[2], c[3]}, {c[4], c[5], c[6], c[7]}, {c[0], c[1], c[5], c[4]},
          {c[1], c[2], c[6], c[5]}, {c[2], c[3], c[7], c[6]}, {c[3], c[0], c[4], c[7]}};
}

std::size_t partFaceEnd(const GenMesh& mesh, std::size_t index) {
  return index + 1 < mesh.parts.size() ? mesh.parts[index + 1].firstFace : mesh.faces.size();
}

double signedVolume(const GenMesh& mesh, std::size_t index) {
  double volume = 0;
  for (std::size_t f = mesh.parts[index].firstFace; f < partFaceEnd(mesh, index); ++f) {
    const auto& face = mesh.faces[f];
    for (std::size_t k = 1; k + 1 < face.size(); ++k) {
      const Vec3& a = mesh.positions[face[0]];
      const Vec3& b = mesh.positions[face[k]];
      const Vec3& c = mesh.positions[face[k + 1]];
      volume += dot(a, cross(b, c)) / 6.0;
    }
  }
  return volume;
}

}  // namespace assetgen
