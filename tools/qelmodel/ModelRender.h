// Renders a loaded model through TQelXMesh::draw (software transform and lighting,
// pre-transformed vertices) on the Renderer's device into its target, written as a PNG
// (640x480 for a HeadlessRenderer). Every mesh is drawn with its frame's accumulated transform;
// the camera looks at the centre of the model's world-space bounds from a distance that fits
// them, turned by yaw (about y) and pitch (about x); the light shines from the camera (the
// Renderer's light direction is changed). Meshes without a material (which the engine does not
// draw) are drawn with the colours of the Renderer's default material.
#pragma once

class Renderer;
class TQelXFrame;

struct RenderOptions {
  float yawDegrees = 30.0f;
  float pitchDegrees = 20.0f;
};

// Clears, draws and writes the PNG; false when the Renderer has no device or target or the
// image cannot be written. `drawnMeshes` receives the number of meshes with vertices that were drawn.
bool renderModel(TQelXFrame* root, Renderer& renderer, const RenderOptions& options, const char* pngPath,
                 int* drawnMeshes);
