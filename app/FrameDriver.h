// runFrame: the demo's heartbeat, called by the message loop whenever no message waits. It
// lets at most one frame through every 20 ms of timeGetTime and then runs the whole frame in
// a fixed order: arm animation, player controls, the two tree updates, firing, collisions,
// missile hits and trails, terrain contacts, hover motion, camera, the scene and particle
// passes, the frame-rate line and the present. All motion is per frame.
#pragma once

#include "platform/win32/WinTypes.h"

inline constexpr DWORD kFrameInterval = 20;  // ms between frames at most 50 per second

// One paced frame (see above); nothing until sceneReady.
void runFrame();
// The frame after the pacing and readiness tests.
void stepFrame();
// The arm's steady spin and its cosine-driven rocking; ornamentPhase += 0.05.
void animateArm();
