#include "xfile/ReadMaterial.h"

#include "foundation/HeapString.h"
#include "foundation/TextStream.h"
#include "xfile/MaterialSink.h"
#include "xfile/TQelXMesh.h"
#include "xfile/XTokens.h"

namespace {

bool startsLetterDigitOrMinus(const HeapString& token) {
  unsigned char c = static_cast<unsigned char>(token.c_str()[0]);
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-';
}

// The Material block, from the token after the keyword "Material". With a mesh it ends on the
// enclosing list's "}", otherwise on the Material's own "}".
void readMaterialBlock(MaterialSink& renderer, TextStream& text, HeapString& current, TQelXMesh* mesh) {
  takeToken(text, current);
  HeapString name(isToken(current, "{") ? "NoNameMaterial" : current.c_str());
  takeTokensUntil(text, current, "{");

  // Face colour, power, specular colour, emissive colour: eleven scanned numbers.
  float values[11] = {};
  takeToken(text, current);
  for (float& value : values) scanFloat(text, current, value);

  while (!startsLetterDigitOrMinus(current) && !isToken(current, "}") && !isEndOfData(current)) {
    takeToken(text, current);
  }

  bool textured = false;
  Texture* texture = nullptr;
  if (isToken(current, "TextureFilename") || isToken(current, "TextureFileName")) {
    textured = true;
    for (int i = 0; i < 3; ++i) takeToken(text, current);  // "{", the quote, the file name
    if (!isEndOfData(current)) texture = renderer.getTexture(current.c_str());
    if (mesh) mesh->texture = texture;
    takeTokensUntil(text, current, "}");
    takeToken(text, current);
  }

  const D3DCOLORVALUE diffuse = {values[0], values[1], values[2], values[3]};
  const D3DCOLORVALUE ambient = {values[5], values[6], values[7], 0.0f};
  const D3DCOLORVALUE specular = {values[8], values[9], values[10], 0.0f};
  const D3DCOLORVALUE emissive = {0.5f, 0.5f, 0.5f, 1.0f};
  Texture* material = renderer.createMaterial(name.c_str(), diffuse, ambient, specular, emissive, values[4], 1);

  if (textured) {
    if (mesh) mesh->material = material;
    renderer.setBoundTexture(material, texture);
  } else if (mesh) {
    mesh->texture = material;  // the material entry stands in for the texture
    mesh->material = material;
  }

  skipToBlockEnd(text, current);
  if (mesh) {
    takeToken(text, current);
    skipToBlockEnd(text, current);
  }
}

// A reference by name inside a MeshMaterialList, from its "{"; ends on the list's "}".
void readMaterialReference(MaterialSink& renderer, TextStream& text, HeapString& current, TQelXMesh& mesh) {
  takeToken(text, current);
  Texture* material = isEndOfData(current) ? nullptr : renderer.findTexture(current.c_str());
  mesh.material = material;
  if (material) {
    Texture* bound = renderer.boundTexture(material);
    mesh.texture = bound ? bound : material;
  } else {
    mesh.texture = nullptr;  // a name nobody entered: the mesh stays without material and texture
  }
  skipToBlockEnd(text, current);
  takeToken(text, current);
  skipToBlockEnd(text, current);
}

}  // namespace

void readMaterial(MaterialSink& renderer, TextStream& text, TQelXMesh* mesh, bool topLevel) {
  HeapString current;
  if (topLevel || !mesh) {
    readMaterialBlock(renderer, text, current, nullptr);
    return;
  }
  takeToken(text, current);
  if (!takeTokensUntil(text, current, "{")) return;
  takeToken(text, current);
  for (;;) {
    if (isEndOfData(current) || isToken(current, "}")) return;  // a list without any material
    if (isToken(current, "Material")) {
      readMaterialBlock(renderer, text, current, mesh);
      return;
    }
    if (isToken(current, "{")) {
      readMaterialReference(renderer, text, current, *mesh);
      return;
    }
    takeToken(text, current);  // counts, per-face indices, separators
  }
}
