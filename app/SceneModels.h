// Meshes and textures of the scene's actors.
//
// loadSceneMesh is the actor's loadMesh completed with the texture of the model's first mesh
// (the device texture of its table entry), read from the same single load of the file. A model
// that cannot be read leaves the actor without mesh or texture (the loader logs the file).
#pragma once

class MaterialSink;
class MeshActor;
class Texture;

// Fills the actor's mesh and texture from the first mesh of the .x model `fileName`; 1 when a
// mesh was loaded, else 0.
int loadSceneMesh(MeshActor& actor, MaterialSink& table, const char* fileName);
// texture = the entry's device texture; a null entry gives no texture.
void setTexture(MeshActor& actor, const Texture* entry);
