// Sphere mesh sizes and shape, spherical texture coordinates.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "geometry/SphereMesh.h"

namespace {

TEST(SphereMesh, SizesAndRefusals) {
  EXPECT_TRUE(isSphereSizeValid(3, 3));
  EXPECT_EQ(sphereVertexCount(3, 3), 12);
  EXPECT_EQ(sphereIndexCount(3, 3), 36);
  EXPECT_FALSE(isSphereSizeValid(2, 16));
  EXPECT_FALSE(isSphereSizeValid(32, 2));
  // 16-bit indices: 256 rings of 256 vertices fit, one more ring does not.
  EXPECT_TRUE(isSphereSizeValid(255, 256));
  EXPECT_FALSE(isSphereSizeValid(255, 257));
  EXPECT_FALSE(isSphereSizeValid(0x7FFFFFFF, 0x7FFFFFFF));
}

TEST(SphereMesh, SceneSphereIsUnitWithClosedSeam) {
  const int c = 32, n = 16;
  ASSERT_TRUE(isSphereSizeValid(c, n));
  std::vector<MeshVertex> v(sphereVertexCount(c, n));
  std::vector<std::uint16_t> idx(sphereIndexCount(c, n));
  EXPECT_EQ(v.size(), 528u);
  EXPECT_EQ(idx.size(), 2880u);
  buildSphereVertices(v.data(), c, n);
  buildSphereIndices(idx.data(), c, n);
  for (const MeshVertex& p : v) {
    EXPECT_NEAR(std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z), 1.0f, 1e-6f);
    EXPECT_EQ(p.nx, p.x);
    EXPECT_EQ(p.ny, p.y);
    EXPECT_EQ(p.nz, p.z);
  }
  // Ring 0 is the pole z = -1, the last ring z = +1.
  EXPECT_FLOAT_EQ(v[0].z, -1.0f);
  EXPECT_EQ(v[0].tv, 0.0f);
  EXPECT_FLOAT_EQ(v[(n - 1) * (c + 1)].z, 1.0f);
  EXPECT_NEAR(v[(n - 1) * (c + 1)].tv, 1.0f, 1e-6f);
  // Vertex c - 1 closes the ring at 2pi, vertex c lies one step beyond.
  const MeshVertex& equatorStart = v[8 * (c + 1)];
  const MeshVertex& seam = v[8 * (c + 1) + c - 1];
  EXPECT_NEAR(seam.x, equatorStart.x, 1e-5f);
  EXPECT_NEAR(seam.y, equatorStart.y, 1e-5f);
  EXPECT_NEAR(seam.tu, 1.0f, 1e-6f);
  EXPECT_NEAR(v[8 * (c + 1) + c].tu, float(c) / float(c - 1), 1e-5f);
  for (std::uint16_t i : idx) EXPECT_LT(i, v.size());
}

TEST(SphereMesh, SphericalTexCoordsOfAxesAndOrigin) {
  std::vector<MeshVertex> v = {
      {1, 0, 0, 9, 9, 9, 7, 7}, {0, 1, 0, 0, 0, 0, 7, 7}, {-1, 0, 0, 0, 0, 0, 7, 7},
      {0, 0, 1, 0, 0, 0, 7, 7}, {0, 0, 0, 0, 0, 0, 7, 7}, {0, 0, -2, 0, 0, 0, 7, 7},
  };
  sphericalTexCoords(v.data(), static_cast<int>(v.size()));
  EXPECT_FLOAT_EQ(v[0].tu, 0.5f);
  EXPECT_FLOAT_EQ(v[0].tv, 0.5f);
  EXPECT_FLOAT_EQ(v[1].tu, 0.75f);
  EXPECT_FLOAT_EQ(v[1].tv, 0.5f);
  EXPECT_FLOAT_EQ(v[2].tu, 1.0f);
  EXPECT_FLOAT_EQ(v[2].tv, 0.5f);
  EXPECT_EQ(v[3].tu, 0.0f);
  EXPECT_FLOAT_EQ(v[3].tv, 1.0f);
  EXPECT_EQ(v[4].tu, 0.0f);
  EXPECT_EQ(v[4].tv, 0.0f);
  EXPECT_NEAR(v[5].tv, 0.0f, 1e-7f);
  EXPECT_EQ(v[0].nx, 9.0f);  // normals untouched
  sphericalTexCoords(nullptr, 3);
}

}  // namespace
