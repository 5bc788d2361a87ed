// The scene state: the program-wide objects and variables that the entry code, the scene
// set-up and the frame driver share. One instance, `scene`, with static initial values: no
// renderer, no actors, hover controls selected, the scene not ready, every counter at 0.
// Pointers own their objects: the actors of the scene tree are deleted with the tree, the
// missiles, particles and the particle template one by one (see shutDownScene).
#pragma once

#include <cstdint>

#include "geometry/math/Matrix4.h"
#include "platform/win32/WinTypes.h"

class ChaserActor;
class MeshActor;
class MissileActor;
class ParticleActor;
class Renderer;
class SkyActor;
class TerrainActor;

inline constexpr int kBoxCount = 3;
inline constexpr int kEnemyCount = 4;
inline constexpr int kMissileCount = 16;     // ring of missiles, reused oldest first
inline constexpr int kParticleCount = 1024;  // ring of particles, reused oldest first

struct SceneState {
  Renderer* renderer = nullptr;         // the Direct3D renderer and its display
  MeshActor* sceneRoot = nullptr;       // root of the scene tree (no mesh)
  MeshActor* particleRoot = nullptr;    // root of the particle tree (no mesh)
  MeshActor* armBase = nullptr;         // "ball.x", spins at the origin
  MeshActor* armJoint = nullptr;        // "ball.x", child of armBase
  MeshActor* armClaw = nullptr;         // "tsume.x", child of armJoint
  MeshActor* armSphere = nullptr;       // generated sphere, child of armJoint
  SkyActor* sky = nullptr;              // "sky2.x", follows cameraMatrix
  MeshActor* boxes[kBoxCount] = {};     // "box.x" obstacles
  MeshActor* potObstacle = nullptr;     // "tsubo.x", tested triangle by triangle
  MeshActor* player = nullptr;          // "f22.x", moved by the keyboard
  TerrainActor* terrain = nullptr;      // height-map ground
  ChaserActor* enemies[kEnemyCount] = {};      // "f22.x" chasers
  MissileActor* missiles[kMissileCount] = {};  // "daikon.x", unlinked until fired
  ParticleActor* particles[kParticleCount] = {};  // unlinked until emitted
  ParticleActor* particleTemplate = nullptr;  // its texture is bound for the particle pass
  Matrix4 cameraMatrix = IdentityMatrix;      // camera's world transform of the current frame

  std::int32_t hoverControls = 1;  // nonzero: hover controls; zero: flight controls
  bool sceneReady = false;         // frames run only while true
  DWORD lastFrameTime = 0;         // timeGetTime when the last frame was let through (ms)
  DWORD lastFpsTime = 0;           // timeGetTime right after the last frame-rate text (ms)
  float ornamentPhase = 0.0f;      // radians; drives the arm's swinging
  float climbAccel = 0.0f;         // hover: change of climbSpeed in this frame
  float climbSpeed = 0.0f;         // hover: vertical distance per frame (world units)
  float throttle = 0.0f;           // flight: distance along the nose per frame
  std::int32_t fireCooldown = 0;   // frames before the next missile may leave
  std::int32_t nextMissile = 0;    // 0..15
  std::int32_t nextParticle = 0;   // 0..1023
};

extern SceneState scene;
