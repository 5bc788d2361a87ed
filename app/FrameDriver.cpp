#include "app/FrameDriver.h"

#include <cmath>

#include "actors/MeshActor.h"
#include "app/FramePasses.h"
#include "app/Missiles.h"
#include "app/PlayerControls.h"
#include "app/SceneCollisions.h"
#include "app/SceneState.h"
#include "graphics/LastResult.h"
#include "graphics/Renderer.h"
#include "platform/win32/MMSystem.h"

namespace {
constexpr float kArmSpin = 0.02f;       // radians per frame about x
constexpr float kJointSwing = 0.04f;    // roll amplitude per frame
constexpr float kClawSwing = 0.05f;     // pitch amplitude per frame
constexpr float kOrnamentStep = 0.05f;  // radians per frame
}  // namespace

void runFrame() {
  if (timeGetTime() - scene.lastFrameTime < kFrameInterval) return;  // unsigned: wraps
  scene.lastFrameTime = timeGetTime();
  if (!scene.sceneReady) return;
  stepFrame();
}

void animateArm() {
  if (scene.armBase != nullptr) scene.armBase->localMatrix = rotationXMatrix(kArmSpin) * scene.armBase->localMatrix;
  const float swing = std::cos(scene.ornamentPhase);
  if (scene.armJoint != nullptr)
    scene.armJoint->localMatrix = rotationZMatrix(swing * kJointSwing) * scene.armJoint->localMatrix;
  if (scene.armClaw != nullptr)
    scene.armClaw->localMatrix = rotationXMatrix(swing * kClawSwing) * scene.armClaw->localMatrix;
  scene.ornamentPhase += kOrnamentStep;
}

void stepFrame() {
  clearFrame();
  animateArm();
  IDirect3DDevice3* device = scene.renderer != nullptr ? scene.renderer->device : nullptr;
  if (device != nullptr) lastResult = device->BeginScene();
  applyPlayerControls();
  if (scene.particleRoot != nullptr) scene.particleRoot->update();
  if (scene.sceneRoot != nullptr) scene.sceneRoot->update();
  fireMissiles();
  resolvePlayerCollisions();
  updateMissiles();
  holdAboveTerrain();
  applyHoverMotion();
  placeCamera();
  drawScenePass();
  drawParticlePass();
  if (device != nullptr) lastResult = device->EndScene();
  drawFrameRate();
  presentFrame();
}
