#include "tools/qelmodel/ModelRender.h"

#include <cmath>

#include "graphics/LastResult.h"
#include "graphics/Renderer.h"
#include "graphics/Surface.h"
#include "graphics/Texture.h"
#include "platform/bitmap/PngFile.h"
#include "platform/ddraw/SurfaceAccess.h"
#include "tools/qelmodel/TableEntries.h"
#include "xfile/RendererModelTarget.h"
#include "xfile/TQelXFrame.h"
#include "xfile/TQelXMesh.h"

namespace {

constexpr D3DCOLOR kBackground = 0x00CCCCDD;
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

// The target's pixels as a PNG.
bool writeTarget(const Surface& target, const char* pngPath) {
  platform::SurfaceMemory memory;
  if (!platform::surfaceMemory(target.surface, memory)) return false;
  platform::PixelTarget pixels;
  pixels.bits = memory.bits;
  pixels.width = memory.width;
  pixels.height = memory.height;
  pixels.pitch = memory.pitch;
  pixels.bitsPerPixel = memory.bitsPerPixel;
  return platform::writePngTarget(pngPath, pixels);
}

// A stand-in material entry (not in the table) with the colours of the Renderer's default
// material, for meshes that have none.
void defaultMaterial(Renderer& renderer, Texture& stand) {
  stand.materialDesc = D3DMATERIAL{};
  stand.materialDesc.dwSize = sizeof(D3DMATERIAL);
  if (renderer.material != nullptr) lastResult = renderer.material->GetMaterial(&stand.materialDesc);
}

}  // namespace

bool renderModel(TQelXFrame* root, Renderer& renderer, const RenderOptions& options, const char* pngPath,
                 int* drawnMeshes) {
  if (drawnMeshes) *drawnMeshes = 0;
  if (renderer.device == nullptr || renderer.viewport == nullptr || renderer.target == nullptr) return false;
  IDirect3DDevice3& device = *renderer.device;
  const int width = renderer.target->width, height = renderer.target->height;
  D3DRECT all = {0, 0, width, height};
  lastResult = renderer.viewport->Clear2(1, &all, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kBackground, 1.0f, 0);

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
    const float focal = (float(height) * 0.5f) / std::tan(30.0f * kPi / 180.0f);
    Matrix4 turn = rotationYMatrix(options.yawDegrees * kPi / 180.0f) * rotationXMatrix(options.pitchDegrees * kPi / 180.0f);
    Matrix4 view = translationMatrix(-centre.x, -centre.y, -centre.z) * turn * scalingMatrix(scale, scale, scale) *
                   translationMatrix(0.0f, 0.0f, 2.0f * kFitRadius) * scalingMatrix(focal, -focal, 1.0f);
    // The light shines from the camera: the view's forward axis in world space.
    renderer.lightDirection = Vector3(turn._13, turn._23, turn._33);
    RendererModelTarget target(renderer);
    Texture stand;
    defaultMaterial(renderer, stand);

    lastResult = device.BeginScene();
    walkFrames(*root, IdentityMatrix, [&](TQelXFrame& frame, const Matrix4& world) {
      frame.worldMatrix = world;
      frame.worldViewMatrix = world * view;
      forEachMesh(frame, [&](TQelXMesh& mesh) {
        const Texture* image = imageOf(mesh.texture);
        lastResult = device.SetTexture(0, image ? image->deviceTexture : nullptr);
        // A mesh without material is not drawn by the engine; here it gets the default colours.
        Texture* own = mesh.material;
        if (!own) mesh.material = &stand;
        mesh.draw(target, frame);
        mesh.material = own;
        if (drawnMeshes && mesh.vertexCount > 0) ++*drawnMeshes;
      });
    });
    lastResult = device.SetTexture(0, nullptr);
    lastResult = device.EndScene();
  }
  return writeTarget(*renderer.target, pngPath);
}
