// TQelStringTree: a TQelTree with an owned name, stored after the children as a stored string.
// TQelClassTree: a registered string tree that adds nothing.
#pragma once

#include "foundation/TQelVTree.h"

class TQelStringTree : public TQelTree {
 public:
  static ClassRecord runtimeClass;

  TQelStringTree() = default;
  ~TQelStringTree() override;

  // The tree load, then the name (replacing any earlier one).
  int load(Stream& stream) override;
  // The tree save, then the name (a null name is stored as one zero byte).
  int save(Stream& stream) override;

  // Replaces the name with a copy of `text` (null clears it).
  void setName(const char* text);

  char* name = nullptr;  // owned (new[]); null until named
};

class TQelClassTree : public TQelStringTree {
 public:
  static ClassRecord runtimeClass;
};
