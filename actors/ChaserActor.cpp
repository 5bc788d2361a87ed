#include "actors/ChaserActor.h"

#include <cmath>

namespace {

// Rotation about the local z axis (the nose): _11 = cos, _12 = sin, _21 = -sin, _22 = cos.
Matrix4 rollMatrix(float angle) {
  Matrix4 r = IdentityMatrix;
  r._11 = std::cos(angle);
  r._12 = std::sin(angle);
  r._21 = -r._12;
  r._22 = r._11;
  return r;
}

}  // namespace

void ChaserActor::updateSelf() {
  if (targetActor == nullptr) return;
  Matrix4& m = localMatrix;
  // The target's direction in the chaser's own axes, taken once before any turn.
  const Vector3 d = targetActor->position() - position();
  const Vector3 l(dotProduct(d, Vector3(m._11, m._12, m._13)), dotProduct(d, Vector3(m._21, m._22, m._23)),
                  dotProduct(d, Vector3(m._31, m._32, m._33)));
  if (l.x < 0.0f)
    m = rollMatrix(kChaserRollStep) * m;
  else if (l.x > 0.0f)
    m = rollMatrix(-kChaserRollStep) * m;
  // Pull toward the target: the x of (0, l.y, l.z) x (0, 0, 1), which is l.y.
  const float pull = crossProduct(Vector3(0.0f, l.y, l.z), Vector3(0.0f, 0.0f, 1.0f)).x;
  if (pull < 0.0f)
    m = rotationXMatrix(kChaserPitchStep) * m;  // nose down
  else if (pull > 0.0f)
    m = rotationXMatrix(-kChaserPitchStep) * m;  // nose up
  Matrix4 advance = IdentityMatrix;
  advance._43 = kChaserSpeed;
  m = advance * m;
}
