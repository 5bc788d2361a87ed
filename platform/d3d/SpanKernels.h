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

// Deferred shading. A visibility kernel runs the depth test (and write) of `config` over a
// triangle and records `owner` in an owner view (16-bit ids, laid out like the colour
// target) wherever the triangle passes; true when it passed anywhere. An owned span kernel
// later shades, with the colour stages of `config`, exactly the pixels whose id is `owner`,
// with no depth test. Both are null when the kernels cannot serve `config` (owned kernels
// serve opaque stores only).
using VisibilityKernel = bool (*)(const PixelConfig& config, const TriangleSetup& setup, const DepthTarget& depth,
                                  const PixelView16& owners, std::uint16_t owner);
using OwnedSpanKernel = void (*)(const PixelConfig& config, const TriangleSetup& setup, const ColorTarget& color,
                                 const PixelView16& owners, std::uint16_t owner);
// A clearing kernel draws like the plain one (opaque, depth test and write) and also sets
// the owner id of every pixel it writes to 0, so work deferred earlier does not shade over it.
using ClearingSpanKernel = void (*)(const PixelConfig& config, const TriangleSetup& setup, const ColorTarget& color,
                                    const DepthTarget& depth, const PixelView16& owners);
VisibilityKernel chooseVisibilityKernel(const PixelConfig& config);
OwnedSpanKernel chooseOwnedSpanKernel(const PixelConfig& config, bool bilinear);
ClearingSpanKernel chooseClearingSpanKernel(const PixelConfig& config, bool bilinear);

// Whether this processor runs the kernels (AVX2 and FMA).
bool spanKernelsAvailable();

}  // namespace platform
