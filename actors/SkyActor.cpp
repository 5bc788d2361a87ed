#include "actors/SkyActor.h"

Matrix4 SkyActor::drawSelf(IDirect3DDevice3* device, const Matrix4& parentWorld) {
  if (followMatrix != nullptr) {
    localMatrix._41 = followMatrix->_41;
    localMatrix._42 = followMatrix->_42;
    localMatrix._43 = followMatrix->_43;
  }
  return MeshActor::drawSelf(device, parentWorld);
}

void SkyActor::finishDraw(IDirect3DDevice3*) {}
