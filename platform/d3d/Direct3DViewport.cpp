// IDirect3DViewport3 and IDirect3DLight: the viewport rectangle and clip volume, its lights,
// and Clear2 through the device it belongs to.
#include "platform/d3d/Direct3DObjects.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace platform::d3d {

namespace {
const GUID kIUnknown = {0, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
}

// ---- Light ----

HRESULT LightObject::QueryInterface(REFIID iid, LPVOID* object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (iid == kIUnknown || iid == IID_IDirect3DLight) {
    AddRef();
    *object = static_cast<IDirect3DLight*>(this);
    return S_OK;
  }
  return E_NOINTERFACE;
}

ULONG LightObject::Release() {
  ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

HRESULT LightObject::SetLight(LPD3DLIGHT light) {
  if (!light) return DDERR_INVALIDPARAMS;
  const DWORD size = light->dwSize;
  if (size != sizeof(D3DLIGHT) && size != sizeof(D3DLIGHT2)) return DDERR_INVALIDPARAMS;
  if (light->dltType < D3DLIGHT_POINT || light->dltType > D3DLIGHT_PARALLELPOINT) return DDERR_INVALIDPARAMS;
  D3DLIGHT2 copy{};
  std::memcpy(&copy, light, size);
  light_ = copy;
  set_ = true;
  return D3D_OK;
}

HRESULT LightObject::GetLight(LPD3DLIGHT light) {
  if (!light) return DDERR_INVALIDPARAMS;
  const DWORD size = light->dwSize;
  if (size != sizeof(D3DLIGHT) && size != sizeof(D3DLIGHT2)) return DDERR_INVALIDPARAMS;
  D3DLIGHT2 copy = light_;
  copy.dwSize = size;
  std::memcpy(light, &copy, size);
  return D3D_OK;
}

bool LightObject::source(LightSource* out) const {
  if (!set_) return false;
  const bool oldStyle = light_.dwSize == sizeof(D3DLIGHT);  // always active
  if (!oldStyle && !(light_.dwFlags & D3DLIGHT_ACTIVE)) return false;
  out->type = light_.dltType;
  out->color = light_.dcvColor;
  out->direction = light_.dvDirection;
  out->specular = oldStyle || !(light_.dwFlags & D3DLIGHT_NO_SPECULAR);
  return true;
}

// ---- Viewport ----

ViewportObject::~ViewportObject() {
  for (LightObject* l : lights_) {
    l->viewport = nullptr;
    l->Release();
  }
}

HRESULT ViewportObject::QueryInterface(REFIID iid, LPVOID* object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (iid == kIUnknown || iid == IID_IDirect3DViewport3) {
    AddRef();
    *object = static_cast<IDirect3DViewport3*>(this);
    return S_OK;
  }
  return E_NOINTERFACE;
}

ULONG ViewportObject::Release() {
  ULONG left = --references_;
  if (left == 0) {
    if (device) device->dropViewport(this);
    delete this;
  }
  return left;
}

HRESULT ViewportObject::AddLight(LPDIRECT3DLIGHT light) {
  auto* l = dynamic_cast<LightObject*>(light);
  if (!l) return DDERR_INVALIDPARAMS;
  if (l->viewport) return D3DERR_LIGHTHASVIEWPORT;
  l->AddRef();
  l->viewport = this;
  lights_.push_back(l);
  return D3D_OK;
}

HRESULT ViewportObject::DeleteLight(LPDIRECT3DLIGHT light) {
  auto* l = dynamic_cast<LightObject*>(light);
  auto it = std::find(lights_.begin(), lights_.end(), l);
  if (!l || it == lights_.end()) return D3DERR_LIGHTNOTINTHISVIEWPORT;
  lights_.erase(it);
  l->viewport = nullptr;
  l->Release();
  return D3D_OK;
}

HRESULT ViewportObject::GetViewport2(LPD3DVIEWPORT2 viewport) {
  if (!viewport || viewport->dwSize != sizeof(D3DVIEWPORT2)) return DDERR_INVALIDPARAMS;
  if (!set_) return D3DERR_VIEWPORTDATANOTSET;
  *viewport = viewport_;
  return D3D_OK;
}

HRESULT ViewportObject::SetViewport2(LPD3DVIEWPORT2 viewport) {
  if (!viewport || viewport->dwSize != sizeof(D3DVIEWPORT2)) return DDERR_INVALIDPARAMS;
  const D3DVIEWPORT2& v = *viewport;
  if (v.dwWidth == 0 || v.dwHeight == 0 || !(std::fabs(v.dvClipWidth) > 0) || !(std::fabs(v.dvClipHeight) > 0) ||
      !std::isfinite(v.dvClipX) || !std::isfinite(v.dvClipY) || !std::isfinite(v.dvMinZ) || !std::isfinite(v.dvMaxZ))
    return DDERR_INVALIDPARAMS;
  viewport_ = v;
  set_ = true;
  return D3D_OK;
}

HRESULT ViewportObject::Clear2(DWORD count, LPD3DRECT rects, DWORD flags, D3DCOLOR color, D3DVALUE z, DWORD) {
  if (!device) return D3DERR_VIEWPORTHASNODEVICE;
  if (!set_) return D3DERR_VIEWPORTDATANOTSET;
  return device->clearThrough(*this, count, rects, flags, color, z);
}

int ViewportObject::activeLights(LightSource* out) const {
  int n = 0;
  for (LightObject* l : lights_)
    if (n < kMaxLights && l->source(&out[n])) ++n;
  return n;
}

}  // namespace platform::d3d
