#include "tools/qelmodel/ModelInfo.h"

#include <cstdio>
#include <map>

#include "tools/qelmodel/JsonWriter.h"
#include "graphics/Renderer.h"
#include "graphics/Texture.h"
#include "tools/qelmodel/TableEntries.h"
#include "tools/qelmodel/TextEncoding.h"
#include "xfile/TQelXFrame.h"
#include "xfile/TQelXMesh.h"

namespace {

std::string nameOf(const char* name) { return shiftJisToUtf8(name ? name : ""); }

std::string formatFloat(double value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.6g", value);
  return buffer;
}

// Face counts by number of corners.
std::map<int, int> cornerCounts(const TQelXMesh& mesh) {
  std::map<int, int> counts;
  for (std::int32_t j = 0; j < mesh.faceCount; ++j) ++counts[mesh.faces[j]->count];
  return counts;
}

bool bounds(const TQelXMesh& mesh, float low[3], float high[3]) {
  if (mesh.vertexCount <= 0) return false;
  const MeshVertex& first = mesh.vertices[0];
  low[0] = high[0] = first.x;
  low[1] = high[1] = first.y;
  low[2] = high[2] = first.z;
  for (std::int32_t i = 1; i < mesh.vertexCount; ++i) {
    const float p[3] = {mesh.vertices[i].x, mesh.vertices[i].y, mesh.vertices[i].z};
    for (int c = 0; c < 3; ++c) {
      if (p[c] < low[c]) low[c] = p[c];
      if (p[c] > high[c]) high[c] = p[c];
    }
  }
  return true;
}

// ---- JSON ----

void jsonColour(JsonWriter& w, const char* key, const D3DCOLORVALUE& c) {
  w.key(key);
  w.beginArray();
  w.number(c.r);
  w.number(c.g);
  w.number(c.b);
  w.number(c.a);
  w.endArray();
}

std::string entryName(const Texture& entry) { return shiftJisToUtf8(entry.name.c_str()); }

void jsonNameOrNull(JsonWriter& w, const char* key, const Texture* e) {
  w.key(key);
  if (e) {
    w.string(entryName(*e));
  } else {
    w.null();
  }
}

void jsonMesh(JsonWriter& w, const TQelXMesh& mesh, bool full) {
  w.beginObject();
  w.key("name");
  w.string(nameOf(mesh.name));
  w.key("vertexCount");
  w.integer(mesh.vertexCount);
  w.key("faceCount");
  w.integer(mesh.faceCount);
  w.key("cornerCounts");
  w.beginObject();
  for (const auto& [corners, faces] : cornerCounts(mesh)) {
    w.key(std::to_string(corners));
    w.integer(faces);
  }
  w.endObject();
  jsonNameOrNull(w, "material", mesh.material);
  jsonNameOrNull(w, "texture", mesh.texture);
  w.key("textureLoaded");
  w.boolean(imageOf(mesh.texture) != nullptr);
  w.key("bounds");
  float low[3], high[3];
  if (bounds(mesh, low, high)) {
    w.beginArray();
    for (const float* corner : {low, high}) {
      w.beginArray();
      for (int c = 0; c < 3; ++c) w.number(corner[c]);
      w.endArray();
    }
    w.endArray();
  } else {
    w.null();
  }
  if (full) {
    w.key("vertices");
    w.beginArray();
    for (std::int32_t i = 0; i < mesh.vertexCount; ++i) {
      const MeshVertex& v = mesh.vertices[i];
      w.beginArray();
      for (float value : {v.x, v.y, v.z, v.nx, v.ny, v.nz, v.tu, v.tv}) w.number(value);
      w.endArray();
    }
    w.endArray();
    w.key("faces");
    w.beginArray();
    for (std::int32_t j = 0; j < mesh.faceCount; ++j) {
      w.beginArray();
      for (std::int32_t k = 0; k < mesh.faces[j]->count; ++k) w.integer(mesh.faces[j]->indices[k]);
      w.endArray();
    }
    w.endArray();
  }
  w.endObject();
}

void jsonFrame(JsonWriter& w, const TQelXFrame& frame, bool full) {
  w.beginObject();
  w.key("name");
  w.string(nameOf(frame.name));
  w.key("transform");
  w.beginArray();
  for (int i = 0; i < 16; ++i) w.number(frame.transform.at(i / 4, i % 4));
  w.endArray();
  w.key("meshes");
  w.beginArray();
  for (AttachmentNode* n = frame.attachments.first(); n; n = frame.attachments.after(n)) {
    if (const TQelXMesh* mesh = dynamic_cast<const TQelXMesh*>(n->object)) jsonMesh(w, *mesh, full);
  }
  w.endArray();
  w.key("children");
  w.beginArray();
  for (TQelVTree* c = frame.firstChild(); c; c = c->nextSibling()) {
    if (const TQelXFrame* child = dynamic_cast<const TQelXFrame*>(c)) jsonFrame(w, *child, full);
  }
  w.endArray();
  w.endObject();
}

std::string jsonReport(const std::string& file, const TQelXFrame* root, const std::vector<Texture*>& entries,
                       const std::vector<std::string>& logLines, bool full) {
  JsonWriter w;
  w.beginObject();
  w.key("file");
  w.string(file);
  w.key("root");
  if (root) {
    jsonFrame(w, *root, full);
  } else {
    w.null();
  }
  w.key("materials");
  w.beginArray();
  for (const Texture* e : entries) {
    if (isImageEntry(e)) continue;
    w.beginObject();
    w.key("name");
    w.string(entryName(*e));
    jsonColour(w, "diffuse", e->materialDesc.diffuse);
    jsonColour(w, "ambient", e->materialDesc.ambient);
    jsonColour(w, "specular", e->materialDesc.specular);
    jsonColour(w, "emissive", e->materialDesc.emissive);
    w.key("power");
    w.number(e->materialDesc.power);
    jsonNameOrNull(w, "boundTexture", e->boundTexture());
    w.endObject();
  }
  w.endArray();
  w.key("textures");
  w.beginArray();
  for (const Texture* e : entries) {
    int width = 0, height = 0;
    if (!imageSize(e, width, height)) continue;
    w.beginObject();
    w.key("name");
    w.string(entryName(*e));
    w.key("width");
    w.integer(width);
    w.key("height");
    w.integer(height);
    w.endObject();
  }
  w.endArray();
  w.key("log");
  w.beginArray();
  for (const std::string& line : logLines) w.string(shiftJisToUtf8(line));
  w.endArray();
  w.endObject();
  return w.text() + "\n";
}

// ---- text ----

std::string colourText(const D3DCOLORVALUE& c) {
  std::string text = "(";
  text += formatFloat(c.r) + ", " + formatFloat(c.g) + ", " + formatFloat(c.b) + ", " + formatFloat(c.a) + ")";
  return text;
}

std::string quotedOrNone(const Texture* e) {
  if (!e) return "none";
  std::string text = "\"";
  text += entryName(*e);
  text += '"';
  return text;
}

void textFrame(std::string& out, const TQelXFrame& frame, const std::string& indent) {
  out += indent + "frame \"" + nameOf(frame.name) + "\"\n";
  const Matrix4& t = frame.transform;
  out += indent + "  transform";
  for (int r = 0; r < 4; ++r) {
    out += r ? " |" : "";
    for (int c = 0; c < 4; ++c) {
      out += ' ';
      out += formatFloat(t.at(r, c));
    }
  }
  out += "\n";
  for (AttachmentNode* n = frame.attachments.first(); n; n = frame.attachments.after(n)) {
    const TQelXMesh* mesh = dynamic_cast<const TQelXMesh*>(n->object);
    if (!mesh) continue;
    out += indent + "  mesh \"" + nameOf(mesh->name) + "\": " + std::to_string(mesh->vertexCount) + " vertices, " +
           std::to_string(mesh->faceCount) + " faces";
    std::string corners;
    for (const auto& [count, faces] : cornerCounts(*mesh)) {
      corners += (corners.empty() ? "" : ", ") + std::to_string(faces) + " of " + std::to_string(count);
    }
    out += corners.empty() ? "\n" : " (corners: " + corners + ")\n";
    float low[3], high[3];
    if (bounds(*mesh, low, high)) {
      out += indent + "    bounds (" + formatFloat(low[0]) + ", " + formatFloat(low[1]) + ", " + formatFloat(low[2]) +
             ") to (" + formatFloat(high[0]) + ", " + formatFloat(high[1]) + ", " + formatFloat(high[2]) + ")\n";
    }
    out += indent + "    material " + quotedOrNone(mesh->material) + ", texture " + quotedOrNone(mesh->texture) +
           (imageOf(mesh->texture) ? " (image loaded)\n" : " (no image)\n");
  }
  for (TQelVTree* c = frame.firstChild(); c; c = c->nextSibling()) {
    if (const TQelXFrame* child = dynamic_cast<const TQelXFrame*>(c)) textFrame(out, *child, indent + "  ");
  }
}

std::string textReport(const std::string& file, const TQelXFrame* root, const std::vector<Texture*>& entries,
                       const std::vector<std::string>& logLines) {
  std::string out = "file: " + file + "\n";
  if (root) {
    textFrame(out, *root, "");
  } else {
    out += "no model: the file holds neither a top-level Frame nor a top-level Mesh\n";
  }
  for (const Texture* e : entries) {
    int width = 0, height = 0;
    if (imageSize(e, width, height)) {
      out += "texture \"" + entryName(*e) + "\": " + std::to_string(width) + "x" + std::to_string(height) + "\n";
    } else if (!isImageEntry(e)) {
      const D3DMATERIAL& d = e->materialDesc;
      out += "material \"" + entryName(*e) + "\": diffuse " + colourText(d.diffuse) + " ambient " +
             colourText(d.ambient) + " specular " + colourText(d.specular) + " emissive " + colourText(d.emissive) +
             " power " + formatFloat(d.power) + ", bound texture " + quotedOrNone(e->boundTexture()) + "\n";
    }
  }
  for (const std::string& line : logLines) out += "log: " + shiftJisToUtf8(line) + "\n";
  return out;
}

}  // namespace

std::string modelInfo(const std::string& file, const TQelXFrame* root, Renderer& renderer,
                      const std::vector<std::string>& logLines, const InfoOptions& options) {
  const std::vector<Texture*> entries = tableEntries(renderer);
  return options.json ? jsonReport(file, root, entries, logLines, options.full)
                      : textReport(file, root, entries, logLines);
}
