// SphereMesh: a unit sphere about the z axis as an indexed triangle list, and spherical
// texture coordinates (longitude about z from +x, latitude from the x-y plane) for any mesh.
// Ring k of n runs from the pole z = -1 (k = 0) to z = +1; each ring has c + 1 vertices spaced
// 2*pi / (c - 1) apart, so vertex c - 1 closes the ring at 2*pi and vertex c overlaps one step.
#pragma once

#include <cstdint>

#include "geometry/math/MeshVertex.h"

// pi as the float 3.1415927 (0x40490FDB); the sphere's steps and mappings use it.
inline constexpr float kSpherePi = 3.1415927f;

// True for 3 <= segments, 3 <= rings and rings * (segments + 1) <= 65536 (16-bit indices).
bool isSphereSizeValid(std::int32_t segments, std::int32_t rings);
// rings * (segments + 1); the size must be valid.
std::int32_t sphereVertexCount(std::int32_t segments, std::int32_t rings);
// segments * (rings - 1) * 6; the size must be valid.
std::int32_t sphereIndexCount(std::int32_t segments, std::int32_t rings);
// Writes the vertices, ring after ring: position = normal = (r cos t, r sin t, sin p),
// tu = t / 2pi, tv = p / pi + 0.5, with p and t advanced by repeated float addition.
void buildSphereVertices(MeshVertex* vertices, std::int32_t segments, std::int32_t rings);
// Writes the indices: per band k and step j, with w = c + 1, the triangles
// (k*w+j, (k+1)*w+j, k*w+j+1) and ((k+1)*w+j, (k+1)*w+j+1, k*w+j+1).
void buildSphereIndices(std::uint16_t* indices, std::int32_t segments, std::int32_t rings);
// Replaces tu, tv by longitude / 2pi + 0.5 and latitude / pi + 0.5 of each vertex position
// (0 where the angle is undefined: x = y = 0 for tu, x = y = z = 0 for tv). Null does nothing.
void sphericalTexCoords(MeshVertex* vertices, std::int32_t vertexCount);
