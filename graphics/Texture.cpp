// Texture: release, materials, upload and the table entry.
#include "graphics/Texture.h"

#include "graphics/DisplayDevice.h"
#include "graphics/LastResult.h"
#include "graphics/Renderer.h"

namespace {
template <typename Interface>
void releaseInterface(Interface*& object) {
  if (object) {
    object->Release();
    object = nullptr;
  }
}
}  // namespace

Texture::Texture() = default;

Texture::~Texture() { Texture::releaseSurface(); }

void Texture::releaseSurface() {
  HashTable::remove(&tableNode);  // a no-op for an unlinked node
  releaseInterface(material);
  materialHandle = 0;
  releaseInterface(deviceTexture);
  releaseInterface(systemTexture);
  releaseInterface(deviceSurface);
  Surface::releaseSurface();
}

void Texture::createDeviceMaterial() {
  releaseInterface(material);
  materialHandle = 0;
  if (!renderer || !renderer->direct3D) return;  // no Direct3D yet: the description alone
  lastResult = renderer->direct3D->CreateMaterial(&material, nullptr);
  if (!material) return;
  lastResult = material->SetMaterial(&materialDesc);
  if (renderer->device) lastResult = material->GetHandle(renderer->device, &materialHandle);
}

int Texture::setMaterial(float diffuseRed, float diffuseGreen, float diffuseBlue, float diffuseAlpha,
                         float ambientRed, float ambientGreen, float ambientBlue, float ambientAlpha,
                         float specularRed, float specularGreen, float specularBlue, float specularAlpha,
                         float emissiveRed, float emissiveGreen, float emissiveBlue, float emissiveAlpha, float power,
                         DWORD rampSize) {
  materialDesc = D3DMATERIAL{};
  materialDesc.dwSize = sizeof(D3DMATERIAL);
  materialDesc.diffuse = {diffuseRed, diffuseGreen, diffuseBlue, diffuseAlpha};
  materialDesc.ambient = {ambientRed, ambientGreen, ambientBlue, ambientAlpha};
  materialDesc.specular = {specularRed, specularGreen, specularBlue, specularAlpha};
  materialDesc.emissive = {emissiveRed, emissiveGreen, emissiveBlue, emissiveAlpha};
  materialDesc.power = power;
  materialDesc.hTexture = 0;
  materialDesc.dwRampSize = rampSize;
  createDeviceMaterial();
  return 1;
}

int Texture::defineMaterial(const char* materialName, float diffuseRed, float diffuseGreen, float diffuseBlue,
                            float diffuseAlpha, float ambientRed, float ambientGreen, float ambientBlue,
                            float ambientAlpha, float specularRed, float specularGreen, float specularBlue,
                            float specularAlpha, float emissiveRed, float emissiveGreen, float emissiveBlue,
                            float emissiveAlpha, float power, DWORD rampSize, Renderer* owner) {
  releaseSurface();
  renderer = owner;
  display = owner ? owner->display : nullptr;
  videoMemory = display ? display->hardware : 0;
  name = materialName ? materialName : "";  // a table key is never null
  setMaterial(diffuseRed, diffuseGreen, diffuseBlue, diffuseAlpha, ambientRed, ambientGreen, ambientBlue,
              ambientAlpha, specularRed, specularGreen, specularBlue, specularAlpha, emissiveRed, emissiveGreen,
              emissiveBlue, emissiveAlpha, power, rampSize);
  enterIntoTable();
  return 1;
}

void Texture::upload() {
  if (!deviceSurface || !surface || deviceSurface == surface) return;
  lastResult = deviceSurface->Restore();
  if (deviceTexture && systemTexture) lastResult = deviceTexture->Load(systemTexture);
}

void Texture::enterIntoTable() {
  if (!renderer || !name.text) return;
  tableNode.key = name.text;
  tableNode.value = this;
  renderer->textures.insert(&tableNode);
}
