#include "geometry/TerrainContact.h"

#include <cmath>
#include <cstdint>

bool terrainContact(Vector3& position, float groundOffset, Vector3* velocity, const TerrainView& terrain,
                    bool resolve) {
  const std::int32_t a = terrain.gridSize;
  if (terrain.vertices == nullptr || a < 2 || std::int64_t(a) * a > terrain.vertexCount) return false;
  // Grid coordinates: vertex column j sits at gx = j (the grid is centred with a * 0.5).
  const float gx = (position.x - terrain.position.x) / terrain.cellSize + a * 0.5f;
  const float gz = (position.z - terrain.position.z) / terrain.cellSize + a * 0.5f;
  // Truncation toward zero must give a cell from 0 to a - 2; NaN fails here too.
  if (!(gx > -1.0f && gx < float(a - 1) && gz > -1.0f && gz < float(a - 1))) return false;
  const auto h = static_cast<std::int32_t>(gx);
  const auto l = static_cast<std::int32_t>(gz);
  const float fx = gx - float(h);
  const float fz = gz - float(l);
  const MeshVertex& v00 = terrain.vertices[l * a + h];
  const MeshVertex& v01 = terrain.vertices[l * a + h + 1];
  const MeshVertex& v10 = terrain.vertices[(l + 1) * a + h];
  const MeshVertex& v11 = terrain.vertices[(l + 1) * a + h + 1];
  float ground;
  const MeshVertex *p, *q, *r;  // the contact triangle
  if (fx + fz >= 1.0f) {
    ground = v11.y + (v10.y - v11.y) * (1.0f - fx) + (v01.y - v11.y) * (1.0f - fz);
    p = &v11, q = &v01, r = &v10;
  } else {
    ground = v00.y + (v01.y - v00.y) * fx + (v10.y - v00.y) * fz;
    p = &v00, q = &v10, r = &v01;
  }
  const float g = terrain.position.y + ground;
  const float f = position.y + groundOffset;
  if (f >= g) return false;  // on or above the ground
  if (!resolve) return true;
  position.y += g - f;
  if (velocity != nullptr) {
    const Vector3 pp(p->x, p->y, p->z);
    const Vector3 n = crossProduct(Vector3(q->x, q->y, q->z) - pp, Vector3(r->x, r->y, r->z) - pp);
    const float length = std::sqrt(dotProduct(n, n));
    if (length > 0.0f) {  // a collapsed cell has no normal to bounce on
      const Vector3 unit = n / length;
      *velocity = *velocity - (kBounceFactor * dotProduct(*velocity, unit)) * unit;
    }
  }
  return true;
}
