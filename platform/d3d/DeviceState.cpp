#include "platform/d3d/DeviceState.h"

#include <cstring>

namespace platform {

D3DMATRIX identityMatrix() {
  D3DMATRIX m{};
  m._11 = m._22 = m._33 = m._44 = 1.0f;
  return m;
}

D3DMATRIX multiply(const D3DMATRIX& a, const D3DMATRIX& b) {
  const float* pa = &a._11;
  const float* pb = &b._11;
  D3DMATRIX r;
  float* pr = &r._11;
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) {
      float s = 0;
      for (int k = 0; k < 4; ++k) s += pa[i * 4 + k] * pb[k * 4 + j];
      pr[i * 4 + j] = s;
    }
  return r;
}

static DWORD floatBits(float f) {
  DWORD d;
  std::memcpy(&d, &f, sizeof d);
  return d;
}

void DeviceState::reset(bool hasDepthBuffer) {
  std::memset(render, 0, sizeof render);
  std::memset(stage, 0, sizeof stage);
  render[D3DRENDERSTATE_TEXTUREPERSPECTIVE] = TRUE;
  render[D3DRENDERSTATE_ZENABLE] = hasDepthBuffer ? TRUE : FALSE;
  render[D3DRENDERSTATE_FILLMODE] = D3DFILL_SOLID;
  render[D3DRENDERSTATE_SHADEMODE] = D3DSHADE_GOURAUD;
  render[D3DRENDERSTATE_ZWRITEENABLE] = TRUE;
  render[D3DRENDERSTATE_LASTPIXEL] = TRUE;
  render[D3DRENDERSTATE_TEXTUREMAG] = D3DFILTER_NEAREST;
  render[D3DRENDERSTATE_TEXTUREMIN] = D3DFILTER_NEAREST;
  render[D3DRENDERSTATE_SRCBLEND] = D3DBLEND_ONE;
  render[D3DRENDERSTATE_DESTBLEND] = D3DBLEND_ZERO;
  render[D3DRENDERSTATE_TEXTUREMAPBLEND] = D3DTBLEND_MODULATE;
  render[D3DRENDERSTATE_CULLMODE] = D3DCULL_CCW;
  render[D3DRENDERSTATE_ZFUNC] = D3DCMP_LESSEQUAL;
  render[D3DRENDERSTATE_ALPHAFUNC] = D3DCMP_ALWAYS;
  render[D3DRENDERSTATE_TEXTUREADDRESS] = D3DTADDRESS_WRAP;
  render[D3DRENDERSTATE_TEXTUREADDRESSU] = D3DTADDRESS_WRAP;
  render[D3DRENDERSTATE_TEXTUREADDRESSV] = D3DTADDRESS_WRAP;
  render[D3DRENDERSTATE_FOGTABLEMODE] = D3DFOG_NONE;
  render[D3DRENDERSTATE_FOGTABLESTART] = floatBits(0.0f);
  render[D3DRENDERSTATE_FOGTABLEEND] = floatBits(1.0f);
  render[D3DRENDERSTATE_FOGTABLEDENSITY] = floatBits(1.0f);
  render[D3DRENDERSTATE_TEXTUREFACTOR] = 0xFFFFFFFFu;
  render[D3DRENDERSTATE_STENCILFUNC] = D3DCMP_ALWAYS;
  render[D3DRENDERSTATE_STENCILMASK] = 0xFFFFFFFFu;
  render[D3DRENDERSTATE_STENCILWRITEMASK] = 0xFFFFFFFFu;
  for (DWORD s = 0; s < kD3DTextureStageCount; ++s) {
    DWORD* st = stage[s];
    st[D3DTSS_COLOROP] = s == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE;
    st[D3DTSS_COLORARG1] = D3DTA_TEXTURE;
    st[D3DTSS_COLORARG2] = D3DTA_CURRENT;
    st[D3DTSS_ALPHAOP] = s == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE;
    st[D3DTSS_ALPHAARG1] = D3DTA_TEXTURE;
    st[D3DTSS_ALPHAARG2] = D3DTA_CURRENT;
    st[D3DTSS_TEXCOORDINDEX] = s;
    st[D3DTSS_ADDRESS] = D3DTADDRESS_WRAP;
    st[D3DTSS_ADDRESSU] = D3DTADDRESS_WRAP;
    st[D3DTSS_ADDRESSV] = D3DTADDRESS_WRAP;
    st[D3DTSS_MAGFILTER] = D3DTFG_POINT;
    st[D3DTSS_MINFILTER] = D3DTFN_POINT;
    st[D3DTSS_MIPFILTER] = D3DTFP_NONE;
  }
  world = view = projection = identityMatrix();
  legacyBlendActive = false;
}

bool DeviceState::setRender(DWORD state, DWORD value) {
  if (state == 0 || state >= kD3DRenderStateLimit) return false;
  render[state] = value;
  if (state == D3DRENDERSTATE_TEXTUREMAPBLEND) legacyBlendActive = true;
  // The legacy address states set both directions, as on the genuine device.
  if (state == D3DRENDERSTATE_TEXTUREADDRESS) {
    render[D3DRENDERSTATE_TEXTUREADDRESSU] = value;
    render[D3DRENDERSTATE_TEXTUREADDRESSV] = value;
    stage[0][D3DTSS_ADDRESSU] = stage[0][D3DTSS_ADDRESSV] = value;
  }
  if (state == D3DRENDERSTATE_TEXTUREADDRESSU) stage[0][D3DTSS_ADDRESSU] = value;
  if (state == D3DRENDERSTATE_TEXTUREADDRESSV) stage[0][D3DTSS_ADDRESSV] = value;
  return true;
}

bool DeviceState::setStage(DWORD stageIndex, DWORD type, DWORD value) {
  if (stageIndex >= kD3DTextureStageCount || type == 0 || type >= kD3DTextureStageStateLimit) return false;
  stage[stageIndex][type] = value;
  if (type == D3DTSS_ADDRESS) stage[stageIndex][D3DTSS_ADDRESSU] = stage[stageIndex][D3DTSS_ADDRESSV] = value;
  if (stageIndex == 0 && type >= D3DTSS_COLOROP && type <= D3DTSS_ALPHAARG2) legacyBlendActive = false;
  return true;
}

float DeviceState::renderFloat(DWORD state) const {
  float f = 0;
  if (state < kD3DRenderStateLimit) std::memcpy(&f, &render[state], sizeof f);
  return f;
}

bool DeviceState::projectionIsPerspective() const {
  return projection._14 != 0.0f || projection._24 != 0.0f || projection._34 != 0.0f || projection._44 != 1.0f;
}

}  // namespace platform
