#include "xfile/LoadModel.h"

#include <new>

#include "foundation/ClassRegistry.h"
#include "foundation/TextStream.h"
#include "xfile/ReadMaterial.h"
#include "xfile/TQelXFrame.h"
#include "xfile/TQelXMesh.h"
#include "xfile/XTokens.h"

void registerXFileClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  registerFoundationClasses();  // the foundation's start-up steps come first
  registerStaticClass<TQelXMesh::runtimeClass>("TQelXMesh", "TQelStringTree", &createRegisteredObject<TQelXMesh>);
  registerStaticClass<TQelXFrame::runtimeClass>("TQelXFrame", "TQelStringTree", &createRegisteredObject<TQelXFrame>);
}

namespace {
// Lives in the file that defines loadModel, so every program that loads models registers the
// two classes even when it links the reader from the static library.
[[maybe_unused]] const bool gXFileClassesRegistered = (registerXFileClasses(), true);

// A "template" or "Header" block, from its keyword: tokens up to the first "{" and the block
// with its nested braces. False when the data ended inside it.
bool passOverBlock(TextStream& text, HeapString& current) {
  int depth = 0;
  for (;;) {
    takeToken(text, current);
    if (isEndOfData(current)) return false;
    if (isToken(current, "{")) {
      ++depth;
    } else if (isToken(current, "}") && --depth == 0) {
      return true;
    }
  }
}

}  // namespace

TQelXFrame* loadModel(MaterialSink& renderer, const char* fileName) {
  registerXFileClasses();
  TextStream* text = new (std::nothrow) TextStream;
  if (!text) return nullptr;
  TQelXFrame* result = fileName && text->loadFile(fileName) ? readModel(renderer, *text) : nullptr;
  delete text;
  return result;
}

TQelXFrame* readModel(MaterialSink& renderer, TextStream& text) {
  registerXFileClasses();
  TQelXFrame* result = nullptr;
  HeapString current;
  takeToken(text, current);
  while (!isEndOfData(current)) {
    if (isToken(current, "template") || isToken(current, "Header")) {
      if (!passOverBlock(text, current)) break;
    } else if (isToken(current, "Material")) {
      readMaterial(renderer, text, nullptr, true);
    } else if (isToken(current, "Frame")) {
      TQelXFrame* frame = readFrame(renderer, text);
      if (frame) {
        if (result) result->release();  // an earlier top-level result is destroyed
        result = frame;
      }
    } else if (isToken(current, "Mesh")) {
      TQelXFrame* frame = static_cast<TQelXFrame*>(createObjectByName("TQelXFrame"));
      TQelXMesh* mesh = readMesh(renderer, text);
      if (frame && mesh) frame->attach(mesh);
      if (mesh) mesh->release();
      if (frame) {
        if (result) result->release();
        result = frame;
      }
      break;  // nothing after a top-level Mesh is read
    }
    takeToken(text, current);
  }
  return result;
}
