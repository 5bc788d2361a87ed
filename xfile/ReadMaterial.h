// readMaterial: a Material data object, or a mesh's MeshMaterialList, turned into entries of
// the renderer's table. The file's colours land in these slots: face colour -> diffuse,
// specular colour -> ambient (alpha 0), emissive colour -> specular (alpha 0); the emissive
// is always (0.5, 0.5, 0.5, 1) and the ramp size 1. A mesh has exactly one material, the
// first entry of its list; whatever follows that entry in the list is never read.
#pragma once

class MaterialSink;
class TextStream;
class TQelXMesh;

// topLevel set (mesh null): reads from the token after "Material" up to the Material's "}".
// topLevel clear (mesh given): reads from the token after "MeshMaterialList" up to the list's
// "}" (or the end of the data) and sets the mesh's material and texture.
void readMaterial(MaterialSink& renderer, TextStream& text, TQelXMesh* mesh, bool topLevel);
