// From application vertices to clip-space vertices: flexible-vertex-format decoding, the
// world/view/projection transform (row vectors) and the fixed-function lighting of
// IDirect3DDevice3 (directional lights, ambient, material, Blinn specular with a local
// viewer). Pre-transformed vertices (XYZRHW) pass through in screen space.
//
// Colours are carried as floats in 0..255. Every output vertex holds kAttrCount attributes.
#pragma once

#include "platform/d3d/DeviceBackend.h"
#include "platform/d3d/DeviceState.h"

#include <cstdint>

namespace platform {

enum VertexAttr { kAttrR, kAttrG, kAttrB, kAttrA, kAttrSR, kAttrSG, kAttrSB, kAttrSA, kAttrU, kAttrV, kAttrCount };

// A vertex before clipping. Transformed path: (x, y, z, w) in clip space, attributes plain.
// Screen-space path: (sx, sy, sz, 1), `rhw` as given and attributes already multiplied by
// the perspective weight (see VertexLayout::screenSpace).
struct ClipVertex {
  float pos[4];
  float rhw;
  float attr[kAttrCount];
};

// Where each component lies in a vertex of a flexible vertex format.
struct VertexLayout {
  bool screenSpace = false;  // XYZRHW
  int stride = 0;
  int normalOffset = -1;
  int diffuseOffset = -1;
  int specularOffset = -1;
  int texOffset = -1;  // first texture coordinate pair

  // Decodes `fvf`; false for formats without XYZ or XYZRHW, with blend weights or with
  // unknown bits.
  static bool decode(DWORD fvf, VertexLayout* out);
};

// Everything vertex processing needs from the device state for one draw call.
struct VertexSetup {
  D3DMATRIX worldViewProjection;
  D3DMATRIX worldView;
  float normalMatrix[9] = {};  // inverse transpose of worldView's 3x3, row-major; n' = n * N
  bool lighting = false;  // a material is set, the vertex has a normal and DONOTLIGHT is clear
  D3DMATERIAL material{};
  float ambient[3] = {0, 0, 0};  // D3DLIGHTSTATE_AMBIENT, 0..1
  int lightCount = 0;
  float lightToward[kMaxLights][3];  // unit vector toward the light, view space
  float lightColor[kMaxLights][3];
  bool lightSpecular[kMaxLights];
  bool perspective = true;  // TEXTUREPERSPECTIVE (screen-space path: weight attributes by rhw)

  // Fills the matrices and the flags, and when lighting the normal matrix and the light
  // directions in view space (without lighting, lightCount is 0 and those stay untouched).
  // A VertexSetup kept from draw to draw multiplies the matrices only when one changed.
  void prepare(const D3DMATRIX& world, const D3DMATRIX& view, const D3DMATRIX& projection,
               const D3DMATERIAL* materialOrNull, D3DCOLOR ambientColor, const LightSource* lights,
               int lightCountIn, bool layoutHasNormal, bool doNotLight);

 private:
  bool productsValid_ = false;  // worldView and worldViewProjection are products of productOf_
  D3DMATRIX productOf_[3]{};    // world, view, projection
};

// Transforms and lights `count` vertices of `layout` from `data` into `out`.
void processVertices(const VertexLayout& layout, const VertexSetup& setup, const std::uint8_t* data, int count,
                     ClipVertex* out);

// Lights one vertex: view-space position and unit normal; vertex colours or null.
// Writes diffuse (RGBA) and specular (RGB, alpha 255) in 0..255.
void lightVertex(const VertexSetup& setup, const float viewPos[3], const float normal[3],
                 const D3DCOLOR* vertexDiffuse, float outDiffuse[4], float outSpecular[4]);

}  // namespace platform
