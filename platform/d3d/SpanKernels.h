// Fused span kernels: one function per common render-state combination that walks a set-up
// triangle's rows and shades eight pixels at a time with AVX2 (interpolation with an exact
// divide per pixel, depth test first and skip of blocks where nothing passes, bilinear or
// point sampling of RGB565 textures, MODULATE / SELECTARG1 of texture and diffuse, linear
// fog, opaque or ONE/ONE additive stores, depth write). The combination is chosen once per
// draw call; nothing tests render state per pixel.
//
// chooseSpanKernel answers null when the processor has no AVX2/FMA or the state needs
// something the kernels do not do (colour key, specular, other blends, fog modes or combine
// operations, a non-power-of-two wrapped texture); the span pipeline's chunk stages then
// draw the triangle. Results match the scalar reference within the span pipeline's
// tolerances (one 565 step, one depth unit).
#pragma once

#include "platform/d3d/PixelConfig.h"

#include <cstdint>

namespace platform {

using SpanKernel = void (*)(const PixelConfig& config, const TriangleSetup& setup, const ColorTarget& color,
                            const DepthTarget& depth);

// The kernel for `config` with the bilinear or point filter, or null (see above).
SpanKernel chooseSpanKernel(const PixelConfig& config, bool bilinear);

// Deferred shading, with a "taken" mask of the colour target's pixels (a bit per pixel, 0
// while free). An owned span kernel shades, with the stages of `config`, the pixels of a
// triangle that pass its depth test (depth is not written) and are still free, and marks
// them taken; run over deferred triangles from the last to the first, it gives each pixel
// its last winner. A taking kernel draws like the plain one (opaque, depth test and write)
// and also marks every pixel it writes taken, so work deferred earlier does not shade over
// it. Both are null when the kernels cannot serve `config` (opaque stores only; an owned
// kernel needs depth writes off, a taking one needs them on).
using OwnedSpanKernel = void (*)(const PixelConfig& config, const TriangleSetup& setup, const ColorTarget& color,
                                 const DepthTarget& depth, const PixelMask& taken);
using TakingSpanKernel = void (*)(const PixelConfig& config, const TriangleSetup& setup, const ColorTarget& color,
                                  const DepthTarget& depth, const PixelMask& taken);
OwnedSpanKernel chooseOwnedSpanKernel(const PixelConfig& config, bool bilinear);
TakingSpanKernel chooseTakingSpanKernel(const PixelConfig& config, bool bilinear);

// Whether this processor runs the kernels (AVX2 and FMA).
bool spanKernelsAvailable();

}  // namespace platform
