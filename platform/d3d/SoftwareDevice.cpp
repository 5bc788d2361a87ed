#include "platform/d3d/SoftwareDevice.h"

#include "platform/d3d/ReferenceRasterizer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace platform {

namespace {

// True when no vertex of the draw carries any specular colour (NaN counts as colour).
bool specularIsBlack(const ClipVertex* v, int count) {
  for (int i = 0; i < count; ++i)
    if (v[i].attr[kAttrSR] != 0.0f || v[i].attr[kAttrSG] != 0.0f || v[i].attr[kAttrSB] != 0.0f) return false;
  return true;
}

}  // namespace

SoftwareDevice::SoftwareDevice()
    : clip_(D3DMAXNUMVERTICES + 1), screen_(D3DMAXNUMVERTICES + 1), outcodes_(D3DMAXNUMVERTICES + 1) {
  state_.reset(false);
}

SoftwareDevice::~SoftwareDevice() { flush(); }

void SoftwareDevice::flush() { deferred_.resolve(); }

void SoftwareDevice::useDeferredShading(bool on) {
  if (!on) flush();
  deferEnabled_ = on;
}

HRESULT SoftwareDevice::setTargets(const ColorTarget& color, const DepthTarget* depth) {
  if (!color.usable()) return DDERR_INVALIDPARAMS;
  deferred_.setTarget(color);  // shades what the old target still owes first
  color_ = color;
  depthFresh_ = false;
  depthTiles_.invalidate();
  // A depth buffer smaller than the target cannot serve it.
  hasDepth_ = depth && depth->usable() && depth->width >= color.width && depth->height >= color.height;
  depth_ = hasDepth_ ? *depth : DepthTarget{};
  state_.render[D3DRENDERSTATE_ZENABLE] = hasDepth_ ? TRUE : FALSE;
  return D3D_OK;
}

HRESULT SoftwareDevice::setRenderState(DWORD state, DWORD value) {
  return state_.setRender(state, value) ? D3D_OK : DDERR_INVALIDPARAMS;
}

HRESULT SoftwareDevice::getRenderState(DWORD state, DWORD* value) const {
  if (!value || state == 0 || state >= kD3DRenderStateLimit) return DDERR_INVALIDPARAMS;
  *value = state_.render[state];
  return D3D_OK;
}

HRESULT SoftwareDevice::setTextureStageState(DWORD stage, DWORD type, DWORD value) {
  return state_.setStage(stage, type, value) ? D3D_OK : DDERR_INVALIDPARAMS;
}

HRESULT SoftwareDevice::getTextureStageState(DWORD stage, DWORD type, DWORD* value) const {
  if (!value || stage >= kD3DTextureStageCount || type == 0 || type >= kD3DTextureStageStateLimit)
    return DDERR_INVALIDPARAMS;
  *value = state_.stage[stage][type];
  return D3D_OK;
}

HRESULT SoftwareDevice::setTransform(DWORD which, const D3DMATRIX& m) {
  switch (which) {
    case D3DTRANSFORMSTATE_WORLD: state_.world = m; return D3D_OK;
    case D3DTRANSFORMSTATE_VIEW: state_.view = m; return D3D_OK;
    case D3DTRANSFORMSTATE_PROJECTION: state_.projection = m; return D3D_OK;
    default: return DDERR_INVALIDPARAMS;
  }
}

HRESULT SoftwareDevice::getTransform(DWORD which, D3DMATRIX* m) const {
  if (!m) return DDERR_INVALIDPARAMS;
  switch (which) {
    case D3DTRANSFORMSTATE_WORLD: *m = state_.world; return D3D_OK;
    case D3DTRANSFORMSTATE_VIEW: *m = state_.view; return D3D_OK;
    case D3DTRANSFORMSTATE_PROJECTION: *m = state_.projection; return D3D_OK;
    default: return DDERR_INVALIDPARAMS;
  }
}

HRESULT SoftwareDevice::setViewport(const D3DVIEWPORT2* vp) {
  if (!vp) {
    viewportSet_ = false;
    return D3D_OK;
  }
  ViewportMapping test;
  if (!test.build(*vp, 1 << 15, 1 << 15)) return DDERR_INVALIDPARAMS;
  viewport_ = *vp;
  viewportSet_ = true;
  return D3D_OK;
}

HRESULT SoftwareDevice::setMaterial(const D3DMATERIAL* material) {
  hasMaterial_ = material != nullptr;
  if (material) material_ = *material;
  return D3D_OK;
}

HRESULT SoftwareDevice::setAmbient(D3DCOLOR ambient) {
  ambient_ = ambient;
  return D3D_OK;
}

