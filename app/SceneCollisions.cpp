#include "app/SceneCollisions.h"

#include "actors/ActorCollisions.h"
#include "actors/ChaserActor.h"
#include "actors/MissileActor.h"
#include "actors/ParticleActor.h"
#include "actors/TerrainActor.h"
#include "app/SceneState.h"

namespace {
constexpr float kHoverGravity = 0.01f;  // climbAccel lost per frame in the air

void stopClimb(bool& touching) {
  scene.climbAccel = 0.0f;
  scene.climbSpeed = 0.0f;
  touching = true;
}
}  // namespace

bool resolvePlayerCollisions() {
  bool touching = false;
  MeshActor* player = scene.player;
  if (player != nullptr) {
    for (MeshActor* box : scene.boxes)
      if (box != nullptr && boxOverlap(*player, *box, true)) stopClimb(touching);
    if (scene.potObstacle != nullptr && boxMeshContact(*player, *scene.potObstacle, true)) stopClimb(touching);
    if (scene.terrain != nullptr && terrainContact(*player, *scene.terrain, true)) stopClimb(touching);
  }
  if (!touching) scene.climbAccel -= kHoverGravity;
  return touching;
}

void holdAboveTerrain() {
  if (scene.terrain == nullptr) return;
  const TerrainActor& ground = *scene.terrain;
  for (ChaserActor* enemy : scene.enemies)
    if (enemy != nullptr) terrainContact(*enemy, ground, true);
  for (ParticleActor* particle : scene.particles)
    if (particle != nullptr) terrainContact(*particle, ground, true);
  for (MissileActor* missile : scene.missiles)
    if (missile != nullptr) terrainContact(*missile, ground, true);
}
