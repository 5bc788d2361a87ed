// The covered columns of a set-up triangle (or quad), row after row from top to bottom, with
// exact integer arithmetic: the same pixels as TriangleSetup::rowSpan and covers(), without a
// division per row. Each sloped edge keeps floor((E - threshold) / (|dy| * kOne)) as a
// quotient and remainder that advance by a constant per row (a Bresenham-style walk).
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
  // Columns [*first, *last] covered in the current row; false when none are. Branch-free
  // per edge (selects, not jumps): the carries of a sloped edge follow no pattern.
  bool span(int* first, int* last) const {
    std::int64_t lo = left_, hi = right_ - 1;
    bool empty = false;
    auto bound = [&](const EdgeWalk& w) {
      hi = std::min(hi, w.sign > 0 ? w.q : INT64_MAX);
      lo = std::max(lo, w.sign < 0 ? -w.q : INT64_MIN);
      empty |= (w.sign == 0) & (w.q < 0);
    };
    bound(edge_[0]), bound(edge_[1]), bound(edge_[2]);
    if (quad_) bound(edge_[3]);
    if (empty || lo > hi) return false;
    *first = static_cast<int>(lo);
    *last = static_cast<int>(hi);
    return true;
  }
  // Moves to the next row.
  void next() {
    ++y_;
    auto step = [](EdgeWalk& w) {
      w.r += w.rs;
      const bool carry = w.r >= w.den;
      w.q += w.qs + carry;
      w.r -= carry ? w.den : 0;
    };
    step(edge_[0]), step(edge_[1]), step(edge_[2]);
    if (quad_) step(edge_[3]);
  }

 private:
  struct EdgeWalk {
    std::int64_t q, r;      // floor quotient and remainder of (E - threshold) by `den`
    std::int64_t qs, rs;    // their step per row
    std::int64_t den;       // |dy| * kOne; INT64_MAX for a horizontal edge (q holds E - threshold)
    int sign;               // +1: bounds the right end, -1: bounds the left end, 0: horizontal
  };
  EdgeWalk edge_[4];  // the fourth only for a quad
  bool quad_;
  int y_;
  int left_, right_;
};

}  // namespace platform
