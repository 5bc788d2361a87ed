// IDirect3DTexture2: the texture face of a DirectDraw surface. One texture object per
// surface (kept in a registry while it lives), holding a reference to the surface.
#include "platform/d3d/DeferredShading.h"
#include "platform/d3d/Direct3DObjects.h"

#include "platform/ddraw/SurfaceAccess.h"

#include <cstring>
#include <unordered_map>

namespace platform::d3d {

namespace {
const GUID kIUnknown = {0, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

struct TextureRegistry {
  std::unordered_map<IDirectDrawSurface4*, TextureObject*> bySurface;
  std::unordered_map<DWORD, TextureObject*> byHandle;
  DWORD nextHandle = 1;
};
TextureRegistry& registry() {
  static TextureRegistry r;
  return r;
}
}  // namespace

HRESULT TextureObject::forSurface(IDirectDrawSurface4* surface, void** object) {
  if (!surface || !object) return E_POINTER;
  auto it = registry().bySurface.find(surface);
  TextureObject* t;
  if (it != registry().bySurface.end()) {
    t = it->second;
    t->AddRef();
  } else {
    t = new TextureObject(surface);
    registry().bySurface[surface] = t;
  }
  *object = static_cast<IDirect3DTexture2*>(t);
  return S_OK;
}

TextureObject* TextureObject::fromHandle(DWORD handle) {
  auto it = registry().byHandle.find(handle);
  return it == registry().byHandle.end() ? nullptr : it->second;
}

TextureObject::TextureObject(IDirectDrawSurface4* surface) : surface_(surface) { surface_->AddRef(); }

TextureObject::~TextureObject() {
  DeferredShading::flushAll();  // queued draws may still read the bilinear copy
  registry().bySurface.erase(surface_);
  if (handle_) registry().byHandle.erase(handle_);
  surface_->Release();
}

HRESULT TextureObject::QueryInterface(REFIID iid, LPVOID* object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (iid == kIUnknown || iid == IID_IDirect3DTexture2) {
    AddRef();
    *object = static_cast<IDirect3DTexture2*>(this);
    return S_OK;
  }
  return surface_->QueryInterface(iid, object);  // back to the surface's own interfaces
}

ULONG TextureObject::Release() {
  ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

HRESULT TextureObject::GetHandle(LPDIRECT3DDEVICE3 device, LPD3DTEXTUREHANDLE handle) {
  if (!device || !handle) return DDERR_INVALIDPARAMS;
  if (!handle_) {
    handle_ = registry().nextHandle++;
    registry().byHandle[handle_] = this;
  }
  *handle = handle_;
  return D3D_OK;
}

HRESULT TextureObject::Load(LPDIRECT3DTEXTURE2 source) {
  auto* src = dynamic_cast<TextureObject*>(source);
  if (!src) return DDERR_INVALIDPARAMS;
  if (src == this) return D3D_OK;
  DeferredShading::flushAll();  // queued draws may still read the old texels
  SurfaceMemory from, to;
  if (!surfaceMemory(src->surface_, from) || !surfaceMemory(surface_, to)) return DDERR_INVALIDPARAMS;
  if (from.width != to.width || from.height != to.height || from.bitsPerPixel != to.bitsPerPixel)
    return DDERR_INVALIDPARAMS;
  const std::size_t rowBytes = static_cast<std::size_t>(to.width) * (to.bitsPerPixel / 8);
  for (int y = 0; y < to.height; ++y)
    std::memcpy(static_cast<std::uint8_t*>(to.bits) + static_cast<std::size_t>(y) * to.pitch,
                static_cast<const std::uint8_t*>(from.bits) + static_cast<std::size_t>(y) * from.pitch, rowBytes);
  markSurfaceChanged(surface_);
  // The source colour key travels with the pixels.
  DDCOLORKEY key;
  if (src->surface_->GetColorKey(DDCKEY_SRCBLT, &key) == DD_OK) surface_->SetColorKey(DDCKEY_SRCBLT, &key);
  return D3D_OK;
}

bool TextureObject::image(TextureImage* out) const {
  SurfaceMemory m;
  if (!surfaceMemory(surface_, m) || m.bitsPerPixel != 16) return false;
  *out = TextureImage{static_cast<const std::uint16_t*>(m.bits), m.pitch, m.width, m.height, false, 0};
  DDCOLORKEY key;
  if (surface_->GetColorKey(DDCKEY_SRCBLT, &key) == DD_OK) {
    out->hasColorKey = true;
    out->colorKey = static_cast<std::uint16_t>(key.dwColorSpaceLowValue);
  }
  if (!out->usable()) return false;
  out->pairs = pairs_.update(*out, surfaceGeneration(surface_));
  return true;
}

}  // namespace platform::d3d
