// GenMesh: a polygon mesh as the generator builds it before writing it as .x text.
// One normal and one texture coordinate pair per vertex; faces are polygons whose corners
// run so that cross(v1 - v0, v2 - v0) points to the side the face is seen from (the side
// that survives D3DCULL_CCW). Faces are grouped into named parts so tests can check each
// closed part on its own. Model space: y up; sizes in world units.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "tools/assetgen/GenMath.h"

namespace assetgen {

struct GenPart {
  std::string name;
  std::size_t firstFace = 0;  // its faces run up to the next part's first face
  bool closed = true;  // a closed surface: its signed volume must be positive (or negative for a sky)
};

struct GenMesh {
  std::vector<Vec3> positions;
  std::vector<Vec3> normals;
  std::vector<Vec2> uvs;
  std::vector<std::vector<int>> faces;
  std::vector<GenPart> parts;

  // Appends a vertex; returns its index.
  int addVertex(Vec3 position, Vec3 normal, Vec2 uv);
  // Opens a part; the faces added until the next beginPart belong to it.
  void beginPart(const std::string& name, bool closed);
  // Number of triangles once every face is cut into a fan.
  int triangleCount() const;
};

// Texture coordinates of a point of a flat face with the given unit normal (model space).
using UvFunction = std::function<Vec2(Vec3 position, Vec3 normal)>;

// Newell normal (unnormalised) of the polygon through `points` in order.
Vec3 polygonNormal(const std::vector<Vec3>& points);
// Adds a face over existing vertices, reversing its corners when its normal points away from
// `facing`. Consecutive corners at one position are merged; fewer than 3 left adds nothing.
void addOrientedFace(GenMesh& mesh, std::vector<int> corners, Vec3 facing);
// Adds a flat polygon with vertices of its own, turned to face `facing`, normal from its plane.
void addFlatPolygon(GenMesh& mesh, std::vector<Vec3> points, Vec3 facing, const UvFunction& uv);
// Adds a convex solid given by its faces (point lists, any winding) as flat polygons, each
// turned away from the solid's centroid.
void addConvexSolid(GenMesh& mesh, const std::vector<std::vector<Vec3>>& faces, const UvFunction& uv);
// Six-sided solid from its eight corners: bottom four then top four, both in the same turn.
std::vector<std::vector<Vec3>> hexahedronFaces(const Vec3 corners[8]);

// One past the last face of part `index`.
std::size_t partFaceEnd(const GenMesh& mesh, std::size_t index);
// Signed volume enclosed by the faces of part `index`: positive when the faces point outward.
double signedVolume(const GenMesh& mesh, std::size_t index);

}  // namespace assetgen
