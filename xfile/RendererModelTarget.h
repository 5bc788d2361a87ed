// RendererModelTarget: the Renderer as the .x reader and TQelXMesh::draw see it. Entries are
// made and found in the Renderer's table, bound textures and material descriptions are the
// Texture entry's own, the lighting parameters and work buffers are the Renderer's, and the
// world transform and the draw go to the Renderer's device (results to `lastResult`; nothing
// is sent while the Renderer has no device). It holds no entries of its own: any number of
// targets over one Renderer see the same table.
#pragma once

#include "xfile/MeshDrawTarget.h"

class Renderer;

class RendererModelTarget final : public MeshDrawTarget {
 public:
  explicit RendererModelTarget(Renderer& renderer) : renderer_(renderer) {}

  // Renderer::getTexture.
  Texture* getTexture(const char* fileName) override;
  // Renderer::createMaterial with the colours taken apart.
  Texture* createMaterial(const char* name, const D3DCOLORVALUE& diffuse, const D3DCOLORVALUE& ambient,
                          const D3DCOLORVALUE& specular, const D3DCOLORVALUE& emissive, float power,
                          DWORD rampSize) override;
  // Renderer::findTexture.
  Texture* findTexture(const char* name) override;
  // Texture::setBoundTexture of `material` (nothing for null).
  void setBoundTexture(Texture* material, Texture* texture) override;
  // Texture::boundTexture of `material` (null for null).
  Texture* boundTexture(Texture* material) override;
  // The entry's materialDesc (null for null).
  const D3DMATERIAL* materialDesc(Texture* entry) override;

  // The Renderer's current light, ambient, screen centre and clip distances.
  const SoftwareLighting& softwareLighting() override;
  // The Renderer's work buffers.
  D3DTLVERTEX* vertexBuffer() override;
  WORD* indexBuffer() override;
  // Remembers `world` as the Renderer's world transform and sets it on the device.
  void setWorldTransform(const Matrix4& world) override;
  // DrawIndexedPrimitive of the work buffers' first records and indices on the device.
  void drawTransformed(DWORD vertexCount, DWORD indexCount) override;

 private:
  Renderer& renderer_;
  SoftwareLighting lighting_;  // refreshed from the Renderer by softwareLighting()
};
