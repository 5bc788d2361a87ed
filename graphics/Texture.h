// Texture: one entry of the renderer's table of named textures and materials.
//
// An image entry (loadImage) holds a BMP file's pixels in a system-memory texture surface in
// the display's format, the device copy drawing code binds (`deviceSurface`/`deviceTexture`:
// a video-memory copy for the hardware device, the system surface itself for the software
// device) and a default material. A material-only entry (defineMaterial) holds just a named
// material with the colours of a .x Material, and optionally the image entry it is drawn with
// (`boundTexture`). Entries are keyed by their name through `tableNode`; they are owned and
// deleted by the renderer. Releasing an entry (releaseSurface, loadImage, defineMaterial, the
// destructor) also takes it out of the table, so a reloaded entry is never listed twice.
#pragma once

#include "foundation/HashTable.h"
#include "foundation/HeapString.h"
#include "graphics/Surface.h"
#include "platform/d3d/D3D.h"

class Renderer;

class Texture : public Surface {
 public:
  // Unlinked, nameless, no interfaces; the display is filled in by loadImage/defineMaterial.
  Texture();
  // releaseSurface, then the name is freed.
  ~Texture() override;

  // Leaves the table, releases material, device and system texture interfaces, the device
  // surface, then palette and surface.
  void releaseSurface() override;
  // Loads the BMP file `fileName` for `owner` and enters it under that name; 1, or 0 with one
  // message in the debug log (file not loadable, or texture surface not creatable).
  virtual int loadImage(const char* fileName, Renderer* owner);
  // Makes a material-only entry `materialName` (null counts as "") with these colours for
  // `owner` and enters it; always 1.
  virtual int defineMaterial(const char* materialName, float diffuseRed, float diffuseGreen, float diffuseBlue,
                             float diffuseAlpha, float ambientRed, float ambientGreen, float ambientBlue,
                             float ambientAlpha, float specularRed, float specularGreen, float specularBlue,
                             float specularAlpha, float emissiveRed, float emissiveGreen, float emissiveBlue,
                             float emissiveAlpha, float power, DWORD rampSize, Renderer* owner);
  // Replaces the material by a new one with these colours (materialDesc always updated; the
  // Direct3D material only while the renderer has Direct3D); always 1.
  virtual int setMaterial(float diffuseRed, float diffuseGreen, float diffuseBlue, float diffuseAlpha,
                          float ambientRed, float ambientGreen, float ambientBlue, float ambientAlpha,
                          float specularRed, float specularGreen, float specularBlue, float specularAlpha,
                          float emissiveRed, float emissiveGreen, float emissiveBlue, float emissiveAlpha,
                          float power, DWORD rampSize);

  // Copies the system image into a separate device surface; nothing when they are the same.
  void upload();
  // The image entry a material entry is drawn with (not owned; null: none).
  void setBoundTexture(Texture* entry) { boundTexture_ = entry; }
  Texture* boundTexture() const { return boundTexture_; }

  Renderer* renderer = nullptr;                 // not owned
  IDirect3DTexture2* deviceTexture = nullptr;   // interface of deviceSurface: what drawing binds
  IDirect3DTexture2* systemTexture = nullptr;   // interface of the system-memory surface
  IDirect3DMaterial3* material = nullptr;
  D3DMATERIAL materialDesc{};                   // colours and power, for software lighting
  IDirectDrawSurface4* deviceSurface = nullptr;  // device copy, or the system surface (own reference)
  D3DMATERIALHANDLE materialHandle = 0;         // material's handle on the renderer's device
  HeapString name;                              // the key: file name as passed, or material name
  HashNode tableNode;                           // key = name's characters, value = this

 private:
  // Makes `material` from materialDesc on the renderer's Direct3D and takes its handle.
  void createDeviceMaterial();
  // Sets the key and value of tableNode and inserts it into the renderer's table.
  void enterIntoTable();

  Texture* boundTexture_ = nullptr;  // not owned
};
