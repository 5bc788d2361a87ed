// The display of the platform probes: a DirectDraw primary surface and a 640x480 back buffer
// in windowed (normal cooperative) mode, filled with one colour and copied to the primary
// each frame. Shared by the probe program and the in-process entry-point tests.
#pragma once

#include <cstring>

#include "platform/ddraw/DDraw.h"
#include "platform/gdi/WinGdi.h"

struct ProbeDisplay {
  IDirectDraw* directDraw = nullptr;
  IDirectDraw4* dd4 = nullptr;
  IDirectDrawSurface4* primary = nullptr;
  IDirectDrawSurface4* back = nullptr;

  void open(HWND window) {
    DirectDrawCreate(nullptr, &directDraw, nullptr);
    directDraw->QueryInterface(IID_IDirectDraw4, reinterpret_cast<void**>(&dd4));
    dd4->SetCooperativeLevel(window, DDSCL_NORMAL);
    DDSURFACEDESC2 description{};
    description.dwSize = DDSURFACEDESC2_SIZE32;
    description.dwFlags = DDSD_CAPS;
    description.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
    dd4->CreateSurface(&description, &primary, nullptr);
    description.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    description.dwWidth = 640;
    description.dwHeight = 480;
    description.ddsCaps.dwCaps = 0x2840;  // offscreen plain, 3D device, system memory
    dd4->CreateSurface(&description, &back, nullptr);
  }

  // Fills the back buffer with the raw 16-bit value and copies it to the primary.
  void present(DWORD fillColour, const char* text = nullptr) {
    DDBLTFX fill{};
    fill.dwSize = DDBLTFX_SIZE32;
    fill.dwFillColor = fillColour;
    back->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fill);
    HDC dc = nullptr;
    if (text && back->GetDC(&dc) == DD_OK) {
      TextOutA(dc, 4, 4, text, int(std::strlen(text)));
      back->ReleaseDC(dc);
    }
    RECT all{0, 0, 640, 480};
    primary->BltFast(0, 0, back, &all, DDBLTFAST_WAIT);
  }

  void release() {
    back->Release();
    primary->Release();
    dd4->Release();
    directDraw->Release();
    *this = ProbeDisplay{};
  }
};
