// Surfaces of revolution: one ring of vertices per profile point (segments + 1 of them, the
// last repeating the first with u = uEnd), quads between rings, merged to triangles at poles.
#include "tools/assetgen/Lathe.h"

namespace assetgen {

static Vec3 onAxis(const LatheParams& params, double r, double h, double angle) {
  const double c = std::cos(angle), s = std::sin(angle);
  if (params.axis == LatheAxis::Y) return params.centre + Vec3{r * c, h, r * s};
  return params.centre + Vec3{r * c, r * s, h};
}

static Vec3 normalAt(const LatheParams& params, double nr, double nh, double angle) {
  const double c = std::cos(angle), s = std::sin(angle);
  const Vec3 n = params.axis == LatheAxis::Y ? Vec3{nr * c, nh, nr * s} : Vec3{nr * c, nr * s, nh};
  return params.inward ? n * -1.0 : n;
}

void addLathe(GenMesh& mesh, const std::vector<std::vector<ProfilePoint>>& strips, const LatheParams& params) {
  const int ringSize = params.segments + 1;
  for (const auto& strip : strips) {
    const int count = int(strip.size());
    const int first = int(mesh.positions.size());
    for (int i = 0; i < count; ++i) {
      const ProfilePoint& before = strip[i > 0 ? i - 1 : i];
      const ProfilePoint& after = strip[i + 1 < count ? i + 1 : i];
      const double dr = after.r - before.r, dh = after.h - before.h;
      const double l = std::sqrt(dr * dr + dh * dh);
      const double nr = l > 0 ? dh / l : 0.0, nh = l > 0 ? -dr / l : 0.0;
      for (int s = 0; s < ringSize; ++s) {
        const double t = double(s) / params.segments;
        const double angle = 2.0 * kPi * t;
        mesh.addVertex(onAxis(params, strip[i].r, strip[i].h, angle), normalAt(params, nr, nh, angle),
                       {params.uStart + (params.uEnd - params.uStart) * t, strip[i].v});
      }
    }
    for (int i = 0; i + 1 < count; ++i) {
      for (int s = 0; s < params.segments; ++s) {
        const int a = first + i * ringSize + s, b = a + 1, c = a + ringSize + 1, d = a + ringSize;
        const Vec3 facing = mesh.normals[a] + mesh.normals[b] + mesh.normals[c] + mesh.normals[d];
        addOrientedFace(mesh, {a, b, c, d}, facing);
      }
    }
  }
}

}  // namespace assetgen
