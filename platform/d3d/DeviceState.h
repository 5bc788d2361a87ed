// Render state of the software device as plain data: the D3DRENDERSTATE_* and D3DTSS_*
// values, the three transforms and the legacy texture-blend switch, with the genuine
// IDirect3DDevice3 defaults. Validation of state numbers happens here; what a value means
// is decided when a draw call builds its pipeline (PixelPipeline, VertexProcessing).
#pragma once

#include "platform/d3d/D3DTypes.h"

namespace platform {

struct DeviceState {
  DWORD render[kD3DRenderStateLimit];
  DWORD stage[kD3DTextureStageCount][kD3DTextureStageStateLimit];
  D3DMATRIX world, view, projection;
  // True after D3DRENDERSTATE_TEXTUREMAPBLEND was set and before a stage-0 colour or alpha
  // state was set: the legacy blend mode then decides how stage 0 combines.
  bool legacyBlendActive = false;

  // The defaults of a freshly created device; ZENABLE is TRUE when a depth buffer exists.
  void reset(bool hasDepthBuffer);
  // Stores a render state; false (nothing stored) for numbers outside 1..limit-1.
  bool setRender(DWORD state, DWORD value);
  // Stores a stage state; false for stage >= 8 or an unknown type.
  bool setStage(DWORD stageIndex, DWORD type, DWORD value);
  // A render state holding float bits (FOGTABLESTART, FOGTABLEEND, FOGTABLEDENSITY).
  float renderFloat(DWORD state) const;
  // True when the projection's fourth column is not (0, 0, 0, 1): fog then uses view depth.
  bool projectionIsPerspective() const;
};

// The identity matrix.
D3DMATRIX identityMatrix();
// a * b for row vectors (a is applied first).
D3DMATRIX multiply(const D3DMATRIX& a, const D3DMATRIX& b);

}  // namespace platform
