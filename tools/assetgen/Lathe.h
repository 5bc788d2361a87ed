// Surfaces of revolution for the generator's round models (pot, missile body, ball, sky).
// A profile is walked so that the surface lies on its right: with (dr, dh) the step along the
// profile, (dh, -dr) is the outward normal in the (radius, height) plane. Each strip is
// smooth; separate strips meet at hard edges.
#pragma once

#include <vector>

#include "tools/assetgen/GenMesh.h"

namespace assetgen {

struct ProfilePoint {
  double r = 0;  // distance from the axis
  double h = 0;  // position along the axis
  double v = 0;  // texture v of this ring
};

enum class LatheAxis { Y, Z };

struct LatheParams {
  int segments = 16;
  LatheAxis axis = LatheAxis::Y;
  Vec3 centre;           // model-space origin of the axis
  double uStart = 0.0;   // texture u at angle 0; u grows linearly to uEnd at a full turn
  double uEnd = 1.0;
  bool inward = false;   // faces and normals turned toward the axis (a sky seen from inside)
};

// Adds the surface of revolution of `strips` with shared vertices within each strip.
void addLathe(GenMesh& mesh, const std::vector<std::vector<ProfilePoint>>& strips, const LatheParams& params);

}  // namespace assetgen
