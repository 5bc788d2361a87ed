// MeshActor: an actor with a local transform and an optional indexed triangle mesh with one
// texture; the base of every object of the scene. It owns its vertex and index arrays (freed
// with the actor or when a new mesh replaces them) and never owns its texture. Without a mesh
// it draws nothing of its own but still passes the walks on, which is how the roots work.
#pragma once

#include <cstdint>

#include "actors/Actor.h"
#include "geometry/MeshView.h"
#include "geometry/math/MeshVertex.h"

struct IDirect3DTexture2;
class MaterialSink;
class Texture;

class MeshActor : public Actor {
 public:
  MeshActor() = default;
  ~MeshActor() override;

  // Fills the mesh and texture from the first mesh of the .x model `fileName` (the model itself
  // is released). A missing model or one without a mesh leaves the actor without mesh or
  // texture (the loader's log line is the report); 1 when a mesh was loaded, else 0.
  virtual int loadMesh(MaterialSink& renderer, const char* fileName);
  // texture = the entry's device texture; a null entry gives no texture.
  void setTexture(const Texture* entry);
  // Frees any mesh, then allocates vertexCount vertices and indexCount indices (contents
  // undefined). Returns the index block; null, and no mesh, for a negative count.
  std::uint16_t* allocateMesh(std::int32_t vertexCount, std::int32_t indexCount);
  // Frees the mesh arrays; the actor then has no mesh.
  void freeMesh();
  // Builds a unit sphere (segments around z, rings from pole to pole). Nothing happens below 3
  // segments or rings, or when the vertices would not fit 16-bit indices.
  void buildSphere(std::int32_t segments, std::int32_t rings);
  // Replaces the texture coordinates by each vertex's longitude and latitude; no mesh: nothing.
  void sphericalTexCoords();
  // tu = x / scale, tv = z / scale for every vertex; no mesh: nothing.
  void planarTexCoords(float scale);

  // The mesh as plain data for the collision tests.
  MeshView meshView() const { return MeshView{vertices, vertexCount, indices, indexCount}; }
  // The position: the translation row of localMatrix.
  Vector3 position() const { return Vector3(localMatrix._41, localMatrix._42, localMatrix._43); }
  void setPosition(const Vector3& p);
  // The velocity a terrain bounce reflects, or null for actors that do not move by velocity.
  virtual Vector3* bounceVelocity();

  Matrix4 localMatrix = IdentityMatrix;  // relative to the parent; translation = position
  MeshVertex* vertices = nullptr;        // owned; model space
  std::int32_t vertexCount = 0;
  std::uint16_t* indices = nullptr;      // owned; triangle list
  std::int32_t indexCount = 0;
  IDirect3DTexture2* texture = nullptr;  // not owned (the renderer's Texture keeps it)
  std::int32_t bounces = 0;              // nonzero: terrainContact reflects bounceVelocity
  float groundOffset = -3.0f;            // added to the height before the terrain test

 protected:
  // The default draw of the node itself: the mesh under localMatrix * parentWorld.
  Matrix4 drawSelf(IDirect3DDevice3* device, const Matrix4& parentWorld) override;
};
