// SyntheticFrame: one 640x480 RGB565 frame of flight-demo-like content rendered through the
// software device (platform::SoftwareDevice), cleared, drawn and presented into memory; one
// benchmark iteration per frame. The scene is the one the Mesa anchor program renders
// (shared/bench/gl-anchor): the same noise terrain, sky sphere, ten spheres and boxes,
// 1024 additive camera-facing quads drawn one strip each, textures, camera and fog, with
// GL's conventions translated to Direct3D ones (left-handed view, 0..1 depth, GL's back
// faces culled as D3DCULL_CW, GL_MODULATE as MODULATE(TEXTURE, DIFFUSE)).
//
// Run: cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DQEL_BENCH=ON -DQEL_TESTS=OFF
//      cmake --build build/bench --target bench_device && build/bench/bench/bench_device
// Compare in the same session with the anchor (Mesa llvmpipe, two threads, then one):
//      gcc -O2 -std=c99 -o /tmp/gl_anchor ../shared/bench/gl-anchor/gl_anchor.c -lEGL -lpng -ldl -lm
//      LIBGL_ALWAYS_SOFTWARE=1 GALLIUM_DRIVER=llvmpipe /tmp/gl_anchor
//      LIBGL_ALWAYS_SOFTWARE=1 GALLIUM_DRIVER=llvmpipe LP_NUM_THREADS=1 /tmp/gl_anchor
// and set the "readback" median of the first against this benchmark's median.
// QEL_FRAME_DUMP=file.raw writes the last frame as raw little-endian RGB565, 640x480.
#include "platform/d3d/SoftwareDevice.h"
#include "platform/d3d/TexelPairs.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr int kW = 640, kH = 480;
constexpr float kPi = 3.14159265358979f;

// ---- the anchor's deterministic generators (same sequences, same scene) ----
std::uint32_t rngState = 0x9e3779b9u;
float frand() {
  std::uint32_t x = rngState;
  x ^= x << 13, x ^= x >> 17, x ^= x << 5;
  rngState = x;
  return (x >> 8) * (1.0f / 16777216.0f);
}
float lattice(int x, int y, std::uint32_t seed) {
  std::uint32_t h = std::uint32_t(x) * 0x8da6b343u ^ std::uint32_t(y) * 0xd8163841u ^ seed * 0xcb1ab31fu;
  h ^= h >> 15, h *= 0x2c1b3c6du, h ^= h >> 12, h *= 0x297a2d39u, h ^= h >> 15;
  return (h >> 8) * (1.0f / 16777216.0f);
}
float smooth5(float t) { return t * t * t * (t * (t * 6 - 15) + 10); }
float vnoise(float x, float y, float cell, int wrap, std::uint32_t seed) {
  x /= cell, y /= cell;
  int ix = int(std::floor(x)), iy = int(std::floor(y));
  float fx = smooth5(x - ix), fy = smooth5(y - iy);
  int x0 = ((ix % wrap) + wrap) % wrap, y0 = ((iy % wrap) + wrap) % wrap;
  int x1 = (x0 + 1) % wrap, y1 = (y0 + 1) % wrap;
  float a = lattice(x0, y0, seed), b = lattice(x1, y0, seed), c = lattice(x0, y1, seed), d = lattice(x1, y1, seed);
  return (a + (b - a) * fx) + ((c + (d - c) * fx) - (a + (b - a) * fx)) * fy;
}

