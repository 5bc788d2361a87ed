#include "xfile/TQelXFrame.h"

#include <new>

#include "foundation/ClassRegistry.h"
#include "foundation/TextStream.h"
#include "xfile/LoadModel.h"
#include "xfile/ReadMaterial.h"
#include "xfile/TQelXMesh.h"
#include "xfile/XTokens.h"

ClassRecord TQelXFrame::runtimeClass;

int TQelXFrame::attach(TQelLSObj* object) {
  if (!object) return 0;
  object->retain();
  if (attachments.append(object)) return 1;
  object->release();
  return 0;
}

TQelXMesh* TQelXFrame::firstMesh() const {
  AttachmentNode* node = attachments.first();
  return node ? dynamic_cast<TQelXMesh*>(node->object) : nullptr;
}

namespace {

// Frames nested deeper than this are not made children: their contents go to the frame at
// this depth, so a hostile file cannot exhaust the stack.
constexpr int kMaxFrameNesting = 256;

// FrameTransformMatrix: sixteen values at fixed stride, row by row, up to the closing "}".
void readTransform(TextStream& text, HeapString& current, Matrix4& transform) {
  takeTokensUntil(text, current, "{");
  for (int i = 0; i < 16 && !isEndOfData(current); ++i) {
    readFixedFloat(text, current, transform.at(i / 4, i % 4), 1);
  }
  takeTokensUntil(text, current, "}");
}

TQelXFrame* readFrameAt(MaterialSink& renderer, TextStream& text, int depth) {
  TQelXFrame* frame = static_cast<TQelXFrame*>(createObjectByName("TQelXFrame"));
  if (!frame) return nullptr;
  HeapString current;
  takeToken(text, current);
  frame->setName(isToken(current, "{") ? "" : current.c_str());
  for (;;) {
    takeToken(text, current);
    if (isEndOfData(current)) break;
    if (isToken(current, "Frame")) {
      if (depth + 1 >= kMaxFrameNesting) continue;  // deeper frames are read into this one
      TQelXFrame* child = readFrameAt(renderer, text, depth + 1);
      if (child && !frame->insertChild(child)) child->release();
    } else if (isToken(current, "Material")) {
      readMaterial(renderer, text, nullptr, true);
    } else if (isToken(current, "Mesh")) {
      TQelXMesh* mesh = readMesh(renderer, text);
      if (mesh) {
        frame->attach(mesh);
        mesh->release();
      }
    } else if (isToken(current, "}")) {
      break;
    } else if (isToken(current, "FrameTransformMatrix")) {
      readTransform(text, current, frame->transform);
    }
    // "{" and every other token are dropped.
  }
  return frame;
}

}  // namespace

TQelXFrame* readFrame(MaterialSink& renderer, TextStream& text) {
  registerXFileClasses();  // also links the registration into programs that only read frames
  return readFrameAt(renderer, text, 0);
}

MeshVertex* firstMeshVertices(const TQelXFrame* root, std::int32_t* vertexCount) {
  const TQelXMesh* mesh = root ? root->firstMesh() : nullptr;
  if (vertexCount) *vertexCount = mesh ? mesh->vertexCount : 0;
  return mesh ? mesh->vertices : nullptr;
}

std::uint16_t* firstMeshTriangles(const TQelXFrame* root, std::int32_t* indexCount) {
  if (indexCount) *indexCount = 0;
  const TQelXMesh* mesh = root ? root->firstMesh() : nullptr;
  if (!mesh) return nullptr;
  std::int64_t room = 0;
  for (std::int32_t j = 0; j < mesh->faceCount; ++j) {
    if (mesh->faces[j]->count >= 3) room += 3 * static_cast<std::int64_t>(mesh->faces[j]->count - 2);
  }
  if (room == 0 || room > INT32_MAX) return nullptr;
  std::uint16_t* indices = new (std::nothrow) std::uint16_t[static_cast<std::size_t>(room)];
  if (!indices) return nullptr;
  std::int32_t i = 0;
  for (std::int32_t j = 0; j < mesh->faceCount; ++j) {
    const MeshFace& face = *mesh->faces[j];
    for (std::int32_t k = 1; k + 1 < face.count; ++k) {
      std::uint16_t a = face.indices[0], b = face.indices[k], c = face.indices[k + 1];
      if (a >= mesh->vertexCount || b >= mesh->vertexCount || c >= mesh->vertexCount) continue;
      indices[i] = a;
      indices[i + 1] = b;
      indices[i + 2] = c;
      i += 3;
    }
  }
  if (indexCount) *indexCount = i;
  return indices;
}

Texture* firstMeshTexture(const TQelXFrame* root) {
  const TQelXMesh* mesh = root ? root->firstMesh() : nullptr;
  return mesh ? mesh->texture : nullptr;
}
