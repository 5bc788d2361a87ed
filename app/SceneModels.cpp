#include "app/SceneModels.h"

#include <cstring>

#include "actors/MeshActor.h"
#include "graphics/Texture.h"
#include "xfile/LoadModel.h"
#include "xfile/TQelXFrame.h"

int loadSceneMesh(MeshActor& actor, MaterialSink& table, const char* fileName) {
  actor.freeMesh();
  actor.texture = nullptr;
  TQelXFrame* model = loadModel(table, fileName);
  if (model == nullptr) return 0;
  std::int32_t vertexCount = 0;
  const MeshVertex* vertices = firstMeshVertices(model, &vertexCount);
  std::int32_t indexCount = 0;
  std::uint16_t* triangles = firstMeshTriangles(model, &indexCount);
  if (vertices != nullptr && vertexCount > 0 && triangles != nullptr) {
    // The model keeps its own arrays; the actor takes copies and outlives the model.
    if (std::uint16_t* indices = actor.allocateMesh(vertexCount, indexCount)) {
      std::memcpy(actor.vertices, vertices, sizeof(MeshVertex) * std::size_t(vertexCount));
      std::memcpy(indices, triangles, sizeof(std::uint16_t) * std::size_t(indexCount));
    }
  }
  delete[] triangles;
  setTexture(actor, firstMeshTexture(model));
  model->release();
  return actor.vertices != nullptr;
}

void setTexture(MeshActor& actor, const Texture* entry) {
  actor.texture = entry != nullptr ? entry->deviceTexture : nullptr;
}
