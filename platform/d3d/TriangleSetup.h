// Triangle setup: snapping to 1/256 pixel, culling by screen winding, the top-left fill
// rule and the attribute planes.
//
// Pixel (px, py) is sampled at its integer centre (px, py). With A = (x1-x0)(y2-y0) -
// (x2-x0)(y1-y0) in y-down screen space, A > 0 is visually clockwise (drawn under
// D3DCULL_CCW). After culling the vertices are ordered so that A > 0; a centre is covered
// when it is strictly inside, or on a top edge (horizontal, interior below) or a left edge.
// Coverage is exact integer arithmetic, so triangles sharing an edge never both cover, nor
// both miss, a centre on it.
#pragma once

#include "platform/d3d/Clipper.h"

#include <cstdint>

namespace platform {

// value(px, py) = v0 + ddx * (px - x0) + ddy * (py - y0), in screen space. No default
// values: a TriangleSetup on the stack for every triangle costs no clearing, and
// setupTriangle writes every plane of a triangle it accepts (AttributePlane{} is zero).
struct AttributePlane {
  float v0, ddx, ddy;
};

struct TriangleSetup {
  static constexpr int kSubPixelBits = 8;
  static constexpr std::int64_t kOne = 1 << kSubPixelBits;
  std::int64_t X[3], Y[3];  // snapped vertex positions, 1/256 px
  struct Edge {
    std::int64_t dx, dy;  // from vertex i to vertex j
    std::int64_t xi, yi;  // start vertex
    std::int64_t threshold;  // covered when E >= threshold: 0 on top/left edges, else 1
  } edge[4];
  int edgeCount;  // 3, or 4 for a quad (setupQuad)
  float x0, y0;  // reference point of the planes (vertex 0)
  int rowFirst, rowLast;  // rows to visit, inside the scissor rectangle
  int left, right;  // scissor columns, right exclusive
  AttributePlane z, rhw, pw, q[kAttrCount];

  // Columns [*first, *last] covered in row py; false when none are.
  bool rowSpan(int py, int* first, int* last) const;
  // Per-pixel coverage test (the reference for rowSpan).
  bool covers(int px, int py) const;
};

// Whole pixels of a snapped coordinate, rounded down or up (arithmetic shifts are exact floors).
constexpr std::int64_t floorPixel(std::int64_t v) { return v >> TriangleSetup::kSubPixelBits; }
constexpr std::int64_t ceilPixel(std::int64_t v) { return (v + TriangleSetup::kOne - 1) >> TriangleSetup::kSubPixelBits; }

// Bit k of an attribute set stands for plane q[k]; z, rhw and pw are always set up.
constexpr unsigned kAllAttributes = (1u << kAttrCount) - 1;

// Sets up the triangle (a, b, c); false when it is culled, degenerate, not finite or
// entirely outside the scissor rectangle. Planes of attributes outside `attributes` are zero.
bool setupTriangle(const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c, DWORD cullMode,
                   const ViewportMapping& scissor, TriangleSetup* out, unsigned attributes = kAllAttributes);

// Sets up the strip (a, b, c, d), triangles (a, b, c) and (c, b, d), as one convex quad when
// that draws exactly what the two triangles draw: both face the same way and survive
// culling, the outline a, b, d, c is strictly convex with at most two edges going down and
// two going up (the row walk's limit), and the planes of (a, b, c) give d's
// values (z exactly enough for depth, the attributes in `attributes` within 2^-14 of their
// size). The quad covers the pixels of the two triangles, each once (the shared edge gives
// its centres to one side only, by the fill rule), and is shaded with one set of planes.
// False when any condition fails: the caller then draws the two triangles.
bool setupQuad(const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c, const ScreenVertex& d,
               DWORD cullMode, const ViewportMapping& scissor, TriangleSetup* out,
               unsigned attributes = kAllAttributes);

}  // namespace platform
