#include "platform/d3d/PixelConfig.h"

#include <cmath>

namespace platform {

namespace {

bool convertOp(DWORD op, CombineOp* out) {
  switch (op) {
    case D3DTOP_SELECTARG1: *out = CombineOp::kSelectArg1; return true;
    case D3DTOP_SELECTARG2: *out = CombineOp::kSelectArg2; return true;
    case D3DTOP_MODULATE: *out = CombineOp::kModulate; return true;
    case D3DTOP_MODULATE2X: *out = CombineOp::kModulate2x; return true;
    case D3DTOP_MODULATE4X: *out = CombineOp::kModulate4x; return true;
    case D3DTOP_ADD: *out = CombineOp::kAdd; return true;
    default: return false;  // DISABLE and the operations this device does not do
  }
}

CombineArg convertArg(DWORD arg) {
  switch (arg & D3DTA_SELECTMASK) {
    case D3DTA_TEXTURE: return CombineArg::kTexture;
    case D3DTA_TFACTOR: return CombineArg::kFactor;
    case D3DTA_SPECULAR: return CombineArg::kSpecular;
    default: return CombineArg::kDiffuse;  // DIFFUSE, and CURRENT at stage 0
  }
}

bool readsArg(CombineOp op, CombineArg a1, CombineArg a2, CombineArg which) {
  if (op == CombineOp::kSelectArg1) return a1 == which;
  if (op == CombineOp::kSelectArg2) return a2 == which;
  return a1 == which || a2 == which;
}

BlendFactor convertBlend(DWORD b, BlendFactor fallback) {
  switch (b) {
    case D3DBLEND_ZERO: return BlendFactor::kZero;
    case D3DBLEND_ONE: return BlendFactor::kOne;
    case D3DBLEND_SRCALPHA: return BlendFactor::kSrcAlpha;
    case D3DBLEND_INVSRCALPHA: return BlendFactor::kInvSrcAlpha;
    case D3DBLEND_BOTHSRCALPHA: return BlendFactor::kSrcAlpha;
    default: return fallback;
  }
}

}  // namespace

void PixelConfig::build(const DeviceState& s, const TextureImage* tex, bool hasDepth) {
  const DWORD* r = s.render;
  const DWORD* st = s.stage[0];
  depthTest = hasDepth && r[D3DRENDERSTATE_ZENABLE] != 0;
  depthFunc = r[D3DRENDERSTATE_ZFUNC] >= D3DCMP_NEVER && r[D3DRENDERSTATE_ZFUNC] <= D3DCMP_ALWAYS
                  ? r[D3DRENDERSTATE_ZFUNC]
                  : D3DCMP_LESSEQUAL;
  depthWrite = depthTest && r[D3DRENDERSTATE_ZWRITEENABLE] != 0;
  flatShade = r[D3DRENDERSTATE_SHADEMODE] == D3DSHADE_FLAT;

  // Stage 0: the legacy blend mode when it was set last, else the stage states.
  if (s.legacyBlendActive) {
    alphaArg2 = colorArg2 = CombineArg::kDiffuse;
    switch (r[D3DRENDERSTATE_TEXTUREMAPBLEND]) {
      case D3DTBLEND_COPY:
      case D3DTBLEND_DECAL:
      case D3DTBLEND_DECALALPHA:  // an RGB565 texture is opaque, so DECALALPHA is DECAL
      case D3DTBLEND_DECALMASK:
        colorOp = alphaOp = CombineOp::kSelectArg1;
        colorArg1 = alphaArg1 = CombineArg::kTexture;
        break;
      case D3DTBLEND_MODULATEALPHA:
        colorOp = alphaOp = CombineOp::kModulate;
        colorArg1 = alphaArg1 = CombineArg::kTexture;
        break;
      case D3DTBLEND_ADD:
        colorOp = CombineOp::kAdd;
        colorArg1 = CombineArg::kTexture;
        alphaOp = CombineOp::kSelectArg1;
        alphaArg1 = CombineArg::kDiffuse;
        break;
      default:  // MODULATE, MODULATEMASK: alpha from the vertex, the texture has none
        colorOp = CombineOp::kModulate;
        colorArg1 = CombineArg::kTexture;
        alphaOp = CombineOp::kSelectArg1;
        alphaArg1 = CombineArg::kDiffuse;
        break;
    }
  } else {
    colorArg1 = convertArg(st[D3DTSS_COLORARG1]);
    colorArg2 = convertArg(st[D3DTSS_COLORARG2]);
    alphaArg1 = convertArg(st[D3DTSS_ALPHAARG1]);
    alphaArg2 = convertArg(st[D3DTSS_ALPHAARG2]);
    if (!convertOp(st[D3DTSS_COLOROP], &colorOp)) colorOp = CombineOp::kSelectArg1, colorArg1 = CombineArg::kDiffuse;
    if (!convertOp(st[D3DTSS_ALPHAOP], &alphaOp)) alphaOp = CombineOp::kSelectArg1, alphaArg1 = CombineArg::kDiffuse;
  }
  // A stage that reads a missing texture passes the diffuse colour through.
  bool texUsable = tex && tex->usable();
  if (!texUsable) {
    if (readsArg(colorOp, colorArg1, colorArg2, CombineArg::kTexture))
      colorOp = CombineOp::kSelectArg1, colorArg1 = CombineArg::kDiffuse;
    if (readsArg(alphaOp, alphaArg1, alphaArg2, CombineArg::kTexture))
      alphaOp = CombineOp::kSelectArg1, alphaArg1 = CombineArg::kDiffuse;
  }
  bool texRead = readsArg(colorOp, colorArg1, colorArg2, CombineArg::kTexture) ||
                 readsArg(alphaOp, alphaArg1, alphaArg2, CombineArg::kTexture);
  texture = texRead ? tex : nullptr;
  colorKey = texture && texture->hasColorKey && r[D3DRENDERSTATE_COLORKEYENABLE] != 0;
  magLinear = st[D3DTSS_MAGFILTER] == D3DTFG_LINEAR || st[D3DTSS_MAGFILTER] == 3 || st[D3DTSS_MAGFILTER] == 4 ||
              st[D3DTSS_MAGFILTER] == 5;
  minLinear = st[D3DTSS_MINFILTER] == D3DTFN_LINEAR || st[D3DTSS_MINFILTER] == 3;
  // Border behaves as clamp here; mirror as wrap.
  clampU = st[D3DTSS_ADDRESSU] == D3DTADDRESS_CLAMP || st[D3DTSS_ADDRESSU] == D3DTADDRESS_BORDER;
  clampV = st[D3DTSS_ADDRESSV] == D3DTADDRESS_CLAMP || st[D3DTSS_ADDRESSV] == D3DTADDRESS_BORDER;
  textureFactor = r[D3DRENDERSTATE_TEXTUREFACTOR];

  specularAdd = r[D3DRENDERSTATE_SPECULARENABLE] != 0;
  fog = FogKind::kNone;
  if (r[D3DRENDERSTATE_FOGENABLE]) {
    switch (r[D3DRENDERSTATE_FOGTABLEMODE]) {
      case D3DFOG_LINEAR: fog = FogKind::kLinear; break;
      case D3DFOG_EXP: fog = FogKind::kExp; break;
      case D3DFOG_EXP2: fog = FogKind::kExp2; break;
      default: fog = FogKind::kVertex; break;
    }
  }
  fogUsesW = s.projectionIsPerspective();
  fogStart = s.renderFloat(D3DRENDERSTATE_FOGTABLESTART);
  fogEnd = s.renderFloat(D3DRENDERSTATE_FOGTABLEEND);
  fogDensity = s.renderFloat(D3DRENDERSTATE_FOGTABLEDENSITY);
  if (!std::isfinite(fogStart)) fogStart = 0;
  if (!std::isfinite(fogEnd)) fogEnd = 1;
  if (!std::isfinite(fogDensity)) fogDensity = 1;
  D3DCOLOR fc = r[D3DRENDERSTATE_FOGCOLOR];
  fogColor[0] = static_cast<float>((fc >> 16) & 0xFF);
  fogColor[1] = static_cast<float>((fc >> 8) & 0xFF);
  fogColor[2] = static_cast<float>(fc & 0xFF);

  blend = r[D3DRENDERSTATE_ALPHABLENDENABLE] != 0;
  srcFactor = convertBlend(r[D3DRENDERSTATE_SRCBLEND], BlendFactor::kOne);
  destFactor = convertBlend(r[D3DRENDERSTATE_DESTBLEND], BlendFactor::kZero);
  if (r[D3DRENDERSTATE_SRCBLEND] == D3DBLEND_BOTHSRCALPHA) destFactor = BlendFactor::kInvSrcAlpha;
  if (blend && srcFactor == BlendFactor::kOne && destFactor == BlendFactor::kZero) blend = false;

  needsSpecular = specularAdd || fog == FogKind::kVertex ||
                  readsArg(colorOp, colorArg1, colorArg2, CombineArg::kSpecular) ||
                  readsArg(alphaOp, alphaArg1, alphaArg2, CombineArg::kSpecular);
}

void PixelConfig::dropBlackSpecular() {
  if (!specularAdd || fog == FogKind::kVertex) return;
  if (readsArg(colorOp, colorArg1, colorArg2, CombineArg::kSpecular) ||
      readsArg(alphaOp, alphaArg1, alphaArg2, CombineArg::kSpecular))
    return;
  specularAdd = false;
  needsSpecular = false;
}

unsigned PixelConfig::attributesRead() const {
  unsigned set = (1u << kAttrR) | (1u << kAttrG) | (1u << kAttrB);
  if (blend) set |= 1u << kAttrA;
  if (needsSpecular) set |= (1u << kAttrSR) | (1u << kAttrSG) | (1u << kAttrSB) | (1u << kAttrSA);
  if (texture) set |= (1u << kAttrU) | (1u << kAttrV);
  return set;
}

bool PixelConfig::bilinearFor(const TriangleSetup& t, const ScreenVertex* const v[3]) const {
  if (!texture || magLinear == minLinear) return magLinear;
  // Texel area against pixel area of the whole triangle.
  float u[3], w[3];
  for (int i = 0; i < 3; ++i) {
    float inv = v[i]->pw != 0 ? 1.0f / v[i]->pw : 0.0f;
    u[i] = v[i]->q[kAttrU] * inv * texture->width;
    w[i] = v[i]->q[kAttrV] * inv * texture->height;
  }
  float texArea = std::fabs((u[1] - u[0]) * (w[2] - w[0]) - (u[2] - u[0]) * (w[1] - w[0]));
  double s = 1.0 / TriangleSetup::kOne;
  double pixArea = std::fabs(static_cast<double>((t.X[1] - t.X[0]) * (t.Y[2] - t.Y[0]) -
                                                 (t.X[2] - t.X[0]) * (t.Y[1] - t.Y[0]))) * s * s;
  return texArea > pixArea ? minLinear : magLinear;
}

}  // namespace platform

