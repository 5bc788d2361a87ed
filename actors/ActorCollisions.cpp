#include "actors/ActorCollisions.h"

#include "actors/TerrainActor.h"
#include "geometry/BoxMeshContact.h"
#include "geometry/BoxOverlap.h"
#include "geometry/TerrainContact.h"

bool boxOverlap(MeshActor& a, const MeshActor& b, bool resolve) {
  Vector3 p = a.position();
  const bool touched = boxOverlap(p, b.position(), resolve);
  if (touched && resolve) a.setPosition(p);
  return touched;
}

bool terrainContact(MeshActor& actor, const TerrainActor& terrain, bool resolve) {
  Vector3 p = actor.position();
  Vector3* velocity = actor.bounces != 0 ? actor.bounceVelocity() : nullptr;
  const bool touched = terrainContact(p, actor.groundOffset, velocity, terrain.terrainView(), resolve);
  if (touched && resolve) actor.setPosition(p);
  return touched;
}

bool boxMeshContact(MeshActor& a, const MeshActor& b, bool resolve) {
  Vector3 p = a.position();
  const bool touched = boxMeshContact(p, b.localMatrix, b.meshView(), resolve);
  if (touched && resolve) a.setPosition(p);
  return touched;
}
