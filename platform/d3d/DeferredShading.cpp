#include "platform/d3d/DeferredShading.h"

#include <algorithm>
#include <cstring>

namespace platform {

namespace {
DeferredShading* gPending = nullptr;  // instances with pending work (the device is single-threaded)
unsigned gOutsideAccesses = 0;
}  // namespace

DeferredShading::~DeferredShading() { delist(); }

void DeferredShading::enlist() {
  for (DeferredShading* d = gPending; d; d = d->nextPending_)
    if (d == this) return;
  nextPending_ = gPending;
  gPending = this;
}

void DeferredShading::delist() {
  for (DeferredShading** link = &gPending; *link; link = &(*link)->nextPending_) {
    if (*link == this) {
      *link = nextPending_;
      nextPending_ = nullptr;
      return;
    }
  }
}

void DeferredShading::flushAll() {
  ++gOutsideAccesses;
  while (gPending) gPending->resolve();  // resolve() delists
}

unsigned DeferredShading::outsideAccesses() { return gOutsideAccesses; }

void DeferredShading::setTarget(const ColorTarget& color) {
  resolve();
  color_ = color;
  taken_ = PixelMask{};
  if (!color.usable()) return;
  const int pitch = PixelMask::pitchFor(color.width);
  takenBits_.assign(static_cast<std::size_t>(pitch) * static_cast<std::size_t>(color.height), 0);
  taken_.bits = takenBits_.data();
  taken_.pitch = pitch;
  taken_.width = color.width;
  taken_.height = color.height;
}

DeferredShading::Mode DeferredShading::beginDraw(const PixelConfig& config, bool depthPassesEverywhere) {
  drawOpen_ = false;
  takeConfig_ = nullptr;
  if (triangles_.empty()) draws_.clear();
  if (!taken_.bits || config.blend) return Mode::kResolveFirst;
  if (config.depthWrite) {
    if (triangles_.empty()) return Mode::kResolveFirst;  // nothing pending: a plain draw
    takePoint_ = chooseTakingSpanKernel(config, false);
    takeBilinear_ = chooseTakingSpanKernel(config, true);
    if (!takePoint_ || !takeBilinear_) return Mode::kResolveFirst;
    takeConfig_ = &config;
    taking_ = true;
    return Mode::kTake;
  }
  Draw d;
  d.config = config;
  if (depthPassesEverywhere) d.config.depthTest = false;
  d.point = chooseOwnedSpanKernel(d.config, false);
  d.bilinear = chooseOwnedSpanKernel(d.config, true);
  if (!d.point || !d.bilinear) return Mode::kResolveFirst;
  // Pixels taken by a depth-writing draw since the work began would hide this draw's
  // triangles from its own depth test: shade what is pending first and start again.
  if (taking_) resolve();
  if (config.texture) d.texture = *config.texture;
  draws_.push_back(d);
  drawOpen_ = true;
  return Mode::kDefer;
}

void DeferredShading::coverRows(const TriangleSetup& setup) {
  rowFirst_ = std::min(rowFirst_, std::max(setup.rowFirst, 0));
  rowLast_ = std::max(rowLast_, std::min(setup.rowLast, taken_.height - 1));
}

void DeferredShading::drawTaking(const TriangleSetup& setup, bool bilinear, const DepthTarget& depth) {
  if (!takeConfig_) return;
  (bilinear ? takeBilinear_ : takePoint_)(*takeConfig_, setup, color_, depth, taken_);
  coverRows(setup);
}

void DeferredShading::addTriangle(const TriangleSetup& setup, bool bilinear, const DepthTarget& depth) {
  if (!drawOpen_ || setup.rowFirst > setup.rowLast) return;
  if (triangles_.size() == kMaxTriangles) {
    // A full batch: shade what is recorded and go on with the same draw.
    const Draw current = draws_.back();
    resolve();
    draws_.push_back(current);
    drawOpen_ = true;
  }
  triangles_.push_back({setup, depth, static_cast<std::uint32_t>(draws_.size() - 1), bilinear});
  coverRows(setup);
  if (triangles_.size() == 1) enlist();
}

void DeferredShading::resolve() {
  if (!triangles_.empty()) {
    for (Draw& d : draws_)
      if (d.config.texture) d.config.texture = &d.texture;
    for (std::size_t i = triangles_.size(); i-- > 0;) {  // the last winner first
      const Triangle& t = triangles_[i];
      const Draw& d = draws_[t.draw];
      (t.bilinear ? d.bilinear : d.point)(d.config, t.setup, color_, t.depth, taken_);
    }
    delist();
  }
  if (rowFirst_ <= rowLast_) {
    const std::size_t rowBytes = static_cast<std::size_t>(taken_.pitch);
    std::memset(taken_.row(rowFirst_), 0, rowBytes * static_cast<std::size_t>(rowLast_ - rowFirst_ + 1));
  }
  triangles_.clear();
  draws_.clear();
  drawOpen_ = false;
  taking_ = false;
  rowFirst_ = kNoRow;
  rowLast_ = -1;
}

}  // namespace platform
