// ActorCollisions: the collision tests on actors, over their positions (translation rows of
// localMatrix) and mesh arrays. With `resolve`, the first actor is moved out of contact.
#pragma once

class MeshActor;
class TerrainActor;

// The cubes of half-size 2 around the two positions overlap or touch.
bool boxOverlap(MeshActor& a, const MeshActor& b, bool resolve);
// The actor's height plus its groundOffset lies below the terrain; resolving lifts it onto the
// ground and, when its `bounces` flag is set, reflects its velocity. No terrain mesh: false.
bool terrainContact(MeshActor& actor, const TerrainActor& terrain, bool resolve);
// The cube around a's position crosses a triangle of b's mesh (in b's frame). No mesh: false.
bool boxMeshContact(MeshActor& a, const MeshActor& b, bool resolve);
