#include "tools/qelmodel/ModelRender.h"

#include <cmath>
#include <vector>

#include "platform/bitmap/PngFile.h"
#include "platform/d3d/SoftwareDevice.h"
#include "tools/qelmodel/ModelTable.h"
#include "xfile/TQelXFrame.h"
#include "xfile/TQelXMesh.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr float kPi = 3.14159265358979f;
constexpr float kFitRadius = 100.0f;  // the model is scaled to this radius in view space

struct Bounds {
  Vector3 low = Vector3(0, 0, 0), high = Vector3(0, 0, 0);
  bool empty = true;
  void add(const Vector3& p) {
    if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) return;
    if (empty) {
      low = high = p;
      empty = false;
      return;
    }
    low = Vector3(std::fmin(low.x, p.x), std::fmin(low.y, p.y), std::fmin(low.z, p.z));
    high = Vector3(std::fmax(high.x, p.x), std::fmax(high.y, p.y), std::fmax(high.z, p.z));
  }
};

Matrix4 translation(const Vector3& t) {
  Matrix4 m = IdentityMatrix;
  m._41 = t.x;
  m._42 = t.y;
  m._43 = t.z;
  return m;
}

Matrix4 scaling(float x, float y, float z) {
  Matrix4 m = IdentityMatrix;
  m._11 = x;
  m._22 = y;
  m._33 = z;
  return m;
}

Matrix4 rotationY(float angle) {
  Matrix4 m = IdentityMatrix;
  m._11 = std::cos(angle);
  m._13 = -std::sin(angle);
  m._31 = std::sin(angle);
  m._33 = std::cos(angle);
  return m;
}

// Calls visit(frame, world) for every frame, world = frame transform * parent's world.
template <class Visit>
void walkFrames(TQelXFrame& frame, const Matrix4& parentWorld, Visit&& visit) {
  Matrix4 world = frame.transform * parentWorld;
  visit(frame, world);
  for (TQelVTree* c = frame.firstChild(); c; c = c->nextSibling()) {
    if (TQelXFrame* child = dynamic_cast<TQelXFrame*>(c)) walkFrames(*child, world, visit);
  }
}

template <class Visit>
void forEachMesh(TQelXFrame& frame, Visit&& visit) {
  for (AttachmentNode* n = frame.attachments.first(); n; n = frame.attachments.after(n)) {
    if (TQelXMesh* mesh = dynamic_cast<TQelXMesh*>(n->object)) visit(*mesh);
  }
}

}  // namespace

bool renderModel(TQelXFrame* root, ModelTable& table, const RenderOptions& options, const char* pngPath,
                 int* drawnMeshes) {
  if (drawnMeshes) *drawnMeshes = 0;
  std::vector<std::uint16_t> colour(static_cast<std::size_t>(kWidth * kHeight));
  std::vector<std::uint16_t> depth(static_cast<std::size_t>(kWidth * kHeight));
  platform::SoftwareDevice device;
  platform::ColorTarget colourTarget{colour.data(), kWidth * 2, kWidth, kHeight};
  platform::DepthTarget depthTarget{depth.data(), kWidth * 2, kWidth, kHeight};
  device.setTargets(colourTarget, &depthTarget);
  const D3DVIEWPORT2 viewport = {44, 0, 0, kWidth, kHeight, -1.0f, 0.75f, 2.0f, 1.5f, 0.0f, 1.0f};
  device.setViewport(&viewport);
  device.setRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
  const D3DRECT all = {0, 0, kWidth, kHeight};
  device.clear(1, &all, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0x00CCCCDD, 1.0f);

  if (root) {
    // World-space bounds of every mesh vertex.
    Bounds bounds;
    walkFrames(*root, IdentityMatrix, [&](TQelXFrame& frame, const Matrix4& world) {
      forEachMesh(frame, [&](TQelXMesh& mesh) {
        for (std::int32_t i = 0; i < mesh.vertexCount; ++i) {
          const MeshVertex& v = mesh.vertices[i];
          bounds.add(transformPoint(Vector3(v.x, v.y, v.z), world));
        }
      });
    });
    Vector3 centre = bounds.empty ? Vector3(0, 0, 0) : (bounds.low + bounds.high) * 0.5f;
    Vector3 half = bounds.empty ? Vector3(1, 1, 1) : (bounds.high - bounds.low) * 0.5f;
    float radius = std::sqrt(dotProduct(half, half));
    float scale = radius > 1e-20f && std::isfinite(radius) ? kFitRadius / radius : 1.0f;

    // View: centre at the origin, turned, scaled, pushed back to twice the radius; then x and y
    // scaled to pixels for a 60-degree vertical field of view (screen y grows downwards).
    const float focal = (kHeight * 0.5f) / std::tan(30.0f * kPi / 180.0f);
    Matrix4 turn = rotationY(options.yawDegrees * kPi / 180.0f) * rotationXMatrix(options.pitchDegrees * kPi / 180.0f);
    Matrix4 view = translation(-centre) * turn * scaling(scale, scale, scale) *
                   translation(Vector3(0, 0, 2.0f * kFitRadius)) * scaling(focal, -focal, 1.0f);
    // The light shines from the camera: the view's forward axis in world space.
    table.lighting = SoftwareLighting();
    table.lighting.halfWidth = kWidth * 0.5f;
    table.lighting.halfHeight = kHeight * 0.5f;
    table.lighting.lightDirection = Vector3(turn._13, turn._23, turn._33);
    table.device = &device;

    walkFrames(*root, IdentityMatrix, [&](TQelXFrame& frame, const Matrix4& world) {
      frame.worldMatrix = world;
      frame.worldViewMatrix = world * view;
      forEachMesh(frame, [&](TQelXMesh& mesh) {
        const TableEntry* image = ModelTable::imageOf(mesh.texture);
        device.setTexture(0, image ? &image->view : nullptr);
        // A mesh without material is not drawn by the engine; here it gets the default colours.
        Texture* own = mesh.material;
        if (!own) mesh.material = table.fallbackMaterial();
        mesh.draw(table, frame);
        mesh.material = own;
        if (drawnMeshes && mesh.vertexCount > 0) ++*drawnMeshes;
      });
    });
    device.setTexture(0, nullptr);
    table.device = nullptr;
  }

  platform::PixelTarget target;
  target.bits = colour.data();
  target.width = kWidth;
  target.height = kHeight;
  target.pitch = kWidth * 2;
  target.bitsPerPixel = 16;
  return platform::writePngTarget(pngPath, target);
}
