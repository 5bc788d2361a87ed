// TQelVMesh: the generic mesh: a TQelStringTree with two extension hooks that do nothing here.
#pragma once

#include <cstdint>

#include "foundation/TQelStringTree.h"

class TQelVMesh : public TQelStringTree {
 public:
  static ClassRecord runtimeClass;

  virtual void extension1(std::uint32_t a);
  virtual void extension2(std::uint32_t a, std::uint32_t b);
};
