#include "app/Missiles.h"

#include "actors/ActorCollisions.h"
#include "actors/ChaserActor.h"
#include "actors/MissileActor.h"
#include "actors/ParticleActor.h"
#include "app/PlayerControls.h"
#include "app/RandomGenerator.h"
#include "app/SceneState.h"
#include "platform/win32/WinUser.h"

namespace {

constexpr float kTrailMass = 0.05f;
constexpr std::int32_t kTrailLife = 256;
constexpr float kBurstSpeed = 8.0f;
constexpr float kBurstMass = 1.0f;

float centredRandom() { return float(drawRandom()) * kRandomUnit - 0.5f; }

// Six draws r1..r6 give (u(r6)u(r5), u(r4)u(r3), u(r2)u(r1)) times `scale`.
Vector3 randomVelocity(float scale) {
  float u[6];
  for (float& value : u) value = centredRandom();
  return Vector3(scale * u[5] * u[4], scale * u[3] * u[2], scale * u[1] * u[0]);
}

// The next particle of the ring, reset at `position` and linked at the end of the particle
// tree; null when the pool was never created.
ParticleActor* emitParticle(const Vector3& position) {
  ParticleActor* p = scene.particles[scene.nextParticle];
  scene.nextParticle = (scene.nextParticle + 1) % kParticleCount;
  if (p == nullptr) return nullptr;
  p->resetParticle(position.x, position.y, position.z);
  return p;
}

void linkParticle(ParticleActor& p) {
  if (scene.particleRoot != nullptr) scene.particleRoot->insertChild(&p);
}

}  // namespace

void fireMissiles() {
  if (isKeyDown(VK_SPACE) && scene.fireCooldown == 0) {
    MissileActor* m = scene.missiles[scene.nextMissile];
    if (m != nullptr && scene.player != nullptr) {
      m->localMatrix = scene.player->localMatrix;
      m->setTargetActor(scene.enemies[drawRandom() % kEnemyCount]);
      if (scene.enemies[3] != nullptr) scene.enemies[3]->setTargetActor(m);
      if (scene.sceneRoot != nullptr) scene.sceneRoot->insertChild(m);
    }
    scene.fireCooldown = kFireInterval;
    scene.nextMissile = (scene.nextMissile + 1) % kMissileCount;
  }
  if (scene.fireCooldown > 0) --scene.fireCooldown;
}

void updateMissiles() {
  for (MissileActor* m : scene.missiles) {
    if (m == nullptr || m->parent == nullptr) continue;  // not flying
    if (m->targetActor != nullptr && boxOverlap(*m, *m->targetActor, false)) explode(*m);
    for (int k = 0; k < kTrailParticles; ++k) {
      ParticleActor* p = emitParticle(m->position());
      if (p == nullptr) continue;
      p->velocity = randomVelocity(1.0f);
      p->mass = kTrailMass;
      p->life = kTrailLife;
      linkParticle(*p);
    }
  }
}

void explode(MissileActor& missile) {
  const Vector3 centre = missile.position();
  for (int k = 0; k < kExplosionParticles; ++k) {
    ParticleActor* p = emitParticle(centre);
    if (p == nullptr) continue;
    p->velocity = randomVelocity(kBurstSpeed);
    p->mass = kBurstMass;
    linkParticle(*p);
  }
  missile.localMatrix = IdentityMatrix;
  missile.unlink();
  if (scene.enemies[3] != nullptr) scene.enemies[3]->setTargetActor(scene.enemies[0]);
}
