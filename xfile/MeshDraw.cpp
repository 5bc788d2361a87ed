// TQelXMesh::draw: the software path of MeshLighting wired to the renderer's work buffers and
// device calls.
#include "xfile/MeshDrawTarget.h"
#include "xfile/MeshLighting.h"
#include "xfile/TQelXFrame.h"
#include "xfile/TQelXMesh.h"

namespace {

class TargetBatches : public TransformedBatchSink {
 public:
  explicit TargetBatches(MeshDrawTarget& target) : target_(target) {}
  void drawBatch(DWORD vertexCount, DWORD indexCount) override { target_.drawTransformed(vertexCount, indexCount); }

 private:
  MeshDrawTarget& target_;
};

}  // namespace

void TQelXMesh::draw(MeshDrawTarget& target, TQelXFrame& frame) {
  const D3DMATERIAL* desc = material ? target.materialDesc(material) : nullptr;
  if (!desc) return;  // nothing to light the mesh with: not drawn
  target.setWorldTransform(frame.worldMatrix);
  TargetBatches batches(target);
  transformMesh(*this, *desc, frame.worldViewMatrix, frame.worldMatrix, target.softwareLighting(),
                target.vertexBuffer(), kWorkVertexCapacity, target.indexBuffer(), kWorkIndexCapacity, batches);
}
