#include "actors/SkyActor.h"

#include "platform/d3d/D3D.h"

namespace {

// D3DRENDERSTATE_LIGHTING of later SDKs; a DirectX 6 device stores it and ignores it.
constexpr auto kLightingState = static_cast<D3DRENDERSTATETYPE>(137);

}  // namespace

Matrix4 SkyActor::drawSelf(IDirect3DDevice3* device, const Matrix4& parentWorld) {
  if (followMatrix != nullptr) {
    localMatrix._41 = followMatrix->_41;
    localMatrix._42 = followMatrix->_42;
    localMatrix._43 = followMatrix->_43;
  }
  if (device != nullptr) {  // results not kept
    device->SetRenderState(D3DRENDERSTATE_SPECULARENABLE, 0);
    device->SetRenderState(kLightingState, 0);
  }
  return MeshActor::drawSelf(device, parentWorld);
}

void SkyActor::finishDraw(IDirect3DDevice3* device) {
  if (device == nullptr) return;
  device->SetRenderState(kLightingState, 1);
  device->SetRenderState(D3DRENDERSTATE_SPECULARENABLE, 1);
}
