// MeshDrawTarget: what TQelXMesh::draw needs of the renderer: the material descriptions of its
// entries, the parameters of software lighting and projection, the two work buffers, and the
// device calls that set the world transform and draw pre-transformed, pre-lit vertices
// (D3DFVF_TLVERTEX) as an indexed triangle list. The Renderer satisfies it with a thin adapter.
#pragma once

#include "geometry/math/Matrix4.h"
#include "geometry/math/Vector3.h"
#include "platform/d3d/D3DTypes.h"
#include "xfile/MaterialSink.h"

// Records the work buffers hold: 30000 D3DTLVERTEX and 15000 16-bit indices.
inline constexpr int kWorkVertexCapacity = 30000;
inline constexpr int kWorkIndexCapacity = 15000;

// The renderer's software lighting and projection parameters (defaults as after set-up).
struct SoftwareLighting {
  Vector3 lightDirection = Vector3(0.0f, 0.0f, 1.0f);  // world space, the way the light shines
  float lightColour[3] = {1.0f, 1.0f, 1.0f};
  float ambientColour[3] = {0.5f, 0.5f, 0.5f};
  float halfWidth = 320.0f;  // screen centre, pixels
  float halfHeight = 240.0f;
  float nearDistance = 1.0f;  // the clipping relies on 1.0
  float farDistance = 1000.0f;
};

class MeshDrawTarget : public MaterialSink {
 public:
  // The current software lighting parameters.
  virtual const SoftwareLighting& softwareLighting() = 0;
  // The work buffers: kWorkVertexCapacity records and kWorkIndexCapacity indices.
  virtual D3DTLVERTEX* vertexBuffer() = 0;
  virtual WORD* indexBuffer() = 0;
  // SetTransform(D3DTRANSFORMSTATE_WORLD, world).
  virtual void setWorldTransform(const Matrix4& world) = 0;
  // DrawIndexedPrimitive(triangle list, D3DFVF_TLVERTEX, vertexBuffer, vertexCount,
  // indexBuffer, indexCount, D3DDP_WAIT).
  virtual void drawTransformed(DWORD vertexCount, DWORD indexCount) = 0;
};
