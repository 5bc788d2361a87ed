// XFileWriter: .x text output. Fixed-stride lists carry exactly one separator after each
// value, as the format defines and our reader counts them.
#include "tools/assetgen/XFileWriter.h"

#include <cstdio>
#include <map>
#include <tuple>
#include <vector>

namespace assetgen {

namespace {

const char* const kTemplates = R"(template Header {
 <3D82AB43-62DA-11cf-AB39-0020AF71E433>
 WORD major;
 WORD minor;
 DWORD flags;
}

template Vector {
 <3D82AB5E-62DA-11cf-AB39-0020AF71E433>
 FLOAT x;
 FLOAT y;
 FLOAT z;
}

template Coords2d {
 <F6F23F44-7686-11cf-8F52-0040333594A3>
 FLOAT u;
 FLOAT v;
}

template Matrix4x4 {
 <F6F23F45-7686-11cf-8F52-0040333594A3>
 array FLOAT matrix[16];
}

template ColorRGBA {
 <35FF44E0-6C7C-11cf-8F52-0040333594A3>
 FLOAT red;
 FLOAT green;
 FLOAT blue;
 FLOAT alpha;
}

template ColorRGB {
 <D3E16E81-7835-11cf-8F52-0040333594A3>
 FLOAT red;
 FLOAT green;
 FLOAT blue;
}

template Material {
 <3D82AB4D-62DA-11cf-AB39-0020AF71E433>
 ColorRGBA faceColor;
 FLOAT power;
 ColorRGB specularColor;
 ColorRGB emissiveColor;
 [...]
}

template TextureFilename {
 <A42790E1-7810-11cf-8F52-0040333594A3>
 STRING filename;
}

template MeshFace {
 <3D82AB5F-62DA-11cf-AB39-0020AF71E433>
 DWORD nFaceVertexIndices;
 array DWORD faceVertexIndices[nFaceVertexIndices];
}

template MeshTextureCoords {
 <F6F23F40-7686-11cf-8F52-0040333594A3>
 DWORD nTextureCoords;
 array Coords2d textureCoords[nTextureCoords];
}

template MeshMaterialList {
 <F6F23F42-7686-11cf-8F52-0040333594A3>
 DWORD nMaterials;
 DWORD nFaceIndexes;
 array DWORD faceIndexes[nFaceIndexes];
 [Material]
}

template MeshNormals {
 <F6F23F43-7686-11cf-8F52-0040333594A3>
 DWORD nNormals;
 array Vector normals[nNormals];
 DWORD nFaceNormals;
 array MeshFace faceNormals[nFaceNormals];
}

template Mesh {
 <3D82AB44-62DA-11cf-AB39-0020AF71E433>
 DWORD nVertices;
 array Vector vertices[nVertices];
 DWORD nFaces;
 array MeshFace faces[nFaces];
 [...]
}

template FrameTransformMatrix {
 <F6F23F41-7686-11cf-8F52-0040333594A3>
 Matrix4x4 frameMatrix;
}

template Frame {
 <3D82AB46-62DA-11cf-AB39-0020AF71E433>
 [...]
}

Header {
 1;
 0;
 1;
}
)";

// Separator after item `i` of `count`: "," between items, ";" after the last.
const char* listEnd(std::size_t i, std::size_t count) { return i + 1 < count ? "," : ";"; }

std::string faceText(const std::vector<int>& corners) {
  std::string s = std::to_string(corners.size()) + ";";
  for (std::size_t k = 0; k < corners.size(); ++k) s += std::to_string(corners[k]) + (k + 1 < corners.size() ? "," : ";");
  return s;
}

}  // namespace

std::string formatNumber(double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%f", value);
  std::string s = buffer;
  if (s == "-0.000000") s = "0.000000";
  return s;
}

XFileWriter::XFileWriter() {
  out_ = "xof 0302txt 0032\n";
  out_ += kTemplates;
}

void XFileWriter::line(const std::string& s) {
  out_.append(std::size_t(depth_), ' ');
  out_ += s;
  out_ += '\n';
}

void XFileWriter::materialBody(const MaterialDesc& desc) {
  line(desc.name.empty() ? "Material {" : "Material " + desc.name + " {");
  ++depth_;
  line(formatNumber(desc.face[0]) + ";" + formatNumber(desc.face[1]) + ";" + formatNumber(desc.face[2]) + ";" +
       formatNumber(desc.face[3]) + ";;");
  line(formatNumber(desc.power) + ";");
  line(formatNumber(desc.specular[0]) + ";" + formatNumber(desc.specular[1]) + ";" + formatNumber(desc.specular[2]) + ";;");
  line(formatNumber(desc.emissive[0]) + ";" + formatNumber(desc.emissive[1]) + ";" + formatNumber(desc.emissive[2]) + ";;");
  if (!desc.texture.empty()) {
    line("TextureFilename {");
    ++depth_;
    line("\"" + desc.texture + "\";");
    --depth_;
    line("}");
  }
  --depth_;
  line("}");
}

void XFileWriter::material(const MaterialDesc& desc) {
  out_ += '\n';
  materialBody(desc);
}

void XFileWriter::beginFrame(const std::string& name) {
  out_ += depth_ == 0 ? "\n" : "";
  line("Frame " + name + " {");
  ++depth_;
}

