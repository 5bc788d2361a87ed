// assetgen OUTDIR: writes the demo's models and textures into OUTDIR (which must exist).
#include <cstdio>

#include "tools/assetgen/AssetSet.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: assetgen OUTDIR\n");
    return 2;
  }
  if (!assetgen::writeAssets(argv[1])) {
    std::fprintf(stderr, "assetgen: cannot write into %s\n", argv[1]);
    return 1;
  }
  return 0;
}
