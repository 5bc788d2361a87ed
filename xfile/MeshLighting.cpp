#include "xfile/MeshLighting.h"

#include <cmath>

#include "xfile/TQelXMesh.h"

namespace {

constexpr float kTiny = 1e-7f;

// A channel value as a byte: truncated toward zero, clamped to 0..255 (NaN gives 0).
std::uint32_t channelByte(float value) {
  if (!(value > 0.0f)) return 0;
  if (value >= 255.0f) return 255;
  return static_cast<std::uint32_t>(value);
}

float clamp01(float value) {
  if (!(value > 0.0f)) return 0.0f;
  return value > 1.0f ? 1.0f : value;
}

// Model-space point to view space x and y (before the divide).
float viewX(const MeshVertex& p, const Matrix4& w) { return p.x * w._11 + p.y * w._21 + p.z * w._31 + w._41; }
float viewY(const MeshVertex& p, const Matrix4& w) { return p.x * w._12 + p.y * w._22 + p.z * w._32 + w._42; }

D3DCOLOR lerpColour(D3DCOLOR a, D3DCOLOR b, float t) {
  D3DCOLOR result = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    float ca = static_cast<float>((a >> shift) & 0xFF);
    float cb = static_cast<float>((b >> shift) & 0xFF);
    result |= channelByte(ca * (1.0f - t) + cb * t) << shift;
  }
  return result;
}

// Writes one mesh into the buffers, batch by batch.
class MeshWriter {
 public:
  MeshWriter(const TQelXMesh& mesh, const Matrix4& worldView, const SoftwareLighting& lighting,
             D3DTLVERTEX* vertices, std::int32_t vertexCapacity, WORD* indices, std::int32_t indexCapacity,
             TransformedBatchSink& sink)
      : mesh_(mesh), w_(worldView), lighting_(lighting), vertices_(vertices), vertexCapacity_(vertexCapacity),
        indices_(indices), indexCapacity_(indexCapacity), sink_(sink) {}

  void writeTriangle(WORD a, WORD b, WORD c, bool clipping);
  void finish() { flush(); }

 private:
  void flush();
  void makeRoom(std::int32_t neededIndices, std::int32_t neededRecords);
  WORD clipRecord(WORD k, WORD m);

  const TQelXMesh& mesh_;
  const Matrix4& w_;
  const SoftwareLighting& lighting_;
  D3DTLVERTEX* vertices_;
  std::int32_t vertexCapacity_;
  WORD* indices_;
  std::int32_t indexCapacity_;
  TransformedBatchSink& sink_;
  std::int32_t indexCount_ = 0;
  std::int32_t clipCount_ = 0;
};

void MeshWriter::flush() {
  if (indexCount_ > 0) sink_.drawBatch(static_cast<DWORD>(mesh_.vertexCount + clipCount_), static_cast<DWORD>(indexCount_));
  indexCount_ = 0;
  clipCount_ = 0;
}

void MeshWriter::makeRoom(std::int32_t neededIndices, std::int32_t neededRecords) {
  if (indexCount_ + neededIndices > indexCapacity_ || mesh_.vertexCount + clipCount_ + neededRecords > vertexCapacity_) {
    flush();
  }
}

// A record where the edge (k, m) meets the near plane (z = 1, so no divide is needed).
WORD MeshWriter::clipRecord(WORD k, WORD m) {
  const D3DTLVERTEX& rk = vertices_[k];
  const D3DTLVERTEX& rm = vertices_[m];
  const MeshVertex& pk = mesh_.vertices[k];
  const MeshVertex& pm = mesh_.vertices[m];
  float t = -rk.sz / (rm.sz - rk.sz);
  std::int32_t index = mesh_.vertexCount + clipCount_++;
  D3DTLVERTEX& out = vertices_[index];
  float xk = viewX(pk, w_), xm = viewX(pm, w_);
  float yk = viewY(pk, w_), ym = viewY(pm, w_);
  out.sx = xk + (xm - xk) * t + lighting_.halfWidth;
  out.sy = yk + (ym - yk) * t + lighting_.halfHeight;
  out.sz = 0.0f;
  out.rhw = 1.0f;
  out.tu = pk.tu + (pm.tu - pk.tu) * t;
  out.tv = pk.tv + (pm.tv - pk.tv) * t;
  out.color = lerpColour(rk.color, rm.color, t);
  out.specular = lerpColour(rk.specular, rm.specular, t);
  return static_cast<WORD>(index);
}

void MeshWriter::writeTriangle(WORD a, WORD b, WORD c, bool clipping) {
  if (!clipping) {
    makeRoom(3, 0);
    indices_[indexCount_++] = a;
    indices_[indexCount_++] = b;
    indices_[indexCount_++] = c;
    return;
  }
  bool behindA = vertices_[a].sz < 0.0f, behindB = vertices_[b].sz < 0.0f, behindC = vertices_[c].sz < 0.0f;
  if (behindA && behindB && behindC) return;
  if (!(vertices_[a].sz >= 0.0f) || !(vertices_[b].sz >= 0.0f) || !(vertices_[c].sz >= 0.0f)) {
    makeRoom(6, 2);
    WORD polygon[6];
    int corners = 0;
    const WORD edge[3][2] = {{a, b}, {b, c}, {c, a}};
    for (const auto& e : edge) {
      WORD k = e[0], m = e[1];
      float rk = vertices_[k].rhw, rm = vertices_[m].rhw;
      if (rk >= 0.0f && corners < 6) polygon[corners++] = k;
      if (rk * rm <= 0.0f && std::fabs(vertices_[m].sz - vertices_[k].sz) > kTiny && corners < 6 &&
          mesh_.vertexCount + clipCount_ < vertexCapacity_) {
        polygon[corners++] = clipRecord(k, m);
      }
    }
    for (int j = 1; j + 1 < corners && indexCount_ + 3 <= indexCapacity_; ++j) {
      indices_[indexCount_++] = polygon[0];
      indices_[indexCount_++] = polygon[j];
      indices_[indexCount_++] = polygon[j + 1];
    }
    return;
  }
  makeRoom(3, 0);
  indices_[indexCount_++] = a;
  indices_[indexCount_++] = b;
  indices_[indexCount_++] = c;
}

}  // namespace

