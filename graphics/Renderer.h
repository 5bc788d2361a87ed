// Renderer: the one object through which the engine reaches Direct3D.
//
// It creates (or is handed) the display, picks the hardware (HAL) device when that device
// offers a plain 16-bit depth format and otherwise falls back to the software (RGB) device in
// system memory, and builds the depth buffer, device, viewport, default material and default
// directional light, then applies the default transforms and states. It owns the table of
// named textures and materials, and holds the work buffers and parameters of the software
// transform-and-lighting path.
//
// Empty (constructed, after releaseAll or after a failed create) or created. `create` starts
// by releasing, so it may be repeated; `releaseAll` is safe on an empty renderer and twice.
// The target is never released by the renderer: it belongs to the display or to the caller.
#pragma once

#include "foundation/HashTable.h"
#include "geometry/math/Matrix4.h"
#include "geometry/math/Vector3.h"
#include "platform/d3d/D3D.h"

class DisplayDevice;
class Surface;
class Texture;

// Whether the last depth-format enumeration of `Renderer::create` found a format whose flags
// are exactly DDPF_ZBUFFER.
extern int depthFormatFound;

class Renderer {
 public:
  static constexpr int kIndexBufferBytes = 30000;    // 15000 16-bit indices
  static constexpr int kVertexBufferBytes = 960000;  // 30000 D3DTLVERTEX records
  static constexpr int kIndexCapacity = kIndexBufferBytes / int(sizeof(WORD));
  static constexpr int kVertexCapacity = kVertexBufferBytes / int(sizeof(D3DTLVERTEX));

  // Empty table, no display or interfaces, work buffers allocated.
  Renderer();
  // Frees the work buffers, then releaseAll.
  virtual ~Renderer();
  Renderer(const Renderer&) = delete;
  Renderer& operator=(const Renderer&) = delete;

  // Builds display (when `givenTarget` is null), depth buffer, device, viewport, material and
  // light for `window`, then the default states; 1, or 0 with everything released.
  virtual int create(HWND window, Surface* givenTarget);
  // Deletes every texture, releases every interface, destroys an owned display; repeatable.
  virtual void releaseAll();
  // Sets identity world/view, the default projection, the default render and light states,
  // and the software lighting parameters.
  virtual void applyDefaultStates();
  // The image entry of the BMP file `fileName` (looked up first, loaded when absent), or null.
  virtual Texture* getTexture(const char* fileName);
  // A new material-only entry under `name` (no lookup first); never null.
  virtual Texture* createMaterial(const char* name, float diffuseRed, float diffuseGreen, float diffuseBlue,
                                  float diffuseAlpha, float ambientRed, float ambientGreen, float ambientBlue,
                                  float ambientAlpha, float specularRed, float specularGreen, float specularBlue,
                                  float specularAlpha, float emissiveRed, float emissiveGreen, float emissiveBlue,
                                  float emissiveAlpha, float power, DWORD rampSize);
  // The entry stored last under exactly `name` (case matters), or null; never loads.
  virtual Texture* findTexture(const char* name);

  int ownsDisplay = 0;              // nonzero when create made the display itself
  DisplayDevice* display = nullptr;  // owned when ownsDisplay
  Surface* target = nullptr;         // render target, not owned
  Surface* depthBuffer = nullptr;    // owned; attached to the target
  IDirect3D3* direct3D = nullptr;
  IDirect3DDevice3* device = nullptr;
  IDirect3DViewport3* viewport = nullptr;
  IDirect3DMaterial3* material = nullptr;  // default material
  IDirect3DLight* light = nullptr;         // default directional light
  D3DMATERIALHANDLE materialHandle = 0;    // the default material's handle on the device
  Matrix4 worldTransform = IdentityMatrix;  // last transforms handed to the device
  Matrix4 projectionTransform = DefaultProjectionMatrix;
  Matrix4 viewTransform = IdentityMatrix;
  StringHashTable textures;  // Texture entries keyed by their name

  WORD* indexBuffer = nullptr;           // kIndexBufferBytes, owned
  D3DTLVERTEX* vertexBuffer = nullptr;   // kVertexBufferBytes, owned
  Vector3 lightDirection = Vector3(0.0f, 0.0f, 1.0f);  // world space, the way the light travels
  float lightColour[3] = {1.0f, 1.0f, 1.0f};
  float halfWidth = 0.0f;   // target width * 0.5, pixels
  float halfHeight = 0.0f;  // target height * 0.5, pixels
  float farDistance = 1000.0f;
  float nearDistance = 1.0f;
  float ambientColour[3] = {0.5f, 0.5f, 0.5f};
  int fullScreen = 0;  // copied into the display before its creation
};
