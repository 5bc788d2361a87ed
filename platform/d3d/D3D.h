// Direct3D of DirectX 6 as the engine uses it: IDirect3D3 (obtained by QueryInterface from
// IDirectDraw4), IDirect3DDevice3, IDirect3DViewport3, IDirect3DMaterial3, IDirect3DLight and
// IDirect3DTexture2 (obtained by QueryInterface from a texture surface), with the genuine
// identifiers, structures and results. Methods are the ones the engine calls, in their
// genuine relative order.
//
// Devices: IID_IDirect3DRGBDevice (also the MMX and reference GUIDs) is the software
// rasterizer over the DirectDraw surfaces' memory; there is no hardware device, so
// EnumZBufferFormats enumerates nothing for IID_IDirect3DHALDevice and CreateDevice refuses
// it. The RGB device offers one depth format: 16 bits, dwFlags exactly DDPF_ZBUFFER.
// Render targets and textures are 16-bit RGB565 surfaces; the depth buffer is the 16-bit
// z surface attached to the target when the device is created.
#pragma once

#include "platform/d3d/D3DTypes.h"
#include "platform/ddraw/DDraw.h"

struct IDirect3D3;
struct IDirect3DDevice3;
struct IDirect3DViewport3;
struct IDirect3DMaterial3;
struct IDirect3DLight;
struct IDirect3DTexture2;
typedef IDirect3D3* LPDIRECT3D3;
typedef IDirect3DDevice3* LPDIRECT3DDEVICE3;
typedef IDirect3DViewport3* LPDIRECT3DVIEWPORT3;
typedef IDirect3DMaterial3* LPDIRECT3DMATERIAL3;
typedef IDirect3DLight* LPDIRECT3DLIGHT;
typedef IDirect3DTexture2* LPDIRECT3DTEXTURE2;
typedef D3DMATERIAL* LPD3DMATERIAL;
typedef D3DVIEWPORT2* LPD3DVIEWPORT2;
typedef D3DMATRIX* LPD3DMATRIX;
typedef D3DMATERIALHANDLE* LPD3DMATERIALHANDLE;
typedef D3DTEXTUREHANDLE* LPD3DTEXTUREHANDLE;
typedef GUID CLSID;
typedef const CLSID& REFCLSID;

// Enumeration callbacks return D3DENUMRET_OK to go on, D3DENUMRET_CANCEL to stop.
#define D3DENUMRET_CANCEL 0
#define D3DENUMRET_OK 1
typedef HRESULT(CALLBACK* LPD3DENUMPIXELFORMATSCALLBACK)(LPDDPIXELFORMAT format, LPVOID context);

// Bit depths in D3DDEVICEDESC (DDBD_ flags).
#define DDBD_8 0x00000800
#define DDBD_16 0x00000400
#define DDBD_24 0x00000200
#define DDBD_32 0x00000100

