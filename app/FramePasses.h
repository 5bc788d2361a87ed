// The drawing half of a frame, on the scene renderer's device: the clear, the camera, the
// scene pass with linear fog (10 to 300, colour 0xDDDDEE) and depth writes, the additive
// particle pass (depth tested, not written), the frame-rate line and the present. Every
// device, viewport and surface result goes to lastResult and none is tested.
#pragma once

#include <cstddef>

#include "geometry/math/Matrix4.h"
#include "platform/win32/WinTypes.h"

inline constexpr DWORD kClearColour = 0x00CCCCDD;
inline constexpr DWORD kFogColour = 0x00DDDDEE;
inline constexpr float kFogStart = 10.0f;
inline constexpr float kFogEnd = 300.0f;
inline constexpr std::size_t kFrameRateTextSize = 256;

// Counter-clockwise culling, then the whole 640x480 viewport cleared to kClearColour and depth 1.
void clearFrame();
// Camera 4 above and 10 behind the player in its own frame: cameraMatrix, then the view
// (its inverse) and the renderer's projection on the device.
void placeCamera();
// The scene tree with fog and depth writes.
void drawScenePass();
// The particle tree added onto the scene with the particle template's texture.
void drawParticlePass();
// "FPS =" and 1000 / (ms since the last frame-rate text) with "%f" into `text`.
void formatFrameRate(DWORD elapsed, char (&text)[kFrameRateTextSize]);
// The frame-rate line at (4, 4) of the render target; restamps lastFpsTime.
void drawFrameRate();
// The back buffer copied whole to the primary surface.
void presentFrame();
