// BoxOverlap: two axis-aligned cubes of half-size 2 around two positions (world space).
#pragma once

#include "geometry/math/Vector3.h"

inline constexpr float kCollisionHalfSize = 2.0f;

// True when the cubes around `a` and `b` overlap or touch. With `resolve`, `a` is moved out:
// onto b's upper z face when it sinks into it by less than 0.5, else out along y or x,
// whichever separates the centres more (y on a tie).
bool boxOverlap(Vector3& a, const Vector3& b, bool resolve);
