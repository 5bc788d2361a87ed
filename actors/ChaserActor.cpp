#include "actors/ChaserActor.h"

#include <cmath>

void ChaserActor::updateSelf() {
  if (targetActor == nullptr) return;
  Matrix4& m = localMatrix;
  // The target's direction in the chaser's own axes, taken once before any turn.
  const Vector3 d = targetActor->position() - position();
  const Vector3 l(dotProduct(d, Vector3(m._11, m._12, m._13)), dotProduct(d, Vector3(m._21, m._22, m._23)),
                  dotProduct(d, Vector3(m._31, m._32, m._33)));
  if (l.x < 0.0f)
    m = rotationZMatrix(kChaserRollStep) * m;
  else if (l.x > 0.0f)
    m = rotationZMatrix(-kChaserRollStep) * m;
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
