#include "xfile/TQelXMesh.h"

#include <new>

#include "foundation/ClassRegistry.h"

ClassRecord TQelXMesh::runtimeClass;

TQelXMesh::~TQelXMesh() {
  delete[] vertices;
  freeFaces();
}

int TQelXMesh::allocateVertices(std::int32_t n) {
  delete[] vertices;
  vertices = nullptr;
  vertexCount = 0;
  vertexCapacity = 0;
  if (n <= 0) return 1;
  vertices = new (std::nothrow) MeshVertex[static_cast<std::size_t>(n)]();
  if (!vertices) return 0;
  vertexCapacity = n;
  return 1;
}

void TQelXMesh::freeFaces() {
  for (std::int32_t i = 0; i < faceCount; ++i) {
    delete[] faces[i]->indices;
    delete faces[i];
  }
  delete[] faces;
  faces = nullptr;
  faceCount = 0;
  faceCapacity = 0;
}

int TQelXMesh::allocateFaces(std::int32_t n) {
  freeFaces();
  if (n <= 0) return 1;
  faces = new (std::nothrow) MeshFace*[static_cast<std::size_t>(n)]();
  if (!faces) return 0;
  faceCapacity = n;
  return 1;
}

MeshFace* TQelXMesh::addFace(std::int32_t m) {
  if (faceCount >= faceCapacity) return nullptr;
  MeshFace* face = new (std::nothrow) MeshFace;
  if (!face) return nullptr;
  if (m > 0) {
    face->indices = new (std::nothrow) std::uint16_t[static_cast<std::size_t>(m)]();
    if (!face->indices) {
      delete face;
      return nullptr;
    }
    face->count = m;
  }
  faces[faceCount++] = face;
  return face;
}