struct D3DTRANSFORMCAPS {
  DWORD dwSize, dwCaps;
};
struct D3DLIGHTINGCAPS {
  DWORD dwSize, dwCaps, dwLightingModel, dwNumLights;
};
struct D3DPRIMCAPS {
  DWORD dwSize, dwMiscCaps, dwRasterCaps, dwZCmpCaps, dwSrcBlendCaps, dwDestBlendCaps, dwAlphaCmpCaps,
      dwShadeCaps, dwTextureCaps, dwTextureFilterCaps, dwTextureBlendCaps, dwTextureAddressCaps, dwStippleWidth,
      dwStippleHeight;
};
// The DirectX 6 device description (252 bytes).
struct D3DDEVICEDESC {
  DWORD dwSize;
  DWORD dwFlags;
  DWORD dcmColorModel;
  DWORD dwDevCaps;
  D3DTRANSFORMCAPS dtcTransformCaps;
  BOOL bClipping;
  D3DLIGHTINGCAPS dlcLightingCaps;
  D3DPRIMCAPS dpcLineCaps;
  D3DPRIMCAPS dpcTriCaps;
  DWORD dwDeviceRenderBitDepth;
  DWORD dwDeviceZBufferBitDepth;
  DWORD dwMaxBufferSize;
  DWORD dwMaxVertexCount;
  DWORD dwMinTextureWidth, dwMinTextureHeight, dwMaxTextureWidth, dwMaxTextureHeight;
  DWORD dwMinStippleWidth, dwMaxStippleWidth, dwMinStippleHeight, dwMaxStippleHeight;
  DWORD dwMaxTextureRepeat, dwMaxTextureAspectRatio, dwMaxAnisotropy;
  D3DVALUE dvGuardBandLeft, dvGuardBandTop, dvGuardBandRight, dvGuardBandBottom;
  D3DVALUE dvExtentsAdjust;
  DWORD dwStencilCaps;
  DWORD dwFVFCaps;
  DWORD dwTextureOpCaps;
  WORD wMaxTextureBlendStages;
  WORD wMaxSimultaneousTextures;
};
typedef D3DDEVICEDESC* LPD3DDEVICEDESC;
static_assert(sizeof(D3DDEVICEDESC) == 252);
#define D3DDD_COLORMODEL 0x00000001
#define D3DDD_DEVCAPS 0x00000002
#define D3DDD_DEVICERENDERBITDEPTH 0x00000080
#define D3DDD_DEVICEZBUFFERBITDEPTH 0x00000100
#define D3DDD_MAXVERTEXCOUNT 0x00000400
#define D3DDEVCAPS_FLOATTLVERTEX 0x00000001
#define D3DDEVCAPS_EXECUTESYSTEMMEMORY 0x00000010
#define D3DDEVCAPS_TLVERTEXSYSTEMMEMORY 0x00000040
#define D3DDEVCAPS_TEXTURESYSTEMMEMORY 0x00000100
#define D3DDEVCAPS_DRAWPRIMTLVERTEX 0x00000400
#define D3DPRASTERCAPS_FOGTABLE 0x00000100
#define D3DPRASTERCAPS_WFOG 0x00100000
#define D3DPRASTERCAPS_ZTEST 0x00000010
#define D3DPTEXTURECAPS_PERSPECTIVE 0x00000001
#define D3DPTEXTURECAPS_TRANSPARENCY 0x00000008
#define D3DPTFILTERCAPS_NEAREST 0x00000001
#define D3DPTFILTERCAPS_LINEAR 0x00000002
#define D3DPSHADECAPS_COLORGOURAUDRGB 0x00000008
#define D3DPTADDRESSCAPS_WRAP 0x00000001
#define D3DPTADDRESSCAPS_CLAMP 0x00000004

// ---- Identifiers (genuine values) -----------------------------------------------------------
extern const GUID IID_IDirect3D3;
extern const GUID IID_IDirect3DRampDevice;
extern const GUID IID_IDirect3DRGBDevice;
extern const GUID IID_IDirect3DHALDevice;
extern const GUID IID_IDirect3DMMXDevice;
extern const GUID IID_IDirect3DRefDevice;
extern const GUID IID_IDirect3DDevice3;
extern const GUID IID_IDirect3DTexture2;
extern const GUID IID_IDirect3DLight;
extern const GUID IID_IDirect3DMaterial3;
extern const GUID IID_IDirect3DViewport3;

// ---- Interfaces ------------------------------------------------------------------------------
struct IDirect3D3 : IUnknown {
  // A directional or other light object, empty until SetLight.
  virtual HRESULT CreateLight(LPDIRECT3DLIGHT* light, LPUNKNOWN outer) = 0;
  // A material object; its handle comes from GetHandle.
  virtual HRESULT CreateMaterial(LPDIRECT3DMATERIAL3* material, LPUNKNOWN outer) = 0;
  // A viewport object, unset until SetViewport2.
  virtual HRESULT CreateViewport(LPDIRECT3DVIEWPORT3* viewport, LPUNKNOWN outer) = 0;
  // A device of type `device` rendering into `target` (16-bit RGB565) with the depth surface
  // attached to it at this moment, if any.
  virtual HRESULT CreateDevice(REFCLSID device, LPDIRECTDRAWSURFACE4 target, LPDIRECT3DDEVICE3* result,
                               LPUNKNOWN outer) = 0;
  // Calls `callback` for each depth format of the device type until it returns CANCEL.
  virtual HRESULT EnumZBufferFormats(REFCLSID device, LPD3DENUMPIXELFORMATSCALLBACK callback, LPVOID context) = 0;
};

