// Deterministic noise for the generator's textures and terrain: an integer hash of lattice
// points (no random state, no clock), value noise that tiles with a given period, and sums
// of octaves of it. Every result depends only on the arguments.
#pragma once

#include <cstdint>

namespace assetgen {

// A value in [0, 1) for lattice point (x, y) and `seed`.
double latticeValue(int x, int y, std::uint32_t seed);
// Smooth value noise in [0, 1] at (x, y) in lattice cells; repeats every periodX, periodY cells.
double tiledNoise(double x, double y, int periodX, int periodY, std::uint32_t seed);
// `octaves` layers of tiledNoise, each twice the frequency (and period) and half the weight
// of the one before; normalised to [0, 1].
double tiledFbm(double x, double y, int periodX, int periodY, int octaves, std::uint32_t seed);

}  // namespace assetgen
