// The covered columns of a set-up triangle, row after row from top to bottom, with exact
// integer arithmetic: the same pixels as TriangleSetup::rowSpan and covers(), without a
// division per row. Each sloped edge keeps floor((E - threshold) / (|dy| * kOne)) as a
// quotient and remainder that advance by a constant per row (a Bresenham-style walk).
#pragma once

#include "platform/d3d/TriangleSetup.h"

#include <cstdint>

namespace platform {

class SpanWalker {
 public:
  // Starts at row setup.rowFirst.
  explicit SpanWalker(const TriangleSetup& setup);
  // The current row (rowFirst, then one more per next()).
  int row() const { return y_; }
  // Columns [*first, *last] covered in the current row; false when none are.
  bool span(int* first, int* last) const;
  // Moves to the next row.
  void next();

 private:
  struct EdgeWalk {
    std::int64_t q, r;      // floor quotient and remainder of (E - threshold) by `den`
    std::int64_t qs, rs;    // their step per row
    std::int64_t den;       // |dy| * kOne; 0 for a horizontal edge (then q holds E - threshold)
    int sign;               // +1: bounds the right end, -1: bounds the left end, 0: horizontal
  };
  EdgeWalk edge_[3];
  int y_;
  int left_, right_;
};

}  // namespace platform