void XFileWriter::transform(const double m[16]) {
  line("FrameTransformMatrix {");
  ++depth_;
  std::string s;
  for (int i = 0; i < 16; ++i) s += formatNumber(m[i]) + (i < 15 ? "," : ";;");
  line(s);
  --depth_;
  line("}");
}

void XFileWriter::translation(double x, double y, double z) {
  const double m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1};
  transform(m);
}

void XFileWriter::endFrame() {
  --depth_;
  line("}");
}

void XFileWriter::mesh(const std::string& name, const GenMesh& mesh, NormalLayout layout, const MaterialDesc& desc) {
  meshBody(name, mesh, layout, &desc, "");
}

void XFileWriter::mesh(const std::string& name, const GenMesh& mesh, NormalLayout layout,
                       const std::string& materialName) {
  meshBody(name, mesh, layout, nullptr, materialName);
}

void XFileWriter::meshBody(const std::string& name, const GenMesh& mesh, NormalLayout layout,
                           const MaterialDesc* desc, const std::string& reference) {
  // Written vertices: all of them, or one per distinct position (texture coordinates must
  // then agree between the merged vertices; the first one's are written).
  std::vector<int> written;            // mesh vertex of each written vertex
  std::vector<int> writtenOf(mesh.positions.size());
  if (layout == NormalLayout::PerCorner) {
    std::map<std::tuple<double, double, double>, int> byPosition;
    for (std::size_t i = 0; i < mesh.positions.size(); ++i) {
      const Vec3& p = mesh.positions[i];
      auto [it, added] = byPosition.emplace(std::make_tuple(p.x, p.y, p.z), int(written.size()));
      if (added) written.push_back(int(i));
      writtenOf[i] = it->second;
    }
  } else {
    for (std::size_t i = 0; i < mesh.positions.size(); ++i) {
      written.push_back(int(i));
      writtenOf[i] = int(i);
    }
  }

  if (depth_ == 0) out_ += '\n';
  line("Mesh " + name + " {");
  ++depth_;
  line(std::to_string(written.size()) + ";");
  for (std::size_t i = 0; i < written.size(); ++i) {
    const Vec3& p = mesh.positions[written[i]];
    line(formatNumber(p.x) + ";" + formatNumber(p.y) + ";" + formatNumber(p.z) + ";" + listEnd(i, written.size()));
  }
  line(std::to_string(mesh.faces.size()) + ";");
  for (std::size_t f = 0; f < mesh.faces.size(); ++f) {
    std::vector<int> corners;
    for (int c : mesh.faces[f]) corners.push_back(writtenOf[c]);
    line(faceText(corners) + listEnd(f, mesh.faces.size()));
  }

  line("MeshNormals {");
  ++depth_;
  if (layout == NormalLayout::PerCorner) {
    std::size_t cornerCount = 0;
    for (const auto& face : mesh.faces) cornerCount += face.size();
    line(std::to_string(cornerCount) + ";");
    std::size_t c = 0;
    for (const auto& face : mesh.faces) {
      for (int corner : face) {
        const Vec3& n = mesh.normals[corner];
        line(formatNumber(n.x) + ";" + formatNumber(n.y) + ";" + formatNumber(n.z) + ";" + listEnd(c++, cornerCount));
      }
    }
    line(std::to_string(mesh.faces.size()) + ";");
    c = 0;
    for (std::size_t f = 0; f < mesh.faces.size(); ++f) {
      std::vector<int> corners;
      for (std::size_t k = 0; k < mesh.faces[f].size(); ++k) corners.push_back(int(c++));
      line(faceText(corners) + listEnd(f, mesh.faces.size()));
    }
  } else {
    line(std::to_string(written.size()) + ";");
    for (std::size_t i = 0; i < written.size(); ++i) {
      const Vec3& n = mesh.normals[written[i]];
      line(formatNumber(n.x) + ";" + formatNumber(n.y) + ";" + formatNumber(n.z) + ";" + listEnd(i, written.size()));
    }
    line(std::to_string(mesh.faces.size()) + ";");
    for (std::size_t f = 0; f < mesh.faces.size(); ++f) line(faceText(mesh.faces[f]) + listEnd(f, mesh.faces.size()));
  }
  --depth_;
  line("}");

  line("MeshTextureCoords {");
  ++depth_;
  line(std::to_string(written.size()) + ";");
  for (std::size_t i = 0; i < written.size(); ++i) {
    const Vec2& t = mesh.uvs[written[i]];
    line(formatNumber(t.u) + ";" + formatNumber(t.v) + ";" + listEnd(i, written.size()));
  }
  --depth_;
  line("}");

  line("MeshMaterialList {");
  ++depth_;
  line("1;");
  line(std::to_string(mesh.faces.size()) + ";");
  std::string indices;
  for (std::size_t f = 0; f < mesh.faces.size(); ++f) indices += std::string("0") + listEnd(f, mesh.faces.size());
  line(indices);
  if (desc) {
    materialBody(*desc);
  } else {
    line("{ " + reference + " }");
  }
  --depth_;
  line("}");
  --depth_;
  line("}");
}

}  // namespace assetgen
