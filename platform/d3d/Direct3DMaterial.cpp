// IDirect3DMaterial3 and the material handle registry: a handle names a live material, and
// a handle whose material was released names nothing (lighting is then off).
#include "platform/d3d/Direct3DObjects.h"

#include <unordered_map>

namespace platform::d3d {

namespace {
const GUID kIUnknown = {0, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

struct MaterialRegistry {
  std::unordered_map<DWORD, const D3DMATERIAL*> byHandle;
  DWORD nextHandle = 1;
};
MaterialRegistry& registry() {
  static MaterialRegistry r;
  return r;
}
}  // namespace

MaterialObject::MaterialObject() { material_.dwSize = sizeof material_; }

MaterialObject::~MaterialObject() {
  if (handle_) registry().byHandle.erase(handle_);
}

const D3DMATERIAL* MaterialObject::fromHandle(DWORD handle) {
  auto it = registry().byHandle.find(handle);
  return it == registry().byHandle.end() ? nullptr : it->second;
}

HRESULT MaterialObject::QueryInterface(REFIID iid, LPVOID* object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (iid == kIUnknown || iid == IID_IDirect3DMaterial3) {
    AddRef();
    *object = static_cast<IDirect3DMaterial3*>(this);
    return S_OK;
  }
  return E_NOINTERFACE;
}

ULONG MaterialObject::Release() {
  ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

HRESULT MaterialObject::SetMaterial(LPD3DMATERIAL material) {
  if (!material || material->dwSize != sizeof(D3DMATERIAL)) return DDERR_INVALIDPARAMS;
  material_ = *material;
  return D3D_OK;
}

HRESULT MaterialObject::GetMaterial(LPD3DMATERIAL material) {
  if (!material || material->dwSize != sizeof(D3DMATERIAL)) return DDERR_INVALIDPARAMS;
  *material = material_;
  return D3D_OK;
}

HRESULT MaterialObject::GetHandle(LPDIRECT3DDEVICE3 device, LPD3DMATERIALHANDLE handle) {
  if (!device || !handle) return DDERR_INVALIDPARAMS;
  if (!handle_) {
    handle_ = registry().nextHandle++;
    registry().byHandle[handle_] = &material_;
  }
  *handle = handle_;
  return D3D_OK;
}

}  // namespace platform::d3d
