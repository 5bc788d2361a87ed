// shutDownScene: releases the whole scene, in this order: sceneReady cleared; then, when there
// is a renderer, the 1024 particles, the 16 missiles and the particle template (each unlinked
// from whatever tree holds it, then deleted), the scene tree and the particle tree (every
// descendant, then the root), and the renderer (textures, Direct3D, DirectDraw, display mode).
// Every pointer of the scene state is nulled as its object goes, so a second call, or a frame
// after it, finds nothing to touch. Entries that were never created are skipped.
#pragma once

void shutDownScene();
