// XFileWriter: writes models as .x text in the form our reader takes and real exporters write:
// the "xof 0302txt 0032" line, the standard templates, a Header object, then Materials,
// Frames with FrameTransformMatrix and Meshes with MeshNormals, MeshTextureCoords and
// MeshMaterialList. Numbers are always written with "%f" (six decimals, never an exponent,
// never a leading full stop); texture names are quoted.
#pragma once

#include <string>

#include "tools/assetgen/GenMesh.h"

namespace assetgen {

struct MaterialDesc {
  std::string name;                     // empty: an unnamed Material
  double face[4] = {1, 1, 1, 1};        // face colour red, green, blue, alpha
  double power = 10;
  double specular[3] = {0.3, 0.3, 0.3};
  double emissive[3] = {0, 0, 0};
  std::string texture;                  // empty: no TextureFilename
};

enum class NormalLayout {
  PerVertex,  // one normal per vertex, face-normal list repeats the faces
  PerCorner,  // vertices merged by position; one normal per face corner (reader re-indexes)
};

// "%f" of `value`, with "-0.000000" written as "0.000000".
std::string formatNumber(double value);

class XFileWriter {
 public:
  XFileWriter();  // header line, templates and the Header object

  // A Material object at the current level (top level or inside a frame).
  void material(const MaterialDesc& desc);
  void beginFrame(const std::string& name);
  // FrameTransformMatrix, row-major with the translation in the fourth row.
  void transform(const double m[16]);
  void translation(double x, double y, double z);
  void endFrame();
  // A Mesh whose MeshMaterialList holds `desc` inline.
  void mesh(const std::string& name, const GenMesh& mesh, NormalLayout layout, const MaterialDesc& desc);
  // A Mesh whose MeshMaterialList names an earlier Material.
  void mesh(const std::string& name, const GenMesh& mesh, NormalLayout layout, const std::string& materialName);

  const std::string& text() const { return out_; }

 private:
  void line(const std::string& s);
  void materialBody(const MaterialDesc& desc);
  void meshBody(const std::string& name, const GenMesh& mesh, NormalLayout layout, const MaterialDesc* desc,
                const std::string& reference);

  std::string out_;
  int depth_ = 0;
};

}  // namespace assetgen
