#include "actors/MeshActor.h"

#include <cstring>
#include <new>

#include "geometry/SphereMesh.h"
#include "graphics/LastResult.h"
#include "graphics/Texture.h"
#include "platform/d3d/D3D.h"
#include "geometry/TerrainGrid.h"
#include "xfile/LoadModel.h"
#include "xfile/TQelXFrame.h"

MeshActor::~MeshActor() { freeMesh(); }

void MeshActor::freeMesh() {
  delete[] vertices;
  delete[] indices;
  vertices = nullptr;
  indices = nullptr;
  vertexCount = 0;
  indexCount = 0;
}

std::uint16_t* MeshActor::allocateMesh(std::int32_t newVertexCount, std::int32_t newIndexCount) {
  freeMesh();
  if (newVertexCount < 0 || newIndexCount < 0) return nullptr;
  vertices = new (std::nothrow) MeshVertex[newVertexCount];
  indices = new (std::nothrow) std::uint16_t[newIndexCount];
  if (vertices == nullptr || indices == nullptr) {
    freeMesh();
    return nullptr;
  }
  vertexCount = newVertexCount;
  indexCount = newIndexCount;
  return indices;
}

void MeshActor::buildSphere(std::int32_t segments, std::int32_t rings) {
  if (!isSphereSizeValid(segments, rings)) return;
  if (allocateMesh(sphereVertexCount(segments, rings), sphereIndexCount(segments, rings)) == nullptr) return;
  buildSphereVertices(vertices, segments, rings);
  buildSphereIndices(indices, segments, rings);
}

void MeshActor::sphericalTexCoords() { ::sphericalTexCoords(vertices, vertexCount); }

void MeshActor::planarTexCoords(float scale) { ::planarTexCoords(vertices, vertexCount, scale); }

void MeshActor::setPosition(const Vector3& p) {
  localMatrix._41 = p.x;
  localMatrix._42 = p.y;
  localMatrix._43 = p.z;
}

Vector3* MeshActor::bounceVelocity() { return nullptr; }

void MeshActor::setTexture(const Texture* entry) { texture = entry != nullptr ? entry->deviceTexture : nullptr; }

int MeshActor::loadMesh(MaterialSink& renderer, const char* fileName) {
  freeMesh();
  texture = nullptr;
  TQelXFrame* model = loadModel(renderer, fileName);
  if (model == nullptr) return 0;
  std::int32_t modelVertexCount = 0;
  const MeshVertex* modelVertices = firstMeshVertices(model, &modelVertexCount);
  std::int32_t modelIndexCount = 0;
  std::uint16_t* modelIndices = firstMeshTriangles(model, &modelIndexCount);
  if (modelVertices != nullptr && modelVertexCount > 0 && modelIndices != nullptr) {
    // The model keeps its own vertex array, so the actor takes a copy; the triangles are new.
    vertices = new (std::nothrow) MeshVertex[modelVertexCount];
    if (vertices != nullptr) {
      std::memcpy(vertices, modelVertices, sizeof(MeshVertex) * static_cast<std::size_t>(modelVertexCount));
      vertexCount = modelVertexCount;
      indices = modelIndices;
      indexCount = modelIndexCount;
      modelIndices = nullptr;
      setTexture(firstMeshTexture(model));  // the renderer's table keeps it alive
    }
  }
  delete[] modelIndices;
  model->release();
  return vertices != nullptr;
}

Matrix4 MeshActor::drawSelf(IDirect3DDevice3* device, const Matrix4& parentWorld) {
  Matrix4 world = localMatrix * parentWorld;  // the local transform applies first
  if (vertices == nullptr || device == nullptr) return world;
  // The texture colour alone: lighting's diffuse colour does not modulate it.
  lastResult = device->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 0);
  lastResult = device->SetRenderState(D3DRENDERSTATE_TEXTUREMAPBLEND, D3DTBLEND_COPY);
  lastResult = device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
  lastResult = device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
  D3DMATRIX worldTransform;
  std::memcpy(&worldTransform, &world, sizeof worldTransform);
  lastResult = device->SetTransform(D3DTRANSFORMSTATE_WORLD, &worldTransform);
  lastResult = device->SetTexture(0, texture);
  lastResult = device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, D3DFVF_VERTEX, vertices, DWORD(vertexCount), indices,
                                            DWORD(indexCount), D3DDP_WAIT);
  return world;
}
