// Terrain grid: counts, index order, vertex placement, heights from bitmap rows, texture mapping.
#include <gtest/gtest.h>

#include <vector>

#include "geometry/TerrainGrid.h"

namespace {

struct Grid {
  std::vector<MeshVertex> vertices;
  std::vector<std::uint16_t> indices;
};

Grid build(int a, float cellSize, float heightScale, const HeightSamples* samples) {
  Grid g;
  g.vertices.assign(terrainVertexCount(a), MeshVertex{});
  g.indices.assign(terrainIndexCount(a), 0);
  buildTerrainIndices(g.indices.data(), a);
  buildTerrainVertices(g.vertices.data(), a, cellSize, heightScale, samples);
  return g;
}

TEST(TerrainGrid, TwoByTwoHasTwoTrianglesInOrder) {
  Grid g = build(2, 20.0f, 0.2f, nullptr);
  ASSERT_EQ(g.vertices.size(), 4u);
  EXPECT_EQ(g.indices, (std::vector<std::uint16_t>{0, 2, 1, 2, 3, 1}));
}

TEST(TerrainGrid, SceneGridCountsExtentsAndCentre) {
  Grid g = build(64, 20.0f, 0.2f, nullptr);
  EXPECT_EQ(g.vertices.size(), 4096u);
  EXPECT_EQ(g.indices.size(), 23814u);
  EXPECT_FLOAT_EQ(g.vertices.front().x, -640.0f);
  EXPECT_FLOAT_EQ(g.vertices.front().z, -640.0f);
  EXPECT_FLOAT_EQ(g.vertices.back().x, 620.0f);
  EXPECT_FLOAT_EQ(g.vertices.back().z, 620.0f);
  const MeshVertex& centre = g.vertices[32 * 64 + 32];
  EXPECT_EQ(centre.x, 0.0f);
  EXPECT_EQ(centre.z, 0.0f);
  EXPECT_EQ(centre.ny, 1.0f);
  EXPECT_EQ(g.indices.back(), 62 * 64 + 63);  // the last cell closes the list
}

TEST(TerrainGrid, LargestGridKeepsIndicesDistinct) {
  EXPECT_TRUE(isTerrainGridSizeValid(256));
  EXPECT_FALSE(isTerrainGridSizeValid(257));
  EXPECT_FALSE(isTerrainGridSizeValid(1));
  Grid g = build(256, 1.0f, 1.0f, nullptr);
  EXPECT_EQ(g.indices[g.indices.size() - 2], 65535);
}

TEST(TerrainGrid, HeightsComeFromFirstByteOfEachPixelRowByRow) {
  // Width 2: rows of 6 pixel bytes padded to 8; the filler bytes hold 255 and must never show.
  const float scale = 0.19999999f;
  std::vector<std::uint8_t> rows = {128, 1, 2, 0, 3, 4, 255, 255,  // row 0: pixels 128, 0
                                    255, 5, 6, 77, 7, 8, 255, 255};
  HeightSamples samples{rows.data(), 8, 2, 2};
  ASSERT_TRUE(heightSamplesCover(samples, 2));
  Grid g = build(2, 20.0f, scale, &samples);
  EXPECT_EQ(g.vertices[0].y, 0.0f);
  EXPECT_FLOAT_EQ(g.vertices[1].y, -128 * scale);
  EXPECT_FLOAT_EQ(g.vertices[2].y, 127 * scale);
  EXPECT_FLOAT_EQ(g.vertices[3].y, (77 - 128) * scale);
}

TEST(TerrainGrid, SamplesSmallerThanGridGiveFlatGround) {
  std::vector<std::uint8_t> rows(8 * 2, 200);
  HeightSamples narrow{rows.data(), 8, 2, 2};
  EXPECT_FALSE(heightSamplesCover(narrow, 3));
  Grid g = build(3, 10.0f, 1.0f, &narrow);
  for (const MeshVertex& v : g.vertices) EXPECT_EQ(v.y, 0.0f);
}

TEST(TerrainGrid, PlanarTexCoordsSpanSceneTerrain) {
  Grid g = build(64, 20.0f, 0.2f, nullptr);
  planarTexCoords(g.vertices.data(), static_cast<int>(g.vertices.size()), 200.0f);
  EXPECT_FLOAT_EQ(g.vertices.front().tu, -3.2f);
  EXPECT_FLOAT_EQ(g.vertices.front().tv, -3.2f);
  EXPECT_FLOAT_EQ(g.vertices.back().tu, 3.1f);
  EXPECT_FLOAT_EQ(g.vertices.back().tv, 3.1f);
  EXPECT_EQ(g.vertices.back().ny, 1.0f);
  planarTexCoords(nullptr, 5, 200.0f);  // no mesh: nothing happens
}

}  // namespace
