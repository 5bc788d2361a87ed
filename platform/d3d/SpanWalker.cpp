#include "platform/d3d/SpanWalker.h"

namespace platform {

namespace {

std::int64_t floorDivide(std::int64_t a, std::int64_t b) {  // b > 0
  std::int64_t q = a / b;
  return q - static_cast<std::int64_t>((a % b != 0) & (a < 0));  // no jump: signs vary
}

}  // namespace

SpanWalker::SpanWalker(const TriangleSetup& t) : y_(t.rowFirst), left_(t.left), right_(t.right) {
  const std::int64_t yFix = static_cast<std::int64_t>(t.rowFirst) * TriangleSetup::kOne;
  quad_ = t.edgeCount == 4;
  for (int i = 0; i < t.edgeCount; ++i) {
    const TriangleSetup::Edge& e = t.edge[i];
    EdgeWalk& w = edge_[i];
    // E(px, py) = c(py) - dy * kOne * px with c(py) = dx * (py * kOne - yi) + dy * xi.
    const std::int64_t g = e.dx * (yFix - e.yi) + e.dy * e.xi - e.threshold;
    const std::int64_t step = e.dx * TriangleSetup::kOne;
    if (e.dy == 0) {
      w = {g, 0, step, 0, INT64_MAX, 0};
      continue;
    }
    // Right-bounding edge (dy > 0): px <= floor(g / den). Left (dy < 0): px >= -floor(g / den).
    const std::int64_t den = (e.dy > 0 ? e.dy : -e.dy) * TriangleSetup::kOne;
    w.den = den;
    w.sign = e.dy > 0 ? 1 : -1;
    w.q = floorDivide(g, den);
    w.r = g - w.q * den;
    w.qs = floorDivide(step, den);
    w.rs = step - w.qs * den;
  }
}

}  // namespace platform
