// qelmodel: shows modellers what the engine's .x reader makes of their file.
//   qelmodel info FILE.x [--json [--full]]
//   qelmodel render FILE.x OUT.png [--yaw DEG] [--pitch DEG]
// The model is loaded in the file's own folder, as the engine runs in its asset folder
// (texture names are relative to the working directory), into a Renderer on the headless
// display backend. Exit status: 0 with a model,
// 2 when the file was read but holds no model, 1 for usage errors and unreadable files.
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>
#include <unistd.h>

#include "tools/qelmodel/DebugLogTail.h"
#include "tools/qelmodel/HeadlessRenderer.h"
#include "tools/qelmodel/ModelInfo.h"
#include "tools/qelmodel/ModelRender.h"
#include "xfile/LoadModel.h"
#include "xfile/TQelXFrame.h"

namespace {

int usage() {
  std::fprintf(stderr,
               "usage: qelmodel info FILE.x [--json [--full]]\n"
               "       qelmodel render FILE.x OUT.png [--yaw DEG] [--pitch DEG]\n");
  return 1;
}

bool parseDegrees(const char* text, float& value) {
  char* end = nullptr;
  double d = std::strtod(text, &end);
  if (end == text || *end != 0 || !std::isfinite(d)) return false;
  value = static_cast<float>(d);
  return true;
}

// A readable regular file, or a message on stderr.
bool checkReadable(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) {
    std::fprintf(stderr, "qelmodel: %s: not a readable file\n", path.string().c_str());
    return false;
  }
  std::FILE* file = std::fopen(path.string().c_str(), "rb");
  if (!file) {
    std::fprintf(stderr, "qelmodel: %s: cannot be opened: %s\n", path.string().c_str(), std::strerror(errno));
    return false;
  }
  std::fclose(file);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return usage();
  const std::string command = argv[1];
  const bool render = command == "render";
  if (!render && command != "info") return usage();

  InfoOptions info;
  RenderOptions view;
  std::filesystem::path output;
  int first = 3;
  if (render) {
    if (argc < 4) return usage();
    output = std::filesystem::absolute(argv[3]);
    first = 4;
  }
  for (int i = first; i < argc; ++i) {
    const std::string option = argv[i];
    if (!render && option == "--json") {
      info.json = true;
    } else if (!render && option == "--full") {
      info.full = true;
    } else if (render && (option == "--yaw" || option == "--pitch") && i + 1 < argc) {
      if (!parseDegrees(argv[++i], option == "--yaw" ? view.yawDegrees : view.pitchDegrees)) return usage();
    } else {
      return usage();
    }
  }

  const std::filesystem::path file = std::filesystem::absolute(argv[2]);
  if (!checkReadable(file)) return 1;
  if (chdir(file.parent_path().c_str()) != 0) {
    std::fprintf(stderr, "qelmodel: %s: cannot enter its folder\n", file.string().c_str());
    return 1;
  }

  HeadlessRenderer headless;
  if (!headless.created()) {
    std::fprintf(stderr, "qelmodel: the headless renderer cannot be created\n");
    return 1;
  }
  DebugLogTail log;
  TQelXFrame* root = loadModel(headless.target, file.filename().c_str());
  const std::vector<std::string> logLines = log.lines();
  if (!root) std::fprintf(stderr, "qelmodel: %s: no model (neither a top-level Frame nor a top-level Mesh)\n", argv[2]);

  int status = root ? 0 : 2;
  if (render) {
    int drawn = 0;
    if (!renderModel(root, headless.renderer, view, output.c_str(), &drawn)) {
      std::fprintf(stderr, "qelmodel: %s: the image cannot be written\n", output.string().c_str());
      status = 1;
    }
  } else {
    std::string report = modelInfo(argv[2], root, headless.renderer, logLines, info);
    std::fwrite(report.data(), 1, report.size(), stdout);
  }
  if (root) root->release();
  return status;
}
