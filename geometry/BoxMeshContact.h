// BoxMeshContact: the cube of half-size 2 around a position against the triangles of a mesh
// placed by a rigid transform. Every box triangle is tested against every mesh triangle in both
// directions, with no bounding test first: meant for meshes of a few hundred triangles.
#pragma once

#include "geometry/MeshView.h"
#include "geometry/math/Matrix4.h"

// True when an edge of the cube around `position` (world space) crosses a triangle of `mesh`
// (model space of `meshFrame`, whose first three rows are its axes and fourth its position) or
// an edge of a mesh triangle crosses a box face. With `resolve`, each crossing pushes `position`
// out along the mesh triangle's normal by the depth of the box triangle behind it, and the box
// is rebuilt around the new position before the next test. Triangles with an index outside the
// vertex array are skipped; a triangle without area pushes nothing.
bool boxMeshContact(Vector3& position, const Matrix4& meshFrame, const MeshView& mesh, bool resolve);
