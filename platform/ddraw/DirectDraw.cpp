// DirectDrawCreate and the DirectDraw object: cooperative level, display mode, creation of
// surfaces and palettes.
#include <new>

#include "platform/backend/Backend.h"
#include "platform/ddraw/DirectDrawObjects.h"
#include "platform/ddraw/SurfaceAccess.h"
#include "platform/win32/WinUser.h"

namespace platform {
namespace {
DirectDrawQueryHook gDirectDrawHook = nullptr;
}
void setDirectDrawQueryHook(DirectDrawQueryHook hook) { gDirectDrawHook = hook; }
}  // namespace platform

namespace platform::detail {
namespace {

constexpr int kDisplayWidth = 640;
constexpr int kDisplayHeight = 480;
constexpr int kLargestSide = 4096;
SurfaceObject* gPrimary = nullptr;  // the one primary surface, not owned

// The pixel format a description asks for, or false when this layer cannot make it.
bool chooseFormat(const DDSURFACEDESC2& description, DWORD caps, DDPIXELFORMAT& format) {
  bool zBuffer = (caps & DDSCAPS_ZBUFFER) != 0;
  if (!(description.dwFlags & DDSD_PIXELFORMAT)) {
    if (!zBuffer) {
      format = displayPixelFormat();
      return true;
    }
    format = DDPIXELFORMAT{};
    format.dwSize = sizeof(DDPIXELFORMAT);
    format.dwFlags = DDPF_ZBUFFER;
    format.dwZBufferBitDepth = 16;
    format.dwZBitMask = 0xFFFF;
    return true;
  }
  format = description.ddpfPixelFormat;
  format.dwSize = sizeof(DDPIXELFORMAT);
  DWORD kinds = format.dwFlags & (DDPF_RGB | DDPF_ZBUFFER | DDPF_PALETTEINDEXED8 | DDPF_FOURCC |
                                  DDPF_PALETTEINDEXED4 | DDPF_PALETTEINDEXED1 |
                                  DDPF_PALETTEINDEXED2 | DDPF_LUMINANCE | DDPF_ALPHA);
  if (zBuffer != (kinds == DDPF_ZBUFFER)) return false;
  if (kinds == DDPF_ZBUFFER) {
    // Depth only (no stencil); 16 or 32 bits of storage.
    return (format.dwZBufferBitDepth == 16 || format.dwZBufferBitDepth == 32) &&
           !(format.dwFlags & DDPF_STENCILBUFFER);
  }
  if (kinds == DDPF_RGB) return format.dwRGBBitCount == 16 || format.dwRGBBitCount == 32;
  if (kinds == (DDPF_RGB | DDPF_PALETTEINDEXED8) || kinds == DDPF_PALETTEINDEXED8) {
    format.dwRGBBitCount = 8;
    return true;
  }
  return false;
}

}  // namespace

DDPIXELFORMAT displayPixelFormat() {
  DDPIXELFORMAT format{};
  format.dwSize = sizeof(DDPIXELFORMAT);
  format.dwFlags = DDPF_RGB;
  format.dwRGBBitCount = 16;
  format.dwRBitMask = 0xF800;
  format.dwGBitMask = 0x07E0;
  format.dwBBitMask = 0x001F;
  return format;
}

DirectDrawObject::~DirectDrawObject() {
  if (modeSet_) backend().displayModeChanged(false);
}

HRESULT DirectDrawObject::QueryInterface(REFIID iid, LPVOID* object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (iid == kIUnknown || iid == IID_IDirectDraw) {
    AddRef();
    *object = static_cast<IDirectDraw*>(this);
    return S_OK;
  }
  if (iid == IID_IDirectDraw4) {
    AddRef();
    *object = static_cast<IDirectDraw4*>(this);
    return S_OK;
  }
  if (gDirectDrawHook) return gDirectDrawHook(static_cast<IDirectDraw4*>(this), iid, object);
  return E_NOINTERFACE;
}

ULONG DirectDrawObject::Release() {
  ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

HRESULT DirectDrawObject::SetCooperativeLevel(HWND window, DWORD flags) {
  bool exclusive = (flags & DDSCL_EXCLUSIVE) != 0;
  bool fullScreen = (flags & DDSCL_FULLSCREEN) != 0;
  bool normal = (flags & DDSCL_NORMAL) != 0;
  if (exclusive != fullScreen || exclusive == normal) return DDERR_INVALIDPARAMS;
  if (exclusive && !IsWindow(window)) return DDERR_INVALIDPARAMS;
  window_ = window;
  exclusive_ = exclusive;
  return DD_OK;
}

HRESULT DirectDrawObject::SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel) {
  return SetDisplayMode(width, height, bitsPerPixel, 0, 0);
}

HRESULT DirectDrawObject::SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel, DWORD,
                                         DWORD flags) {
  if (flags != 0) return DDERR_INVALIDPARAMS;
  if (width != DWORD(kDisplayWidth) || height != DWORD(kDisplayHeight) || bitsPerPixel != 16)
    return DDERR_INVALIDMODE;
  if (!modeSet_ || exclusive_) backend().displayModeChanged(exclusive_);
  modeSet_ = true;
  return DD_OK;
}

