// TQelXFrame: the in-memory form of an .x Frame and the node type of a loaded model: a named
// tree node (children are nested frames) with its FrameTransformMatrix, the two matrices a
// draw uses, and the meshes attached to it (one reference each). Registered by name as
// "TQelXFrame" (parent "TQelStringTree"); see LoadModel.cpp.
// Destruction releases the attachments, then destroys the name and the child frames.
#pragma once

#include <cstdint>

#include "foundation/AttachmentList.h"
#include "foundation/TQelStringTree.h"
#include "geometry/math/Matrix4.h"
#include "geometry/math/MeshVertex.h"

class MaterialSink;
class Texture;
class TextStream;
class TQelXMesh;

class TQelXFrame : public TQelStringTree {
 public:
  static ClassRecord runtimeClass;

  TQelXFrame() = default;
  ~TQelXFrame() override = default;

  // Retains `object` and appends it to the attachments. 0 when out of memory (not retained).
  int attach(TQelLSObj* object);
  // The first attachment when it is a TQelXMesh, else null.
  TQelXMesh* firstMesh() const;

  Matrix4 transform = IdentityMatrix;        // FrameTransformMatrix as read (parent space)
  Matrix4 worldViewMatrix = IdentityMatrix;  // object to view, set by whoever draws
  Matrix4 worldMatrix = IdentityMatrix;      // object to world, set by whoever draws
  AttachmentList attachments;                // meshes, in file order
};

// Reads a Frame block from the token after the keyword "Frame" up to its "}" (or the end of
// the data): nested frames become children, meshes attachments, materials renderer entries.
// A new frame owned by the caller; null when out of memory.
TQelXFrame* readFrame(MaterialSink& renderer, TextStream& text);

// The first mesh's vertices (owned by the mesh) and its vertexCount; null and 0 when the
// root's first attachment is not a mesh.
MeshVertex* firstMeshVertices(const TQelXFrame* root, std::int32_t* vertexCount);
// A new[] array (owned by the caller) of the first mesh's fan triangles, three indices each, and
// their count. Triangles naming a vertex at or beyond vertexCount are left out. Null and 0 when
// there is no first mesh, it has no triangle, or memory runs out.
std::uint16_t* firstMeshTriangles(const TQelXFrame* root, std::int32_t* indexCount);
// The first mesh's texture entry (not owned), or null.
Texture* firstMeshTexture(const TQelXFrame* root);
