// The one internal interface behind IDirect3DDevice3: every device (the software "RGB"
// rasterizer today, perhaps an OpenGL one later) implements it, and the COM objects only
// translate to it. Calls carry the genuine Direct3D values; results are HRESULTs
// (D3D_OK, DDERR_INVALIDPARAMS for a refused call, D3DERR_* where Direct3D has one).
// Nothing here is called per pixel.
#pragma once

#include "platform/d3d/D3DTypes.h"
#include "platform/d3d/RasterTargets.h"

namespace platform {

// A light as the device uses it: world-space travel direction and colour. Only
// directional lights take part in lighting; other types are kept and ignored.
struct LightSource {
  D3DLIGHTTYPE type = D3DLIGHT_DIRECTIONAL;
  D3DCOLORVALUE color = {1, 1, 1, 0};
  D3DVECTOR direction = {0, 0, 1};
  bool specular = true;  // false with D3DLIGHT_NO_SPECULAR
};
constexpr int kMaxLights = 8;

class DeviceBackend {
 public:
  virtual ~DeviceBackend() = default;

  // Render into `color`, testing against `depth` (null: no depth buffer). Resets ZENABLE to
  // its default for the new pair (TRUE when a depth buffer is given).
  virtual HRESULT setTargets(const ColorTarget& color, const DepthTarget* depth) = 0;
  // Render states D3DRENDERSTATE_*; numbers beyond kD3DRenderStateLimit are refused.
  virtual HRESULT setRenderState(DWORD state, DWORD value) = 0;
  virtual HRESULT getRenderState(DWORD state, DWORD* value) const = 0;
  // Texture stage states D3DTSS_* of stages 0..7.
  virtual HRESULT setTextureStageState(DWORD stage, DWORD type, DWORD value) = 0;
  virtual HRESULT getTextureStageState(DWORD stage, DWORD type, DWORD* value) const = 0;
  // World, view and projection matrices.
  virtual HRESULT setTransform(DWORD which, const D3DMATRIX& matrix) = 0;
  virtual HRESULT getTransform(DWORD which, D3DMATRIX* matrix) const = 0;
  // The current viewport; a null pointer means "none", and drawing is then refused.
  virtual HRESULT setViewport(const D3DVIEWPORT2* viewport) = 0;
  // The material used for lighting; null switches lighting off (vertex colours are used).
  virtual HRESULT setMaterial(const D3DMATERIAL* material) = 0;
  // D3DLIGHTSTATE_AMBIENT as a D3DCOLOR.
  virtual HRESULT setAmbient(D3DCOLOR ambient) = 0;
  // The active lights of the current viewport (at most kMaxLights are used).
  virtual HRESULT setLights(const LightSource* lights, int count) = 0;
  // The texture of a stage; null unbinds. The image memory must stay valid while bound, and
  // until the next flush() when the device defers shading.
  virtual HRESULT setTexture(DWORD stage, const TextureImage* image) = 0;
  // Clear2: rects in target coordinates (x2, y2 exclusive), clipped to the viewport.
  virtual HRESULT clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, D3DVALUE z) = 0;
  // DrawPrimitive / DrawIndexedPrimitive with a flexible vertex format.
  virtual HRESULT drawPrimitive(D3DPRIMITIVETYPE type, DWORD fvf, const void* vertices, DWORD vertexCount,
                                DWORD flags) = 0;
  virtual HRESULT drawIndexedPrimitive(D3DPRIMITIVETYPE type, DWORD fvf, const void* vertices,
                                       DWORD vertexCount, const WORD* indices, DWORD indexCount,
                                       DWORD flags) = 0;
  // Finishes queued work: afterwards the colour target holds everything drawn so far.
  virtual void flush() {}
};

}  // namespace platform
