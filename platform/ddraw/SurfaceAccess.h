// Direct access to DirectDraw surfaces for the platform's own renderers (namespace platform).
//
// A software rasterizer draws straight into a surface's memory without Lock: surfaceMemory
// gives the pixels, pitch and format, attachedDepthSurface the z-buffer attached with
// AddAttachedSurface. The memory stays valid as long as the surface exists (surfaces never
// move or resize). Writing to a primary surface's memory directly does not present it; call
// presentSurface afterwards.
//
// Direct3D is reached by QueryInterface on the DirectDraw and surface objects. This layer
// does not know Direct3D: a query for an interface it does not implement goes to the hooks
// below, which platform/d3d installs (from a static initialiser in a source file the engine
// is sure to link, e.g. the one defining the Direct3D IIDs).
#pragma once

#include "platform/ddraw/DDraw.h"

#include <cstdint>

namespace platform {

struct SurfaceMemory {
  void* bits = nullptr;  // top row first
  int width = 0;
  int height = 0;
  int pitch = 0;          // bytes per row
  int bitsPerPixel = 0;   // 8, 16 or 32
  DDPIXELFORMAT format{};  // as GetPixelFormat reports it
  DWORD caps = 0;          // ddsCaps.dwCaps as created
};

// The memory of a surface made by this layer; false (and `memory` emptied) for null. Work a
// renderer still queues on the surface is not finished first (the access hook is not run).
bool surfaceMemory(IDirectDrawSurface4* surface, SurfaceMemory& memory);
// A number that changes whenever the surface's pixels may have changed: on Lock, Unlock,
// GetDC, ReleaseDC, and Blt or BltFast into it, and on markSurfaceChanged. Numbers are never
// reused, by any surface, so (surface, generation) names its content; 0 for null. Whoever
// writes through surfaceMemory calls markSurfaceChanged after writing, so that copies made
// from the pixels (a texture's bilinear copy) are rebuilt.
std::uint64_t surfaceGeneration(IDirectDrawSurface4* surface);
void markSurfaceChanged(IDirectDrawSurface4* surface);
// The first attached surface with DDSCAPS_ZBUFFER, without adding a reference; null if none.
IDirectDrawSurface4* attachedDepthSurface(IDirectDrawSurface4* surface);
// Shows a primary surface's memory through the display backend (no-op for other surfaces).
void presentSurface(IDirectDrawSurface4* surface);

// Called before a surface's memory is read or written through the DirectDraw interface
// (GetDC, Lock, Blt, BltFast, as source or destination) and before a surface is destroyed,
// so a renderer that queues work on surfaces can finish it first. Null removes it.
typedef void (*SurfaceAccessHook)();
void setSurfaceAccessHook(SurfaceAccessHook hook);

// Answers QueryInterface for interfaces DirectDraw does not implement itself. `self` is the
// object queried; the hook sets *object (with a reference) and returns S_OK, or returns
// E_NOINTERFACE.
typedef HRESULT (*DirectDrawQueryHook)(IDirectDraw4* self, REFIID iid, void** object);
typedef HRESULT (*SurfaceQueryHook)(IDirectDrawSurface4* self, REFIID iid, void** object);
// Installs the hooks (null removes one); IDirectDraw and IDirectDraw4 queries both use the
// first, handing it the object's IDirectDraw4 interface.
void setDirectDrawQueryHook(DirectDrawQueryHook hook);
void setSurfaceQueryHook(SurfaceQueryHook hook);

}  // namespace platform
