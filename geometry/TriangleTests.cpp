#include "geometry/TriangleTests.h"

#include <cmath>

bool pointInTriangle(const Vector3& p, const Vector3& v0, const Vector3& v1, const Vector3& v2) {
  const Vector3 a[3] = {v0 - p, v1 - p, v2 - p};
  Vector3 sum(0.0f, 0.0f, 0.0f);
  for (int i = 0; i < 3; ++i) {
    const Vector3 c = crossProduct(a[i], a[(i + 1) % 3]);
    if (dotProduct(sum, c) < 0.0f) return false;  // this corner pair turns the other way
    sum = sum + c;
  }
  return true;
}

bool edgesCrossTriangle(const Vector3& p0, const Vector3& p1, const Vector3& p2, const Vector3& e0,
                        const Vector3& e1, const Vector3& e2) {
  const Vector3 n = crossProduct(p1 - p0, p2 - p0);  // not normalised
  const Vector3* edge[3] = {&e0, &e1, &e2};
  for (int k = 0; k < 3; ++k) {
    const Vector3& start = *edge[k];
    const Vector3 d = *edge[(k + 1) % 3] - start;
    const float den = dotProduct(d, n);
    if (std::fabs(den) <= 1e-7) continue;  // parallel to the plane
    const float t = dotProduct(p0 - start, n) / den;
    if (t < 0.0f || t > 1.0f) continue;  // the plane is met beyond the edge's ends
    if (pointInTriangle(start + t * d, p0, p1, p2)) return true;
  }
  return false;
}
