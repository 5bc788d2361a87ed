#include "app/SceneSetUp.h"

#include <cmath>

#include "actors/ChaserActor.h"
#include "actors/MissileActor.h"
#include "actors/ParticleActor.h"
#include "actors/SkyActor.h"
#include "actors/TerrainActor.h"
#include "app/RandomGenerator.h"
#include "app/SceneState.h"
#include "graphics/Renderer.h"
#include "xfile/RendererModelTarget.h"

namespace {

constexpr int kSphereSegments = 32;
constexpr int kSphereRings = 16;
constexpr int kTerrainGrid = 64;
constexpr float kTerrainCell = 20.0f;
constexpr float kTerrainTextureScale = 200.0f;

void createActors() {
  scene.sceneRoot = new MeshActor;
  scene.particleRoot = new MeshActor;
  scene.armBase = new MeshActor;
  scene.armJoint = new MeshActor;
  scene.armClaw = new MeshActor;
  scene.armSphere = new MeshActor;
  scene.player = new MeshActor;
  for (MeshActor*& box : scene.boxes) box = new MeshActor;
  scene.potObstacle = new MeshActor;
  scene.sky = new SkyActor;
  for (MissileActor*& missile : scene.missiles) missile = new MissileActor;
  scene.terrain = new TerrainActor;
  scene.particleTemplate = new ParticleActor;
  for (ParticleActor*& particle : scene.particles) particle = new ParticleActor;
  for (ChaserActor*& enemy : scene.enemies) enemy = new ChaserActor;
}

void loadModels(MaterialSink& table) {
  scene.armBase->loadMesh(table, "ball.x");
  scene.armJoint->loadMesh(table, "ball.x");
  scene.armClaw->loadMesh(table, "tsume.x");
  scene.player->loadMesh(table, "f22.x");
  for (MissileActor* missile : scene.missiles) missile->loadMesh(table, "daikon.x");
  for (MeshActor* box : scene.boxes) box->loadMesh(table, "box.x");
  scene.potObstacle->loadMesh(table, "tsubo.x");
  scene.sky->loadMesh(table, "sky2.x");
}

void linkTrees() {
  MeshActor& root = *scene.sceneRoot;
  root.insertChild(scene.armBase);
  root.insertChild(scene.sky);
  for (MeshActor* box : scene.boxes) root.insertChild(box);
  root.insertChild(scene.potObstacle);
  root.insertChild(scene.player);
  root.insertChild(scene.terrain);
  scene.armBase->insertChild(scene.armJoint);
  scene.armJoint->insertChild(scene.armClaw);
  scene.armJoint->insertChild(scene.armSphere);
  scene.particleRoot->insertChild(scene.particleTemplate);
  for (ChaserActor* enemy : scene.enemies) root.insertChild(enemy);
}

void placeAt(MeshActor& actor, float x, float y, float z) { actor.localMatrix = translationMatrix(x, y, z); }

void placeActors() {
  placeAt(*scene.armJoint, 0, 2, 0);
  placeAt(*scene.armClaw, 0, 2, 0);
  placeAt(*scene.armSphere, 2, 0, 0);
  placeAt(*scene.terrain, 0, 0, 0);
  placeAt(*scene.player, 0, 0, -10);
  placeAt(*scene.boxes[0], 0, 20, 80);
  placeAt(*scene.boxes[1], 3, 25, 86);
  placeAt(*scene.boxes[2], -10, 15, 70);
  placeAt(*scene.potObstacle, 120, 5, 150);
}

// Four draws per enemy: a position in [0, 4] x [2, 3] x [0, 4] and a heading in [0, pi/2].
void placeEnemies() {
  for (ChaserActor* enemy : scene.enemies) {
    const std::int32_t r1 = drawRandom(), r2 = drawRandom(), r3 = drawRandom(), r4 = drawRandom();
    const float a = float(4 * r1) * kRandomUnit;
    const float b = 2.0f + float(r2) * kRandomUnit;
    const float c = float(4 * r3) * kRandomUnit;
    const float heading = float(r4) * kPi * kHeadingUnit;
    enemy->localMatrix = rotationYMatrix(heading) * translationMatrix(c, b, a);  // turned first, then moved
  }
}

void setTargets() {
  for (int i = 0; i < kEnemyCount; ++i) scene.enemies[i]->setTargetActor(scene.enemies[(i + 1) % kEnemyCount]);
  scene.enemies[3]->setTargetActor(scene.player);
}

void applyTextures(Renderer& renderer) {
  const Texture* check = renderer.getTexture("check.bmp");
  scene.armJoint->setTexture(check);
  scene.armSphere->setTexture(check);
  scene.armBase->setTexture(renderer.getTexture("akakumo.bmp"));
  scene.terrain->setTexture(renderer.getTexture("map.bmp"));
  const Texture* spark = renderer.getTexture("bakuhatsu.BMP");
  scene.particleTemplate->setTexture(spark);
  for (ParticleActor* particle : scene.particles) particle->setTexture(spark);
}

}  // namespace

SkyActor* setUpScene(HWND window) {
  seedRandom(kSceneRandomSeed);
  scene.renderer = new Renderer;
  scene.renderer->fullScreen = 1;
  if (scene.renderer->create(window, nullptr) == 0) return nullptr;
  RendererModelTarget table(*scene.renderer);

  createActors();
  loadModels(table);
  scene.particleTemplate->resetParticle(0.0f, 0.0f, -10.0f);
  scene.armSphere->buildSphere(kSphereSegments, kSphereRings);
  scene.terrain->buildTerrain("land.bmp", kTerrainGrid, kTerrainCell, kTerrainHeightScale);
  for (ChaserActor* enemy : scene.enemies) enemy->loadMesh(table, "f22.x");
  linkTrees();
  placeActors();
  placeEnemies();
  setTargets();
  scene.armBase->sphericalTexCoords();
  scene.armJoint->sphericalTexCoords();
  scene.armClaw->sphericalTexCoords();
  scene.terrain->planarTexCoords(kTerrainTextureScale);
  applyTextures(*scene.renderer);
  scene.cameraMatrix = translationMatrix(0.0f, 0.0f, -10.0f);
  scene.sky->followMatrix = &scene.cameraMatrix;
  scene.sceneReady = true;
  return scene.sky;
}
