#include "geometry/SphereMesh.h"

#include <cmath>

bool isSphereSizeValid(std::int32_t segments, std::int32_t rings) {
  if (segments < 3 || rings < 3) return false;
  return std::int64_t(rings) * (std::int64_t(segments) + 1) <= 65536;
}

std::int32_t sphereVertexCount(std::int32_t segments, std::int32_t rings) { return rings * (segments + 1); }

std::int32_t sphereIndexCount(std::int32_t segments, std::int32_t rings) { return segments * (rings - 1) * 6; }

void buildSphereVertices(MeshVertex* vertices, std::int32_t segments, std::int32_t rings) {
  const float twoPi = kSpherePi + kSpherePi;
  const float thetaStep = twoPi / static_cast<float>(segments - 1);
  const float phiStep = kSpherePi / static_cast<float>(rings - 1);
  MeshVertex* v = vertices;
  float phi = -kSpherePi / 2.0f;
  for (std::int32_t k = 0; k < rings; ++k, phi += phiStep) {
    const float s = static_cast<float>(std::sin(double(phi)));
    // Round-off can take s * s a hair above 1 at the poles; the radius is then 0.
    const float r = std::sqrt(std::fmax(0.0f, 1.0f - s * s));
    const float tv = phi / kSpherePi + 0.5f;
    float theta = 0.0f;
    for (std::int32_t j = 0; j <= segments; ++j, ++v, theta += thetaStep) {
      v->x = static_cast<float>(r * std::cos(double(theta)));
      v->y = static_cast<float>(r * std::sin(double(theta)));
      v->z = s;
      v->nx = v->x;
      v->ny = v->y;
      v->nz = v->z;
      v->tu = theta / twoPi;
      v->tv = tv;
    }
  }
}

void buildSphereIndices(std::uint16_t* indices, std::int32_t segments, std::int32_t rings) {
  const std::int32_t w = segments + 1;
  std::uint16_t* out = indices;
  for (std::int32_t k = 0; k + 1 < rings; ++k) {
    for (std::int32_t j = 0; j < segments; ++j) {
      const auto here = static_cast<std::uint16_t>(k * w + j);
      const auto above = static_cast<std::uint16_t>((k + 1) * w + j);
      *out++ = here;
      *out++ = above;
      *out++ = static_cast<std::uint16_t>(here + 1);
      *out++ = above;
      *out++ = static_cast<std::uint16_t>(above + 1);
      *out++ = static_cast<std::uint16_t>(here + 1);
    }
  }
}

void sphericalTexCoords(MeshVertex* vertices, std::int32_t vertexCount) {
  if (vertices == nullptr) return;
  const float twoPi = kSpherePi + kSpherePi;
  for (std::int32_t k = 0; k < vertexCount; ++k) {
    MeshVertex& v = vertices[k];
    const double x = v.x, y = v.y, z = v.z;
    v.tu = (x == 0.0 && y == 0.0) ? 0.0f : static_cast<float>(std::atan2(y, x) / twoPi + 0.5);
    const double d = std::sqrt(x * x + y * y);
    v.tv = (d == 0.0 && z == 0.0) ? 0.0f : static_cast<float>(std::atan2(z, d) / kSpherePi + 0.5);
  }
}
