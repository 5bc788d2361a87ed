// TQelVFrame: the generic frame: a named tree node with two matrices (identity at
// construction, not stored) and a list of attached objects it holds one reference to each.
// It stores and loads exactly as a TQelStringTree. The extension hooks do nothing here.
#pragma once

#include <cstdint>

#include "foundation/AttachmentList.h"
#include "foundation/TQelStringTree.h"
#include "geometry/math/Matrix4.h"

class TQelVFrame : public TQelStringTree {
 public:
  static ClassRecord runtimeClass;

  TQelVFrame() = default;
  // Releases the attachments (first to last), then the string tree's destruction.
  ~TQelVFrame() override = default;

  virtual void extension1(std::uint32_t a);
  virtual void extension2(std::uint32_t a, std::uint32_t b);
  virtual void extension3(std::uint32_t a, std::uint32_t b);

  Matrix4 firstMatrix = IdentityMatrix;
  Matrix4 secondMatrix = IdentityMatrix;
  AttachmentList attachments;
};
