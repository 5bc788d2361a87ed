// Internal to platform/ddraw: the objects behind the DirectDraw interfaces.
//
// One DirectDrawObject answers both IDirectDraw and IDirectDraw4 with one reference count.
// A SurfaceObject owns its pixel memory and holds references to its DirectDrawObject, its
// palette and its attached surfaces. At most one primary surface exists at a time.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "platform/ddraw/DDraw.h"
#include "platform/ddraw/SurfaceAccess.h"

namespace platform::detail {

// IID_IUnknown {00000000-0000-0000-C000-000000000046}.
inline constexpr GUID kIUnknown = {0, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

class SurfaceObject;

class PaletteObject final : public IDirectDrawPalette {
 public:
  PaletteObject(DWORD caps, int size, const PALETTEENTRY* entries);
  HRESULT QueryInterface(REFIID iid, LPVOID* object) override;
  ULONG AddRef() override { return ++references_; }
  ULONG Release() override;
  HRESULT GetCaps(DWORD* caps) override;
  HRESULT GetEntries(DWORD flags, DWORD start, DWORD count, LPPALETTEENTRY entries) override;
  HRESULT SetEntries(DWORD flags, DWORD start, DWORD count, LPPALETTEENTRY entries) override;

 private:
  ~PaletteObject() override = default;
  ULONG references_ = 1;
  DWORD caps_;
  int size_;
  std::array<PALETTEENTRY, 256> entries_{};
};

class DirectDrawObject final : public IDirectDraw, public IDirectDraw4 {
 public:
  DirectDrawObject() = default;
  HRESULT QueryInterface(REFIID iid, LPVOID* object) override;
  ULONG AddRef() override { return ++references_; }
  ULONG Release() override;
  // IDirectDraw
  HRESULT RestoreDisplayMode() override;
  HRESULT SetCooperativeLevel(HWND window, DWORD flags) override;
  HRESULT SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel) override;
  // IDirectDraw4
  HRESULT CreatePalette(DWORD flags, LPPALETTEENTRY entries, LPDIRECTDRAWPALETTE* palette,
                        IUnknown* outer) override;
  HRESULT CreateSurface(LPDDSURFACEDESC2 description, LPDIRECTDRAWSURFACE4* surface,
                        IUnknown* outer) override;
  HRESULT GetDisplayMode(LPDDSURFACEDESC2 description) override;
  HRESULT SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel, DWORD refreshRate,
                         DWORD flags) override;

  bool exclusive() const { return exclusive_; }

 private:
  ~DirectDrawObject() override;
  ULONG references_ = 1;
  HWND window_ = nullptr;
  bool exclusive_ = false;
  bool modeSet_ = false;
};

// The display's one pixel format: 16-bit RGB565.
DDPIXELFORMAT displayPixelFormat();
// Called by a primary surface as it goes away.
void forgetPrimary(SurfaceObject* surface);

// The surface access hook (SurfaceAccess.h); null when none is installed.
inline platform::SurfaceAccessHook gAccessHook = nullptr;
inline void beforeAccess() {
  if (gAccessHook) gAccessHook();
}

// The last content generation handed out to a surface.
inline std::uint64_t gLastGeneration = 0;

