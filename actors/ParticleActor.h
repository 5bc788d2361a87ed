// ParticleActor: one point of a missile trail or an explosion. Each update it moves by explicit
// integration under gravity and drag, ages by one frame and unlinks itself when its life runs
// out (after the rest of its ring has been walked). It is drawn as a screen-aligned square
// 1.6 units wide in view space, its grey level fading with its remaining life.
#pragma once

#include <cstdint>

#include "actors/MeshActor.h"
#include "platform/d3d/D3DTypes.h"

inline constexpr float kParticleGravity = -0.0245f;  // force per unit of mass, per frame
inline constexpr float kParticleDrag = -0.01f;       // force per unit of velocity
inline constexpr float kParticleNearLimit = 0.1f;    // not drawn at or below this view depth
inline constexpr float kParticleHalfSize = 0.8f;     // view-space half width of the square
inline constexpr std::int32_t kParticleLife = 512;   // frames after a reset

class ParticleActor : public MeshActor {
 public:
  ParticleActor();

  // Places the particle at (x, y, z) with zero velocity and force, mass 1 and life 512.
  void resetParticle(float x, float y, float z);
  // 0xFF000000 + g * 0x010101 with g = life * 255 / 512 (integer, clamped to 0..255).
  std::uint32_t colour() const;
  Vector3* bounceVelocity() override { return &velocity; }
  // The four corners, as a triangle strip, of the square around the view-space point `view`
  // (depth view.z > 0) on the 640x480 screen: 320 pixels per unit at depth 1, centre (320, 240),
  // sz = 1 - 1 / z as the default projection gives.
  static void screenSquare(const Vector3& view, std::uint32_t colour, D3DTLVERTEX corners[4]);

  Vector3 velocity{0.0f, 0.0f, 0.0f};  // world units per frame
  Vector3 force{0.0f, 0.0f, 0.0f};     // accumulated during an update; zero between updates
  float mass = 1.0f;
  std::int32_t life = 0;               // frames left

 protected:
  void updateSelf() override;
  void finishUpdate() override;
  Matrix4 drawSelf(IDirect3DDevice3* device, const Matrix4& parentWorld) override;
};
