// Helpers of the .x tests: reading a mesh or a material from a text, loading a model text
// through a file in the scratch directory.
#pragma once

#include <string>

#include "foundation/TextStream.h"
#include "tests/support/test_files.h"
#include "xfile/LoadModel.h"
#include "xfile/TQelXFrame.h"
#include "xfile/TQelXMesh.h"

// A text stream over `text`.
inline void setText(TextStream& stream, const std::string& text) {
  stream.assign(text.data(), static_cast<std::int32_t>(text.size()));
}

// readMesh over the text that follows the keyword "Mesh".
inline TQelXMesh* meshFrom(MaterialSink& sink, const std::string& text) {
  TextStream stream;
  setText(stream, text);
  return readMesh(sink, stream);
}

// loadModel of a file holding `text`.
inline TQelXFrame* modelFrom(MaterialSink& sink, const std::string& text, const std::string& name = "model.x") {
  qeltest::writeFileText(name, text);
  return loadModel(sink, name.c_str());
}

// Releases a model root (null allowed).
inline void releaseModel(TQelXFrame* root) {
  if (root) root->release();
}
