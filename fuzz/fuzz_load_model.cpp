// libFuzzer target: arbitrary bytes as an .x file. The reader must end (no hang on hostile
// counts), allocate only what the data could hold, and build a model whose consumers stay in
// bounds: the first mesh's triangles name existing vertices, and every mesh goes through the
// software transform, lighting and clipping without leaving its buffers.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "foundation/TextStream.h"
#include "xfile/LoadModel.h"
#include "xfile/MaterialSink.h"
#include "xfile/MeshLighting.h"
#include "xfile/TQelXFrame.h"
#include "xfile/TQelXMesh.h"

namespace {

// Entries are kept for the whole input; images "load" for names starting with 't'.
class FuzzTable : public MaterialSink {
 public:
  struct Entry {
    std::string name;
    D3DMATERIAL desc{};
    Entry* bound = nullptr;
  };
  Texture* getTexture(const char* name) override {
    if (name[0] != 't') return nullptr;
    return add(name, D3DMATERIAL{80, {0.5f, 0.5f, 0.5f, 1}, {0.5f, 0.5f, 0.5f, 1}, {1, 1, 1, 1}, {}, 20, 0, 1});
  }
  Texture* createMaterial(const char* name, const D3DCOLORVALUE& d, const D3DCOLORVALUE& a, const D3DCOLORVALUE& s,
                          const D3DCOLORVALUE& e, float p, DWORD r) override {
    return add(name, D3DMATERIAL{80, d, a, s, e, p, 0, r});
  }
  Texture* findTexture(const char* name) override {
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
      if ((*it)->name == name) return handle(it->get());
    }
    return nullptr;
  }
  void setBoundTexture(Texture* m, Texture* t) override { entry(m)->bound = entry(t); }
  Texture* boundTexture(Texture* m) override { return handle(entry(m)->bound); }
  const D3DMATERIAL* materialDesc(Texture* e) override { return e ? &entry(e)->desc : nullptr; }

  static Entry* entry(Texture* t) { return reinterpret_cast<Entry*>(t); }
  static Texture* handle(Entry* e) { return reinterpret_cast<Texture*>(e); }
  std::vector<std::unique_ptr<Entry>> entries;

 private:
  Texture* add(const char* name, const D3DMATERIAL& desc) {
    entries.push_back(std::make_unique<Entry>());
    entries.back()->name = name;
    entries.back()->desc = desc;
    return handle(entries.back().get());
  }
};

class NoBatches : public TransformedBatchSink {
 public:
  explicit NoBatches(std::int32_t records) : records_(records) {}
  void drawBatch(DWORD vertexCount, DWORD indexCount) override {
    if (vertexCount > static_cast<DWORD>(records_) || indexCount > static_cast<DWORD>(kWorkIndexCapacity)) std::abort();
  }

 private:
  std::int32_t records_;
};

std::vector<D3DTLVERTEX> gVertices(kWorkVertexCapacity);
std::vector<WORD> gIndices(kWorkIndexCapacity);

void drawAll(const TQelXFrame& frame, FuzzTable& table) {
  Matrix4 view = IdentityMatrix;
  view._43 = 3.0f;  // some vertices in front of the near plane, some behind
  for (AttachmentNode* n = frame.attachments.first(); n; n = frame.attachments.after(n)) {
    const TQelXMesh* mesh = dynamic_cast<const TQelXMesh*>(n->object);
    if (!mesh) continue;
    const D3DMATERIAL* desc = table.materialDesc(mesh->material);
    D3DMATERIAL fallback{80, {1, 1, 1, 1}, {0.5f, 0.5f, 0.5f, 0}, {1, 1, 1, 0}, {}, 5, 0, 1};
    NoBatches batches(kWorkVertexCapacity);
    transformMesh(*mesh, desc ? *desc : fallback, view, IdentityMatrix, SoftwareLighting(), gVertices.data(),
                  kWorkVertexCapacity, gIndices.data(), kWorkIndexCapacity, batches);
  }
  for (TQelVTree* c = frame.firstChild(); c; c = c->nextSibling()) {
    if (const TQelXFrame* child = dynamic_cast<const TQelXFrame*>(c)) drawAll(*child, table);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > (1u << 20)) return 0;
  TextStream text;
  if (!text.assign(data, static_cast<std::int32_t>(size))) return 0;
  FuzzTable table;
  TQelXFrame* root = readModel(table, text);
  if (!root) return 0;
  std::int32_t vertexCount = 0, indexCount = 0;
  firstMeshVertices(root, &vertexCount);
  std::uint16_t* triangles = firstMeshTriangles(root, &indexCount);
  for (std::int32_t i = 0; i < indexCount; ++i) {
    if (triangles[i] >= vertexCount) std::abort();
  }
  delete[] triangles;
  drawAll(*root, table);
  root->release();
  return 0;
}