struct V3 {
  float x, y, z;
};
V3 add(V3 a, V3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
V3 scale(V3 a, float s) { return {a.x * s, a.y * s, a.z * s}; }
float dot(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
V3 cross(V3 a, V3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
V3 normalize(V3 a) { return scale(a, 1.0f / std::sqrt(dot(a, a))); }

// XYZ | DIFFUSE | TEX1: lighting baked into the colour, as in the anchor.
struct Vertex {
  float x, y, z;
  D3DCOLOR color;
  float u, v;
};
constexpr DWORD kFvf = D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1;

V3 lightDir;
D3DCOLOR litColor(V3 n, float tr, float tg, float tb) {
  float i = 0.35f + 0.65f * std::fmax(0.0f, dot(n, lightDir));
  auto c = [&](float t) { return DWORD(std::fmin(255.f, 255.f * i * t)); };
  return 0xFF000000u | (c(tr) << 16) | (c(tg) << 8) | c(tb);
}

struct Texture {
  int w = 0, h = 0;
  std::vector<std::uint16_t> texels;
  platform::TexelPairs pairs;  // the bilinear copy a texture surface keeps; the texels never change
  platform::TextureImage image() {
    platform::TextureImage img{texels.data(), w * 2, w, h, false, 0};
    img.pairs = pairs.update(img, 1);
    return img;
  }
};
Texture fromRgb(int w, int h, const std::vector<std::uint8_t>& rgb) {
  Texture t{w, h, std::vector<std::uint16_t>(w * h), {}};
  for (int i = 0; i < w * h; ++i) t.texels[i] = platform::pack565(rgb[i * 3], rgb[i * 3 + 1], rgb[i * 3 + 2]);
  return t;
}

struct Mesh {
  std::vector<Vertex> vertices;
  std::vector<WORD> indices;
  Texture* texture = nullptr;
  V3 pos{0, 0, 0};
};

constexpr int kTN = 64;
constexpr float kCell = 20.0f;
float heights[kTN][kTN];
float tcoord(int i) { return (i - (kTN - 1) * 0.5f) * kCell; }
float terrainHeight(float x, float z) {
  float fx = x / kCell + (kTN - 1) * 0.5f, fz = z / kCell + (kTN - 1) * 0.5f;
  fx = std::fmin(std::fmax(fx, 0.0f), kTN - 1.001f);
  fz = std::fmin(std::fmax(fz, 0.0f), kTN - 1.001f);
  int i = int(fx), j = int(fz);
  float a = fx - i, b = fz - j;
  return (heights[j][i] * (1 - a) + heights[j][i + 1] * a) * (1 - b) +
         (heights[j + 1][i] * (1 - a) + heights[j + 1][i + 1] * a) * b;
}

void buildTerrain(Mesh& m, Texture& tex) {
  float lo = 1e9f, hi = -1e9f;
  for (int j = 0; j < kTN; j++)
    for (int i = 0; i < kTN; i++) {
      float h = vnoise(i, j, 16, 64, 1) + 0.5f * vnoise(i, j, 8, 64, 2) + 0.25f * vnoise(i, j, 4, 64, 3) +
                0.12f * vnoise(i, j, 2, 64, 4);
      heights[j][i] = h;
      lo = std::fmin(lo, h), hi = std::fmax(hi, h);
    }
  for (int j = 0; j < kTN; j++)
    for (int i = 0; i < kTN; i++) heights[j][i] = -25.0f + 50.0f * (heights[j][i] - lo) / (hi - lo);
  m.vertices.resize(kTN * kTN);
  for (int j = 0; j < kTN; j++)
    for (int i = 0; i < kTN; i++) {
      Vertex& p = m.vertices[j * kTN + i];
      p.x = tcoord(i), p.z = tcoord(j), p.y = heights[j][i];
      p.u = i / 8.0f, p.v = j / 8.0f;
      int i0 = i > 0 ? i - 1 : i, i1 = i < kTN - 1 ? i + 1 : i;
      int j0 = j > 0 ? j - 1 : j, j1 = j < kTN - 1 ? j + 1 : j;
      V3 n = normalize({-(heights[j][i1] - heights[j][i0]) / ((i1 - i0) * kCell), 1.0f,
                        -(heights[j1][i] - heights[j0][i]) / ((j1 - j0) * kCell)});
      p.color = litColor(n, 1, 1, 1);
    }
  for (int j = 0; j < kTN - 1; j++)
    for (int i = 0; i < kTN - 1; i++) {
      WORD a = WORD(j * kTN + i), b = WORD(a + 1), c = WORD(a + kTN), d = WORD(c + 1);
      m.indices.insert(m.indices.end(), {a, c, b, b, c, d});
    }
  std::vector<std::uint8_t> rgb(256 * 256 * 3);
  for (int y = 0; y < 256; y++)
    for (int x = 0; x < 256; x++) {
      float n = vnoise(x, y, 32, 8, 11) * 0.6f + vnoise(x, y, 8, 32, 12) * 0.3f + vnoise(x, y, 2, 128, 13) * 0.1f;
      float dirt = smooth5(std::fmin(1, std::fmax(0, (vnoise(x, y, 64, 4, 14) - 0.45f) * 4)));
      float r = (0.22f + 0.25f * n) * (1 - dirt) + (0.45f + 0.25f * n) * dirt;
      float g = (0.42f + 0.30f * n) * (1 - dirt) + (0.36f + 0.2f * n) * dirt;
      float b = (0.12f + 0.10f * n) * (1 - dirt) + (0.22f + 0.1f * n) * dirt;
      std::uint8_t* t = &rgb[(y * 256 + x) * 3];
      t[0] = std::uint8_t(255 * r), t[1] = std::uint8_t(255 * g), t[2] = std::uint8_t(255 * b);
    }
  tex = fromRgb(256, 256, rgb);
  m.texture = &tex;
}

int buildSphere(Mesh& m, float r, int sl, int st, bool inward, float uscale, float tr, float tg, float tb) {
  for (int t = 0; t <= st; t++)
    for (int s = 0; s <= sl; s++) {
      float th = kPi * t / st, ph = 2.0f * kPi * s / sl;
      V3 n{std::sin(th) * std::cos(ph), std::cos(th), std::sin(th) * std::sin(ph)};
      Vertex p{r * n.x, r * n.y, r * n.z, inward ? 0xFFFFFFFFu : litColor(n, tr, tg, tb), uscale * s / sl, float(t) / st};
      m.vertices.push_back(p);
    }
  for (int t = 0; t < st; t++)
    for (int s = 0; s < sl; s++) {
      WORD a = WORD(t * (sl + 1) + s), b = WORD(a + 1), c = WORD(a + sl + 1), d = WORD(c + 1);
      if (t != 0) m.indices.insert(m.indices.end(), {a, inward ? c : b, inward ? b : c});
      if (t != st - 1) m.indices.insert(m.indices.end(), {b, inward ? c : d, inward ? d : c});
    }
  return int(m.indices.size() / 3);
}

int buildBox(Mesh& m, float hs, int n, float tr, float tg, float tb) {
  static const float fa[6][3][3] = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}},  {{-1, 0, 0}, {0, 0, 1}, {0, 1, 0}},
                                    {{0, 1, 0}, {0, 0, 1}, {1, 0, 0}},  {{0, -1, 0}, {1, 0, 0}, {0, 0, 1}},
                                    {{0, 0, 1}, {1, 0, 0}, {0, 1, 0}},  {{0, 0, -1}, {0, 1, 0}, {1, 0, 0}}};
  int per = (n + 1) * (n + 1);
  for (int f = 0; f < 6; f++) {
    V3 N{fa[f][0][0], fa[f][0][1], fa[f][0][2]}, U{fa[f][1][0], fa[f][1][1], fa[f][1][2]},
        V{fa[f][2][0], fa[f][2][1], fa[f][2][2]};
    for (int b = 0; b <= n; b++)
      for (int a = 0; a <= n; a++) {
        float fu = -1 + 2.0f * a / n, fv = -1 + 2.0f * b / n;
        V3 p = scale(add(N, add(scale(U, fu), scale(V, fv))), hs);
        m.vertices.push_back({p.x, p.y, p.z, litColor(N, tr, tg, tb), float(a) / n, float(b) / n});
      }
    for (int b = 0; b < n; b++)
      for (int a = 0; a < n; a++) {
        WORD i0 = WORD(f * per + b * (n + 1) + a), i1 = WORD(i0 + 1), i2 = WORD(i0 + n + 1), i3 = WORD(i2 + 1);
        m.indices.insert(m.indices.end(), {i0, i1, i2, i1, i3, i2});
      }
  }
  return int(m.indices.size() / 3);
}

