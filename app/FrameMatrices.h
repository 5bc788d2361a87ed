// The small matrices the frame driver turns and moves actors with (row vectors, angles in
// radians). M = A * M acts in the actor's own frame; M = M * A in its parent's frame.
#pragma once

#include "geometry/math/Matrix4.h"

// Turn about the vertical (y) axis: _11 = cos, _13 = -sin, _31 = sin, _33 = cos.
Matrix4 yawMatrix(float angle);
// Turn about the nose (z) axis: _11 = cos, _12 = sin, _21 = -sin, _22 = cos.
Matrix4 rollMatrix(float angle);
// Translation by (x, y, z).
Matrix4 moveMatrix(float x, float y, float z);
// The view transform of a rigid camera transform: its inverse (transposed rotation,
// translation -(p . row_i)).
Matrix4 viewFromCamera(const Matrix4& camera);
