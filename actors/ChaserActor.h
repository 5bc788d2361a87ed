// ChaserActor: an enemy aircraft that pursues its target like a plane: it banks 0.04 radians
// toward the side the target is on, pulls 0.02 radians toward it, and flies on at 0.5 units
// per frame along its nose. It never slows down, so it circles a target it cannot turn onto.
#pragma once

#include "actors/MeshActor.h"

inline constexpr float kChaserRollStep = 0.04f;   // radians per frame
inline constexpr float kChaserPitchStep = 0.02f;  // radians per frame
inline constexpr float kChaserSpeed = 0.5f;       // units per frame along local +z

class ChaserActor : public MeshActor {
 public:
  // The actor pursued (not owned); null: the chaser does not move.
  void setTargetActor(MeshActor* actor) { targetActor = actor; }

  MeshActor* targetActor = nullptr;

 protected:
  void updateSelf() override;
};
