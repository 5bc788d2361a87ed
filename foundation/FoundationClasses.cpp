// The foundation's static start-up steps, in their fixed order. Called from the registry's
// static initialiser (ClassRegistry.cpp), so no program that looks classes up can lose them.
#include <cstdlib>

#include "foundation/ClassRegistry.h"
#include "foundation/DebugLog.h"
#include "foundation/TQelLSObj.h"
#include "foundation/TQelStringTree.h"
#include "foundation/TQelVFrame.h"
#include "foundation/TQelVMesh.h"
#include "foundation/TQelVTree.h"

void registerFoundationClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  registerStaticClass<TQelVMesh::runtimeClass>("TQelVMesh", "TQelStringTree", &createRegisteredObject<TQelVMesh>);
  registerStaticClass<TQelVFrame::runtimeClass>("TQelVFrame", "TQelStringTree", &createRegisteredObject<TQelVFrame>);
  resetDebugLog();
  registerStaticClass<TQelLSObj::runtimeClass>("TQelLSObj", nullptr, &createRegisteredObject<TQelLSObj>);
  std::atexit(&destroyClassRegistry);  // runs after the handlers of the classes registered later
  registerStaticClass<TQelStringTree::runtimeClass>("TQelStringTree", "TQelTree",
                                                    &createRegisteredObject<TQelStringTree>);
  registerStaticClass<TQelClassTree::runtimeClass>("TQelClassTree", "TQelStringTree",
                                                   &createRegisteredObject<TQelClassTree>);
  registerStaticClass<TQelVTree::runtimeClass>("TQelVTree", "TQelLSObj", &createRegisteredObject<TQelVTree>);
  registerStaticClass<TQelTree::runtimeClass>("TQelTree", "TQelVTree", &createRegisteredObject<TQelTree>);
  registerStaticClass<TQelTreeSentinel::runtimeClass>("TQelTreeSentinel", "TQelVTree",
                                                      &createRegisteredObject<TQelTreeSentinel>);
}
