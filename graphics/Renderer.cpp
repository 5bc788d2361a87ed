// Renderer: construction, release and the default device states.
#include "graphics/Renderer.h"

#include <cstring>

#include "graphics/DisplayDevice.h"
#include "graphics/LastResult.h"
#include "graphics/Surface.h"
#include "graphics/Texture.h"

namespace {
// The device takes a D3DMATRIX; Matrix4 has the same layout.
HRESULT setTransform(IDirect3DDevice3* device, D3DTRANSFORMSTATETYPE state, const Matrix4& matrix) {
  D3DMATRIX copy;
  std::memcpy(&copy, &matrix, sizeof copy);
  return device->SetTransform(state, &copy);
}
}  // namespace

Renderer::Renderer()
    : indexBuffer(new WORD[kIndexCapacity]()), vertexBuffer(new D3DTLVERTEX[kVertexCapacity]()) {}

Renderer::~Renderer() {
  delete[] indexBuffer;
  indexBuffer = nullptr;
  delete[] vertexBuffer;
  vertexBuffer = nullptr;
  Renderer::releaseAll();
}

void Renderer::releaseAll() {
  // Each entry unlinks itself when deleted, so the next node is read first.
  for (int b = 0; b < HashTable::kBucketCount; ++b) {
    HashNode* head = &textures.bucket(b);
    for (HashNode* node = head->next; node != head;) {
      HashNode* next = node->next;
      delete static_cast<Texture*>(node->value);
      node = next;
    }
  }

  if (light) {
    light->Release();  // the viewport lets go of its own reference when it is released
    light = nullptr;
  }
  if (material) {
    material->Release();
    material = nullptr;
  }
  materialHandle = 0;
  if (depthBuffer) {
    // Detached first: a caller's target outlives us and must not keep a stale z-buffer.
    if (target && target->surface && depthBuffer->surface)
      lastResult = target->surface->DeleteAttachedSurface(0, depthBuffer->surface);
    delete depthBuffer;
    depthBuffer = nullptr;
  }
  if (viewport) {
    viewport->Release();
    viewport = nullptr;
  }
  if (device) {
    device->Release();
    device = nullptr;
  }
  if (direct3D) {
    direct3D->Release();
    direct3D = nullptr;
  }

  if (ownsDisplay && display) {
    ownsDisplay = 0;
    delete display;  // its destructor releases the surfaces and restores the mode
  }
  // A display or target we did not make is only forgotten.
  ownsDisplay = 0;
  display = nullptr;
  target = nullptr;
}

void Renderer::applyDefaultStates() {
  worldTransform = IdentityMatrix;
  viewTransform = IdentityMatrix;
  projectionTransform = DefaultProjectionMatrix;

  if (device) {
    lastResult = setTransform(device, D3DTRANSFORMSTATE_WORLD, worldTransform);
    lastResult = setTransform(device, D3DTRANSFORMSTATE_VIEW, viewTransform);
    lastResult = setTransform(device, D3DTRANSFORMSTATE_PROJECTION, projectionTransform);

    lastResult = device->SetRenderState(D3DRENDERSTATE_ZENABLE, 1);
    lastResult = device->SetRenderState(D3DRENDERSTATE_MONOENABLE, 0);
    lastResult = device->SetRenderState(D3DRENDERSTATE_SPECULARENABLE, 1);
    lastResult = device->SetRenderState(D3DRENDERSTATE_ZWRITEENABLE, 1);
    lastResult = device->SetRenderState(D3DRENDERSTATE_SHADEMODE, D3DSHADE_GOURAUD);
    lastResult = device->SetRenderState(D3DRENDERSTATE_TEXTUREHANDLE, 0);
    lastResult = device->SetRenderState(D3DRENDERSTATE_TEXTUREPERSPECTIVE, 1);

    lastResult = device->SetLightState(D3DLIGHTSTATE_AMBIENT, 0x888888);
    lastResult = device->SetLightState(D3DLIGHTSTATE_MATERIAL, materialHandle);
    lastResult = device->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
    lastResult = device->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTFG_LINEAR);
    lastResult = device->SetLightState(D3DLIGHTSTATE_COLORMODEL, D3DCOLOR_RGB);
  }

  lightDirection = Vector3(0.0f, 0.0f, 1.0f);
  halfWidth = target ? float(target->width) * 0.5f : 0.0f;
  halfHeight = target ? float(target->height) * 0.5f : 0.0f;
  farDistance = 1000.0f;
  lightColour[0] = lightColour[1] = lightColour[2] = 1.0f;
  nearDistance = 1.0f;
  ambientColour[0] = ambientColour[1] = ambientColour[2] = 0.5f;
}

Texture* Renderer::getTexture(const char* fileName) {
  if (!fileName) return nullptr;
  if (HashNode* node = textures.find(fileName)) return static_cast<Texture*>(node->value);
  Texture* entry = new Texture;
  if (!entry->loadImage(fileName, this)) {
    delete entry;
    return nullptr;
  }
  return entry;
}

Texture* Renderer::createMaterial(const char* name, float diffuseRed, float diffuseGreen, float diffuseBlue,
                                  float diffuseAlpha, float ambientRed, float ambientGreen, float ambientBlue,
                                  float ambientAlpha, float specularRed, float specularGreen, float specularBlue,
                                  float specularAlpha, float emissiveRed, float emissiveGreen, float emissiveBlue,
                                  float emissiveAlpha, float power, DWORD rampSize) {
  Texture* entry = new Texture;
  entry->defineMaterial(name, diffuseRed, diffuseGreen, diffuseBlue, diffuseAlpha, ambientRed, ambientGreen,
                        ambientBlue, ambientAlpha, specularRed, specularGreen, specularBlue, specularAlpha,
                        emissiveRed, emissiveGreen, emissiveBlue, emissiveAlpha, power, rampSize, this);
  return entry;
}

Texture* Renderer::findTexture(const char* name) {
  if (!name) return nullptr;
  HashNode* node = textures.find(name);
  return node ? static_cast<Texture*>(node->value) : nullptr;
}
