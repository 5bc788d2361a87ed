// Deferred shading of opaque draws. Instead of shading every pixel a triangle wins at the
// time it is drawn, the depth test (and write) runs at once and the triangle's id is
// recorded in an owner buffer, one 16-bit id per target pixel; shading waits until
// something needs the colours, and then each recorded triangle shades only the pixels it
// still owns. Pixels that later triangles cover again (a sky under terrain, terrain behind
// nearer terrain) are never shaded, and the colours come out exactly as drawing in order
// would give, because a pixel's final colour in an opaque scene is its last winner's.
//
// Only opaque draws that do not write depth are deferred: backgrounds such as a sky, drawn
// first and mostly covered later. Opaque draws that write depth are drawn at once while work
// is pending, by kernels that also take ownership away from the pixels they write; anything
// else (blending, states the fused kernels do not serve) needs the pending work shaded
// first. Drawing everything deferred would cost a second pass over every triangle, which
// only pays where much is covered again. The device resolves pending work before anything else touches the colour target (another
// draw, a clear, a new target, the end of the scene) and whenever a surface is read,
// written or destroyed from outside (flushAll, called from the surface layer), so texture
// memory a recorded draw reads stays valid and unchanged until its pixels are shaded.
// Memory grows to the largest batch seen and is then reused: no allocation per frame.
#pragma once

#include "platform/d3d/PixelConfig.h"
#include "platform/d3d/SpanKernels.h"

#include <cstdint>
#include <vector>

namespace platform {

class DeferredShading {
 public:
  DeferredShading() = default;
  ~DeferredShading();
  DeferredShading(const DeferredShading&) = delete;
  DeferredShading& operator=(const DeferredShading&) = delete;

  // Targets `color` (all pixels unowned). Pending work must have been resolved.
  void setTarget(const ColorTarget& color);
  // How a draw call's triangles go: recorded (addTriangle), drawn at once with ownership
  // cleared (drawClearing), or drawn by the caller, which first resolves pending work.
  enum class Mode { kDefer, kClearOwners, kResolveFirst };
  // Starts a draw call described by `config` and says how its triangles go.
  // `depthPassesEverywhere`: the caller knows the depth test passes at every pixel the draw
  // can reach (depth freshly cleared to 1 under LESSEQUAL), so a deferred draw skips it.
  Mode beginDraw(const PixelConfig& config, bool depthPassesEverywhere = false);
  // Depth-tests one triangle of a kDefer draw against `depth` and records it where it
  // passes; `bilinear` picks its texture filter.
  void addTriangle(const TriangleSetup& setup, bool bilinear, const DepthTarget& depth);
  // Draws one triangle of a kClearOwners draw into the target.
  void drawClearing(const TriangleSetup& setup, bool bilinear, const DepthTarget& depth);
  // Whether recorded pixels wait for shading.
  bool pending() const { return !triangles_.empty(); }
  // Shades every recorded pixel into the target and forgets the recorded work.
  void resolve();
  // Resolves the pending work of every DeferredShading in the program. The surface layer
  // calls it before any outside access to a surface; each call is counted.
  static void flushAll();
  // How many times flushAll ran: a change means surfaces may have been written from outside.
  static unsigned outsideAccesses();

 private:
  struct Draw {
    PixelConfig config;
    TextureImage texture;  // config.texture points here while shading
    OwnedSpanKernel point = nullptr, bilinear = nullptr;
  };
  struct Triangle {
    TriangleSetup setup;
    std::uint32_t draw;
    bool bilinear;
  };
  static constexpr std::size_t kMaxTriangles = 0xFFFF;  // ids 1..0xFFFF; 0 is "unowned"

  ColorTarget color_;
  PixelView16 owners_;
  std::vector<std::uint16_t> ownerBits_;
  std::vector<Draw> draws_;
  std::vector<Triangle> triangles_;
  VisibilityKernel visibility_ = nullptr;
  ClearingSpanKernel clearPoint_ = nullptr, clearBilinear_ = nullptr;
  const PixelConfig* clearConfig_ = nullptr;  // of the current kClearOwners draw
  bool drawOpen_ = false;  // the last beginDraw answered kDefer
  static constexpr int kNoRow = 1 << 30;
  int rowFirst_ = kNoRow, rowLast_ = -1;  // owner rows that may hold ids
  DeferredShading* nextPending_ = nullptr;  // in the list of instances with pending work
  void enlist();
  void delist();
};

}  // namespace platform
