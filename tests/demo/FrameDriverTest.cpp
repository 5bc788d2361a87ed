// The frame driver, frame by frame: the 20 ms gate, both control schemes, firing from the
// missile ring, enemy 3's targets, hits bursting into the particle ring, the frame-rate text.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "actors/ChaserActor.h"
#include "actors/MissileActor.h"
#include "actors/ParticleActor.h"
#include "app/FrameDriver.h"
#include "app/FramePasses.h"
#include "app/Missiles.h"
#include "app/SceneCollisions.h"
#include "platform/win32/WinUser.h"
#include "tests/demo/DemoFixture.h"

namespace demotest {
namespace {

class FrameDriver : public DemoTest {
 protected:
  // The scene, with the player lifted far above everything so that nothing touches it.
  void setUpInTheAir() {
    copyAssets();
    setUpDemoScene();
    moveTo(*scene.player, 0.0f, 150.0f, -10.0f);
  }
};

TEST_F(FrameDriver, SecondCallNineteenMillisecondsLaterChangesNothing) {
  setUpDemoScene();
  clock->now = 1000;
  dispatchAndRun();
  EXPECT_EQ(1000u, scene.lastFrameTime);
  const float phase = scene.ornamentPhase;
  const Matrix4 arm = scene.armBase->localMatrix;
  advance(19);
  dispatchAndRun();
  EXPECT_EQ(1000u, scene.lastFrameTime);
  EXPECT_EQ(phase, scene.ornamentPhase);
  EXPECT_EQ(0, std::memcmp(&arm, &scene.armBase->localMatrix, sizeof arm));
  advance(1);
  dispatchAndRun();
  EXPECT_EQ(1020u, scene.lastFrameTime);
  EXPECT_FLOAT_EQ(phase + 0.05f, scene.ornamentPhase);
}

TEST_F(FrameDriver, GateSurvivesTheCounterWrapping) {
  setUpDemoScene();
  scene.lastFrameTime = 0xFFFFFFF0u;
  clock->now = 0xFFFFFFF0u + 19;
  runFrame();
  EXPECT_EQ(0xFFFFFFF0u, scene.lastFrameTime);
  clock->now = 4;  // 20 ms after, across the wrap
  runFrame();
  EXPECT_EQ(4u, scene.lastFrameTime);
  EXPECT_FLOAT_EQ(0.05f, scene.ornamentPhase);
}

TEST_F(FrameDriver, WithoutSceneOnlyTheGateTimeMoves) {
  clock->now = 500;
  runFrame();
  EXPECT_EQ(500u, scene.lastFrameTime);
  EXPECT_EQ(0.0f, scene.ornamentPhase);
  EXPECT_EQ(0u, scene.lastFpsTime);
}

TEST_F(FrameDriver, HoverGravityPullsEverFaster) {
  setUpInTheAir();
  float y = 150.0f;
  for (int k = 1; k <= 4; ++k) {
    frame();
    EXPECT_FLOAT_EQ(-0.01f, scene.climbAccel);
    EXPECT_NEAR(-0.01f * float(k), scene.climbSpeed, 1e-6);
    y += scene.climbSpeed;
    EXPECT_NEAR(y, scene.player->localMatrix._42, 1e-4);
  }
}

TEST_F(FrameDriver, TouchingTheGroundStopsTheFall) {
  setUpInTheAir();
  moveTo(*scene.player, 0.0f, -100.0f, -10.0f);  // under the terrain
  scene.climbSpeed = -3.0f;
  frame();
  EXPECT_EQ(0.0f, scene.climbAccel);
  EXPECT_EQ(0.0f, scene.climbSpeed);
  EXPECT_GT(scene.player->localMatrix._42, -100.0f);
}

TEST_F(FrameDriver, UpHeldInHoverPushesDown) {
  setUpInTheAir();
  keyDown(VK_UP);
  frame();
  EXPECT_FLOAT_EQ(-0.11f, scene.climbAccel);
  frame();
  EXPECT_FLOAT_EQ(-0.11f, scene.climbAccel);
  EXPECT_FLOAT_EQ(-0.22f, scene.climbSpeed);
  keyUp(VK_UP);
  keyDown(VK_DOWN);
  frame();
  EXPECT_FLOAT_EQ(0.09f, scene.climbAccel);
}

TEST_F(FrameDriver, HoverKeysTurnAndStepInThePlayersFrame) {
  setUpInTheAir();
  keyDown(VK_NUMPAD6);
  keyDown(VK_NUMPAD8);
  frame();
  const Matrix4& p = scene.player->localMatrix;
  // Turned 0.05 about its own vertical axis, then stepped 0.8 along the turned nose.
  EXPECT_NEAR(std::cos(0.05f), p._11, 1e-6);
  EXPECT_NEAR(-std::sin(0.05f), p._13, 1e-6);
  EXPECT_NEAR(0.8f * std::sin(0.05f), p._41, 1e-5);
  EXPECT_NEAR(-10.0f + 0.8f * std::cos(0.05f), p._43, 1e-5);
}

TEST_F(FrameDriver, ThrottleRampsInFlight) {
  setUpInTheAir();
  scene.hoverControls = 0;
  keyDown(VK_UP);
  const float expectedMoves[] = {0.0f, 0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.5f};
  float z = -10.0f;
  for (int k = 0; k < 7; ++k) {
    if (k == 5) keyUp(VK_UP);
    frame();
    z += expectedMoves[k];
    EXPECT_NEAR(z, scene.player->localMatrix._43, 1e-5) << "frame " << k + 1;
    EXPECT_FLOAT_EQ(150.0f, scene.player->localMatrix._42);  // no hover motion in flight
  }
  EXPECT_FLOAT_EQ(0.5f, scene.throttle);
  keyDown(VK_DOWN);
  for (int k = 0; k < 7; ++k) frame();
  EXPECT_NEAR(-0.2f, scene.throttle, 1e-6);  // below zero: flies backwards
}

TEST_F(FrameDriver, FlightKeysRollAndPitch) {
  setUpInTheAir();
  scene.hoverControls = 0;
  keyDown(VK_NUMPAD4);
  frame();
  EXPECT_NEAR(std::sin(0.1f), scene.player->localMatrix._12, 1e-6);  // Roll(0.1)
  keyUp(VK_NUMPAD4);
  keyDown(VK_NUMPAD2);
  const Matrix4 before = scene.player->localMatrix;
  frame();
  const Matrix4 expected = rotationXMatrix(-0.05f) * before;
  EXPECT_NEAR(expected._32, scene.player->localMatrix._32, 1e-6);
  EXPECT_NEAR(expected._33, scene.player->localMatrix._33, 1e-6);
}

TEST_F(FrameDriver, SpaceHeldFiresOnFramesOneTwentyOneFortyOne) {
  setUpInTheAir();
  keyDown(VK_SPACE);
  for (int k = 1; k <= 45; ++k) {
    frame();
    const int fired = k >= 41 ? 3 : k >= 21 ? 2 : 1;
    ASSERT_EQ(fired, scene.nextMissile) << "frame " << k;
    if (k == 1 || k == 21 || k == 41) {
      ASSERT_EQ(19, scene.fireCooldown) << "frame " << k;
    }
  }
  EXPECT_EQ(15, scene.fireCooldown);
  keyUp(VK_SPACE);
  for (int k = 0; k < 20; ++k) frame();
  EXPECT_EQ(0, scene.fireCooldown);
  EXPECT_EQ(3, scene.nextMissile);
}

TEST_F(FrameDriver, FiredMissileLeavesFromThePlayerTowardAnEnemy) {
  setUpInTheAir();
  keyDown(VK_SPACE);
  frame();
  MissileActor& m = *scene.missiles[0];
  EXPECT_EQ(scene.sceneRoot, m.parent);
  ASSERT_NE(nullptr, m.targetActor);
  bool targetIsEnemy = false;
  for (ChaserActor* enemy : scene.enemies) targetIsEnemy = targetIsEnemy || m.targetActor == enemy;
  EXPECT_TRUE(targetIsEnemy);
  EXPECT_EQ(static_cast<MeshActor*>(&m), scene.enemies[3]->targetActor);
  // Appended to the end of the scene ring.
  EXPECT_EQ(&m, scene.sceneRoot->childRing.previous);
  // It left from the player's transform (placed before its first update, next frame).
  EXPECT_FLOAT_EQ(150.0f, m.localMatrix._42);
}

TEST_F(FrameDriver, EnemyThreeChasesPlayerThenMissilesThenEnemyZero) {
  setUpInTheAir();
  EXPECT_EQ(scene.player, scene.enemies[3]->targetActor);
  keyDown(VK_SPACE);
  frame();
  EXPECT_EQ(static_cast<MeshActor*>(scene.missiles[0]), scene.enemies[3]->targetActor);
  explode(*scene.missiles[0]);
  EXPECT_EQ(static_cast<MeshActor*>(scene.enemies[0]), scene.enemies[3]->targetActor);
  for (int k = 0; k < 20; ++k) frame();
  EXPECT_EQ(static_cast<MeshActor*>(scene.missiles[1]), scene.enemies[3]->targetActor);
}

TEST_F(FrameDriver, HitBurstsIntoParticlesAndLeavesTwoTrailsAtTheOrigin) {
  setUpInTheAir();
  MissileActor& m = *scene.missiles[0];
  ChaserActor& target = *scene.enemies[1];
  m.localMatrix = target.localMatrix;
  m.setTargetActor(&target);
  scene.sceneRoot->insertChild(&m);
  const Vector3 hit = m.position();
  updateMissiles();
  EXPECT_EQ(nullptr, m.parent);
  EXPECT_EQ(0, std::memcmp(&IdentityMatrix, &m.localMatrix, sizeof(Matrix4)));
  EXPECT_EQ(kExplosionParticles + kTrailParticles, scene.nextParticle);
  for (int k = 0; k < kExplosionParticles; ++k) {
    const ParticleActor& p = *scene.particles[k];
    ASSERT_EQ(scene.particleRoot, p.parent);
    ASSERT_EQ(512, p.life);
    ASSERT_EQ(1.0f, p.mass);
    ASSERT_EQ(hit.x, p.localMatrix._41);
    ASSERT_EQ(hit.z, p.localMatrix._43);
    ASSERT_LE(std::fabs(p.velocity.x), 2.0f);
  }
  for (int k = kExplosionParticles; k < kExplosionParticles + kTrailParticles; ++k) {
    const ParticleActor& p = *scene.particles[k];
    EXPECT_EQ(scene.particleRoot, p.parent);
    EXPECT_EQ(256, p.life);
    EXPECT_EQ(0.05f, p.mass);
    EXPECT_EQ(0.0f, p.localMatrix._41);
    EXPECT_EQ(0.0f, p.localMatrix._42);
    EXPECT_EQ(0.0f, p.localMatrix._43);
    EXPECT_LE(std::fabs(p.velocity.y), 0.25f);
  }
  EXPECT_EQ(static_cast<MeshActor*>(scene.enemies[0]), scene.enemies[3]->targetActor);
}

TEST_F(FrameDriver, FlyingMissileLeavesTwoTrailParticlesPerFrame) {
  setUpInTheAir();
  keyDown(VK_SPACE);
  frame();
  keyUp(VK_SPACE);
  EXPECT_EQ(2, scene.nextParticle);
  frame();
  EXPECT_EQ(4, scene.nextParticle);
  EXPECT_EQ(0.05f, scene.particles[3]->mass);
}

TEST_F(FrameDriver, ParticleRingWrapsOntoItsOldestEntry) {
  setUpInTheAir();
  scene.nextParticle = kParticleCount - 1;
  explode(*scene.missiles[4]);
  EXPECT_EQ(kExplosionParticles - 1, scene.nextParticle);
  EXPECT_EQ(scene.particleRoot, scene.particles[kParticleCount - 1]->parent);
  EXPECT_EQ(scene.particleRoot, scene.particles[0]->parent);
  // The reused entries went to the end of the particle ring: the template is still first.
  EXPECT_EQ(scene.particleTemplate, scene.particleRoot->firstChild());
}

TEST_F(FrameDriver, FrameRateTextAfterTwentyMilliseconds) {
  char text[kFrameRateTextSize];
  formatFrameRate(20, text);
  EXPECT_STREQ("FPS =50.000000", text);
  formatFrameRate(0, text);
  EXPECT_STREQ("FPS =inf", text);
  setUpDemoScene();
  clock->now = 4000;
  dispatchAndRun();
  EXPECT_EQ(4000u, scene.lastFpsTime);
  advance(20);
  dispatchAndRun();
  EXPECT_EQ(4020u, scene.lastFpsTime);
}

}  // namespace
}  // namespace demotest
