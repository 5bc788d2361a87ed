// The plain scalar pixel path: every pixel of a set-up triangle is tested with the edge
// functions, its attributes evaluated in double precision from the planes, and the render
// state interpreted with ordinary branches. Slow and obvious; the optimised SpanPipeline is
// tested against it.
#pragma once

#include "platform/d3d/PixelConfig.h"

namespace platform {

// Draws one set-up triangle into the targets as `config` describes.
void referenceDrawTriangle(const PixelConfig& config, const TriangleSetup& setup, bool bilinear,
                           const ColorTarget& color, const DepthTarget& depth);

}  // namespace platform
