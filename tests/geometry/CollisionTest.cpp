// Collision tests: box overlap and its resolutions, terrain contact and bounce, triangle
// primitives, box against mesh.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "geometry/BoxMeshContact.h"
#include "geometry/BoxOverlap.h"
#include "geometry/CollisionBox.h"
#include "geometry/TerrainContact.h"
#include "geometry/TerrainGrid.h"
#include "geometry/TriangleTests.h"

namespace {

void expectVector(const Vector3& v, float x, float y, float z, float tolerance = 1e-5f) {
  EXPECT_NEAR(v.x, x, tolerance);
  EXPECT_NEAR(v.y, y, tolerance);
  EXPECT_NEAR(v.z, z, tolerance);
}

TEST(BoxOverlap, TouchingFacesCountOnEveryAxis) {
  const Vector3 b(1, 2, 3);
  for (int axis = 0; axis < 3; ++axis) {
    Vector3 touching = b, apart = b;
    (&touching.x)[axis] += 4.0f;
    (&apart.x)[axis] -= 4.001f;
    EXPECT_TRUE(boxOverlap(touching, b, false)) << axis;
    EXPECT_FALSE(boxOverlap(apart, b, true)) << axis;
    expectVector(apart, axis == 0 ? b.x - 4.001f : b.x, axis == 1 ? b.y - 4.001f : b.y,
                 axis == 2 ? b.z - 4.001f : b.z);
  }
}

TEST(BoxOverlap, Resolutions) {
  const Vector3 b(0, 0, 0);
  Vector3 shallow(0.5f, 0.2f, 3.7f);  // 0.3 into b's upper z face
  EXPECT_TRUE(boxOverlap(shallow, b, true));
  expectVector(shallow, 0.5f, 0.2f, 4.0f);

  Vector3 beside(3.0f, 0.5f, 3.0f);  // 1.0 of z overlap, further apart on x than on y
  EXPECT_TRUE(boxOverlap(beside, b, true));
  expectVector(beside, 4.0f, 0.5f, 3.0f);
  Vector3 left(-3.5f, 1.0f, 0.0f);
  EXPECT_TRUE(boxOverlap(left, b, true));
  expectVector(left, -4.0f, 1.0f, 0.0f);

  Vector3 tie(1.0f, -1.0f, 0.0f);  // equal distances: y wins, pushed down
  EXPECT_TRUE(boxOverlap(tie, b, true));
  expectVector(tie, 1.0f, -4.0f, 0.0f);

  Vector3 untouched(1.0f, 1.0f, 1.0f);
  EXPECT_TRUE(boxOverlap(untouched, b, false));
  expectVector(untouched, 1, 1, 1);
}

struct Terrain {
  std::vector<MeshVertex> vertices;
  TerrainView view;
};

Terrain flatTerrain(int a, float cell, Vector3 position) {
  Terrain t;
  t.vertices.assign(a * a, MeshVertex{});
  buildTerrainVertices(t.vertices.data(), a, cell, 1.0f, nullptr);
  t.view = TerrainView{t.vertices.data(), a * a, a, cell, position};
  return t;
}

TEST(TerrainContact, FlatGroundBounceKeepsSixTenthsOfNormalSpeed) {
  Terrain t = flatTerrain(4, 10.0f, Vector3(0, 5, 0));
  Vector3 position(3.0f, 4.0f, -7.0f);
  Vector3 velocity(0.0f, -10.0f, 0.0f);
  EXPECT_TRUE(terrainContact(position, -0.5f, &velocity, t.view, true));
  expectVector(velocity, 0.0f, 6.0f, 0.0f);
  EXPECT_FLOAT_EQ(position.y, 5.5f);  // stands exactly on the ground with its offset
  // Now exactly at ground height: no contact, nothing changes.
  EXPECT_FALSE(terrainContact(position, -0.5f, &velocity, t.view, true));
  expectVector(velocity, 0.0f, 6.0f, 0.0f);
  // Without resolving nothing moves; without a velocity nothing bounces.
  Vector3 low(3.0f, 0.0f, -7.0f);
  EXPECT_TRUE(terrainContact(low, -3.0f, nullptr, t.view, false));
  EXPECT_EQ(low.y, 0.0f);
  EXPECT_TRUE(terrainContact(low, -3.0f, nullptr, t.view, true));
  EXPECT_FLOAT_EQ(low.y, 8.0f);
}

TEST(TerrainContact, InterpolatesOnBothTrianglesOfASlopedCell) {
  // 2x2 grid, cell 10, corners (row, column): y00 = 0, y01 = 4, y10 = 8, y11 = 20.
  Terrain t = flatTerrain(2, 10.0f, Vector3(0, 0, 0));
  t.vertices[0].y = 0, t.vertices[1].y = 4, t.vertices[2].y = 8, t.vertices[3].y = 20;
  // Grid (gx, gz) = (x / 10 + 1, z / 10 + 1); cell (0, 0) covers x, z in [-10, 0).
  Vector3 lower(-7.5f, -100.0f, -8.0f);  // fx 0.25, fz 0.2: first triangle
  ASSERT_TRUE(terrainContact(lower, 0.0f, nullptr, t.view, true));
  EXPECT_NEAR(lower.y, 0 + 4 * 0.25f + 8 * 0.2f, 1e-5f);
  Vector3 upper(-2.0f, -100.0f, -3.0f);  // fx 0.8, fz 0.7: second triangle
  ASSERT_TRUE(terrainContact(upper, 0.0f, nullptr, t.view, true));
  EXPECT_NEAR(upper.y, 20 + (8 - 20) * 0.2f + (4 - 20) * 0.3f, 1e-4f);
}

TEST(TerrainContact, NoContactOffTheGridOrWithoutVertices) {
  Terrain t = flatTerrain(4, 10.0f, Vector3(0, 0, 0));
  // Vertices run from -20 to 10: the last column and row (10) and beyond have no cell.
  for (Vector3 p : {Vector3(10.0f, -50, 0), Vector3(0, -50, 10.0f), Vector3(25.0f, -50, 0), Vector3(-30.0f, -50, 0),
                    Vector3(NAN, -50, 0), Vector3(1e30f, -50, 0)})
    EXPECT_FALSE(terrainContact(p, 0.0f, nullptr, t.view, true)) << p.x << "," << p.z;
  // Between -1 and 0 in grid units truncates to cell 0 with a negative fraction.
  Vector3 justOutside(-25.0f, -50, 0);
  EXPECT_TRUE(terrainContact(justOutside, 0.0f, nullptr, t.view, false));
  TerrainView empty = t.view;
  empty.vertices = nullptr;
  Vector3 p(0, -50, 0);
  EXPECT_FALSE(terrainContact(p, 0.0f, nullptr, empty, true));
  TerrainView tooFew = t.view;
  tooFew.vertexCount = 15;
  EXPECT_FALSE(terrainContact(p, 0.0f, nullptr, tooFew, true));
  EXPECT_EQ(p.y, -50.0f);
}

TEST(TriangleTests, PointInTriangleCornersEdgesOutside) {
  const Vector3 a(0, 0, 0), b(4, 0, 0), c(0, 4, 0);
  EXPECT_TRUE(pointInTriangle(a, a, b, c));
  EXPECT_TRUE(pointInTriangle(b, a, b, c));
  EXPECT_TRUE(pointInTriangle(Vector3(2, 0, 0), a, b, c));
  EXPECT_TRUE(pointInTriangle(Vector3(2, 2, 0), a, b, c));
  EXPECT_TRUE(pointInTriangle(Vector3(1, 1, 0), a, b, c));
  EXPECT_FALSE(pointInTriangle(Vector3(3, 3, 0), a, b, c));
  EXPECT_FALSE(pointInTriangle(Vector3(-0.1f, 1, 0), a, b, c));
}

TEST(TriangleTests, EdgesCrossTriangle) {
  const Vector3 p0(0, 0, 0), p1(4, 0, 0), p2(0, 4, 0);  // in the plane z = 0
  // A triangle standing through it.
  EXPECT_TRUE(edgesCrossTriangle(p0, p1, p2, Vector3(1, 1, -1), Vector3(1, 1, 1), Vector3(2, 1, 1)));
  // Standing beside it.
  EXPECT_FALSE(edgesCrossTriangle(p0, p1, p2, Vector3(5, 5, -1), Vector3(5, 5, 1), Vector3(6, 5, 1)));
  // Entirely above it.
  EXPECT_FALSE(edgesCrossTriangle(p0, p1, p2, Vector3(1, 1, 1), Vector3(1, 1, 2), Vector3(2, 1, 2)));
  // Lying in its plane: every edge is parallel and ignored.
  EXPECT_FALSE(edgesCrossTriangle(p0, p1, p2, Vector3(1, 1, 0), Vector3(2, 1, 0), Vector3(1, 2, 0)));
  // A triangle without area has no plane to cross.
  EXPECT_FALSE(edgesCrossTriangle(p0, p1, p1, Vector3(1, 0, -1), Vector3(1, 0, 1), Vector3(2, 0, 1)));
}

TEST(CollisionBox, CornersAndTable) {
  CollisionBox box(Vector3(-1, -2, -3), Vector3(1, 2, 3));
  expectVector(box.corners[2], 1, 2, -3);
  // Every face's two triangles share the face's outward direction.
  for (int t = 0; t < 12; t += 2) {
    auto normal = [&](int k) {
      const Vector3& a = box.corners[box.triangles[3 * k]];
      return crossProduct(box.corners[box.triangles[3 * k + 1]] - a, box.corners[box.triangles[3 * k + 2]] - a);
    };
    const Vector3 n0 = normal(t), n1 = normal(t + 1);
    EXPECT_GT(dotProduct(n0, n1), 0.0f) << "face " << t / 2;
  }
}

struct Floor {
  std::vector<MeshVertex> vertices = {{-10, 0, -10, 0, 1, 0, 0, 0},
                                      {-10, 0, 10, 0, 1, 0, 0, 0},
                                      {10, 0, -10, 0, 1, 0, 0, 0},
                                      {10, 0, 10, 0, 1, 0, 0, 0}};
  std::vector<std::uint16_t> indices = {0, 1, 2, 1, 3, 2};  // normal up
  MeshView view() const { return MeshView{vertices.data(), 4, indices.data(), 6}; }
};

TEST(BoxMeshContact, PushesOutAlongTriangleNormal) {
  Floor floor;
  Vector3 p(1.0f, 1.0f, 2.0f);  // box from y -1 to 3: one unit below the floor
  EXPECT_TRUE(boxMeshContact(p, IdentityMatrix, floor.view(), false));
  expectVector(p, 1, 1, 2);
  EXPECT_TRUE(boxMeshContact(p, IdentityMatrix, floor.view(), true));
  expectVector(p, 1, 2, 2);
  Vector3 above(1.0f, 2.5f, 2.0f);
  EXPECT_FALSE(boxMeshContact(above, IdentityMatrix, floor.view(), true));
}

TEST(BoxMeshContact, WorksInTheMeshFrame) {
  // The floor stood up as a wall: local y becomes world -x, placed at x = 5.
  Floor floor;
  Matrix4 frame = IdentityMatrix;
  frame._11 = 0, frame._12 = 1;   // local x -> world y
  frame._21 = -1, frame._22 = 0;  // local y -> world -x
  frame._41 = 5;
  Vector3 p(4.0f, 0.0f, 0.0f);  // box from x 2 to 6: one unit through the wall's back
  EXPECT_TRUE(boxMeshContact(p, frame, floor.view(), true));
  expectVector(p, 3.0f, 0.0f, 0.0f);
}

TEST(BoxMeshContact, BadMeshesAreHarmless) {
  Floor floor;
  Vector3 p(1.0f, 1.0f, 2.0f);
  EXPECT_FALSE(boxMeshContact(p, IdentityMatrix, MeshView{}, true));
  // Indices beyond the vertex array are skipped.
  std::vector<std::uint16_t> bad = {0, 1, 9, 1, 3, 7};
  EXPECT_FALSE(boxMeshContact(p, IdentityMatrix, MeshView{floor.vertices.data(), 4, bad.data(), 6}, true));
  // A triangle without area is touched by the box's faces but pushes nothing (no NaN).
  std::vector<MeshVertex> line = {{0, -5, 0, 0, 0, 0, 0, 0}, {0, 5, 0, 0, 0, 0, 0, 0}, {0, 5, 0, 0, 0, 0, 0, 0}};
  std::vector<std::uint16_t> tri = {0, 1, 2};
  Vector3 q(0.5f, 0.0f, 0.5f);
  EXPECT_TRUE(boxMeshContact(q, IdentityMatrix, MeshView{line.data(), 3, tri.data(), 3}, true));
  expectVector(q, 0.5f, 0.0f, 0.5f);
}

}  // namespace
