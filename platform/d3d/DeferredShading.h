// Deferred shading of opaque draws. Instead of shading every pixel a triangle wins at the
// time it is drawn, the triangle is recorded; shading waits until something needs the
// colours. Then the recorded triangles run from the last to the first, each shading only
// the pixels that pass its depth test and are still free in a "taken" mask (one bit per
// target pixel, small enough to stay in cache), and taking them: every pixel gets its last
// winner, and pixels that later triangles cover again (a sky under terrain) are never
// shaded. The colours come out exactly as drawing in order would give, because a pixel's
// final colour in an opaque scene is its last winner's.
//
// Only opaque draws that do not write depth are deferred: backgrounds such as a sky, drawn
// first and mostly covered later. Opaque draws that write depth are drawn at once while work
// is pending, by kernels that also take the pixels they write; so the depth buffer changes
// only at taken pixels, and a deferred triangle's depth test gives at resolve time what it
// gave when it was drawn. A deferred draw that comes after such a draw shades the pending
// work first (the taken pixels would otherwise hide it). Anything else (blending, states the
// fused kernels do not serve) needs the pending work shaded first too. The device resolves
// pending work before anything else touches the colour or depth target (another draw, a
// clear, a new target, the end of the scene) and whenever a surface is read, written or
// destroyed from outside (flushAll, called from the surface layer), so texture and depth
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

  // Targets `color` (all pixels free). Pending work must have been resolved.
  void setTarget(const ColorTarget& color);
  // How a draw call's triangles go: recorded (addTriangle), drawn at once taking their
  // pixels (drawTaking), or drawn by the caller, which first resolves pending work.
  enum class Mode { kDefer, kTake, kResolveFirst };
  // Starts a draw call described by `config` and says how its triangles go.
  // `depthPassesEverywhere`: the caller knows the depth test passes at every pixel the draw
  // can reach (depth freshly cleared to 1 under LESSEQUAL), so a deferred draw skips it.
  Mode beginDraw(const PixelConfig& config, bool depthPassesEverywhere = false);
  // Records one triangle of a kDefer draw, depth-tested against `depth` when it is shaded;
  // `bilinear` picks its texture filter.
  void addTriangle(const TriangleSetup& setup, bool bilinear, const DepthTarget& depth);
  // Draws one triangle of a kTake draw into the target.
  void drawTaking(const TriangleSetup& setup, bool bilinear, const DepthTarget& depth);
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
    PixelConfig config;    // the depth test off when it passes everywhere
    TextureImage texture;  // config.texture points here while shading
    OwnedSpanKernel point = nullptr, bilinear = nullptr;
  };
  struct Triangle {
    TriangleSetup setup;
    DepthTarget depth;
    std::uint32_t draw;
    bool bilinear;
  };
  // Triangles recorded before the pending work is shaded, bounding the batch's memory.
  static constexpr std::size_t kMaxTriangles = 0xFFFF;

  ColorTarget color_;
  PixelMask taken_;
  std::vector<std::uint8_t> takenBits_;
  std::vector<Draw> draws_;
  std::vector<Triangle> triangles_;
  TakingSpanKernel takePoint_ = nullptr, takeBilinear_ = nullptr;
  const PixelConfig* takeConfig_ = nullptr;  // of the current kTake draw
  bool drawOpen_ = false;  // the last beginDraw answered kDefer
  bool taking_ = false;    // a kTake draw ran since the pending work began
  static constexpr int kNoRow = 1 << 30;
  int rowFirst_ = kNoRow, rowLast_ = -1;  // rows of the taken mask that may be set
  void coverRows(const TriangleSetup& setup);
  DeferredShading* nextPending_ = nullptr;  // in the list of instances with pending work
  void enlist();
  void delist();
};

}  // namespace platform
