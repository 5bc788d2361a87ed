// setUpScene: builds the whole demonstration once, after the window exists: the full-screen
// renderer, every actor with its model, the generated sphere and terrain, the two trees, the
// placements (enemies from the random generator seeded with 30), the targets, the texture
// coordinates and textures, the camera; then sceneReady. When the renderer cannot be created
// it stops at once: no actor exists, sceneReady stays false, the renderer stays allocated.
// Missing model or texture files leave actors without mesh or texture (drawn as nothing, or
// untextured) and the set-up goes on.
#pragma once

#include <bit>
#include <cstdint>

#include "platform/win32/WinTypes.h"

class SkyActor;

// Terrain height per pixel step: the float 0x3E4CCCCC, one unit in the last place below 0.2.
inline constexpr float kTerrainHeightScale = std::bit_cast<float>(std::uint32_t{0x3E4CCCCC});
// The float nearest to 1/65534 (0x37800100), for enemy headings in [0, pi/2].
inline constexpr float kHeadingUnit = std::bit_cast<float>(std::uint32_t{0x37800100});
// Pi as the float 3.1415927 (0x40490FDB).
inline constexpr float kPi = std::bit_cast<float>(std::uint32_t{0x40490FDB});

// Builds the scene into `scene`; returns the sky actor, or null when the renderer failed.
SkyActor* setUpScene(HWND window);
