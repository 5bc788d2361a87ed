// A program that links only the foundation library and refers to no engine class by itself:
// it proves that the foundation's static start-up steps survive static linking.
//   no argument: makes a scratch folder with a non-empty QelDebug.txt and runs itself there
//                with --child; passes when the child passes and the log was emptied.
//   --child:     checks, from main, that the eight foundation classes are registered and
//                create objects of their class, then that destroyClassRegistry leaves the
//                records' names in place and lookups empty.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "foundation/ClassRegistry.h"
#include "foundation/TQelLSObj.h"

namespace {

int failures = 0;

void check(bool ok, const char* what, const char* detail = "") {
  if (!ok) {
    std::fprintf(stderr, "FAILED: %s %s\n", what, detail);
    ++failures;
  }
}

std::string fileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

int runChild() {
  check(fileText("QelDebug.txt").empty(), "the debug log is emptied before main");
  const char* names[] = {"TQelVMesh", "TQelVFrame", "TQelLSObj", "TQelStringTree",
                         "TQelClassTree", "TQelVTree", "TQelTree", "TQelTreeSentinel"};
  ClassRecord* records[8] = {};
  for (int i = 0; i < 8; ++i) {
    records[i] = findClassRecord(names[i]);
    check(records[i] != nullptr, "registered", names[i]);
    TQelLSObj* object = createObjectByName(names[i]);
    check(object && object->classRecord == records[i] && object->refCount == 1, "created", names[i]);
    if (object) object->release();
  }
  destroyClassRegistry();
  check(ClassRegistry == nullptr, "registry freed");
  check(createObjectByName("TQelTree") == nullptr, "no lookups after destroyClassRegistry");
  for (int i = 0; i < 8; ++i)
    check(records[i] && records[i]->className && std::strcmp(records[i]->className, names[i]) == 0,
          "record keeps its name until its own exit handler", names[i]);
  return failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "--child") == 0) return runChild();

  std::string folder = (std::filesystem::temp_directory_path() / "qelregistry-XXXXXX").string();
  if (!mkdtemp(folder.data())) return 2;
  { std::ofstream(folder + "/QelDebug.txt") << "left from an earlier run"; }
  pid_t pid = fork();
  if (pid == 0) {
    if (chdir(folder.c_str()) != 0) _exit(3);
    char self[] = "/proc/self/exe";
    char flag[] = "--child";
    char* args[] = {argv[0], flag, nullptr};
    execv(self, args);
    _exit(4);
  }
  int status = 0;
  if (pid < 0 || waitpid(pid, &status, 0) != pid) return 2;
  check(WIFEXITED(status) && WEXITSTATUS(status) == 0, "child checks");
  check(std::filesystem::exists(folder + "/QelDebug.txt") && fileText(folder + "/QelDebug.txt").empty(),
        "log emptied and kept");
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  if (failures == 0) std::printf("foundation registry-only program: all checks passed\n");
  return failures == 0 ? 0 : 1;
}
