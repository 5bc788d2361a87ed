// The software "RGB" device: DeviceBackend over plain memory. Vertices are transformed and
// lit (VertexProcessing), triangles clipped (Clipper), set up (TriangleSetup) and filled by
// the span pipeline (SpanPipeline), or by the scalar reference path when asked to. With
// deferred shading on (DeferredShading), opaque draws without depth writes that the span
// kernels serve are recorded and shaded at the next flush(), which the device runs itself
// before any draw that needs the colours, a clear or a change of target.
//
// Bad calls are refused before anything is drawn: an index at or beyond the vertex count,
// more than D3DMAXNUMVERTICES vertices, an unusable vertex format, a null pointer. All work
// memory is allocated once, at construction.
#pragma once

#include "platform/d3d/DeferredShading.h"
#include "platform/d3d/DepthTiles.h"
#include "platform/d3d/DeviceBackend.h"
#include "platform/d3d/DeviceState.h"
#include "platform/d3d/SpanPipeline.h"

#include <vector>

namespace platform {

class SoftwareDevice final : public DeviceBackend {
 public:
  SoftwareDevice();
  ~SoftwareDevice() override;

  HRESULT setTargets(const ColorTarget& color, const DepthTarget* depth) override;
  HRESULT setRenderState(DWORD state, DWORD value) override;
  HRESULT getRenderState(DWORD state, DWORD* value) const override;
  HRESULT setTextureStageState(DWORD stage, DWORD type, DWORD value) override;
  HRESULT getTextureStageState(DWORD stage, DWORD type, DWORD* value) const override;
  HRESULT setTransform(DWORD which, const D3DMATRIX& matrix) override;
  HRESULT getTransform(DWORD which, D3DMATRIX* matrix) const override;
  HRESULT setViewport(const D3DVIEWPORT2* viewport) override;
  HRESULT setMaterial(const D3DMATERIAL* material) override;
  HRESULT setAmbient(D3DCOLOR ambient) override;
  HRESULT setLights(const LightSource* lights, int count) override;
  HRESULT setTexture(DWORD stage, const TextureImage* image) override;
  HRESULT clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, D3DVALUE z) override;
  HRESULT drawPrimitive(D3DPRIMITIVETYPE type, DWORD fvf, const void* vertices, DWORD vertexCount,
                        DWORD flags) override;
  HRESULT drawIndexedPrimitive(D3DPRIMITIVETYPE type, DWORD fvf, const void* vertices, DWORD vertexCount,
                               const WORD* indices, DWORD indexCount, DWORD flags) override;
  void flush() override;

  // Fill triangles with the scalar reference path instead of the span pipeline (tests).
  void useReferenceRasterizer(bool on) { useReference_ = on; }
  // Let the span pipeline use its fused AVX2 span kernels where they apply (default on).
  void useSpanKernels(bool on) { pipeline_.useKernels(on); }
  // Defer the shading of opaque draws to flush() (default off; switching off flushes).
  void useDeferredShading(bool on);
  // Drop triangles that the depth buffer's coarse tiles show hidden (default on).
  void useDepthTiles(bool on) { depthTilesEnabled_ = on; }
  // The most indices one indexed call may pass.
  static constexpr DWORD kMaxIndices = 3u * 65536u * 4u;

 private:
  HRESULT draw(D3DPRIMITIVETYPE type, DWORD fvf, const void* vertices, DWORD vertexCount, const WORD* indices,
               DWORD indexCount, DWORD flags);
  void drawTriangle(int i0, int i1, int i2, int provoking);
  void fillTriangle(const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c);
  // The strip (i0, i1, i2, i3) as one quad (setupQuad); false when it must go as triangles.
  bool drawQuad(int i0, int i1, int i2, int i3);
  void fillSetup(const TriangleSetup& setup, bool bilinear);
  void flatten(ScreenVertex* v, int provoking) const;

  DeviceState state_;
  ColorTarget color_;
  DepthTarget depth_;
  bool hasDepth_ = false;
  bool viewportSet_ = false;
  D3DVIEWPORT2 viewport_{};
  bool hasMaterial_ = false;
  D3DMATERIAL material_{};
  D3DCOLOR ambient_ = 0;
  LightSource lights_[kMaxLights];
  int lightCount_ = 0;
  TextureImage textures_[kD3DTextureStageCount];
  bool textureBound_[kD3DTextureStageCount] = {};
  bool useReference_ = false;
  bool deferEnabled_ = false;
  DeferredShading::Mode deferMode_ = DeferredShading::Mode::kResolveFirst;  // of the current draw call
  DeferredShading deferred_;
  // The depth buffer holds 1 (0xFFFF) all over `fresh_` (left, top, right, bottom), as a clear
  // left it: no draw has written depth since, nor anything outside (freshStamp_).
  bool depthFresh_ = false;
  int fresh_[4] = {};
  unsigned freshStamp_ = 0;
  bool depthPassesEverywhere() const;
  // The largest depth of each tile, for dropping triangles hidden everywhere they reach;
  // built when a draw first tests depth without writing it, and dropped when the buffer may
  // take larger values. `tilesStamp_`: outside accesses counted when it was built.
  DepthTiles depthTiles_;
  unsigned tilesStamp_ = 0;
  bool depthTilesEnabled_ = true;
  bool dropHidden_ = false;  // per draw call: the draw tests depth by LESS or LESSEQUAL and writes none
  void prepareDepthTiles();

  // Per draw call.
  ViewportMapping map_;
  VertexSetup vertexSetup_;  // kept, so unchanged matrices are not multiplied again
  VertexLayout layout_;
  PixelConfig pixel_;
  unsigned attributes_ = kAllAttributes;  // planes the pixel stage reads
  bool perspective_ = true;
  std::vector<ClipVertex> clip_;
  std::vector<ScreenVertex> screen_;
  std::vector<unsigned> outcodes_;
  SpanPipeline pipeline_;
};

}  // namespace platform
