#include "app/RandomGenerator.h"

namespace {
std::uint32_t gState = 0;
}

void seedRandom(std::uint32_t seed) { gState = seed; }

std::int32_t drawRandom() {
  gState = gState * 214013u + 2531011u;  // unsigned: wraps modulo 2^32
  return static_cast<std::int32_t>((gState >> 16) & 32767u);
}

std::uint32_t randomState() { return gState; }
