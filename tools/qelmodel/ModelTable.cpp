#include "tools/qelmodel/ModelTable.h"

#include <cstring>

#include "foundation/DebugLog.h"
#include "platform/bitmap/BmpDecoder.h"
#include "platform/bitmap/DibPixels.h"

ModelTable::ModelTable() : vertices_(kWorkVertexCapacity), indices_(kWorkIndexCapacity) {
  fallback_.name = "(default material)";
  fallback_.desc = D3DMATERIAL{80, {1, 1, 1, 0}, {0.5f, 0.5f, 0.5f, 0}, {1, 1, 1, 1}, {0.5f, 0.5f, 0.5f, 0.5f}, 20.0f, 0, 16};
}

TableEntry* ModelTable::find(const char* name) {
  for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
    if ((*it)->name == name) return it->get();
  }
  return nullptr;
}

Texture* ModelTable::getTexture(const char* fileName) {
  if (TableEntry* known = find(fileName)) return handle(known);
  platform::DibSection dib;
  if (!platform::loadBmpFile(fileName, dib)) {
    std::string line = std::string(kOpenFailurePrefix) + fileName + kOpenFailureSuffix;
    appendToDebugLog(line.c_str());
    logLines.push_back(line);
    return nullptr;
  }
  auto e = std::make_unique<TableEntry>();
  e->name = fileName;
  e->image = true;
  e->desc = D3DMATERIAL{80, {0.5f, 0.5f, 0.5f, 1}, {0.5f, 0.5f, 0.5f, 1}, {1, 1, 1, 1}, {0.5f, 0.5f, 0.5f, 1}, 20.0f, 0, 1};
  e->pixels.resize(static_cast<std::size_t>(dib.width) * static_cast<std::size_t>(dib.height));
  std::vector<std::uint32_t> row(static_cast<std::size_t>(dib.width));
  for (int y = 0; y < dib.height; ++y) {
    platform::readDibRow(dib, y, 0, dib.width, row.data());
    for (int x = 0; x < dib.width; ++x) {
      std::uint32_t c = row[static_cast<std::size_t>(x)];
      e->pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(dib.width) + static_cast<std::size_t>(x)] =
          platform::pack565(static_cast<int>((c >> 16) & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>(c & 0xFF));
    }
  }
  e->view.bits = e->pixels.data();
  e->view.pitch = dib.width * 2;
  e->view.width = dib.width;
  e->view.height = dib.height;
  entries.push_back(std::move(e));
  return handle(entries.back().get());
}

Texture* ModelTable::createMaterial(const char* name, const D3DCOLORVALUE& diffuse, const D3DCOLORVALUE& ambient,
                                    const D3DCOLORVALUE& specular, const D3DCOLORVALUE& emissive, float power,
                                    DWORD rampSize) {
  auto e = std::make_unique<TableEntry>();
  e->name = name;
  e->desc = D3DMATERIAL{80, diffuse, ambient, specular, emissive, power, 0, rampSize};
  entries.push_back(std::move(e));
  return handle(entries.back().get());
}

Texture* ModelTable::findTexture(const char* name) { return handle(find(name)); }

void ModelTable::setBoundTexture(Texture* material, Texture* texture) {
  if (material) entry(material)->bound = entry(texture);
}

Texture* ModelTable::boundTexture(Texture* material) { return material ? handle(entry(material)->bound) : nullptr; }

const D3DMATERIAL* ModelTable::materialDesc(Texture* e) { return e ? &entry(e)->desc : nullptr; }

const TableEntry* ModelTable::imageOf(Texture* h) {
  const TableEntry* e = entry(h);
  if (e && !e->image) e = e->bound;
  return e && e->image ? e : nullptr;
}

void ModelTable::setWorldTransform(const Matrix4& world) {
  if (!device) return;
  D3DMATRIX m;
  static_assert(sizeof(m) == sizeof(world));
  std::memcpy(&m, &world, sizeof(m));  // the same 16 floats in the same order
  device->setTransform(D3DTRANSFORMSTATE_WORLD, m);
}

void ModelTable::drawTransformed(DWORD vertexCount, DWORD indexCount) {
  if (!device) return;
  device->drawIndexedPrimitive(D3DPT_TRIANGLELIST, D3DFVF_TLVERTEX, vertices_.data(), vertexCount, indices_.data(),
                               indexCount, D3DDP_WAIT);
}