HRESULT SoftwareDevice::setLights(const LightSource* lights, int count) {
  if (count < 0 || (count > 0 && !lights)) return DDERR_INVALIDPARAMS;
  lightCount_ = std::min(count, kMaxLights);
  for (int i = 0; i < lightCount_; ++i) lights_[i] = lights[i];
  return D3D_OK;
}

HRESULT SoftwareDevice::setTexture(DWORD stage, const TextureImage* image) {
  if (stage >= kD3DTextureStageCount) return DDERR_INVALIDPARAMS;
  if (image && !image->usable()) return DDERR_INVALIDPARAMS;
  textureBound_[stage] = image != nullptr;
  if (image) textures_[stage] = *image;
  return D3D_OK;
}

HRESULT SoftwareDevice::clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, D3DVALUE z) {
  if (count > 0 && !rects) return DDERR_INVALIDPARAMS;
  if (!color_.usable()) return DDERR_INVALIDPARAMS;
  if ((flags & D3DCLEAR_ZBUFFER) && !hasDepth_) return D3DERR_ZBUFFER_NOTPRESENT;
  flush();
  if (flags & D3DCLEAR_ZBUFFER) depthTiles_.invalidate();
  int vl = 0, vt = 0, vr = color_.width, vb = color_.height;
  if (viewportSet_) {
    vl = std::min<long long>(viewport_.dwX, color_.width);
    vt = std::min<long long>(viewport_.dwY, color_.height);
    vr = static_cast<int>(std::min<long long>(static_cast<long long>(viewport_.dwX) + viewport_.dwWidth, color_.width));
    vb = static_cast<int>(std::min<long long>(static_cast<long long>(viewport_.dwY) + viewport_.dwHeight, color_.height));
  }
  const std::uint16_t pixel = pack565((color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF);
  float zc = std::isnan(z) ? 1.0f : std::clamp(z, 0.0f, 1.0f);
  const std::uint16_t depthValue = static_cast<std::uint16_t>(zc * 65535.0f + 0.5f);
  for (DWORD k = 0; k < count; ++k) {
    const D3DRECT& r = rects[k];
    if (r.x1 > r.x2 || r.y1 > r.y2) continue;  // inverted rectangles are skipped
    int x1 = static_cast<int>(std::max<LONG>(r.x1, vl)), y1 = static_cast<int>(std::max<LONG>(r.y1, vt));
    int x2 = static_cast<int>(std::min<LONG>(r.x2, vr)), y2 = static_cast<int>(std::min<LONG>(r.y2, vb));
    if (x1 >= x2 || y1 >= y2) continue;
    for (int y = y1; y < y2; ++y) {
      if (flags & D3DCLEAR_TARGET) std::fill(color_.row(y) + x1, color_.row(y) + x2, pixel);
      if (flags & D3DCLEAR_ZBUFFER) std::fill(depth_.row(y) + x1, depth_.row(y) + x2, depthValue);
    }
    if ((flags & D3DCLEAR_ZBUFFER) && depthValue == 0xFFFF && x1 == vl && y1 == vt && x2 == vr && y2 == vb) {
      depthFresh_ = true;
      fresh_[0] = vl, fresh_[1] = vt, fresh_[2] = vr, fresh_[3] = vb;
      freshStamp_ = DeferredShading::outsideAccesses();
    } else if (flags & D3DCLEAR_ZBUFFER) {
      depthFresh_ = false;
    }
  }
  return D3D_OK;
}

HRESULT SoftwareDevice::drawPrimitive(D3DPRIMITIVETYPE type, DWORD fvf, const void* vertices, DWORD vertexCount,
                                      DWORD flags) {
  return draw(type, fvf, vertices, vertexCount, nullptr, 0, flags);
}

HRESULT SoftwareDevice::drawIndexedPrimitive(D3DPRIMITIVETYPE type, DWORD fvf, const void* vertices,
                                             DWORD vertexCount, const WORD* indices, DWORD indexCount,
                                             DWORD flags) {
  if (!indices || indexCount > kMaxIndices) return DDERR_INVALIDPARAMS;
  // The largest index decides; a reduction without an early exit vectorises.
  WORD largest = 0;
  for (DWORD i = 0; i < indexCount; ++i) largest = std::max(largest, indices[i]);
  if (indexCount > 0 && largest >= vertexCount) return DDERR_INVALIDPARAMS;
  return draw(type, fvf, vertices, vertexCount, indices, indexCount, flags);
}

HRESULT SoftwareDevice::draw(D3DPRIMITIVETYPE type, DWORD fvf, const void* vertices, DWORD vertexCount,
                             const WORD* indices, DWORD indexCount, DWORD flags) {
  if (type != D3DPT_TRIANGLELIST && type != D3DPT_TRIANGLESTRIP && type != D3DPT_TRIANGLEFAN)
    return D3DERR_INVALIDPRIMITIVETYPE;
  if (!vertices || vertexCount > D3DMAXNUMVERTICES) return DDERR_INVALIDPARAMS;
  if (!VertexLayout::decode(fvf, &layout_)) return D3DERR_INVALIDVERTEXFORMAT;
  if (!viewportSet_) return D3DERR_INVALIDCURRENTVIEWPORT;
  if (!color_.usable()) return DDERR_INVALIDPARAMS;
  if (!map_.build(viewport_, color_.width, color_.height)) return D3DERR_INVALIDCURRENTVIEWPORT;
  if (layout_.screenSpace) map_.useScreenSpacePlanes();
  const DWORD count = indices ? indexCount : vertexCount;
  if (count < 3) return D3D_OK;

  perspective_ = state_.render[D3DRENDERSTATE_TEXTUREPERSPECTIVE] != 0;
  VertexSetup& setup = vertexSetup_;
  setup.prepare(state_.world, state_.view, state_.projection, hasMaterial_ ? &material_ : nullptr, ambient_,
                lights_, lightCount_, layout_.normalOffset >= 0, (flags & D3DDP_DONOTLIGHT) != 0);
  setup.perspective = perspective_;
  const auto* bytes = static_cast<const std::uint8_t*>(vertices);
  processVertices(layout_, setup, bytes, static_cast<int>(vertexCount), clip_.data());
  for (DWORD i = 0; i < vertexCount; ++i) {
    outcodes_[i] = outcode(map_, clip_[i]);
    if (outcodes_[i] != 0) continue;
    if (layout_.screenSpace) screenVertex(clip_[i], perspective_, &screen_[i]);
    else projectVertex(map_, clip_[i], perspective_, &screen_[i]);
  }

  const TextureImage* tex = textureBound_[0] ? &textures_[0] : nullptr;
  pixel_.build(state_, tex, hasDepth_);
  if (pixel_.specularAdd && specularIsBlack(clip_.data(), static_cast<int>(vertexCount))) pixel_.dropBlackSpecular();
  attributes_ = pixel_.attributesRead();
  if (!useReference_) pipeline_.prepare(pixel_);
  prepareDepthTiles();
  deferMode_ = deferEnabled_ && !useReference_ ? deferred_.beginDraw(pixel_, depthPassesEverywhere())
                                               : DeferredShading::Mode::kResolveFirst;
  if (deferMode_ == DeferredShading::Mode::kResolveFirst) flush();
  if (pixel_.depthWrite) depthFresh_ = false;

  auto at = [&](DWORD k) -> int { return indices ? indices[k] : static_cast<int>(k); };
  if (type == D3DPT_TRIANGLELIST) {
    for (DWORD k = 0; k + 2 < count; k += 3) drawTriangle(at(k), at(k + 1), at(k + 2), at(k));
  } else if (type == D3DPT_TRIANGLESTRIP) {
    if (count == 4 && drawQuad(at(0), at(1), at(2), at(3))) return D3D_OK;
    // Odd triangles swap their first two vertices to keep the strip's winding.
    for (DWORD k = 0; k + 2 < count; ++k) {
      if (k & 1) drawTriangle(at(k + 1), at(k), at(k + 2), at(k));
      else drawTriangle(at(k), at(k + 1), at(k + 2), at(k));
    }
  } else {
    for (DWORD k = 1; k + 1 < count; ++k) drawTriangle(at(0), at(k), at(k + 1), at(k));
  }
  return D3D_OK;
}

void SoftwareDevice::flatten(ScreenVertex* v, int provoking) const {
  // The provoking vertex's colours, unweighted.
  const ClipVertex& p = clip_[provoking];
  float weight = 1.0f;
  if (layout_.screenSpace && perspective_) weight = p.rhw > 1e-20f && p.rhw < 1e20f ? p.rhw : 1e-20f;
  for (int k = kAttrR; k <= kAttrSA; ++k) v->q[k] = p.attr[k] / weight * v->pw;
}

void SoftwareDevice::drawTriangle(int i0, int i1, int i2, int provoking) {
  const unsigned o0 = outcodes_[i0], o1 = outcodes_[i1], o2 = outcodes_[i2];
  const bool flat = pixel_.flatShade;
  if ((o0 | o1 | o2) == 0) {
    if (!flat) {
      fillTriangle(screen_[i0], screen_[i1], screen_[i2]);
      return;
    }
    ScreenVertex v[3] = {screen_[i0], screen_[i1], screen_[i2]};
    for (ScreenVertex& s : v) flatten(&s, provoking);
    fillTriangle(v[0], v[1], v[2]);
    return;
  }
  if (o0 & o1 & o2) return;  // wholly outside one plane
  ClipVertex poly[kMaxClipVertices], scratch[kMaxClipVertices];
  poly[0] = clip_[i0], poly[1] = clip_[i1], poly[2] = clip_[i2];
  int n = clipPolygon(map_, o0 | o1 | o2, poly, 3, scratch);
  if (n < 3) return;
  ScreenVertex sv[kMaxClipVertices];
  for (int k = 0; k < n; ++k) {
    if (layout_.screenSpace) screenVertex(poly[k], perspective_, &sv[k]);
    else projectVertex(map_, poly[k], perspective_, &sv[k]);
    if (flat) flatten(&sv[k], provoking);
  }
  for (int k = 1; k + 1 < n; ++k) fillTriangle(sv[0], sv[k], sv[k + 1]);
}

bool SoftwareDevice::depthPassesEverywhere() const {
  if (!depthFresh_ || freshStamp_ != DeferredShading::outsideAccesses() || !pixel_.depthTest) return false;
  if (pixel_.depthFunc != D3DCMP_LESSEQUAL && pixel_.depthFunc != D3DCMP_ALWAYS) return false;
  return map_.left >= fresh_[0] && map_.top >= fresh_[1] && map_.right <= fresh_[2] && map_.bottom <= fresh_[3];
}

void SoftwareDevice::prepareDepthTiles() {
  // LESS and LESSEQUAL draws write only smaller values, under which the tiles stay an upper
  // bound; anything else may raise them.
  const bool lessTest = pixel_.depthTest && (pixel_.depthFunc == D3DCMP_LESS || pixel_.depthFunc == D3DCMP_LESSEQUAL);
  if ((pixel_.depthWrite && !lessTest) || tilesStamp_ != DeferredShading::outsideAccesses()) depthTiles_.invalidate();
  dropHidden_ = depthTilesEnabled_ && lessTest && !pixel_.depthWrite;
  // Built once after each clear, by the first draw that can use it: later depth writes only
  // loosen it. Freshly cleared depth hides nothing, so a background drawn first waits.
  if (dropHidden_ && !depthTiles_.valid() && !depthPassesEverywhere()) {
    depthTiles_.build(depth_, color_.width, color_.height);
    tilesStamp_ = DeferredShading::outsideAccesses();
  }
}

bool SoftwareDevice::drawQuad(int i0, int i1, int i2, int i3) {
  // Unclipped, smooth-shaded, one texture filter whatever the size: the quad's pixels are
  // then exactly the two triangles'.
  if ((outcodes_[i0] | outcodes_[i1] | outcodes_[i2] | outcodes_[i3]) != 0 || pixel_.flatShade || useReference_)
    return false;
  if (pixel_.texture && pixel_.magLinear != pixel_.minLinear) return false;
  TriangleSetup setup;
  if (!setupQuad(screen_[i0], screen_[i1], screen_[i2], screen_[i3], state_.render[D3DRENDERSTATE_CULLMODE], map_,
                 &setup, attributes_))
    return false;
  fillSetup(setup, pixel_.texture && pixel_.magLinear);
  return true;
}

void SoftwareDevice::fillTriangle(const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c) {
  TriangleSetup setup;
  if (!setupTriangle(a, b, c, state_.render[D3DRENDERSTATE_CULLMODE], map_, &setup, attributes_)) return;
  bool bilinear = false;
  if (pixel_.texture) {
    const ScreenVertex* v[3] = {&a, &b, &c};
    bilinear = pixel_.bilinearFor(setup, v);
  }
  fillSetup(setup, bilinear);
}

void SoftwareDevice::fillSetup(const TriangleSetup& setup, bool bilinear) {
  if (dropHidden_ && depthTiles_.hides(setup)) return;
  if (deferMode_ == DeferredShading::Mode::kDefer) deferred_.addTriangle(setup, bilinear, depth_);
  else if (deferMode_ == DeferredShading::Mode::kTake) deferred_.drawTaking(setup, bilinear, depth_);
  else if (useReference_) referenceDrawTriangle(pixel_, setup, bilinear, color_, depth_);
  else pipeline_.drawTriangle(setup, bilinear, color_, depth_);
}

}  // namespace platform
