// What the pixel stage of one draw call does, decided once from the render state:
// depth test and write, texture sampling, the stage-0 colour and alpha operations (or the
// legacy TEXTUREMAPBLEND mode), specular add, fog and blending. Both rasterizers (the
// optimised span pipeline and the scalar reference) read this description.
//
// Pipeline order per pixel: texture cascade, + specular, fog, depth test, blend.
#pragma once

#include "platform/d3d/DeviceState.h"
#include "platform/d3d/RasterTargets.h"
#include "platform/d3d/TriangleSetup.h"

namespace platform {

enum class CombineOp { kSelectArg1, kSelectArg2, kModulate, kModulate2x, kModulate4x, kAdd };
enum class CombineArg { kDiffuse, kTexture, kFactor, kSpecular };
enum class FogKind { kNone, kLinear, kExp, kExp2, kVertex };
enum class BlendFactor { kZero, kOne, kSrcAlpha, kInvSrcAlpha };

struct PixelConfig {
  // Depth.
  bool depthTest = false;
  DWORD depthFunc = D3DCMP_LESSEQUAL;
  bool depthWrite = false;
  // Texture: null when no texture is bound or nothing reads it.
  const TextureImage* texture = nullptr;
  bool magLinear = false, minLinear = false;
  bool clampU = false, clampV = false;  // else wrap
  bool colorKey = false;
  // Stage 0.
  CombineOp colorOp = CombineOp::kSelectArg1;
  CombineArg colorArg1 = CombineArg::kDiffuse, colorArg2 = CombineArg::kDiffuse;
  CombineOp alphaOp = CombineOp::kSelectArg1;
  CombineArg alphaArg1 = CombineArg::kDiffuse, alphaArg2 = CombineArg::kDiffuse;
  D3DCOLOR textureFactor = 0xFFFFFFFF;
  bool specularAdd = false;
  // Fog: depth is view depth 1/rhw when `fogUsesW`, else device z.
  FogKind fog = FogKind::kNone;
  bool fogUsesW = false;
  float fogStart = 0, fogEnd = 1, fogDensity = 1;
  float fogColor[3] = {0, 0, 0};
  // Blending: dst = src * srcFactor + dst * destFactor; opaque when disabled.
  bool blend = false;
  BlendFactor srcFactor = BlendFactor::kOne, destFactor = BlendFactor::kZero;
  // Interpolation needs.
  bool needsSpecular = false;  // specular RGB or alpha is read
  bool flatShade = false;

  // Builds the description from the state; `texture` is the stage-0 texture or null,
  // `hasDepth` whether a depth buffer is attached.
  void build(const DeviceState& state, const TextureImage* texture, bool hasDepth);
  // The attribute planes (bits of kAttr*) the pixel stage reads: colour always, alpha
  // for blending, specular when read, texture coordinates with a texture.
  unsigned attributesRead() const;
  // Drops the specular add when every vertex of the draw has black specular: adding zero
  // changes no pixel, and the cheaper paths then apply. Keeps it when anything else reads
  // the specular colour (vertex fog, a stage argument).
  void dropBlackSpecular();
  // Whether a triangle is sampled bilinearly: the minification filter when its texels are
  // smaller than its pixels, else the magnification filter.
  bool bilinearFor(const TriangleSetup& setup, const ScreenVertex* const v[3]) const;
};

}  // namespace platform
