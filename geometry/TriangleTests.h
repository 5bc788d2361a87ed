// TriangleTests: the two triangle primitives under the box-against-mesh test. Both work in 3D
// on points near a triangle's plane; the cost is a few cross and dot products.
#pragma once

#include "geometry/math/Vector3.h"

// True when P lies inside the triangle or on an edge or corner: the cross products of the
// corner directions seen from P all point the same way.
bool pointInTriangle(const Vector3& p, const Vector3& v0, const Vector3& v1, const Vector3& v2);
// True when one of the three edges of polygon E (E0-E1, E1-E2, E2-E0) meets triangle T
// (P0, P1, P2). Edges parallel to T's plane (|D . n| <= 1e-7) are ignored, so a degenerate T
// (zero normal) is never crossed.
bool edgesCrossTriangle(const Vector3& p0, const Vector3& p1, const Vector3& p2, const Vector3& e0,
                        const Vector3& e1, const Vector3& e2);
