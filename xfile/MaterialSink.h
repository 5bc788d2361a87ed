// MaterialSink: the table of named textures and materials that the .x reader registers into.
// The renderer keeps these entries for the rest of the run; the reader and its meshes only
// hold plain pointers to them (`Texture` is the renderer's entry type and stays opaque here).
// Every operation is the renderer's own: a thin adapter over the Renderer satisfies it, and
// tools and tests supply their own tables.
#pragma once

#include "platform/d3d/D3DTypes.h"

class Texture;

class MaterialSink {
 public:
  virtual ~MaterialSink() = default;

  // The image entry of `fileName` (looked up first, loaded when absent), or null when it
  // cannot be loaded.
  virtual Texture* getTexture(const char* fileName) = 0;
  // A new material entry under `name` (never looked up first; never fails).
  virtual Texture* createMaterial(const char* name, const D3DCOLORVALUE& diffuse, const D3DCOLORVALUE& ambient,
                                  const D3DCOLORVALUE& specular, const D3DCOLORVALUE& emissive, float power,
                                  DWORD rampSize) = 0;
  // The entry stored under exactly `name` (the one entered last), or null; never loads.
  virtual Texture* findTexture(const char* name) = 0;
  // Stores the image entry a material entry is drawn with (null: none).
  virtual void setBoundTexture(Texture* material, Texture* texture) = 0;
  // The image entry a material entry is drawn with, or null.
  virtual Texture* boundTexture(Texture* material) = 0;
  // The entry's Direct3D material description (colours and power), or null when it has none.
  virtual const D3DMATERIAL* materialDesc(Texture* entry) = 0;
};
