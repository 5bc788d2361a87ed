#include "actors/MissileActor.h"

#include <cmath>

void MissileActor::updateSelf() {
  if (targetActor == nullptr) return;
  Matrix4& m = localMatrix;
  // The target's direction in the missile's own axes (both are children of the scene root).
  const Vector3 d = targetActor->position() - position();
  const Vector3 l(dotProduct(d, Vector3(m._11, m._12, m._13)), dotProduct(d, Vector3(m._21, m._22, m._23)),
                  dotProduct(d, Vector3(m._31, m._32, m._33)));
  Matrix4 turn = IdentityMatrix;
  const float lLength = std::sqrt(dotProduct(l, l));
  if (lLength > 0.0f) {
    const Vector3 u = l / lLength;
    const Vector3 axis = crossProduct(Vector3(0.0f, 0.0f, 1.0f), u);  // nose x target direction
    const float axisLength = std::sqrt(dotProduct(axis, axis));
    // No axis when the target lies straight ahead or behind: no turn.
    if (axisLength > 0.0f) turn = rotationFromVector(axis / axisLength, kMissileTurnAngle);
  }
  Matrix4 advance = IdentityMatrix;
  advance._43 = kMissileSpeed;
  m = (advance * turn) * m;  // turn about its own origin, then move along the new nose
}
