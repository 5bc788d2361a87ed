#include "xfile/RendererModelTarget.h"

#include <cstring>

#include "graphics/LastResult.h"
#include "graphics/Renderer.h"
#include "graphics/Texture.h"

static_assert(Renderer::kVertexCapacity == kWorkVertexCapacity, "the draw path relies on the Renderer's buffer");
static_assert(Renderer::kIndexCapacity == kWorkIndexCapacity, "the draw path relies on the Renderer's buffer");

Texture* RendererModelTarget::getTexture(const char* fileName) { return renderer_.getTexture(fileName); }

Texture* RendererModelTarget::createMaterial(const char* name, const D3DCOLORVALUE& d, const D3DCOLORVALUE& a,
                                             const D3DCOLORVALUE& s, const D3DCOLORVALUE& e, float power,
                                             DWORD rampSize) {
  return renderer_.createMaterial(name, d.r, d.g, d.b, d.a, a.r, a.g, a.b, a.a, s.r, s.g, s.b, s.a, e.r, e.g, e.b, e.a,
                                  power, rampSize);
}

Texture* RendererModelTarget::findTexture(const char* name) { return renderer_.findTexture(name); }

void RendererModelTarget::setBoundTexture(Texture* material, Texture* texture) {
  if (material != nullptr) material->setBoundTexture(texture);
}

Texture* RendererModelTarget::boundTexture(Texture* material) {
  return material != nullptr ? material->boundTexture() : nullptr;
}

const D3DMATERIAL* RendererModelTarget::materialDesc(Texture* entry) {
  return entry != nullptr ? &entry->materialDesc : nullptr;
}

const SoftwareLighting& RendererModelTarget::softwareLighting() {
  lighting_.lightDirection = renderer_.lightDirection;
  for (int c = 0; c < 3; ++c) {
    lighting_.lightColour[c] = renderer_.lightColour[c];
    lighting_.ambientColour[c] = renderer_.ambientColour[c];
  }
  lighting_.halfWidth = renderer_.halfWidth;
  lighting_.halfHeight = renderer_.halfHeight;
  lighting_.nearDistance = renderer_.nearDistance;
  lighting_.farDistance = renderer_.farDistance;
  return lighting_;
}

D3DTLVERTEX* RendererModelTarget::vertexBuffer() { return renderer_.vertexBuffer; }

WORD* RendererModelTarget::indexBuffer() { return renderer_.indexBuffer; }

void RendererModelTarget::setWorldTransform(const Matrix4& world) {
  renderer_.worldTransform = world;
  if (renderer_.device == nullptr) return;
  D3DMATRIX copy;
  static_assert(sizeof copy == sizeof world, "the device takes the same 16 floats");
  std::memcpy(&copy, &world, sizeof copy);
  lastResult = renderer_.device->SetTransform(D3DTRANSFORMSTATE_WORLD, &copy);
}

void RendererModelTarget::drawTransformed(DWORD vertexCount, DWORD indexCount) {
  if (renderer_.device == nullptr) return;
  lastResult = renderer_.device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, D3DFVF_TLVERTEX, renderer_.vertexBuffer,
                                                      vertexCount, renderer_.indexBuffer, indexCount, D3DDP_WAIT);
}
