// The committed assets through the engine's own loaders: each model through loadModel into
// the mesh the generator built (counts, positions, material, texture image), the scene's
// bitmaps through the texture table, the height map through TerrainActor, and not one line
// in the debug log.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>

#include "actors/TerrainActor.h"
#include "foundation/DebugLog.h"
#include "tests/support/test_files.h"
#include "tools/assetgen/Models.h"
#include "tools/assetgen/Terrain.h"
#include "graphics/Texture.h"
#include "tools/qelmodel/HeadlessRenderer.h"
#include "tools/qelmodel/TableEntries.h"
#include "xfile/LoadModel.h"
#include "xfile/TQelXFrame.h"
#include "xfile/TQelXMesh.h"

namespace {

// Copies of the committed assets in the scratch directory, the working directory the engine
// names its files from (texture names in the models are bare names).
class AssetLoad : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    for (const auto& entry : std::filesystem::directory_iterator(qeltest::sourceDir() + "/assets")) {
      std::filesystem::copy_file(entry.path(), qeltest::scratchDir() + "/" + entry.path().filename().string(),
                                 std::filesystem::copy_options::overwrite_existing);
    }
  }
  static bool debugLogIsEmpty() {
    return qeltest::readFileBytes(qeltest::scratchDir() + "/" + kDebugLogFileName).empty();
  }
};

struct ModelCase {
  const char* file;
  assetgen::GenMesh (*build)();
  const char* material;
  const char* texture;  // null: the material stands in for a texture
  bool cornerNormals;   // written with one normal per face corner (re-indexed on reading)
};

const ModelCase kModels[] = {
    {"f22.x", assetgen::buildJetMesh, "F22Paint", "f22.bmp", false},
    {"daikon.x", assetgen::buildMissileMesh, "DaikonSkin", "daikon.bmp", false},
    {"box.x", assetgen::buildCrateMesh, "CrateWood", "kibako.bmp", true},
    {"tsubo.x", assetgen::buildPotMesh, "TsuboGlaze", "tsubo.bmp", false},
    {"ball.x", assetgen::buildBallMesh, "BallGrey", nullptr, false},
    {"tsume.x", assetgen::buildClawMesh, "TsumeSteel", "hagane.bmp", false},
    {"sky2.x", assetgen::buildSkyMesh, "SkyDome", "sora.bmp", false},
};

TEST_F(AssetLoad, EveryModelLoadsIntoTheGeneratedMeshWithItsMaterialAndTexture) {
  for (const ModelCase& model : kModels) {
    SCOPED_TRACE(model.file);
    HeadlessRenderer headless;
    ASSERT_TRUE(headless.created());
    TQelXFrame* root = loadModel(headless.target, model.file);
    ASSERT_NE(root, nullptr);
    const TQelXMesh* mesh = root->firstMesh();  // the first mesh is the one the actors copy
    ASSERT_NE(mesh, nullptr);
    const assetgen::GenMesh expected = model.build();
    ASSERT_EQ(mesh->vertexCount, std::int32_t(model.cornerNormals ? expected.faces.size() * 4 : expected.positions.size()));
    ASSERT_EQ(mesh->faceCount, std::int32_t(expected.faces.size()));
    if (!model.cornerNormals) {
      for (std::int32_t i = 0; i < mesh->vertexCount; ++i) {
        const MeshVertex& v = mesh->vertices[i];
        ASSERT_NEAR(v.x, expected.positions[i].x, 1e-5);
        ASSERT_NEAR(v.y, expected.positions[i].y, 1e-5);
        ASSERT_NEAR(v.z, expected.positions[i].z, 1e-5);
        ASSERT_NEAR(v.nz, expected.normals[i].z, 1e-5);
        ASSERT_NEAR(v.tv, expected.uvs[i].v, 1e-5);
      }
    } else {
      // Re-indexed: corner c of the faces in order became vertex c, with normal c.
      std::int32_t c = 0;
      for (std::size_t f = 0; f < expected.faces.size(); ++f) {
        for (std::size_t k = 0; k < expected.faces[f].size(); ++k) {
          const int corner = expected.faces[f][k];
          ASSERT_EQ(mesh->faces[f]->indices[k], c);
          EXPECT_FLOAT_EQ(mesh->vertices[c].x, float(expected.positions[corner].x));
          EXPECT_FLOAT_EQ(mesh->vertices[c].ny, float(expected.normals[corner].y));
          EXPECT_FLOAT_EQ(mesh->vertices[c].tu, float(expected.uvs[corner].u));
          ++c;
        }
      }
    }
    std::int32_t indexCount = 0;
    std::uint16_t* triangles = firstMeshTriangles(root, &indexCount);
    EXPECT_EQ(indexCount, 3 * expected.triangleCount());
    delete[] triangles;

    ASSERT_NE(mesh->material, nullptr);
    EXPECT_STREQ(mesh->material->name.c_str(), model.material);
    const Texture* image = imageOf(firstMeshTexture(root));
    if (model.texture) {
      ASSERT_NE(image, nullptr);
      EXPECT_STREQ(image->name.c_str(), model.texture);
    } else {
      EXPECT_EQ(image, nullptr);
      EXPECT_EQ(firstMeshTexture(root), mesh->material);
    }
    root->release();
  }
  EXPECT_TRUE(debugLogIsEmpty());
}

TEST_F(AssetLoad, SceneBitmapsLoadAsTextures) {
  HeadlessRenderer headless;
  ASSERT_TRUE(headless.created());
  for (const char* name : {"check.bmp", "akakumo.bmp", "map.bmp", "bakuhatsu.BMP"}) {
    const Texture* entry = headless.renderer.getTexture(name);
    ASSERT_NE(entry, nullptr) << name;
    EXPECT_TRUE(isImageEntry(entry)) << name;
  }
  EXPECT_TRUE(debugLogIsEmpty());
}

// Vertex (row, column) of the scene's 64 x 64 grid: x = (column - 32) * 20, z = (row - 32) * 20.
float groundAt(const TerrainActor& terrain, int row, int column) { return terrain.vertices[row * 64 + column].y; }

TEST_F(AssetLoad, HeightMapGivesLowGroundAtTheStartAndThePotsPlateau) {
  TerrainActor terrain;
  ASSERT_EQ(terrain.buildTerrain("land.bmp", 64, 20.0f, 0.19999999f), 1);
  ASSERT_EQ(terrain.vertexCount, 64 * 64);
  // The arm at the origin and the player at (0, 0, -10) stand clear: actors keep 3 units up.
  for (int row : {31, 32, 33}) {
    for (int column : {31, 32, 33}) EXPECT_LT(groundAt(terrain, row, column), -3.0f) << row << "," << column;
  }
  // The pot stands at (120, 5, 150): column 38, between rows 39 and 40, on flat ground at 5.
  for (int row : {39, 40}) {
    for (int column : {37, 38, 39}) EXPECT_NEAR(groundAt(terrain, row, column), 5.0f, 1e-4f) << row << "," << column;
  }
  // Hills to fly over: the grid is not flat.
  float low = 1e9f, high = -1e9f;
  for (std::int32_t i = 0; i < terrain.vertexCount; ++i) {
    low = std::fmin(low, terrain.vertices[i].y);
    high = std::fmax(high, terrain.vertices[i].y);
  }
  EXPECT_GT(high - low, 25.0f);
  EXPECT_TRUE(debugLogIsEmpty());
}

}  // namespace
