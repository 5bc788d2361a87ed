// ModelTable: a headless stand-in for the renderer's table of textures and materials, for
// tools. Image entries are BMP files decoded into RGB565 pixels (named relative to the working
// directory, as the engine names them); material entries keep their description and bound
// image. A file that cannot be loaded appends the renderer's open-failure line to the debug log
// and to `logLines`. As a MeshDrawTarget it draws through a software Direct3D device when one is
// attached, with the two work buffers of the renderer.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/d3d/DeviceBackend.h"
#include "xfile/MeshDrawTarget.h"

struct TableEntry {
  std::string name;                   // file name as asked for, or material name
  bool image = false;                 // an image entry (loaded from a file)
  D3DMATERIAL desc{};                 // material entries: their colours and power
  TableEntry* bound = nullptr;        // material entries: the image drawn with them
  std::vector<std::uint16_t> pixels;  // image entries: RGB565, top row first
  platform::TextureImage view;        // image entries: the pixels as the device reads them
};

class ModelTable : public MeshDrawTarget {
 public:
  ModelTable();

  Texture* getTexture(const char* fileName) override;
  Texture* createMaterial(const char* name, const D3DCOLORVALUE& diffuse, const D3DCOLORVALUE& ambient,
                          const D3DCOLORVALUE& specular, const D3DCOLORVALUE& emissive, float power,
                          DWORD rampSize) override;
  Texture* findTexture(const char* name) override;
  void setBoundTexture(Texture* material, Texture* texture) override;
  Texture* boundTexture(Texture* material) override;
  const D3DMATERIAL* materialDesc(Texture* entry) override;

  const SoftwareLighting& softwareLighting() override { return lighting; }
  D3DTLVERTEX* vertexBuffer() override { return vertices_.data(); }
  WORD* indexBuffer() override { return indices_.data(); }
  void setWorldTransform(const Matrix4& world) override;
  void drawTransformed(DWORD vertexCount, DWORD indexCount) override;

  // The entry behind a handle the reader holds (null for null).
  static TableEntry* entry(Texture* handle) { return reinterpret_cast<TableEntry*>(handle); }
  static Texture* handle(TableEntry* e) { return reinterpret_cast<Texture*>(e); }
  // The image a mesh textured with `handle` is drawn with, or null.
  static const TableEntry* imageOf(Texture* handle);
  // A material for drawing meshes that have none (the renderer's default colours); not an
  // entry of the table.
  Texture* fallbackMaterial() { return handle(&fallback_); }

  std::vector<std::unique_ptr<TableEntry>> entries;  // in order of creation
  std::vector<std::string> logLines;                 // debug-log lines written by this table
  SoftwareLighting lighting;
  platform::DeviceBackend* device = nullptr;  // draws go here when set (not owned)

 private:
  TableEntry* find(const char* name);
  TableEntry fallback_;
  std::vector<D3DTLVERTEX> vertices_;
  std::vector<WORD> indices_;
};
