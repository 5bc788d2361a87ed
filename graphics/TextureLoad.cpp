// Texture::loadImage: a BMP file through GDI into a texture surface, its device copy,
// palette, texture interfaces, default material and table entry.
#include <cstring>

#include "foundation/DebugLog.h"
#include "graphics/DisplayDevice.h"
#include "graphics/LastResult.h"
#include "graphics/Renderer.h"
#include "graphics/Texture.h"
#include "graphics/TextureFormat.h"
#include "graphics/TextureMessages.h"
#include "platform/bitmap/LoadImage.h"
#include "platform/gdi/WinGdi.h"

namespace {

// The open-failure line: the message, the file name in double quotes, CR and LF.
void logTextureOpenFailure(const HeapString& fileName) {
  HeapString line = HeapString(kTextureOpenFailedMessage) + "\"" + fileName + "\"\r\n";
  appendToDebugLog(line.c_str());
}

// A texture surface of width x height with these caps.
DDSURFACEDESC2 textureDescription(LONG width, LONG height, DWORD caps) {
  DDSURFACEDESC2 description{};
  description.dwSize = DDSURFACEDESC2_SIZE32;
  description.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
  description.dwWidth = DWORD(width);
  description.dwHeight = DWORD(height);
  description.ddsCaps.dwCaps = caps;
  return description;
}

}  // namespace

int Texture::loadImage(const char* fileName, Renderer* owner) {
  releaseSurface();
  renderer = owner;
  display = owner ? owner->display : nullptr;
  videoMemory = display ? display->hardware : 0;
  name = fileName;

  HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(
      nullptr, fileName, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION | LR_DEFAULTSIZE | LR_LOADFROMFILE));
  if (!bitmap) {
    logTextureOpenFailure(name);
    return 0;
  }
  BITMAP info{};
  GetObjectA(bitmap, 24, &info);

  DDSURFACEDESC2 description =
      textureDescription(info.bmWidth, info.bmHeight, DDSCAPS_TEXTURE | DDSCAPS_SYSTEMMEMORY);
  if (owner && owner->device)
    lastResult = owner->device->EnumTextureFormats(chooseTextureFormat, &description.ddpfPixelFormat);
  // No display (the renderer was never created) counts as a surface that cannot be made.
  if (display && display->directDraw4 && info.bmWidth > 0 && info.bmHeight > 0)
    lastResult = display->directDraw4->CreateSurface(&description, &surface, nullptr);
  else
    lastResult = DDERR_INVALIDPARAMS;
  if (FAILED(lastResult) || !surface) {
    Surface::releaseSurface();
    appendToDebugLog(kTextureSurfaceFailedMessage);
    DeleteObject(bitmap);
    return 0;
  }

  copyBitmap(bitmap, info.bmWidth, info.bmHeight);

  if (videoMemory) {
    DDSURFACEDESC2 copy = textureDescription(info.bmWidth, info.bmHeight,
                                             DDSCAPS_TEXTURE | DDSCAPS_VIDEOMEMORY | DDSCAPS_ALLOCONLOAD);
    copy.ddpfPixelFormat = description.ddpfPixelFormat;
    lastResult = display->directDraw4->CreateSurface(&copy, &deviceSurface, nullptr);
  } else {
    deviceSurface = surface;
    deviceSurface->AddRef();
  }

  lastResult = display->directDraw4->CreatePalette(DDPCAPS_8BIT, colourTable, &palette, nullptr);
  if (palette) {
    lastResult = palette->SetEntries(0, 0, 256, colourTable);
    lastResult = surface->SetPalette(palette);
  }

  lastResult = surface->QueryInterface(IID_IDirect3DTexture2, reinterpret_cast<void**>(&systemTexture));
  if (deviceSurface)
    lastResult = deviceSurface->QueryInterface(IID_IDirect3DTexture2, reinterpret_cast<void**>(&deviceTexture));

  materialDesc = D3DMATERIAL{};
  materialDesc.dwSize = sizeof(D3DMATERIAL);
  materialDesc.diffuse = {0.5f, 0.5f, 0.5f, 1.0f};
  materialDesc.ambient = {0.5f, 0.5f, 0.5f, 1.0f};
  materialDesc.specular = {1.0f, 1.0f, 1.0f, 1.0f};
  materialDesc.emissive = {0.5f, 0.5f, 0.5f, 1.0f};
  materialDesc.power = 20.0f;
  materialDesc.hTexture = 0;
  materialDesc.dwRampSize = 1;
  createDeviceMaterial();

  enterIntoTable();
  upload();
  return 1;
}
