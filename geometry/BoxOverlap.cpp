#include "geometry/BoxOverlap.h"

#include <cmath>

namespace {

// Moves coordinate `a` out of the interval around `b`, on the side where it already is.
void separate(float& a, float b) {
  const float h = kCollisionHalfSize;
  if (a > b)
    a += (b + h) - (a - h);
  else
    a -= (a + h) - (b - h);
}

bool apart(float a, float b) {
  const float h = kCollisionHalfSize;
  return a - h > b + h || b - h > a + h;
}

}  // namespace

bool boxOverlap(Vector3& a, const Vector3& b, bool resolve) {
  if (apart(a.x, b.x) || apart(a.y, b.y) || apart(a.z, b.z)) return false;
  if (!resolve) return true;
  const float dz = (a.z - kCollisionHalfSize) - (b.z + kCollisionHalfSize);
  if (dz > -0.5f) {  // a rests shallowly in b's upper z face: set it on that face
    a.z -= dz;
    return true;
  }
  if (std::fabs(a.y - b.y) >= std::fabs(a.x - b.x))
    separate(a.y, b.y);
  else
    separate(a.x, b.x);
  return true;
}
