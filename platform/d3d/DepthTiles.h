// A coarse copy of a depth buffer: for every 8x8 tile, the largest stored value. Under the
// LESS and LESSEQUAL tests, a triangle whose smallest depth exceeds the largest value of
// every tile it reaches fails at every pixel, and can be dropped before its rows are walked:
// particles behind a hill cost their set-up and no more.
//
// The map stays an upper bound for as long as the depth buffer only takes smaller values,
// which is all that LESS and LESSEQUAL draws ever write. The owner drops it (invalidate)
// whenever the buffer may take larger ones: a clear, a draw writing under another test, a
// new target, or a write from outside.
#pragma once

#include "platform/d3d/RasterTargets.h"
#include "platform/d3d/TriangleSetup.h"

#include <cstdint>
#include <vector>

namespace platform {

class DepthTiles {
 public:
  static constexpr int kTileShift = 3;  // 8x8 pixels

  // Whether the map holds an upper bound of the buffer it was built from.
  bool valid() const { return valid_; }
  void invalidate() { valid_ = false; }
  // Takes the largest value of every tile of the top-left width x height pixels of `depth`.
  // Memory grows to the largest size seen and is then reused.
  void build(const DepthTarget& depth, int width, int height);
  // True when every pixel `setup` covers holds a smaller stored depth than the triangle
  // gives it, so a LESS or LESSEQUAL test fails everywhere. False when it cannot tell.
  bool hides(const TriangleSetup& setup) const;

 private:
  std::vector<std::uint16_t> tiles_;  // row after row of tiles
  int columns_ = 0, rows_ = 0;        // tiles
  int width_ = 0, height_ = 0;        // pixels covered
  bool valid_ = false;
};

}  // namespace platform
