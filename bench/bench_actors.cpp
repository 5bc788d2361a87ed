// Actor costs per frame: one update walk and one draw (the additive particle pass through the
// software RGB device, 640x480) over a ring of 1025 particles, and the box test of one actor
// against a mesh of 300 triangles (no bounding test: 12 box triangles against every mesh
// triangle, both ways).
//
// Run: cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DQEL_BENCH=ON -DQEL_TESTS=OFF
//      cmake --build build/bench --target bench_actors && build/bench/bench/bench_actors
#include <benchmark/benchmark.h>

#include <initializer_list>
#include <memory>
#include <vector>

#include "actors/ActorCollisions.h"
#include "actors/ParticleActor.h"
#include "platform/d3d/D3D.h"
#include "platform/ddraw/SurfaceAccess.h"
#include "tests/support/RgbDeviceRig.h"

namespace {

constexpr int kRingParticles = 1025;

struct ParticleRing {
  MeshActor root;
  std::vector<std::unique_ptr<ParticleActor>> particles;

  ParticleRing() {
    for (int k = 0; k < kRingParticles; ++k) {
      auto p = std::make_unique<ParticleActor>();
      p->resetParticle(float(k % 32), 10.0f, float(k / 32));
      p->velocity = Vector3(0.01f * float(k % 7), 0.2f, -0.01f * float(k % 5));
      p->life = 1 << 30;  // never expires while measured
      root.insertChild(p.get());
      particles.push_back(std::move(p));
    }
  }
};

void BM_ParticleRingUpdate(benchmark::State& state) {
  ParticleRing ring;
  for (auto _ : state) {
    ring.root.update();
    benchmark::DoNotOptimize(ring.particles.back()->localMatrix._42);
  }
  state.SetItemsProcessed(state.iterations() * kRingParticles);
}
BENCHMARK(BM_ParticleRingUpdate);

// The RGB device over a 640x480 target with depth, set up for the particle pass.
struct ParticleDevice {
  qeltest::RgbDeviceRig rig;
  IDirectDrawSurface4* textureSurface = nullptr;
  IDirect3DTexture2* texture = nullptr;

  bool create() {
    if (!rig.create(640, 480)) return false;
    IDirect3DDevice3* device = rig.device;
    DDSURFACEDESC2 d = qeltest::describeSurface(16, 16, DDSCAPS_TEXTURE | DDSCAPS_SYSTEMMEMORY);
    rig.dd->CreateSurface(&d, &textureSurface, nullptr);
    platform::SurfaceMemory m;
    platform::surfaceMemory(textureSurface, m);
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x)
        reinterpret_cast<std::uint16_t*>(static_cast<std::uint8_t*>(m.bits) + y * m.pitch)[x] =
            std::uint16_t(0x8000 + 0x0410 * ((x + y) % 8));
    platform::markSurfaceChanged(textureSurface);  // written past Lock
    textureSurface->QueryInterface(IID_IDirect3DTexture2, reinterpret_cast<void**>(&texture));
    device->SetRenderState(D3DRENDERSTATE_ZWRITEENABLE, 0);
    device->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 1);
    device->SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_ONE);
    device->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_ONE);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTFN_LINEAR);
    device->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTFG_LINEAR);
    device->SetTexture(0, texture);
    return true;
  }
  ~ParticleDevice() {
    if (rig.device) rig.device->SetTexture(0, nullptr);
    for (IUnknown* u : std::initializer_list<IUnknown*>{texture, textureSurface})
      if (u) u->Release();
    rig.release();
  }
};

void BM_ParticleRingDraw(benchmark::State& state) {
  ParticleDevice gpu;
  if (!gpu.create()) {
    state.SkipWithError("no RGB device");
    return;
  }
  ParticleRing ring;
  for (auto& p : ring.particles) {  // spread over the screen, 8 to 40 units deep
    const int k = int(&p - &ring.particles[0]);
    p->resetParticle(float(k % 41 - 20) * 0.6f, float(k / 41 % 25 - 12) * 0.45f, 8.0f + float(k % 33));
    p->life = 64 + k % 448;
    p->texture = gpu.texture;
  }
  const D3DRECT all{0, 0, 640, 480};
  for (auto _ : state) {
    state.PauseTiming();  // the clear is not part of the particle pass
    gpu.rig.viewport->Clear2(1, const_cast<D3DRECT*>(&all), D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
    state.ResumeTiming();
    gpu.rig.device->BeginScene();
    ring.root.draw(gpu.rig.device, IdentityMatrix);
    gpu.rig.device->EndScene();
  }
  state.SetItemsProcessed(state.iterations() * kRingParticles);
}
BENCHMARK(BM_ParticleRingDraw)->Unit(benchmark::kMicrosecond);

void BM_BoxMeshContact300(benchmark::State& state) {
  MeshActor mesh;
  mesh.buildSphere(15, 11);  // 15 * 10 * 2 = 300 triangles
  for (int k = 0; k < mesh.vertexCount; ++k) {
    mesh.vertices[k].x *= 5.0f, mesh.vertices[k].y *= 5.0f, mesh.vertices[k].z *= 5.0f;
  }
  mesh.localMatrix._41 = 20.0f;
  MeshActor mover;
  mover.setPosition(Vector3(20.0f, 0.0f, 5.5f));  // the box straddles the sphere's surface
  for (auto _ : state) benchmark::DoNotOptimize(boxMeshContact(mover, mesh, false));
  state.SetItemsProcessed(state.iterations() * (mesh.indexCount / 3));
}
BENCHMARK(BM_BoxMeshContact300);

}  // namespace

BENCHMARK_MAIN();