HRESULT DirectDrawObject::RestoreDisplayMode() {
  if (modeSet_) backend().displayModeChanged(false);
  modeSet_ = false;
  return DD_OK;
}

HRESULT DirectDrawObject::GetDisplayMode(LPDDSURFACEDESC2 description) {
  if (!description || !validSize(description->dwSize, DDSURFACEDESC2_SIZE32, sizeof(DDSURFACEDESC2)))
    return DDERR_INVALIDPARAMS;
  DWORD size = description->dwSize;
  *description = DDSURFACEDESC2{};
  description->dwSize = size;
  description->dwFlags = DDSD_HEIGHT | DDSD_WIDTH | DDSD_PITCH | DDSD_PIXELFORMAT | DDSD_REFRESHRATE;
  description->dwWidth = kDisplayWidth;
  description->dwHeight = kDisplayHeight;
  description->lPitch = kDisplayWidth * 2;
  description->dwRefreshRate = 60;
  description->ddpfPixelFormat = displayPixelFormat();
  return DD_OK;
}

HRESULT DirectDrawObject::CreatePalette(DWORD flags, LPPALETTEENTRY entries,
                                        LPDIRECTDRAWPALETTE* palette, IUnknown* outer) {
  if (!palette) return DDERR_INVALIDPARAMS;
  *palette = nullptr;
  if (outer) return CLASS_E_NOAGGREGATION;
  if (!entries) return DDERR_INVALIDPARAMS;
  DWORD sizeFlags = flags & (DDPCAPS_1BIT | DDPCAPS_2BIT | DDPCAPS_4BIT | DDPCAPS_8BIT);
  int size = sizeFlags == DDPCAPS_1BIT   ? 2
             : sizeFlags == DDPCAPS_2BIT ? 4
             : sizeFlags == DDPCAPS_4BIT ? 16
             : sizeFlags == DDPCAPS_8BIT ? 256
                                         : 0;
  if (size == 0) return DDERR_INVALIDPARAMS;
  *palette = new (std::nothrow) PaletteObject(flags, size, entries);
  return *palette ? DD_OK : DDERR_OUTOFMEMORY;
}

