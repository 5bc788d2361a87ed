// The software RGB Direct3D device set up through the genuine calls, for tests and benchmarks:
// DirectDraw, a system-memory 3D target with an attached depth buffer in the first depth
// format the device offers, the device, and a current viewport with the engine's 4:3 clip
// rectangle. Header-only; the including program links qel_platform.
#pragma once

#include <initializer_list>

#include "platform/d3d/D3D.h"
#include "platform/ddraw/DDraw.h"

namespace qeltest {

// A surface description of width x height with the given caps.
inline DDSURFACEDESC2 describeSurface(DWORD width, DWORD height, DWORD caps) {
  DDSURFACEDESC2 d{};
  d.dwSize = DDSURFACEDESC2_SIZE32;
  d.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
  d.dwWidth = width;
  d.dwHeight = height;
  d.ddsCaps.dwCaps = caps;
  return d;
}

// EnumZBufferFormats callback keeping the first format offered.
inline HRESULT CALLBACK keepFirstFormat(LPDDPIXELFORMAT format, LPVOID context) {
  *static_cast<DDPIXELFORMAT*>(context) = *format;
  return D3DENUMRET_CANCEL;
}

struct RgbDeviceRig {
  IDirectDraw* dd1 = nullptr;
  IDirectDraw4* dd = nullptr;
  IDirect3D3* d3d = nullptr;
  IDirectDrawSurface4* target = nullptr;
  IDirectDrawSurface4* zbuffer = nullptr;
  IDirect3DDevice3* device = nullptr;
  IDirect3DViewport3* viewport = nullptr;

  // False at the first call that fails; release() undoes whatever was made.
  bool create(DWORD width, DWORD height) {
    if (DirectDrawCreate(nullptr, &dd1, nullptr) != DD_OK) return false;
    if (dd1->QueryInterface(IID_IDirectDraw4, reinterpret_cast<void**>(&dd)) != S_OK) return false;
    if (dd->QueryInterface(IID_IDirect3D3, reinterpret_cast<void**>(&d3d)) != S_OK) return false;
    DDSURFACEDESC2 t = describeSurface(width, height, DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE | DDSCAPS_SYSTEMMEMORY);
    if (dd->CreateSurface(&t, &target, nullptr) != DD_OK) return false;
    DDSURFACEDESC2 z = describeSurface(width, height, DDSCAPS_ZBUFFER | DDSCAPS_SYSTEMMEMORY);
    z.dwFlags |= DDSD_PIXELFORMAT;
    if (d3d->EnumZBufferFormats(IID_IDirect3DRGBDevice, keepFirstFormat, &z.ddpfPixelFormat) != D3D_OK) return false;
    if (dd->CreateSurface(&z, &zbuffer, nullptr) != DD_OK) return false;
    if (target->AddAttachedSurface(zbuffer) != DD_OK) return false;
    if (d3d->CreateDevice(IID_IDirect3DRGBDevice, target, &device, nullptr) != D3D_OK) return false;
    if (d3d->CreateViewport(&viewport, nullptr) != D3D_OK) return false;
    if (device->AddViewport(viewport) != D3D_OK) return false;
    D3DVIEWPORT2 vp{sizeof(D3DVIEWPORT2), 0, 0, width, height, -1.0f, 0.75f, 2.0f, 1.5f, 0.0f, 1.0f};
    if (viewport->SetViewport2(&vp) != D3D_OK) return false;
    return device->SetCurrentViewport(viewport) == D3D_OK;
  }

  void release() {
    for (IUnknown* u : std::initializer_list<IUnknown*>{viewport, device, zbuffer, target, d3d, dd, dd1})
      if (u) u->Release();
    *this = RgbDeviceRig{};
  }
};

}  // namespace qeltest
