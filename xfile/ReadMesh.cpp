// readMesh: the Mesh block with its vertex and face lists (fixed stride), MeshNormals,
// MeshTextureCoords (scanned) and MeshMaterialList. Normals given per face corner (more
// normals than vertices) re-index the mesh so that every face corner becomes a vertex of its
// own; the positions and texture coordinates are put back at the end of the mesh (fix-up).
//
// Hostile counts: every declared count is bounded by what the rest of the file could hold and
// every list stops at the end of the data, so no count allocates more than the file's size
// suggests or loops over empty tokens. A re-indexing whose normals or faces do not match the
// faces first read falls back to one normal per vertex (the mesh as first read).
#include <cstring>
#include <new>

#include "foundation/ClassRegistry.h"
#include "foundation/TextStream.h"
#include "xfile/LoadModel.h"
#include "xfile/ReadMaterial.h"
#include "xfile/TQelXMesh.h"
#include "xfile/XTokens.h"

namespace {

// Minimum tokens per list item, for bounding the declared counts.
constexpr std::int32_t kTokensPerVertex = 7;  // x ; y ; z ; ,
constexpr std::int32_t kTokensPerFace = 3;    // m ; ... ; ,
constexpr std::int32_t kTokensPerCorner = 2;  // index ,
constexpr std::int32_t kTokensPerPair = 2;    // u v (scanned)

// The mesh as first read, kept while a re-indexing MeshNormals is pending.
struct SavedMesh {
  MeshVertex* vertices = nullptr;
  std::int32_t vertexCount = 0;
  MeshFace* faces = nullptr;  // records own their indices
  std::int32_t faceCount = 0;
  std::int32_t cornerCount = 0;
  bool textureCoordsAfter = false;  // a MeshTextureCoords came after the re-indexing
  bool active = false;              // a re-indexing waits for its fix-up

  bool pending() const { return active; }
  void free() {
    delete[] vertices;
    for (std::int32_t j = 0; j < faceCount; ++j) delete[] faces[j].indices;
    delete[] faces;
    *this = SavedMesh();
  }
};

class MeshReader {
 public:
  MeshReader(MaterialSink& renderer, TextStream& text, TQelXMesh& mesh) : renderer_(renderer), text_(text), mesh_(mesh) {}
  ~MeshReader() { saved_.free(); }

  void read();

 private:
  void readVertexAndFaceLists();
  void readFaceList(bool numberCorners);
  void readNormals();
  void readNormalList(std::int32_t n, std::int32_t into);
  void readTextureCoords();
  void skipUnknownObject();
  bool saveForReindexing();
  void fixUp();
  bool reindexingMatches() const;

