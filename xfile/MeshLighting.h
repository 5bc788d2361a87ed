// The software transform and lighting of a mesh: every vertex is lit with one directional
// light, an ambient term and a specular highlight and projected to the screen; fan triangles
// crossing the near plane are clipped. The output is D3DTLVERTEX records (vertex i becomes
// record i, clip records follow) and 16-bit indices, written into caller-given buffers.
//
// Spaces: positions and normals are model space; W (world-view) maps model to view space,
// M (world) model to world space; the light is brought into model space once per call.
// Colour channels are clamped to 0..255. Nothing here allocates.
#pragma once

#include <cstdint>

#include "geometry/math/Matrix4.h"
#include "geometry/math/MeshVertex.h"
#include "platform/d3d/D3DTypes.h"
#include "xfile/MeshDrawTarget.h"

class TQelXMesh;

// What every vertex of one call shares.
struct LightingConstants {
  float dark[3];      // ambient-lit level per channel
  float bright[3];    // fully lit level per channel
  float specular[3];  // the material's specular colour
  float power;        // specular power
  float lightColour[3];
  Vector3 light;      // model space, the way the light shines
  Vector3 view;       // model space, from the origin towards the eye
  float q;            // n / (f - n)
};

LightingConstants computeLightingConstants(const D3DMATERIAL& material, const SoftwareLighting& lighting,
                                           const Matrix4& worldView, const Matrix4& world);

// Lights and projects one vertex into `out`. False when it lies closer than the near distance
// (rhw = -1, sx and sy then 0): the call needs clipping.
bool transformVertex(const MeshVertex& vertex, const LightingConstants& constants, const Matrix4& worldView,
                     const SoftwareLighting& lighting, D3DTLVERTEX& out);

// Receives each filled batch: records [0, vertexCount) and indices [0, indexCount) of the buffers.
class TransformedBatchSink {
 public:
  virtual ~TransformedBatchSink() = default;
  virtual void drawBatch(DWORD vertexCount, DWORD indexCount) = 0;
};

// Transforms, lights and clips the whole mesh into the buffers and hands them to `sink`: once
// for a mesh that fits, in several batches when the indices or clip records would overflow.
// Triangles naming a vertex at or beyond vertexCount are left out. Refused (0, nothing drawn)
// when the mesh's vertices and two clip records do not fit, or the index buffer holds fewer
// than two triangles. 1 otherwise.
int transformMesh(const TQelXMesh& mesh, const D3DMATERIAL& material, const Matrix4& worldView,
                  const Matrix4& world, const SoftwareLighting& lighting, D3DTLVERTEX* vertices,
                  std::int32_t vertexCapacity, WORD* indices, std::int32_t indexCapacity,
                  TransformedBatchSink& sink);
