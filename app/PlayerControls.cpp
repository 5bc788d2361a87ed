#include "app/PlayerControls.h"

#include "actors/MeshActor.h"
#include "app/SceneState.h"
#include "platform/win32/WinUser.h"

namespace {
constexpr float kHoverTurn = 0.05f;   // radians per frame
constexpr float kHoverStep = 0.8f;    // units per frame along the nose
constexpr float kClimbStep = 0.1f;    // change of climbAccel per frame
constexpr float kFlightRoll = 0.1f;   // radians per frame
constexpr float kFlightPitch = 0.05f; // radians per frame
constexpr float kThrottleStep = 0.1f; // change of throttle per frame
}  // namespace

bool isKeyDown(int virtualKey) {
  return (static_cast<unsigned short>(GetKeyState(virtualKey)) >> 8) != 0;
}

void applyPlayerControls() {
  if (scene.player == nullptr) return;
  Matrix4& p = scene.player->localMatrix;
  if (scene.hoverControls != 0) {
    if (isKeyDown(VK_NUMPAD6)) p = rotationYMatrix(kHoverTurn) * p;
    if (isKeyDown(VK_NUMPAD4)) p = rotationYMatrix(-kHoverTurn) * p;
    if (isKeyDown(VK_NUMPAD8)) p = translationMatrix(0.0f, 0.0f, kHoverStep) * p;
    if (isKeyDown(VK_NUMPAD2)) p = translationMatrix(0.0f, 0.0f, -kHoverStep) * p;
    scene.climbAccel = 0.0f;
    if (isKeyDown(VK_UP)) scene.climbAccel -= kClimbStep;
    if (isKeyDown(VK_DOWN)) scene.climbAccel += kClimbStep;
  } else {
    if (isKeyDown(VK_NUMPAD6)) p = rotationZMatrix(-kFlightRoll) * p;
    if (isKeyDown(VK_NUMPAD4)) p = rotationZMatrix(kFlightRoll) * p;
    if (isKeyDown(VK_NUMPAD8)) p = rotationXMatrix(kFlightPitch) * p;
    if (isKeyDown(VK_NUMPAD2)) p = rotationXMatrix(-kFlightPitch) * p;
    p = translationMatrix(0.0f, 0.0f, scene.throttle) * p;  // the throttle of the start of the frame
    if (isKeyDown(VK_UP)) scene.throttle += kThrottleStep;
    if (isKeyDown(VK_DOWN)) scene.throttle -= kThrottleStep;
  }
}

void applyHoverMotion() {
  if (scene.hoverControls == 0 || scene.player == nullptr) return;
  scene.climbSpeed += scene.climbAccel;
  Matrix4& p = scene.player->localMatrix;
  p = p * translationMatrix(0.0f, scene.climbSpeed, 0.0f);
}
