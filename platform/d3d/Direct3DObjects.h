// Internal to platform/d3d: the objects behind the Direct3D interfaces.
//
// Ownership follows COM: Direct3DObject holds a reference to its IDirectDraw4; a device
// holds references to its target and depth surfaces, its viewports and its bound textures;
// a viewport holds references to its lights; a texture holds a reference to its surface.
// Back-pointers (viewport -> device, light -> viewport) are plain and are cleared by the
// owner when it lets go. Material and texture handles are looked up in registries, so a
// stale handle finds nothing instead of a dead object.
#pragma once

#include "platform/d3d/D3D.h"
#include "platform/d3d/DeviceBackend.h"
#include "platform/d3d/TexelPairs.h"

#include <memory>
#include <vector>

namespace platform::d3d {

class ViewportObject;
class LightObject;

class Direct3DObject final : public IDirect3D3 {
 public:
  explicit Direct3DObject(IDirectDraw4* directDraw);
  HRESULT QueryInterface(REFIID iid, LPVOID* object) override;
  ULONG AddRef() override { return ++references_; }
  ULONG Release() override;
  HRESULT CreateLight(LPDIRECT3DLIGHT* light, LPUNKNOWN outer) override;
  HRESULT CreateMaterial(LPDIRECT3DMATERIAL3* material, LPUNKNOWN outer) override;
  HRESULT CreateViewport(LPDIRECT3DVIEWPORT3* viewport, LPUNKNOWN outer) override;
  HRESULT CreateDevice(REFCLSID device, LPDIRECTDRAWSURFACE4 target, LPDIRECT3DDEVICE3* result,
                       LPUNKNOWN outer) override;
  HRESULT EnumZBufferFormats(REFCLSID device, LPD3DENUMPIXELFORMATSCALLBACK callback, LPVOID context) override;

 private:
  ~Direct3DObject() override;
  ULONG references_ = 1;
  IDirectDraw4* directDraw_;  // one reference
};

class TextureObject final : public IDirect3DTexture2 {
 public:
  // The texture interface of `surface`, made once per surface (a second query returns the
  // same object with a reference added).
  static HRESULT forSurface(IDirectDrawSurface4* surface, void** object);
  // The texture with this handle, or null.
  static TextureObject* fromHandle(DWORD handle);
  HRESULT QueryInterface(REFIID iid, LPVOID* object) override;
  ULONG AddRef() override { return ++references_; }
  ULONG Release() override;
  HRESULT GetHandle(LPDIRECT3DDEVICE3 device, LPD3DTEXTUREHANDLE handle) override;
  HRESULT Load(LPDIRECT3DTEXTURE2 source) override;
  // The surface's pixels as the rasterizer reads them; false unless 16-bit RGB565.
  bool image(TextureImage* out) const;

 private:
  explicit TextureObject(IDirectDrawSurface4* surface);
  ~TextureObject() override;
  ULONG references_ = 1;
  IDirectDrawSurface4* surface_;  // one reference
  DWORD handle_ = 0;
  mutable TexelPairs pairs_;  // the bilinear copy, rebuilt when the surface's pixels change
};

class MaterialObject final : public IDirect3DMaterial3 {
 public:
  MaterialObject();
  // The material description of a live handle, or null.
  static const D3DMATERIAL* fromHandle(DWORD handle);
  HRESULT QueryInterface(REFIID iid, LPVOID* object) override;
  ULONG AddRef() override { return ++references_; }
  ULONG Release() override;
  HRESULT SetMaterial(LPD3DMATERIAL material) override;
  HRESULT GetMaterial(LPD3DMATERIAL material) override;
  HRESULT GetHandle(LPDIRECT3DDEVICE3 device, LPD3DMATERIALHANDLE handle) override;

 private:
  ~MaterialObject() override;
  ULONG references_ = 1;
  D3DMATERIAL material_{};
  DWORD handle_ = 0;
};

class LightObject final : public IDirect3DLight {
 public:
  LightObject() = default;
  HRESULT QueryInterface(REFIID iid, LPVOID* object) override;
  ULONG AddRef() override { return ++references_; }
  ULONG Release() override;
  HRESULT SetLight(LPD3DLIGHT light) override;
  HRESULT GetLight(LPD3DLIGHT light) override;
  // The light as the device uses it; false when unset or not active.
  bool source(LightSource* out) const;

  ViewportObject* viewport = nullptr;  // the viewport it was added to

