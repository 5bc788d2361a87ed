// Renders a loaded model the way TQelXMesh::draw draws it (software transform and lighting,
// pre-transformed vertices) on the software Direct3D device, into a 640x480 PNG. Every mesh is
// drawn with its frame's accumulated transform; the camera looks at the centre of the model's
// world-space bounds from a distance that fits them, turned by yaw (about y) and pitch (about
// x); the light shines from the camera. Meshes without a material (which the engine does not
// draw) are drawn with the renderer's default material colours.
#pragma once

class ModelTable;
class TQelXFrame;

struct RenderOptions {
  float yawDegrees = 30.0f;
  float pitchDegrees = 20.0f;
};

// Writes the PNG; false (with nothing written) when the image cannot be written.
// `drawnMeshes` receives the number of meshes with vertices that were drawn.
bool renderModel(TQelXFrame* root, ModelTable& table, const RenderOptions& options, const char* pngPath,
                 int* drawnMeshes);
