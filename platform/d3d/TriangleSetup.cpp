#include "platform/d3d/TriangleSetup.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>

#include <emmintrin.h>

namespace platform {

namespace {

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {  // b > 0
  std::int64_t q = a / b;
  return q - static_cast<std::int64_t>((a % b != 0) & (a < 0));  // no jump: signs vary
}
std::int64_t ceilDiv(std::int64_t a, std::int64_t b) {  // b > 0
  std::int64_t q = a / b;
  return q + static_cast<std::int64_t>((a % b != 0) & (a > 0));
}

// Snapped coordinates stay far inside this bound, so edge products fit in 64 bits.
constexpr float kCoordLimit = 1.0e6f;

// The x and y of a vertex in the low half of a register.
__m128 loadXY(const ScreenVertex& v) {
  static_assert(offsetof(ScreenVertex, y) == offsetof(ScreenVertex, x) + sizeof(float), "x and y adjacent");
  return _mm_castsi128_ps(_mm_loadl_epi64(reinterpret_cast<const __m128i_u*>(&v.x)));
}

// llround of two floats times kOne. The products are exact in double and so is adding one
// half (|v| < 2^28 with at most 24 significant bits), so truncation rounds halves away from
// zero exactly like llround; the results fit 32 bits.
__m128i snapPair(__m128 xy) {
  const __m128d d = _mm_mul_pd(_mm_cvtps_pd(xy), _mm_set1_pd(TriangleSetup::kOne));
  const __m128d half = _mm_or_pd(_mm_and_pd(d, _mm_set1_pd(-0.0)), _mm_set1_pd(0.5));  // copysign(0.5, d)
  return _mm_cvttpd_epi32(_mm_add_pd(d, half));
}

// The interpolated values in plane order, z, rhw, pw, q[0..kAttrCount), are one run of
// floats in ScreenVertex, and their planes one run of AttributePlane in TriangleSetup.
constexpr int kPlaneCount = 3 + kAttrCount;
constexpr int kPlaneGroups = (kPlaneCount + 3) / 4;  // four planes per SSE register
static_assert(offsetof(ScreenVertex, rhw) == offsetof(ScreenVertex, z) + sizeof(float) &&
                  offsetof(ScreenVertex, pw) == offsetof(ScreenVertex, z) + 2 * sizeof(float) &&
                  offsetof(ScreenVertex, q) == offsetof(ScreenVertex, z) + 3 * sizeof(float),
              "z, rhw, pw and q[] are one run of floats");
static_assert(sizeof(AttributePlane) == 3 * sizeof(float) &&
                  offsetof(TriangleSetup, rhw) == offsetof(TriangleSetup, z) + sizeof(AttributePlane) &&
                  offsetof(TriangleSetup, pw) == offsetof(TriangleSetup, z) + 2 * sizeof(AttributePlane) &&
                  offsetof(TriangleSetup, q) == offsetof(TriangleSetup, z) + 3 * sizeof(AttributePlane),
              "z, rhw, pw and q[] are one run of planes");

// Group g of a vertex's plane values; the last group holds q[kAttrCount - 1] and zeros.
// Loaded straight from the vertex (no staging copy whose pieces a wide load would straddle).
static_assert(kPlaneCount == 4 * (kPlaneGroups - 1) + 1, "the last group holds one plane");
__m128 loadGroup(const ScreenVertex& v, int g) {
  const auto* run = reinterpret_cast<const float*>(reinterpret_cast<const unsigned char*>(&v) + offsetof(ScreenVertex, z));
  return g < kPlaneGroups - 1 ? _mm_loadu_ps(run + 4 * g) : _mm_load_ss(&v.q[kAttrCount - 1]);
}

// Four planes given as value, ddx and ddy registers, interleaved into 12 floats {v0, ddx, ddy} x 4.
void interleave(__m128 v, __m128 x, __m128 y, __m128 out[3]) {
  const __m128 vx01 = _mm_unpacklo_ps(v, x);                                  // v0 x0 v1 x1
  const __m128 vx23 = _mm_unpackhi_ps(v, x);                                  // v2 x2 v3 x3
  const __m128 yv01 = _mm_unpacklo_ps(y, v);                                  // y0 v0 y1 v1
  out[0] = _mm_shuffle_ps(vx01, yv01, _MM_SHUFFLE(3, 0, 1, 0));               // v0 x0 y0 v1
  const __m128 xy1 = _mm_shuffle_ps(vx01, y, _MM_SHUFFLE(1, 1, 3, 3));        // x1 x1 y1 y1
  out[1] = _mm_shuffle_ps(xy1, vx23, _MM_SHUFFLE(1, 0, 2, 0));                // x1 y1 v2 x2
  const __m128 yv23 = _mm_shuffle_ps(y, vx23, _MM_SHUFFLE(2, 2, 2, 2));       // y2 y2 v3 v3
  const __m128 xy3 = _mm_shuffle_ps(vx23, y, _MM_SHUFFLE(3, 3, 3, 3));        // x3 x3 y3 y3
  out[2] = _mm_shuffle_ps(yv23, xy3, _MM_SHUFFLE(2, 0, 2, 0));                // y2 v3 x3 y3
}

// One coordinate snapped as snapPair snaps it.
std::int64_t snap(float v) {
  alignas(16) std::int32_t r[4];
  _mm_store_si128(reinterpret_cast<__m128i*>(r), snapPair(_mm_set1_ps(v)));
  return r[0];
}

// The edge from (xi, yi) to (xj, yj) of a clockwise outline, with the top-left rule.
void setEdge(std::int64_t xi, std::int64_t yi, std::int64_t xj, std::int64_t yj, TriangleSetup::Edge* e) {
  e->dx = xj - xi;
  e->dy = yj - yi;
  e->xi = xi;
  e->yi = yi;
  const bool top = e->dy == 0 && e->dx > 0;
  const bool leftEdge = e->dy < 0;
  e->threshold = (top || leftEdge) ? 0 : 1;
}

std::int64_t cross(std::int64_t ax, std::int64_t ay, std::int64_t bx, std::int64_t by) { return ax * by - ay * bx; }

}  // namespace

bool TriangleSetup::rowSpan(int py, int* first, int* last) const {
  std::int64_t lo = left, hi = right - 1;
  const std::int64_t yFix = static_cast<std::int64_t>(py) * kOne;
  for (int i = 0; i < edgeCount; ++i) {
    const Edge& e = edge[i];
    // E(px) = dx * (py - yi) - dy * (px - xi) = c - dy * kOne * px
    std::int64_t c = e.dx * (yFix - e.yi) + e.dy * e.xi;
    if (e.dy == 0) {
      if (c < e.threshold) return false;
    } else if (e.dy > 0) {
      hi = std::min(hi, floorDiv(c - e.threshold, e.dy * kOne));
    } else {
      lo = std::max(lo, ceilDiv(e.threshold - c, -e.dy * kOne));
    }
  }
  if (lo > hi) return false;
  *first = static_cast<int>(lo);
  *last = static_cast<int>(hi);
  return true;
}

bool TriangleSetup::covers(int px, int py) const {
  if (px < left || px >= right || py < rowFirst || py > rowLast) return false;
  for (int i = 0; i < edgeCount; ++i) {
    const Edge& e = edge[i];
    std::int64_t E = e.dx * (py * kOne - e.yi) - e.dy * (px * kOne - e.xi);
    if (E < e.threshold) return false;
  }
  return true;
}

bool setupTriangle(const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c, DWORD cullMode,
                   const ViewportMapping& scissor, TriangleSetup* out, unsigned attributes) {
  const ScreenVertex* v[3] = {&a, &b, &c};
  // All six coordinates inside the limit in one test (NaN fails it), then snapped in pairs.
  const __m128 xy0 = loadXY(a), xy1 = loadXY(b), xy2 = loadXY(c);
  const __m128 xy01 = _mm_movelh_ps(xy0, xy1);
  const __m128 magnitude = _mm_castsi128_ps(_mm_set1_epi32(0x7FFFFFFF)), limit = _mm_set1_ps(kCoordLimit);
  const int inRange = _mm_movemask_ps(_mm_cmplt_ps(_mm_and_ps(xy01, magnitude), limit)) |
                      (_mm_movemask_ps(_mm_cmplt_ps(_mm_and_ps(xy2, magnitude), limit)) << 4);
  if ((inRange & 0x3F) != 0x3F) return false;
  alignas(16) std::int32_t snapped[12];
  _mm_store_si128(reinterpret_cast<__m128i*>(snapped), snapPair(xy0));
  _mm_store_si128(reinterpret_cast<__m128i*>(snapped + 4), snapPair(xy1));
  _mm_store_si128(reinterpret_cast<__m128i*>(snapped + 8), snapPair(xy2));
  std::int64_t X[3] = {snapped[0], snapped[4], snapped[8]}, Y[3] = {snapped[1], snapped[5], snapped[9]};
  std::int64_t area = (X[1] - X[0]) * (Y[2] - Y[0]) - (X[2] - X[0]) * (Y[1] - Y[0]);
  if (area == 0) return false;
  if (cullMode == D3DCULL_CCW && area < 0) return false;
  if (cullMode == D3DCULL_CW && area > 0) return false;
  // Order clockwise on screen, by selection: without culling the winding follows no pattern.
  const bool flip = area < 0;
  const ScreenVertex* v1 = flip ? v[2] : v[1];
  const ScreenVertex* v2 = flip ? v[1] : v[2];
  v[1] = v1, v[2] = v2;
  const std::int64_t x1 = flip ? X[2] : X[1], x2 = flip ? X[1] : X[2];
  const std::int64_t y1 = flip ? Y[2] : Y[1], y2 = flip ? Y[1] : Y[2];
  X[1] = x1, X[2] = x2, Y[1] = y1, Y[2] = y2;
  area = flip ? -area : area;
  TriangleSetup& t = *out;
  const std::int64_t minY = std::min({Y[0], Y[1], Y[2]}), maxY = std::max({Y[0], Y[1], Y[2]});
  t.rowFirst = static_cast<int>(std::max<std::int64_t>(ceilPixel(minY), scissor.top));
  t.rowLast = static_cast<int>(std::min<std::int64_t>(floorPixel(maxY), scissor.bottom - 1));
  t.left = scissor.left;
  t.right = scissor.right;
  if (t.rowFirst > t.rowLast || t.left >= t.right) return false;
  const std::int64_t minX = std::min({X[0], X[1], X[2]}), maxX = std::max({X[0], X[1], X[2]});
  if (ceilPixel(minX) >= scissor.right || floorPixel(maxX) < scissor.left) return false;
  for (int i = 0; i < 3; ++i) {
    const int j = i == 2 ? 0 : i + 1;
    t.X[i] = X[i], t.Y[i] = Y[i];
    setEdge(X[i], Y[i], X[j], Y[j], &t.edge[i]);
  }
  t.edgeCount = 3;

  // Planes from the snapped positions, so attributes agree with coverage. With d1 = v1 - v0
  // and d2 = v2 - v0: ddx = d1 * ax - d2 * bx and ddy = d2 * ay - d1 * by. The four geometric
  // factors (edge extents over the doubled area) come from the exact integer area in double;
  // the per-attribute products are float, four planes at a time, with the precision the
  // pixel stage evaluates the planes in. Planes outside `attributes` are masked to zero.
  const double s = 1.0 / TriangleSetup::kOne;
  const double perArea = static_cast<double>(TriangleSetup::kOne) / static_cast<double>(area);
  const __m128 ax = _mm_set1_ps(static_cast<float>(static_cast<double>(Y[2] - Y[0]) * perArea));
  const __m128 bx = _mm_set1_ps(static_cast<float>(static_cast<double>(Y[1] - Y[0]) * perArea));
  const __m128 ay = _mm_set1_ps(static_cast<float>(static_cast<double>(X[1] - X[0]) * perArea));
  const __m128 by = _mm_set1_ps(static_cast<float>(static_cast<double>(X[2] - X[0]) * perArea));
  t.x0 = static_cast<float>(static_cast<double>(X[0]) * s);
  t.y0 = static_cast<float>(static_cast<double>(Y[0]) * s);
  const __m128i wanted = _mm_set1_epi32(static_cast<int>(7u | (attributes << 3)));  // z, rhw, pw always
  auto* planes = reinterpret_cast<float*>(reinterpret_cast<unsigned char*>(&t) + offsetof(TriangleSetup, z));
  for (int g = 0; g < kPlaneGroups; ++g) {
    const __m128i bit = _mm_slli_epi32(_mm_setr_epi32(1, 2, 4, 8), 4 * g);
    const __m128 keep = _mm_castsi128_ps(_mm_cmpeq_epi32(_mm_and_si128(wanted, bit), bit));
    const __m128 p0 = loadGroup(*v[0], g);
    const __m128 d1 = _mm_sub_ps(loadGroup(*v[1], g), p0), d2 = _mm_sub_ps(loadGroup(*v[2], g), p0);
    const __m128 ddx = _mm_sub_ps(_mm_mul_ps(d1, ax), _mm_mul_ps(d2, bx));
    const __m128 ddy = _mm_sub_ps(_mm_mul_ps(d2, ay), _mm_mul_ps(d1, by));
    __m128 out[3];
    interleave(_mm_and_ps(p0, keep), _mm_and_ps(ddx, keep), _mm_and_ps(ddy, keep), out);
    float* dst = planes + 12 * g;
    if (g < kPlaneGroups - 1) {
      for (int k = 0; k < 3; ++k) _mm_storeu_ps(dst + 4 * k, out[k]);
    } else {  // one plane: v0 and ddx, then ddy
      _mm_storel_pi(reinterpret_cast<__m64*>(dst), out[0]);
      _mm_store_ss(dst + 2, _mm_movehl_ps(out[0], out[0]));
    }
  }
  return true;
}

bool setupQuad(const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c, const ScreenVertex& d,
               DWORD cullMode, const ViewportMapping& scissor, TriangleSetup* out, unsigned attributes) {
  if (!(std::fabs(d.x) < kCoordLimit) || !(std::fabs(d.y) < kCoordLimit)) return false;
  if (!setupTriangle(a, b, c, cullMode, scissor, out, attributes)) return false;
  TriangleSetup& t = *out;
  const std::int64_t xa = snap(a.x), ya = snap(a.y), xb = snap(b.x), yb = snap(b.y);
  const std::int64_t xc = snap(c.x), yc = snap(c.y), xd = snap(d.x), yd = snap(d.y);
  // The outline a, b, d, c turns the same way at every corner, and strictly.
  const std::int64_t px[4] = {xa, xb, xd, xc}, py[4] = {ya, yb, yd, yc};
  std::int64_t turn[4];
  for (int i = 0; i < 4; ++i) {
    const int j = (i + 1) & 3, k = (i + 2) & 3;
    turn[i] = cross(px[j] - px[i], py[j] - py[i], px[k] - px[j], py[k] - py[j]);
  }
  const bool clockwise = turn[0] > 0 && turn[1] > 0 && turn[2] > 0 && turn[3] > 0;
  const bool anticlockwise = turn[0] < 0 && turn[1] < 0 && turn[2] < 0 && turn[3] < 0;
  if (!clockwise && !anticlockwise) return false;
  // At most two sloped edges bound either end of a row (the walk has lanes for two a side):
  // a convex outline with three descends or climbs through a corner between its extremes.
  int downs = 0, ups = 0;
  for (int i = 0; i < 4; ++i) {
    const std::int64_t rise = py[(i + 1) & 3] - py[i];
    downs += rise > 0, ups += rise < 0;
  }
  if (downs > 2 || ups > 2) return false;
  // Both triangles take the quad's winding, so culling treats them alike.
  // d's values as the planes of (a, b, c), based at a, predict them.
  const float dx = static_cast<float>(static_cast<double>(xd) / TriangleSetup::kOne) - t.x0;
  const float dy = static_cast<float>(static_cast<double>(yd) / TriangleSetup::kOne) - t.y0;
  auto agrees = [&](const AttributePlane& p, float av, float bv, float cv, float dv, float tolerance) {
    const float predicted = p.v0 + p.ddx * dx + p.ddy * dy;
    const float size = std::max({std::fabs(av), std::fabs(bv), std::fabs(cv), std::fabs(dv)});
    return std::fabs(predicted - dv) <= tolerance * size + 1e-30f;
  };
  constexpr float kDepthTolerance = 1.0f / (1 << 22), kTolerance = 1.0f / (1 << 14);
  if (!agrees(t.z, a.z, b.z, c.z, d.z, kDepthTolerance) ||
      !agrees(t.rhw, a.rhw, b.rhw, c.rhw, d.rhw, kDepthTolerance) ||
      !agrees(t.pw, a.pw, b.pw, c.pw, d.pw, kDepthTolerance))
    return false;
  for (int k = 0; k < kAttrCount; ++k)
    if ((attributes >> k) & 1 && !agrees(t.q[k], a.q[k], b.q[k], c.q[k], d.q[k], kTolerance)) return false;
  // Four edges, clockwise on screen.
  const std::int64_t ox[4] = {xa, clockwise ? xb : xc, xd, clockwise ? xc : xb};
  const std::int64_t oy[4] = {ya, clockwise ? yb : yc, yd, clockwise ? yc : yb};
  for (int i = 0; i < 4; ++i) setEdge(ox[i], oy[i], ox[(i + 1) & 3], oy[(i + 1) & 3], &t.edge[i]);
  t.edgeCount = 4;
  const std::int64_t minY = std::min({ya, yb, yc, yd}), maxY = std::max({ya, yb, yc, yd});
  t.rowFirst = static_cast<int>(std::max<std::int64_t>(ceilPixel(minY), scissor.top));
  t.rowLast = static_cast<int>(std::min<std::int64_t>(floorPixel(maxY), scissor.bottom - 1));
  return t.rowFirst <= t.rowLast;
}

}  // namespace platform
