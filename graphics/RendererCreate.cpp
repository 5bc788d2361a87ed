// Renderer::create: display, device choice with the software fallback, depth buffer, device,
// viewport, default material and light.
#include <cstring>

#include "graphics/DisplayDevice.h"
#include "graphics/LastResult.h"
#include "graphics/Renderer.h"
#include "graphics/Surface.h"

int depthFormatFound = 0;

namespace {

// Takes the first format whose flags are exactly DDPF_ZBUFFER (one with further flags, such
// as a stencil, does not count) into the DDPIXELFORMAT at `context`, and stops there.
HRESULT CALLBACK takePlainDepthFormat(LPDDPIXELFORMAT format, LPVOID context) {
  if (!format || format->dwFlags != DDPF_ZBUFFER) return D3DENUMRET_OK;
  std::memcpy(context, format, sizeof(DDPIXELFORMAT));
  depthFormatFound = 1;
  return D3DENUMRET_CANCEL;
}

}  // namespace

int Renderer::create(HWND window, Surface* givenTarget) {
  releaseAll();

  if (!givenTarget) {
    display = new DisplayDevice;
    ownsDisplay = 1;  // from here on, a failure's releaseAll frees the display too
    display->hardware = 1;
    display->fullScreen = fullScreen;
    if (!display->create(window)) {
      display->releaseAll();
      display->hardware = 0;
      display->fullScreen = fullScreen;
      if (!display->create(window)) {
        releaseAll();
        return 0;
      }
    }
    target = display->backBuffer;
  } else {
    target = givenTarget;
    display = givenTarget->display;
    // A target without a live surface on a live display cannot be rendered into.
    if (!display || !display->directDraw4 || !target->surface) {
      releaseAll();
      return 0;
    }
  }

  depthFormatFound = 0;
  const GUID* deviceType = display->hardware ? &IID_IDirect3DHALDevice : &IID_IDirect3DRGBDevice;
  DWORD depthMemory = display->hardware ? DDSCAPS_VIDEOMEMORY : DDSCAPS_SYSTEMMEMORY;

  lastResult = display->directDraw4->QueryInterface(IID_IDirect3D3, reinterpret_cast<void**>(&direct3D));
  if (!direct3D) {  // nothing to make a device with
    releaseAll();
    return 0;
  }
  DDPIXELFORMAT depthFormat{};
  lastResult = direct3D->EnumZBufferFormats(*deviceType, takePlainDepthFormat, &depthFormat);

  if (!depthFormatFound) {
    // The chosen device has no plain depth format: software device, system memory.
    int recreated = 0;
    if (givenTarget) {
      target->videoMemory = 0;
      target->releaseSurface();
      recreated = target->create(display);
    } else {
      direct3D->Release();  // it holds the old DirectDraw object
      direct3D = nullptr;
      display->hardware = 0;
      display->releaseAll();
      recreated = display->create(window);
      target = display->backBuffer;
      if (recreated)
        lastResult = display->directDraw4->QueryInterface(IID_IDirect3D3, reinterpret_cast<void**>(&direct3D));
    }
    if (!recreated || !direct3D) {
      releaseAll();
      return 0;
    }
    lastResult = direct3D->EnumZBufferFormats(IID_IDirect3DRGBDevice, takePlainDepthFormat, &depthFormat);
    deviceType = &IID_IDirect3DRGBDevice;
    depthMemory = DDSCAPS_SYSTEMMEMORY;
  }

  // Without a plain depth format there is nothing valid to describe: no depth buffer.
  if (depthFormatFound) {
    depthBuffer = new Surface(display);
    depthBuffer->width = target->width;
    depthBuffer->height = target->height;
    DDSURFACEDESC2 description{};
    description.dwSize = DDSURFACEDESC2_SIZE32;
    description.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PIXELFORMAT;
    description.dwWidth = DWORD(target->width);
    description.dwHeight = DWORD(target->height);
    description.ddsCaps.dwCaps = DDSCAPS_ZBUFFER | depthMemory;
    description.ddpfPixelFormat = depthFormat;
    lastResult = display->directDraw4->CreateSurface(&description, &depthBuffer->surface, nullptr);
    if (depthBuffer->surface) lastResult = target->surface->AddAttachedSurface(depthBuffer->surface);
  }

  lastResult = direct3D->CreateDevice(*deviceType, target->surface, &device, nullptr);
  if (!device) {
    releaseAll();
    return 0;
  }

  lastResult = direct3D->CreateViewport(&viewport, nullptr);
  lastResult = direct3D->CreateMaterial(&material, nullptr);
  lastResult = direct3D->CreateLight(&light, nullptr);
  if (!viewport || !material || !light) {  // a renderer without them would fail at its first frame
    releaseAll();
    return 0;
  }

  D3DVIEWPORT2 view{};
  view.dwSize = sizeof(D3DVIEWPORT2);
  view.dwX = 0;
  view.dwY = 0;
  view.dwWidth = DWORD(target->width);
  view.dwHeight = DWORD(target->height);
  view.dvClipX = -1.0f;  // a 4:3 clip rectangle, whatever the target's size
  view.dvClipY = 0.75f;
  view.dvClipWidth = 2.0f;
  view.dvClipHeight = 1.5f;
  view.dvMinZ = 0.0f;
  view.dvMaxZ = 1.0f;
  lastResult = device->AddViewport(viewport);
  lastResult = viewport->SetViewport2(&view);
  lastResult = device->SetCurrentViewport(viewport);

  D3DMATERIAL defaultMaterial{};
  defaultMaterial.dwSize = sizeof(D3DMATERIAL);
  defaultMaterial.diffuse = {1.0f, 1.0f, 1.0f, 0.0f};
  defaultMaterial.ambient = {0.5f, 0.5f, 0.5f, 0.0f};
  defaultMaterial.specular = {1.0f, 1.0f, 1.0f, 1.0f};
  defaultMaterial.emissive = {0.5f, 0.5f, 0.5f, 0.5f};
  defaultMaterial.power = 20.0f;
  defaultMaterial.hTexture = 0;
  defaultMaterial.dwRampSize = 16;
  lastResult = material->SetMaterial(&defaultMaterial);
  lastResult = material->GetHandle(device, &materialHandle);

  D3DLIGHT2 defaultLight{};
  defaultLight.dwSize = sizeof(D3DLIGHT2);
  defaultLight.dltType = D3DLIGHT_DIRECTIONAL;
  defaultLight.dcvColor = {1.0f, 1.0f, 1.0f, 0.0f};
  defaultLight.dvPosition = {0.0f, 0.0f, 0.0f};
  defaultLight.dvDirection = {0.0f, 0.0f, 1.0f};
  defaultLight.dvRange = 0.0f;
  defaultLight.dvFalloff = 0.0f;
  defaultLight.dvAttenuation0 = 1.0f;
  defaultLight.dvAttenuation1 = 0.0f;
  defaultLight.dvAttenuation2 = 0.0f;
  defaultLight.dvTheta = 0.0f;
  defaultLight.dvPhi = 0.0f;
  defaultLight.dwFlags = D3DLIGHT_ACTIVE;
  lastResult = light->SetLight(reinterpret_cast<LPD3DLIGHT>(&defaultLight));
  lastResult = viewport->AddLight(light);

  applyDefaultStates();
  return 1;
}
