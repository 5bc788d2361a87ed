#include "platform/d3d/Clipper.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include <xmmintrin.h>

namespace platform {

namespace {
// Guard band in pixels beyond each viewport edge.
constexpr float kGuardPixels = 2048.0f;
// Smallest w a projected vertex may have.
constexpr float kMinW = 1e-6f;

void setPlane(float* p, float a, float b, float c, float d, float e) {
  p[0] = a, p[1] = b, p[2] = c, p[3] = d, p[4] = e;
}

// Copies the planes into ViewportMapping::planeLanes for the four-wide outcode.
void spreadPlanes(ViewportMapping& m) {
  for (int term = 0; term < 5; ++term)
    for (int k = 0; k < 8; ++k) m.planeLanes[term][k] = k < m.planeCount ? m.plane[k][term] : 0.0f;
}

float distance(const float* p, const float* pos) {
  return p[0] * pos[0] + p[1] * pos[1] + p[2] * pos[2] + p[3] * pos[3] + p[4];
}

void lerpVertex(const ClipVertex& in, const ClipVertex& out, float t, ClipVertex* r) {
  for (int k = 0; k < 4; ++k) r->pos[k] = in.pos[k] + (out.pos[k] - in.pos[k]) * t;
  r->rhw = in.rhw + (out.rhw - in.rhw) * t;
  for (int k = 0; k < kAttrCount; ++k) r->attr[k] = in.attr[k] + (out.attr[k] - in.attr[k]) * t;
}
}  // namespace

bool ViewportMapping::build(const D3DVIEWPORT2& vp, int targetWidth, int targetHeight) {
  // Draw calls mostly repeat the last viewport and target: the mapping built then still holds.
  if (builtFor_.valid && builtFor_.clipPlanes && builtFor_.width == targetWidth && builtFor_.height == targetHeight &&
      std::memcmp(&builtFor_.viewport, &vp, sizeof vp) == 0)
    return true;
  builtFor_.valid = false;
  if (vp.dwWidth == 0 || vp.dwHeight == 0 || vp.dwWidth > 16384 || vp.dwHeight > 16384 || vp.dwX > 16384 ||
      vp.dwY > 16384)
    return false;
  if (!(std::fabs(vp.dvClipWidth) > 1e-12f) || !(std::fabs(vp.dvClipHeight) > 1e-12f)) return false;
  if (!std::isfinite(vp.dvClipX) || !std::isfinite(vp.dvClipY) || !std::isfinite(vp.dvMinZ) ||
      !std::isfinite(vp.dvMaxZ))
    return false;
  const float W = static_cast<float>(vp.dwWidth), H = static_cast<float>(vp.dwHeight);
  scaleX = W / vp.dvClipWidth;
  offsetX = static_cast<float>(vp.dwX) - vp.dvClipX * scaleX;
  scaleY = -H / vp.dvClipHeight;
  offsetY = static_cast<float>(vp.dwY) + vp.dvClipY * H / vp.dvClipHeight;
  minZ = vp.dvMinZ;
  rangeZ = vp.dvMaxZ - vp.dvMinZ;
  if (!(std::fabs(rangeZ) > 1e-12f)) rangeZ = 1.0f;
  left = std::max(0, static_cast<int>(vp.dwX));
  top = std::max(0, static_cast<int>(vp.dwY));
  right = std::min(targetWidth, static_cast<int>(vp.dwX + vp.dwWidth));
  bottom = std::min(targetHeight, static_cast<int>(vp.dwY + vp.dwHeight));
  // Clip-space planes. The viewport's z range: minZ*w <= z <= maxZ*w.
  planeCount = 0;
  setPlane(plane[planeCount++], 0, 0, 1, -vp.dvMinZ, 0);
  setPlane(plane[planeCount++], 0, 0, -1, vp.dvMaxZ, 0);
  setPlane(plane[planeCount++], 0, 0, 0, 1, -kMinW);
  // Guard band: the NDC x and y whose screen positions lie kGuardPixels outside the viewport.
  float xa = (static_cast<float>(vp.dwX) - kGuardPixels - offsetX) / scaleX;
  float xb = (static_cast<float>(vp.dwX) + W + kGuardPixels - offsetX) / scaleX;
  float ya = (static_cast<float>(vp.dwY) - kGuardPixels - offsetY) / scaleY;
  float yb = (static_cast<float>(vp.dwY) + H + kGuardPixels - offsetY) / scaleY;
  float xMin = std::min(xa, xb), xMax = std::max(xa, xb), yMin = std::min(ya, yb), yMax = std::max(ya, yb);
  setPlane(plane[planeCount++], 1, 0, 0, -xMin, 0);
  setPlane(plane[planeCount++], -1, 0, 0, xMax, 0);
  setPlane(plane[planeCount++], 0, 1, 0, -yMin, 0);
  setPlane(plane[planeCount++], 0, -1, 0, yMax, 0);
  spreadPlanes(*this);
  builtFor_ = {true, true, targetWidth, targetHeight, vp};
  return true;
}

void ViewportMapping::useScreenSpacePlanes() {
  builtFor_.clipPlanes = false;  // the next build() sets the clip-space planes up again
  planeCount = 0;
  setPlane(plane[planeCount++], 1, 0, 0, 0, kGuardPixels - static_cast<float>(left));
  setPlane(plane[planeCount++], -1, 0, 0, 0, static_cast<float>(right) + kGuardPixels);
  setPlane(plane[planeCount++], 0, 1, 0, 0, kGuardPixels - static_cast<float>(top));
  setPlane(plane[planeCount++], 0, -1, 0, 0, static_cast<float>(bottom) + kGuardPixels);
  spreadPlanes(*this);
}

unsigned outcode(const ViewportMapping& map, const ClipVertex& v) {
  // Four planes per register, the terms summed in distance()'s order so that each distance
  // is bit for bit the one clipPolygon computes.
  static_assert(ViewportMapping::kMaxPlanes <= 8, "two registers of planes");
  const __m128 x = _mm_set1_ps(v.pos[0]), y = _mm_set1_ps(v.pos[1]), z = _mm_set1_ps(v.pos[2]),
               w = _mm_set1_ps(v.pos[3]);
  unsigned inside = 0;
  for (int half = 0; half < 2; ++half) {
    const int o = 4 * half;
    __m128 d = _mm_mul_ps(_mm_load_ps(map.planeLanes[0] + o), x);
    d = _mm_add_ps(d, _mm_mul_ps(_mm_load_ps(map.planeLanes[1] + o), y));
    d = _mm_add_ps(d, _mm_mul_ps(_mm_load_ps(map.planeLanes[2] + o), z));
    d = _mm_add_ps(d, _mm_mul_ps(_mm_load_ps(map.planeLanes[3] + o), w));
    d = _mm_add_ps(d, _mm_load_ps(map.planeLanes[4] + o));
    inside |= static_cast<unsigned>(_mm_movemask_ps(_mm_cmpge_ps(d, _mm_setzero_ps()))) << o;  // NaN: outside
  }
  return ~inside & ((1u << map.planeCount) - 1);
}

int clipPolygon(const ViewportMapping& map, unsigned planeMask, ClipVertex* poly, int count, ClipVertex* scratch) {
  ClipVertex* src = poly;
  ClipVertex* dst = scratch;
  for (int k = 0; k < map.planeCount && count > 0; ++k) {
    if (!(planeMask & (1u << k))) continue;
    const float* p = map.plane[k];
    float dist[kMaxClipVertices];  // each vertex's distance once per plane
    int inside = 0;
    for (int i = 0; i < count; ++i) {
      dist[i] = distance(p, src[i].pos);
      inside += dist[i] >= 0;
    }
    if (inside == count) continue;  // an earlier cut already left this plane behind
    int n = 0;
    for (int i = 0; i < count; ++i) {
      const int j = i + 1 == count ? 0 : i + 1;
      const ClipVertex& a = src[i];
      const ClipVertex& b = src[j];
      const float da = dist[i], db = dist[j];
      const bool ina = da >= 0, inb = db >= 0;
      if (ina) dst[n++] = a;
      if (ina != inb && n < kMaxClipVertices) {
        // Interpolate from the inside end so both triangles of a shared edge agree.
        if (ina) lerpVertex(a, b, da / (da - db), &dst[n++]);
        else lerpVertex(b, a, db / (db - da), &dst[n++]);
      }
      if (n >= kMaxClipVertices) break;
    }
    count = n;
    std::swap(src, dst);
  }
  if (src != poly)
    for (int i = 0; i < count; ++i) poly[i] = src[i];
  return count;
}

void projectVertex(const ViewportMapping& map, const ClipVertex& v, bool perspective, ScreenVertex* out) {
  float rhw = 1.0f / v.pos[3];
  out->x = v.pos[0] * rhw * map.scaleX + map.offsetX;
  out->y = v.pos[1] * rhw * map.scaleY + map.offsetY;
  const float zn = v.pos[2] * rhw;
  // The usual 0..1 z range maps zn to itself: the same value without a second division.
  if (map.minZ == 0.0f && map.rangeZ == 1.0f) out->z = zn;
  else out->z = (zn - map.minZ) / map.rangeZ;
  out->rhw = rhw;
  out->pw = perspective ? rhw : 1.0f;
  for (int k = 0; k < kAttrCount; ++k) out->q[k] = v.attr[k] * out->pw;
}

void screenVertex(const ClipVertex& v, bool perspective, ScreenVertex* out) {
  out->x = v.pos[0];
  out->y = v.pos[1];
  out->z = v.pos[2];
  out->rhw = v.rhw;
  out->pw = perspective ? (v.rhw > 1e-20f && v.rhw < 1e20f ? v.rhw : 1e-20f) : 1.0f;
  for (int k = 0; k < kAttrCount; ++k) out->q[k] = v.attr[k];
}

}  // namespace platform
