#include "foundation/TQelStringTree.h"

#include "foundation/ClassRegistry.h"
#include "foundation/HeapString.h"
#include "foundation/ObjectStream.h"

ClassRecord TQelStringTree::runtimeClass;
ClassRecord TQelClassTree::runtimeClass;

TQelStringTree::~TQelStringTree() {
  delete[] name;
  name = nullptr;
}

void TQelStringTree::setName(const char* text) {
  char* copy = copyText(text);
  delete[] name;
  name = copy;
}

int TQelStringTree::load(Stream& stream) {
  if (!TQelVTree::load(stream)) return 0;
  char* text = nullptr;
  if (!readString(stream, text)) return 0;
  delete[] name;
  name = text;
  return 1;
}

int TQelStringTree::save(Stream& stream) { return TQelVTree::save(stream) && writeString(stream, name); }
