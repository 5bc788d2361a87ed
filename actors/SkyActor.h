// SkyActor: the sky model, kept centred on the camera. Before it draws it takes the position
// (not the orientation) of followMatrix, and it switches specular highlights and lighting off
// for itself and everything after it in its parent's ring, back on when that walk is done.
#pragma once

#include "actors/MeshActor.h"

class SkyActor : public MeshActor {
 public:
  const Matrix4* followMatrix = nullptr;  // not owned; null: the sky stays where it is

 protected:
  Matrix4 drawSelf(IDirect3DDevice3* device, const Matrix4& parentWorld) override;
  void finishDraw(IDirect3DDevice3* device) override;
};
