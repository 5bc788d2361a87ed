// MissileActor: a homing missile. Each update turns the nose 0.04 radians toward the target
// about the axis perpendicular to the nose and the target's direction, then advances 1.7
// along the turned nose. A target exactly ahead, behind or on the missile gives no turn.
#pragma once

#include "actors/MeshActor.h"

inline constexpr float kMissileTurnAngle = 0.04f;  // radians per frame
inline constexpr float kMissileSpeed = 1.7f;       // units per frame along local +z

class MissileActor : public MeshActor {
 public:
  // The actor homed on (not owned); null: the missile does not move.
  void setTargetActor(MeshActor* actor) { targetActor = actor; }

  MeshActor* targetActor = nullptr;

 protected:
  void updateSelf() override;
};
