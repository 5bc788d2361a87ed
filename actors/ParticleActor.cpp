#include "actors/ParticleActor.h"

ParticleActor::ParticleActor() {
  bounces = 1;
  groundOffset = -0.5f;
}

void ParticleActor::resetParticle(float x, float y, float z) {
  localMatrix._41 = x;
  localMatrix._42 = y;
  localMatrix._43 = z;
  velocity = Vector3(0.0f, 0.0f, 0.0f);
  force = Vector3(0.0f, 0.0f, 0.0f);
  mass = 1.0f;
  life = kParticleLife;
}

std::uint32_t ParticleActor::colour() const {
  std::int32_t g = life > 0 ? static_cast<std::int32_t>((std::int64_t(life) * 255) / kParticleLife) : 0;
  if (g > 255) g = 255;
  return 0xFF000000u + static_cast<std::uint32_t>(g) * 0x010101u;
}

void ParticleActor::updateSelf() {
  force.y += mass * kParticleGravity;
  force = force + velocity * kParticleDrag;
  setPosition(position() + velocity);  // the velocity of the start of this step
  // A massless particle is not moved by forces (no division by zero).
  if (mass != 0.0f) velocity = velocity + force * (1.0f / mass);
  force = Vector3(0.0f, 0.0f, 0.0f);
}

void ParticleActor::finishUpdate() {
  // At or below zero, not only at zero, so that a particle linked without a reset expires too.
  if (--life <= 0) unlink();
}

Matrix4 ParticleActor::drawSelf(IDirect3DDevice3*, const Matrix4& parentWorld) {
  return localMatrix * parentWorld;
}
