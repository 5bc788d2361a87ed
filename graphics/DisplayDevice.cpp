// DisplayDevice: creation and release of the DirectDraw display.
#include "graphics/DisplayDevice.h"

#include "foundation/DebugLog.h"
#include "graphics/DisplayMessages.h"
#include "graphics/LastResult.h"

namespace {
constexpr DWORD kDisplayWidth = 640;
constexpr DWORD kDisplayHeight = 480;

DDSURFACEDESC2 emptyDescription() {
  DDSURFACEDESC2 description{};
  description.dwSize = DDSURFACEDESC2_SIZE32;
  return description;
}
}  // namespace

DisplayDevice::DisplayDevice() = default;

DisplayDevice::~DisplayDevice() { releaseAll(); }

void DisplayDevice::releaseAll() {
  if (directDraw4) {
    lastResult = directDraw4->SetCooperativeLevel(window, DDSCL_NORMAL);
    lastResult = directDraw4->RestoreDisplayMode();
    delete backBuffer;
    backBuffer = nullptr;
    delete primary;
    primary = nullptr;
    directDraw4->Release();
    directDraw4 = nullptr;
  }
  // Surfaces made before directDraw4 could be obtained cannot exist, but a half-built device
  // must not leak them either.
  delete backBuffer;
  backBuffer = nullptr;
  delete primary;
  primary = nullptr;
  if (directDraw) {
    directDraw->Release();
    directDraw = nullptr;
  }
}

int DisplayDevice::create(HWND newWindow) {
  releaseAll();
  window = newWindow;

  lastResult = DirectDrawCreate(nullptr, &directDraw, nullptr);
  if (directDraw)
    lastResult = directDraw->QueryInterface(IID_IDirectDraw4, reinterpret_cast<void**>(&directDraw4));
  if (!directDraw4) {  // nothing to build surfaces with
    releaseAll();
    appendToDebugLog(kPrimaryFailedMessage);
    return 0;
  }

  if (fullScreen) {
    lastResult = directDraw4->SetCooperativeLevel(
        window, DDSCL_EXCLUSIVE | DDSCL_NOWINDOWCHANGES | DDSCL_FULLSCREEN);
    lastResult = directDraw4->SetDisplayMode(kDisplayWidth, kDisplayHeight, 16, 0, 0);
  } else {
    lastResult = directDraw4->SetCooperativeLevel(window, DDSCL_NORMAL);
  }

  primary = new Surface(this);
  DDSURFACEDESC2 description = emptyDescription();
  if (fullScreen) {
    description.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    description.dwBackBufferCount = 1;
    description.ddsCaps.dwCaps =
        DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX | DDSCAPS_3DDEVICE;
  } else {
    description.dwFlags = DDSD_CAPS;
    description.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
  }
  lastResult = directDraw4->CreateSurface(&description, &primary->surface, nullptr);
  if (!primary->surface) {
    releaseAll();
    appendToDebugLog(kPrimaryFailedMessage);
    return 0;
  }

  backBuffer = new Surface(this);
  backBuffer->videoMemory = hardware;
  if (fullScreen) {
    DDSCAPS2 caps{};
    caps.dwCaps = DDSCAPS_BACKBUFFER;
    lastResult = primary->surface->GetAttachedSurface(&caps, &backBuffer->surface);
  } else {
    description = emptyDescription();
    description.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
    description.dwWidth = kDisplayWidth;
    description.dwHeight = kDisplayHeight;
    description.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE |
                                 (hardware ? DDSCAPS_VIDEOMEMORY : DDSCAPS_SYSTEMMEMORY);
    lastResult = directDraw4->CreateSurface(&description, &backBuffer->surface, nullptr);
  }
  if (!backBuffer->surface) {
    releaseAll();
    appendToDebugLog(kBackBufferFailedMessage);
    return 0;
  }

  primary->setBlackColourKey();
  backBuffer->setBlackColourKey();
  primary->width = backBuffer->width = int(kDisplayWidth);
  primary->height = backBuffer->height = int(kDisplayHeight);

  RECT area{0, 0, LONG(kDisplayWidth), LONG(kDisplayHeight)};
  DDBLTFX effects{};
  effects.dwSize = DDBLTFX_SIZE32;
  effects.dwFillColor = 0;
  lastResult = backBuffer->surface->Blt(&area, nullptr, &area, DDBLT_COLORFILL | DDBLT_WAIT, &effects);
  return 1;
}
