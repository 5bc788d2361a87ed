#include "platform/d3d/TriangleSetup.h"

#include <algorithm>
#include <cmath>

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

// llround of a float times kOne, inline. The product is exact in double and so is adding
// one half (|v| < 2^28 with at most 24 significant bits), so truncation rounds halves away
// from zero exactly like llround.
std::int64_t snap(float v) {
  const double d = static_cast<double>(v) * TriangleSetup::kOne;
  return static_cast<std::int64_t>(d + (d >= 0 ? 0.5 : -0.5));
}

AttributePlane makePlane(double v0, double v1, double v2, double dx1, double dy1, double dx2, double dy2,
                         double invArea) {
  AttributePlane p;
  p.v0 = static_cast<float>(v0);
  p.ddx = static_cast<float>(((v1 - v0) * dy2 - (v2 - v0) * dy1) * invArea);
  p.ddy = static_cast<float>(((v2 - v0) * dx1 - (v1 - v0) * dx2) * invArea);
  return p;
}

}  // namespace

bool TriangleSetup::rowSpan(int py, int* first, int* last) const {
  std::int64_t lo = left, hi = right - 1;
  const std::int64_t yFix = static_cast<std::int64_t>(py) * kOne;
  for (const Edge& e : edge) {
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
  for (const Edge& e : edge) {
    std::int64_t E = e.dx * (py * kOne - e.yi) - e.dy * (px * kOne - e.xi);
    if (E < e.threshold) return false;
  }
  return true;
}

bool setupTriangle(const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c, DWORD cullMode,
                   const ViewportMapping& scissor, TriangleSetup* out, unsigned attributes) {
  const ScreenVertex* v[3] = {&a, &b, &c};
  std::int64_t X[3], Y[3];
  for (int i = 0; i < 3; ++i) {
    if (!(std::fabs(v[i]->x) < kCoordLimit) || !(std::fabs(v[i]->y) < kCoordLimit)) return false;
    X[i] = snap(v[i]->x);
    Y[i] = snap(v[i]->y);
  }
  std::int64_t area = (X[1] - X[0]) * (Y[2] - Y[0]) - (X[2] - X[0]) * (Y[1] - Y[0]);
  if (area == 0) return false;
  if (cullMode == D3DCULL_CCW && area < 0) return false;
  if (cullMode == D3DCULL_CW && area > 0) return false;
  if (area < 0) {  // order clockwise on screen
    std::swap(v[1], v[2]);
    std::swap(X[1], X[2]);
    std::swap(Y[1], Y[2]);
    area = -area;
  }
  TriangleSetup& t = *out;
  std::int64_t minY = std::min({Y[0], Y[1], Y[2]}), maxY = std::max({Y[0], Y[1], Y[2]});
  t.rowFirst = static_cast<int>(std::max<std::int64_t>(ceilDiv(minY, TriangleSetup::kOne), scissor.top));
  t.rowLast = static_cast<int>(std::min<std::int64_t>(floorDiv(maxY, TriangleSetup::kOne), scissor.bottom - 1));
  t.left = scissor.left;
  t.right = scissor.right;
  if (t.rowFirst > t.rowLast || t.left >= t.right) return false;
  std::int64_t minX = std::min({X[0], X[1], X[2]}), maxX = std::max({X[0], X[1], X[2]});
  if (ceilDiv(minX, TriangleSetup::kOne) >= scissor.right || floorDiv(maxX, TriangleSetup::kOne) < scissor.left)
    return false;
  for (int i = 0; i < 3; ++i) {
    int j = (i + 1) % 3;
    TriangleSetup::Edge& e = t.edge[i];
    t.X[i] = X[i], t.Y[i] = Y[i];
    e.dx = X[j] - X[i];
    e.dy = Y[j] - Y[i];
    e.xi = X[i];
    e.yi = Y[i];
    bool top = e.dy == 0 && e.dx > 0;
    bool leftEdge = e.dy < 0;
    e.threshold = (top || leftEdge) ? 0 : 1;
  }
  // Planes from the snapped positions, so attributes agree with coverage.
  const double s = 1.0 / TriangleSetup::kOne;
  double x0 = X[0] * s, y0 = Y[0] * s;
  double dx1 = X[1] * s - x0, dy1 = Y[1] * s - y0, dx2 = X[2] * s - x0, dy2 = Y[2] * s - y0;
  double invArea = 1.0 / (dx1 * dy2 - dx2 * dy1);
  t.x0 = static_cast<float>(x0);
  t.y0 = static_cast<float>(y0);
  t.z = makePlane(v[0]->z, v[1]->z, v[2]->z, dx1, dy1, dx2, dy2, invArea);
  t.rhw = makePlane(v[0]->rhw, v[1]->rhw, v[2]->rhw, dx1, dy1, dx2, dy2, invArea);
  t.pw = makePlane(v[0]->pw, v[1]->pw, v[2]->pw, dx1, dy1, dx2, dy2, invArea);
  for (int k = 0; k < kAttrCount; ++k)
    t.q[k] = (attributes >> k) & 1 ? makePlane(v[0]->q[k], v[1]->q[k], v[2]->q[k], dx1, dy1, dx2, dy2, invArea)
                                   : AttributePlane{};
  return true;
}

}  // namespace platform
