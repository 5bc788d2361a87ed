// Actor costs per frame: one update walk over a ring of 1025 particles, and the box test of
// one actor against a mesh of 300 triangles (no bounding test: 12 box triangles against every
// mesh triangle, both ways).
//
// Run: cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DQEL_BENCH=ON -DQEL_TESTS=OFF
//      cmake --build build/bench --target bench_actors && build/bench/bench/bench_actors
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "actors/ActorCollisions.h"
#include "actors/ParticleActor.h"

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
