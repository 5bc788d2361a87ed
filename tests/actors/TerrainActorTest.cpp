// Building the terrain from a height-map file, the refusals and their log lines, and the
// collision tests on actors.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "actors/ActorCollisions.h"
#include "actors/ParticleActor.h"
#include "actors/TerrainActor.h"
#include "actors/TerrainMessages.h"
#include "foundation/DebugLog.h"
#include "tests/support/test_files.h"

namespace {

// A BMP file: 14-byte file header, 40-byte info header, then `pixelBytes` as given.
std::vector<std::uint8_t> bmpFile(std::int32_t width, std::int32_t height, std::uint16_t bits,
                                  const std::vector<std::uint8_t>& pixelBytes) {
  std::vector<std::uint8_t> f(54, 0);
  auto put32 = [&](int at, std::uint32_t v) {
    for (int k = 0; k < 4; ++k) f[at + k] = static_cast<std::uint8_t>(v >> (8 * k));
  };
  f[0] = 'B', f[1] = 'M';
  put32(2, static_cast<std::uint32_t>(54 + pixelBytes.size()));
  put32(10, 1078);  // a misleading bfOffBits: pixels are read from 54 regardless
  put32(14, 40);
  put32(18, static_cast<std::uint32_t>(width));
  put32(22, static_cast<std::uint32_t>(height));
  f[26] = 1;
  f[28] = static_cast<std::uint8_t>(bits);
  f.insert(f.end(), pixelBytes.begin(), pixelBytes.end());
  return f;
}

// 24-bit rows of `width` pixels whose first byte is `value(row, column)`, padded with 0xEE.
template <class Value>
std::vector<std::uint8_t> rows24(int width, int rows, Value value) {
  const int rowBytes = ((width * 24 + 31) / 32) * 4;
  std::vector<std::uint8_t> out(static_cast<std::size_t>(rowBytes) * rows, 0xEE);
  for (int i = 0; i < rows; ++i)
    for (int j = 0; j < width; ++j) {
      out[i * rowBytes + 3 * j] = value(i, j);
      out[i * rowBytes + 3 * j + 1] = out[i * rowBytes + 3 * j + 2] = 0x11;
    }
  return out;
}

void writeFile(const char* name, const std::vector<std::uint8_t>& bytes) {
  ASSERT_TRUE(qeltest::writeFileBytes(name, bytes.data(), bytes.size()));
}

std::string logText() { return qeltest::readFileText(kDebugLogFileName); }

class TerrainActorTest : public testing::Test {
 protected:
  void SetUp() override { resetDebugLog(); }
  bool allFlat(const TerrainActor& t) {
    for (std::int32_t k = 0; k < t.vertexCount; ++k)
      if (t.vertices[k].y != 0.0f) return false;
    return t.vertexCount > 0;
  }
};

TEST_F(TerrainActorTest, HeightsFromFileRowsAsStored) {
  // Width 3 (9 pixel bytes + 3 filler per row), 3 rows; a 2x2 grid reads columns 0 and 1.
  writeFile("land.bmp", bmpFile(3, 3, 24, rows24(3, 3, [](int i, int j) { return std::uint8_t(i == 0 ? 128 + j : 255 * j); })));
  TerrainActor terrain;
  EXPECT_EQ(terrain.buildTerrain("LAND.BMP", 2, 20.0f, 0.5f), 1);  // names as Windows matched them
  ASSERT_EQ(terrain.vertexCount, 4);
  ASSERT_EQ(terrain.indexCount, 6);
  EXPECT_EQ(terrain.vertices[0].y, 0.0f);
  EXPECT_EQ(terrain.vertices[1].y, 0.5f);
  EXPECT_EQ(terrain.vertices[2].y, -64.0f);
  EXPECT_EQ(terrain.vertices[3].y, 63.5f);
  EXPECT_EQ(terrain.vertices[3].x, 0.0f);
  EXPECT_EQ(terrain.vertices[0].x, -20.0f);
  EXPECT_EQ(std::vector<std::uint16_t>(terrain.indices, terrain.indices + 6),
            (std::vector<std::uint16_t>{0, 2, 1, 2, 3, 1}));
  ASSERT_NE(terrain.heights, nullptr);
  EXPECT_EQ(terrain.heights[15], 255);  // row 1 starts after the 12-byte stored row
  EXPECT_EQ(logText(), "");
}

TEST_F(TerrainActorTest, UnusableFilesGiveFlatGroundAndALogLine) {
  struct Case {
    const char* what;
    std::vector<std::uint8_t> file;
    const char* message;
  };
  const std::vector<std::uint8_t> full = bmpFile(4, 4, 24, rows24(4, 4, [](int, int) { return std::uint8_t(200); }));
  const Case cases[] = {
      {"short header", std::vector<std::uint8_t>(full.begin(), full.begin() + 30), kHeightMapNotBmpMessage},
      {"short pixels", std::vector<std::uint8_t>(full.begin(), full.end() - 1), kHeightMapShortMessage},
      {"8-bit", bmpFile(4, 4, 8, std::vector<std::uint8_t>(1024 + 16, 200)), kHeightMapNot24BitMessage},
      {"zero width", bmpFile(0, 4, 24, {}), kHeightMapBadSizeMessage},
      {"smaller than the grid", bmpFile(3, 8, 24, rows24(3, 8, [](int, int) { return std::uint8_t(9); })),
       kHeightMapTooSmallMessage},
  };
  for (const Case& c : cases) {
    resetDebugLog();
    writeFile("bad.bmp", c.file);
    TerrainActor terrain;
    EXPECT_EQ(terrain.buildTerrain("bad.bmp", 4, 10.0f, 1.0f), 0) << c.what;
    EXPECT_TRUE(allFlat(terrain)) << c.what;
    EXPECT_EQ(terrain.vertexCount, 16) << c.what;
    EXPECT_EQ(terrain.heights, nullptr) << c.what;
    EXPECT_EQ(logText(), std::string(c.message) + " \"bad.bmp\"\r\n") << c.what;
  }
}

TEST_F(TerrainActorTest, MissingFileAndRefusedGridSizes) {
  TerrainActor flat;
  EXPECT_EQ(flat.buildTerrain("nowhere.bmp", 4, 10.0f, 1.0f), 0);
  EXPECT_TRUE(allFlat(flat));
  EXPECT_NE(logText().find("nowhere.bmp"), std::string::npos);
  EXPECT_EQ(logText().rfind(kOpenFailurePrefix, 0), 0u);

  for (std::int32_t size : {257, 1, 0, -3}) {
    resetDebugLog();
    TerrainActor none;
    EXPECT_EQ(none.buildTerrain("nowhere.bmp", size, 10.0f, 1.0f), 0);
    EXPECT_EQ(none.vertices, nullptr);
    EXPECT_EQ(none.indexCount, 0);
    EXPECT_EQ(logText(), std::string(kTerrainGridRefusedMessage) + " \"nowhere.bmp\"\r\n");
  }
}

TEST_F(TerrainActorTest, CollisionsOnActors) {
  TerrainActor terrain;
  MeshActor walker;
  walker.setPosition(Vector3(0, -10, 0));
  EXPECT_FALSE(terrainContact(walker, terrain, true));  // no terrain mesh yet
  terrain.buildTerrain("nowhere.bmp", 8, 10.0f, 1.0f);
  terrain.setPosition(Vector3(0, 2, 0));

  ParticleActor spark;
  spark.resetParticle(3, 0, 4);
  spark.velocity = Vector3(0, -10, 0);
  EXPECT_TRUE(terrainContact(spark, terrain, true));
  EXPECT_FLOAT_EQ(spark.localMatrix._42, 2.5f);
  EXPECT_NEAR(spark.velocity.y, 6.0f, 1e-5f);

  walker.bounces = 1;  // no velocity to reflect: only lifted
  EXPECT_TRUE(terrainContact(walker, terrain, true));
  EXPECT_FLOAT_EQ(walker.localMatrix._42, 5.0f);

  MeshActor box, noMesh;
  box.setPosition(Vector3(0, 5, 3.7f));
  EXPECT_TRUE(boxOverlap(box, walker, false));
  EXPECT_TRUE(boxOverlap(box, walker, true));
  EXPECT_FLOAT_EQ(box.localMatrix._43, 4.0f);  // set on walker's upper z face
  EXPECT_FALSE(boxMeshContact(box, noMesh, true));
  // The terrain's own mesh is a mesh like any other.
  MeshActor low;
  low.setPosition(Vector3(1, 2.5f, 1));
  EXPECT_TRUE(boxMeshContact(low, terrain, true));
  EXPECT_FLOAT_EQ(low.localMatrix._42, 4.0f);
}

}  // namespace
