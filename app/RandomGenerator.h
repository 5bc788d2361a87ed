// The scene's 15-bit pseudo-random generator: state = state * 214013 + 2531011 (mod 2^32),
// each draw returns bits 16 to 30 of the new state (0 to 32767). One program-wide state;
// the scene set-up seeds it with 30, so every run places and targets identically.
#pragma once

#include <bit>
#include <cstdint>

inline constexpr std::uint32_t kSceneRandomSeed = 30;
// The float nearest to 1/32767 (bits 0x38000100): a draw times this lies in [0, 1].
inline constexpr float kRandomUnit = std::bit_cast<float>(std::uint32_t{0x38000100});

// Sets the generator's state.
void seedRandom(std::uint32_t seed);
// Advances the state and returns the next value, 0 to 32767.
std::int32_t drawRandom();
// The current state (for tests).
std::uint32_t randomState();
