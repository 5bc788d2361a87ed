#include "platform/d3d/VertexProcessing.h"

#include <cmath>
#include <cstring>

namespace platform {

namespace {

void colorToAttrs(D3DCOLOR c, float* a) {  // a[0..3] = r, g, b, a
  a[0] = static_cast<float>((c >> 16) & 0xFF);
  a[1] = static_cast<float>((c >> 8) & 0xFF);
  a[2] = static_cast<float>(c & 0xFF);
  a[3] = static_cast<float>(c >> 24);
}

float clamp01(float v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }

template <typename T>
T load(const std::uint8_t* p) {
  T v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

}  // namespace

bool VertexLayout::decode(DWORD fvf, VertexLayout* out) {
  const DWORD known = D3DFVF_POSITION_MASK | D3DFVF_NORMAL | D3DFVF_RESERVED1 | D3DFVF_DIFFUSE |
                      D3DFVF_SPECULAR | D3DFVF_TEXCOUNT_MASK;
  if (fvf & ~known) return false;
  VertexLayout l;
  DWORD position = fvf & D3DFVF_POSITION_MASK;
  if (position == D3DFVF_XYZ) l.stride = 12;
  else if (position == D3DFVF_XYZRHW) l.stride = 16, l.screenSpace = true;
  else return false;
  if (fvf & D3DFVF_NORMAL) {
    if (l.screenSpace) return false;
    l.normalOffset = l.stride;
    l.stride += 12;
  }
  if (fvf & D3DFVF_RESERVED1) l.stride += 4;
  if (fvf & D3DFVF_DIFFUSE) l.diffuseOffset = l.stride, l.stride += 4;
  if (fvf & D3DFVF_SPECULAR) l.specularOffset = l.stride, l.stride += 4;
  int texCount = static_cast<int>((fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT);
  if (texCount > 8) return false;
  if (texCount > 0) l.texOffset = l.stride;
  l.stride += texCount * 8;
  *out = l;
  return true;
}

void VertexSetup::prepare(const D3DMATRIX& world, const D3DMATRIX& view, const D3DMATRIX& projection,
                          const D3DMATERIAL* materialOrNull, D3DCOLOR ambientColor, const LightSource* lights,
                          int lightCountIn, bool layoutHasNormal, bool doNotLight) {
  // Draw calls mostly keep the matrices of the one before: the products still hold then.
  const bool same = productsValid_ && std::memcmp(&world, &productOf_[0], sizeof world) == 0 &&
                    std::memcmp(&view, &productOf_[1], sizeof view) == 0 &&
                    std::memcmp(&projection, &productOf_[2], sizeof projection) == 0;
  if (!same) {
    worldView = multiply(world, view);
    worldViewProjection = multiply(worldView, projection);
    productOf_[0] = world, productOf_[1] = view, productOf_[2] = projection;
    productsValid_ = true;
  }
  lighting = materialOrNull && layoutHasNormal && !doNotLight;
  if (materialOrNull) material = *materialOrNull;
  ambient[0] = ((ambientColor >> 16) & 0xFF) / 255.0f;
  ambient[1] = ((ambientColor >> 8) & 0xFF) / 255.0f;
  ambient[2] = (ambientColor & 0xFF) / 255.0f;
  lightCount = 0;
  if (!lighting) return;  // the normal matrix and the lights serve lighting only

  // Normal matrix: inverse transpose of the upper 3x3 (the cofactor matrix over the determinant).
  const D3DMATRIX& m = worldView;
  float a = m._11, b = m._12, c = m._13, d = m._21, e = m._22, f = m._23, g = m._31, h = m._32, i = m._33;
  float cof[9] = {e * i - f * h, -(d * i - f * g), d * h - e * g,
                  -(b * i - c * h), a * i - c * g, -(a * h - b * g),
                  b * f - c * e, -(a * f - c * d), a * e - b * d};
  float det = a * cof[0] + b * cof[1] + c * cof[2];
  float inv = std::fabs(det) > 1e-30f ? 1.0f / det : 0.0f;
  for (int k = 0; k < 9; ++k) normalMatrix[k] = cof[k] * inv;

  for (int k = 0; k < lightCountIn && lightCount < kMaxLights; ++k) {
    const LightSource& src = lights[k];
    if (src.type != D3DLIGHT_DIRECTIONAL) continue;
    // The direction is given in world space; bring it into view space and reverse it.
    float dx = src.direction.x * view._11 + src.direction.y * view._21 + src.direction.z * view._31;
    float dy = src.direction.x * view._12 + src.direction.y * view._22 + src.direction.z * view._32;
    float dz = src.direction.x * view._13 + src.direction.y * view._23 + src.direction.z * view._33;
    float len = std::sqrt(dx * dx + dy * dy + dz * dz);
    if (!(len > 1e-20f)) continue;
    float* t = lightToward[lightCount];
    t[0] = -dx / len, t[1] = -dy / len, t[2] = -dz / len;
    lightColor[lightCount][0] = src.color.r;
    lightColor[lightCount][1] = src.color.g;
    lightColor[lightCount][2] = src.color.b;
    lightSpecular[lightCount] = src.specular;
    ++lightCount;
  }
}

void lightVertex(const VertexSetup& s, const float viewPos[3], const float normal[3], const D3DCOLOR* vertexDiffuse,
                 float outDiffuse[4], float outSpecular[4]) {
  const D3DMATERIAL& mat = s.material;
  float vd[4] = {mat.diffuse.r, mat.diffuse.g, mat.diffuse.b, mat.diffuse.a};
  if (vertexDiffuse) {  // COLORVERTEX: the vertex colour stands in for the material diffuse
    D3DCOLOR c = *vertexDiffuse;
    vd[0] = ((c >> 16) & 0xFF) / 255.0f, vd[1] = ((c >> 8) & 0xFF) / 255.0f, vd[2] = (c & 0xFF) / 255.0f;
    vd[3] = (c >> 24) / 255.0f;
  }
  float dif[3] = {s.ambient[0] * mat.ambient.r + mat.emissive.r, s.ambient[1] * mat.ambient.g + mat.emissive.g,
                  s.ambient[2] * mat.ambient.b + mat.emissive.b};
  float specular[3] = {0, 0, 0};
  // Power 0 gives no highlight at all, and a black material specular scales any to zero.
  bool wantSpecular = mat.power > 0.0f && (mat.specular.r != 0.0f || mat.specular.g != 0.0f || mat.specular.b != 0.0f);
  // Unit vector from the vertex toward the eye (the camera sits at the view-space origin).
  float ex = -viewPos[0], ey = -viewPos[1], ez = -viewPos[2];
  if (wantSpecular) {
    float elen = std::sqrt(ex * ex + ey * ey + ez * ez);
    if (elen > 1e-20f) ex /= elen, ey /= elen, ez /= elen;
  }
  for (int k = 0; k < s.lightCount; ++k) {
    const float* L = s.lightToward[k];
    float nl = normal[0] * L[0] + normal[1] * L[1] + normal[2] * L[2];
    if (nl <= 0) continue;
    float rd = nl > 1 ? 1 : nl;
    for (int c = 0; c < 3; ++c) dif[c] += rd * vd[c] * s.lightColor[k][c];
    if (!wantSpecular || !s.lightSpecular[k]) continue;
    float hx = L[0] + ex, hy = L[1] + ey, hz = L[2] + ez;
    float hlen = std::sqrt(hx * hx + hy * hy + hz * hz);
    if (!(hlen > 1e-20f)) continue;
    float nh = (normal[0] * hx + normal[1] * hy + normal[2] * hz) / hlen;
    if (nh <= 0) continue;
    float rs = std::pow(nh > 1 ? 1.0f : nh, mat.power);
    for (int c = 0; c < 3; ++c) specular[c] += s.lightColor[k][c] * rs;
  }
  outDiffuse[0] = clamp01(dif[0]) * 255.0f;
  outDiffuse[1] = clamp01(dif[1]) * 255.0f;
  outDiffuse[2] = clamp01(dif[2]) * 255.0f;
  outDiffuse[3] = clamp01(vd[3]) * 255.0f;
  outSpecular[0] = clamp01(specular[0] * mat.specular.r) * 255.0f;
  outSpecular[1] = clamp01(specular[1] * mat.specular.g) * 255.0f;
  outSpecular[2] = clamp01(specular[2] * mat.specular.b) * 255.0f;
  outSpecular[3] = 255.0f;
}

void processVertices(const VertexLayout& layout, const VertexSetup& s, const std::uint8_t* data, int count,
                     ClipVertex* out) {
  const D3DMATRIX& m = s.worldViewProjection;
  const D3DMATRIX& wv = s.worldView;
  for (int i = 0; i < count; ++i) {
    const std::uint8_t* v = data + static_cast<std::size_t>(i) * layout.stride;
    ClipVertex& o = out[i];
    float* a = o.attr;
    // Missing components: diffuse opaque white, specular 0 (its alpha 0 is full vertex fog).
    if (layout.diffuseOffset >= 0) colorToAttrs(load<DWORD>(v + layout.diffuseOffset), a + kAttrR);
    else a[kAttrR] = a[kAttrG] = a[kAttrB] = a[kAttrA] = 255.0f;
    if (layout.specularOffset >= 0) colorToAttrs(load<DWORD>(v + layout.specularOffset), a + kAttrSR);
    else a[kAttrSR] = a[kAttrSG] = a[kAttrSB] = a[kAttrSA] = 0.0f;
    if (layout.texOffset >= 0) {
      a[kAttrU] = load<float>(v + layout.texOffset);
      a[kAttrV] = load<float>(v + layout.texOffset + 4);
    } else {
      a[kAttrU] = a[kAttrV] = 0.0f;
    }
    float x = load<float>(v), y = load<float>(v + 4), z = load<float>(v + 8);
    if (layout.screenSpace) {
      float rhw = load<float>(v + 12);
      o.pos[0] = x, o.pos[1] = y, o.pos[2] = z, o.pos[3] = 1.0f;
      o.rhw = rhw;
      // Attributes become attr * weight, which is linear in screen space. A zero, negative or
      // broken rhw gets a tiny weight, the limit of a point far away.
      float weight = s.perspective ? (rhw > 1e-20f && rhw < 1e20f ? rhw : 1e-20f) : 1.0f;
      for (int k = 0; k < kAttrCount; ++k) a[k] *= weight;
      continue;
    }
    o.pos[0] = x * m._11 + y * m._21 + z * m._31 + m._41;
    o.pos[1] = x * m._12 + y * m._22 + z * m._32 + m._42;
    o.pos[2] = x * m._13 + y * m._23 + z * m._33 + m._43;
    o.pos[3] = x * m._14 + y * m._24 + z * m._34 + m._44;
    o.rhw = 0.0f;
    if (s.lighting) {
      float nx = load<float>(v + layout.normalOffset), ny = load<float>(v + layout.normalOffset + 4),
            nz = load<float>(v + layout.normalOffset + 8);
      const float* n = s.normalMatrix;
      float tn[3] = {nx * n[0] + ny * n[3] + nz * n[6], nx * n[1] + ny * n[4] + nz * n[7],
                     nx * n[2] + ny * n[5] + nz * n[8]};
      float len = std::sqrt(tn[0] * tn[0] + tn[1] * tn[1] + tn[2] * tn[2]);
      if (len > 1e-20f) tn[0] /= len, tn[1] /= len, tn[2] /= len;
      float vp[3] = {x * wv._11 + y * wv._21 + z * wv._31 + wv._41, x * wv._12 + y * wv._22 + z * wv._32 + wv._42,
                     x * wv._13 + y * wv._23 + z * wv._33 + wv._43};
      D3DCOLOR vdiff = layout.diffuseOffset >= 0 ? load<DWORD>(v + layout.diffuseOffset) : 0;
      float specular[4];
      lightVertex(s, vp, tn, layout.diffuseOffset >= 0 ? &vdiff : nullptr, a + kAttrR, specular);
      a[kAttrSR] = specular[0], a[kAttrSG] = specular[1], a[kAttrSB] = specular[2];
      a[kAttrSA] = 255.0f;
    }
  }
}

}  // namespace platform
