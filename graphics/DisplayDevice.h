// The DirectDraw side of the display: DirectDraw interfaces, cooperative level, display mode,
// the primary surface and one 640x480 back buffer.
//
// Empty (all four interface/surface fields null) or created. `create` starts by releasing,
// so it may be repeated; a failed `create` leaves the device empty with a message in the
// debug log. `releaseAll` restores the normal cooperative level and the desktop mode and is
// safe on an empty device. The frame driver presents by BltFast of `backBuffer` to `primary`.
#pragma once

#include "graphics/Surface.h"
#include "platform/ddraw/DDraw.h"

class DisplayDevice final {
 public:
  DisplayDevice();
  // Does exactly releaseAll.
  ~DisplayDevice();
  DisplayDevice(const DisplayDevice&) = delete;
  DisplayDevice& operator=(const DisplayDevice&) = delete;

  // Builds DirectDraw, the mode, the primary and the cleared back buffer for `window`; 1 or 0.
  virtual int create(HWND window);
  // Releases everything create made; the device is empty afterwards.
  virtual void releaseAll();

  IDirectDraw* directDraw = nullptr;
  IDirectDraw4* directDraw4 = nullptr;
  Surface* primary = nullptr;
  Surface* backBuffer = nullptr;
  HWND window = nullptr;
  int fullScreen = 0;  // nonzero: exclusive full screen 640x480x16; zero: windowed
  int hardware = 0;    // nonzero: windowed back buffer (and Direct3D resources) in video memory
};
