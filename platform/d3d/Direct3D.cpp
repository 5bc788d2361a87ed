// IDirect3D3: the factory of devices, viewports, materials and lights, and the depth
// formats of each device type. Reached by QueryInterface on IDirectDraw4.
#include "platform/d3d/Direct3DObjects.h"

#include "platform/d3d/SoftwareDevice.h"
#include "platform/ddraw/SurfaceAccess.h"

namespace platform::d3d {

namespace {

const GUID kIUnknown = {0, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

bool isSoftwareDevice(const GUID& g) {
  return g == IID_IDirect3DRGBDevice || g == IID_IDirect3DMMXDevice || g == IID_IDirect3DRefDevice ||
         g == IID_IDirect3DRampDevice;
}

// 16-bit RGB565 memory of a surface as a pixel view; false for anything else.
bool view16(IDirectDrawSurface4* surface, PixelView16* out, bool requireRgb565) {
  SurfaceMemory m;
  if (!surfaceMemory(surface, m) || m.bitsPerPixel != 16) return false;
  if (requireRgb565 && (m.format.dwRBitMask != 0xF800 || m.format.dwGBitMask != 0x07E0 || m.format.dwBBitMask != 0x001F))
    return false;
  *out = PixelView16{static_cast<std::uint16_t*>(m.bits), m.pitch, m.width, m.height};
  return out->usable();
}

HRESULT directDrawHook(IDirectDraw4* self, REFIID iid, void** object) {
  if (!(iid == IID_IDirect3D3)) return E_NOINTERFACE;
  *object = static_cast<IDirect3D3*>(new Direct3DObject(self));
  return S_OK;
}

HRESULT surfaceHook(IDirectDrawSurface4* self, REFIID iid, void** object) {
  if (!(iid == IID_IDirect3DTexture2)) return E_NOINTERFACE;
  return TextureObject::forSurface(self, object);
}

}  // namespace

void installQueryHooks() {
  setDirectDrawQueryHook(directDrawHook);
  setSurfaceQueryHook(surfaceHook);
  setSurfaceAccessHook(DeferredShading::flushAll);
}

Direct3DObject::Direct3DObject(IDirectDraw4* directDraw) : directDraw_(directDraw) { directDraw_->AddRef(); }

Direct3DObject::~Direct3DObject() { directDraw_->Release(); }

ULONG Direct3DObject::Release() {
  ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

HRESULT Direct3DObject::QueryInterface(REFIID iid, LPVOID* object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (iid == kIUnknown || iid == IID_IDirect3D3) {
    AddRef();
    *object = static_cast<IDirect3D3*>(this);
    return S_OK;
  }
  if (iid == IID_IDirectDraw4 || iid == IID_IDirectDraw) return directDraw_->QueryInterface(iid, object);
  return E_NOINTERFACE;
}

HRESULT Direct3DObject::CreateLight(LPDIRECT3DLIGHT* light, LPUNKNOWN outer) {
  if (!light) return DDERR_INVALIDPARAMS;
  *light = nullptr;
  if (outer) return CLASS_E_NOAGGREGATION;
  *light = new LightObject;
  return D3D_OK;
}

HRESULT Direct3DObject::CreateMaterial(LPDIRECT3DMATERIAL3* material, LPUNKNOWN outer) {
  if (!material) return DDERR_INVALIDPARAMS;
  *material = nullptr;
  if (outer) return CLASS_E_NOAGGREGATION;
  *material = new MaterialObject;
  return D3D_OK;
}

HRESULT Direct3DObject::CreateViewport(LPDIRECT3DVIEWPORT3* viewport, LPUNKNOWN outer) {
  if (!viewport) return DDERR_INVALIDPARAMS;
  *viewport = nullptr;
  if (outer) return CLASS_E_NOAGGREGATION;
  *viewport = new ViewportObject;
  return D3D_OK;
}

HRESULT Direct3DObject::CreateDevice(REFCLSID device, LPDIRECTDRAWSURFACE4 target, LPDIRECT3DDEVICE3* result,
                                     LPUNKNOWN outer) {
  if (!result) return DDERR_INVALIDPARAMS;
  *result = nullptr;
  if (outer) return CLASS_E_NOAGGREGATION;
  if (device == IID_IDirect3DHALDevice) return D3DERR_INVALID_DEVICE;  // no hardware device here
  if (!isSoftwareDevice(device)) return DDERR_INVALIDPARAMS;
  if (!target) return DDERR_INVALIDPARAMS;
  PixelView16 color;
  if (!view16(target, &color, true)) return DDERR_INVALIDPIXELFORMAT;
  IDirectDrawSurface4* depthSurface = attachedDepthSurface(target);
  PixelView16 depth;
  if (depthSurface && !view16(depthSurface, &depth, false)) depthSurface = nullptr;
  auto backend = std::make_unique<SoftwareDevice>();
  backend->useDeferredShading(true);  // finished at EndScene and before any outside surface access
  if (backend->setTargets(color, depthSurface ? &depth : nullptr) != D3D_OK) return DDERR_INVALIDPARAMS;
  *result = new DeviceObject(target, depthSurface, std::move(backend));
  return D3D_OK;
}

HRESULT Direct3DObject::EnumZBufferFormats(REFCLSID device, LPD3DENUMPIXELFORMATSCALLBACK callback, LPVOID context) {
  if (!callback) return DDERR_INVALIDPARAMS;
  if (device == IID_IDirect3DHALDevice) return D3D_OK;  // nothing to offer
  if (!isSoftwareDevice(device)) return DDERR_INVALIDPARAMS;
  DDPIXELFORMAT z{};
  z.dwSize = sizeof z;
  z.dwFlags = DDPF_ZBUFFER;
  z.dwZBufferBitDepth = 16;
  z.dwZBitMask = 0xFFFF;
  callback(&z, context);
  return D3D_OK;
}

}  // namespace platform::d3d
