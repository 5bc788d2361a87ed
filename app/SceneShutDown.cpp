#include "app/SceneShutDown.h"

#include "actors/ChaserActor.h"
#include "actors/MissileActor.h"
#include "actors/ParticleActor.h"
#include "actors/SkyActor.h"
#include "actors/TerrainActor.h"
#include "app/SceneState.h"
#include "graphics/Renderer.h"

namespace {
template <typename T>
void unlinkAndDelete(T*& actor) {
  if (actor == nullptr) return;
  actor->unlink();
  delete actor;
  actor = nullptr;
}

// The tree's actors are gone with it: forget every pointer into it.
void forgetSceneTreeActors() {
  scene.armBase = scene.armJoint = scene.armClaw = scene.armSphere = nullptr;
  scene.sky = nullptr;
  for (MeshActor*& box : scene.boxes) box = nullptr;
  scene.potObstacle = nullptr;
  scene.player = nullptr;
  scene.terrain = nullptr;
  for (ChaserActor*& enemy : scene.enemies) enemy = nullptr;
}
}  // namespace

void shutDownScene() {
  scene.sceneReady = false;
  if (scene.renderer == nullptr) return;
  for (ParticleActor*& particle : scene.particles) unlinkAndDelete(particle);
  for (MissileActor*& missile : scene.missiles) unlinkAndDelete(missile);
  unlinkAndDelete(scene.particleTemplate);
  if (scene.sceneRoot != nullptr) SceneNode::destroyTree(scene.sceneRoot);
  scene.sceneRoot = nullptr;
  forgetSceneTreeActors();
  if (scene.particleRoot != nullptr) SceneNode::destroyTree(scene.particleRoot);
  scene.particleRoot = nullptr;
  delete scene.renderer;
  scene.renderer = nullptr;
}
