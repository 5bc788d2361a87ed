// IDirect3DDevice3: translates the COM calls to the DeviceBackend, and before each draw hands
// it the current viewport, that viewport's active lights, the material of the material
// handle and the bound textures' pixels (read afresh, so Load, Lock and colour-key changes
// after SetTexture are seen).
#include "platform/d3d/Direct3DObjects.h"

#include "platform/ddraw/SurfaceAccess.h"

#include <algorithm>
#include <cstring>

namespace platform::d3d {

namespace {
const GUID kIUnknown = {0, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

DDPIXELFORMAT rgb565Format() {
  DDPIXELFORMAT f{};
  f.dwSize = sizeof f;
  f.dwFlags = DDPF_RGB;
  f.dwRGBBitCount = 16;
  f.dwRBitMask = 0xF800;
  f.dwGBitMask = 0x07E0;
  f.dwBBitMask = 0x001F;
  return f;
}

D3DDEVICEDESC softwareDescription() {
  D3DDEVICEDESC d{};
  d.dwSize = sizeof d;
  d.dwFlags = D3DDD_COLORMODEL | D3DDD_DEVCAPS | D3DDD_DEVICERENDERBITDEPTH | D3DDD_DEVICEZBUFFERBITDEPTH |
              D3DDD_MAXVERTEXCOUNT;
  d.dcmColorModel = D3DCOLOR_RGB;
  d.dwDevCaps = D3DDEVCAPS_FLOATTLVERTEX | D3DDEVCAPS_EXECUTESYSTEMMEMORY | D3DDEVCAPS_TLVERTEXSYSTEMMEMORY |
                D3DDEVCAPS_TEXTURESYSTEMMEMORY | D3DDEVCAPS_DRAWPRIMTLVERTEX;
  d.dtcTransformCaps.dwSize = sizeof d.dtcTransformCaps;
  d.bClipping = TRUE;
  d.dlcLightingCaps = {sizeof(D3DLIGHTINGCAPS), 0x4 /* directional */, 0x1 /* RGB */, kMaxLights};
  D3DPRIMCAPS& t = d.dpcTriCaps;
  t.dwSize = sizeof t;
  t.dwRasterCaps = D3DPRASTERCAPS_ZTEST | D3DPRASTERCAPS_FOGTABLE | D3DPRASTERCAPS_WFOG;
  t.dwZCmpCaps = 0xFF;
  t.dwSrcBlendCaps = t.dwDestBlendCaps = 0x33;  // ZERO, ONE, SRCALPHA, INVSRCALPHA
  t.dwShadeCaps = D3DPSHADECAPS_COLORGOURAUDRGB;
  t.dwTextureCaps = D3DPTEXTURECAPS_PERSPECTIVE | D3DPTEXTURECAPS_TRANSPARENCY;
  t.dwTextureFilterCaps = D3DPTFILTERCAPS_NEAREST | D3DPTFILTERCAPS_LINEAR;
  t.dwTextureAddressCaps = D3DPTADDRESSCAPS_WRAP | D3DPTADDRESSCAPS_CLAMP;
  d.dpcLineCaps.dwSize = sizeof d.dpcLineCaps;
  d.dwDeviceRenderBitDepth = DDBD_16;
  d.dwDeviceZBufferBitDepth = DDBD_16;
  d.dwMaxVertexCount = D3DMAXNUMVERTICES;
  d.dwMinTextureWidth = d.dwMinTextureHeight = 1;
  d.dwMaxTextureWidth = d.dwMaxTextureHeight = 4096;
  d.dwMaxTextureRepeat = 4096;
  d.wMaxTextureBlendStages = 1;
  d.wMaxSimultaneousTextures = 1;
  return d;
}

void copyDescription(const D3DDEVICEDESC& from, LPD3DDEVICEDESC to) {
  if (!to || to->dwSize < sizeof(DWORD)) return;
  DWORD size = std::min<DWORD>(to->dwSize, sizeof(D3DDEVICEDESC));
  D3DDEVICEDESC copy = from;
  copy.dwSize = to->dwSize;
  std::memcpy(to, &copy, size);
}
}  // namespace

DeviceObject::DeviceObject(IDirectDrawSurface4* target, IDirectDrawSurface4* depth,
                           std::unique_ptr<DeviceBackend> backend)
    : target_(target), depth_(depth), backend_(std::move(backend)) {
  target_->AddRef();
  if (depth_) depth_->AddRef();
}

DeviceObject::~DeviceObject() {
  for (TextureObject*& t : textures_)
    if (t) t->Release(), t = nullptr;
  for (ViewportObject* v : viewports_) {
    v->device = nullptr;
    v->Release();
  }
  if (depth_) depth_->Release();
  target_->Release();
}

ULONG DeviceObject::Release() {
  ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

HRESULT DeviceObject::QueryInterface(REFIID iid, LPVOID* object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (iid == kIUnknown || iid == IID_IDirect3DDevice3) {
    AddRef();
    *object = static_cast<IDirect3DDevice3*>(this);
    return S_OK;
  }
  return E_NOINTERFACE;
}

HRESULT DeviceObject::GetCaps(LPD3DDEVICEDESC halDesc, LPD3DDEVICEDESC helDesc) {
  if (!halDesc && !helDesc) return DDERR_INVALIDPARAMS;
  D3DDEVICEDESC none{};
  copyDescription(none, halDesc);
  copyDescription(softwareDescription(), helDesc);
  return D3D_OK;
}

HRESULT DeviceObject::AddViewport(LPDIRECT3DVIEWPORT3 viewport) {
  auto* v = dynamic_cast<ViewportObject*>(viewport);
  if (!v || v->device) return DDERR_INVALIDPARAMS;
  v->AddRef();
  v->device = this;
  viewports_.push_back(v);
  return D3D_OK;
}

HRESULT DeviceObject::DeleteViewport(LPDIRECT3DVIEWPORT3 viewport) {
  auto* v = dynamic_cast<ViewportObject*>(viewport);
  auto it = std::find(viewports_.begin(), viewports_.end(), v);
  if (!v || it == viewports_.end()) return DDERR_INVALIDPARAMS;
  viewports_.erase(it);
  if (current_ == v) current_ = nullptr;
  v->device = nullptr;
  v->Release();
  return D3D_OK;
}

void DeviceObject::dropViewport(ViewportObject* viewport) {
  viewports_.erase(std::remove(viewports_.begin(), viewports_.end(), viewport), viewports_.end());
  if (current_ == viewport) current_ = nullptr;
}

HRESULT DeviceObject::EnumTextureFormats(LPD3DENUMPIXELFORMATSCALLBACK callback, LPVOID context) {
  if (!callback) return DDERR_INVALIDPARAMS;
  DDPIXELFORMAT f = rgb565Format();
  callback(&f, context);
  return D3D_OK;
}

HRESULT DeviceObject::BeginScene() {
  if (inScene_) return D3DERR_SCENE_IN_SCENE;
  inScene_ = true;
  return D3D_OK;
}

HRESULT DeviceObject::EndScene() {
  if (!inScene_) return D3DERR_SCENE_NOT_IN_SCENE;
  inScene_ = false;
  backend_->flush();
  markSurfaceChanged(target_);  // the scene's pixels are in now, should the target be sampled
  return D3D_OK;
}

HRESULT DeviceObject::SetCurrentViewport(LPDIRECT3DVIEWPORT3 viewport) {
  auto* v = dynamic_cast<ViewportObject*>(viewport);
  if (!v || std::find(viewports_.begin(), viewports_.end(), v) == viewports_.end()) return DDERR_INVALIDPARAMS;
  current_ = v;
  return D3D_OK;
}

HRESULT DeviceObject::GetCurrentViewport(LPDIRECT3DVIEWPORT3* viewport) {
  if (!viewport) return DDERR_INVALIDPARAMS;
  *viewport = current_;
  if (!current_) return D3DERR_NOCURRENTVIEWPORT;
  current_->AddRef();
  return D3D_OK;
}

HRESULT DeviceObject::GetRenderState(D3DRENDERSTATETYPE state, LPDWORD value) {
  return backend_->getRenderState(state, value);
}

HRESULT DeviceObject::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
  if (state == D3DRENDERSTATE_TEXTUREHANDLE) {  // the legacy way to bind stage 0
    TextureObject* t = value ? TextureObject::fromHandle(value) : nullptr;
    if (value && !t) return DDERR_INVALIDPARAMS;
    HRESULT hr = SetTexture(0, t);
    if (hr != D3D_OK) return hr;
  }
  return backend_->setRenderState(state, value);
}

HRESULT DeviceObject::GetLightState(D3DLIGHTSTATETYPE state, LPDWORD value) {
  if (!value || state < D3DLIGHTSTATE_MATERIAL || state > D3DLIGHTSTATE_COLORVERTEX) return DDERR_INVALIDPARAMS;
  *value = lightStates_[state];
  return D3D_OK;
}

HRESULT DeviceObject::SetLightState(D3DLIGHTSTATETYPE state, DWORD value) {
  if (state < D3DLIGHTSTATE_MATERIAL || state > D3DLIGHTSTATE_COLORVERTEX) return DDERR_INVALIDPARAMS;
  lightStates_[state] = value;
  return D3D_OK;
}

HRESULT DeviceObject::SetTransform(D3DTRANSFORMSTATETYPE state, LPD3DMATRIX matrix) {
  if (!matrix) return DDERR_INVALIDPARAMS;
  return backend_->setTransform(state, *matrix);
}

HRESULT DeviceObject::GetTransform(D3DTRANSFORMSTATETYPE state, LPD3DMATRIX matrix) {
  return backend_->getTransform(state, matrix);
}

HRESULT DeviceObject::prepareDraw() {
  if (!current_ || !current_->description()) return D3DERR_INVALIDCURRENTVIEWPORT;
  backend_->setViewport(current_->description());
  LightSource lights[kMaxLights];
  int count = current_->activeLights(lights);
  backend_->setLights(lights, count);
  backend_->setMaterial(MaterialObject::fromHandle(lightStates_[D3DLIGHTSTATE_MATERIAL]));
  backend_->setAmbient(lightStates_[D3DLIGHTSTATE_AMBIENT]);
  for (DWORD s = 0; s < kD3DTextureStageCount; ++s) {
    TextureImage image;
    backend_->setTexture(s, textures_[s] && textures_[s]->image(&image) ? &image : nullptr);
  }
  return D3D_OK;
}

HRESULT DeviceObject::DrawPrimitive(D3DPRIMITIVETYPE type, DWORD fvf, LPVOID vertices, DWORD vertexCount,
                                    DWORD flags) {
  HRESULT hr = prepareDraw();
  if (hr != D3D_OK) return hr;
  return backend_->drawPrimitive(type, fvf, vertices, vertexCount, flags);
}

HRESULT DeviceObject::DrawIndexedPrimitive(D3DPRIMITIVETYPE type, DWORD fvf, LPVOID vertices, DWORD vertexCount,
                                           LPWORD indices, DWORD indexCount, DWORD flags) {
  HRESULT hr = prepareDraw();
  if (hr != D3D_OK) return hr;
  return backend_->drawIndexedPrimitive(type, fvf, vertices, vertexCount, indices, indexCount, flags);
}

HRESULT DeviceObject::GetTexture(DWORD stage, LPDIRECT3DTEXTURE2* texture) {
  if (!texture || stage >= kD3DTextureStageCount) return DDERR_INVALIDPARAMS;
  *texture = textures_[stage];
  if (textures_[stage]) textures_[stage]->AddRef();
  return D3D_OK;
}

HRESULT DeviceObject::SetTexture(DWORD stage, LPDIRECT3DTEXTURE2 texture) {
  if (stage >= kD3DTextureStageCount) return DDERR_INVALIDPARAMS;
  auto* t = dynamic_cast<TextureObject*>(texture);
  if (texture && !t) return DDERR_INVALIDPARAMS;
  if (t) t->AddRef();
  if (textures_[stage]) textures_[stage]->Release();
  textures_[stage] = t;
  return D3D_OK;
}

HRESULT DeviceObject::GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE state, LPDWORD value) {
  return backend_->getTextureStageState(stage, state, value);
}

HRESULT DeviceObject::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE state, DWORD value) {
  return backend_->setTextureStageState(stage, state, value);
}

HRESULT DeviceObject::clearThrough(const ViewportObject& viewport, DWORD count, const D3DRECT* rects, DWORD flags,
                                   D3DCOLOR color, D3DVALUE z) {
  HRESULT hr = backend_->setViewport(viewport.description());
  if (hr != D3D_OK) return hr;
  hr = backend_->clear(count, rects, flags, color, z);
  markSurfaceChanged(target_);
  return hr;
}

}  // namespace platform::d3d
