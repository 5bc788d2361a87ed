// TerrainContact: a point against the height-map grid. The ground height is interpolated on
// the cell's triangle (cells split along the diagonal from (l, h+1) to (l+1, h)).
#pragma once

#include "geometry/MeshView.h"

// Stretch of the normal speed on a bounce: the reflection keeps 0.6 of it (the float 0x3FCCCCCD).
inline constexpr float kBounceFactor = 1.6f;

// True when position.y + groundOffset lies strictly below the ground under `position` (world
// space). Outside the grid, on its last row or column, or for a terrain without a full grid of
// vertices: false. With `resolve` the point is lifted onto the ground and, when `velocity` is
// not null, the velocity is reflected about the contact triangle's normal.
bool terrainContact(Vector3& position, float groundOffset, Vector3* velocity, const TerrainView& terrain,
                    bool resolve);
