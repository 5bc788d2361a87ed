#include "app/FramePasses.h"

#include <bit>
#include <cstdio>
#include <cstring>

#include "actors/MeshActor.h"
#include "actors/ParticleActor.h"
#include "app/SceneState.h"
#include "graphics/DisplayDevice.h"
#include "graphics/LastResult.h"
#include "graphics/Renderer.h"
#include "graphics/Surface.h"
#include "platform/d3d/D3D.h"
#include "platform/win32/MMSystem.h"

namespace {

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;
constexpr float kCameraHeight = 4.0f;
constexpr float kCameraDistance = 10.0f;
constexpr int kTextX = 4;
constexpr int kTextY = 4;

IDirect3DDevice3* sceneDevice() { return scene.renderer != nullptr ? scene.renderer->device : nullptr; }

D3DMATRIX toDevice(const Matrix4& m) {
  D3DMATRIX d;
  std::memcpy(&d, &m, sizeof d);
  return d;
}

}  // namespace

void clearFrame() {
  IDirect3DDevice3* device = sceneDevice();
  if (device == nullptr) return;
  lastResult = device->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_CCW);
  if (scene.renderer->viewport == nullptr) return;
  D3DRECT all{0, 0, kScreenWidth, kScreenHeight};
  lastResult = scene.renderer->viewport->Clear2(1, &all, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kClearColour, 1.0f, 0);
}

void placeCamera() {
  if (scene.player == nullptr) return;
  const Matrix4 camera = translationMatrix(0.0f, kCameraHeight, -kCameraDistance) * scene.player->localMatrix;
  scene.cameraMatrix = camera;
  IDirect3DDevice3* device = sceneDevice();
  if (device == nullptr) return;
  D3DMATRIX view = toDevice(rigidInverse(camera));
  lastResult = device->SetTransform(D3DTRANSFORMSTATE_VIEW, &view);
  D3DMATRIX projection = toDevice(scene.renderer->projectionTransform);
  lastResult = device->SetTransform(D3DTRANSFORMSTATE_PROJECTION, &projection);
}

void drawScenePass() {
  IDirect3DDevice3* device = sceneDevice();
  if (device == nullptr) return;
  lastResult = device->SetRenderState(D3DRENDERSTATE_FOGENABLE, 1);
  lastResult = device->SetRenderState(D3DRENDERSTATE_FOGTABLEMODE, D3DFOG_LINEAR);
  lastResult = device->SetRenderState(D3DRENDERSTATE_FOGCOLOR, kFogColour);
  lastResult = device->SetRenderState(D3DRENDERSTATE_FOGTABLESTART, std::bit_cast<DWORD>(kFogStart));
  lastResult = device->SetRenderState(D3DRENDERSTATE_FOGTABLEEND, std::bit_cast<DWORD>(kFogEnd));
  lastResult = device->SetRenderState(D3DRENDERSTATE_ZWRITEENABLE, 1);
  if (scene.sceneRoot != nullptr) scene.sceneRoot->draw(device, IdentityMatrix);
}

void drawParticlePass() {
  IDirect3DDevice3* device = sceneDevice();
  if (device == nullptr) return;
  lastResult = device->SetRenderState(D3DRENDERSTATE_ZWRITEENABLE, 0);
  lastResult = device->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 1);
  lastResult = device->SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_ONE);
  lastResult = device->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_ONE);
  lastResult = device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
  lastResult = device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
  lastResult = device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
  lastResult = device->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTFN_LINEAR);
  lastResult = device->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTFG_LINEAR);
  IDirect3DTexture2* spark = scene.particleTemplate != nullptr ? scene.particleTemplate->texture : nullptr;
  lastResult = device->SetTexture(0, spark);
  if (scene.particleRoot != nullptr) scene.particleRoot->draw(device, IdentityMatrix);
}

void formatFrameRate(DWORD elapsed, char (&text)[kFrameRateTextSize]) {
  const double rate = 1000.0 / double(elapsed);  // 0 ms gives an infinite rate
  std::snprintf(text, sizeof text, "FPS =%f", rate);
}

void drawFrameRate() {
  char text[kFrameRateTextSize];
  formatFrameRate(timeGetTime() - scene.lastFpsTime, text);  // unsigned: the counter may wrap
  if (scene.renderer != nullptr && scene.renderer->target != nullptr)
    scene.renderer->target->drawText(kTextX, kTextY, text);
  scene.lastFpsTime = timeGetTime();
}

void presentFrame() {
  if (scene.renderer == nullptr) return;
  DisplayDevice* display = scene.renderer->display;
  if (display == nullptr || display->primary == nullptr || display->backBuffer == nullptr) return;
  IDirectDrawSurface4* primary = display->primary->surface;
  IDirectDrawSurface4* back = display->backBuffer->surface;
  if (primary == nullptr || back == nullptr) return;
  RECT all{0, 0, kScreenWidth, kScreenHeight};
  lastResult = primary->BltFast(0, 0, back, &all, DDBLTFAST_WAIT);
}
