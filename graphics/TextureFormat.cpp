// TextureFormat: the texture-format pick.
#include "graphics/TextureFormat.h"

HRESULT CALLBACK chooseTextureFormat(LPDDPIXELFORMAT format, LPVOID context) {
  if (!format || !context) return D3DENUMRET_OK;
  auto* recorded = static_cast<DDPIXELFORMAT*>(context);
  if (format->dwFlags & (DDPF_ALPHAPIXELS | DDPF_ALPHA)) return D3DENUMRET_OK;
  const DWORD bits = format->dwRGBBitCount;
  const bool rgb = (format->dwFlags & DDPF_RGB) && bits > 8;
  const bool indexed = (format->dwFlags & (DDPF_PALETTEINDEXED8 | DDPF_PALETTEINDEXED4)) && bits == 8;
  if (!rgb && !indexed) return D3DENUMRET_OK;
  if (recorded->dwRGBBitCount == 16 || bits >= 16) *recorded = *format;
  return D3DENUMRET_OK;
}
