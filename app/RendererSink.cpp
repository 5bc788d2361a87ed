#include "app/RendererSink.h"

#include "graphics/Renderer.h"
#include "graphics/Texture.h"

Texture* RendererSink::getTexture(const char* fileName) { return renderer_.getTexture(fileName); }

Texture* RendererSink::createMaterial(const char* name, const D3DCOLORVALUE& d, const D3DCOLORVALUE& a,
                                      const D3DCOLORVALUE& s, const D3DCOLORVALUE& e, float power, DWORD rampSize) {
  return renderer_.createMaterial(name, d.r, d.g, d.b, d.a, a.r, a.g, a.b, a.a, s.r, s.g, s.b, s.a, e.r, e.g, e.b, e.a,
                                  power, rampSize);
}

Texture* RendererSink::findTexture(const char* name) { return renderer_.findTexture(name); }

void RendererSink::setBoundTexture(Texture* material, Texture* texture) {
  if (material != nullptr) material->setBoundTexture(texture);
}

Texture* RendererSink::boundTexture(Texture* material) {
  return material != nullptr ? material->boundTexture() : nullptr;
}

const D3DMATERIAL* RendererSink::materialDesc(Texture* entry) {
  return entry != nullptr ? &entry->materialDesc : nullptr;
}
