#include "foundation/TQelVMesh.h"

#include "foundation/ClassRegistry.h"

ClassRecord TQelVMesh::runtimeClass;

void TQelVMesh::extension1(std::uint32_t) {}
void TQelVMesh::extension2(std::uint32_t, std::uint32_t) {}
