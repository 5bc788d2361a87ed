// Clipping of triangles before rasterization, and the projection to screen space.
//
// Transformed vertices are clipped in homogeneous clip space against the near and far
// planes of the viewport's z range, against w > 0 (so no vertex is ever projected from
// behind the eye) and against a guard band a few thousand pixels around the viewport
// (which keeps the rasterizer's fixed-point range small); the viewport edges themselves are
// handled by scissoring. Pre-transformed vertices are clipped against the guard band only,
// in screen space. Split edges are always interpolated from their inside end, so a shared
// edge is cut at the same point by both of its triangles.
#pragma once

#include "platform/d3d/VertexProcessing.h"

#include <cstdint>

namespace platform {

// A vertex ready for triangle setup: screen position (pixel centres at integers), device
// z, the true 1/w (`rhw`), the perspective weight `pw` (rhw, or 1 without perspective
// correction) and every attribute multiplied by `pw`.
struct ScreenVertex {
  float x, y, z, rhw, pw;
  float q[kAttrCount];
};

// The viewport mapping of D3DVIEWPORT2 (no half-pixel offset) and the clip planes it implies.
struct ViewportMapping {
  float scaleX = 1, offsetX = 0;  // sx = xn * scaleX + offsetX
  float scaleY = 1, offsetY = 0;  // sy = yn * scaleY + offsetY (scaleY < 0: y flips)
  float minZ = 0, rangeZ = 1;     // z_dev = (zn - minZ) / rangeZ
  int left = 0, top = 0, right = 0, bottom = 0;  // scissor rectangle, right/bottom exclusive
  static constexpr int kMaxPlanes = 7;
  int planeCount = 0;
  float plane[kMaxPlanes][5];  // distance = a*x + b*y + c*z + d*w + e; inside when >= 0
  alignas(16) float planeLanes[5][8] = {};  // the same coefficients by term, one lane per plane (zeros past planeCount)

  // Builds the mapping for `vp` on a target of the given size; false for a degenerate viewport.
  // Returns at once when the last successful build had the same inputs (the fields are
  // meant to be written by build() and useScreenSpacePlanes() only).
  bool build(const D3DVIEWPORT2& vp, int targetWidth, int targetHeight);
  // Planes for screen-space vertices: the guard band only.
  void useScreenSpacePlanes();

 private:
  struct BuiltFor {
    bool valid = false;       // the fields above are build(viewport, width, height)
    bool clipPlanes = false;  // with the clip-space planes (not the screen-space ones)
    int width = 0, height = 0;
    D3DVIEWPORT2 viewport{};
  } builtFor_;
};

// Bit k set when `v` is outside plane k.
unsigned outcode(const ViewportMapping& map, const ClipVertex& v);

// Clips the polygon `poly` (count vertices) against the planes in `planeMask`; returns the
// vertex count of the result (0 when nothing is left), written back into `poly`. `poly` and
// `scratch` must hold kMaxClipVertices each.
constexpr int kMaxClipVertices = 3 + ViewportMapping::kMaxPlanes + 2;
int clipPolygon(const ViewportMapping& map, unsigned planeMask, ClipVertex* poly, int count, ClipVertex* scratch);

// Projects a clip-space vertex (divides by w, maps to the viewport).
void projectVertex(const ViewportMapping& map, const ClipVertex& v, bool perspective, ScreenVertex* out);
// Takes over a screen-space vertex (attributes are already weighted).
void screenVertex(const ClipVertex& v, bool perspective, ScreenVertex* out);

}  // namespace platform
