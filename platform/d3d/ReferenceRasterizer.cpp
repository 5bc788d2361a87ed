#include "platform/d3d/ReferenceRasterizer.h"

#include <algorithm>
#include <cmath>

namespace platform {

namespace {

double planeValue(const AttributePlane& p, const TriangleSetup& t, int px, int py) {
  return static_cast<double>(p.v0) + static_cast<double>(p.ddx) * (px - static_cast<double>(t.x0)) +
         static_cast<double>(p.ddy) * (py - static_cast<double>(t.y0));
}

int wrapOrClamp(long long i, int size, bool clamp) {
  if (clamp) return static_cast<int>(std::clamp<long long>(i, 0, size - 1));
  long long m = i % size;
  return static_cast<int>(m < 0 ? m + size : m);
}

long long floorToInt(double v) {
  if (!(v > -16777216.0)) return -16777216;
  if (v > 16777216.0) return 16777216;
  return static_cast<long long>(std::floor(v));
}

std::uint16_t texel(const TextureImage& t, int x, int y) {
  return reinterpret_cast<const std::uint16_t*>(reinterpret_cast<const std::uint8_t*>(t.bits) +
                                                static_cast<long long>(y) * t.pitch)[x];
}

double argValue(CombineArg a, int ch, const double* diffuse, const double* tex, const double* specular,
                const double* factor) {
  switch (a) {
    case CombineArg::kTexture: return tex[ch];
    case CombineArg::kSpecular: return specular[ch];
    case CombineArg::kFactor: return factor[ch];
    default: return diffuse[ch];
  }
}

double applyOp(CombineOp op, double a, double b) {
  double r;
  switch (op) {
    case CombineOp::kSelectArg1: r = a; break;
    case CombineOp::kSelectArg2: r = b; break;
    case CombineOp::kModulate: r = a * b / 255.0; break;
    case CombineOp::kModulate2x: r = 2.0 * a * b / 255.0; break;
    case CombineOp::kModulate4x: r = 4.0 * a * b / 255.0; break;
    default: r = a + b; break;
  }
  return std::clamp(r, 0.0, 255.0);
}

double blendFactor(BlendFactor f, double alpha) {
  switch (f) {
    case BlendFactor::kZero: return 0.0;
    case BlendFactor::kOne: return 1.0;
    case BlendFactor::kSrcAlpha: return alpha / 255.0;
    default: return 1.0 - alpha / 255.0;
  }
}

int to8(double v) { return static_cast<int>(std::clamp(v, 0.0, 255.0)); }

}  // namespace

void referenceDrawTriangle(const PixelConfig& cfg, const TriangleSetup& t, bool bilinear, const ColorTarget& color,
                           const DepthTarget& depth) {
  for (int py = t.rowFirst; py <= t.rowLast; ++py) {
    for (int px = t.left; px < t.right; ++px) {
      if (!t.covers(px, py)) continue;
      const double z = planeValue(t.z, t, px, py);
      const double w = planeValue(t.pw, t, px, py);
      const double rhw = planeValue(t.rhw, t, px, py);
      double a[kAttrCount];
      for (int k = 0; k < kAttrCount; ++k) a[k] = planeValue(t.q[k], t, px, py) / w;
      // Depth test.
      std::uint16_t z16 = 0;
      if (cfg.depthTest) {
        double zc = std::isnan(z) ? 1.0 : std::clamp(z, 0.0, 1.0);
        z16 = static_cast<std::uint16_t>(zc * 65535.0 + 0.5);
        std::uint16_t stored = depth.row(py)[px];
        bool pass;
        switch (cfg.depthFunc) {
          case D3DCMP_NEVER: pass = false; break;
          case D3DCMP_LESS: pass = z16 < stored; break;
          case D3DCMP_EQUAL: pass = z16 == stored; break;
          case D3DCMP_GREATER: pass = z16 > stored; break;
          case D3DCMP_NOTEQUAL: pass = z16 != stored; break;
          case D3DCMP_GREATEREQUAL: pass = z16 >= stored; break;
          case D3DCMP_ALWAYS: pass = true; break;
          default: pass = z16 <= stored; break;
        }
        if (!pass) continue;
      }
      // Texture.
      double tex[4] = {0, 0, 0, 255};
      if (cfg.texture) {
        const TextureImage& img = *cfg.texture;
        const double U = a[kAttrU] * img.width, V = a[kAttrV] * img.height;
        int nx = wrapOrClamp(floorToInt(U), img.width, cfg.clampU);
        int ny = wrapOrClamp(floorToInt(V), img.height, cfg.clampV);
        std::uint16_t nearest = texel(img, nx, ny);
        if (cfg.colorKey && nearest == img.colorKey) continue;
        if (!bilinear) {
          tex[0] = red565(nearest), tex[1] = green565(nearest), tex[2] = blue565(nearest);
        } else {
          const double fu = U - 0.5, fv = V - 0.5;
          const long long iu = floorToInt(fu), iv = floorToInt(fv);
          const double au = fu - iu, av = fv - iv;
          const int xs[2] = {wrapOrClamp(iu, img.width, cfg.clampU), wrapOrClamp(iu + 1, img.width, cfg.clampU)};
          const int ys[2] = {wrapOrClamp(iv, img.height, cfg.clampV), wrapOrClamp(iv + 1, img.height, cfg.clampV)};
          tex[0] = tex[1] = tex[2] = 0;
          for (int j = 0; j < 2; ++j)
            for (int i = 0; i < 2; ++i) {
              double wgt = (i ? au : 1 - au) * (j ? av : 1 - av);
              std::uint16_t s = texel(img, xs[i], ys[j]);
              tex[0] += wgt * red565(s), tex[1] += wgt * green565(s), tex[2] += wgt * blue565(s);
            }
        }
      }
      if (cfg.depthWrite) depth.row(py)[px] = z16;
      // Stage 0.
      const double diffuse[4] = {a[kAttrR], a[kAttrG], a[kAttrB], a[kAttrA]};
      double specular[4] = {a[kAttrSR], a[kAttrSG], a[kAttrSB], a[kAttrSA]};
      if (!cfg.needsSpecular) specular[0] = specular[1] = specular[2] = specular[3] = 0;
      const D3DCOLOR tf = cfg.textureFactor;
      const double factor[4] = {double((tf >> 16) & 0xFF), double((tf >> 8) & 0xFF), double(tf & 0xFF),
                                double(tf >> 24)};
      double out[4];
      for (int ch = 0; ch < 3; ++ch)
        out[ch] = applyOp(cfg.colorOp, argValue(cfg.colorArg1, ch, diffuse, tex, specular, factor),
                          argValue(cfg.colorArg2, ch, diffuse, tex, specular, factor));
      out[3] = applyOp(cfg.alphaOp, argValue(cfg.alphaArg1, 3, diffuse, tex, specular, factor),
                       argValue(cfg.alphaArg2, 3, diffuse, tex, specular, factor));
      if (cfg.specularAdd)
        for (int ch = 0; ch < 3; ++ch) out[ch] = std::min(255.0, out[ch] + specular[ch]);
      // Fog.
      if (cfg.fog != FogKind::kNone) {
        const double d = cfg.fogUsesW ? 1.0 / rhw : z;
        double f;
        switch (cfg.fog) {
          case FogKind::kLinear:
            f = cfg.fogEnd != cfg.fogStart ? (cfg.fogEnd - d) / (double(cfg.fogEnd) - cfg.fogStart)
                                           : (d < cfg.fogEnd ? 1.0 : 0.0);
            break;
          case FogKind::kExp: f = std::exp(-cfg.fogDensity * d); break;
          case FogKind::kExp2: f = std::exp(-(cfg.fogDensity * d) * (cfg.fogDensity * d)); break;
          default: f = specular[3] / 255.0; break;
        }
        f = std::isnan(f) ? 0.0 : std::clamp(f, 0.0, 1.0);
        for (int ch = 0; ch < 3; ++ch) out[ch] = f * out[ch] + (1 - f) * cfg.fogColor[ch];
      }
      // Blend and store.
      std::uint16_t& dst = color.row(py)[px];
      if (!cfg.blend) {
        dst = pack565(to8(out[0]), to8(out[1]), to8(out[2]));
      } else if (cfg.srcFactor == BlendFactor::kOne && cfg.destFactor == BlendFactor::kOne) {
        int r = std::min(31, (dst >> 11) + (to8(out[0]) >> 3));
        int g = std::min(63, ((dst >> 5) & 63) + (to8(out[1]) >> 2));
        int b = std::min(31, (dst & 31) + (to8(out[2]) >> 3));
        dst = static_cast<std::uint16_t>((r << 11) | (g << 5) | b);
      } else {
        double fs = blendFactor(cfg.srcFactor, out[3]), fd = blendFactor(cfg.destFactor, out[3]);
        dst = pack565(to8(out[0] * fs + red565(dst) * fd), to8(out[1] * fs + green565(dst) * fd),
                      to8(out[2] * fs + blue565(dst) * fd));
      }
    }
  }
}

}  // namespace platform
