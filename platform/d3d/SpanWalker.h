// The covered columns of a set-up triangle (or quad), row after row from top to bottom, with
// exact integer arithmetic: the same pixels as TriangleSetup::rowSpan and covers(), without a
// division per row. Each sloped edge keeps floor((E - threshold) / (|dy| * kOne)) as a
// quotient and remainder that advance by a constant per row (a Bresenham-style walk).
//
// The edges sit in four lanes whose roles are fixed, so that a row's bounds need no choice per
// edge: lanes 0 and 1 hold the edges bounding a row's right end (dy > 0), lanes 2 and 3 those
// bounding its left end (dy < 0). A polygon with one edge of a kind walks it in both of that
// kind's lanes. Horizontal edges bound only the rows, and become a row range.
#pragma once

#include "platform/d3d/TriangleSetup.h"

#include <algorithm>
#include <cstdint>

namespace platform {

class SpanWalker {
 public:
  // Starts at row setup.rowFirst.
  explicit SpanWalker(const TriangleSetup& setup);
  // The current row (rowFirst, then one more per next()).
  int row() const { return y_; }
  // Columns [*first, *last] covered in the current row; false when none are.
  bool span(int* first, int* last) const {
    if (y_ < rowLo_ || y_ > rowHi_) return false;
    const std::int64_t hi = std::min({lanes_.q[0], lanes_.q[1], std::int64_t{right_} - 1});
    const std::int64_t lo = std::max({-lanes_.q[2], -lanes_.q[3], std::int64_t{left_}});
    if (lo > hi) return false;
    *first = static_cast<int>(lo);
    *last = static_cast<int>(hi);
    return true;
  }
  // Moves to the next row.
  void next() {
    ++y_;
    for (int k = 0; k < 4; ++k) {
      lanes_.r[k] += lanes_.rs[k];
      const bool carry = lanes_.r[k] >= lanes_.den[k];
      lanes_.q[k] += lanes_.qs[k] + carry;
      lanes_.r[k] -= carry ? lanes_.den[k] : 0;
    }
  }

 private:
  // Per lane: the floor quotient and remainder of (E - threshold) by den = |dy| * kOne, and
  // their steps per row.
  struct Lanes {
    std::int64_t q[4], r[4], qs[4], rs[4], den[4];
  } lanes_;
  int y_;
  int rowLo_, rowHi_;  // rows the horizontal edges leave open (none when rowLo_ > rowHi_)
  int left_, right_;   // scissor columns, right exclusive
};

}  // namespace platform