struct Billboard {
  V3 p;
  float hs;
  D3DCOLOR color;
};

class SyntheticScene {
 public:
  SyntheticScene() : color_(kW * kH), depth_(kW * kH), presented_(kW * kH) {
    lightDir = normalize({0.45f, 0.8f, 0.35f});
    buildTerrain(terrain_, terrainTex_);
    setupCamera();
    buildSphere(sky_, 250.0f, 32, 16, true, 2.0f, 1, 1, 1);
    std::vector<std::uint8_t> stex(256 * 128 * 3);
    for (int y = 0; y < 128; y++)
      for (int x = 0; x < 256; x++) {
        float t = y / 127.0f;
        float cl = vnoise(x, 2 * y, 32, 8, 21) * 0.65f + vnoise(x, 2 * y, 8, 32, 22) * 0.35f;
        cl = std::fmax(0, (cl - 0.5f) * 2.5f) * (t < 0.55f ? 1 : 0.3f);
        float r = 0.25f + 0.45f * t, g = 0.45f + 0.35f * t, b = 0.85f + 0.1f * t;
        std::uint8_t* p = &stex[(y * 256 + x) * 3];
        p[0] = std::uint8_t(255 * std::fmin(1, r + (1 - r) * cl));
        p[1] = std::uint8_t(255 * std::fmin(1, g + (1 - g) * cl));
        p[2] = std::uint8_t(255 * std::fmin(1, b + (1 - b) * cl));
      }
    skyTex_ = fromRgb(256, 128, stex);
    sky_.texture = &skyTex_;
    std::vector<std::uint8_t> otex(128 * 128 * 3);
    for (int y = 0; y < 128; y++)
      for (int x = 0; x < 128; x++) {
        int chk = ((x >> 4) ^ (y >> 4)) & 1;
        float n = 0.75f + 0.25f * vnoise(x, y, 4, 32, 31);
        std::uint8_t* p = &otex[(y * 128 + x) * 3];
        p[0] = std::uint8_t((chk ? 230 : 90) * n), p[1] = std::uint8_t((chk ? 220 : 95) * n),
        p[2] = std::uint8_t((chk ? 200 : 120) * n);
      }
    objTex_ = fromRgb(128, 128, otex);
    static const struct {
      int kind, a, b;
      float size, x, y, d, tr, tg, tb;
    } od[10] = {{0, 16, 10, 8, -30, -5, 45, 1.0f, 0.6f, 0.6f},     {0, 20, 12, 10, 35, 10, 60, 0.6f, 1.0f, 0.6f},
                {0, 24, 14, 12, -70, 25, 90, 0.6f, 0.7f, 1.0f},    {0, 28, 15, 14, 60, -10, 110, 1.0f, 1.0f, 0.6f},
                {1, 5, 0, 7, 5, 12, 50, 1.0f, 0.8f, 0.6f},         {1, 6, 0, 9, -50, 30, 75, 0.8f, 0.8f, 1.0f},
                {1, 8, 0, 12, 95, 35, 130, 1.0f, 0.7f, 0.9f},      {0, 18, 12, 9, -110, 5, 140, 0.7f, 1.0f, 1.0f},
                {0, 24, 16, 15, 10, 45, 160, 1.0f, 0.9f, 0.8f},    {1, 7, 0, 10, -15, -25, 100, 0.9f, 1.0f, 0.7f}};
    for (int i = 0; i < 10; i++) {
      if (od[i].kind == 0) buildSphere(objects_[i], od[i].size, od[i].a, od[i].b, false, 2.0f, od[i].tr, od[i].tg, od[i].tb);
      else buildBox(objects_[i], od[i].size, od[i].a, od[i].tr, od[i].tg, od[i].tb);
      V3 p = viewToWorld(od[i].x, od[i].y, od[i].d);
      float floorY = terrainHeight(p.x, p.z) + od[i].size * 1.8f + 2;
      if (p.y < floorY) p.y = floorY;
      objects_[i].pos = p;
      objects_[i].texture = &objTex_;
    }
    for (Billboard& b : billboards_) {
      float d = 40 + 240 * frand();
      float x = (frand() * 2 - 1) * 0.95f * d * (4.0f / 3.0f);
      float y = (frand() * 2 - 1) * 0.95f * d;
      b.p = viewToWorld(x, y, d);
      b.hs = 2.0f + 2.0f * frand();
      float k = 0.25f + 0.35f * frand();
      b.color = 0xFF000000u | (DWORD(255 * k) << 16) | (DWORD(200 * k) << 8) | DWORD(140 * k);
    }
    std::vector<std::uint8_t> btex(64 * 64 * 3);
    for (int y = 0; y < 64; y++)
      for (int x = 0; x < 64; x++) {
        float dx = (x + 0.5f - 32) / 31.0f, dy = (y + 0.5f - 32) / 31.0f;
        float a = std::fmax(0.0f, 1.0f - std::sqrt(dx * dx + dy * dy));
        a = a * a;
        std::uint8_t* t = &btex[(y * 64 + x) * 3];
        t[0] = std::uint8_t(255 * a), t[1] = std::uint8_t(235 * a), t[2] = std::uint8_t(210 * a);
      }
    billboardTex_ = fromRgb(64, 64, btex);

    platform::ColorTarget c{color_.data(), kW * 2, kW, kH};
    platform::DepthTarget z{depth_.data(), kW * 2, kW, kH};
    device_.setTargets(c, &z);
    device_.useDeferredShading(true);  // as the Direct3D layer sets it up
    D3DVIEWPORT2 vp{sizeof(D3DVIEWPORT2), 0, 0, kW, kH, -1, 1, 2, 2, 0, 1};
    device_.setViewport(&vp);
    device_.setTransform(D3DTRANSFORMSTATE_VIEW, view_);
    device_.setTransform(D3DTRANSFORMSTATE_PROJECTION, projection_);
    device_.setRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_CW);  // GL's back faces
    device_.setTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    device_.setTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device_.setTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    device_.setTextureStageState(0, D3DTSS_MAGFILTER, D3DTFG_LINEAR);
    device_.setTextureStageState(0, D3DTSS_MINFILTER, D3DTFN_LINEAR);
    device_.setRenderState(D3DRENDERSTATE_FOGTABLEMODE, D3DFOG_LINEAR);
    device_.setRenderState(D3DRENDERSTATE_FOGTABLESTART, bits(10.0f));
    device_.setRenderState(D3DRENDERSTATE_FOGTABLEEND, bits(300.0f));
  }

  void renderFrame() {
    D3DRECT all{0, 0, kW, kH};
    device_.clear(1, &all, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kFogColor, 1.0f);
    // Sky: centred on the camera, no depth writes, no fog.
    device_.setRenderState(D3DRENDERSTATE_ZWRITEENABLE, FALSE);
    device_.setRenderState(D3DRENDERSTATE_FOGENABLE, FALSE);
    sky_.pos = camPos_;
    draw(sky_);
    device_.setRenderState(D3DRENDERSTATE_ZWRITEENABLE, TRUE);
    device_.setRenderState(D3DRENDERSTATE_FOGENABLE, TRUE);
    device_.setRenderState(D3DRENDERSTATE_FOGCOLOR, kFogColor);
    draw(terrain_);
    for (Mesh& m : objects_) draw(m);
    // Camera-facing quads, rebuilt every frame, one strip each: additive, depth-tested, no
    // depth writes, black fog.
    updateBillboards();
    D3DMATRIX identity{};
    identity._11 = identity._22 = identity._33 = identity._44 = 1;
    device_.setTransform(D3DTRANSFORMSTATE_WORLD, identity);
    platform::TextureImage img = billboardTex_.image();
    device_.setTexture(0, &img);
    device_.setTextureStageState(0, D3DTSS_ADDRESS, D3DTADDRESS_CLAMP);
    device_.setRenderState(D3DRENDERSTATE_ZWRITEENABLE, FALSE);
    device_.setRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, TRUE);
    device_.setRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_ONE);
    device_.setRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_ONE);
    device_.setRenderState(D3DRENDERSTATE_FOGCOLOR, 0);
    for (int i = 0; i < kBillboards; ++i) device_.drawPrimitive(D3DPT_TRIANGLESTRIP, kFvf, &quads_[i * 4], 4, 0);
    device_.setRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, FALSE);
    device_.setRenderState(D3DRENDERSTATE_ZWRITEENABLE, TRUE);
    device_.setTextureStageState(0, D3DTSS_ADDRESS, D3DTADDRESS_WRAP);
    // Present: copy the frame out, as the demo copies its back buffer to the screen.
    device_.flush();
    std::memcpy(presented_.data(), color_.data(), color_.size() * 2);
  }

  const std::vector<std::uint16_t>& frame() const { return presented_; }

 private:
  static constexpr int kBillboards = 1024;
  static constexpr D3DCOLOR kFogColor = 0x009EB3CC;  // (0.62, 0.70, 0.80)
  static DWORD bits(float f) {
    DWORD d;
    std::memcpy(&d, &f, 4);
    return d;
  }

  void setupCamera() {
    const float pitch = -15.0f * kPi / 180.0f;
    camPos_ = {0, 0, 540};
    camPos_.y = terrainHeight(camPos_.x, camPos_.z) + 55.0f;
    camFwd_ = {0, std::sin(pitch), -std::cos(pitch)};
    camRight_ = {1, 0, 0};
    camUp_ = cross(camRight_, camFwd_);
    // Left-handed view: x right, y up, z forward.
    view_ = D3DMATRIX{camRight_.x, camUp_.x, camFwd_.x, 0, camRight_.y, camUp_.y, camFwd_.y, 0,
                      camRight_.z, camUp_.z, camFwd_.z, 0, -dot(camRight_, camPos_), -dot(camUp_, camPos_),
                      -dot(camFwd_, camPos_), 1};
    // 90 degrees vertical field of view, 4:3, near 1, far 1000.
    const float n = 1.0f, f = 1000.0f;
    projection_ = D3DMATRIX{0.75f, 0, 0, 0, 0, 1, 0, 0, 0, 0, f / (f - n), 1, 0, 0, -n * f / (f - n), 0};
  }
  V3 viewToWorld(float x, float y, float d) const {
    return add(camPos_, add(scale(camFwd_, d), add(scale(camRight_, x), scale(camUp_, y))));
  }

  void draw(const Mesh& m) {
    D3DMATRIX world{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, m.pos.x, m.pos.y, m.pos.z, 1};
    device_.setTransform(D3DTRANSFORMSTATE_WORLD, world);
    platform::TextureImage img = m.texture->image();
    device_.setTexture(0, &img);
    device_.drawIndexedPrimitive(D3DPT_TRIANGLELIST, kFvf, m.vertices.data(), DWORD(m.vertices.size()),
                                 m.indices.data(), DWORD(m.indices.size()), 0);
  }

  void updateBillboards() {
    static const float uv[4][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
    for (int i = 0; i < kBillboards; ++i) {
      const Billboard& b = billboards_[i];
      V3 r = scale(camRight_, b.hs), u = scale(camUp_, b.hs);
      V3 c[4] = {add(b.p, scale(add(r, u), -1)), add(b.p, add(r, scale(u, -1))), add(b.p, add(scale(r, -1), u)),
                 add(b.p, add(r, u))};
      for (int k = 0; k < 4; ++k) quads_[i * 4 + k] = {c[k].x, c[k].y, c[k].z, b.color, uv[k][0], uv[k][1]};
    }
  }

  platform::SoftwareDevice device_;
  std::vector<std::uint16_t> color_, depth_, presented_;
  Mesh terrain_, sky_, objects_[10];
  Texture terrainTex_, skyTex_, objTex_, billboardTex_;
  Billboard billboards_[kBillboards];
  Vertex quads_[kBillboards * 4];
  V3 camPos_, camFwd_, camRight_, camUp_;
  D3DMATRIX view_, projection_;
};

void BM_SyntheticFrame(benchmark::State& state) {
  static SyntheticScene* scene = new SyntheticScene;  // built once, like the anchor's
  for (auto _ : state) {
    scene->renderFrame();
    benchmark::DoNotOptimize(scene->frame().data());
  }
  if (const char* path = std::getenv("QEL_FRAME_DUMP")) {
    if (std::FILE* f = std::fopen(path, "wb")) {
      std::fwrite(scene->frame().data(), 2, scene->frame().size(), f);
      std::fclose(f);
    }
  }
}
// The fastest repetition beside the median: on a shared machine other load only adds time, so
// comparing two builds by it needs fewer rounds. QEL_BENCH_SHORT=1 draws 20 frames once, for
// running under valgrind.
BENCHMARK(BM_SyntheticFrame)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(std::getenv("QEL_BENCH_SHORT") ? 20 : 300)
    ->Repetitions(std::getenv("QEL_BENCH_SHORT") ? 1 : 3)
    ->ComputeStatistics("min", [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); })
    ->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
