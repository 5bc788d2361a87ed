// A MaterialSink that records every call: image entries for the names in `loadable`, material
// entries with their descriptions, bound textures; lookups return the entry entered last.
#pragma once

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "xfile/MaterialSink.h"

struct RecordedEntry {
  std::string name;
  bool image = false;
  D3DMATERIAL desc{};
  RecordedEntry* bound = nullptr;
};

class RecordingSink : public MaterialSink {
 public:
  Texture* getTexture(const char* fileName) override {
    getTextureCalls.push_back(fileName);
    if (RecordedEntry* e = find(fileName)) return handle(e);
    if (!loadable.count(fileName)) return nullptr;
    RecordedEntry* e = add(fileName);
    e->image = true;
    return handle(e);
  }
  Texture* createMaterial(const char* name, const D3DCOLORVALUE& diffuse, const D3DCOLORVALUE& ambient,
                          const D3DCOLORVALUE& specular, const D3DCOLORVALUE& emissive, float power,
                          DWORD rampSize) override {
    RecordedEntry* e = add(name);
    e->desc = D3DMATERIAL{80, diffuse, ambient, specular, emissive, power, 0, rampSize};
    ++materialCount;
    return handle(e);
  }
  Texture* findTexture(const char* name) override { return handle(find(name)); }
  void setBoundTexture(Texture* material, Texture* texture) override { entry(material)->bound = entry(texture); }
  Texture* boundTexture(Texture* material) override { return handle(entry(material)->bound); }
  const D3DMATERIAL* materialDesc(Texture* e) override { return e ? &entry(e)->desc : nullptr; }

  static RecordedEntry* entry(Texture* t) { return reinterpret_cast<RecordedEntry*>(t); }
  static Texture* handle(RecordedEntry* e) { return reinterpret_cast<Texture*>(e); }
  // The entry entered last under `name`, or null.
  RecordedEntry* find(const std::string& name) {
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
      if ((*it)->name == name) return it->get();
    }
    return nullptr;
  }

  std::set<std::string> loadable;
  std::vector<std::unique_ptr<RecordedEntry>> entries;
  std::vector<std::string> getTextureCalls;
  int materialCount = 0;

 private:
  RecordedEntry* add(const char* name) {
    entries.push_back(std::make_unique<RecordedEntry>());
    entries.back()->name = name;
    return entries.back().get();
  }
};