  MaterialSink& renderer_;
  TextStream& text_;
  TQelXMesh& mesh_;
  HeapString current_;
  SavedMesh saved_;
};

void MeshReader::read() {
  takeToken(text_, current_);
  mesh_.setName(isToken(current_, "{") ? "" : current_.c_str());
  for (;;) {
    takeToken(text_, current_);
    if (isEndOfData(current_) || isToken(current_, "}")) break;
    if (isToken(current_, "{") || isToken(current_, ",") || isToken(current_, ";")) continue;
    if (isToken(current_, "MeshMaterialList")) {
      readMaterial(renderer_, text_, &mesh_, false);
    } else if (isToken(current_, "MeshNormals")) {
      readNormals();
    } else if (isToken(current_, "MeshTextureCoords")) {
      readTextureCoords();
    } else {
      unsigned char c = static_cast<unsigned char>(current_.c_str()[0]);
      bool number = (c >= '0' && c <= '9') || c == '-' || c == '.';
      if (number) {
        readVertexAndFaceLists();
      } else {
        skipUnknownObject();
        if (isEndOfData(current_) || isToken(current_, "}")) break;  // the mesh's own "}"
      }
    }
  }
  fixUp();
}

// A sub-object the mesh does not know (skin weights, duplication indices, ...): its name and
// anything up to its "{" are dropped, then the whole block. Stops at the mesh's own "}" when the
// word opens no block (the current token is then that "}").
void MeshReader::skipUnknownObject() {
  while (!isToken(current_, "{")) {
    if (isEndOfData(current_) || isToken(current_, "}")) return;
    takeToken(text_, current_);
  }
  takeToken(text_, current_);
  skipToBlockEnd(text_, current_);
  current_ = HeapString(",");  // the block's "}" is consumed; the mesh goes on
}

void MeshReader::readVertexAndFaceLists() {
  std::int32_t n = 0;
  convertInt(current_, n);
  n = boundedCount(n, text_, kTokensPerVertex);
  mesh_.allocateVertices(n);
  n = mesh_.vertexCapacity;
  takeToken(text_, current_);
  for (std::int32_t i = 0; i < n; ++i) {
    MeshVertex& v = mesh_.vertices[i];
    takeToken(text_, current_);
    if (isEndOfData(current_)) break;
    convertFloat(current_, v.x);
    takeToken(text_, current_);
    readFixedFloat(text_, current_, v.y, 1);
    readFixedFloat(text_, current_, v.z, 2);
    ++mesh_.vertexCount;
  }
  readFaceList(false);
}

// The face list (or a MeshNormals' face-normal list when numberCorners is set: its corners then
// become 0, 1, 2, ... over all faces in order, the normal indices being read and dropped).
void MeshReader::readFaceList(bool numberCorners) {
  std::int32_t f = 0;
  readFixedInt(text_, current_, f, 1);
  mesh_.allocateFaces(boundedCount(f, text_, kTokensPerFace));
  std::int32_t corner = 0;
  for (std::int32_t j = 0; j < mesh_.faceCapacity; ++j) {
    std::int32_t m = 0;
    takeToken(text_, current_);
    if (isEndOfData(current_)) break;
    convertInt(current_, m);
    MeshFace* face = mesh_.addFace(boundedCount(m, text_, kTokensPerCorner));
    if (!face) break;
    takeToken(text_, current_);
    for (std::int32_t k = 0; k < face->count; ++k) {
      std::int32_t index = 0;
      readFixedInt(text_, current_, index, 1);
      face->indices[k] = static_cast<std::uint16_t>(numberCorners ? corner : index);
      ++corner;
    }
    takeToken(text_, current_);
  }
}

void MeshReader::readNormals() {
  takeTokensUntil(text_, current_, "{");
  std::int32_t n = 0;
  readFixedInt(text_, current_, n, 0);
  if (n <= mesh_.vertexCount) {
    // One normal per vertex; only the normals given are read, the face-normal list is not.
    readNormalList(n, 0);
    takeTokensUntil(text_, current_, "}");
    return;
  }
  if (!saveForReindexing()) {
    skipToBlockEnd(text_, current_);
    return;
  }
  mesh_.allocateVertices(boundedCount(n, text_, kTokensPerVertex));
  mesh_.vertexCount = mesh_.vertexCapacity;
  readNormalList(mesh_.vertexCount, 0);
  readFaceList(true);
  takeTokensUntil(text_, current_, "}");
}

// Reads n normal groups (x ; y ; z ; ,) into the vertices from `into` on, after the separator
// behind the count; stops at the end of the data.
void MeshReader::readNormalList(std::int32_t n, std::int32_t into) {
  takeToken(text_, current_);
  for (std::int32_t i = 0; i < n && into + i < mesh_.vertexCount; ++i) {
    MeshVertex& v = mesh_.vertices[into + i];
    takeToken(text_, current_);
    if (isEndOfData(current_)) return;
    convertFloat(current_, v.nx);
    takeToken(text_, current_);
    readFixedFloat(text_, current_, v.ny, 1);
    readFixedFloat(text_, current_, v.nz, 2);
  }
}

void MeshReader::readTextureCoords() {
  takeTokensUntil(text_, current_, "{");
  std::int32_t n = 0;
  readFixedInt(text_, current_, n, 0);
  n = boundedCount(n, text_, kTokensPerPair);
  for (std::int32_t i = 0; i < n; ++i) {
    float u = 0.0f, v = 0.0f;
    takeToken(text_, current_);
    if (isEndOfData(current_)) break;
    scanFloat(text_, current_, u);
    scanFloat(text_, current_, v);
    if (i < mesh_.vertexCount) {  // pairs beyond the vertices are not stored
      mesh_.vertices[i].tu = u;
      mesh_.vertices[i].tv = v;
    }
  }
  if (saved_.pending()) saved_.textureCoordsAfter = true;
  takeTokensUntil(text_, current_, "}");
}

// Keeps the mesh as first read for the fix-up. A second re-indexing first completes the one
// before it. False when out of memory.
bool MeshReader::saveForReindexing() {
  if (saved_.pending()) fixUp();
  SavedMesh s;
  s.active = true;
  s.vertexCount = mesh_.vertexCount;
  s.faceCount = mesh_.faceCount;
  if (s.vertexCount > 0) {
    s.vertices = new (std::nothrow) MeshVertex[static_cast<std::size_t>(s.vertexCount)];
    if (!s.vertices) return false;
    std::memcpy(s.vertices, mesh_.vertices, sizeof(MeshVertex) * static_cast<std::size_t>(s.vertexCount));
  }
  if (s.faceCount > 0) {
    s.faces = new (std::nothrow) MeshFace[static_cast<std::size_t>(s.faceCount)];
    if (!s.faces) {
      s.free();
      return false;
    }
    s.faceCount = 0;
    for (std::int32_t j = 0; j < mesh_.faceCount; ++j) {
      const MeshFace& face = *mesh_.faces[j];
      MeshFace& copy = s.faces[j];
      if (face.count > 0) {
        copy.indices = new (std::nothrow) std::uint16_t[static_cast<std::size_t>(face.count)];
        if (!copy.indices) {
          s.free();
          return false;
        }
        std::memcpy(copy.indices, face.indices, sizeof(std::uint16_t) * static_cast<std::size_t>(face.count));
        copy.count = face.count;
      }
      ++s.faceCount;
      s.cornerCount += copy.count;
    }
  }
  saved_ = s;
  return true;
}

bool MeshReader::reindexingMatches() const {
  if (saved_.cornerCount != mesh_.vertexCount || saved_.faceCount != mesh_.faceCount) return false;
  for (std::int32_t j = 0; j < saved_.faceCount; ++j) {
    if (saved_.faces[j].count != mesh_.faces[j]->count) return false;
  }
  return true;
}

void MeshReader::fixUp() {
  if (!saved_.pending()) return;
  std::int32_t oldCount = saved_.vertexCount;
  // Texture coordinates read after the normals are indexed by the vertices as first read.
  if (saved_.textureCoordsAfter) {
    for (std::int32_t i = 0; i < oldCount && i < mesh_.vertexCount; ++i) {
      saved_.vertices[i].tu = mesh_.vertices[i].tu;
      saved_.vertices[i].tv = mesh_.vertices[i].tv;
    }
  }
  if (reindexingMatches()) {
    std::int32_t c = 0;
    for (std::int32_t j = 0; j < saved_.faceCount; ++j) {
      const MeshFace& old = saved_.faces[j];
      for (std::int32_t k = 0; k < old.count; ++k, ++c) {
        MeshVertex& v = mesh_.vertices[c];
        std::int32_t o = old.indices[k];
        if (o < oldCount) {
          v.x = saved_.vertices[o].x;
          v.y = saved_.vertices[o].y;
          v.z = saved_.vertices[o].z;
          v.tu = saved_.vertices[o].tu;
          v.tv = saved_.vertices[o].tv;
        }
        mesh_.faces[j]->indices[k] = static_cast<std::uint16_t>(c);
      }
    }
  } else {
    // Normals that do not match the faces: the mesh as first read, normal i on vertex i.
    MeshVertex* reindexed = mesh_.vertices;
    std::int32_t reindexedCount = mesh_.vertexCount;
    mesh_.vertices = nullptr;
    mesh_.allocateVertices(oldCount);
    if (mesh_.vertices) {
      for (std::int32_t i = 0; i < oldCount; ++i) {
        MeshVertex v = saved_.vertices[i];
        if (i < reindexedCount) {
          v.nx = reindexed[i].nx;
          v.ny = reindexed[i].ny;
          v.nz = reindexed[i].nz;
        }
        mesh_.vertices[i] = v;
      }
      mesh_.vertexCount = oldCount;
    }
    delete[] reindexed;
    mesh_.allocateFaces(saved_.faceCount);
    for (std::int32_t j = 0; j < saved_.faceCount; ++j) {
      MeshFace* face = mesh_.addFace(saved_.faces[j].count);
      if (!face) break;
      if (face->count > 0) {
        std::memcpy(face->indices, saved_.faces[j].indices, sizeof(std::uint16_t) * static_cast<std::size_t>(face->count));
      }
    }
  }
  saved_.free();
}

}  // namespace

TQelXMesh* readMesh(MaterialSink& renderer, TextStream& text) {
  registerXFileClasses();  // also links the registration into programs that only read meshes
  TQelXMesh* mesh = static_cast<TQelXMesh*>(createObjectByName("TQelXMesh"));
  if (!mesh) return nullptr;
  MeshReader(renderer, text, *mesh).read();
  return mesh;
}