struct IDirect3DDevice3 : IUnknown {
  // The capabilities: the software device fills `helDesc`, `halDesc` is zeroed apart from dwSize.
  virtual HRESULT GetCaps(LPD3DDEVICEDESC halDesc, LPD3DDEVICEDESC helDesc) = 0;
  // Adds a viewport to the device (holding a reference); a viewport belongs to one device.
  virtual HRESULT AddViewport(LPDIRECT3DVIEWPORT3 viewport) = 0;
  virtual HRESULT DeleteViewport(LPDIRECT3DVIEWPORT3 viewport) = 0;
  // Calls `callback` for each texture format (one: 16-bit RGB565).
  virtual HRESULT EnumTextureFormats(LPD3DENUMPIXELFORMATSCALLBACK callback, LPVOID context) = 0;
  virtual HRESULT BeginScene() = 0;
  virtual HRESULT EndScene() = 0;
  // The viewport drawing uses; it must have been added to this device.
  virtual HRESULT SetCurrentViewport(LPDIRECT3DVIEWPORT3 viewport) = 0;
  virtual HRESULT GetCurrentViewport(LPDIRECT3DVIEWPORT3* viewport) = 0;
  virtual HRESULT GetRenderState(D3DRENDERSTATETYPE state, LPDWORD value) = 0;
  virtual HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) = 0;
  virtual HRESULT GetLightState(D3DLIGHTSTATETYPE state, LPDWORD value) = 0;
  // MATERIAL takes a material handle (0: no lighting), AMBIENT a D3DCOLOR.
  virtual HRESULT SetLightState(D3DLIGHTSTATETYPE state, DWORD value) = 0;
  virtual HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, LPD3DMATRIX matrix) = 0;
  virtual HRESULT GetTransform(D3DTRANSFORMSTATETYPE state, LPD3DMATRIX matrix) = 0;
  virtual HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, DWORD fvf, LPVOID vertices, DWORD vertexCount,
                                DWORD flags) = 0;
  // Every index must be below `vertexCount`, or nothing is drawn (DDERR_INVALIDPARAMS).
  virtual HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE type, DWORD fvf, LPVOID vertices, DWORD vertexCount,
                                       LPWORD indices, DWORD indexCount, DWORD flags) = 0;
  virtual HRESULT GetTexture(DWORD stage, LPDIRECT3DTEXTURE2* texture) = 0;
  // Binds a texture to a stage (holding a reference); null unbinds.
  virtual HRESULT SetTexture(DWORD stage, LPDIRECT3DTEXTURE2 texture) = 0;
  virtual HRESULT GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE state, LPDWORD value) = 0;
  virtual HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE state, DWORD value) = 0;
};

struct IDirect3DViewport3 : IUnknown {
  // Adds a light (holding a reference); a light belongs to one viewport.
  virtual HRESULT AddLight(LPDIRECT3DLIGHT light) = 0;
  virtual HRESULT DeleteLight(LPDIRECT3DLIGHT light) = 0;
  virtual HRESULT GetViewport2(LPD3DVIEWPORT2 viewport) = 0;
  // dwSize must be 44; the clip volume must not be empty.
  virtual HRESULT SetViewport2(LPD3DVIEWPORT2 viewport) = 0;
  // Fills the rectangles (target coordinates, clipped to the viewport) of the target with
  // `color` and/or of the depth buffer with z.
  virtual HRESULT Clear2(DWORD count, LPD3DRECT rects, DWORD flags, D3DCOLOR color, D3DVALUE z, DWORD stencil) = 0;
};

struct IDirect3DMaterial3 : IUnknown {
  // dwSize must be 80.
  virtual HRESULT SetMaterial(LPD3DMATERIAL material) = 0;
  virtual HRESULT GetMaterial(LPD3DMATERIAL material) = 0;
  // The material's handle for SetLightState(D3DLIGHTSTATE_MATERIAL); nonzero.
  virtual HRESULT GetHandle(LPDIRECT3DDEVICE3 device, LPD3DMATERIALHANDLE handle) = 0;
};

struct IDirect3DLight : IUnknown {
  // A D3DLIGHT (76 bytes, always active) or a D3DLIGHT2 (80 bytes, active with D3DLIGHT_ACTIVE).
  virtual HRESULT SetLight(LPD3DLIGHT light) = 0;
  virtual HRESULT GetLight(LPD3DLIGHT light) = 0;
};

struct IDirect3DTexture2 : IUnknown {
  // The texture's handle for D3DRENDERSTATE_TEXTUREHANDLE; nonzero.
  virtual HRESULT GetHandle(LPDIRECT3DDEVICE3 device, LPD3DTEXTUREHANDLE handle) = 0;
  // Copies the pixels of `source` (same size and format) into this texture's surface.
  virtual HRESULT Load(LPDIRECT3DTEXTURE2 source) = 0;
};
