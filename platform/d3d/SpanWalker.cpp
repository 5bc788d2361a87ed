#include "platform/d3d/SpanWalker.h"

#include <climits>

namespace platform {

namespace {

std::int64_t floorDivide(std::int64_t a, std::int64_t b) {  // b > 0
  std::int64_t q = a / b;
  return q - static_cast<std::int64_t>((a % b != 0) & (a < 0));  // no jump: signs vary
}

int clampRow(std::int64_t v) { return static_cast<int>(std::clamp<std::int64_t>(v, INT_MIN / 2, INT_MAX / 2)); }

}  // namespace

SpanWalker::SpanWalker(const TriangleSetup& t)
    : y_(t.rowFirst), rowLo_(t.rowFirst), rowHi_(t.rowLast), left_(t.left), right_(t.right) {
  const std::int64_t yFix = static_cast<std::int64_t>(t.rowFirst) * TriangleSetup::kOne;
  int rights = 0, lefts = 0;
  for (int i = 0; i < t.edgeCount; ++i) {
    const TriangleSetup::Edge& e = t.edge[i];
    // E(px, py) = c(py) - dy * kOne * px with c(py) = dx * (py * kOne - yi) + dy * xi.
    const std::int64_t g = e.dx * (yFix - e.yi) + e.dy * e.xi - e.threshold;
    const std::int64_t step = e.dx * TriangleSetup::kOne;
    if (e.dy == 0) {
      // E - threshold is g + step * (py - rowFirst) on every column; rows where it is negative
      // are empty.
      if (step > 0) {
        if (g < 0) rowLo_ = std::max(rowLo_, clampRow(t.rowFirst - floorDivide(g, step)));
      } else if (step < 0) {
        rowHi_ = std::min(rowHi_, clampRow(t.rowFirst + floorDivide(g, -step)));
      } else if (g < 0) {
        rowHi_ = rowLo_ - 1;
      }
      continue;
    }
    // Right-bounding edge (dy > 0): px <= floor(g / den). Left (dy < 0): px >= -floor(g / den).
    // A triangle has at most two edges of a kind, and setupQuad makes no quad with more.
    int& count = e.dy > 0 ? rights : lefts;
    if (count == 2) continue;
    const int k = (e.dy > 0 ? 0 : 2) + count++;
    const std::int64_t den = (e.dy > 0 ? e.dy : -e.dy) * TriangleSetup::kOne;
    lanes_.den[k] = den;
    lanes_.q[k] = floorDivide(g, den);
    lanes_.r[k] = g - lanes_.q[k] * den;
    lanes_.qs[k] = floorDivide(step, den);
    lanes_.rs[k] = step - lanes_.qs[k] * den;
  }
  // A kind with one edge walks it twice; a kind with none (no polygon set up here) never bounds.
  auto fill = [&](int count, int lane) {
    if (count == 1) {
      lanes_.q[lane + 1] = lanes_.q[lane], lanes_.r[lane + 1] = lanes_.r[lane];
      lanes_.qs[lane + 1] = lanes_.qs[lane], lanes_.rs[lane + 1] = lanes_.rs[lane];
      lanes_.den[lane + 1] = lanes_.den[lane];
    } else if (count == 0) {
      for (int k = lane; k < lane + 2; ++k)
        lanes_.q[k] = INT64_MAX, lanes_.r[k] = 0, lanes_.qs[k] = 0, lanes_.rs[k] = 0, lanes_.den[k] = INT64_MAX;
    }
  };
  fill(rights, 0);
  fill(lefts, 2);
}

}  // namespace platform
