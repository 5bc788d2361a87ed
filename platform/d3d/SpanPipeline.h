// The optimised pixel path: a triangle's covered pixels are gathered, row after row, into
// chunks of up to kChunk pixels, and each chunk runs through a short list of stage functions (interpolate, depth test,
// sample, depth write, combine, specular, fog, store) held as structure-of-arrays data.
// The stage functions are template instances chosen once per draw call (the sampler once
// per triangle) from a PixelConfig, so no render state is tested per pixel; the loops are
// plain enough for the compiler to vectorise. No allocation after construction.
// When a fused span kernel (SpanKernels) serves the draw call's state, it draws instead.
#pragma once

#include "platform/d3d/PixelConfig.h"
#include "platform/d3d/SpanKernels.h"

#include <cstdint>

namespace platform {

class SpanPipeline {
 public:
  static constexpr int kChunk = 32;

  // Per-chunk working data: up to kChunk covered pixels of one triangle, from one or more
  // rows, with their positions and target addresses; colours are floats in 0..255.
  struct Chunk {
    int n = 0;
    alignas(32) float fx[kChunk];  // pixel position minus the planes' reference point
    alignas(32) float fy[kChunk];
    std::uint16_t* color[kChunk];
    std::uint16_t* depth[kChunk];  // null entries when depth is not tested
    alignas(32) float z[kChunk];
    alignas(32) float rhw[kChunk];
    alignas(32) float u[kChunk];
    alignas(32) float v[kChunk];
    alignas(32) float diffuse[4][kChunk];
    alignas(32) float specular[4][kChunk];
    alignas(32) float texel[4][kChunk];
    alignas(32) float factor[4][kChunk];
    alignas(32) float out[4][kChunk];
    alignas(32) std::int32_t z16[kChunk];  // depth quantised to 0..0xFFFF
    alignas(32) std::uint8_t live[kChunk];
  };
  using Stage = void (*)(const SpanPipeline&, Chunk&);
  // The stage functions chosen for a draw call (null: the stage is skipped).
  struct Stages {
    Stage interpolate = nullptr, depthTest = nullptr, samplePoint = nullptr, sampleBilinear = nullptr,
          depthWrite = nullptr, colorCombine = nullptr, alphaCombine = nullptr, specular = nullptr, fog = nullptr,
          store = nullptr;
  };

  // Takes the draw call's configuration and chooses its span kernels (when enabled and
  // available); the chunk stages are chosen when the first triangle needs them.
  void prepare(const PixelConfig& config);
  // Whether fused span kernels may be used (default true); off, the chunk stages draw everything.
  void useKernels(bool on) { kernelsEnabled_ = on; }
  // Rasterizes one set-up triangle into the targets (`depth` may be absent when the
  // configuration does not test depth). `bilinear` selects the texture filter.
  void drawTriangle(const TriangleSetup& setup, bool bilinear, const ColorTarget& color, const DepthTarget& depth);

  // Read by the stage functions.
  PixelConfig config;
  const TriangleSetup* tri = nullptr;
  const float* colorArg[2][4] = {};  // [arg][channel]: arrays of the chunk
  const float* alphaArg[2] = {};

 private:
  Stages stages_;
  bool stagesReady_ = false;  // stages_, the chunk's constants and the argument bindings match `config`
  bool kernelsEnabled_ = true;
  SpanKernel kernelPoint_ = nullptr, kernelBilinear_ = nullptr;
  Chunk chunk_{};  // zeroed: lanes past a short chunk hold old but defined values
  void prepareStages();
  void bindArgs();
  void runChunk(Stage sample);
};

}  // namespace platform
