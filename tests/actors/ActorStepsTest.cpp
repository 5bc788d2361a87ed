// One frame of each moving actor: missile homing, chaser banking and pulling, particle
// integration, ageing and colour, sky following.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "actors/ChaserActor.h"
#include "actors/MissileActor.h"
#include "actors/ParticleActor.h"
#include "actors/SkyActor.h"

namespace {

void expectRow(const Matrix4& m, int row, float a, float b, float c, float tolerance = 1e-6f) {
  EXPECT_NEAR(m.at(row, 0), a, tolerance) << "row " << row;
  EXPECT_NEAR(m.at(row, 1), b, tolerance) << "row " << row;
  EXPECT_NEAR(m.at(row, 2), c, tolerance) << "row " << row;
}

bool finite(const Matrix4& m) {
  for (int k = 0; k < 16; ++k)
    if (!std::isfinite(m.at(k / 4, k % 4))) return false;
  return true;
}

TEST(MissileActor, TurnsTowardTargetThenAdvances) {
  MeshActor root, target;
  MissileActor missile;
  root.insertChild(&missile);
  root.insertChild(&target);
  target.setPosition(Vector3(10, 0, 0));
  missile.setTargetActor(&target);
  root.update();
  const float s = std::sin(0.04f), c = std::cos(0.04f);
  expectRow(missile.localMatrix, 2, s, 0, c);
  expectRow(missile.localMatrix, 3, 1.7f * s, 0, 1.7f * c);
  expectRow(missile.localMatrix, 1, 0, 1, 0);
}

TEST(MissileActor, NoTurnWithoutDirection) {
  MissileActor idle;
  idle.update();
  expectRow(idle.localMatrix, 3, 0, 0, 0);
  // Ahead, behind and exactly on the missile: no turn, only the advance, never a NaN.
  for (float targetZ : {30.0f, -30.0f, 0.0f}) {
    MeshActor target;
    target.setPosition(Vector3(0, 0, targetZ));
    MissileActor missile;
    missile.setTargetActor(&target);
    missile.update();
    missile.update();
    ASSERT_TRUE(finite(missile.localMatrix)) << targetZ;
    expectRow(missile.localMatrix, 2, 0, 0, 1);
    expectRow(missile.localMatrix, 3, 0, 0, 3.4f, 1e-5f);
  }
}

TEST(ChaserActor, PullsUpTowardTargetAbove) {
  MeshActor target;
  target.setPosition(Vector3(0, 10, 10));
  ChaserActor chaser;
  chaser.setTargetActor(&target);
  chaser.update();
  const float s = std::sin(0.02f), c = std::cos(0.02f);
  expectRow(chaser.localMatrix, 0, 1, 0, 0);  // no roll
  expectRow(chaser.localMatrix, 2, 0, s, c);
  expectRow(chaser.localMatrix, 3, 0, 0.5f * s, 0.5f * c);
}

TEST(ChaserActor, BanksTowardTargetAside) {
  MeshActor target;
  target.setPosition(Vector3(10, 0, 10));
  ChaserActor chaser;
  chaser.setTargetActor(&target);
  chaser.update();
  const float s = std::sin(0.04f), c = std::cos(0.04f);
  expectRow(chaser.localMatrix, 0, c, -s, 0);  // Roll(-0.04)
  expectRow(chaser.localMatrix, 2, 0, 0, 1);
  expectRow(chaser.localMatrix, 3, 0, 0, 0.5f);
  // A target on the chaser itself: neither roll nor pitch, only the advance.
  ChaserActor onTop;
  MeshActor here;
  here.setPosition(Vector3(0, 0, 0));
  onTop.setTargetActor(&here);
  onTop.update();
  expectRow(onTop.localMatrix, 0, 1, 0, 0);
  expectRow(onTop.localMatrix, 3, 0, 0, 0.5f);
}

TEST(ParticleActor, IntegratesGravityAndDragInOrder) {
  ParticleActor p;
  EXPECT_EQ(p.bounces, 1);
  EXPECT_EQ(p.groundOffset, -0.5f);
  EXPECT_EQ(p.velocity.y, 0.0f);  // before any reset
  p.resetParticle(1, 2, 3);
  p.update();
  expectRow(p.localMatrix, 3, 1, 2, 3);
  EXPECT_FLOAT_EQ(p.velocity.y, -0.0245f);
  p.update();
  EXPECT_FLOAT_EQ(p.localMatrix._42, 2 - 0.0245f);
  EXPECT_FLOAT_EQ(p.velocity.y, -0.0245f * 2 + 0.000245f);
  EXPECT_EQ(p.force.y, 0.0f);
  EXPECT_EQ(p.life, 510);
  // A trail particle of mass 0.05 loses 20 % of its speed per frame to drag.
  ParticleActor trail;
  trail.resetParticle(0, 0, 0);
  trail.mass = 0.05f;
  trail.velocity = Vector3(1, 0, 0);
  trail.update();
  EXPECT_FLOAT_EQ(trail.velocity.x, 0.8f);
  EXPECT_FLOAT_EQ(trail.velocity.y, -0.0245f);
}

TEST(ParticleActor, ColourFadesWithLife) {
  ParticleActor p;
  p.resetParticle(0, 0, 0);
  EXPECT_EQ(p.colour(), 0xFFFFFFFFu);
  p.life = 256;
  EXPECT_EQ(p.colour(), 0xFF7F7F7Fu);
  p.life = 1;
  EXPECT_EQ(p.colour(), 0xFF000000u);
}

TEST(ParticleActor, ExpiredParticlesUnlinkAfterTheRingIsWalked) {
  MeshActor root;
  std::vector<std::unique_ptr<ParticleActor>> pool(1025);
  for (std::size_t k = 0; k < pool.size(); ++k) {
    pool[k] = std::make_unique<ParticleActor>();
    pool[k]->resetParticle(0, 0, 0);
    pool[k]->life = k % 2 == 0 ? 1 : 3;  // every other one expires this frame
    root.insertChild(pool[k].get());
  }
  root.update();
  std::size_t linked = 0;
  for (SceneNode* n = root.firstChild(); n != nullptr; n = n->nextSibling()) {
    EXPECT_EQ(static_cast<ParticleActor*>(n)->life, 2);
    ++linked;
  }
  EXPECT_EQ(linked, 512u);
  EXPECT_EQ(pool[0]->parent, nullptr);
  EXPECT_EQ(pool[0]->life, 0);
  // Every particle moved exactly once.
  for (const auto& p : pool) EXPECT_FLOAT_EQ(p->velocity.y, -0.0245f);
  root.update();
  root.update();
  EXPECT_EQ(root.firstChild(), nullptr);
}

TEST(SkyActor, TakesThePositionOfItsFollowMatrix) {
  SkyActor sky;
  sky.localMatrix = rotationXMatrix(0.5f);
  sky.localMatrix._41 = -4;
  sky.draw(nullptr, IdentityMatrix);
  EXPECT_EQ(sky.localMatrix._41, -4.0f);  // nothing to follow
  Matrix4 camera = rotationXMatrix(1.0f);
  camera._41 = 5, camera._42 = 6, camera._43 = 7;
  sky.followMatrix = &camera;
  sky.draw(nullptr, IdentityMatrix);
  expectRow(sky.localMatrix, 3, 5, 6, 7);
  EXPECT_FLOAT_EQ(sky.localMatrix._22, std::cos(0.5f));  // orientation kept
}

}  // namespace