HRESULT DirectDrawObject::CreateSurface(LPDDSURFACEDESC2 description, LPDIRECTDRAWSURFACE4* surface,
                                        IUnknown* outer) {
  if (!surface) return DDERR_INVALIDPARAMS;
  *surface = nullptr;
  if (outer) return CLASS_E_NOAGGREGATION;
  if (!description || !validSize(description->dwSize, DDSURFACEDESC2_SIZE32, sizeof(DDSURFACEDESC2)))
    return DDERR_INVALIDPARAMS;
  DDSCAPS2 caps{};
  if (description->dwFlags & DDSD_CAPS) caps = description->ddsCaps;
  if (!(caps.dwCaps & (DDSCAPS_PRIMARYSURFACE | DDSCAPS_TEXTURE | DDSCAPS_ZBUFFER |
                       DDSCAPS_3DDEVICE | DDSCAPS_OFFSCREENPLAIN)))
    caps.dwCaps |= DDSCAPS_OFFSCREENPLAIN;  // a plain description means an offscreen surface
  if ((caps.dwCaps & DDSCAPS_VIDEOMEMORY) && (caps.dwCaps & DDSCAPS_SYSTEMMEMORY))
    return DDERR_INVALIDCAPS;

  if (caps.dwCaps & DDSCAPS_PRIMARYSURFACE) {
    if (description->dwFlags & (DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT))
      return DDERR_INVALIDPARAMS;  // the primary is the screen: its size and format are given
    if (gPrimary) return DDERR_PRIMARYSURFACEALREADYEXISTS;
    bool flip = (caps.dwCaps & DDSCAPS_FLIP) != 0;
    DWORD backBuffers = (description->dwFlags & DDSD_BACKBUFFERCOUNT) ? description->dwBackBufferCount : 0;
    if (flip) {
      if (!exclusive_) return DDERR_NOEXCLUSIVEMODE;
      if (!(caps.dwCaps & DDSCAPS_COMPLEX) || backBuffers == 0) return DDERR_INVALIDCAPS;
      if (backBuffers > 1) return DDERR_UNSUPPORTED;  // one back buffer is all the engine uses
    } else if (backBuffers != 0) {
      return DDERR_INVALIDCAPS;
    }
    DDPIXELFORMAT format = displayPixelFormat();
    auto* primary = new (std::nothrow) SurfaceObject(this, kDisplayWidth, kDisplayHeight, caps, format);
    if (!primary) return DDERR_OUTOFMEMORY;
    if (flip) {
      DDSCAPS2 backCaps = caps;
      backCaps.dwCaps = (caps.dwCaps & ~(DDSCAPS_PRIMARYSURFACE | DDSCAPS_FRONTBUFFER)) | DDSCAPS_BACKBUFFER;
      auto* back = new (std::nothrow) SurfaceObject(this, kDisplayWidth, kDisplayHeight, backCaps, format);
      if (!back) {
        primary->Release();
        return DDERR_OUTOFMEMORY;
      }
      primary->attachBackBuffer(back);
    }
    primary->makePrimary();
    gPrimary = primary;
    *surface = primary;
    return DD_OK;
  }

  if (caps.dwCaps & (DDSCAPS_FLIP | DDSCAPS_BACKBUFFER | DDSCAPS_FRONTBUFFER)) return DDERR_INVALIDCAPS;
  if (!(description->dwFlags & DDSD_WIDTH) || !(description->dwFlags & DDSD_HEIGHT))
    return DDERR_INVALIDPARAMS;
  if (description->dwWidth == 0 || description->dwHeight == 0) return DDERR_INVALIDPARAMS;
  if (description->dwWidth > DWORD(kLargestSide) || description->dwHeight > DWORD(kLargestSide))
    return DDERR_TOOBIGSIZE;
  DDPIXELFORMAT format;
  if (!chooseFormat(*description, caps.dwCaps, format)) return DDERR_INVALIDPIXELFORMAT;
  auto* created = new (std::nothrow)
      SurfaceObject(this, int(description->dwWidth), int(description->dwHeight), caps, format);
  if (!created) return DDERR_OUTOFMEMORY;
  *surface = created;
  return DD_OK;
}

void forgetPrimary(SurfaceObject* surface) {
  if (gPrimary == surface) gPrimary = nullptr;
}

}  // namespace platform::detail

HRESULT WINAPI DirectDrawCreate(GUID* driver, LPDIRECTDRAW* directDraw, IUnknown* outer) {
  if (!directDraw) return DDERR_INVALIDPARAMS;
  *directDraw = nullptr;
  if (outer) return CLASS_E_NOAGGREGATION;
  if (driver) return DDERR_INVALIDPARAMS;  // only the default display driver exists
  auto* created = new (std::nothrow) platform::detail::DirectDrawObject();
  if (!created) return DDERR_OUTOFMEMORY;
  *directDraw = static_cast<IDirectDraw*>(created);
  return DD_OK;
}
