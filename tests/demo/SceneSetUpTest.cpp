// The scene set-up: the random generator and its constants, the enemies placed from seed 30,
// the two trees in their order, targets, the particle template, textures and camera.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <vector>

#include "actors/ChaserActor.h"
#include "actors/MissileActor.h"
#include "actors/ParticleActor.h"
#include "actors/SkyActor.h"
#include "actors/TerrainActor.h"
#include "app/RandomGenerator.h"
#include "app/SceneSetUp.h"
#include "foundation/DebugLog.h"
#include "graphics/Renderer.h"
#include "tests/demo/DemoFixture.h"
#include "tests/support/test_files.h"

namespace demotest {
namespace {

TEST(RandomGenerator, SeedThirtyGivesTheSceneDraws) {
  seedRandom(30);
  EXPECT_EQ(136, drawRandom());
  EXPECT_EQ(8951401u, randomState());
  for (int expected : {2491, 107, 3440, 23380, 31295, 3435, 10003}) EXPECT_EQ(expected, drawRandom());
}

TEST(RandomGenerator, StateWrapsAndDrawsStayInFifteenBits) {
  seedRandom(0xFFFFFFFFu);
  const std::int32_t first = drawRandom();
  EXPECT_EQ(std::uint32_t(0xFFFFFFFFu * 214013u + 2531011u), randomState());
  EXPECT_EQ(std::int32_t((randomState() >> 16) & 32767u), first);
  for (int k = 0; k < 10000; ++k) {
    const std::int32_t r = drawRandom();
    ASSERT_GE(r, 0);
    ASSERT_LE(r, 32767);
  }
}

TEST(SceneConstants, FloatsHaveTheirBitPatterns) {
  EXPECT_EQ(0x38000100u, std::bit_cast<std::uint32_t>(kRandomUnit));
  EXPECT_EQ(0x37800100u, std::bit_cast<std::uint32_t>(kHeadingUnit));
  EXPECT_EQ(0x3E4CCCCCu, std::bit_cast<std::uint32_t>(kTerrainHeightScale));
  EXPECT_EQ(0x40490FDBu, std::bit_cast<std::uint32_t>(kPi));
  EXPECT_EQ(1.0f, 32767.0f * kRandomUnit);
}

class SceneSetUp : public DemoTest {};

std::vector<SceneNode*> children(const SceneNode& parent) {
  std::vector<SceneNode*> ring;
  for (SceneNode* node = parent.firstChild(); node != nullptr; node = node->nextSibling()) ring.push_back(node);
  return ring;
}

TEST_F(SceneSetUp, SceneRootRingHoldsTwelveActorsInOrder) {
  setUpDemoScene();
  const std::vector<SceneNode*> expected{scene.armBase, scene.sky,     scene.boxes[0],   scene.boxes[1],
                                         scene.boxes[2], scene.potObstacle, scene.player, scene.terrain,
                                         scene.enemies[0], scene.enemies[1], scene.enemies[2], scene.enemies[3]};
  EXPECT_EQ(expected, children(*scene.sceneRoot));
  EXPECT_EQ(std::vector<SceneNode*>{scene.armJoint}, children(*scene.armBase));
  EXPECT_EQ((std::vector<SceneNode*>{scene.armClaw, scene.armSphere}), children(*scene.armJoint));
  EXPECT_EQ(std::vector<SceneNode*>{scene.particleTemplate}, children(*scene.particleRoot));
  for (MissileActor* m : scene.missiles) EXPECT_EQ(nullptr, m->parent);
  for (ParticleActor* p : scene.particles) EXPECT_EQ(nullptr, p->parent);
  EXPECT_TRUE(scene.sceneReady);
}

TEST_F(SceneSetUp, EnemiesArePlacedFromSeedThirty) {
  setUpDemoScene();
  // Enemy 0 from the draws 136, 2491, 107, 3440; enemy 1 from 23380, 31295, 3435, 10003.
  struct Placement {
    float x, y, z, heading;
  };
  const Placement expected[2] = {{0.01306f, 2.07602f, 0.01660f, 0.16491f}, {0.41932f, 2.95508f, 2.85409f, 0.47953f}};
  for (int i = 0; i < 2; ++i) {
    const Matrix4& m = scene.enemies[i]->localMatrix;
    EXPECT_NEAR(expected[i].x, m._41, 1e-5);
    EXPECT_NEAR(expected[i].y, m._42, 1e-5);
    EXPECT_NEAR(expected[i].z, m._43, 1e-5);
    EXPECT_NEAR(std::cos(expected[i].heading), m._11, 1e-5);
    EXPECT_NEAR(-std::sin(expected[i].heading), m._13, 1e-5);
    EXPECT_NEAR(std::sin(expected[i].heading), m._31, 1e-5);
    EXPECT_EQ(1.0f, m._22);
  }
  for (ChaserActor* enemy : scene.enemies) {
    const Vector3 p = enemy->position();
    EXPECT_TRUE(p.x >= 0 && p.x <= 4 && p.y >= 2 && p.y <= 3 && p.z >= 0 && p.z <= 4);
  }
}

TEST_F(SceneSetUp, GeneratorHasTakenSixteenDrawsAfterSetUp) {
  setUpDemoScene();
  const std::uint32_t state = randomState();
  seedRandom(30);
  for (int k = 0; k < 16; ++k) drawRandom();
  EXPECT_EQ(randomState(), state);
}

TEST_F(SceneSetUp, TargetsPlacementsAndCamera) {
  setUpDemoScene();
  EXPECT_EQ(scene.enemies[1], scene.enemies[0]->targetActor);
  EXPECT_EQ(scene.enemies[2], scene.enemies[1]->targetActor);
  EXPECT_EQ(scene.enemies[3], scene.enemies[2]->targetActor);
  EXPECT_EQ(scene.player, scene.enemies[3]->targetActor);
  for (MissileActor* m : scene.missiles) EXPECT_EQ(nullptr, m->targetActor);

  const Vector3 player = scene.player->position();
  EXPECT_EQ(0.0f, player.x);
  EXPECT_EQ(0.0f, player.y);
  EXPECT_EQ(-10.0f, player.z);
  EXPECT_EQ(120.0f, scene.potObstacle->localMatrix._41);
  EXPECT_EQ(150.0f, scene.potObstacle->localMatrix._43);
  EXPECT_EQ(3.0f, scene.boxes[1]->localMatrix._41);
  EXPECT_EQ(25.0f, scene.boxes[1]->localMatrix._42);
  EXPECT_EQ(86.0f, scene.boxes[1]->localMatrix._43);
  EXPECT_EQ(2.0f, scene.armSphere->localMatrix._41);
  EXPECT_EQ(2.0f, scene.armClaw->localMatrix._42);

  const ParticleActor& spark = *scene.particleTemplate;
  EXPECT_EQ(-10.0f, spark.localMatrix._43);
  EXPECT_EQ(512, spark.life);
  EXPECT_EQ(1.0f, spark.mass);
  EXPECT_EQ(0.0f, spark.velocity.y);

  EXPECT_EQ(&scene.cameraMatrix, scene.sky->followMatrix);
  EXPECT_EQ(-10.0f, scene.cameraMatrix._43);
  EXPECT_EQ(528, scene.armSphere->vertexCount);
  EXPECT_EQ(64, scene.terrain->gridSize);
  EXPECT_EQ(kTerrainHeightScale, scene.terrain->heightScale);
  EXPECT_EQ(20.0f, scene.terrain->cellSize);
}

TEST_F(SceneSetUp, ModelsAndTexturesComeFromTheAssets) {
  if (!copyAssets()) GTEST_SKIP() << "no assets";
  resetDebugLog();
  setUpDemoScene();
  for (MeshActor* actor : {scene.armBase, scene.armJoint, scene.armClaw, scene.player, scene.boxes[0],
                           scene.potObstacle, static_cast<MeshActor*>(scene.sky), static_cast<MeshActor*>(scene.missiles[15]),
                           static_cast<MeshActor*>(scene.enemies[3])})
    EXPECT_NE(nullptr, actor->vertices);
  // The arm's replaced textures and the one texture of every particle.
  IDirect3DTexture2* spark = scene.particleTemplate->texture;
  ASSERT_NE(nullptr, spark);
  for (ParticleActor* p : scene.particles) ASSERT_EQ(spark, p->texture);
  EXPECT_NE(nullptr, scene.armBase->texture);
  EXPECT_EQ(scene.armJoint->texture, scene.armSphere->texture);
  EXPECT_NE(scene.armBase->texture, scene.armJoint->texture);
  EXPECT_NE(nullptr, scene.terrain->texture);
  EXPECT_NE(nullptr, scene.player->texture);  // the model's own texture
  EXPECT_EQ(scene.player->texture, scene.enemies[0]->texture);
  // The terrain's planar mapping: tu = x / 200.
  EXPECT_FLOAT_EQ(scene.terrain->vertices[0].x / 200.0f, scene.terrain->vertices[0].tu);
  EXPECT_TRUE(qeltest::readFileText("QelDebug.txt").empty());
}

}  // namespace
}  // namespace demotest