LightingConstants computeLightingConstants(const D3DMATERIAL& material, const SoftwareLighting& lighting,
                                           const Matrix4& worldView, const Matrix4& world) {
  LightingConstants k{};
  const float ambient[3] = {material.ambient.r, material.ambient.g, material.ambient.b};
  const float diffuse[3] = {material.diffuse.r, material.diffuse.g, material.diffuse.b};
  const float specular[3] = {material.specular.r, material.specular.g, material.specular.b};
  for (int c = 0; c < 3; ++c) {
    float a = lighting.ambientColour[c];
    k.dark[c] = a + (1.0f - a) * ambient[c];
    k.bright[c] = k.dark[c] + (1.0f - k.dark[c]) * diffuse[c];
    k.specular[c] = specular[c];
    k.lightColour[c] = lighting.lightColour[c];
  }
  k.power = material.power;

  const Vector3& l0 = lighting.lightDirection;
  const Matrix4& m = world;
  k.light = Vector3(m._11 * l0.x + m._12 * l0.y + m._13 * l0.z, m._21 * l0.x + m._22 * l0.y + m._23 * l0.z,
                    m._31 * l0.x + m._32 * l0.y + m._33 * l0.z);
  float lengthSquared = dotProduct(k.light, k.light);
  if (lengthSquared > kTiny) k.light = k.light / std::sqrt(lengthSquared);

  const Matrix4& w = worldView;
  Vector3 t(w._41, w._42, w._43);
  k.view = Vector3(w._11 * t.x + w._12 * t.y + w._13 * t.z, w._21 * t.x + w._22 * t.y + w._23 * t.z,
                   w._31 * t.x + w._32 * t.y + w._33 * t.z);
  lengthSquared = dotProduct(k.view, k.view);
  if (lengthSquared > kTiny) k.view = -k.view / std::sqrt(lengthSquared);

  k.q = lighting.nearDistance / (lighting.farDistance - lighting.nearDistance);
  return k;
}

bool transformVertex(const MeshVertex& vertex, const LightingConstants& k, const Matrix4& w,
                     const SoftwareLighting& lighting, D3DTLVERTEX& out) {
  const Vector3 normal(vertex.nx, vertex.ny, vertex.nz);
  float g = dotProduct(normal, k.light);
  float h = clamp01(-g);
  D3DCOLOR colour = 0;
  for (int c = 0; c < 3; ++c) {
    float value = (k.dark[c] * (1.0f - h) + k.bright[c] * h) * k.lightColour[c] * 255.0f;
    colour |= channelByte(value) << (16 - 8 * c);
  }
  out.color = colour;

  const Vector3 reflected = k.light - normal * (2.0f * g);
  float s = std::pow(clamp01(dotProduct(reflected, k.view)), k.power);
  D3DCOLOR highlight = 0;
  for (int c = 0; c < 3; ++c) highlight |= channelByte(s * k.specular[c] * 255.0f) << (16 - 8 * c);
  out.specular = highlight;

  out.tu = vertex.tu;
  out.tv = vertex.tv;
  float z = vertex.x * w._13 + vertex.y * w._23 + vertex.z * w._33 + w._43;
  out.sz = k.q * z - k.q;
  if (z >= lighting.nearDistance) {
    float j = lighting.nearDistance / z;
    out.sx = lighting.halfWidth + j * viewX(vertex, w);
    out.sy = lighting.halfHeight + j * viewY(vertex, w);
    out.rhw = j;
    return true;
  }
  out.sx = 0.0f;
  out.sy = 0.0f;
  out.rhw = -1.0f;
  return false;
}

int transformMesh(const TQelXMesh& mesh, const D3DMATERIAL& material, const Matrix4& worldView,
                  const Matrix4& world, const SoftwareLighting& lighting, D3DTLVERTEX* vertices,
                  std::int32_t vertexCapacity, WORD* indices, std::int32_t indexCapacity,
                  TransformedBatchSink& sink) {
  if (!vertices || !indices || mesh.vertexCount + 2 > vertexCapacity || indexCapacity < 6) return 0;
  if (mesh.vertexCount > 0 && !mesh.vertices) return 0;
  const LightingConstants constants = computeLightingConstants(material, lighting, worldView, world);
  bool clipping = false;
  for (std::int32_t i = 0; i < mesh.vertexCount; ++i) {
    if (!transformVertex(mesh.vertices[i], constants, worldView, lighting, vertices[i])) clipping = true;
  }
  MeshWriter writer(mesh, worldView, lighting, vertices, vertexCapacity, indices, indexCapacity, sink);
  for (std::int32_t j = 0; j < mesh.faceCount; ++j) {
    const MeshFace& face = *mesh.faces[j];
    for (std::int32_t k = 1; k + 1 < face.count; ++k) {
      WORD a = face.indices[0], b = face.indices[k], c = face.indices[k + 1];
      if (a >= mesh.vertexCount || b >= mesh.vertexCount || c >= mesh.vertexCount) continue;
      writer.writeTriangle(a, b, c, clipping);
    }
  }
  writer.finish();
  return 1;
}