 private:
  ~LightObject() override = default;
  ULONG references_ = 1;
  bool set_ = false;
  D3DLIGHT2 light_{};
};

class DeviceObject;

class ViewportObject final : public IDirect3DViewport3 {
 public:
  ViewportObject() = default;
  HRESULT QueryInterface(REFIID iid, LPVOID* object) override;
  ULONG AddRef() override { return ++references_; }
  ULONG Release() override;
  HRESULT AddLight(LPDIRECT3DLIGHT light) override;
  HRESULT DeleteLight(LPDIRECT3DLIGHT light) override;
  HRESULT GetViewport2(LPD3DVIEWPORT2 viewport) override;
  HRESULT SetViewport2(LPD3DVIEWPORT2 viewport) override;
  HRESULT Clear2(DWORD count, LPD3DRECT rects, DWORD flags, D3DCOLOR color, D3DVALUE z, DWORD stencil) override;

  // The viewport description, or null before SetViewport2.
  const D3DVIEWPORT2* description() const { return set_ ? &viewport_ : nullptr; }
  // The active lights, at most kMaxLights; returns the count.
  int activeLights(LightSource* out) const;

  DeviceObject* device = nullptr;  // the device it was added to

 private:
  ~ViewportObject() override;
  ULONG references_ = 1;
  bool set_ = false;
  D3DVIEWPORT2 viewport_{};
  std::vector<LightObject*> lights_;  // one reference each
};

class DeviceObject final : public IDirect3DDevice3 {
 public:
  // A device over `target` (16-bit) with `depth` (16-bit z surface) or null.
  DeviceObject(IDirectDrawSurface4* target, IDirectDrawSurface4* depth, std::unique_ptr<DeviceBackend> backend);
  HRESULT QueryInterface(REFIID iid, LPVOID* object) override;
  ULONG AddRef() override { return ++references_; }
  ULONG Release() override;
  HRESULT GetCaps(LPD3DDEVICEDESC halDesc, LPD3DDEVICEDESC helDesc) override;
  HRESULT AddViewport(LPDIRECT3DVIEWPORT3 viewport) override;
  HRESULT DeleteViewport(LPDIRECT3DVIEWPORT3 viewport) override;
  HRESULT EnumTextureFormats(LPD3DENUMPIXELFORMATSCALLBACK callback, LPVOID context) override;
  HRESULT BeginScene() override;
  HRESULT EndScene() override;
  HRESULT SetCurrentViewport(LPDIRECT3DVIEWPORT3 viewport) override;
  HRESULT GetCurrentViewport(LPDIRECT3DVIEWPORT3* viewport) override;
  HRESULT GetRenderState(D3DRENDERSTATETYPE state, LPDWORD value) override;
  HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override;
  HRESULT GetLightState(D3DLIGHTSTATETYPE state, LPDWORD value) override;
  HRESULT SetLightState(D3DLIGHTSTATETYPE state, DWORD value) override;
  HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, LPD3DMATRIX matrix) override;
  HRESULT GetTransform(D3DTRANSFORMSTATETYPE state, LPD3DMATRIX matrix) override;
  HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, DWORD fvf, LPVOID vertices, DWORD vertexCount, DWORD flags) override;
  HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE type, DWORD fvf, LPVOID vertices, DWORD vertexCount, LPWORD indices,
                               DWORD indexCount, DWORD flags) override;
  HRESULT GetTexture(DWORD stage, LPDIRECT3DTEXTURE2* texture) override;
  HRESULT SetTexture(DWORD stage, LPDIRECT3DTEXTURE2 texture) override;
  HRESULT GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE state, LPDWORD value) override;
  HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE state, DWORD value) override;

  // Clears through a viewport of this device (Clear2).
  HRESULT clearThrough(const ViewportObject& viewport, DWORD count, const D3DRECT* rects, DWORD flags,
                       D3DCOLOR color, D3DVALUE z);
  // Forgets a viewport that is going away.
  void dropViewport(ViewportObject* viewport);

 private:
  ~DeviceObject() override;
  // Hands the current viewport, lights, material and textures to the backend.
  HRESULT prepareDraw();

  ULONG references_ = 1;
  IDirectDrawSurface4* target_;  // one reference
  IDirectDrawSurface4* depth_;   // one reference, or null
  std::unique_ptr<DeviceBackend> backend_;
  std::vector<ViewportObject*> viewports_;  // one reference each
  ViewportObject* current_ = nullptr;       // one of viewports_
  TextureObject* textures_[kD3DTextureStageCount] = {};  // one reference each
  DWORD lightStates_[9] = {};  // D3DLIGHTSTATE_* values by number
  bool inScene_ = false;
};

// Installs the DirectDraw query hooks that hand out IDirect3D3 and IDirect3DTexture2.
void installQueryHooks();

}  // namespace platform::d3d
