// RendererSink: the renderer's table of textures and materials as the .x reader sees it
// (MaterialSink). Every call goes straight to the Renderer or to the Texture entry.
#pragma once

#include "xfile/MaterialSink.h"

class Renderer;

class RendererSink final : public MaterialSink {
 public:
  explicit RendererSink(Renderer& renderer) : renderer_(renderer) {}

  Texture* getTexture(const char* fileName) override;
  Texture* createMaterial(const char* name, const D3DCOLORVALUE& diffuse, const D3DCOLORVALUE& ambient,
                          const D3DCOLORVALUE& specular, const D3DCOLORVALUE& emissive, float power,
                          DWORD rampSize) override;
  Texture* findTexture(const char* name) override;
  void setBoundTexture(Texture* material, Texture* texture) override;
  Texture* boundTexture(Texture* material) override;
  const D3DMATERIAL* materialDesc(Texture* entry) override;

 private:
  Renderer& renderer_;
};
