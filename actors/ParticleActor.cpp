#include "actors/ParticleActor.h"

#include <cstring>

#include "graphics/LastResult.h"
#include "platform/d3d/D3D.h"

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

void ParticleActor::screenSquare(const Vector3& view, std::uint32_t colour, D3DTLVERTEX corners[4]) {
  static constexpr float kCorner[2] = {-kParticleHalfSize, kParticleHalfSize};
  static constexpr float kTexture[4][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
  for (int i = 0; i < 4; ++i) {
    const float ox = kCorner[i / 2], oy = kCorner[i % 2];  // view-space offsets
    D3DTLVERTEX& v = corners[i];
    v.sx = 320.0f * ((view.x + ox) / view.z + 1.0f);
    v.sy = 240.0f - 320.0f * (view.y + oy) / view.z;
    v.sz = 1.0f - 1.0f / view.z;
    v.rhw = 1.0f;
    v.color = colour;
    v.specular = 0;
    v.tu = kTexture[i][0];
    v.tv = kTexture[i][1];
  }
}

Matrix4 ParticleActor::drawSelf(IDirect3DDevice3* device, const Matrix4& parentWorld) {
  const Matrix4 world = localMatrix * parentWorld;
  if (device == nullptr) return world;
  D3DMATRIX viewTransform;
  lastResult = device->GetTransform(D3DTRANSFORMSTATE_VIEW, &viewTransform);
  Matrix4 view;
  std::memcpy(&view, &viewTransform, sizeof view);
  const Matrix4 eye = world * view;
  const Vector3 position(eye._41, eye._42, eye._43);  // view space
  // The texture is bound by whoever draws the particle pass; here it only switches drawing on.
  if (!(position.z > kParticleNearLimit) || texture == nullptr) return world;
  D3DTLVERTEX corners[4];
  screenSquare(position, colour(), corners);
  lastResult = device->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, corners, 4, D3DDP_WAIT);
  return world;
}
