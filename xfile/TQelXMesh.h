// TQelXMesh: the in-memory form of an .x Mesh: vertices carrying position, normal and texture
// coordinates together (MeshVertex, the D3DVERTEX layout), polygonal faces of 16-bit vertex
// indices, and the one material and texture it is drawn with (renderer entries, not owned).
// Registered by name as "TQelXMesh" (parent "TQelStringTree"); see LoadModel.cpp.
//
// Face indices are kept as the file gave them (modulo 65536) and may lie at or beyond
// vertexCount: every consumer checks them before reading a vertex.
#pragma once

#include <cstdint>

#include "foundation/TQelStringTree.h"
#include "geometry/math/MeshVertex.h"

class Texture;
class MaterialSink;
class MeshDrawTarget;
class TextStream;
class TQelXFrame;

// One polygon; consumers draw it as the fan (0, k, k + 1), k = 1 .. count - 2.
struct MeshFace {
  std::int32_t count = 0;             // corners; 3 or more for a drawable face
  std::uint16_t* indices = nullptr;   // owned, `count` vertex indices in file order
};

class TQelXMesh : public TQelStringTree {
 public:
  static ClassRecord runtimeClass;

  TQelXMesh() = default;
  // Frees the vertices and every face record; texture and material are not touched.
  ~TQelXMesh() override;

  // Transforms, lights and clips the mesh in software and draws it as pre-transformed
  // vertices through `target` with the frame's worldViewMatrix and worldMatrix. A mesh
  // without a material is not drawn.
  virtual void draw(MeshDrawTarget& target, TQelXFrame& frame);

  // Replaces the vertex array with room for n zeroed vertices (none for n <= 0); vertexCount = 0.
  // 0 when out of memory (the mesh is then left without vertices).
  int allocateVertices(std::int32_t n);
  // Frees every face record and replaces the face array with room for n faces; faceCount = 0.
  // 0 when out of memory (the mesh is then left without faces).
  int allocateFaces(std::int32_t n);
  // A new face of m corners (indices zeroed; a negative m gives 0 corners) stored at
  // faces[faceCount]; null when the face array is full or memory runs out.
  MeshFace* addFace(std::int32_t m);

  std::int32_t vertexCount = 0;     // vertices in use
  std::int32_t faceCount = 0;       // faces in use
  std::int32_t vertexCapacity = 0;  // vertices allocated
  std::int32_t faceCapacity = 0;    // face pointers allocated
  MeshVertex* vertices = nullptr;   // owned; null when none
  MeshFace** faces = nullptr;       // owned with every record; null when none
  Texture* texture = nullptr;       // image entry, or the material entry standing in for it
  Texture* material = nullptr;      // the mesh's one material entry; null when none

 private:
  void freeFaces();
};

// Reads a Mesh block from the token after the keyword "Mesh" up to its "}" (or the end of the
// data) and returns a new mesh with one reference, owned by the caller; null when out of memory.
TQelXMesh* readMesh(MaterialSink& renderer, TextStream& text);
