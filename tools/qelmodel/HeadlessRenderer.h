// HeadlessRenderer: the engine's Renderer on the headless display backend, for qelmodel and
// its tests. Construction resets the window system, installs a fresh headless backend, opens a
// 640x480 window and creates the Renderer windowed on it (its target is the display's 640x480
// back buffer); `target` is the .x reader's view of that Renderer. Destruction releases the
// Renderer, resets the window system and removes the backend. One at a time per process.
#pragma once

#include "graphics/Renderer.h"
#include "xfile/RendererModelTarget.h"

class HeadlessRenderer {
 public:
  HeadlessRenderer();
  ~HeadlessRenderer();
  HeadlessRenderer(const HeadlessRenderer&) = delete;
  HeadlessRenderer& operator=(const HeadlessRenderer&) = delete;

  // Whether Renderer::create succeeded (device, viewport and target are there).
  bool created() const { return created_; }

  Renderer renderer;                     // created windowed on the headless window
  RendererModelTarget target{renderer};  // what loadModel and TQelXMesh::draw are given

 private:
  bool created_ = false;
};
