// IDirectDrawSurface4 apart from the blits: attachments, colour keys, palette, DC, Lock.
#include <algorithm>
#include <cstring>

#include "platform/backend/Backend.h"
#include "platform/ddraw/DirectDrawObjects.h"
#include "platform/ddraw/SurfaceAccess.h"
#include "platform/gdi/SurfaceDC.h"

namespace platform {
namespace {
SurfaceQueryHook gSurfaceHook = nullptr;
}
void setSurfaceQueryHook(SurfaceQueryHook hook) { gSurfaceHook = hook; }
void setSurfaceAccessHook(SurfaceAccessHook hook) { detail::gAccessHook = hook; }
}  // namespace platform

namespace platform::detail {

SurfaceObject::SurfaceObject(DirectDrawObject* owner, int width, int height, const DDSCAPS2& caps,
                             const DDPIXELFORMAT& format)
    : owner_(owner), width_(width), height_(height), caps_(caps), format_(format) {
  static_cast<IDirectDraw4*>(owner_)->AddRef();
  bytesPerPixel_ = int(format.dwRGBBitCount / 8);  // dwZBufferBitDepth shares the field
  pitch_ = (width * bytesPerPixel_ + 3) & ~3;       // rows start on 4-byte boundaries
  memory_.assign(std::size_t(pitch_) * std::size_t(height), 0);
}

SurfaceObject::~SurfaceObject() {
  beforeAccess();
  if (dc_) releaseTargetDC(dc_);
  for (SurfaceObject* attached : attached_) attached->Release();
  if (palette_) palette_->Release();
  if (primary_) {
    forgetPrimary(this);
    backend().primaryReleased();
  }
  static_cast<IDirectDraw4*>(owner_)->Release();
}

void SurfaceObject::makePrimary() { primary_ = true; }

HRESULT SurfaceObject::QueryInterface(REFIID iid, LPVOID* object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (iid == kIUnknown || iid == IID_IDirectDrawSurface4) {
    AddRef();
    *object = static_cast<IDirectDrawSurface4*>(this);
    return S_OK;
  }
  if (gSurfaceHook) return gSurfaceHook(this, iid, object);
  return E_NOINTERFACE;
}

ULONG SurfaceObject::Release() {
  ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

SurfaceObject* SurfaceObject::depthAttachment() const {
  for (SurfaceObject* attached : attached_)
    if (attached->caps_.dwCaps & DDSCAPS_ZBUFFER) return attached;
  return nullptr;
}

HRESULT SurfaceObject::AddAttachedSurface(LPDIRECTDRAWSURFACE4 surface) {
  auto* attached = static_cast<SurfaceObject*>(surface);
  if (!attached) return DDERR_INVALIDPARAMS;
  if (std::find(attached_.begin(), attached_.end(), attached) != attached_.end())
    return DDERR_SURFACEALREADYATTACHED;
  // Only a z-buffer of the same size attaches to a surface that is not one itself, and only
  // one of them; that also keeps attachments free of cycles.
  if (attached == this || !(attached->caps_.dwCaps & DDSCAPS_ZBUFFER) ||
      (caps_.dwCaps & DDSCAPS_ZBUFFER) || depthAttachment() || attached->width_ != width_ ||
      attached->height_ != height_)
    return DDERR_CANNOTATTACHSURFACE;
  attached->AddRef();
  attached_.push_back(attached);
  return DD_OK;
}

HRESULT SurfaceObject::DeleteAttachedSurface(DWORD, LPDIRECTDRAWSURFACE4 surface) {
  auto found = std::find(attached_.begin(), attached_.end(), static_cast<SurfaceObject*>(surface));
  if (!surface || found == attached_.end()) return DDERR_SURFACENOTATTACHED;
  SurfaceObject* attached = *found;
  attached_.erase(found);
  attached->Release();
  return DD_OK;
}

HRESULT SurfaceObject::GetAttachedSurface(LPDDSCAPS2 caps, LPDIRECTDRAWSURFACE4* surface) {
  if (!caps || !surface) return DDERR_INVALIDPARAMS;
  *surface = nullptr;
  for (SurfaceObject* attached : attached_) {
    if ((attached->caps_.dwCaps & caps->dwCaps) == caps->dwCaps &&
        (attached->caps_.dwCaps2 & caps->dwCaps2) == caps->dwCaps2) {
      attached->AddRef();
      *surface = attached;
      return DD_OK;
    }
  }
  return DDERR_NOTFOUND;
}

HRESULT SurfaceObject::GetCaps(LPDDSCAPS2 caps) {
  if (!caps) return DDERR_INVALIDPARAMS;
  *caps = caps_;
  return DD_OK;
}

HRESULT SurfaceObject::SetColorKey(DWORD flags, LPDDCOLORKEY key) {
  if (flags & DDCKEY_COLORSPACE) return DDERR_UNSUPPORTED;  // colour ranges are not needed
  DWORD kind = flags & (DDCKEY_SRCBLT | DDCKEY_DESTBLT | DDCKEY_SRCOVERLAY | DDCKEY_DESTOVERLAY);
  if (kind == DDCKEY_SRCBLT) {
    hasSourceKey_ = key != nullptr;
    if (key) sourceKey_ = *key;  // without DDCKEY_COLORSPACE only the low value keys
    return DD_OK;
  }
  if (kind == DDCKEY_DESTBLT) {
    hasDestinationKey_ = key != nullptr;
    if (key) destinationKey_ = *key;
    return DD_OK;
  }
  if (kind == DDCKEY_SRCOVERLAY || kind == DDCKEY_DESTOVERLAY) return DDERR_UNSUPPORTED;
  return DDERR_INVALIDPARAMS;
}

HRESULT SurfaceObject::GetColorKey(DWORD flags, LPDDCOLORKEY key) {
  if (!key) return DDERR_INVALIDPARAMS;
  if (flags == DDCKEY_SRCBLT) {
    if (!hasSourceKey_) return DDERR_NOCOLORKEY;
    *key = sourceKey_;
    return DD_OK;
  }
  if (flags == DDCKEY_DESTBLT) {
    if (!hasDestinationKey_) return DDERR_NOCOLORKEY;
    *key = destinationKey_;
    return DD_OK;
  }
  return DDERR_INVALIDPARAMS;
}

HRESULT SurfaceObject::SetPalette(LPDIRECTDRAWPALETTE palette) {
  if (!(format_.dwFlags & (DDPF_PALETTEINDEXED8 | DDPF_PALETTEINDEXED4 | DDPF_PALETTEINDEXED2 |
                           DDPF_PALETTEINDEXED1)))
    return DDERR_INVALIDPIXELFORMAT;
  auto* next = static_cast<PaletteObject*>(palette);
  if (next) next->AddRef();
  if (palette_) palette_->Release();
  palette_ = next;
  return DD_OK;
}

HRESULT SurfaceObject::GetPalette(LPDIRECTDRAWPALETTE* palette) {
  if (!palette) return DDERR_INVALIDPARAMS;
  *palette = palette_;
  if (!palette_) return DDERR_NOPALETTEATTACHED;
  palette_->AddRef();
  return DD_OK;
}

HRESULT SurfaceObject::GetPixelFormat(LPDDPIXELFORMAT format) {
  if (!format) return DDERR_INVALIDPARAMS;
  *format = format_;
  return DD_OK;
}

HRESULT SurfaceObject::GetSurfaceDesc(LPDDSURFACEDESC2 description) {
  if (!description || !validSize(description->dwSize, DDSURFACEDESC2_SIZE32, sizeof(DDSURFACEDESC2)))
    return DDERR_INVALIDPARAMS;
  DWORD size = description->dwSize;
  *description = DDSURFACEDESC2{};
  description->dwSize = size;
  description->dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PITCH | DDSD_PIXELFORMAT;
  description->dwWidth = DWORD(width_);
  description->dwHeight = DWORD(height_);
  description->lPitch = pitch_;
  description->ddpfPixelFormat = format_;
  description->ddsCaps = caps_;
  if (primary_ && !attached_.empty()) {
    description->dwFlags |= DDSD_BACKBUFFERCOUNT;
    description->dwBackBufferCount = 1;
  }
  if (hasSourceKey_) {
    description->dwFlags |= DDSD_CKSRCBLT;
    description->ddckCKSrcBlt = sourceKey_;
  }
  if (hasDestinationKey_) {
    description->dwFlags |= DDSD_CKDESTBLT;
    description->ddckCKDestBlt = destinationKey_;
  }
  return DD_OK;
}

HRESULT SurfaceObject::GetDC(HDC* dc) {
  if (!dc) return DDERR_INVALIDPARAMS;
  beforeWrite();
  *dc = nullptr;
  if (dc_) return DDERR_DCALREADYCREATED;
  if (locked_) return DDERR_SURFACEBUSY;
  // GDI draws into RGB565 and X8R8G8B8 memory only.
  bool rgb565 = format_.dwFlags == DDPF_RGB && format_.dwRGBBitCount == 16 &&
                format_.dwRBitMask == 0xF800 && format_.dwGBitMask == 0x07E0 && format_.dwBBitMask == 0x001F;
  bool rgb32 = (format_.dwFlags & ~DDPF_ALPHAPIXELS) == DDPF_RGB && format_.dwRGBBitCount == 32 &&
               format_.dwRBitMask == 0xFF0000 && format_.dwGBitMask == 0xFF00 && format_.dwBBitMask == 0xFF;
  if (!rgb565 && !rgb32) return DDERR_CANTCREATEDC;
  PixelTarget target;
  target.bits = memory_.data();
  target.width = width_;
  target.height = height_;
  target.pitch = pitch_;
  target.bitsPerPixel = rgb565 ? 16 : 32;
  dc_ = createTargetDC(target);
  if (!dc_) return DDERR_CANTCREATEDC;
  *dc = dc_;
  return DD_OK;
}

HRESULT SurfaceObject::ReleaseDC(HDC dc) {
  if (!dc_ || dc != dc_) return DDERR_NODC;
  changed();
  releaseTargetDC(dc_);
  dc_ = nullptr;
  presentIfPrimary();
  return DD_OK;
}

HRESULT SurfaceObject::Lock(LPRECT rect, LPDDSURFACEDESC2 description, DWORD, HANDLE) {
  if (!description) return DDERR_INVALIDPARAMS;
  beforeWrite();
  if (locked_ || dc_) return DDERR_SURFACEBUSY;
  RECT area;
  if (!resolveRect(rect, area)) return DDERR_INVALIDRECT;
  HRESULT result = GetSurfaceDesc(description);
  if (result != DD_OK) return result;
  description->dwFlags |= DDSD_LPSURFACE;
  description->lpSurface = row(area.top) + std::size_t(area.left) * std::size_t(bytesPerPixel_);
  locked_ = true;
  return DD_OK;
}

HRESULT SurfaceObject::Unlock(LPRECT) {
  if (!locked_) return DDERR_NOTLOCKED;
  changed();
  locked_ = false;
  presentIfPrimary();
  return DD_OK;
}

bool SurfaceObject::resolveRect(const RECT* rect, RECT& resolved) const {
  if (!rect) {
    resolved = RECT{0, 0, width_, height_};
    return true;
  }
  if (rect->left < 0 || rect->top < 0 || rect->right > width_ || rect->bottom > height_ ||
      rect->left >= rect->right || rect->top >= rect->bottom)
    return false;
  resolved = *rect;
  return true;
}

void SurfaceObject::presentIfPrimary() {
  if (!primary_) return;
  PixelTarget image;
  image.bits = memory_.data();
  image.width = width_;
  image.height = height_;
  image.pitch = pitch_;
  image.bitsPerPixel = bytesPerPixel_ * 8;
  backend().primaryPresented(image);
}

}  // namespace platform::detail

namespace platform {

std::uint64_t surfaceGeneration(IDirectDrawSurface4* surface) {
  auto* object = static_cast<detail::SurfaceObject*>(surface);
  return object ? object->generation() : 0;
}

void markSurfaceChanged(IDirectDrawSurface4* surface) {
  if (auto* object = static_cast<detail::SurfaceObject*>(surface)) object->changed();
}

bool surfaceMemory(IDirectDrawSurface4* surface, SurfaceMemory& memory) {
  memory = SurfaceMemory{};
  auto* object = static_cast<detail::SurfaceObject*>(surface);
  if (!object) return false;
  memory.bits = object->row(0);
  memory.width = object->width();
  memory.height = object->height();
  memory.pitch = object->pitch();
  memory.bitsPerPixel = object->bytesPerPixel() * 8;
  memory.format = object->format();
  memory.caps = object->caps().dwCaps;
  return true;
}

IDirectDrawSurface4* attachedDepthSurface(IDirectDrawSurface4* surface) {
  auto* object = static_cast<detail::SurfaceObject*>(surface);
  return object ? object->depthAttachment() : nullptr;
}

void presentSurface(IDirectDrawSurface4* surface) {
  detail::beforeAccess();
  if (auto* object = static_cast<detail::SurfaceObject*>(surface)) object->presentIfPrimary();
}

}  // namespace platform
