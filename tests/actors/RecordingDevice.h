// RecordingDevice: an IDirect3DDevice3 that draws nothing and writes every state, transform,
// texture and draw call into a journal of short strings, so tests can check exact call orders.
// GetTransform(VIEW) answers `view`; DrawPrimitive keeps the last vertices it was given.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "platform/d3d/D3D.h"

class RecordingDevice : public IDirect3DDevice3 {
 public:
  std::vector<std::string> calls;
  D3DMATRIX view{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  D3DMATRIX lastWorld{};
  std::vector<D3DTLVERTEX> lastStrip;

  HRESULT QueryInterface(REFIID, LPVOID*) override { return E_NOINTERFACE; }
  ULONG AddRef() override { return 1; }
  ULONG Release() override { return 1; }
  HRESULT GetCaps(LPD3DDEVICEDESC, LPD3DDEVICEDESC) override { return D3D_OK; }
  HRESULT AddViewport(LPDIRECT3DVIEWPORT3) override { return D3D_OK; }
  HRESULT DeleteViewport(LPDIRECT3DVIEWPORT3) override { return D3D_OK; }
  HRESULT EnumTextureFormats(LPD3DENUMPIXELFORMATSCALLBACK, LPVOID) override { return D3D_OK; }
  HRESULT BeginScene() override { return D3D_OK; }
  HRESULT EndScene() override { return D3D_OK; }
  HRESULT SetCurrentViewport(LPDIRECT3DVIEWPORT3) override { return D3D_OK; }
  HRESULT GetCurrentViewport(LPDIRECT3DVIEWPORT3*) override { return D3D_OK; }
  HRESULT GetRenderState(D3DRENDERSTATETYPE, LPDWORD) override { return D3D_OK; }
  HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override {
    return note("state " + std::to_string(state) + "=" + std::to_string(value));
  }
  HRESULT GetLightState(D3DLIGHTSTATETYPE, LPDWORD) override { return D3D_OK; }
  HRESULT SetLightState(D3DLIGHTSTATETYPE, DWORD) override { return D3D_OK; }
  HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, LPD3DMATRIX matrix) override {
    if (state == D3DTRANSFORMSTATE_WORLD) lastWorld = *matrix;
    return note("transform " + std::to_string(state) + " x=" + std::to_string(int(matrix->_41)));
  }
  HRESULT GetTransform(D3DTRANSFORMSTATETYPE state, LPD3DMATRIX matrix) override {
    if (state == D3DTRANSFORMSTATE_VIEW) *matrix = view;
    return D3D_OK;
  }
  HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, DWORD fvf, LPVOID vertices, DWORD count, DWORD flags) override {
    lastStrip.assign(static_cast<D3DTLVERTEX*>(vertices), static_cast<D3DTLVERTEX*>(vertices) + count);
    return note("draw " + std::to_string(type) + " fvf " + std::to_string(fvf) + " n " + std::to_string(count) +
                " flags " + std::to_string(flags));
  }
  HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE type, DWORD fvf, LPVOID, DWORD vertexCount, LPWORD, DWORD indexCount,
                               DWORD flags) override {
    return note("indexed " + std::to_string(type) + " fvf " + std::to_string(fvf) + " v " +
                std::to_string(vertexCount) + " i " + std::to_string(indexCount) + " flags " + std::to_string(flags));
  }
  HRESULT GetTexture(DWORD, LPDIRECT3DTEXTURE2*) override { return D3D_OK; }
  HRESULT SetTexture(DWORD stage, LPDIRECT3DTEXTURE2 texture) override {
    return note("texture " + std::to_string(stage) + (texture ? " set" : " null"));
  }
  HRESULT GetTextureStageState(DWORD, D3DTEXTURESTAGESTATETYPE, LPDWORD) override { return D3D_OK; }
  HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE state, DWORD value) override {
    return note("stage " + std::to_string(stage) + " " + std::to_string(state) + "=" + std::to_string(value));
  }

 private:
  HRESULT note(std::string text) {
    calls.push_back(std::move(text));
    return D3D_OK;
  }
};