class SurfaceObject final : public IDirectDrawSurface4 {
 public:
  // A surface of the given size, caps and format (already validated), zero-filled.
  SurfaceObject(DirectDrawObject* owner, int width, int height, const DDSCAPS2& caps,
                const DDPIXELFORMAT& format);
  HRESULT QueryInterface(REFIID iid, LPVOID* object) override;
  ULONG AddRef() override { return ++references_; }
  ULONG Release() override;
  HRESULT AddAttachedSurface(LPDIRECTDRAWSURFACE4 attached) override;
  HRESULT Blt(LPRECT destination, LPDIRECTDRAWSURFACE4 source, LPRECT sourceRect, DWORD flags,
              LPDDBLTFX effects) override;
  HRESULT BltFast(DWORD x, DWORD y, LPDIRECTDRAWSURFACE4 source, LPRECT sourceRect,
                  DWORD flags) override;
  HRESULT DeleteAttachedSurface(DWORD flags, LPDIRECTDRAWSURFACE4 attached) override;
  HRESULT GetAttachedSurface(LPDDSCAPS2 caps, LPDIRECTDRAWSURFACE4* attached) override;
  HRESULT GetCaps(LPDDSCAPS2 caps) override;
  HRESULT GetColorKey(DWORD flags, LPDDCOLORKEY key) override;
  HRESULT GetDC(HDC* dc) override;
  HRESULT GetPalette(LPDIRECTDRAWPALETTE* palette) override;
  HRESULT GetPixelFormat(LPDDPIXELFORMAT format) override;
  HRESULT GetSurfaceDesc(LPDDSURFACEDESC2 description) override;
  HRESULT IsLost() override { return DD_OK; }
  HRESULT Lock(LPRECT rect, LPDDSURFACEDESC2 description, DWORD flags, HANDLE event) override;
  HRESULT ReleaseDC(HDC dc) override;
  HRESULT Restore() override { return DD_OK; }
  HRESULT SetColorKey(DWORD flags, LPDDCOLORKEY key) override;
  HRESULT SetPalette(LPDIRECTDRAWPALETTE palette) override;
  HRESULT Unlock(LPRECT rect) override;

  // Makes `backBuffer` the flip chain's back buffer (takes over the caller's reference).
  void attachBackBuffer(SurfaceObject* backBuffer) { attached_.push_back(backBuffer); }
  // Marks this as the primary surface (shown by the display backend).
  void makePrimary();

  int width() const { return width_; }
  int height() const { return height_; }
  int pitch() const { return pitch_; }
  int bytesPerPixel() const { return bytesPerPixel_; }
  std::uint8_t* row(int y) { return memory_.data() + std::size_t(y) * std::size_t(pitch_); }
  const DDSCAPS2& caps() const { return caps_; }
  const DDPIXELFORMAT& format() const { return format_; }
  bool busy() const { return locked_ || dc_ != nullptr; }
  // Content generation (surfaceGeneration); changed() gives the surface a new one.
  std::uint64_t generation() const { return generation_; }
  void changed() { generation_ = ++gLastGeneration; }
  // First step of every call that may write the pixels: queued work finishes, then the
  // surface takes a new generation.
  void beforeWrite() {
    beforeAccess();
    changed();
  }
  bool isPrimary() const { return primary_; }
  SurfaceObject* depthAttachment() const;
  // Shows the memory through the backend when this is the primary surface.
  void presentIfPrimary();

 private:
  ~SurfaceObject() override;
  // Whether `rect` (null = whole surface) lies inside the surface and is not empty.
  bool resolveRect(const RECT* rect, RECT& resolved) const;
  void fill(const RECT& area, DWORD value);

  ULONG references_ = 1;
  DirectDrawObject* owner_;
  int width_;
  int height_;
  int pitch_;
  int bytesPerPixel_;
  DDSCAPS2 caps_;
  DDPIXELFORMAT format_;
  std::vector<std::uint8_t> memory_;
  std::vector<SurfaceObject*> attached_;  // one reference each
  PaletteObject* palette_ = nullptr;      // one reference
  bool hasSourceKey_ = false;
  bool hasDestinationKey_ = false;
  DDCOLORKEY sourceKey_{};
  DDCOLORKEY destinationKey_{};
  HDC dc_ = nullptr;
  bool locked_ = false;
  bool primary_ = false;
  std::uint64_t generation_ = ++gLastGeneration;

  friend struct BlitAccess;
};

// Whether a structure's dwSize is the genuine 32-bit size or this build's sizeof.
inline bool validSize(DWORD size, DWORD genuine, std::size_t native) {
  return size == genuine || size == native;
}

}  // namespace platform::detail
